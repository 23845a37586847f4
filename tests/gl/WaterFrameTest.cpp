#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include "app/Camera.h"
#include "app/DisplayConfig.h"
#include "app/FrameLoop.h"
#include "app/Transform.h"
#include "assets/ModelInstance.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::Camera;
using nox::RenderTarget;
using nox::Scene;

constexpr float nearPlane = 0.1f;
constexpr float farPlane = 1000.0f;
constexpr int farmhouseInstance = 30;

struct TexelImage {
    int width = 0;
    int height = 0;
    std::vector<GLubyte> rgba;
    std::vector<float> depth;

    // Texel at a window position in [0, 1] (origin bottom-left).
    size_t at(glm::vec2 uv) const {
        const int x = std::min(width - 1, static_cast<int>(uv.x * width));
        const int y = std::min(height - 1, static_cast<int>(uv.y * height));
        return static_cast<size_t>(y) * width + x;
    }
    glm::ivec3 colour(glm::vec2 uv) const {
        const GLubyte* p = &rgba[at(uv) * 4];
        return {p[0], p[1], p[2]};
    }
};

TexelImage readColour(GLuint texture) {
    TexelImage image;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return image;
}

TexelImage readDepth(GLuint texture) {
    TexelImage image;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    image.depth.resize(static_cast<size_t>(image.width) * image.height);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, image.depth.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return image;
}

// Distance along the line of sight of a depth-buffer value.
float eyeDepth(float depth) {
    const float ndc = depth * 2.0f - 1.0f;
    return 2.0f * nearPlane * farPlane / (farPlane + nearPlane - ndc * (farPlane - nearPlane));
}

// Where the camera as it is now sees a world point, in [0, 1] from the
// bottom-left, and how far along its line of sight.
struct Projected {
    glm::vec2 uv;
    float depth;
};

Projected project(const glm::vec3& world) {
    const glm::vec4 eye = nox::getViewMatrix() * glm::vec4(world, 1.0f);
    const glm::vec4 clip = nox::projection * eye;
    return {glm::vec2(clip) / clip.w * 0.5f + 0.5f, -eye.z};
}

void lookFrom(const glm::vec3& position, float pitch, float yaw) {
    Camera& camera = nox::getCamera();
    camera.position = position;
    camera.rotation = {pitch, yaw, 0.0f};
}

class WaterFrameTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        loop = new nox::FrameLoop;
        loop->iterate(0.0);  // loads the models
        loop->setManualMode(true);
        // These tests read the water images themselves, also where no water
        // is in sight to read them.
        loop->sceneObjects().cullWaterImages = false;
    }
    static void TearDownTestSuite() {
        delete loop;
        loop = nullptr;
    }

    void TearDown() override {
        nox::getCamera() = Camera{};
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    static Scene& scene() { return loop->sceneObjects(); }
    static float ground(float x, float z) { return scene().terrain.getHeightOfTerrain(x, z); }

    // The first point of a coarse scan of the terrain that passes the test.
    template <typename Predicate>
    static glm::vec3 findGround(Predicate predicate) {
        for (float z = -300.0f; z <= 300.0f; z += 10.0f) {
            for (float x = -300.0f; x <= 300.0f; x += 10.0f) {
                const float h = ground(x, z);
                if (predicate(x, z, h)) return {x, h, z};
            }
        }
        ADD_FAILURE() << "no such ground";
        return {};
    }

    static nox::FrameLoop* loop;
};

nox::FrameLoop* WaterFrameTest::loop = nullptr;

TEST_F(WaterFrameTest, TheTargetsHaveTheConfigurationsSizes) {
    const glm::ivec2 water(nox::activeDisplay.waterTargetWidth, nox::activeDisplay.waterTargetHeight);
    const glm::ivec2 window(nox::activeDisplay.windowWidth, nox::activeDisplay.windowHeight);
    for (const RenderTarget* target : {&scene().reflectionTarget, &scene().refractionTarget}) {
        const TexelImage image = readColour(target->colourAttachments[0]);
        EXPECT_EQ(glm::ivec2(image.width, image.height), water);
    }
    const TexelImage picture = readColour(scene().sceneTarget.colourAttachments[0]);
    EXPECT_EQ(glm::ivec2(picture.width, picture.height), window);
    EXPECT_EQ(scene().sceneTarget.colourAttachments.size(), 3u);
}

TEST_F(WaterFrameTest, TheRefractionHoldsOnlyWhatLiesBelowTheSurface) {
    const glm::vec3 plateau = findGround([](float, float, float h) { return h > 30.0f; });
    const glm::vec3 lakeBed = findGround([](float, float, float h) { return h < 12.0f; });

    lookFrom(plateau + glm::vec3(0, 40, 0), -90.0f, 0.0f);
    scene().refractionPass();
    const glm::vec2 centre(0.5f);
    EXPECT_EQ(readColour(scene().refractionTarget.colourAttachments[0]).colour(centre), glm::ivec3(0));
    EXPECT_EQ(readDepth(scene().refractionTarget.depthAttachment).depth[0], 1.0f);

    lookFrom(lakeBed + glm::vec3(0, 40, 0), -90.0f, 0.0f);
    scene().refractionPass();
    EXPECT_NE(readColour(scene().refractionTarget.colourAttachments[0]).colour(centre), glm::ivec3(0));
}

