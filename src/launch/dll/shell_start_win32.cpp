// Shell starts and the worker thread. ShellExecuteEx may block for a long
// time (an elevation prompt, a DDE conversation, a network path), so it runs
// in the worker and the caller never waits for it.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <array>
#include <cwchar>

#include "launch/dll/starter_win32.h"

namespace zorv::dll {

namespace {

// Long enough for a program to show its first window, short enough that a
// hung program does not block its next start for long.
constexpr DWORD kIdleWaitMs = 1500;

const wchar_t* Verb(Mechanism how) {
    switch (how) {
        case Mechanism::ShellRunAs:
            return L"runas";
        case Mechanism::ShellRunAsUser:
            return L"runasuser";
        default:
            return nullptr;  // the default verb of the file's type
    }
}

void Report(const wchar_t* what, const std::wstring& file, DWORD error) {
    const std::wstring text = std::wstring(L"Zorv.dll: ") + what + L" failed with error " +
                              std::to_wstring(error) + L" for " + file + L"\n";
    OutputDebugStringW(text.c_str());
}

// The shell's failures happen after the caller got its answer: they go back
// to a caller that asked for them (which then shows its own message, so the
// shell shows none), otherwise to the debugger output (and the shell shows
// its own message for most).
void RunShellStart(StartJob& job) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const bool reported = job.reportId != 0 && HasReportWindow();
    SHELLEXECUTEINFOW sei{};
    sei.cbSize = sizeof sei;
    sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | (reported ? SEE_MASK_FLAG_NO_UI : 0);
    sei.lpVerb = Verb(job.how);
    sei.lpFile = job.file.c_str();
    sei.lpParameters = job.params.empty() ? nullptr : job.params.c_str();
    sei.lpDirectory = job.workDir.empty() ? nullptr : job.workDir.c_str();
    sei.nShow = job.show;
    if (ShellExecuteExW(&sei)) {
        job.process = sei.hProcess;  // none when the shell handed the file to a running program
        ApplyPriority(job.process, job.priorityClass);
    } else {
        const DWORD error = GetLastError();
        Report(L"ShellExecuteEx", job.file, error);
        ReportLateFailure(job, error);
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

DWORD WINAPI Worker(void* param) {
    HMODULE pin = nullptr;
    {
        std::unique_ptr<StartJob> job(static_cast<StartJob*>(param));
        pin = job->pin;
        if (IsShellMechanism(job->how)) {
            RunShellStart(*job);
            ShellStartHanded();
        }
        if (job->process) {
            WaitForInputIdle(job->process, kIdleWaitMs);
            CloseHandle(job->process);
        }
        InProgress().End(job->key);
    }
    // The caller may unload the library at any time; the worker holds its
    // own reference and lets go of it only as its very last act.
    FreeLibraryAndExitThread(pin, 0);
}

std::wstring WithParams(std::wstring head, const std::wstring& params) {
    if (!params.empty()) head += L' ' + params;
    return head;
}

struct Shortcut {
    DWORD error = 0;
    std::wstring target, args, folder;
    DWORD flags = 0;  // SLDF_*
};

Shortcut ReadShortcut(const std::wstring& file) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    IPersistFile* persist = nullptr;
    IShellLinkDataList* data = nullptr;
    std::array<wchar_t, MAX_PATH> target{};
    std::array<wchar_t, INFOTIPSIZE> args{};
    std::array<wchar_t, MAX_PATH> folder{};
    Shortcut s;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr)) {
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    }
    if (SUCCEEDED(hr)) hr = persist->Load(file.c_str(), STGM_READ);
    if (SUCCEEDED(hr)) hr = link->GetPath(target.data(), MAX_PATH, nullptr, 0);
    if (SUCCEEDED(hr)) hr = link->GetArguments(args.data(), INFOTIPSIZE);
    if (SUCCEEDED(hr)) hr = link->GetWorkingDirectory(folder.data(), MAX_PATH);
    if (SUCCEEDED(hr) &&
        SUCCEEDED(link->QueryInterface(IID_IShellLinkDataList, reinterpret_cast<void**>(&data)))) {
        data->GetFlags(&s.flags);
        data->Release();
    }
    if (persist) persist->Release();
    if (link) link->Release();
    if (SUCCEEDED(com)) CoUninitialize();
    if (FAILED(hr)) {
        s.error = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : ERROR_BAD_FORMAT;
    } else if (target[0] == L'\0' || (s.flags & SLDF_HAS_DARWINID)) {
        // A shell object (a control panel, a printer) or an installer's
        // advertised entry: only the shell knows how to start it.
        s.error = ERROR_NOT_SUPPORTED;
    }
    s.target = target.data();
    s.args = args.data();
    s.folder = folder.data();
    return s;
}

