#include <gtest/gtest.h>

#include <cmath>

#include "app/Camera.h"
#include "app/CameraMirror.h"
#include "postprocessing/ScreenPosition.h"
#include "water/WaterRenderer.h"

namespace {

using nox::Camera;

TEST(MoveFactor, AdvancesByTheWaveSpeedAndStaysInRangeForAnyFrameTime) {
    EXPECT_FLOAT_EQ(nox::water::advanceMoveFactor(0.25f, 2.0f), 0.25f + 0.03f * 2.0f);
    EXPECT_EQ(nox::water::advanceMoveFactor(0.25f, 0.0f), 0.25f);
    // Just under a full cycle wraps to just under 1 - never 1 itself.
    for (float start : {0.0f, 0.5f, 0.9999999f}) {
        for (float seconds : {1.0f / 60.0f, 33.3f, 33.34f, 40.0f, 1000.0f, 1.0e6f, 3.0e9f}) {
            const float m = nox::water::advanceMoveFactor(start, seconds);
            EXPECT_GE(m, 0.0f) << start << " + " << seconds << " s";
            EXPECT_LT(m, 1.0f) << start << " + " << seconds << " s";
        }
    }
    // 40 s is 1.2 cycles: the phase moves on by the fraction.
    EXPECT_NEAR(nox::water::advanceMoveFactor(0.0f, 40.0f), 0.2f, 1e-5f);
}

TEST(CameraMirror, MirrorsAboutTheSurfaceAndGivesBackTheExactPose) {
    Camera camera;
    camera.position = {3.0f, 26.0f, -7.0f};
    camera.rotation = {-12.0f, 40.0f, 2.0f};
    {
        const nox::CameraMirror mirror(camera, 20.0f);
        EXPECT_EQ(camera.position, glm::vec3(3.0f, 14.0f, -7.0f));
        EXPECT_EQ(camera.rotation, glm::vec3(12.0f, 40.0f, 2.0f));
    }
    EXPECT_EQ(camera.position, glm::vec3(3.0f, 26.0f, -7.0f));
    EXPECT_EQ(camera.rotation, glm::vec3(-12.0f, 40.0f, 2.0f));
}

TEST(CameraMirror, ARestingCameraNeverDriftsOverThousandsOfFrames) {
    // Below the surface, mirroring down and back up in floats does not give
    // back this height, so undoing the mirror by arithmetic would drift.
    const glm::vec3 position(5.0f, 0.3f, 9.0f);
    volatile float d = 2.0f * (position.y - 20.0f);
    volatile float there = position.y - d;
    ASSERT_NE(there + d, position.y);

    Camera camera;
    camera.position = position;
    camera.rotation = {-33.3f, 17.1f, 0.0f};
    const Camera start = camera;
    for (int frame = 0; frame < 10000; ++frame) {
        const nox::CameraMirror mirror(camera, 20.0f);
    }
    EXPECT_EQ(camera.position, start.position);
    EXPECT_EQ(camera.rotation, start.rotation);
}

class ProjectToScreen : public testing::Test {
protected:
    void SetUp() override { nox::getCamera() = Camera{}; }
    void TearDown() override {
        nox::getCamera() = Camera{};
        nox::screenPosition.reset();
    }
};

TEST_F(ProjectToScreen, APointStraightAheadLandsInTheCentre) {
    // The default camera looks down -Z.
    nox::projectToScreen({0.0f, 0.0f, -50.0f});
    ASSERT_TRUE(nox::screenPosition.has_value());
    EXPECT_NEAR(nox::screenPosition->x, 0.5f, 1e-6f);
    EXPECT_NEAR(nox::screenPosition->y, 0.5f, 1e-6f);

    // Turned and moved, the camera still sees its own line of sight centred.
    Camera& camera = nox::getCamera();
    camera.position = {10.0f, 30.0f, -4.0f};
    camera.rotation = {0.0f, 90.0f, 0.0f};  // now looking down -X
    nox::projectToScreen({-90.0f, 30.0f, -4.0f});
    ASSERT_TRUE(nox::screenPosition.has_value());
    EXPECT_NEAR(nox::screenPosition->x, 0.5f, 1e-6f);
    EXPECT_NEAR(nox::screenPosition->y, 0.5f, 1e-6f);
}

TEST_F(ProjectToScreen, UpIsTowardTheTopAndRightTowardTheRight) {
    nox::projectToScreen({5.0f, 5.0f, -50.0f});
    ASSERT_TRUE(nox::screenPosition.has_value());
    EXPECT_GT(nox::screenPosition->x, 0.5f);
    EXPECT_LT(nox::screenPosition->y, 0.5f);
}

TEST_F(ProjectToScreen, BehindOrBesideTheCameraLeavesNoPositionAtAll) {
    nox::projectToScreen({0.0f, 0.0f, -50.0f});
    ASSERT_TRUE(nox::screenPosition.has_value());
    nox::projectToScreen({0.0f, 0.0f, 50.0f});
    EXPECT_FALSE(nox::screenPosition.has_value());

    nox::projectToScreen({0.0f, 0.0f, -50.0f});
    nox::projectToScreen({30.0f, 4.0f, 0.0f});  // in the camera's own plane: w = 0
    EXPECT_FALSE(nox::screenPosition.has_value());
}

TEST_F(ProjectToScreen, InFrontButOutsideTheViewStillCounts) {
    nox::projectToScreen({500.0f, 0.0f, -1.0f});
    ASSERT_TRUE(nox::screenPosition.has_value());
    EXPECT_GT(nox::screenPosition->x, 1.0f);
}

}  // namespace
