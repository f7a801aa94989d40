#include "menus/menu_actions.h"

#include <algorithm>

#include "items/items.h"
#include "menus/program_menus.h"
#include "support/win32_constants.h"

namespace zorv {

namespace {

// Room the main menu may take right of the bar, and what it keeps off the
// screen's right edge.
constexpr std::int32_t kMainMenuOverhang = 64;
constexpr std::int32_t kMainMenuScreenMargin = 3;
// A button's menu is centred this far right of the button's left edge.
constexpr std::int32_t kButtonMenuOffset = 30;
// A menu is not closed for a foreground change in its first half second.
constexpr std::int64_t kClosePopupGraceMs = 500;

std::uint32_t TrackFlags(std::uint32_t alignment, bool rightButton) {
    return alignment | (rightButton ? win::kTpmRightButton : 0);
}

MenuAction FixedFunction(std::int32_t slot) {
    if (slot >= kSlotFirstEditor && slot < kSlotFirstEditor + kListCount) {
        return MenuAction::ListEditor;
    }
    switch (slot) {
        case kSlotExecute: return MenuAction::RunDialog;
        case kSlotOptions: return MenuAction::Options;
        case kSlotExport: return MenuAction::ExportSettings;
        case kSlotImport: return MenuAction::ImportSettings;
        case kSlotHelpIndex: return MenuAction::HelpContents;
        case kSlotInfo: return MenuAction::Information;
        case kSlotExit: return MenuAction::Exit;
        default: return MenuAction::None;
    }
}

}  // namespace

std::optional<ClipboardPick> ClipboardPickOf(std::int32_t id) {
    switch (MenuIdGroup(id)) {
        case kGroupClipboard: return ClipboardPick{kListClipboard, MenuIdIndex(id)};
        case kGroupClipboard2: return ClipboardPick{kListClipboard2, MenuIdIndex(id)};
        default: return std::nullopt;
    }
}

bool FunctionAllowed(std::int32_t slot, bool noConfig) {
    return !noConfig || slot == kSlotHelpIndex || slot == kSlotInfo || slot == kSlotExit;
}

MenuChoice ExecPopupMain(std::int32_t id, bool rightButton, bool noConfig) {
    if (id < 0) return {};
    const std::int32_t index = MenuIdIndex(id);
    switch (MenuIdGroup(id)) {
        case kGroupFunction:
            if (!FunctionAllowed(index, noConfig)) return {MenuAction::Refused};
            if (const MenuAction a = FixedFunction(index); a != MenuAction::ListEditor) return {a};
            return {MenuAction::ListEditor, index - kSlotFirstEditor};
        case kGroupMenuList: return {MenuAction::ExecuteItem, kListMenu, index, rightButton};
        case kGroupAutostart: return {MenuAction::ExecuteItem, kListAutostart, index, rightButton};
        case kGroupAutoclose: return {MenuAction::ExecuteItem, kListAutoclose, index, rightButton};
        default: break;
    }
    if (const auto pick = ClipboardPickOf(id)) {
        return {MenuAction::PasteClipItem, pick->List, pick->Index};
    }
    return {};
}

// A submenu entry's id is its index in the button list, so only a
// clipboard id makes r + the button's index pass 0x10000.
MenuChoice ButtonMenuChoice(std::int32_t r, std::int32_t button, bool ctrl, bool rightButton) {
    if (r < 0) return {};
    if (r + button > 0x10000) {
        const auto pick = ClipboardPickOf(r);
        if (!pick) return {};
        return {MenuAction::PasteClipItem, pick->List, pick->Index};
    }
    if (ctrl) return {MenuAction::EditItem, kListButtons, r};
    return {MenuAction::ExecuteItem, kListButtons, r, rightButton};
}

MenuPlacement ButtonMenuPlacement(std::int32_t barLeft, std::int32_t cellLeft,
                                  std::int32_t scrollOffset, std::int32_t barHeight,
                                  bool rightButton) {
    return {{barLeft + cellLeft - scrollOffset + kButtonMenuOffset, barHeight},
            TrackFlags(win::kTpmCenterAlign, rightButton)};
}

MainMenuOpening OpenMainMenu(const MainMenuFacts& facts) {
    if (facts.MenuOpen) return {};
    MainMenuOpening o;
    o.Open = true;
    o.ForceBarForeground = facts.FixMnuProblem || facts.RightButton;
    o.WatchForeground = !facts.ForegroundIsOurs;
    const std::int32_t right = std::min(facts.Bar.Right() + kMainMenuOverhang,
                                        facts.ScreenWidth - kMainMenuScreenMargin);
    o.Placement = {{right, facts.BarTop + facts.Bar.Height},
                   TrackFlags(win::kTpmRightAlign, facts.RightButton)};
    return o;
}

// A popup menu stays open when the user turns to another window with the
// keyboard or clicks where the menu loop does not see it; the platform
// closes it once a window of the program takes the foreground.
ClosePopupDecision TickClosePopup(const ClosePopupFacts& facts) {
    if (facts.SinceOpenMs >= kClosePopupGraceMs && facts.ForeignForeground) {
        return {ClosePopup::ForegroundChanged, facts.ReleasedSinceMenu};
    }
    const bool anyDown = facts.LeftDown || facts.RightDown || facts.EscapeDown;
    if (!facts.ReleasedSinceMenu) return {ClosePopup::Keep, !anyDown};
    if (anyDown && !facts.CursorOverMenu) return {ClosePopup::ClickedOutside, true};
    return {ClosePopup::Keep, true};
}

ButtonContextAction ButtonContextChoice(std::int32_t id) {
    switch (id - kButtonContextBase) {
        case 0:
            return ButtonContextAction::AddButton;
        case 1:
            return ButtonContextAction::EditButton;
        case 2:
            return ButtonContextAction::RemoveButton;
        default:
            return ButtonContextAction::None;
    }
}

}  // namespace zorv