void TakeShortcutTarget(StartJob& job, const Shortcut& link) {
    job.file = link.target;
    job.params = WithParams(link.args, job.params);
    if (job.workDir.empty()) job.workDir = link.folder;
}

}  // namespace

bool IsLinkFile(const std::wstring& file) {
    return file.size() >= 4 && _wcsicmp(file.c_str() + file.size() - 4, L".lnk") == 0;
}

bool IsShellMechanism(Mechanism how) {
    return how == Mechanism::ShellOpen || how == Mechanism::ShellRunAs ||
           how == Mechanism::ShellRunAsUser;
}

std::optional<int> ReadLinkShowCommand(const std::wstring& file) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::array<unsigned char, kLinkHeaderSize> header{};
    DWORD got = 0;
    const BOOL read = ReadFile(h, header.data(), static_cast<DWORD>(header.size()), &got, nullptr);
    CloseHandle(h);
    if (!read) return std::nullopt;
    return LinkShowCommand(std::span<const unsigned char>(header.data(), got));
}

// Wine's shell starts a shortcut always in a normal window, whatever the link
// or the caller says. So a shortcut that is to show otherwise is opened
// through its target, with its arguments and working folder; one marked to
// run as administrator stays with the shell, which knows how to elevate.
void ApplyShortcutShow(StartJob& job) {
    job.show = ShortcutShowCommand(job.show, ReadLinkShowCommand(job.file));
    if (job.show == SW_SHOWNORMAL) return;
    const Shortcut link = ReadShortcut(job.file);
    if (link.error == 0 && !(link.flags & SLDF_RUNAS_USER)) TakeShortcutTarget(job, link);
}

DWORD ResolveAssociation(StartJob& job) {
    if (IsLinkFile(job.file)) {
        job.show = ShortcutShowCommand(job.show, ReadLinkShowCommand(job.file));
        const Shortcut link = ReadShortcut(job.file);
        if (link.error == 0) TakeShortcutTarget(job, link);
        return link.error;
    }
    std::array<wchar_t, MAX_PATH> program{};
    const auto found = reinterpret_cast<INT_PTR>(FindExecutableW(
        job.file.c_str(), job.workDir.empty() ? nullptr : job.workDir.c_str(), program.data()));
    if (found <= 32) {
        if (found == SE_ERR_FNF) return ERROR_FILE_NOT_FOUND;
        if (found == SE_ERR_PNF) return ERROR_PATH_NOT_FOUND;
        return kErrorNoAssociation;
    }
    // A program given with ShellStart is its own opener.
    if (_wcsicmp(program.data(), job.file.c_str()) != 0) {
        job.params = WithParams(L"\"" + job.file + L"\"", job.params);
        job.file = program.data();
    }
    return 0;
}

DWORD FinishInWorker(std::unique_ptr<StartJob> job) {
    DWORD error = 0;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&Worker), &job->pin)) {
        error = GetLastError();
    } else if (HANDLE thread = CreateThread(nullptr, 0, Worker, job.get(), 0, nullptr)) {
        job.release();
        CloseHandle(thread);
        return 0;
    } else {
        error = GetLastError();
        FreeLibrary(job->pin);
    }
    if (job->process) CloseHandle(job->process);
    InProgress().End(job->key);
    return error;
}

}  // namespace zorv::dll
