#include "app/Scene.h"

#include "app/DisplayConfig.h"
#include "app/FrameSteps.h"
#include "app/SceneSetUp.h"
#include "assets/Texture.h"

namespace nox {

using namespace setUp;

Scene::Scene()
    : terrain(terrainPosition),
      lightCube1(getCubeMesh(), lightPosition1, glm::vec3(0.0f), lightCubeScale),
      lightCube2(getCubeMesh(), lightPosition2, glm::vec3(0.0f), lightCubeScale),
      lights{{lightPosition1, lightColour, lightAttenuation}, {lightPosition2, lightColour, lightAttenuation}},
      reflectionTarget(activeDisplay.waterTargetWidth, activeDisplay.waterTargetHeight),
      refractionTarget(activeDisplay.waterTargetWidth, activeDisplay.waterTargetHeight),
      water(&reflectionTarget, &refractionTarget, 0.0f, TextureObject(loadTexture("waterDUDV.png", textureDirectory)),
            TextureObject(loadTexture("normal.png", textureDirectory))),
      waterTiles{lake},
      sceneTarget(activeDisplay.windowWidth, activeDisplay.windowHeight),
      quads(placeSkyQuads()) {
    reflectionTarget.addDepthRenderbuffer();
    reflectionTarget.addColourTexture();
    reflectionTarget.setDrawBuffers();
    refractionTarget.addDepthTexture();
    refractionTarget.addColourTexture();
    refractionTarget.setDrawBuffers();
    sceneTarget.addDepthTexture();
    for (int i = 0; i < sceneColourAttachments; ++i) sceneTarget.addColourTexture();
    sceneTarget.setDrawBuffers();
}

void Scene::resetTargetSizes() {
    for (RenderTarget* target : {&sceneTarget, &reflectionTarget, &refractionTarget}) {
        target->width = activeDisplay.windowWidth;
        target->height = activeDisplay.windowHeight;
    }
}

void Scene::render() {
    uploadModelLights();
    refractionPass();
    endFrameStep(FrameStep::Refraction);
    reflectionPass();
    endFrameStep(FrameStep::Reflection);
    readOcclusionResults();
    queryPass();
    endFrameStep(FrameStep::Queries);
    scenePass();
    present();
    endFrameStep(FrameStep::Presentation);
    lensFlarePass();
    endFrameStep(FrameStep::Flares);
}

void Scene::drawAtFullDetail(bool full) {
    cullModels = !full;
    cullWaterImages = !full;
    terrain.singleDraw = full;
    terrain.levelOfDetail = !full;
    terrain.cullBackFaces = !full;
}

}  // namespace nox
