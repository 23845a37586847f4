#include "terrain/TerrainGeometry.h"

#include <cmath>

namespace nox::terrain {

namespace {

constexpr int side = TerrainGeometry::verticesPerSide;

size_t vertexIndex(int x, int z) {
    return static_cast<size_t>(x) * side + z;
}

void positionPass(HeightField& field, std::vector<float>& positions) {
    positions.resize(static_cast<size_t>(side) * side * 3);
    for (int x = 0; x < side; ++x) {
        for (int z = 0; z < side; ++z) {
            float* p = &positions[vertexIndex(x, z) * 3];
            p[0] = static_cast<float>(x);
            p[1] = field.getInterpolatedHeight(static_cast<float>(x), static_cast<float>(z));
            p[2] = static_cast<float>(z);
        }
    }
}

// Central differences over two units; the border uses heights one unit off
// the grid, which the field defines like any other.
void normalPass(HeightField& field, std::vector<float>& normals) {
    normals.resize(static_cast<size_t>(side) * side * 3);
    for (int x = 0; x < side; ++x) {
        for (int z = 0; z < side; ++z) {
            const float fx = static_cast<float>(x);
            const float fz = static_cast<float>(z);
            const float left = field.getInterpolatedHeight(fx - 1.0f, fz);
            const float right = field.getInterpolatedHeight(fx + 1.0f, fz);
            const float down = field.getInterpolatedHeight(fx, fz - 1.0f);
            const float up = field.getInterpolatedHeight(fx, fz + 1.0f);
            const float dx = left - right;
            const float dz = down - up;
            const float length = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + 4.0f + dz * dz)));
            const float inverse = 1.0f / length;
            float* n = &normals[vertexIndex(x, z) * 3];
            n[0] = dx * inverse;
            n[1] = 2.0f * inverse;
            n[2] = dz * inverse;
        }
    }
}

void indexPass(std::vector<GLuint>& indices) {
    indices.reserve(TerrainGeometry::indexCount);
    for (int row = 0; row < side - 1; ++row) {
        for (int column = 0; column < side - 1; ++column) {
            const GLuint k = static_cast<GLuint>((row + 1) * side + column);
            const GLuint s = static_cast<GLuint>(side);
            for (GLuint index : {k - s, k - s + 1, k, k - s + 1, k + 1, k}) indices.push_back(index);
        }
    }
}

}  // namespace

TerrainGeometry buildTerrainGeometry(HeightField& field) {
    TerrainGeometry geometry;
    positionPass(field, geometry.positions);
    normalPass(field, geometry.normals);
    indexPass(geometry.indices);
    return geometry;
}

}  // namespace nox::terrain
