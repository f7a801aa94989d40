#include "launch/activate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace zorv {
namespace {

using Ids = std::vector<WindowId>;

// Processes and windows with their texts, a clock the test moves, the windows activated.
class FakeActivatePlatform : public ActivatePlatform {
  public:
    struct Window {
        WindowId Id;
        std::uint32_t Pid;
        std::string Text;
        bool Visible;
    };
    std::vector<ProcessEntry> processes;
    std::vector<Window> windows;                    // in enumeration order
    std::map<std::string, std::string> shortPaths;  // long -> short (before upper case)
    std::set<std::string> files;
    bool is64 = true;
    std::uint64_t seconds = 100;
    double nextRandom = 0.25;
    Ids activated;

    WindowId AddWindow(std::uint32_t pid, std::string text, bool visible = true) {
        windows.push_back({0x1000 + windows.size() * 0x10, pid, std::move(text), visible});
        return windows.back().Id;
    }
    std::vector<ProcessEntry> ProcessList(const std::vector<std::uint32_t>* pathsOf) override {
        std::vector<ProcessEntry> list = processes;
        for (ProcessEntry& p : list) {
            if (pathsOf && std::find(pathsOf->begin(), pathsOf->end(), p.Pid) == pathsOf->end())
                p.Path.clear();
        }
        return list;
    }
    std::vector<WindowEntry> AppWindows(bool includeHidden) override {
        std::vector<WindowEntry> list;
        for (const Window& w : windows) {
            if (w.Visible || includeHidden) list.push_back({w.Id, w.Pid});
        }
        return list;
    }
    Ids TopLevelWindows() override {
        Ids ids;
        for (const Window& w : windows) ids.push_back(w.Id);
        return ids;
    }
    std::string WindowText(WindowId id) override {
        auto it = std::find_if(windows.begin(), windows.end(), [&](auto& w) { return w.Id == id; });
        return it == windows.end() ? "" : it->Text;
    }
    std::string ShortPathUpper(const std::string& path) override {
        std::string s = shortPaths.count(path) ? shortPaths[path] : path;
        for (char& c : s) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        return s;
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool Is64BitWindows() override { return is64; }
    std::uint64_t Seconds() override { return seconds; }
    double Random() override {
        const double r = nextRandom;
        nextRandom = nextRandom >= 0.9 ? 0.05 : nextRandom + 0.1;
        return r;
    }
    bool WindowExists(WindowId id) override {
        return std::any_of(windows.begin(), windows.end(), [&](auto& w) { return w.Id == id; });
    }
    void ActivateWindow(WindowId id) override { activated.push_back(id); }
};

TEST(ActivateRules, TitlesProgramsAndAppWindows) {
    std::string got;
    for (const char* text : {"Untitled - Report", "Report Viewer", "Report", "My Report Viewer",
                             "report viewer", "Rep"})
        got += TitleMatches(text, "Report") ? '1' : '0';
    EXPECT_EQ(got, "111000");
    // Only ".exe" files are searched by program; batch files run inside another.
    EXPECT_EQ(ExeForSearch("C:\\TOOLS\\EDITOR.EXE"), "C:\\TOOLS\\EDITOR.EXE");
    for (const char* other : {"C:\\Jobs\\backup.BAT", "C:\\Jobs\\run.cmd", "C:\\Docs\\letter.txt",
                              "C:\\My.Tools\\noext", "C:\\Tools\\app.exe.lnk", ""}) {
        EXPECT_EQ(ExeForSearch(other), "") << other;
    }
    // System32 turns into SysWOW64 at the second character only, upper case.
    EXPECT_EQ(SysWow64Alternative("D:\\WINDOWS\\SYSTEM32\\X.EXE"), "D:\\WINDOWS\\SYSWOW64\\X.EXE");
    EXPECT_EQ(SysWow64Alternative("C:\\WINDOWS\\SYSTEM32\\"), "C:\\WINDOWS\\SYSWOW64\\");
    for (const char* no : {"C:\\WINDOWS\\SYSTEM32", "C:\\WINNT\\SYSTEM32\\X.EXE",
                           "\\\\C:\\WINDOWS\\SYSTEM32\\X.EXE", "C:\\windows\\system32\\x.exe"}) {
        EXPECT_EQ(SysWow64Alternative(no), "") << no;
    }
    // Popup, disabled, tool and shell windows are no application windows.
    constexpr std::uint32_t kOverlapped = 0x10CF0000;
    got.clear();
    for (auto [style, ex, cls] : {std::tuple{kOverlapped, 0u, "Notepad"},
                                  {kOverlapped, 0x40000u, "shell_traywnd"},  // WS_EX_APPWINDOW
                                  {kOverlapped | 0x80000000, 0u, "Notepad"},
                                  {kOverlapped | 0x08000000, 0u, "Notepad"},
                                  {kOverlapped, 0x80u, "Notepad"},
                                  {kOverlapped, 0u, ""},
                                  {kOverlapped, 0u, "tooltips_class32"},
                                  {kOverlapped, 0u, "MyToolTip"},
                                  {kOverlapped, 0u, "Shell_TrayWnd"}})
        got += IsAppWindow(style, ex, cls) ? '1' : '0';
    EXPECT_EQ(got, "110000000");
    AppWindowFacts facts{kOverlapped, 0, "Notepad", /*Visible=*/false, /*OwnRoot=*/true};
    EXPECT_TRUE(TakeAppWindow(facts, true) && !TakeAppWindow(facts, false));
    facts.OwnRoot = false;
    EXPECT_FALSE(TakeAppWindow(facts, true));
}

TEST(ActivateRules, WindowOwnersRootsAndSixteenBitTasks) {
    const std::vector<ProcessEntry> processes = {{1, "C:\\A.EXE"}, {2, "C:\\B.EXE"}};
    const std::vector<WindowEntry> windows = {{0x10, 2}, {0x20, 1}, {0x30, 3}};
    EXPECT_EQ(ExeOfWindow(processes, windows, 0x10), "C:\\B.EXE");
    EXPECT_EQ(ExeOfWindow(processes, windows, 0x30), "");  // process not listed
    EXPECT_EQ(ExeOfWindow(processes, windows, 0x40), "");  // window not listed
    // 1 <- 2 <- 3 in process 7; 1's parent 9 belongs to process 8.
    auto parent = [](WindowId w) -> WindowId { return w == 3 ? 2 : w == 2 ? 1 : w == 1 ? 9 : 0; };
    auto pid = [](WindowId w) -> std::uint32_t { return w == 9 ? 8 : 7; };
    EXPECT_EQ(SameProcessRoot(3, parent, pid), 1u);
    EXPECT_EQ(SameProcessRoot(9, parent, pid), 9u);
    auto loop = [](WindowId w) -> WindowId { return w == 1 ? 2 : 1; };  // ends, not hangs
    EXPECT_NE(SameProcessRoot(1, loop, pid), 0u);
    // The last task other than WOWEXEC stands for the virtual machine.
    const std::string vdm = "C:\\WINNT\\system32\\ntvdm.exe";
    EXPECT_EQ(ReplaceNtvdmPath(vdm, {"C:\\WINNT\\SYSTEM32\\WOWEXEC.EXE", "C:\\APPS\\OLD.EXE",
                                     "C:\\APPS\\OLDER.EXE", "C:\\WINNT\\system32\\wowexec.exe"}),
              "C:\\APPS\\OLDER.EXE");
    EXPECT_EQ(ReplaceNtvdmPath(vdm, {"C:\\WINNT\\SYSTEM32\\WOWEXEC.EXE"}), vdm);
    EXPECT_EQ(ReplaceNtvdmPath("C:\\Tools\\Editor.exe", {"C:\\APPS\\OLD.EXE"}),
              "C:\\Tools\\Editor.exe");
}

TEST(ActivateRules, TitleSnapshotFindsTheFirstTitleWindowThatIsNew) {
    const std::vector<TitledWindow> before = {{1, "Notes - a.txt"}, {2, "Mail"}, {3, "b - Notes"}};
    const Ids snapshot = TitleWindows(before, "Notes");
    EXPECT_EQ(snapshot, (Ids{1, 3}));
    std::vector<TitledWindow> after = before;
    after.insert(after.begin() + 1, {{4, "Mail - Notes draft"}, {5, "Notes - c.txt"}});
    EXPECT_EQ(FindNewTitleWindow(after, &snapshot, "Notes"), 4u);  // contains is enough
    EXPECT_EQ(FindNewTitleWindow(before, &snapshot, "Notes"), 0u);
    EXPECT_EQ(FindNewTitleWindow(after, nullptr, "Notes"), 1u);  // no snapshot: any
    EXPECT_EQ(FindNewTitleWindow(after, &snapshot, "notes"), 0u);
}

TEST(FindWindows, ByTitleInListOrder_ByProgramWithItsSysWow64Twin_AtMostTwenty) {
    FakeActivatePlatform fake;
    fake.processes = {{10, "C:\\Windows\\System32\\calc.exe"},
                      {20, "C:\\Windows\\SysWOW64\\calc.exe"},
                      {30, "C:\\Program Files\\Big Editor\\editor.exe"},
                      {40, ""}};  // could not be opened: never matches
    const WindowId native = fake.AddWindow(10, "Calculator");
    const WindowId wow = fake.AddWindow(20, "Calculator");
    const WindowId hidden = fake.AddWindow(10, "Calculator - Memory", /*visible=*/false);
    const WindowId settings = fake.AddWindow(10, "Settings");
    const WindowId editor = fake.AddWindow(30, "My Calculator Notes");
    const WindowId unknown = fake.AddWindow(40, "Calculator");
    fake.files = {"C:\\WINDOWS\\SYSWOW64\\CALC.EXE"};
    const std::string calc = "c:\\windows\\system32\\calc.exe";
    EXPECT_EQ(FindWindowsByTitle(fake, "Calculator"), (Ids{native, wow, hidden, unknown}));
    EXPECT_EQ(ExeWindows(fake, calc, ""), (Ids{native, settings, wow}));
    EXPECT_EQ(ExeWindows(fake, calc, "Calculator"), (Ids{native, hidden, wow}));
    EXPECT_EQ(ExeWindows(fake, "", ""), Ids{});
    fake.is64 = false;
    EXPECT_EQ(ExeWindows(fake, calc, ""), (Ids{native, settings}));
    fake.is64 = true;
    fake.files.clear();  // no 32-bit copy to find
    EXPECT_EQ(ExeWindows(fake, calc, ""), (Ids{native, settings}));
    // Paths compare in their short upper-case form.
    fake.shortPaths["C:\\Program Files\\Big Editor\\editor.exe"] = "C:\\PROGRA~1\\BIGEDI~1\\E.exe";
    fake.shortPaths["c:\\program files\\big editor\\EDITOR.EXE"] = "c:\\progra~1\\bigedi~1\\E.EXE";
    EXPECT_EQ(ExeWindows(fake, "c:\\program files\\big editor\\EDITOR.EXE", ""), (Ids{editor}));
    for (int i = 0; i < 30; ++i) fake.AddWindow(20, "Calculator");
    EXPECT_EQ(ExeWindows(fake, "C:\\WINDOWS\\SYSWOW64\\CALC.EXE", "").size(), 20u);
    EXPECT_EQ(FindWindowsByTitle(fake, "Calculator").size(), 20u);
}

constexpr char kEditor[] = "C:\\Tools\\Editor.exe";

struct CycleFixture : ::testing::Test {
    FakeActivatePlatform fake;
    ActivationCycle cycle{fake};
    Ids w;  // three windows of the editor, one of another program in between

