#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

#include "assets/GlObject.h"

namespace nox::lensflares {

// One sprite of a light's flare, owning its texture.
struct LensFlare {
    TextureObject texture;
    glm::mat4 transform{1.0f};    // the unit quad placed on the screen, set before every draw
    float scale = 0.0f;           // half the sprite's edge at size factor 1, in screen heights
    float rotationOffset = 0.0f;  // degrees added to the turn towards the light
};

}  // namespace nox::lensflares
