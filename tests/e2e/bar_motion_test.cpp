// How the bar moves: out of the way when the mouse leaves (to its last row, or faded) and back
// under it, scrolling when wider than the screen, following the screen size, in front of
// ordinary windows and away from a full-screen one.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr int kH = 20;           // ButH_id 0
constexpr int kWidth = 11 * 22;  // ten buttons and the main-menu cell
constexpr int kLeft = 1280 - kRightGap - kWidth;

// Where the bar stands and how opaque it is (255 also when not layered).
struct State {
    RECT rect;
    int alpha = 255;
};

State Shown(int left = kLeft, int width = kWidth) { return {{left, 0, left + width, kH}}; }
State Reduced(int left = kLeft, int alpha = 255) { return {{left, -kH, left + kWidth, 1}, alpha}; }

bool In(HWND bar, const State& s) {
    const RECT r = WindowRect(bar);
    BYTE alpha = 255;
    DWORD flags = 0;
    GetLayeredWindowAttributes(bar, nullptr, &alpha, &flags);
    return EqualRect(&r, &s.rect) && (flags & LWA_ALPHA ? alpha : 255) == s.alpha;
}

// Fading steps by floor((to - from) / 15), the last one landing on `to`.
std::vector<int> FadeSteps(int from, int to) {
    const int step = static_cast<int>(std::floor((to - from) / 15.0));
    const int count = static_cast<int>(std::nearbyint((to - from) / double(step) - 1.0));
    std::vector<int> steps;
    for (int a = to - step * count; step > 0 ? a <= to - step : a >= to - step; a += step)
        steps.push_back(a);
    steps.push_back(to);
    return steps;
}

// The bar followed until it is `to` (3 s at most): when it left `from` and when it arrived
// (ms after `since`), and the tops it passed; the cursor is held at `hold` (Wine may move it
// back late).
struct Motion {
    double left = -1, arrived = -1;
    std::set<LONG> tops;
    int Between() const {  // tops of a slide, neither shown nor reduced
        return static_cast<int>(
            std::count_if(tops.begin(), tops.end(), [](LONG t) { return t > -kH && t < 0; }));
    }
};

Motion Follow(HWND bar, const State& from, const State& to, double since, POINT hold) {
    Motion m;
    WaitFor(Ms(3000), [&] {
        if (!CursorAt(hold.x, hold.y)) MoveMouseTo(hold.x, hold.y);
        if (m.left < 0 && !In(bar, from)) m.left = NowMs() - since;
        m.tops.insert(WindowRect(bar).top);
        if (In(bar, to)) m.arrived = NowMs() - since;
        // It may have gone between the two looks of this poll: it left by then at the latest.
        if (m.arrived >= 0 && m.left < 0) m.left = m.arrived;
        return m.arrived >= 0;
    }, Ms(1));
    return m;
}

class BarMotion : public ZorvE2E {
  protected:
    // The values of the "SetAlphaValue(n)" lines from the `skip`+1-th on.
    std::vector<int> AlphaLines(size_t skip) {
        std::vector<int> alphas;
        for (const std::string& m : LogMessages())
            if (m.starts_with("SetAlphaValue(")) alphas.push_back(std::atoi(m.c_str() + 14));
        alphas.erase(alphas.begin(), alphas.begin() + std::min(skip, alphas.size()));
        return alphas;
    }
};

