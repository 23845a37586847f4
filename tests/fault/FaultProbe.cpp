// Runs the program's frame loop in the current directory as main does, from a
// fixed camera with a fixed frame time so that two runs draw the same picture,
// then ends it with Escape. Run from TREE/bin:
//   fault_probe OUTPUT_DIR
// writes OUTPUT_DIR/scene.ppm (the scene pass's picture), OUTPUT_DIR/window.ppm
// (what the window shows) and OUTPUT_DIR/gl_errors.txt (one line per GL error).
// The pictures are plain PPM files, bottom row first as GL reads them: fast to
// write, and the fault matrix writes many.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "app/FrameLoop.h"
#include "app/ResourceDirectory.h"
#include "app/Window.h"
#include "tests/support/GlTestSupport.h"

namespace {

std::vector<std::string> apiErrors;

// Errors of GL calls; a failed compile also comes this way, from the shader
// compiler, and is reported by the program itself.
void GLAPIENTRY recordApiError(GLenum source, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                               const void*) {
    if (type == GL_DEBUG_TYPE_ERROR && source != GL_DEBUG_SOURCE_SHADER_COMPILER) apiErrors.emplace_back(message);
}

void writeErrors(std::ostream& out, const std::string& when) {
    for (const std::string& error : apiErrors) out << when << ": " << error << "\n";
    apiErrors.clear();
}

// Above the campfire's shore, looking past a tree at the houses, the lamps, the
// lake and the moon: every feature of the scene in one picture.
const nox::Camera probePose{{130.0f, 35.0f, 20.0f}, {5.0f, 60.0f, 0.0f}};
// The first frame builds every program and loads every model, and is long, as
// a first frame that includes the start-up is: flames (one a second) have
// lit by the second frame, the first to read back occlusion results and draw
// lens flares.
constexpr double frameTimes[] = {3.0, 1.0};

nox::test::Image readSceneImage(const nox::RenderTarget& target) {
    nox::test::Image image;
    image.width = target.width;
    image.height = target.height;
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return image;
}

void savePpm(const nox::test::Image& image, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size()));
}

// Holds the cursor at the window's centre so that mouse look leaves the pose.
void holdPose(GLFWwindow* window) {
    int width = 0;
    int height = 0;
    glfwGetWindowSize(window, &width, &height);
    const glm::ivec2 centre = nox::cursorRestPosition(width, height);
    glfwSetCursorPos(window, centre.x, centre.y);
    nox::getCamera() = probePose;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string output = argv[1];
    GLFWwindow* window = nox::getWindow();
    nox::reportMissingResourceDirectory(std::cout);
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(recordApiError, nullptr);
    {
        nox::FrameLoop loop;
        loop.setManualMode(true);
        std::ofstream errors(output + "/gl_errors.txt");
        for (double frameTime : frameTimes) {
            holdPose(window);
            loop.iterate(frameTime);
            writeErrors(errors, "frame of " + std::to_string(frameTime) + " s");
        }
        savePpm(readSceneImage(loop.sceneObjects().sceneTarget), output + "/scene.ppm");
        savePpm(nox::test::readBackBuffer(), output + "/window.ppm");

        // The program's own way out: Escape, held until the loop has seen it.
        glfwFocusWindow(window);
        nox::test::xdotool("keydown Escape");
        nox::test::pollUntil([window] { return nox::isKeyDown(window, GLFW_KEY_ESCAPE); });
        while (loop.running()) loop.iterate();
        nox::test::xdotool("keyup Escape");
        writeErrors(errors, "after Escape");
    }
    return 0;
}
