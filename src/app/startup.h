// Start-up state and the start-up decisions that need no Windows: the
// program-wide tables, the version record, the program's paths, where the
// configuration is read from, and the wait-for-idle rule.
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
    std::int64_t StartTime = 0;  // seconds since 1970, local clock
    std::uint32_t ElevationType = 1;
    bool NoConfig = false;
    bool NoAu = false;
    bool NoStart = false;
    std::int32_t TwipsPerPixelX = 15;
    std::int32_t TwipsPerPixelY = 15;
    bool ComCtl6 = false;  // common controls version 6 or later
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

// A flag read straight from the file before the log starts: on when the
// value begins with "1".
bool EarlyFlag(std::string_view value);
// A number read the same way: the decimal prefix, 0 without digits.
std::int32_t EarlyNumber(std::string_view value);

// The start banner, written four times at level 1.
inline constexpr std::string_view kStartBanner = "------------- Zorv START LOG (%u)---------------";

// Where the settings come from at start: the configuration file, else an
// older "zorv.ini" in the program folder, else the older settings store.
enum class ConfigSource { IniFile, OldIniFile, OldStore };

ConfigSource ChooseConfigSource(bool iniExists, bool oldIniExists);
// True when the settings just read are to be written to the configuration file.
bool SaveAfterLoading(ConfigSource source);

// The paths derived from the module's file name (GetModuleFileName).
struct ProgramPaths {
    std::string ProgramFolder;  // without trailing backslash
    std::string ExePath;
    std::string ExeFileName;  // the file-name part of ExePath
    std::string IconFolder;
};

ProgramPaths ProgramPathsFromModule(std::string_view modulePath);

// Twips per pixel for a screen resolution in dots per inch.
std::int32_t TwipsPerPixel(std::int32_t dpi);

// One sample of system activity taken by the wait-for-idle tick.
struct IdleSample {
    std::int64_t Windows = 0;    // top-level windows
    std::int64_t FreeKiB = 0;    // free space of the Windows drive
    std::int64_t Processes = 0;  // running processes
};

struct W4IdleState {
    IdleSample OneTickAgo;  // the history starts at zeros: the first tick is busy
    IdleSample TwoTicksAgo;
    std::int32_t Ticks = 0;
};

bool SystemIsBusy(const W4IdleState& state, const IdleSample& now);

// One tick: counts, judges, shifts the history. True when the waiting is over
// (quiet, or the counter has passed 15) and the bar should be shown.
bool W4IdleTick(W4IdleState& state, const IdleSample& now);

}  // namespace zorv
