#include "app/Scene.h"

#include "app/Camera.h"
#include "app/CameraMirror.h"
#include "app/DisplayConfig.h"
#include "app/FrameSteps.h"
#include "app/ScenePopulation.h"
#include "app/Transform.h"
#include "assets/AssimpShader.h"
#include "assets/Texture.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"
#include "postprocessing/LensFlareRenderer.h"
#include "postprocessing/PostProcessingChain.h"
#include "postprocessing/ScreenPosition.h"
#include "shapes/ShapeShader.h"
#include "shapes/ShapeTextureShader.h"
#include "shapes/Skybox.h"
#include "terrain/TerrainShader.h"
#include "water/WaterShader.h"

namespace nox {

namespace {

using shapes::Shape;

const glm::vec3 lightColour(240.0f / 255.0f, 185.0f / 255.0f, 4.0f / 255.0f);
const glm::vec3 lightPosition1(70.0f, 29.0f, -15.0f);
const glm::vec3 lightPosition2(65.0f, 29.47f, -65.0f);
const glm::vec3 lightCubeScale(0.3f);
const glm::vec3 lightAttenuation(1.0f, 0.005f, 0.001f);
const glm::vec3 terrainPosition(-500.0f, 0.0f, -500.0f);
const water::WaterTile lake{500.0f, Scene::waterHeight, 0.0f, 0.0f};
constexpr const char* textureDirectory = "../res/textures";

// The scene pass keeps everything explicitly: shaders write their clip
// distance in every pass, and this driver clips by it even where clipping is
// disabled.
using terrain::keepEverything;

// The sky is dim and sends nothing to the god rays; the moon is shown as it is
// and feeds them a little.
const glm::vec4 skyColourScale(0.1f, 0.1f, 0.1f, 1.0f);
const glm::vec4 skyLightScale(0.0f, 0.0f, 0.0f, 1.0f);
const glm::vec4 moonColourScale(1.0f, 1.0f, 1.0f, 1.0f);
const glm::vec4 moonLightScale(0.1f, 0.1f, 0.1f, 1.0f);

// The scene's picture, a spare, and the highlight the god rays are made from.
constexpr int sceneColourAttachments = 3;

struct SourceQueries {
    Scene::Query visible;
    Scene::Query total;
};
const std::array<SourceQueries, Scene::lightSourceCount> sourceQueries{{
    {Scene::cube1Visible, Scene::cube1Total},
    {Scene::cube2Visible, Scene::cube2Total},
    {Scene::moonVisible, Scene::moonTotal},
}};

struct QuadPlacement {
    glm::vec3 translation;
    glm::vec3 rotation;
    float scale;
    unsigned textureIndex;
};

// clang-format off
const std::array<QuadPlacement, Scene::skyFaceCount + 1> quadPlacements{{
    {{0, 0, -500},       {0, 0, 180},    500, 4},  // front
    {{0, 0, 500},        {0, -180, 180}, 500, 2},  // back
    {{500, 0, 0},        {180, 90, 0},   500, 1},  // right
    {{-500, 0, 0},       {0, -90, 180},  500, 0},  // left
    {{0, -500, 0},       {90, 0, 180},   500, 3},  // bottom
    {{0, 500, 0},        {90, 0, 0},     500, 5},  // top
    {{-450, 362, -345},  {90, 0, 0},     50,  6},  // moon
}};
// clang-format on

Shape placeQuad(int quad) {
    const QuadPlacement& p = quadPlacements[quad];
    return Shape(getQuadMesh(), p.translation, p.rotation, glm::vec3(p.scale));
}

}  // namespace

SkyQuads placeSkyQuads() {
    return {placeQuad(0), placeQuad(1), placeQuad(2), placeQuad(3), placeQuad(4), placeQuad(5), placeQuad(6)};
}

unsigned skyTextureIndex(int quad) {
    return quadPlacements[quad].textureIndex;
}

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

// What lies below the surface, for the lake bed seen through the water.
// Only the part of each water image that the visible water can look up is
// drawn: the rest of the image is never read.
ScreenRegion Scene::visibleWater() const {
    if (!cullWaterImages) return ScreenRegion{};
    return waterRegion(terrain.chunks, terrain.position, waterHeight, projection * getViewMatrix())
        .grown(waterLookupReach);
}

void Scene::limitPassTo(const ScreenRegion& region, const RenderTarget& target) {
    passRegion = region.empty() ? glm::mat4(1.0f) : region.cullingMatrix();
    const glm::ivec4 box = region.pixels(target.width, target.height);
    glEnable(GL_SCISSOR_TEST);
    glScissor(box.x, box.y, box.z, box.w);
}

void Scene::endLimitedPass() {
    passRegion = glm::mat4(1.0f);
    glDisable(GL_SCISSOR_TEST);
}

void Scene::refractionPass() {
    const ScreenRegion region = visibleWater();
    glEnable(GL_CLIP_DISTANCE0);
    refractionTarget.bindForDrawing();
    limitPassTo(region, refractionTarget);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!region.empty()) drawTerrain(glm::vec4(0.0f, -1.0f, 0.0f, clipAbove));
    endLimitedPass();
    refractionTarget.unbind();
    glDisable(GL_CLIP_DISTANCE0);
}

