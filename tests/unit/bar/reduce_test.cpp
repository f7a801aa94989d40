#include "bar/reduce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/startup.h"
#include "bar/fake_bar_platform.h"

namespace zorv {
namespace {

using testing::FakeBarPlatform;

std::vector<std::int32_t> Range(std::int32_t from, std::int32_t to, std::int32_t step) {
    std::vector<std::int32_t> v;
    for (std::int32_t a = from; step > 0 ? a <= to : a >= to; a += step) v.push_back(a);
    return v;
}

struct ReduceFixture : ::testing::Test {
    FakeBarPlatform fake;
    Settings settings;
    PlatformTraits traits;
    Reducer reducer{fake, settings, traits};

    void PlaceReduced() { fake.rect = {500, -20, 300, 21}; }
};

TEST(FadeSequence, StepsFromOpaqueToTheLineAndBack) {
    auto out = Range(240, 16, -16);
    EXPECT_EQ(FadeSequence(255, 16), out);
    auto in = Range(30, 240, 15);
    in.push_back(255);
    EXPECT_EQ(FadeSequence(16, 255), in);
    // count = 19 / 2 - 1 = 8.5 rounds to the even 8: the walk starts at 16.
    EXPECT_EQ(FadeSequence(19, 0).front(), 16);
    // Every table entry ends exactly on its target, moving one way only.
    for (std::int32_t faded : lAlphas) {
        for (auto [from, to] : {std::pair{255, faded}, std::pair{faded, 255}}) {
            auto seq = FadeSequence(from, to);
            EXPECT_EQ(seq.back(), to);
            EXPECT_GE(seq.size(), 13u);
            EXPECT_LE(seq.size(), 17u);
            // The first step already moves away from `from`, never past it.
            EXPECT_LT(std::abs(seq.front() - to), std::abs(from - to));
            EXPECT_TRUE(std::is_sorted(seq.begin(), seq.end()) ||
                        std::is_sorted(seq.rbegin(), seq.rend()));
        }
    }
}

TEST_F(ReduceFixture, FadeNowSleepsBetweenStepsAndRestoresPriorityByPolicy) {
    settings.TransparencyIdx = 3;
    reducer.FadeNow(false, "test");
    EXPECT_EQ(fake.alphas.size(), 15u);
    EXPECT_EQ(fake.alphas.front(), 240);
    EXPECT_EQ(reducer.State().CurrentAlpha, 16);
    EXPECT_EQ(fake.sleeps, std::vector<std::uint32_t>(14, 10));
    EXPECT_EQ(fake.calls.front(), "High");
    EXPECT_EQ(fake.calls.back(), "Normal");

    // Already there: nothing at all.
    fake.calls.clear();
    reducer.FadeNow(false, "test");
    EXPECT_TRUE(fake.calls.empty());

    settings.ProcessPrio = 2;  // stays high
    reducer.FadeNow(true, "test");
    EXPECT_EQ(reducer.State().CurrentAlpha, 255);
    EXPECT_EQ(fake.Count("Normal"), 0);
}

TEST_F(ReduceFixture, SetAlphaValueSendsOnlyChanges) {
    reducer.SetAlphaValue(255);  // nothing sent yet: goes out
    reducer.SetAlphaValue(255);
    reducer.SetAlphaValue(16);
    reducer.SetAlphaValue(16);
    reducer.SetAlphaValue(255);
    EXPECT_EQ(fake.alphas, (std::vector<std::int32_t>{255, 16, 255}));
}

TEST_F(ReduceFixture, SoftReduceSlidesUpPixelByPixelThenSnapsToTheLine) {
    settings.SoftRed = true;
    settings.AutoRed = 1;
    settings.LineColor = 4;
    reducer.ReduceNow();
    // 18 steps of one pixel (H - 2), then the reduced placement.
    ASSERT_GE(fake.moves.size(), 19u);
    for (std::int32_t i = 1; i <= 18; ++i) {
        EXPECT_EQ(fake.moves[static_cast<std::size_t>(i - 1)], (ScreenRect{500, -i, 300, 20}));
    }
    EXPECT_EQ(fake.rect, (ScreenRect{500, -20, 300, 21}));
    EXPECT_EQ(fake.sleeps, std::vector<std::uint32_t>(18, 7));
    // The transparent line goes to 16 on the last step; ReduceTo1 does not repeat it.
    EXPECT_EQ(fake.alphas, std::vector<std::int32_t>{16});
    EXPECT_FALSE(reducer.State().Reducing);
    EXPECT_FALSE(reducer.State().TransitionBusy);
    EXPECT_EQ(fake.Count("BeginRes"), fake.Count("EndRes"));
    EXPECT_EQ(fake.calls.back(), "TopNow");
}

TEST_F(ReduceFixture, SoftReduceStopsWhenARestoreTakesOver) {
    settings.SoftRed = true;
    settings.AutoRed = 1;
    // The fourth step's sleep lets the mouse touch the bar: a nested restore.
    fake.onSleep = [&](std::uint32_t) {
        if (fake.sleeps.size() == 4) reducer.UnReduce(false);
    };
    reducer.ReduceNow();
    EXPECT_EQ(fake.rect, (ScreenRect{500, 0, 300, 20}));  // the restore's placement stays
    EXPECT_FALSE(reducer.State().Reducing);
    EXPECT_FALSE(reducer.State().TransitionBusy);
    EXPECT_EQ(std::count_if(fake.moves.begin(), fake.moves.end(),
                            [](const ScreenRect& r) { return r.Height == 21; }),
              0);
    EXPECT_EQ(fake.Count("TopNow"), 0);
    EXPECT_EQ(fake.Count("BeginRes"), fake.Count("EndRes"));
}

TEST_F(ReduceFixture, SlowSoftReduceFinishesAtOnce) {
    settings.SoftRed = true;
    settings.AutoRed = 1;
    fake.msPerMove = 31;  // one step over 30 ms
    reducer.ReduceNow();
    EXPECT_EQ(fake.moves.front().Top, -1);
    EXPECT_EQ(fake.moves[1], (ScreenRect{500, -20, 300, 21}));
    EXPECT_EQ(std::count(fake.sleeps.begin(), fake.sleeps.end(), 7u), 0);

    // Steps that are each fast enough but add up to over 500 ms.
    fake = FakeBarPlatform{};
    fake.msPerMove = 29;
    reducer.ReduceNow();
    const auto steps = std::count_if(fake.moves.begin(), fake.moves.end(),
                                     [](const ScreenRect& r) { return r.Height == 20; });
    EXPECT_GT(steps, 10);
    EXPECT_LT(steps, 18);
    EXPECT_EQ(fake.rect, (ScreenRect{500, -20, 300, 21}));
}

TEST_F(ReduceFixture, ReduceNowRefusesWhileHeldOpen) {
    fake.menuShown = true;
    reducer.ReduceNow();
    fake.menuShown = false;
    fake.alt = true;
    reducer.ReduceNow();
    EXPECT_TRUE(fake.moves.empty());
    EXPECT_FALSE(reducer.State().TransitionBusy);
    fake.alt = false;
    reducer.State().Reducing = true;
    reducer.ReduceNow();
    EXPECT_TRUE(fake.moves.empty());
    reducer.State().Reducing = false;
    settings.SoftRed = true;
    fake.rect.Top = 5;  // below a taskbar: no animation, straight to the line
    reducer.ReduceNow();
    EXPECT_EQ(fake.moves, (std::vector<ScreenRect>{{500, -20, 300, 21}}));
}

TEST_F(ReduceFixture, AutoReduceTickWaitsWhileTheBarIsInUse) {
    settings.AutoRed = 1;
    fake.mouseOnBar = true;
    reducer.AutoReduceTick();
    fake.mouseOnBar = false;
    fake.openForms = 2;
    reducer.AutoReduceTick();
    fake.openForms = 1;
    reducer.State().Dragging = true;
    reducer.AutoReduceTick();
    EXPECT_TRUE(fake.calls.empty());  // not even the timer is stopped
    reducer.State().Dragging = false;
    settings.ProcessPrio = 1;
    reducer.AutoReduceTick();
    EXPECT_EQ(fake.calls.front(), "StopAutoReduce");
    EXPECT_EQ(fake.rect.Top, -20);
    EXPECT_EQ(fake.calls[fake.calls.size() - 3], "Normal");
    EXPECT_EQ(fake.calls[fake.calls.size() - 2], "TopNow");
    EXPECT_EQ(fake.calls.back(), "EndActivationCycle");
}

TEST_F(ReduceFixture, AutoReduceTickFadesAndMovesUpAtTheLastLevel) {
    settings.AutoRed = 2;
    settings.TransparencyIdx = 2;
    reducer.AutoReduceTick();
    EXPECT_EQ(reducer.State().CurrentAlpha, 63);
    EXPECT_EQ(fake.rect.Top, 0);
    settings.TransparencyIdx = 3;
    reducer.AutoReduceTick();
    EXPECT_EQ(reducer.State().CurrentAlpha, 16);
    EXPECT_EQ(fake.rect, (ScreenRect{500, -20, 300, 21}));
}

TEST(ReduceWithoutLayers, FadeModeOnlyStopsTheTimer) {
    FakeBarPlatform fake;
    Settings settings;
    settings.AutoRed = 2;
    Reducer reducer(fake, settings, PlatformTraits{false, true, false});
    reducer.AutoReduceTick();
    EXPECT_EQ(fake.Count("StopAutoReduce"), 1);
    EXPECT_TRUE(fake.alphas.empty());
    EXPECT_TRUE(fake.moves.empty());
}

TEST_F(ReduceFixture, UnReduceBringsTheBarBack) {
    settings.AutoRed = 1;
    settings.LineColor = 4;
    PlaceReduced();
    reducer.UnReduce(true);
    EXPECT_EQ(fake.rect, (ScreenRect{500, 0, 300, 20}));
    EXPECT_EQ(fake.alphas, (std::vector<std::int32_t>{128, 255}));
    EXPECT_EQ(fake.Count("StartAutoReduce"), 1);
    EXPECT_EQ(fake.Count("StartPos"), 1);
    EXPECT_EQ(fake.Count("RecordForeground"), 1);
    EXPECT_FALSE(reducer.State().TransitionBusy);

    // Soft: height first, then one pixel down per 7 ms from -20 to 0.
    settings.SoftRed = true;
    PlaceReduced();
    fake.moves.clear();
    fake.sleeps.clear();
    reducer.UnReduce(false);
    ASSERT_EQ(fake.moves.size(), 22u);
    EXPECT_EQ(fake.moves[0], (ScreenRect{500, -20, 300, 20}));
    EXPECT_EQ(fake.moves[21], (ScreenRect{500, 0, 300, 20}));
    EXPECT_EQ(fake.sleeps, std::vector<std::uint32_t>(21, 7));

    // Re-entered from inside a running restore: refused, busy stays set.
    reducer.State().Restoring = true;
    fake.moves.clear();
    PlaceReduced();
    reducer.UnReduce(false);
    EXPECT_TRUE(fake.moves.empty());
    EXPECT_TRUE(reducer.State().TransitionBusy);
}

TEST_F(ReduceFixture, UnReduceOfAFadedBarFadesIn) {
    settings.AutoRed = 2;
    settings.TransparencyIdx = 3;
    reducer.FadeNow(false, "test");
    reducer.ReduceTo1();
    fake.alphas.clear();
    reducer.UnReduce(false);
    EXPECT_EQ(fake.rect, (ScreenRect{500, 0, 300, 20}));
    EXPECT_EQ(fake.alphas.front(), 30);
    EXPECT_EQ(reducer.State().CurrentAlpha, 255);
}

TEST_F(ReduceFixture, LineRestoresOnlyAfterTheMouseRestedOnIt) {
    settings.AutoRed = 1;
    settings.RestoreDelay = 200;
    PlaceReduced();
    fake.cursor = {600, 0};
    // Sliding sideways 3 pixels during the wait: ignored entirely.
    fake.onSleep = [&](std::uint32_t) { fake.cursor.X = 603; };
    EXPECT_FALSE(reducer.OnMouseMove(100, 20));
    EXPECT_TRUE(fake.moves.empty());
    EXPECT_EQ(fake.Count("StartAutoReduce"), 0);
    // Two pixels are tolerated.
    fake.cursor = {600, 0};
    fake.onSleep = [&](std::uint32_t) { fake.cursor.X = 602; };
    fake.sleeps.clear();
    EXPECT_TRUE(reducer.OnMouseMove(100, 20));
    EXPECT_EQ(fake.sleeps, std::vector<std::uint32_t>(200, 1));
    EXPECT_EQ(fake.rect.Top, 0);

    // Leaving downwards, or a button held: ignored.
    PlaceReduced();
    fake.onSleep = [&](std::uint32_t) { fake.cursor.Y = 1; };
    EXPECT_FALSE(reducer.OnMouseMove(100, 20));
    fake.onSleep = nullptr;
    fake.cursor = {600, 0};
    fake.buttonDown = true;
    EXPECT_FALSE(reducer.OnMouseMove(100, 20));
    EXPECT_EQ(fake.rect.Top, -20);
}

TEST_F(ReduceFixture, RestoreDelayIsCappedAndZeroRestoresAtOnce) {
    settings.AutoRed = 1;
    PlaceReduced();
    settings.RestoreDelay = 900;
    EXPECT_TRUE(reducer.OnMouseMove(100, 20));
    EXPECT_EQ(fake.sleeps.size(), 500u);
    settings.RestoreDelay = 0;
    PlaceReduced();
    fake.sleeps.clear();
    EXPECT_TRUE(reducer.OnMouseMove(100, 20));
    EXPECT_TRUE(fake.sleeps.empty());
    EXPECT_EQ(fake.rect.Top, 0);
}

TEST_F(ReduceFixture, MouseMoveRules) {
    settings.AutoRed = 1;
    PlaceReduced();
    // A drag passed over the line just now: the timer restarts, no restore.
    reducer.State().LastDragOverMs = fake.now - 50;
    EXPECT_TRUE(reducer.OnMouseMove(100, 20));
    EXPECT_EQ(fake.rect.Top, -20);
    EXPECT_EQ(fake.Count("StartAutoReduce"), 1);
    // The simulated "mouse is outside" move restarts nothing.
    fake.calls.clear();
    fake.rect = {500, 0, 300, 20};
    EXPECT_TRUE(reducer.OnMouseMove(30000, 5));
    EXPECT_TRUE(fake.calls.empty());
    // Any real move over a faded bar fades it in.
    settings.AutoRed = 2;
    reducer.FadeNow(false, "test");
    EXPECT_TRUE(reducer.OnMouseMove(100, 5));
    EXPECT_EQ(reducer.State().CurrentAlpha, 255);
}

TEST_F(ReduceFixture, UnScrollAndFadeShowsAtOnce) {
    settings.AutoRed = 2;
    reducer.FadeNow(false, "test");
    PlaceReduced();
    fake.alphas.clear();
    fake.sleeps.clear();
    reducer.UnScrollAndFade();
    EXPECT_EQ(fake.alphas, (std::vector<std::int32_t>{220, 255}));
    EXPECT_EQ(fake.rect, (ScreenRect{500, 0, 300, 20}));
    EXPECT_TRUE(fake.sleeps.empty());
}

TEST(RefreshProbePoints, WalksByTheStepUntilTheEndIsPassed) {
    using P = std::vector<ScreenPoint>;
    EXPECT_EQ(RefreshProbePoints({0, 5}, {100, 5}, 40), (P{{0, 5}, {40, 5}, {80, 5}}));
    EXPECT_EQ(RefreshProbePoints({0, 5}, {80, 5}, 40), (P{{0, 5}, {40, 5}, {80, 5}}));
    EXPECT_EQ(RefreshProbePoints({80, 5}, {0, 5}, 40), (P{{80, 5}, {40, 5}, {0, 5}}));
    EXPECT_EQ(RefreshProbePoints({7, 7}, {7, 7}, 40), (P{{7, 7}}));
    EXPECT_EQ(RefreshProbePoints({0, 0}, {10, 30}, 10), (P{{0, 0}, {10, 10}}));
}

TEST(ExposedPaint, MessagesDependOnPlatformCaptionAndProcess) {
    EXPECT_TRUE(ExposedPaintFor(true, false, "").Paint);
    EXPECT_TRUE(ExposedPaintFor(true, false, "").NonClient);
    EXPECT_FALSE(ExposedPaintFor(true, true, "").Paint);
    EXPECT_TRUE(ExposedPaintFor(true, true, "").NonClient);
    EXPECT_TRUE(ExposedPaintFor(false, true, "x.exe").NonClient);
    EXPECT_FALSE(ExposedPaintFor(false, true, "x.exe").Paint);
    EXPECT_TRUE(ExposedPaintFor(false, false, "x.exe").Paint);
    auto dos = ExposedPaintFor(false, false, "C:\\WINDOWS\\system32\\ntvdm.exe");
    EXPECT_FALSE(dos.Paint || dos.NonClient);
}

TEST_F(ReduceFixture, RefreshExposedWindowsMessagesEachWindowOnce) {
    const std::vector<WindowId> under = {7, 7, 8, 0, 8};
    std::size_t probe = 0;
    fake.windowAt = [&](ScreenPoint) { return under[probe++ % under.size()]; };
    fake.captions[8] = true;
    EXPECT_EQ(reducer.RefreshExposedWindows({0, 20}, {160, 20}, 40), 0);  // off by default
    settings.SendWmPaints = true;
    EXPECT_EQ(reducer.RefreshExposedWindows({0, 20}, {160, 20}, 40), 2);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"Paint 7", "NcPaint 8"}));
    EXPECT_EQ(fake.sleeps, std::vector<std::uint32_t>{0});
}

}  // namespace
}  // namespace zorv
