// The bar under a resting mouse, as a user sees it: a button's tooltip, the raised look of flat
// buttons, the hole that lets the desktop show through while Shift is held; and a press that
// moves off its point, which is a drag and no click.
#include <utility>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr std::uint32_t kDesktop = 0x256F95;  // the Wine desktop's background

// The text of the visible tooltip of process `pid`, or "" when none shows; read by WM_GETTEXT
// with a time-out (the tooltip belongs to another process).
std::wstring ShownTooltip(DWORD pid) {
    for (HWND tip : TopLevelWindows(pid, L"tooltips_class32")) {
        if (!IsWindowVisible(tip)) continue;
        wchar_t text[256] = L"";
        DWORD_PTR n = 0;
        SendMessageTimeoutW(tip, WM_GETTEXT, 256, LPARAM(text), SMTO_ABORTIFHUNG, 2000, &n);
        return std::wstring(text, std::min<size_t>(n, 255));
    }
    return L"";
}

class BarHover : public ZorvE2E {};

TEST_F(BarHover, TooltipShowsTheDescription_NoneOnASeparator_CaptionOnTheMenuCell) {
    // Cells at 0 (Editor), 22 (separator), 34 (Mail), 56 (main menu); 78 wide.
    HWND bar = StartBar(Ini({Button("Editor", "notepad.exe"), Button("-"), Button("Mail")},
                            "ToolTip=1\r\nForcedLanguage=2\r\n"));
    ASSERT_TRUE(bar);
    const RECT r = WindowRect(bar);
    const DWORD pid = Last().Id();
    std::wstring shown;
    const auto shows = [&](int cellX, const std::wstring& want) {
        MoveMouseAndStay(r.left + cellX, r.top + 10);
        return WaitFor(Ms(5000), [&] { return (shown = ShownTooltip(pid)) == want; });
    };
    EXPECT_TRUE(shows(44, L" Mail ")) << "shown: \"" << Narrow(shown) << "\"" << LogTail();
    EXPECT_TRUE(shows(28, L"")) << "on the separator: \"" << Narrow(shown) << "\"";
    EXPECT_TRUE(shows(66, L"Main Menu")) << "shown: \"" << Narrow(shown) << "\"";
    EXPECT_TRUE(shows(10, L" Editor ")) << "shown: \"" << Narrow(shown) << "\"";
}

// Which of the cells at `lefts` (flat, 21 wide) show the raised frame: highlight at the top,
// shadow at the right.
std::vector<int> RaisedCells(HWND bar, const std::vector<int>& lefts) {
    const Pixels shot = GrabScreen(WindowRect(bar));
    const std::uint32_t hi = RgbOf(GetSysColor(COLOR_3DHIGHLIGHT));
    const std::uint32_t shadow = RgbOf(GetSysColor(COLOR_3DSHADOW));
    std::vector<int> raised;
    for (int i = 0; i < int(lefts.size()) && shot.Width > 0; ++i)
        if (shot.At(lefts[i] + 5, 0) == hi && shot.At(lefts[i] + 20, 10) == shadow)
            raised.push_back(i);
    return raised;
}

TEST_F(BarHover, FlatButtonUnderTheMouseIsRaised_OneAtATime_NoneOnceItLeft) {
    // Cells at 0, 21 (separator), 33, 54, main menu 75; 96 wide.
    HWND bar = StartBar(
        Ini({Button("A", "", "**1"), Button("-"), Button("B", "", "**2"), Button("C", "", "**3")},
            "ButFlat=1\r\n"));
    ASSERT_TRUE(bar);
    const RECT r = WindowRect(bar);
    const std::vector<int> lefts = {0, 33, 54, 75};  // the cells that can rise
    std::vector<int> raised;
    const auto after = [&](POINT at, const std::vector<int>& want) {
        MoveMouseAndStay(at.x, at.y);
        return WaitFor(Ms(3000), [&] { return (raised = RaisedCells(bar, lefts)) == want; });
    };
    const auto str = [&] {
        std::string s = "raised:";
        for (int i : raised) s += " " + std::to_string(i);
        return s;
    };
    EXPECT_TRUE(after({r.left + 43, 10}, {1})) << str() << LogTail();
    EXPECT_TRUE(after({r.left + 64, 10}, {2})) << str();
    EXPECT_TRUE(after({r.left + 26, 10}, {})) << "on the separator, " << str();
    EXPECT_TRUE(after({r.left + 85, 10}, {3})) << "main-menu cell, " << str();
    EXPECT_TRUE(after(kAway, {})) << "mouse gone, " << str() << LogTail();
}

