// The rules that pick candidate windows: titles, program paths, the window
// list, 16-bit tasks and the title snapshot.
#include <gtest/gtest.h>

#include "launch/activate.h"
#include "launch/activate_fake_platform.h"

namespace zorv {
namespace {

using testing::FakeActivatePlatform;
using Ids = std::vector<WindowId>;

TEST(TitleMatches, TitleMustBeginOrEndTheTextCaseSensitively) {
    EXPECT_TRUE(TitleMatches("Untitled - Report", "Report"));
    EXPECT_TRUE(TitleMatches("Report Viewer", "Report"));
    EXPECT_TRUE(TitleMatches("Report", "Report"));
    EXPECT_FALSE(TitleMatches("My Report Viewer", "Report"));
    EXPECT_FALSE(TitleMatches("report viewer", "Report"));
    EXPECT_FALSE(TitleMatches("Rep", "Report"));
}

TEST(FindWindowsByTitle, TakesMatchesInListOrderHiddenOnesToo) {
    FakeActivatePlatform fake;
    const WindowId a = fake.AddWindow(1, "Untitled - Report");
    fake.AddWindow(1, "My Report Viewer");
    const WindowId b = fake.AddWindow(2, "Report Viewer", /*visible=*/false);
    fake.AddWindow(2, "REPORT");
    EXPECT_EQ(FindWindowsByTitle(fake, "Report"), (Ids{a, b}));
}

TEST(ExeForSearch, OnlyExeFilesAreSearchedByProgram) {
    EXPECT_EQ(ExeForSearch("C:\\Tools\\Editor.exe"), "C:\\Tools\\Editor.exe");
    EXPECT_EQ(ExeForSearch("C:\\TOOLS\\EDITOR.EXE"), "C:\\TOOLS\\EDITOR.EXE");
    for (const char* other : {"C:\\Jobs\\backup.BAT", "C:\\Jobs\\run.cmd", "C:\\Old\\app.PIF",
                              "C:\\Old\\app.com", "C:\\Docs\\letter.txt", "C:\\Tools\\noext",
                              "C:\\My.Tools\\noext", "C:\\Tools\\app.exe.lnk", ""}) {
        EXPECT_EQ(ExeForSearch(other), "") << other;
    }
}

TEST(SysWow64Alternative, ReplacesSystem32AtTheSecondCharacterOnly) {
    EXPECT_EQ(SysWow64Alternative("C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE"),
              "C:\\WINDOWS\\SYSWOW64\\NOTEPAD.EXE");
    EXPECT_EQ(SysWow64Alternative("D:\\WINDOWS\\SYSTEM32\\X.EXE"), "D:\\WINDOWS\\SYSWOW64\\X.EXE");
    EXPECT_EQ(SysWow64Alternative("C:\\WINDOWS\\SYSTEM32\\"), "C:\\WINDOWS\\SYSWOW64\\");
    EXPECT_EQ(SysWow64Alternative("C:\\WINDOWS\\SYSTEM32"), "");
    EXPECT_EQ(SysWow64Alternative("C:\\WINNT\\SYSTEM32\\X.EXE"), "");
    EXPECT_EQ(SysWow64Alternative("\\\\C:\\WINDOWS\\SYSTEM32\\X.EXE"), "");
    EXPECT_EQ(SysWow64Alternative("C:\\windows\\system32\\x.exe"), "");  // compared upper case
}

struct ExeWindowsFixture : ::testing::Test {
    FakeActivatePlatform fake;
    const std::string system32 = "C:\\WINDOWS\\SYSTEM32\\CALC.EXE";
    const std::string syswow64 = "C:\\WINDOWS\\SYSWOW64\\CALC.EXE";
    WindowId native = 0, wow = 0;

