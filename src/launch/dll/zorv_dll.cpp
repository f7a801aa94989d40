// Zorv.dll, the companion library that starts processes for the launcher.
// Its one export takes an ExecRequest, answers at once, and never waits for
// the started program; docs/zorv-dll.md describes the whole contract.
#include <windows.h>

#include <atomic>
#include <new>

#include "launch/dll/starter_win32.h"
#include "support/text_win32.h"

namespace zorv::dll {

namespace {

// Upper case through the system (it knows more letters than ASCII), then
// UTF-8 for the portable registry.
std::string FileKey(std::wstring path) {
    CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return Narrow(path);
}

int OwnElevationType() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return 1;
    DWORD type = 1;
    DWORD size = 0;
    // Class 18 (TokenElevationType) does not exist before Windows Vista.
    if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size)) type = 1;
    CloseHandle(token);
    return static_cast<int>(type);
}

// RtlGetVersion tells the truth whatever the host program's manifest says.
unsigned WindowsVersionCode() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    FARPROC proc = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (proc && reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void (*)()>(proc))(&info) == 0) {
        return info.dwMajorVersion * 256 + info.dwMinorVersion;
    }
    const DWORD version = GetVersion();
    return LOBYTE(LOWORD(version)) * 256u + HIBYTE(LOWORD(version));
}

// The full path of an existing file: as given (relative to the current
// folder), inside the working folder, or (for programs) along the search
// path as CreateProcess would find it. Empty when there is none.
std::wstring FindFile(const std::wstring& file, const std::wstring& workDir, bool searchPath) {
    wchar_t full[MAX_PATH * 4];
    const DWORD size = static_cast<DWORD>(std::size(full));
    auto fullPath = [&](const std::wstring& path) -> std::wstring {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
        const DWORD n = GetFullPathNameW(path.c_str(), size, full, nullptr);
        return (n > 0 && n < size) ? std::wstring(full, n) : path;
    };
    std::wstring found = fullPath(file);
    if (found.empty() && !workDir.empty()) {
        found = fullPath(workDir + (workDir.back() == L'\\' ? L"" : L"\\") + file);
    }
    if (found.empty() && searchPath) {
        const DWORD n = SearchPathW(nullptr, file.c_str(), L".exe", size, full, nullptr);
        if (n > 0 && n < size) found.assign(full, n);
    }
    return found;
}

// Where the job's file is and which key it holds while it starts; the key is
// always the requested file, so two documents of one program do not block
// each other.
DWORD Locate(StartJob& job, const StartPlan& plan, const char* requestedFile) {
    const bool program = !plan.resolveAssociation && job.how != Mechanism::ShellOpen;
    std::wstring found = FindFile(job.file, job.workDir, program);
    if (found.empty() && (program || IsFullPath(requestedFile))) return ERROR_FILE_NOT_FOUND;
    if (!found.empty()) job.file = found;
    job.key = FileKey(job.file);
    if (plan.resolveAssociation) {
        if (const DWORD error = ResolveAssociation(job)) return error;
        found = FindFile(job.file, job.workDir, true);
        if (found.empty()) return ERROR_FILE_NOT_FOUND;
        job.file = found;
    } else if (job.how == Mechanism::ShellOpen && IsLinkFile(job.file)) {
        ApplyShortcutShow(job);
    }
    return 0;
}

std::atomic<HWND> g_reportWindow{nullptr};
std::atomic<UINT> g_reportMessage{0};
// Shell starts accepted whose worker has not yet come back from the shell.
std::atomic<std::int32_t> g_shellStartsInHand{0};

// Both forms of the request end here, their texts in UTF-16.
struct RequestView {
    std::wstring File, Params, WorkDir;
    std::int32_t ShowCmd, ReportId, PriorityClass, UserType, ShellStart;
};

DWORD Execute(const RequestView& request, std::int32_t& result) {
    if (const DWORD error = CheckRequestNumbers(request.ShowCmd, request.PriorityClass,
                                                request.UserType, request.ShellStart)) {
        return error;
    }
    if (request.File.empty()) return ERROR_FILE_NOT_FOUND;
    const StartPlan plan = PlanStart(request.UserType, request.ShellStart, OwnElevationType(),
                                     WindowsVersionCode());
    auto job = std::make_unique<StartJob>();
    job->how = plan.how;
    job->file = request.File;
    job->params = request.Params;
    job->workDir = request.WorkDir;
    job->show = request.ShowCmd;
    job->priorityClass = static_cast<DWORD>(request.PriorityClass);
    job->reportId = request.ReportId;
    if (const DWORD error = Locate(*job, plan, Narrow(request.File).c_str())) return error;

    if (!InProgress().TryBegin(job->key)) return kErrorAlreadyStarting;
    if (IsShellMechanism(job->how)) {
        ShellStartTaken();
        const DWORD error = FinishInWorker(std::move(job));
        if (error) ShellStartHanded();
        return error;
    }
    DWORD processId = 0;
    if (const DWORD error = StartProcess(*job, processId)) {
        InProgress().End(job->key);
        return error;
    }
    result = static_cast<std::int32_t>(processId);
    // The process runs; without a worker only the wait for its window is lost.
    FinishInWorker(std::move(job));
    return 0;
}

}  // namespace

