#include "launch/command.h"

#include <gtest/gtest.h>

#include "support/texts.h"
#include "launch/date_pattern.h"
#include "launch/fake_launch_platform.h"

namespace zorv {
namespace {

using testing::FakeLaunchPlatform;

struct Split {
    bool ok = false;
    std::string path, wrkDir, file, params, exe;
};

struct CommandFixture : ::testing::Test {
    FakeLaunchPlatform fake;
    LaunchFacts facts = testing::StandardFacts();
    FolderHistory history{fake};
    Item current;
    CommandResolver resolver{fake, facts, history, &current};

    CommandFixture() { testing::AddStandardWorld(fake); }

    Split Run(std::string path, std::string wrkDir = "", bool showErrors = false) {
        Split s;
        s.ok = resolver.SplitCommandLine(path, wrkDir, s.file, s.params, s.exe, showErrors);
        s.path = path, s.wrkDir = wrkDir;
        return s;
    }
};

TEST_F(CommandFixture, ExpandEnvVars_ProgramNamesEnvironmentAndUnknownNames) {
    EXPECT_EQ(resolver.ExpandEnvVars("%ZORV%\\tools\\x.exe"), "D:\\Tools\\Zorv\\tools\\x.exe");
    EXPECT_EQ(resolver.ExpandEnvVars("%zorvroot%tools"), "D:\\tools");
    EXPECT_EQ(resolver.ExpandEnvVars("%NOPE%\\x"), "%NOPE%\\x");
    EXPECT_EQ(resolver.ExpandEnvVars("%TEMP%%NOPE%x"), "C:\\Temp%NOPE%x");
    // An unknown name's closing sign opens the next pair.
    EXPECT_EQ(resolver.ExpandEnvVars("%NOPE%TEMP%"), "%NOPEC:\\Temp");
    EXPECT_EQ(resolver.ExpandEnvVars("100% sure"), "100% sure");
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
    const DateTimeParts& t = fake.now;
    EXPECT_EQ(FormatDateTime("dddd, d. MMMM yy 'at' h:mm tt", t),
              "Tuesday, 5. March 24 at 2:07 PM");
    EXPECT_EQ(FormatDateTime("ddd dd MMM M y H t 'o''clock' '' x", t),
              "Tue 05 Mar 3 24 14 P o'clock  x");
    DateTimeParts midnight = t;
    midnight.Hour = 0;
    EXPECT_EQ(FormatDateTime("hh HH tt", midnight), "12 00 AM");
}

TEST(CommandRules, UrlsExtensionsAndErrorTexts) {
    for (const char* url : {"http://x", "HTTPS://x", "nntp://n", "www.example.com", "ftp://f",
                            "ftp.example.com", "mailto:a@b"}) {
        EXPECT_TRUE(IsUrl(url)) << url;
    }
    EXPECT_FALSE(IsUrl(" www.x"));
    EXPECT_FALSE(IsUrl("C:\\www.txt"));
    EXPECT_TRUE(IsExecutableExt("C:\\A.B\\x.EXE"));
    EXPECT_TRUE(IsExecutableExt("\"C:\\a b\\x.cmd\""));
    EXPECT_FALSE(IsExecutableExt("C:\\x.exe.txt"));
    EXPECT_FALSE(IsExecutableExt("notepad"));
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

TEST_F(CommandFixture, SplitCommandLine_QuotedProgramWithOptions) {
    Split s = Run("  \"C:\\Program Files\\App\\app.exe\" -x /y ");
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.file, "C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(s.params, "-x /y");
    EXPECT_EQ(s.exe, "C:\\Program Files\\App\\app.exe");
    // No folder given: the program's own.
    EXPECT_EQ(s.wrkDir, "C:\\Program Files\\App\\");
    EXPECT_EQ(s.path, "\"C:\\Program Files\\App\\app.exe\" -x /y");
    // An unclosed quote finds nothing.
    EXPECT_FALSE(Run("\"C:\\Program Files\\App\\app.exe -x").ok);
}

TEST_F(CommandFixture, SplitCommandLine_UnquotedPathWithBlanksSplitsAfterExe) {
    Split s = Run("C:\\Program Files\\App\\APP.EXE -x \"a b\"", "C:\\Mine");
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.file, "C:\\Program Files\\App\\APP.EXE");
    EXPECT_EQ(s.params, "-x \"a b\"");
    EXPECT_EQ(s.wrkDir, "C:\\Mine\\");
    // Without ".exe " an existing path with blanks is taken whole.
    s = Run("C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(s.file, "C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(s.params, "");
    // Otherwise the first blank splits when an option follows.
    s = Run("tool -v");
    EXPECT_EQ(s.file, "tool");
    EXPECT_EQ(s.params, "-v");
    EXPECT_FALSE(s.ok);
}

TEST_F(CommandFixture, SplitCommandLine_DocumentRunsWithItsAssociatedProgram) {
    Split s = Run("C:\\Docs\\my notes.txt");
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.file, "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(s.params, "\"C:\\Docs\\my notes.txt\"");
    EXPECT_EQ(s.exe, "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(s.wrkDir, "C:\\WINDOWS\\");
    // A quoted document keeps its own arguments behind it.
    s = Run("\"C:\\Docs\\plain.txt\" -p");
    EXPECT_EQ(s.file, "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(s.params, "C:\\Docs\\plain.txt -p");
    s = Run("\"C:\\Docs\\my notes.txt\"");
    EXPECT_EQ(s.params, "\"C:\\Docs\\my notes.txt\"");
}

TEST_F(CommandFixture, SplitCommandLine_ShortcutStartsItselfAndLendsItsFolder) {
    Split s = Run("\"C:\\Links\\editor.lnk\"");
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.file, "C:\\Links\\editor.lnk");
    EXPECT_EQ(s.params, "");
    EXPECT_EQ(s.exe, "C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(s.wrkDir, "C:\\Work");
    EXPECT_EQ(Run("C:\\Links\\editor.lnk", "C:\\Mine").wrkDir, "C:\\Mine\\");
    EXPECT_EQ(Run("C:\\Links\\editor.lnk", "C:\\Gone").wrkDir, "C:\\Work");

    EXPECT_FALSE(Run("C:\\Links\\none.LNK", "", false).ok);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_FALSE(Run("C:\\Links\\none.LNK", "", true).ok);
    EXPECT_EQ(fake.messages,
              std::vector<std::string>{"box: File not found\r\nC:\\Links\\none.LNK"});
}

TEST_F(CommandFixture, SplitCommandLine_ConsoleOpensWithMmcFromSystem32) {
    Split s = Run("compmgmt.msc");
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.file, "C:\\WINDOWS\\System32\\mmc.exe");
    EXPECT_EQ(s.params, "compmgmt.msc");
    EXPECT_EQ(s.wrkDir, "C:\\WINDOWS\\System32");
    // Found in the item's folder: that folder stays.
    s = Run("compmgmt.msc", "C:\\Consoles");
    EXPECT_EQ(s.file, "C:\\WINDOWS\\System32\\mmc.exe");
    EXPECT_EQ(s.params, "compmgmt.msc");
    EXPECT_EQ(s.wrkDir, "C:\\Consoles\\");
}

TEST_F(CommandFixture, SplitCommandLine_ExpandsPathAndFolderInPlace) {
    Split s = Run("%ZORV%\\zorvtool.exe", "%TEMP%");
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.path, "D:\\Tools\\Zorv\\zorvtool.exe");
    EXPECT_EQ(s.file, "D:\\Tools\\Zorv\\zorvtool.exe");
    EXPECT_EQ(s.wrkDir, "C:\\Temp\\");
    // A program found from the Windows folder runs by its full path there.
    s = Run("notepad.exe");
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.file, "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(s.wrkDir, "C:\\WINDOWS\\");
}

TEST_F(CommandFixture, FindExe_AsksFromTheWindowsFolderAndFallsBackForShortcuts) {
    EXPECT_EQ(resolver.FindExe("notepad.exe", ""), "C:\\WINDOWS\\notepad.exe");
    ASSERT_FALSE(fake.findCalls.empty());
    EXPECT_EQ(fake.findCalls[0], "\"notepad.exe\"||C:\\WINDOWS");
    EXPECT_EQ(fake.cwd, "C:\\Start");
    EXPECT_EQ(history.Depth(), 0u);
    EXPECT_EQ(resolver.FindExe("", "C:\\Docs"), "");
    EXPECT_EQ(resolver.FindExe("C:\\Docs\\nothing.xyz", ""), "");

    // A shortcut has no program of its own: its target stands in and takes
    // over the current item.
    EXPECT_EQ(resolver.FindExe("C:\\Links\\editor.lnk", ""), "C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(current.Path, "C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(current.WrkDir, "C:\\Work");
    EXPECT_EQ(current.Style, 3);
}

TEST_F(CommandFixture, NeedsShellStart_ForShortcutsUnknownFilesAndDdeDocuments) {
    EXPECT_TRUE(resolver.NeedsShellStart("C:\\Links\\editor.lnk", ""));
    EXPECT_TRUE(resolver.NeedsShellStart("www.example.com", ""));
    EXPECT_FALSE(resolver.NeedsShellStart("C:\\Program Files\\App\\app.exe", ""));
    const std::string doc = "C:\\Docs\\plain.txt";
    fake.assocCommands[".txt"] = "C:\\WINDOWS\\notepad.exe %1";
    EXPECT_TRUE(resolver.NeedsShellStart(doc, ""));
    fake.assocCommands[".txt"] = "\"C:\\Viewer\\view.exe\" \"%1\"";
    EXPECT_FALSE(resolver.NeedsShellStart(doc, ""));
    fake.assocCommands[".txt"] = "view.exe /dde";
    EXPECT_FALSE(resolver.NeedsShellStart(doc, ""));
    fake.assocCommands[".txt"] = "[open(\"%1\")]";
    EXPECT_TRUE(resolver.NeedsShellStart(doc, ""));
}

}  // namespace
}  // namespace zorv
