// Driving ZorvPanel.exe from the outside. Plain Win32, no test framework, so
// the benchmarks can use it too.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zorv::e2e {

namespace fs = std::filesystem;
using Ms = std::chrono::milliseconds;

// Polls `done` every `every` until it holds (true) or `timeout` has passed (false).
inline bool WaitFor(Ms timeout, const std::function<bool()>& done, Ms every = Ms(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (; !done(); Sleep(DWORD(every.count())))
        if (std::chrono::steady_clock::now() >= deadline) return false;
    return true;
}

inline double NowMs() {  // a monotonic clock with sub-millisecond resolution
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

inline std::string Narrow(const std::wstring& w) {  // non-ASCII as '?'
    std::string s;
    for (wchar_t c : w) s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
}

inline DWORD WindowProcessId(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

inline RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

inline std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

// The window's title, or its class name.
inline std::wstring WindowText(HWND w, bool className = false) {
    wchar_t buf[512];
    return {buf, size_t(std::max(0, className ? GetClassNameW(w, buf, 512)
                                              : GetWindowTextW(w, buf, 512)))};
}

// The top-level windows of process `pid` (0: any) with this class (and title).
inline std::vector<HWND> TopLevelWindows(DWORD pid, std::wstring_view cls,
                                         const wchar_t* title = nullptr) {
    std::vector<HWND> all, found;
    EnumWindows([](HWND w, LPARAM all) { return ((std::vector<HWND>*)all)->push_back(w), TRUE; },
                LPARAM(&all));
    for (HWND w : all)
        if ((!pid || WindowProcessId(w) == pid) && WindowText(w, true) == cls &&
            (!title || WindowText(w) == title))
            found.push_back(w);
    return found;
}

// The first of those windows that is `ready` (visible), waited for; null after `timeout`.
inline HWND WaitForWindow(DWORD pid, std::wstring_view cls, const wchar_t* title,
                          Ms timeout = Ms(15000),
                          const std::function<bool(HWND)>& ready = IsWindowVisible) {
    HWND found = nullptr;
    WaitFor(timeout, [&] {
        for (HWND w : TopLevelWindows(pid, cls, title)) found = found ? found : ready(w) ? w : 0;
        return found != nullptr;
    });
    return found;
}

inline constexpr wchar_t kBarClass[] = L"ZorvBar";
inline constexpr wchar_t kBarTitle[] = L"Zorv";

// The bar window of process `pid` (0: any), shown or not.
inline HWND FindBarOf(DWORD pid) {
    const std::vector<HWND> bars = TopLevelWindows(pid, kBarClass, kBarTitle);
    return bars.empty() ? nullptr : bars.front();
}

// The bar waits above the screen's top edge until it is shown.
inline bool IsShownOnScreen(HWND hwnd) {
    return IsWindowVisible(hwnd) && !IsIconic(hwnd) && WindowRect(hwnd).bottom > 0;
}

// Brings `window` to the front for 200 ms at least: under Wine a window shown
// just before may take the foreground back once X reports its focus.
inline bool Activate(HWND window) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        SetForegroundWindow(window);
        if (WaitFor(Ms(3000), [&] { return GetForegroundWindow() == window; }) &&
            !WaitFor(Ms(200), [&] { return GetForegroundWindow() != window; }))
            return true;
    }
    return false;
}

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Px;
    Pixels(int w = 0, int h = 0, std::uint32_t fill = 0) : Width(w), Height(h), Px(size_t(w) * h, fill) {}
    std::uint32_t At(int x, int y) const { return Px[size_t(y) * Width + x]; }
};

