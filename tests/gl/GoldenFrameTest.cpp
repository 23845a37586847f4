#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Camera.h"
#include "app/CameraPath.h"
#include "app/DisplayConfig.h"
#include "app/FrameLoop.h"
#include "app/Window.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"
#include "tests/gl/PerturbedParticles.h"
#include "tests/support/GlTestSupport.h"
#include "tools/FlightCapture.h"
#include "tools/ImageCompare.h"

// Reference frames: a moment of the flight or a fixed pose, drawn and
// compared, at about 320 pixels wide, with the picture stored under
// tests/golden/<configuration>/, within the tolerance that compare_frames
// applies (tools/ImageCompare.h). A failing frame leaves its render and a
// picture of the differences in Testing/golden/ of the build tree.
// NOXVALE_REGENERATE_GOLDEN=1 writes the references anew (tools/regenerate_golden.sh).
// NOXVALE_PERTURBED_PARTICLES=1 draws them with the particle programs'
// arithmetic perturbed as another conformant driver may do it: the particles
// must fall the same way, so the same references must still match.

namespace {

namespace fs = std::filesystem;
using nox::tools::Image;

// Every configuration's references are about 320 pixels wide.
constexpr int scaleDown = nox::activeDisplay.windowWidth / 320;
constexpr double frameTime = 0.5;  // of the flight; coarse, to reach late moments quickly
constexpr double settleTime = 10.0;

struct Pose {
    float x, y, z, pitch, yaw;
};

struct Golden {
    const char* name;
    double flightSeconds;  // a moment of the flight, or below zero for the pose
    Pose pose;
    bool inEveryConfiguration;
};

// clang-format off
const Golden goldens[] = {
    {"lake_with_reflections", 2.0,  {},                                      true},
    {"snow_over_the_shore",   20.0, {},                                      false},
    {"valley_and_moon",       100.0, {},                                     false},
    {"fire_up_close",         -1,   {81, 24.5f, 6, -22, 0},                  false},
    {"god_rays",              -1,   {60, 26, 60, 12, 52.5f},                 true},
    {"moon_behind_a_tree",    -1,   {119.6f, 29.37f, -76.71f, 27.85f, 64.78f}, false},
    {"lamp_flares",           -1,   {76, 29.5f, -9, -3.4f, 45},              false},
    {"moon_behind_the_camera", -1,  {60, 26, 60, 12, 232.5f},                false},
    {"farmhouse_mirrored",    -1,   {40, 20.8f, -50, 0, -90},               false},
};
// clang-format on

void PrintTo(const Golden& golden, std::ostream* out) {
    *out << golden.name;
}

bool regenerating() {
    const char* value = std::getenv("NOXVALE_REGENERATE_GOLDEN");
    return value != nullptr && std::string(value) == "1";
}

fs::path referenceDirectory() {
    return fs::path(NOXVALE_GOLDEN_DIR) / nox::activeDisplay.name;
}

class GoldenFrameTest : public testing::TestWithParam<Golden> {
protected:
    static void SetUpTestSuite() {
        failures = fs::current_path().parent_path() / "Testing" / "golden";
        if (nox::test::perturbedParticlesRequested()) {
            failures /= "perturbed";
            perturbedTree = new nox::test::PerturbedParticleTree;
        }
        loop = new nox::FrameLoop;
    }
    static void TearDownTestSuite() {
        delete loop;
        loop = nullptr;
        delete perturbedTree;
        perturbedTree = nullptr;
    }
    void TearDown() override {
        nox::getCamera() = nox::Camera{};
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    // Every frame starts from the beginning of a run, whatever ran before.
    static void startOver() {
        loop->path() = nox::CameraPath();
        loop->sceneObjects().water.moveFactor = 0.0f;
        loop->setManualMode(false);
        nox::gpu_particles::getSnowSystem().restart();
        nox::gpu_particles::getFireSystem().restart();
    }

    static Image drawPose(const Pose& pose) {
        loop->iterate(0.0);
        loop->setManualMode(true);
        nox::getCamera().position = {pose.x, pose.y, pose.z};
        nox::getCamera().rotation = {pose.pitch, pose.yaw, 0.0f};
        // The air fills with particles as it would while the camera rested.
        for (int i = 0; i < static_cast<int>(settleTime / frameTime); ++i) loop->iterateWithoutDrawing(frameTime);
        // Drawn twice: the lens flares use the counts of the frame before.
        loop->iterate(0.0);
        loop->iterate(0.0);
        return nox::test::readBackBuffer();
    }

    static Image draw(const Golden& golden) {
        startOver();
        if (golden.flightSeconds < 0.0) return drawPose(golden.pose);
        nox::tools::FlightCapture flight(*loop, frameTime);
        return flight.frameAt(golden.flightSeconds);
    }

    // Compares with the stored reference of that name, or stores it anew.
    static void expectLooksLike(const Image& render, const std::string& name) {
        const fs::path reference = referenceDirectory() / (name + ".png");
        if (regenerating()) {
            fs::create_directories(reference.parent_path());
            ASSERT_TRUE(nox::tools::savePng(render, reference.string()));
            return;
        }
        Image expected;
        ASSERT_TRUE(nox::tools::loadPng(reference.string(), expected)) << "no reference " << reference;
        const nox::tools::Tolerance& tolerance = nox::tools::frameTolerance;
        const nox::tools::Comparison comparison = nox::tools::compareImages(expected, render, tolerance);
        if (!comparison.matches(tolerance)) {
            fs::create_directories(failures);
            const fs::path actual = failures / (name + "_actual.png");
            const fs::path difference = failures / (name + "_difference.png");
            nox::tools::savePng(render, actual.string());
            nox::tools::savePng(comparison.difference, difference.string());
            ADD_FAILURE() << name << ": " << comparison.differingShare * 100.0 << " % of the pixels differ (up to "
                          << comparison.largestDifference << " of 255), largest region mean "
                          << comparison.largestRegionMean << " levels; see " << actual << " and " << difference;
        }
    }

    static nox::FrameLoop* loop;
    static nox::test::PerturbedParticleTree* perturbedTree;
    static fs::path failures;
};

nox::FrameLoop* GoldenFrameTest::loop = nullptr;
nox::test::PerturbedParticleTree* GoldenFrameTest::perturbedTree = nullptr;
fs::path GoldenFrameTest::failures;

TEST_P(GoldenFrameTest, LooksAsItShould) {
    const Golden& golden = GetParam();
    const bool mainConfiguration = std::string(nox::activeDisplay.name) == "MAIN";
    if (!golden.inEveryConfiguration && !mainConfiguration) GTEST_SKIP() << "kept for the main configuration";

    expectLooksLike(nox::tools::downscale(draw(golden), scaleDown), golden.name);
}

// The same frame times draw the same pixels: twice in one run, and whether
// or not the frames before the moment were drawn.
TEST_F(GoldenFrameTest, TheSameMomentIsDrawnTheSameEveryTime) {
    constexpr double moment = 4.0;
    startOver();
    const Image skipping = nox::tools::FlightCapture(*loop, frameTime).frameAt(moment);
    startOver();
    const Image again = nox::tools::FlightCapture(*loop, frameTime).frameAt(moment);
    startOver();
    nox::tools::FlightCapture everyFrame(*loop, frameTime);
    Image drawn;
    while (everyFrame.framesDone() * frameTime < moment) drawn = everyFrame.nextFrame();
    EXPECT_TRUE(again.rgb == skipping.rgb);
    EXPECT_TRUE(drawn.rgb == skipping.rgb);
}

// The flight seen halfway along each of its stretches, a key frame on either
// side: a key frame typed a few units or degrees off, or a model moved where
// the flight sees it, changes one of these pictures. They are kept at about
// 160 pixels wide, enough to see the scene's places move.
TEST_F(GoldenFrameTest, EveryStretchOfTheFlightLooksAsItShould) {
    if (std::string(nox::activeDisplay.name) != "MAIN") GTEST_SKIP() << "kept for the main configuration";
    constexpr double stretchSeconds = 10.0;
    startOver();
    nox::tools::FlightCapture flight(*loop, frameTime);
    for (int stretch = 0; stretch < nox::CameraPath::segmentCount; ++stretch) {
        const int moment = static_cast<int>(stretchSeconds * (stretch + 0.5));
        char name[32];
        std::snprintf(name, sizeof name, "flight_at_%03ds", moment);
        expectLooksLike(nox::tools::downscale(flight.frameAt(moment), 2 * scaleDown), name);
    }
}

INSTANTIATE_TEST_SUITE_P(Frames, GoldenFrameTest, testing::ValuesIn(goldens),
                         [](const testing::TestParamInfo<Golden>& info) { return std::string(info.param.name); });

}  // namespace
