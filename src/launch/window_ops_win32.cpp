#include "launch/window_ops_win32.h"

#include <algorithm>
#include <cwchar>
#include <optional>
#include <random>
#include <vector>

#include "app/app_state.h"
#include "app/log.h"
#include "launch/activate.h"
#include "launch/process_list_win32.h"
#include "support/text_win32.h"
#include "support/tick_clock.h"

namespace zorv {

namespace {

constexpr UINT kNullTimeoutMs = 50;
constexpr UINT kTextTimeoutMs = 100;
constexpr int kTextChars = 260;

WindowId IdOf(HWND window) {
    return reinterpret_cast<WindowId>(window);
}
HWND HwndOf(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

std::string UpperCase(std::wstring text) {
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return Narrow(text);
}

bool PathExists(const std::string& path, bool folder) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

// Windows 98, ME and 2000 on refuse SetForegroundWindow from a process that
// is not in front (the foreground lock).
bool HasForegroundLock() {
    const WindowsVersionInfo& v = App.WindowsVersion;
    return v.Win2000OrLater || (!v.NT && v.Code >= 0x40A);
}

// The program's clock for the activation cycle starts with the program.
const std::uint64_t g_startTick = TickCount64();

class Win32ActivatePlatform final : public ActivatePlatform {
  public:
    std::vector<ProcessEntry> ProcessList(const std::vector<std::uint32_t>* pathsOf) override {
        return GetProcessList(pathsOf);
    }
    std::vector<WindowEntry> AppWindows(bool includeHidden) override {
        return ListAppWindows(includeHidden);
    }
    std::vector<WindowId> TopLevelWindows() override {
        std::vector<WindowId> ids;
        for (HWND w : zorv::TopLevelWindows()) ids.push_back(IdOf(w));
        return ids;
    }
    std::string WindowText(WindowId window) override { return WindowTextTimeout(HwndOf(window)); }
    std::string ShortPathUpper(const std::string& path) override {
        return zorv::ShortPathUpper(path);
    }
    bool FileExists(const std::string& path) override { return PathExists(path, false); }
    bool Is64BitWindows() override {
        static const bool is64 = App.WindowsFolder.empty()
                                     ? App.WindowsVersion.Is64
                                     : PathExists(App.WindowsFolder + "\\SysWOW64", true);
        return is64;
    }
    std::uint64_t Seconds() override { return (TickCount64() - g_startTick) / 1000; }
    double Random() override { return chance_(random_); }
    bool WindowExists(WindowId window) override {
        return GetWindowLongW(HwndOf(window), GWL_STYLE) != 0;
    }
    void ActivateWindow(WindowId window) override { zorv::ActivateWindow(HwndOf(window)); }

  private:
    std::mt19937_64 random_{TickCount64() ^ GetCurrentProcessId()};
    std::uniform_real_distribution<double> chance_{0.0, 1.0};
};

ActivationCycle& Cycle() {
    static Win32ActivatePlatform platform;
    static ActivationCycle cycle{platform};
    return cycle;
}

// The windows recorded before a start that waits for a new window by title.
std::optional<std::vector<WindowId>> g_titleSnapshot;

std::vector<TitledWindow> TitledTopLevelWindows() {
    std::vector<TitledWindow> windows;
    for (HWND w : TopLevelWindows()) windows.push_back({IdOf(w), WindowTextTimeout(w)});
    return windows;
}

}  // namespace

// A hung window would block SendMessage for good; SMTO_ABORTIFHUNG returns at
// once for a window Windows already considers hung, the time-outs cover the
// rest.
std::string WindowTextTimeout(HWND window) {
    if (!window) return {};
    if (IsHung(window)) return "no text because no response";
    wchar_t text[kTextChars] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, kTextChars, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kTextTimeoutMs, &length))
        return {};
    // The answer's length is the window's claim; the buffer is the fact.
    return Narrow(std::wstring_view(text, wcsnlen(text, kTextChars - 1)));
}

bool IsHung(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kNullTimeoutMs, &result) ==
           0;
}

bool IsReallyVisible(HWND window) {
    RECT r{};
    return IsWindowVisible(window) && GetWindowRect(window, &r) && r.right - r.left >= 1 &&
           r.bottom - r.top >= 1;
}

void ActivateWindow(HWND window) {
    if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
        // A program busy with the restore animation may ignore the first one.
        if (IsIconic(window)) {
            Sleep(1000);
            ShowWindow(window, SW_RESTORE);
        }
    }
    for (int i = 0; i < 10 && GetForegroundWindow() != window; ++i) {
        BringToFront(window, "ActivateWindow");
        Sleep(10);
    }
}

void BringToFront(HWND window, const char* tag) {
    if (!window || IsHung(window) || GetForegroundWindow() == window || IsIconic(window) ||
        !IsReallyVisible(window))
        return;
    Log(5, "BringToFront(%s) %X", tag ? tag : "", static_cast<const void*>(window));
    if (HasForegroundLock()) {
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

void SnapshotTitleWindows(const std::string& title) {
    g_titleSnapshot = TitleWindows(TitledTopLevelWindows(), title);
}

HWND FindNewTitleWindow(const std::string& title) {
    const std::vector<WindowId>* snapshot = g_titleSnapshot ? &*g_titleSnapshot : nullptr;
    return HwndOf(zorv::FindNewTitleWindow(TitledTopLevelWindows(), snapshot, title));
}

std::string ExeOfWindow(HWND window) {
    if (!window) return {};
    // Hidden windows too: the caller may ask about any window it holds.
    const std::vector<WindowEntry> windows = ListAppWindows(true);
    auto entry = std::find_if(windows.begin(), windows.end(),
                              [&](const WindowEntry& e) { return e.Window == IdOf(window); });
    if (entry == windows.end()) return {};
    const std::vector<std::uint32_t> owner = {entry->Pid};
    return zorv::ExeOfWindow(GetProcessList(&owner), windows, IdOf(window));
}

std::string ExeOfWindowShort(HWND window) {
    const std::string exe = ExeOfWindow(window);
    return exe.empty() ? exe : ShortPathUpper(exe);
}

// Long and short names of one file must compare equal, and so must letter
// cases: the process list reports whichever form the program was started by.
std::string ShortPathUpper(const std::string& path) {
    std::wstring wide = Widen(path);
    if (App.WindowsVersion.NT && !wide.empty()) {
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

bool ActivateApp(const std::string& title, const std::string& exe) {
    return Cycle().ActivateApp(title, exe);
}

void EndActivationCycle() {
    Cycle().EndByStart();
}

}  // namespace zorv
