#include "assets/Texture.h"

#include <iostream>
#include <memory>
#include <vector>

#include "assets/DecodedImage.h"
#include "assets/GlObject.h"
#include "assets/ImagePrefetch.h"

namespace nox {

namespace {

constexpr GLint unpackAlignment = 4;  // GL's default, which the loader keeps
constexpr GLint minifyFilter = GL_LINEAR_MIPMAP_LINEAR;
constexpr GLint magnifyFilter = GL_LINEAR;
constexpr float lodBias = -0.4f;  // a little sharper than the default

GLenum formatFor(int channels) {
    switch (channels) {
        case 1: return GL_RED;
        case 2: return GL_RG;
        case 3: return GL_RGB;
        default: return GL_RGBA;
    }
}

}  // namespace

GLuint loadTexture(const char* fileName, const std::string& directory) {
    const std::string path = directory + "/" + fileName;
    const GLuint id = gl::generateTexture();

    std::unique_ptr<DecodedImage> fetched;
    if (ImagePrefetch* prefetch = ImagePrefetch::active()) fetched = prefetch->take(path);
    if (!fetched) fetched = DecodedImage::fromFile(path);
    const DecodedImage& image = *fetched;
    if (image.oversized()) {
        std::cout << "Texture too large: " << fileName << " claims " << image.width << " x " << image.height
                  << " pixels, at most " << DecodedImage::maxSide << " on a side" << std::endl;
    }
    if (!image.decoded()) {
        std::cout << "Texture failed to load at path: " << fileName << std::endl;
        return id;
    }

    // stb_image packs rows tightly, but GL reads each row from a 4-byte
    // boundary: rows of another length are copied onto a padded stride.
    const bool aligned = image.rowsAligned(unpackAlignment);
    const std::vector<unsigned char> padded =
        aligned ? std::vector<unsigned char>() : image.rowsAlignedTo(unpackAlignment);
    const unsigned char* pixels = aligned ? image.pixels : padded.data();
    const GLenum format = formatFor(image.channels);

    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format, GL_UNSIGNED_BYTE,
                 pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minifyFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnifyFilter);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, lodBias);
    return id;
}

GLuint createEdgeClampedSampler() {
    const GLuint id = gl::generateSampler();
    glSamplerParameteri(id, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(id, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(id, GL_TEXTURE_MIN_FILTER, minifyFilter);
    glSamplerParameteri(id, GL_TEXTURE_MAG_FILTER, magnifyFilter);
    glSamplerParameterf(id, GL_TEXTURE_LOD_BIAS, lodBias);
    return id;
}

GLuint createSolidTexture(GLubyte r, GLubyte g, GLubyte b) {
    const GLubyte texel[4] = {r, g, b, 255};
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    const GLuint id = gl::generateTexture();
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return id;
}

}  // namespace nox
