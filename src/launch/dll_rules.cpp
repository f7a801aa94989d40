#include "launch/dll_rules.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "support/ascii.h"
#include "support/win32_constants.h"

namespace zorv {

namespace {

constexpr std::int32_t kMaxShowCommand = win::kSwForceMinimize;
constexpr std::int32_t kShowNormal = win::kSwShowNormal;
constexpr std::int32_t kShowMaximized = win::kSwShowMaximized;
constexpr std::int32_t kShowMinNoActive = win::kSwShowMinNoActive;
constexpr unsigned kWindows7 = 0x601;
constexpr int kElevationLimited = 3;

// LinkCLSID of the shell link format, 00021401-0000-0000-C000-000000000046,
// as it lies in the file (the first three groups little-endian).
constexpr std::array<unsigned char, 16> kLinkClsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::size_t kLinkClsidOffset = 4;
constexpr std::size_t kLinkShowOffset = 0x3C;

bool IsTerminated(const char (&text)[kExecTextBytes]) {
    return std::memchr(text, '\0', kExecTextBytes) != nullptr;
}

std::uint32_t ReadLe32(std::span<const unsigned char> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

}  // namespace

bool IsKnownPriorityClass(std::int32_t priorityClass) {
    switch (priorityClass) {
        case win::kNormalPriorityClass:
        case win::kIdlePriorityClass:
        case win::kHighPriorityClass:
        case win::kRealtimePriorityClass:  // the system grants high without the right
        case win::kBelowNormalPriorityClass:
        case win::kAboveNormalPriorityClass:
            return true;
        default:
            return false;
    }
}

std::uint32_t CheckRequest(const ExecRequest& request) {
    if (!IsTerminated(request.File) || !IsTerminated(request.Params) ||
        !IsTerminated(request.WorkDir)) {
        return kErrorInvalidParameter;
    }
    if (const std::uint32_t error = CheckRequestNumbers(request.ShowCmd, request.PriorityClass,
                                                        request.UserType, request.ShellStart)) {
        return error;
    }
    if (request.File[0] == '\0') return kErrorFileNotFound;
    return 0;
}

std::uint32_t CheckRequestNumbers(std::int32_t showCmd, std::int32_t priorityClass,
                                  std::int32_t userType, std::int32_t shellStart) {
    if (showCmd < 0 || showCmd > kMaxShowCommand) return kErrorInvalidParameter;
    if (priorityClass != 0 && !IsKnownPriorityClass(priorityClass)) return kErrorInvalidParameter;
    if (userType < 0 || userType > 2) return kErrorInvalidParameter;
    if (shellStart != 0 && shellStart != 1) return kErrorInvalidParameter;
    return 0;
}

StartPlan PlanStart(std::int32_t userType, std::int32_t shellStart, int elevationType,
                    unsigned versionCode) {
    const bool shell = shellStart == 1;
    switch (userType) {
        case 1: {
            // With a split token "runas" elevates. Without one there is nothing
            // to elevate to, so the user picks another account: Windows 7 and
            // later offer "runasuser" for that; before, "runas" itself showed
            // the Run As dialog.
            const bool elevate = elevationType == kElevationLimited || versionCode < kWindows7;
            return {elevate ? Mechanism::ShellRunAs : Mechanism::ShellRunAsUser, shell};
        }
        case 2:
            return {Mechanism::RestrictedToken, shell};
        default:
            return {shell ? Mechanism::ShellOpen : Mechanism::CreateProcess, false};
    }
}

std::optional<int> LinkShowCommand(std::span<const unsigned char> header) {
    if (header.size() < kLinkHeaderSize) return std::nullopt;
    if (ReadLe32(header, 0) != kLinkHeaderSize) return std::nullopt;
    if (!std::equal(kLinkClsid.begin(), kLinkClsid.end(), header.begin() + kLinkClsidOffset)) {
        return std::nullopt;
    }
    const std::uint32_t show = ReadLe32(header, kLinkShowOffset);
    // The link format allows only these three; readers treat the rest as normal.
    if (show == kShowMaximized || show == kShowMinNoActive) return static_cast<int>(show);
    return kShowNormal;
}

int ShortcutShowCommand(int requested, std::optional<int> linkShow) {
    return (requested == kShowNormal && linkShow) ? *linkShow : requested;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool IsFullPath(std::string_view path) {
    const auto isSlash = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3 && path[1] == ':' && isSlash(path[2])) {
        const char drive = LowerAscii(path[0]);
        return drive >= 'a' && drive <= 'z';
    }
    return path.size() >= 3 && isSlash(path[0]) && isSlash(path[1]);
}

std::wstring ProcessCommandLine(std::wstring_view file, std::wstring_view params) {
    std::wstring line = L"\"";
    line.append(file);
    line += L'"';
    if (!params.empty()) {
        line += L' ';
        line.append(params);
    }
    return line;
}

std::string StartsInProgress::Key(std::string_view file) {
    std::string key(file);
    for (char& c : key) c = (c == '/') ? '\\' : LowerAscii(c);
    return key;
}

bool StartsInProgress::TryBegin(std::string_view file) {
    std::lock_guard<std::mutex> lock(mutex_);
    return files_.insert(Key(file)).second;
}

void StartsInProgress::End(std::string_view file) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_.erase(Key(file));
}

bool StartsInProgress::Contains(std::string_view file) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return files_.count(Key(file)) > 0;
}

}  // namespace zorv
