// Presses and releases on the bar's buttons (frmButtons_MouseDown/MouseUp).
// The decisions are ClickState's; this file reads the facts (key states,
// the bar's geometry) and carries them out: drawing, starting the item,
// handing the foreground back.
#include "bar/bar_click_win32.h"

#include <algorithm>
#include <utility>

#include "support/log.h"
#include "bar/bar_hover_win32.h"
#include "bar/bar_layout.h"
#include "bar/bar_motion_win32.h"
#include "bar/bar_platform_win32.h"
#include "support/ascii.h"
#include "support/tick_clock.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

// How often a held button is looked at when its release may not come as a message.
constexpr UINT kHeldButtonWatchMs = 30;

// The key state as of the message being handled, not of this instant: a
// quick click that waited in the queue while the bar was busy is still a
// real press, while a synthetic press (no button down at all) is not.
bool KeyDown(int vk) {
    return GetKeyState(vk) < 0;
}

int VirtualKeyOf(int button) {
    switch (button) {
        case kRightButton:
            return VK_RBUTTON;
        case kMiddleButton:
            return VK_MBUTTON;
        default:
            return VK_LBUTTON;
    }
}

bool BarReduced(HWND bar) {
    RECT r{};
    return GetWindowRect(bar, &r) && r.top < 0;
}

}  // namespace

void BarClicks::SetProcessPriority(bool high) {
    if (s_.Options.ProcessPrio != 1) return;
    SetPriorityClass(GetCurrentProcess(), high ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS);
}

// Flat buttons take no focus either: the window the user works in gets the
// foreground back at once.
void BarClicks::HandForegroundBack(bool onMenuCell) {
    if (!s_.Options.ButFlat || (onMenuCell && s_.Options.FixMnuProblem)) return;
    host_.HandForegroundBack("frmButtons_MouseDown");
}

