#include <gtest/gtest.h>

#include "app/startup.h"

namespace zorv {
namespace {

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