TEST_F(BarHover, ShiftOverTheBarOpensAHoleToTheDesktop_ReleasedTheBarIsWhole) {
    // Ten buttons and the main-menu cell: 242 wide, the hole (87 x 29) fits in the middle.
    HWND bar = StartBar(Ini(Notepads(10), "Hole=1\r\n"));
    ASSERT_TRUE(bar);
    const RECT r = WindowRect(bar);
    const POINT at = {r.left + 121, r.top + 10};
    MoveMouseAndStay(at.x, at.y);
    const Pixels whole = GrabScreen(r);
    // Around the cursor, inside the ellipse, away from the pointer's own picture.
    const POINT probes[] = {{-25, -8}, {-25, 7}, {25, 0}, {-10, -5}, {-40, 0}};
    const auto showingDesktop = [&] {
        const Pixels shot = GrabScreen(r);
        return std::count_if(std::begin(probes), std::end(probes), [&](POINT p) {
            return shot.At(at.x - r.left + p.x, at.y - r.top + p.y) == kDesktop;
        });
    };
    ASSERT_EQ(showingDesktop(), 0) << "the bar has the desktop's colour there by itself";

    // Shift down, then back onto the bar; the check starts with a move to another pixel (it
    // may have stopped meanwhile, the cursor resting there 2 s).
    KeyHeld shift(VK_SHIFT, L"shift");
    ASSERT_TRUE(WaitFor(Ms(5000), [&] {
        MoveMouseAndStay(kAway.x, kAway.y);
        MoveMouseAndStay(at.x - 30, at.y);
        MoveMouseAndStay(at.x, at.y);
        return GetAsyncKeyState(VK_SHIFT) < 0;
    })) << "Shift does not stay down";
    EXPECT_TRUE(WaitFor(Ms(3000), [&] { return showingDesktop() == std::ssize(probes); }))
        << "no hole at the cursor" << LogTail();
    shift.Release();
    Pixels now;
    EXPECT_TRUE(WaitFor(Ms(3000), [&] { return (now = GrabScreen(r)).Px == whole.Px; }))
        << "the bar is not whole again" << LogTail();
    // Every region cut was handed to the system or freed.
    PostMessageW(bar, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Last().WaitExit(Ms(5000)));
    EXPECT_EQ(Logged("Own handles at closing: 0 ("), 1) << LogTail();
}

TEST_F(BarHover, PressMovedMoreThan3Pixels_IsADrag_LetGoOnItsOwnPlaceItChangesNothing) {
    HWND bar = StartBar(Ini(Notepads(3)));
    ASSERT_TRUE(bar);
    ASSERT_TRUE(WaitFor(Ms(5000), [&] { return Logged("RegisterDragDrop = 0") == 1; })) << LogTail();
    const RECT r = WindowRect(bar), cell = {r.left + 22, r.top, r.left + 44, r.bottom};
    MoveMouseAndStay(cell.left + 5, r.top + 10);
    const Pixels up = GrabScreen(cell);
    INPUT in{INPUT_MOUSE, {{0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}};
    SendInput(1, &in, sizeof in);
    MoveMouseAndStay(cell.left + 15, r.top + 10);  // still on the button
    EXPECT_TRUE(WaitFor(Ms(3000), [&] { return Logged("Drag starts for button 1") == 1; }))
        << LogTail();
    EXPECT_TRUE(WaitFor(Ms(3000), [&] { return GrabScreen(cell).Px == up.Px; }))
        << "the button is drawn pressed";
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    EXPECT_TRUE(WaitFor(Ms(3000), [&] { return Logged("Form_OLECompleteDrag") == 1; })) << LogTail();
    EXPECT_EQ(Logged("Start request handed"), 0) << LogTail();
    EXPECT_EQ(Logged("Button_Move"), 0) << LogTail();
}

}  // namespace
}  // namespace zorv::e2e
