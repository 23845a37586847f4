#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <GL/glew.h>

#include "tools/FrameCapture.h"

namespace nox::test {

// Routes GL errors from the KHR_debug callback to takeGlErrors (Mesa starts
// with debug output off).
void installGlErrorRecorder();

// Errors reported through the KHR_debug callback since the last call.
std::vector<std::string> takeGlErrors();

// Drains glGetError and the debug messages; empty when the GL is clean.
std::string glErrorReport();

// One integer of GL state (glGetIntegerv).
GLint integer(GLenum name);

// The whole contents of a buffer object, read as floats.
std::vector<float> bufferFloats(GLuint buffer);

using tools::Image;
using tools::readBackBuffer;
using tools::savePng;

// An RGBA8 texture of width x height texels given bottom row first, four bytes
// each, with linear filtering; the caller owns it.
GLuint createTexture(int width, int height, const std::vector<std::uint8_t>& rgba);

// Level 0 of a 2D texture, bottom row first, as readBackBuffer gives the window.
Image textureImage(GLuint texture);

// The X11 id of the program's window, as xdotool names it.
std::string windowId();

// The title the X server holds for the program's window.
std::string windowTitleFromServer();

// Runs an xdotool command line against the X server of the tests ("keydown p").
void xdotool(const std::string& arguments);

// Polls window events until the predicate holds or about twenty seconds have
// passed.
template <typename Predicate>
bool pollUntil(Predicate predicate);

}  // namespace nox::test

#include "tests/support/GlTestSupport.inl"
