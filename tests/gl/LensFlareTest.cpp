#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include <glm/glm.hpp>

#include "app/Camera.h"
#include "app/DisplayConfig.h"
#include "app/Transform.h"
#include "postprocessing/LensFlareRenderer.h"
#include "postprocessing/LensFlareShader.h"
#include "postprocessing/ScreenPosition.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::lensflares::getLensFlareRenderer;
using nox::lensflares::getLensFlareShader;
using nox::lensflares::LensFlare;
using nox::lensflares::LensFlareRenderer;

// A world point that the default camera (at the origin, looking down -Z) sees
// at distance d from the middle of the screen, to the right of it.
glm::vec3 pointRightOfTheMiddle(float d) {
    constexpr float depth = 50.0f;
    return {2.0f * d * depth / nox::projection[0][0], 0.0f, -depth};
}

float brightnessUniform() {
    const auto& shader = getLensFlareShader();
    float value = NAN;
    glGetUniformfv(shader.program, shader.brightness, &value);
    return value;
}

// Degrees the transform turns the quad's x axis, counter-clockwise.
float turn(const LensFlare& flare) {
    return glm::degrees(std::atan2(flare.transform[0][1], flare.transform[0][0]));
}

float size(const LensFlare& flare) {
    return glm::length(glm::vec2(flare.transform[0]));
}

glm::vec2 place(const LensFlare& flare) {
    return glm::vec2(flare.transform[3]);
}

// The GL state that a drawing call changes: depth test, depth writes,
// blending, culling, culled face, program, vertex array, active texture unit.
std::array<GLint, 8> flareState() {
    std::array<GLint, 8> state{glIsEnabled(GL_DEPTH_TEST), 0, glIsEnabled(GL_BLEND), glIsEnabled(GL_CULL_FACE)};
    glGetIntegerv(GL_DEPTH_WRITEMASK, &state[1]);
    glGetIntegerv(GL_CULL_FACE_MODE, &state[4]);
    glGetIntegerv(GL_CURRENT_PROGRAM, &state[5]);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &state[6]);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &state[7]);
    return state;
}

class LensFlareTest : public testing::Test {
protected:
    void SetUp() override {
        nox::getCamera() = nox::Camera{};
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    void TearDown() override {
        nox::screenPosition.reset();
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    // Odd state that a drawing call would change, to catch one that does.
    static void unusualState() {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
        glEnable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        glActiveTexture(GL_TEXTURE3);
    }

    static void restoreState() {
        glDisable(GL_BLEND);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glActiveTexture(GL_TEXTURE0);
    }

    static size_t litPixels() {
        const nox::test::Image image = nox::test::readBackBuffer();
        size_t lit = 0;
        for (std::uint8_t channel : image.rgb) lit += channel != 0;
        return lit;
    }
};

TEST_F(LensFlareTest, NothingIsDrawnForALightBehindTheCameraOrHalfAScreenAway) {
    LensFlareRenderer& renderer = getLensFlareRenderer();
    for (const glm::vec3& light : {glm::vec3(0, 0, 50), pointRightOfTheMiddle(0.51f), pointRightOfTheMiddle(0.7f)}) {
        unusualState();
        const std::array<GLint, 8> before = flareState();
        renderer.renderLensFlares(light, 1.0f);
        EXPECT_EQ(flareState(), before) << light.x << ", " << light.z;
        restoreState();
        EXPECT_EQ(litPixels(), 0u) << light.x << ", " << light.z;
    }
    renderer.renderLensFlares(glm::vec3(0, 0, 50), 1.0f);
    EXPECT_FALSE(nox::screenPosition.has_value());
}

TEST_F(LensFlareTest, ALightNearTheEdgeGivesAFaintFlare) {
    getLensFlareRenderer().renderLensFlares(pointRightOfTheMiddle(0.45f), 0.8f);
    ASSERT_TRUE(nox::screenPosition.has_value());
    EXPECT_NEAR(nox::screenPosition->x, 0.95f, 1e-5f);
    EXPECT_NEAR(brightnessUniform(), 0.05f * 0.8f, 1e-5f);
    EXPECT_GT(litPixels(), 0u);
}

TEST_F(LensFlareTest, ALightInTheMiddleStacksItsSpritesAtHalfSize) {
    LensFlareRenderer& renderer = getLensFlareRenderer();
    renderer.renderLensFlares(glm::vec3(0, 0, -50), 0.6f);
    EXPECT_NEAR(brightnessUniform(), 0.5f * 0.6f, 1e-6f);
    const float scales[] = {0.05f, 0.025f, 0.05f, 0.025f, 0.075f, 0.15f, 0.2f};
    ASSERT_EQ(renderer.flares.size(), 7u);
    for (size_t i = 0; i < renderer.flares.size(); ++i) {
        const LensFlare& flare = renderer.flares[i];
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) EXPECT_FALSE(std::isnan(flare.transform[column][row])) << i;
        }
        EXPECT_EQ(place(flare), glm::vec2(0.5f)) << i;
        EXPECT_NEAR(size(flare), 0.5f * scales[i], 1e-6f) << i;
    }
    EXPECT_NEAR(turn(renderer.flares[6]) - turn(renderer.flares[0]), 55.0f, 1e-3f);
}

