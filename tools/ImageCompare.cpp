#include "tools/ImageCompare.h"

#include <algorithm>
#include <cstdlib>

#include <stb/stb_image.h>

namespace nox::tools {

namespace {
constexpr int channels = 3;
constexpr int dimmedShift = 2;  // unchanged pixels are shown at a quarter of their brightness
}  // namespace

Image downscale(const Image& image, int factor) {
    Image small;
    small.width = image.width / factor;
    small.height = image.height / factor;
    small.rgb.resize(static_cast<size_t>(small.width) * small.height * channels);
    const int area = factor * factor;
    for (int y = 0; y < small.height; ++y) {
        for (int x = 0; x < small.width; ++x) {
            int sum[channels] = {};
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const std::uint8_t* p = image.pixel(x * factor + dx, y * factor + dy);
                    for (int c = 0; c < channels; ++c) sum[c] += p[c];
                }
            }
            std::uint8_t* out = &small.rgb[(static_cast<size_t>(y) * small.width + x) * channels];
            for (int c = 0; c < channels; ++c) out[c] = static_cast<std::uint8_t>((sum[c] + area / 2) / area);
        }
    }
    return small;
}

bool loadPng(const std::string& path, Image& image) {
    image = Image{};
    int width = 0, height = 0, found = 0;
    stbi_set_flip_vertically_on_load(1);  // bottom row first, as savePng's input
    stbi_uc* data = stbi_load(path.c_str(), &width, &height, &found, channels);
    stbi_set_flip_vertically_on_load(0);
    if (data == nullptr) return false;
    image.width = width;
    image.height = height;
    image.rgb.assign(data, data + static_cast<size_t>(width) * height * channels);
    stbi_image_free(data);
    return true;
}

Comparison compareImages(const Image& expected, const Image& actual, int channelThreshold) {
    Comparison result;
    if (expected.width != actual.width || expected.height != actual.height || expected.rgb.empty()) return result;
    result.difference = expected;
    result.largestDifference = 0;
    size_t differing = 0;
    const size_t pixels = static_cast<size_t>(expected.width) * expected.height;
    for (size_t i = 0; i < pixels; ++i) {
        int largest = 0;
        for (int c = 0; c < channels; ++c) {
            largest = std::max(largest, std::abs(expected.rgb[i * channels + c] - actual.rgb[i * channels + c]));
        }
        result.largestDifference = std::max(result.largestDifference, largest);
        std::uint8_t* shown = &result.difference.rgb[i * channels];
        if (largest > channelThreshold) {
            ++differing;
            shown[0] = 255;
            shown[1] = 0;
            shown[2] = 0;
        } else {
            for (int c = 0; c < channels; ++c) shown[c] = static_cast<std::uint8_t>(shown[c] >> dimmedShift);
        }
    }
    result.differingShare = static_cast<double>(differing) / static_cast<double>(pixels);
    return result;
}

}  // namespace nox::tools
