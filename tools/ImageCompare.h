#pragma once

#include <string>

#include "tools/FrameCapture.h"

namespace nox::tools {

// Averages each factor x factor block into one pixel; a partial block at the
// right or top edge is dropped.
Image downscale(const Image& image, int factor);

// Reads a PNG written by savePng; false (and an empty image) when the file is
// missing or not an image.
bool loadPng(const std::string& path, Image& image);

// What two renders of the same frame may differ by without the picture having
// changed. Conformant drivers may place an edge a fraction of a pixel apart,
// filter textures with less precision and round one level the other way; a
// real change moves something by more than a pixel, or shifts the brightness
// or colour of a whole region by a few levels.
struct Tolerance {
    // A pixel matches when a pixel of the other picture no further than
    // `shiftRadius` away (in x and in y) is within `channelThreshold` levels
    // in every channel. Both pictures are checked against each other, so a
    // thin feature that vanished differs as much as one that appeared.
    int channelThreshold = 4;
    int shiftRadius = 1;
    // Share of the pixels that may match nothing.
    double allowedShare = 0.005;
    // Square regions of this side whose mean signed difference, in any
    // channel, may be at most `regionMeanLimit` levels: a surface turned a
    // few levels brighter or darker. The mean is taken over the pixels that
    // match, each counting at most `outlierWeight` levels, in the regions
    // where at least `regionMatchedShare` of the pixels match; where more
    // differ, they are already counted one by one.
    int regionSide = 16;
    double regionMeanLimit = 2.5;
    int outlierWeight = 8;
    double regionMatchedShare = 0.9;
};

// The reference frames' tolerance.
inline constexpr Tolerance frameTolerance{};

// Pixel by pixel, at most this many levels apart, no shift, no region bound.
constexpr Tolerance exactTo(int levels, double allowedShare) {
    return Tolerance{levels, 0, allowedShare, 0, 0.0, 0, 0.0};
}

struct Comparison {
    bool sameSize = false;
    double differingShare = 1.0;     // pixels that match nothing / all pixels
    int largestDifference = 255;     // over every channel of every pixel, in place
    double largestRegionMean = 255;  // the worst region's mean signed difference, in levels
    // The differing pixels in red, the regions beyond the mean bound framed
    // in yellow, over a dimmed copy of the reference.
    Image difference;

    bool matches(const Tolerance& tolerance) const;
};

Comparison compareImages(const Image& reference, const Image& actual, const Tolerance& tolerance);

}  // namespace nox::tools
