// The program's menus on the screen: the main menu with its icon strip
// (and the "M.bmp" cache beside the configuration file), opened from the
// bar's main-menu cell, and what a choice in it does. The entries and the
// decisions are the core's (menus/program_menus, menus/menu_actions).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

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
    // From opening until the choice is carried out; the bar does not reduce meanwhile.
    bool MenuOpen() const { return menuOpen_; }
    // The configuration was written to `iniPath`: the "M.bmp" beside it
    // follows.
    void AfterSave(const std::string& iniPath);

  private:
    void LoadMenuIcons(bool tryCache);
    bool ReadIconCache();
    void WriteIconCache(const std::string& cache);
    void FillItemIcons(const MenuIconStripPlan& plan);
    void BuildMainMenu();
    // The menus' owner window: an invisible child of the bar.
    void CreateOwner();
    MainMenuFacts OpeningFacts(bool rightButton) const;
    void ForceBarForeground(HWND bar);
    void Carry(const MenuChoice& choice);
    std::string CachePath() const;

    AppState& s_;
    MenuHost& host_;
    HWND owner_ = nullptr;
    clsDIPMenu main_;
    clsBmpDC strip_;
    HDC icons_ = nullptr;
    HDC masks_ = nullptr;
    ScreenSize stripSize_;
    bool menuOpen_ = false;
};

}  // namespace zorv
