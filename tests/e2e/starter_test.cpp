// Zorv.dll on its own: the driver loads the library from the program folder
// and hands it start requests for the probe (tests/e2e/probe), which writes
// down how it was started. Each test works on its own copy of the probe, so
// the "already starting" rule of one test never meets another's start.
#include <shlobj.h>

#include <cstring>

#include "../../src/launch/exec_request.h"
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

std::string Ansi(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<size_t>(n - 1));
    return s;
}

class Starter : public ZorvE2E {
  protected:
    void SetUp() override {
        ZorvE2E::SetUp();
        fs::create_directories(work_);
        ASSERT_TRUE(dll_) << "Zorv.dll not loadable, error " << GetLastError();
        execute_ = reinterpret_cast<std::int32_t(__stdcall*)(ExecRequest*)>(
            reinterpret_cast<void (*)()>(GetProcAddress(dll_, "ExecuteProcessAsync")));
        ASSERT_TRUE(execute_) << "no undecorated export ExecuteProcessAsync";
    }
    void TearDown() override {
        if (dll_) FreeLibrary(dll_);
        ZorvE2E::TearDown();
    }

    static ExecRequest Request(const fs::path& file, const std::wstring& params,
                               const fs::path& workDir, int show = 1, int prio = 0x20) {
        ExecRequest r{};
        std::strncpy(r.File, Ansi(file.wstring()).c_str(), kExecTextBytes - 1);
        std::strncpy(r.Params, Ansi(params).c_str(), kExecTextBytes - 1);
        std::strncpy(r.WorkDir, Ansi(workDir.wstring()).c_str(), kExecTextBytes - 1);
        r.ShowCmd = show;
        r.PriorityClass = prio;
        return r;
    }

    // The error code of a refused request; -1 when it was accepted.
    int Refusal(ExecRequest r) { return execute_(&r) == 0 ? r.ErrorCode : -1; }

    // Accepted, after any earlier start of the same file has finished.
    bool ExecuteWhenFree(ExecRequest& r) {
        std::int32_t answer = 0;
        WaitFor(
            [&] { return (answer = execute_(&r)) != 0 || r.ErrorCode != kErrorAlreadyStarting; },
            Ms(15000), Ms(50));
        return answer == 1 && r.ErrorCode == 0;
    }

    Probes probes_{Folder().Root() / L"bin" / L"zorv_probe.exe", Folder().Root() / L"out"};
    const fs::path probe_ = probes_.Exe(), work_ = Folder().Root() / L"work";
    HMODULE dll_ = LoadLibraryW((Folder().Path() / L"Zorv.dll").c_str());
    std::int32_t(__stdcall* execute_)(ExecRequest*) = nullptr;
};

