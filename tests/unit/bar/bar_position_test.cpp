#include "bar/bar_position.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "bar/bar_colours.h"
#include "bar/fake_bar_platform.h"
#include "bar/position_tick.h"

namespace zorv {
namespace {

using testing::FakeBarPlatform;

TEST(BarPosition, OnlyALowTaskbarAtTheTopPushesTheBarDown) {
    EXPECT_TRUE(LooksLikeTopTaskbar("Shell_TrayWnd", 0) && LooksLikeTopTaskbar("BaseBar", -2));
    EXPECT_FALSE(LooksLikeTopTaskbar("Shell_TrayWnd", 1) || LooksLikeTopTaskbar("Notepad", 0));
    EXPECT_EQ(TopOffsetBelowTaskbar(ScreenRect{0, 0, 1280, 64}), 64);
    EXPECT_EQ(TopOffsetBelowTaskbar(ScreenRect{0, 0, 1280, 65}), 0);
    EXPECT_EQ(TopOffsetBelowTaskbar(std::nullopt), 0);
    // A taskbar of 30 rows at 96 dpi is 60 at 200 %, still one to go below.
    EXPECT_EQ(TopOffsetBelowTaskbar(ScreenRect{0, 0, 2560, 96}, Dpi{192}), 96);
    EXPECT_EQ(TopOffsetBelowTaskbar(ScreenRect{0, 0, 2560, 130}, Dpi{192}), 0);
}

// "cases left width offset" of a resize to width w on a 1280 screen, R = 58.
std::string Resize(std::int32_t w, ScreenRect bar, std::int32_t scroll = 0,
                   std::int32_t delta = 0) {
    ResizePlace p = ResizeBarPlace({w, 58, 1280, bar, scroll, delta});
    return p.Cases + " " + std::to_string(p.Left) + " " + std::to_string(p.Width) + " " +
           std::to_string(p.ScrollOffset);
}

TEST(BarResize, CasesKeepTheRightEndAtItsGap) {
    EXPECT_EQ(Resize(300, {100, 0, 200, 20}), "D 922 300 0");
    // Fits the screen but not with R: the bar keeps its own gap of 20 ...
    EXPECT_EQ(Resize(1250, {960, 0, 300, 20}), "F 10 1250 0");
    // ... or, when that gap is too wide for it, is cut at the left.
    EXPECT_EQ(Resize(1250, {922, 0, 300, 20}), "E 0 1222 28");
    // A gap over 500 pixels is no gap: R is used.
    EXPECT_EQ(Resize(1250, {100, 0, 300, 20}), "E 0 1222 28");
    EXPECT_EQ(Resize(1500, {0, 0, 1222, 20}, 100, 50), "B 0 1222 278");
    // Left at or past sw - g: the offset follows the change of W, not below 0.
    EXPECT_EQ(Resize(1500, {1260, 0, 0, 20}, 100, 50), "C 0 1260 150");
    EXPECT_EQ(Resize(1500, {1260, 0, 0, 20}, 5, -10), "CG 0 1260 0");
}

struct PlacerFixture : ::testing::Test {
    FakeBarPlatform fake;
    Settings settings;
    Reducer reducer{fake, settings, PlatformTraits{}};
    BarPlacer placer{fake, settings, reducer};

