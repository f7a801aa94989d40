// How the bar gets out of the way when the mouse leaves it (up to its last
// pixel row, or faded), comes back when the mouse returns, scrolls when it is
// wider than the screen, and follows a new screen size. Judged by the bar's
// window rectangle, its layered alpha and the log; the mouse is moved with
// SendInput.
#include <algorithm>
#include <cmath>
#include <set>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr int kH = 20;           // ButH_id 0
constexpr int kWidth = 11 * 22;  // ten buttons and the main-menu cell
constexpr int kLeft = 1280 - kRightGap - kWidth;

// Where the bar stands and how opaque it is.
struct State {
    RECT rect;
    int alpha = 255;  // also when the bar is not layered
};

State Shown(int left = kLeft, int width = kWidth) {
    return {{left, 0, left + width, kH}};
}
State Reduced(int left = kLeft, int alpha = 255) {
    return {{left, -kH, left + kWidth, 1}, alpha};
}

bool In(HWND bar, const State& s) {
    const RECT r = WindowRect(bar);
    return EqualRect(&r, &s.rect) && LayeredAlpha(bar) == s.alpha;
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

// The bar followed from `since` until it is `to` (3 s at most): when it first
// left `from`, when it arrived, and the tops it stood at meanwhile.
struct Motion {
    double left = -1, arrived = -1;
    std::set<LONG> tops;
    int Between() const {  // tops of a slide, neither shown nor reduced
        return static_cast<int>(
            std::count_if(tops.begin(), tops.end(), [](LONG t) { return t > -kH && t < 0; }));
    }
};

Motion Follow(HWND bar, const State& from, const State& to, double since) {
    Motion m;
    WaitFor(
        [&] {
            if (m.left < 0 && !In(bar, from)) m.left = NowMs() - since;
            m.tops.insert(WindowRect(bar).top);
            if (In(bar, to)) m.arrived = NowMs() - since;
            return m.arrived >= 0;
        },
        Ms(3000), Ms(1));
    return m;
}

class BarMotion : public ZorvE2E {
  protected:
    // The values of the "SetAlphaValue(n)" lines from the `skip`+1-th on.
    std::vector<int> AlphaLines(size_t skip) {
        std::vector<int> alphas;
        for (const std::string& m : LogMessages()) {
            if (m.starts_with("SetAlphaValue(")) alphas.push_back(std::atoi(m.c_str() + 14));
        }
        alphas.erase(alphas.begin(), alphas.begin() + std::min(skip, alphas.size()));
        return alphas;
    }
};

TEST_F(BarMotion, LeavesAfterTheMouse_AndComesBackUnderIt_ReducedSoftOrFaded) {
    const struct {
        std::string settings;
        State resting;
        std::vector<int> in, out;  // the alpha steps of coming back and of leaving
        const char* logged;
    } cases[] = {
        {"AutoRed=1\r\n", Reduced(), {}, {}, "RN_1 ReduceNow()"},
        {"AutoRed=1\r\nSoftRed=1\r\nRestoreDelay=200\r\n", Reduced(), {}, {}, "RN_4 soft"},
        // The nearly invisible line still takes the mouse.
        {"AutoRed=1\r\nLineColor=4\r\n", Reduced(kLeft, 16), {128, 255}, {16}, "timAutoreduce"},
        {"AutoRed=2\r\nTransparencyIdx=0\r\n",
         {Shown().rect, 191},
         FadeSteps(191, 255),
         FadeSteps(255, 191),
         "FadeNow(1) MouseMove"},
        {"AutoRed=2\r\nTransparencyIdx=1\r\n",
         {Shown().rect, 127},
         FadeSteps(127, 255),
         FadeSteps(255, 127),
         "FadeNow(0) AutoreduceTimer"},
        {"AutoRed=2\r\nTransparencyIdx=2\r\n",
         {Shown().rect, 63},
         FadeSteps(63, 255),
         FadeSteps(255, 63),
         "FadeNow(1) MouseMove"},
        // Faded to the last entry, the bar also moves up to its line.
        {"AutoRed=2\r\nTransparencyIdx=3\r\n", Reduced(kLeft, 16), FadeSteps(16, 255),
         FadeSteps(255, 16), "FadeNow(1) UnReduce"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        Reset();
        HWND bar = StartBar(Ini(Notepads(10), "RestoreDelay=0\r\n" + c.settings));
        ASSERT_TRUE(bar) << "the bar did not appear";
        ASSERT_TRUE(WaitFor([&] { return In(bar, c.resting); }, Ms(3000)))
            << "not resting after the start: " << Describe(WindowRect(bar)) << ", alpha "
            << LayeredAlpha(bar) << LogTail();
        const bool reduced = c.resting.rect.top < 0, delayed = c.settings.ends_with("200\r\n");
        // A delayed restore wants the mouse to rest on the line: 4 pixels
        // sideways every 40 ms never rest for 200 ms.
        for (int i = 0; delayed && i < 30; ++i) {
            MoveMouseTo(kLeft + 20 + 4 * i, 0);
            Sleep(40);
            ASSERT_TRUE(In(bar, c.resting)) << "restored while sliding, step " << i;
        }

        size_t seen = AlphaLines(0).size();
        const double touched = NowMs();
        MoveMouseTo(kLeft + 50, reduced ? 0 : 10);
        const Motion in = Follow(bar, c.resting, Shown(), touched);
        ASSERT_GE(in.arrived, 0) << "not back: " << Describe(WindowRect(bar)) << LogTail();
        EXPECT_GE(in.arrived, delayed ? 150 : 0) << "restored before the mouse rested 200 ms";
        EXPECT_LE(in.arrived, delayed ? 1500 : 1000);
        EXPECT_EQ(AlphaLines(seen), c.in);
        EXPECT_FALSE(WaitFor([&] { return !In(bar, Shown()); }, Ms(1000)))
            << "left while the mouse rests on it";

        seen = AlphaLines(0).size();
        // A move over the bar restarts the 667 ms countdown; leaving at once
        // means it runs from (about) the move.
        MoveMouseTo(kLeft + 60, 10);
        const double moved = NowMs();
        Sleep(30);
        MoveMouseAndStay(kAway.x, kAway.y);
        const Motion out = Follow(bar, Shown(), c.resting, moved);
        EXPECT_GE(out.left, 550) << "left too early";
        EXPECT_GE(out.arrived, 600) << LogTail();
        EXPECT_LE(out.arrived, 1500) << Describe(WindowRect(bar)) << LogTail();
        EXPECT_EQ(AlphaLines(seen), c.out);
        if (c.settings.find("SoftRed") != std::string::npos) {
            EXPECT_GE(in.Between(), 3) << "no slide down seen";
            EXPECT_GE(out.Between(), 3) << "no slide up seen";
        }
        EXPECT_GT(Logged(c.logged), 0) << LogTail();
    }
}

TEST_F(BarMotion, WideBar_ScrollsWhileTheMouseRestsAtAScreenEdge) {
    const int width = 61 * 22;  // 1342: wider than the room
    const int visible = 1280 - kRightGap, hidden = width - visible;
    HWND bar = StartBar(Ini(Notepads(60), "AutoRed=0\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(WaitFor([&] { return In(bar, Shown(0, visible)); }, Ms(3000)))
        << Describe(WindowRect(bar));
    Sleep(300);
    const RECT row{0, 10, visible, 11};
    const Pixels before = GrabScreen(row);

    // At the left edge the hidden cells come in: the window grows to the
    // screen's width and its content moves right by the hidden part. Wine
    // may replay motion events of the busy scroll late and put the cursor
    // back, so the mouse is put back where it must rest.
    const auto restAt = [](int x) { return CursorAt(x, 10) || MoveMouseTo(x, 10); };
    ASSERT_TRUE(MoveMouseAndStay(0, 10));
    EXPECT_TRUE(WaitFor(
        [&] {
            restAt(0);
            if (!In(bar, Shown(0, 1280))) return false;
            const Pixels now = GrabScreen({0, 10, 1280, 11});
            // Left of x = 30 the cursor may cover the bar.
            for (int x = 30; x + hidden < 1280; ++x) {
                if (now.At(x + hidden, 0) != before.At(x, 0)) return false;
            }
            return true;
        },
        Ms(5000), Ms(50)))
        << "not scrolled to the bar's left end: " << Describe(WindowRect(bar)) << LogTail();

    // At the right edge it goes back to the right-aligned placement.
    ASSERT_TRUE(MoveMouseAndStay(1279, 10));
    EXPECT_TRUE(WaitFor(
        [&] {
            restAt(1279);
            return In(bar, Shown(0, visible)) && GrabScreen(row).Px == before.Px;
        },
        Ms(5000), Ms(50)))
        << "not scrolled back: " << Describe(WindowRect(bar)) << LogTail();
}

TEST_F(BarMotion, NewScreenSize_IsFollowedWithinOneTick_ShownOrReduced) {
    // Puts the screen back however the test ends.
    struct ScreenSizeGuard {
        ~ScreenSizeGuard() { ChangeDisplaySettingsW(nullptr, 0); }
    } guard;
    const struct {
        const char* settings;
        int width, height;
        bool reduced;
    } cases[] = {{"AutoRed=0\r\n", 1024, 768, false}, {"AutoRed=1\r\n", 800, 600, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        Reset();
        const auto at = [&](int screen) {
            const int left = screen - kRightGap - kWidth;
            return c.reduced ? Reduced(left) : Shown(left);
        };
        HWND bar = StartBar(Ini(Notepads(10), c.settings));
        ASSERT_TRUE(bar) << "the bar did not appear";
        ASSERT_TRUE(WaitFor([&] { return In(bar, at(1280)); }, Ms(3000)))
            << Describe(WindowRect(bar)) << LogTail();
        // Past the first ticks, which may place the bar themselves.
        Sleep(1500);

        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = c.width;
        mode.dmPelsHeight = c.height;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        ASSERT_EQ(ChangeDisplaySettingsW(&mode, 0), DISP_CHANGE_SUCCESSFUL);
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width);
        // The fast tick (200 ms) after the change, not the one- or two-second one.
        EXPECT_TRUE(WaitFor([&] { return In(bar, at(c.width)); }, Ms(600), Ms(2)))
            << Describe(WindowRect(bar)) << LogTail();
        EXPECT_GT(Logged("WM_DISPLAYCHANGE"), 0) << LogTail();
        ASSERT_EQ(ChangeDisplaySettingsW(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
        EXPECT_TRUE(WaitFor([&] { return In(bar, at(1280)); }, Ms(3000)))
            << Describe(WindowRect(bar)) << LogTail();
    }
}

}  // namespace
}  // namespace zorv::e2e
