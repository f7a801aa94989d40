#include "launch/execute.h"

#include <gtest/gtest.h>

#include "support/texts.h"
#include "launch/exec_pack.h"
#include "launch/fake_launch_platform.h"
#include "launch/force_state.h"

namespace zorv {
namespace {

using Strings = std::vector<std::string>;
using Did = std::map<std::string, int>;

const std::string kApp = "C:\\Program Files\\App\\app.exe";

// What the starter was handed: "file|params|folder|show|priority|user|shell".
std::string Handed(const ExecRequest& r) {
    return std::string(r.File) + "|" + r.Params + "|" + r.WorkDir + "|" +
           std::to_string(r.ShowCmd) + "|" + std::to_string(r.PriorityClass) + "|" +
           std::to_string(r.UserType) + "|" + std::to_string(r.ShellStart);
}

struct ExecuteFixture : ::testing::Test {
    testing::FakeLaunchPlatform fake;
    LaunchFacts facts = testing::StandardFacts();
    Launcher launcher{fake, facts};
    bool savedEnglish = EnglishTexts;

    ExecuteFixture() {
        testing::AddStandardWorld(fake);
        EnglishTexts = true;
    }
    ~ExecuteFixture() override { EnglishTexts = savedEnglish; }
    bool Run(std::string path, std::string wrkDir = "", std::int32_t userType = 0,
             std::int32_t style = 1, std::int32_t prio = 2, const std::string& title = "",
             bool showErrors = true) {
        return launcher.ExecuteCommand(path, wrkDir, userType, style, prio, title, showErrors);
    }
    void Refuse(std::int32_t error) {
        fake.starterAnswer = {StarterAnswer::Refused, {}};
        fake.starterError = error;
    }
};

TEST_F(ExecuteFixture, TheRequestCarriesProgramFolderShowCommandPriorityAndUserType) {
    const struct {
        const char *path, *wrkDir;
        std::int32_t userType, style, prio;
        const char* handed;
    } cases[] = {
        // A URL goes to the shell unchecked, from the Windows folder.
        {"www.example.com", "", 0, 1, 2, "www.example.com||C:\\WINDOWS|1|32|0|1"},
        // A folder: no program, so the shell opens it, without priority or user
        // type; style 1xx shows as xx.
        {"C:\\Docs", "", 1, 103, 4, "C:\\Docs||C:\\WINDOWS|3|32|0|1"},
        // The program's own folder, documents and priorities 1 to 3: end to end.
        // Style 1xx shows as xx; priority 4 is high.
        {"\"C:\\Program Files\\App\\app.exe\" -x", "C:\\Mine", 2, 102, 4,
         "C:\\Program Files\\App\\app.exe|-x|C:\\Mine\\|2|128|2|0"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Run(c.path, c.wrkDir, c.userType, c.style, c.prio)) << c.path;
        EXPECT_EQ(Handed(fake.requests.back()), c.handed);
        // From the start folder, and resting on the Windows drive's root after.
        EXPECT_EQ(fake.folderChanges.front(), "C:\\Start");
        EXPECT_EQ(fake.cwd, "C:\\");
    }
    // Style 102 also forces the state on the program's window when it comes.
    const ForceWindowState& force = launcher.ForceState();
    ASSERT_TRUE(force.Pending());
    EXPECT_EQ(std::tuple(force.Exe, force.State, *force.StampMs),
              std::tuple(std::string("C:\\PROGRAM FILES\\APP\\APP.EXE"), 2, fake.nowMs));
}

TEST_F(ExecuteFixture, WhatFailsIsReportedOnce_TextsAreRefusedNotCut) {
    // Both warnings of a missing program speak both languages end to end.
    fake.missingDrives = {'X'};
    EXPECT_FALSE(Run("x:\\tools\\a.exe -v"));
    EXPECT_FALSE(Run("%NOPE%\\a.exe"));
    EXPECT_EQ(fake.did["ClearHistory"], 2);
    EXPECT_EQ(fake.foreground, fake.kBar);
    Refuse(kErrorAlreadyStarting);
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    fake.starterAnswer = {StarterAnswer::LibraryMissing, {}};
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    EXPECT_EQ(fake.cwd, "C:\\Start");  // no rest on the drive root after these
    fake.starterAnswer = {StarterAnswer::CallFailed, "no entry point"};
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    Refuse(5);
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    Refuse(31);
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    // A refused elevation, and callers that want no messages, stay silent.
    EXPECT_FALSE(Run(kApp, "C:\\Mine", 1));
    EXPECT_FALSE(Run(kApp, "C:\\Mine", 0, 1, 2, "", false));
    fake.starterAnswer = {StarterAnswer::Accepted, {}};
    EXPECT_FALSE(Run(kApp + " " + std::string(300, 'p')));
    EXPECT_TRUE(Run(kApp + " " + std::string(259, 'p')));
    fake.asciiOnlyCodePage = true;
    fake.AddFile("C:\\Docs\\caf\xC3\xA9.exe");
    EXPECT_FALSE(Run("C:\\Docs\\caf\xC3\xA9.exe"));
    EXPECT_EQ(fake.messages,
              (Strings{"top: Drive X: not found for executing \r\nx:\\tools\\a.exe -v",
                       "top: Program not found:\r\n%NOPE%\\a.exe", "box: Already starting...",
                       "box: Zorv.dll not found", "box: Error: no entry point",
                       "box: Error executing '" + kApp + "'\r\nSystem text 5",
                       "box: Error executing '" + kApp + "'\r\nNo link for this type of file",
                       "top: Not started: the text is too long (at most 259 bytes in the system "
                       "code page):\r\n" +
                           std::string(300, 'p'),
                       "top: Not started: the text holds characters the system code page "
                       "cannot represent:\r\nC:\\Docs\\caf\xC3\xA9.exe"}));
    EXPECT_EQ(std::string(fake.requests.back().Params), std::string(259, 'p'));
}

TEST_F(ExecuteFixture, TextsTheCodePageCannotHoldGoInTheUnicodeRequest_WhereTheLibraryHasIt) {
    fake.asciiOnlyCodePage = true;
    fake.unicodeStarter = true;
    const std::string cyrillic = "C:\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0\\probe.exe";
    fake.AddFile(cyrillic);
    EXPECT_TRUE(Run("\"" + cyrillic + "\" --title=\xCE\xB1", "C:\\Mine"));
    EXPECT_EQ(fake.unicodeRequests, Strings{cyrillic + "|--title=\xCE\xB1|C:\\Mine\\"});
    EXPECT_EQ(fake.requests.back().PriorityClass, 0x20);  // the numbers as in the ANSI form
    EXPECT_EQ(fake.messages, Strings{});
    // Beyond the system's long-path limit even the Unicode form refuses.
    const std::string deep = "C:\\" + std::string(40000, 'd') + "\\a.exe";
    fake.AddFile(deep);
    EXPECT_FALSE(Run(deep));
    EXPECT_EQ(fake.unicodeRequests.size(), 1u);
}

TEST_F(ExecuteFixture, AQuietStartShowsNoMessageWhateverFails_AndStartsAsANormalUser) {
    fake.missingDrives = {'X'};
    Item item{.Desc = "Auto", .Path = "x:\\tools\\a.exe", .UserType = 1, .Title = "App"};
    EXPECT_FALSE(launcher.StartQuietly(item));
    item.Path = kApp + " " + std::string(300, 'p');
    EXPECT_FALSE(launcher.StartQuietly(item));
    item.Path = kApp;
    for (StarterAnswer answer : {StarterAnswer::LibraryMissing, StarterAnswer::CallFailed}) {
        fake.starterAnswer = {answer, "no entry point"};
        EXPECT_FALSE(launcher.StartQuietly(item));
    }
    EXPECT_FALSE(launcher.LastStartWasBusy());
    Refuse(kErrorAlreadyStarting);
    EXPECT_FALSE(launcher.StartQuietly(item));
    EXPECT_TRUE(launcher.LastStartWasBusy());  // the autostart list tries it again
    EXPECT_EQ(fake.messages, Strings{});
    fake.starterAnswer = {StarterAnswer::Accepted, {}};
    EXPECT_TRUE(launcher.StartQuietly(item));
    EXPECT_EQ(fake.requests.back().UserType, 0);
    EXPECT_EQ(fake.cwd, "C:\\");
}

TEST_F(ExecuteFixture, ExecuteItem_SeparatorActivationAndStart) {
    Item item{.Desc = "-", .Path = kApp};
    EXPECT_EQ(launcher.ExecuteItem(item, false), ExecResult::Nothing);
    item.Desc = item.Title = "App";
    item.Activate = 1;  // activating, and starting anyway, are judged end to end
    fake.activates = true;
    EXPECT_EQ(launcher.ExecuteItem(item, true), ExecResult::Started);
    EXPECT_EQ(launcher.LastResult(), ExecResult::Started);
    EXPECT_EQ(fake.did, (Did{{"EndActivationCycle", 1}, {"SetBarOnTop", 1}}));
    item.Style = 102;  // A failed start leaves no forced state waiting.
    Refuse(2);
    EXPECT_EQ(launcher.ExecuteItem(item, true), ExecResult::Nothing);
    EXPECT_FALSE(launcher.ForceState().Pending());
    EXPECT_EQ(launcher.LastResult(), ExecResult::Nothing);
    // Activation asks FindExe, which answers for a shortcut with its target
    // and hands the shortcut's settings to the item being started.
    item.Path = "C:\\Links\\editor.lnk", item.Title = "", item.Style = 1;
    fake.activates = false;
    fake.starterAnswer = {StarterAnswer::Accepted, {}};
    EXPECT_EQ(launcher.ExecuteItem(item, false), ExecResult::Started);
    EXPECT_EQ(fake.activateAsked, "|" + kApp);
    EXPECT_EQ(Handed(fake.requests.back()), kApp + "||C:\\Work\\|3|32|0|0");
}

TEST_F(ExecuteFixture, ForegroundLockBringsTheNewTitleWindow_ElevationClearsTheWayFirst) {
    fake.foregroundLock = 200000;
    fake.newWindow = 777;
    std::uint64_t start = fake.nowMs;
    ASSERT_TRUE(Run(kApp, "", 0, 1, 2, "App"));
    EXPECT_EQ(fake.foreground, 777u);
    EXPECT_EQ(fake.nowMs - start, 10u);
    // Nothing shows up: about one second of looking, then the start counts.
    fake.newWindow = 0, start = fake.nowMs;
    ASSERT_TRUE(Run(kApp, "", 0, 1, 2, "App"));
    EXPECT_EQ(fake.nowMs - start, 1000u);
    // Without a lock the program takes the foreground itself.
    fake.foregroundLock = 299, fake.newWindow = 778, start = fake.nowMs;
    ASSERT_TRUE(Run(kApp, "", 0, 1, 2, "App"));
    EXPECT_EQ(fake.foreground, 777u);
    EXPECT_EQ(fake.nowMs, start);
    // An elevation prompt from Vista on: the bar takes the foreground and
    // Escape closes what that opened; not when the bar did not get it.
    ASSERT_TRUE(Run(kApp, "", 1));
    EXPECT_EQ(fake.foreground, fake.kBar);
    EXPECT_EQ(fake.did["Escape"], 1);
    fake.foreground = 500, fake.barTakesForeground = false;
    ASSERT_TRUE(Run(kApp, "", 1));
    EXPECT_EQ(fake.did["Escape"], 1);
}

TEST_F(ExecuteFixture, OldWindowsStartsThroughTheShell) {
    facts.WindowsMajor = 4;
    Launcher old(fake, facts);
    std::string exe = kApp + " -x", folder = "C:\\Docs", wrkDir, empty;
    std::int32_t userType = 1, prio = -1;
    ASSERT_TRUE(old.ExecuteCommand(exe, wrkDir, userType, 3, prio, "", true));
    ASSERT_TRUE(old.ExecuteCommand(folder, empty, userType, 1, prio, "", true));
    ASSERT_EQ(fake.shellStarts.size(), 2u);
    const ShellStartArgs& started = fake.shellStarts[0];
    EXPECT_EQ(std::tie(started.Verb, started.File, started.Params),
              std::make_tuple("", kApp, "-x"));
    EXPECT_EQ(started.ShowCmd, 3);
    EXPECT_EQ(fake.shellStarts[1].Verb, "open");
    EXPECT_TRUE(fake.requests.empty());
    fake.shellAnswer = {false, 2};
    std::string missing = kApp;
    EXPECT_FALSE(old.ExecuteCommand(missing, empty, userType = 0, 1, prio, "", true));
    EXPECT_EQ(fake.messages, Strings{"box: Error executing '" + kApp + "'\r\nSystem text 2"});
}

constexpr std::uint32_t kMain = 0x00CF0000;  // caption, system menu, boxes
constexpr std::uint32_t kSplash = 0x80000000;

// One foreground window and the show command it was given (-1: none).
struct FakeForce : ForcePlatform {
    std::uint64_t now = 50000;
    std::string exe;
    std::uint32_t style = kMain;
    bool minimized = false, maximized = false, titled = false;
    std::int32_t shown = -1;