    void ExpectPlaced(ScreenRect rect, std::int32_t scrollOffset) {
        EXPECT_EQ(fake.rect, rect);
        EXPECT_EQ(placer.State().ScrollOffset, scrollOffset);
    }
};

TEST_F(PlacerFixture, SetBarPosPlacesRightAlignedBelowATopTaskbar_CutsTheLeftOfAWideBar) {
    fake.windowAt = [](ScreenPoint p) { return p == kTaskbarProbe ? WindowId{9} : WindowId{50}; };
    fake.classes[9] = "Shell_TrayWnd";
    fake.rects[9] = {-2, -2, 1284, 32};
    fake.taskbar = ScreenRect{-2, -2, 1284, 32};
    fake.rect = {-3000, 0, 22, 20};
    placer.SetBarPos();
    ExpectPlaced({922, 30, 300, 20}, 0);
    EXPECT_EQ(placer.State().RightGap, 58);
    EXPECT_FALSE(placer.State().PlacementPending);
    EXPECT_EQ(fake.did["Repaint"], 2);  // placed, then once more at the end
    fake.windowAt = nullptr;  // A wide bar: end to end it scrolls; here the first hidden pixel.
    fake.size.ContentWidth = 1223;
    placer.SetBarPos();
    ExpectPlaced({0, 0, 1222, 20}, 1);
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

// A reduced or a faded bar stays so on a new screen size (end to end).
TEST_F(PlacerFixture, SetBarPosKeepsTheHiddenStates) {
    settings.AutoRed = 2;  // Faded and moved up, with no taskbar above: back down, faded.
    settings.TransparencyIdx = 1;
    fake.rect = {922, -20, 300, 21};
    reducer.State().CurrentAlpha = 16;
    placer.SetBarPos();
    EXPECT_EQ(std::tuple(fake.rect, reducer.State().CurrentAlpha),
              std::tuple(ScreenRect{922, 0, 300, 20}, 127));
    settings.AutoRed = 1;  // With SoftRed the reduce animates from the new horizontal place.
    settings.SoftRed = true;
    fake.screenWidth = 1024;
    fake.moves.clear();
    placer.SetBarPos();
    EXPECT_EQ(fake.moves.front(), (ScreenRect{666, 0, 300, 20}));
    EXPECT_EQ(fake.moves.at(1), (ScreenRect{666, -1, 300, 20}));
    EXPECT_EQ(fake.rect, (ScreenRect{666, -20, 300, 21}));
}

TEST_F(PlacerFixture, BarResizeKeepsTheVerticalPlacement_SetBarRightMovesToTheNewGap) {
    fake.size.ContentWidth = 1500;
    fake.rect = {0, -20, 1222, 21};
    placer.BarResize(10);
    ExpectPlaced({0, -20, 1222, 21}, 278);
    fake.rect = {0, 30, 1222, 20};
    fake.size.ContentWidth = 400;
    placer.BarResize(-1100);
    ExpectPlaced({822, 30, 400, 20}, 0);
    EXPECT_EQ(fake.did["BarRedraw"], 2);
    fake.size.ContentWidth = 300;
    fake.rect = {922, 0, 300, 20};
    settings.ForcedBarRight = 100;
    placer.SetBarRight();
    EXPECT_EQ(fake.rect, (ScreenRect{880, 0, 300, 20}));
    EXPECT_EQ(placer.State().PreviousRightGap, 100);
    // No longer fitting: resized, and placed anew from the left edge.
    fake.size.ContentWidth = 1200;
    placer.SetBarRight();
    ExpectPlaced({0, 0, 1180, 20}, 20);
    // A smaller gap lets it fit again: nothing stays scrolled, the redraw shows it.
    settings.ForcedBarRight = 50;
    const int redraws = fake.did["BarRedraw"];
    placer.SetBarRight();
    ExpectPlaced({30, 0, 1200, 20}, 0);
    EXPECT_EQ(placer.State().PlacedLeft, 30);
    EXPECT_GT(fake.did["BarRedraw"], redraws);
    // The screen shrank below the forced gap: the bar keeps a cell on screen.
    fake.screenWidth = 800;
    settings.ForcedBarRight = 1000;
    placer.SetBarPos();
    EXPECT_EQ(fake.rect.Left, 0);
    EXPECT_EQ(fake.rect.Width, 21);
    EXPECT_EQ(placer.State().ScrollOffset, 1200 - 21);
}

TEST_F(PlacerFixture, MouseAtAScreenEdgeScrollsAWideBar) {
    fake.size.ContentWidth = 1500;
    fake.rect = {0, 0, 1222, 20};
    placer.State().ScrollOffset = 278;
    fake.border = ScreenBorder::Left;
    fake.onSleep = [&] {
        if (fake.sleeps.size() == 6) fake.border = ScreenBorder::None;  // 20 ms, then 5 steps
    };
    placer.BarMoveLeftRight();
    ExpectPlaced({0, 0, 1227, 20}, 273);
    EXPECT_FALSE(reducer.State().TransitionBusy);
    EXPECT_EQ(fake.timerResolution, 0);
    fake.onSleep = nullptr;  // Back at the right edge: until the right-aligned offset again.
    fake.border = ScreenBorder::Right;
    placer.BarMoveLeftRight();
    ExpectPlaced({0, 0, 1222, 20}, 278);
    fake.border = ScreenBorder::Left;  // A running transition keeps the bar still.
    reducer.State().TransitionBusy = true;
    placer.BarMoveLeftRight();
    EXPECT_EQ(placer.State().ScrollOffset, 278);
}

using Points = std::vector<ScreenPoint>;
using Did = std::map<std::string, int>;

// The points that tell whether the bar is covered: clamped to the screen and
// kept out of the right gap; the top row only when it is below the screen edge.
TEST(CornerTest, PointsStayOnTheScreenAndOutOfTheRightGap) {
    const CornerPoints c = CornerTestPoints({-5, -20, 1290, 40}, 1280, 15, 58);
    EXPECT_EQ((Points{c.TopLeft, c.BottomRight}), (Points{{0, 0}, {1221, 14}}));
    EXPECT_EQ(TopmostSamplePoints({922, 0, 300, 20}), (Points{{1221, 19}, {922, 19}}));
}

TEST(ColourCheck, DepthChangesRebuildOnlyFromPaletteModes) {
    Settings s;
    s.LastColor3DFace = 0xC0C0C0;
    s.LastBitsPerPixel = 16;
    ColourCheck c = CheckColours(s, 0xC0C0C0, 32, false);
    EXPECT_TRUE(c.DepthChanged && !c.Rebuild);
    s.LastBitsPerPixel = 8;
    EXPECT_TRUE(CheckColours(s, 0xC0C0C0, 32, false).Rebuild);
    EXPECT_FALSE(CheckColours(s, 0xC0C0C0, 32, true).Rebuild);  // a DirectX game
    s.RefreshOnCDS = false;
    EXPECT_FALSE(CheckColours(s, 0xC0C0C0, 32, false).Rebuild);
    s.LastBitsPerPixel = 32;  // A new scheme rebuilds (end to end), unless the colour is forced.
    s.ForcedColor3DFace = 0x808080;
    EXPECT_FALSE(CheckColours(s, 0xD4D0C8, 32, false).SchemeChanged);
    EXPECT_TRUE(CheckColours(s, 0xD4D0C8, 4, false).SixteenColours);
}

struct TickFixture : PlacerFixture {
    PositionTicker ticker{fake, settings, reducer, placer, PlatformTraits{}};

    TickFixture() {
        settings.LastBitsPerPixel = 32;
        settings.LastColor3DFace = 0xC0C0C0;
        ticker.State().StoredScreenHeight = 1024;
        fake.rect = {922, 0, 300, 20};
        placer.State().RightGap = 58;
    }
    // A tick, seeing a new foreground window when asked; the fake forgets
    // what happened before.
    void Tick(bool newForeground = true) {
        fake.foreground += newForeground ? 1 : 0;
        fake.Forget();
        ticker.Tick(0);
    }
};

TEST_F(TickFixture, PendingSaveWaitsForAQuietBar_NothingMoreWithoutANewForeground) {
    fake.configChanged = true;
    for (bool* busy : {&fake.mouseOnBar, &fake.buttonPressed, &reducer.State().TransitionBusy}) {
        *busy = true;
        Tick();
        EXPECT_EQ(fake.did["Save"], 0);
        *busy = false;
    }
    fake.screenHeight = 768;  // not looked at while the foreground stays
    Tick(false);
    EXPECT_EQ(fake.did, (Did{{"Save", 1}}));
    EXPECT_EQ(fake.posTimerMs, kPosTimerSlowMs);
    Tick(false);
    fake.foreground = fake.bar;
    ticker.Tick(0);
    EXPECT_TRUE(fake.did.empty() && fake.moves.empty());
}

TEST_F(TickFixture, ACoveredBarIsPutOnTopAgain_ButNotDuringATransition) {
    fake.windowAt = [](ScreenPoint) { return WindowId{50}; };
    Tick();
    EXPECT_EQ(fake.did["ZBottomTopTopmost"], 1);
    EXPECT_EQ(fake.sleeps.front(), 1u);
    EXPECT_EQ(fake.did["ZNotTopmostTopmost"], 1);  // sampling finds the other window too
    fake.windowAt = nullptr;
    Tick();
    EXPECT_EQ(fake.did["ZBottomTopTopmost"] + fake.did["ZNotTopmostTopmost"], 0);
    fake.topmost = false;
    fake.windowAt = [](ScreenPoint) { return WindowId{50}; };
    reducer.State().TransitionBusy = true;
    Tick();
    EXPECT_EQ(fake.did["ZBottomTopTopmost"] + fake.did["ZNotTopmostTopmost"], 0);
}

TEST_F(TickFixture, NewScreenHeightPlacesTheBarTwiceAndSlowsTheTimer_NotUnderDirectX) {
    fake.screenHeight = 768;
    fake.screenWidth = 1024;
    Tick();
    EXPECT_EQ(std::tuple(fake.rect.Left, fake.posTimerMs), std::tuple(666, kPosTimerSlowMs));
    Tick(), Tick();  // placed once more at the next new foreground window
    fake.dxForeground = true;
    fake.screenWidth = 1280;
    fake.screenHeight = 1024;
    Tick();
    EXPECT_EQ(fake.rect.Left, 666);  // left for a later tick
    fake.dxForeground = false;
    Tick();
    EXPECT_EQ(fake.rect.Left, 922);
}

TEST_F(TickFixture, ColourChangesRebuildAndSlowTheTimer_NotUnderDirectX) {
    settings.LastBitsPerPixel = 8;  // from a palette mode
    Tick();
    EXPECT_EQ(fake.did, (Did{{"BarRedraw", 1}, {"RebuildColours", 1}, {"Repaint", 1}}));
    EXPECT_EQ(fake.posTimerMs, kPosTimerSlowMs);
    EXPECT_EQ(settings.LastBitsPerPixel, 32);
    fake.bpp = 16;  // no rebuild, still slowed down
    Tick();
    EXPECT_TRUE(fake.did.empty());
    EXPECT_EQ(fake.posTimerMs, kPosTimerSlowMs);
    EXPECT_EQ(settings.LastBitsPerPixel, 16);
    fake.face3D = 0xD4D0C8;  // A new scheme under a DirectX window waits until the window is gone.
    fake.dxForeground = true;
    Tick();
    EXPECT_EQ(fake.did["RebuildColours"], 0);
    fake.dxForeground = false;
    Tick();
    EXPECT_EQ(fake.did["RebuildColours"], 1);
    EXPECT_EQ(settings.LastColor3DFace, 0xD4D0C8);
}

TEST_F(TickFixture, StyleChangesAskForTheVideoCheck_MenusRebuild_WorkingSetStaysLarge) {
    fake.styles[fake.foreground] = 0x10CF0000;
    Tick(false);
    EXPECT_EQ(fake.did["CheckVideo"], 1);
    Tick(false);
    EXPECT_EQ(fake.did["CheckVideo"], 0);
    fake.styles[50] = 0x14000000;  // the big window under the bar
    Tick(false);
    EXPECT_EQ(fake.did["CheckVideo"], 1);

    ticker.State().RebuildMenusPending = true;
    fake.minWorkingSet = 1000;
    Tick();
    EXPECT_EQ(fake.did["RebuildMenus"], 1);
    EXPECT_EQ(fake.posTimerMs, kPosTimerSlowMs);
    EXPECT_EQ(fake.workingSet, std::pair(kWorkingSetMinimum, kWorkingSetMaximum));
    fake.workingSet = {};
    PositionTicker win9x{fake, settings, reducer, placer, PlatformTraits{true, true, false}};
    win9x.Tick(0);
    EXPECT_EQ(fake.workingSet.first, 0u);
}

TEST_F(TickFixture, EnsureVisibleReassertsOnlyWhenTheMouseIsElsewhere) {
    fake.cursor = {1000, 5};
    ticker.EnsureVisibleTick();
    EXPECT_EQ(fake.did, (Did{{"StopEnsureVisible", 1}}));
    fake.cursor = {10, 500};
    ticker.EnsureVisibleTick();
    EXPECT_EQ(fake.did["TopNow"], 1);
}

TEST(BarMouseRules, RetopAfterASecond_ScrollWhenIdle_AReducedBarAtTheTopGoesBackUp) {
    std::string got;
    for (auto [now, last] : {std::pair{6000, 5000}, {6001, 5000}, {1001, 0}})
        got += RetopAfterPause(now, last) ? '1' : '0';
    for (auto [dragging, button, pos] :
         {std::tuple{false, false, 0}, {true, false, 0}, {false, true, 0}, {false, false, 1},
          {false, false, -1}})
        got += ScrollAtEdgeAllowed(dragging, button, pos) ? '1' : '0';
    EXPECT_EQ(got, "011" "10000");
    const std::int32_t h = 22;
    EXPECT_EQ(ReducedBarTopAfterMove(1, true, {100, 0, 500, h + 1}, h), -h);
    for (auto [autoRed, reduced, bar] :
         {std::tuple{1, true, ScreenRect{100, 0, 500, h}}, {1, true, {100, 1, 500, h + 1}},
          {2, true, {100, 0, 500, h + 1}}, {1, false, {100, 0, 500, h + 1}}})
        EXPECT_EQ(ReducedBarTopAfterMove(autoRed, reduced, bar, h), std::nullopt) << autoRed;
}

TEST(BarColours, CacheValidOnlyForStoredFaceAndDepth_NewValuesAreKept) {
    Settings s;
    s.LastColor3DFace = 0xC0C0C0;
    s.LastBitsPerPixel = 32;
    EXPECT_TRUE(TakeBarColours(s, 0xC0C0C0, 32));

    EXPECT_FALSE(TakeBarColours(s, 0xC0C0C0, 16));
    EXPECT_EQ(s.LastBitsPerPixel, 16);
    EXPECT_FALSE(TakeBarColours(s, 0xF0F0F0, 16));
    EXPECT_EQ(s.LastColor3DFace, 0xF0F0F0);
    // Once taken, the same colours validate the picture built under them.
    EXPECT_TRUE(TakeBarColours(s, 0xF0F0F0, 16));
}

}  // namespace
}  // namespace zorv
