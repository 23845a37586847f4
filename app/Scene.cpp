#include "app/Scene.h"

#include "app/ScenePopulation.h"
#include "assets/AssimpShader.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"
#include "shapes/ShapeShader.h"
#include "shapes/ShapeTextureShader.h"
#include "shapes/Skybox.h"
#include "terrain/TerrainShader.h"

namespace nox {

namespace {

using shapes::Shape;

const glm::vec3 lightColour(240.0f / 255.0f, 185.0f / 255.0f, 4.0f / 255.0f);
const glm::vec3 lightPosition1(70.0f, 29.0f, -15.0f);
const glm::vec3 lightPosition2(65.0f, 29.47f, -65.0f);
const glm::vec3 lightCubeScale(0.3f);
const glm::vec3 lightAttenuation(1.0f, 0.005f, 0.001f);
const glm::vec3 terrainPosition(-500.0f, 0.0f, -500.0f);

// The sky is dim and sends nothing to the god rays; the moon is shown as it is
// and feeds them a little.
const glm::vec4 skyColourScale(0.1f, 0.1f, 0.1f, 1.0f);
const glm::vec4 skyLightScale(0.0f, 0.0f, 0.0f, 1.0f);
const glm::vec4 moonColourScale(1.0f, 1.0f, 1.0f, 1.0f);
const glm::vec4 moonLightScale(0.1f, 0.1f, 0.1f, 1.0f);

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
      quads(placeSkyQuads()) {}

void Scene::render() {
    uploadModelLights();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawModels();
    drawTerrain();
    renderSky(quads);
    drawLightCubes();
    // Last of the scene: the sprites write no depth, so everything opaque
    // must already be there to hide them.
    gpu_particles::renderSnow(gpu_particles::getSnowSystem());
    gpu_particles::renderFire(gpu_particles::getFireSystem());
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

void Scene::drawModels() {
    assimp::AssimpShader& shader = assimp::getAssimpShader();
    glUseProgram(shader.program);
    shader.loadViewMatrix();
    const assimp::ModelInstance* instances = terrain.getModelInstances();
    for (int i = 0; i < modelInstanceCount; ++i) assimp::renderModel(instances[i]);
    glUseProgram(0);
}

void Scene::drawTerrain() {
    glUseProgram(terrain::getTerrainShader().program);
    terrain::renderTerrain(terrain, lights);
    glUseProgram(0);
}

void renderSky(const SkyQuads& quads) {
    shapes::ShapeTextureShader& shader = shapes::getShapeTextureShader();
    shapes::Skybox& skybox = shapes::getSkybox();
    glUseProgram(shader.program);
    glUniform4fv(shader.outColorScale, 1, &skyColourScale[0]);
    glUniform4fv(shader.lightColorScale, 1, &skyLightScale[0]);
    shader.loadViewMatrix();
    for (int face = 0; face < Scene::skyFaceCount; ++face) {
        skybox.renderTexturedShape(quads[face], skyTextureIndex(face));
    }
    glUniform4fv(shader.outColorScale, 1, &moonColourScale[0]);
    glUniform4fv(shader.lightColorScale, 1, &moonLightScale[0]);
    skybox.renderTexturedShape(quads[Scene::moonQuad], skyTextureIndex(Scene::moonQuad));
    glUseProgram(0);
}

void Scene::drawLightCubes() {
    shapes::ShapeShader& shader = shapes::getShapeShader();
    glUseProgram(shader.program);
    glUniform4f(shader.color, lightColour.r, lightColour.g, lightColour.b, 1.0f);
    shader.loadViewMatrix();
    shapes::renderShape(lightCube1);
    shapes::renderShape(lightCube2);
    glUseProgram(0);
}

}  // namespace nox
