#include <gtest/gtest.h>

#include <memory>

#include <glm/glm.hpp>

#include "app/Camera.h"
#include "app/Scene.h"
#include "app/ScenePopulation.h"
#include "postprocessing/ScreenPosition.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::Scene;

void look(const glm::vec3& position, float pitch, float yaw) {
    nox::getCamera().position = position;
    nox::getCamera().rotation = glm::vec3(pitch, yaw, 0.0f);
}

// Poses of the camera, in degrees: pitch up, yaw from looking down -Z.
void lookAcrossTheLakeAtTheMoon() {
    look({60, 26, 60}, 12, 52.5f);
}

void lookAwayFromTheMoonAndTheLamps() {
    look({60, 26, 60}, 12, 52.5f + 180.0f);
}

void lookAtLamp1() {
    look({76, 29.5f, -9}, -3.4f, 45);
}

// The frames of one scene, built once: the terrain takes a second.
class FrameTest : public testing::Test {
protected:
    static void SetUpTestSuite() { scene = std::make_unique<Scene>(); }
    static void TearDownTestSuite() { scene.reset(); }

    void SetUp() override { nox::getCamera() = nox::Camera{}; }

    void TearDown() override {
        scene->lightCube1 = original.lightCube1;
        scene->quads[Scene::moonQuad] = original.moon;
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    // The counts of the light sources as the camera sees them now.
    static void measure() {
        scene->queryPass();
        scene->scenePass();
        scene->readOcclusionResults();
    }

    static GLint samples(Scene::Query query) { return scene->queries[query].samples; }

    static std::unique_ptr<Scene> scene;
    struct Original {
        nox::shapes::Shape lightCube1;
        nox::shapes::Shape moon;
    };
    const Original original{scene->lightCube1, scene->quads[Scene::moonQuad]};
};

std::unique_ptr<Scene> FrameTest::scene;

TEST_F(FrameTest, TheMoonsCountsMeasureTheSameShape) {
    lookAcrossTheLakeAtTheMoon();
    measure();
    ASSERT_GT(samples(Scene::moonTotal), 1000);
    EXPECT_NEAR(*scene->flareBrightness(Scene::moon), 1.0f, 0.02f);

    // Half under the lake, seen level from just above the water: the surface
    // cuts the quad through its middle.
    auto& quads = scene->quads;
    quads[Scene::moonQuad].position = glm::vec3(0, Scene::waterHeight, -60);
    quads[Scene::moonQuad].scale = glm::vec3(5);
    look({0, Scene::waterHeight + 1, 0}, 0, 0);
    measure();
    ASSERT_GT(samples(Scene::moonTotal), 1000);
    EXPECT_NEAR(*scene->flareBrightness(Scene::moon), 0.5f, 0.03f);
}

// The lantern's glass encloses the light cube; only what stands between the
// lamp and the camera hides its light.
TEST_F(FrameTest, ALampInItsLanternIsSeenAndOneUnderTheGroundIsNot) {
    const nox::assimp::ModelInstance* instances = scene->terrain.getModelInstances();
    for (int i = nox::firstStreetLightInstance; i < nox::modelInstanceCount; ++i) {
        const glm::vec3 cube = (i == nox::firstStreetLightInstance ? scene->lightCube1 : scene->lightCube2).position;
        EXPECT_EQ(glm::vec2(instances[i].position.x, instances[i].position.z), glm::vec2(cube.x, cube.z)) << i;
    }
    lookAtLamp1();
    measure();
    ASSERT_GT(samples(Scene::cube1Total), 1000);
    EXPECT_EQ(samples(Scene::cube1Visible), samples(Scene::cube1Total));

    const float ground = scene->terrain.getHeightOfTerrain(200, 0);
    ASSERT_GT(ground - 4, Scene::waterHeight + 1) << "the lake would hide it";
    scene->lightCube1.position = glm::vec3(200, ground - 4, 0);
    look({200, ground + 13, 20}, -40.4f, 0);
    measure();
    EXPECT_GT(samples(Scene::cube1Total), 500);
    EXPECT_EQ(samples(Scene::cube1Visible), 0);
    EXPECT_FALSE(scene->flareBrightness(Scene::lamp1).has_value());
}

TEST_F(FrameTest, ALampOutsideTheViewHasNoSamples) {
    look({70, 30, 15}, 0, 180);  // looking away from it, down +Z
    measure();
    EXPECT_EQ(samples(Scene::cube1Total), 0);
    EXPECT_FALSE(scene->flareBrightness(Scene::lamp1).has_value());
}

TEST_F(FrameTest, WithTheMoonBehindTheCameraTheWindowShowsThePlainPicture) {
    lookAwayFromTheMoonAndTheLamps();
    scene->render();
    EXPECT_FALSE(nox::screenPosition.has_value());
    const nox::test::Image window = nox::test::readBackBuffer();
    const nox::test::Image picture = nox::test::textureImage(scene->sceneTarget.colourAttachments[0]);
    EXPECT_TRUE(window.rgb == picture.rgb);

    lookAcrossTheLakeAtTheMoon();
    scene->render();
    EXPECT_FALSE(nox::test::readBackBuffer().rgb ==
                 nox::test::textureImage(scene->sceneTarget.colourAttachments[0]).rgb);
}

TEST(OcclusionQuery, ReadsNothingBeforeItsFirstMeasurementAndDeletesItsName) {
    GLuint name = 0;
    {
        nox::OcclusionQuery query;
        name = query.name;
        query.readResult();
        EXPECT_EQ(query.samples, 0);
        EXPECT_EQ(nox::test::glErrorReport(), "") << "read before any measurement";
        query.begin();
        query.end();
        query.readResult();
        EXPECT_EQ(query.samples, 0);
        EXPECT_TRUE(glIsQuery(name));
    }
    EXPECT_FALSE(glIsQuery(name));
}

// Every frame reads the counts of the frame before, so a new scene's first
// frame has none and throws no flare, and a lamp keeps its counts for one
// frame after the camera has turned away from it.
TEST(FirstFrames, UseTheCountsOfTheFrameBefore) {
    Scene scene;
    lookAtLamp1();
    scene.render();
    for (const nox::OcclusionQuery& query : scene.queries) EXPECT_EQ(query.samples, 0);
    for (Scene::LightSource source : {Scene::lamp1, Scene::lamp2, Scene::moon}) {
        EXPECT_FALSE(scene.flareBrightness(source).has_value()) << source;
    }

    lookAwayFromTheMoonAndTheLamps();
    scene.render();
    EXPECT_GT(scene.queries[Scene::cube1Total].samples, 1000);
    EXPECT_TRUE(scene.flareBrightness(Scene::lamp1).has_value());

    scene.render();
    EXPECT_EQ(scene.queries[Scene::cube1Total].samples, 0);
    EXPECT_EQ(nox::test::glErrorReport(), "");
}

}  // namespace
