#include "launch/command.h"

#include <gtest/gtest.h>

#include "support/texts.h"
#include "support/captured_log.h"
#include "launch/date_pattern.h"
#include "launch/fake_launch_platform.h"
#include "launch/folder_history.h"

namespace zorv {
namespace {

constexpr const char* kApp = "C:\\Program Files\\App\\app.exe";
constexpr const char* kNotepad = "C:\\WINDOWS\\notepad.exe";
constexpr const char* kMmc = "C:\\WINDOWS\\System32\\mmc.exe";

struct CommandFixture : ::testing::Test {
    testing::FakeLaunchPlatform fake;
    LaunchFacts facts = testing::StandardFacts();
    FolderHistory history{fake};
    Item current;
    CommandResolver resolver{fake, facts, history, &current};

    CommandFixture() { testing::AddStandardWorld(fake); }
};

TEST_F(CommandFixture, ExpandEnvVars_ProgramNamesEnvironmentAndUnknownNames) {
    EXPECT_EQ(resolver.ExpandEnvVars("%ZORV%\\tools\\x.exe"), "D:\\Tools\\Zorv\\tools\\x.exe");
    EXPECT_EQ(resolver.ExpandEnvVars("%zorvroot%tools"), "D:\\tools");
    EXPECT_EQ(resolver.ExpandEnvVars("%TEMP%%NOPE%x|100% sure"), "C:\\Temp%NOPE%x|100% sure");
    // An unknown name's closing sign opens the next pair.
    EXPECT_EQ(resolver.ExpandEnvVars("%NOPE%TEMP%"), "%NOPEC:\\Temp");
    // A value holding its own name is not expanded again (no endless loop).
    fake.environment["LOOP"] = "%LOOP%%LOOP%";
    EXPECT_EQ(resolver.ExpandEnvVars("%LOOP%!"), "%LOOP%%LOOP%!");
    // A program folder without a drive letter leaves only ":\".
    facts.ProgramFolder = "\\\\server\\share\\Zorv";
    EXPECT_EQ(resolver.ExpandEnvVars("%ZORVROOT%x"), ":\\x");
}

TEST_F(CommandFixture, ExpandNowMacro_FormatsOnlyTheFirstOccurrence) {
    EXPECT_EQ(resolver.ExpandNowMacro("bak_%Now:yyyy-MM-dd%_%now:HH%.zip"),
              "bak_2024-03-05_%now:HH%.zip");
    EXPECT_EQ(resolver.ExpandNowMacro("%NOW:HH.mm.ss% in %TEMP%"), "14.07.09 in C:\\Temp");
    EXPECT_EQ(resolver.ExpandNowMacro("%Now:yyyy without end"), "%Now:yyyy without end");
    EXPECT_EQ(FormatDateTime("dddd, d. MMMM yy 'at' h:mm tt", fake.now),
              "Tuesday, 5. March 24 at 2:07 PM");
    EXPECT_EQ(FormatDateTime("ddd dd MMM M y H t 'o''clock' '' x", fake.now),
              "Tue 05 Mar 3 24 14 P o'clock  x");
    DateTimeParts midnight = fake.now;
    midnight.Hour = 0;
    EXPECT_EQ(FormatDateTime("hh HH tt", midnight), "12 00 AM");
}

TEST(CommandRules, UrlsExtensionsAndErrorTexts) {
    for (const char* url : {"http://x", "HTTPS://x", "nntp://n", "www.example.com", "ftp://f",
                            "ftp.example.com", "mailto:a@b"}) {
        EXPECT_TRUE(IsUrl(url)) << url;
    }
    EXPECT_FALSE(IsUrl(" www.x") || IsUrl("C:\\www.txt"));
    EXPECT_TRUE(IsExecutableExt("C:\\A.B\\x.EXE") && IsExecutableExt("\"C:\\a b\\x.cmd\""));
    EXPECT_FALSE(IsExecutableExt("C:\\x.exe.txt") || IsExecutableExt("notepad"));
    EXPECT_TRUE(IsBatCmdPif("run.BAT") && IsBatCmdPif("x.pif") && !IsBatCmdPif("x.exe"));
    const bool saved = EnglishTexts;
    EnglishTexts = true;
    EXPECT_EQ(ErrorText(31, "ignored"), "No link for this type of file");
    EXPECT_EQ(ErrorText(5, std::string_view("Access is denied.\r\n\0junk", 24)),
              "Access is denied");
    EXPECT_EQ(ErrorText(2, "Two lines\r\n\r\n"), "Two lines\r\n");
    EnglishTexts = false;
    EXPECT_EQ(ErrorText(216, ""), "Ausführbare ist Datei ungültig für diese CPU");
    EnglishTexts = saved;
}

// Each command and folder split into program, arguments and working folder;
// nullptr is not looked at.
TEST_F(CommandFixture, SplitCommandLine_FindsProgramArgumentsAndFolder) {
    const struct {
        const char *path, *wrkDir;
        bool ok;
        const char *file = nullptr, *params = nullptr, *exe = nullptr, *wrkDirAfter = nullptr,
                   *pathAfter = nullptr;
    } cases[] = {
        // Quoted: the program's own folder when none is given.
        {"  \"C:\\Program Files\\App\\app.exe\" -x /y ", "", true, kApp, "-x /y", kApp,
         "C:\\Program Files\\App\\", "\"C:\\Program Files\\App\\app.exe\" -x /y"},
        {"\"C:\\Program Files\\App\\app.exe -x", "", false},  // unclosed quote
        // Unquoted with blanks: split after ".exe " in any case, a document taken
        // whole (end to end), else at the first blank before an option.
        {"C:\\Program Files\\App\\APP.EXE -x \"a b\"", "C:\\Mine", true,
         "C:\\Program Files\\App\\APP.EXE", "-x \"a b\"", nullptr, "C:\\Mine\\"},
        {"tool -v", "", false, "tool", "-v"},
        // A document runs with its associated program; quoted, it keeps its arguments.
        {"\"C:\\Docs\\plain.txt\" -p", "", true, kNotepad, "C:\\Docs\\plain.txt -p"},
        // A shortcut starts itself and lends its folder when the item has none.
        {"\"C:\\Links\\editor.lnk\"", "", true, "C:\\Links\\editor.lnk", "", kApp, "C:\\Work"},
        {"C:\\Links\\editor.lnk", "C:\\Mine", true, nullptr, nullptr, nullptr, "C:\\Mine\\"},
        {"C:\\Links\\editor.lnk", "C:\\Gone", true, nullptr, nullptr, nullptr, "C:\\Work"},
        {"C:\\Links\\none.LNK", "", false},
        // A console opens with mmc from System32, or in its own folder.
        {"compmgmt.msc", "", true, kMmc, "compmgmt.msc", nullptr, "C:\\WINDOWS\\System32"},
        {"compmgmt.msc", "C:\\Consoles", true, kMmc, "compmgmt.msc", nullptr, "C:\\Consoles\\"},
        // Expanded in place; a program found from the Windows folder runs from there.
        {"%ZORV%\\zorvtool.exe", "%TEMP%", true, "D:\\Tools\\Zorv\\zorvtool.exe", "", nullptr,
         "C:\\Temp\\", "D:\\Tools\\Zorv\\zorvtool.exe"},
        {"notepad.exe", "", true, kNotepad, "", nullptr, "C:\\WINDOWS\\"},
    };
    for (const auto& c : cases) {
        std::string path = c.path, wrkDir = c.wrkDir, file, params, exe;
        EXPECT_EQ(resolver.SplitCommandLine(path, wrkDir, file, params, exe, false), c.ok)
            << c.path;
        for (auto [got, want] : {std::pair{&file, c.file},
                                 {&params, c.params},
                                 {&exe, c.exe},
                                 {&wrkDir, c.wrkDirAfter},
                                 {&path, c.pathAfter}}) {
            if (want) EXPECT_EQ(*got, want) << c.path;
        }
    }
    EXPECT_TRUE(fake.messages.empty());
    std::string missing = "C:\\Links\\none.LNK", wrkDir, file, params, exe;
    EXPECT_FALSE(resolver.SplitCommandLine(missing, wrkDir, file, params, exe, true));
    EXPECT_EQ(fake.messages,
              std::vector<std::string>{"box: File not found\r\nC:\\Links\\none.LNK"});
    EXPECT_EQ(fake.cwd, "C:\\Start");
    EXPECT_EQ(history.Depth(), 0u);
}

TEST_F(CommandFixture, FindExe_AsksFromTheWindowsFolderAndFallsBackForShortcuts) {
    EXPECT_EQ(resolver.FindExe("notepad.exe", ""), kNotepad);
    EXPECT_EQ(fake.cwd, "C:\\Start");
    EXPECT_EQ(resolver.FindExe("", "C:\\Docs"), "");
    EXPECT_EQ(resolver.FindExe("C:\\Docs\\nothing.xyz", ""), "");
    // A shortcut has no program of its own: its target stands in and takes
    // over the current item.
    EXPECT_EQ(resolver.FindExe("C:\\Links\\editor.lnk", ""), kApp);
    EXPECT_EQ(std::tie(current.Path, current.WrkDir, current.Style),
              std::make_tuple(std::string(kApp), std::string("C:\\Work"), 3));
}

TEST_F(CommandFixture, NeedsShellStart_ForShortcutsUnknownFilesAndDdeDocuments) {
    EXPECT_TRUE(resolver.NeedsShellStart("C:\\Links\\editor.lnk", ""));
    EXPECT_TRUE(resolver.NeedsShellStart("www.example.com", ""));
    EXPECT_FALSE(resolver.NeedsShellStart(kApp, ""));
    const std::pair<const char*, bool> commands[] = {{"C:\\WINDOWS\\notepad.exe %1", true},
                                                     {"\"C:\\Viewer\\view.exe\" \"%1\"", false},
                                                     {"view.exe /dde", false},
                                                     {"[open(\"%1\")]", true}};
    for (auto [command, shell] : commands) {
        fake.assocCommands[".txt"] = command;
        EXPECT_EQ(resolver.NeedsShellStart("C:\\Docs\\plain.txt", ""), shell) << command;
    }
}

TEST(FolderHistory, PushChDirRecordsTheWayBackAndLogsEachChange) {
    testing::FakeLaunchPlatform fake;
    FolderHistory history(fake);
    {
        testing::CapturedLog log(6);
        EXPECT_FALSE(history.PushChDir(""));  // nothing to return to
        EXPECT_TRUE(history.PushChDir("D:\\One"));
        EXPECT_TRUE(history.PushChDir("C:\\Two"));
        // A third recorded folder is still changed to, but reported.
        EXPECT_FALSE(history.PushChDir("C:\\Three"));
        EXPECT_EQ(fake.cwd, "C:\\Three");
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(history.PushChDir(""));
        EXPECT_EQ(fake.cwd, "C:\\Start");
        EXPECT_EQ(log.lines, (std::vector<std::string>{"x ChDir(D:\\One)", "x ChDir(C:\\Two)",
                                                       "x ChDir(C:\\Three)", "y ChDir(C:\\Two)",
                                                       "y ChDir(D:\\One)", "y ChDir(C:\\Start)"}));
    }
    // A full history changes without recording: the oldest way back stays.
    for (int i = 0; i < 14; ++i) history.PushChDir("C:\\F" + std::to_string(i));
    EXPECT_EQ(history.Depth(), FolderHistory::kPlaces);
    EXPECT_EQ(fake.cwd, "C:\\F13");
    for (std::size_t i = 0; i < FolderHistory::kPlaces; ++i) history.PushChDir("");
    EXPECT_EQ(fake.cwd, "C:\\Start");
}

}  // namespace
}  // namespace zorv
