// Helpers for driving ZorvPanel.exe from the outside: bounded waits, windows
// of other processes, message boxes, the screen and the mouse, files,
// processes, private program folders and the probe's records. Plain Win32,
// no test framework, so the benchmarks can use them too.
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

// Polls `done` until it holds or `timeout` has passed; answers whether it held.
bool WaitFor(const std::function<bool()>& done, Ms timeout, Ms interval = Ms(20));
// Milliseconds of a monotonic clock with sub-millisecond resolution.
double NowMs();

// ---- Windows of any process ----------------------------------------------

inline constexpr wchar_t kBarClass[] = L"ZorvBar";
inline constexpr wchar_t kBarTitle[] = L"Zorv";

HWND FindBar();
// The top-level windows of this class and title, hidden ones included.
std::vector<HWND> FindTopLevelWindows(std::wstring_view cls, std::wstring_view title);
// The bar window of process `pid`, shown or not.
HWND FindBarOf(DWORD pid);
DWORD WindowProcessId(HWND hwnd);
RECT WindowRect(HWND hwnd);
std::wstring WindowText(HWND hwnd);
std::wstring WindowClass(HWND hwnd);
// Visible and at least partly on the screen: the bar exists out of sight
// (above the top edge) before it is shown.
bool IsShownOnScreen(HWND hwnd);
std::string Describe(const RECT& r);
std::string Narrow(const std::wstring& w);  // non-ASCII as '?'

// The visible dialog (class "#32770") of process `pid` with this title.
HWND FindMessageBox(DWORD pid, std::wstring_view title);
// The texts of the box's static controls, joined by '\n'.
std::wstring MessageBoxText(HWND box);
// Whether the box's icon shows mostly red (the stop icon) or amber (the
// warning triangle: yellow on Windows, orange on Wine) pixels on screen.
enum class IconColour { Red, Amber };
bool ShowsIcon(HWND box, IconColour colour);
bool PressOk(HWND box);

// ---- Screen and mouse ------------------------------------------------------

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Px;

    Pixels() = default;
    Pixels(int w, int h, std::uint32_t fill = 0) : Width(w), Height(h), Px(size_t(w) * h, fill) {}
    std::uint32_t At(int x, int y) const { return Px[size_t(y) * Width + x]; }
    void Set(int x, int y, std::uint32_t c) { Px[size_t(y) * Width + x] = c; }
};
inline std::uint32_t RgbOf(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
// What the screen shows in `r` now (GetDC(NULL) gives the real pixels, also
// under Wine).
Pixels GrabScreen(const RECT& r);
std::optional<Pixels> ReadBmpFile(const fs::path& path);
bool WriteBmpFile(const fs::path& path, const Pixels& p);  // 24 bits
// A bitmap resource of `module`, loaded as data (none of its code runs).
std::optional<Pixels> LoadBitmapResource(const fs::path& module, const wchar_t* name);

// Moves the cursor as the mouse would and waits (100 ms) until it is there.
bool MoveMouseTo(int x, int y);
// Moves until the cursor has stayed at (x, y) for 150 ms: under Wine a
// program whose window moved under the pointer while it was busy handles
// the X motion events of that time late, and they can put the cursor back.
bool MoveMouseAndStay(int x, int y);
// Presses and releases a button (MOUSEEVENTF_LEFTDOWN, ...) where the cursor is.
bool ClickHere(DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD holdMs = 30);
bool ClickAt(int x, int y, DWORD downFlag = MOUSEEVENTF_LEFTDOWN);
// The window's LWA_ALPHA value; nothing when it is not layered with alpha.
std::optional<int> LayeredAlpha(HWND window);

// ---- Files and processes ---------------------------------------------------

// The whole file, read while another process may still be writing it.
std::optional<std::string> ReadWholeFile(const fs::path& path);
void WriteWholeFile(const fs::path& path, std::string_view bytes);  // throws
// The names of the entries of `folder`, sorted; empty when it cannot be read.
std::vector<std::wstring> FolderEntries(const fs::path& folder);
fs::path ExeFolder();
// The folder holding ZorvPanel.exe: %ZORV_DIST% or <exe folder>\..\dist.
fs::path DistFolder();
std::wstring EnvVar(const wchar_t* name);

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

// ---- The probe (tests/e2e/probe) -------------------------------------------

// How one probe was started, as it wrote it down.
struct ProbeRecord {
    DWORD Pid = 0;
    std::string CmdLine, Cwd;
    int ShowCmd = -2;  // -1: no show command was given
    unsigned Priority = 0;
    std::vector<std::string> Args;
};

// The probes started while it lives: it copies zorv_probe.exe to `exe`, has
// every probe write its record into `folder` (through %ZORV_PROBE_DIR%,
// which started programs inherit) and ends them all when it goes.
class Probes {
  public:
    Probes(const fs::path& exe, const fs::path& folder);
    ~Probes();
    Probes(const Probes&) = delete;
    Probes& operator=(const Probes&) = delete;

    const fs::path& Exe() const { return exe_; }
    // The first record not taken before (the one of `pid`, if not 0), or
    // nothing after `timeout`.
    std::optional<ProbeRecord> Next(DWORD pid = 0, Ms timeout = Ms(15000));
    // The visible probe window of `pid`, or null after 10 s.
    static HWND WindowOf(DWORD pid);

  private:
    std::vector<ProbeRecord> Records() const;
    fs::path exe_, folder_;
    std::vector<DWORD> taken_;
};

// Windows paths compared as Windows does: without case, and without a
// trailing backslash (except at a drive's root).
bool SamePath(std::string a, std::string b);

}  // namespace zorv::e2e
