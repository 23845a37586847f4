// Compares a rendered frame with its reference as the reference-frame tests
// do, tolerating what conformant drivers may differ in (see ImageCompare.h).
//
//   compare_frames REFERENCE ACTUAL [DIFFERENCE.png]
//
// Prints the figures. Exit codes: 0 the frames match, 1 they do not, 2 bad
// input (wrong arguments, a file that is not a PNG picture, sizes that differ,
// a difference picture that could not be written).
#include <cstdio>
#include <string>

#include "tools/ImageCompare.h"

namespace {

constexpr int matching = 0;
constexpr int mismatching = 1;
constexpr int badInput = 2;

bool load(const char* path, nox::tools::Image& image) {
    if (nox::tools::loadPng(path, image)) return true;
    std::fprintf(stderr, "compare_frames: cannot read %s as a picture\n", path);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s REFERENCE ACTUAL [DIFFERENCE.png]\n", argv[0]);
        return badInput;
    }
    nox::tools::Image reference, actual;
    if (!load(argv[1], reference) || !load(argv[2], actual)) return badInput;
    if (reference.width != actual.width || reference.height != actual.height) {
        std::fprintf(stderr, "compare_frames: %s is %d x %d but %s is %d x %d\n", argv[1], reference.width,
                     reference.height, argv[2], actual.width, actual.height);
        return badInput;
    }

    const nox::tools::Tolerance& tolerance = nox::tools::frameTolerance;
    const nox::tools::Comparison comparison = nox::tools::compareImages(reference, actual, tolerance);
    const bool matches = comparison.matches(tolerance);
    std::printf(
        "%s: %.3f %% of pixels differ (allowed %.3f %%), largest region mean %.2f levels (allowed %.2f), "
        "largest difference %d\n",
        matches ? "match" : "MISMATCH", comparison.differingShare * 100.0, tolerance.allowedShare * 100.0,
        comparison.largestRegionMean, tolerance.regionMeanLimit, comparison.largestDifference);
    if (argc == 4 && !nox::tools::savePng(comparison.difference, argv[3])) {
        std::fprintf(stderr, "compare_frames: cannot write %s\n", argv[3]);
        return badInput;
    }
    return matches ? matching : mismatching;
}
