// Clicking the bar's buttons: a button starts its program with its
// arguments, working folder, window state and priority, opens a document or
// a URL through its associated program, reports a missing program in the
// configured language, brings a running instance to the front and cycles
// through several. The started program is our probe (tests/e2e/probe), which
// writes down how it was started; the clicks are real mouse input.
#include <algorithm>
#include <map>
#include <set>

#include "support/probe.h"
#include "support/screen_input.h"
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr POINT kAway = {640, 500};
constexpr int kButtonWidth = 22;

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += static_cast<char>(c < 0x80 ? c : '?');
    return s;
}

struct ButtonItem {
    std::string Desc, Path, WrkDir;
    int Activate = 0;
    std::string Title;
    int Style = 1;
    int Prio = 2;
};

std::string Ini(const std::vector<ButtonItem>& buttons, std::string_view settings = "") {
    std::string s = "; ZorvPanel V0.01\r\n\r\n\r\n";
    for (const ButtonItem& b : buttons) {
        s += "[Button]\r\nDesc=" + b.Desc + "\r\nPath=" + b.Path + "\r\nWrkDir=" + b.WrkDir +
             "\r\nUserType=0\r\nIcon=**3\r\nActivate=" + std::to_string(b.Activate) +
             "\r\nTitle=" + b.Title + "\r\nStyle=" + std::to_string(b.Style) +
             "\r\nPrio=" + std::to_string(b.Prio) + "\r\nHotkey=0\r\n\r\n";
    }
    s += "[Settings]\r\n\r\nLogLevel=6\r\nWriteLogfile=1\r\nAutoRed=0\r\n";
    s.append(settings);
    return s;
}

// A file type or URL scheme of the test: written to HKCU\Software\Classes,
// and, where the system does not merge that into HKEY_CLASSES_ROOT (Wine),
// to HKEY_CLASSES_ROOT as well. Both are removed when the test ends.
class ClassesKey {
  public:
    explicit ClassesKey(std::wstring key) : key_(std::move(key)) {}
    ~ClassesKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key_).c_str());
        if (machineToo_) RegDeleteTreeW(HKEY_CLASSES_ROOT, key_.c_str());
    }
    ClassesKey(const ClassesKey&) = delete;
    ClassesKey& operator=(const ClassesKey&) = delete;

    void Set(const std::wstring& subKey, const std::wstring& name, const std::wstring& value) {
        const std::wstring rel = subKey.empty() ? key_ : key_ + L"\\" + subKey;
        Write(HKEY_CURRENT_USER, L"Software\\Classes\\" + rel, name, value);
        HKEY seen = nullptr;
        if (!machineToo_ &&
            RegOpenKeyExW(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_READ, &seen) == ERROR_SUCCESS) {
            RegCloseKey(seen);
            return;
        }
        machineToo_ = true;
        Write(HKEY_CLASSES_ROOT, rel, name, value);
    }

  private:
    static void Write(HKEY root, const std::wstring& path, const std::wstring& name,
                      const std::wstring& value) {
        HKEY k = nullptr;
        ASSERT_EQ(
            RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
            ERROR_SUCCESS);
        RegSetValueExW(k, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
    }

    std::wstring key_;
    bool machineToo_ = false;
};

class Launch : public ZorvE2E {
  protected:
    void SetUp() override {
        MoveMouseAndStay(kAway.x, kAway.y);
        ZorvE2E::SetUp();
        records_ = Folder().Root() / L"probe records";
        fs::create_directories(records_);
        // The probe lives in a folder with a blank in its name, as programs
        // under "Program Files" do.
        fs::create_directories(Folder().Root() / L"Probe Tools");
        fs::copy_file(ExeFolder() / L"zorv_probe.exe", ProbeExe());
        // Started programs inherit the bar's environment, which it inherits
        // from here: the probe writes its records where this test reads them.
        SetEnvironmentVariableW(L"ZORV_PROBE_DIR", records_.c_str());
    }
    void TearDown() override {
        EndProbes(records_);
        SetEnvironmentVariableW(L"ZORV_PROBE_DIR", nullptr);
        MoveMouseAndStay(kAway.x, kAway.y);
    }

    fs::path ProbeExe() { return Folder().Root() / L"Probe Tools" / L"zorv_probe.exe"; }
    std::string Probe() { return Narrow(ProbeExe().wstring()); }

    HWND StartBar(const std::vector<ButtonItem>& buttons, std::string_view settings = "") {
        Folder().WriteIni(Ini(buttons, settings));
        bar_ = WaitForShownBar(Start(L"noau nostart"));
        return bar_;
    }

