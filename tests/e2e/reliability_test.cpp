// What must survive bad luck: a backup that cannot be written, a configuration
// file locked while the bar starts, the long values of the older settings
// store; a program that stopped answering, a release off the bar, a start
// that fails after Zorv.dll accepted it.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

using SafeSaving = ZorvE2E;

// Without a stored face colour the bar saves about a second after it shows.
const std::string kOneButton = Ini({Button("Editor", "notepad.exe")});

// Closes the bar as the user's Exit would and waits for the process to end.
bool CloseBar(const Process& p) {
    HWND bar = FindBarOf(p.Id());
    return bar && PostMessageW(bar, WM_CLOSE, 0, 0) && p.WaitExit(Ms(10000)).has_value();
}

TEST_F(SafeSaving, ABackupThatCannotBeWritten_DoesNotStopTheSave) {
    const fs::path dir = Folder().Path();
    fs::create_directory(dir / L"ZorvPanel-bak.ini");  // a folder where the backup goes
    Folder().WriteIni(kOneButton);
    Process& p = Start();
    std::string written;
    EXPECT_TRUE(WaitFor(Ms(10000), [&] {
        written = ReadWholeFile(Folder().IniFile()).value_or("");
        return written.find("LastColor3DFace=") != std::string::npos;
    })) << "not saved" << LogTail();
    EXPECT_NE(written.find("Desc=Editor"), std::string::npos) << written;
    EXPECT_FALSE(WaitForMessageBox(p, Ms(1000))) << "a message box for the backup";
    EXPECT_TRUE(fs::is_directory(dir / L"ZorvPanel-bak.ini"));
}

TEST_F(SafeSaving, AFileLockedAtStart_IsNeverWrittenOver) {
    Folder().WriteIni(kOneButton);
    // Another program holds the file while the bar reads it, and lets go
    // before the bar's first save.
    HANDLE lock = CreateFileW(Folder().IniFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Process& p = Start();
    const bool shown = WaitForShownBar(p);
    CloseHandle(lock);
    ASSERT_TRUE(shown);
    // Whether the save comes from the timer or from closing, none may reach the file.
    ASSERT_TRUE(CloseBar(p));
    EXPECT_EQ(ReadWholeFile(Folder().IniFile()), kOneButton) << "written over";
    EXPECT_FALSE(fs::exists(Folder().Path() / L"ZorvPanel-bak.ini"));
}

// The older store: HKCU\Software\VB and VBA Program Settings\Zorv, removed after.
class OldStore {
  public:
    OldStore() { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    ~OldStore() { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    OldStore(const OldStore&) = delete;
    OldStore& operator=(const OldStore&) = delete;
    void Set(const std::wstring& section, const wchar_t* name, const std::wstring& value) {
        const std::wstring key = std::wstring(kKey) + L"\\" + section;
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value.c_str(),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
    }

  private:
    static constexpr wchar_t kKey[] = L"Software\\VB and VBA Program Settings\\Zorv";
};

TEST_F(SafeSaving, FirstStart_TakesOverTheOlderStore_LongValuesIncluded) {
    OldStore store;
    const std::wstring longText(6000, L'x');
    store.Set(L"Bar", L"01", L"Editor| notepad.exe| | 0| | 1");
    store.Set(L"ClpMenu", L"01", L"Long| " + longText + L"//*CrLf*//end");
    store.Set(L"ClpMenu", L"02", L"Short| hello");
    Process& p = Start();
    ASSERT_TRUE(WaitForShownBar(p));
    std::string written;
    EXPECT_TRUE(WaitFor(Ms(10000), [&] {
        written = ReadWholeFile(Folder().IniFile()).value_or("");
        return written.find("[Settings]") != std::string::npos;
    })) << LogTail();
    EXPECT_NE(written.find("Desc=Editor\r\nPath=notepad.exe\r\n"), std::string::npos);
    EXPECT_NE(written.find("Desc=Long\r\nText=" + std::string(6000, 'x') + "\r\nText=end\r\n"),
              std::string::npos);
    EXPECT_NE(written.find("Desc=Short\r\nText=hello\r\n"), std::string::npos);
}

class BadLuck : public ZorvE2E {
  protected:
    Probes probes_{Folder().Root() / L"Probe" / L"zorv_probe.exe", Folder().Root() / L"records"};
    const std::string probe_ = "\"" + Narrow(probes_.Exe().wstring()) + "\"";

    // Presses button `index`, moves to `to` and releases there.
    static bool Press(HWND bar, int index, POINT to = {-1, -1}) {
        const RECT r = WindowRect(bar);
        const POINT at{r.left + 22 * index + 10, r.top + 10};
        if (to.x < 0) to = at;
        INPUT in{INPUT_MOUSE, {{0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}};
        const bool down = MoveMouseAndStay(at.x, at.y) && SendInput(1, &in, sizeof in);
        Sleep(30);
        in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        return down && MoveMouseAndStay(to.x, to.y) && SendInput(1, &in, sizeof in) &&
               (Sleep(700), true);  // past the guard against a double click
    }
};

// A minimized program that stopped answering: clicks on its Activate=1 button
// must not hold the bar, the next button starts its program at once.
TEST_F(BadLuck, AProgramThatStoppedAnswering_DoesNotHoldTheBar) {
    const fs::path hangs = probes_.Exe().parent_path() / L"zorv_hang.exe";
    fs::copy_file(probes_.Exe(), hangs);
    HWND bar = StartBar(Ini({{"Hung", Narrow(hangs.wstring()), "**3", "", 1}, {"Next", probe_}}));
    ASSERT_TRUE(bar);
    ASSERT_TRUE(Press(bar, 0));
    const std::optional<ProbeRecord> hung = probes_.Next();
    ASSERT_TRUE(hung);
    ASSERT_TRUE(WaitFor(Ms(10000), [&] {
        const std::vector<HWND> w = TopLevelWindows(hung->Pid, L"Static");
        return !w.empty() && IsIconic(w[0]);
    }));
    ASSERT_TRUE(Press(bar, 0) && Press(bar, 0) && Press(bar, 1));
    // A bar held by the hung window would not start anything for good.
    const std::optional<ProbeRecord> next = probes_.Next(0, Ms(5000));
    ASSERT_TRUE(next) << "the bar is stuck" << LogTail();
    EXPECT_EQ(next->CmdLine.find("hang"), std::string::npos) << "a second instance started";
}

// A desktop runs hundreds of processes; one that started late is found all the same.
TEST_F(BadLuck, AmongHundredsOfProcesses_ARunningProgramIsStillActivated) {
    struct Crowd : std::vector<PROCESS_INFORMATION> {  // suspended copies: listed, never running
        ~Crowd() {
            for (auto& pi : *this)
                TerminateProcess(pi.hProcess, 0), CloseHandle(pi.hProcess), CloseHandle(pi.hThread);
        }
    } crowd;
    for (int i = 0; i < 230; ++i) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring cmd = L"\"" + probes_.Exe().wstring() + L"\" --crowd";
        if (CreateProcessW(probes_.Exe().c_str(), cmd.data(), nullptr, nullptr, FALSE,
                           CREATE_SUSPENDED, nullptr, nullptr, &si, &pi))
            crowd.push_back(pi);
    }
    ASSERT_GE(crowd.size(), 220u);
    HWND bar = StartBar(Ini({{"Probe", probe_, "**3", "", 1}}));
    ASSERT_TRUE(bar && Press(bar, 0));
    const std::optional<ProbeRecord> first = probes_.Next();
    ASSERT_TRUE(first);
    HWND window = Probes::WindowOf(first->Pid);
    ASSERT_TRUE(window && Activate(probes_.Open(L"--title=Other")));
    ASSERT_TRUE(Press(bar, 0));
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return GetForegroundWindow() == window; })) << LogTail();
    EXPECT_FALSE(probes_.Next(0, Ms(1000))) << "a second copy started";
}

