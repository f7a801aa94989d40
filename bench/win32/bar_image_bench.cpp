// Cost of the bar's drawing with the program's own drawing code: building the
// bar image for 50 and 500 buttons with icon files (painted from the files,
// and from the cached bar picture), 50 buttons with their programs' icons,
// and the redraws of one hover or one press against a whole redraw. Prints
// figures only.
//
// usage: bar_image_bench.exe [--picture <file.bmp>]
//   --picture  also writes the cached picture of a flat bar of 8 buttons
//              (with one pressed and one raised on screen), to look at.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "items/app_state.h"
#include "bar/bar_draw_win32.h"
#include "bar/bar_layout.h"
#include "items/ini_save.h"

namespace {

// The drawing code asks the rest of the program for a save, menus and a new
// alpha; none of them runs here.
struct NoProgram final : zorv::BarHost, zorv::BarPainter::Events {
    void TopNow() override {}
    void RecordForegroundWindow() override {}
    void AddToForegroundHistory(zorv::WindowId) override {}
    void HandForegroundBack(const char*) override {}
    bool IsMenuOrToolbarShown() override { return false; }
    bool OwnMenuOpen() override { return false; }
    bool IsDX(zorv::WindowId) override { return false; }
    bool IsSpecialWindow(zorv::WindowId) override { return false; }
    void CheckForVideoOrFullscreen() override {}
    bool ExecuteButton(std::int32_t, bool) override { return false; }
    void EndActivationCycle() override {}
    std::int64_t LastRequestHandedCounter() override { return 0; }
    void BuildButtonMenus(const std::vector<zorv::ButtonMenuPlan>&) override {}
    void RebuildMenus() override {}
    void OpenMainMenu(bool) override {}
    std::int32_t ShowButtonMenu(std::int32_t, zorv::ScreenPoint, bool) override { return -1; }
    void CarryButtonMenuChoice(std::int32_t, std::int32_t, bool, bool) override {}
    std::int32_t ShowButtonContextMenu() override { return -1; }
    void ExecPopupBut(std::int32_t, std::int32_t) override {}
    void EditButton(std::int32_t) override {}
    void ButtonListChanged() override {}
    void SaveZorvINI_in1s() override {}
    bool ConfigChanged() override { return false; }
    void SaveConfiguration() override {}
    void AfterRedraw() override {}
    void ColoursChanged() override {}
};

zorv::AppState g_state;
NoProgram g_noProgram;
zorv::BarPainter g_painter(g_state, g_noProgram, g_noProgram);

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Figures {
    double first = 0, median = 0, min = 0;
};

// Runs `work` `runs` times; the first run is reported on its own because the
// later ones find the files in the system's cache.
Figures Time(int runs, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        GdiFlush();
        ms.push_back(Ms(Clock::now() - start));
    }
    Figures f;
    f.first = ms.front();
    std::sort(ms.begin(), ms.end());
    f.median = ms[ms.size() / 2];
    f.min = ms.front();
    return f;
}

void Print(const char* what, const Figures& f, const char* unit = "ms") {
    std::printf("%-44s %10.3f %10.3f %10.3f %s\n", what, f.first, f.median, f.min, unit);
}

// A 32 x 16 icon file (picture, mask) in a colour of its own.
void WriteIconFile(const fs::path& path, int n) {
    constexpr int w = 32, h = 16, stride = w * 3;
    std::vector<unsigned char> bits(static_cast<size_t>(stride) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &bits[static_cast<size_t>(y) * stride + x * 3];
            const bool opaque = (x % 16) >= 2 && (x % 16) < 14 && y >= 2 && y < 14;
            if (x < 16) {
                p[0] = static_cast<unsigned char>(n * 37);
                p[1] = static_cast<unsigned char>(n * 11 + y * 8);
                p[2] = static_cast<unsigned char>(200 - x * 6);
            } else {
                std::memset(p, opaque ? 0 : 255, 3);
            }
        }
    }
    BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return;
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info, sizeof info, 1, f);
    std::fwrite(bits.data(), bits.size(), 1, f);
    std::fclose(f);
}

void FillButtons(int count, bool programIcons) {
    g_state.Lists = zorv::CreateItemLists();
    for (int i = 0; i < count; ++i) {
        zorv::Item item;
        char name[32];
        std::snprintf(name, sizeof name, "icon%03d.bmp", i);
        item.Desc = "Button " + std::to_string(i);
        item.Path = programIcons ? "notepad.exe" : "";
        item.Icon = programIcons ? "" : name;
        g_state.Lists[zorv::kListButtons].AddItem(item);
    }
}

