#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nox::tools {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // bottom row first, as GL reads it

    const std::uint8_t* pixel(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// The window's back buffer (what the next swap will present), at the size of
// the current viewport.
Image readBackBuffer();

// Writes the image top row first, as a viewer expects it.
bool savePng(const Image& image, const std::string& path);

}  // namespace nox::tools
