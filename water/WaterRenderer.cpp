#include "water/WaterRenderer.h"

#include <cmath>
#include <iterator>
#include <utility>

#include <glm/gtc/type_ptr.hpp>

#include "app/Camera.h"
#include "app/Transform.h"
#include "app/Window.h"
#include "assets/Mesh.h"
#include "water/WaterShader.h"

namespace nox::water {

WaterRenderer::WaterRenderer(RenderTarget* reflectionTarget, RenderTarget* refractionTarget, float moveFactor,
                             TextureObject distortionTexture, TextureObject normalTexture)
    : reflectionTarget(reflectionTarget),
      refractionTarget(refractionTarget),
      moveFactor(moveFactor),
      distortionTexture(std::move(distortionTexture)),
      normalTexture(std::move(normalTexture)) {}

float advanceMoveFactor(float moveFactor, float seconds) {
    const float m = moveFactor + WaterRenderer::waveSpeed * seconds;
    // Exact in floats for any m >= 0, so the phase never reaches 1.
    return m - std::trunc(m);
}

void WaterRenderer::advanceScroll() {
    moveFactor = advanceMoveFactor(moveFactor, static_cast<float>(deltaTime));
}

void WaterRenderer::prepareWater(const std::vector<Light>& lights) {
    const WaterShader& shader = getWaterShader();
    glUniformMatrix4fv(shader.viewMatrix, 1, GL_FALSE, glm::value_ptr(getViewMatrix()));
    const glm::vec3& eye = getCamera().position;
    glUniform3f(shader.cameraPosition, eye.x, eye.y, eye.z);
    advanceScroll();
    glUniform1f(shader.moveFactor, moveFactor);
    for (int i = 0; i < WaterShader::lightCount; ++i) {
        glUniform3fv(shader.lightColour[i], 1, glm::value_ptr(lights[i].colour));
        glUniform3fv(shader.lightPosition[i], 1, glm::value_ptr(lights[i].position));
    }
    glBindVertexArray(getQuadMesh().vao);
    glEnableVertexAttribArray(0);
    const GLuint textures[] = {reflectionTarget->colourAttachments[0], refractionTarget->colourAttachments[0],
                               distortionTexture, normalTexture, refractionTarget->depthAttachment};
    static_assert(WaterShader::depthMapUnit + 1 == std::size(textures));
    for (GLenum unit = 0; unit < std::size(textures); ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, textures[unit]);
    }
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Laid flat, the quad's front face points down, away from every view of
    // the lake.
    glDisable(GL_CULL_FACE);
}

void WaterRenderer::renderWater(const std::vector<WaterTile>& tiles, const std::vector<Light>& lights) {
    prepareWater(lights);
    const WaterShader& shader = getWaterShader();
    for (const WaterTile& tile : tiles) {
        const glm::mat4 model =
            createModelMatrix(glm::vec3(tile.x, tile.height, tile.z), glm::vec3(0.0f), glm::vec3(tile.size));
        glUniformMatrix4fv(shader.modelMatrix, 1, GL_FALSE, glm::value_ptr(model));
        glDrawArrays(GL_TRIANGLES, 0, getQuadMesh().vertexCount);
    }
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisableVertexAttribArray(0);
    glBindVertexArray(0);
    glDisable(GL_BLEND);
}

}  // namespace nox::water
