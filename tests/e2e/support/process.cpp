// Files, started processes and private program folders.
#include "support/harness.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace zorv::e2e {

namespace {

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += (c < 128) ? static_cast<char>(c) : '?';
    return s;
}

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
    DWORD n = GetEnvironmentVariableW(name, buf, static_cast<DWORD>(std::size(buf)));
    return (n > 0 && n < std::size(buf)) ? std::wstring(buf, n) : std::wstring();
}

fs::path ExeFolder() {
    wchar_t buf[32768];
    DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    return fs::path(std::wstring(buf, n)).parent_path();
}

fs::path DistFolder() {
    std::wstring dist = EnvVar(L"ZORV_DIST");
    if (!dist.empty()) return fs::path(dist);
    return ExeFolder().parent_path() / L"dist";
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

}  // namespace zorv::e2e