// The press ends wherever the button is released: released below the bar,
// the cell looks like its unpressed twin again and nothing starts.
TEST_F(BadLuck, AReleaseOffTheBar_EndsThePressWithoutAStart) {
    HWND bar = StartBar(Ini({{"Probe", probe_}, {"Twin", probe_}}));
    ASSERT_TRUE(bar);
    const RECT r = WindowRect(bar);
    const auto cell = [&](int i) { return GrabScreen({r.left + 22 * i, r.top, r.left + 22 * i + 22, r.bottom}).Px; };
    ASSERT_TRUE(Press(bar, 0, {r.left + 10, r.bottom + 150}));
    EXPECT_TRUE(WaitFor(Ms(3000), [&] { return cell(0) == cell(1); }))
        << "the cell stays drawn pressed" << LogTail();
    EXPECT_FALSE(probes_.Next(0, Ms(1000))) << "a release off the bar started the program";
    ASSERT_TRUE(Press(bar, 0));
    EXPECT_TRUE(probes_.Next()) << "the bar takes no click after that";
}

// Zorv.dll accepts a start through the shell, which then fails in its worker:
// the user hears of it as of any failed start.
TEST_F(BadLuck, AShellStartThatFailsLater_ShowsErrorExecuting) {
    HWND bar = StartBar(Ini({{"Site", "ftp.zorv.invalid"}}, "ForcedLanguage=2\r\n"));
    ASSERT_TRUE(bar);
    ASSERT_TRUE(Press(bar, 0));
    HWND box = WaitForMessageBox(Last());
    ASSERT_TRUE(box) << LogTail();
    EXPECT_TRUE(MessageBoxText(box).starts_with(L"Error executing 'ftp.zorv.invalid'\r\n"))
        << Narrow(MessageBoxText(box));
    EXPECT_TRUE(ShowsIcon(box, IconColour::Amber));
}

}  // namespace
}  // namespace zorv::e2e
