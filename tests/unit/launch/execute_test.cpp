#include "launch/execute.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/texts.h"
#include "launch/exec_pack.h"
#include "launch/fake_launch_platform.h"

namespace zorv {
namespace {

using testing::FakeLaunchPlatform;
using Strings = std::vector<std::string>;

const std::string kApp = "C:\\Program Files\\App\\app.exe";

struct Command {
    std::string path, wrkDir;
    std::int32_t userType, style, prio;
    std::string title;
    bool showErrors = true;

    explicit Command(std::string p, std::string w = "", std::int32_t u = 0, std::int32_t s = 1,
                     std::int32_t pr = 2, std::string t = "")
        : path(std::move(p)),
          wrkDir(std::move(w)),
          userType(u),
          style(s),
          prio(pr),
          title(std::move(t)) {}
};

Item MakeItem(std::string desc, std::string path, std::uint8_t activate = 0,
              std::string title = "") {
    Item item;
    item.Desc = std::move(desc), item.Path = std::move(path);
    item.Activate = activate, item.Title = std::move(title);
    return item;
}

struct ExecuteFixture : ::testing::Test {
    FakeLaunchPlatform fake;
    LaunchFacts facts = testing::StandardFacts();
    Launcher launcher{fake, facts};
    bool savedEnglish = EnglishTexts;

    ExecuteFixture() {
        testing::AddStandardWorld(fake);
        EnglishTexts = true;
    }
    ~ExecuteFixture() override { EnglishTexts = savedEnglish; }

