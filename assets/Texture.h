#pragma once

#include <string>

#include <GL/glew.h>

namespace nox {

// Loads directory + "/" + fileName as a mipmapped, repeating, trilinear 2D
// texture (1, 2, 3 or 4 channels: GL_RED, GL_RG, GL_RGB, GL_RGBA) and leaves it
// bound. A file that cannot be read prints "Texture failed to load at path: "
// + fileName on standard output; the name is returned all the same and, having
// no image, samples black. An image whose header claims a side beyond
// DecodedImage::maxSide is not decoded: a line saying so comes first. The
// caller owns the texture: it hands the name to a TextureObject.
GLuint loadTexture(const char* fileName, const std::string& directory);

// A 1 x 1 texture of one opaque colour, filtered nearest. The caller owns
// it, as it owns a loaded one; the active unit's binding is left as it was, so it can be made in the
// middle of binding other textures.
GLuint createSolidTexture(GLubyte r, GLubyte g, GLubyte b);

// A sampler that filters as loaded textures are filtered but clamps at their
// edges instead of repeating, for pictures that must not wrap round. The
// caller owns it.
GLuint createEdgeClampedSampler();

}  // namespace nox