TEST_F(Starter, ProcessStart_HandsArgumentsFolderShowAndPriorityToTheProgram_AndAnswersItsPid) {
    const struct {
        std::wstring params;
        bool inWork;  // else no working folder: the program starts in the caller's
        int show, prio;
        BOOL(WINAPI* state)(HWND);
        std::vector<std::string> args;
    } cases[] = {
        {L"--title=Args \"two words\" plain",
         true,
         1,
         0x20,
         nullptr,
         {"--title=Args", "two words", "plain"}},
        {L"", false, 2, 0x40, IsIconic, {}},
        {L"", true, 3, 0x8000, IsZoomed, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("show " + std::to_string(c.show));
        const fs::path before = fs::current_path();
        if (!c.inWork) fs::current_path(probe_.parent_path());
        ExecRequest r = Request(probe_, c.params, c.inWork ? work_ : fs::path(), c.show, c.prio);
        const bool accepted = ExecuteWhenFree(r);
        fs::current_path(before);
        ASSERT_TRUE(accepted) << "error " << r.ErrorCode;
        ASSERT_GT(r.Result, 0) << "a process start reports its pid";
        const std::optional<ProbeRecord> rec = probes_.Next(static_cast<DWORD>(r.Result));
        ASSERT_TRUE(rec) << "the probe did not start";
        EXPECT_EQ(rec->Args, c.args);
        EXPECT_TRUE(rec->CmdLine.starts_with("\"" + Ansi(probe_.wstring()) + "\"")) << rec->CmdLine;
        EXPECT_TRUE(SamePath(rec->Cwd, Ansi((c.inWork ? work_ : probe_.parent_path()).wstring())))
            << rec->Cwd;
        EXPECT_EQ(rec->ShowCmd, c.show);
        // Recorded by the probe's first instructions: set while it was suspended.
        EXPECT_EQ(rec->Priority, static_cast<unsigned>(c.prio)) << std::hex << rec->Priority;
        HWND hwnd = Probes::WindowOf(rec->Pid);
        ASSERT_TRUE(hwnd);
        EXPECT_TRUE(!c.state || WaitFor([&] { return c.state(hwnd) != FALSE; }, Ms(5000)));
    }
}

void WriteShortcut(const fs::path& link, const fs::path& target, const std::wstring& args,
                   int show) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* sl = nullptr;
    IPersistFile* pf = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&sl));
    if (SUCCEEDED(hr)) {
        sl->SetPath(target.c_str());
        sl->SetArguments(args.c_str());
        sl->SetShowCmd(show);
        hr = sl->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf));
    }
    if (SUCCEEDED(hr)) hr = pf->Save(link.c_str(), TRUE);
    if (pf) pf->Release();
    if (sl) sl->Release();
    CoUninitialize();
    ASSERT_TRUE(SUCCEEDED(hr)) << "cannot write the shortcut, hr " << std::hex << hr;
}

TEST_F(Starter, ShellStart_OpensDocumentsAndShortcutsWithTheirPrograms_ShownAsAsked) {
    ClassesKey ext(L".zorvprobe");
    ext.Set(L"", L"", L"ZorvProbe.Document");
    ClassesKey type(L"ZorvProbe.Document");
    type.Set(L"shell\\open\\command", L"", L"\"" + probe_.wstring() + L"\" --title=Doc \"%1\"");
    const fs::path doc = work_ / L"my notes.zorvprobe";
    WriteWholeFile(doc, "text");
    ExecRequest r = Request(doc, L"", work_, SW_SHOWMINIMIZED, 0x4000);
    r.ShellStart = 1;
    ASSERT_EQ(execute_(&r), 1) << "error " << r.ErrorCode;
    std::optional<ProbeRecord> rec = probes_.Next();
    ASSERT_TRUE(rec) << "the document's program did not start";
    ASSERT_EQ(rec->Args.size(), 2u);
    EXPECT_EQ(rec->Args[0], "--title=Doc");
    EXPECT_TRUE(SamePath(rec->Args[1], Ansi(doc.wstring()))) << rec->Args[1];
    EXPECT_EQ(rec->ShowCmd, SW_SHOWMINIMIZED);
    // The shell gives no suspended start: the class is set right after it.
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, rec->Pid);
    ASSERT_TRUE(h);
    EXPECT_TRUE(WaitFor([&] { return GetPriorityClass(h) == 0x4000; }, Ms(5000)))
        << std::hex << GetPriorityClass(h);
    CloseHandle(h);

    // A shortcut shows its program as the link says, unless asked otherwise.
    const struct {
        int linkShow, requestShow, expected;
        BOOL(WINAPI* state)(HWND);
    } links[] = {{SW_SHOWMINNOACTIVE, SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, IsIconic},
                 {SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED, IsZoomed},
                 {SW_SHOWNORMAL, SW_SHOWNORMAL, SW_SHOWNORMAL, nullptr}};
    for (const auto& c : links) {
        SCOPED_TRACE("link " + std::to_string(c.linkShow) + ", request " +
                     std::to_string(c.requestShow));
        const fs::path link = work_ / (L"Probe" + std::to_wstring(&c - links) + L".lnk");
        WriteShortcut(link, probe_, L"--title=Lnk", c.linkShow);
        ExecRequest lr = Request(link, L"", L"", c.requestShow);
        lr.ShellStart = 1;
        ASSERT_EQ(execute_(&lr), 1) << "error " << lr.ErrorCode;
        rec = probes_.Next();
        ASSERT_TRUE(rec) << "the shortcut's program did not start";
        EXPECT_EQ(rec->Args, std::vector<std::string>{"--title=Lnk"});
        EXPECT_EQ(rec->ShowCmd, c.expected);
        HWND hwnd = Probes::WindowOf(rec->Pid);
        ASSERT_TRUE(hwnd);
        EXPECT_TRUE(WaitFor(
            [&] { return c.state ? c.state(hwnd) != FALSE : !IsIconic(hwnd) && !IsZoomed(hwnd); },
            Ms(5000)));
    }

    // Restricted (UserType 2): both go through CreateProcessAsUser, a
    // document through its program; where that is refused, the refusal is a
    // plain error.
    ExecRequest program = Request(probe_, L"--title=Restricted", work_);
    ExecRequest document = Request(doc, L"", work_);
    document.ShellStart = 1;
    for (ExecRequest* q : {&program, &document}) {
        q->UserType = 2;
        if (execute_(q) == 0) {
            EXPECT_NE(q->ErrorCode, 0);
            EXPECT_NE(q->ErrorCode, kErrorAlreadyStarting);
            continue;
        }
        ASSERT_GT(q->Result, 0);
        rec = probes_.Next(static_cast<DWORD>(q->Result));
        ASSERT_TRUE(rec) << "accepted, but the probe did not start";
        ASSERT_FALSE(rec->Args.empty());
        EXPECT_TRUE(q == &program || SamePath(rec->Args.back(), Ansi(doc.wstring())));
    }
}

