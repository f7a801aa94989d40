// The keyboard's Win32 side: the system's key names for the core's tables,
// key events played through SendInput, the release of the modifiers a
// hotkey left down, and the facts of a target's focus window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "input/key_events.h"
#include "input/key_names.h"
#include "input/paste.h"

namespace zorv {

class Win32KeyboardFacts final : public KeyboardFacts {
  public:
    std::uint32_t ScanCodeOf(std::uint8_t vk) override;
    std::string KeyNameText(std::uint32_t lParam) override;
    std::string DecimalSeparator() override;
};

// Plays `events` in order, each with its log note and pause.
void SendKeyEvents(std::span<const KeyEvent> events);
// One key down or up (scan code from the keyboard layout).
void SendKey(std::uint16_t vk, bool up, bool extended = false);
// A UTF-16 unit as a KEYEVENTF_UNICODE press and release.
void SendUnicodeUnit(wchar_t unit);

// `ReleaseHotkeyModifiers`: key-ups of the pending modifiers, then the
// modifier entries of the foreground thread's keyboard state cleared.
void ReleaseHotkeyModifiers(std::uint8_t pendingBits, bool nt4);

// Waits until Ctrl is up, at most `limitMs`; true when it is.
bool WaitCtrlReleased(std::uint32_t limitMs);

// The window that takes typed keys in `target`'s thread, or `target` itself.
HWND FocusWindowOf(HWND target);
// What the core needs to know of that window (EM_GETSEL asked with a time-out).
FocusFacts FocusFactsOf(HWND focus);

// Sleeps `ms` while answering the messages other threads send to this one.
void SleepAnsweringSent(std::uint32_t ms);

// WM_NULL with SMTO_ABORTIFHUNG and kPingTimeoutMs; false when it did not answer.
bool Ping(HWND window);

// The integrity level (its RID) of a process; 0 where the system has none.
std::uint32_t IntegrityOf(HANDLE process);

}  // namespace zorv
