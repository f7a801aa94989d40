#include "input/input_win32.h"

#include <algorithm>

#include "input/clip_save_win32.h"
#include "input/hotkeys.h"
#include "input/key_language.h"
#include "input/keys_win32.h"
#include "support/timer_resolution_win32.h"
#include "support/log.h"
#include "support/text_win32.h"
#include "support/texts.h"
#include "support/tick_clock.h"
#include "support/utf8.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

// The target's process, raised from normal to high priority while a text
// with keys is typed into it, and put back.
class TargetProcess {
  public:
    TargetProcess(HWND target, bool raise) {
        DWORD pid = 0;
        GetWindowThreadProcessId(target, &pid);
        handle_ = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION | SYNCHRONIZE,
                              FALSE, pid);
        if (!handle_) handle_ = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
        if (raise && handle_ && GetPriorityClass(handle_) == NORMAL_PRIORITY_CLASS) {
            raised_ = SetPriorityClass(handle_, HIGH_PRIORITY_CLASS) != FALSE;
        }
    }
    ~TargetProcess() {
        if (raised_) SetPriorityClass(handle_, NORMAL_PRIORITY_CLASS);
        if (handle_) CloseHandle(handle_);
    }
    TargetProcess(const TargetProcess&) = delete;
    TargetProcess& operator=(const TargetProcess&) = delete;
    HANDLE Handle() const { return handle_; }

  private:
    HANDLE handle_ = nullptr;
    bool raised_ = false;
};

// A character posted as WM_CHAR carries the scan code of the key that types
// it on this layout (none for a character no key types).
LPARAM CharLParam(wchar_t unit) {
    const SHORT vk = VkKeyScanW(unit);
    const UINT scan = vk == -1 ? 0 : MapVirtualKeyW(LOBYTE(vk), MAPVK_VK_TO_VSC);
    return static_cast<LPARAM>((scan << 16) + 1);
}

std::wstring Utf16Of(char32_t c) {
    if (c < 0x10000) return std::wstring(1, static_cast<wchar_t>(c));
    c -= 0x10000;
    return {static_cast<wchar_t>(0xD800 + (c >> 10)), static_cast<wchar_t>(0xDC00 + (c & 0x3FF))};
}

// When the message being handled was posted, on the TickCount64 clock: a
// key that repeats posts its hotkey messages faster than a paste takes, and
// the guard must see them as close together as the user made them.
std::uint64_t MessagePostedMs() {
    const DWORD age = GetTickCount() - static_cast<DWORD>(GetMessageTime());
    const std::uint64_t now = TickCount64();
    return age < now ? now - age : now;
}

}  // namespace

const KeyNameTable& InputShell::KeyNames() {
    if (!names_) {
        Win32KeyboardFacts keyboard;
        names_ = BuildKeyNameTable(keyboard);
        Log(3, "BuildKeyNameTable: %u names", names_->Size());
    }
    return *names_;
}

// ---- Hotkeys ------------------------------------------------------------------

// Registered as a set: another program may own a combination, which is
// logged and does not keep the others from working.
void InputShell::RegisterAllHotkeys() {
    UnregisterAll();
    if (suspended_) return;
    registeredFor_ = ToHwnd(host_.BarWindow());
    if (!registeredFor_) return;
    for (const HotkeyRegistration& r : PlanHotkeyRegistrations(s_.Lists, s_.Options.MnuHotkey)) {
        if (r.SameAs) {
            Log(1, "Hotkey %X of id %i not registered: id %i has the same keys", r.Value, r.Id,
                *r.SameAs);
            continue;
        }
        if (RegisterHotKey(registeredFor_, r.Id, r.Modifiers, r.Key)) {
            registered_.push_back(r.Id);
            Log(3, "RegisterHotKey(%i, %X)", r.Id, r.Value);
        } else {
            const auto error = static_cast<std::uint32_t>(GetLastError());
            Win32KeyboardFacts keyboard;
            Log(1, "Hotkey %X (%s) of id %i not registered: the keys are taken (error %u)",
                r.Value, GetHotkeyName(r.Value, keyboard), r.Id, error);
        }
    }
}

