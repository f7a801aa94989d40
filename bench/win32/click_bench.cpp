// The launcher's own time per click: from the release of the mouse button on
// a bar button to the start request being handed to Zorv.dll. The program
// runs with a stand-in Zorv.dll that accepts every request and starts
// nothing, and logs the time of each click ("Start request handed ... ms
// after the release"); this program clicks and reads the figures from the
// log. Prints figures only.
//
// usage: click_bench.exe [clicks]   (default 60)
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

constexpr char kMarker[] = "Start request handed to Zorv.dll ";

std::string Ini() {
    return "; ZorvPanel V0.01\r\n\r\n\r\n"
           "[Button]\r\nDesc=Notepad\r\nPath=\"C:\\windows\\notepad.exe\" C:\\x.txt\r\n"
           "WrkDir=C:\\windows\r\nUserType=0\r\nIcon=**3\r\nActivate=0\r\nTitle=\r\n"
           "Style=1\r\nPrio=3\r\nHotkey=0\r\n\r\n"
           "[Settings]\r\n\r\nLogLevel=1\r\nWriteLogfile=1\r\nAutoRed=0\r\n";
}

std::vector<double> ClickTimes(const fs::path& log) {
    std::vector<double> ms;
    const std::string text = ReadWholeFile(log).value_or("");
    for (size_t at = text.find(kMarker); at != std::string::npos; at = text.find(kMarker, at + 1)) {
        ms.push_back(std::atof(text.c_str() + at + sizeof kMarker - 1));
    }
    return ms;
}

int Run(int clicks) {
    ProgramFolder folder(DistFolder());
    fs::copy_file(ExeFolder() / L"null" / L"Zorv.dll", folder.Path() / L"Zorv.dll",
                  fs::copy_options::overwrite_existing);
    folder.WriteIni(Ini());
    Process p(folder.Exe(), L"noau nostart", folder.Cwd());
    HWND bar = nullptr;
    if (!WaitFor(Ms(30000), [&] { return (bar = FindBarOf(p.Id())) && IsShownOnScreen(bar); })) {
        std::printf("the bar did not show\n");
        return 1;
    }
    const RECT r = WindowRect(bar);
    MoveMouseAndStay(r.left + 10, r.top + 10);
    for (int i = 0; i < clicks; ++i) {
        ClickHere(MOUSEEVENTF_LEFTDOWN, 20);
        Sleep(600);  // pacing: a release within 500 ms of a start does not start
    }
    const fs::path log = folder.Path() / L"zorv.log";
    WaitFor(Ms(5000), [&] { return ClickTimes(log).size() >= static_cast<size_t>(clicks); });
    std::vector<double> ms = ClickTimes(log);
    PostMessageW(bar, WM_CLOSE, 0, 0);
    if (!p.WaitExit(Ms(5000))) p.Terminate();
    if (ms.empty()) {
        std::printf("no click was timed (is the program's log at level 1?)\n");
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("launcher's own work per click, release to start request (%zu of %d clicks):\n",
                ms.size(), clicks);
    std::printf("  median %.3f ms, min %.3f ms, 90th percentile %.3f ms, max %.3f ms\n",
                ms[ms.size() / 2], ms.front(), ms[ms.size() * 9 / 10], ms.back());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc > 1 ? std::max(1, std::atoi(argv[1])) : 60);
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
}
