#include "app/startup.h"

#include <cstdlib>

namespace zorv {

bool EarlyFlag(std::string_view value) {
    return !value.empty() && value.front() == '1';
}

std::int32_t EarlyNumber(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && value[i] == ' ') ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
    std::int64_t n = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        n = n * 10 + (value[i] - '0');
        if (n > INT32_MAX) return negative ? INT32_MIN : INT32_MAX;
    }
    return static_cast<std::int32_t>(negative ? -n : n);
}

ConfigSource ChooseConfigSource(bool iniExists, bool oldIniExists) {
    if (iniExists) return ConfigSource::IniFile;
    return oldIniExists ? ConfigSource::OldIniFile : ConfigSource::OldStore;
}

// Settings taken over from an older place are written to the configuration
// file, so that the next start reads them from there.
bool SaveAfterLoading(ConfigSource source) {
    return source != ConfigSource::IniFile;
}

// The executable is named after the module with ".exe", whatever extension
// the module was started with. The module path always holds a folder; a bare
// name (no backslash) gives paths relative to the current folder rather than
// to the root of the drive.
ProgramPaths ProgramPathsFromModule(std::string_view modulePath) {
    const std::size_t slash = modulePath.rfind('\\');
    const bool hasFolder = slash != std::string_view::npos;
    const std::string_view file = hasFolder ? modulePath.substr(slash + 1) : modulePath;
    ProgramPaths paths;
    if (hasFolder) paths.ProgramFolder = modulePath.substr(0, slash);
    paths.ExeFileName = std::string(file.substr(0, file.rfind('.'))) + ".exe";
    const std::string prefix = hasFolder ? paths.ProgramFolder + "\\" : std::string();
    paths.ExePath = prefix + paths.ExeFileName;
    paths.IconFolder = prefix + "Icons";
    return paths;
}

// A screen that reports no resolution is taken as 96 dpi (15 twips).
std::int32_t TwipsPerPixel(std::int32_t dpi) {
    return dpi > 0 ? 1440 / dpi : 15;
}

namespace {

bool DiffersBy(std::int64_t a, std::int64_t b, std::int64_t limit) {
    return std::llabs(a - b) >= limit;
}

}  // namespace

bool SystemIsBusy(const W4IdleState& state, const IdleSample& now) {
    constexpr std::int64_t kDiskKiB = 0x80000;  // 512 MiB
    const IdleSample& one = state.OneTickAgo;
    const IdleSample& two = state.TwoTicksAgo;
    return DiffersBy(now.Windows, one.Windows, 2) ||
           DiffersBy(now.FreeKiB, one.FreeKiB, kDiskKiB) ||
           DiffersBy(now.Processes, one.Processes, 3) || DiffersBy(now.Windows, two.Windows, 4) ||
           DiffersBy(now.FreeKiB, two.FreeKiB, kDiskKiB) ||
           DiffersBy(now.Processes, two.Processes, 4);
}

bool W4IdleTick(W4IdleState& state, const IdleSample& now) {
    ++state.Ticks;
    const bool done = !SystemIsBusy(state, now) || state.Ticks > 15;
    state.TwoTicksAgo = state.OneTickAgo;
    state.OneTickAgo = now;
    return done;
}

}  // namespace zorv
