#include "postprocessing/PostProcessingChain.h"

#include <cmath>

#include "assets/Mesh.h"
#include "assets/Texture.h"

namespace nox::postprocessing {

namespace {

// Where the inputs of a run sit in the chain's lists.
constexpr size_t sceneColour = 0;
constexpr size_t highlight = 2;
constexpr size_t lightX = 0;
constexpr size_t lightY = 1;

// 1 with the light at the centre of the screen, 0 half a screen away from it
// and negative beyond; the god-ray program decides what a negative value does.
float godRayAlpha(float x, float y) {
    const float distance = std::sqrt((0.5f - x) * (0.5f - x) + (0.5f - y) * (0.5f - y));
    return 1.0f - 2.0f * distance;
}

}  // namespace

PostProcessingChain::PostProcessingChain()
    : verticalDepthOfField(maxDeltaDepth), horizontalDepthOfField(maxDeltaDepth), noRays(createSolidTexture(0, 0, 0)) {}

void PostProcessingChain::run() {
    glBindVertexArray(getQuadMesh().vao);
    glEnableVertexAttribArray(0);
    glDisable(GL_DEPTH_TEST);

    const GLuint scene = inputTextures[sceneColour];
    const float x = inputValues[lightX];
    const float y = inputValues[lightY];
    const float alpha = godRayAlpha(x, y);
    glUseProgram(godRayBlur.program);
    glUniform1f(godRayBlur.alpha, alpha);
    glUseProgram(0);

    // Half a screen or more from the light, the blur gives its rays no
    // strength and they come out black: the three passes that would make
    // them are left out and the combiner lays nothing over the picture.
    GLuint rays = noRays;
    if (alpha > 0.0f) {
        cartesianToPolarUncentered.inputValues = {x, y};
        cartesianToPolarUncentered.inputTextures.push_back(inputTextures[highlight]);
        cartesianToPolarUncentered.render();

        godRayBlur.inputTextures.push_back(cartesianToPolarUncentered.output());
        godRayBlur.render();

        polarToCartesianUncentered.inputValues = {x, y};
        polarToCartesianUncentered.inputTextures.push_back(godRayBlur.output());
        polarToCartesianUncentered.render();
        rays = polarToCartesianUncentered.output();
    }

    combiner.inputTextures = {scene, rays};
    combiner.renderToScreen();

    glEnable(GL_DEPTH_TEST);
    glDisableVertexAttribArray(0);
    glBindVertexArray(0);
    inputTextures.clear();
    inputValues.clear();
}

PostProcessingChain& getPostProcessingChain() {
    static PostProcessingChain chain;
    return chain;
}

}  // namespace nox::postprocessing
