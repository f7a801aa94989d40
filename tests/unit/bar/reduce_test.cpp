#include "bar/reduce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/startup.h"
#include "bar/fake_bar_platform.h"

namespace zorv {
namespace {

using Alphas = std::vector<std::int32_t>;
using Sleeps = std::vector<std::uint32_t>;
using Did = std::map<std::string, int>;

constexpr ScreenRect kShown = {500, 0, 300, 20}, kReduced = {500, -20, 300, 21};

struct ReduceFixture : ::testing::Test {
    testing::FakeBarPlatform fake;
    Settings settings;
    Reducer reducer{fake, settings, PlatformTraits{}};

    ReduceFixture() { settings.AutoRed = 1; }
    void Reset(ScreenRect place) {
        fake.rect = place;
        fake.Forget();
    }
    // No transition left running, and every timer resolution request ended.
    void ExpectSettled() {
        const BarMotionState& s = reducer.State();
        EXPECT_FALSE(s.Reducing || s.Restoring || s.TransitionBusy);
        EXPECT_EQ(fake.timerResolution, 0);
    }
};

TEST_F(ReduceFixture, FadeNowStepsEvery10msAndSendsOnlyChanges) {
    settings.TransparencyIdx = 3;
    EXPECT_EQ(FadeSequence(19, 0).front(), 16);  // 19 / 2 - 1 = 8.5 steps: the even 8
    reducer.FadeNow(false, "test");              // the steps themselves are judged end to end
    EXPECT_EQ(std::tuple(fake.alphas.size(), fake.alphas.back()), std::tuple(15u, 16));
    EXPECT_EQ(fake.sleeps, Sleeps(14, 10));
    EXPECT_FALSE(fake.highPriority);
    Reset(kShown);
    reducer.FadeNow(false, "test");  // already there: nothing at all
    EXPECT_TRUE(fake.alphas.empty() && fake.sleeps.empty());
    settings.ProcessPrio = 2;  // stays high
    reducer.FadeNow(true, "test");
    EXPECT_TRUE(reducer.State().CurrentAlpha == 255 && fake.highPriority);
    Reset(kShown);
    for (std::int32_t a : {16, 16, 255, 255}) reducer.SetAlphaValue(a);
    EXPECT_EQ(fake.alphas, (Alphas{16, 255}));
}

TEST_F(ReduceFixture, SoftReduceSlidesUpPixelByPixel_FinishesAtOnceWhenSlow) {
    settings.SoftRed = true;
    settings.LineColor = 4;
    reducer.ReduceNow();
    ASSERT_EQ(fake.moves.size(), 19u);  // H - 2 steps, then the line
    EXPECT_EQ(std::tuple(fake.moves[0], fake.moves[17], fake.rect),
              std::tuple(ScreenRect{500, -1, 300, 20}, ScreenRect{500, -18, 300, 20}, kReduced));
    EXPECT_EQ(fake.sleeps, Sleeps(18, 7));
    EXPECT_EQ(fake.alphas, Alphas{16});  // the transparent line, once
    EXPECT_EQ(fake.did["TopNow"], 1);
    ExpectSettled();
    // A step over 30 ms finishes at once; so do fast steps that add up to over 500 ms.
    settings.LineColor = 0;
    for (auto [msPerMove, fewest, most] : {std::tuple{31, 1, 1}, {29, 11, 17}}) {
        Reset(kShown);
        fake.msPerMove = msPerMove;
        reducer.ReduceNow();
        const auto steps = std::count_if(fake.moves.begin(), fake.moves.end(),
                                         [](const ScreenRect& r) { return r.Height == 20; });
        EXPECT_TRUE(steps >= fewest && steps <= most) << msPerMove << ": " << steps;
        EXPECT_EQ(fake.moves.at(steps), kReduced);
    }
    fake.msPerMove = 0;  // A restore during a step's sleep takes over: the bar stays shown.
    Reset(kShown);
    fake.onSleep = [&] {
        if (fake.sleeps.size() == 4) reducer.UnReduce(false);
    };
    reducer.ReduceNow();
    EXPECT_EQ(fake.rect, kShown);
    EXPECT_EQ(fake.did["TopNow"], 0);
    ExpectSettled();
}

TEST_F(ReduceFixture, NoReduceWhileTheBarIsInUse_BelowATaskbarNoSlide) {
    // The tick does not even stop its timer.
    for (bool* inUse : {&fake.mouseOnBar, &reducer.State().Dragging, &fake.menuShown}) {
        *inUse = true;
        reducer.AutoReduceTick();
        *inUse = false;
    }
    fake.openForms = 2;
    reducer.AutoReduceTick();
    fake.openForms = 1;
    EXPECT_TRUE(fake.did.empty());
    for (bool* held : {&fake.menuShown, &fake.alt, &reducer.State().Reducing}) {
        *held = true;
        reducer.ReduceNow();
        *held = false;
    }
    EXPECT_TRUE(fake.moves.empty());
    settings.ProcessPrio = 1;
    fake.highPriority = true;
    reducer.AutoReduceTick();
    EXPECT_EQ(fake.rect, kReduced);
    EXPECT_FALSE(fake.highPriority);
    EXPECT_EQ(fake.did, (Did{{"EndActivationCycle", 1}, {"StopAutoReduce", 1}, {"TopNow", 2}}));
    settings.SoftRed = true;
    Reset({500, 5, 300, 20});
    reducer.ReduceNow();
    EXPECT_EQ(fake.moves, std::vector<ScreenRect>{kReduced});
}

// The levels, and the move up at the last one, are judged end to end.
TEST_F(ReduceFixture, FadingTickMovesUpAtTheLastLevel_FadedBarsComeBackFading) {
    settings.AutoRed = 2;
    settings.TransparencyIdx = 3;
    reducer.AutoReduceTick();
    EXPECT_EQ(std::tuple(reducer.State().CurrentAlpha, fake.rect), std::tuple(16, kReduced));
    Reset(fake.rect);
    reducer.UnReduce(false);
    EXPECT_EQ(fake.rect, kShown);
    EXPECT_EQ(fake.alphas.front(), 30);
    EXPECT_EQ(reducer.State().CurrentAlpha, 255);
    reducer.FadeNow(false, "test");
    Reset(kReduced);
    reducer.UnScrollAndFade();  // at once
    EXPECT_EQ(fake.alphas, (Alphas{220, 255}));
    EXPECT_EQ(fake.rect, kShown);
    EXPECT_TRUE(fake.sleeps.empty());
    testing::FakeBarPlatform plain;  // Without layered windows fading only stops the timer.
    Reducer noLayers(plain, settings, PlatformTraits{false, true, false});
    noLayers.AutoReduceTick();
    EXPECT_EQ(plain.did["StopAutoReduce"], 1);
    EXPECT_TRUE(plain.alphas.empty() && plain.moves.empty());
}

TEST_F(ReduceFixture, UnReduceBringsTheBarBack_SoftlyPixelByPixel) {
    settings.LineColor = 4;
    Reset(kReduced);
    reducer.UnReduce(true);
    EXPECT_EQ(fake.rect, kShown);
    EXPECT_EQ(fake.did, (Did{{"RecordForeground", 1},
                             {"StartAutoReduce", 1},
                             {"StartPos", 1},
                             {"StopAutoReduce", 1}}));
    settings.SoftRed = true;  // Soft: one pixel down per 7 ms (the steps are judged end to end).
    Reset(kReduced);
    reducer.UnReduce(false);
    EXPECT_EQ(std::tuple(fake.moves.size(), fake.rect), std::tuple(22u, kShown));
    ExpectSettled();
    // Re-entered from inside a running restore: refused, busy stays set.
    reducer.State().Restoring = true;
    Reset(kReduced);
    reducer.UnReduce(false);
    EXPECT_TRUE(fake.moves.empty());
    EXPECT_TRUE(reducer.State().TransitionBusy);
}

TEST_F(ReduceFixture, LineRestoresOnlyAfterTheMouseRestedOnItForTheDelay) {
    settings.RestoreDelay = 200;
    // Sliding sideways 3 pixels or leaving downwards during the wait, or a
    // button held: ignored entirely.
    for (ScreenPoint moved : {ScreenPoint{603, 0}, ScreenPoint{600, 1}, ScreenPoint{600, 0}}) {
        Reset(kReduced);
        fake.cursor = {600, 0};
        fake.buttonDown = moved == fake.cursor;
        fake.onSleep = [&] { fake.cursor = moved; };
        EXPECT_FALSE(reducer.OnMouseMove(100, 20));
        EXPECT_TRUE(fake.moves.empty() && fake.did.empty());
    }
    fake.buttonDown = false;
    // Two pixels are tolerated; the delay is capped at 500 ms and 0 waits not at all.
    fake.onSleep = [&] { fake.cursor.X = 602; };
    for (auto [delay, waits] : {std::pair{200, 200u}, {900, 500u}, {0, 0u}}) {
        settings.RestoreDelay = delay;
        Reset(kReduced);
        fake.cursor = {600, 0};
        EXPECT_TRUE(reducer.OnMouseMove(100, 20));
        EXPECT_EQ(fake.sleeps, Sleeps(waits, 1));
        EXPECT_EQ(fake.rect, kShown);
    }
    // A drag passed over the line just now: the timer restarts, no restore.
    fake.onSleep = nullptr;
    Reset(kReduced);
    reducer.State().LastDragOverMs = fake.now - 50;
    EXPECT_TRUE(reducer.OnMouseMove(100, 20));
    EXPECT_EQ(fake.rect, kReduced);
    EXPECT_EQ(fake.did["StartAutoReduce"], 1);
    Reset(kShown);  // The simulated "mouse is outside" move restarts nothing.
    EXPECT_TRUE(reducer.OnMouseMove(30000, 5));
    EXPECT_TRUE(fake.did.empty());  // a faded bar fading in under the mouse: end to end
}

TEST_F(ReduceFixture, RefreshExposedWindowsMessagesEachWindowOnce) {
    // WM_PAINT ("P") and then WM_NCPAINT ("N") by platform, caption and process.
    const std::tuple<bool, bool, const char*, const char*> cases[] = {
        {true, false, "", "PN"},
        {true, true, "", "N"},
        {false, true, "x.exe", "N"},
        {false, false, "x.exe", "P"},
        {false, false, "C:\\WINDOWS\\system32\\ntvdm.exe", ""}};
    for (auto [oldRules, caption, process, want] : cases) {
        const ExposedPaint p = ExposedPaintFor(oldRules, caption, process);
        EXPECT_EQ(std::string(p.Paint ? "P" : "") + (p.NonClient ? "N" : ""), want) << process;
    }
    // Probes every 40 pixels from the start to past the end, either way.
    std::vector<ScreenPoint> probes;
    fake.windowAt = [&](ScreenPoint p) {
        probes.push_back(p);
        return WindowId(p.X == 80 ? 8 : p.X < 160 ? 7 : 0);
    };
    fake.captions[8] = true;
    EXPECT_EQ(reducer.RefreshExposedWindows({0, 20}, {160, 20}, 40), 0);  // off by default
    settings.SendWmPaints = true;
    EXPECT_EQ(reducer.RefreshExposedWindows({0, 20}, {160, 20}, 40), 3);
    EXPECT_EQ(fake.did, (Did{{"NcPaint 8", 1}, {"Paint 7", 2}}));
    EXPECT_EQ(std::tuple(fake.sleeps, probes.size(), probes.back()),
              std::tuple(Sleeps{0}, 5u, ScreenPoint{160, 20}));
    probes.clear();
    reducer.RefreshExposedWindows({80, 5}, {0, 5}, 40);  // backwards, to the end
    EXPECT_EQ(probes.back(), (ScreenPoint{0, 5}));
    for (ScreenPoint end : {ScreenPoint{10, 30}, {30, 10}})  // either end passed stops the walk
        EXPECT_EQ(RefreshProbePoints({0, 0}, end, 10).size(), 2u);
}

}  // namespace
}  // namespace zorv
