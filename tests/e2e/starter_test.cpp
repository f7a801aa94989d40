// Zorv.dll on its own: the driver loads the library from the program folder
// and hands it start requests for the probe (tests/e2e/probe), which writes
// down how it was started. Each test works on its own copy of the probe, so
// the "already starting" rule of one test never meets another's start.
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "../../src/launch/exec_request.h"
#include "support/probe.h"
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

using ExecuteFn = std::int32_t(__stdcall*)(ExecRequest*);
constexpr Ms kStartTimeout(15000);

std::string Ansi(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<size_t>(n - 1));
    return s;
}

class Starter : public ::testing::Test {
  protected:
    void SetUp() override {
        static int serial = 0;
        root_ =
            fs::temp_directory_path() / (L"zorv-starter-" + std::to_wstring(GetCurrentProcessId()) +
                                         L"-" + std::to_wstring(++serial));
        for (const wchar_t* sub : {L"bin", L"out", L"work"}) fs::create_directories(root_ / sub);
        fs::copy_file(ExeFolder() / L"zorv_probe.exe", Probe());
        SetEnvironmentVariableW(L"ZORV_PROBE_DIR", (root_ / L"out").c_str());
        dll_ = LoadLibraryW((DistFolder() / L"Zorv.dll").c_str());
        ASSERT_TRUE(dll_) << "Zorv.dll not loadable, error " << GetLastError();
        execute_ = reinterpret_cast<ExecuteFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(dll_, "ExecuteProcessAsync")));
        ASSERT_TRUE(execute_) << "no undecorated export ExecuteProcessAsync";
    }

    void TearDown() override {
        EndProbes(root_ / L"out");
        if (dll_) FreeLibrary(dll_);
        SetEnvironmentVariableW(L"ZORV_PROBE_DIR", nullptr);
        WaitFor(
            [this] {
                std::error_code ec;
                fs::remove_all(root_, ec);
                return !fs::exists(root_, ec);
            },
            Ms(5000), Ms(100));
    }

    fs::path Probe() const { return root_ / L"bin" / L"zorv_probe.exe"; }
    fs::path Work() const { return root_ / L"work"; }

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

    std::int32_t Execute(ExecRequest& r) { return execute_(&r); }

    // Accepted, after any earlier start of the same file has finished.
    bool ExecuteWhenFree(ExecRequest& r) {
        return WaitFor([&] { return Execute(r) != 0 || r.ErrorCode != kErrorAlreadyStarting; },
                       kStartTimeout, Ms(50)) &&
               r.ErrorCode == 0;
    }

    // The record of the probe with this pid, or of the first probe not yet
    // in `seen_` when pid is 0 (a start through the shell tells no pid).
    std::optional<ProbeRecord> WaitForRecord(DWORD pid = 0, Ms timeout = kStartTimeout) {
        std::optional<ProbeRecord> found;
        WaitFor(
            [&] {
                for (const std::wstring& name : FolderEntries(root_ / L"out")) {
                    if (name.ends_with(L".tmp") || seen_.count(name)) continue;
                    std::optional<std::string> text = ReadWholeFile(root_ / L"out" / name);
                    std::optional<ProbeRecord> r = text ? ParseProbeRecord(*text) : std::nullopt;
                    if (!r || (pid != 0 && r->Pid != pid)) continue;
                    seen_.insert(name);
                    found = r;
                    return true;
                }
                return false;
            },
            timeout, Ms(50));
        return found;
    }

    static HWND WaitForWindow(DWORD pid) {
        HWND hwnd = nullptr;
        WaitFor([&] { return (hwnd = ProbeWindowOf(pid)) != nullptr; }, kStartTimeout);
        return hwnd;
    }

    fs::path root_;
    HMODULE dll_ = nullptr;
    ExecuteFn execute_ = nullptr;
    std::set<std::wstring> seen_;
};

