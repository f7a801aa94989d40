// Launching, judged by how the probe says it was started: clicks on the bar start programs,
// documents and URLs, warn of missing programs and bring running instances to the front;
// and Zorv.dll on its own (suite Starter), loaded by the driver.
#include <cstring>

#include "../../src/launch/exec_request.h"
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

void WriteShortcut(const fs::path& link, const fs::path& target, int show) {
    IShellLinkW* sl = nullptr;
    IPersistFile* pf = nullptr;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&sl)),
              S_OK);
    sl->SetPath(target.c_str());
    sl->SetArguments(L"--title=Lnk");
    sl->SetShowCmd(show);
    sl->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf));
    EXPECT_EQ(pf->Save(link.c_str(), TRUE), S_OK);
    pf->Release();
    sl->Release();
}

class Launch : public ZorvE2E {
  protected:
    // A blank in the folder's name, as under "Program Files".
    Probes probes_{Folder().Root() / L"Probe Tools" / L"zorv_probe.exe",
                   Folder().Root() / L"probe records"};
    const std::string probe_ = Narrow(probes_.Exe().wstring());
    const std::string quoted_ = "\"" + probe_ + "\"";
    double lastClick_ = 0;

    // Clicks button `index`, once the guard against a double click is over.
    void Click(HWND bar, int index, DWORD downFlag = MOUSEEVENTF_LEFTDOWN) {
        while (NowMs() - lastClick_ < 700) Sleep(20);
        const RECT r = WindowRect(bar);
        ASSERT_TRUE(MoveMouseAndStay(r.left + 22 * index + 10, r.top + 10) && ClickHere(downFlag));
        lastClick_ = NowMs();
    }

    // Buttons `first` and `first` + 1 name a missing program and one on a missing drive.
    void ExpectMissingWarnings(HWND bar, int first, bool german) {
        const wchar_t* want[] = {L"Program not found:", L"Drive Q: not found for executing ",
                                 L"Programm nicht gefunden:",
                                 L"Laufwerk Q: nicht gefunden zum starten von "};
        for (int i : {0, 1}) {
            Click(bar, first + i);
            HWND box = WaitForMessageBox(Last());
            ASSERT_TRUE(box) << LogTail();
            const std::wstring text = MessageBoxText(box);
            EXPECT_TRUE(text.starts_with(want[2 * german + i]) &&
                        text.find(i ? kNoDrive : kMissing) != text.npos)
                << Narrow(text);
            EXPECT_TRUE(ShowsIcon(box, IconColour::Amber));
            EXPECT_TRUE(PressOk(box) && WaitFor(Ms(5000), [&] { return !IsWindow(box); }));
        }
    }
    static constexpr wchar_t kMissing[] = L"C:\\no such folder\\missing.exe";
    static constexpr wchar_t kNoDrive[] = L"Q:\\tools\\gone.exe";
};

std::string Utf8(const std::wstring& w) {
    std::string out(w.size() * 4 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, w.c_str(), int(w.size()), out.data(), int(out.size()),
                                   nullptr, nullptr));
    return out;
}

