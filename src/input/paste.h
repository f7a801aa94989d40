// The decisions around delivering a clipboard item's text: the 100 ms guard
// against a doubled paste, which way a paste takes into the focus window
// (`PasteText`), what a typed text's target is like (`SendKeysByChars`),
// the bounds of every wait on the foreign program, which clipboard formats
// are put back after a paste, and when the system would drop our input.
// The shell gathers the facts and carries out the answers. Portable: no
// Windows headers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "input/key_language.h"

namespace zorv {

// The bounds of the waits on the target; every wait on another program is
// bounded.
inline constexpr std::uint32_t kPasteGuardMs = 100;         // a second paste within is dropped
inline constexpr std::uint32_t kClipItemPauseMs = 30;       // after releasing the hotkey's modifiers
inline constexpr std::uint32_t kClipboardRetryMs = 100;     // one retry to open or empty it
inline constexpr std::uint32_t kForegroundWaitTries = 100;  // the target in front within
inline constexpr std::uint32_t kForegroundWaitStepMs = 10;  //   100 x 10 ms
inline constexpr std::uint32_t kPingTimeoutMs = 50;         // WM_NULL with SMTO_ABORTIFHUNG
inline constexpr std::uint32_t kEditPastePauseMs = 10;      // between the ping and WM_PASTE
inline constexpr std::uint32_t kCtrlUpWaitMs = 2000;        // a slow target waits for Ctrl up
inline constexpr std::uint32_t kCtrlUpStepMs = 10;
inline constexpr std::uint32_t kIdleWaitMs = 333;          // WaitForInputIdle of the target
inline constexpr std::uint32_t kRestoreTries = 34;         // emptying the clipboard to restore it
inline constexpr std::uint32_t kRestoreStepMs = 100;

// The 100 ms guard of PasteText: two hotkey presses in quick succession (or
// a key that repeats) paste once.
class PasteGuard {
  public:
    // True when a paste may go ahead at `nowMs`; it then counts as the last.
    bool TryPaste(std::uint64_t nowMs);

  private:
    std::optional<std::uint64_t> last_;
};

// The focus window of the target as the shell found it.
struct FocusFacts {
    bool AnswersGetSel = false;  // EM_GETSEL gave a non-zero answer: an edit control
    std::string ClassName;
    std::uint32_t Style = 0;
};

// Firefox and Thunderbird read the keyboard late: a Ctrl still down from the
// hotkey turns typed letters into commands, so they get longer pauses and
// wait for Ctrl to be up.
bool IsSlowTarget(std::string_view className);

// How a typed text's target takes Enter and how fast it is.
KeyTarget TypingTarget(const FocusFacts& focus);

enum class PasteRoute : std::uint8_t {
    EditPaste,  // ping the focus (kPingTimeoutMs), pause, WM_PASTE to it
    CtrlV,      // release the hotkey's modifiers, CtrlVEvents, ping the target
    WmPaste,    // release them, WM_PASTE to the focus, ping the target
};
struct PastePlan {
    PasteRoute Route = PasteRoute::CtrlV;
    // Wait (kCtrlUpWaitMs) for Ctrl to be up first; when it stays down the
    // paste is dropped without restoring the clipboard.
    bool WaitCtrlUp = false;
};
// An edit control that answers EM_GETSEL takes WM_PASTE; a rich edit control
// answers it too but pastes its own way, so it gets Ctrl+V like every other
// window. On Windows 95 a hotkey with Alt alone would turn Ctrl+V into a
// menu key, so there the focus gets WM_PASTE.
PastePlan ChoosePasteRoute(const FocusFacts& focus, bool windows95, std::uint8_t pendingModifiers);

// One format on the clipboard before the paste, as the shell found it.
struct ClipboardFormatFacts {
    std::uint32_t Format = 0;
    std::string Name;        // the registered name; empty for a standard format
    std::uint64_t Size = 0;  // bytes of its data (GlobalSize, or the metafile's bits)
};

enum class ClipboardKeep : std::uint8_t {
    Memory,       // copy the memory block and put it back
    EnhMetafile,  // copy the metafile's bits and put a new metafile back
    Synthesized,  // the system makes it again from another format that is kept
    NotCopyable,  // a handle the program cannot copy: owner display, GDI objects, private
    OverCap,      // would take the copy past kClipboardCopyCap
};
struct ClipboardFormatPlan {
    std::uint32_t Format = 0;
    ClipboardKeep Keep = ClipboardKeep::Memory;

    bool operator==(const ClipboardFormatPlan&) const = default;
};

// The most a paste copies of the clipboard to restore it (a screenshot of
// two 4K screens fits); a larger clipboard keeps its first formats.
inline constexpr std::uint64_t kClipboardCopyCap = 64ull << 20;

// Which formats are saved and put back, in the order found (the order in
// which their program offered them, which readers take as its preference).
// The formats that are lost are logged by name.
std::vector<ClipboardFormatPlan> PlanClipboardSave(std::span<const ClipboardFormatFacts> formats);

// The name a format is logged with: its registered name or "CF_..." of a
// standard format, else its number.
std::string ClipboardFormatName(const ClipboardFormatFacts& format);

// The system drops simulated input into a window of a process with a higher
// integrity level (User Interface Privilege Isolation): the paste cannot
// work, the user is told (Txt::InputBlocked) instead.
constexpr bool InputBlocked(std::uint32_t ownIntegrity, std::uint32_t targetIntegrity) {
    return targetIntegrity > ownIntegrity;
}

}  // namespace zorv
