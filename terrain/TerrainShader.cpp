#include "terrain/TerrainShader.h"

#include <glm/gtc/type_ptr.hpp>

#include "app/Camera.h"
#include "app/Transform.h"
#include "shaders/ShaderFunctions.h"

namespace nox::terrain {

namespace {
constexpr float snowTiling = 4.0f;

}  // namespace

TerrainShader::TerrainShader() : Shader("../res/shader/terrain") {
    buildProgram();
    loadProjection(projectionMatrix);
}

void TerrainShader::bindAttributes() {
    bindAttribute(0, "position");
    bindAttribute(1, "normals");
}

void TerrainShader::getAllUniformLocations() {
    projectionMatrix = getUniformLocation("projectionMatrix");
    viewMatrix = getUniformLocation("viewMatrix");
    modelMatrix = getUniformLocation("modelMatrix");
    clipPlane = getUniformLocation("clipPlane");
    textureTiling = getUniformLocation("textureTiling");
    for (int i = 0; i < lightCount; ++i) {
        lightPosition[i] = getUniformLocation(main::uniformArrayName("lightPosition[", i).c_str());
        lightColor[i] = getUniformLocation(main::uniformArrayName("lightColor[", i).c_str());
        lightAttenuation[i] = getUniformLocation(main::uniformArrayName("lightAttenuation[", i).c_str());
    }
}

TerrainShader& getTerrainShader() {
    static TerrainShader shader;
    return shader;
}

namespace {

// What the current camera, drawing at the current viewport's size, makes of a
// change of height.
LevelView currentLevelView() {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return TerrainLevels::viewOf(getViewMatrix(), projection, {viewport[2], viewport[3]});
}

void drawVisibleChunks(const Terrain& terrain, const glm::mat4& viewProjection, const glm::vec4& clipPlane) {
    if (terrain.levelOfDetail) {
        terrain.levels.selectVisible(terrain.chunks, terrain.position, viewProjection, clipPlane, currentLevelView(),
                                     terrain.levelDraws);
        const LevelDraws& draws = terrain.levelDraws;
        glMultiDrawElementsBaseVertex(GL_TRIANGLES, draws.counts.data(), GL_UNSIGNED_SHORT, draws.offsets.data(),
                                      static_cast<GLsizei>(draws.counts.size()), draws.baseVertices.data());
        return;
    }
    terrain.chunks.selectVisible(terrain.position, viewProjection, clipPlane, terrain.visibleRanges);
    const DrawRanges& ranges = terrain.visibleRanges;
    glMultiDrawElements(GL_TRIANGLES, ranges.counts.data(), GL_UNSIGNED_INT, ranges.offsets.data(),
                        static_cast<GLsizei>(ranges.counts.size()));
}

}  // namespace

void renderTerrain(const Terrain& terrain, const std::vector<Light>& lights, const glm::vec4& clipPlane,
                   const glm::mat4& region, bool backFacesHidden) {
    TerrainShader& shader = getTerrainShader();
    glUniformMatrix4fv(shader.viewMatrix, 1, GL_FALSE, glm::value_ptr(getViewMatrix()));
    for (int i = 0; i < TerrainShader::lightCount; ++i) {
        const Light& light = lights[i];
        glUniform3fv(shader.lightColor[i], 1, glm::value_ptr(light.colour));
        glUniform3fv(shader.lightPosition[i], 1, glm::value_ptr(light.position));
        glUniform3fv(shader.lightAttenuation[i], 1, glm::value_ptr(light.attenuation));
    }
    glUniform1f(shader.textureTiling, snowTiling);
    const bool chunked = !terrain.singleDraw;
    glBindVertexArray(chunked && terrain.levelOfDetail ? terrain.levels.vertexArray : terrain.vao);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    // Two-sided: the reflection pass looks at the ground from below the
    // water. Where every ray meets the ground from above first, the faces
    // turned away can never be the nearest and are left out.
    if (backFacesHidden) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    } else {
        glDisable(GL_CULL_FACE);
    }
    glEnable(GL_DEPTH_TEST);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, terrain.texture);
    const glm::mat4 model = createModelMatrix(terrain.position, glm::vec3(0.0f), glm::vec3(1.0f));
    glUniformMatrix4fv(shader.modelMatrix, 1, GL_FALSE, glm::value_ptr(model));
    if (chunked) {
        drawVisibleChunks(terrain, region * projection * getViewMatrix(), clipPlane);
    } else {
        glDrawElements(GL_TRIANGLES, terrain.vertexCount, GL_UNSIGNED_INT, nullptr);
    }
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    glBindVertexArray(0);
}

}  // namespace nox::terrain
