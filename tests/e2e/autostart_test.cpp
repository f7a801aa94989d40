// The autostart list after the start, the autoclose list while the program closes (also at
// logoff), and starting with Windows, judged by the probes the lists start, the windows in
// front and the shortcuts in the Startup folder.
#include <cstdio>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

// When process `pid` was created, on the system clock in ms.
double CreatedMs(DWORD pid) {
    FILETIME created{}, exited{}, kernel{}, user{};
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (h) GetProcessTimes(h, &created, &exited, &kernel, &user), CloseHandle(h);
    return double((ULONGLONG(created.dwHighDateTime) << 32) | created.dwLowDateTime) / 10000.0;
}
double SystemNowMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return double((ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000.0;
}

std::string Listed(const char* section, const Button& item) {
    return section + item.Text.substr(item.Text.find("\r\n"));
}

fs::path StartupFolder() {
    wchar_t dir[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, dir);
    return dir;
}

// Target and arguments of a shortcut; empty when it cannot be read.
std::pair<std::wstring, std::wstring> ReadLink(const fs::path& link) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* sl = nullptr;
    IPersistFile* pf = nullptr;
    wchar_t target[MAX_PATH] = L"", args[MAX_PATH] = L"";
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                         reinterpret_cast<void**>(&sl)) == S_OK) {
        if (sl->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf)) == S_OK &&
            pf->Load(link.c_str(), STGM_READ) == S_OK) {
            sl->GetPath(target, MAX_PATH, nullptr, 0);
            sl->GetArguments(args, MAX_PATH);
        }
        if (pf) pf->Release();
        sl->Release();
    }
    return {target, args};
}

void WriteLink(const fs::path& link, const fs::path& target) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* sl = nullptr;
    IPersistFile* pf = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&sl)),
              S_OK);
    sl->SetPath(target.c_str());
    sl->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf));
    EXPECT_EQ(pf->Save(link.c_str(), TRUE), S_OK);
    pf->Release();
    sl->Release();
}

class Autostart : public ZorvE2E {
  protected:
    Probes probes_{Folder().Root() / L"Probe Tools" / L"zorv_probe.exe",
                   Folder().Root() / L"probe records"};
    const std::string quoted_ = "\"" + Narrow(probes_.Exe().wstring()) + "\"";

    Button Probe(const std::string& title) { return Button(title, quoted_ + " --title=" + title); }
    // The records that came in `timeout`, until `n` are there.
    std::vector<ProbeRecord> Records(size_t n, Ms timeout = Ms(15000)) {
        std::vector<ProbeRecord> got;
        const double end = NowMs() + double(timeout.count());
        while (got.size() < n && NowMs() < end) {
            if (auto r = probes_.Next(0, Ms(std::max(0, int(end - NowMs()))))) got.push_back(*r);
        }
        return got;
    }
};

TEST_F(Autostart, ItemsStartInListOrder_AfterTheDelay_ThenAPauseApart_NotWithNostart) {
    const std::string ini = Ini({}, "ASDelay=2\r\nASPause=1.5\r\n") + Listed("[AutostartItem]", Probe("A1")) +
                            Listed("[AutostartItem]", Probe("A2")) + Listed("[AutostartItem]", Probe("A3"));
    Folder().WriteIni(ini);
    Process& bar = Start(L"");
    ASSERT_TRUE(WaitForShownBar(bar)) << LogTail();
    const double shown = SystemNowMs();
    std::vector<ProbeRecord> started = Records(3);
    ASSERT_EQ(started.size(), 3u) << LogTail();
    std::sort(started.begin(), started.end(),
              [](auto& a, auto& b) { return CreatedMs(a.Pid) < CreatedMs(b.Pid); });
    double previous = shown;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(started[i].Args, std::vector<std::string>{"--title=A" + std::to_string(i + 1)});
        const double gap = CreatedMs(started[i].Pid) - previous;
        previous = CreatedMs(started[i].Pid);
        // 2 s after the first show (seen a little after it), then 1.5 s apart.
        const double want = i == 0 ? 2000 : 1500;
        std::printf("  autostart item %d: %.0f ms (aimed at %.0f)\n", i + 1, gap, want);
        EXPECT_GT(gap, want - 600) << "item " << i;
        EXPECT_LT(gap, want + 900) << "item " << i;
    }
    EXPECT_EQ(Logged("AutostartNext "), 3);

    // "nostart" on the command line: the list is skipped (and a second start replaces the bar).
    Process& again = Start(L"nostart");
    ASSERT_TRUE(WaitForShownBar(again));
    EXPECT_TRUE(bar.WaitExit(Ms(10000)));
    EXPECT_EQ(Logged("DecideAutostart: TooLate=0, skip=1"), 1) << LogTail();
    EXPECT_FALSE(probes_.Next(0, Ms(3500))) << "an item started after all";
}

