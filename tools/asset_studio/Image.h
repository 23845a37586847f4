#pragma once

#include <vector>

#include <glm/glm.hpp>

namespace nox::studio {

// A picture under construction: RGBA floats, nominally in [0, 1], already in the
// encoding that will be written (sRGB for colour, raw values for data maps).
// Row 0 is the top row of the written file.
class Image {
public:
    Image(int width, int height, glm::vec4 fill = glm::vec4(0.0f));

    int width() const { return w; }
    int height() const { return h; }
    glm::vec4& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * w + x]; }
    const glm::vec4& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * w + x]; }

    // Copies another image into this one with its top-left corner at (x, y).
    void paste(const Image& tile, int x, int y);

private:
    int w;
    int h;
    std::vector<glm::vec4> pixels;
};

// A scalar field with wrap-around addressing, the source of normal maps.
class HeightField {
public:
    HeightField(int width, int height) : w(width), h(height), values(static_cast<std::size_t>(width) * height, 0.0f) {}

    int width() const { return w; }
    int height() const { return h; }
    float& at(int x, int y) { return values[static_cast<std::size_t>(y) * w + x]; }
    float wrapped(int x, int y) const {
        return values[static_cast<std::size_t>((y % h + h) % h) * w + (x % w + w) % w];
    }

private:
    int w;
    int h;
    std::vector<float> values;
};

float srgbToLinear(float value);
float linearToSrgb(float value);
glm::vec3 linearToSrgb(glm::vec3 colour);

// Tangent-space normal map of a height field (heights in texels of the map):
// X along the image's width, Y toward the top row, Z out of the surface in blue.
// Differences wrap around, so a tiling height field gives a tiling map.
Image normalMapFromHeight(const HeightField& heights, float strength);

}  // namespace nox::studio
