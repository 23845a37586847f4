#include "assets/Texture.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#include <stb/stb_image.h>

namespace nox {

namespace {

constexpr GLint unpackAlignment = 4;  // GL's default, which the loader keeps
constexpr float lodBias = -0.4f;      // a little sharper than the default

GLenum formatFor(int channels) {
    switch (channels) {
        case 1: return GL_RED;
        case 2: return GL_RG;
        case 3: return GL_RGB;
        default: return GL_RGBA;
    }
}

struct DecodedImage {
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    int channels = 0;

    ~DecodedImage() { stbi_image_free(pixels); }
};

// stb_image packs rows tightly, but GL reads each row from a 4-byte boundary:
// rows whose length is not a multiple of 4 are copied onto a padded stride.
std::vector<unsigned char> padRows(const DecodedImage& image) {
    const size_t rowBytes = static_cast<size_t>(image.width) * image.channels;
    const size_t stride = (rowBytes + unpackAlignment - 1) / unpackAlignment * unpackAlignment;
    std::vector<unsigned char> padded(stride * image.height, 0);
    for (int row = 0; row < image.height; ++row) {
        std::memcpy(&padded[row * stride], image.pixels + row * rowBytes, rowBytes);
    }
    return padded;
}

}  // namespace

GLuint loadTexture(const char* fileName, const std::string& directory) {
    const std::string path = directory + "/" + fileName;
    GLuint id = 0;
    glGenTextures(1, &id);

    DecodedImage image;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        image.pixels = stbi_load_from_file(file, &image.width, &image.height, &image.channels, 0);
        std::fclose(file);
    }
    if (image.pixels == nullptr) {
        std::cout << "Texture failed to load at path: " << fileName << std::endl;
        return id;
    }

    const GLenum format = formatFor(image.channels);
    const bool needsPadding = (image.width * image.channels) % unpackAlignment != 0;
    const std::vector<unsigned char> padded = needsPadding ? padRows(image) : std::vector<unsigned char>();
    const unsigned char* pixels = needsPadding ? padded.data() : image.pixels;

    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
                 GL_UNSIGNED_BYTE, pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, lodBias);
    return id;
}

GLuint createSolidTexture(GLubyte r, GLubyte g, GLubyte b) {
    const GLubyte texel[4] = {r, g, b, 255};
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return id;
}

}  // namespace nox
