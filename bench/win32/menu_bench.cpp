// The main menu with 300 entries and their icons: from the call that opens
// it until it is visible on the screen, owner-drawn as the program shows it,
// against a plain popup of the same entries shown by the same program in the
// same run; and the time to rebuild the main menu with its icon strip.
// Prints figures only.
//
// usage: menu_bench.exe [runs]   (default 20 openings of each, alternating)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "items/app_state.h"
#include "items/items.h"
#include "menus/dip_menu_win32.h"
#include "menus/menu_host.h"
#include "menus/program_menus.h"
#include "menus/program_menus_win32.h"
#include "support/texts.h"
#include "support/window_win32.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kEntries = 300;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The menus ask the program for little while they only open and close.
struct BenchHost final : zorv::MenuHost {
    HWND bar = nullptr;
    zorv::WindowId BarWindow() override { return zorv::ToWindowId(bar); }
    std::int32_t BarHeight() override { return 20; }
    void MenuShowing(bool) override {}
    void HandForegroundBack(const char*) override {}
    bool ExecuteItem(std::int32_t, std::int32_t, bool) override { return false; }
    void PasteClipItem(std::int32_t, std::int32_t) override {}
    void ExitFromMenu() override {}
    void EditItem(std::int32_t) override {}
    void EditList(std::int32_t) override {}
    void OpenRunDialog() override {}
    void OpenOptions() override {}
    void ExportSettings() override {}
    void ImportSettings() override {}
    void WatchPopup(bool) override {}
    std::vector<zorv::WindowId> RecentForegroundWindows() override { return {}; }
    void AddToForegroundHistory(zorv::WindowId) override {}
};

// Watches from another thread for the menu window to show, notes when, and
// closes it with Escape (the bar is the foreground window, so the key
// reaches the menu loop).
class ShowWatch {
  public:
    ShowWatch() : thread_([this] { Run(); }) {}
    ~ShowWatch() {
        stop_ = true;
        thread_.join();
    }
    // Opens through `open` (which returns when the menu has closed) and
    // answers the milliseconds until the menu was visible, or -1.
    double Time(const std::function<void()>& open) {
        shownAt_ = {};
        start_ = Clock::now();
        armed_ = true;
        open();
        armed_ = false;
        return shownAt_ == Clock::time_point{} ? -1 : Ms(shownAt_ - start_);
    }

  private:
    void Run() {
        const DWORD pid = GetCurrentProcessId();
        while (!stop_) {
            if (!armed_) {
                Sleep(1);
                continue;
            }
            HWND menu = nullptr;
            while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr))) {
                DWORD owner = 0;
                GetWindowThreadProcessId(menu, &owner);
                if (owner == pid && IsWindowVisible(menu)) break;
            }
            if (!menu) continue;
            shownAt_ = Clock::now();
            armed_ = false;
            INPUT key[2] = {{INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}};
            key[0].ki.wVk = key[1].ki.wVk = VK_ESCAPE;
            key[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, key, sizeof(INPUT));
        }
    }

    std::atomic<bool> stop_{false}, armed_{false};
    Clock::time_point start_{}, shownAt_{};
    std::thread thread_;
};

int Bench(int runs) {
    zorv::EnglishTexts = true;
    zorv::AppState state;
    state.Lists = zorv::CreateItemLists();
    for (int i = 0; i < kEntries; ++i) {
        zorv::Item item;
        item.Desc = "Entry " + std::to_string(i);
        item.Path = "notepad.exe";
        item.Icon = "**" + std::to_string(i % 100 + 1);
        state.Lists[zorv::kListMenu].AddItem(item);
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZorvMenuBench";
    RegisterClassW(&wc);
    BenchHost host;
    host.bar = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"bench",
                               WS_POPUP | WS_VISIBLE, 400, 0, 400, 20, nullptr, nullptr,
                               wc.hInstance, nullptr);
    SetForegroundWindow(host.bar);

    zorv::ProgramMenus menus(state, host);
    std::vector<double> rebuild;
    for (int i = 0; i < std::max(runs / 2, 3); ++i) {
        const auto start = Clock::now();
        menus.Rebuild(false);
        GdiFlush();
        rebuild.push_back(Ms(Clock::now() - start));
    }

    // The same entries as a plain popup: no icons, the system draws them.
    zorv::clsDIPMenu plain;
    for (const zorv::MenuEntrySpec& e : zorv::BuildMainMenu(zorv::FillMenuCaptions(true),
                                                            state.Lists, false)) {
        plain.AddMenuItem(e.Caption, e.ItemId, e.Icon);
    }
    HWND plainOwner = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 0, 0, host.bar, nullptr,
                                      wc.hInstance, nullptr);
    plain.SetWindowHandleAndProc(plainOwner, false);
    plain.CreateMenu(zorv::kMinMenuTextWidth);

    RECT bar{};
    GetWindowRect(host.bar, &bar);
    ShowWatch watch;
    std::vector<double> drawn, system;
    for (int i = 0; i < runs; ++i) {
        const double d = watch.Time([&] { menus.OpenMainMenu(false); });

        const double p = watch.Time([&] {
            plain.Show({bar.right + 64, bar.bottom}, TPM_RIGHTALIGN);
        });
        if (d >= 0) drawn.push_back(d);
        if (p >= 0) system.push_back(p);
    }
    std::printf("main menu of %d entries with icons (median of %zu / %zu openings)\n", kEntries,
                drawn.size(), system.size());
    std::printf("%-40s %10.2f ms\n", "open to visible, owner-drawn", Median(drawn));
    std::printf("%-40s %10.2f ms\n", "open to visible, plain popup", Median(system));
    if (Median(system) > 0) {
        std::printf("%-40s %10.2f\n", "ratio owner-drawn/plain", Median(drawn) / Median(system));
    }
    std::printf("%-40s %10.2f ms (first %.2f)\n", "rebuild menu and icon strip", Median(rebuild),
                rebuild.front());
    plain.DestroyAll();
    menus.Release();
    DestroyWindow(host.bar);
    return drawn.empty() || system.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    if (runs < 1 || runs > 1000) {
        std::fprintf(stderr, "usage: menu_bench [runs 1..1000]\n");
        return 2;
    }
    return Bench(runs);
}