    std::uint64_t NowMs() override { return now; }
    WindowId VisibleForegroundWindow() override { return 10; }
    void Sleep(std::uint32_t ms) override { now += ms; }
    std::string ExeOfWindowShort(WindowId) override { return exe; }
    WindowId WindowByTitle(const std::string&) override { return titled ? 10 : 20; }
    std::uint32_t WindowStyle(WindowId) override { return style; }
    bool IsVisible(WindowId) override { return true; }
    bool IsMinimized(WindowId) override { return minimized; }
    bool IsMaximized(WindowId) override { return maximized; }
    void Show(WindowId, std::int32_t cmd) override { shown = cmd; }
};

TEST(ForcedWindowState, TheStartedProgramsMainWindowGetsTheStateWithin15s) {
    const struct {
        const char *wanted, *title;
        std::int32_t state;
        const char* exe;
        std::uint32_t style;
        bool minimized, maximized, titled, done;
        std::int32_t shown;
    } cases[] = {
        {"C:\\APP.EXE", "", 2, "C:\\OTHER.EXE", kMain, false, false, false, false, -1},
        {"C:\\APP.EXE", "", 2, "C:\\APP.EXE", kSplash, false, false, false, false, -1},
        // An unknown program counts when the title confirms the window.
        {"C:\\APP.EXE", "Editor", 3, "", kSplash, false, true, false, false, -1},
        {"C:\\APP.EXE", "Editor", 3, "", kSplash | 0x10000, false, true, true, true, 3},
        // A batch file's window belongs to the console host.
        {"C:\\RUN.BAT", "", 1, "C:\\WINDOWS\\SYSTEM32\\CMD.EXE", kMain, true, false, false, true,
         9},
        {"C:\\APP.EXE", "", 1, "C:\\APP.EXE", kMain, false, false, false, true, -1},
        {"C:\\APP.EXE", "", 0, "C:\\APP.EXE", kMain, false, false, false, true, 0},
    };
    for (const auto& c : cases) {
        FakeForce fake;
        fake.exe = c.exe, fake.style = c.style, fake.minimized = c.minimized;
        fake.maximized = c.maximized, fake.titled = c.titled;
        ForceWindowState state{c.wanted, c.title, c.state, fake.now - 14000};
        EXPECT_EQ(CheckForcedWindowState(state, fake), c.done) << c.wanted << c.exe << c.state;
        EXPECT_EQ(fake.shown, c.shown) << c.wanted << c.exe << c.state;
        EXPECT_EQ(state.Pending(), !c.done);
    }
    FakeForce fake;  // A window is judged once: turning into a main window later does not count.
    fake.exe = "C:\\APP.EXE", fake.style = kSplash;
    ForceWindowState state{"C:\\APP.EXE", "", 2, fake.now};
    EXPECT_FALSE(CheckForcedWindowState(state, fake));
    fake.style = kMain;
    EXPECT_FALSE(CheckForcedWindowState(state, fake));
    // 15 s without the window: the wait ends untouched.
    state.StampMs = fake.now - kForceWindowMs, state.LastWindow = 0;
    EXPECT_FALSE(CheckForcedWindowState(state, fake));
    EXPECT_FALSE(state.Pending());
    EXPECT_EQ(fake.shown, -1);
}

// A shell start fails in the library after it was accepted: the bar shows
// what a refusal would have shown, except for a cancelled prompt, a start
// without messages, or a report nobody asked for.
TEST_F(ExecuteFixture, LateFailuresOfShellStartsShowTheMessageOfTheStart) {
    ASSERT_TRUE(Run("C:\\Docs"));
    const std::int32_t doc = launcher.LastRequest().ReportId;
    ASSERT_TRUE(Run(kApp));
    EXPECT_EQ(launcher.LastRequest().ReportId, 0) << "a process start cannot fail later";
    ASSERT_TRUE(Run("www.example.com", "", 0, 1, 2, "", false));
    const std::int32_t quiet = launcher.LastRequest().ReportId;
    ASSERT_TRUE(Run("C:\\Docs\\plain.txt", "", 1));
    const std::int32_t admin = launcher.LastRequest().ReportId;
    EXPECT_TRUE(doc != 0 && quiet != 0 && admin != 0 && doc != quiet && quiet != admin);
    fake.messages.clear();
    launcher.ReportLateFailure(quiet, 1155);
    launcher.ReportLateFailure(admin, kErrorCancelled);
    launcher.ReportLateFailure(doc + 1000, 2);
    EXPECT_TRUE(fake.messages.empty());
    launcher.ReportLateFailure(doc, 1155);
    launcher.ReportLateFailure(doc, 1155);  // reported once
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_TRUE(fake.messages[0].starts_with("box: Error executing 'C:\\Docs'\r\n"))
        << fake.messages[0];
}

}  // namespace
}  // namespace zorv
