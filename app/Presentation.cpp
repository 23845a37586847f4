// The finished frame in the window: the scene's picture, with god rays when
// the moon lies ahead, and the lens flares of the light sources seen.
#include "app/Scene.h"

#include "app/DisplayConfig.h"
#include "postprocessing/LensFlareRenderer.h"
#include "postprocessing/PostProcessingChain.h"
#include "postprocessing/ScreenPosition.h"

namespace nox {

void Scene::present() {
    projectToScreen(quads[moonQuad].position);
    if (screenPosition) {
        postprocessing::PostProcessingChain& chain = postprocessing::getPostProcessingChain();
        // The chain works in texture coordinates, whose y axis points up.
        chain.inputValues.push_back(screenPosition->x);
        chain.inputValues.push_back(static_cast<float>(1.0 - static_cast<double>(screenPosition->y)));
        for (GLuint colour : sceneTarget.colourAttachments) chain.inputTextures.push_back(colour);
        chain.inputTextures.push_back(sceneTarget.depthAttachment);
        chain.run();
    } else {
        copySceneToWindow();
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
}

// The scene's picture, copied to the window as it is.
void Scene::copySceneToWindow() {
    sceneTarget.bindForReading();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glDrawBuffer(GL_BACK);
    glBlitFramebuffer(0, 0, sceneTarget.width, sceneTarget.height, 0, 0, activeDisplay.windowWidth,
                      activeDisplay.windowHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    sceneTarget.unbind();
}

void Scene::lensFlarePass() {
    for (LightSource source : {lamp1, lamp2, moon}) {
        if (const std::optional<float> brightness = flareBrightness(source)) {
            lensflares::getLensFlareRenderer().renderLensFlares(lightSourcePosition(source), *brightness);
        }
    }
}

glm::vec3 Scene::lightSourcePosition(LightSource source) const {
    const glm::vec3 positions[lightSourceCount] = {lightCube1.position, lightCube2.position, quads[moonQuad].position};
    return positions[source];
}

}  // namespace nox
