// The input subsystem's shell: clipboard items delivered into the window
// the user works in (pasted through the clipboard, which is put back
// afterwards, or typed as keystrokes), and the global hotkeys of the items
// and the main menu. The decisions are the core's (input/key_language,
// input/paste, input/hotkeys); this side gathers the facts and carries them
// out. The application owns it and routes WM_HOTKEY here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/input_host.h"
#include "input/hotkeys.h"
#include "input/key_names.h"
#include "input/paste.h"
#include "items/app_state.h"

namespace zorv {

class InputShell {
  public:
    InputShell(AppState& state, InputHost& host) : s_(state), host_(host) {}
    ~InputShell() { UnregisterAll(); }
    InputShell(const InputShell&) = delete;
    InputShell& operator=(const InputShell&) = delete;

    // `RegisterAllHotkeys`: every item's hotkey and `MnuHotkey` for the bar
    // window, after unregistering the earlier set. Kept off while suspended.
    void RegisterAllHotkeys();
    void UnregisterAll();
    // A dialog of the program opens: no hotkey may reach it; Resume registers
    // the (perhaps edited) set again.
    void Suspend();
    void Resume();
    // `GetAllRegisteredHotkeyNames`: every combination another program holds,
    // a line each ("241 Ctrl+A"), found by trying to register it.
    std::vector<std::string> GetAllRegisteredHotkeyNames();
    // A hotkey value's text in the user's keyboard ("Ctrl+Alt+F5").
    std::string HotkeyName(std::int32_t value);
    // The key-name table's names, for the tokens of typed texts.
    std::vector<std::string> SpecialKeyNames() { return KeyNames().Names(); }

    // WM_HOTKEY at the bar window.
    void OnHotkey(WPARAM id, LPARAM lParam);

    // A clipboard item picked in a menu (`ExecuteClipboardItem`).
    void ExecuteClipboardItem(std::int32_t list, std::int32_t index);

    // The three deliveries of a text. The paste's guard counts from
    // `requestMs` (TickCount64), when the user asked for it.
    void PasteText(const std::string& text, std::uint64_t requestMs);
    void SendKeysByChars(const std::string& text);
    bool SetClipboardText(const std::string& text);

  private:
    void Deliver(const std::string& text, PasteMode mode, std::uint64_t requestMs);
    // The window the text goes to, brought in front within the bound.
    HWND TargetWindow();
    bool TargetInputBlocked(HWND target);
    bool DialogActive();
    bool IsNt4() const;
    void WaitTargetIdle(HWND window, HANDLE process);
    void Pause(std::uint32_t ms);
    void ReleaseModifiers();
    // Runs `wait` (a wait the delivery prescribes) off the bar's own time.
    template <class F>
    auto Waiting(F wait) {
        const std::int64_t from = Counter();
        struct Add {
            InputShell& self;
            std::int64_t from;
            ~Add() { self.own_.Waited += Counter() - from; }
        } add{*this, from};
        return wait();
    }
    // `BuildKeyNameTable` on the first typed text: the start does not wait
    // for the system's names of some 240 keys.
    const KeyNameTable& KeyNames();
    static std::int64_t Counter();
    // The bar's own time from the hotkey message to the text handed over.
    void HandedOver(const char* how);

    AppState& s_;
    InputHost& host_;
    std::optional<KeyNameTable> names_;
    PasteGuard guard_;
    std::uint8_t pendingModifiers_ = 0;
    std::vector<std::int32_t> registered_;
    HWND registeredFor_ = nullptr;
    bool suspended_ = false;
    // Performance counts since the hotkey message and spent in the waits;
    // logged once the text is handed over (read by the hotkey benchmark).
    struct OwnTime {
        std::int64_t Start = 0;
        std::int64_t Waited = 0;
    } own_;
};

}  // namespace zorv