TEST_F(Autostart, AnActivateItemWhoseProgramRuns_ComesToTheFront_AndTheListGoesOn) {
    HWND running = probes_.Open(L"--title=Running");
    ASSERT_TRUE(running);
    HWND other = probes_.Open(L"--title=Other");
    ASSERT_TRUE(other && Activate(other));
    Button again("Running", "\"" + Narrow((ExeFolder() / L"zorv_probe.exe").wstring()) + "\"",
                 "**3", "", 1);
    const std::string ini = Ini({}, "ASDelay=1\r\n") + Listed("[AutostartItem]", again) +
                            Listed("[AutostartItem]", Probe("After"));
    Folder().WriteIni(ini);
    ASSERT_TRUE(WaitForShownBar(Start(L"")));
    const std::vector<ProbeRecord> started = Records(1);
    ASSERT_EQ(started.size(), 1u) << LogTail();
    EXPECT_EQ(started[0].Args, std::vector<std::string>{"--title=After"});
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return GetForegroundWindow() == running; }))
        << "in front: " << Narrow(WindowText(GetForegroundWindow())) << LogTail();
    EXPECT_FALSE(probes_.Next(0, Ms(500))) << "the running program was started again";
}

TEST_F(Autostart, AReplacingInstance_RunsTheOldOnesAutocloseListOnce_NotAtAllWithACSkip) {
    for (bool skip : {false, true}) {
        SCOPED_TRACE(skip ? "ACSkip=1" : "ACSkip=0");
        if (skip) Last().Terminate();
        Folder().WriteIni(Ini({}, skip ? "ACSkip=1\r\n" : "ACSkip=0\r\n") +
                          Listed("[AutocloseItem]", Probe(skip ? "Skipped" : "Closing")));
        Process& old = Start();
        ASSERT_TRUE(WaitForShownBar(old));
        Process& next = Start();
        ASSERT_TRUE(WaitForShownBar(next));
        ASSERT_TRUE(old.WaitExit(Ms(10000)));
        EXPECT_EQ(Logged(skip ? "RunAutoclose: skipped after an exit" : "RunAutoclose: 1 items"), 1)
            << LogTail();
        if (!skip) {
            const std::vector<ProbeRecord> ran = Records(1);
            ASSERT_EQ(ran.size(), 1u) << LogTail();
            EXPECT_EQ(ran[0].Args, std::vector<std::string>{"--title=Closing"});
        }
        // The old bar started its processes before it ended: any record is on its way.
        EXPECT_FALSE(probes_.Next(0, Ms(1500))) << "one start too many";
    }
}

