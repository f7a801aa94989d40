#include "launch/process_list_win32.h"

#include <tlhelp32.h>

#include <algorithm>
#include <string>

#include "support/late_bound_win32.h"
#include "support/log.h"
#include "support/ascii.h"
#include "support/text_win32.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

std::string Trimmed(std::string s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string NtSourcePath() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    wchar_t value[MAX_PATH] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    const LONG rc = RegQueryValueExW(key, L"SourcePath", nullptr, &type,
                                     reinterpret_cast<BYTE*>(value), &bytes);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    return Narrow(value);
}

// Windows NT 4 shipped PSAPI.DLL only on its CD (support folder); offer to
// copy it from where Windows was installed from into the program's folder,
// where the next load finds it.
void OfferPsapiCopy(const std::string& programFolder) {
    std::string source = NtSourcePath();
    if (!source.empty() && source.back() != '\\') source += '\\';
    source += "..\\SUPPORT\\DEBUG\\I386\\PSAPI.DLL";
    const std::wstring from = Widen(source);
    const std::wstring to = Widen(programFolder + "\\PSAPI.DLL");
    if (CopyFileW(from.c_str(), to.c_str(), FALSE)) return;

    const int answer = MsgBox(
        "PSAPI.DLL not found! Please instert the Windows NT4 Installation CD or an\r\n"
        "original Service Pack CD into the drive you installed Windows NT from!\r\n"
        "Copy the file now?",
        MB_YESNO | MB_ICONEXCLAMATION);
    if (answer != IDYES) {
        MsgBox(
            "Please copy PSAPI.DLL manually to Zorv's folder from the NT4 CD's folder "
            "\\SUPPORT\\DEBUG\\I386\\PSAPI.DLL",
            MB_OK | MB_ICONINFORMATION);
    } else if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) {
        MsgBox("File not found. " + source, MB_OK | MB_ICONEXCLAMATION);
    }
}

// ---- The two roads to the process list --------------------------------------

std::vector<DWORD> ProcessIds(const ProcessLister::PsapiFunctions& psapi) {
    // EnumProcesses does not say how many ids there are: grow the buffer until
    // the answer leaves room.
    std::vector<DWORD> ids(2);
    for (;;) {
        const DWORD size = static_cast<DWORD>(ids.size() * sizeof(DWORD));
        DWORD bytes = 0;
        if (!psapi.EnumProcesses(ids.data(), size, &bytes)) return {};
        if (bytes < size || ids.size() >= (1u << 20)) {
            ids.resize(bytes / sizeof(DWORD));
            return ids;
        }
        ids.resize(ids.size() * 2);
    }
}

// Current Windows names the program of nearly every process to a caller
// with the limited query right, elevated ones included; PSAPI needs more
// rights and is the way on older systems.
std::string ProcessPath(const ProcessLister::PsapiFunctions& psapi, DWORD pid) {
    using QueryImageFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    static const auto queryImage =
        LateBound<QueryImageFn>(L"kernel32.dll", "QueryFullProcessImageNameW");
    constexpr DWORD kQueryLimited = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
    wchar_t name[MAX_PATH * 4] = {};
    if (queryImage) {
        if (HANDLE process = OpenProcess(kQueryLimited, FALSE, pid)) {
            DWORD n = MAX_PATH * 4;
            const BOOL ok = queryImage(process, 0, name, &n);
            CloseHandle(process);
            if (ok && n > 0) return Trimmed(Narrow(std::wstring_view(name, n)));
        }
    }
    if (!psapi.Ok()) return {};
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return {};
    std::string path;
    HMODULE modules[200 / sizeof(HMODULE)] = {};
    DWORD needed = 0;
    if (psapi.EnumProcessModules(process, modules, sizeof modules, &needed) && needed > 0) {
        const DWORD n = psapi.GetModuleFileNameEx(process, modules[0], name, MAX_PATH);
        path = Trimmed(Narrow(std::wstring_view(name, n < MAX_PATH ? n : MAX_PATH - 1)));
    }
    CloseHandle(process);
    return path;
}

// With `pathsOf`, just those processes; otherwise every process whose
// program can be read. No limit: a desktop runs hundreds of processes, and
// a program late in the list must be found as surely as an early one.
std::vector<ProcessEntry> NtProcesses(const ProcessLister::PsapiFunctions& psapi,
                                      const std::vector<std::uint32_t>* pathsOf) {
    std::vector<ProcessEntry> list;
    if (pathsOf) {
        for (std::uint32_t pid : *pathsOf) list.push_back({pid, ProcessPath(psapi, pid)});
        return list;
    }
    if (!psapi.Ok()) return list;
    for (DWORD pid : ProcessIds(psapi)) {
        std::string path = ProcessPath(psapi, pid);
        if (!path.empty()) list.push_back({pid, std::move(path)});
    }
    return list;
}

