#pragma once

#include <vector>

#include <GL/glew.h>

#include "assets/GlObject.h"
#include "postprocessing/RenderTarget.h"
#include "terrain/Light.h"
#include "water/WaterTile.h"

namespace nox::water {

// Draws the water tiles from this frame's reflection and refraction images.
// The render targets belong to the frame; the two water textures are handed
// to the renderer, which owns them from then on.
class WaterRenderer {
public:
    // A full scroll cycle of the distortion takes 1 / waveSpeed seconds.
    static constexpr float waveSpeed = 0.03f;

    WaterRenderer(RenderTarget* reflectionTarget, RenderTarget* refractionTarget, float moveFactor,
                  TextureObject distortionTexture, TextureObject normalTexture);

    // Draws every tile into the bound framebuffer through the WaterShader,
    // which the caller has made current. Advances the scroll once per call,
    // tiles or none. Leaves blending off, back faces culled, no vertex array
    // bound and the five water textures on units 0-4 with unit 4 active.
    void renderWater(const std::vector<WaterTile>& tiles, const std::vector<Light>& lights);

    // Moves the ripples on by the last frame's deltaTime, as every draw does.
    void advanceScroll();

    // Per-draw uniforms, the quad, the textures and the blending.
    void prepareWater(const std::vector<Light>& lights);

    RenderTarget* reflectionTarget;
    RenderTarget* refractionTarget;
    float moveFactor;  // phase of the distortion scroll, in [0, 1)
    TextureObject distortionTexture;
    TextureObject normalTexture;
};

// The scroll phase after `seconds` more: the fractional part, so it wraps
// from just below 1 back to 0 however long the frame was.
float advanceMoveFactor(float moveFactor, float seconds);

}  // namespace nox::water
