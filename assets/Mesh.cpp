#include "assets/Mesh.h"

#include <array>
#include <utility>

namespace nox {

Mesh::Mesh() : vao(gl::generateVertexArray()) {}

void Mesh::addAttribute(GLuint index, GLint components, const float* data, int floatCount) {
    glBindVertexArray(vao);
    const GLuint id = vbos.emplace_back(gl::generateBuffer());
    glBindBuffer(GL_ARRAY_BUFFER, id);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(floatCount) * sizeof(float), data, GL_STATIC_DRAW);
    glVertexAttribPointer(index, components, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

void Mesh::addIndexBuffer(const GLuint* indices, int indexCount) {
    glBindVertexArray(vao);
    const GLuint id = vbos.emplace_back(gl::generateBuffer());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, id);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexCount) * sizeof(GLuint), indices,
                 GL_STATIC_DRAW);
    // Unbinding the vertex array first keeps the element buffer recorded in it.
    glBindVertexArray(0);
}

SharedMesh Mesh::share() const {
    return SharedMesh{vao, std::vector<GLuint>(vbos.begin(), vbos.end()), vertexCount};
}

void drawPositionArrays(const SharedMesh& mesh) {
    glBindVertexArray(mesh.vao);
    glEnableVertexAttribArray(0);
    glDrawArrays(GL_TRIANGLES, 0, mesh.vertexCount);
    glDisableVertexAttribArray(0);
    glBindVertexArray(0);
}

namespace {

// clang-format off
constexpr std::array<float, 108> cubePositions{
    -1, -1, -1,  -1, -1,  1,  -1,  1,  1,
     1,  1, -1,  -1, -1, -1,  -1,  1, -1,
     1, -1,  1,  -1, -1, -1,   1, -1, -1,
     1,  1, -1,   1, -1, -1,  -1, -1, -1,
    -1, -1, -1,  -1,  1,  1,  -1,  1, -1,
     1, -1,  1,  -1, -1,  1,  -1, -1, -1,
    -1,  1,  1,  -1, -1,  1,   1, -1,  1,
     1,  1,  1,   1, -1, -1,   1,  1, -1,
     1, -1, -1,   1,  1,  1,   1, -1,  1,
     1,  1,  1,   1,  1, -1,  -1,  1, -1,
     1,  1,  1,  -1,  1, -1,  -1,  1,  1,
     1,  1,  1,  -1,  1,  1,   1, -1,  1,
};

constexpr std::array<float, 12> quadPositions{
    -1,  1,  -1, -1,   1,  1,
     1,  1,  -1, -1,   1, -1,
};
// clang-format on

template <size_t N>
Mesh buildPositionMesh(const std::array<float, N>& positions, GLint components) {
    Mesh mesh;
    mesh.addAttribute(0, components, positions.data(), static_cast<int>(N));
    mesh.vertexCount = static_cast<GLint>(N) / components;
    return mesh;
}

}  // namespace

const Mesh& getCubeMesh() {
    static const Mesh cube = buildPositionMesh(cubePositions, 3);
    return cube;
}

const Mesh& getQuadMesh() {
    static const Mesh quad = buildPositionMesh(quadPositions, 2);
    return quad;
}

}  // namespace nox
