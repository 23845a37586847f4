#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "AssetFiles.h"

namespace {

using nox::test::loadPicture;
using nox::test::Picture;
using nox::test::resourceDir;

bool powerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

Picture texture(const std::string& name) {
    return loadPicture(resourceDir() / "textures" / name);
}

TEST(Images, DecodeWithTheirChannelCountAndPowerOfTwoSizes) {
    for (const auto& file : nox::test::imageFiles()) {
        const Picture p = texture(file.path);
        ASSERT_FALSE(p.data.empty()) << file.path;
        EXPECT_EQ(p.channels, file.channels) << file.path;
        EXPECT_TRUE(powerOfTwo(p.width) && powerOfTwo(p.height)) << file.path << " " << p.width << "x" << p.height;
    }
}

// Mean absolute difference between columns a and b (wrapping), over all channels.
double columnDifference(const Picture& p, int a, int b) {
    double sum = 0.0;
    for (int y = 0; y < p.height; ++y) {
        for (int c = 0; c < 3; ++c) sum += std::abs(p.at(a % p.width, y, c) - p.at(b % p.width, y, c));
    }
    return sum / (p.height * 3.0);
}

double rowDifference(const Picture& p, int a, int b) {
    double sum = 0.0;
    for (int x = 0; x < p.width; ++x) {
        for (int c = 0; c < 3; ++c) sum += std::abs(p.at(x, a % p.height, c) - p.at(x, b % p.height, c));
    }
    return sum / (p.width * 3.0);
}

// A tiling texture changes no more from its last column to its first than
// between any two neighbouring columns inside it.
TEST(Images, GroundAndWaterMapsTileWithoutSeams) {
    for (const char* name : {"snow.jpg", "waterDUDV.png", "normal.png"}) {
        const Picture p = texture(name);
        ASSERT_FALSE(p.data.empty()) << name;
        double inside = 0.0;
        for (int k = 1; k < 8; ++k) inside += columnDifference(p, k * p.width / 8, k * p.width / 8 + 1) / 7.0;
        EXPECT_LE(columnDifference(p, p.width - 1, p.width), 2.0 * inside + 1.0) << name;
        double insideRows = 0.0;
        for (int k = 1; k < 8; ++k) insideRows += rowDifference(p, k * p.height / 8, k * p.height / 8 + 1) / 7.0;
        EXPECT_LE(rowDifference(p, p.height - 1, p.height), 2.0 * insideRows + 1.0) << name;
    }
}

TEST(Images, WaterMapsAreCentredAndPointOutOfTheSurface) {
    const Picture dudv = texture("waterDUDV.png");
    const Picture normal = texture("normal.png");
    double meanR = 0.0, meanG = 0.0, minBlue = 255.0;
    for (int y = 0; y < dudv.height; ++y) {
        for (int x = 0; x < dudv.width; ++x) {
            meanR += dudv.at(x, y, 0);
            meanG += dudv.at(x, y, 1);
            minBlue = std::min<double>(minBlue, normal.at(x, y, 2));
        }
    }
    const double n = static_cast<double>(dudv.width) * dudv.height;
    // Offsets centred on 0.5: a slope's average over a periodic surface is zero.
    EXPECT_NEAR(meanR / n, 127.5, 3.0);
    EXPECT_NEAR(meanG / n, 127.5, 3.0);
    // Every normal has a positive Z (blue above the 0.5 of a flat tangent plane).
    EXPECT_GT(minBlue, 160.0);
}

TEST(Images, MoonIsAnOpaqueDiscOnATransparentSquare) {
    const Picture moon = texture("moon.png");
    const int w = moon.width;
    const int h = moon.height;
    for (int corner : {0, 1, 2, 3}) {
        EXPECT_EQ(moon.at(corner % 2 ? w - 1 : 0, corner / 2 ? h - 1 : 0, 3), 0) << "corner " << corner;
    }
    EXPECT_EQ(moon.at(w / 2, h / 2, 3), 255);
    // Soft edge: along a radius alpha falls through intermediate values.
    int partial = 0;
    for (int x = w / 2; x < w; ++x) {
        const int a = moon.at(x, h / 2, 3);
        if (a > 0 && a < 255) ++partial;
    }
    EXPECT_GE(partial, 2);
    EXPECT_LE(partial, w / 16);
    // The disc shows darker maria against bright highlands.
    int darkest = 255, brightest = 0;
    for (int y = h / 4; y < 3 * h / 4; ++y) {
        for (int x = w / 4; x < 3 * w / 4; ++x) {
            darkest = std::min(darkest, moon.at(x, y, 1));
            brightest = std::max(brightest, moon.at(x, y, 1));
        }
    }
    EXPECT_GT(brightest - darkest, 60);
}

// Summed brightness of one frame of an 8 x 8 atlas, and the brightest texel on
// the frame's border (which must be black: the particles blend with GL_MAX).
struct FrameStats {
    double total = 0.0;
    int border = 0;
};

FrameStats frameStats(const Picture& atlas, int frame) {
    const int size = atlas.width / 8;
    const int ox = (frame % 8) * size;
    const int oy = (frame / 8) * size;
    FrameStats s;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int v =
                std::max({atlas.at(ox + x, oy + y, 0), atlas.at(ox + x, oy + y, 1), atlas.at(ox + x, oy + y, 2)});
            s.total += v;
            if (x == 0 || y == 0 || x == size - 1 || y == size - 1) s.border = std::max(s.border, v);
        }
    }
    return s;
}

TEST(Images, ParticleAtlasesHoldSixtyFourFramesOnBlack) {
    for (const char* name : {"fireAtlas.png", "particleSnow.png"}) {
        const Picture atlas = texture(name);
        ASSERT_EQ(atlas.width, atlas.height) << name;
        ASSERT_EQ(atlas.width % 8, 0) << name;
        for (int frame = 0; frame < 64; ++frame) {
            const FrameStats s = frameStats(atlas, frame);
            EXPECT_EQ(s.border, 0) << name << " frame " << frame;
            EXPECT_GT(s.total, 0.0) << name << " frame " << frame;
        }
    }
}

TEST(Images, FireFadesFromHotBirthToDimEnd) {
    const Picture fire = texture("fireAtlas.png");
    double previousRow = 1e18;
    for (int row = 0; row < 8; ++row) {
        double sum = 0.0;
        for (int k = 0; k < 8; ++k) sum += frameStats(fire, row * 8 + k).total;
        EXPECT_LT(sum, previousRow) << "row " << row;
        previousRow = sum;
    }
    // Birth is yellow-white: the first frame holds texels with strong blue too.
    int hottestBlue = 0;
    const int size = fire.width / 8;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) hottestBlue = std::max(hottestBlue, fire.at(x, y, 2));
    }
    EXPECT_GT(hottestBlue, 150);
}

TEST(Images, LensFlareSpritesFadeOutBeforeTheirEdges) {
    for (int i = 1; i <= 7; ++i) {
        const std::string name = "lensflares/lf" + std::to_string(i) + ".png";
        const Picture p = texture(name);
        int edgeAlpha = 0;
        int peakAlpha = 0;
        for (int k = 0; k < p.width; ++k) {
            edgeAlpha =
                std::max({edgeAlpha, p.at(k, 0, 3), p.at(k, p.height - 1, 3), p.at(0, k, 3), p.at(p.width - 1, k, 3)});
        }
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) peakAlpha = std::max(peakAlpha, p.at(x, y, 3));
        }
        EXPECT_EQ(edgeAlpha, 0) << name;
        EXPECT_GT(peakAlpha, 40) << name;
    }
}

}  // namespace
