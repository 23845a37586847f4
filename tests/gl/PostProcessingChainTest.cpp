#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "app/DisplayConfig.h"
#include "app/Transform.h"
#include "assets/Mesh.h"
#include "postprocessing/PostProcessingChain.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::activeDisplay;
using nox::postprocessing::getPostProcessingChain;
using nox::postprocessing::PostProcesser;
using nox::postprocessing::PostProcessingChain;
using nox::test::Image;

// The display sizes each configuration promises, stated apart from DisplayConfig.
glm::ivec2 expectedDisplaySize() {
    const std::string name = activeDisplay.name;
    if (name == "B") return {1920, 1080};
    if (name == "C") return {1280, 768};
    return {1280, 720};
}

float uniformFloat(GLuint program, GLint location) {
    float value = NAN;
    glGetUniformfv(program, location, &value);
    return value;
}

GLint uniformInt(GLuint program, GLint location) {
    GLint value = -1;
    glGetUniformiv(program, location, &value);
    return value;
}

// The type a program declares for a uniform, or GL_NONE when it has none.
GLenum uniformType(GLuint program, const char* name) {
    GLuint index = GL_INVALID_INDEX;
    glGetUniformIndices(program, 1, &name, &index);
    if (index == GL_INVALID_INDEX) return GL_NONE;
    GLint type = GL_NONE;
    glGetActiveUniformsiv(program, 1, &index, GL_UNIFORM_TYPE, &type);
    return static_cast<GLenum>(type);
}

int channelDifference(const Image& a, const Image& b, int x, int y, int channel) {
    return std::abs(int(a.pixel(x, y)[channel]) - int(b.pixel(x, y)[channel]));
}

// Texels for a window-sized texture, from a function of the texel position.
template <typename Texel>
std::vector<std::uint8_t> windowTexels(Texel texel) {
    const glm::ivec2 size(activeDisplay.windowWidth, activeDisplay.windowHeight);
    std::vector<std::uint8_t> rgba;
    rgba.reserve(static_cast<size_t>(size.x) * size.y * 4);
    for (int y = 0; y < size.y; ++y) {
        for (int x = 0; x < size.x; ++x) {
            const glm::u8vec3 c = texel(x, y);
            rgba.insert(rgba.end(), {c.r, c.g, c.b, 255});
        }
    }
    return rgba;
}

template <typename Texel>
GLuint windowTexture(Texel texel) {
    return nox::test::createTexture(activeDisplay.windowWidth, activeDisplay.windowHeight, windowTexels(texel));
}

