#include "app/Window.h"

#include <cstdlib>

#include "app/DisplayConfig.h"
#include "assets/ImagePrefetch.h"

namespace nox {

std::string windowTitle = "nox";
bool isFullscreen = activeDisplay.startsFullscreen;
double lastFrameTime = glfwGetTime();
double deltaTime = 0.0;

namespace {

constexpr int startUpFailure = 1;

// Ends the process, silently, when there is no display to draw on. The images
// being decoded ahead are given up first: exit unwinds nothing, and a worker
// still decoding would run on while the process tears itself down.
[[noreturn]] void failStartUp() {
    if (ImagePrefetch* prefetch = ImagePrefetch::active()) prefetch->stop();
    std::exit(startUpFailure);
}

GLFWmonitor* monitorForMode() {
    return isFullscreen ? glfwGetPrimaryMonitor() : nullptr;
}

struct WindowSingleton {
    GLFWwindow* handle = nullptr;

    WindowSingleton() {
        if (!glfwInit()) failStartUp();
        // The render targets and the viewport keep the display size for the
        // whole run, so a resized window would show a wrong image.
        glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
        handle = glfwCreateWindow(activeDisplay.windowWidth, activeDisplay.windowHeight, windowTitle.c_str(),
                                  monitorForMode(), nullptr);
        if (handle == nullptr) {
            glfwTerminate();
            failStartUp();
        }
        glfwSetInputMode(handle, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
        glfwMakeContextCurrent(handle);
        if (glewInit() != GLEW_OK) {
            glfwTerminate();
            failStartUp();
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
