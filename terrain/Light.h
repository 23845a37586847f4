#pragma once

#include <glm/glm.hpp>

namespace nox {

// One point light: nine floats, as the shaders take them.
struct Light {
    glm::vec3 position;
    glm::vec3 colour;
    glm::vec3 attenuation;  // constant, linear, quadratic
};

}  // namespace nox
