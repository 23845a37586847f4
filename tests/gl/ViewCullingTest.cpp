#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include "app/Camera.h"
#include "app/FrameLoop.h"
#include "app/Transform.h"
#include "app/Window.h"
#include "assets/ModelInstance.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::Camera;

size_t differingBytes(const std::vector<GLubyte>& a, const std::vector<GLubyte>& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
    return count;
}

class ViewCullingTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        loop = new nox::FrameLoop;
        loop->iterate(0.0);  // loads the models
        loop->setManualMode(true);
        nox::deltaTime = 0.0;  // the water holds still between the two renders
    }
    static void TearDownTestSuite() {
        delete loop;
        loop = nullptr;
    }
    void TearDown() override {
        scene().drawAtFullDetail(false);
        nox::getCamera() = Camera{};
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    static nox::Scene& scene() { return loop->sceneObjects(); }

    static void spoilWaterImages() {
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        for (nox::RenderTarget* target : {&scene().refractionTarget, &scene().reflectionTarget}) {
            target->bindForDrawing();
            glClear(GL_COLOR_BUFFER_BIT);
            target->unbind();
        }
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    }

    // The scene's picture, into which the water brings what it shows of
    // the two water images.
    static std::vector<GLubyte> render(bool drawEverything) {
        scene().drawAtFullDetail(drawEverything);
        // Leaving out what cannot be seen changes no pixel; the simplified
        // terrain is weighed by the detail tests.
        scene().terrain.levelOfDetail = false;
        scene().terrain.cullBackFaces = false;
        scene().render();
        return nox::test::textureImage(scene().sceneTarget.colourAttachments[0]).rgb;
    }

    // Every pass draws the same pixels from what may be seen as from the
    // whole terrain, every model and the whole of both water images.
    static void expectSamePictures(const glm::vec3& position, const glm::vec3& rotation) {
        nox::getCamera().position = position;
        nox::getCamera().rotation = rotation;
        const std::vector<GLubyte> whole = render(true);
        // What the culled passes leave out must never be read.
        spoilWaterImages();
        const std::vector<GLubyte> culled = render(false);
        EXPECT_EQ(differingBytes(whole, culled), 0u);
    }

    static nox::FrameLoop* loop;
};

nox::FrameLoop* ViewCullingTest::loop = nullptr;

TEST_F(ViewCullingTest, FlightMomentsLookTheSame) {
    for (int key : {2, 6, 10, 13}) {
        SCOPED_TRACE("key frame " + std::to_string(key));
        const nox::Pose& pose = loop->path().keys[static_cast<size_t>(key)];
        expectSamePictures({pose[0], pose[1], pose[2]}, {pose[3], pose[4], pose[5]});
    }
}

TEST_F(ViewCullingTest, ALowCameraOverTheWaterLooksTheSame) {
    // The mirrored camera sits just under the surface, looking up at the shore.
    expectSamePictures({10.0f, 20.6f, 60.0f}, {2.0f, 0.0f, 0.0f});
}

TEST_F(ViewCullingTest, LookingStraightDownLooksTheSame) {
    expectSamePictures({0.0f, 80.0f, 0.0f}, {-90.0f, 0.0f, 0.0f});
}

TEST_F(ViewCullingTest, LookingAtTheHorizonLooksTheSame) {
    expectSamePictures({100.0f, 30.0f, 100.0f}, {0.0f, 45.0f, 0.0f});
}

TEST_F(ViewCullingTest, LookingUpAtATreeWhoseFootIsOutOfSightLooksTheSame) {
    constexpr int tallTree = 2;
    const glm::vec3 foot = scene().terrain.getModelInstances()[tallTree].position;
    expectSamePictures(foot + glm::vec3(-15.0f, 2.0f, 0.0f), {40.0f, -90.0f, 0.0f});
}

TEST_F(ViewCullingTest, AModelIsSkippedOnlyWhenWhollyOutOfSight) {
    constexpr int farmhouse = 30;
    const nox::assimp::ModelInstance& house = scene().terrain.getModelInstances()[farmhouse];
    const glm::vec4 keepAll(0, 0, 0, 1);
    Camera& camera = nox::getCamera();
    // West of the house, looking east at it (yaw -90 looks down +X).
    camera.position = house.position + glm::vec3(-40.0f, 5.0f, 0.0f);
    camera.rotation = {0.0f, -90.0f, 0.0f};
    EXPECT_TRUE(house.mayBeSeen(nox::projection * nox::getViewMatrix(), keepAll));
    // Turned a little, the house straddles the edge of the view.
    camera.rotation = {0.0f, -90.0f + 30.0f, 0.0f};
    EXPECT_TRUE(house.mayBeSeen(nox::projection * nox::getViewMatrix(), keepAll));
    // Turned away, it is out of sight.
    camera.rotation = {0.0f, 90.0f, 0.0f};
    EXPECT_FALSE(house.mayBeSeen(nox::projection * nox::getViewMatrix(), keepAll));
    // In view again, but wholly below a plane that keeps what lies above it.
    camera.rotation = {0.0f, -90.0f, 0.0f};
    EXPECT_FALSE(house.mayBeSeen(nox::projection * nox::getViewMatrix(), glm::vec4(0, 1, 0, -500)));
}

}  // namespace
