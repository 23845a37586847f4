#include <gtest/gtest.h>

#include "app/KeyToggle.h"

TEST(KeyToggle, FiresOncePerPressHoweverLongTheKeyIsHeld) {
    nox::KeyToggle toggle;
    const bool frames[] = {false, true, true, true, true, false, false, true, false};
    const bool expected[] = {false, true, false, false, false, false, false, true, false};
    for (size_t i = 0; i < std::size(frames); ++i) EXPECT_EQ(toggle.pressed(frames[i]), expected[i]) << "frame " << i;
}

TEST(KeyToggle, AKeyAlreadyDownOnTheFirstFrameCountsAsAPress) {
    nox::KeyToggle toggle;
    EXPECT_TRUE(toggle.pressed(true));
    EXPECT_FALSE(toggle.pressed(true));
}