// Off the middle the sprites run from the light through the middle to the
// other side, turned with that line; the last one is still turned 55 degrees
// further than the first.
TEST_F(LensFlareTest, SpritesRunFromTheLightThroughTheMiddle) {
    LensFlareRenderer& renderer = getLensFlareRenderer();
    nox::screenPosition = glm::vec2(0.7f, 0.3f);  // up and to the right
    const float t = 0.2f;
    renderer.updateLensFlareTransforms(t);
    const glm::vec2 light(0.7f, 0.3f);
    for (size_t i = 0; i < renderer.flares.size(); ++i) {
        const glm::vec2 expected = light + (glm::vec2(0.5f) - light) * (0.3f * i);
        EXPECT_NEAR(place(renderer.flares[i]).x, expected.x, 1e-6f) << i;
        EXPECT_NEAR(place(renderer.flares[i]).y, expected.y, 1e-6f) << i;
        EXPECT_NEAR(size(renderer.flares[i]), renderer.flares[i].scale * (0.5f * t + 1.0f - t), 1e-6f) << i;
    }
    EXPECT_NEAR(turn(renderer.flares[0]), -45.0f, 1e-3f);
    EXPECT_NEAR(turn(renderer.flares[6]), 10.0f, 1e-3f);
}

TEST_F(LensFlareTest, DrawingRestoresTheFramesStateAndKeepsSpritesRound) {
    LensFlareRenderer& renderer = getLensFlareRenderer();
    // Every sprite a plain disc, so that its outline shows its shape.
    constexpr int discSize = 64;
    std::vector<std::uint8_t> disc;
    for (int y = 0; y < discSize; ++y) {
        for (int x = 0; x < discSize; ++x) {
            const bool inside =
                glm::length(glm::vec2(x + 0.5f, y + 0.5f) - glm::vec2(discSize / 2.0f)) < discSize / 2.5f;
            disc.insert(disc.end(), {255, 255, 255, std::uint8_t(inside ? 255 : 0)});
        }
    }
    // Each sprite lent a disc of its own for the draw, then given back.
    std::vector<nox::TextureObject> sprites;
    for (LensFlare& flare : renderer.flares) {
        sprites.push_back(
            std::exchange(flare.texture, nox::TextureObject(nox::test::createTexture(discSize, discSize, disc))));
    }
    unusualState();
    renderer.renderLensFlares(glm::vec3(0, 0, -50), 1.0f);
    const std::array<GLint, 8> after = flareState();
    for (size_t i = 0; i < sprites.size(); ++i) renderer.flares[i].texture = std::move(sprites[i]);

    EXPECT_EQ(after, (std::array<GLint, 8>{GL_TRUE, GL_TRUE, GL_FALSE, GL_TRUE, GL_BACK, 0, 0, GL_TEXTURE0}));

    const nox::test::Image image = nox::test::readBackBuffer();
    glm::ivec2 low(image.width, image.height);
    glm::ivec2 high(-1);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.pixel(x, y)[0] < 64) continue;
            low = glm::min(low, glm::ivec2(x, y));
            high = glm::max(high, glm::ivec2(x, y));
        }
    }
    const glm::ivec2 extent = high - low + 1;
    ASSERT_GT(extent.y, 50);
    EXPECT_NEAR(extent.x, extent.y, 2);
}

}  // namespace