void SetCacheTimeToIni(const std::string& cache) {
    WIN32_FILE_ATTRIBUTE_DATA ini{};
    GetFileAttributesExA(g_state.App.IniPath.c_str(), GetFileExInfoStandard, &ini);
    HANDLE h =
        CreateFileA(cache.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    SetFileTime(h, nullptr, nullptr, &ini.ftLastWriteTime);
    CloseHandle(h);
}

// Hover (raise and lower one cell), press (press and release one cell) and a
// whole redraw, per call.
void TimeRedraws(int count) {
    constexpr int kCalls = 2000;
    const int cells = std::min(count, 40);
    auto perCall = [&](const std::function<void(int)>& step) {
        Figures f = Time(5, [&] {
            for (int k = 0; k < kCalls; ++k) step(k % cells);
        });
        f.first = f.first * 1000.0 / kCalls;
        f.median = f.median * 1000.0 / kCalls;
        f.min = f.min * 1000.0 / kCalls;
        return f;
    };
    Print("  hover: RaiseButton(i, true) + (i, false)", perCall([](int i) {
              g_painter.RaiseButton(i, true);
              g_painter.RaiseButton(i, false);
          }),
          "us");
    Print("  press: ButtonDrawPress(i) + UnPress", perCall([](int i) {
              g_painter.ButtonDrawPress(i);
              g_painter.ButtonDrawUnPress();
          }),
          "us");
    Print("  whole redraw: BarRedraw(true)", perCall([](int) { g_painter.BarRedraw(true); }), "us");
}

void RunCase(HWND window, int count, bool programIcons) {
    FillButtons(count, programIcons);
    g_painter.CreateBarImages();
    const int runs = count >= 500 ? 5 : 10;
    char title[96];
    std::snprintf(title, sizeof title, "%d buttons, %s", count,
                  programIcons ? "program icons (notepad.exe)" : "icon files");
    std::printf("%s\n", title);
    Print("  BarCreate, painted from the icons", Time(runs, [] { g_painter.BarCreate(false); }));
    if (programIcons) return;
    const std::string cache = zorv::BarIconCacheName(g_state.App.IniPath);
    g_painter.WriteBarPicture(cache);
    SetCacheTimeToIni(cache);
    Print("  BarCreate, from the cached picture", Time(runs, [] { g_painter.BarCreate(true); }));
    const int width = std::min(g_painter.BarContentWidth(), GetSystemMetrics(SM_CXSCREEN));
    SetWindowPos(window, HWND_TOPMOST, 0, 0, width, g_painter.BarHeight(), SWP_NOACTIVATE);
    g_painter.BarRedraw(true);
    TimeRedraws(count);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        g_painter.OnPaint(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND CreateBenchWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZorvBarImageBench";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"bench",
                                WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return hwnd;
}

fs::path MakeWorkFolder(int iconFiles) {
    const fs::path root =
        fs::temp_directory_path() / ("zorv-bar-bench-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(root / "Icons");
    for (int i = 0; i < iconFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "icon%03d.bmp", i);
        WriteIconFile(root / "Icons" / name, i);
    }
    FILE* ini = _wfopen((root / "bench.ini").c_str(), L"wb");
    if (ini) std::fclose(ini);
    return root;
}

void WritePicture(const char* path) {
    g_state.Options.ButFlat = true;
    FillButtons(8, false);
    g_painter.CreateBarImages();
    g_painter.BarCreate(false);
    g_painter.ButtonDrawPress(1);
    g_painter.RaiseButton(3, true);
    g_painter.WriteBarPicture(path);
    std::printf("picture as the cache keeps it (flat, 8 buttons): %s\n", path);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path work = MakeWorkFolder(500);
    g_state.App.IconFolder = (work / "Icons").string();
    g_state.App.IniPath = (work / "bench.ini").string();
    g_state.App.WindowsVersion.Major = 6;
    HDC screen = GetDC(nullptr);
    // As stored after a save on this display, so that the cache may be used.
    g_state.Options.LastColor3DFace = static_cast<std::int32_t>(GetSysColor(COLOR_3DFACE));
    g_state.Options.LastBitsPerPixel =
        GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    HWND window = CreateBenchWindow();
    g_painter.AttachWindow(window);

    std::printf("%-44s %10s %10s %10s\n", "", "first", "median", "min");
    RunCase(window, 50, false);
    RunCase(window, 500, false);
    RunCase(window, 50, true);
    if (argc == 3 && std::strcmp(argv[1], "--picture") == 0) WritePicture(argv[2]);

    g_painter.ReleaseBarImages();
    DestroyWindow(window);
    std::error_code ec;
    fs::remove_all(work, ec);
    return 0;
}