    // Clicks the middle of button `index` of the bar.
    void ClickButton(int index, DWORD downFlag = MOUSEEVENTF_LEFTDOWN) {
        const RECT r = WindowRect(bar_);
        ASSERT_TRUE(ClickAt(r.left + kButtonWidth * index + 10, r.top + 10, downFlag));
        lastClick_ = NowMs();
    }

    // A release right after a start does not start again (a double click):
    // a test that means a second click waits until that guard is over.
    void PauseAfterClick() {
        while (NowMs() - lastClick_ < 700) Sleep(20);
    }

    std::vector<ProbeRecord> Records() { return ProbeRecords(records_); }

    bool WaitForRecords(size_t count, Ms timeout = Ms(15000)) {
        return WaitFor([&] { return Records().size() >= count; }, timeout, Ms(50));
    }

    static HWND WaitForProbeWindow(DWORD pid) {
        HWND found = nullptr;
        WaitFor([&] { return (found = ProbeWindowOf(pid)) != nullptr; }, Ms(10000));
        return found;
    }

    fs::path records_;
    HWND bar_ = nullptr;
    double lastClick_ = 0;
};

TEST_F(Launch, Button_StartsProgramWithArgumentsWorkingFolderStateAndPriority) {
    const fs::path work = Folder().Root() / L"work dir";
    fs::create_directories(work);
    const std::string workDir = Narrow(work.wstring());
    ASSERT_TRUE(StartBar({
        {"Quoted", "\"" + Probe() + "\" --title=Alpha one \"two words\"", workDir, 0, "", 3, 3},
        {"Unquoted", Probe() + " -x /y", "", 0, "", 2, -1},
        {"Idle", "\"" + Probe() + "\"", workDir, 0, "", 1, 0},
    }));

    ClickButton(0);
    ASSERT_TRUE(WaitForRecords(1)) << LogTail();
    ProbeRecord r = Records().at(0);
    EXPECT_EQ(r.Args, (std::vector<std::string>{"--title=Alpha", "one", "two words"}));
    EXPECT_TRUE(SamePath(r.Cwd, workDir)) << r.Cwd;
    EXPECT_EQ(r.ShowCmd, SW_MAXIMIZE);
    EXPECT_EQ(r.Priority, static_cast<unsigned>(ABOVE_NORMAL_PRIORITY_CLASS));
    HWND w = WaitForProbeWindow(r.Pid);
    ASSERT_TRUE(w);
    EXPECT_EQ(WindowText(w), L"Alpha");
    EXPECT_TRUE(IsZoomed(w));

    // An unquoted path with blanks is split after ".exe "; Prio -1 is normal,
    // and without a working folder the program runs in its own folder.
    PauseAfterClick();
    ClickButton(1);
    ASSERT_TRUE(WaitForRecords(2)) << LogTail();
    for (const ProbeRecord& rec : Records()) {
        if (rec.Pid == r.Pid) continue;
        EXPECT_EQ(rec.Args, (std::vector<std::string>{"-x", "/y"}));
        EXPECT_EQ(rec.ShowCmd, SW_SHOWMINIMIZED);
        EXPECT_EQ(rec.Priority, static_cast<unsigned>(NORMAL_PRIORITY_CLASS));
        EXPECT_TRUE(SamePath(rec.Cwd, Narrow(ProbeExe().parent_path().wstring()))) << rec.Cwd;
        HWND m = WaitForProbeWindow(rec.Pid);
        ASSERT_TRUE(m);
        EXPECT_TRUE(WaitFor([&] { return IsIconic(m) != FALSE; }, Ms(3000)));
    }

    PauseAfterClick();
    ClickButton(2);
    ASSERT_TRUE(WaitForRecords(3)) << LogTail();
    size_t idle = 0;
    for (const ProbeRecord& rec : Records()) {
        if (rec.Priority == IDLE_PRIORITY_CLASS && rec.Args.empty()) ++idle;
    }
    EXPECT_EQ(idle, 1u);
}

