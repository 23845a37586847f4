#include "assets/MeshGeometry.h"

#include <algorithm>

#include <assimp/mesh.h>

namespace nox::assimp {

namespace {

constexpr unsigned triangleCorners = 3;

glm::vec3 vertex(const aiMesh& mesh, std::uint32_t i) {
    return {mesh.mVertices[i].x, mesh.mVertices[i].y, mesh.mVertices[i].z};
}

// Area-weighted face normals summed per vertex, for meshes that come without.
std::vector<float> generateNormals(const aiMesh& mesh, const std::vector<std::uint32_t>& indices) {
    std::vector<glm::vec3> sums(mesh.mNumVertices, glm::vec3(0.0f));
    for (size_t t = 0; t + 2 < indices.size(); t += triangleCorners) {
        const glm::vec3 a = vertex(mesh, indices[t]);
        const glm::vec3 faceNormal = glm::cross(vertex(mesh, indices[t + 1]) - a, vertex(mesh, indices[t + 2]) - a);
        for (size_t corner = 0; corner < triangleCorners; ++corner) sums[indices[t + corner]] += faceNormal;
    }
    std::vector<float> normals;
    normals.reserve(sums.size() * 3);
    for (const glm::vec3& sum : sums) {
        const float length = glm::length(sum);
        const glm::vec3 n = length > 0.0f ? sum / length : glm::vec3(0.0f, 1.0f, 0.0f);
        normals.insert(normals.end(), {n.x, n.y, n.z});
    }
    return normals;
}

}  // namespace

MeshGeometry::MeshGeometry(const aiMesh& mesh) {
    const unsigned n = mesh.mNumVertices;
    positions.reserve(static_cast<size_t>(n) * 3);
    texCoords.reserve(static_cast<size_t>(n) * 2);
    const aiVector3D* coordinates = mesh.mTextureCoords[0];
    for (unsigned i = 0; i < n; ++i) {
        positions.insert(positions.end(), {mesh.mVertices[i].x, mesh.mVertices[i].y, mesh.mVertices[i].z});
        if (coordinates != nullptr) {
            texCoords.insert(texCoords.end(), {coordinates[i].x, coordinates[i].y});
        } else {
            texCoords.insert(texCoords.end(), {0.0f, 0.0f});
        }
    }

    indices.reserve(static_cast<size_t>(mesh.mNumFaces) * triangleCorners);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != triangleCorners) continue;
        const unsigned* corners = face.mIndices;
        if (std::any_of(corners, corners + triangleCorners, [n](unsigned i) { return i >= n; })) {
            ++outOfRangeFaces;
            continue;
        }
        indices.insert(indices.end(), corners, corners + triangleCorners);
    }

    if (mesh.mNormals != nullptr) {
        normals.reserve(static_cast<size_t>(n) * 3);
        for (unsigned i = 0; i < n; ++i) {
            normals.insert(normals.end(), {mesh.mNormals[i].x, mesh.mNormals[i].y, mesh.mNormals[i].z});
        }
    } else {
        normals = generateNormals(mesh, indices);
    }

    if (n > 0) {
        boundsLow = boundsHigh = vertex(mesh, 0);
        for (unsigned i = 1; i < n; ++i) {
            boundsLow = glm::min(boundsLow, vertex(mesh, i));
            boundsHigh = glm::max(boundsHigh, vertex(mesh, i));
        }
    }
}

}  // namespace nox::assimp
