#include "launch/execute.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "launch/exec_pack.h"
#include "launch/fake_launch_platform.h"

namespace zorv {
namespace {

using Strings = std::vector<std::string>;
using Did = std::map<std::string, int>;

const std::string kApp = "C:\\Program Files\\App\\app.exe";

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

    // ExecuteCommand with the fields of an item; user type, style, priority.
    bool Run(std::string path, std::string wrkDir = "", std::int32_t userType = 0,
             std::int32_t style = 1, std::int32_t prio = 2, const std::string& title = "",
             bool showErrors = true, Launcher* other = nullptr) {
        return (other ? *other : launcher)
            .ExecuteCommand(path, wrkDir, userType, style, prio, title, showErrors);
    }
    const ExecRequest& Started() const { return fake.requests.back(); }
    void Refuse(std::int32_t error) {
        fake.starterAnswer = {StarterAnswer::Refused, {}};
        fake.starterError = error;
    }
};

TEST_F(ExecuteFixture, UrlsAndFoldersGoToTheShellAsOrdinaryStarts) {
    ASSERT_TRUE(Run("www.example.com"));
    EXPECT_STREQ(Started().File, "www.example.com");
    EXPECT_STREQ(Started().Params, "");
    EXPECT_STREQ(Started().WorkDir, "C:\\WINDOWS");
    EXPECT_EQ(std::tuple(Started().ShellStart, Started().ShowCmd, Started().PriorityClass),
              std::tuple(1, 1, 0x20));
    // From the start folder, and resting on the Windows drive's root after.
    EXPECT_EQ(fake.folderChanges.front(), "C:\\Start");
    EXPECT_EQ(fake.cwd, "C:\\");
    // A folder: no program, so the shell opens it, without priority or user type.
    std::string path = "C:\\Docs", wrkDir;
    std::int32_t userType = 1, prio = 4;
    ASSERT_TRUE(launcher.ExecuteCommand(path, wrkDir, userType, 1, prio, "", true));
    EXPECT_STREQ(Started().File, "C:\\Docs");
    EXPECT_EQ(std::tuple(Started().ShellStart, Started().UserType, Started().PriorityClass),
              std::tuple(1, 0, 0x20));
    EXPECT_EQ(std::tuple(path, userType, prio), std::tuple(std::string(), 0, 2));
}

TEST_F(ExecuteFixture, MissingDriveAndMissingProgramHaveTheirOwnMessages) {
    fake.missingDrives = {'X'};
    EXPECT_FALSE(Run("x:\\tools\\a.exe -v"));
    EXPECT_FALSE(Run("C:\\tools\\a.exe"));
    EnglishTexts = false;
    EXPECT_FALSE(Run("%NOPE%\\a.exe"));
    EXPECT_FALSE(Run("X:\\a.exe"));
    EXPECT_EQ(fake.messages,
              (Strings{"top: Drive X: not found for executing \r\nx:\\tools\\a.exe -v",
                       "top: Program not found:\r\nC:\\tools\\a.exe",
                       "top: Programm nicht gefunden:\r\n%NOPE%\\a.exe",
                       "top: Laufwerk X: nicht gefunden zum starten von \r\nX:\\a.exe"}));
    EXPECT_EQ(fake.did["ClearHistory"], 4);
    EXPECT_EQ(fake.foreground, fake.kBar);
    EXPECT_TRUE(fake.requests.empty());
    EXPECT_EQ(fake.cwd, "C:\\");
}

TEST_F(ExecuteFixture, PriorityAndWindowStateGoIntoTheRequest_Style1xxForcesTheState) {
    std::string path = kApp, wrkDir;
    std::int32_t userType = 0, prio = -1;
    ASSERT_TRUE(launcher.ExecuteCommand(path, wrkDir, userType, 3, prio, "", true));
    EXPECT_EQ(prio, 2);
    EXPECT_EQ(std::tuple(Started().PriorityClass, Started().ShowCmd, Started().UserType),
              std::tuple(0x20, 3, 0));
    EXPECT_STREQ(Started().WorkDir, "C:\\Program Files\\App\\");
    EXPECT_FALSE(launcher.ForceState().Pending());
    // Style 102: minimized, and the state is forced on the program's window.
    ASSERT_TRUE(Run("\"" + kApp + "\" -x", "", 2, 102, 4, "App"));
    EXPECT_EQ(std::tuple(Started().ShowCmd, Started().PriorityClass, Started().UserType),
              std::tuple(2, 0x80, 2));
    EXPECT_STREQ(Started().Params, "-x");
    const ForceWindowState& force = launcher.ForceState();
    ASSERT_TRUE(force.Pending());
    EXPECT_EQ(force.Exe, "C:\\PROGRAM FILES\\APP\\APP.EXE");
    EXPECT_EQ(std::tuple(force.Title, force.State, *force.StampMs),
              std::tuple(std::string("App"), 2, fake.nowMs));
    EXPECT_EQ((std::vector<std::uint32_t>{PriorityClassOf(0), PriorityClassOf(1),
                                          PriorityClassOf(3), PriorityClassOf(7)}),
              (std::vector<std::uint32_t>{0x40, 0x4000, 0x8000, 0x20}));
}

TEST_F(ExecuteFixture, FailedStartsReportWhatTheStarterSaid_TextsAreRefusedNotCut) {
    Refuse(kErrorAlreadyStarting);
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    fake.starterAnswer = {StarterAnswer::LibraryMissing, {}};
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    EXPECT_EQ(fake.cwd, "C:\\Start");  // no rest on the drive root after these
    fake.starterAnswer = {StarterAnswer::CallFailed, "no entry point"};
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    Refuse(5);
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    EXPECT_EQ(fake.cwd, "C:\\");
    Refuse(31);
    EXPECT_FALSE(Run(kApp, "C:\\Mine"));
    // A refused elevation, and callers that want no messages, stay silent.
    EXPECT_FALSE(Run(kApp, "C:\\Mine", 1));
    EXPECT_FALSE(Run(kApp, "C:\\Mine", 0, 1, 2, "", false));
    EXPECT_EQ(fake.messages,
              (Strings{"box: Already starting...", "box: Zorv.dll not found",
                       "box: Error: no entry point",
                       "box: Error executing '" + kApp + "'\r\nSystem text 5",
                       "box: Error executing '" + kApp + "'\r\nNo link for this type of file"}));

    fake.messages.clear(), fake.requests.clear();
    fake.starterAnswer = {StarterAnswer::Accepted, {}};
    EXPECT_FALSE(Run(kApp + " " + std::string(300, 'p')));
    EXPECT_TRUE(Run(kApp + " " + std::string(259, 'p')));
    fake.asciiOnlyCodePage = true;
    fake.AddFile("C:\\Docs\\caf\xC3\xA9.exe");
    EXPECT_FALSE(Run("C:\\Docs\\caf\xC3\xA9.exe"));
    ASSERT_EQ(fake.requests.size(), 1u);
    EXPECT_EQ(std::string(fake.requests[0].Params), std::string(259, 'p'));
    EXPECT_EQ(fake.messages,
              (Strings{"top: Not started: the text is too long (at most 259 bytes in the system "
                       "code page):\r\n" +
                           std::string(300, 'p'),
                       "top: Not started: the text holds characters the system code page "
                       "cannot represent:\r\nC:\\Docs\\caf\xC3\xA9.exe"}));
}

TEST_F(ExecuteFixture, ExecuteItem_SeparatorActivationAndStart) {
    Item item;
    item.Desc = "-", item.Path = kApp;
    EXPECT_EQ(launcher.ExecuteItem(item, false), kItemNothing);
    item.Desc = item.Title = "App";
    item.Activate = 1;
    fake.activates = true;
    EXPECT_EQ(launcher.ExecuteItem(item, false), kItemActivated);
    EXPECT_EQ(fake.activateAsked, "App|" + kApp);
    EXPECT_TRUE(fake.requests.empty() && fake.did.empty());
    EXPECT_EQ(launcher.ExecuteItem(item, true), kItemStarted);  // start anyway
    EXPECT_EQ(launcher.LastResult(), kItemStarted);
    EXPECT_EQ(fake.did, (Did{{"EndActivationCycle", 1}, {"SetBarOnTop", 1}}));
    EXPECT_EQ(fake.requests.size(), 1u);
    // A failed start leaves no forced state waiting.
    item.Style = 102;
    Refuse(2);
    EXPECT_EQ(launcher.ExecuteItem(item, true), kItemNothing);
    EXPECT_FALSE(launcher.ForceState().Pending());
    EXPECT_EQ(launcher.LastResult(), kItemNothing);
    // Activation asks FindExe, which answers for a shortcut with its target
    // and hands the shortcut's settings to the item being started.
    item.Path = "C:\\Links\\editor.lnk", item.Title = "", item.Style = 1;
    fake.activates = false;
    fake.starterAnswer = {StarterAnswer::Accepted, {}};
    EXPECT_EQ(launcher.ExecuteItem(item, false), kItemStarted);
    EXPECT_EQ(fake.activateAsked, "|" + kApp);
    EXPECT_STREQ(Started().File, kApp.c_str());
    EXPECT_EQ(Started().ShowCmd, 3);
    EXPECT_STREQ(Started().WorkDir, "C:\\Work\\");
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
    LaunchFacts nt4 = facts;
    nt4.WindowsMajor = 4;
    Launcher old(fake, nt4);
    ASSERT_TRUE(Run(kApp + " -x", "", 1, 3, -1, "", true, &old));
    ASSERT_TRUE(Run("C:\\Docs", "", 0, 1, 2, "", true, &old));
    ASSERT_EQ(fake.shellStarts.size(), 2u);
    const ShellStartArgs& exe = fake.shellStarts[0];
    EXPECT_EQ(std::tie(exe.Verb, exe.File, exe.Params), std::make_tuple("", kApp, "-x"));
    EXPECT_EQ(exe.ShowCmd, 3);
    EXPECT_EQ(fake.shellStarts[1].Verb, "open");
    EXPECT_TRUE(fake.requests.empty());
    fake.shellAnswer = {false, 2};
    EXPECT_FALSE(Run(kApp, "", 0, 1, 2, "", true, &old));
    EXPECT_EQ(fake.messages, Strings{"box: Error executing '" + kApp + "'\r\nSystem text 2"});
}

}  // namespace
}  // namespace zorv