    void SetUp() override {
        fake.processes = {{10, "C:\\Windows\\System32\\calc.exe"},
                          {20, "C:\\Windows\\SysWOW64\\calc.exe"}};
        native = fake.AddWindow(10, "Calculator");
        wow = fake.AddWindow(20, "Calculator");
        fake.files = {syswow64};
    }
};

TEST_F(ExeWindowsFixture, System32ItemAlsoFindsTheSysWow64InstanceOn64BitWindows) {
    EXPECT_EQ(ExeWindows(fake, "c:\\windows\\system32\\calc.exe", ""), (Ids{native, wow}));
    fake.is64 = false;
    EXPECT_EQ(ExeWindows(fake, "c:\\windows\\system32\\calc.exe", ""), (Ids{native}));
    fake.is64 = true;
    fake.files.clear();  // the alternative file does not exist
    EXPECT_EQ(ExeWindows(fake, "c:\\windows\\system32\\calc.exe", ""), (Ids{native}));
}

TEST_F(ExeWindowsFixture, ComparesShortUpperCasePaths) {
    fake.processes.push_back({30, "C:\\Program Files\\Big Editor\\editor.exe"});
    fake.shortPaths["C:\\Program Files\\Big Editor\\editor.exe"] =
        "C:\\PROGRA~1\\BIGEDI~1\\editor.exe";
    fake.shortPaths["c:\\program files\\big editor\\EDITOR.EXE"] =
        "c:\\progra~1\\bigedi~1\\EDITOR.EXE";
    const WindowId editor = fake.AddWindow(30, "Editor");
    fake.processes.push_back({50, "C:\\Tools\\NoWindow.exe"});
    EXPECT_EQ(ExeWindows(fake, "c:\\program files\\big editor\\EDITOR.EXE", ""), (Ids{editor}));
    // Paths are read only for processes that own a listed window.
    EXPECT_EQ(fake.pathsAsked, (std::vector<std::uint32_t>{10, 20, 30}));
}

TEST_F(ExeWindowsFixture, TitleNarrowsTheWindowsAndTakesHiddenOnes) {
    const WindowId hidden = fake.AddWindow(10, "Calculator - Memory", /*visible=*/false);
    const WindowId settings = fake.AddWindow(10, "Settings");
    EXPECT_EQ(ExeWindows(fake, system32, ""), (Ids{native, settings, wow}));
    EXPECT_EQ(ExeWindows(fake, system32, "Calculator"), (Ids{native, hidden, wow}));
    EXPECT_EQ(fake.hiddenFlags, (std::vector<bool>{false, true}));
    // Processes that could not be opened have no path and never match.
    fake.processes.push_back({40, ""});
    EXPECT_EQ(ExeWindows(fake, "", ""), Ids{});
}

TEST_F(ExeWindowsFixture, StopsAtTwentyWindows) {
    for (int i = 0; i < 30; ++i) fake.AddWindow(20, "Calculator");
    EXPECT_EQ(ExeWindows(fake, system32, "").size(), 20u);
}

TEST(ExeOfWindow, PathOfTheProcessOwningAListedWindow) {
    const std::vector<ProcessEntry> processes = {{1, "C:\\A.EXE"}, {2, "C:\\B.EXE"}};
    const std::vector<WindowEntry> windows = {{0x10, 2}, {0x20, 1}, {0x30, 3}};
    EXPECT_EQ(ExeOfWindow(processes, windows, 0x10), "C:\\B.EXE");
    EXPECT_EQ(ExeOfWindow(processes, windows, 0x20), "C:\\A.EXE");
    EXPECT_EQ(ExeOfWindow(processes, windows, 0x30), "");  // process not listed
    EXPECT_EQ(ExeOfWindow(processes, windows, 0x40), "");  // window not listed
}

TEST(AppWindows, PopupDisabledToolAndShellWindowsAreLeftOut) {
    constexpr std::uint32_t kOverlapped = 0x10CF0000;
    EXPECT_TRUE(IsAppWindow(kOverlapped, 0, "Notepad"));
    EXPECT_FALSE(IsAppWindow(kOverlapped | 0x80000000, 0, "Notepad"));  // WS_POPUP
    EXPECT_FALSE(IsAppWindow(kOverlapped | 0x08000000, 0, "Notepad"));  // WS_DISABLED
    EXPECT_FALSE(IsAppWindow(kOverlapped, 0x80, "Notepad"));            // WS_EX_TOOLWINDOW
    EXPECT_TRUE(IsAppWindow(kOverlapped, 0x40000, "Notepad"));          // WS_EX_APPWINDOW
    for (const char* cls : {"", "tooltips_class32", "MyToolTip", "Shell_TrayWnd"}) {
        EXPECT_FALSE(IsAppWindow(kOverlapped, 0, cls)) << cls;
    }
    EXPECT_TRUE(IsAppWindow(kOverlapped, 0, "shell_traywnd"));  // exact name only

    AppWindowFacts facts{kOverlapped, 0, "Notepad", /*Visible=*/false, /*OwnRoot=*/true};
    EXPECT_FALSE(TakeAppWindow(facts, false));
    EXPECT_TRUE(TakeAppWindow(facts, true));
    facts.OwnRoot = false;
    EXPECT_FALSE(TakeAppWindow(facts, true));
}

TEST(SameProcessRoot, FollowsParentsOfTheSameProcessOnly) {
    // 1 <- 2 <- 3 in process 7; 1's parent 9 belongs to process 8.
    auto parent = [](WindowId w) -> WindowId { return w == 3 ? 2 : w == 2 ? 1 : w == 1 ? 9 : 0; };
    auto pid = [](WindowId w) -> std::uint32_t { return w == 9 ? 8 : 7; };
    EXPECT_EQ(SameProcessRoot(3, parent, pid), 1u);
    EXPECT_EQ(SameProcessRoot(1, parent, pid), 1u);
    EXPECT_EQ(SameProcessRoot(9, parent, pid), 9u);
    // An owner loop ends instead of hanging.
    auto loop = [](WindowId w) -> WindowId { return w == 1 ? 2 : 1; };
    const WindowId root = SameProcessRoot(1, loop, pid);
    EXPECT_TRUE(root == 1 || root == 2);
}

TEST(ReplaceNtvdmPath, TheLastTaskOtherThanWowexecStandsForTheMachine) {
    const std::string vdm = "C:\\WINNT\\system32\\ntvdm.exe";
    EXPECT_EQ(ReplaceNtvdmPath(vdm, {"C:\\WINNT\\SYSTEM32\\WOWEXEC.EXE", "C:\\APPS\\OLD.EXE",
                                     "C:\\APPS\\OLDER.EXE", "C:\\WINNT\\system32\\wowexec.exe"}),
              "C:\\APPS\\OLDER.EXE");
    EXPECT_EQ(ReplaceNtvdmPath(vdm, {"C:\\WINNT\\SYSTEM32\\WOWEXEC.EXE"}), vdm);
    EXPECT_EQ(ReplaceNtvdmPath(vdm, {}), vdm);
    EXPECT_EQ(ReplaceNtvdmPath("C:\\Tools\\Editor.exe", {"C:\\APPS\\OLD.EXE"}),
              "C:\\Tools\\Editor.exe");
}

TEST(TitleSnapshot, FindsTheFirstTitleWindowThatIsNew) {
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

}  // namespace
}  // namespace zorv