    CycleFixture() {
        fake.processes = {{4, "C:\\Tools\\Other.exe"}, {8, kEditor}};
        w.push_back(fake.AddWindow(8, "One - Editor"));
        fake.AddWindow(4, "Other");
        w.push_back(fake.AddWindow(8, "Two - Editor"));
        w.push_back(fake.AddWindow(8, "Three - Editor"));
    }
    Ids Press(int times, const std::string& title = "", const std::string& exe = kEditor) {
        fake.activated.clear();
        for (int i = 0; i < times; ++i) cycle.ActivateApp(title, exe);
        return fake.activated;
    }
};

TEST_F(CycleFixture, PressesStepThroughTheWindowsAndWrap_UntilAStartReduceOrSixSecondsEnd) {
    EXPECT_EQ(Press(4), (Ids{w[0], w[1], w[2], w[0]}));  // as end to end
    cycle.EndByStart();
    EXPECT_EQ(Press(2), (Ids{w[0], w[1]}));
    cycle.EndByReduce();
    EXPECT_EQ(Press(1), (Ids{w[0]}));
    fake.seconds += 5;
    EXPECT_EQ(Press(1), (Ids{w[1]}));  // still the cycle opened 5 s ago
    fake.seconds += 1;
    EXPECT_EQ(Press(1), (Ids{w[0]}));  // 6 s after it opened: a new one
    // Another program opens its own cycle.
    EXPECT_EQ(Press(1, "", "C:\\Tools\\Other.exe"), (Ids{fake.windows[1].Id}));
    EXPECT_EQ(Press(1), (Ids{w[0]}));
    cycle.EndByReduce();  // A new cycle even when the random source repeats the open cycle's token.
    fake.nextRandom = 0.25;
    EXPECT_EQ(Press(1), (Ids{w[0]}));  // its token is 1.25
    fake.nextRandom = 0.25;
    cycle.EndByReduce();
    EXPECT_EQ(Press(1), (Ids{w[0]}));
}

TEST_F(CycleFixture, TitleOnlyItems_TwentyWindowsAtMost_NothingFoundActivatesNothing) {
    fake.processes.push_back({9, "C:\\Windows\\System32\\cmd.exe"});
    const WindowId console = fake.AddWindow(9, "Backup running");
    EXPECT_EQ(Press(2, "Backup", "C:\\Jobs\\backup.bat"), (Ids{console, console}));
    for (int i = 0; i < 25; ++i) fake.AddWindow(1, "Doc " + std::to_string(i) + " - Notes");
    const Ids pressed = Press(21, "Notes", "");  // twenty windows in turn, then the first again
    EXPECT_EQ(std::tuple(pressed[19], pressed[20]), std::tuple(fake.windows[24].Id, pressed[0]));
    EXPECT_EQ(Press(1, "", "C:\\Tools\\Missing.exe"), Ids{});
    EXPECT_EQ(Press(1, "", ""), Ids{});  // neither program nor title
}

TEST_F(CycleFixture, AClosedWindowRestartsTheSearch_ListsOfDeadWindowsGiveUp) {
    EXPECT_EQ(Press(1), (Ids{w[0]}));
    std::erase_if(fake.windows, [&](auto& window) { return window.Id == w[1]; });
    // The second window is gone: a new search, whose first window comes next.
    EXPECT_EQ(Press(2), (Ids{w[0], w[2]}));
    EXPECT_EQ(cycle.Count(), 2u);
    struct Stale : FakeActivatePlatform {
        bool WindowExists(WindowId) override { return false; }
    } stale;
    stale.processes = {{8, kEditor}};
    stale.AddWindow(8, "Ghost");
    ActivationCycle ghostCycle{stale};
    EXPECT_FALSE(ghostCycle.ActivateApp("", kEditor));
    EXPECT_TRUE(stale.activated.empty());
}

}  // namespace
}  // namespace zorv
