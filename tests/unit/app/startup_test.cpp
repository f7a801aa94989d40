// Start-up decisions: the command line, where the configuration file lives,
// the values read before it is parsed, and the wait for a quiet system.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <set>

#include "app/command_line.h"
#include "app/ini_path.h"

namespace zorv {
namespace {

TEST(CommandLine, IniValueRunsToTheNextSlash_SwitchesMatchAnywhereInAnyCase) {
    CommandLineSwitches sw = ParseCommandLine(R"(xNOSTARTy /INI=C:\cfg\a b.ini /noconfig)");
    EXPECT_EQ(sw.Ini, "C:\\cfg\\a b.ini ");
    EXPECT_TRUE(sw.NoConfig && sw.NoStart && !sw.NoAu);
    sw = ParseCommandLine("c:\\dinoaurus\\x /ini=x.ini");  // "noau" inside a word counts too
    EXPECT_EQ(sw.Ini, "x.ini");
    EXPECT_TRUE(sw.NoAu && !sw.NoConfig && !sw.NoStart);
    EXPECT_EQ(ParseCommandLine("/ini=").Ini, "");
    EXPECT_FALSE(ParseCommandLine("/in=x.ini ini=x").Ini.has_value());
}

struct FakeFs : FileProbe {
    std::set<std::string> files, writableFolders;
    bool Exists(const std::string& p) override { return files.count(p) > 0; }
    bool CreateEmpty(const std::string& p) override {
        if (!writableFolders.count(p.substr(0, p.rfind('\\')))) return false;
        return files.insert(p).second;
    }
};

const IniPathFacts kFacts{"C:\\Zorv", "ZorvPanel.exe", "C:\\ProgramData", "C:\\Users\\me"};

TEST(IniPath, CommonAppDataWinsOverTheUsersOverTheProgramFolder) {
    EXPECT_EQ(IniFileName("my.zorv.exe"), "my.zorv.ini");
    EXPECT_EQ(IniFileName("zorv"), "zorv.ini");
    FakeFs fs;
    std::vector<std::string> chosen;
    for (const char* next :
         {"C:\\Users\\me\\Zorv\\ZorvPanel.ini", "C:\\ProgramData\\Zorv\\ZorvPanel.ini", ""}) {
        const IniPathChoice choice = ChooseIniPath(kFacts, std::nullopt, fs);
        EXPECT_FALSE(choice.Invalid);
        chosen.push_back(choice.IniPath);
        fs.files.insert(next);
    }
    EXPECT_EQ(chosen, (std::vector<std::string>{"C:\\Zorv\\ZorvPanel.ini",
                                                "C:\\Users\\me\\Zorv\\ZorvPanel.ini",
                                                "C:\\ProgramData\\Zorv\\ZorvPanel.ini"}));
}

TEST(IniPath, SwitchNamesAnExistingOrCreatableFile_RelativeToTheProgramFolder_ElseInvalid) {
    FakeFs fs;
    fs.files = {"D:\\cfg\\a.ini", "\\\\server\\share\\z.ini"};
    fs.writableFolders = {"E:\\new", "C:\\Zorv"};
    const struct {
        const char *value, *path;
    } cases[] = {{"D:\\cfg\\a.ini", "D:\\cfg\\a.ini"},
                 {"\\\\server\\share\\z.ini", "\\\\server\\share\\z.ini"},
                 {"E:\\new\\b.ini", "E:\\new\\b.ini"},
                 {"other.ini", "C:\\Zorv\\other.ini"},
                 {"X:\\missing\\a.ini", nullptr},
                 {"sub\\rel.ini", nullptr},
                 {"", nullptr},
                 {"C", "C:\\Zorv\\C"}};
    for (const auto& c : cases) {
        const IniPathChoice choice = ChooseIniPath(kFacts, c.value, fs);
        EXPECT_EQ(choice.Invalid, c.path == nullptr) << c.value;
        EXPECT_EQ(choice.IniPath, c.path ? c.path : "C:\\Zorv\\ZorvPanel.ini") << c.value;
    }
    EXPECT_TRUE(fs.files.count("E:\\new\\b.ini") && fs.files.count("C:\\Zorv\\other.ini"));
    EXPECT_EQ(InvalidIniMessage("x:y", true), "'x:y' is invalid");
}

TEST(W4Idle, QuietSystemShowsOnTheThirdTick_ABusyOneOnTheSixteenth) {
    W4IdleState quiet;
    std::vector<bool> shown;
    for (int i = 0; i < 3; ++i) shown.push_back(W4IdleTick(quiet, {40, 10'000'000, 30}));
    EXPECT_EQ(shown, (std::vector<bool>{false, false, true}));  // the history starts at zeros
    W4IdleState busy;
    int shownAt = 0;
    for (int i = 1; i <= 20 && !shownAt; ++i) {
        if (W4IdleTick(busy, {i * 10, 0, i * 10})) shownAt = i;
    }
    EXPECT_EQ(shownAt, 16);
}

TEST(W4Idle, BusyThresholdsAgainstOneAndTwoTicksAgo) {
    W4IdleState s;
    s.OneTickAgo = s.TwoTicksAgo = {40, 1'000'000, 30};
    EXPECT_FALSE(SystemIsBusy(s, {41, 1'000'000 + 0x7FFFF, 32}));
    EXPECT_TRUE(SystemIsBusy(s, {42, 1'000'000, 30}));
    EXPECT_TRUE(SystemIsBusy(s, {40, 1'000'000 - 0x80000, 30}));
    EXPECT_TRUE(SystemIsBusy(s, {40, 1'000'000, 33}));
    // Slow drifts are caught against the sample two ticks ago.
    s.OneTickAgo = {42, 1'000'000, 32};
    EXPECT_FALSE(SystemIsBusy(s, {43, 1'000'000, 33}));
    EXPECT_TRUE(SystemIsBusy(s, {44, 1'000'000, 33}));
    EXPECT_TRUE(SystemIsBusy(s, {43, 1'000'000, 34}));
}

TEST(Startup, EarlyValuesAndVersionRecord) {
    for (const char* on : {"1", "10"}) EXPECT_TRUE(EarlyFlag(on)) << on;
    for (const char* off : {"0", "", " 1"}) EXPECT_FALSE(EarlyFlag(off)) << off;
    EXPECT_EQ(EarlyNumber(" 12abc"), 12);
    EXPECT_EQ(EarlyNumber("x"), 0);
    EXPECT_EQ(EarlyNumber("99999999999"), INT32_MAX);
    const WindowsVersionInfo xp = MakeWindowsVersion(2, 5, 1, 2600, false, false);
    EXPECT_EQ(xp.Code, 0x501u);
    EXPECT_TRUE(xp.Win2000OrLater && !xp.VistaOrLater);
    const WindowsVersionInfo me = MakeWindowsVersion(1, 4, 90, 3000, false, false);
    EXPECT_FALSE(me.NT || me.Win2000OrLater);
    EXPECT_TRUE(MakeWindowsVersion(2, 10, 0, 19045, true, false).Is64);
}

}  // namespace
}  // namespace zorv
