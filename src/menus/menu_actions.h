// What the program does around its menus, decided without a window: where
// a menu opens and with which flags, what a chosen id means, which
// functions the configuration lock refuses, and when a menu left open is
// closed. The Win32 shell gathers the facts and carries out the answers.
// Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <optional>

#include "support/geometry.h"

namespace zorv {

// A clipboard item chosen in a menu: list 4 or 5 and the item's index.
struct ClipboardPick {
    std::int32_t List = 0;
    std::int32_t Index = 0;

    bool operator==(const ClipboardPick&) const = default;
};
// Groups 0x30000 and 0x40000; none for any other group.
std::optional<ClipboardPick> ClipboardPickOf(std::int32_t id);

// The configuration lock of "/noconfig": only help contents, information
// and exit stay open.
bool FunctionAllowed(std::int32_t slot, bool noConfig);

// What a main-menu choice means (`ExecPopupMain`).
enum class MenuAction : std::uint8_t {
    None,           // dismissed, a heading or a separator
    Refused,        // the configuration lock: show Txt::AccessRestricted
    RunDialog,
    ListEditor,     // List: 0..5
    Options,
    ExportSettings,
    ImportSettings,
    HelpContents,
    Information,
    Exit,           // mark closing and ClosedFromMenu; the menu button closes the bar
    ExecuteItem,    // List, Index, StartAnyway
    PasteClipItem,  // List, Index
    EditItem,       // Index in the button list (a button menu with Ctrl)
};
struct MenuChoice {
    MenuAction Action = MenuAction::None;
    std::int32_t List = 0;
    std::int32_t Index = 0;
    bool StartAnyway = false;

    bool operator==(const MenuChoice&) const = default;
    // A fixed function brings the bar forward first and puts it back on top
    // afterwards; a dismissed menu does nothing at all.
    bool IsFixedFunction() const {
        return Action != MenuAction::None && Action != MenuAction::ExecuteItem &&
               Action != MenuAction::PasteClipItem && Action != MenuAction::EditItem;
    }
};
// A right-button choice starts a new instance even of an item that would
// activate a running one.
MenuChoice ExecPopupMain(std::int32_t id, bool rightButton, bool noConfig);

// `ButtonMenuItemPress`, after the choice: r is the entry's id (-1 none),
// a clipboard pick or an index in the button list, which Ctrl edits instead.
MenuChoice ButtonMenuChoice(std::int32_t r, std::int32_t button, bool ctrl, bool rightButton);

// The button context menu (ExecPopupBut): what its id asks for.
enum class ButtonContextAction : std::uint8_t { None, AddButton, EditButton, RemoveButton };
ButtonContextAction ButtonContextChoice(std::int32_t id);

// Where and how a menu opens: TrackPopupMenuEx's point and flags.
struct MenuPlacement {
    ScreenPoint At;
    std::uint32_t Flags = 0;

    bool operator==(const MenuPlacement&) const = default;
};
// A button's menu: centred 30 pixels right of the button's left edge on the
// screen, just below the bar.
MenuPlacement ButtonMenuPlacement(std::int32_t barLeft, std::int32_t cellLeft,
                                  std::int32_t scrollOffset, std::int32_t barHeight,
                                  bool rightButton);

// Opening the main menu.
struct MainMenuFacts {
    bool MenuOpen = false;  // a popup of the bar is showing
    bool RightButton = false;
    bool FixMnuProblem = false;
    bool ForegroundIsOurs = false;  // the window in front is one of the program's
    ScreenRect Bar;                 // the bar window on the screen
    std::int32_t BarTop = 0;        // the bar's top offset
    std::int32_t ScreenWidth = 0;
};
struct MainMenuOpening {
    bool Open = false;               // false: a popup is showing already
    bool ForceBarForeground = false;  // make the bar the foreground window first
    bool WatchForeground = false;    // record the open time, run timClosePopup
    MenuPlacement Placement;         // right edge and top of the menu

    bool operator==(const MainMenuOpening&) const = default;
};
MainMenuOpening OpenMainMenu(const MainMenuFacts& facts);

// One tick of timClosePopup (10 ms) while a bar menu shows.
struct ClosePopupFacts {
    std::int64_t SinceOpenMs = 0;
    // The foreground window is none of the six of the history, none of the
    // program's and not nothing.
    bool ForeignForeground = false;
    bool ReleasedSinceMenu = false;  // the flag as the last tick left it
    bool LeftDown = false;
    bool RightDown = false;
    bool EscapeDown = false;
    bool CursorOverMenu = false;  // a "#32768" window under the cursor
};
enum class ClosePopup : std::uint8_t {
    Keep,
    // Another window came to the front: record it in the history, close the
    // menu (a tiny window of the program takes the foreground), give the
    // foreground back to it.
    ForegroundChanged,
    // A press outside the menu after everything was released: close it.
    ClickedOutside,
};
struct ClosePopupDecision {
    ClosePopup Action = ClosePopup::Keep;
    bool ReleasedSinceMenu = false;  // the flag for the next tick

    bool operator==(const ClosePopupDecision&) const = default;
};
ClosePopupDecision TickClosePopup(const ClosePopupFacts& facts);

}  // namespace zorv
