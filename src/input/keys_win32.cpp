#include "input/keys_win32.h"

#include <vector>

#include "support/log.h"
#include "support/text_win32.h"
#include "support/window_win32.h"

namespace zorv {

std::uint32_t Win32KeyboardFacts::ScanCodeOf(std::uint8_t vk) {
    return MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
}

std::string Win32KeyboardFacts::KeyNameText(std::uint32_t lParam) {
    wchar_t name[64] = L"";
    const int n = GetKeyNameTextW(static_cast<LONG>(lParam), name, 50);
    return n > 0 ? Narrow(std::wstring_view(name, static_cast<std::size_t>(n))) : std::string();
}

std::string Win32KeyboardFacts::DecimalSeparator() {
    wchar_t sep[8] = L"";
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8);
    return n > 1 ? Narrow(sep) : std::string(".");
}

namespace {

INPUT KeyInput(std::uint16_t vk, std::uint16_t scan, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    return in;
}

}  // namespace

// Programs see the events as the user's own keys; the system drops them
// silently when the foreground process has higher rights (checked before).
void SendKeyEvents(std::span<const KeyEvent> events) {
    for (const KeyEvent& e : events) {
        if (!e.Note.empty()) Log(3, "%s", std::string(e.Note));
        INPUT in = KeyInput(e.Vk, e.Scan, e.Flags);
        SendInput(1, &in, sizeof in);
        if (e.PauseAfterMs) Sleep(e.PauseAfterMs);
    }
}

void SendKey(std::uint16_t vk, bool up, bool extended) {
    const auto scan = static_cast<std::uint16_t>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    INPUT in =
        KeyInput(vk, scan, (up ? KEYEVENTF_KEYUP : 0u) | (extended ? KEYEVENTF_EXTENDEDKEY : 0u));
    SendInput(1, &in, sizeof in);
}

void SendUnicodeUnit(wchar_t unit) {
    INPUT in[2] = {KeyInput(0, unit, KEYEVENTF_UNICODE),
                   KeyInput(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
    SendInput(2, in, sizeof(INPUT));
}

// The key-ups reach the input queue, but a program that read the keyboard
// state before them would still see the keys down: its thread's state is
// cleared too. NT 4 cannot attach to another thread for that.
void ReleaseHotkeyModifiers(std::uint8_t pendingBits, bool nt4) {
    const std::vector<KeyEvent> events = HotkeyModifierReleaseEvents(pendingBits);
    SendKeyEvents(events);
    if (!nt4) {
        const DWORD own = GetCurrentThreadId();
        const DWORD theirs = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
        const bool attached = theirs && theirs != own && AttachThreadInput(own, theirs, TRUE);
        BYTE state[256] = {};
        if (GetKeyboardState(state)) {
            for (std::uint8_t vk : HotkeyModifierStateKeys()) state[vk] = 0;
            SetKeyboardState(state);
        }
        if (attached) AttachThreadInput(own, theirs, FALSE);
    }
    Sleep(10);
}

bool WaitCtrlReleased(std::uint32_t limitMs) {
    for (std::uint32_t waited = 0;; waited += kCtrlUpStepMs) {
        if (GetAsyncKeyState(VK_CONTROL) >= 0) return true;
        if (waited >= limitMs) return false;
        Sleep(kCtrlUpStepMs);
    }
}

// GetGUIThreadInfo reads another thread's focus without joining its input;
// where it has no answer the input is attached for GetFocus and detached
// at once.
HWND FocusWindowOf(HWND target) {
    const DWORD theirs = GetWindowThreadProcessId(target, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (theirs && GetGUIThreadInfo(theirs, &info) && info.hwndFocus) return info.hwndFocus;
    const DWORD own = GetCurrentThreadId();
    HWND focus = nullptr;
    if (theirs && theirs != own && AttachThreadInput(own, theirs, TRUE)) {
        focus = GetFocus();
        AttachThreadInput(own, theirs, FALSE);
    }
    return focus ? focus : target;
}

FocusFacts FocusFactsOf(HWND focus) {
    FocusFacts facts;
    DWORD_PTR selection = 0;
    facts.AnswersGetSel = SendMessageTimeoutW(focus, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG,
                                              kPingTimeoutMs, &selection) != 0 &&
                          selection != 0;
    facts.ClassName = ClassOf(focus);
    facts.Style = static_cast<std::uint32_t>(GetWindowLongPtrW(focus, GWL_STYLE));
    return facts;
}

// While the bar holds the clipboard, a program that opens it may first send
// its owner a message and wait for the answer (Wine's X11 clipboard does so
// on every OpenClipboard; a delayed rendering would ask the same way): a
// plain Sleep would leave the target waiting until the paste is over and
// it then pastes the restored clipboard.
void SleepAnsweringSent(std::uint32_t ms) {
    LARGE_INTEGER frequency{}, start{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const std::int64_t total = static_cast<std::int64_t>(ms) * frequency.QuadPart / 1000;
    for (;;) {
        QueryPerformanceCounter(&now);
        const std::int64_t left = total - (now.QuadPart - start.QuadPart);
        if (left <= 0) return;
        const auto leftMs =
            static_cast<DWORD>((left * 1000 + frequency.QuadPart - 1) / frequency.QuadPart);
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, leftMs, QS_SENDMESSAGE) == WAIT_OBJECT_0) {
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

bool Ping(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPingTimeoutMs, &result) !=
           0;
}

std::uint32_t IntegrityOf(HANDLE process) {
    HANDLE token = nullptr;
    if (!process || !OpenProcessToken(process, TOKEN_QUERY, &token)) return 0;
    std::uint32_t level = 0;
    alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[64] = {};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size)) {
        const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
        const UCHAR count = *GetSidSubAuthorityCount(sid);
        if (count > 0) level = *GetSidSubAuthority(sid, count - 1u);
    }
    CloseHandle(token);
    return level;
}

}  // namespace zorv
