// How the bar gets out of the way when the mouse leaves it (up to its last
// pixel row, or faded), comes back when the mouse returns, scrolls when it is
// wider than the screen, follows a new screen size, and when the position
// timer writes a pending configuration. Judged by the bar's window rectangle,
// its layered alpha and the log; the mouse is moved with SendInput.
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "support/screen_input.h"
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr int kRightGap = 58;  // 3 * SM_CXSIZE + 4 with SM_CXSIZE 18
constexpr int kH = 20;         // ButH_id 0
constexpr int kButtonWidth = 22;
constexpr POINT kAway = {640, 400};  // the desktop, far from the bar

int BarWidthFor(int buttons) {
    return (buttons + 1) * kButtonWidth;
}

RECT Shown(int left, int width) {
    return {left, 0, left + width, kH};
}
RECT Reduced(int left, int width) {
    return {left, -kH, left + width, 1};
}

bool Is(HWND bar, const RECT& want) {
    const RECT r = WindowRect(bar);
    return EqualRect(&r, &want) != FALSE;
}

// FadeNow's steps: floor((to - from) / 15), placed so that the last step
// lands on `to`.
std::vector<int> FadeSteps(int from, int to) {
    const int step = static_cast<int>(std::floor((to - from) / 15.0));
    const int count = static_cast<int>(std::nearbyint((to - from) / double(step) - 1.0));
    std::vector<int> steps;
    for (int a = to - step * count; step > 0 ? a <= to - step : a >= to - step; a += step) {
        steps.push_back(a);
    }
    steps.push_back(to);
    return steps;
}

class BarMotion : public ZorvE2E {
  protected:
    void SetUp() override {
        MoveMouseAndStay(kAway.x, kAway.y);
        ZorvE2E::SetUp();
    }
    void TearDown() override { MoveMouseAndStay(kAway.x, kAway.y); }

    HWND StartBar(int buttons, std::string_view settings) {
        Folder().WriteIni(NotepadButtonsIni(buttons, settings));
        Process& p = Start(L"noau nostart");
        return WaitForShownBar(p);
    }

    bool WaitUntil(HWND bar, const RECT& want, Ms timeout = Ms(3000)) {
        return WaitFor([&] { return Is(bar, want); }, timeout, Ms(2));
    }

    // The values of the "SetAlphaValue(n)" lines, from the `skip`+1-th on.
    std::vector<int> AlphaLines(size_t skip = 0) {
        std::vector<int> alphas;
        for (const std::string& m : LogMessages()) {
            if (m.rfind("SetAlphaValue(", 0) == 0) alphas.push_back(std::atoi(m.c_str() + 14));
        }
        alphas.erase(alphas.begin(), alphas.begin() + std::min(skip, alphas.size()));
        return alphas;
    }

    bool LogHas(std::string_view message) {
        for (const std::string& m : LogMessages()) {
            if (m == message) return true;
        }
        return false;
    }

    // A move over the bar restarts the countdown; leaving at once means the
    // countdown runs from (about) this moment. Returns when the move was sent.
    double MoveOverBarAndLeave(int x, int y) {
        MoveMouseTo(x, y);
        const double sent = NowMs();
        Sleep(30);
        MoveMouseAndStay(kAway.x, kAway.y);
        return sent;
    }

    bool WaitForAlpha(HWND bar, int alpha, Ms timeout = Ms(3000)) {
        return WaitFor([&] { return LayeredAlpha(bar) == alpha; }, timeout, Ms(5));
    }

    // One start with AutoRed=2: the bar starts faded, comes back to 255 under the
    // mouse and fades to the table's alpha after the mouse left, with the steps
    // of the fade in the log.
    void CheckFadeCycle(HWND bar, int faded, int left, int width) {
        const bool alsoReduced = faded == 16;
        ASSERT_TRUE(WaitForAlpha(bar, faded)) << "not faded after the start" << LogTail();
        const RECT resting = alsoReduced ? Reduced(left, width) : Shown(left, width);
        ASSERT_TRUE(WaitFor([&] { return Is(bar, resting); }, Ms(3000)))
            << Describe(WindowRect(bar)) << LogTail();

        size_t seen = AlphaLines(0).size();
        // A faded bar comes back on any move over it; a reduced one on its line.
        MoveMouseTo(left + 50, alsoReduced ? 0 : 10);
        ASSERT_TRUE(WaitForAlpha(bar, 255))
            << "alpha " << LayeredAlpha(bar).value_or(-1) << " under the mouse" << LogTail();
        EXPECT_TRUE(Is(bar, Shown(left, width))) << Describe(WindowRect(bar)) << LogTail();
        EXPECT_EQ(AlphaLines(seen), FadeSteps(faded, 255));

        seen = AlphaLines(0).size();
        MoveOverBarAndLeave(left + 60, 10);
        ASSERT_TRUE(WaitForAlpha(bar, faded))
            << "alpha " << LayeredAlpha(bar).value_or(-1) << " after the mouse left" << LogTail();
        ASSERT_TRUE(WaitFor([&] { return Is(bar, resting); }, Ms(3000)))
            << Describe(WindowRect(bar)) << LogTail();
        EXPECT_EQ(AlphaLines(seen), FadeSteps(255, faded));
    }
};

