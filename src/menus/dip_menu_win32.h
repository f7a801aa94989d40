// clsDIPMenu: the program's one popup-menu class. The entries, the tree,
// the drawing and the mnemonic search are the portable core's
// (menus/dip_menu, menus/menu_draw); this class turns the tree into HMENUs,
// keeps the menu font, subclasses the owner window to measure and draw the
// entries and to answer typed letters, and shows the menu.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "menus/dip_menu.h"
#include "support/gdi_win32.h"
#include "support/geometry.h"

namespace zorv {

class clsDIPMenu {
  public:
    clsDIPMenu() = default;
    ~clsDIPMenu() { DestroyAll(); }
    clsDIPMenu(const clsDIPMenu&) = delete;
    clsDIPMenu& operator=(const clsDIPMenu&) = delete;

    // Set before CreateMenu. The icon contexts are not the menu's own.
    HDC hIcons = nullptr;
    HDC hMask = nullptr;
    std::int32_t hIconsY = 0;
    std::int32_t IconSize = 16;  // the icons in hIcons
    Dpi Scale;                   // the resolution the entries are laid out for
    bool bIconsHdcMultiline = false;
    bool blnMnuFlat = false;
    // Read after CreateMenu.
    std::int32_t lItemHeight = 0;
    std::int32_t m_MenuTextWidth = 0;
    HMENU hMnu() const { return root_.get(); }

    // Caption with its "--->" depth; a negative icon number for none.
    std::int32_t AddMenuItem(std::string_view caption, std::int32_t itemId, std::int32_t icon);
    void Clear() { entries_.Clear(); }
    std::int32_t Count() const { return entries_.Count(); }
    std::optional<std::int32_t> GetItemId(std::int32_t index) const {
        return entries_.GetItemId(index);
    }
    // Destroys what was built, then remembers the owner window; without
    // `ownerDrawn` the menu is plain text, without icons.
    void SetWindowHandleAndProc(HWND owner, bool ownerDrawn);
    void CreateMenu(std::int32_t minWidth);
    // The chosen entry's ItemId, or -1 when the menu was dismissed. A
    // negative coordinate opens it at the mouse.
    std::int32_t Show(ScreenPoint at, UINT flags);
    // Two columns for a root menu taller than the screen.
    void SetWraps();
    // Owner window back to its own procedure, font deleted, menus destroyed.
    void DestroyAll();

  private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WindowProcMnu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMeasureItem(MEASUREITEMSTRUCT& item);
    LRESULT OnDrawItem(const DRAWITEMSTRUCT& item);
    LRESULT OnMenuChar(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void DrawIcon(HDC dc, ScreenPoint target, ScreenPoint icon, ScreenPoint mask) const;
    MenuIconStrip Strip() const;

    DIPMenuEntries entries_;
    HWND owner_ = nullptr;
    bool ownerDrawn_ = false;
    WNDPROC previous_ = nullptr;
    LONG_PTR previousUserData_ = 0;
    UniqueFont font_;
    UniqueMenu root_;
    DIPMenuHoldings held_;
    LastDrawn last_;
};

}  // namespace zorv
