#include "launch/activate.h"

#include <algorithm>
#include <unordered_map>

#include "support/log.h"
#include "support/ascii.h"
#include "support/win32_constants.h"

namespace zorv {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

// After this many vanished windows in a row the press gives up rather than
// searching forever in a list that keeps naming dead windows.
constexpr int kMaxRestarts = 8;

}  // namespace

bool TitleStartsOrEnds(std::string_view text, std::string_view title) {
    return text.starts_with(title) || text.ends_with(title);
}

bool TitleMatches(std::string_view text, std::string_view title) {
    return text.find(title) != std::string_view::npos && TitleStartsOrEnds(text, title);
}

std::string ExeForSearch(const std::string& exe) {
    const std::size_t nameStart = exe.find_last_of("\\/:");
    const std::size_t dot = exe.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
    const std::string_view ext =
        hasExtension ? std::string_view(exe).substr(dot + 1) : std::string_view{};
    // A batch or PIF file runs inside another program's process, so only its
    // window title can find it; other documents are never a process either.
    if (!EqualsNoCase(ext, "exe")) return {};
    return exe;
}

std::string SysWow64Alternative(std::string_view exeUpper) {
    constexpr std::string_view kSystem32 = ":\\WINDOWS\\SYSTEM32\\";
    if (exeUpper.size() < 1 + kSystem32.size() || exeUpper.substr(1, kSystem32.size()) != kSystem32)
        return {};
    // Characters 15..19 of "C:\WINDOWS\SYSTEM32\" are "TEM32".
    std::string alt(exeUpper);
    alt.replace(14, 5, "WOW64");
    return alt;
}

std::vector<WindowId> FindWindowsByTitle(FinderPlatform& platform, const std::string& title) {
    Log(3, "FindWindowsByTitle(%s)", title);
    std::vector<WindowId> found;
    for (WindowId window : platform.TopLevelWindows()) {
        const std::string text = platform.WindowText(window);
        if (!TitleMatches(text, title)) continue;
        found.push_back(window);
        Log(4, "found(%u) '%s'", found.size(), text);
        if (found.size() == kMaxCycleWindows) break;
    }
    return found;
}

std::vector<WindowId> ExeWindows(FinderPlatform& platform, const std::string& exe,
                                 const std::string& title) {
    Log(3, "ExeWindows(%s)", exe);
    const std::vector<WindowEntry> windows = platform.AppWindows(!title.empty());
    // Only processes with a listed window can contribute one.
    std::vector<std::uint32_t> owners;
    for (const WindowEntry& w : windows) owners.push_back(w.Pid);
    std::sort(owners.begin(), owners.end());
    owners.erase(std::unique(owners.begin(), owners.end()), owners.end());
    const std::vector<ProcessEntry> processes = platform.ProcessList(&owners);

    const std::string wanted = platform.ShortPathUpper(exe);
    // A 32-bit copy of a system program runs from SysWOW64 on 64-bit Windows
    // while the item names System32.
    std::string alt = platform.Is64BitWindows() ? SysWow64Alternative(wanted) : std::string{};
    if (!alt.empty() && !platform.FileExists(alt)) alt.clear();

    // Many processes share one program file (service hosts): convert each
    // path once.
    std::unordered_map<std::string, std::string> shortPaths;
    std::vector<WindowId> found;
    for (const ProcessEntry& process : processes) {
        if (process.Path.empty()) continue;
        auto [it, inserted] = shortPaths.try_emplace(process.Path);
        if (inserted) it->second = platform.ShortPathUpper(process.Path);
        if (it->second != wanted && (alt.empty() || it->second != alt)) continue;
        for (const WindowEntry& entry : windows) {
            if (entry.Pid != process.Pid) continue;
            if (!title.empty() && !TitleStartsOrEnds(platform.WindowText(entry.Window), title))
                continue;
            found.push_back(entry.Window);
            if (found.size() == kMaxCycleWindows) return found;
        }
    }
    return found;
}

std::string ExeOfWindow(const std::vector<ProcessEntry>& processes,
                        const std::vector<WindowEntry>& windows, WindowId window) {
    auto entry = std::find_if(windows.begin(), windows.end(),
                              [&](const WindowEntry& e) { return e.Window == window; });
    if (entry == windows.end()) return {};
    auto process = std::find_if(processes.begin(), processes.end(),
                                [&](const ProcessEntry& p) { return p.Pid == entry->Pid; });
    return process == processes.end() ? std::string{} : process->Path;
}

