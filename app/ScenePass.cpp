// The scene into the scene target: models, ground, water, sky and moon, the
// lamps' cubes, the street lights and last the particles.
#include "app/Scene.h"

#include "app/Camera.h"
#include "app/FrameSteps.h"
#include "app/SceneSetUp.h"
#include "assets/AssimpShader.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"
#include "shapes/ShapeShader.h"
#include "terrain/TerrainShader.h"
#include "water/WaterShader.h"

namespace nox {

using namespace setUp;

// The scene pass keeps everything explicitly: shaders write their clip
// distance in every pass, and this driver clips by it even where clipping is
// disabled.
using terrain::keepEverything;

void Scene::scenePass() {
    sceneTarget.bindForDrawing();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawModels(keepEverything, 0, firstStreetLightInstance);
    endFrameStep(FrameStep::Models);
    // Seen from above the ground, the first surface any ray meets faces it;
    // seen from above the water, the ground deep under it is hidden.
    const glm::vec3 eye = getCamera().position;
    const bool backFacesHidden = terrain.cullBackFaces && terrain.isAbove(eye);
    const glm::vec4 aboveTheDepths(0.0f, 1.0f, 0.0f, opaqueDepth - waterHeight);
    drawTerrain(keepEverything, backFacesHidden, eye.y > waterHeight ? aboveTheDepths : keepEverything);
    endFrameStep(FrameStep::Terrain);
    drawWater();
    endFrameStep(FrameStep::Water);
    drawSky();
    endFrameStep(FrameStep::SkyAndMoon);
    drawLightCubes();
    endFrameStep(FrameStep::LightCubes);
    // Each street light's lantern encloses its light cube. Drawn after the
    // cubes are counted, the glass still covers them in the picture but does
    // not hide the lamps' own light from their flares.
    drawModels(keepEverything, firstStreetLightInstance, modelInstanceCount);
    endFrameStep(FrameStep::Models);
    // Last of the scene: the sprites write no depth, so everything opaque
    // must already be there to hide them.
    gpu_particles::renderSnow(gpu_particles::getSnowSystem());
    gpu_particles::renderFire(gpu_particles::getFireSystem());
    endFrameStep(FrameStep::Particles);
    sceneTarget.unbind();
}

void Scene::drawWater() {
    glUseProgram(water::getWaterShader().program);
    water.renderWater(waterTiles, lights);
    glUseProgram(0);
}

void Scene::drawLightCubes() {
    useLampColouredShapes();
    countFrontFacesOnly();
    queries[cube1Visible].begin();
    shapes::renderShape(lightCube1);
    queries[cube1Visible].end();
    queries[cube2Visible].begin();
    shapes::renderShape(lightCube2);
    queries[cube2Visible].end();
    glUseProgram(0);
}

}  // namespace nox