std::vector<std::string> InputShell::GetAllRegisteredHotkeyNames() {
    // An id of its own, apart from the items' (list x 4096 + index).
    constexpr int kProbeId = -16385;
    const HWND bar = ToHwnd(host_.BarWindow());
    Win32KeyboardFacts keyboard;
    std::vector<std::string> taken;
    for (std::uint32_t m = 0; m <= kTakenModifiersLast; ++m) {
        for (std::uint32_t k = kTakenKeyFirst; k <= 254; ++k) {
            if (RegisterHotKey(bar, kProbeId, m, k)) {
                UnregisterHotKey(bar, kProbeId);
                continue;
            }
            const auto value = static_cast<std::int32_t>(m * 256 + k);
            taken.push_back(
                TakenHotkeyLine(m, static_cast<std::uint8_t>(k), GetHotkeyName(value, keyboard)));
        }
    }
    return taken;
}

void InputShell::UnregisterAll() {
    for (std::int32_t id : registered_) UnregisterHotKey(registeredFor_, id);
    registered_.clear();
}

void InputShell::Suspend() {
    suspended_ = true;
    UnregisterAll();
}

void InputShell::Resume() {
    suspended_ = false;
    RegisterAllHotkeys();
}

bool InputShell::DialogActive() {
    if (suspended_) return true;
    HWND active = GetForegroundWindow();
    return active && active != registeredFor_ && OwnedByThisProcess(active) && IsFormWindow(active);
}

void InputShell::OnHotkey(WPARAM id, LPARAM lParam) {
    own_ = {Counter(), 0};
    const HotkeyMessage m =
        OnHotkeyMessage(static_cast<std::int32_t>(id), static_cast<std::uint32_t>(lParam),
                        DialogActive(), s_.Lists);
    pendingModifiers_ = m.PendingModifiers;
    Log(2, "ExecuteHotkey(%i)", static_cast<std::int32_t>(id));
    const HotkeyCommand& c = m.Command;
    switch (c.Action) {
        case HotkeyAction::MainMenu:
            host_.RecordForegroundWindow();
            host_.HotkeyMainMenu();
            break;
        case HotkeyAction::PressButton:
            host_.RecordForegroundWindow();
            host_.HotkeyPressButton(c.Index);
            break;
        case HotkeyAction::ExecuteItem:
            host_.ExecuteItem(c.List, c.Index, false);
            break;
        case HotkeyAction::PasteClipItem: {
            Item item;
            s_.Lists[static_cast<std::size_t>(c.List)].GetItem(c.Index, item);
            const PasteMode mode = PasteModeOf(item.Activate);
            if (mode != PasteMode::ClipboardOnly) host_.RecordForegroundWindow();
            Deliver(host_.ExpandClipText(item.Path), mode, MessagePostedMs());
            break;
        }
        case HotkeyAction::None:
            break;
    }
}

// ---- Clipboard items ------------------------------------------------------------

// From a menu the hotkey that opened it may still be down: every modifier is
// released first, and the right mouse button's key state with it.
void InputShell::ExecuteClipboardItem(std::int32_t list, std::int32_t index) {
    Item item;
    s_.Lists[static_cast<std::size_t>(list)].GetItem(index, item);
    Log(2, "ExecuteClipboardItem(%i, %i)", list, index);
    const PasteMode mode = PasteModeOf(item.Activate);
    if (mode != PasteMode::ClipboardOnly) {
        pendingModifiers_ = kHkAll;
        ReleaseModifiers();
        Pause(kClipItemPauseMs);
        SendKey(VK_RBUTTON, true);
    }
    Deliver(host_.ExpandClipText(item.Path), mode, TickCount64());
}

void InputShell::Deliver(const std::string& text, PasteMode mode, std::uint64_t requestMs) {
    switch (mode) {
        case PasteMode::Paste:
            PasteText(text, requestMs);
            break;
        case PasteMode::Type:
            SendKeysByChars(text);
            break;
        case PasteMode::ClipboardOnly:
            SetClipboardText(text);
            break;
    }
}

bool InputShell::SetClipboardText(const std::string& text) {
    return zorv::SetClipboardText(ToHwnd(host_.BarWindow()), text);
}

bool InputShell::IsNt4() const {
    return s_.App.WindowsVersion.NT && s_.App.WindowsVersion.Major == 4;
}

