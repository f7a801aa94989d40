// The start request the launcher hands to Zorv.dll's ExecuteProcessAsync:
// 808 bytes, little-endian, zero-filled before use. Shared by both sides, so
// the layout is pinned here once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zorv {

inline constexpr std::size_t kExecTextBytes = 260;  // each text field, NUL included

// ErrorCode while the same file is still being started.
inline constexpr std::int32_t kErrorAlreadyStarting = 99999;

struct ExecRequest {
    char File[kExecTextBytes];     // program or document, ANSI, NUL-terminated
    char Params[kExecTextBytes];   // argument text
    char WorkDir[kExecTextBytes];  // working folder
    std::int32_t ShowCmd;          // Windows show command
    std::int32_t ReportId;         // non-zero: a later failure is posted back (below)
    std::int32_t PriorityClass;    // e.g. 0x20 normal
    std::int32_t ErrorCode;        // written by the starter on failure
    std::int32_t Result;           // the starter's own, 0 on entry
    std::int32_t UserType;         // 0 normal, 1 administrator/other user, 2 restricted
    std::int32_t ShellStart;       // 1: through the shell's association
};

static_assert(sizeof(ExecRequest) == 808);
static_assert(offsetof(ExecRequest, Params) == 260);
static_assert(offsetof(ExecRequest, WorkDir) == 520);
static_assert(offsetof(ExecRequest, ShowCmd) == 780);
static_assert(offsetof(ExecRequest, ReportId) == 784);
static_assert(offsetof(ExecRequest, PriorityClass) == 788);
static_assert(offsetof(ExecRequest, ErrorCode) == 792);
static_assert(offsetof(ExecRequest, Result) == 796);
static_assert(offsetof(ExecRequest, UserType) == 800);
static_assert(offsetof(ExecRequest, ShellStart) == 804);

// The export `ExecuteProcessAsync(ExecRequest*)` (stdcall, undecorated name)
// answers non-zero when the start was accepted; the process need not have
// started yet.
//
// A start that finishes in the library's worker (through the shell) can
// still fail after that answer. The export `SetStartReportWindow(HWND, UINT)`
// names a window and message; such a failure of a request with a non-zero
// ReportId is then posted there with wParam = ReportId, lParam = the
// Windows error. A library without that export reports nothing.

// The Unicode form of the request, for texts the ANSI fields cannot carry
// (characters outside the code page, paths up to the system's long-path
// limit): export `ExecuteProcessAsyncW(ExecRequestW*)`, same answers. The
// texts are the caller's NUL-terminated UTF-16 strings of at most
// kExecTextCharsW characters each; the library copies them before it answers.
inline constexpr std::size_t kExecTextCharsW = 32767;

struct ExecRequestW {
    std::uint32_t Size;        // sizeof(ExecRequestW): later forms may grow
    std::int32_t ShowCmd;
    std::int32_t ReportId;
    std::int32_t PriorityClass;
    std::int32_t ErrorCode;    // written
    std::int32_t Result;       // written
    std::int32_t UserType;
    std::int32_t ShellStart;
    const wchar_t* File;
    const wchar_t* Params;     // may be null: none
    const wchar_t* WorkDir;    // may be null: none
};

// A cancelled elevation or credentials prompt (ERROR_CANCELLED).
inline constexpr std::int32_t kErrorCancelled = 1223;

}  // namespace zorv
