#include "tests/support/GlTestSupport.h"

#include <cstdlib>
#include <sstream>

#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>
#include <X11/Xlib.h>

#include "app/Window.h"

namespace nox::test {

namespace {
std::vector<std::string>& debugErrors() {
    static std::vector<std::string> errors;
    return errors;
}

void GLAPIENTRY recordGlError(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message, const void*) {
    if (type == GL_DEBUG_TYPE_ERROR) debugErrors().emplace_back(message);
}
}  // namespace

void installGlErrorRecorder() {
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(recordGlError, nullptr);
}

std::vector<std::string> takeGlErrors() {
    std::vector<std::string> errors;
    errors.swap(debugErrors());
    return errors;
}

std::string glErrorReport() {
    std::ostringstream report;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        report << "glGetError 0x" << std::hex << error << std::dec << "\n";
    }
    for (const std::string& message : takeGlErrors()) report << message << "\n";
    return report.str();
}

std::vector<float> bufferFloats(GLuint buffer) {
    GLint bytes = 0;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    std::vector<float> data(static_cast<size_t>(bytes) / sizeof(float));
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, bytes, data.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return data;
}

GLuint createTexture(int width, int height, const std::vector<std::uint8_t>& rgba) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

Image textureImage(GLuint texture) {
    Image image;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    return image;
}

std::string windowId() {
    return std::to_string(glfwGetX11Window(getWindow()));
}

std::string windowTitleFromServer() {
    char* name = nullptr;
    if (XFetchName(glfwGetX11Display(), glfwGetX11Window(getWindow()), &name) == 0) return "";
    std::string title = name;
    XFree(name);
    return title;
}

void xdotool(const std::string& arguments) {
    const std::string command = "xdotool " + arguments;
    if (std::system(command.c_str()) != 0) std::abort();
}

}  // namespace nox::test
