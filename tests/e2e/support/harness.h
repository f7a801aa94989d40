// Helpers for driving ZorvPanel.exe from the outside: bounded waits, windows
// of other processes, message boxes, files, processes and private program
// folders. Plain Win32, no test framework, so the start-up benchmark can use
// them too.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::e2e {

namespace fs = std::filesystem;
using Ms = std::chrono::milliseconds;

// ---- Waiting -------------------------------------------------------------

// Polls `done` until it holds or `timeout` has passed; answers whether it held.
bool WaitFor(const std::function<bool()>& done, Ms timeout, Ms interval = Ms(20));

// Milliseconds of a monotonic clock with sub-millisecond resolution.
double NowMs();

// ---- Windows of any process ----------------------------------------------

inline constexpr wchar_t kBarClass[] = L"ZorvBar";
inline constexpr wchar_t kBarTitle[] = L"Zorv";

HWND FindBar();
// Every top-level window with this class and title, hidden ones included.
std::vector<HWND> FindTopLevelWindows(std::wstring_view cls, std::wstring_view title);
// The bar window that belongs to process `pid`, shown or not.
HWND FindBarOf(DWORD pid);

DWORD WindowProcessId(HWND hwnd);
RECT WindowRect(HWND hwnd);
DWORD WindowStyle(HWND hwnd);
DWORD WindowExStyle(HWND hwnd);
std::wstring WindowText(HWND hwnd);
std::wstring WindowClass(HWND hwnd);
// Visible and at least partly inside the screen: the bar exists out of sight
// (above the top edge) before it is shown.
bool IsShownOnScreen(HWND hwnd);
std::wstring Describe(const RECT& r);

// ---- Message boxes ---------------------------------------------------------

// The visible dialog (class "#32770") of process `pid` with this title.
HWND FindMessageBox(DWORD pid, std::wstring_view title);
// The texts of the box's static controls that carry text, joined by '\n'.
std::wstring MessageBoxText(HWND box);
// Whether the box's icon shows mostly red pixels on screen: the critical
// (stop) icon is red, the warning icon yellow, information and question blue.
bool ShowsCriticalIcon(HWND box);
// Whether the icon shows mostly yellow or orange pixels: the exclamation
// (warning) icon.
bool ShowsExclamationIcon(HWND box);
// Clicks the box's OK button; false when there is none.
bool PressOk(HWND box);

// ---- Files -----------------------------------------------------------------

// The whole file, read while another process may still be writing it.
std::optional<std::string> ReadWholeFile(const fs::path& path);
void WriteWholeFile(const fs::path& path, std::string_view bytes);  // throws
// The names of the entries of `folder`, sorted; empty when it cannot be read.
std::vector<std::wstring> FolderEntries(const fs::path& folder);
fs::path ExeFolder();
// The folder holding ZorvPanel.exe: %ZORV_DIST% or <exe folder>\..\dist.
fs::path DistFolder();
std::wstring EnvVar(const wchar_t* name);

// ---- Processes -------------------------------------------------------------

// A started process; the destructor terminates it if it still runs.
class Process {
  public:
    // Runs "<exe>" <args> in `cwd`; throws std::runtime_error on failure.
    Process(const fs::path& exe, std::wstring_view args, const fs::path& cwd);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_; }
    double StartMs() const { return startMs_; }  // NowMs() right before CreateProcess
    bool IsRunning() const;
    // The exit code, or nothing when the process still runs after `timeout`.
    std::optional<DWORD> WaitExit(Ms timeout) const;
    void Terminate();

  private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
    double startMs_ = 0;
};

// A private copy of the program in a fresh folder under %TEMP%, so that its
// INI, log and created files belong to one test. Layout:
//   <root>\Zorv Panel\  ZorvPanel.exe, Zorv.dll, Icons\   (the program folder)
//   <root>\cwd\         working folder of started processes
// The space in the program folder's name is deliberate: installed copies
// live under "Program Files". The destructor deletes the root.
class ProgramFolder {
  public:
    explicit ProgramFolder(const fs::path& dist);  // throws std::runtime_error
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const fs::path& Root() const { return root_; }
    const fs::path& Path() const { return path_; }
    const fs::path& Cwd() const { return cwd_; }
    fs::path Exe() const { return path_ / L"ZorvPanel.exe"; }
    // The INI the program picks by default: base name + ".ini".
    fs::path IniFile() const { return path_ / L"ZorvPanel.ini"; }
    void WriteIni(std::string_view text) const { WriteWholeFile(IniFile(), text); }

  private:
    fs::path root_, path_, cwd_;
};

}  // namespace zorv::e2e
