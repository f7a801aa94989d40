// How the bar reacts when another window comes to the front: it gets out of
// the way of a window that fills the screen and comes back when that window
// closes, and it stays in front of an ordinary window activated over it. The
// driver owns the other windows; what counts is what a user would see: the
// window found at the bar's points, the bar's rectangle, and the pixels on
// the screen.
#include <algorithm>
#include <future>
#include <thread>

#include "support/screen_input.h"
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr int kRightGap = 58;  // 3 * SM_CXSIZE + 4 with SM_CXSIZE 18
constexpr int kH = 20;         // ButH_id 0
constexpr int kButtonWidth = 22;
constexpr int kButtons = 10;
constexpr int kBarWidth = (kButtons + 1) * kButtonWidth;
constexpr int kBarLeft = 1280 - kRightGap - kBarWidth;
constexpr POINT kAway = {640, 400};  // the desktop, or the driver's window
constexpr COLORREF kWindowColour = RGB(255, 0, 255);
constexpr wchar_t kDriverClass[] = L"ZorvForegroundTestWindow";

RECT Shown() {
    return {kBarLeft, 0, kBarLeft + kBarWidth, kH};
}

bool Is(HWND bar, const RECT& want) {
    const RECT r = WindowRect(bar);
    return EqualRect(&r, &want) != FALSE;
}

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

HWND WindowAt(int x, int y) {
    return WindowFromPoint(POINT{x, y});
}

// A window of the driver, filled with magenta, on a thread of its own whose
// message loop answers the bar's questions (its text, hit tests) while the
// test waits.
class DriverWindow {
  public:
    DriverWindow(DWORD style, const RECT& r, const wchar_t* title) {
        std::promise<HWND> created;
        std::future<HWND> handle = created.get_future();
        thread_ = std::thread([&created, style, r, title] {
            RegisterClassOnce();
            HWND w = CreateWindowExW(0, kDriverClass, title, style, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                                     nullptr);
            if (w) ShowWindow(w, SW_SHOW);
            created.set_value(w);
            if (!w) return;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        });
        hwnd_ = handle.get();
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
        if (msg == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(w, msg, wParam, lParam);
    }
    static void RegisterClassOnce() {
        static const bool registered = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = CreateSolidBrush(kWindowColour);
            wc.lpszClassName = kDriverClass;
            return RegisterClassExW(&wc) != 0;
        }();
        (void)registered;
    }

    std::thread thread_;
    HWND hwnd_ = nullptr;
};

class Foreground : public ZorvE2E {
  protected:
    void TearDown() override { MoveMouseAndStay(kAway.x, kAway.y); }

    HWND StartBar(std::string_view settings) {
        Folder().WriteIni(NotepadButtonsIni(kButtons, settings));
        Process& p = Start(L"noau nostart");
        HWND bar = WaitForShownBar(p);
        if (bar) WaitFor([&] { return Is(bar, Shown()); }, Ms(3000));
        return bar;
    }

    // The index of the first log line starting with `prefix`, or -1.
    int LogIndex(std::string_view prefix) {
        const std::vector<std::string> messages = LogMessages();
        for (size_t i = 0; i < messages.size(); ++i) {
            if (messages[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
        }
        return -1;
    }

    size_t LogCount(std::string_view prefix) {
        const std::vector<std::string> messages = LogMessages();
        return std::count_if(messages.begin(), messages.end(),
                             [&](const std::string& m) { return m.rfind(prefix, 0) == 0; });
    }

    bool WaitForLog(std::string_view prefix, Ms timeout) {
        return WaitFor([&] { return LogIndex(prefix) >= 0; }, timeout, Ms(50));
    }
};

// The bar's row at height y as the screen shows it.
std::vector<std::uint32_t> BarRow(int y = 10) {
    return ScreenRow(kBarLeft, y, kBarWidth);
}

// The bar's row once the bar has painted itself: no longer the desktop's
// colour, and the same in two looks 100 ms apart. Empty when it never settles.
std::vector<std::uint32_t> PaintedBarRow() {
    constexpr std::uint32_t kDesktop = 0x256F95;
    std::vector<std::uint32_t> row;
    const bool settled = WaitFor(
        [&] {
            std::vector<std::uint32_t> before = BarRow();
            Sleep(100);
            row = BarRow();
            return row == before && std::count(row.begin(), row.end(), kDesktop) < 10;
        },
        Ms(3000), Ms(10));
    return settled ? row : std::vector<std::uint32_t>{};
}

// The share of pixels in which two rows differ.
double Difference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    size_t differ = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) differ += a[i] != b[i];
    return a.empty() ? 1.0 : static_cast<double>(differ) / a.size();
}

// What a user sees of the bar at its normal place: the bar is the window
// found there, and the screen shows its pixels (`look`, its row taken while
// nothing covered it), not those of a window in front of it.
bool BarInFront(HWND bar, const std::vector<std::uint32_t>& look) {
    return WindowAt(kBarLeft + 50, 10) == bar && WindowAt(kBarLeft + kBarWidth - 5, 0) == bar &&
           Difference(BarRow(), look) < 0.02;
}

