// Finding running instances of a program and stepping through their windows
// on repeated presses of the same button. Portable: the system's process and
// window lists reach the rules through ActivatePlatform; the Win32 shell fills
// them and carries out the activation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/geometry.h"

namespace zorv {

inline constexpr std::size_t kMaxAppWindows = 400;  // window list
inline constexpr std::size_t kMaxCycleWindows = 20;
inline constexpr std::uint64_t kCycleSeconds = 6;

struct ProcessEntry {
    std::uint32_t Pid = 0;
    std::string Path;  // empty when the process could not be opened

    bool operator==(const ProcessEntry&) const = default;
};

struct WindowEntry {
    WindowId Window = 0;
    std::uint32_t Pid = 0;

    bool operator==(const WindowEntry&) const = default;
};

struct TitledWindow {
    WindowId Window = 0;
    std::string Text;
};

// What the window finders read from the system.
class FinderPlatform {
  public:
    virtual ~FinderPlatform() = default;
    // At most 200. Reading a path means opening the process, which is slow
    // (under Wine about 10 ms each): with `pathsOf`, only the paths of those
    // processes are read and the others are listed with an empty path.
    virtual std::vector<ProcessEntry> ProcessList(const std::vector<std::uint32_t>* pathsOf) = 0;
    virtual std::vector<WindowEntry> AppWindows(bool includeHidden) = 0;  // at most 400
    virtual std::vector<WindowId> TopLevelWindows() = 0;  // desktop's children, hidden too
    virtual std::string WindowText(WindowId window) = 0;  // read with a time-out
    // NT family: the short (8.3) form; then upper case.
    virtual std::string ShortPathUpper(const std::string& path) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool Is64BitWindows() = 0;  // a SysWOW64 folder in the Windows folder
};

// The activation cycle's clock, chance and actions in addition.
class ActivatePlatform : public FinderPlatform {
  public:
    virtual std::uint64_t Seconds() = 0;             // whole seconds since program start
    virtual double Random() = 0;                     // 0 <= r < 1
    virtual bool WindowExists(WindowId window) = 0;  // its style reads non-zero
    virtual void ActivateWindow(WindowId window) = 0;
};

// Title rules (case-sensitive).
bool TitleStartsOrEnds(std::string_view text, std::string_view title);
// Contains `title` and begins or ends with it.
bool TitleMatches(std::string_view text, std::string_view title);

// The program path an activation searches by: empty for batch files, PIF
// files and anything that is not an .exe (those search by title only).
std::string ExeForSearch(const std::string& exe);

// "X:\WINDOWS\SYSTEM32\..." (upper case) -> "X:\WINDOWS\SYSWOW64\..."; empty
// when `exeUpper` does not lie in that folder.
std::string SysWow64Alternative(std::string_view exeUpper);

// Matching windows in list order, at most 20.
std::vector<WindowId> FindWindowsByTitle(FinderPlatform& platform, const std::string& title);
std::vector<WindowId> ExeWindows(FinderPlatform& platform, const std::string& exe,
                                 const std::string& title);
// The path of the process owning the listed window `window`; empty when the
// window or its process is not listed.
std::string ExeOfWindow(const std::vector<ProcessEntry>& processes,
                        const std::vector<WindowEntry>& windows, WindowId window);

// The window-list rules of ListAppWindows.
struct AppWindowFacts {
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    std::string ClassName;
    bool Visible = false;  // visible with a non-empty rectangle
    bool OwnRoot = false;  // see SameProcessRoot
};
bool IsAppWindow(std::uint32_t style, std::uint32_t exStyle, std::string_view className);
bool TakeAppWindow(const AppWindowFacts& facts, bool includeHidden);

// Follows `parentOf` while the parent belongs to the same process; returns
// the last window reached. `parentOf` answers 0 at the top.
template <class ParentOf, class PidOf>
WindowId SameProcessRoot(WindowId window, ParentOf parentOf, PidOf pidOf) {
    const auto pid = pidOf(window);
    // A bound against owner loops a misbehaving program could build.
    for (int depth = 0; depth < 64; ++depth) {
        const WindowId parent = parentOf(window);
        if (parent == 0 || parent == window || pidOf(parent) != pid) break;
        window = parent;
    }
    return window;
}

// A process path of the 16-bit virtual machine ("...NTVDM.EXE") stands for
// the last of its tasks that is not "WOWEXEC.EXE"; other paths stay.
std::string ReplaceNtvdmPath(const std::string& path, const std::vector<std::string>& tasks);

// The windows whose text contains `title`, and the first of them not in the
// earlier snapshot (any of them when there was none).
std::vector<WindowId> TitleWindows(const std::vector<TitledWindow>& windows,
                                   std::string_view title);
WindowId FindNewTitleWindow(const std::vector<TitledWindow>& windows,
                            const std::vector<WindowId>* snapshot, std::string_view title);

// The one activation cycle of the program: repeated presses of the same
// button within 6 seconds step through the matching windows in list order.
class ActivationCycle {
  public:
    explicit ActivationCycle(ActivatePlatform& platform) : platform_(platform) {}

    // True when a window was activated.
    bool ActivateApp(const std::string& title, const std::string& exe);
    // A start ends the cycle (the check value is cleared).
    void EndByStart() { tokenCheck_ = 0; }
    // The bar reducing ends the cycle (a new token).
    void EndByReduce();

    std::size_t Count() const { return count_; }
    std::size_t Index() const { return index_; }  // 1-based; 0 at cycle start

  private:
    bool Continues(const std::string& exe) const;
    void OpenCycle(const std::string& title, const std::string& exe);
    double NewToken();

    ActivatePlatform& platform_;
    std::array<WindowId, kMaxCycleWindows> windows_{};
    std::size_t count_ = 0;
    std::size_t index_ = 0;
    std::string lastExe_;
    // Unequal at start: no cycle is open before the first search.
    double token_ = 0;
    double tokenCheck_ = -1;
    std::uint64_t startTime_ = 0;
};

}  // namespace zorv
