// The bar under a hovering mouse (btnMouseMove, the tooltip window, the
// flat buttons' raised look, timCheckHole). The rules are hover.h's; this
// file reads the cursor and keys and carries the rules out.
#include "bar/bar_hover_win32.h"

#include "bar/bar_drop_win32.h"

#include <commctrl.h>

#include "bar/bar_click_win32.h"
#include "bar/bar_motion_win32.h"
#include "bar/bar_platform_win32.h"
#include "support/common_controls_win32.h"
#include "support/log.h"
#include "support/text_win32.h"

namespace zorv {

namespace {

constexpr WPARAM kTipShowDelayMs = 600;
constexpr WPARAM kTipHideDelayMs = 20000;
// How often the cursor is looked at while a flat button shows raised: the
// bar is never in front, and Wine gives the capture only to the windows of
// the thread in front, so neither capture nor a last move tells that the
// cursor has gone.
constexpr UINT kRaisedWatchMs = 100;

bool AnyButton(WPARAM keys) {
    return (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
}

bool AnyButtonNow() {
    return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0 ||
           GetAsyncKeyState(VK_MBUTTON) < 0;
}

// The one tool: the whole bar window. Before version 6 the control refuses
// a record that counts the member version 6 added.
TTTOOLINFOW BarTool(HWND bar, bool version6) {
    TTTOOLINFOW tool{};
    tool.cbSize = version6 ? sizeof tool : TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = bar;
    tool.uId = reinterpret_cast<UINT_PTR>(bar);
    return tool;
}

}  // namespace

// ---- Tooltip ----------------------------------------------------------------

// Made on the first hover rather than at start: the common controls' library
// is no part of the first show.
bool BarHover::CreateToolTip(int x, int y, WPARAM keys) {
    if (tip_) return true;
    if (!bar_) return false;
    tipTool6_ = InitCommonControls6OrLater();
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, bar_,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip_) {
        Log(1, "ToolTip: no tooltip window (%u)", static_cast<std::uint32_t>(GetLastError()));
        return false;
    }
    SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(kTipShowDelayMs, 0));
    SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kTipHideDelayMs, 0));
    TTTOOLINFOW tool = BarTool(bar_, tipTool6_);
    wchar_t blank[] = L" ";
    tool.lpszText = blank;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // The move that made the control came before its subclass did: handed
    // on, it starts the delay as the moves after it would.
    MSG move{bar_, WM_MOUSEMOVE, keys, MAKELPARAM(x, y), static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&move.pt);
    SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    return true;
}

void BarHover::SetTooltip(const std::string& text) {
    if (!tip_) return;
    std::wstring wide = Widen(text);
    TTTOOLINFOW tool = BarTool(bar_, tipTool6_);
    tool.lpszText = wide.data();
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_ACTIVATE, TRUE, 0);
}

void BarHover::Hide_ToolTip() {
    if (tip_) SendMessageW(tip_, TTM_ACTIVATE, FALSE, 0);
    TooltipHidden(tooltip_);
}

void BarHover::UpdateTooltip(int x, int y, WPARAM keys) {
    if (!s_.Options.ToolTip) return;
    const TooltipChange change =
        TooltipForCell(tooltip_, painter_.ButtonAtClientX(x), painter_.Layout(),
                       s_.Lists[kListButtons], s_.Lists[kListMenu].ListName);
    switch (change.Action) {
        case TooltipAction::Show:
            if (CreateToolTip(x, y, keys)) SetTooltip(change.Text);
            break;
        case TooltipAction::Hide:
            if (tip_) SendMessageW(tip_, TTM_ACTIVATE, FALSE, 0);
            break;
        case TooltipAction::Keep:
            break;
    }
}

void BarHover::OnMouseDown() {
    if (s_.Options.ToolTip) Hide_ToolTip();
}

void BarHover::ButtonExecuted(std::int32_t index) {
    if (!s_.Options.ToolTip) return;
    Hide_ToolTip();
    TooltipAfterExecute(tooltip_, index);
}

// ---- Mouse moves ------------------------------------------------------------

void BarHover::OnMouseMoveFirst(int x, int y) {
    if (s_.Options.Hole && HoleOnMouseMove(hole_, {x, y})) SyncHoleTimer();
}

void BarHover::OnMouseMove(int x, int y, WPARAM keys, bool simulated) {
    if (!simulated) {
        if (!drag_.Dragging) CheckDragStart(x, y, keys);
        const bool busy = motion_ && motion_->Reduce().State().TransitionBusy;
        if (!busy && clicks_.State().Pressed < 0) UpdateTooltip(x, y, keys);
    }
    Try4UnRaise();
}

// Dragging a button out of the bar comes with drag and drop; until then the
// press ends as a release elsewhere would, so the button is not left down.
void BarHover::CheckDragStart(int x, int y, WPARAM keys) {
    DragFacts facts;
    facts.LeftDown = (keys & MK_LBUTTON) != 0;
    facts.AnyButtonDown = AnyButton(keys);
    facts.NoDragDropSource = s_.Options.NoDragDropSource;
    facts.X = x;
    facts.Y = y;
    facts.BarHeight = painter_.BarHeight();
    facts.Scale = painter_.ScreenDpi();
    facts.Index = painter_.ButtonAtClientX(x);
    const std::int32_t pressed = clicks_.State().Pressed;
    switch (DecideDragStart(drag_, clicks_.State(), facts)) {
        case DragStep::Start:
            Log(2, "Drag starts for button %i", pressed);
            clicks_.EndPressWithoutStart();
            if (dragSource_) {
                drag_.Dragging = true;
                dragSource_->StartDrag(pressed);
            }
            drag_.Dragging = false;
            break;
        case DragStep::DrawUnpressed:
            painter_.ButtonDrawUnPress();
            break;
        case DragStep::None:
            break;
    }
}

