#include "app/Window.h"

#include <cstdlib>

#include "app/DisplayConfig.h"

namespace nox {

std::string windowTitle = "nox";
bool isFullscreen = activeDisplay.startsFullscreen;
double lastFrameTime = glfwGetTime();
double deltaTime = 0.0;

namespace {

constexpr int startUpFailure = 1;

GLFWmonitor* monitorForMode() {
    return isFullscreen ? glfwGetPrimaryMonitor() : nullptr;
}

struct WindowSingleton {
    GLFWwindow* handle = nullptr;

    WindowSingleton() {
        if (!glfwInit()) std::exit(startUpFailure);
        // The render targets and the viewport keep the display size for the
        // whole run, so a resized window would show a wrong image.
        glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
        handle = glfwCreateWindow(activeDisplay.windowWidth, activeDisplay.windowHeight, windowTitle.c_str(),
                                  monitorForMode(), nullptr);
        if (handle == nullptr) {
            glfwTerminate();
            std::exit(startUpFailure);
        }
        glfwSetInputMode(handle, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
        glfwMakeContextCurrent(handle);
        if (glewInit() != GLEW_OK) {
            glfwTerminate();
            std::exit(startUpFailure);
        }
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    }

    ~WindowSingleton() { glfwTerminate(); }

    WindowSingleton(const WindowSingleton&) = delete;
    WindowSingleton& operator=(const WindowSingleton&) = delete;
};

}  // namespace

GLFWwindow*& getWindow() {
    static WindowSingleton window;
    return window.handle;
}

void toggleFullscreen() {
    isFullscreen = !isFullscreen;
    glfwSetWindowMonitor(getWindow(), monitorForMode(), 0, 0, activeDisplay.windowWidth, activeDisplay.windowHeight,
                         GLFW_DONT_CARE);
}

}  // namespace nox
