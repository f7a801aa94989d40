#include "dialogs/clip_dialog.h"

#include <gtest/gtest.h>

#include "dialogs/hotkey_owner.h"
#include "support/texts.h"

namespace zorv {
namespace {

clsItems ClipList() {
    clsItems list = std::move(CreateItemLists()[kListClipboard]);
    list.AddItem(Item{.Desc = "Top", .Path = "a"});
    list.AddItem(Item{.Desc = "--->Sig", .Path = "Regards\r\nZ", .Activate = 2, .Hotkey = 0x241});
    return list;
}

TEST(ClipDialog, FillFormShowsTheItemWithoutDepthOrNothingWhenAdding) {
    const clsItems list = ClipList();
    EXPECT_EQ(FillForm(list, {.Index = 1}), (ClipForm{"Sig", "Regards\r\nZ", 0x241, true, 1}));
    EXPECT_EQ(FillForm(list, {.AddMode = true, .Index = 1}), ClipForm{});
}

TEST(ClipDialog, OkNamesFromTheTextCutsTo40AndKeepsTheDepth) {
    EXPECT_EQ(ClipItemName("  ", "123456789012345678901234567890"), "123456789012345");
    EXPECT_EQ(ClipItemName("", "äöüäöüäöüäöüäöüäöü"), "äöüäöüäöüäöüäöü");  // characters, not bytes
    EXPECT_EQ(ClipItemName(std::string(45, 'n'), "t"), std::string(40, 'n'));
    EXPECT_EQ(ClipItemName("", "Hi\r\nthere"), "Hi");

    clsItems list = ClipList();
    EXPECT_EQ(ApplyClipForm(list, {.Index = 1}, {"", "Hello", 0x330, false, 1}), 1);
    EXPECT_EQ(list.Count(), 2);
    Item edited;
    list.GetItem(1, edited);
    EXPECT_EQ(edited, (Item{.Desc = "--->Hello",
                            .Path = "Hello",
                            .Activate = 0,
                            .Style = 1,
                            .Prio = 2,
                            .Hotkey = 0x330}));

    // Adding before the indented line takes its depth; at the end there is none.
    EXPECT_EQ(ApplyClipForm(list, {.AddMode = true, .Index = 1}, {"N", "x", 0, true, 0}), 1);
    EXPECT_EQ(list.GetDesc(1), "--->N");
    EXPECT_EQ(list.GetDesc(2), "--->Hello");
    EXPECT_EQ(ApplyClipForm(list, {.AddMode = true, .Index = 3}, {"E", "", 0, true, 1}), 3);
    EXPECT_EQ(list.GetDesc(3), "E");
}

TEST(ClipDialog, PasteTypeAndEnablingFollowTheCheckBox) {
    EXPECT_EQ(PasteTypeOf({.AutoPaste = false, .PasteOption = 1}), 0);
    EXPECT_EQ(PasteTypeOf({.AutoPaste = true, .PasteOption = 0}), 1);
    EXPECT_EQ(PasteTypeOf({.AutoPaste = true, .PasteOption = 1}), 2);
    EXPECT_EQ(ClipEnablingOf(false, 1).PasteOptions, false);
    EXPECT_EQ(ClipEnablingOf(false, 1).SpecialKeys, false);
    EXPECT_EQ(ClipEnablingOf(true, 0).PasteOptions, true);
    EXPECT_EQ(ClipEnablingOf(true, 0).SpecialKeys, false);
    EXPECT_EQ(ClipEnablingOf(true, 1).SpecialKeys, true);
}

TEST(ClipDialog, RootItemKeepsItsText) {
    clsItems list = ClipList();
    ApplyClipForm(list, {.Index = 0, .IsRoot = true}, {"Head", "", 0, false, 0});
    EXPECT_EQ(list.GetDesc(0), "Head");
    EXPECT_EQ(list.GetPath(0), "a");
}

TEST(ClipDialog, TokenGoesAtTheCaretOrOverTheSelectionInUtf16Units) {
    EXPECT_EQ(SpecialKeyTokens({"END", "F1"}), (std::vector<std::string>{"{END}", "{F1}"}));
    // "ä" is one unit, "😀" two; the caret lands after the token.
    EXPECT_EQ(ReplaceSelection("ä😀b", {3, 3}, "{END}"), (TextEdit{"ä😀{END}b", {8, 8}}));
    EXPECT_EQ(ReplaceSelection("äxyz", {3, 1}, "{END}"), (TextEdit{"ä{END}z", {6, 6}}));
    EXPECT_EQ(ReplaceSelection("ab", {0, 99}, "{END}"), (TextEdit{"{END}", {5, 5}}));
}

TEST(ClipDialog, CaptionsInBothLanguages) {
    EXPECT_EQ(ClipDialogCaption(true, true), "Add Item");
    EXPECT_EQ(ClipDialogCaption(false, false), "Bearbeiten");
    EXPECT_EQ(ClipControlCaptions(false).front().Text, "&Beschreibung:");
    EXPECT_EQ(ClipControlCaptions(true).back().Text, "Cancel");
}

TEST(HotkeyOwner, NamesAnotherItemOrTheMainMenuButNotTheEditedItem) {
    const bool saved = EnglishTexts;
    EnglishTexts = true;
    AppState state;
    state.Lists = CreateItemLists();
    SetListNames(state.Lists, true);
    state.Lists[kListButtons].AddItem(Item{.Desc = "Editor"});
    state.Lists[kListClipboard] = ClipList();
    state.Lists[kListClipboard].ListName = "Clipboard";
    state.Options.MnuHotkey = 0x670;

    EXPECT_EQ(HotkeyOwnerText(state, 0x241, 0, 0), "Used by Clipboard \"Sig\"");
    EXPECT_EQ(HotkeyOwnerText(state, 0x241, kListClipboard, 1), "");
    EXPECT_EQ(HotkeyOwnerText(state, 0x670, kListClipboard, -1), "Used by the main menu");
    EXPECT_EQ(HotkeyOwnerText(state, 0x670, kListButtons, 1), "");  // the options dialog's own
    EXPECT_EQ(HotkeyOwnerText(state, 0, -1, -1), "");
    state.Options.MnuHotkey = 0;
    EXPECT_EQ(HotkeyOwnerText(state, 0, -1, -1), "");
    EnglishTexts = saved;

    // The list name is kept whole; only the item's depth marks go.
    EXPECT_EQ(UsedByText("Main Menu", "--->--->Editor", true), "Used by Main Menu \"Editor\"");
    EXPECT_EQ(UsedByText("Hauptmenü", "Notes ---> old", false),
              "Belegt mit Hauptmenü \"Notes ---> old\"");
}

}  // namespace
}  // namespace zorv