// ---- Raised look ------------------------------------------------------------

void BarHover::Try4UnRaise() {
    if (!s_.Options.ButFlat || !bar_) return;
    Log(6, "FB_MM9 move");
    POINT cursor{};
    GetCursorPos(&cursor);
    RaiseFacts facts;
    facts.CursorOnBar = WindowFromPoint(cursor) == bar_;
    facts.AnyButtonDown = AnyButtonNow();
    if (facts.CursorOnBar) {
        ScreenToClient(bar_, &cursor);
        facts.Index = painter_.ButtonAtClientX(cursor.x);
        const CellKind kind = painter_.Layout().KindAt(facts.Index);
        facts.IndexRaisable = kind == CellKind::Button || kind == CellKind::MainMenu;
    }
    facts.Raised = painter_.RaisedCell();
    facts.Pressed = clicks_.State().Pressed;
    const RaiseChange change = DecideRaise(facts);
    if (change.Lower >= 0) painter_.RaiseButton(change.Lower, false);
    if (change.Raise >= 0) painter_.RaiseButton(change.Raise, true);
    if (change.StopWatching || painter_.RaisedCell() < 0) {
        ReleaseCaptureNow();
    } else if (!watchingRaised_) {
        watchingRaised_ = SetTimer(bar_, kTimRaised, kRaisedWatchMs, nullptr) != 0;
    }
}

void BarHover::ReleaseCaptureNow() {
    if (!s_.Options.ButFlat) return;
    const std::int32_t raised = painter_.RaisedCell();
    if (raised >= 0 && raised != clicks_.State().Pressed) painter_.RaiseButton(raised, false);
    if (watchingRaised_ && bar_) KillTimer(bar_, kTimRaised);
    watchingRaised_ = false;
}

// ---- The hole ---------------------------------------------------------------

void BarHover::HoleTimerTick() {
    POINT cursor{};
    GetCursorPos(&cursor);
    const HWND under = WindowFromPoint(cursor);
    RECT window{};
    GetWindowRect(bar_, &window);
    // In the hole the window under the cursor is the one behind the bar; the
    // cursor is still on the bar.
    const bool inHole = hole_.Open && PtInRect(&window, cursor);
    HoleTickFacts facts;
    facts.OverOtherWindow = under && under != bar_ && !inHole;
    ScreenToClient(bar_, &cursor);
    facts.Cursor = {cursor.x, cursor.y};
    // The bar is never the window in front, so its own key state does not
    // follow the keyboard; the asynchronous state does.
    facts.ShiftDown = GetAsyncKeyState(VK_SHIFT) < 0;
    facts.Scale = painter_.ScreenDpi();
    switch (HoleTick(hole_, facts)) {
        case HoleAction::Cut:
            CreateHole(cursor.x, cursor.y, "Timer");
            break;
        case HoleAction::Mend:
            RemoveHole();
            break;
        case HoleAction::None:
            break;
    }
    SyncHoleTimer();
}

void BarHover::SyncHoleTimer() {
    if (!bar_) return;
    if (!hole_.Running) {
        if (holeTimerMs_) KillTimer(bar_, kTimCheckHole);
        holeTimerMs_ = 0;
    } else if (holeTimerMs_ != hole_.IntervalMs) {
        holeTimerMs_ =
            SetTimer(bar_, kTimCheckHole, hole_.IntervalMs, nullptr) ? hole_.IntervalMs : 0;
    }
}

// A new hole grows from a slit to its full size in about 60 ms; an open one
// moves at full size.
void BarHover::CreateHole(int x, int y, const char* caller) {
    Log(5, "CreateHole(%i, %i, %s)", x, y, caller);
    if (!bar_) return;
    RECT client{};
    GetClientRect(bar_, &client);
    const bool open = painter_.HoleCut();
    Win32BarPlatform* platform = motion_ ? &motion_->Platform() : nullptr;
    if (!open && platform) platform->BeginTimerResolution();
    for (std::int32_t s : HoleSteps(open)) {
        painter_.CutHole(HoleEllipse({x, y}, s, painter_.ScreenDpi()), client.right);
        Sleep(2);
    }
    if (!open && platform) platform->EndTimerResolution();
    hole_.Open = true;
}

void BarHover::RemoveHole() {
    Log(5, "RemoveHole");
    painter_.MendHole();
    hole_.Open = false;
}

// ---- Timers and lifetime ----------------------------------------------------

bool BarHover::OnTimer(UINT_PTR id) {
    if (id == kTimCheckHole) {
        HoleTimerTick();
    } else if (id == kTimRaised) {
        Try4UnRaise();
    } else {
        return false;
    }
    return true;
}

void BarHover::StopTimers() {
    hole_.Running = false;
    SyncHoleTimer();
    if (watchingRaised_ && bar_) KillTimer(bar_, kTimRaised);
    watchingRaised_ = false;
}

void BarHover::OnDestroyed() {
    tip_ = nullptr;
    bar_ = nullptr;
}

}  // namespace zorv
