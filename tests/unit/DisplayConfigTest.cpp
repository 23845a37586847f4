#include <gtest/gtest.h>

#include <cstring>

#include "app/DisplayConfig.h"

using nox::DisplayConfig;

TEST(DisplayConfig, MainIsWindowedHdWithTheFullscreenToggle) {
    const DisplayConfig& d = nox::mainDisplay;
    EXPECT_EQ(d.windowWidth, 1280);
    EXPECT_EQ(d.windowHeight, 720);
    EXPECT_FALSE(d.startsFullscreen);
    EXPECT_TRUE(d.hasFullscreenToggle);
    EXPECT_EQ(d.waterTargetWidth, 1280);
    EXPECT_EQ(d.waterTargetHeight, 720);
    EXPECT_FLOAT_EQ(d.lastSegmentSpeed, 0.1f);
    EXPECT_FLOAT_EQ(d.tree5Z, 5.0f);
}

TEST(DisplayConfig, BIsAlwaysFullscreenFullHdWithHalfSizeWaterTargets) {
    const DisplayConfig& d = nox::displayB;
    EXPECT_EQ(d.windowWidth, 1920);
    EXPECT_EQ(d.windowHeight, 1080);
    EXPECT_TRUE(d.startsFullscreen);
    EXPECT_FALSE(d.hasFullscreenToggle);
    EXPECT_EQ(d.waterTargetWidth, 960);
    EXPECT_EQ(d.waterTargetHeight, 540);
    EXPECT_FLOAT_EQ(d.lastSegmentSpeed, 0.05f);
    EXPECT_FLOAT_EQ(d.tree5Z, 9.0f);
}

TEST(DisplayConfig, CIsAlwaysWindowedWithHalfSizeWaterTargets) {
    const DisplayConfig& d = nox::displayC;
    EXPECT_EQ(d.windowWidth, 1280);
    EXPECT_EQ(d.windowHeight, 768);
    EXPECT_FALSE(d.startsFullscreen);
    EXPECT_FALSE(d.hasFullscreenToggle);
    EXPECT_EQ(d.waterTargetWidth, 640);
    EXPECT_EQ(d.waterTargetHeight, 384);
    EXPECT_FLOAT_EQ(d.lastSegmentSpeed, 0.05f);
    EXPECT_FLOAT_EQ(d.tree5Z, 9.0f);
}

TEST(DisplayConfig, TheBuildOptionSelectsTheActiveConfiguration) {
#if defined(NOXVALE_DISPLAY_B)
    const char* expected = "B";
#elif defined(NOXVALE_DISPLAY_C)
    const char* expected = "C";
#else
    const char* expected = "MAIN";
#endif
    EXPECT_STREQ(nox::activeDisplay.name, expected);
}
