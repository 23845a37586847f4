#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/CameraPath.h"
#include "app/Window.h"
#include "terrain/HeightField.h"
#include "terrain/TerrainGeometry.h"

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

// A stalled machine or a slow first frame: the flight moves on by as many
// segments as the frame lasted and stays on its curve.
TEST_F(CameraPathTest, AFrameOfSeveralSegmentsStaysOnTheCurve) {
    CameraPath inOneFrame;
    CameraPath inTenFrames;
    const Pose pose = step(inOneFrame, 25.0);  // two and a half segments
    Pose expected{};
    for (int frame = 0; frame < 10; ++frame) expected = step(inTenFrames, 2.5);
    EXPECT_EQ(inOneFrame.current, 2);
    EXPECT_NEAR(inOneFrame.t, 0.5f, 1e-5f);
    expectPose(pose, expected);

    CameraPath afterAnHour;
    step(afterAnHour, 3600.0);  // 360 segments: 24 whole loops
    EXPECT_EQ(afterAnHour.current, 0);
    EXPECT_GE(afterAnHour.t, 0.0f);
    EXPECT_LT(afterAnHour.t, 1.0f);
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

// One loop of the flight as a viewer sees it, a twentieth of a second apart,
// over the ground as the terrain builds it.
class Flight : public testing::Test {
protected:
    static constexpr double step = 0.05;

    struct Moment {
        Pose pose;
        bool jumpedBack;  // the loop's end: back to the first key at once
    };

    static void SetUpTestSuite() {
        heights = new nox::terrain::HeightField;
        nox::terrain::buildTerrainGeometry(*heights);
        CameraPath path(nox::mainDisplay);
        nox::deltaTime = step;
        for (int i = 0; i < static_cast<int>(150.0 / step); ++i) {
            const int segment = path.current;
            const Pose pose = path.evaluate();
            moments.push_back({pose, path.current < segment});
        }
        nox::deltaTime = 0.0;
    }

    static void TearDownTestSuite() {
        delete heights;
        moments.clear();
    }

    // Terrain at (-500, 0, -500), as the scene places it.
    static float groundAt(float x, float z) { return heights->getInterpolatedHeight(x + 500.0f, z + 500.0f); }

    static nox::terrain::HeightField* heights;
    static std::vector<Moment> moments;
};

nox::terrain::HeightField* Flight::heights = nullptr;
std::vector<Flight::Moment> Flight::moments;

// A calm flight: a mistyped key frame shows as a dash, a sudden swing or a
// dip into the snow.
TEST_F(Flight, GlidesCalmlyAndStaysClearOfTheSnowAndTheLake) {
    constexpr float clearance = 2.0f;
    constexpr float waterHeight = 20.0f;
    constexpr float topSpeed = 16.0f;     // units a second
    constexpr float fastestTurn = 17.0f;  // degrees a second
    constexpr float fastestPitch = 4.0f;
    for (size_t i = 1; i < moments.size(); ++i) {
        const Pose& p = moments[i].pose;
        const Pose& before = moments[i - 1].pose;
        const float t = static_cast<float>(i * step);
        EXPECT_GE(p[1] - std::max(groundAt(p[0], p[2]), waterHeight), clearance) << "at " << t << " s";
        if (moments[i].jumpedBack) continue;
        const float distance = glm::length(glm::vec3(p[0], p[1], p[2]) - glm::vec3(before[0], before[1], before[2]));
        EXPECT_LE(distance / step, topSpeed) << "at " << t << " s";
        EXPECT_LE(std::fabs(p[4] - before[4]) / step, fastestTurn) << "at " << t << " s";
        EXPECT_LE(std::fabs(p[3] - before[3]) / step, fastestPitch) << "at " << t << " s";
        if (HasFailure()) return;
    }
}

TEST_F(Flight, PassesCloseToEachOfTheScenesPlaces) {
    constexpr float close = 22.0f;
    const struct {
        const char* name;
        glm::vec2 place;  // x, z
    } landmarks[] = {{"campfire", {81, -2}}, {"cottage", {85, -29}},    {"farmhouse", {70, -52}},
                     {"boat", {62, -22}},    {"first lamp", {70, -15}}, {"second lamp", {65, -65}}};
    for (const auto& landmark : landmarks) {
        float nearest = 1e9f;
        for (const Moment& moment : moments) {
            const glm::vec3 at(landmark.place.x, groundAt(landmark.place.x, landmark.place.y), landmark.place.y);
            nearest = std::min(nearest, glm::length(glm::vec3(moment.pose[0], moment.pose[1], moment.pose[2]) - at));
        }
        EXPECT_LT(nearest, close) << landmark.name;
    }
}

}  // namespace
