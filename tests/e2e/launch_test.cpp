// Clicking the bar's buttons: a button starts its program with its
// arguments, working folder, window state and priority, opens a document or
// a URL through its associated program, reports a missing program in the
// configured language, and brings running instances to the front in turn.
// The started program is our probe (tests/e2e/probe), which writes down how
// it was started; the clicks are real mouse input.
#include <algorithm>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

class Launch : public ZorvE2E {
  protected:
    void SetUp() override {
        ZorvE2E::SetUp();
        // The probe lives in a folder with a blank in its name, as programs
        // under "Program Files" do.
        probes_ = std::make_unique<Probes>(Folder().Root() / L"Probe Tools" / L"zorv_probe.exe",
                                           Folder().Root() / L"probe records");
    }
    void TearDown() override {
        probes_.reset();
        ZorvE2E::TearDown();
    }

    std::string Probe() const { return Narrow(probes_->Exe().wstring()); }

    // Clicks the middle of button `index` of the bar. A release right after a
    // start does not start again (a double click), so a click waits until
    // that guard of the one before is over.
    void Click(HWND bar, int index, DWORD downFlag = MOUSEEVENTF_LEFTDOWN) {
        while (NowMs() - lastClick_ < 700) Sleep(20);
        const RECT r = WindowRect(bar);
        ASSERT_TRUE(ClickAt(r.left + 22 * index + 10, r.top + 10, downFlag));
        lastClick_ = NowMs();
    }

    std::unique_ptr<Probes> probes_;
    double lastClick_ = 0;
};

TEST_F(Launch, Buttons_StartTheirProgramsDocumentsAndUrls_AsTheItemsSay) {
    const fs::path work = Folder().Root() / L"work dir";
    fs::create_directories(work);
    const std::string workDir = Narrow(work.wstring()),
                      probeDir = Narrow(probes_->Exe().parent_path().wstring());
    ClassesKey ext(L".zorvdoc");
    ext.Set(L"", L"", L"ZorvProbe.Document");
    ClassesKey type(L"ZorvProbe.Document");
    type.Set(L"shell\\open\\command", L"", L"\"" + probes_->Exe().wstring() + L"\" \"%1\"");
    // A scheme the system does not know yet, so the probe is its only handler.
    ClassesKey news(L"nntp");
    news.Set(L"", L"", L"URL:News Protocol");
    news.Set(L"", L"URL Protocol", L"");
    news.Set(L"shell\\open\\command", L"", L"\"" + probes_->Exe().wstring() + L"\" \"%1\"");
    const fs::path doc = Folder().Root() / L"My Documents" / L"letter one.zorvdoc";
    fs::create_directories(doc.parent_path());
    WriteWholeFile(doc, "Dear probe,\r\n");
    const std::string url = "nntp://news.example.invalid/zorv.test";
    const std::string quoted = "\"" + Probe() + "\"";

    const struct {
        Button button;
        std::vector<std::string> args;
        std::string cwd;  // "": not judged
        int show;         // -2: not judged
        unsigned prio;    // 0: not judged
        BOOL(WINAPI* state)(HWND);
    } cases[] = {
        {{"Quoted", quoted + " --title=Alpha one \"two words\"", "**3", workDir, 0, 3, 3},
         {"--title=Alpha", "one", "two words"},
         workDir,
         SW_MAXIMIZE,
         ABOVE_NORMAL_PRIORITY_CLASS,
         IsZoomed},
        // An unquoted path with blanks is split after ".exe "; Prio -1 is
        // normal, and without a working folder the program runs in its own.
        {{"Unquoted", Probe() + " -x /y", "**3", "", 0, 2, -1},
         {"-x", "/y"},
         probeDir,
         SW_SHOWMINIMIZED,
         NORMAL_PRIORITY_CLASS,
         IsIconic},
        {{"Idle", quoted, "**3", workDir, 0, 1, 0},
         {},
         workDir,
         SW_SHOWNORMAL,
         IDLE_PRIORITY_CLASS,
         nullptr},
        // A program that decides its own window state still ends up as the
        // item says when the state is forced (Style 100 + state).
        {{"Min", quoted + " --show-normal", "**3", "", 0, 102},
         {"--show-normal"},
         "",
         -2,
         0,
         IsIconic},
        {{"Max", quoted + " --show-normal", "**3", "", 0, 103},
         {"--show-normal"},
         "",
         -2,
         0,
         IsZoomed},
        {{"Letter", Narrow(doc.wstring())}, {Narrow(doc.wstring())}, "", -2, 0, nullptr},
        {{"News", url}, {url}, "", -2, 0, nullptr},
    };
    std::vector<Button> buttons;
    for (const auto& c : cases) buttons.push_back(c.button);
    HWND bar = StartBar(Ini(buttons, "AutoRed=0\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button.Desc);
        const int index = static_cast<int>(&c - cases);
        Click(bar, index);
        // The idle one is started by a double click, which starts it once.
        if (c.button.Desc == "Idle") {
            Sleep(130);
            ClickHere(MOUSEEVENTF_LEFTDOWN, 20);
        }
        const std::optional<ProbeRecord> r = probes_->Next();
        ASSERT_TRUE(r) << "nothing started" << LogTail();
        EXPECT_EQ(r->Args, c.args) << r->CmdLine;
        EXPECT_TRUE(c.cwd.empty() || SamePath(r->Cwd, c.cwd)) << r->Cwd;
        EXPECT_TRUE(c.show == -2 || r->ShowCmd == c.show) << r->ShowCmd;
        EXPECT_TRUE(!c.prio || r->Priority == c.prio) << std::hex << r->Priority;
        if (!c.state) continue;
        HWND w = Probes::WindowOf(r->Pid);
        ASSERT_TRUE(w);
        EXPECT_TRUE(WaitFor([&] { return c.state(w) != FALSE; }, Ms(5000))) << LogTail();
    }
    EXPECT_FALSE(probes_->Next(0, Ms(1000))) << "a click started twice";
}

TEST_F(Launch, MissingProgram_IsReportedInTheConfiguredLanguage_AndTheBarStaysUsable) {
    const std::string missing = "C:\\no such folder\\missing.exe", noDrive = "Q:\\tools\\gone.exe";
    const struct {
        const char* language;
        const wchar_t *notFound, *driveMissing;
    } languages[] = {
        {"1", L"Programm nicht gefunden:", L"Laufwerk Q: nicht gefunden zum starten von "},
        {"2", L"Program not found:", L"Drive Q: not found for executing "},
    };
    for (const auto& lang : languages) {
        SCOPED_TRACE(lang.language);
        HWND bar = StartBar(
            Ini({{"Missing", missing}, {"No drive", noDrive}, {"Probe", "\"" + Probe() + "\""}},
                std::string("AutoRed=0\r\nForcedLanguage=") + lang.language + "\r\n"));
        ASSERT_TRUE(bar) << "the bar did not appear";
        for (int button : {0, 1}) {
            Click(bar, button);
            HWND box = WaitForMessageBox(Last());
            ASSERT_TRUE(box) << LogTail();
            const std::wstring text = MessageBoxText(box);
            const std::string& path = button == 0 ? missing : noDrive;
            EXPECT_TRUE(text.starts_with(button == 0 ? lang.notFound : lang.driveMissing))
                << Narrow(text);
            EXPECT_NE(text.find(std::wstring(path.begin(), path.end())), std::wstring::npos);
            EXPECT_TRUE(ShowsIcon(box, IconColour::Amber));
            EXPECT_TRUE(PressOk(box));
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, Ms(5000)));
        }
        Click(bar, 2);
        EXPECT_TRUE(probes_->Next()) << "the bar did not start the probe afterwards";
        Last().Terminate();
    }
}

