#pragma once

#include <glm/glm.hpp>

#include "assets/Mesh.h"

namespace nox::shapes {

// A shared mesh placed in the world. The shape draws the mesh's names but
// never releases them: the mesh it was built from owns them.
struct Shape : SharedMesh {
    Shape(const Mesh& mesh, const glm::vec3& position, const glm::vec3& rotation, const glm::vec3& scale)
        : SharedMesh(mesh.share()), position(position), rotation(rotation), scale(scale) {}

    glm::mat4 modelMatrix() const;

    glm::vec3 position;
    glm::vec3 rotation;  // degrees
    glm::vec3 scale;
};

}  // namespace nox::shapes
