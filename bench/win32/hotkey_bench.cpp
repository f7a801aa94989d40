// The bar's own time per hotkey: from the hotkey message to a clipboard
// item's text handed to the target, the waits the delivery prescribes (the
// target's idle and foreground waits, the pauses between keys, the modifier
// release) left out. Notepad is the target; the program logs each figure
// ("Text handed to the target ... ms after the hotkey") and this program
// presses the hotkeys and reads them from the log. Prints figures only.
//
// usage: hotkey_bench.exe [presses]   (default 20 of each kind)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "support/harness.h"

namespace {

using namespace zorv::e2e;

constexpr char kMarker[] = "Text handed to the target ";

std::string Item(const char* section, int activate, int vk, const std::string& text) {
    char hotkey[8];
    std::snprintf(hotkey, sizeof hotkey, "%X", 0x600 + vk);
    return std::string(section) + "\r\nDesc=Bench\r\nPath=" + text +
           "\r\nWrkDir=\r\nUserType=0\r\nIcon=\r\nActivate=" + std::to_string(activate) +
           "\r\nTitle=\r\nStyle=1\r\nPrio=2\r\nHotkey=" + hotkey + "\r\n\r\n";
}

std::string Ini() {
    std::string hundred;
    while (hundred.size() < 100) hundred += "The quick brown fox. ";
    hundred.resize(100);
    return "; ZorvPanel V0.01\r\n\r\n\r\n" + Item("[ClipboardItem]", 1, VK_F9, hundred) +
           Item("[ClipboardItem]", 2, VK_F8, hundred) +
           "[Settings]\r\n\r\nLogLevel=1\r\nWriteLogfile=1\r\nAutoRed=0\r\n";
}

void PressHotkey(WORD vk) {
    INPUT in[6] = {};
    const WORD keys[6] = {VK_CONTROL, VK_SHIFT, vk, vk, VK_SHIFT, VK_CONTROL};
    for (int i = 0; i < 6; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[i].ki.dwFlags = i >= 3 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(6, in, sizeof(INPUT));
}

// The figures of one kind ("Ctrl+V", "WM_PASTE" or "typed") in the log.
std::vector<double> Figures(const fs::path& log, bool typed) {
    std::vector<double> ms;
    const std::string text = ReadWholeFile(log).value_or("");
    for (size_t at = text.find(kMarker); at != std::string::npos; at = text.find(kMarker, at + 1)) {
        const size_t close = text.find(')', at);
        const bool isTyped = text.compare(close - 5, 5, "typed") == 0;
        if (isTyped == typed) ms.push_back(std::atof(text.c_str() + at + sizeof kMarker - 1));
    }
    return ms;
}

void Print(const char* what, std::vector<double> ms, int presses) {
    if (ms.empty()) {
        std::printf("%s: no figure in the log\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s (%zu of %d presses): median %.3f ms, min %.3f ms, 90th percentile %.3f ms\n",
                what, ms.size(), presses, ms[ms.size() / 2], ms.front(), ms[ms.size() * 9 / 10]);
}

int Run(int presses) {
    ProgramFolder folder(DistFolder());
    folder.WriteIni(Ini());
    Process bar(folder.Exe(), L"noau nostart", folder.Cwd());
    HWND window = nullptr;
    if (!WaitFor(Ms(30000),
                 [&] { return (window = FindBarOf(bar.Id())) && IsShownOnScreen(window); })) {
        std::printf("the bar did not show\n");
        return 1;
    }
    Process notepad(L"C:\\windows\\system32\\notepad.exe", L"", folder.Cwd());
    HWND np = WaitForWindow(notepad.Id(), L"Notepad", nullptr, Ms(10000));
    if (!np || !Activate(np)) {
        std::printf("Notepad did not come to the front\n");
        return 1;
    }
    const fs::path log = folder.Path() / L"zorv.log";
    for (bool typed : {false, true}) {
        for (int i = 0; i < presses; ++i) {
            const size_t before = Figures(log, typed).size();
            PressHotkey(typed ? VK_F8 : VK_F9);
            WaitFor(Ms(5000), [&] { return Figures(log, typed).size() > before; });
            Sleep(300);  // pacing: a paste within 100 ms of the last one is dropped
        }
    }
    Print("100-character paste, hotkey to Ctrl+V/WM_PASTE", Figures(log, false), presses);
    Print("100-character typed text, hotkey to the last character", Figures(log, true), presses);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!bar.WaitExit(Ms(5000))) bar.Terminate();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc > 1 ? std::max(1, std::atoi(argv[1])) : 20);
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
}
