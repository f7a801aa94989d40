// How the bar reacts when another window comes to the front: it stays in
// front of ordinary windows activated over it, gets out of the way of a
// window that fills the screen and comes back when that window closes. The
// driver owns the other windows; what counts is what a user would see: the
// window found at the bar's points, the bar's rectangle, the pixels on the
// screen, and the configuration it saves meanwhile.
#include <algorithm>
#include <future>
#include <thread>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr int kWidth = 11 * 22;  // ten buttons and the main-menu cell
constexpr int kLeft = 1280 - kRightGap - kWidth;
constexpr RECT kShown = {kLeft, 0, kLeft + kWidth, 20};
constexpr wchar_t kDriverClass[] = L"ZorvForegroundTestWindow";

// A magenta window of the driver on a thread of its own, whose message loop
// answers the bar's questions (its text, hit tests) while the test waits.
class DriverWindow {
  public:
    DriverWindow(DWORD style, const RECT& r, const wchar_t* title) {
        std::promise<HWND> created;
        thread_ = std::thread([&created, style, r, title] {
            static const bool registered = [] {
                WNDCLASSEXW wc{};
                wc.cbSize = sizeof wc;
                wc.lpfnWndProc = Proc;
                wc.hInstance = GetModuleHandleW(nullptr);
                wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
                wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
                wc.lpszClassName = kDriverClass;
                return RegisterClassExW(&wc) != 0;
            }();
            HWND w = registered ? CreateWindowExW(0, kDriverClass, title, style, r.left, r.top,
                                                  r.right - r.left, r.bottom - r.top, nullptr,
                                                  nullptr, GetModuleHandleW(nullptr), nullptr)
                                : nullptr;
            if (w) ShowWindow(w, SW_SHOW);
            created.set_value(w);
            MSG msg;
            while (w && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        });
        hwnd_ = created.get_future().get();
    }
    ~DriverWindow() { Close(); }
    DriverWindow(const DriverWindow&) = delete;
    DriverWindow& operator=(const DriverWindow&) = delete;

    HWND Handle() const { return hwnd_; }

    // Brings the window to the front and keeps it there for 200 ms: under
    // Wine a window shown just before may take the foreground back once the
    // X server has reported its focus.
    bool Activate() const {
        for (int attempt = 0; attempt < 3; ++attempt) {
            SetForegroundWindow(hwnd_);
            if (!WaitFor([&] { return GetForegroundWindow() == hwnd_; }, Ms(3000))) continue;
            if (!WaitFor([&] { return GetForegroundWindow() != hwnd_; }, Ms(200))) return true;
        }
        return false;
    }

    void Close() {
        if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        hwnd_ = nullptr;
        if (thread_.joinable()) thread_.join();
    }

  private:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(w, msg, wParam, lParam);
    }

    std::thread thread_;
    HWND hwnd_ = nullptr;
};

HWND WindowAt(int x, int y) {
    return WindowFromPoint(POINT{x, y});
}

// The share of pixels in which the bar's row differs from `look`.
double Unlike(const Pixels& look) {
    const Pixels now = GrabScreen({kLeft, 10, kLeft + kWidth, 11});
    size_t differ = 0;
    for (size_t i = 0; i < look.Px.size() && i < now.Px.size(); ++i)
        differ += look.Px[i] != now.Px[i];
    return look.Px.empty() ? 1.0 : static_cast<double>(differ) / look.Px.size();
}

// What a user sees of the bar at its normal place: the bar is the window
// found there, and the screen shows its pixels (`look`, its row taken while
// nothing covered it), not those of a window in front of it.
bool BarInFront(HWND bar, const Pixels& look) {
    return WindowAt(kLeft + 50, 10) == bar && WindowAt(kLeft + kWidth - 5, 0) == bar &&
           Unlike(look) < 0.02;
}

std::string FrontReport(HWND bar, const Pixels& look) {
    const auto name = [bar](HWND w) {
        return w == bar ? std::string("the bar") : Narrow(WindowClass(w) + L" " + WindowText(w));
    };
    return "bar " + Describe(WindowRect(bar)) + ", at its row: " + name(WindowAt(kLeft + 50, 10)) +
           ", at its line: " + name(WindowAt(kLeft + kWidth - 5, 0)) + ", " +
           std::to_string(static_cast<int>(Unlike(look) * 100)) + "% of its row look different";
}

bool IsShown(HWND bar) {
    const RECT r = WindowRect(bar);
    return EqualRect(&r, &kShown) != FALSE;
}

using Foreground = ZorvE2E;