// The newest window of the foreground history that still exists, else the
// window in front; it gets the foreground for at most 100 x 10 ms.
HWND InputShell::TargetWindow() {
    HWND target = ToHwnd(host_.NewestForegroundWindow());
    if (!target || !IsWindow(target)) target = GetForegroundWindow();
    if (!target) return nullptr;
    if (GetForegroundWindow() != target) SetForegroundWindow(target);
    for (std::uint32_t i = 0; i < kForegroundWaitTries && GetForegroundWindow() != target; ++i) {
        Pause(kForegroundWaitStepMs);
    }
    return target;
}

// The system drops simulated input into a process with higher rights
// without a word; the user hears why instead.
bool InputShell::TargetInputBlocked(HWND target) {
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    const std::uint32_t theirs = IntegrityOf(process);
    if (process) CloseHandle(process);
    const std::uint32_t own = IntegrityOf(GetCurrentProcess());
    if (!InputBlocked(own, theirs)) return false;
    Log(1, "Input blocked: the target %X runs at integrity %X, the bar at %X",
        reinterpret_cast<const void*>(target), theirs, own);
    MsgBox(Text(Txt::InputBlocked), MB_OK | MB_ICONEXCLAMATION);
    return true;
}

// `WaitTargetIdle`: a ping within 50 ms, then WaitForInputIdle of its
// process for at most 333 ms.
void InputShell::WaitTargetIdle(HWND window, HANDLE process) {
    Waiting([&] {
        if (Ping(window) && process) WaitForInputIdle(process, kIdleWaitMs);
    });
}

void InputShell::Pause(std::uint32_t ms) {
    Waiting([ms] { SleepAnsweringSent(ms); });
}

void InputShell::ReleaseModifiers() {
    Waiting([this] { ReleaseHotkeyModifiers(pendingModifiers_, IsNt4()); });
    pendingModifiers_ = 0;
}

std::int64_t InputShell::Counter() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void InputShell::HandedOver(const char* how) {
    LARGE_INTEGER frequency{};
    if (own_.Start == 0 || !QueryPerformanceFrequency(&frequency)) return;
    const double ms = static_cast<double>(Counter() - own_.Start - own_.Waited) * 1000.0 /
                      static_cast<double>(frequency.QuadPart);
    own_ = {};
    Log(1, "Text handed to the target %.3f ms after the hotkey (%s)", ms, how);
}

// ---- PasteText -------------------------------------------------------------------

void InputShell::PasteText(const std::string& text, std::uint64_t requestMs) {
    if (!guard_.TryPaste(requestMs)) {
        Log(2, "PasteText: a second paste within %u ms is dropped", kPasteGuardMs);
        return;
    }
    const HWND owner = ToHwnd(host_.BarWindow());
    HWND target = TargetWindow();
    if (!target || TargetInputBlocked(target)) return;
    // What cannot be saved is not overwritten: another program holding the
    // clipboard means no paste this time, never a lost clipboard.
    const SavedClipboard saved = SavedClipboard::Take(owner);
    if (!saved.Opened() || !zorv::SetClipboardText(owner, text)) return;
    const HWND focus = FocusWindowOf(target);
    const FocusFacts facts = FocusFactsOf(focus);
    const bool windows95 = !s_.App.WindowsVersion.NT && s_.App.WindowsVersion.Code == 0x400;
    const PastePlan plan = ChoosePasteRoute(facts, windows95, pendingModifiers_);
    Log(2, "PasteText: focus %X class %s, route %i", reinterpret_cast<const void*>(focus),
        facts.ClassName, static_cast<std::int32_t>(plan.Route));
    DWORD_PTR result = 0;
    switch (plan.Route) {
        case PasteRoute::EditPaste:
            if (!Waiting([&] { return Ping(focus); })) break;
            Pause(kEditPastePauseMs);
            HandedOver("WM_PASTE");
            SendMessageTimeoutW(focus, WM_PASTE, 0, 0, SMTO_ABORTIFHUNG, kIdleWaitMs, &result);
            break;
        case PasteRoute::CtrlV:
        case PasteRoute::WmPaste:
            Waiting([&] { return Ping(target); });
            if (plan.WaitCtrlUp && !Waiting([] { return WaitCtrlReleased(kCtrlUpWaitMs); })) {
                Log(1, "PasteText: Ctrl stayed down at a slow target; nothing pasted");
                saved.Restore(owner);
                return;
            }
            ReleaseModifiers();
            if (plan.Route == PasteRoute::WmPaste) {
                HandedOver("WM_PASTE");
                SendMessageTimeoutW(focus, WM_PASTE, 0, 0, SMTO_ABORTIFHUNG, kIdleWaitMs, &result);
            } else {
                SendKeyEvents(CtrlVEvents());
                HandedOver("Ctrl+V");
            }
            WaitTargetIdle(target, TargetProcess(target, false).Handle());
            break;
    }
    saved.Restore(owner);
}