GLuint depthTexture(float depth) {
    const std::vector<float> depths(static_cast<size_t>(activeDisplay.windowWidth) * activeDisplay.windowHeight, depth);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, activeDisplay.windowWidth, activeDisplay.windowHeight, 0,
                 GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

// The window depth of a point straight ahead of the camera, at a distance.
float windowDepthAt(float distance) {
    const glm::vec4 clip = nox::projection * glm::vec4(0.0f, 0.0f, -distance, 1.0f);
    return 0.5f * clip.z / clip.w + 0.5f;
}

class PostProcessingTest : public testing::Test {
protected:
    void TearDown() override {
        glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
        glUseProgram(0);
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    GLuint keep(GLuint texture) {
        textures.push_back(texture);
        return texture;
    }

    // Hands the chain a scene and the light's position, as the frame does.
    void runChain(GLuint colour, GLuint highlight, glm::vec2 light) {
        PostProcessingChain& chain = getPostProcessingChain();
        chain.inputValues = {light.x, light.y};
        chain.inputTextures = {colour, spare, highlight, depth};
        chain.run();
    }

    // What an effect outside the chain's run expects: the quad bound, no depth test.
    static void runAlone(PostProcesser& effect, GLuint input, std::vector<float> values = {}) {
        glBindVertexArray(nox::getQuadMesh().vao);
        glEnableVertexAttribArray(0);
        glDisable(GL_DEPTH_TEST);
        effect.inputTextures.push_back(input);
        effect.inputValues = std::move(values);
        effect.render();
        glDisableVertexAttribArray(0);
        glBindVertexArray(0);
        glEnable(GL_DEPTH_TEST);
    }

    const glm::ivec2 size{activeDisplay.windowWidth, activeDisplay.windowHeight};
    std::vector<GLuint> textures;
    GLuint spare = keep(windowTexture([](int, int) { return glm::u8vec3(0); }));
    GLuint depth = keep(depthTexture(1.0f));
};

TEST_F(PostProcessingTest, EveryEffectHoldsItsOneTimeValuesForThisDisplay) {
    const PostProcessingChain& chain = getPostProcessingChain();
    const glm::ivec2 display = expectedDisplaySize();

    const auto& rays = chain.godRayBlur;
    EXPECT_EQ(uniformFloat(rays.program, rays.radius), 40.0f);
    EXPECT_EQ(uniformType(rays.program, "targetHeight"), GLenum(GL_FLOAT));
    EXPECT_EQ(uniformFloat(rays.program, rays.targetHeight), float(display.y));
    EXPECT_NE(rays.alpha, -1);

    const auto& rows = chain.horizontalMeanBlur;
    EXPECT_EQ(uniformType(rows.program, "targetWidth"), GLenum(GL_INT));
    EXPECT_EQ(uniformInt(rows.program, rows.targetWidth), display.x);
    EXPECT_EQ(uniformInt(rows.program, rows.kernelWidth), 21);
    const auto& columns = chain.verticalMeanBlur;
    EXPECT_EQ(uniformType(columns.program, "targetHeight"), GLenum(GL_INT));
    EXPECT_EQ(uniformInt(columns.program, columns.targetHeight), display.y);
    EXPECT_EQ(uniformInt(columns.program, columns.kernelHeight), 21);

    const auto& horizontal = chain.horizontalDepthOfField;
    const auto& vertical = chain.verticalDepthOfField;
    EXPECT_EQ(uniformInt(horizontal.program, horizontal.targetSize), display.x);
    EXPECT_EQ(uniformInt(vertical.program, vertical.targetSize), display.y);
    EXPECT_EQ(uniformType(horizontal.program, "maxKernelWidth"), GLenum(GL_INT));
    EXPECT_EQ(uniformType(vertical.program, "maxKernelHeight"), GLenum(GL_INT));
    using nox::depthoffield::DepthOfField;
    const DepthOfField* passes[] = {&horizontal, &vertical};
    for (const DepthOfField* pass : passes) {
        EXPECT_EQ(uniformFloat(pass->program, pass->maxDeltaDepth), 20.0f);
        EXPECT_EQ(uniformInt(pass->program, pass->maxKernelSize), 9);
        EXPECT_NE(pass->focusDepth, -1);
    }

    EXPECT_FLOAT_EQ(uniformFloat(chain.contrastChanger.program, chain.contrastChanger.contrast), 0.3f);
    EXPECT_EQ(uniformInt(chain.combiner.program, chain.combiner.colourTexture), 0);
    EXPECT_EQ(uniformInt(chain.combiner.program, chain.combiner.highlightTexture), 1);
    EXPECT_NE(chain.cartesianToPolarUncentered.program, 0u);
    EXPECT_EQ(nox::test::glErrorReport(), "") << "building the chain";
}

TEST_F(PostProcessingTest, TheRayStrengthFallsUnclampedWithTheLightsDistanceFromTheMiddle) {
    const GLuint black = keep(windowTexture([](int, int) { return glm::u8vec3(0); }));
    const PostProcessingChain& chain = getPostProcessingChain();
    const struct {
        glm::vec2 light;
        float alpha;
    } cases[] = {
        {{0.5f, 0.5f}, 1.0f}, {{0.75f, 0.5f}, 0.5f}, {{0.5f, 0.0f}, 0.0f}, {{1.3f, 0.5f}, -0.6f}, {{0.2f, 0.9f}, 0.0f}};
    for (const auto& c : cases) {
        runChain(black, black, c.light);
        EXPECT_NEAR(uniformFloat(chain.godRayBlur.program, chain.godRayBlur.alpha), c.alpha, 1e-6f)
            << c.light.x << ", " << c.light.y;
    }
}

TEST_F(PostProcessingTest, ARunEmptiesEveryInputListAndRestoresTheFramesState) {
    const GLuint black = keep(windowTexture([](int, int) { return glm::u8vec3(0); }));
    glEnable(GL_DEPTH_TEST);
    runChain(black, black, {0.4f, 0.7f});

    const PostProcessingChain& chain = getPostProcessingChain();
    EXPECT_TRUE(chain.inputTextures.empty());
    EXPECT_TRUE(chain.inputValues.empty());
    const PostProcesser* effects[] = {&chain.contrastChanger,
                                      &chain.horizontalMeanBlur,
                                      &chain.verticalMeanBlur,
                                      &chain.combiner,
                                      &chain.cartesianToPolarCentered,
                                      &chain.cartesianToPolarUncentered,
                                      &chain.polarToCartesianCentered,
                                      &chain.polarToCartesianUncentered,
                                      &chain.verticalDepthOfField,
                                      &chain.horizontalDepthOfField,
                                      &chain.godRayBlur};
    for (const PostProcesser* effect : effects) {
        EXPECT_TRUE(effect->inputTextures.empty());
        EXPECT_TRUE(effect->inputValues.empty());
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint vertexArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    EXPECT_EQ(vertexArray, 0);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
}

// Even with the whole highlight image white, a light half a screen or more
// from the middle leaves every pixel of the picture exactly as it was.
TEST_F(PostProcessingTest, ALightFarFromTheMiddleNeverChangesThePicture) {
    const GLuint picture = keep(windowTexture([](int x, int y) { return glm::u8vec3(x % 256, y % 256, 90); }));
    const GLuint white = keep(windowTexture([](int, int) { return glm::u8vec3(255); }));
    const Image expected = nox::test::textureImage(picture);
    for (glm::vec2 light : {glm::vec2(1.3f, 0.5f), glm::vec2(0.5f, 0.0f), glm::vec2(-0.4f, 1.2f)}) {
        runChain(picture, white, light);
        const Image window = nox::test::readBackBuffer();
        ASSERT_EQ(window.rgb.size(), expected.rgb.size());
        EXPECT_TRUE(window.rgb == expected.rgb) << light.x << ", " << light.y;
    }
}

// Rays without strength are black, so their passes are left out: the blur's
// image keeps what it held before such a run.
TEST_F(PostProcessingTest, ALightFarFromTheMiddleSkipsTheRayPasses) {
    const GLuint black = keep(windowTexture([](int, int) { return glm::u8vec3(0); }));
    PostProcessingChain& chain = getPostProcessingChain();
    const auto markBlurImage = [&] {
        chain.godRayBlur.renderTarget.bindForDrawing();
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        chain.godRayBlur.renderTarget.unbind();
    };
    const auto blurImageMarked = [&] {
        return nox::test::textureImage(chain.godRayBlur.output()).pixel(5, 5)[1] == 255;
    };
    markBlurImage();
    runChain(black, black, {1.3f, 0.5f});
    EXPECT_TRUE(blurImageMarked());
    runChain(black, black, {0.6f, 0.5f});
    EXPECT_FALSE(blurImageMarked());
}

// A bright patch beside a light in the middle: the rays brighten the picture
// outward from the patch, along the line from the light, and nowhere darken it.
TEST_F(PostProcessingTest, RaysStreamAwayFromTheLightAndNeverDarken) {
    constexpr int base = 40;
    const glm::ivec2 middle = size / 2;
    const glm::ivec2 patch = middle + glm::ivec2(size.y / 4, 0);
    constexpr int patchRadius = 20;
    const GLuint picture = keep(windowTexture([](int, int) { return glm::u8vec3(base); }));
    const GLuint highlight = keep(windowTexture([&](int x, int y) {
        return glm::u8vec3(glm::length(glm::vec2(x, y) - glm::vec2(patch)) < patchRadius ? 255 : 0);
    }));
    runChain(picture, highlight, {0.5f, 0.5f});
    const Image window = nox::test::readBackBuffer();

    const auto red = [&](glm::ivec2 at) { return int(window.pixel(at.x, at.y)[0]); };
    const int offset = patch.x - middle.x;
    const int outward = red(middle + glm::ivec2(offset * 13 / 10, 0));
    const int inward = red(middle + glm::ivec2(offset * 7 / 10, 0));
    const int aside = red(patch + glm::ivec2(0, 3 * patchRadius));
    EXPECT_GT(red(patch), base + 20);
    EXPECT_GT(outward, base + 20);
    EXPECT_LE(inward, base + 1);
    EXPECT_LE(aside, base + 1);
    int darker = 0;
    for (const std::uint8_t channel : window.rgb) darker += channel < base;
    EXPECT_EQ(darker, 0);
}

// Out to polar coordinates and back about the same centre gives the picture
// again, up to resampling: far from the centre one row of the polar image spans
// about a hundredth of the distance, so a smooth picture comes back within a
// few steps of 255 (measured: 5) and on average within half a step (0.2).
TEST_F(PostProcessingTest, ThePolarTransformsUndoEachOtherAboutTheSameCentre) {
    const auto wave = [&](int x, int y) {
        const float u = (x + 0.5f) / size.x;
        const float v = (y + 0.5f) / size.y;
        const float twoPi = 6.2831853f;
        return glm::u8vec3(128.0f + 100.0f * std::sin(twoPi * 2.0f * u) * std::cos(twoPi * 1.5f * v),
                           128.0f + 100.0f * std::cos(twoPi * (u + 2.0f * v)), 20.0f + 200.0f * u);
    };
    const GLuint picture = keep(windowTexture(wave));
    const Image expected = nox::test::textureImage(picture);
    PostProcessingChain& chain = getPostProcessingChain();
    struct Pair {
        const char* name;
        PostProcesser& out;
        PostProcesser& back;
        std::vector<float> centre;
    };
    const Pair pairs[] = {
        {"about a given point", chain.cartesianToPolarUncentered, chain.polarToCartesianUncentered, {0.35f, 0.6f}},
        {"about the middle", chain.cartesianToPolarCentered, chain.polarToCartesianCentered, {}},
    };
    for (const Pair& pair : pairs) {
        runAlone(pair.out, picture, pair.centre);
        runAlone(pair.back, pair.out.output(), pair.centre);
        const Image result = nox::test::textureImage(pair.back.output());
        int largest = 0;
        double total = 0.0;
        for (int y = 0; y < size.y; ++y) {
            for (int x = 0; x < size.x; ++x) {
                for (int c = 0; c < 3; ++c) {
                    const int difference = channelDifference(result, expected, x, y, c);
                    largest = std::max(largest, difference);
                    total += difference;
                }
            }
        }
        EXPECT_LE(largest, 6) << pair.name;
        EXPECT_LE(total / (3.0 * size.x * size.y), 0.5) << pair.name;
    }
}

// Depth comes from unit 1 in every pass: in focus a lit column stays sharp,
// far behind the focus it spreads over the widest kernel, nine texels.
TEST_F(PostProcessingTest, DepthOfFieldBlursByTheDistanceFromTheFocus) {
    const glm::ivec2 middle = size / 2;
    const GLuint column = keep(windowTexture([&](int x, int) { return glm::u8vec3(x == middle.x ? 255 : 0); }));
    constexpr float focus = 60.0f;  // what the depth-of-field programs declare
    const GLuint inFocus = keep(depthTexture(windowDepthAt(focus)));
    const GLuint farAway = keep(depthTexture(windowDepthAt(focus + 100.0f)));
    auto& pass = getPostProcessingChain().horizontalDepthOfField;
    const auto blurred = [&](GLuint depthImage) {
        glBindVertexArray(nox::getQuadMesh().vao);
        glEnableVertexAttribArray(0);
        glDisable(GL_DEPTH_TEST);
        pass.inputTextures = {column, depthImage};
        pass.render();
        glDisableVertexAttribArray(0);
        glBindVertexArray(0);
        glEnable(GL_DEPTH_TEST);
        return nox::test::textureImage(pass.output());
    };
    const Image sharp = blurred(inFocus);
    EXPECT_EQ(sharp.pixel(middle.x, middle.y)[0], 255);
    EXPECT_EQ(sharp.pixel(middle.x + 1, middle.y)[0], 0);
    const Image soft = blurred(farAway);
    EXPECT_NEAR(soft.pixel(middle.x + 4, middle.y)[0], 255.0 / 9.0, 1.0);
    EXPECT_EQ(soft.pixel(middle.x + 5, middle.y)[0], 0);
}

}  // namespace
