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

TEST(CompareImages, CountsOnlyPixelsBeyondTheThresholdAndMarksThem) {
    const Image expected = solid(10, 10, 100, 100, 100);
    Image actual = expected;
    setPixel(actual, 1, 1, 108, 100, 100);  // within a threshold of 8
    setPixel(actual, 2, 2, 100, 100, 109);  // one past it
    setPixel(actual, 3, 3, 0, 100, 100);
    const nox::tools::Comparison c = nox::tools::compareImages(expected, actual, 8);
    EXPECT_DOUBLE_EQ(c.differingShare, 2.0 / 100.0);
    EXPECT_EQ(c.largestDifference, 100);
    EXPECT_EQ(c.difference.pixel(2, 2)[0], 255);
    EXPECT_EQ(c.difference.pixel(2, 2)[1], 0);
    EXPECT_EQ(c.difference.pixel(1, 1)[0], 25);  // unchanged pixels shown dimmed
}

TEST(CompareImages, PicturesOfDifferentSizesNeverMatch) {
    const nox::tools::Comparison c =
        nox::tools::compareImages(solid(4, 4, 0, 0, 0), solid(4, 5, 0, 0, 0), 255);
    EXPECT_EQ(c.differingShare, 1.0);
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