// A program that decides its own window state (the probe with
// --show-normal) still ends up as the item says when the state is forced
// (Style 100 + state): minimized with 102, maximized with 103.
TEST_F(Launch, ForcedWindowState_IsAppliedToTheStartedProgramsWindow) {
    ASSERT_TRUE(StartBar({{"Min", "\"" + Probe() + "\" --show-normal", "", 0, "", 102, 2},
                          {"Max", "\"" + Probe() + "\" --show-normal", "", 0, "", 103, 2}}));
    const struct {
        int button;
        BOOL (*state)(HWND);
        const char* name;
    } cases[] = {{0, IsIconic, "minimized"}, {1, IsZoomed, "maximized"}};
    for (const auto& c : cases) {
        std::set<DWORD> earlier;
        for (const ProbeRecord& r : Records()) earlier.insert(r.Pid);
        PauseAfterClick();
        ClickButton(c.button);
        ASSERT_TRUE(WaitForRecords(earlier.size() + 1)) << LogTail();
        DWORD pid = 0;
        for (const ProbeRecord& r : Records()) {
            if (!earlier.count(r.Pid)) pid = r.Pid;
        }
        HWND w = WaitForProbeWindow(pid);
        ASSERT_TRUE(w) << c.name;
        EXPECT_TRUE(WaitFor([&] { return c.state(w) != FALSE; }, Ms(5000)))
            << "not " << c.name << LogTail();
    }
}

TEST_F(Launch, Document_OpensInItsAssociatedProgram_AndUrlGoesThroughTheShell) {
    ClassesKey ext(L".zorvdoc");
    ext.Set(L"", L"", L"ZorvProbe.Document");
    ClassesKey type(L"ZorvProbe.Document");
    type.Set(L"shell\\open\\command", L"", L"\"" + ProbeExe().wstring() + L"\" \"%1\"");
    // A scheme the system does not know yet, so the probe is its only handler.
    ClassesKey news(L"nntp");
    news.Set(L"", L"", L"URL:News Protocol");
    news.Set(L"", L"URL Protocol", L"");
    news.Set(L"shell\\open\\command", L"", L"\"" + ProbeExe().wstring() + L"\" \"%1\"");
    const fs::path docs = Folder().Root() / L"My Documents";
    fs::create_directories(docs);
    const fs::path doc = docs / L"letter one.zorvdoc";
    WriteWholeFile(doc, "Dear probe,\r\n");
    const std::string url = "nntp://news.example.invalid/zorv.test";
    ASSERT_TRUE(StartBar(
        {{"Letter", Narrow(doc.wstring()), "", 0, "", 1, 2}, {"News", url, "", 0, "", 1, 2}}));

    ClickButton(0);
    ASSERT_TRUE(WaitForRecords(1)) << LogTail();
    EXPECT_EQ(Records().at(0).Args, std::vector<std::string>{Narrow(doc.wstring())})
        << Records().at(0).CmdLine;

    PauseAfterClick();
    ClickButton(1);
    ASSERT_TRUE(WaitForRecords(2)) << LogTail();
    bool urlSeen = false;
    for (const ProbeRecord& r : Records()) urlSeen |= r.Args == std::vector<std::string>{url};
    EXPECT_TRUE(urlSeen) << LogTail();
}

TEST_F(Launch, MissingProgram_IsReportedInTheConfiguredLanguage_AndTheBarStaysUsable) {
    const std::string missing = "C:\\no such folder\\missing.exe";
    const std::string noDrive = "Q:\\tools\\gone.exe";
    const struct {
        const char* language;
        const wchar_t* notFound;
        const wchar_t* driveMissing;
    } languages[] = {
        {"1", L"Programm nicht gefunden:", L"Laufwerk Q: nicht gefunden zum starten von "},
        {"2", L"Program not found:", L"Drive Q: not found for executing "},
    };
    for (const auto& lang : languages) {
        SCOPED_TRACE(lang.language);
        Folder().WriteIni(Ini({{"Missing", missing, "", 0, "", 1, 2},
                               {"No drive", noDrive, "", 0, "", 1, 2},
                               {"Probe", "\"" + Probe() + "\"", "", 0, "", 1, 2}},
                              std::string("ForcedLanguage=") + lang.language + "\r\n"));
        Process& p = Start(L"noau nostart");
        bar_ = WaitForShownBar(p);
        ASSERT_TRUE(bar_);
        const size_t before = Records().size();

        for (int button : {0, 1}) {
            ClickButton(button);
            HWND box = WaitForMessageBox(p);
            ASSERT_TRUE(box) << LogTail();
            const std::wstring text = MessageBoxText(box);
            const std::wstring want = button == 0 ? lang.notFound : lang.driveMissing;
            EXPECT_EQ(text.rfind(want, 0), 0u) << Narrow(text);
            const std::string& path = button == 0 ? missing : noDrive;
            EXPECT_NE(text.find(std::wstring(path.begin(), path.end())), std::wstring::npos);
            EXPECT_TRUE(ShowsExclamationIcon(box));
            EXPECT_TRUE(PressOk(box));
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, Ms(5000)));
        }
        ClickButton(2);
        EXPECT_TRUE(WaitForRecords(before + 1)) << "the bar did not start the probe afterwards";
        p.Terminate();
    }
}

