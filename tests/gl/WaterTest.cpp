#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include "app/Window.h"
#include "assets/Mesh.h"
#include "postprocessing/RenderTarget.h"
#include "tests/support/GlTestSupport.h"
#include "water/WaterRenderer.h"
#include "water/WaterShader.h"

namespace {

using nox::RenderTarget;
using nox::test::integer;
using nox::water::WaterRenderer;
using nox::water::WaterShader;
using nox::water::WaterTile;

const std::vector<nox::Light> lamps{{{70, 29, -15}, {0.94f, 0.73f, 0.016f}, {1, 0.005f, 0.001f}},
                                    {{65, 29.47f, -65}, {0.94f, 0.73f, 0.016f}, {1, 0.005f, 0.001f}}};

GLuint emptyTexture() {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    return id;
}

class WaterTest : public testing::Test {
protected:
    WaterTest()
        : reflection(32, 16),
          refraction(32, 16),
          water(&reflection, &refraction, 0.0f, nox::TextureObject(emptyTexture()),
                nox::TextureObject(emptyTexture())) {
        reflection.addDepthRenderbuffer();
        reflection.addColourTexture();
        reflection.setDrawBuffers();
        refraction.addDepthTexture();
        refraction.addColourTexture();
        refraction.setDrawBuffers();
    }

    void TearDown() override {
        glUseProgram(0);
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    void render(const std::vector<WaterTile>& tiles) {
        glUseProgram(nox::water::getWaterShader().program);
        water.renderWater(tiles, lamps);
    }

    RenderTarget reflection;
    RenderTarget refraction;
    WaterRenderer water;
};

TEST_F(WaterTest, TheProgramFindsEveryUniformAndItsSamplersKeepUnitsZeroToFour) {
    const WaterShader& shader = nox::water::getWaterShader();
    for (GLint location : {shader.modelMatrix, shader.viewMatrix, shader.projectionMatrix, shader.reflectionTexture,
                           shader.refractionTexture, shader.dudvMap, shader.moveFactor, shader.cameraPosition,
                           shader.normalMap, shader.lightPosition[0], shader.lightPosition[1], shader.lightColour[0],
                           shader.lightColour[1], shader.depthMap}) {
        EXPECT_GE(location, 0);
    }
    const GLint samplers[] = {shader.reflectionTexture, shader.refractionTexture, shader.dudvMap, shader.normalMap,
                              shader.depthMap};
    for (GLint unit = 0; unit < 5; ++unit) {
        GLint value = -1;
        glGetUniformiv(shader.program, samplers[unit], &value);
        EXPECT_EQ(value, unit);
    }
}

TEST_F(WaterTest, TheScrollAdvancesOncePerCallAlsoWithoutTiles) {
    nox::deltaTime = 2.0;
    render({});
    EXPECT_FLOAT_EQ(water.moveFactor, 0.06f);
    render({{500, 20, 0, 0}, {10, 20, 30, 30}});
    EXPECT_FLOAT_EQ(water.moveFactor, 0.12f);
    GLfloat uploaded = 0.0f;
    glGetUniformfv(nox::water::getWaterShader().program, nox::water::getWaterShader().moveFactor, &uploaded);
    EXPECT_EQ(uploaded, water.moveFactor);

    nox::deltaTime = 40.0;
    render({});
    EXPECT_GE(water.moveFactor, 0.0f);
    EXPECT_LT(water.moveFactor, 1.0f);
    nox::deltaTime = 0.0;
}

TEST_F(WaterTest, ItLeavesBlendingOffCullingOnAndTheFiveTexturesOnTheirUnits) {
    for (bool entryState : {true, false}) {
        entryState ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
        entryState ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        render({{500, 20, 0, 0}});
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
        EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
        EXPECT_EQ(integer(GL_CURRENT_PROGRAM), static_cast<GLint>(nox::water::getWaterShader().program));
        EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE4);
    }
    const GLuint expected[] = {reflection.colourAttachments[0], refraction.colourAttachments[0],
                               water.distortionTexture, water.normalTexture, refraction.depthAttachment};
    for (GLenum unit = 0; unit < 5; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(expected[unit])) << "unit " << unit;
    }
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(WaterTest, TheTilesAreBlendedByTheirAlphaWhateverFunctionWasSet) {
    // Only the switch is turned off afterwards; the function stays.
    glBlendFunc(GL_ONE, GL_ZERO);
    render({{500, 20, 0, 0}});
    EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(WaterTest, DestroyingTheRendererReleasesItsTwoTextures) {
    GLuint distortion = emptyTexture();
    GLuint normal = emptyTexture();
    {
        WaterRenderer doomed(&reflection, &refraction, 0.0f, nox::TextureObject(distortion),
                             nox::TextureObject(normal));
    }
    EXPECT_FALSE(glIsTexture(distortion));
    EXPECT_FALSE(glIsTexture(normal));
}

}  // namespace
