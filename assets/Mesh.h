#pragma once

#include <vector>

#include <GL/glew.h>

#include "assets/GlObject.h"

namespace nox {

// The GL names of a mesh without ownership: what a shape copies from a shared
// mesh. Destroying one releases nothing, so a copy can never delete what its
// source still draws.
struct SharedMesh {
    GLuint vao = 0;
    std::vector<GLuint> vbos;
    GLint vertexCount = 0;
};

// One vertex array with the buffers that feed it. The mesh owns them and
// deletes them when it is destroyed; it moves but never copies. Each attribute
// lives in its own tightly packed float buffer.
class Mesh {
public:
    Mesh();

    // Uploads one float attribute array; the data is copied, the caller keeps it.
    void addAttribute(GLuint index, GLint components, const float* data, int floatCount);

    // Uploads the element buffer and leaves it recorded in the vertex array.
    void addIndexBuffer(const GLuint* indices, int indexCount);

    // The names for a record that draws this mesh but must not release it.
    SharedMesh share() const;

    VertexArrayObject vao;
    std::vector<BufferObject> vbos;  // every buffer, in creation order
    GLint vertexCount = 0;           // vertices for array draws, indices for indexed draws
};

// Draws a mesh whose only attribute is the position at index 0, as every
// draw does: bind, enable, draw, disable, unbind.
void drawPositionArrays(const SharedMesh& mesh);

// The cube from -1 to 1 on every axis: 36 vertices, positions at index 0.
const Mesh& getCubeMesh();

// The square from -1 to 1 in two triangles: 2D positions at index 0. Serves as
// the full-screen quad and as the unit quad of the sky and the moon.
const Mesh& getQuadMesh();

}  // namespace nox
