#include "Image.h"

#include <cmath>

namespace nox::studio {

Image::Image(int width, int height, glm::vec4 fill)
    : w(width), h(height), pixels(static_cast<std::size_t>(width) * height, fill) {}

void Image::paste(const Image& tile, int x, int y) {
    for (int j = 0; j < tile.height(); ++j) {
        for (int i = 0; i < tile.width(); ++i) at(x + i, y + j) = tile.at(i, j);
    }
}

float srgbToLinear(float value) {
    return value <= 0.04045f ? value / 12.92f : std::pow((value + 0.055f) / 1.055f, 2.4f);
}

float linearToSrgb(float value) {
    value = glm::clamp(value, 0.0f, 1.0f);
    return value <= 0.0031308f ? value * 12.92f : 1.055f * std::pow(value, 1.0f / 2.4f) - 0.055f;
}

glm::vec3 linearToSrgb(glm::vec3 colour) {
    return {linearToSrgb(colour.r), linearToSrgb(colour.g), linearToSrgb(colour.b)};
}

Image normalMapFromHeight(const HeightField& heights, float strength) {
    Image map(heights.width(), heights.height());
    for (int y = 0; y < heights.height(); ++y) {
        for (int x = 0; x < heights.width(); ++x) {
            const float dx = (heights.wrapped(x + 1, y) - heights.wrapped(x - 1, y)) * 0.5f;
            // Row index grows downward, the map's Y axis points up.
            const float dy = (heights.wrapped(x, y - 1) - heights.wrapped(x, y + 1)) * 0.5f;
            const glm::vec3 n = glm::normalize(glm::vec3(-dx * strength, -dy * strength, 1.0f));
            map.at(x, y) = glm::vec4(n * 0.5f + 0.5f, 1.0f);
        }
    }
    return map;
}

}  // namespace nox::studio
