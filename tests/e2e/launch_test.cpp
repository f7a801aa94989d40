// Clicking the bar's buttons: a button starts its program with its
// arguments, working folder, window state and priority, opens a document or
// a URL through its associated program, reports a missing program in the
// configured language, and brings running instances to the front in turn.
// The started program is our probe (tests/e2e/probe), which writes down how
// it was started; the clicks are real mouse input.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

class Launch : public ZorvE2E {
  protected:
    // The probe lives in a folder with a blank in its name, as programs
    // under "Program Files" do.
    Probes probes_{Folder().Root() / L"Probe Tools" / L"zorv_probe.exe",
                   Folder().Root() / L"probe records"};
    const std::string probe_ = Narrow(probes_.Exe().wstring());
    const std::string quoted_ = "\"" + probe_ + "\"";
    double lastClick_ = 0;

    // Clicks the middle of button `index` of the bar. A release right after a
    // start does not start again (a double click), so a click waits until
    // that guard of the one before is over.
    void Click(HWND bar, int index, DWORD downFlag = MOUSEEVENTF_LEFTDOWN) {
        while (NowMs() - lastClick_ < 700) Sleep(20);
        const RECT r = WindowRect(bar);
        ASSERT_TRUE(ClickAt(r.left + 22 * index + 10, r.top + 10, downFlag));
        lastClick_ = NowMs();
    }
};

TEST_F(Launch, Buttons_StartTheirProgramsDocumentsAndUrls_AsTheItemsSay) {
    const fs::path work = Folder().Root() / L"work dir";
    const fs::path doc = Folder().Root() / L"My Documents" / L"letter one.zorvdoc";
    fs::create_directories(work);
    fs::create_directories(doc.parent_path());
    WriteWholeFile(doc, "Dear probe,\r\n");
    const std::wstring open = L"\"" + probes_.Exe().wstring() + L"\" \"%1\"";
    ClassesKey ext(L".zorvdoc"), type(L"ZorvProbe.Document"), news(L"nntp");
    ext.Set(L"", L"", L"ZorvProbe.Document");
    type.Set(L"shell\\open\\command", L"", open);
    // A scheme the system does not know yet, so the probe is its only handler.
    news.Set(L"", L"", L"URL:News Protocol").Set(L"", L"URL Protocol", L"");
    news.Set(L"shell\\open\\command", L"", open);
    const std::string workDir = Narrow(work.wstring()), letter = Narrow(doc.wstring());
    const std::string url = "nntp://news.example.invalid/zorv.test";

    const struct {
        Button button;
        std::vector<std::string> args;
        std::string cwd;  // "": not judged
        int show;         // -2: not judged
        unsigned prio;    // 0: not judged
        BOOL(WINAPI* state)(HWND);
    } cases[] = {
        {{"Quoted", quoted_ + " --title=Alpha one \"two words\"", "**3", workDir, 0, 3, 3},
         {"--title=Alpha", "one", "two words"},
         workDir,
         SW_MAXIMIZE,
         ABOVE_NORMAL_PRIORITY_CLASS,
         IsZoomed},
        // An unquoted path with blanks is split after ".exe "; Prio -1 is
        // normal, and without a working folder the program runs in its own.
        {{"Unquoted", probe_ + " -x /y", "**3", "", 0, 2, -1},
         {"-x", "/y"},
         Narrow(probes_.Exe().parent_path().wstring()),
         SW_SHOWMINIMIZED,
         NORMAL_PRIORITY_CLASS,
         IsIconic},
        // Started by a double click, which starts once.
        {{"Idle", quoted_, "**3", workDir, 0, 1, 0},
         {},
         workDir,
         SW_SHOWNORMAL,
         IDLE_PRIORITY_CLASS,
         nullptr},
        // A program that decides its own window state still ends up as the
        // item says when the state is forced (Style 100 + state).
        {{"Min", quoted_ + " --show-normal", "**3", "", 0, 102},
         {"--show-normal"},
         "",
         -2,
         0,
         IsIconic},
        {{"Max", quoted_ + " --show-normal", "**3", "", 0, 103},
         {"--show-normal"},
         "",
         -2,
         0,
         IsZoomed},
        {{"Letter", letter}, {letter}, "", -2, 0, nullptr},
        {{"News", url}, {url}, "", -2, 0, nullptr},
    };
    std::vector<Button> buttons;
    for (const auto& c : cases) buttons.push_back(c.button);
    HWND bar = StartBar(Ini(buttons, "AutoRed=0\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE("button " + std::to_string(i));
        Click(bar, i);
        if (i == 2) {
            Sleep(130);
            ClickHere(MOUSEEVENTF_LEFTDOWN, 20);
        }
        const std::optional<ProbeRecord> r = probes_.Next();
        ASSERT_TRUE(r) << "nothing started" << LogTail();
        EXPECT_EQ(r->Args, c.args) << r->CmdLine;
        EXPECT_TRUE(c.cwd.empty() || SamePath(r->Cwd, c.cwd)) << r->Cwd;
        EXPECT_TRUE(c.show == -2 || r->ShowCmd == c.show) << r->ShowCmd;
        EXPECT_TRUE(!c.prio || r->Priority == c.prio) << std::hex << r->Priority;
        HWND w = Probes::WindowOf(r->Pid);
        ASSERT_TRUE(w);
        EXPECT_TRUE(!c.state || WaitFor([&] { return c.state(w) != FALSE; }, Ms(5000)));
    }
    EXPECT_FALSE(probes_.Next(0, Ms(1000))) << "a click started twice";
}

TEST_F(Launch, MissingProgram_IsReportedInTheConfiguredLanguage_AndTheBarStaysUsable) {
    const std::string missing = "C:\\no such folder\\missing.exe", noDrive = "Q:\\tools\\gone.exe";
    const struct {
        const char* language;
        const wchar_t *notFound, *noDrive;
    } languages[] = {
        {"1", L"Programm nicht gefunden:", L"Laufwerk Q: nicht gefunden zum starten von "},
        {"2", L"Program not found:", L"Drive Q: not found for executing "},
    };
    for (const auto& lang : languages) {
        SCOPED_TRACE(lang.language);
        HWND bar = StartBar(Ini({{"Missing", missing}, {"No drive", noDrive}, {"Probe", quoted_}},
                                std::string("AutoRed=0\r\nForcedLanguage=") + lang.language));
        ASSERT_TRUE(bar) << "the bar did not appear";
        for (const std::string& path : {missing, noDrive}) {
            Click(bar, path == missing ? 0 : 1);
            HWND box = WaitForMessageBox(Last());
            ASSERT_TRUE(box) << LogTail();
            const std::wstring text = MessageBoxText(box);
            EXPECT_TRUE(text.starts_with(path == missing ? lang.notFound : lang.noDrive) &&
                        text.find(std::wstring(path.begin(), path.end())) != std::wstring::npos)
                << Narrow(text);
            EXPECT_TRUE(ShowsIcon(box, IconColour::Amber));
            EXPECT_TRUE(PressOk(box));
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, Ms(5000)));
        }
        Click(bar, 2);
        EXPECT_TRUE(probes_.Next()) << "the bar did not start the probe afterwards";
        Last().Terminate();
    }
}

