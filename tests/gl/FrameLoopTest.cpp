#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/Camera.h"
#include "app/DisplayConfig.h"
#include "app/FrameLoop.h"
#include "app/FrameSteps.h"
#include "app/Window.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::test::pollUntil;
using nox::test::windowId;
using nox::test::xdotool;

constexpr double frameTime = 1.0 / 60.0;

class FrameLoopTest : public testing::Test {
protected:
    void SetUp() override {
        glfwFocusWindow(window());
        ASSERT_TRUE(pollUntil([this] { return nox::isWindowFocused(window()); }));
        nox::getCamera() = nox::Camera{};
    }

    void TearDown() override {
        EXPECT_EQ(nox::test::glErrorReport(), "");
        glfwSetWindowShouldClose(window(), GLFW_FALSE);
    }

    static GLFWwindow* window() { return nox::getWindow(); }

    // Presses a key through the X server and waits until the window sees it.
    static void holdKey(const char* xName, int glfwKey) {
        xdotool(std::string("keydown ") + xName);
        ASSERT_TRUE(pollUntil([glfwKey] { return nox::isKeyDown(window(), glfwKey); })) << xName;
    }

    static void releaseKey(const char* xName, int glfwKey) {
        xdotool(std::string("keyup ") + xName);
        ASSERT_TRUE(pollUntil([glfwKey] { return !nox::isKeyDown(window(), glfwKey); })) << xName;
    }

    void frames(int count) {
        for (int i = 0; i < count; ++i) loop.iterate(frameTime);
    }

    nox::FrameLoop loop;
};

TEST_F(FrameLoopTest, AFrameRepaintsTheWholeWindowWithoutGlErrors) {
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    frames(1);
    const nox::test::Image image = nox::test::readBackBuffer();
    ASSERT_EQ(image.width, nox::activeDisplay.windowWidth);
    ASSERT_EQ(image.height, nox::activeDisplay.windowHeight);
    size_t leftOver = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.pixel(x, y);
            leftOver += p[0] == 255 && p[1] == 0 && p[2] == 255;
        }
    }
    EXPECT_EQ(leftOver, 0u);
}

TEST_F(FrameLoopTest, TheFlightDrivesTheCameraWithTheChosenFrameTime) {
    loop.iterate(0.0);
    const nox::Pose key0 = loop.path().keys[0];
    EXPECT_EQ(nox::getCamera().position, glm::vec3(key0[0], key0[1], key0[2]));
    EXPECT_EQ(nox::getCamera().rotation, glm::vec3(key0[3], key0[4], key0[5]));
    EXPECT_EQ(nox::deltaTime, 0.0);

    loop.iterate(2.5);
    EXPECT_FLOAT_EQ(loop.path().t, 0.25f);
    EXPECT_NE(nox::getCamera().position, glm::vec3(key0[0], key0[1], key0[2]));
}

TEST_F(FrameLoopTest, TheClockDrivesDeltaTimeWhenNoneIsChosen) {
    loop.iterate();
    const double before = nox::lastFrameTime;
    loop.iterate();
    EXPECT_GT(nox::deltaTime, 0.0);
    EXPECT_DOUBLE_EQ(nox::lastFrameTime, before + nox::deltaTime);
}

TEST_F(FrameLoopTest, HoldingPSwitchesModeOncePerPress) {
    ASSERT_FALSE(loop.manualMode());
    holdKey("p", GLFW_KEY_P);
    frames(5);
    EXPECT_TRUE(loop.manualMode());
    releaseKey("p", GLFW_KEY_P);
    frames(2);
    EXPECT_TRUE(loop.manualMode());
    holdKey("p", GLFW_KEY_P);
    frames(3);
    releaseKey("p", GLFW_KEY_P);
    EXPECT_FALSE(loop.manualMode());
}

TEST_F(FrameLoopTest, ManualModeFreezesTheFlightAndFollowsTheMouse) {
    loop.iterate(2.5);
    const int segment = loop.path().current;
    const float t = loop.path().t;

    holdKey("p", GLFW_KEY_P);
    frames(1);
    releaseKey("p", GLFW_KEY_P);
    ASSERT_TRUE(loop.manualMode());
    const glm::vec3 rotation = nox::getCamera().rotation;

    int width = 0;
    int height = 0;
    glfwGetWindowSize(window(), &width, &height);
    const glm::ivec2 centre = nox::cursorRestPosition(width, height);
    xdotool("mousemove --window " + windowId() + " " + std::to_string(centre.x + 30) + " " +
            std::to_string(centre.y - 20));
    ASSERT_TRUE(pollUntil([&] {
        double x = 0, y = 0;
        glfwGetCursorPos(window(), &x, &y);
        return x == centre.x + 30 && y == centre.y - 20;
    }));
    frames(1);
    EXPECT_FLOAT_EQ(nox::getCamera().rotation.y, rotation.y - 3.0f);
    EXPECT_FLOAT_EQ(nox::getCamera().rotation.x, rotation.x + 2.0f);
    double x = 0, y = 0;
    glfwGetCursorPos(window(), &x, &y);
    EXPECT_EQ(glm::ivec2(x, y), centre);

    frames(3);  // resting mouse: no further turn, the flight stays frozen
    EXPECT_FLOAT_EQ(nox::getCamera().rotation.y, rotation.y - 3.0f);
    EXPECT_EQ(loop.path().current, segment);
    EXPECT_EQ(loop.path().t, t);

    holdKey("p", GLFW_KEY_P);
    frames(1);
    releaseKey("p", GLFW_KEY_P);
    EXPECT_FALSE(loop.manualMode());
}