// On Windows 95/98/ME a console window in front is not reported as a
// foreground change: record it, so that it gets the focus back later.
void BarClicks::RememberConsoleWindow() {
    if (s_.App.WindowsVersion.NT) return;
    HWND fg = GetForegroundWindow();
    if (!fg || !EqualsNoCase(ClassOf(fg), "tty")) return;
    host_.AddToForegroundHistory(ToWindowId(fg));
    // Pending work may run, but not the mouse input that follows this press.
    MSG msg;
    const UINT notInput = PM_REMOVE | PM_QS_POSTMESSAGE | PM_QS_PAINT | PM_QS_SENDMESSAGE;
    while (PeekMessageW(&msg, nullptr, 0, 0, notInput)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void BarClicks::RestartAutoReduce() {
    if (motion_) motion_->Reduce().RestartAutoReduceTimer();
}

// "Execute a button": only buttons without a menu start something.
bool BarClicks::ExecuteButton(std::int32_t index, bool startAnyway) {
    if (hover_) hover_->ButtonExecuted(index);
    const bool started = host_.ExecuteButton(index, startAnyway);
    if (hover_) hover_->Try4UnRaise();
    RestartAutoReduce();
    return started;
}

// How long the launcher itself took from the release to the start request
// (the library's own work not included); read by the click benchmark.
void BarClicks::LogClickTime() {
    const std::int64_t handed = host_.LastRequestHandedCounter();
    LARGE_INTEGER frequency{};
    if (handed <= releaseCounter_.QuadPart || !QueryPerformanceFrequency(&frequency)) return;
    const double ms = static_cast<double>(handed - releaseCounter_.QuadPart) * 1000.0 /
                      static_cast<double>(frequency.QuadPart);
    Log(1, "Start request handed to Zorv.dll %.3f ms after the release", ms);
}

void BarClicks::ButUnPress(std::int32_t index, std::int32_t y, bool startAnyway) {
    Log(3, "butUnPress(%u)", static_cast<std::uint32_t>(index));
    painter_.ButtonDrawUnPress();
    const std::int32_t pressed = click_.Pressed;
    ReleaseFacts release;
    release.Index = index;
    release.Y = y;
    release.Count = painter_.Layout().Count();
    release.BarHeight = painter_.BarHeight();
    release.NowMs = TickCount64();
    const bool start = DecideRelease(click_, release);
    if (start && !painter_.HasButtonMenu(pressed)) {
        if (ExecuteButton(pressed, startAnyway)) {
            NoteStarted(click_, TickCount64());
            LogClickTime();
        }
    }
    if (HWND bar = std::exchange(capturing_, nullptr)) {
        KillTimer(bar, kTimHeldButton);
        if (GetCapture() == bar) ReleaseCapture();
    }
    RestartAutoReduce();
}

// The capture brings the release wherever it happens; where the system
// gives a window that is not in front no capture (Wine does so), the watch
// sees the button come up and completes the release at the cursor.
bool BarClicks::OnTimer(HWND bar, UINT_PTR id) {
    if (id != kTimHeldButton) return false;
    if (capturing_ != bar || click_.Pressed < 0) {
        KillTimer(bar, kTimHeldButton);
        return true;
    }
    if (GetAsyncKeyState(VirtualKeyOf(heldButton_)) < 0) return true;
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(bar, &at);
    Log(4, "held button released at %i, %i without a message", at.x, at.y);
    OnMouseUp(at.x, at.y, heldButton_, GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0);
    return true;
}

void BarClicks::EndPressWithoutStart() {
    if (click_.Pressed >= 0) ButUnPress(-1, 0, false);
}

void BarClicks::OnCaptureLost(HWND bar, HWND taker) {
    if (taker == bar || capturing_ != bar) return;
    capturing_ = nullptr;
    if (click_.Pressed >= 0) ButUnPress(-1, 0, false);
}

// The item dialog arrives with the editors; until then a Ctrl/Shift + left
// press shows itself and changes nothing.
void BarClicks::PressForEditing(std::int32_t index) {
    Log(2, "frmButtons_MouseDown 1");
    painter_.ButtonDrawPress(index);
    if (hover_) hover_->ReleaseCaptureNow();
    host_.EditButton(index);
    painter_.ButtonDrawUnPress();
    RestartAutoReduce();
}

// Ctrl/Shift + right or middle press: Add/Edit/Remove Button. The bar holds
// still while the menu shows; afterwards it is rebuilt if the choice
// changed the buttons, and a change is saved at once.
void BarClicks::ButtonContextMenu(HWND bar, std::int32_t index) {
    painter_.ButtonDrawPress(index);
    if (motion_) {
        motion_->Reduce().State().TransitionBusy = true;
        motion_->StopTimers();
    }
    Log(3, "frmButtons_MouseDown 2");
    if (hover_) hover_->ReleaseCaptureNow();
    const std::int32_t id = host_.ShowButtonContextMenu();
    host_.TopNow();
    if (GetForegroundWindow() == bar) Log(3, "frmButtons_MouseDown 3");
    if (id >= 0) host_.ExecPopupBut(id, index);
    painter_.ButtonDrawUnPress();
    SendMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM(kSimulatedMoveX, 0));
    click_.Pressed = -1;
    if (host_.ConfigChanged()) host_.SaveConfiguration();
    if (motion_) {
        motion_->Reduce().State().TransitionBusy = false;
        motion_->StartPosTimer();
    }
    RestartAutoReduce();
}

void BarClicks::PressByHotkey(HWND bar, std::int32_t index) {
    if (!painter_.BarBuilt() || index < 0 || index >= painter_.Layout().Count()) return;
    painter_.ButtonDrawPress(index);
    if (painter_.HasButtonMenu(index)) {
        ButtonMenuItemPress(bar, index, kLeftButton);
        return;
    }
    painter_.ButtonDrawUnPress();
    ExecuteButton(index, false);
}

// ButtonMenuItemPress: the menu opens on the press, under a fully shown bar.
void BarClicks::ButtonMenuItemPress(HWND bar, std::int32_t index, int button) {
    const bool right = button == kRightButton;
    RECT r{};
    GetWindowRect(bar, &r);
    const ScreenPoint cell{r.left + painter_.Layout().ButtonX(index) - painter_.ScrollOffset(),
                           r.top + painter_.BarHeight()};
    if (motion_) {
        motion_->Platform().StopAutoReduceTimer();
        motion_->Reduce().UnScrollAndFade();
    }
    const std::int32_t chosen = host_.ShowButtonMenu(index, cell, right);
    // The menu took the release, if any: the press ends here.
    painter_.ButtonDrawUnPress();
    click_.Pressed = -1;
    host_.HandForegroundBack("ButtonMenuItemPress");
    if (chosen >= 0) host_.CarryButtonMenuChoice(index, chosen, GetKeyState(VK_CONTROL) < 0, right);
    painter_.ButtonDrawUnPress();
    if (hover_) hover_->Try4UnRaise();
    RestartAutoReduce();
}

void BarClicks::OnMouseDown(HWND bar, int x, int y, int button, WPARAM keys) {
    const bool shift = (keys & MK_SHIFT) != 0;
    const bool ctrl = (keys & MK_CONTROL) != 0;
    Log(3, "frmButtons_MouseDown(%i, %i, but=%u, shift=0x%X", x, y, button,
        (shift ? 1u : 0u) | (ctrl ? 2u : 0u));
    if (!painter_.BarBuilt()) return;
    PressFacts press;
    press.X = x;
    press.Y = y;
    press.Button = button;
    press.Shift = shift;
    press.Ctrl = ctrl;
    press.ReallyDown = KeyDown(VirtualKeyOf(button));
    press.BarReduced = BarReduced(bar);
    press.NowMs = TickCount64();
    press.Index = painter_.ButtonAtClientX(x);
    press.Count = painter_.Layout().Count();
    press.BarHeight = painter_.BarHeight();
    press.HasMenu = press.Index < press.Count && painter_.HasButtonMenu(press.Index);
    // Windows 95 and NT 4 hand the focus to the clicked window before the
    // press is even looked at: give it back at once.
    if (s_.App.WindowsVersion.Major == 4 && s_.Options.ButFlat && !IsSyntheticPress(x, y) &&
        !press.BarReduced && press.ReallyDown) {
        host_.HandForegroundBack("BB_MouseDown1st");
    }
    const PressAction action = DecidePress(click_, press);
    if (action == PressAction::Ignore) return;
    HandForegroundBack(press.Index >= press.Count);
    RememberConsoleWindow();
    SetProcessPriority(true);
    switch (action) {
        case PressAction::EditDialog:
            PressForEditing(press.Index);
            break;
        case PressAction::ContextMenu:
            ButtonContextMenu(bar, press.Index);
            break;
        case PressAction::MainMenu:
            Log(2, "frmButtons_MouseDown: main menu");
            host_.OpenMainMenu(button == kRightButton);
            RestartAutoReduce();
            break;
        case PressAction::PressMenu:
            painter_.ButtonDrawPress(press.Index);
            ButtonMenuItemPress(bar, press.Index, button);
            break;
        case PressAction::Press:
            painter_.ButtonDrawPress(press.Index);
            capturing_ = bar;
            heldButton_ = button;
            SetCapture(bar);
            SetTimer(bar, kTimHeldButton, kHeldButtonWatchMs, nullptr);
            break;
        case PressAction::Ignore:
            break;
    }
}

void BarClicks::OnMouseUp(int x, int y, int button, WPARAM keys) {
    QueryPerformanceCounter(&releaseCounter_);
    Log(4, "FB_MU1 frmButtons_MouseUp(%i, %i, %u)", x, y, button);
    Log(5, "FB_MU2");
    const bool startAnyway = (keys & MK_SHIFT) != 0 || button == kRightButton;
    ButUnPress(painter_.ButtonAtClientX(x), y, startAnyway);
    SetProcessPriority(false);
}

bool BarClicks::OnMouseMove(int x, int y, WPARAM keys) {
    MoveFacts move;
    move.X = x;
    move.Y = y;
    move.AnyButtonDown = (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
    if (click_.Pressed >= 0) {
        const BarLayout& layout = painter_.Layout();
        const std::int32_t offset = painter_.ScrollOffset();
        move.CellLeft = layout.ButtonX(click_.Pressed) - offset;
        move.CellRight = layout.CellRight(click_.Pressed) - offset;
    }
    move.BarHeight = painter_.BarHeight();
    switch (DecideHeldMove(click_, move)) {
        case HeldMove::CompleteRelease:
            // Released outside the bar: the press ends without a start.
            Log(5, "FB_MM2");
            ButUnPress(-1, y, false);
            return false;
        case HeldMove::DrawPressed:
            painter_.ButtonDrawPress(click_.Pressed);
            click_.DrawnPressed = true;
            break;
        case HeldMove::DrawUnpressed:
            painter_.ButtonDrawUnPress();
            click_.DrawnPressed = false;
            break;
        case HeldMove::None:
            break;
    }
    return true;
}

}  // namespace zorv
