#pragma once

#include <vector>

#include <GL/glew.h>

#include "terrain/HeightField.h"

namespace nox::terrain {

// The terrain's vertex data before upload: 1001 x 1001 vertices one unit
// apart, x outer and z inner, and two triangles per grid square.
struct TerrainGeometry {
    static constexpr int verticesPerSide = 1001;
    static constexpr int indexCount = (verticesPerSide - 1) * (verticesPerSide - 1) * 6;

    std::vector<float> positions;  // (x, height, z) per vertex
    std::vector<float> normals;    // unit length, from central differences
    std::vector<GLuint> indices;
};

// Evaluates the height field over the whole grid. All random draws happen in
// the order of the position pass: row by row in x, then along z.
TerrainGeometry buildTerrainGeometry(HeightField& field);

}  // namespace nox::terrain
