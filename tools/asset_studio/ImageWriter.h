#pragma once

#include <filesystem>

#include "Image.h"

namespace nox::studio {

// Writers quantise to 8 bits with rounding. The parent directory is created when
// missing. channels is 1, 3 or 4 (grey, RGB, RGBA).
void writePng(const std::filesystem::path& path, const Image& image, int channels);
void writeJpeg(const std::filesystem::path& path, const Image& image, int quality);

// Adds a fixed, position-hashed offset of up to half a quantisation step before
// writing, which breaks the broad bands that a dark gradient otherwise shows.
void ditherForQuantisation(Image& image, unsigned seed);

}  // namespace nox::studio