TEST_F(Launch, AnItemInAnotherScript_StartsItsProgramWithTheWholeCommandLine) {
    // "Пробы" (Cyrillic) is outside the Western code page: the Unicode request carries it.
    const fs::path folder = Folder().Root() / L"\u041F\u0440\u043E\u0431\u044B";
    fs::create_directories(folder);
    fs::copy_file(probes_.Exe(), folder / L"zorv_probe.exe");
    const std::wstring title = L"\u03A9\u03BC\u03AD\u03B3\u03B1";  // "Ωμέγα" (Greek)
    Button greek(Utf8(L"\u0394\u03BF\u03BA\u03B9\u03BC\u03AE"),
                 "\"" + Utf8((folder / L"zorv_probe.exe").wstring()) + "\" --title=" + Utf8(title),
                 "**3", "", 1);
    // Activation finds it by its Greek window title (a command with arguments names no
    // program file to look for).
    greek.Text.replace(greek.Text.find("Title=\r\n"), 8, "Title=" + Utf8(title) + "\r\n");
    HWND bar = StartBar("\xEF\xBB\xBF" + Ini({greek}, "AutoRed=0\r\n"));
    ASSERT_TRUE(bar);
    Click(bar, 0);
    const std::optional<ProbeRecord> started = probes_.Next();
    ASSERT_TRUE(started) << LogTail();
    EXPECT_EQ(started->Args, std::vector<std::string>{"--title=" + Utf8(title)});
    EXPECT_NE(started->CmdLine.find(Utf8(folder.wstring())), std::string::npos) << started->CmdLine;
    EXPECT_EQ(Logged("ExecuteCommand: the Unicode request"), 1) << LogTail();
    // The log names the folder as it is; a second click brings the running probe forward
    // instead of starting another.
    const std::string log = ReadWholeFile(Folder().Path() / L"zorv.log").value_or("");
    EXPECT_NE(log.find(Utf8(folder.filename().wstring())), std::string::npos);
    HWND probe = Probes::WindowOf(started->Pid);
    HWND other = probes_.Open(L"--title=Other");
    ASSERT_TRUE(probe && other);
    ASSERT_TRUE(Activate(other)) << LogTail();
    Click(bar, 0);
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return GetForegroundWindow() == probe; })) << LogTail();
    EXPECT_FALSE(probes_.Next(0, Ms(500))) << "a second instance was started";
}