TEST_F(FrameLoopTest, WMovesTheCameraOnlyInManualMode) {
    holdKey("p", GLFW_KEY_P);
    frames(1);
    releaseKey("p", GLFW_KEY_P);
    const glm::vec3 start = nox::getCamera().position;
    holdKey("w", GLFW_KEY_W);
    loop.iterate(0.5);
    releaseKey("w", GLFW_KEY_W);
    EXPECT_NEAR(glm::length(nox::getCamera().position - start), 10.0f, 2.0f);
    holdKey("p", GLFW_KEY_P);
    frames(1);
    releaseKey("p", GLFW_KEY_P);
}

TEST_F(FrameLoopTest, TheLeftButtonPrintsThePoseEveryFrame) {
    xdotool("mousemove --window " + windowId() + " 640 360 mousedown 1");
    ASSERT_TRUE(pollUntil([] { return glfwGetMouseButton(window(), GLFW_MOUSE_BUTTON_LEFT) == GLFW_PRESS; }));
    testing::internal::CaptureStdout();
    loop.iterate(0.0);
    loop.iterate(0.0);
    const std::string printed = testing::internal::GetCapturedStdout();
    xdotool("mouseup 1");
    ASSERT_TRUE(pollUntil([] { return glfwGetMouseButton(window(), GLFW_MOUSE_BUTTON_LEFT) == GLFW_RELEASE; }));

    std::ostringstream pose;
    nox::writeCameraPose(pose, nox::getCamera());
    EXPECT_EQ(printed, pose.str() + pose.str());

    testing::internal::CaptureStdout();
    loop.iterate(0.0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(FrameLoopTest, HoldingFTogglesFullscreenOncePerPress) {
    if (!nox::activeDisplay.hasFullscreenToggle) GTEST_SKIP() << "this configuration has no fullscreen toggle";
    holdKey("f", GLFW_KEY_F);
    frames(4);
    releaseKey("f", GLFW_KEY_F);
    frames(1);
    EXPECT_TRUE(nox::isFullscreen);
    EXPECT_NE(glfwGetWindowMonitor(window()), nullptr);

    glfwFocusWindow(window());
    ASSERT_TRUE(pollUntil([] { return nox::isWindowFocused(window()); }));
    holdKey("f", GLFW_KEY_F);
    frames(3);
    releaseKey("f", GLFW_KEY_F);
    EXPECT_FALSE(nox::isFullscreen);
    EXPECT_EQ(glfwGetWindowMonitor(window()), nullptr);
    int width = 0, height = 0, x = -1, y = -1;
    ASSERT_TRUE(pollUntil([&] {
        glfwGetWindowSize(window(), &width, &height);
        glfwGetWindowPos(window(), &x, &y);
        return width == 1280 && height == 720 && x == 0 && y == 0;
    })) << width
        << " x " << height << " at " << x << ", " << y;
}

TEST_F(FrameLoopTest, EscapeClosesTheWindowAfterTheIteration) {
    ASSERT_TRUE(loop.running());
    holdKey("Escape", GLFW_KEY_ESCAPE);
    loop.iterate(0.0);
    releaseKey("Escape", GLFW_KEY_ESCAPE);
    EXPECT_FALSE(loop.running());
    // The rest of the iteration still ran.
    EXPECT_EQ(nox::getCamera().position.x, loop.path().keys[0][0]);
}

TEST_F(FrameLoopTest, EscapeIsIgnoredWhileAnotherWindowHasTheFocus) {
    glfwWindowHint(GLFW_FOCUSED, GLFW_TRUE);
    GLFWwindow* other = glfwCreateWindow(64, 64, "other", nullptr, nullptr);
    glfwDefaultWindowHints();
    ASSERT_NE(other, nullptr);
    glfwFocusWindow(other);
    ASSERT_TRUE(pollUntil([] { return !nox::isWindowFocused(window()); }));
    xdotool("keydown Escape");
    ASSERT_TRUE(pollUntil([other] { return nox::isKeyDown(other, GLFW_KEY_ESCAPE); }));
    frames(2);
    xdotool("keyup Escape");
    glfwDestroyWindow(other);
    glfwMakeContextCurrent(window());
    EXPECT_TRUE(loop.running());
}

// What a frame reports to the benchmark's watcher, in order.
class RecordingWatcher final : public nox::FrameStepWatcher {
public:
    void frameBegan() override { events.emplace_back("begin"); }
    void stepEnded(nox::FrameStep step) override { events.emplace_back(nox::frameStepName(step)); }
    void frameEnded() override { events.emplace_back("end"); }
    std::vector<std::string> events;
};

TEST_F(FrameLoopTest, AWatcherIsToldEveryStepOfTheFrameInOrder) {
    RecordingWatcher watcher;
    nox::frameStepWatcher = &watcher;
    frames(1);
    nox::frameStepWatcher = nullptr;
    const std::vector<std::string> expected{
        "begin", "camera",       "particle compute", "refraction", "reflection", "queries",      "models", "terrain",
        "water", "sky and moon", "light cubes",      "models",     "particles",  "presentation", "flares", "end"};
    EXPECT_EQ(watcher.events, expected);
    frames(1);  // and nothing once it is gone
    EXPECT_EQ(watcher.events.size(), expected.size());
}

}  // namespace
