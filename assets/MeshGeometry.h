#pragma once

#include <cstdint>
#include <vector>

#include <glm/glm.hpp>

struct aiMesh;

namespace nox::assimp {

// The vertex and index arrays of one imported mesh, as a ModelMesh uploads
// them, built without GL. Only triangles are kept: point and line faces would
// leave corners unset, and a triangle naming a vertex the mesh does not have
// would make the draw read past its buffers, so it is dropped and counted.
struct MeshGeometry {
    explicit MeshGeometry(const aiMesh& mesh);

    std::vector<float> positions;  // 3 per vertex
    std::vector<float> texCoords;  // 2 per vertex, (0, 0) without a coordinate set
    std::vector<float> normals;    // 3 per vertex, generated when the mesh has none
    std::vector<std::uint32_t> indices;
    unsigned outOfRangeFaces = 0;
    glm::vec3 boundsLow{0.0f};  // the box around every vertex
    glm::vec3 boundsHigh{0.0f};
};

}  // namespace nox::assimp
