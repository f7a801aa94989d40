// Opening the list editor on a list of 2,000 items, from the call until the
// window has painted, against creating a plain list box and filling it with
// the same 2,000 lines in the same run. Prints medians and their ratio; asserts
// nothing. Run it with tests/e2e/wine-run.sh build/<dir>/bench/list_editor_open_bench.exe [runs].
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialogs/clip_dialog_win32.h"
#include "dialogs/item_dialog_win32.h"
#include "dialogs/list_editor_win32.h"
#include "support/text_win32.h"

namespace zorv {
// The bench opens no item dialog.
bool ShowItemDialog(HWND, AppState&, DialogHost&, const ItemDialogRequest&) { return false; }
bool ShowClipDialog(HWND, AppState&, DialogHost&, const ClipDialogRequest&) { return false; }
}  // namespace zorv

namespace {

using namespace zorv;

constexpr int kItems = 2000;

double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

double g_shownAt = 0;

// Runs after the dialog's first paint (timer messages come after paint
// messages) and closes it.
void CALLBACK Painted(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dlg = GetActiveWindow();
    if (dlg) UpdateWindow(dlg);
    g_shownAt = NowMs();
    if (dlg) PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
}

struct BenchHost final : DialogHost {
    WindowId BarWindow() override { return 0; }
    void DialogShowing(bool showing) override {
        if (showing) SetTimer(nullptr, 0, 0, Painted);
    }
    std::string HotkeyName(std::int32_t) override { return {}; }
    std::vector<std::string> SpecialKeyNames() override { return {}; }
    bool StartCommand(const std::string&, const std::string&, std::int32_t) override {
        return false;
    }
    void BringToFront(WindowId) override {}
    void ListChanged(std::int32_t) override {}
    void SettingsChanged() override {}
    bool IsInStartup() override { return false; }
    void SetZorvToAutoStart(bool) override {}
    std::vector<std::string> HotkeysTakenByOthers() override { return {}; }
    std::int32_t AutomaticBarRight() override { return 0; }
    void BarRightChanged() override {}
    void OptionsChanged() override {}
    void CheckForegroundWindow() override {}
};

std::string Caption(int i) {
    return (i % 7 ? "" : "--->") + std::string("Application ") + std::to_string(i) + " (Tools)";
}

double PlainListBox() {
    const double start = NowMs();
    // Filled before it shows, as any program would (a visible list box
    // repaints for every line added).
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                WS_OVERLAPPEDWINDOW | LBS_EXTENDEDSEL | WS_VSCROLL, 100, 100, 420,
                                320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < kItems; ++i) {
        const std::wstring text = Widen(Caption(i));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    ShowWindow(list, SW_SHOW);
    UpdateWindow(list);
    const double took = NowMs() - start;
    DestroyWindow(list);
    return took;
}

double OpenEditor(AppState& state, BenchHost& host) {
    std::string folder;
    const double start = NowMs();
    ShowListEditor(nullptr, state, host, kListMenu, folder);
    return g_shownAt - start;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    AppState state;
    state.Lists = CreateItemLists();
    for (int i = 0; i < kItems; ++i) {
        Item it;
        it.Desc = Caption(i);
        it.Path = "app" + std::to_string(i) + ".exe";
        state.Lists[kListMenu].AddItem(it);
    }
    BenchHost host;
    std::vector<double> plain, editor;
    for (int i = 0; i < runs; ++i) {
        plain.push_back(PlainListBox());
        editor.push_back(OpenEditor(state, host));
    }
    std::printf("list editor on %d items, %d runs: median %.1f ms; plain list box %.1f ms; "
                "ratio %.2f\n",
                kItems, runs, Median(editor), Median(plain), Median(editor) / Median(plain));
    return 0;
}