// A window of the test itself, put in front of everything.
class OtherWindow {
  public:
    OtherWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZorvE2EOtherWork";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"Other work", WS_OVERLAPPEDWINDOW, 200, 200,
                                  500, 300, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(window_, SW_SHOW);
    }
    ~OtherWindow() { DestroyWindow(window_); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    bool BringToFront() {
        return WaitFor([&] { return SetForegroundWindow(window_), Foreground() == window_; },
                       Ms(5000), Ms(50));
    }
    // The foreground window, after this thread answered what it was sent.
    static HWND Foreground() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return GetForegroundWindow();
    }

  private:
    HWND window_ = nullptr;
};

// Activate=1: a click brings a running instance to the front instead of
// starting one; clicks in a row go through all of them in turn. A right
// click starts another instance anyway.
TEST_F(Launch, Activate_BringsRunningInstancesToTheFrontInTurn_RightClickStartsAnother) {
    HWND bar = StartBar(Ini({{"Probe", "\"" + Probe() + "\"", "**3", "", 1}}, "AutoRed=0\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    OtherWindow other;
    std::vector<HWND> windows;
    for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTDOWN}) {
        Click(bar, 0, flag);
        const std::optional<ProbeRecord> r = probes_->Next();
        ASSERT_TRUE(r) << "instance " << windows.size() + 1 << " was not started" << LogTail();
        windows.push_back(Probes::WindowOf(r->Pid));
        ASSERT_TRUE(windows.back());
        if (windows.size() > 1) continue;
        ASSERT_TRUE(other.BringToFront());
        Click(bar, 0);
        EXPECT_TRUE(WaitFor([&] { return OtherWindow::Foreground() == windows[0]; }, Ms(5000)))
            << LogTail();
    }

    ASSERT_TRUE(other.BringToFront());
    std::vector<HWND> activated;
    for (int click = 0; click < 4; ++click) {
        Click(bar, 0);
        HWND now = nullptr;
        WaitFor(
            [&] {
                now = OtherWindow::Foreground();
                return std::count(windows.begin(), windows.end(), now) &&
                       (activated.empty() || now != activated.back());
            },
            Ms(4000));
        activated.push_back(now);
    }
    EXPECT_FALSE(probes_->Next(0, Ms(500))) << "a left click started an instance";
    std::vector<HWND> firstThree(activated.begin(), activated.begin() + 3), all = windows;
    std::sort(firstThree.begin(), firstThree.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(firstThree, all) << "three clicks activate the three instances";
    EXPECT_EQ(activated[3], activated[0]) << "the fourth click returns to the first" << LogTail();
}

}  // namespace
}  // namespace zorv::e2e
