#include "tools/ImageCompare.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

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

namespace {

int largestChannelDifference(const std::uint8_t* a, const std::uint8_t* b) {
    int largest = 0;
    for (int c = 0; c < channels; ++c) largest = std::max(largest, std::abs(a[c] - b[c]));
    return largest;
}

// Whether `image`'s pixel at (x, y) has a counterpart in `other` within the
// tolerance's shift and threshold.
bool hasCounterpart(const Image& image, const Image& other, int x, int y, const Tolerance& tolerance) {
    const std::uint8_t* p = image.pixel(x, y);
    const int r = tolerance.shiftRadius;
    for (int oy = std::max(0, y - r); oy <= std::min(other.height - 1, y + r); ++oy) {
        for (int ox = std::max(0, x - r); ox <= std::min(other.width - 1, x + r); ++ox) {
            if (largestChannelDifference(p, other.pixel(ox, oy)) <= tolerance.channelThreshold) return true;
        }
    }
    return false;
}

void paint(Image& image, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * channels];
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

// The largest mean signed difference of one channel over one region, in
// levels; regions beyond the limit are framed in `difference`.
double compareRegions(const Image& reference, const Image& actual, const std::vector<bool>& matched,
                      const Tolerance& tolerance, Image& difference) {
    const int side = tolerance.regionSide;
    double largest = 0.0;
    for (int top = 0; top < reference.height; top += side) {
        for (int left = 0; left < reference.width; left += side) {
            const int right = std::min(reference.width, left + side);
            const int bottom = std::min(reference.height, top + side);
            long sum[channels] = {};
            long counted = 0;
            for (int y = top; y < bottom; ++y) {
                for (int x = left; x < right; ++x) {
                    if (!matched[static_cast<size_t>(y) * reference.width + x]) continue;
                    ++counted;
                    for (int c = 0; c < channels; ++c) {
                        const int signedDifference = actual.pixel(x, y)[c] - reference.pixel(x, y)[c];
                        sum[c] += std::clamp(signedDifference, -tolerance.outlierWeight, tolerance.outlierWeight);
                    }
                }
            }
            const long area = static_cast<long>(right - left) * (bottom - top);
            if (counted < area * tolerance.regionMatchedShare) continue;
            double regionMean = 0.0;
            for (long channelSum : sum)
                regionMean = std::max(regionMean, std::abs(static_cast<double>(channelSum)) / counted);
            largest = std::max(largest, regionMean);
            if (regionMean <= tolerance.regionMeanLimit) continue;
            for (int x = left; x < right; ++x) {
                paint(difference, x, top, 255, 255, 0);
                paint(difference, x, bottom - 1, 255, 255, 0);
            }
            for (int y = top; y < bottom; ++y) {
                paint(difference, left, y, 255, 255, 0);
                paint(difference, right - 1, y, 255, 255, 0);
            }
        }
    }
    return largest;
}

}  // namespace

bool Comparison::matches(const Tolerance& tolerance) const {
    return sameSize && differingShare <= tolerance.allowedShare &&
           (tolerance.regionSide == 0 || largestRegionMean <= tolerance.regionMeanLimit);
}

Comparison compareImages(const Image& reference, const Image& actual, const Tolerance& tolerance) {
    Comparison result;
    if (reference.width != actual.width || reference.height != actual.height || reference.rgb.empty()) return result;
    result.sameSize = true;
    result.difference = reference;
    result.largestDifference = 0;
    size_t differing = 0;
    std::vector<bool> matched(static_cast<size_t>(reference.width) * reference.height);
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            result.largestDifference =
                std::max(result.largestDifference, largestChannelDifference(reference.pixel(x, y), actual.pixel(x, y)));
            if (hasCounterpart(actual, reference, x, y, tolerance) &&
                hasCounterpart(reference, actual, x, y, tolerance)) {
                matched[static_cast<size_t>(y) * reference.width + x] = true;
                std::uint8_t* shown = &result.difference.rgb[(static_cast<size_t>(y) * reference.width + x) * channels];
                for (int c = 0; c < channels; ++c) shown[c] = static_cast<std::uint8_t>(shown[c] >> dimmedShift);
            } else {
                ++differing;
                paint(result.difference, x, y, 255, 0, 0);
            }
        }
    }
    const size_t pixels = static_cast<size_t>(reference.width) * reference.height;
    result.differingShare = static_cast<double>(differing) / static_cast<double>(pixels);
    result.largestRegionMean =
        tolerance.regionSide > 0 ? compareRegions(reference, actual, matched, tolerance, result.difference) : 0.0;
    return result;
}

}  // namespace nox::tools
