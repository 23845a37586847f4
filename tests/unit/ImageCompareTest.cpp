#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tools/ImageCompare.h"
#include "tools/StepTimer.h"

namespace {

using nox::tools::Image;

Image solid(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    Image image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height; ++i) image.rgb.insert(image.rgb.end(), {r, g, b});
    return image;
}

void setPixel(Image& image, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

TEST(Downscale, AveragesEachBlockAndDropsPartialBlocks) {
    Image image = solid(5, 4, 0, 0, 0);
    setPixel(image, 0, 0, 255, 100, 3);  // one of four pixels of the first block
    setPixel(image, 3, 2, 40, 40, 40);
    const Image small = nox::tools::downscale(image, 2);
    ASSERT_EQ(small.width, 2);
    ASSERT_EQ(small.height, 2);
    EXPECT_EQ(small.pixel(0, 0)[0], 64);  // 255 / 4, rounded
    EXPECT_EQ(small.pixel(0, 0)[1], 25);
    EXPECT_EQ(small.pixel(0, 0)[2], 1);
    EXPECT_EQ(small.pixel(1, 1)[0], 10);
    EXPECT_EQ(small.pixel(1, 0)[0], 0);
}

TEST(CompareImages, PixelByPixelCountsOnlyPixelsBeyondTheThresholdAndMarksThem) {
    const Image expected = solid(10, 10, 100, 100, 100);
    Image actual = expected;
    setPixel(actual, 1, 1, 108, 100, 100);  // within a threshold of 8
    setPixel(actual, 2, 2, 100, 100, 109);  // one past it
    setPixel(actual, 3, 3, 0, 100, 100);
    const nox::tools::Comparison c = nox::tools::compareImages(expected, actual, nox::tools::exactTo(8, 0.02));
    EXPECT_DOUBLE_EQ(c.differingShare, 2.0 / 100.0);
    EXPECT_EQ(c.largestDifference, 100);
    EXPECT_TRUE(c.matches(nox::tools::exactTo(8, 0.02)));
    EXPECT_FALSE(c.matches(nox::tools::exactTo(8, 0.01)));
    EXPECT_EQ(c.difference.pixel(2, 2)[0], 255);
    EXPECT_EQ(c.difference.pixel(2, 2)[1], 0);
    EXPECT_EQ(c.difference.pixel(1, 1)[0], 25);  // unchanged pixels shown dimmed
}

// A bright bar on a dark ground, its left edge at `edge`.
Image bar(int edge, std::uint8_t ground = 20) {
    Image image = solid(48, 32, ground, ground, ground);
    for (int y = 0; y < image.height; ++y)
        for (int x = edge; x < edge + 6; ++x) setPixel(image, x, y, 230, 220, 200);
    return image;
}

TEST(CompareImages, FramesMatchAcrossAOnePixelShiftOfAnEdgeAndOneLevelOfRounding) {
    const nox::tools::Tolerance& tolerance = nox::tools::frameTolerance;
    Image rounded = bar(21, 21);
    EXPECT_TRUE(nox::tools::compareImages(bar(20), bar(21), tolerance).matches(tolerance));
    EXPECT_TRUE(nox::tools::compareImages(bar(20), rounded, tolerance).matches(tolerance));
    // Compared in place, the shifted edge is two whole columns apart.
    EXPECT_FALSE(nox::tools::compareImages(bar(20), bar(21), nox::tools::exactTo(4, 0.005))
                     .matches(nox::tools::exactTo(4, 0.005)));
}

TEST(CompareImages, FramesDifferWhenSomethingMovesAppearsVanishesOrARegionShifts) {
    const nox::tools::Tolerance& tolerance = nox::tools::frameTolerance;
    EXPECT_FALSE(nox::tools::compareImages(bar(20), bar(23), tolerance).matches(tolerance));

    // A one-pixel line is gone: every pixel of the actual frame has a dark
    // neighbour in the reference, but the line has none in the actual frame.
    Image line = solid(48, 32, 20, 20, 20), empty = line;
    for (int y = 0; y < line.height; ++y) setPixel(line, 30, y, 250, 250, 250);
    EXPECT_FALSE(nox::tools::compareImages(line, empty, tolerance).matches(tolerance));
    EXPECT_FALSE(nox::tools::compareImages(empty, line, tolerance).matches(tolerance));

    // Three levels darker everywhere: within the threshold pixel by pixel, but
    // not in the regions' means.
    const nox::tools::Comparison darker = nox::tools::compareImages(bar(20, 23), bar(20, 20), tolerance);
    EXPECT_DOUBLE_EQ(darker.differingShare, 0.0);
    EXPECT_NEAR(darker.largestRegionMean, 3.0, 1e-9);
    EXPECT_FALSE(darker.matches(tolerance));
    EXPECT_EQ(darker.difference.pixel(0, 0)[2], 0);  // the region is framed in yellow
    EXPECT_EQ(darker.difference.pixel(0, 0)[1], 255);
}

TEST(CompareImages, PicturesOfDifferentSizesNeverMatch) {
    const nox::tools::Comparison c =
        nox::tools::compareImages(solid(4, 4, 0, 0, 0), solid(4, 5, 0, 0, 0), nox::tools::exactTo(255, 1.0));
    EXPECT_FALSE(c.sameSize);
    EXPECT_FALSE(c.matches(nox::tools::exactTo(255, 1.0)));
}

TEST(LoadPng, ReadsBackWhatSavePngWroteAndRefusesWhatIsNotAPicture) {
    Image image = solid(3, 2, 10, 20, 30);
    setPixel(image, 2, 1, 200, 0, 0);  // top right once written top row first
    const std::string path = (std::filesystem::temp_directory_path() / "noxvale_compare_test.png").string();
    ASSERT_TRUE(nox::tools::savePng(image, path));
    Image read;
    ASSERT_TRUE(nox::tools::loadPng(path, read));
    EXPECT_EQ(read.width, 3);
    EXPECT_EQ(read.height, 2);
    EXPECT_EQ(read.rgb, image.rgb);
    std::remove(path.c_str());

    EXPECT_FALSE(nox::tools::loadPng(path, read));
    EXPECT_TRUE(read.rgb.empty());
}

TEST(Percentile, TakesTheNearestRankOfTheSortedSamples) {
    const std::vector<double> samples{5, 1, 4, 2, 3};
    EXPECT_EQ(nox::tools::percentile(samples, 0.5), 3);
    EXPECT_EQ(nox::tools::percentile(samples, 0.99), 5);
    EXPECT_EQ(nox::tools::percentile(samples, 0.0), 1);
    std::vector<double> hundred;
    for (int i = 1; i <= 100; ++i) hundred.push_back(i);
    EXPECT_EQ(nox::tools::percentile(hundred, 0.99), 99);
    EXPECT_EQ(nox::tools::percentile({}, 0.5), 0);
}

}  // namespace
