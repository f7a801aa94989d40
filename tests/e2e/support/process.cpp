// Files, started processes, private program folders and the probe's records.
#include <algorithm>
#include <atomic>
#include <stdexcept>

#include "support/harness.h"

namespace zorv::e2e {

namespace {

[[noreturn]] void Fail(const std::string& what, DWORD error = GetLastError()) {
    throw std::runtime_error(what + " (error " + std::to_string(error) + ")");
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(h);
    return bytes;
}

void WriteWholeFile(const fs::path& path, std::string_view bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail("cannot create " + Narrow(path.wstring()));
    DWORD put = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
                    put == bytes.size();
    const DWORD error = GetLastError();
    CloseHandle(h);
    if (!ok) Fail("cannot write " + Narrow(path.wstring()), error);
}

std::vector<std::wstring> FolderEntries(const fs::path& folder) {
    std::vector<std::wstring> names;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        names.push_back(e.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring EnvVar(const wchar_t* name) {
    wchar_t buf[32768];
    const DWORD n = GetEnvironmentVariableW(name, buf, static_cast<DWORD>(std::size(buf)));
    return (n > 0 && n < std::size(buf)) ? std::wstring(buf, n) : std::wstring();
}

fs::path ExeFolder() {
    wchar_t buf[32768];
    const DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    return fs::path(std::wstring(buf, n)).parent_path();
}

fs::path DistFolder() {
    const std::wstring dist = EnvVar(L"ZORV_DIST");
    return dist.empty() ? ExeFolder().parent_path() / L"dist" : fs::path(dist);
}

Process::Process(const fs::path& exe, std::wstring_view args, const fs::path& cwd) {
    std::wstring cmd = L"\"" + exe.wstring() + L"\"";
    if (!args.empty()) cmd += L" " + std::wstring(args);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    startMs_ = NowMs();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(),
                        &si, &pi)) {
        Fail("CreateProcess " + Narrow(cmd));
    }
    CloseHandle(pi.hThread);
    handle_ = pi.hProcess;
    id_ = pi.dwProcessId;
}

Process::~Process() {
    Terminate();
    CloseHandle(handle_);
}

bool Process::IsRunning() const {
    return WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitExit(Ms timeout) const {
    if (WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::Terminate() {
    if (!IsRunning()) return;
    TerminateProcess(handle_, 1);
    WaitForSingleObject(handle_, 5000);
}

ProgramFolder::ProgramFolder(const fs::path& dist) {
    static std::atomic<unsigned> serial{0};
    wchar_t temp[MAX_PATH + 1];
    if (!GetTempPathW(static_cast<DWORD>(std::size(temp)), temp)) Fail("GetTempPath");
    root_ = fs::path(temp) / (L"zorv-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++serial));
    path_ = root_ / L"Zorv Panel";
    cwd_ = root_ / L"cwd";
    std::error_code ec;
    fs::remove_all(root_, ec);
    fs::create_directories(path_);
    fs::create_directories(cwd_);
    for (const wchar_t* name : {L"ZorvPanel.exe", L"Zorv.dll"}) {
        if (!fs::exists(dist / name)) {
            throw std::runtime_error("missing " + Narrow((dist / name).wstring()) +
                                     " (build the win64 preset or set ZORV_DIST)");
        }
        fs::copy_file(dist / name, path_ / name);
    }
    if (fs::is_directory(dist / L"Icons")) {
        fs::copy(dist / L"Icons", path_ / L"Icons", fs::copy_options::recursive);
    } else {
        fs::create_directories(path_ / L"Icons");
    }
}

// A just-terminated process may keep its image file locked for a moment.
ProgramFolder::~ProgramFolder() {
    WaitFor(
        [this] {
            std::error_code ec;
            fs::remove_all(root_, ec);
            return !ec && !fs::exists(root_, ec);
        },
        Ms(5000), Ms(100));
}

// ---- The probe -----------------------------------------------------------------

Probes::Probes(const fs::path& exe, const fs::path& folder) : exe_(exe), folder_(folder) {
    fs::create_directories(exe.parent_path());
    fs::create_directories(folder);
    fs::copy_file(ExeFolder() / L"zorv_probe.exe", exe, fs::copy_options::overwrite_existing);
    SetEnvironmentVariableW(L"ZORV_PROBE_DIR", folder.c_str());
}

Probes::~Probes() {
    for (const ProbeRecord& r : Records()) {
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, r.Pid)) {
            TerminateProcess(h, 0);
            WaitForSingleObject(h, 5000);
            CloseHandle(h);
        }
    }
    SetEnvironmentVariableW(L"ZORV_PROBE_DIR", nullptr);
}

// A record is "probe-<pid>.txt" with lines "key=value"; the probe renames it
// to .txt once it is complete.
std::vector<ProbeRecord> Probes::Records() const {
    std::vector<ProbeRecord> records;
    for (const std::wstring& name : FolderEntries(folder_)) {
        const std::optional<std::string> text =
            name.ends_with(L".txt") ? ReadWholeFile(folder_ / name) : std::nullopt;
        if (!text) continue;
        ProbeRecord r;
        size_t start = 0;
        while (start < text->size()) {
            size_t end = std::min(text->find("\r\n", start), text->size());
            const std::string line = text->substr(start, end - start);
            start = end + 2;
            const size_t eq = line.find('=');
            const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
            if (key == "pid") r.Pid = std::stoul(value);
            if (key == "cmdline") r.CmdLine = value;
            if (key == "cwd") r.Cwd = value;
            if (key == "showcmd") r.ShowCmd = std::stoi(value);
            if (key == "priority") r.Priority = std::stoul(value, nullptr, 16);
            if (key == "arg") r.Args.push_back(value);
        }
        records.push_back(r);
    }
    return records;
}

std::optional<ProbeRecord> Probes::Next(DWORD pid, Ms timeout) {
    std::optional<ProbeRecord> found;
    WaitFor(
        [&] {
            for (const ProbeRecord& r : Records()) {
                if (std::count(taken_.begin(), taken_.end(), r.Pid) || (pid && r.Pid != pid))
                    continue;
                taken_.push_back(r.Pid);
                found = r;
                return true;
            }
            return false;
        },
        timeout, Ms(50));
    return found;
}

HWND Probes::WindowOf(DWORD pid) {
    struct Search {
        DWORD pid;
        HWND found;
    } s{pid, nullptr};
    WaitFor(
        [&] {
            EnumWindows(
                [](HWND w, LPARAM p) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(p);
                    if (WindowProcessId(w) != s->pid || !IsWindowVisible(w) ||
                        WindowClass(w) != L"ZorvProbe")
                        return TRUE;
                    s->found = w;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&s));
            return s.found != nullptr;
        },
        Ms(10000));
    return s.found;
}

bool SamePath(std::string a, std::string b) {
    for (std::string* s : {&a, &b}) {
        while (s->size() > 3 && s->back() == '\\') s->pop_back();
    }
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

}  // namespace zorv::e2e
