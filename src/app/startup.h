// Start-up state and the start-up decisions that need no Windows: the
// program-wide tables, the version record, the program's paths, where the
// configuration is read from, and the wait-for-idle rule.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include "support/startup_state.h"

namespace zorv {

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
