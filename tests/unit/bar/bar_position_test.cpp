#include "bar/bar_position.h"

#include <gtest/gtest.h>

#include "bar/fake_bar_platform.h"

namespace zorv {
namespace {

using testing::FakeBarPlatform;

TEST(BarPosition, RightGapIsAutomaticUnlessForced) {
    EXPECT_EQ(zorv::GetNewBarRight(false, 0, 18), 58);
    EXPECT_EQ(zorv::GetNewBarRight(false, 100, 18), 100);
    EXPECT_EQ(zorv::GetNewBarRight(true, 100, 18), 58);
}

TEST(BarPosition, RightAlignedWhenItFitsElseFromTheLeftEdge) {
    auto fits = zorv::PlaceHorizontally(78, 58, 1280);
    EXPECT_EQ(fits.Left, 1280 - 78 - 58);
    EXPECT_EQ(fits.VisibleWidth, 78);
    auto exact = zorv::PlaceHorizontally(1222, 58, 1280);
    EXPECT_EQ(exact.Left, 0);
    EXPECT_EQ(exact.VisibleWidth, 1222);
    auto wider = zorv::PlaceHorizontally(1223, 58, 1280);
    EXPECT_EQ(wider.Left, 0);
    EXPECT_EQ(wider.VisibleWidth, 1222);
}

TEST(BarPosition, OnlyALowTaskbarAtTheTopPushesTheBarDown) {
    EXPECT_TRUE(LooksLikeTopTaskbar("Shell_TrayWnd", 0));
    EXPECT_TRUE(LooksLikeTopTaskbar("BaseBar", -2));
    EXPECT_FALSE(LooksLikeTopTaskbar("Shell_TrayWnd", 1));
    EXPECT_FALSE(LooksLikeTopTaskbar("Notepad", 0));
    EXPECT_EQ(TopOffsetBelowTaskbar(ScreenRect{-2, -2, 1284, 32}), 30);
    EXPECT_EQ(TopOffsetBelowTaskbar(ScreenRect{0, 0, 1280, 64}), 64);
    EXPECT_EQ(TopOffsetBelowTaskbar(ScreenRect{0, 0, 1280, 65}), 0);
    EXPECT_EQ(TopOffsetBelowTaskbar(std::nullopt), 0);
}

ResizePlace Resize(std::int32_t w, ScreenRect bar, std::int32_t scroll = 0,
                   std::int32_t delta = 0) {
    return ResizeBarPlace({w, 58, 1280, bar, scroll, delta});
}

TEST(BarResize, CasesKeepTheRightEndAtItsGap) {
    auto d = Resize(300, {100, 0, 200, 20});
    EXPECT_EQ(d.Cases, "D");
    EXPECT_EQ(d.Left, 922);
    EXPECT_EQ(d.Width, 300);
    // Fits the screen but not with R: the bar keeps its own gap of 20 ...
    auto f = Resize(1250, {960, 0, 300, 20});
    EXPECT_EQ(f.Cases, "F");
    EXPECT_EQ(f.Left, 10);
    EXPECT_EQ(f.Width, 1250);
    EXPECT_EQ(f.ScrollOffset, 0);
    // ... or, when that gap is too wide for it, is cut at the left.
    auto e = Resize(1250, {922, 0, 300, 20});
    EXPECT_EQ(e.Cases, "E");
    EXPECT_EQ(e.Left, 0);
    EXPECT_EQ(e.Width, 1222);
    EXPECT_EQ(e.ScrollOffset, 28);
    // A gap over 500 pixels is no gap: R is used.
    EXPECT_EQ(Resize(1250, {100, 0, 300, 20}).Width, 1222);
    auto b = Resize(1500, {0, 0, 1222, 20}, 100, 50);
    EXPECT_EQ(b.Cases, "B");
    EXPECT_EQ(b.Width, 1222);
    EXPECT_EQ(b.ScrollOffset, 278);
    // Left at or past sw - g: the offset follows the change of W.
    auto c = Resize(1500, {1260, 0, 0, 20}, 100, 50);
    EXPECT_EQ(c.Cases, "C");
    EXPECT_EQ(c.ScrollOffset, 150);
    auto g = Resize(1500, {1260, 0, 0, 20}, 5, -10);
    EXPECT_EQ(g.Cases, "CG");
    EXPECT_EQ(g.ScrollOffset, 0);
}

struct PlacerFixture : ::testing::Test {
    FakeBarPlatform fake;
    Settings settings;
    Reducer reducer{fake, settings, PlatformTraits{}};
    BarPlacer placer{fake, settings, reducer};
};

TEST_F(PlacerFixture, SetBarPosPlacesRightAlignedBelowATopTaskbar) {
    fake.windowAt = [](ScreenPoint p) { return p == kTaskbarProbe ? WindowId{9} : WindowId{50}; };
    fake.classes[9] = "Shell_TrayWnd";
    fake.rects[9] = {-2, -2, 1284, 32};
    fake.taskbar = ScreenRect{-2, -2, 1284, 32};
    fake.rect = {-3000, 0, 22, 20};
    placer.SetBarPos();
    EXPECT_EQ(fake.rect, (ScreenRect{922, 30, 300, 20}));
    EXPECT_EQ(placer.State().RightGap, 58);
    EXPECT_EQ(placer.State().ScrollOffset, 0);
    EXPECT_FALSE(placer.State().PlacementPending);
    EXPECT_EQ(fake.calls.back(), "Repaint");
}

TEST_F(PlacerFixture, SetBarPosHidesTheLeftEndOfATooWideBar) {
    fake.size.ContentWidth = 1222;
    placer.SetBarPos();
    EXPECT_EQ(fake.rect, (ScreenRect{0, 0, 1222, 20}));
    EXPECT_EQ(placer.State().ScrollOffset, 0);
    fake.size.ContentWidth = 1223;
    placer.SetBarPos();
    EXPECT_EQ(fake.rect, (ScreenRect{0, 0, 1222, 20}));
    EXPECT_EQ(placer.State().ScrollOffset, 1);
}

TEST_F(PlacerFixture, SetBarPosRepeatsWhileTheScreenWidthChanges) {
    std::vector<std::int32_t> widths = {1024, 1280, 1280, 1280};
    std::size_t read = 0;
    fake.screenWidthSource = [&] { return widths[std::min(read++, widths.size() - 1)]; };
    placer.SetBarPos();
    EXPECT_EQ(fake.sleeps, (std::vector<std::uint32_t>{10, 10}));
    EXPECT_EQ(fake.rect.Left, 922);
    // A width that never settles does not hang the bar.
    fake.screenWidthSource = [&] { return static_cast<std::int32_t>(1000 + read++); };
    fake.sleeps.clear();
    placer.SetBarPos();
    EXPECT_EQ(fake.sleeps.size(), static_cast<std::size_t>(BarPlacer::kMaxSetBarPosPasses));
}

TEST_F(PlacerFixture, SetBarPosKeepsTheHiddenStates) {
    settings.AutoRed = 1;
    settings.LineColor = 4;
    placer.SetBarPos();
    EXPECT_EQ(fake.rect, (ScreenRect{922, -20, 300, 21}));
    EXPECT_EQ(reducer.State().CurrentAlpha, 16);
    // Faded and moved up, with no taskbar above: back down, faded.
    settings.AutoRed = 2;
    settings.LineColor = 0;
    settings.TransparencyIdx = 1;
    placer.SetBarPos();
    EXPECT_EQ(fake.rect, (ScreenRect{922, 0, 300, 20}));
    EXPECT_EQ(reducer.State().CurrentAlpha, 127);
    // With SoftRed the reduce animates from the new horizontal place.
    settings.AutoRed = 1;
    settings.SoftRed = true;
    fake.screenWidth = 1024;
    fake.moves.clear();
    placer.SetBarPos();
    EXPECT_EQ(fake.moves.front(), (ScreenRect{666, 0, 300, 20}));
    EXPECT_EQ(fake.moves[1], (ScreenRect{666, -1, 300, 20}));
    EXPECT_EQ(fake.rect, (ScreenRect{666, -20, 300, 21}));
}

TEST_F(PlacerFixture, BarResizeKeepsTheVerticalPlacement) {
    fake.size.ContentWidth = 1500;
    fake.rect = {0, -20, 1222, 21};
    placer.BarResize(10);
    EXPECT_EQ(fake.rect, (ScreenRect{0, -20, 1222, 21}));
    EXPECT_EQ(placer.State().ScrollOffset, 278);
    fake.rect = {0, 30, 1222, 20};
    fake.size.ContentWidth = 400;
    placer.BarResize(-1100);
    EXPECT_EQ(fake.rect, (ScreenRect{822, 30, 400, 20}));
    EXPECT_EQ(placer.State().ScrollOffset, 0);
    EXPECT_EQ(fake.calls.back(), "BarRedraw");
}

TEST_F(PlacerFixture, SetBarRightMovesToTheNewGap) {
    fake.rect = {922, 0, 300, 20};
    settings.ForcedBarRight = 100;
    placer.SetBarRight();
    EXPECT_EQ(fake.rect, (ScreenRect{880, 0, 300, 20}));
    EXPECT_EQ(placer.State().PreviousRightGap, 100);
    // No longer fitting: resized, and placed anew from the left edge.
    fake.size.ContentWidth = 1200;
    placer.SetBarRight();
    EXPECT_EQ(fake.rect, (ScreenRect{0, 0, 1180, 20}));
    EXPECT_EQ(placer.State().ScrollOffset, 20);
}

TEST_F(PlacerFixture, MouseAtAScreenEdgeScrollsAWideBar) {
    fake.size.ContentWidth = 1500;
    fake.rect = {0, 0, 1222, 20};
    placer.State().ScrollOffset = 278;
    fake.border = ScreenBorder::Left;
    fake.onSleep = [&](std::uint32_t) {
        if (fake.sleeps.size() == 6) fake.border = ScreenBorder::None;  // 20 ms, then 5 steps
    };
    placer.BarMoveLeftRight();
    EXPECT_EQ(placer.State().ScrollOffset, 273);
    EXPECT_EQ(fake.rect, (ScreenRect{0, 0, 1227, 20}));
    EXPECT_EQ(std::vector<std::uint32_t>(fake.sleeps.begin() + 1, fake.sleeps.end()),
              std::vector<std::uint32_t>(5, 6));
    EXPECT_FALSE(reducer.State().TransitionBusy);
    // Back at the right edge: until the right-aligned offset again.
    fake.onSleep = nullptr;
    fake.border = ScreenBorder::Right;
    placer.BarMoveLeftRight();
    EXPECT_EQ(placer.State().ScrollOffset, 278);
    EXPECT_EQ(fake.rect, (ScreenRect{0, 0, 1222, 20}));
    // A running transition keeps the bar still.
    fake.border = ScreenBorder::Left;
    reducer.State().TransitionBusy = true;
    placer.BarMoveLeftRight();
    EXPECT_EQ(placer.State().ScrollOffset, 278);
}

}  // namespace
}  // namespace zorv