// ---- SendKeysByChars -------------------------------------------------------------

void InputShell::SendKeysByChars(const std::string& text) {
    Log(1, "SendKeysByChars(%s)", text);
    HWND target = TargetWindow();
    if (!target || TargetInputBlocked(target)) return;
    HWND focus = FocusWindowOf(target);
    const KeyTarget kind = TypingTarget(FocusFactsOf(focus));
    if (kind.Slow) {
        Log(2, "SlowTarget");
        if (!Waiting([] { return WaitCtrlReleased(kCtrlUpWaitMs); })) return;
    }
    const KeyPlan plan = PlanKeystrokes(text, KeyNames(), kind);
    TargetProcess process(target, plan.RaisePriority);
    ReleaseModifiers();
    {
        std::vector<INPUT> ups;
        for (const KeyEvent& e : TypingStartReleaseEvents()) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = e.Vk;
            in.ki.dwFlags = e.Flags;
            ups.push_back(in);
        }
        SendInput(static_cast<UINT>(ups.size()), ups.data(), sizeof(INPUT));
    }
    TimerResolution resolution;
    // Unicode windows take every character as it is; any other window gets
    // it as a Unicode key event, which the system turns into its code page.
    const bool unicode = IsWindowUnicode(focus) != FALSE;
    for (const KeyAction& a : plan.Actions) {
        if (a.IdleBefore) WaitTargetIdle(target, process.Handle());
        if (a.PauseBeforeMs) Pause(a.PauseBeforeMs);
        switch (a.Step) {
            case KeyStep::Type:
                for (wchar_t unit : Utf16Of(a.Char)) {
                    if (unicode) {
                        PostMessageW(focus, WM_CHAR, unit, CharLParam(unit));
                    } else {
                        SendUnicodeUnit(unit);
                    }
                }
                break;
            case KeyStep::Enter:
                PostMessageW(focus, WM_CHAR, VK_RETURN, kEnterCharLParam);
                break;
            case KeyStep::Press: {
                const HWND before = a.WaitFocusMove ? FocusWindowOf(target) : nullptr;
                Log(3, "Press %s %u %u", a.Name, a.Vk, MapVirtualKeyW(a.Vk, MAPVK_VK_TO_VSC));
                SendKey(a.Vk, false);
                if (!a.Hold) SendKey(a.Vk, true);
                for (std::uint16_t i = 0; before && i < kFocusMoveTries; ++i) {
                    Pause(kFocusMoveStepMs);
                    if (FocusWindowOf(target) != before) break;
                }
                focus = FocusWindowOf(target);
                break;
            }
            case KeyStep::Toggle: {
                const bool on = (GetKeyState(a.Vk) & 1) != 0;
                if (on != a.On) {
                    Log(3, "KeyPressAndRelease(%s)", a.Name);
                    SendKey(a.Vk, false, true);
                    SendKey(a.Vk, true, true);
                }
                break;
            }
            case KeyStep::Delay:
                Pause(a.DelayMs);
                break;
            case KeyStep::Release: {
                const std::vector<KeyEvent> ups = HeldModifierReleaseEvents(a.Held);
                SendKeyEvents(ups);
                break;
            }
        }
        if (a.IdleAfter) WaitTargetIdle(target, process.Handle());
        Pause(a.PauseAfterMs);  // 0 yields
    }
    HandedOver("typed");
}

std::string InputShell::HotkeyName(std::int32_t value) {
    Win32KeyboardFacts keyboard;
    return GetHotkeyName(value, keyboard);
}

}  // namespace zorv
