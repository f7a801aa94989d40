// Process creation in the caller's thread, so that its error reaches the
// caller; nothing here waits for the new program.
#include <windows.h>
#include <winsafer.h>

#include "launch/dll/starter_win32.h"

namespace zorv::dll {

namespace {

// Safer's token for a normal user: Administrators deny-only, the
// administrator privileges removed. Wine's Safer functions are stubs that
// succeed and hand out a made-up handle, so only a token that answers a
// query counts.
HANDLE SaferNormalUserToken() {
    SAFER_LEVEL_HANDLE level = nullptr;
    if (!SaferCreateLevel(SAFER_SCOPEID_USER, SAFER_LEVELID_NORMALUSER, SAFER_LEVEL_OPEN, &level,
                          nullptr)) {
        return nullptr;
    }
    HANDLE token = nullptr;
    const BOOL computed = SaferComputeTokenFromLevel(level, nullptr, &token, 0, nullptr);
    SaferCloseLevel(level);
    if (!computed || !token) return nullptr;
    TOKEN_TYPE type{};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenType, &type, sizeof type, &size)) return token;
    if (GetLastError() != ERROR_INVALID_HANDLE) CloseHandle(token);
    return nullptr;
}

// The same by hand from the caller's own token: Administrators deny-only and
// every privilege but change-notify removed.
DWORD DenyAdministratorsToken(HANDLE& token) {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(),
                          TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY |
                              TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID,
                          &own)) {
        return GetLastError();
    }
    DWORD sid[SECURITY_MAX_SID_SIZE / sizeof(DWORD)];
    DWORD sidSize = sizeof sid;
    SID_AND_ATTRIBUTES admins{sid, 0};
    DWORD error = 0;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize) ||
        !CreateRestrictedToken(own, DISABLE_MAX_PRIVILEGE, 1, &admins, 0, nullptr, 0, nullptr,
                               &token)) {
        error = GetLastError();
        token = nullptr;
    }
    CloseHandle(own);
    return error;
}

// A restricted program started from an elevated launcher would otherwise keep
// high integrity and could still drive elevated windows. Never raises.
void LowerToMediumIntegrity(HANDLE token) {
    DWORD buffer[(sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE) / sizeof(DWORD) + 1];
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size)) return;
    PSID current = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
    const UCHAR count = *GetSidSubAuthorityCount(current);
    if (count == 0 || *GetSidSubAuthority(current, count - 1) <= SECURITY_MANDATORY_MEDIUM_RID) {
        return;
    }
    DWORD medium[SECURITY_MAX_SID_SIZE / sizeof(DWORD)];
    DWORD mediumSize = sizeof medium;
    if (!CreateWellKnownSid(WinMediumLabelSid, nullptr, medium, &mediumSize)) return;
    TOKEN_MANDATORY_LABEL label{};
    label.Label.Sid = medium;
    label.Label.Attributes = SE_GROUP_INTEGRITY;
    SetTokenInformation(token, TokenIntegrityLevel, &label, sizeof label + GetLengthSid(medium));
}

DWORD RestrictedToken(HANDLE& token) {
    token = SaferNormalUserToken();
    if (!token) {
        if (const DWORD error = DenyAdministratorsToken(token)) return error;
    }
    LowerToMediumIntegrity(token);
    return 0;
}

}  // namespace

void ApplyPriority(HANDLE process, DWORD priorityClass) {
    if (process && priorityClass != 0) SetPriorityClass(process, priorityClass);
}

// Wine ignores the priority flags of CreateProcess; setting the class while
// the process is still suspended works on both, and the program never runs
// a single instruction at the wrong priority.
DWORD StartProcess(StartJob& job, DWORD& processId) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(job.show);
    std::wstring commandLine = ProcessCommandLine(job.file, job.params);
    const wchar_t* folder = job.workDir.empty() ? nullptr : job.workDir.c_str();
    const DWORD flags = CREATE_SUSPENDED | CREATE_DEFAULT_ERROR_MODE;
    PROCESS_INFORMATION pi{};
    BOOL created = FALSE;
    if (job.how == Mechanism::RestrictedToken) {
        HANDLE token = nullptr;
        if (const DWORD error = RestrictedToken(token)) return error;
        created = CreateProcessAsUserW(token, job.file.c_str(), commandLine.data(), nullptr,
                                       nullptr, FALSE, flags, nullptr, folder, &si, &pi);
        const DWORD error = GetLastError();
        CloseHandle(token);
        SetLastError(error);
    } else {
        created = CreateProcessW(job.file.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                 flags, nullptr, folder, &si, &pi);
    }
    if (!created) return GetLastError();
    ApplyPriority(pi.hProcess, job.priorityClass);
    if (ResumeThread(pi.hThread) == static_cast<DWORD>(-1)) {
        const DWORD error = GetLastError();
        TerminateProcess(pi.hProcess, error);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return error;
    }
    CloseHandle(pi.hThread);
    job.process = pi.hProcess;
    processId = pi.dwProcessId;
    return 0;
}

}  // namespace zorv::dll
