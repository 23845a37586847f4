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

// How far apart two pictures of the same size are. A pixel differs when any
// of its channels differs by more than the threshold; `difference` shows the
// differing pixels in red over a dimmed copy of the expected picture.
struct Comparison {
    double differingShare = 1.0;  // differing pixels / all pixels
    int largestDifference = 255;  // over every channel of every pixel
    Image difference;
};

Comparison compareImages(const Image& expected, const Image& actual, int channelThreshold);

}  // namespace nox::tools
