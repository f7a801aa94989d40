#include "launch/window_ops_win32.h"

#include <algorithm>

#include "support/log.h"
#include "support/text_win32.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

constexpr UINT kNullTimeoutMs = 50;
// How long a live program gets for a restore before it is asked again.
constexpr DWORD kRestoreWaitMs = 500;

std::string UpperCase(std::wstring text) {
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return Narrow(text);
}

// Polls the restore a program carries out in its own time.
bool WaitRestored(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsIconic(window)) {
        if (GetTickCount() - start >= timeoutMs || IsHung(window)) return false;
        Sleep(10);
    }
    return true;
}

}  // namespace

std::vector<TitledWindow> TitledTopLevelWindows() {
    std::vector<TitledWindow> windows;
    for (HWND w : TopLevelWindows()) windows.push_back({ToWindowId(w), WindowTextTimeout(w)});
    return windows;
}

// Only the asynchronous forms of ShowWindow: the plain one waits until the
// target's thread answers, and a program that stopped answering would hold
// the bar for as long.
void ActivateWindow(HWND window, bool foregroundLock) {
    if (!IsWindowVisible(window)) ShowWindowAsync(window, SW_SHOW);
    if (IsIconic(window)) {
        ShowWindowAsync(window, SW_RESTORE);
        if (IsHung(window)) return;  // it restores when it answers again
        // A program busy with the restore animation may ignore the first one.
        if (!WaitRestored(window, kRestoreWaitMs)) {
            ShowWindowAsync(window, SW_RESTORE);
            WaitRestored(window, kRestoreWaitMs);
        }
    }
    for (int i = 0; i < 10 && GetForegroundWindow() != window; ++i) {
        BringToFront(window, "ActivateWindow", foregroundLock);
        Sleep(10);
    }
}

void BringToFront(HWND window, const char* tag, bool foregroundLock) {
    if (!window || IsHung(window) || GetForegroundWindow() == window || IsIconic(window) ||
        !IsReallyVisible(window))
        return;
    Log(5, "BringToFront(%s) %X", tag ? tag : "", static_cast<const void*>(window));
    if (foregroundLock) {
        ForceForeground(window);
    } else {
        SetForegroundWindow(window);
    }
    // Let the window process its activation before the caller goes on.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kNullTimeoutMs, &result);
    Sleep(0);
}

// Under the foreground lock SetForegroundWindow only flashes the taskbar
// button unless the caller owns the foreground; sharing the input state with
// the foreground window's thread makes the call count as that thread's.
bool ForceForeground(HWND window) {
    HWND foreground = GetForegroundWindow();
    if (foreground == window && IsWindowVisible(window)) return true;
    SetActiveWindow(window);
    const bool done = SetForegroundWindow(window) && GetForegroundWindow() == window;
    Sleep(0);
    if (!done) {
        foreground = GetForegroundWindow();
        const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
        const DWORD targetThread = GetWindowThreadProcessId(window, nullptr);
        if (foregroundThread != 0 && targetThread != 0 && foregroundThread != targetThread &&
            AttachThreadInput(foregroundThread, targetThread, TRUE)) {
            SetForegroundWindow(window);
            AttachThreadInput(foregroundThread, targetThread, FALSE);
        }
    }
    return SetForegroundWindow(window) != FALSE;
}

HWND FindWindowByTitle(const std::string& title) {
    if (title.empty()) return nullptr;
    if (HWND exact = FindWindowW(nullptr, Widen(title).c_str())) return exact;
    for (HWND w : TopLevelWindows()) {
        if (TitleStartsOrEnds(WindowTextTimeout(w), title)) return w;
    }
    return nullptr;
}

std::string ExeOfWindow(ProcessLister& processes, HWND window) {
    if (!window) return {};
    // Hidden windows too: the caller may ask about any window it holds.
    const std::vector<WindowEntry> windows = ListAppWindows(true);
    auto entry = std::find_if(windows.begin(), windows.end(),
                              [&](const WindowEntry& e) { return e.Window == ToWindowId(window); });
    if (entry == windows.end()) return {};
    const std::vector<std::uint32_t> owner = {entry->Pid};
    return zorv::ExeOfWindow(processes.GetProcessList(&owner), windows, ToWindowId(window));
}

// Long and short names of one file must compare equal, and so must letter
// cases: the process list reports whichever form the program was started by.
std::string ShortPathUpper(const std::string& path, bool nt) {
    std::wstring wide = Widen(path);
    if (nt && !wide.empty()) {
        std::wstring shortPath(MAX_PATH, L'\0');
        DWORD n =
            GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
        if (n >= shortPath.size()) {
            shortPath.resize(n);
            n = GetShortPathNameW(wide.c_str(), shortPath.data(),
                                  static_cast<DWORD>(shortPath.size()));
        }
        // An unknown file keeps its long form.
        if (n > 0 && n < shortPath.size()) wide.assign(shortPath.data(), n);
    }
    return UpperCase(std::move(wide));
}

}  // namespace zorv