TEST_F(BarMotion, ReduceToLine_About667msAfterTheMouseLeft_AndBackOnTouchingTheLine) {
    const int width = BarWidthFor(10), left = 1280 - kRightGap - width;
    HWND bar = StartBar(10, "AutoRed=1\r\nRestoreDelay=0\r\n");
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(WaitUntil(bar, Reduced(left, width)))
        << "not reduced after the start: " << Describe(WindowRect(bar)) << LogTail();

    const double touched = NowMs();
    MoveMouseTo(left + 50, 0);
    ASSERT_TRUE(WaitUntil(bar, Shown(left, width))) << Describe(WindowRect(bar)) << LogTail();
    EXPECT_LT(NowMs() - touched, 1000.0) << "RestoreDelay 0 should restore at once";

    // Resting on the bar keeps it shown.
    Sleep(1500);
    EXPECT_TRUE(Is(bar, Shown(left, width))) << "reduced under the mouse";

    const double moved = MoveOverBarAndLeave(left + 60, 10);
    const auto early = Ms(static_cast<long long>(moved + 550 - NowMs()));
    EXPECT_FALSE(WaitUntil(bar, Reduced(left, width), early)) << "reduced too early";
    ASSERT_TRUE(WaitUntil(bar, Reduced(left, width))) << Describe(WindowRect(bar)) << LogTail();
    const double after = NowMs() - moved;
    EXPECT_GE(after, 600.0);
    EXPECT_LE(after, 1500.0);
    EXPECT_TRUE(LogHas("timAutoreduce_Timer()"));
    EXPECT_TRUE(LogHas("RN_1 ReduceNow()"));
}

TEST_F(BarMotion, RestoreDelay_SlidingAlongTheLineDoesNotRestore_RestingDoes) {
    const int width = BarWidthFor(10), left = 1280 - kRightGap - width;
    HWND bar = StartBar(10, "AutoRed=1\r\nRestoreDelay=200\r\n");
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(WaitUntil(bar, Reduced(left, width))) << Describe(WindowRect(bar)) << LogTail();

    // 4 pixels sideways every 40 ms: the cursor never rests for 200 ms.
    for (int i = 0; i < 30; ++i) {
        MoveMouseTo(left + 20 + 4 * i, 0);
        Sleep(40);
        ASSERT_TRUE(Is(bar, Reduced(left, width))) << "restored while sliding, step " << i << ": "
                                                   << Describe(WindowRect(bar)) << LogTail();
    }
    const double rested = NowMs();
    ASSERT_TRUE(WaitUntil(bar, Shown(left, width))) << Describe(WindowRect(bar)) << LogTail();
    const double after = NowMs() - rested;
    EXPECT_GE(after, 150.0) << "restored before the mouse rested 200 ms";
    EXPECT_LE(after, 1500.0);
}

TEST_F(BarMotion, SoftReduceAndRestore_SlideThroughAndEndInTheSamePlacements) {
    const int width = BarWidthFor(10), left = 1280 - kRightGap - width;
    HWND bar = StartBar(10, "AutoRed=1\r\nSoftRed=1\r\nRestoreDelay=0\r\n");
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(WaitUntil(bar, Reduced(left, width))) << Describe(WindowRect(bar)) << LogTail();

    // Watch the top while the bar slides down and up again.
    std::set<LONG> tops;
    auto watchUntil = [&](const RECT& want) {
        return WaitFor(
            [&] {
                tops.insert(WindowRect(bar).top);
                return Is(bar, want);
            },
            Ms(3000), Ms(1));
    };
    MoveMouseTo(left + 50, 0);
    ASSERT_TRUE(watchUntil(Shown(left, width))) << Describe(WindowRect(bar)) << LogTail();
    EXPECT_GE(std::count_if(tops.begin(), tops.end(), [](LONG t) { return t > -kH && t < 0; }), 3)
        << "no slide down seen";

    tops.clear();
    MoveOverBarAndLeave(left + 60, 10);
    ASSERT_TRUE(watchUntil(Reduced(left, width))) << Describe(WindowRect(bar)) << LogTail();
    EXPECT_GE(std::count_if(tops.begin(), tops.end(), [](LONG t) { return t > -kH && t < 0; }), 3)
        << "no slide up seen";
    EXPECT_TRUE(LogHas("RN_4 soft + me.top=0"));
}

