// Scripts drive the running bar by starting the program again: "/run=" starts an item by its
// caption and the bar stays; unknown and ambiguous captions get an exit code and a line on the
// standard output, no message box.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

struct ScriptRun {
    DWORD ExitCode = 0xFFFFFFFF;
    std::string Output;
};

// Runs the program copy with `args`, its standard output into a pipe; bounded.
ScriptRun RunScript(const ProgramFolder& folder, const std::wstring& args) {
    ScriptRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) return run;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = write;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + folder.Exe().wstring() + L"\" " + args;
    const bool started = CreateProcessW(folder.Exe().c_str(), cmd.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, folder.Cwd().c_str(), &si, &pi);
    CloseHandle(write);
    if (started) {
        char buf[512];
        DWORD got = 0;
        while (ReadFile(read, buf, sizeof buf, &got, nullptr) && got > 0) run.Output.append(buf, got);
        if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &run.ExitCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(read);
    return run;
}

class Scripts : public ZorvE2E {
  protected:
    Probes probes_{Folder().Root() / L"Probe Tools" / L"zorv_probe.exe",
                   Folder().Root() / L"probe records"};
};

TEST_F(Scripts, RunStartsAnItemOfTheRunningBar_UnknownAndAmbiguousCaptionsAreAnswered) {
    Button probe("Two &words", "\"" + Narrow(probes_.Exe().wstring()) + "\" --title=FromScript");
    Button twice("Twice", "notepad.exe");
    std::string ini = Ini({probe, twice}, "AutoRed=0\r\n");
    ini += "[MenuItem]" + twice.Text.substr(8);
    Folder().WriteIni(ini);
    Process& first = Start();
    ASSERT_TRUE(WaitForShownBar(first));

    ScriptRun run = RunScript(Folder(), L"/run=\"two words\"");
    EXPECT_EQ(run.ExitCode, 0u) << run.Output << LogTail();
    EXPECT_EQ(run.Output, "ZorvPanel: \"two words\" started\r\n");
    const std::optional<ProbeRecord> started = probes_.Next();
    ASSERT_TRUE(started) << LogTail();
    EXPECT_EQ(started->Args, std::vector<std::string>{"--title=FromScript"});
    EXPECT_TRUE(first.IsRunning()) << "the running bar was replaced";

    run = RunScript(Folder(), L"\"/run=Nobody here\"");
    EXPECT_EQ(run.ExitCode, 2u);
    EXPECT_EQ(run.Output, "ZorvPanel: no item is called \"Nobody here\"\r\n");
    run = RunScript(Folder(), L"/run=Twice");
    EXPECT_EQ(run.ExitCode, 3u);
    EXPECT_EQ(run.Output, "ZorvPanel: more than one item is called \"Twice\"\r\n");
    EXPECT_FALSE(WaitForMessageBox(first, Ms(500))) << "a message box for a script";
    EXPECT_TRUE(first.IsRunning());
}

TEST_F(Scripts, ReloadReadsTheFileAgain_MenuOpensTheMainMenuAtTheMouse) {
    Folder().WriteIni(Ini(Notepads(2), "AutoRed=0\r\n"));
    Process& bar = Start();
    HWND window = WaitForShownBar(bar);
    ASSERT_TRUE(window);
    const LONG width = WindowRect(window).right - WindowRect(window).left;
    Folder().WriteIni(Ini(Notepads(4), "AutoRed=0\r\n"));
    ScriptRun run = RunScript(Folder(), L"/reload");
    EXPECT_EQ(run.ExitCode, 0u) << run.Output;
    EXPECT_TRUE(WaitFor(Ms(5000), [&] {
        return WindowRect(window).right - WindowRect(window).left == width + 2 * 22;
    })) << LogTail();

    MoveMouseAndStay(kAway.x, kAway.y);
    run = RunScript(Folder(), L"/menu");
    EXPECT_EQ(run.ExitCode, 0u) << run.Output;
    HWND menu = WaitForWindow(bar.Id(), L"#32768", nullptr, Ms(5000));
    ASSERT_TRUE(menu) << LogTail();
    const RECT m = WindowRect(menu);
    EXPECT_TRUE(m.left <= kAway.x + 2 && m.left >= kAway.x - 300 && m.top <= kAway.y + 2)
        << Describe(m);
    PostMessageW(window, WM_CANCELMODE, 0, 0);
}

}  // namespace
}  // namespace zorv::e2e