TEST_F(Launch, Buttons_StartTheirProgramsDocumentsShortcutsAndUrls_AsTheItemsSay) {
    const fs::path work = Folder().Root() / L"work dir";
    const fs::path doc = Folder().Root() / L"My Documents" / L"letter one.zorvdoc";
    fs::create_directories(work);
    fs::create_directories(doc.parent_path());
    WriteWholeFile(doc, "Dear probe,\r\n");
    const std::wstring open = L"\"" + probes_.Exe().wstring() + L"\" \"%1\"";
    ClassesKey ext(L".zorvdoc"), type(L"ZorvProbe.Document"), news(L"nntp");
    ext.Set(L"", L"", L"ZorvProbe.Document");
    type.Set(L"shell\\open\\command", L"", open);
    news.Set(L"", L"", L"URL:News Protocol").Set(L"", L"URL Protocol", L"");
    news.Set(L"shell\\open\\command", L"", open);
    for (int i = 0; i < 3; ++i)
        WriteShortcut(work / (L"p" + std::to_wstring(i) + L".lnk"), probes_.Exe(),
                      i < 2 ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
    const std::string workDir = Narrow(work.wstring()), letter = Narrow(doc.wstring());
    const std::string url = "nntp://news.example.invalid/zorv.test", lnk = workDir + "\\p";

    const struct {
        Button button;
        std::vector<std::string> args;
        std::string cwd;  // "": not judged
        int show;         // -2: not judged
        unsigned prio;    // the priority class; 0: not judged
        int state;        // how its window shows (a show command); 0: not judged
    } cases[] = {
        // clang-format off
        {{"Quoted", quoted_ + " --title=Alpha one \"two words\"", "**3", workDir, 0, 3, 3},
         {"--title=Alpha", "one", "two words"}, workDir, SW_MAXIMIZE, 0x8000, SW_MAXIMIZE},
        // Split after ".exe "; Prio -1 is normal; no working folder: the program's own.
        {{"Unquoted", probe_ + " -x /y", "**3", "", 0, 2, -1}, {"-x", "/y"},
         Narrow(probes_.Exe().parent_path().wstring()), SW_SHOWMINIMIZED, 0x20, SW_MINIMIZE},
        // Double-clicked below; starts once.
        {{"Idle", quoted_, "**3", workDir, 0, 1, 0}, {}, workDir, SW_SHOWNORMAL, 0x40, SW_SHOWNORMAL},
        // A forced state (Style 100 + state) wins over a program that picks its own.
        {{"Min", quoted_ + " --show-normal", "**3", "", 0, 102}, {"--show-normal"}, "", -2, 0, SW_MINIMIZE},
        {{"Max", quoted_ + " --show-normal", "**3", "", 0, 103}, {"--show-normal"}, "", -2, 0, SW_MAXIMIZE},
        {{"Letter", letter, "**3", "", 0, 2, 1}, {letter}, "", SW_SHOWMINIMIZED, 0x4000, SW_MINIMIZE},
        {{"News", url}, {url}, "", -2, 0, 0},
        // A shortcut shows its program as the link says, unless the item asks otherwise.
        {{"Link", lnk + "0.lnk"}, {"--title=Lnk"}, "", SW_SHOWMINNOACTIVE, 0, SW_SHOWMINNOACTIVE},
        {{"Link", lnk + "1.lnk", "**3", "", 0, 3}, {"--title=Lnk"}, "", SW_SHOWMAXIMIZED, 0, SW_SHOWMAXIMIZED},
        {{"Link", lnk + "2.lnk"}, {"--title=Lnk"}, "", SW_SHOWNORMAL, 0, SW_SHOWNORMAL},
        // clang-format on
    };
    std::vector<Button> buttons;
    for (const auto& c : cases) buttons.push_back(c.button);
    buttons.insert(buttons.end(), {{"Missing", Narrow(kMissing)}, {"No drive", Narrow(kNoDrive)}});
    HWND bar = StartBar(Ini(buttons, "AutoRed=0\r\nForcedLanguage=2\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    // Warnings first: the bar stays usable after them.
    ExpectMissingWarnings(bar, int(std::size(cases)), false);
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
        EXPECT_TRUE(Probes::WindowOf(r->Pid) &&
                    (!c.state || ShowsAs(Probes::WindowOf(r->Pid), c.state)));
    }
    EXPECT_FALSE(probes_.Next(0, Ms(1000))) << "a click started twice";
}

TEST_F(Launch, Activate_BringsRunningInstancesToTheFrontInTurn_RightClickStartsAnother) {
    HWND bar = StartBar(Ini({{"Probe", quoted_, "**3", "", 1},
                             {"Missing", Narrow(kMissing)},
                             {"No drive", Narrow(kNoDrive)}},
                            "AutoRed=0\r\nForcedLanguage=1\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    ExpectMissingWarnings(bar, 1, true);
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
        EXPECT_TRUE(WaitFor(Ms(5000), [&] { return GetForegroundWindow() == windows[0]; }))
            << LogTail();
    }

    ASSERT_TRUE(Activate(other));
    std::vector<HWND> activated;
    for (int click = 0; click < 4; ++click) {
        Click(bar, 0);
        HWND now = nullptr;
        WaitFor(Ms(4000), [&] {
            now = GetForegroundWindow();
            return std::count(windows.begin(), windows.end(), now) &&
                   (activated.empty() || now != activated.back());
        });
        activated.push_back(now);
    }
    EXPECT_FALSE(probes_.Next(0, Ms(500))) << "a left click started an instance";
    std::vector<HWND> firstThree(activated.begin(), activated.begin() + 3);
    std::sort(firstThree.begin(), firstThree.end());
    std::sort(windows.begin(), windows.end());
    EXPECT_EQ(firstThree, windows) << "three clicks activate the three instances";
    EXPECT_EQ(activated[3], activated[0]) << "the fourth click returns to the first" << LogTail();
}

class Starter : public Launch {
  protected:
    void SetUp() override {
        ZorvE2E::SetUp();
        ASSERT_TRUE(execute_) << "no undecorated export ExecuteProcessAsync in Zorv.dll";
    }
    ~Starter() override { FreeLibrary(dll_); }

    static ExecRequest Request(const fs::path& file, const std::wstring& params,
                               const fs::path& workDir, int show = 1, int prio = 0x20) {
        ExecRequest r{};
        std::strncpy(r.File, Narrow(file.wstring()).c_str(), kExecTextBytes - 1);
        std::strncpy(r.Params, Narrow(params).c_str(), kExecTextBytes - 1);
        std::strncpy(r.WorkDir, Narrow(workDir.wstring()).c_str(), kExecTextBytes - 1);
        r.ShowCmd = show;
        r.PriorityClass = prio;
        r.ShellStart = !file.empty() && _wcsicmp(file.extension().c_str(), L".exe");
        return r;
    }
    // The error code of a refused request; -1 when it was accepted.
    int Refusal(ExecRequest r) { return execute_(&r) == 0 ? r.ErrorCode : -1; }

    const fs::path exe_ = probes_.Exe(), work_ = Folder().Cwd();
    const HMODULE dll_ = LoadLibraryW((Folder().Path() / L"Zorv.dll").c_str());
    std::int32_t(__stdcall* const execute_)(ExecRequest*) =
        reinterpret_cast<std::int32_t(__stdcall*)(ExecRequest*)>(
            reinterpret_cast<void (*)()>(GetProcAddress(dll_, "ExecuteProcessAsync")));
};


TEST_F(Starter, RefusesBadRequests_AndTheSameFileWhileItsStartIsPending) {
    EXPECT_EQ(Refusal(Request(work_ / L"missing.exe", L"", work_)), 2);
    EXPECT_EQ(Refusal(Request(L"", L"", work_)), 2);
    EXPECT_EQ(Refusal(Request(work_ / L"missing.zorvprobe", L"", work_)), 2);
    EXPECT_EQ(Refusal(Request(exe_, L"", work_, 12)), 87);
    EXPECT_EQ(Refusal(Request(exe_, L"", work_, 1, 0x1234)), 87);
    ExecRequest unterminated = Request(exe_, L"", work_);
    std::memset(unterminated.Params, 'x', kExecTextBytes);
    EXPECT_EQ(Refusal(unterminated), 87);
    EXPECT_GT(Refusal(Request(exe_, L"", work_ / L"no such folder")), 0) << "CreateProcess's own";
    EXPECT_EQ(execute_(nullptr), 0);
    EXPECT_FALSE(probes_.Next(0, Ms(1000))) << "a refused request started something";

    ClassesKey ext(L".zorvprobe"), type(L"ZorvProbe.Document");
    ext.Set(L"", L"", L"ZorvProbe.Document");
    type.Set(L"shell\\open\\command", L"", L"\"" + exe_.wstring() + L"\" --title=Doc \"%1\"");
    const fs::path doc = work_ / L"my notes.zorvprobe", mine = work_ / L"restricted.exe";
    WriteWholeFile(doc, "text");
    fs::copy_file(exe_, mine);  // not pending when the start below comes
    // The shell gives no suspended start: the class is set right after it.
    const fs::path letter = work_ / L"letter.zorvprobe";  // not pending either
    WriteWholeFile(letter, "text");
    ExecRequest shell = Request(letter, L"", work_, SW_SHOWMINIMIZED, 0x4000);
    ASSERT_EQ(execute_(&shell), 1) << shell.ErrorCode;
    const std::optional<ProbeRecord> started = probes_.Next();
    ASSERT_TRUE(started && SamePath(started->Args.back(), Narrow(letter.wstring())));
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, started->Pid);
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return GetPriorityClass(h) == 0x4000; }));
    CloseHandle(h);
    // Restricted (UserType 2): through CreateProcessAsUser, a document through its program;
    // a refusal is a plain error.
    for (const fs::path& file : {mine, doc}) {
        ExecRequest r = Request(file, L"", work_);
        r.UserType = 2;
        if (execute_(&r) == 0) {
            EXPECT_TRUE(r.ErrorCode != 0 && r.ErrorCode != kErrorAlreadyStarting) << r.ErrorCode;
            continue;
        }
        const std::optional<ProbeRecord> rec = probes_.Next(DWORD(r.Result));
        ASSERT_TRUE(rec) << "accepted, but the probe did not start";
        EXPECT_TRUE(file == mine || SamePath(rec->Args.back(), Narrow(doc.wstring())));
    }

    // A busy probe keeps its start pending until the wait for idle times out.
    const fs::path other = exe_.parent_path() / L"other_probe.exe";
    fs::copy_file(exe_, other);
    ASSERT_EQ(Refusal(Request(exe_, L"--busy=8000", work_)), -1);
    std::wstring upper = exe_.wstring();
    CharUpperBuffW(upper.data(), DWORD(upper.size()));
    EXPECT_EQ(Refusal(Request(upper, L"", work_)), kErrorAlreadyStarting);
    EXPECT_EQ(Refusal(Request(other, L"", work_)), -1) << "another file is not blocked";
    ExecRequest later = Request(exe_, L"", work_);
    EXPECT_TRUE(WaitFor(Ms(15000), [&] { return execute_(&later) == 1; }, Ms(50)))
        << "not startable once the pending start gave up: error " << later.ErrorCode;
    EXPECT_TRUE(probes_.Next(DWORD(later.Result)));
}

}  // namespace
}  // namespace zorv::e2e