inline std::uint32_t RgbOf(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The screen's pixels in `r` (also under Wine), or those of `bmp`, deleted.
inline Pixels GrabScreen(const RECT& r, HBITMAP bmp = nullptr) {
    BITMAP bm{};
    GetObjectW(bmp, sizeof bm, &bm);
    Pixels p(bmp ? bm.bmWidth : std::max(0L, r.right - r.left),
             bmp ? bm.bmHeight : std::max(0L, r.bottom - r.top));
    BITMAPINFO bi{{sizeof bi.bmiHeader, p.Width, -p.Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    HBITMAP dib = bmp ? bmp : CreateCompatibleBitmap(screen, p.Width, p.Height);
    HGDIOBJ old = SelectObject(mem, dib);
    if (!bmp) BitBlt(mem, 0, 0, p.Width, p.Height, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    if (GetDIBits(mem, dib, 0, p.Height, p.Px.data(), &bi, DIB_RGB_COLORS) != p.Height) p = {};
    for (auto& px : p.Px) px &= 0xFFFFFF;
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return p;
}

// A .bmp file, or a bitmap resource of the module `file`; empty if unreadable.
inline Pixels ReadBitmap(const fs::path& file, const wchar_t* resource = nullptr) {
    HMODULE m = resource ? LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE) : 0;
    HANDLE bmp = LoadImageW(m, resource ? resource : file.c_str(), IMAGE_BITMAP, 0, 0,
                            LR_CREATEDIBSECTION | (resource ? 0 : LR_LOADFROMFILE));
    if (m) FreeLibrary(m);
    return bmp ? GrabScreen({}, static_cast<HBITMAP>(bmp)) : Pixels();
}

inline bool CursorAt(int x, int y) {
    POINT p{};
    return GetCursorPos(&p) && p.x == x && p.y == y;
}

// Moves the cursor as the mouse would. Absolute coordinates (0 to 65535)
// rounded up land exactly, to the nearest one pixel off under Wine.
inline bool MoveMouseTo(int x, int y) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{INPUT_MOUSE,
             {{(x * 65536 + cx - 1) / cx, (y * 65536 + cy - 1) / cy, 0,
               MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0}}};
    return SendInput(1, &in, sizeof in) && WaitFor(Ms(100), [&] { return CursorAt(x, y); }, Ms(2));
}

// Moves until the cursor stays there 150 ms: under Wine a program that was
// busy while its window moved under the pointer replays that motion late.
inline bool MoveMouseAndStay(int x, int y) {
    for (int attempt = 0; attempt < 5; ++attempt)
        if (MoveMouseTo(x, y) && !WaitFor(Ms(150), [&] { return !CursorAt(x, y); }, Ms(10)))
            return true;
    return false;
}

// Presses and releases a button (MOUSEEVENTF_LEFTDOWN, ...) where the cursor is.
inline bool ClickHere(DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD holdMs = 30) {
    INPUT in{INPUT_MOUSE, {{0, 0, 0, downFlag, 0, 0}}};
    const bool down = SendInput(1, &in, sizeof in);
    Sleep(holdMs);
    in.mi.dwFlags = downFlag << 1;  // each UP flag is its DOWN flag shifted once
    return down && SendInput(1, &in, sizeof in);
}

// Waits (5 s) until `w` is maximized, normal or minimized, as `show` asks.
// One key pressed and released, to whichever window has the keyboard.
inline void TypeKey(WORD vk) {
    INPUT in[2] = {{INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}};
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// One character typed as itself, whatever the keyboard layout (a Greek letter on a US one).
inline void TypeChar(wchar_t c) {
    INPUT in[2] = {{INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}};
    in[0].ki.wScan = in[1].ki.wScan = c;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

inline bool ShowsAs(HWND w, int show) {
    return WaitFor(Ms(5000), [&] {
        return show == SW_SHOWMAXIMIZED ? IsZoomed(w)
               : show == SW_SHOWNORMAL  ? !IsIconic(w) && !IsZoomed(w)
                                        : IsIconic(w) != FALSE;
    });
}

// The static controls of a message box that show text (`icon` false) or its icon.
inline std::vector<HWND> Statics(HWND box, bool icon) {
    std::vector<HWND> found;
    for (HWND h = GetWindow(box, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (!_wcsicmp(WindowText(h, true).c_str(), L"Static") &&
            ((GetWindowLongPtrW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) == icon)
            found.push_back(h);
    return found;
}

// The box's texts, joined by '\n', read by WM_GETTEXT (GetWindowTextW cannot
// read another process's control), with a time-out against a hung program.
inline std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child : Statics(box, false)) {
        wchar_t buf[512];
        DWORD_PTR n = 0;
        SendMessageTimeoutW(child, WM_GETTEXT, 512, LPARAM(buf), SMTO_ABORTIFHUNG, 2000, &n);
        if (n) text += (text.empty() ? L"" : L"\n") + std::wstring(buf, std::min<size_t>(n, 511));
    }
    return text;
}

// Whether a quarter of the box's icon shows red (stop) or amber (warning,
// yellow on Windows, orange on Wine): another process's HICON cannot be drawn.
enum class IconColour { Red, Amber };
inline bool ShowsIcon(HWND box, IconColour colour) {
    const auto matches = [colour](std::uint32_t c) {
        const unsigned r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
        return colour == IconColour::Red ? r >= 150 && g <= 100 && b <= 100
                                         : r >= 200 && g >= 100 && g <= 230 && b <= 100;
    };
    const std::vector<HWND> icons = Statics(box, true);
    SetForegroundWindow(box);
    return !icons.empty() && WaitFor(Ms(3000), [&] {
               const Pixels p = GrabScreen(WindowRect(icons[0]));
               return std::count_if(p.Px.begin(), p.Px.end(), matches) * 4 >=
                      std::ptrdiff_t(p.Px.size());
           });
}

// Clicks the OK button; BM_CLICK may be ignored by a dialog that is not active.
inline bool PressOk(HWND box) {
    DWORD_PTR result = 0;
    SetForegroundWindow(box);
    return SendMessageTimeoutW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000,
                               &result);
}

// The whole file, shared so the program may still write or replace it.
inline std::optional<std::string> ReadWholeFile(const fs::path& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buf[65536];
    for (DWORD got = 0; ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0;)
        bytes.append(buf, got);
    CloseHandle(h);
    return bytes;
}

inline void WriteWholeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    if (!out.write(bytes.data(), std::streamsize(bytes.size())).flush())
        throw std::runtime_error("cannot write " + Narrow(path.wstring()));
}

// A 24-bit .bmp file of `p`.
inline void WriteBmpFile(const fs::path& path, const Pixels& p) {
    const int stride = (p.Width * 3 + 3) / 4 * 4, bits = 54;  // after both headers
    std::string bytes(bits + size_t(stride) * p.Height, '\0');
    const BITMAPFILEHEADER file{0x4D42, DWORD(bytes.size()), 0, 0, bits};
    const BITMAPINFOHEADER info{40, p.Width, p.Height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::copy_n(reinterpret_cast<const char*>(&file), 14, bytes.data());
    std::copy_n(reinterpret_cast<const char*>(&info), 40, bytes.data() + 14);
    for (int i = 0; i < p.Width * p.Height * 3; ++i) {  // rows from the bottom
        const int x = i / 3 % p.Width, y = p.Height - 1 - i / 3 / p.Width;
        bytes[bits + size_t(y) * stride + 3 * x + i % 3] = char(p.Px[i / 3] >> (8 * (i % 3)));
    }
    WriteWholeFile(path, bytes);
}

// The names of the entries of `folder`, sorted; empty when it cannot be read.
inline std::vector<std::wstring> FolderEntries(const fs::path& folder) {
    std::vector<std::wstring> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

inline fs::path ExeFolder() {
    std::wstring exe(32768, L'\0');
    exe.resize(GetModuleFileNameW(nullptr, exe.data(), DWORD(exe.size())));
    return fs::path(exe).parent_path();
}

// The folder holding ZorvPanel.exe: %ZORV_DIST% or <exe folder>\..\dist.
inline fs::path DistFolder() {
    wchar_t dist[MAX_PATH] = L"";
    return GetEnvironmentVariableW(L"ZORV_DIST", dist, MAX_PATH) ? fs::path(dist)
                                                                 : ExeFolder().parent_path() / L"dist";
}

// A started process, run as "<exe>" <args> in `cwd` (throws if it cannot start); the
// destructor terminates it if it still runs.
class Process {
  public:
    Process(const fs::path& exe, std::wstring_view args, const fs::path& cwd) {
        std::wstring cmd = L"\"" + exe.wstring() + L"\" " + std::wstring(args);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        startMs_ = NowMs();
        if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            cwd.c_str(), &si, &pi))
            throw std::runtime_error("cannot start " + Narrow(cmd));
        CloseHandle(pi.hThread);
        handle_ = pi.hProcess;
        id_ = pi.dwProcessId;
    }
    ~Process() {
        Terminate();
        CloseHandle(handle_);
    }
    Process(const Process&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_; }
    double StartMs() const { return startMs_; }  // NowMs() right before CreateProcess
    bool IsRunning() const { return WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }
    // The exit code, or nothing when the process still runs after `timeout`.
    std::optional<DWORD> WaitExit(Ms timeout) const {
        DWORD code = 0;
        if (WaitForSingleObject(handle_, DWORD(timeout.count())) != WAIT_OBJECT_0) return {};
        GetExitCodeProcess(handle_, &code);
        return code;
    }
    void Terminate() {
        if (IsRunning() && TerminateProcess(handle_, 1)) WaitForSingleObject(handle_, 5000);
    }

  private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
    double startMs_ = 0;
};

// A private copy of the program under %TEMP% (<root>\Zorv Panel-noau nostart: a space as
// under "Program Files", and switch words that only the arguments may carry) and a working
// folder <root>\cwd; deleted after.
class ProgramFolder {
  public:
    explicit ProgramFolder(const fs::path& dist) {
        static unsigned serial = 0;
        root_ = fs::temp_directory_path() / (L"zorv-e2e-" + std::to_wstring(GetCurrentProcessId()) +
                                             L"-" + std::to_wstring(++serial));
        std::error_code ec;
        fs::remove_all(root_, ec);
        fs::create_directories(Path() / L"Icons");
        fs::create_directories(Cwd());
        fs::copy(dist / L"Icons", Path() / L"Icons", fs::copy_options::recursive, ec);
        for (const wchar_t* name : {L"ZorvPanel.exe", L"Zorv.dll"})
            if (!fs::copy_file(dist / name, Path() / name, ec))
                throw std::runtime_error("no " + Narrow(name) + " in the build (or %ZORV_DIST%)");
    }
    // A just-terminated process may keep its image file locked for a moment.
    ~ProgramFolder() {
        std::error_code ec;
        WaitFor(Ms(5000), [&] { return fs::remove_all(root_, ec), !fs::exists(root_, ec); });
    }
    ProgramFolder(const ProgramFolder&) = delete;

    const fs::path& Root() const { return root_; }
    fs::path Path() const { return root_ / L"Zorv Panel-noau nostart"; }
    fs::path Cwd() const { return root_ / L"cwd"; }
    fs::path Exe() const { return Path() / L"ZorvPanel.exe"; }
    fs::path IniFile() const { return Path() / L"ZorvPanel.ini"; }  // the default name
    void WriteIni(std::string_view text) const { WriteWholeFile(IniFile(), text); }

  private:
    fs::path root_;
};

// Holds a modifier down until released. Under Wine a modifier pressed with SendInput alone does not
// last: once the pointer enters another window, Wine takes the modifiers' state from X again.
// So X is told as well, by xdotool (Wine starts a Unix program through CreateProcess).
class KeyHeld {
  public:
    // `xName`: the key as xdotool names it ("shift", "ctrl").
    KeyHeld(WORD vk, const wchar_t* xName) : vk_(vk), xName_(xName) { Press(true); }
    ~KeyHeld() { Release(); }
    KeyHeld(const KeyHeld&) = delete;
    void Release() {
        if (std::exchange(down_, false)) Press(false);
    }

  private:
    void Press(bool down) const {
        if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
            std::wstring cmd = std::wstring(down ? L"xdotool keydown " : L"xdotool keyup ") + xName_;
            STARTUPINFOW si{};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi{};
            if (CreateProcessW(L"Z:\\usr\\bin\\xdotool", cmd.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &si, &pi)) {
                CloseHandle(pi.hThread);
                CloseHandle(pi.hProcess);
            }
        }
        INPUT in{INPUT_KEYBOARD, {}};
        in.ki.wVk = vk_;
        in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &in, sizeof in);
    }
    WORD vk_;
    const wchar_t* xName_;
    bool down_ = true;
};

// How one probe (tests/e2e/probe) was started, as it wrote it down.
struct ProbeRecord {
    DWORD Pid = 0;
    std::string CmdLine, Cwd;
    int ShowCmd = 0;  // -1: no show command was given
    unsigned Priority = 0;
    bool Admin = false;  // the token acts as an administrator's
    std::vector<std::string> Args;
};

// zorv_probe.exe copied to `exe`; its starts write records into `folder`
// (%ZORV_PROBE_DIR% is inherited) and are ended with it.
class Probes {
  public:
    Probes(const fs::path& exe, const fs::path& folder) : exe_(exe), folder_(folder) {
        fs::create_directories(exe.parent_path());
        fs::create_directories(folder);
        fs::copy_file(ExeFolder() / L"zorv_probe.exe", exe);
        SetEnvironmentVariableW(L"ZORV_PROBE_DIR", folder.c_str());
    }
    ~Probes() {
        for (const ProbeRecord& r : Records()) {
            HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, r.Pid);
            if (h && TerminateProcess(h, 0)) WaitForSingleObject(h, 5000);
            if (h) CloseHandle(h);
        }
        SetEnvironmentVariableW(L"ZORV_PROBE_DIR", nullptr);
    }
    Probes(const Probes&) = delete;

    const fs::path& Exe() const { return exe_; }

    // The first record not taken before (of `pid`, unless 0), waiting for it.
    std::optional<ProbeRecord> Next(DWORD pid = 0, Ms timeout = Ms(15000)) {
        std::optional<ProbeRecord> r;
        WaitFor(timeout, [&] {
            for (const ProbeRecord& rec : Records())
                if (!std::count(taken_.begin(), taken_.end(), rec.Pid) && (!pid || rec.Pid == pid))
                    return taken_.push_back(rec.Pid), r = rec, true;
            return false;
        }, Ms(50));
        return r;
    }

    // The visible probe window of `pid`, or null after 10 s.
    static HWND WindowOf(DWORD pid) { return WaitForWindow(pid, L"Static", nullptr, Ms(10000)); }

    // The window of a probe of the test's own (no instance of Exe()).
    HWND Open(const std::wstring& args) {
        opened_.push_back(std::make_unique<Process>(ExeFolder() / L"zorv_probe.exe", args, folder_));
        Next(opened_.back()->Id());
        return WindowOf(opened_.back()->Id());
    }

  private:
    // The complete records, "probe-<pid>.txt": see the probe's source.
    std::vector<ProbeRecord> Records() const {
        std::vector<ProbeRecord> records;
        for (const std::wstring& name : FolderEntries(folder_)) {
            const std::string text =
                name.ends_with(L".txt") ? ReadWholeFile(folder_ / name).value_or("") : "";
            std::vector<std::string> f;
            for (size_t at = 0, end; (end = text.find("\r\n", at)) != text.npos; at = end + 2)
                f.push_back(text.substr(at, end - at));
            if (f.size() >= 6)
                records.push_back({DWORD(std::stoul(f[0])), f[1], f[2], std::stoi(f[3]),
                                   unsigned(std::stoul(f[4], nullptr, 16)), f[5] == "1",
                                   {f.begin() + 6, f.end()}});
        }
        return records;
    }

    fs::path exe_, folder_;
    std::vector<DWORD> taken_;
    std::vector<std::unique_ptr<Process>> opened_;
};

}  // namespace zorv::e2e