StartsInProgress& InProgress() {
    static StartsInProgress starts;
    return starts;
}

void ShellStartTaken() {
    ++g_shellStartsInHand;
}

void ShellStartHanded() {
    --g_shellStartsInHand;
}

bool HasReportWindow() {
    return g_reportWindow.load() != nullptr;
}

void ReportLateFailure(const StartJob& job, DWORD error) {
    const HWND window = g_reportWindow.load();
    if (job.reportId == 0 || !window) return;
    PostMessageW(window, g_reportMessage.load(), static_cast<WPARAM>(job.reportId),
                 static_cast<LPARAM>(error));
}

}  // namespace zorv::dll

namespace {

// Both forms of the request answer alike: Result cleared, the error of
// `start` (0: started) in ErrorCode, 1 for success; running out of memory or
// anything else thrown is an error, never an exception across the boundary.
template <class Request, class Start>
std::int32_t Answer(Request& request, Start start) {
    request.Result = 0;
    DWORD error = 0;
    try {
        error = start();
    } catch (const std::bad_alloc&) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    } catch (...) {
        error = ERROR_INTERNAL_ERROR;
    }
    request.ErrorCode = static_cast<std::int32_t>(error);
    return error == 0 ? 1 : 0;
}

}  // namespace

// Non-zero when the start was accepted. ErrorCode receives 0 or the Windows
// error (99999 while the same file is still being started); Result receives
// the process id of a process start, 0 for a start through the shell.
extern "C" __declspec(dllexport) std::int32_t
    __stdcall ExecuteProcessAsync(zorv::ExecRequest* request) {
    if (!request) return 0;
    return Answer(*request, [&] {
        const DWORD error = zorv::CheckRequest(*request);
        if (error) return error;
        const zorv::dll::RequestView view{
            zorv::CodePageToWide(request->File), zorv::CodePageToWide(request->Params),
            zorv::CodePageToWide(request->WorkDir), request->ShowCmd, request->ReportId,
            request->PriorityClass, request->UserType, request->ShellStart};
        return zorv::dll::Execute(view, request->Result);
    });
}

namespace {

// A text of the Unicode request: null is empty; longer than the limit (no
// NUL within it) is refused.
bool TakeText(const wchar_t* text, std::wstring& out) {
    if (!text) return out.clear(), true;
    const std::size_t n = wcsnlen(text, zorv::kExecTextCharsW + 1);
    if (n > zorv::kExecTextCharsW) return false;
    out.assign(text, n);
    return true;
}

}  // namespace

// The Unicode form of ExecuteProcessAsync: the same checks and answers, for
// texts the ANSI fields cannot carry.
extern "C" __declspec(dllexport) std::int32_t
    __stdcall ExecuteProcessAsyncW(zorv::ExecRequestW* request) {
    if (!request || request->Size < sizeof(zorv::ExecRequestW)) return 0;
    return Answer(*request, [&]() -> DWORD {
        zorv::dll::RequestView view{{}, {}, {}, request->ShowCmd, request->ReportId,
                                    request->PriorityClass, request->UserType, request->ShellStart};
        if (!TakeText(request->File, view.File) || !TakeText(request->Params, view.Params) ||
            !TakeText(request->WorkDir, view.WorkDir)) {
            return zorv::kErrorInvalidParameter;
        }
        return zorv::dll::Execute(view, request->Result);
    });
}

// Names the window that failures found after the answer are posted to
// (wParam: the request's ReportId, lParam: the Windows error); null stops it.
extern "C" __declspec(dllexport) void __stdcall SetStartReportWindow(HWND window, UINT message) {
    zorv::dll::g_reportMessage.store(message);
    zorv::dll::g_reportWindow.store(window);
}

// Waits until every accepted shell start has been handed to the shell, at
// most `timeoutMs`; answers how many are still in hand. A caller about to end
// its process calls it, since ending the process ends the workers too.
extern "C" __declspec(dllexport) std::int32_t __stdcall WaitForShellStarts(std::uint32_t timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (zorv::dll::g_shellStartsInHand.load() > 0 && GetTickCount64() < end) Sleep(10);
    return zorv::dll::g_shellStartsInHand.load();
}

// Thread notifications stay on: the static C++ runtime frees its per-thread
// data through them.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
