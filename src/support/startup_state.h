// What start-up fixes for the whole run: the program's folders and files,
// the switches, and the Windows version record with the facts derived from
// it; and the program-wide tables. Portable: no Windows headers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "support/win32_constants.h"

namespace zorv {

struct WindowsVersionInfo {
    std::uint32_t Platform = 2;  // VER_PLATFORM_WIN32_NT
    std::uint32_t Major = 0;
    std::uint32_t Minor = 0;
    std::uint32_t Build = 0;
    std::uint32_t Code = 0;  // Major * 256 + Minor
    bool NT = false;
    bool Win2000OrLater = false;
    bool VistaOrLater = false;
    bool Wow64 = false;  // a 32-bit program on 64-bit Windows
    bool Is64 = false;   // 64-bit Windows
};

WindowsVersionInfo MakeWindowsVersion(std::uint32_t platform, std::uint32_t major,
                                      std::uint32_t minor, std::uint32_t build, bool wow64,
                                      bool is64);

// Windows 98, ME and 2000 on refuse SetForegroundWindow from a process that
// is not in front (the foreground lock).
constexpr bool HasForegroundLock(const WindowsVersionInfo& v) {
    return v.Win2000OrLater || (!v.NT && v.Code >= 0x40A);
}

// Program-wide state fixed by InitGlobals before anything else runs.
struct StartupState {
    std::string ProgramFolder;  // without trailing backslash
    std::string IconFolder;
    std::string StartFolder;
    std::string WindowsFolder;
    std::string ExePath;
    std::string IniPath;
    std::string Arguments;  // the command line after the program path
    std::int64_t StartTime = 0;  // seconds since 1970, local clock
    std::uint32_t ElevationType = 1;
    bool NoConfig = false;
    bool NoAu = false;
    bool NoStart = false;
    std::int32_t TwipsPerPixelX = 15;
    std::int32_t TwipsPerPixelY = 15;
    WindowsVersionInfo WindowsVersion;
};

inline constexpr std::array<std::string_view, 7> ExeExtensions = {"pif", "exe", "com", "bat",
                                                                  "lnk", "cmd", ""};
// Prio 0..4 of an item.
inline constexpr std::array<std::uint32_t, 5> PriorityClasses = {
    win::kIdlePriorityClass, win::kBelowNormalPriorityClass, win::kNormalPriorityClass,
    win::kAboveNormalPriorityClass, win::kHighPriorityClass};
inline constexpr std::array<std::int32_t, 4> lAlphas = {191, 127, 63, 16};
inline constexpr std::array<std::int32_t, 3> ButtonSizes = {20, 21, 19};

// A process whose minimum working set is below the floor gets these sizes
// (bytes): a small minimum makes the bar slow after it was paged out.
inline constexpr std::uint64_t kWorkingSetFloor = 4096000;
inline constexpr std::uint64_t kWorkingSetMinimum = 5120000;
inline constexpr std::uint64_t kWorkingSetMaximum = 6144000;

}  // namespace zorv
