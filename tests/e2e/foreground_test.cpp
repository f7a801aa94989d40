// How the bar reacts when another window comes to the front: it stays in
// front of ordinary windows activated over it, gets out of the way of a
// window that fills the screen and comes back when that window closes. The
// other windows are probes (tests/e2e/probe); what counts is what a user
// would see: the window found at the bar's points, the bar's rectangle, the
// pixels on the screen, and the configuration it saves meanwhile.
#include <numeric>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr int kWidth = 11 * 22;  // ten buttons and the main-menu cell
constexpr int kLeft = 1280 - kRightGap - kWidth;
constexpr RECT kShown = {kLeft, 0, kLeft + kWidth, 20}, kRow = {kLeft, 10, kLeft + kWidth, 11};

class Foreground : public ZorvE2E {
  protected:
    Probes probes_{Folder().Root() / L"probe.exe", Folder().Root() / L"records"};
    HWND bar_ = nullptr;
    Pixels look_;  // the bar's row while nothing covered it

    bool Shown() {
        const RECT r = WindowRect(bar_);
        return EqualRect(&r, &kShown);
    }
    // What a user sees of the bar at its normal place: the bar is the window
    // found there, and the screen shows its pixels, not those of a window in
    // front of it.
    bool InFront() {
        const Pixels now = GrabScreen(kRow);
        return WindowFromPoint({kLeft + 50, 10}) == bar_ &&
               WindowFromPoint({kLeft + kWidth - 5, 0}) == bar_ &&
               std::inner_product(now.Px.begin(), now.Px.end(), look_.Px.begin(), 0, std::plus<>(),
                                  std::not_equal_to<>()) *
                       50 <
                   kWidth;
    }
    std::string Report() {
        const auto name = [&](HWND w) { return Narrow(WindowClass(w) + L" " + WindowText(w)); };
        return "bar at " + Describe(WindowRect(bar_)) +
               ", in front at its row: " + name(WindowFromPoint({kLeft + 50, 10})) + LogTail();
    }
};

TEST_F(Foreground, OrdinaryWindowsLeaveTheBarInFront_AFullScreenOneMakesItGiveWayUntilItCloses) {
    // The mouse rests where the bar will be: the save asked for at the start
    // (the file has no stored face colour) waits while the mouse is on it.
    MoveMouseAndStay(kLeft + 50, 10);
    bar_ = StartBar(Ini(Notepads(10), "AutoRed=0\r\nLineColor=1\r\n"));
    const double shown = NowMs();
    ASSERT_TRUE(bar_ && WaitFor([&] { return Shown(); }, Ms(3000))) << "the bar did not appear";
    // Its row once it has painted itself: no longer the desktop's colour, and
    // the same in two looks 100 ms apart.
    ASSERT_TRUE(WaitFor(
        [&] {
            look_ = GrabScreen(kRow);
            Sleep(100);
            return look_.Px == GrabScreen(kRow).Px &&
                   std::count(look_.Px.begin(), look_.Px.end(), 0x256F95u) < 10;
        },
        Ms(3000), Ms(10)))
        << "the bar's pixels did not settle";

    // Two captioned windows over the bar's place, neither filling the screen:
    // each activation must leave the bar in front on the screen. Each is
    // judged after the bar has looked at it ("B" and the window's title in
    // the log), and a while later again: the screen may show the activated
    // window's raise a little late.
    const HWND first = probes_.Open(L"--title=First --at=0,0,1280,500");
    const HWND second = probes_.Open(L"--title=Second --at=100,0,1100,600");
    for (HWND w : {second, first, second, first}) {
        const std::string handled = "WorkOnNewFGWin() B " + Narrow(WindowText(w)) + " ";
        const int seen = Logged(handled);
        ASSERT_TRUE(Activate(w) && WaitFor([&] { return Logged(handled) > seen; }, Ms(3000)))
            << "the foreground change went unnoticed" << LogTail();
        EXPECT_TRUE(WaitFor([&] { return InFront(); }, Ms(3000))) << "covered: " << Report();
        EXPECT_FALSE(WaitFor([&] { return !InFront(); }, Ms(300))) << "covered later: " << Report();
        EXPECT_TRUE(Shown()) << Describe(WindowRect(bar_));
    }
    EXPECT_GT(Logged("#### ONtop ####"), 0) << LogTail();
    EXPECT_EQ(Logged("VID: 1"), 0) << "an ordinary window counted as full-screen" << LogTail();
    EXPECT_FALSE(WaitFor([&] { return Logged("SaveIni(") > 0; },
                         Ms(std::max(0LL, static_cast<long long>(shown + 2500 - NowMs())))))
        << "saved with the mouse on the bar" << LogTail();

    const HWND full = probes_.Open(L"--title=Full --popup --at=0,0,1280,800");
    ASSERT_TRUE(Activate(full)) << "the full-screen window is not in front";
    ASSERT_TRUE(WaitFor(
        [&] {
            return WindowFromPoint({kLeft + 50, 10}) != bar_;
        },
        Ms(5000)))
        << "the bar stays in front of a full-screen window: " << Report();
    // Covered: the bar runs reduced to its line until the window closes.
    ASSERT_TRUE(WaitForLog("VID: 1")) << LogTail();
    ASSERT_TRUE(WaitFor([&] { return WindowRect(bar_).top < 0; }, Ms(3000))) << Report();

    // The mouse leaves; the pending save now happens, with the user's values
    // rather than the reduced state the full-screen window forced.
    MoveMouseAndStay(kAway.x, kAway.y);
    ASSERT_TRUE(WaitForLog("SaveIni(", Ms(2500))) << "not saved after the mouse left" << LogTail();
    const std::string ini = ReadWholeFile(Folder().IniFile()).value_or("");
    EXPECT_NE(ini.find("\r\nAutoRed=0\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("\r\nLineColor=1\r\n"), std::string::npos) << ini;

    PostMessageW(full, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return Shown() && InFront(); }, Ms(6000)))
        << "the bar did not come back: " << Report();
    EXPECT_GT(Logged("VID: 0"), 0) << LogTail();
    EXPECT_TRUE(GetWindowLongPtrW(bar_, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
}  // namespace zorv::e2e