// What lies above the surface, seen from the camera's mirror image below it.
void Scene::reflectionPass() {
    const glm::vec4 keepAbove(0.0f, 1.0f, 0.0f, clipBelow);
    // The water looks its reflection up upside down.
    const ScreenRegion region = visibleWater().mirrored();
    glEnable(GL_CLIP_DISTANCE0);
    reflectionTarget.bindForDrawing();
    limitPassTo(region, reflectionTarget);
    {
        const CameraMirror mirror(getCamera(), waterHeight);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (!region.empty()) {
            drawModels(keepAbove);
            renderSkyFaces(quads);
            drawTerrain(keepAbove);
        }
    }
    endLimitedPass();
    reflectionTarget.unbind();
    glDisable(GL_CLIP_DISTANCE0);
}

// A light source's two counts must see the same faces of it, whatever the
// draw before left behind: the front faces only, as the picture shows them.
void Scene::countFrontFacesOnly() {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
}

void Scene::readOcclusionResults() {
    for (Query query : {cube1Total, cube2Total, moonTotal, cube1Visible, cube2Visible, moonVisible}) {
        queries[query].readResult();
    }
}

// The moon is drawn exactly as the scene pass draws it, turned to face the
// camera, so that its two counts measure the same shape.
void Scene::queryPass() {
    sceneTarget.bindForDrawing();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    countFrontFacesOnly();
    shapes::ShapeShader& shader = shapes::getShapeShader();
    glUseProgram(shader.program);
    glUniform4f(shader.color, lightColour.r, lightColour.g, lightColour.b, 1.0f);
    shader.loadViewMatrix();
    queries[cube1Total].begin();
    shapes::renderShapeWithoutDepth(lightCube1);
    queries[cube1Total].end();
    queries[cube2Total].begin();
    shapes::renderShapeWithoutDepth(lightCube2);
    queries[cube2Total].end();
    const Shape& moonShape = quads[moonQuad];
    queries[moonTotal].begin();
    shapes::renderShapeWithoutDepth(moonShape, shapes::billboardMatrix(moonShape, getViewMatrix()));
    queries[moonTotal].end();
    glUseProgram(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sceneTarget.unbind();
}

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

void Scene::lensFlarePass() {
    for (LightSource source : {lamp1, lamp2, moon}) {
        if (const std::optional<float> brightness = flareBrightness(source)) {
            lensflares::getLensFlareRenderer().renderLensFlares(lightSourcePosition(source), *brightness);
        }
    }
}

std::optional<float> Scene::flareBrightness(LightSource source) const {
    const GLint visible = queries[sourceQueries[source].visible].samples;
    const GLint total = queries[sourceQueries[source].total].samples;
    if (visible <= 0 || total <= 0) return std::nullopt;
    return static_cast<float>(visible) / static_cast<float>(total);
}

glm::vec3 Scene::lightSourcePosition(LightSource source) const {
    const glm::vec3 positions[lightSourceCount] = {lightCube1.position, lightCube2.position, quads[moonQuad].position};
    return positions[source];
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

void Scene::uploadModelLights() {
    assimp::AssimpShader& shader = assimp::getAssimpShader();
    glUseProgram(shader.program);
    for (int i = 0; i < assimp::AssimpShader::lightCount; ++i) {
        glUniform3fv(shader.lightPosition[i], 1, &lights[i].position[0]);
        glUniform3fv(shader.lightColor[i], 1, &lights[i].colour[0]);
        glUniform3fv(shader.attenuation[i], 1, &lights[i].attenuation[0]);
    }
    glUseProgram(0);
}

void Scene::drawModels(const glm::vec4& clipPlane, int first, int end) {
    assimp::AssimpShader& shader = assimp::getAssimpShader();
    glUseProgram(shader.program);
    shader.loadViewMatrix();
    glUniform4fv(shader.clipPlane, 1, &clipPlane[0]);
    const assimp::ModelInstance* instances = terrain.getModelInstances();
    const glm::mat4 viewProjection = passRegion * projection * getViewMatrix();
    for (int i = first; i < end; ++i) {
        if (!cullModels || instances[i].mayBeSeen(viewProjection, clipPlane)) assimp::renderModel(instances[i]);
    }
    glUseProgram(0);
}

void Scene::drawAtFullDetail(bool full) {
    cullModels = !full;
    cullWaterImages = !full;
    terrain.singleDraw = full;
    terrain.levelOfDetail = !full;
    terrain.cullBackFaces = !full;
}

void Scene::drawTerrain(const glm::vec4& clipPlane, bool backFacesHidden) {
    drawTerrain(clipPlane, backFacesHidden, clipPlane);
}

void Scene::drawTerrain(const glm::vec4& clipPlane, bool backFacesHidden, const glm::vec4& cullingPlane) {
    terrain::TerrainShader& shader = terrain::getTerrainShader();
    glUseProgram(shader.program);
    glUniform4fv(shader.clipPlane, 1, &clipPlane[0]);
    terrain::renderTerrain(terrain, lights, cullingPlane, passRegion, backFacesHidden);
    glUseProgram(0);
}

void Scene::drawWater() {
    glUseProgram(water::getWaterShader().program);
    water.renderWater(waterTiles, lights);
    glUseProgram(0);
}

namespace {
// The faces with the sky's scales; leaves the ShapeTextureShader in use.
void drawSkyFaces(const SkyQuads& quads) {
    shapes::ShapeTextureShader& shader = shapes::getShapeTextureShader();
    shapes::Skybox& skybox = shapes::getSkybox();
    glUseProgram(shader.program);
    glUniform4fv(shader.outColorScale, 1, &skyColourScale[0]);
    glUniform4fv(shader.lightColorScale, 1, &skyLightScale[0]);
    shader.loadViewMatrix();
    for (int face = 0; face < Scene::skyFaceCount; ++face) {
        skybox.renderTexturedShape(quads[face], skyTextureIndex(face));
    }
}

// The bright moon; expects the ShapeTextureShader in use and leaves it so.
void drawMoon(const SkyQuads& quads) {
    shapes::ShapeTextureShader& shader = shapes::getShapeTextureShader();
    glUniform4fv(shader.outColorScale, 1, &moonColourScale[0]);
    glUniform4fv(shader.lightColorScale, 1, &moonLightScale[0]);
    shapes::getSkybox().renderTexturedShape(quads[Scene::moonQuad], skyTextureIndex(Scene::moonQuad));
}
}  // namespace

void renderSkyFaces(const SkyQuads& quads) {
    drawSkyFaces(quads);
    glUseProgram(0);
}

void renderSky(const SkyQuads& quads) {
    drawSkyFaces(quads);
    drawMoon(quads);
    glUseProgram(0);
}

void Scene::drawSky() {
    drawSkyFaces(quads);
    countFrontFacesOnly();
    queries[moonVisible].begin();
    drawMoon(quads);
    queries[moonVisible].end();
    glUseProgram(0);
}

void Scene::drawLightCubes() {
    shapes::ShapeShader& shader = shapes::getShapeShader();
    glUseProgram(shader.program);
    glUniform4f(shader.color, lightColour.r, lightColour.g, lightColour.b, 1.0f);
    shader.loadViewMatrix();
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
