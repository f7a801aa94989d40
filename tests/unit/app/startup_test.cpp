// Start-up decisions: the command line, the program's paths, which and where
// the configuration file is, the values read before it is parsed, the wait
// for a quiet system, and the language with its texts.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <set>

#include "app/command_line.h"
#include "app/ini_path.h"
#include "app/language.h"
#include "support/texts.h"
#include "items/ini_save.h"

namespace zorv {
namespace {

TEST(CommandLine, IniValueRunsToTheNextSlash_SwitchesMatchAnywhereInAnyCase) {
    CommandLineSwitches sw = ParseCommandLine(R"(Z.exe xNOSTARTy /INI=C:\cfg\a b.ini /noconfig)");
    EXPECT_EQ(sw.Ini, "C:\\cfg\\a b.ini ");
    EXPECT_TRUE(sw.NoConfig && sw.NoStart && !sw.NoAu);
    sw = ParseCommandLine("Z.exe c:\\dinoaurus\\x /ini=x.ini");  // "noau" inside a word counts too
    EXPECT_EQ(sw.Ini, "x.ini");
    EXPECT_TRUE(sw.NoAu && !sw.NoConfig && !sw.NoStart);
    EXPECT_EQ(ParseCommandLine("Z.exe /ini=").Ini, "");
    EXPECT_FALSE(ParseCommandLine("Z.exe /in=x.ini ini=x").Ini.has_value());
    // The program's own path never counts, quoted or not.
    for (const char* line : {R"("C:\tools-noau nostart\ZorvPanel.exe")", R"(C:/noconfig/nostart-noau.exe)",
                             R"(  "C:\a noau\Z.exe"nostart)"}) {
        sw = ParseCommandLine(line);
        EXPECT_TRUE(!sw.NoAu && !sw.NoStart && !sw.NoConfig) << line;
    }
}

struct FakeFs : FileProbe {
    std::set<std::string> files, writableFolders;
    bool Exists(const std::string& p) override { return files.count(p) > 0; }
    bool CreateEmpty(const std::string& p) override {
        return writableFolders.count(p.substr(0, p.rfind('\\'))) && files.insert(p).second;
    }
};

TEST(IniPath, CommonBeforeUserAppDataBeforeTheProgramFolder_ASwitchMustExistOrBeCreated) {
    const IniPathFacts facts{"C:\\Zorv", "ZorvPanel.exe", "C:\\ProgramData", "C:\\Users\\me"};
    FakeFs fs;
    std::vector<std::string> chosen;
    for (const char* next :
         {"C:\\Users\\me\\Zorv\\ZorvPanel.ini", "C:\\ProgramData\\Zorv\\ZorvPanel.ini", ""}) {
        chosen.push_back(ChooseIniPath(facts, std::nullopt, fs).IniPath);
        fs.files.insert(next);
    }
    EXPECT_EQ(chosen, (std::vector<std::string>{"C:\\Zorv\\ZorvPanel.ini",
                                                "C:\\Users\\me\\Zorv\\ZorvPanel.ini",
                                                "C:\\ProgramData\\Zorv\\ZorvPanel.ini"}));
    EXPECT_EQ(IniFileName("my.zorv.exe"), "my.zorv.ini");
    fs.files = {"D:\\cfg\\a.ini", "\\\\server\\share\\z.ini"};
    fs.writableFolders = {"E:\\new", "C:\\Zorv"};
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\cfg\\a.ini", "D:\\cfg\\a.ini"},
        {"\\\\server\\share\\z.ini", "\\\\server\\share\\z.ini"},
        {"E:\\new\\b.ini", "E:\\new\\b.ini"},
        {"C", "C:\\Zorv\\C"},
        {"sub\\rel.ini", nullptr},
        {"", nullptr}};
    for (auto [value, path] : cases) {
        const IniPathChoice choice = ChooseIniPath(facts, value, fs);
        EXPECT_EQ(choice.Invalid, path == nullptr) << value;
        EXPECT_EQ(choice.IniPath, path ? path : "C:\\Zorv\\ZorvPanel.ini") << value;
    }
    EXPECT_TRUE(fs.files.count("E:\\new\\b.ini"));  // relative and missing ones: end to end
}

TEST(W4Idle, QuietSystemShowsOnTheThirdTick_ABusyOneOnTheSixteenth) {
    W4IdleState quiet, busy;
    std::vector<bool> shown;
    for (int i = 0; i < 3; ++i) shown.push_back(W4IdleTick(quiet, {40, 10'000'000, 30}));
    EXPECT_EQ(shown, (std::vector<bool>{false, false, true}));  // the history starts at zeros
    int shownAt = 0;
    for (int i = 1; i <= 20 && !shownAt; ++i)
        shownAt = W4IdleTick(busy, {i * 10, 0, i * 10}) ? i : 0;
    EXPECT_EQ(shownAt, 16);
    W4IdleState s;  // Thresholds against one tick ago, and slow drifts against two.
    s.OneTickAgo = s.TwoTicksAgo = {40, 1'000'000, 30};
    EXPECT_FALSE(SystemIsBusy(s, {41, 1'000'000 + 0x7FFFF, 32}));
    for (IdleSample now :
         {IdleSample{42, 1'000'000, 30}, {40, 1'000'000 - 0x80000, 30}, {40, 1'000'000, 33}}) {
        EXPECT_TRUE(SystemIsBusy(s, now)) << now.Windows << " " << now.Processes;
    }
    s.OneTickAgo = {42, 1'000'000, 32};
    EXPECT_FALSE(SystemIsBusy(s, {43, 1'000'000, 33}));
    EXPECT_TRUE(SystemIsBusy(s, {44, 1'000'000, 33}));
    EXPECT_TRUE(SystemIsBusy(s, {43, 1'000'000, 34}));
}

TEST(Startup, EarlyValuesAndVersionRecord) {
    EXPECT_TRUE(EarlyFlag("1") && EarlyFlag("10"));
    EXPECT_FALSE(EarlyFlag("0") || EarlyFlag("") || EarlyFlag(" 1"));
    EXPECT_EQ(std::tuple(EarlyNumber("6"), EarlyNumber(" 12abc"), EarlyNumber("x"),
                         EarlyNumber("99999999999")),
              std::tuple(6, 12, 0, INT32_MAX));
    const WindowsVersionInfo xp = MakeWindowsVersion(2, 5, 1, 2600, false, false);
    EXPECT_TRUE(xp.Code == 0x501u && xp.Win2000OrLater && !xp.VistaOrLater);
    EXPECT_FALSE(MakeWindowsVersion(1, 4, 90, 3000, false, false).NT);
    EXPECT_TRUE(MakeWindowsVersion(2, 10, 0, 19045, true, false).Is64);
}

TEST(Language, GermanOnlyForGermanLocalesUnlessForced_Win9xFiltersHaveNoCmd) {
    // Forced 1 and 2, and Austrian German, are judged end to end.
    for (std::uint16_t german : {1031, 2055, 3079, 4103, 5127})
        EXPECT_FALSE(ChooseLanguage(0, german));
    EXPECT_TRUE(ChooseLanguage(0, 1036) && ChooseLanguage(0, 7));  // neutral German is not listed
    EXPECT_TRUE(!ChooseLanguage(3, 3079) && ChooseLanguage(-1, 1036));  // unknown: automatic
    EXPECT_EQ(HelpFileName("C:\\Zorv", true), "C:\\Zorv\\Help\\zorv_e.html");
    ItemLists lists = CreateItemLists();
    SetListNames(lists, false);
    EXPECT_EQ(lists[kListMenu].ListName, "Hauptmenü");
    EXPECT_EQ(ExeFilterText(false, false),
              "Ausführbare Dateien|*.exe;*.com;*.pif;*.bat;*.cmd;*.lnk|Alle Dateien(*.*)|*.*");
    SetListNames(lists, true);
    EXPECT_EQ(lists[kListMenu].ItemName, "Main Menu Item");
    EXPECT_EQ(ExeFilterText(true, true),
              "Executable Files|*.exe;*.com;*.pif;*.bat;*.lnk|All Files(*.*)|*.*");
    EXPECT_EQ(ExeFilterText(false, true).find(".cmd"), std::string::npos);
}

TEST(Texts, EveryRowHasTwoLanguages_FormatsInsertTheirArgument) {
    const std::set<Txt> formats = {Txt::ActiveIniNoImport, Txt::InvalidValue, Txt::HelpMissing,
                                   Txt::InfoVersion};
    for (std::size_t i = 0; i < static_cast<std::size_t>(Txt::Count); ++i) {
        const Txt id = static_cast<Txt>(i);
        const std::string &de = TextIn(id, false), &en = TextIn(id, true);
        EXPECT_FALSE(de.empty() || en.empty() || de == en) << i;
        EXPECT_EQ(de.find(kTextArg) != std::string::npos, formats.count(id) > 0) << i;
        EXPECT_EQ(en.find(kTextArg) != std::string::npos, formats.count(id) > 0) << i;
    }
    EXPECT_EQ(TextArgIn(Txt::ActiveIniNoImport, "C:\\a.ini", true),
              "C:\\a.ini is the active INI and cannot be imported");
    EXPECT_EQ(IniFilter(false), "INI-Dateien (*.ini)|*.ini");
}

TEST(StartupDecisions, ConfigurationFileWinsAndOnlyTakenOverSettingsAreSaved) {
    struct Case {
        bool Ini, OldIni;
        ConfigSource Source;
        bool Save;
    };
    for (const Case& c : {Case{true, true, ConfigSource::IniFile, false},
                          Case{true, false, ConfigSource::IniFile, false},
                          Case{false, true, ConfigSource::OldIniFile, true},
                          Case{false, false, ConfigSource::OldStore, true}}) {
        const ConfigSource source = ChooseConfigSource(c.Ini, c.OldIni);
        EXPECT_EQ(source, c.Source) << c.Ini << c.OldIni;
        EXPECT_EQ(SaveAfterLoading(source), c.Save) << c.Ini << c.OldIni;
    }
}

TEST(StartupDecisions, ProgramPathsFromModuleName) {
    struct Case {
        const char* Module;
        ProgramPaths Paths;
    };
    const Case cases[] = {
        {R"(C:\Tools\ZorvPanel.exe)",
         {R"(C:\Tools)", R"(C:\Tools\ZorvPanel.exe)", "ZorvPanel.exe", R"(C:\Tools\Icons)"}},
        // Only the file name's last extension is replaced; a dot in the folder is no extension.
        {R"(C:\v1.2\zorv.test.EXE)",
         {R"(C:\v1.2)", R"(C:\v1.2\zorv.test.exe)", "zorv.test.exe", R"(C:\v1.2\Icons)"}},
        {R"(C:\v1.2\zorv)", {R"(C:\v1.2)", R"(C:\v1.2\zorv.exe)", "zorv.exe", R"(C:\v1.2\Icons)"}},
        {"zorv.exe", {"", "zorv.exe", "zorv.exe", "Icons"}},
    };
    for (const Case& c : cases) {
        const ProgramPaths p = ProgramPathsFromModule(c.Module), &w = c.Paths;
        EXPECT_EQ(std::tie(p.ProgramFolder, p.ExePath, p.ExeFileName, p.IconFolder),
                  std::tie(w.ProgramFolder, w.ExePath, w.ExeFileName, w.IconFolder))
            << c.Module;
    }
}

TEST(StartupDecisions, TwipsPerPixelRoundsDownAndFallsBackTo15) {
    for (auto [dpi, twips] :
         {std::pair{96, 15}, {120, 12}, {144, 10}, {100, 14}, {0, 15}, {-1, 15}})
        EXPECT_EQ(TwipsPerPixel(dpi), twips) << dpi;
}

}  // namespace
}  // namespace zorv
