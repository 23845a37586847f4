#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <glm/glm.hpp>

#include "app/DisplayConfig.h"
#include "assets/Mesh.h"
#include "assets/Texture.h"
#include "postprocessing/InputEffect.h"
#include "tests/support/GlTestSupport.h"

namespace {

namespace fs = std::filesystem;
using nox::postprocessing::PointCentredEffect;
using nox::postprocessing::TwoInputEffect;

const char* const quadVertexStage = R"(#version 430 core
in vec2 position;
out vec2 uv;
void main() {
    uv = position * 0.5 + 0.5;
    gl_Position = vec4(position, 0.0, 1.0);
})";

// Adds its two inputs, so a test sees that both units were bound.
const char* const sumFragmentStage = R"(#version 430 core
in vec2 uv;
uniform sampler2D first;
uniform sampler2D second;
out vec4 colour;
void main() { colour = texture(first, uv) + texture(second, uv); })";

// Shows its centre and its input's red channel.
const char* const centreFragmentStage = R"(#version 430 core
in vec2 uv;
uniform sampler2D image;
uniform vec2 center;
out vec4 colour;
void main() { colour = vec4(center, texture(image, uv).r, 1.0); })";

fs::path stageDirectory() {
    static const fs::path directory = [] {
        fs::path d = fs::temp_directory_path() / ("noxvale_effect_test_" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return directory;
}

std::string writeStages(const std::string& name, const char* fragmentStage) {
    const fs::path stem = stageDirectory() / name;
    std::ofstream(stem.string() + ".vert") << quadVertexStage;
    std::ofstream(stem.string() + ".frag") << fragmentStage;
    return stem.string();
}

class SumEffect : public TwoInputEffect {
public:
    SumEffect() : TwoInputEffect(writeStages("sum", sumFragmentStage)) {
        buildProgram();
        glUseProgram(program);
        glUniform1i(first, 0);
        glUniform1i(second, 1);
        glUseProgram(0);
    }

protected:
    void getAllUniformLocations() override {
        first = getUniformLocation("first");
        second = getUniformLocation("second");
    }

    GLint first = -1;
    GLint second = -1;
};

class CentreEffect : public PointCentredEffect {
public:
    CentreEffect() : PointCentredEffect(writeStages("centre", centreFragmentStage)) { buildProgram(); }

protected:
    void getAllUniformLocations() override { center = getUniformLocation("center"); }
};

glm::u8vec4 texelAt(GLuint texture, int x, int y) {
    const int width = nox::activeDisplay.windowWidth;
    std::vector<GLubyte> pixels(static_cast<size_t>(width) * nox::activeDisplay.windowHeight * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    const GLubyte* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

GLint currentProgram() {
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

class EffectBaseTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        red = nox::createSolidTexture(200, 0, 0);
        green = nox::createSolidTexture(0, 100, 0);
    }
    static void TearDownTestSuite() {
        glDeleteTextures(1, &red);
        glDeleteTextures(1, &green);
        fs::remove_all(stageDirectory());
    }

    // The state every pass expects: the quad bound, depth testing off.
    void SetUp() override {
        glBindVertexArray(nox::getQuadMesh().vao);
        glEnableVertexAttribArray(0);
        glDisable(GL_DEPTH_TEST);
    }

    void TearDown() override {
        glDisableVertexAttribArray(0);
        glBindVertexArray(0);
        glEnable(GL_DEPTH_TEST);
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    static GLuint red;
    static GLuint green;
};

GLuint EffectBaseTest::red = 0;
GLuint EffectBaseTest::green = 0;

TEST_F(EffectBaseTest, AnEffectOwnsOneDisplaySizedImage) {
    SumEffect effect;
    ASSERT_EQ(effect.renderTarget.colourAttachments.size(), 1u);
    EXPECT_EQ(effect.renderTarget.depthAttachment, 0u);
    EXPECT_EQ(effect.output(), effect.renderTarget.colourAttachments[0]);
    EXPECT_EQ(effect.renderTarget.width, nox::activeDisplay.windowWidth);
    EXPECT_EQ(effect.renderTarget.height, nox::activeDisplay.windowHeight);
}

TEST_F(EffectBaseTest, ATwoInputPassReadsBothUnitsAndEndsWithEmptyInputs) {
    SumEffect effect;
    effect.inputTextures.push_back(red);
    effect.inputTextures.push_back(green);
    effect.render();
    EXPECT_EQ(texelAt(effect.output(), 10, 10), glm::u8vec4(200, 100, 0, 255));
    EXPECT_TRUE(effect.inputTextures.empty());
    EXPECT_TRUE(effect.inputValues.empty());
    EXPECT_EQ(currentProgram(), 0);
    EXPECT_TRUE(effect.renderTarget.boundTargets.empty());
}

TEST_F(EffectBaseTest, APointCentredPassTakesItsCentreFromTheInputValues) {
    CentreEffect effect;
    effect.inputValues = {0.25f, 0.75f};
    effect.inputTextures.push_back(red);
    effect.render();
    const glm::u8vec4 texel = texelAt(effect.output(), 100, 100);
    EXPECT_NEAR(texel.r, 64, 1);
    EXPECT_NEAR(texel.g, 191, 1);
    EXPECT_EQ(texel.b, 200);
    EXPECT_TRUE(effect.inputValues.empty());
    EXPECT_TRUE(effect.inputTextures.empty());
}

TEST_F(EffectBaseTest, APassToTheScreenCoversTheWindow) {
    SumEffect effect;
    effect.inputTextures = {red, green};
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    effect.renderToScreen();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const nox::test::Image image = nox::test::readBackBuffer();
    for (const glm::ivec2& at : {glm::ivec2(0, 0), glm::ivec2(image.width - 1, image.height - 1),
                                 glm::ivec2(image.width / 2, image.height / 2)}) {
        const std::uint8_t* p = image.pixel(at.x, at.y);
        EXPECT_EQ(glm::ivec3(p[0], p[1], p[2]), glm::ivec3(200, 100, 0)) << at.x << ", " << at.y;
    }
    EXPECT_TRUE(effect.inputTextures.empty());
    EXPECT_EQ(currentProgram(), 0);
}

}  // namespace
