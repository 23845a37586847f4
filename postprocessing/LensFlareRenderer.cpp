#include "postprocessing/LensFlareRenderer.h"

#include <cmath>

#include <glm/gtc/type_ptr.hpp>

#include "app/Transform.h"
#include "assets/Mesh.h"
#include "assets/Texture.h"
#include "postprocessing/LensFlareShader.h"
#include "postprocessing/ScreenPosition.h"

namespace nox::lensflares {

const glm::vec2 screenCentre(0.5f, 0.5f);

namespace {

struct Sprite {
    const char* file;
    float scale;
    float rotationOffset;
};

constexpr const char* spriteDirectory = "../res/textures/lensflares";
constexpr Sprite sprites[LensFlareRenderer::flareCount] = {
    {"lf1.png", 0.05f, 0.0f},  {"lf2.png", 0.025f, 0.0f}, {"lf3.png", 0.05f, 0.0f}, {"lf4.png", 0.025f, 0.0f},
    {"lf5.png", 0.075f, 0.0f}, {"lf6.png", 0.15f, 0.0f},  {"lf7.png", 0.2f, 55.0f},
};

// Neighbouring sprites lie this fraction of the light's offset from the middle apart.
constexpr float spriteSpacing = 0.3f;
// A light in the middle of the screen: its flare's brightness and size factor.
constexpr float brightnessInTheMiddle = 0.5f;
constexpr float sizeInTheMiddle = 0.5f;

// Direction from the middle of the screen to the light in degrees, counter-
// clockwise with the y axis pointing up, in [0, 360). A light exactly in the
// middle has no direction; it gets 0, so its sprites keep their own turn.
float lightDirection(const glm::vec2& light) {
    const glm::vec2 offset = light - screenCentre;
    if (offset == glm::vec2(0.0f)) return 0.0f;
    const float angle = glm::degrees(std::atan2(-offset.y, offset.x));
    return angle < 0.0f ? angle + 360.0f : angle;
}

}  // namespace

LensFlareRenderer::LensFlareRenderer() {
    for (const Sprite& sprite : sprites) {
        LensFlare& flare = flares.emplace_back();
        flare.texture = TextureObject(loadTexture(sprite.file, spriteDirectory));
        flare.scale = sprite.scale;
        flare.rotationOffset = sprite.rotationOffset;
    }
}

void LensFlareRenderer::renderLensFlares(const glm::vec3& position, float brightness) {
    projectToScreen(position);
    if (!screenPosition) return;
    const float t = 1.0f - 2.0f * glm::distance(*screenPosition, screenCentre);
    const float flareBrightness = t * brightnessInTheMiddle * brightness;
    if (flareBrightness <= 0.0f) return;
    updateLensFlareTransforms(t);

    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    // The sprites are placed in a y-down space, which turns the quad's back to the viewer.
    glDisable(GL_CULL_FACE);

    const LensFlareShader& shader = getLensFlareShader();
    glUseProgram(shader.program);
    glUniform1f(shader.brightness, flareBrightness);
    const Mesh& quad = getQuadMesh();
    glBindVertexArray(quad.vao);
    glEnableVertexAttribArray(0);
    for (const LensFlare& flare : flares) {
        glActiveTexture(GL_TEXTURE0 + LensFlareShader::flareUnit);
        glUniform1i(shader.flareTexture, LensFlareShader::flareUnit);
        glBindTexture(GL_TEXTURE_2D, flare.texture);
        glUniformMatrix4fv(shader.transform, 1, GL_FALSE, glm::value_ptr(flare.transform));
        glDrawArrays(GL_TRIANGLES, 0, quad.vertexCount);
    }
    glDisableVertexAttribArray(0);
    glBindVertexArray(0);
    glUseProgram(0);

    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
}

void LensFlareRenderer::updateLensFlareTransforms(float t) {
    const glm::vec2 light = *screenPosition;
    const float angle = lightDirection(light);
    const float sizeFactor = sizeInTheMiddle * t + (1.0f - t);
    for (size_t i = 0; i < flares.size(); ++i) {
        LensFlare& flare = flares[i];
        const glm::vec2 place = light + (screenCentre - light) * (spriteSpacing * static_cast<float>(i));
        const float size = flare.scale * sizeFactor;
        flare.transform = createModelMatrix(glm::vec3(place, 0.0f), glm::vec3(0.0f, 0.0f, flare.rotationOffset - angle),
                                            glm::vec3(size));
    }
}

LensFlareRenderer& getLensFlareRenderer() {
    static LensFlareRenderer renderer;
    return renderer;
}

}  // namespace nox::lensflares
