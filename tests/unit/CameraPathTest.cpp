#include <gtest/gtest.h>

#include "app/CameraPath.h"
#include "app/Window.h"

namespace {

using nox::CameraPath;
using nox::Pose;

class CameraPathTest : public testing::Test {
protected:
    void TearDown() override { nox::deltaTime = 0.0; }

    // Advances the path one frame of the given length.
    Pose step(CameraPath& path, double dt) {
        nox::deltaTime = dt;
        return path.evaluate();
    }
};

void expectPose(const Pose& actual, const Pose& expected, float tolerance = 1e-3f) {
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "pose component " << i;
}

TEST_F(CameraPathTest, SegmentsJoinConsecutiveKeysWithMirroredHandles) {
    const CameraPath path;
    ASSERT_EQ(CameraPath::segmentCount, 15);
    for (int i = 0; i < CameraPath::segmentCount; ++i) {
        const nox::PathSegment& s = path.segments[i];
        EXPECT_EQ(s.start, path.keys[i]);
        EXPECT_EQ(s.end, path.keys[i + 1]);
        const glm::vec3 key(path.keys[i][0], path.keys[i][1], path.keys[i][2]);
        EXPECT_EQ(s.outHandle, 2.0f * key - path.handles[i]);
        EXPECT_EQ(s.inHandle, path.handles[i + 1]);
    }
    // Spot values of the key table.
    expectPose(path.keys[0], {-49, 41, 14, -14, -52, 0});
    expectPose(path.keys[14], {77.5f, 26.7f, -87.27f, 29.7f, 423.8f, 0});
    EXPECT_EQ(path.handles[15], glm::vec3(-5.1f, 29.6f, -44.4f));
    EXPECT_EQ(path.segments[0].outHandle, glm::vec3(-41, 38, 7));
}

TEST_F(CameraPathTest, EndpointsAndMidpointFollowTheBezierConstruction) {
    CameraPath path;
    expectPose(step(path, 0.0), path.keys[0]);

    const nox::PathSegment& s = path.segments[0];
    const glm::vec3 p0(s.start[0], s.start[1], s.start[2]);
    const glm::vec3 p3(s.end[0], s.end[1], s.end[2]);
    const glm::vec3 mid = 0.125f * p0 + 0.375f * s.outHandle + 0.375f * s.inHandle + 0.125f * p3;
    const Pose half = step(path, 5.0);  // speed 0.1: half a segment
    EXPECT_NEAR(path.t, 0.5f, 1e-6f);
    expectPose(half, {mid.x, mid.y, mid.z, (s.start[3] + s.end[3]) / 2, (s.start[4] + s.end[4]) / 2, 0});

    // Reaching t = 1 moves on to the next segment's start, which is key 1.
    expectPose(step(path, 5.0), path.keys[1]);
    EXPECT_EQ(path.current, 1);
}

TEST_F(CameraPathTest, OneLoopTakesOneHundredFiftySeconds) {
    // 2.5 s frames advance t by exactly 0.25, so the count is free of rounding.
    CameraPath path(nox::mainDisplay);
    for (int frame = 0; frame < 59; ++frame) step(path, 2.5);
    EXPECT_EQ(path.current, 14);
    step(path, 2.5);
    EXPECT_EQ(path.current, 0);
    EXPECT_EQ(path.t, 0.0f);
}

TEST_F(CameraPathTest, AfterTheLastKeyTheFlightJumpsBackToTheFirst) {
    CameraPath path;
    path.current = 14;
    path.t = 0.9999f;
    expectPose(step(path, 0.01), path.keys[0], 0.1f);
    EXPECT_EQ(path.current, 0);
}

TEST_F(CameraPathTest, AHugeStepWrapsOnceAndExtrapolates) {
    CameraPath path;
    const Pose pose = step(path, 25.0);  // t would be 2.5
    EXPECT_EQ(path.current, 1);
    EXPECT_NEAR(path.t, 1.5f, 1e-5f);
    // Beyond the end of segment 1: the pitch keeps its linear trend past key 2.
    const float pitch1 = path.keys[1][3];
    const float pitch2 = path.keys[2][3];
    EXPECT_NEAR(pose[3], pitch1 * -0.5f + pitch2 * 1.5f, 1e-4f);
    step(path, 0.0);
    EXPECT_EQ(path.current, 2);
    EXPECT_NEAR(path.t, 0.5f, 1e-5f);
}

TEST_F(CameraPathTest, TheSlowLastSegmentMakesTheLoopOneHundredSixtySeconds) {
    for (const nox::DisplayConfig* display : {&nox::displayB, &nox::displayC}) {
        CameraPath path(*display);
        EXPECT_FLOAT_EQ(path.segments[14].speed, 0.05f);
        for (int frame = 0; frame < 63; ++frame) step(path, 2.5);
        EXPECT_EQ(path.current, 14) << display->name;
        step(path, 2.5);
        EXPECT_EQ(path.current, 0) << display->name;
    }
    EXPECT_FLOAT_EQ(CameraPath(nox::mainDisplay).segments[14].speed, 0.1f);
}

}  // namespace