// Activate=1: a click brings a running instance to the front instead of
// starting one; clicks in a row go through all of them in turn. A right
// click starts another instance anyway.
TEST_F(Launch, Activate_BringsRunningInstancesToTheFrontInTurn_RightClickStartsAnother) {
    HWND bar = StartBar(Ini({{"Probe", quoted_, "**3", "", 1}}, "AutoRed=0\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    HWND other = probes_.Open(L"--title=Other");
    std::vector<HWND> windows;
    for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTDOWN}) {
        Click(bar, 0, flag);
        const std::optional<ProbeRecord> r = probes_.Next();
        ASSERT_TRUE(r) << "instance " << windows.size() + 1 << " was not started" << LogTail();
        windows.push_back(Probes::WindowOf(r->Pid));
        ASSERT_TRUE(windows.back());
        if (windows.size() > 1) continue;
        ASSERT_TRUE(Activate(other));
        Click(bar, 0);
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == windows[0]; }, Ms(5000)))
            << LogTail();
    }

    ASSERT_TRUE(Activate(other));
    std::vector<HWND> activated;
    for (int click = 0; click < 4; ++click) {
        Click(bar, 0);
        HWND now = nullptr;
        WaitFor(
            [&] {
                now = GetForegroundWindow();
                return std::count(windows.begin(), windows.end(), now) &&
                       (activated.empty() || now != activated.back());
            },
            Ms(4000));
        activated.push_back(now);
    }
    EXPECT_FALSE(probes_.Next(0, Ms(500))) << "a left click started an instance";
    std::vector<HWND> firstThree(activated.begin(), activated.begin() + 3);
    std::sort(firstThree.begin(), firstThree.end());
    std::sort(windows.begin(), windows.end());
    EXPECT_EQ(firstThree, windows) << "three clicks activate the three instances";
    EXPECT_EQ(activated[3], activated[0]) << "the fourth click returns to the first" << LogTail();
}

}  // namespace
}  // namespace zorv::e2e