bool IsAppWindow(std::uint32_t style, std::uint32_t exStyle, std::string_view className) {
    constexpr std::uint32_t kPopupOrDisabled = win::kWsPopup | win::kWsDisabled;
    constexpr std::uint32_t kToolWindow = win::kWsExToolWindow;
    if ((style & kPopupOrDisabled) != 0 || (exStyle & kToolWindow) != 0) return false;
    if (className.empty() || className == "Shell_TrayWnd") return false;
    constexpr std::string_view kTooltip = "tooltip";
    for (std::size_t i = 0; i + kTooltip.size() <= className.size(); ++i) {
        if (EqualsNoCase(className.substr(i, kTooltip.size()), kTooltip)) return false;
    }
    return true;
}

bool TakeAppWindow(const AppWindowFacts& facts, bool includeHidden) {
    return IsAppWindow(facts.Style, facts.ExStyle, facts.ClassName) &&
           (facts.Visible || includeHidden) && facts.OwnRoot;
}

std::string ReplaceNtvdmPath(const std::string& path, const std::vector<std::string>& tasks) {
    if (!EndsWithNoCase(path, "NTVDM.EXE")) return path;
    for (auto task = tasks.rbegin(); task != tasks.rend(); ++task) {
        if (!EndsWithNoCase(*task, "WOWEXEC.EXE")) return *task;
    }
    return path;
}

std::vector<WindowId> TitleWindows(const std::vector<TitledWindow>& windows,
                                   std::string_view title) {
    std::vector<WindowId> ids;
    for (const TitledWindow& w : windows) {
        if (w.Text.find(title) != std::string::npos) ids.push_back(w.Window);
    }
    return ids;
}

WindowId FindNewTitleWindow(const std::vector<TitledWindow>& windows,
                            const std::vector<WindowId>* snapshot, std::string_view title) {
    for (const TitledWindow& w : windows) {
        if (w.Text.find(title) == std::string::npos) continue;
        if (snapshot && std::find(snapshot->begin(), snapshot->end(), w.Window) != snapshot->end())
            continue;
        return w.Window;
    }
    return 0;
}

bool ActivationCycle::ActivateApp(const std::string& title, const std::string& exe) {
    for (int attempt = 0; attempt <= kMaxRestarts; ++attempt) {
        Log(2, "ActivateApp('%s', '%s')", title, exe);
        if (!Continues(exe)) OpenCycle(title, exe);
        if (count_ == 0) return false;
        Log(3, "lWinCount=%u", count_);
        index_ = index_ >= count_ ? 1 : index_ + 1;
        const WindowId window = windows_[index_ - 1];
        if (!platform_.WindowExists(window)) {
            // Closed since the search: the next attempt opens a new cycle.
            count_ = 0;
            token_ = NewToken();
            startTime_ = platform_.Seconds();
            continue;
        }
        Log(2, "activate window('%s', %u, %u)", platform_.WindowText(window), window, index_);
        platform_.ActivateWindow(window);
        return true;
    }
    return false;
}

void ActivationCycle::EndByReduce() {
    token_ = NewToken();
    startTime_ = platform_.Seconds();
}

bool ActivationCycle::Continues(const std::string& exe) const {
    const std::uint64_t now = platform_.Seconds();
    return exe == lastExe_ && token_ == tokenCheck_ && now >= startTime_ &&
           now - startTime_ < kCycleSeconds;
}

void ActivationCycle::OpenCycle(const std::string& title, const std::string& exe) {
    Log(3, "neue session FindWindowByTitle or EXE");
    lastExe_ = exe;
    token_ = tokenCheck_ = NewToken();
    startTime_ = platform_.Seconds();
    index_ = 0;

    const std::string searchExe = ExeForSearch(exe);
    std::vector<WindowId> found;
    if (!searchExe.empty()) {
        found = ExeWindows(platform_, searchExe, title);
    } else if (!title.empty()) {
        found = FindWindowsByTitle(platform_, title);
    }
    count_ = std::min(found.size(), kMaxCycleWindows);
    std::copy_n(found.begin(), count_, windows_.begin());
}

// Tokens lie in [1, 2): never the 0 a start leaves in the check value, and
// never the current check value, so a new token always ends the cycle.
double ActivationCycle::NewToken() {
    double token = 1.0 + platform_.Random();
    if (token == tokenCheck_) token = token >= 1.5 ? token - 0.25 : token + 0.25;
    return token;
}

}  // namespace zorv