std::vector<ProcessEntry> ToolhelpProcesses() {
    std::vector<ProcessEntry> list;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
        list.push_back({entry.th32ProcessID, Narrow(entry.szExeFile)});
    }
    CloseHandle(snapshot);
    return list;
}

// The 16-bit tasks of a virtual DOS machine, in enumeration order. Only
// 32-bit Windows has the machine; elsewhere the library is missing.
BOOL WINAPI CollectTask(DWORD, WORD, WORD, PSZ, PSZ fileName, LPARAM tasks) {
    if (fileName)
        reinterpret_cast<std::vector<std::string>*>(tasks)->push_back(CodePageToUtf8(fileName));
    return FALSE;  // go on
}

std::vector<std::string> VdmTasks(ProcessLister::EnumTasksFn enumTasks, DWORD pid) {
    std::vector<std::string> tasks;
    if (enumTasks) enumTasks(pid, CollectTask, reinterpret_cast<LPARAM>(&tasks));
    return tasks;
}

}  // namespace

// Decided once per run; the library stays loaded for the rest of it.
bool ProcessLister::PsapiAvailable() {
    if (psapiTried_) return psapi_.Ok();
    psapiTried_ = true;
    HMODULE lib = LoadLibraryW(L"PSAPI.DLL");
    const WindowsVersionInfo& v = app_.WindowsVersion;
    if (!lib && v.NT && v.Major == 4) {
        OfferPsapiCopy(app_.ProgramFolder);
        lib = LoadLibraryW(L"PSAPI.DLL");
    }
    Log(2, "PSAPI %s", lib ? "available" : "missing");
    if (!lib) return false;
    psapi_.EnumProcesses = ProcOf<PsapiFunctions::EnumProcessesFn>(lib, "EnumProcesses");
    psapi_.EnumProcessModules = ProcOf<PsapiFunctions::EnumModulesFn>(lib, "EnumProcessModules");
    psapi_.GetModuleFileNameEx =
        ProcOf<PsapiFunctions::ModuleFileNameFn>(lib, "GetModuleFileNameExW");
    return psapi_.Ok();
}

std::vector<ProcessEntry> ProcessLister::GetProcessList(const std::vector<std::uint32_t>* pathsOf) {
    std::vector<ProcessEntry> list;
    if (!app_.WindowsVersion.NT) {
        list = ToolhelpProcesses();
    } else {
        PsapiAvailable();
        list = NtProcesses(psapi_, pathsOf);
    }
    if (!vdmTried_) {
        vdmTried_ = true;
        enumTasks_ = ProcOf<EnumTasksFn>(LoadLibraryW(L"VDMDBG.DLL"), "VDMEnumTaskWOWEx");
    }
    for (ProcessEntry& process : list) {
        const std::string_view path = process.Path;
        if (path.size() >= 9 && EqualsNoCase(path.substr(path.size() - 9), "NTVDM.EXE"))
            process.Path = ReplaceNtvdmPath(process.Path, VdmTasks(enumTasks_, process.Pid));
    }
    return list;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    // Bounded: windows closing during the walk could otherwise keep it going.
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w && windows.size() < 65536;
         w = GetWindow(w, GW_HWNDNEXT)) {
        windows.push_back(w);
    }
    return windows;
}

std::vector<WindowEntry> ListAppWindows(bool includeHidden) {
    auto pidOf = [](WindowId window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(ToHwnd(window), &pid);
        return static_cast<std::uint32_t>(pid);
    };
    auto parentOf = [](WindowId window) { return ToWindowId(GetParent(ToHwnd(window))); };
    std::vector<WindowEntry> list;
    for (HWND w : TopLevelWindows()) {
        if (list.size() == kMaxAppWindows) break;
        AppWindowFacts facts;
        facts.Style = static_cast<std::uint32_t>(GetWindowLongW(w, GWL_STYLE));
        facts.ExStyle = static_cast<std::uint32_t>(GetWindowLongW(w, GWL_EXSTYLE));
        facts.ClassName = ClassOf(w);
        if (!IsAppWindow(facts.Style, facts.ExStyle, facts.ClassName)) continue;
        facts.Visible = IsReallyVisible(w);
        const WindowId id = ToWindowId(w);
        facts.OwnRoot = SameProcessRoot(id, parentOf, pidOf) == id;
        if (TakeAppWindow(facts, includeHidden)) list.push_back({id, pidOf(id)});
    }
    return list;
}

}  // namespace zorv
