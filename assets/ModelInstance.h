#pragma once

#include <vector>

#include <glm/glm.hpp>

#include "assets/ModelLoader.h"

namespace nox::assimp {

// One placed copy of a model. Instances of one file share its meshes.
struct ModelInstance {
    std::vector<ModelMesh*> meshes;
    float shininess = 0.0f;
    float shininessStrength = 0.0f;
    bool transparent = false;  // drawn two-sided, with cut-out and glowing glass
    glm::vec3 position{0.0f};
    glm::vec3 rotation{0.0f};  // degrees
    glm::vec3 scale{1.0f};
    glm::mat4 modelMatrix{1.0f};

    void updateModelMatrix();

    // Whether any of the instance's meshes can be inside the view and on the
    // kept side of the clip plane (see boxMayBeSeen).
    bool mayBeSeen(const glm::mat4& viewProjection, const glm::vec4& clipPlane) const;
};

}  // namespace nox::assimp