TEST_F(Foreground, OrdinaryWindowsLeaveTheBarInFront_AFullScreenOneMakesItGiveWayUntilItCloses) {
    // The mouse rests where the bar will be: the save asked for at the start
    // (the file has no stored face colour) waits while the mouse is on it.
    MoveMouseAndStay(kLeft + 50, 10);
    HWND bar = StartBar(Ini(Notepads(10), "AutoRed=0\r\nLineColor=1\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    const double shown = NowMs();
    ASSERT_TRUE(WaitFor([&] { return IsShown(bar); }, Ms(3000))) << Describe(WindowRect(bar));
    // The bar's row once it has painted itself: no longer the desktop's
    // colour, and the same in two looks 100 ms apart.
    Pixels look;
    ASSERT_TRUE(WaitFor(
        [&] {
            const Pixels before = GrabScreen({kLeft, 10, kLeft + kWidth, 11});
            Sleep(100);
            look = GrabScreen({kLeft, 10, kLeft + kWidth, 11});
            return look.Px == before.Px &&
                   std::count(look.Px.begin(), look.Px.end(), 0x256F95u) < 10;
        },
        Ms(3000), Ms(10)))
        << "the bar's pixels did not settle";

    // Two captioned windows over the bar's place, neither filling the screen;
    // each activation must leave the bar in front on the screen. Each is
    // judged after the bar has looked at it ("B" and the window's title in
    // the log), and a while later again: the screen may show the activated
    // window's raise a little late.
    DriverWindow first(WS_OVERLAPPEDWINDOW, RECT{0, 0, 1280, 500}, L"First");
    DriverWindow second(WS_OVERLAPPEDWINDOW, RECT{100, 0, 1200, 600}, L"Second");
    ASSERT_TRUE(first.Handle() && second.Handle());
    for (const auto& [w, title] : {std::pair{&second, "Second"},
                                   {&first, "First"},
                                   {&second, "Second"},
                                   {&first, "First"}}) {
        const std::string handled = std::string("WorkOnNewFGWin() B ") + title + " ";
        const int seen = LogCount(handled);
        ASSERT_TRUE(w->Activate() && WaitFor([&] { return LogCount(handled) > seen; }, Ms(3000)))
            << "the foreground change went unnoticed" << LogTail();
        EXPECT_TRUE(WaitFor([&] { return BarInFront(bar, look); }, Ms(3000)))
            << "the bar stays covered: " << FrontReport(bar, look) << LogTail();
        EXPECT_FALSE(WaitFor([&] { return !BarInFront(bar, look); }, Ms(300)))
            << "covered later: " << FrontReport(bar, look);
        EXPECT_TRUE(IsShown(bar)) << Describe(WindowRect(bar));
    }
    EXPECT_GE(LogIndex("#### ONtop ####"), 0) << LogTail();
    EXPECT_LT(LogIndex("VID: 1"), 0) << "an ordinary window counted as full-screen" << LogTail();
    EXPECT_FALSE(WaitFor([&] { return LogIndex("SaveIni(") >= 0; },
                         Ms(std::max(0LL, static_cast<long long>(shown + 2500 - NowMs())))))
        << "saved with the mouse on the bar" << LogTail();

    DriverWindow full(WS_POPUP, RECT{0, 0, 1280, 800}, L"Full screen");
    ASSERT_TRUE(full.Handle() && full.Activate()) << "the full-screen window is not in front";
    ASSERT_TRUE(WaitFor([&] { return WindowAt(kLeft + 50, 10) != bar; }, Ms(5000)))
        << "the bar stays in front of a full-screen window: " << Describe(WindowRect(bar))
        << LogTail();
    // Covered: the bar runs reduced to its line until the window closes.
    ASSERT_TRUE(WaitForLog("VID: 1")) << LogTail();
    ASSERT_TRUE(WaitFor([&] { return WindowRect(bar).top < 0; }, Ms(3000)))
        << Describe(WindowRect(bar)) << LogTail();

    // The mouse leaves; the pending save now happens, with the user's values
    // rather than the reduced state the full-screen window forced.
    MoveMouseAndStay(kAway.x, kAway.y);
    ASSERT_TRUE(WaitForLog("SaveIni(", Ms(2500))) << "not saved after the mouse left" << LogTail();
    const std::string ini = ReadWholeFile(Folder().IniFile()).value_or("");
    EXPECT_NE(ini.find("\r\nAutoRed=0\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("\r\nLineColor=1\r\n"), std::string::npos) << ini;

    full.Close();
    EXPECT_TRUE(WaitFor([&] { return IsShown(bar) && BarInFront(bar, look); }, Ms(6000)))
        << "the bar did not come back: " << FrontReport(bar, look) << LogTail();
    EXPECT_GE(LogIndex("VID: 0"), 0) << LogTail();
    EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
}  // namespace zorv::e2e