TEST_F(Starter, RefusesBadRequests_AndTheSameFileWhileItsStartIsPending) {
    EXPECT_EQ(Refusal(Request(work_ / L"missing.exe", L"", work_)), 2);
    EXPECT_EQ(Refusal(Request(L"", L"", work_)), 2);
    ExecRequest doc = Request(work_ / L"missing.zorvprobe", L"", work_);
    doc.ShellStart = 1;
    EXPECT_EQ(Refusal(doc), 2);
    EXPECT_EQ(Refusal(Request(probe_, L"", work_, 12)), 87);
    EXPECT_EQ(Refusal(Request(probe_, L"", work_, 1, 0x1234)), 87);
    ExecRequest unterminated = Request(probe_, L"", work_);
    std::memset(unterminated.Params, 'x', kExecTextBytes);
    EXPECT_EQ(Refusal(unterminated), 87);
    EXPECT_GT(Refusal(Request(probe_, L"", work_ / L"no such folder")), 0)
        << "CreateProcess's own error reaches the caller";
    EXPECT_EQ(execute_(nullptr), 0);
    EXPECT_FALSE(probes_.Next(0, Ms(1000))) << "a refused request started something";

    // The probe keeps busy before its message loop, so the library's wait for
    // its first idle moment runs into its time-out: the start stays pending.
    const fs::path other = probe_.parent_path() / L"other_probe.exe";
    fs::copy_file(probe_, other);
    ExecRequest first = Request(probe_, L"--busy=8000", work_);
    ASSERT_EQ(execute_(&first), 1) << "error " << first.ErrorCode;
    std::wstring upper = probe_.wstring();
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    EXPECT_EQ(Refusal(Request(upper, L"", work_)), kErrorAlreadyStarting);
    EXPECT_EQ(Refusal(Request(other, L"", work_)), -1) << "another file is not blocked";
    // Once the pending start gave up waiting, the file may start again.
    ExecRequest later = Request(probe_, L"", work_);
    EXPECT_TRUE(ExecuteWhenFree(later)) << "error " << later.ErrorCode;
    EXPECT_TRUE(probes_.Next(static_cast<DWORD>(later.Result)));
}

}  // namespace
}  // namespace zorv::e2e