TEST_F(BarMotion, LeavesAfterTheMouse_ComesBackUnderIt_AndFollowsTheScreenSize) {
    const struct {
        std::string settings;
        State resting;
        std::vector<int> in, out;  // the alpha steps of coming back and of leaving
        const char* logged;
        int screen;  // a screen width to change to at the end, or 0
    } cases[] = {
        // clang-format off
        {"AutoRed=1\r\n", Reduced(), {}, {}, "RN_1 ReduceNow()", 800},
        {"AutoRed=1\r\nSoftRed=1\r\nRestoreDelay=200\r\n", Reduced(), {}, {}, "RN_4 soft", 0},
        // The nearly invisible line still takes the mouse.
        {"AutoRed=1\r\nLineColor=4\r\n", Reduced(kLeft, 16), {128, 255}, {16}, "timAutoreduce", 0},
        // Fading goes in the steps of FadeSteps, both ways.
        {"AutoRed=2\r\nTransparencyIdx=0\r\n", {Shown().rect, 191}, {}, {}, "FadeNow(1) Mouse", 1024},
        {"AutoRed=2\r\nTransparencyIdx=1\r\n", {Shown().rect, 127}, {}, {}, "FadeNow(0)", 0},
        {"AutoRed=2\r\nTransparencyIdx=2\r\n", {Shown().rect, 63}, {}, {}, "FadeNow(1) Mouse", 0},
        // Faded to the last entry, the bar also moves up to its line.
        {"AutoRed=2\r\nTransparencyIdx=3\r\n", Reduced(kLeft, 16), {}, {}, "FadeNow(1) UnRed", 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        Reset();
        HWND bar = StartBar(Ini(Notepads(10), "RestoreDelay=0\r\n" + c.settings));
        ASSERT_TRUE(bar) << "the bar did not appear";
        ASSERT_TRUE(WaitFor(Ms(3000), [&] { return In(bar, c.resting); })) << "not resting";
        const bool reduced = c.resting.rect.top < 0, delayed = c.settings.ends_with("200\r\n");
        const bool fade = c.settings.starts_with("AutoRed=2");
        const int alpha = c.resting.alpha;
        for (int i = 0; delayed && i < 30; ++i) {
            MoveMouseTo(kLeft + 20 + 4 * i, 0);
            Sleep(40);
            ASSERT_TRUE(In(bar, c.resting)) << "restored while sliding, step " << i;
        }

        size_t seen = AlphaLines(0).size();
        const double touched = NowMs();
        MoveMouseTo(kLeft + 50, reduced ? 0 : 10);
        const Motion in = Follow(bar, c.resting, Shown(), touched, {kLeft + 50, reduced ? 0 : 10});
        ASSERT_GE(in.arrived, 0) << "not back: " << Describe(WindowRect(bar)) << LogTail();
        EXPECT_GE(in.arrived, delayed ? 150 : 0) << "restored before the mouse rested 200 ms";
        EXPECT_LE(in.arrived, delayed ? 1500 : 1000);
        EXPECT_EQ(AlphaLines(seen), fade ? FadeSteps(alpha, 255) : c.in);
        EXPECT_FALSE(WaitFor(Ms(1000), [&] { return !In(bar, Shown()); })) << "left the mouse";

        seen = AlphaLines(0).size();
        // A move over the bar restarts the 667 ms countdown.
        MoveMouseTo(kLeft + 60, 10);
        const double moved = NowMs();
        Sleep(30);
        MoveMouseAndStay(kAway.x, kAway.y);
        const Motion out = Follow(bar, Shown(), c.resting, moved, kAway);
        EXPECT_GE(out.left, 550) << "left too early";
        EXPECT_TRUE(out.arrived >= 600 && out.arrived <= 1500) << out.arrived << LogTail();
        EXPECT_EQ(AlphaLines(seen), fade ? FadeSteps(255, alpha) : c.out);
        if (c.settings.find("SoftRed") != std::string::npos) {
            EXPECT_GE(in.Between(), 3) << "no slide down seen";
            EXPECT_GE(out.Between(), 3) << "no slide up seen";
        }
        EXPECT_GT(Logged(c.logged), 0) << LogTail();

        // A new screen size is followed at the fast tick (200 ms), not the 1 or 2 s one.
        if (!c.screen) continue;
        struct ScreenGuard {  // puts the screen back however the test ends
            ~ScreenGuard() { ChangeDisplaySettingsW(nullptr, 0); }
        } guard;
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = c.screen;
        mode.dmPelsHeight = c.screen * 3 / 4;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        ASSERT_EQ(ChangeDisplaySettingsW(&mode, 0), DISP_CHANGE_SUCCESSFUL);
        State there = c.resting;
        OffsetRect(&there.rect, c.screen - 1280, 0);
        EXPECT_TRUE(WaitFor(Ms(600), [&] { return In(bar, there); }, Ms(2))) << LogTail();
        EXPECT_GT(Logged("WM_DISPLAYCHANGE"), 0) << LogTail();
        ASSERT_EQ(ChangeDisplaySettingsW(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
        EXPECT_TRUE(WaitFor(Ms(3000), [&] { return In(bar, c.resting); })) << LogTail();
    }
}

TEST_F(BarMotion, WideBar_ScrollsWhileTheMouseRestsAtAScreenEdge) {
    const int width = 61 * 22;  // 1342: wider than the room
    const int visible = 1280 - kRightGap, hidden = width - visible;
    HWND bar = StartBar(Ini(Notepads(60), "AutoRed=0\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(WaitFor(Ms(3000), [&] { return In(bar, Shown(0, visible)); }));
    Sleep(300);
    const RECT row{0, 10, visible, 11};
    const Pixels before = GrabScreen(row);

    // At the left edge the hidden cells come in: the window grows to the screen's width, its
    // content moves right. Wine may replay motion late: the cursor is put back again.
    const auto restAt = [](int x) { return CursorAt(x, 10) || MoveMouseTo(x, 10); };
    const auto scrolledIn = [&] {
        restAt(0);
        const Pixels now = GrabScreen({0, 10, 1280, 11});
        // Left of x = 30 the cursor may cover the bar.
        for (int x = 30; x + hidden < 1280; ++x)
            if (now.At(x + hidden, 0) != before.At(x, 0)) return false;
        return In(bar, Shown(0, 1280));
    };
    ASSERT_TRUE(MoveMouseAndStay(0, 10));
    EXPECT_TRUE(WaitFor(Ms(5000), scrolledIn, Ms(50))) << "not scrolled in" << LogTail();
    // At the right edge it goes back to the right-aligned placement.
    ASSERT_TRUE(MoveMouseAndStay(1279, 10));
    const auto scrolledBack = [&] {
        restAt(1279);
        return In(bar, Shown(0, visible)) && GrabScreen(row).Px == before.Px;
    };
    EXPECT_TRUE(WaitFor(Ms(5000), scrolledBack, Ms(50))) << "not scrolled back" << LogTail();
}

class Foreground : public ZorvE2E {
  protected:
    Probes probes_{Folder().Root() / L"probe.exe", Folder().Root() / L"records"};
    HWND bar_ = nullptr;
    Pixels look_;  // the bar's row while nothing covered it

    // The bar is the window found at its place, and the screen shows its pixels.
    bool InFront() {
        const Pixels now = GrabScreen({kLeft, 10, kLeft + kWidth, 11});
        const int unlike = std::inner_product(now.Px.begin(), now.Px.end(), look_.Px.begin(), 0,
                                              std::plus<>(), std::not_equal_to<>());
        return WindowFromPoint({kLeft + 50, 10}) == bar_ &&
               WindowFromPoint({kLeft + kWidth - 5, 0}) == bar_ && unlike * 50 < kWidth;
    }
};

TEST_F(Foreground, OrdinaryWindowsLeaveTheBarInFront_AFullScreenOneMakesItGiveWayUntilItCloses) {
    // The save asked for at the start (no stored face colour) waits while the mouse is on the bar.
    MoveMouseAndStay(kLeft + 50, 10);
    bar_ = StartBar(Ini(Notepads(10), "AutoRed=0\r\nLineColor=1\r\n"));
    const double shown = NowMs();
    ASSERT_TRUE(bar_ && WaitFor(Ms(3000), [&] { return In(bar_, Shown()); }));
    // Its row once painted: not the desktop's colour, and the same 100 ms later.
    ASSERT_TRUE(WaitFor(Ms(3000), [&] {
        look_ = GrabScreen({kLeft, 10, kLeft + kWidth, 11});
        Sleep(100);
        return look_.Px == GrabScreen({kLeft, 10, kLeft + kWidth, 11}).Px &&
               std::count(look_.Px.begin(), look_.Px.end(), 0x256F95u) < 10;
    })) << "the bar's pixels did not settle";

    // Windows over the bar's place, not filling the screen, leave it in front; judged once the
    // bar has seen the change (log), and again later: the screen may show the raise late.
    const HWND first = probes_.Open(L"--title=First --at=0,0,1280,500");
    const HWND second = probes_.Open(L"--title=Second --at=100,0,1100,600");
    for (HWND w : {second, first, second, first}) {
        const std::string handled = "WorkOnNewFGWin() B " + Narrow(WindowText(w)) + " ";
        const int seen = Logged(handled);
        ASSERT_TRUE(Activate(w) && WaitFor(Ms(3000), [&] { return Logged(handled) > seen; }));
        EXPECT_TRUE(WaitFor(Ms(3000), [&] { return InFront(); })) << "covered" << LogTail();
        EXPECT_FALSE(WaitFor(Ms(300), [&] { return !InFront(); })) << "covered later";
        EXPECT_TRUE(In(bar_, Shown())) << Describe(WindowRect(bar_));
    }
    EXPECT_GT(Logged("#### ONtop ####"), 0) << LogTail();
    EXPECT_EQ(Logged("VID: 1"), 0) << "an ordinary window counted as full-screen" << LogTail();
    EXPECT_FALSE(WaitFor(Ms(std::max(0LL, static_cast<long long>(shown + 2500 - NowMs()))),
                         [&] { return Logged("SaveIni(") > 0; }))
        << "saved with the mouse on the bar" << LogTail();

    const HWND full = probes_.Open(L"--title=Full --popup --at=0,0,1280,800");
    ASSERT_TRUE(Activate(full)) << "the full-screen window is not in front";
    ASSERT_TRUE(WaitFor(Ms(5000), [&] { return WindowFromPoint({kLeft + 50, 10}) != bar_; }));
    // Covered: the bar is reduced to its line until the window closes.
    ASSERT_TRUE(WaitFor(Ms(5000), [&] { return Logged("VID: 1"); })) << LogTail();
    ASSERT_TRUE(WaitFor(Ms(3000), [&] { return WindowRect(bar_).top < 0; })) << LogTail();

    // Once the mouse leaves, the pending save keeps the user's values.
    MoveMouseAndStay(kAway.x, kAway.y);
    ASSERT_TRUE(WaitFor(Ms(2500), [&] { return Logged("SaveIni("); })) << "not saved";
    const std::string ini = ReadWholeFile(Folder().IniFile()).value_or("");
    EXPECT_NE(ini.find("\r\nAutoRed=0\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("\r\nLineColor=1\r\n"), std::string::npos) << ini;

    PostMessageW(full, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor(Ms(6000), [&] { return In(bar_, Shown()) && InFront(); })) << LogTail();
    EXPECT_GT(Logged("VID: 0"), 0) << LogTail();
    EXPECT_TRUE(GetWindowLongPtrW(bar_, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
}  // namespace zorv::e2e