std::string FrontReport(HWND bar, const std::vector<std::uint32_t>& look) {
    const auto name = [bar](HWND w) {
        return w == bar ? std::string("the bar") : Utf8(WindowClass(w) + L" " + WindowText(w));
    };
    return "bar " + Utf8(Describe(WindowRect(bar))) +
           ", at its row: " + name(WindowAt(kBarLeft + 50, 10)) +
           ", at its line: " + name(WindowAt(kBarLeft + kBarWidth - 5, 0)) + ", " +
           std::to_string(static_cast<int>(Difference(BarRow(), look) * 100)) +
           "% of its row look different";
}

TEST_F(Foreground, FullScreenWindow_BarGivesWay_KeepsTheFileSettings_AndReturnsWhenItCloses) {
    // The mouse rests where the bar will be: the save asked for at the start
    // (the file has no stored face colour) waits while the mouse is on it.
    MoveMouseAndStay(kBarLeft + 50, 10);
    HWND bar = StartBar("AutoRed=0\r\nLineColor=1\r\n");
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(Is(bar, Shown())) << Describe(WindowRect(bar)) << LogTail();
    const std::vector<std::uint32_t> look = PaintedBarRow();
    ASSERT_FALSE(look.empty()) << "the bar's pixels did not settle";
    EXPECT_LT(LogIndex("SaveIni("), 0) << "saved with the mouse on the bar" << LogTail();

    DriverWindow full(WS_POPUP, RECT{0, 0, 1280, 800}, L"Full screen");
    ASSERT_TRUE(full.Handle());
    ASSERT_TRUE(full.Activate()) << "the full-screen window did not come to the front";
    ASSERT_TRUE(WaitFor([&] { return WindowAt(kBarLeft + 50, 10) != bar; }, Ms(5000)))
        << "the bar stays in front of a full-screen window: " << Describe(WindowRect(bar))
        << LogTail();
    // Covered: the bar runs reduced to its line until the window closes.
    ASSERT_TRUE(WaitForLog("VID: 1", Ms(5000))) << LogTail();
    ASSERT_TRUE(WaitFor([&] { return WindowRect(bar).top < 0; }, Ms(3000)))
        << Describe(WindowRect(bar)) << LogTail();

    // The mouse leaves; the pending save now happens, with the user's values.
    MoveMouseAndStay(kAway.x, kAway.y);
    ASSERT_TRUE(WaitForLog("SaveIni(", Ms(6000))) << LogTail();
    EXPECT_LT(LogIndex("VID: 1"), LogIndex("SaveIni(")) << LogTail();
    const std::optional<std::string> ini = ReadWholeFile(Folder().IniFile());
    ASSERT_TRUE(ini);
    EXPECT_NE(ini->find("\r\nAutoRed=0\r\n"), std::string::npos) << *ini;
    EXPECT_NE(ini->find("\r\nLineColor=1\r\n"), std::string::npos) << *ini;

    full.Close();
    EXPECT_TRUE(WaitFor([&] { return Is(bar, Shown()) && BarInFront(bar, look); }, Ms(6000)))
        << "the bar did not come back: " << FrontReport(bar, look) << LogTail();
    EXPECT_GE(LogIndex("VID: 0"), 0) << LogTail();
    EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Foreground, OrdinaryWindowsActivatedOverTheBar_LeaveItInFront) {
    MoveMouseAndStay(kAway.x, kAway.y);
    HWND bar = StartBar("AutoRed=0\r\n");
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(Is(bar, Shown())) << Describe(WindowRect(bar)) << LogTail();
    const std::vector<std::uint32_t> look = PaintedBarRow();
    ASSERT_FALSE(look.empty()) << "the bar's pixels did not settle";

    // Two captioned windows over the bar's place, neither filling the screen;
    // each activation must leave the bar in front on the screen.
    DriverWindow first(WS_OVERLAPPEDWINDOW, RECT{0, 0, 1280, 500}, L"First");
    DriverWindow second(WS_OVERLAPPEDWINDOW, RECT{100, 0, 1200, 600}, L"Second");
    ASSERT_TRUE(first.Handle() && second.Handle());
    // Each activation is judged after the bar has looked at it ("B" and the
    // window's title in the log), and a while later again: the screen may
    // show the activated window's raise a little late.
    const auto handled = [&](const char* title) {
        return LogCount(std::string("WorkOnNewFGWin() B ") + title + " ");
    };
    const auto activate = [&](const DriverWindow& w, const char* title) {
        const size_t seen = handled(title);
        return w.Activate() && WaitFor([&] { return handled(title) > seen; }, Ms(3000));
    };
    ASSERT_TRUE(second.Activate() && WaitFor([&] { return handled("Second") > 0; }, Ms(3000)))
        << LogTail();
    for (const auto& [w, title] :
         {std::pair{&first, "First"}, {&second, "Second"}, {&first, "First"}}) {
        ASSERT_TRUE(activate(*w, title)) << "the foreground change went unnoticed" << LogTail();
        EXPECT_TRUE(WaitFor([&] { return BarInFront(bar, look); }, Ms(3000)))
            << "the bar stays covered: " << FrontReport(bar, look) << LogTail();
        Sleep(300);
        EXPECT_TRUE(BarInFront(bar, look)) << "covered later: " << FrontReport(bar, look);
        EXPECT_TRUE(Is(bar, Shown())) << Describe(WindowRect(bar));
    }
    EXPECT_TRUE(WaitForLog("#### ONtop ####", Ms(3000))) << LogTail();
    EXPECT_LT(LogIndex("VID: 1"), 0) << "an ordinary window counted as full-screen" << LogTail();
}

}  // namespace
}  // namespace zorv::e2e
