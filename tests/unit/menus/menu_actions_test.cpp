#include "menus/menu_actions.h"

#include <gtest/gtest.h>

#include "items/items.h"
#include "support/win32_constants.h"

namespace zorv {
namespace {

using A = MenuAction;

TEST(MenuActions, MainMenuChoicesByGroup_NoConfigRefusesAllButHelpInfoExit) {
    struct Case {
        std::int32_t id;
        bool right, noConfig;
        MenuChoice want;
    };
    const Case cases[] = {
        {-1, false, true, {}},
        {0x10001, false, false, {A::RunDialog}},
        {0x10001, false, true, {A::Refused}},
        {0x10014, false, true, {A::Refused}},    // export
        {0x1000D, false, false, {A::ListEditor, kListAutostart}},
        {0x10018, false, true, {A::HelpContents}},
        {0x1001A, false, true, {A::Information}},
        {0x1001B, false, true, {A::Exit}},
        {0x20003, true, true, {A::ExecuteItem, kListMenu, 3, true}},  // items still start
        {0x60001, false, false, {A::ExecuteItem, kListAutoclose, 1, false}},
        {0x40002, true, true, {A::PasteClipItem, kListClipboard2, 2}},
        {0x70000, false, false, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExecPopupMain(c.id, c.right, c.noConfig), c.want) << std::hex << c.id;
    }
}

TEST(MenuActions, ButtonMenuChoice_ClipboardPicksCtrlEditsRightStartsAnyway) {
    EXPECT_EQ(ButtonMenuChoice(0x40003, 5, true, false), (MenuChoice{A::PasteClipItem, kListClipboard2, 3}));
    EXPECT_EQ(ButtonMenuChoice(0x80003, 5, false, false), MenuChoice{});
    EXPECT_EQ(ButtonMenuChoice(7, 5, true, true), (MenuChoice{A::EditItem, kListButtons, 7}));
    EXPECT_EQ(ButtonMenuChoice(7, 5, false, true), (MenuChoice{A::ExecuteItem, kListButtons, 7, true}));
    EXPECT_EQ(ButtonMenuChoice(-1, 5, false, false), MenuChoice{});
    EXPECT_EQ(ButtonContextChoice(0x100002), ButtonContextAction::RemoveButton);
    EXPECT_EQ(ButtonContextChoice(0x100003), ButtonContextAction::None);
    EXPECT_EQ(ButtonContextChoice(-1), ButtonContextAction::None);
}

TEST(MenuActions, WhereMenusOpen) {
    const std::uint32_t right = win::kTpmRightButton;
    EXPECT_EQ(ButtonMenuPlacement(100, 44, 10, 20, true),
              (MenuPlacement{{164, 20}, win::kTpmCenterAlign | right}));
    MainMenuFacts f{.ForegroundIsOurs = true, .Bar = {200, 0, 400, 21}, .BarTop = -1, .ScreenWidth = 1024};
    EXPECT_EQ(OpenMainMenu(f), (MainMenuOpening{true, false, false, {{664, 20}, win::kTpmRightAlign}}));
    f.Bar.Left = 600;  // the right edge keeps 3 pixels off the screen's
    f.RightButton = true;
    f.ForegroundIsOurs = false;
    EXPECT_EQ(OpenMainMenu(f), (MainMenuOpening{true, true, true, {{1021, 20}, win::kTpmRightAlign | right}}));
    f.MenuOpen = true;
    EXPECT_FALSE(OpenMainMenu(f).Open);
}

TEST(MenuActions, ClosePopupOnForeignForegroundAfterHalfASecondOrAClickOutside) {
    struct Case {
        ClosePopupFacts facts;
        ClosePopupDecision want;
    };
    const Case cases[] = {
        {{.SinceOpenMs = 499, .ForeignForeground = true}, {ClosePopup::Keep, true}},
        {{.SinceOpenMs = 500, .ForeignForeground = true}, {ClosePopup::ForegroundChanged, false}},
        // The press that opened the menu is still down: wait for its release.
        {{.SinceOpenMs = 20, .LeftDown = true}, {ClosePopup::Keep, false}},
        {{.ReleasedSinceMenu = true, .RightDown = true}, {ClosePopup::ClickedOutside, true}},
        {{.ReleasedSinceMenu = true, .EscapeDown = true}, {ClosePopup::ClickedOutside, true}},
        {{.ReleasedSinceMenu = true, .LeftDown = true, .CursorOverMenu = true}, {ClosePopup::Keep, true}},
    };
    for (const Case& c : cases) EXPECT_EQ(TickClosePopup(c.facts), c.want);
}

}  // namespace
}  // namespace zorv
