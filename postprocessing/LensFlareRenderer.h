#pragma once

#include <vector>

#include <glm/glm.hpp>

#include "postprocessing/LensFlare.h"

namespace nox::lensflares {

// The middle of the window, in the coordinates of screenPosition.
extern const glm::vec2 screenCentre;

// The flare a bright light throws into the lens: seven sprites on the line
// from the light through the middle of the screen, beyond it to the other
// side. The sprites grow and dim as the light leaves the middle, and turn
// with the direction of that line.
class LensFlareRenderer {
public:
    static constexpr int flareCount = 7;

    // Loads the seven sprites; the renderer owns their textures.
    LensFlareRenderer();

    // Blends the flare of the light at `position` into the window's draw
    // framebuffer; `brightness` is the visible fraction of the light source.
    // A light behind the camera, or half a screen or more away from the
    // middle, draws nothing and leaves the GL state as it was. After drawing,
    // depth testing and depth writes are on, blending off, back faces culled,
    // program 0 in use, no vertex array bound and texture unit 0 active.
    void renderLensFlares(const glm::vec3& position, float brightness);

    // Places every sprite for the light at screenPosition, which must hold a
    // position; t is 1 with the light in the middle, 0 half a screen away.
    void updateLensFlareTransforms(float t);

    std::vector<LensFlare> flares;
};

LensFlareRenderer& getLensFlareRenderer();

}  // namespace nox::lensflares