// The water looks its images up at the fragment's place in the window, so
// each image must cover the whole view whatever its own size.
TEST_F(WaterFrameTest, TheRefractionDepthLinesUpWithTheView) {
    const glm::vec3 lakeBed = findGround([](float, float, float h) { return h < 10.0f; });
    lookFrom(glm::vec3(lakeBed.x, 50.0f, lakeBed.z + 40.0f), -35.0f, 0.0f);
    scene().refractionPass();
    const TexelImage depth = readDepth(scene().refractionTarget.depthAttachment);

    int checked = 0;
    for (float dz = -60.0f; dz <= 30.0f; dz += 10.0f) {
        for (float dx = -40.0f; dx <= 40.0f; dx += 10.0f) {
            const glm::vec3 world(lakeBed.x + dx, 0.0f, lakeBed.z + dz);
            const float h = ground(world.x, world.z);
            if (h > 18.0f) continue;
            const Projected p = project(glm::vec3(world.x, h, world.z));
            if (glm::any(glm::lessThan(p.uv, glm::vec2(0.05f))) || glm::any(glm::greaterThan(p.uv, glm::vec2(0.95f))))
                continue;
            EXPECT_NEAR(eyeDepth(depth.depth[depth.at(p.uv)]), p.depth, 0.02f * p.depth)
                << "lake bed at " << world.x << ", " << world.z;
            ++checked;
        }
    }
    EXPECT_GE(checked, 10);
}

TEST_F(WaterFrameTest, TheReflectionShowsAHouseAtItsMirroredPlace) {
    nox::assimp::ModelInstance& farmhouse = scene().terrain.getModelInstances()[farmhouseInstance];
    const glm::vec3 wall = farmhouse.position + glm::vec3(0.0f, 6.0f, 0.0f);  // the upper floor
    ASSERT_GT(wall.y, scene().clipAbove);
    lookFrom(glm::vec3(20.0f, 30.0f, farmhouse.position.z + 5.0f), -15.0f, -90.0f);

    // The real camera sees the house's mirror image below the surface; the
    // reflection image holds that view upside down.
    const glm::vec2 seen = project(glm::vec3(wall.x, 2.0f * Scene::waterHeight - wall.y, wall.z)).uv;
    const glm::vec2 mirrored(seen.x, 1.0f - seen.y);
    ASSERT_TRUE(glm::all(glm::greaterThan(mirrored, glm::vec2(0.0f))) &&
                glm::all(glm::lessThan(mirrored, glm::vec2(1.0f))));

    scene().reflectionPass();
    const glm::ivec3 withHouse = readColour(scene().reflectionTarget.colourAttachments[0]).colour(mirrored);
    const glm::vec3 home = farmhouse.position;
    farmhouse.position.y -= 1000.0f;
    farmhouse.updateModelMatrix();
    scene().reflectionPass();
    const glm::ivec3 withoutHouse = readColour(scene().reflectionTarget.colourAttachments[0]).colour(mirrored);
    farmhouse.position = home;
    farmhouse.updateModelMatrix();

    const glm::ivec3 difference = glm::abs(withHouse - withoutHouse);
    EXPECT_GT(difference.r + difference.g + difference.b, 20) << "the house is not where its mirror image belongs";
}

// The water passes leave their clip planes in the programs; the scene pass
// must still draw the lake bed (below them) and the shore (above them).
TEST_F(WaterFrameTest, TheScenePassIsNotClipped) {
    const glm::vec3 lakeBed = findGround([](float, float, float h) { return h < 12.0f; });
    lookFrom(lakeBed + glm::vec3(0, 40, 0), -90.0f, 0.0f);
    const std::vector<nox::water::WaterTile> lake = scene().waterTiles;
    scene().waterTiles.clear();
    scene().render();
    scene().waterTiles = lake;
    const TexelImage depth = readDepth(scene().sceneTarget.depthAttachment);
    EXPECT_NEAR(eyeDepth(depth.depth[depth.at(glm::vec2(0.5f))]), 40.0f, 0.5f);
}

TEST_F(WaterFrameTest, WithTheMoonBehindTheCameraTheWindowShowsThePictureAsItIs) {
    lookFrom(glm::vec3(0.0f, 35.0f, 0.0f), -10.0f, -135.0f);  // facing +X+Z, away from the moon
    scene().render();
    const TexelImage picture = readColour(scene().sceneTarget.colourAttachments[0]);
    const nox::test::Image window = nox::test::readBackBuffer();
    ASSERT_EQ(glm::ivec2(window.width, window.height), glm::ivec2(picture.width, picture.height));
    size_t different = 0;
    for (int y = 0; y < window.height; ++y) {
        for (int x = 0; x < window.width; ++x) {
            const std::uint8_t* w = window.pixel(x, y);
            const GLubyte* p = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
            different += w[0] != p[0] || w[1] != p[1] || w[2] != p[2];
        }
    }
    EXPECT_EQ(different, 0u);
}

}  // namespace