class ForegroundWindow {
  public:
    // A plain captioned window of the test itself, put in front of everything.
    ForegroundWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZorvE2EForeground";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"Other work", WS_OVERLAPPEDWINDOW, 200, 200,
                                  500, 300, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(window_, SW_SHOW);
    }
    ~ForegroundWindow() { DestroyWindow(window_); }
    ForegroundWindow(const ForegroundWindow&) = delete;
    ForegroundWindow& operator=(const ForegroundWindow&) = delete;

    bool BringToFront() {
        return WaitFor(
            [&] {
                Pump();
                SetForegroundWindow(window_);
                return GetForegroundWindow() == window_;
            },
            Ms(5000), Ms(50));
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }

  private:
    HWND window_ = nullptr;
};

bool WaitForForeground(HWND window) {
    return WaitFor(
        [&] {
            ForegroundWindow::Pump();
            return GetForegroundWindow() == window;
        },
        Ms(5000), Ms(20));
}

TEST_F(Launch, Activate_SecondClickBringsTheRunningProgramBack_RightClickStartsAnother) {
    ASSERT_TRUE(StartBar({{"Probe", "\"" + Probe() + "\"", "", 1, "", 1, 2}}));
    ForegroundWindow other;

    ClickButton(0);
    ASSERT_TRUE(WaitForRecords(1)) << LogTail();
    HWND probe = WaitForProbeWindow(Records().at(0).Pid);
    ASSERT_TRUE(probe);
    PauseAfterClick();

    ASSERT_TRUE(other.BringToFront());
    ClickButton(0);
    EXPECT_TRUE(WaitForForeground(probe)) << LogTail();
    PauseAfterClick();
    EXPECT_EQ(Records().size(), 1u) << "a second instance was started";

    ClickButton(0, MOUSEEVENTF_RIGHTDOWN);
    EXPECT_TRUE(WaitForRecords(2)) << "a right click starts a new instance\n" << LogTail();
}

TEST_F(Launch, Activate_CyclesThroughThreeRunningInstancesInOrder) {
    std::vector<std::unique_ptr<Process>> probes;
    std::vector<HWND> windows;
    for (int i = 1; i <= 3; ++i) {
        probes.push_back(std::make_unique<Process>(
            ProbeExe(), L"--title=Instance" + std::to_wstring(i), Folder().Cwd()));
        HWND w = WaitForProbeWindow(probes.back()->Id());
        ASSERT_TRUE(w);
        windows.push_back(w);
    }
    ASSERT_TRUE(StartBar({{"Probe", "\"" + Probe() + "\"", "", 1, "", 1, 2}}));
    ForegroundWindow other;
    ASSERT_TRUE(other.BringToFront());
    const size_t started = Records().size();  // the three instances' own

    std::vector<HWND> activated;
    for (int click = 0; click < 4; ++click) {
        ClickButton(0);
        HWND now = nullptr;
        WaitFor(
            [&] {
                ForegroundWindow::Pump();
                now = GetForegroundWindow();
                return std::find(windows.begin(), windows.end(), now) != windows.end() &&
                       (activated.empty() || now != activated.back());
            },
            Ms(4000), Ms(20));
        activated.push_back(now);
    }
    EXPECT_EQ(Records().size(), started) << "nothing may be started";
    ASSERT_EQ(activated.size(), 4u);
    std::vector<HWND> firstThree(activated.begin(), activated.begin() + 3);
    std::sort(firstThree.begin(), firstThree.end());
    std::vector<HWND> all = windows;
    std::sort(all.begin(), all.end());
    EXPECT_EQ(firstThree, all) << "three clicks activate the three instances";
    EXPECT_EQ(activated[3], activated[0]) << "the fourth click returns to the first" << LogTail();
}

TEST_F(Launch, DoubleClick_StartsOnce) {
    ASSERT_TRUE(StartBar({{"Probe", "\"" + Probe() + "\"", "", 0, "", 1, 2}}));
    const RECT r = WindowRect(bar_);
    ASSERT_TRUE(MoveMouseAndStay(r.left + 10, r.top + 10));
    ClickHere(MOUSEEVENTF_LEFTDOWN, 20);
    Sleep(130);
    ClickHere(MOUSEEVENTF_LEFTDOWN, 20);
    ASSERT_TRUE(WaitForRecords(1)) << LogTail();
    EXPECT_FALSE(WaitForRecords(2, Ms(2000))) << "a double click started twice";
}

}  // namespace
}  // namespace zorv::e2e