// A file type of the current user that opens with the probe; removed again
// by the destructor. Wine 8 does not merge the user's classes into
// HKEY_CLASSES_ROOT, so there the type is also written to the machine's.
class ProbeFileType {
  public:
    explicit ProbeFileType(const fs::path& probe) {
        const std::wstring command = L"\"" + probe.wstring() + L"\" --title=Doc \"%1\"";
        Register(HKEY_CURRENT_USER, L"Software\\Classes\\", command);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kExt, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
        } else {
            Register(HKEY_CLASSES_ROOT, L"", command);
            machineToo_ = true;
        }
    }
    ~ProbeFileType() {
        for (const wchar_t* name : {kExt, kProgId}) {
            RegDeleteTreeW(HKEY_CURRENT_USER,
                           (std::wstring(L"Software\\Classes\\") + name).c_str());
            if (machineToo_) RegDeleteTreeW(HKEY_CLASSES_ROOT, name);
        }
    }
    ProbeFileType(const ProbeFileType&) = delete;
    ProbeFileType& operator=(const ProbeFileType&) = delete;

  private:
    static constexpr wchar_t kExt[] = L".zorvprobe";
    static constexpr wchar_t kProgId[] = L"ZorvProbe.Document";

    static void SetDefault(HKEY root, const std::wstring& path, const std::wstring& value) {
        RegSetKeyValueW(root, path.c_str(), nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    void Register(HKEY root, const std::wstring& prefix, const std::wstring& command) {
        SetDefault(root, prefix + kExt, kProgId);
        SetDefault(root, prefix + kProgId + L"\\shell\\open\\command", command);
    }
    bool machineToo_ = false;
};

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

TEST_F(Starter, ProcessStart_PassesArgumentsAndFolder_AndAnswersThePid) {
    ExecRequest r = Request(Probe(), L"--title=Args \"two words\" plain", Work());
    ASSERT_EQ(Execute(r), 1) << "error " << r.ErrorCode;
    EXPECT_EQ(r.ErrorCode, 0);
    ASSERT_GT(r.Result, 0) << "a process start reports its pid";
    std::optional<ProbeRecord> rec = WaitForRecord(static_cast<DWORD>(r.Result));
    ASSERT_TRUE(rec) << "the probe did not start";
    EXPECT_EQ(rec->Args, (std::vector<std::string>{"--title=Args", "two words", "plain"}));
    EXPECT_TRUE(rec->CmdLine.starts_with("\"" + Ansi(Probe().wstring()) + "\" ")) << rec->CmdLine;
    EXPECT_TRUE(SamePath(rec->Cwd, Ansi(Work().wstring()))) << rec->Cwd;

    // Without a working folder the program starts in the caller's.
    const fs::path before = fs::current_path();
    fs::current_path(Probe().parent_path());
    ExecRequest here = Request(Probe(), L"", L"");
    const bool accepted = ExecuteWhenFree(here);
    fs::current_path(before);
    ASSERT_TRUE(accepted) << "error " << here.ErrorCode;
    rec = WaitForRecord(static_cast<DWORD>(here.Result));
    ASSERT_TRUE(rec);
    EXPECT_TRUE(SamePath(rec->Cwd, Ansi(Probe().parent_path().wstring()))) << rec->Cwd;
    EXPECT_TRUE(rec->Args.empty());
}

TEST_F(Starter, ShowCommandAndPriority_ReachTheProgramBeforeItRuns) {
    struct Case {
        int show, prio;
        bool (*state)(HWND);
    };
    const Case cases[] = {{2, 0x40, [](HWND h) { return IsIconic(h) != FALSE; }},
                          {3, 0x8000, [](HWND h) { return IsZoomed(h) != FALSE; }}};
    for (const Case& c : cases) {
        ExecRequest r = Request(Probe(), L"", Work(), c.show, c.prio);
        ASSERT_TRUE(ExecuteWhenFree(r)) << "show " << c.show << ": error " << r.ErrorCode;
        std::optional<ProbeRecord> rec = WaitForRecord(static_cast<DWORD>(r.Result));
        ASSERT_TRUE(rec);
        EXPECT_EQ(rec->ShowCmd, c.show);
        // Recorded by the probe's first instructions: set while it was suspended.
        EXPECT_EQ(rec->Priority, static_cast<unsigned>(c.prio)) << std::hex << rec->Priority;
        HWND hwnd = WaitForWindow(rec->Pid);
        ASSERT_TRUE(hwnd);
        EXPECT_TRUE(WaitFor([&] { return c.state(hwnd); }, Ms(5000)))
            << "show " << c.show << " not applied to the window";
    }
}

TEST_F(Starter, ShellStart_OpensDocumentWithItsProgram_WithShowAndPriority) {
    ProbeFileType type(Probe());
    const fs::path doc = Work() / L"my notes.zorvprobe";
    WriteWholeFile(doc, "text");
    ExecRequest r = Request(doc, L"", Work(), 2, 0x4000);
    r.ShellStart = 1;
    ASSERT_EQ(Execute(r), 1) << "error " << r.ErrorCode;
    std::optional<ProbeRecord> rec = WaitForRecord();
    ASSERT_TRUE(rec) << "the document's program did not start";
    ASSERT_EQ(rec->Args.size(), 2u);
    EXPECT_EQ(rec->Args[0], "--title=Doc");
    EXPECT_TRUE(SamePath(rec->Args[1], Ansi(doc.wstring()))) << rec->Args[1];
    EXPECT_EQ(rec->ShowCmd, 2);
    // The shell gives no suspended start: the class is set right after it.
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, rec->Pid);
    ASSERT_TRUE(h);
    EXPECT_TRUE(WaitFor([&] { return GetPriorityClass(h) == 0x4000; }, Ms(5000)))
        << std::hex << GetPriorityClass(h);
    CloseHandle(h);
}

