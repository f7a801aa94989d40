// The decisions of Zorv.dll that need no system: which start requests are
// acceptable, which mechanism starts them, which show command a shortcut
// gets, and which files are still being started. Built into the core (for
// the unit tests) and into Zorv.dll itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>

#include "launch/exec_request.h"

namespace zorv {

// Windows error codes the starter reports itself (winerror.h values).
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorNoAssociation = 1155;

// 0 when the request may be started, else the error code to report: an
// unterminated text, a show command outside 0..11, an unknown priority class,
// a user type or shell flag outside its values give kErrorInvalidParameter;
// an empty File gives kErrorFileNotFound. PriorityClass 0 means "unchanged".
std::uint32_t CheckRequest(const ExecRequest& request);
// The same checks of the numbers alone (both forms of the request).
std::uint32_t CheckRequestNumbers(std::int32_t showCmd, std::int32_t priorityClass,
                                  std::int32_t userType, std::int32_t shellStart);

bool IsKnownPriorityClass(std::int32_t priorityClass);

// How a request is carried out.
enum class Mechanism {
    CreateProcess,    // the file as a process
    ShellOpen,        // the shell's default verb on the file
    ShellRunAs,       // verb "runas": elevation prompt (or the old Run As dialog)
    ShellRunAsUser,   // verb "runasuser": the shell asks for another user
    RestrictedToken,  // a process with a normal user's token
};

struct StartPlan {
    Mechanism how = Mechanism::CreateProcess;
    // The run-as mechanisms need a program: a document or shortcut given
    // with ShellStart is first turned into the program that opens it.
    bool resolveAssociation = false;
};

// elevationType is TokenElevationType (1 default, 2 full, 3 limited);
// versionCode is major * 256 + minor of Windows.
StartPlan PlanStart(std::int32_t userType, std::int32_t shellStart, int elevationType,
                    unsigned versionCode);
inline StartPlan PlanStart(const ExecRequest& request, int elevationType, unsigned versionCode) {
    return PlanStart(request.UserType, request.ShellStart, elevationType, versionCode);
}

// The show command stored in a shell link's header (the first 0x4C bytes of
// a .lnk file): SW_SHOWNORMAL (1), SW_SHOWMAXIMIZED (3) or
// SW_SHOWMINNOACTIVE (7); any other stored value counts as 1. Nothing when
// the bytes are no link header (size field and class id checked).
std::optional<int> LinkShowCommand(std::span<const unsigned char> header);
inline constexpr std::size_t kLinkHeaderSize = 0x4C;

// The show command for a shortcut start: the link's own when the request
// asks for a normal window (1), else the request's.
int ShortcutShowCommand(int requested, std::optional<int> linkShow);

bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// "C:\..." or "\\server\...": a path that must exist before the shell is
// asked (URLs, shell names and bare program names are left to the shell).
bool IsFullPath(std::string_view path);

// "\"file\"" followed by a blank and the parameters when there are any.
std::wstring ProcessCommandLine(std::wstring_view file, std::wstring_view params);

// The files whose start has been accepted but not yet finished. Keys compare
// without ASCII case and with '/' equal to '\'; the caller folds other
// letters itself. Thread-safe: the caller begins, a worker thread ends.
class StartsInProgress {
  public:
    // False when the key is already in progress.
    bool TryBegin(std::string_view file);
    void End(std::string_view file);
    bool Contains(std::string_view file) const;

  private:
    static std::string Key(std::string_view file);
    mutable std::mutex mutex_;
    std::unordered_set<std::string> files_;
};

}  // namespace zorv
