#include "app/startup.h"

#include <gtest/gtest.h>

using zorv::IdleSample;
using zorv::W4IdleState;

TEST(W4Idle, QuietSystemShowsOnThirdTick) {
    W4IdleState s;
    const IdleSample quiet{40, 10'000'000, 30};
    EXPECT_FALSE(W4IdleTick(s, quiet));  // history starts at zeros
    EXPECT_FALSE(W4IdleTick(s, quiet));  // two-tick-old sample still zero
    EXPECT_TRUE(W4IdleTick(s, quiet));
    EXPECT_EQ(s.Ticks, 3);
}

TEST(W4Idle, BusyThresholdsAgainstOneAndTwoTicksAgo) {
    W4IdleState s;
    s.OneTickAgo = s.TwoTicksAgo = {40, 1'000'000, 30};
    EXPECT_FALSE(SystemIsBusy(s, {41, 1'000'000 + 0x7FFFF, 32}));
    EXPECT_TRUE(SystemIsBusy(s, {42, 1'000'000, 30}));
    EXPECT_TRUE(SystemIsBusy(s, {40, 1'000'000 - 0x80000, 30}));
    EXPECT_TRUE(SystemIsBusy(s, {40, 1'000'000, 33}));
    // Slow drifts are caught against the sample two ticks ago.
    s.OneTickAgo = {42, 1'000'000, 32};
    EXPECT_FALSE(SystemIsBusy(s, {43, 1'000'000, 33}));
    EXPECT_TRUE(SystemIsBusy(s, {44, 1'000'000, 33}));
    EXPECT_TRUE(SystemIsBusy(s, {43, 1'000'000, 34}));
}

TEST(W4Idle, BusySystemShowsOnSixteenthTick) {
    W4IdleState s;
    int shownAt = 0;
    for (int i = 1; i <= 20 && !shownAt; ++i) {
        if (W4IdleTick(s, {i * 10, 0, i * 10})) shownAt = i;
    }
    EXPECT_EQ(shownAt, 16);
}

TEST(Startup, EarlyValuesAndVersionRecord) {
    EXPECT_TRUE(zorv::EarlyFlag("1"));
    EXPECT_TRUE(zorv::EarlyFlag("10"));
    EXPECT_FALSE(zorv::EarlyFlag("0"));
    EXPECT_FALSE(zorv::EarlyFlag(""));
    EXPECT_FALSE(zorv::EarlyFlag(" 1"));
    EXPECT_EQ(zorv::EarlyNumber("6"), 6);
    EXPECT_EQ(zorv::EarlyNumber(" 12abc"), 12);
    EXPECT_EQ(zorv::EarlyNumber("x"), 0);
    EXPECT_EQ(zorv::EarlyNumber("99999999999"), INT32_MAX);

    auto xp = zorv::MakeWindowsVersion(2, 5, 1, 2600, false, false);
    EXPECT_EQ(xp.Code, 0x501u);
    EXPECT_TRUE(xp.Win2000OrLater);
    EXPECT_FALSE(xp.VistaOrLater);
    auto me = zorv::MakeWindowsVersion(1, 4, 90, 3000, false, false);
    EXPECT_FALSE(me.NT);
    EXPECT_FALSE(me.Win2000OrLater);
    EXPECT_TRUE(zorv::MakeWindowsVersion(2, 10, 0, 19045, true, false).Is64);
}
