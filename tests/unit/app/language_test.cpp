#include "app/language.h"
#include "items/ini_save.h"

#include <gtest/gtest.h>

#include <set>

#include "support/texts.h"

namespace {

using zorv::Txt;

TEST(Language, GermanOnlyForGermanLocalesUnlessForced) {
    for (std::uint16_t id : {1031, 2055, 3079, 4103, 5127}) {
        EXPECT_FALSE(zorv::ChooseLanguage(0, id)) << id;
    }
    EXPECT_TRUE(zorv::ChooseLanguage(0, 1036));  // French
    EXPECT_TRUE(zorv::ChooseLanguage(0, 7));     // neutral German is not a listed locale
    // Unknown settings behave as automatic.
    EXPECT_FALSE(zorv::ChooseLanguage(3, 3079));
    EXPECT_TRUE(zorv::ChooseLanguage(-1, 1036));
    EXPECT_TRUE(zorv::ChooseLanguage(2, 1031));
    EXPECT_FALSE(zorv::ChooseLanguage(1, 1033));
    EXPECT_EQ(zorv::HelpFileName("C:\\Zorv", true), "C:\\Zorv\\zorv_e.hlp");
    EXPECT_EQ(zorv::HelpFileName("C:\\Zorv", false), "C:\\Zorv\\zorv.hlp");
}

TEST(Language, ListNamesAndExeFilterFollowTheLanguage_Win9xHasNoCmdPattern) {
    zorv::ItemLists lists = zorv::CreateItemLists();
    zorv::SetListNames(lists, false);
    EXPECT_EQ(lists[zorv::kListMenu].ListName, "Hauptmenü");
    zorv::SetListNames(lists, true);
    EXPECT_EQ(lists[zorv::kListMenu].ItemName, "Main Menu Item");
    EXPECT_EQ(zorv::ExeFilterText(false, false),
              "Ausführbare Dateien|*.exe;*.com;*.pif;*.bat;*.cmd;*.lnk|Alle Dateien(*.*)|*.*");
    EXPECT_EQ(zorv::ExeFilterText(true, true),
              "Executable Files|*.exe;*.com;*.pif;*.bat;*.lnk|All Files(*.*)|*.*");
    EXPECT_EQ(zorv::ExeFilterText(false, true).find(".cmd"), std::string::npos);
}

TEST(Language, UsedByTextDropsDepthMarksOnly) {
    EXPECT_EQ(zorv::UsedByText("Main Menu", "--->--->Editor", true),
              "Used by Main Menu \"Editor\"");
    EXPECT_EQ(zorv::UsedByText("Hauptmenü", "Notes ---> old", false),
              "Belegt mit Hauptmenü \"Notes ---> old\"");
    EXPECT_EQ(zorv::UsedByText("Button", "--->", false), "Belegt mit Button \"\"");
}

TEST(Texts, FormatsInsertTheirArgument) {
    EXPECT_EQ(zorv::TextArgIn(Txt::ActiveIniNoImport, "C:\\a.ini", true),
              "C:\\a.ini is the active INI and cannot be imported");
    EXPECT_EQ(zorv::TextArgIn(Txt::InvalidValue, "x%1y", false), "'x%1y' ist ungültig");
    EXPECT_EQ(zorv::IniFilter(false), "INI-Dateien (*.ini)|*.ini");
}

TEST(Texts, EveryRowHasTwoDistinctLanguagesAndFormatsAMarker) {
    const std::set<Txt> formats = {Txt::ActiveIniNoImport, Txt::InvalidValue};
    for (std::size_t i = 0; i < static_cast<std::size_t>(Txt::Count); ++i) {
        const Txt id = static_cast<Txt>(i);
        const std::string& de = zorv::TextIn(id, false);
        const std::string& en = zorv::TextIn(id, true);
        EXPECT_FALSE(de.empty()) << i;
        EXPECT_FALSE(en.empty()) << i;
        EXPECT_NE(de, en) << i;
        const bool isFormat = formats.count(id) > 0;
        EXPECT_EQ(de.find(zorv::kTextArg) != std::string::npos, isFormat) << i;
        EXPECT_EQ(en.find(zorv::kTextArg) != std::string::npos, isFormat) << i;
    }
}

}  // namespace