TEST_F(BarMotion, TransparentLine_HasAlpha16WhileReduced_AndIsOpaqueWhenShown) {
    const int width = BarWidthFor(10), left = 1280 - kRightGap - width;
    HWND bar = StartBar(10, "AutoRed=1\r\nRestoreDelay=0\r\nLineColor=4\r\n");
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(WaitUntil(bar, Reduced(left, width))) << Describe(WindowRect(bar)) << LogTail();
    EXPECT_TRUE(WaitForAlpha(bar, 16)) << LayeredAlpha(bar).value_or(-1) << LogTail();

    // The nearly invisible line still takes the mouse.
    size_t seen = AlphaLines().size();
    MoveMouseTo(left + 50, 0);
    ASSERT_TRUE(WaitUntil(bar, Shown(left, width))) << Describe(WindowRect(bar)) << LogTail();
    EXPECT_TRUE(WaitForAlpha(bar, 255)) << LayeredAlpha(bar).value_or(-1) << LogTail();
    EXPECT_EQ(AlphaLines(seen), (std::vector<int>{128, 255}));

    seen = AlphaLines().size();
    MoveOverBarAndLeave(left + 60, 10);
    ASSERT_TRUE(WaitUntil(bar, Reduced(left, width))) << Describe(WindowRect(bar)) << LogTail();
    EXPECT_TRUE(WaitForAlpha(bar, 16)) << LayeredAlpha(bar).value_or(-1) << LogTail();
    EXPECT_EQ(AlphaLines(seen), (std::vector<int>{16}));
}

TEST_F(BarMotion, Fade_ToEachTableAlpha_AndBackTo255UnderTheMouse) {
    // The fade steps of the last table entry: 255 to 16 by 16, back by 15.
    ASSERT_EQ(FadeSteps(255, 16), (std::vector<int>{240, 224, 208, 192, 176, 160, 144, 128, 112, 96,
                                                    80, 64, 48, 32, 16}));
    ASSERT_EQ(FadeSteps(16, 255), (std::vector<int>{30, 45, 60, 75, 90, 105, 120, 135, 150, 165,
                                                    180, 195, 210, 225, 240, 255}));
    const int width = BarWidthFor(10), left = 1280 - kRightGap - width;
    const int table[] = {191, 127, 63, 16};
    for (int idx = 0; idx < 4; ++idx) {
        SCOPED_TRACE("TransparencyIdx=" + std::to_string(idx));
        MoveMouseAndStay(kAway.x, kAway.y);
        const std::string settings =
            "AutoRed=2\r\nRestoreDelay=0\r\nTransparencyIdx=" + std::to_string(idx) + "\r\n";
        Folder().WriteIni(NotepadButtonsIni(10, settings));
        Process& p = Start(L"noau nostart");
        HWND bar = WaitForShownBar(p);
        ASSERT_TRUE(bar) << "the bar did not appear";
        CheckFadeCycle(bar, table[idx], left, width);
        if (HasFatalFailure()) return;
        p.Terminate();
        ASSERT_TRUE(WaitFor([] { return FindBar() == nullptr; }, Ms(5000)));
    }
}

