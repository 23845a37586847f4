#include "terrain/TerrainGeometry.h"

#include <cmath>

namespace nox::terrain {

namespace {

constexpr int side = TerrainGeometry::verticesPerSide;

// Heights are needed at -1 ... 1001 on both axes: the vertices and the
// neighbours the normals look at.
constexpr int first = -1;
constexpr int span = side + 2;

size_t vertexIndex(int x, int z) {
    return static_cast<size_t>(x) * side + z;
}

using Weights = std::vector<HeightField::CellWeight>;

// Cell and cosine weight of every coordinate -1 ... 1001, the same on both axes.
Weights coordinateWeights() {
    Weights weights(span);
    for (int i = 0; i < span; ++i) weights[i] = HeightField::cellWeight(static_cast<float>(first + i));
    return weights;
}

// Draws the random values in exactly the order in which evaluating every
// vertex height, x outer and z inner, touches cells for the first time.
// Consecutive vertices in one cell touch nothing new, so only changes of cell
// need visiting.
void touchCellsInVertexOrder(HeightField& field, const Weights& weights) {
    int lastU = -1;
    int lastV = -1;
    for (int x = 0; x < side; ++x) {
        const int u = weights[x - first].cell;
        for (int z = 0; z < side; ++z) {
            const int v = weights[z - first].cell;
            if (u == lastU && v == lastV) continue;
            field.getSmoothNoise(u, v);
            field.getSmoothNoise(u + 1, v);
            field.getSmoothNoise(u, v + 1);
            field.getSmoothNoise(u + 1, v + 1);
            lastU = u;
            lastV = v;
        }
    }
}

// Every height on the extended grid, from smoothed values computed once per
// cell. The arithmetic is that of getInterpolatedHeight, so the bits agree.
std::vector<float> heightGrid(HeightField& field, const Weights& weights) {
    const int lowCell = weights.front().cell;
    const int cells = weights.back().cell - lowCell + 2;
    std::vector<float> smooth(static_cast<size_t>(cells) * cells);
    for (int a = 0; a < cells; ++a) {
        for (int b = 0; b < cells; ++b) smooth[a * cells + b] = field.getSmoothNoise(lowCell + a, lowCell + b);
    }
    const auto s = [&](int a, int b) { return smooth[(a - lowCell) * cells + (b - lowCell)]; };

    std::vector<float> heights(static_cast<size_t>(span) * span);
    for (int x = 0; x < span; ++x) {
        const HeightField::CellWeight& u = weights[x];
        for (int z = 0; z < span; ++z) {
            const HeightField::CellWeight& v = weights[z];
            heights[static_cast<size_t>(x) * span + z] =
                HeightField::blend(s(u.cell, v.cell), s(u.cell + 1, v.cell), s(u.cell, v.cell + 1),
                                   s(u.cell + 1, v.cell + 1), u.weight, v.weight);
        }
    }
    return heights;
}

void positionPass(const std::vector<float>& heights, std::vector<float>& positions) {
    positions.resize(static_cast<size_t>(side) * side * 3);
    for (int x = 0; x < side; ++x) {
        for (int z = 0; z < side; ++z) {
            float* p = &positions[vertexIndex(x, z) * 3];
            p[0] = static_cast<float>(x);
            p[1] = heights[static_cast<size_t>(x - first) * span + (z - first)];
            p[2] = static_cast<float>(z);
        }
    }
}

// Central differences over two units; the border uses heights one unit off
// the grid, which the field defines like any other.
void normalPass(const std::vector<float>& heights, std::vector<float>& normals) {
    normals.resize(static_cast<size_t>(side) * side * 3);
    const auto h = [&](int x, int z) { return heights[static_cast<size_t>(x - first) * span + (z - first)]; };
    for (int x = 0; x < side; ++x) {
        for (int z = 0; z < side; ++z) {
            const float dx = h(x - 1, z) - h(x + 1, z);
            const float dz = h(x, z - 1) - h(x, z + 1);
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
    indices.resize(TerrainGeometry::indexCount);
    GLuint* out = indices.data();
    const GLuint s = static_cast<GLuint>(side);
    for (int row = 0; row < side - 1; ++row) {
        for (int column = 0; column < side - 1; ++column) {
            const GLuint k = static_cast<GLuint>((row + 1) * side + column);
            *out++ = k - s;
            *out++ = k - s + 1;
            *out++ = k;
            *out++ = k - s + 1;
            *out++ = k + 1;
            *out++ = k;
        }
    }
}

}  // namespace

TerrainGeometry buildTerrainGeometry(HeightField& field) {
    const Weights weights = coordinateWeights();
    touchCellsInVertexOrder(field, weights);
    const std::vector<float> heights = heightGrid(field, weights);
    TerrainGeometry geometry;
    positionPass(heights, geometry.positions);
    normalPass(heights, geometry.normals);
    indexPass(geometry.indices);
    return geometry;
}

}  // namespace nox::terrain