TEST_F(Starter, ShellStart_Shortcut_ShowsAsTheLinkSays_UnlessAskedOtherwise) {
    struct Case {
        int linkShow, requestShow, expected;
    };
    const Case cases[] = {{SW_SHOWMINNOACTIVE, SW_SHOWNORMAL, SW_SHOWMINNOACTIVE},
                          {SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED},
                          {SW_SHOWNORMAL, SW_SHOWNORMAL, SW_SHOWNORMAL}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("link " + std::to_string(c.linkShow) + ", request " +
                     std::to_string(c.requestShow));
        const fs::path link = Work() / (L"Probe" + std::to_wstring(++n) + L".lnk");
        WriteShortcut(link, Probe(), L"--title=Lnk", c.linkShow);
        ExecRequest r = Request(link, L"", L"", c.requestShow);
        r.ShellStart = 1;
        ASSERT_EQ(Execute(r), 1) << "error " << r.ErrorCode;
        std::optional<ProbeRecord> rec = WaitForRecord();
        ASSERT_TRUE(rec) << "the shortcut's program did not start";
        EXPECT_EQ(rec->Args, std::vector<std::string>{"--title=Lnk"});
        EXPECT_EQ(rec->ShowCmd, c.expected);
        HWND hwnd = WaitForWindow(rec->Pid);
        ASSERT_TRUE(hwnd);
        EXPECT_TRUE(WaitFor(
            [&] {
                return c.expected == SW_SHOWMINNOACTIVE ? IsIconic(hwnd) != FALSE
                       : c.expected == SW_SHOWMAXIMIZED ? IsZoomed(hwnd) != FALSE
                                                        : !IsIconic(hwnd) && !IsZoomed(hwnd);
            },
            Ms(5000)));
    }
}

TEST_F(Starter, RefusesMissingFilesAndBadRequests_WithTheirErrorCodes) {
    auto refusal = [this](ExecRequest r) {
        const std::int32_t answer = Execute(r);
        return answer == 0 ? r.ErrorCode : -1;
    };
    EXPECT_EQ(refusal(Request(Work() / L"missing.exe", L"", Work())), 2);
    EXPECT_EQ(refusal(Request(L"", L"", Work())), 2);
    ExecRequest doc = Request(Work() / L"missing.zorvprobe", L"", Work());
    doc.ShellStart = 1;
    EXPECT_EQ(refusal(doc), 2);
    EXPECT_EQ(refusal(Request(Probe(), L"", Work(), 12)), 87);
    EXPECT_EQ(refusal(Request(Probe(), L"", Work(), 1, 0x1234)), 87);
    ExecRequest unterminated = Request(Probe(), L"", Work());
    std::memset(unterminated.Params, 'x', kExecTextBytes);
    EXPECT_EQ(refusal(unterminated), 87);
    ExecRequest badFolder = Request(Probe(), L"", Work() / L"no such folder");
    EXPECT_GT(refusal(badFolder), 0) << "CreateProcess's own error reaches the caller";
    EXPECT_EQ(execute_(nullptr), 0);
    EXPECT_FALSE(WaitForRecord(0, Ms(1000))) << "a refused request started something";
}

TEST_F(Starter, SameFile_WhileStillStarting_AnswersAlreadyStarting) {
    const fs::path other = Probe().parent_path() / L"other_probe.exe";
    fs::copy_file(Probe(), other);
    // The probe keeps busy before its message loop, so the library's wait for
    // its first idle moment runs into its time-out: the start stays pending.
    ExecRequest first = Request(Probe(), L"--busy=8000", Work());
    ASSERT_EQ(Execute(first), 1) << "error " << first.ErrorCode;
    std::wstring upper = Probe().wstring();
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    ExecRequest again = Request(upper, L"", Work());
    EXPECT_EQ(Execute(again), 0);
    EXPECT_EQ(again.ErrorCode, kErrorAlreadyStarting);
    ExecRequest another = Request(other, L"", Work());
    EXPECT_EQ(Execute(another), 1) << "another file is not blocked: error " << another.ErrorCode;
    // Once the pending start gave up waiting, the file may start again.
    ExecRequest later = Request(Probe(), L"", Work());
    EXPECT_TRUE(ExecuteWhenFree(later)) << "error " << later.ErrorCode;
    EXPECT_TRUE(WaitForRecord(static_cast<DWORD>(later.Result)));
}

TEST_F(Starter, RestrictedUserType_StartsTheProgramOrFailsCleanly) {
    ProbeFileType type(Probe());
    const fs::path doc = Work() / L"restricted.zorvprobe";
    WriteWholeFile(doc, "text");
    ExecRequest program = Request(Probe(), L"--title=Restricted", Work());
    ExecRequest document = Request(doc, L"", Work());
    document.ShellStart = 1;
    for (ExecRequest* r : {&program, &document}) {
        r->UserType = 2;
        if (Execute(*r) == 0) {
            EXPECT_NE(r->ErrorCode, 0);
            EXPECT_NE(r->ErrorCode, kErrorAlreadyStarting);
            continue;
        }
        // Both go through CreateProcessAsUser: a document through its program.
        ASSERT_GT(r->Result, 0);
        std::optional<ProbeRecord> rec = WaitForRecord(static_cast<DWORD>(r->Result));
        ASSERT_TRUE(rec) << "accepted, but the probe did not start";
        if (r == &document) {
            ASSERT_FALSE(rec->Args.empty());
            EXPECT_TRUE(SamePath(rec->Args.back(), Ansi(doc.wstring()))) << rec->CmdLine;
        }
    }
}

}  // namespace
}  // namespace zorv::e2e
