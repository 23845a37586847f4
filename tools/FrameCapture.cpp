#include "tools/FrameCapture.h"

#include <GL/glew.h>
#include <stb/stb_image_write.h>

namespace nox::tools {

Image readBackBuffer() {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    Image image;
    image.width = viewport[2];
    image.height = viewport[3];
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return image;
}

bool savePng(const Image& image, const std::string& path) {
    stbi_flip_vertically_on_write(1);
    const bool written =
        stbi_write_png(path.c_str(), image.width, image.height, 3, image.rgb.data(), image.width * 3) != 0;
    stbi_flip_vertically_on_write(0);
    return written;
}

}  // namespace nox::tools
