#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

namespace nox::lensflares {

// One sprite of a light's flare. The renderer that holds it owns the texture.
struct LensFlare {
    GLuint texture = 0;
    glm::mat4 transform{1.0f};    // the unit quad placed on the screen, set before every draw
    float scale = 0.0f;           // half the sprite's edge at size factor 1, in screen heights
    float rotationOffset = 0.0f;  // degrees added to the turn towards the light
};

}  // namespace nox::lensflares
