#include "app/language.h"

#include <gtest/gtest.h>

#include <set>

#include "app/texts.h"

namespace zorv {
namespace {

TEST(Language, GermanOnlyForGermanLocalesUnlessForced) {
    const struct {
        std::int32_t forced;
        std::uint16_t langId;
        bool english;
    } cases[] = {{0, 1031, false}, {0, 2055, false}, {0, 3079, false}, {0, 4103, false},
                 {0, 5127, false}, {0, 1036, true},  {0, 7, true},  // neutral German
                 {3, 3079, false}, {-1, 1036, true},                // unknown: automatic
                 {2, 1031, true},  {1, 1033, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseLanguage(c.forced, c.langId), c.english) << c.forced << " " << c.langId;
    }
    EXPECT_EQ(HelpFileName("C:\\Zorv", true), "C:\\Zorv\\zorv_e.hlp");
    EXPECT_EQ(HelpFileName("C:\\Zorv", false), "C:\\Zorv\\zorv.hlp");
}

TEST(Language, SetLanguageTextsFillsTextsAndListNames_Win9xFilterHasNoCmd) {
    ItemLists lists = CreateItemLists();
    SetLanguageTexts(false, false, lists);
    EXPECT_EQ(TxtMenu, " Menü ");
    EXPECT_EQ(lists[kListMenu].ListName, "Hauptmenü");
    EXPECT_EQ(ExeFilter,
              "Ausführbare Dateien|*.exe;*.com;*.pif;*.bat;*.cmd;*.lnk|Alle Dateien(*.*)|*.*");
    SetLanguageTexts(true, true, lists);
    EXPECT_EQ(TxtCommandLineNeeded, "A commandline is needed!");
    EXPECT_EQ(lists[kListMenu].ItemName, "Main Menu Item");
    EXPECT_EQ(ExeFilter, "Executable Files|*.exe;*.com;*.pif;*.bat;*.lnk|All Files(*.*)|*.*");
    SetLanguageTexts(false, true, lists);
    EXPECT_EQ(ExeFilter.find(".cmd"), std::string::npos);
    SetLanguageTexts(true, false, lists);  // the table keeps the full filter
    EXPECT_NE(ExeFilter.find(";*.cmd"), std::string::npos);
}

TEST(Texts, EveryRowHasTwoLanguages_FormatsInsertTheirArgument) {
    const std::set<Txt> formats = {Txt::ActiveIniNoImport, Txt::InvalidValue};
    for (std::size_t i = 0; i < static_cast<std::size_t>(Txt::Count); ++i) {
        const Txt id = static_cast<Txt>(i);
        const std::string &de = TextIn(id, false), &en = TextIn(id, true);
        EXPECT_FALSE(de.empty() || en.empty() || de == en) << i;
        EXPECT_EQ(de.find(kTextArg) != std::string::npos, formats.count(id) > 0) << i;
        EXPECT_EQ(en.find(kTextArg) != std::string::npos, formats.count(id) > 0) << i;
    }
    EXPECT_EQ(TextArgIn(Txt::ActiveIniNoImport, "C:\\a.ini", true),
              "C:\\a.ini is the active INI and cannot be imported");
    EXPECT_EQ(TextArgIn(Txt::InvalidValue, "x%1y", false), "'x%1y' ist ungültig");
    EXPECT_EQ(IniFilter(false), "INI-Dateien (*.ini)|*.ini");
    // The list name is kept whole; only the item's depth marks go.
    EXPECT_EQ(UsedByText("Main Menu", "--->--->Editor", true), "Used by Main Menu \"Editor\"");
    EXPECT_EQ(UsedByText("Hauptmenü", "Notes ---> old", false),
              "Belegt mit Hauptmenü \"Notes ---> old\"");
}

}  // namespace
}  // namespace zorv
