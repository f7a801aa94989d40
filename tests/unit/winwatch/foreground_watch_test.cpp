#include "winwatch/foreground_watch.h"

#include <gtest/gtest.h>

#include "winwatch/bar_events.h"
#include "winwatch/fake_watch_platform.h"
#include "winwatch/maximizer.h"

namespace zorv {
namespace {

using testing::FakeWatchPlatform;
using testing::FakeWindow;
using Did = std::map<std::string, int>;
using Ids = std::set<WindowId>;

constexpr WindowId kBar = FakeWatchPlatform::kBar;
constexpr ScreenRect kWholeScreen{0, 0, 1280, 800};

struct Watch : ::testing::Test {
    FakeWatchPlatform fake;
    Settings settings;
    ForegroundWatcher watcher{fake, settings, WatchTraits{}};

    // `id` becomes the foreground window and lies everywhere but on the bar;
    // the fake forgets what happened before.
    void Front(WindowId id, FakeWindow w) {
        fake.windows[id] = std::move(w);
        fake.foreground = id;
        fake.windowAt = [id](ScreenPoint p) {
            return p.Y < 20 && p.X >= 980 && p.X < 1222 ? kBar : id;
        };
        fake.Forget();
    }
};

TEST(ForegroundHistory, SixNewestFirst_AddingNothingClearsIt) {
    ForegroundHistory h;
    for (WindowId w = 1; w <= 7; ++w) h.Add(w);
    EXPECT_EQ(std::tuple(h.At(0), h.At(5), h.At(6)), std::tuple(7u, 2u, 0u));
    EXPECT_EQ(h.Newest([](WindowId w) { return w < 6; }), 5u);  // 7 and 6 are gone
    h.Add(0);
    EXPECT_EQ(h.Newest([](WindowId) { return true; }), 0u);
}

TEST_F(Watch, RootOwnerClimbsVisibleParentsOfTheSameProcess) {
    fake.windows[10] = {"Frame", "", 0x16CF0000, kWholeScreen, 0, false};
    fake.windows[20] = {"Main", "", 0x16CF0000, kWholeScreen, 10};
    fake.windows[30] = {"View", "", 0x56000000, kWholeScreen, 20};
    fake.windows[40] = {"Plugin", "", 0x56000000, kWholeScreen, 30, true, 99};
    // 10 is hidden, 30 another process's.
    EXPECT_EQ(std::tuple(RootOwner(fake, 30), RootOwner(fake, 40), RootOwner(fake, 0)),
              std::tuple(20u, 40u, 0u));
    fake.windows[20].Parent = 30;  // a cycle ends too
    EXPECT_NE(RootOwner(fake, 30), 0u);
}

TEST(CoverState, VideoOrFullscreenInFrontCovers_TheOverrideStaysOutOfTheSavedSettings) {
    const RuleContext context{{1280, 800}, 10};
    const WindowFacts video(5, "VideoRenderer", 0x94000000, {0, 150, 1280, 500});
    const WindowFacts player(6, "Player", 0x16CF0000, {0, 100, 1280, 600});
    const WindowFacts small(7, "VideoRenderer", 0x94000000, {100, 100, 600, 400});
    const WindowFacts popup(8, "Slides", 0x94000000, {0, 0, 1280, 800});
    const WindowFacts desktop(9, "Progman", 0x96000000, {0, 0, 1280, 800});
    const WindowFacts maximized(10, "Editor", 0x17CF0000, {-8, -8, 1296, 776});
    std::string got;  // the player in front has a caption
    for (auto [front, root] : {std::pair{&video, &video}, {&video, &player}, {&small, &small},
                               {&popup, &popup}, {&desktop, &desktop}, {&maximized, &maximized}})
        got += VideoOrFullscreenInFront(*front, *root, *root, context) ? '1' : '0';
    EXPECT_EQ(got, "100100");
    Settings live;
    live.AutoRed = 2, live.LineColor = 4;
    CoverState state;
    EXPECT_TRUE(SetCovered(state, live, true, true));
    EXPECT_FALSE(SetCovered(state, live, true, true));
    EXPECT_EQ(std::tuple(live.AutoRed, live.LineColor, live.FadeMode), std::tuple(1, 3, false));
    live.LineColor = 0;  // chosen in the options meanwhile: the user's choice wins
    EXPECT_EQ(ConfiguredSettings(state, live).LineColor, 0);
    EXPECT_TRUE(SetCovered(state, live, false, true));
    EXPECT_EQ(std::tuple(live.AutoRed, live.LineColor, live.FadeMode), std::tuple(2, 0, true));
}

// Covering and uncovering a reduced bar are judged end to end; here a faded one.
TEST_F(Watch, FullscreenWindowReducesTheBar_ItsEndRestoresTheFade) {
    settings.AutoRed = 2;
    settings.TransparencyIdx = 1;
    Front(50, {"Slides", "Talk", 0x94000000, kWholeScreen});
    watcher.CheckForVideoOrFullscreen();
    EXPECT_EQ(std::tuple(settings.AutoRed, settings.LineColor), std::tuple(1, 3));
    fake.did.clear();
    watcher.CheckForVideoOrFullscreen();  // still covered: nothing again
    EXPECT_TRUE(fake.did.empty());
    Front(51, {"Editor", "Notes", 0x16CF0000, {100, 100, 800, 600}});
    watcher.CheckForVideoOrFullscreen();
    EXPECT_EQ(fake.did, (Did{{"LineColour", 1}, {"SetBarPos", 1}}));
    EXPECT_EQ(fake.alpha, 127);
    EXPECT_EQ(std::tuple(settings.AutoRed, settings.LineColor), std::tuple(2, 0));
}

TEST_F(Watch, OrdinaryWindowInFront_BarGoesOnTop_ButNotOverMenusSpecialsOrGames) {
    // An ordinary window: on top, as judged end to end. A popup menu of the
    // program is open, or a captionless 800 x 600 window (special) is in
    // front: the bar stays where it is.
    Front(50, {"Editor", "Notes"});
    fake.menuVisible = true;
    watcher.WorkOnNewFGWin();
    fake.menuVisible = false;
    Front(51, {"Splash", "", 0x94000000, {0, 0, 800, 600}});
    watcher.WorkOnNewFGWin();
    EXPECT_TRUE(fake.did.empty() && fake.topmost.empty());
    // A full-screen game: the bar goes behind it.
    Front(52, {"Game", "", 0x14000000, kWholeScreen});
    fake.windowAt = [](ScreenPoint p) { return p.Y == 5 ? kBar : WindowId{52}; };
    fake.topmost = {kBar};
    watcher.WorkOnNewFGWin();
    EXPECT_TRUE(fake.topmost.empty() && fake.atBottom == Ids{kBar});
    EXPECT_EQ(fake.behind, (std::map<WindowId, WindowId>{{kBar, 52}}));
    EXPECT_TRUE(!watcher.State().OnTop && watcher.State().LastWasDX);
    Front(50, {"Editor", "Notes"});  // Back from the game: placed again, then on top.
    watcher.WorkOnNewFGWin();
    EXPECT_EQ(fake.did, (Did{{"FormsTopmost", 1}, {"SetBarPos", 1}}));
    EXPECT_EQ(fake.topmost, Ids{kBar});
    // A screen saver takes the bar off the top too.
    Front(60, {"WindowsScreenSaverClass", "", 0x94000000, kWholeScreen});
    fake.topmost = {kBar};
    watcher.TopNow();
    EXPECT_TRUE(fake.topmost.empty() && fake.atBottom == Ids{kBar} && !watcher.State().OnTop);
    EXPECT_EQ(fake.behind[kBar], 60u);
}

TEST_F(Watch, TopNow_PutsCoveringWindowBehindTheBar_AndHoldsBackWhileBusy) {
    Front(50, {"Editor", "Notes"});
    fake.windows[70] = {"AlwaysOnTop", "", 0x94000000, {900, 0, 300, 100}};
    fake.windowAt = [](ScreenPoint p) { return p.Y < 50 ? WindowId{70} : WindowId{50}; };
    fake.barShows = false;
    watcher.TopNow();
    EXPECT_EQ(fake.topmost, Ids{kBar});
    EXPECT_EQ(fake.behind, (std::map<WindowId, WindowId>{{70, kBar}}));

    fake.Forget();
    fake.busy = true;  // a menu of the program is shown
    watcher.TopNow();
    EXPECT_EQ(fake.did, (Did{{"FormsTopmost", 1}}));
    EXPECT_TRUE(fake.topmost.empty());

    fake.Forget();  // The taskbar is not where its corners are: hidden and shown again.
    fake.busy = false;
    fake.barShows = true;
    settings.TaskbarTop = true;
    fake.windows[80] = {"Shell_TrayWnd", "", 0x96000000, {0, 760, 1280, 40}};
    watcher.TopNow();
    EXPECT_EQ(fake.topmost, (Ids{kBar, 80}));
    EXPECT_TRUE(fake.shownWith == (std::map<WindowId, std::int32_t>{{80, 1}}) &&
                fake.windows[80].Visible);

    fake.Forget();
    fake.foreground = kBar;
    watcher.TopNow();
    EXPECT_TRUE(fake.did.empty() && fake.topmost.empty());
}

TEST_F(Watch, OnNewFGWin_EachWindowOnce_OwnWindowsStayOutOfTheHistory) {
    Front(50, {"Editor", "Notes"});
    watcher.OnNewFGWin();
    watcher.OnNewFGWin();  // the same window again
    EXPECT_EQ(std::tuple(fake.did["FormsTopmost"], watcher.State().History.At(0)),
              std::tuple(1, 50u));
    Front(51, {"#32770", "ZorvPanel", 0x94C80000, {400, 300, 300, 150}});
    watcher.OnNewFGWin();  // the program's own message box
    EXPECT_TRUE(fake.did.empty());
    Front(52, {"#32770", "Options", 0x94C80000, {400, 300, 300, 150}});
    fake.windows[52].Own = true;
    watcher.OnNewFGWin();
    EXPECT_EQ(watcher.State().History.At(0), 50u);
    fake.formCount = 2;  // A dialog of the program is open: nothing happens.
    Front(53, {"Editor", "Other"});
    watcher.OnNewFGWin();
    EXPECT_TRUE(fake.did.empty());
    fake.formCount = 1;  // No window in front: the one under (630, 22) counts.
    fake.foreground = 0;
    watcher.OnNewFGWin();
    EXPECT_EQ(watcher.State().History.At(0), 53u);
}

TEST_F(Watch, ForegroundGoesBackToTheNewestExistingHistoryWindow) {
    fake.windows[50] = {"Editor", "Notes"};
    fake.windows[51] = {"Shell_TrayWnd", ""};
    for (WindowId w : {50, 51, 99}) watcher.State().History.Add(w);  // 99 closed meanwhile
    watcher.SetLastFGWin();
    EXPECT_EQ(fake.foreground, 51u);
    fake.foreground = kBar;  // RestoreFGWin leaves the taskbar out, and another program in front.
    std::vector<WindowId> fronts;
    fake.windows[52] = {"Editor", "Other"};
    for (WindowId added : {0, 50, 52}) {
        if (added) watcher.State().History.Add(added);
        watcher.RestoreFGWin();
        fronts.push_back(fake.foreground);
    }
    EXPECT_EQ(fronts, (std::vector<WindowId>{kBar, 50, 50}));
    watcher.State().History.Clear();  // Recorded once, and never the program's own window.
    watcher.RecordForegroundWindow();
    watcher.RecordForegroundWindow();
    fake.foreground = kBar;
    watcher.RecordForegroundWindow();
    EXPECT_EQ(std::tuple(watcher.State().History.At(0), watcher.State().History.At(1)),
              std::tuple(50u, 0u));
}

TEST_F(Watch, MaximizerMaximizesASecondWindowLikeTheFirst) {
    FakeWindow first{"Editor", "Editor - a.txt", 0x16CF0000, {100, 100, 800, 600}};
    first.Maximized = true;
    fake.windows[50] = first;
    fake.windows[51] = {"Editor", "Editor - b.txt", 0x16CF0000, {120, 120, 800, 600}};
    fake.windows[52] = {"Viewer", "Editor - c.txt", 0x16CF0000, {120, 120, 800, 600}};
    fake.windows[53] = {"Editor", "Editor - d.txt", 0x16CF0000, {120, 120, 700, 600}};
    for (WindowId w : {50, 52, 50, 53}) watcher.MaximizeLikePrevious(w);  // other class, size
    EXPECT_FALSE(fake.windows[52].Maximized || fake.windows[53].Maximized);
    watcher.MaximizeLikePrevious(50);
    watcher.MaximizeLikePrevious(51);
    watcher.MaximizeLikePrevious(51);  // a second look at the same window does nothing
    EXPECT_TRUE(fake.windows[51].Maximized && fake.did["Maximize"] == 1);
    WindowFacts x(1, "C", 0, {}), y(2, "C", 0, {});  // Titles match at their start or their end.
    x.SetText("Report 1 - Writer");
    for (auto [text, match] :
         {std::pair{"Notes - Writer", true}, {"Notes - Viewer", false}, {"Repo", true}}) {
        y.SetText(text);
        EXPECT_EQ(MatchesPrevious(x, y), match) << text;
    }
}

TEST_F(Watch, CaptureOfALeftBarIsReleasedBySimulatedMove) {
    Front(50, {"Editor", "Notes"});
    fake.barCapture = true;
    watcher.WorkOnNewFGWin();
    EXPECT_EQ(fake.did["SimMouseMoveOutSide"], 1);
    fake.did.clear();
    fake.cursor = {1000, 5};  // on the bar
    watcher.WorkOnNewFGWin();
    EXPECT_EQ(fake.did["SimMouseMoveOutSide"], 0);
}

TEST(BarEvents, ForegroundCodesOldShellsAndEnsureVisible) {
    std::string got;
    for (std::uint64_t code : {1u, 4u, 0x8004u, 0x8001u, 0u, 2u, 3u, 5u, 6u, 0x8000u, 0x8006u})
        got += IsForegroundNotification(code) ? '1' : '0';
    EXPECT_EQ(got, "11110000000");
    got.clear();
    for (auto [oldShell, single, forms] :
         {std::tuple{true, true, 1}, {true, true, 0}, {true, true, 2}, {false, true, 1},
          {true, false, 1}})
        got += GiveForegroundBackOnActivate(oldShell, single, forms) ? '1' : '0';
    EXPECT_EQ(got, "11000");
    got.clear();  // Visible, and any one of the others set holds it back.
    for (int blocker = -1; blocker < 6; ++blocker) {
        bool facts[6] = {false, false, true, false, false, false};
        if (blocker >= 0) facts[blocker] = !facts[blocker];
        const PosChangeFacts f{facts[0], facts[1], facts[2], facts[3], facts[4], facts[5]};
        got += EnsureVisibleAfterPosChange(f) ? '1' : '0';
    }
    EXPECT_EQ(got, "1000000");
}

TEST(BarEvents, OwnWindows_DialogTitleExactAndReadOnlyForDialogs) {
    std::string got;
    for (auto [form, owned, cls, title] :
         {std::tuple{true, false, "Notepad", ""}, {false, true, "Notepad", ""},
          {false, false, "#32770", "ZorvPanel"}, {false, false, "#32770", "ZorvPanel "},
          {false, false, "Notepad", "ZorvPanel"}})
        got += IsOwnWindowRule(form, owned, cls, title) ? '1' : '0';
    EXPECT_EQ(got, "11100");
    int reads = 0;
    const auto reader = [&reads] {
        ++reads;
        return std::string("ZorvPanel");
    };
    EXPECT_FALSE(IsOwnWindowRule(false, false, "Notepad", reader));
    EXPECT_TRUE(IsOwnWindowRule(false, true, "#32770", reader));
    EXPECT_EQ(reads, 0);
    EXPECT_TRUE(IsOwnWindowRule(false, false, "#32770", reader));
    EXPECT_EQ(reads, 1);
}

}  // namespace
}  // namespace zorv
