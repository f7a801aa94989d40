#include "app/script_command.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zorv {
namespace {

TEST(ScriptCommand, RunTakesQuotedOrBareDescriptions_MenuAndReloadAsWords) {
    const struct {
        const char* line;
        ScriptVerb verb;
        const char* description;
    } rows[] = {
        {R"("C:\Zorv Panel\ZorvPanel.exe" /run="Two words")", ScriptVerb::Run, "Two words"},
        {R"(ZorvPanel.exe "/run=Two words" noau)", ScriptVerb::Run, "Two words"},
        {R"(ZorvPanel.exe /RUN=Editor /ini=x.ini)", ScriptVerb::Run, "Editor"},
        {R"(ZorvPanel.exe /run="unclosed)", ScriptVerb::Run, "unclosed"},
        {R"(ZorvPanel.exe /menu)", ScriptVerb::Menu, ""},
        {R"(ZorvPanel.exe /Reload)", ScriptVerb::Reload, ""},
        {R"(ZorvPanel.exe /menus /reloading)", ScriptVerb::None, ""},
        {R"("C:\run=\ZorvPanel.exe" nostart)", ScriptVerb::None, ""},  // only the arguments
    };
    for (const auto& r : rows) {
        const ScriptCommand c = ParseScriptCommand(r.line);
        EXPECT_EQ(std::tuple(c.Verb, c.Description), std::tuple(r.verb, std::string(r.description)))
            << r.line;
    }
}

TEST(ScriptCommand, AnItemIsFoundByItsCaption_NotFoundOrTwiceIsSaid) {
    ItemLists lists = CreateItemLists();
    lists[kListButtons].AddItem(Item{.Desc = "&Editor", .Path = "edit.exe"});
    lists[kListMenu].AddItem(Item{.Desc = "Tools"});
    lists[kListMenu].AddItem(Item{.Desc = "--->Two &Words", .Path = "two.exe"});
    lists[kListAutostart].AddItem(Item{.Desc = "Twice", .Path = "a.exe"});
    lists[kListAutoclose].AddItem(Item{.Desc = "twice", .Path = "b.exe"});
    lists[kListClipboard].AddItem(Item{.Desc = "Snippet", .Path = "text"});
    const auto find = [&](const char* d) {
        const ItemMatch m = FindItemByDescription(lists, d);
        return std::tuple(m.Result, m.List, m.Index);
    };
    EXPECT_EQ(find("editor"), std::tuple(ItemMatch::Found, kListButtons, 0));
    EXPECT_EQ(find(" Two Words "), std::tuple(ItemMatch::Found, kListMenu, 1));
    EXPECT_EQ(std::get<0>(find("Twice")), ItemMatch::Ambiguous);
    EXPECT_EQ(std::get<0>(find("Snippet")), ItemMatch::NotFound);  // clipboard texts are not started
    EXPECT_EQ(std::get<0>(find("")), ItemMatch::NotFound);
    const ScriptCommand run{ScriptVerb::Run, "Twice"};
    EXPECT_EQ(ScriptAnswerText(ScriptAnswer::AmbiguousDescription, run),
              "ZorvPanel: more than one item is called \"Twice\"");
}

}  // namespace
}  // namespace zorv
