#include <gtest/gtest.h>

#include "app/DisplayConfig.h"
#include "app/Window.h"
#include "tests/support/GlTestSupport.h"

namespace {

TEST(Window, StartUpRunsOnceAndAlwaysYieldsTheSameSlot) {
    GLFWwindow*& first = nox::getWindow();
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 5; ++i) {
        GLFWwindow*& again = nox::getWindow();
        EXPECT_EQ(&again, &first);
        EXPECT_EQ(again, first);
    }
    EXPECT_EQ(glfwGetCurrentContext(), first);
}

TEST(Window, HasTheDisplaySizeTitleAndHiddenCursor) {
    GLFWwindow* window = nox::getWindow();
    int width = 0;
    int height = 0;
    glfwGetWindowSize(window, &width, &height);
    EXPECT_EQ(width, nox::activeDisplay.windowWidth);
    EXPECT_EQ(height, nox::activeDisplay.windowHeight);
    EXPECT_EQ(glfwGetInputMode(window, GLFW_CURSOR), GLFW_CURSOR_HIDDEN);
    EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_RESIZABLE), GLFW_FALSE);
    EXPECT_EQ(glfwGetWindowMonitor(window) != nullptr, nox::activeDisplay.startsFullscreen);

    EXPECT_EQ(nox::test::windowTitleFromServer(), "nox");
}

TEST(Window, ContextOffersWhatTheRendererNeeds) {
    GLint major = 0;
    GLint minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    EXPECT_GE(major * 10 + minor, 43);
    GLfloat clear[4] = {1, 1, 1, 0};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0] + clear[1] + clear[2], 0.0f);
    EXPECT_EQ(clear[3], 1.0f);
    EXPECT_EQ(nox::test::glErrorReport(), "");
}

}  // namespace
