// The draws that more than one pass makes: the models and the ground, each
// through its own program, and the lights the models are lit by.
#include "app/Scene.h"

#include "app/Camera.h"
#include "app/Transform.h"
#include "assets/AssimpShader.h"
#include "terrain/TerrainShader.h"

namespace nox {

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

}  // namespace nox
