// Presses and releases on the bar's buttons (frmButtons_MouseDown/MouseUp).
// The decisions are ClickState's; this file reads the facts (key states,
// the bar's geometry) and carries them out: drawing, starting the item,
// handing the foreground back.
#include "bar/bar_click_win32.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/log.h"
#include "bar/bar_draw_win32.h"
#include "bar/bar_layout.h"
#include "bar/bar_motion_win32.h"
#include "bar/button_click.h"
#include "launch/launch_win32.h"
#include "launch/window_ops_win32.h"
#include "support/tick_clock.h"
#include "winwatch/foreground_win32.h"

namespace zorv {

namespace {

ClickState g_click;
LARGE_INTEGER g_releaseCounter{};

// The key state as of the message being handled, not of this instant: a
// quick click that waited in the queue while the bar was busy is still a
// real press, while a synthetic press (no button down at all) is not.
bool KeyDown(int vk) {
    return GetKeyState(vk) < 0;
}

bool ReallyDown(int button) {
    switch (button) {
        case kRightButton:
            return KeyDown(VK_RBUTTON);
        case kMiddleButton:
            return KeyDown(VK_MBUTTON);
        default:
            return KeyDown(VK_LBUTTON);
    }
}

bool HasButtonMenu(std::int32_t index) {
    const std::vector<ButtonMenuPlan>& plans = ButtonMenuPlans();
    return std::any_of(plans.begin(), plans.end(),
                       [index](const ButtonMenuPlan& p) { return p.Button == index; });
}

bool BarReduced(HWND bar) {
    RECT r{};
    return GetWindowRect(bar, &r) && r.top < 0;
}

void SetProcessPriority(bool high) {
    if (Options.ProcessPrio != 1) return;
    SetPriorityClass(GetCurrentProcess(), high ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS);
}

// Flat buttons take no focus either: the window the user works in gets the
// foreground back at once.
void HandForegroundBack(bool onMenuCell) {
    if (!Options.ButFlat || (onMenuCell && Options.FixMnuProblem)) return;
    if (HWND last = NewestHistoryWindow()) BringToFront(last, "frmButtons_MouseDown");
}

// On Windows 95/98/ME a console window in front is not reported as a
// foreground change: record it, so that it gets the focus back later.
void RememberConsoleWindow() {
    if (App.WindowsVersion.NT) return;
    HWND fg = GetForegroundWindow();
    wchar_t cls[8] = L"";
    if (!fg || !GetClassNameW(fg, cls, 8) || lstrcmpiW(cls, L"tty") != 0) return;
    AddToForegroundHistory(fg);
    // Pending work may run, but not the mouse input that follows this press.
    MSG msg;
    const UINT notInput = PM_REMOVE | PM_QS_POSTMESSAGE | PM_QS_PAINT | PM_QS_SENDMESSAGE;
    while (PeekMessageW(&msg, nullptr, 0, 0, notInput)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// "Execute a button": only buttons without a menu start something.
int ExecuteButton(std::int32_t index, bool startAnyway) {
    const int result = ExecuteItem(0, index, startAnyway);
    Try4UnRaise();
    RestartAutoReduce();
    return result;
}

// How long the launcher itself took from the release to the start request
// (the library's own work not included); read by the click benchmark.
void LogClickTime() {
    const std::int64_t handed = LastRequestHandedCounter();
    LARGE_INTEGER frequency{};
    if (handed <= g_releaseCounter.QuadPart || !QueryPerformanceFrequency(&frequency)) return;
    const double ms = static_cast<double>(handed - g_releaseCounter.QuadPart) * 1000.0 /
                      static_cast<double>(frequency.QuadPart);
    Log(1, "Start request handed to Zorv.dll %.3f ms after the release", ms);
}

void ButUnPress(std::int32_t index, std::int32_t y, bool startAnyway) {
    Log(3, "butUnPress(%u)", static_cast<std::uint32_t>(index));
    ButtonDrawUnPress();
    const std::int32_t pressed = g_click.Pressed;
    ReleaseFacts release;
    release.Index = index;
    release.Y = y;
    release.Count = CurrentBarLayout().Count();
    release.BarHeight = BarHeight();
    release.NowMs = TickCount64();
    const bool start = DecideRelease(g_click, release);
    ClearPressedIndex();
    if (start && !HasButtonMenu(pressed)) {
        if (ExecuteButton(pressed, startAnyway) == kExecStarted) {
            NoteStarted(g_click, TickCount64());
            LogClickTime();
        }
    }
    RestartAutoReduce();
}

// Editing buttons (item dialog, Add/Edit/Remove menu) and the main menu
// arrive with the dialogs and menus; until then such a press shows itself
// and changes nothing.
void PressForEditing(std::int32_t index) {
    Log(2, "frmButtons_MouseDown: editing of button %i is not available", index);
    ButtonDrawPress(index);
    ButtonDrawUnPress();
    ClearPressedIndex();
    RestartAutoReduce();
}

}  // namespace

void OnBarMouseDown(HWND bar, int x, int y, int button, WPARAM keys) {
    const bool shift = (keys & MK_SHIFT) != 0;
    const bool ctrl = (keys & MK_CONTROL) != 0;
    Log(3, "frmButtons_MouseDown(%i, %i, but=%u, shift=0x%X", x, y, button,
        (shift ? 1u : 0u) | (ctrl ? 2u : 0u));
    if (!BarBuilt()) return;
    PressFacts press;
    press.X = x;
    press.Y = y;
    press.Button = button;
    press.Shift = shift;
    press.Ctrl = ctrl;
    press.ReallyDown = ReallyDown(button);
    press.BarReduced = BarReduced(bar);
    press.NowMs = TickCount64();
    press.Index = ButtonAtClientX(x);
    press.Count = CurrentBarLayout().Count();
    press.BarHeight = BarHeight();
    press.HasMenu = press.Index < press.Count && HasButtonMenu(press.Index);
    // Windows 95 and NT 4 hand the focus to the clicked window before the
    // press is even looked at: give it back at once.
    if (App.WindowsVersion.Major == 4 && Options.ButFlat && !IsSyntheticPress(x, y) &&
        !press.BarReduced && press.ReallyDown) {
        if (HWND last = NewestHistoryWindow()) BringToFront(last, "BB_MouseDown1st");
    }
    const PressAction action = DecidePress(g_click, press);
    if (action == PressAction::Ignore) return;
    HandForegroundBack(press.Index >= press.Count);
    RememberConsoleWindow();
    SetProcessPriority(true);
    switch (action) {
        case PressAction::EditDialog:
        case PressAction::ContextMenu:
            PressForEditing(press.Index);
            break;
        case PressAction::MainMenu:
            Log(2, "frmButtons_MouseDown: main menu");
            TopNow();
            break;
        case PressAction::Press:
        case PressAction::PressMenu:
            // A menu button's menu opens on the press; the button menus are
            // built with the menus.
            ButtonDrawPress(press.Index);
            break;
        case PressAction::Ignore:
            break;
    }
}

void OnBarMouseUp(HWND, int x, int y, int button, WPARAM keys) {
    QueryPerformanceCounter(&g_releaseCounter);
    Log(4, "FB_MU1 frmButtons_MouseUp(%i, %i, %u)", x, y, button);
    Log(5, "FB_MU2");
    const bool startAnyway = (keys & MK_SHIFT) != 0 || button == kRightButton;
    ButUnPress(ButtonAtClientX(x), y, startAnyway);
    SetProcessPriority(false);
}

bool OnBarMouseMoveClick(HWND, int x, int y, WPARAM keys) {
    MoveFacts move;
    move.X = x;
    move.Y = y;
    move.AnyButtonDown = (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
    if (g_click.Pressed >= 0) {
        const BarLayout& layout = CurrentBarLayout();
        const std::int32_t offset = BarScrollOffset();
        move.CellLeft = layout.ButtonX(g_click.Pressed) - offset;
        move.CellRight = layout.CellRight(g_click.Pressed) - offset;
    }
    move.BarHeight = BarHeight();
    switch (DecideHeldMove(g_click, move)) {
        case HeldMove::CompleteRelease:
            // Released outside the bar: the press ends without a start.
            Log(5, "FB_MM2");
            ButUnPress(-1, y, false);
            return false;
        case HeldMove::DrawPressed:
            ButtonDrawPress(g_click.Pressed);
            g_click.DrawnPressed = true;
            break;
        case HeldMove::DrawUnpressed:
            ButtonDrawUnPress();
            g_click.DrawnPressed = false;
            break;
        case HeldMove::None:
            break;
    }
    return true;
}

}  // namespace zorv