TEST_F(BarMotion, WideBar_ScrollsWhileTheMouseRestsAtAScreenEdge) {
    constexpr int kButtons = 60;
    const int width = BarWidthFor(kButtons);  // 1342: wider than the room
    const int visible = 1280 - kRightGap;
    const int hidden = width - visible;  // scroll offset of the right-aligned bar
    HWND bar = StartBar(kButtons, "AutoRed=0\r\n");
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(WaitUntil(bar, Shown(0, visible))) << Describe(WindowRect(bar)) << LogTail();
    Sleep(300);
    const std::vector<std::uint32_t> before = ScreenRow(0, 10, visible);

    // At the left edge the hidden cells come in: the window grows to the
    // screen's width and its content moves right by the hidden part.
    ASSERT_TRUE(MoveMouseAndStay(0, 10));
    auto scrolledIn = [&] {
        if (!CursorAt(0, 10)) MoveMouseTo(0, 10);
        if (!Is(bar, Shown(0, 1280))) return false;
        const std::vector<std::uint32_t> row = ScreenRow(0, 10, 1280);
        // Left of x = 30 the cursor may cover the bar.
        for (int x = 30; x + hidden < 1280; ++x) {
            if (row[static_cast<size_t>(x + hidden)] != before[static_cast<size_t>(x)]) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(WaitFor(scrolledIn, Ms(5000), Ms(50)))
        << "not scrolled to the bar's left end: " << Describe(WindowRect(bar)) << LogTail();

    // At the right edge it goes back to the right-aligned placement. The
    // mouse rests there: Wine may replay motion events of the busy scroll
    // late and put the cursor back at the left edge, so it is put back.
    ASSERT_TRUE(MoveMouseAndStay(1279, 10));
    auto scrolledBack = [&] {
        if (!CursorAt(1279, 10)) MoveMouseTo(1279, 10);
        return Is(bar, Shown(0, visible)) && ScreenRow(0, 10, visible) == before;
    };
    EXPECT_TRUE(WaitFor(scrolledBack, Ms(5000), Ms(50)))
        << "not scrolled back: " << Describe(WindowRect(bar)) << LogTail();
}

// Puts the screen back however the test ends.
struct ScreenSizeGuard {
    ~ScreenSizeGuard() { ChangeDisplaySettingsW(nullptr, 0); }
};

TEST_F(BarMotion, NewScreenSize_IsFollowedWithinOneTick) {
    const int width = BarWidthFor(10);
    HWND bar = StartBar(10, "AutoRed=0\r\n");
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(WaitUntil(bar, Shown(1280 - kRightGap - width, width)))
        << Describe(WindowRect(bar)) << LogTail();
    // Past the first ticks, which may place the bar themselves.
    Sleep(1500);

    ScreenSizeGuard guard;
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = 1024;
    mode.dmPelsHeight = 768;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(ChangeDisplaySettingsW(&mode, 0), DISP_CHANGE_SUCCESSFUL);
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    const double changed = NowMs();
    EXPECT_TRUE(WaitUntil(bar, Shown(1024 - kRightGap - width, width), Ms(3000)))
        << Describe(WindowRect(bar)) << LogTail();
    // The fast tick (200 ms) after the change, not the one- or two-second one.
    EXPECT_LT(NowMs() - changed, 600.0);
    EXPECT_TRUE(LogHas("WM_DISPLAYCHANGE")) << LogTail();

    ASSERT_EQ(ChangeDisplaySettingsW(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_TRUE(WaitUntil(bar, Shown(1280 - kRightGap - width, width), Ms(3000)))
        << Describe(WindowRect(bar)) << LogTail();
}

TEST_F(BarMotion, NewScreenSize_ReducedBarStaysReducedAtTheNewPlace) {
    const int width = BarWidthFor(10);
    HWND bar = StartBar(10, "AutoRed=1\r\n");
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(WaitUntil(bar, Reduced(1280 - kRightGap - width, width)))
        << Describe(WindowRect(bar)) << LogTail();
    Sleep(1500);

    ScreenSizeGuard guard;
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = 800;
    mode.dmPelsHeight = 600;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(ChangeDisplaySettingsW(&mode, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_TRUE(WaitUntil(bar, Reduced(800 - kRightGap - width, width), Ms(3000)))
        << Describe(WindowRect(bar)) << LogTail();
}

TEST_F(BarMotion, PendingSave_WaitsWhileTheMouseIsOnTheBar) {
    WriteWholeFile(Folder().Path() / L"zorv.ini", NotepadButtonsIni(0, "AutoRed=0\r\n"));
    // Where the bar appears: its main-menu cell.
    MoveMouseTo(1280 - kRightGap - 10, 10);
    Process& p = Start(L"noau nostart");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";
    Sleep(2500);
    EXPECT_FALSE(fs::exists(Folder().IniFile())) << "written while the mouse was on the bar";

    MoveMouseAndStay(kAway.x, kAway.y);
    const double left = NowMs();
    EXPECT_TRUE(WaitForFile(Folder().IniFile(), Ms(5000))) << "not written after the mouse left";
    EXPECT_LT(NowMs() - left, 2500.0);
}

TEST_F(BarMotion, PendingSave_AboutOneSecondAfterTheStart) {
    WriteWholeFile(Folder().Path() / L"zorv.ini", NotepadButtonsIni(0, "AutoRed=1\r\n"));
    Process& p = Start(L"noau nostart");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";
    const double shown = NowMs();
    ASSERT_TRUE(WaitForFile(Folder().IniFile(), Ms(5000))) << "no ZorvPanel.ini";
    EXPECT_GE(NowMs() - p.StartMs(), 900.0) << "written before the one-second delay";
    EXPECT_LT(NowMs() - shown, 2000.0);
}

}  // namespace
}  // namespace zorv::e2e