    bool Run(Command& c, Launcher* other = nullptr) {
        return (other ? *other : launcher)
            .ExecuteCommand(c.path, c.wrkDir, c.userType, c.style, c.prio, c.title, c.showErrors);
    }
    bool Run(Command&& c) { return Run(c); }
    bool Called(const std::string& call) const {
        return std::find(fake.calls.begin(), fake.calls.end(), call) != fake.calls.end();
    }
    void Refuse(std::int32_t error) {
        fake.starterAnswer = {StarterAnswer::Refused, {}};
        fake.starterError = error;
    }
};

TEST_F(ExecuteFixture, UrlGoesToTheShellWithoutExistenceCheck) {
    ASSERT_TRUE(Run(Command{"www.example.com"}));
    ASSERT_EQ(fake.requests.size(), 1u);
    const ExecRequest& r = fake.requests[0];
    EXPECT_STREQ(r.File, "www.example.com");
    EXPECT_STREQ(r.Params, "");
    EXPECT_STREQ(r.WorkDir, "C:\\WINDOWS");
    EXPECT_EQ(r.ShellStart, 1);
    EXPECT_EQ(r.ShowCmd, 1);
    EXPECT_EQ(r.PriorityClass, 0x20);
    // From the start folder, and resting on the Windows drive's root after.
    EXPECT_EQ(fake.folderChanges.front(), "C:\\Start");
    EXPECT_EQ(fake.cwd, "C:\\");
}

TEST_F(ExecuteFixture, MissingDriveAndMissingProgramHaveTheirOwnMessages) {
    fake.missingDrives = {'X'};
    EXPECT_FALSE(Run(Command{"x:\\tools\\a.exe -v"}));
    EXPECT_FALSE(Run(Command{"C:\\tools\\a.exe"}));
    EnglishTexts = false;
    EXPECT_FALSE(Run(Command{"%NOPE%\\a.exe"}));
    EXPECT_FALSE(Run(Command{"X:\\a.exe"}));
    EXPECT_EQ(fake.messages,
              (Strings{"top: Drive X: not found for executing \r\nx:\\tools\\a.exe -v",
                       "top: Program not found:\r\nC:\\tools\\a.exe",
                       "top: Programm nicht gefunden:\r\n%NOPE%\\a.exe",
                       "top: Laufwerk X: nicht gefunden zum starten von \r\nX:\\a.exe"}));
    EXPECT_TRUE(Called("ClearHistory") && Called("BarToFront"));
    EXPECT_TRUE(fake.requests.empty());
    EXPECT_EQ(fake.cwd, "C:\\");
}

TEST_F(ExecuteFixture, PriorityAndWindowStateGoIntoTheRequest) {
    Command c{kApp};
    c.prio = -1, c.style = 3;
    ASSERT_TRUE(Run(c));
    EXPECT_EQ(c.prio, 2);
    EXPECT_EQ(fake.requests.back().PriorityClass, 0x20);
    EXPECT_EQ(fake.requests.back().ShowCmd, 3);
    EXPECT_EQ(fake.requests.back().UserType, 0);
    EXPECT_STREQ(fake.requests.back().WorkDir, "C:\\Program Files\\App\\");
    EXPECT_FALSE(launcher.ForceState().Pending());

    // Style 102: minimized, and the state is forced on the program's window.
    c = Command{"\"" + kApp + "\" -x", "", 2, 102, 4, "App"};
    ASSERT_TRUE(Run(c));
    EXPECT_EQ(fake.requests.back().ShowCmd, 2);
    EXPECT_EQ(fake.requests.back().PriorityClass, 0x80);
    EXPECT_EQ(fake.requests.back().UserType, 2);
    EXPECT_STREQ(fake.requests.back().Params, "-x");
    const ForceWindowState& force = launcher.ForceState();
    ASSERT_TRUE(force.Pending());
    EXPECT_EQ(force.Exe, "C:\\PROGRAM FILES\\APP\\APP.EXE");
    EXPECT_EQ(force.Title, "App");
    EXPECT_EQ(force.State, 2);
    EXPECT_EQ(*force.StampMs, fake.nowMs);

    const std::uint32_t classes[] = {0x40, 0x4000, 0x20, 0x8000, 0x80};
    for (int prio = 0; prio < 5; ++prio) EXPECT_EQ(PriorityClassOf(prio), classes[prio]);
    EXPECT_EQ(PriorityClassOf(7), 0x20u);
}

TEST_F(ExecuteFixture, FolderOpensThroughTheShellAsAnOrdinaryStart) {
    Command c{"C:\\Docs", "", 1, 1, 4};
    ASSERT_TRUE(Run(c));
    EXPECT_STREQ(fake.requests.back().File, "C:\\Docs");
    EXPECT_EQ(fake.requests.back().ShellStart, 1);
    EXPECT_EQ(fake.requests.back().UserType, 0);
    EXPECT_EQ(fake.requests.back().PriorityClass, 0x20);
    EXPECT_EQ(c.path, "");
    EXPECT_EQ(c.userType, 0);
}

TEST_F(ExecuteFixture, FailedStartsReportWhatTheStarterSaid) {
    const Command app{kApp, "C:\\Mine"};
    Refuse(kErrorAlreadyStarting);
    EXPECT_FALSE(Run(Command(app)));
    fake.starterAnswer = {StarterAnswer::LibraryMissing, {}};
    EXPECT_FALSE(Run(Command(app)));
    EXPECT_EQ(fake.cwd, "C:\\Start");  // no rest on the drive root after these
    fake.starterAnswer = {StarterAnswer::CallFailed, "no entry point"};
    EXPECT_FALSE(Run(Command(app)));
    Refuse(5);
    EXPECT_FALSE(Run(Command(app)));
    EXPECT_EQ(fake.cwd, "C:\\");
    Refuse(31);
    EXPECT_FALSE(Run(Command(app)));
    EXPECT_EQ(fake.messages,
              (Strings{"box: Already starting...", "box: Zorv.dll not found",
                       "box: Error: no entry point",
                       "box: Error executing '" + kApp + "'\r\nSystem text 5",
                       "box: Error executing '" + kApp + "'\r\nNo link for this type of file"}));

    // A refused elevation, and callers that want no messages, stay silent.
    fake.messages.clear();
    Command elevated = app;
    elevated.userType = 1;
    EXPECT_FALSE(Run(elevated));
    Command quiet = app;
    quiet.showErrors = false;
    EXPECT_FALSE(Run(quiet));
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(ExecuteFixture, TooLongOrUnrepresentableTextIsRefusedNotCut) {
    Command c{kApp + " " + std::string(300, 'p')};
    EXPECT_FALSE(Run(c));
    Command fits{kApp + " " + std::string(259, 'p')};
    EXPECT_TRUE(Run(fits));
    fake.asciiOnlyCodePage = true;
    fake.AddFile("C:\\Docs\\caf\xC3\xA9.exe");
    EXPECT_FALSE(Run(Command{"C:\\Docs\\caf\xC3\xA9.exe"}));
    EXPECT_EQ(fake.requests.size(), 1u);
    EXPECT_EQ(std::string(fake.requests[0].Params), std::string(259, 'p'));
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[0],
              "top: Not started: the text is too long (at most 259 bytes in the system code "
              "page):\r\n" +
                  std::string(300, 'p'));
    EXPECT_EQ(fake.messages[1],
              "top: Not started: the text holds characters the system code page cannot "
              "represent:\r\nC:\\Docs\\caf\xC3\xA9.exe");
}

TEST_F(ExecuteFixture, ExecuteItem_SeparatorActivationAndStart) {
    EXPECT_EQ(launcher.ExecuteItem(MakeItem("-", kApp), false), ExecResult::Nothing);
    EXPECT_TRUE(fake.calls.empty());

    Item item = MakeItem("App", kApp, 1, "App");
    fake.activates = true;
    EXPECT_EQ(launcher.ExecuteItem(item, false), ExecResult::Activated);
    EXPECT_EQ(fake.calls, Strings{"ActivateApp(App, " + kApp + ")"});
    EXPECT_TRUE(fake.requests.empty());

    fake.calls.clear();
    EXPECT_EQ(launcher.ExecuteItem(item, true), ExecResult::Started);
    EXPECT_EQ(launcher.LastResult(), ExecResult::Started);
    EXPECT_EQ(fake.calls, (Strings{"EndActivationCycle", "SetBarOnTop"}));
    EXPECT_EQ(fake.requests.size(), 1u);

    // A failed start leaves no forced state waiting.
    item.Style = 102;
    Refuse(2);
    EXPECT_EQ(launcher.ExecuteItem(item, true), ExecResult::Nothing);
    EXPECT_FALSE(launcher.ForceState().Pending());
    EXPECT_EQ(launcher.LastResult(), ExecResult::Nothing);
}

TEST_F(ExecuteFixture, ExecuteItem_ShortcutFallbackRewritesTheCurrentItem) {
    // Activation asks FindExe, which answers for a shortcut with its target
    // and hands the shortcut's settings to the item being started.
    Item item = MakeItem("Editor", "C:\\Links\\editor.lnk", 1);
    EXPECT_EQ(launcher.ExecuteItem(item, false), ExecResult::Started);
    EXPECT_EQ(fake.calls.front(), "ActivateApp(, " + kApp + ")");
    EXPECT_STREQ(fake.requests.back().File, kApp.c_str());
    EXPECT_EQ(fake.requests.back().ShowCmd, 3);
    EXPECT_STREQ(fake.requests.back().WorkDir, "C:\\Work\\");
}

TEST_F(ExecuteFixture, ForegroundLockBringsTheNewTitleWindow) {
    fake.foregroundLock = 200000;
    fake.newWindow = 777;
    ASSERT_TRUE(Run(Command{kApp, "", 0, 1, 2, "App"}));
    EXPECT_EQ(fake.calls, (Strings{"Snapshot(App)", "ForceForeground(777)"}));
    EXPECT_EQ(fake.sleeps, std::vector<std::uint32_t>{10});

    // Nothing shows up: about one second of looking, then the start counts.
    fake.calls.clear(), fake.sleeps.clear();
    fake.newWindow = 0;
    ASSERT_TRUE(Run(Command{kApp, "", 0, 1, 2, "App"}));
    EXPECT_EQ(fake.sleeps.size(), 100u);
    // Without a lock the program takes the foreground itself.
    fake.calls.clear(), fake.sleeps.clear();
    fake.foregroundLock = 299;
    ASSERT_TRUE(Run(Command{kApp, "", 0, 1, 2, "App"}));
    EXPECT_TRUE(fake.calls.empty() && fake.sleeps.empty());
}

TEST_F(ExecuteFixture, ElevationOnVistaAndLaterClearsTheWayFirst) {
    ASSERT_TRUE(Run(Command{kApp, "", 1}));
    EXPECT_EQ(fake.calls, (Strings{"BarToFront", "Escape"}));
    fake.calls.clear();
    fake.barIsForeground = false;
    ASSERT_TRUE(Run(Command{kApp, "", 1}));
    EXPECT_EQ(fake.calls, Strings{"BarToFront"});
}

TEST_F(ExecuteFixture, OldWindowsStartsThroughTheShell) {
    LaunchFacts nt4 = facts;
    nt4.WindowsMajor = 4;
    Launcher old(fake, nt4);
    Command exe{kApp + " -x", "", 1, 3, -1};
    ASSERT_TRUE(Run(exe, &old));
    Command folder{"C:\\Docs"};
    ASSERT_TRUE(Run(folder, &old));
    ASSERT_EQ(fake.shellStarts.size(), 2u);
    EXPECT_EQ(fake.shellStarts[0].Verb, "");
    EXPECT_EQ(fake.shellStarts[0].File, kApp);
    EXPECT_EQ(fake.shellStarts[0].Params, "-x");
    EXPECT_EQ(fake.shellStarts[0].ShowCmd, 3);
    EXPECT_EQ(fake.shellStarts[1].Verb, "open");
    EXPECT_TRUE(fake.requests.empty());

    fake.shellAnswer = {false, 2};
    Command missing{kApp};
    EXPECT_FALSE(Run(missing, &old));
    EXPECT_EQ(fake.messages, Strings{"box: Error executing '" + kApp + "'\r\nSystem text 2"});
}

}  // namespace
}  // namespace zorv
