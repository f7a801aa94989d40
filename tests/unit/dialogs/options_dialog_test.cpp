#include "dialogs/options_dialog.h"

#include <gtest/gtest.h>

#include "support/texts.h"

namespace zorv {
namespace {

// One setting in, the item the form shows and the settings OK stores back.
// A pause of 0 is not in its list and would show as 0.1, so the other cases
// hold a listed one.
enum class Field { Delay, Pause, Limit, Restore };
struct MappingCase {
    const char* What;
    Field Shows;
    Settings In;
    std::int32_t Processors;
    std::string Shown;
    Settings Stored;
};

std::string ShownItem(const OptionsForm& f, const MappingCase& c) {
    switch (c.Shows) {
        case Field::Delay:
            return AstDelayItems()[f.AstDelay];
        case Field::Pause:
            return AstPauseItems()[f.AstPause];
        case Field::Limit:
            return ASTimeLimitItems()[f.ASTimeLimit];
        case Field::Restore:
            break;
    }
    return f.RestoreDelay < 0 ? "" : RestoreDelayItems(c.Processors)[f.RestoreDelay];
}

TEST(OptionsDialog, FormShowsTheMatchingItemAndOkStoresItsNumber) {
    using enum Field;
    const MappingCase cases[] = {
        {"delay not listed",
         Delay,
         {.ASDelay = 12, .ASPause = 1},
         1,
         " 0",
         {.ASDelay = 0, .ASPause = 1}},
        {"delay listed",
         Delay,
         {.ASDelay = 25, .ASPause = 1},
         1,
         "25",
         {.ASDelay = 25, .ASPause = 1}},
        {"pause", Pause, {.ASPause = 0.25}, 1, "0.25", {.ASPause = 0.25}},
        {"pause not listed", Pause, {.ASPause = 0}, 1, "0.1", {.ASPause = 0.1}},
        {"no limit",
         Limit,
         {.ASPause = 1, .ASTimeLimit = 0},
         1,
         "---",
         {.ASPause = 1, .ASTimeLimit = 0}},
        {"limit between",
         Limit,
         {.ASPause = 1, .ASTimeLimit = 25},
         1,
         "30",
         {.ASPause = 1, .ASTimeLimit = 30}},
        {"limit above all",
         Limit,
         {.ASPause = 1, .ASTimeLimit = 90},
         1,
         "60",
         {.ASPause = 1, .ASTimeLimit = 60}},
        {"restore one cpu",
         Restore,
         {.RestoreDelay = 190, .ASPause = 1},
         1,
         "190",
         {.RestoreDelay = 190, .ASPause = 1}},
        {"restore two cpus",
         Restore,
         {.RestoreDelay = 195, .ASPause = 1},
         2,
         "195",
         {.RestoreDelay = 195, .ASPause = 1}},
        {"restore off the steps",
         Restore,
         {.RestoreDelay = 7, .ASPause = 1},
         2,
         "",
         {.RestoreDelay = 7, .ASPause = 1}},
    };
    for (const MappingCase& c : cases) {
        const OptionsContext context{.Processors = c.Processors};
        const OptionsForm form = FillOptionsForm(c.In, context);
        EXPECT_EQ(ShownItem(form, c), c.Shown) << c.What;
        Settings stored = c.In;
        ApplyOptionsForm(form, context, stored);
        EXPECT_EQ(stored, c.Stored) << c.What;
    }
    const std::vector<std::string> one = RestoreDelayItems(1), two = RestoreDelayItems(2);
    ASSERT_EQ(one.size(), 21u);
    ASSERT_EQ(two.size(), 21u);
    EXPECT_EQ(one[1] + " " + one[20], "10 200");
    EXPECT_EQ(two[1] + " " + two[20], "15 300");
}

TEST(OptionsDialog, OkStoresEveryOtherControlAsTheFormHoldsIt) {
    Settings s;
    s.AutoRed = 2;
    s.MnuFlat = true;
    s.ForcedBarRight = 40;
    s.ProcessPrio = 2;
    s.FixFontProblem = true;
    OptionsForm form = FillOptionsForm(s, {.InStartup = true, .AutomaticBarRight = 58});
    EXPECT_TRUE(form.AutoFade && !form.AutoReduce && !form.MnuNotFlat && form.StartWithWindows);
    EXPECT_EQ(form.BarRight, 40);
    EXPECT_EQ(form.ProcessPrio, 2);

    form.AutoReduce = true;  // both checked: fading wins
    form.MnuNotFlat = true;
    form.AutoBarRight = true;
    form.ProcessPrio = 7;
    Settings stored = s;
    ApplyOptionsForm(form, {}, stored);
    EXPECT_EQ(stored.AutoRed, 2);
    EXPECT_FALSE(stored.MnuFlat);
    EXPECT_EQ(stored.ForcedBarRight, 0);
    EXPECT_EQ(stored.ProcessPrio, 2);
    EXPECT_TRUE(stored.FixFontProblem);

    // Without layered windows the fading box shows unchecked.
    EXPECT_FALSE(FillOptionsForm(s, {.FadeAvailable = false}).AutoFade);
    EXPECT_EQ(FillOptionsForm({}, {.AutomaticBarRight = 58}).BarRight, 58);
}

TEST(OptionsDialog, HidingModesExcludeEachOtherAndEnableTheirOptions) {
    OptionsForm form{.AutoReduce = true};
    EXPECT_TRUE(OptionsEnablingOf(form, {}).Soft);
    EXPECT_TRUE(OptionsEnablingOf(form, {}).RestoreDelay);

    form.AutoFade = true;
    AutoFadeClicked(form);
    EXPECT_FALSE(form.AutoReduce);
    EXPECT_FALSE(OptionsEnablingOf(form, {}).Soft);
    EXPECT_TRUE(OptionsEnablingOf(form, {}).RestoreDelay);

    form.AutoReduce = true;
    AutoReduceClicked(form);
    EXPECT_FALSE(form.AutoFade);
    form.AutoReduce = false;
    AutoReduceClicked(form);
    EXPECT_FALSE(OptionsEnablingOf(form, {}).RestoreDelay);
    EXPECT_FALSE(OptionsEnablingOf(form, {.FadeAvailable = false}).AutoFade);

    EXPECT_FALSE(OptionsEnablingOf(OptionsForm{.AutoBarRight = true}, {}).BarRightButtons);
    EXPECT_TRUE(OptionsEnablingOf(OptionsForm{.AutoBarRight = false}, {}).BarRightButtons);
    EXPECT_EQ(SteppedBarRight(199, 1), 200);
    EXPECT_EQ(SteppedBarRight(200, 1), 200);
    EXPECT_EQ(SteppedBarRight(0, -1), 0);
}

TEST(OptionsDialog, WarnsOfFewColoursAndOldWindows) {
    EXPECT_TRUE(AutoFadeWarnings(16, true).empty());
    EXPECT_EQ(AutoFadeWarnings(8, true),
              std::vector<std::string>{"Only works in Hi- and Truecolor modes!"});
    EXPECT_TRUE(LineColorWarnings(3, 8, false, true).empty());
    EXPECT_EQ(LineColorWarnings(4, 32, false, false),
              std::vector<std::string>{"Funktioniert ab Windows 2000"});
    EXPECT_EQ(LineColorWarnings(4, 8, true, true).size(), 1u);
}

TEST(OptionsDialog, UnusedIconFilesAreThoseNoItemNames) {
    ItemLists lists = CreateItemLists();
    lists[kListButtons].AddItem(Item{.Desc = "Ed", .Icon = " Edit.bmp "});
    lists[kListClipboard].AddItem(Item{.Desc = "Sig", .Icon = "**3"});
    const std::vector<std::string> files = {"edit.bmp", "old.bmp"};
    const std::vector<std::string> unused = UnusedIconFiles(files, lists);
    EXPECT_EQ(unused, std::vector<std::string>{"old.bmp"});
    EXPECT_EQ(IconFilesDeletedText(static_cast<std::uint32_t>(unused.size()),
                                   static_cast<std::uint32_t>(files.size()), true),
              "1 of 2 icon files deleted");
    EXPECT_EQ(IconFilesDeletedText(1, 2, false), "1 von 2 Icon-Dateien gelöscht");
}

TEST(OptionsDialog, HotkeyListSortsByHotkeyOrByOwner) {
    ItemLists lists = CreateItemLists();
    SetListNames(lists, true);
    lists[kListButtons].AddItem(Item{.Desc = "Editor", .Hotkey = 0x645});
    lists[kListMenu].AddItem(Item{.Desc = "--->Calc", .Hotkey = 0x243});
    lists[kListMenu].AddItem(Item{.Desc = "No key"});
    const auto name = [](std::int32_t v) { return "K" + std::to_string(v); };
    const std::vector<std::string> others = {"241 Ctrl+A"};

    EXPECT_EQ(
        HotkeyListLines(lists, 0x25A, others, name, HotkeyOrder::ByHotkey),
        (std::vector<std::string>{"Ctrl+A\tWindows and other Programs", "K1605\tButtons -> Editor",
                                  "K579\tMain Menu -> Calc", "K602\tMain Menu"}));
    EXPECT_EQ(HotkeyListLines(lists, 0x25A, others, name, HotkeyOrder::ByType),
              (std::vector<std::string>{"K1605\tButtons -> Editor", "K602\tMain Menu",
                                        "K579\tMain Menu -> Calc",
                                        "Ctrl+A\tWindows and other Programs"}));
}

TEST(OptionsDialog, CaptionsInBothLanguages) {
    const auto caption = [](bool english, bool win9x, std::int32_t id) {
        for (const ControlCaption& c : OptionsControlCaptions(english, win9x)) {
            if (c.Id == id) return std::string(c.Text);
        }
        return std::string("?");
    };
    EXPECT_EQ(OptionsCaption(false), "Optionen");
    EXPECT_EQ(caption(true, false, kDialogIdCancel), "Cancel");
    EXPECT_EQ(caption(false, true, 2454), "Autostart &über- gehen, wenn seit Boot mehr als:");
    EXPECT_EQ(caption(true, false, 2454), "S&kip Autostart if since logon more than");
    EXPECT_EQ(AlphaItems()[3], "100% transparent");
    EXPECT_EQ(ColorItems(true)[2], "As a titlebar");
}

}  // namespace
}  // namespace zorv
