// The program's menus on the screen: the main menu with its icon strip
// (and the "M.bmp" cache beside the configuration file), opened from the
// bar's main-menu cell, the buttons' own menus and the button context menu,
// timClosePopup, and what a choice does. The entries and the decisions are
// the core's (menus/program_menus, menus/menu_actions).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bar/bar_layout.h"
#include "items/app_state.h"
#include "menus/dip_menu_win32.h"
#include "menus/menu_actions.h"
#include "menus/menu_host.h"
#include "menus/program_menus.h"
#include "support/bmp_dc_win32.h"

namespace zorv {

class ProgramMenus {
  public:
    ProgramMenus(AppState& state, MenuHost& host) : s_(state), host_(host) {}
    ~ProgramMenus() { Release(); }
    ProgramMenus(const ProgramMenus&) = delete;
    ProgramMenus& operator=(const ProgramMenus&) = delete;

    // Before the bar goes: menus, strip and owner window.
    void Release();
    // The main menu and its icon strip; `tryCache` reads "M.bmp" if usable.
    void Rebuild(bool tryCache);
    // The first build, unless one happened already: the start leaves it for
    // after the bar shows, and whatever needs the menus first makes it.
    void EnsureBuilt();
    // A click on the main-menu cell; the choice is carried out before it returns.
    void OpenMainMenu(bool rightButton);
    // The main menu at the mouse ("/menu" from a script).
    void OpenMainMenuAtCursor();
    // From opening until the choice is carried out; the bar does not reduce meanwhile.
    bool MenuOpen() const { return menuOpen_; }
    // A menu is on the screen (its menu loop runs); MenuOpen also covers
    // carrying out the choice, a dialog it opens included.
    bool MenuTracking() const { return tracking_; }
    // The configuration was written to `iniPath`: the "M.bmp" beside it
    // follows.
    void AfterSave(const std::string& iniPath);

    // The buttons' own menus as the bar planned them, drawing their icons
    // from the bar image `barImage` (icons in its icon row, masks below).
    // Built when first needed, with the bar's every rebuild.
    // `bar` tells where the bar image keeps its icons and how large they are.
    void SetButtonMenus(std::vector<ButtonMenuPlan> plans, HDC barImage, const BarMetrics& bar);
    // The clipboard lists changed: the clipboard buttons' menus follow.
    void ReCreateButtonClipMenu() { buttonMenusDue_ = true; }
    // Button `button`'s menu, centred 30 pixels right of `cell` (the
    // button's left edge on the screen, the bar's lower edge); the chosen
    // entry's id or -1.
    std::int32_t ShowButtonMenu(std::int32_t button, ScreenPoint cell, bool rightButton);
    // "Add Button", "Edit Button", "Remove Button" at the cursor; the
    // chosen id or -1.
    std::int32_t ShowButtonContextMenu();
    // What a button menu's choice does (the bar has drawn the button up and
    // handed the foreground back).
    void CarryButtonChoice(std::int32_t button, std::int32_t chosen, bool ctrl, bool rightButton);
    // timClosePopup: a menu left open when the user turned elsewhere closes.
    void TickClosePopup();

  private:
    void LoadMenuIcons(bool tryCache);
    bool ReadIconCache();
    void WriteIconCache(const std::string& cache);
    void FillItemIcons(const MenuIconStripPlan& plan);
    void BuildMainMenu();
    void BuildButtonContextMenu();
    void BuildButtonMenus();
    // A menu's owner window: an invisible child of the bar, one per menu
    // (each menu subclasses its own).
    HWND NewOwner();
    std::int32_t ShowPopup(clsDIPMenu& menu, ScreenPoint at, UINT flags, bool watch);
    void SetMenuOpen(bool open);
    void CloseOpenMenu();
    MainMenuFacts OpeningFacts(bool rightButton) const;
    void ForceBarForeground(HWND bar);
    void Carry(const MenuChoice& choice);
    void CarryOut(const MenuChoice& choice);
    void ShowHelp();
    void ShowInformation();
    std::string CachePath() const;

    AppState& s_;
    MenuHost& host_;
    HWND owner_ = nullptr;
    clsDIPMenu main_;
    HWND contextOwner_ = nullptr;
    clsDIPMenu context_;
    struct ButtonMenu {
        std::int32_t Button = 0;
        std::unique_ptr<clsDIPMenu> Menu;
    };
    std::vector<ButtonMenu> buttonMenus_;
    std::vector<HWND> buttonOwners_;  // kept across rebuilds, one per menu
    std::vector<ButtonMenuPlan> buttonPlans_;
    HDC barImage_ = nullptr;
    BarMetrics bar_;
    std::int32_t stripIconSize_ = kIconSize;  // the icons in icons_ / masks_
    // The menus' icons are as large as the bar's.
    std::int32_t IconSize() const { return bar_.IconSize; }
    bool buttonMenusDue_ = false;
    clsBmpDC strip_;
    HDC icons_ = nullptr;
    HDC masks_ = nullptr;
    ScreenSize stripSize_;
    bool menuOpen_ = false;
    bool tracking_ = false;  // inside TrackPopupMenu
    // timClosePopup's facts about the menu showing.
    bool watching_ = false;
    std::uint64_t openedAtMs_ = 0;
    // The foreground history as the menu opened: the foreground tracking
    // keeps recording meanwhile, and a window that came forward since must
    // not count as one the user worked in before.
    std::vector<WindowId> historyAtOpen_;
    bool releasedSinceMenu_ = false;
};

}  // namespace zorv