TEST_F(Autostart, AtLogoff_TheChangeNotYetSavedIsWritten_AndTheAutocloseListRuns) {
    // An address goes through the shell in a worker of Zorv.dll, which must finish its start
    // before the process ends.
    const std::string url = "nntp://news.example.invalid/good.night";
    ClassesKey news(L"nntp");
    news.Set(L"", L"", L"URL:News Protocol").Set(L"", L"URL Protocol", L"");
    news.Set(L"shell\\open\\command", L"", L"\"" + probes_.Exe().wstring() + L"\" \"%1\"");
    // An older "zorv.ini" is taken over: saved as ZorvPanel.ini a second later, but not while
    // the mouse rests on the bar.
    WriteWholeFile(Folder().Path() / L"zorv.ini",
                   Ini(Notepads(3), "ACSkip=1\r\n") + Listed("[AutocloseItem]", Probe("Logoff")) +
                       Listed("[AutocloseItem]", Button("News", url)));
    Process& p = Start();
    HWND bar = WaitForShownBar(p);
    ASSERT_TRUE(bar);
    const RECT r = WindowRect(bar);
    ASSERT_TRUE(MoveMouseAndStay(r.left + 30, r.top + 10));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(bar, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                    5000, &answer));
    EXPECT_TRUE(answer) << "the program refused the logoff";
    ASSERT_TRUE(SendMessageTimeoutW(bar, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                    10000, &answer));
    std::vector<ProbeRecord> ran = Records(2);
    ASSERT_EQ(ran.size(), 2u) << LogTail();
    std::sort(ran.begin(), ran.end(), [](auto& a, auto& b) { return a.Args < b.Args; });
    EXPECT_EQ(ran[0].Args, std::vector<std::string>{"--title=Logoff"});
    EXPECT_EQ(ran[1].Args, std::vector<std::string>{url});
    EXPECT_TRUE(p.WaitExit(Ms(10000)));
    const std::string saved = ReadWholeFile(Folder().IniFile()).value_or("");
    EXPECT_NE(saved.find("[AutocloseItem]"), std::string::npos) << "not saved at the logoff";
    const std::vector<std::string> log = LogMessages();
    const auto closing = std::find_if(log.begin(), log.end(), [](const std::string& m) {
        return m == "frmButtons_QueryUnload: Windows ends the session";
    });
    EXPECT_TRUE(closing != log.end() &&
                std::any_of(closing, log.end(), [](auto& m) { return m.starts_with("SaveIni("); }))
        << LogTail();
}

TEST_F(Autostart, StartWithWindows_OnWritesTheShortcut_OffRemovesEveryShortcutToTheProgram) {
    const fs::path startup = StartupFolder();
    const fs::path ours = startup / L"ZorvPanel.lnk", mine = startup / L"Zorv too.lnk",
                   foreign = startup / L"Somebody else.lnk";
    // Wine runs what the Startup folder holds when a desktop starts: nothing may stay there.
    struct Cleanup {
        std::vector<fs::path> links;
        ~Cleanup() {
            std::error_code ec;
            for (const fs::path& l : links) fs::remove(l, ec);
        }
    } cleanup{{ours, mine, foreign}};
    ASSERT_FALSE(fs::exists(ours)) << "left over in " << Narrow(startup.wstring());
    WriteLink(foreign, L"C:\\nowhere\\gone.exe");  // broken, and not ours

    Folder().WriteIni(Ini(Notepads(2), "StartWithWindows=1\r\n"));
    Process& first = Start(L"noau nostart /ini=ZorvPanel.ini");
    ASSERT_TRUE(WaitForShownBar(first));
    ASSERT_TRUE(WaitFor(Ms(10000), [&] { return fs::exists(ours); })) << LogTail();
    const auto [target, args] = ReadLink(ours);
    EXPECT_TRUE(SamePath(target, Folder().Exe())) << Narrow(target);
    EXPECT_EQ(args, L"noau nostart /ini=ZorvPanel.ini");
    first.Terminate();

    // Off: this one and any other shortcut to the program go; the foreign one stays.
    WriteLink(mine, Folder().Exe());
    Folder().WriteIni(Ini(Notepads(2), "StartWithWindows=0\r\n"));
    ASSERT_TRUE(WaitForShownBar(Start()));
    EXPECT_TRUE(WaitFor(Ms(10000), [&] { return !fs::exists(ours) && !fs::exists(mine); }))
        << LogTail();
    EXPECT_TRUE(fs::exists(foreign));
}

}  // namespace
}  // namespace zorv::e2e
