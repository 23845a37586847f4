#pragma once

#include <string>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace nox {

extern std::string windowTitle;
extern bool isFullscreen;
extern double lastFrameTime;  // seconds; glfwGetTime() before glfwInit, i.e. 0.0
extern double deltaTime;      // seconds between the last two frames

// The one window. The first call initialises GLFW, opens the window, makes its
// context current and loads the GL entry points; it exits with code 1 and no
// message when any of that fails. Later calls return the same slot at once.
// The singleton terminates GLFW at process exit; it is created before any other
// function-local static, so it is destroyed after all of them and every GL
// object they own is released while the context still exists.
GLFWwindow*& getWindow();

// Moves the window onto the primary monitor or back to windowed mode at (0, 0);
// the size stays the display size.
void toggleFullscreen();

// Polled input, as every phase of the frame reads it.
inline bool isWindowFocused(GLFWwindow* window) {
    return glfwGetWindowAttrib(window, GLFW_FOCUSED) != 0;
}

inline bool isKeyDown(GLFWwindow* window, int key) {
    return glfwGetKey(window, key) == GLFW_PRESS;
}

}  // namespace nox
