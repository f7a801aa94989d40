#include "menus/dip_menu_win32.h"

#include <vector>

#include "menus/menu_draw.h"
#include "support/log.h"
#include "support/text_win32.h"

namespace zorv {

namespace {


class GdiMeasurer final : public MenuTextMeasurer {
  public:
    explicit GdiMeasurer(HDC dc) : dc_(dc) {}
    ScreenSize Measure(std::string_view text) override {
        const std::wstring wide = Widen(text);
        SIZE size{};
        GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
        return {size.cx, size.cy};
    }

  private:
    HDC dc_;
};

RECT ToRect(const ScreenRect& r) {
    return {r.Left, r.Top, r.Right(), r.Bottom()};
}

void FillBox(HDC dc, const ScreenRect& r) {
    Rectangle(dc, r.Left, r.Top, r.Right(), r.Bottom());
}

// The DC pen and brush take any colour without a new GDI object per entry:
// a tall menu draws dozens of entries each time it opens.
void DrawLines(HDC dc, const std::vector<MenuLine>& lines) {
    SelectGuard select(dc, GetStockObject(DC_PEN));
    for (const MenuLine& line : lines) {
        SetDCPenColor(dc, GetSysColor(line.Colour));
        MoveToEx(dc, line.From.X, line.From.Y, nullptr);
        LineTo(dc, line.To.X, line.To.Y);
    }
}

}  // namespace

MenuIconStrip clsDIPMenu::Strip() const {
    return {.RowY = hIconsY,
            .Multiline = bIconsHdcMultiline,
            .MaskBelowIcon = hMask && hMask == hIcons,
            .IconSize = IconSize,
            .Scale = Scale};
}

std::int32_t clsDIPMenu::AddMenuItem(std::string_view caption, std::int32_t itemId,
                                     std::int32_t icon) {
    return entries_.AddMenuItem(caption, itemId, icon, Strip());
}

void clsDIPMenu::SetWindowHandleAndProc(HWND owner, bool ownerDrawn) {
    DestroyAll();
    owner_ = owner;
    ownerDrawn_ = ownerDrawn;
}

// Owner-drawn entries carry no text of their own, so the system leaves
// every typed letter to WM_MENUCHAR, where the menu finds it in the popup
// that is open.
void clsDIPMenu::CreateMenu(std::int32_t minWidth) {
    DestroyAll();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_.reset(CreateFontIndirectW(&metrics.lfMenuFont));
    MenuTreePlan plan;
    {
        UniqueDC dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), font_.get());
        GdiMeasurer measurer(dc.get());
        plan = BuildMenuTree(entries_, minWidth, Strip(), measurer);
    }
    lItemHeight = plan.ItemHeight;
    m_MenuTextWidth = plan.MenuTextWidth;
    std::vector<UniqueMenu> popups;
    for (const MenuPopupPlan& popup : plan.Popups) {
        popups.emplace_back(CreatePopupMenu());
        for (std::int32_t i : popup.Entries) {
            const DIPMenuItem& entry = entries_.Items()[i];
            const std::wstring caption = Widen(entry.Caption);
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | (ownerDrawn_ ? 0 : MIIM_STRING);
            info.fType = EntryTypeFlags(entry, ownerDrawn_);
            info.wID = static_cast<UINT>(entry.CommandId);
            info.dwItemData = static_cast<ULONG_PTR>(entry.CommandId);
            info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
            InsertMenuItemW(popups.back().get(), static_cast<UINT>(entry.Position), TRUE, &info);
        }
    }
    // Deepest first; a popup hung on its heading belongs to the tree from
    // then on and is destroyed with the root.
    for (std::size_t p = popups.size(); p-- > 1;) {
        const MenuPopupPlan& popup = plan.Popups[p];
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = popups[p].get();
        if (SetMenuItemInfoW(popups[popup.Parent].get(), static_cast<UINT>(popup.Heading), FALSE,
                             &info)) {
            popups[p].release();
        }
    }
    root_ = std::move(popups[0]);
    if (ownerDrawn_ && owner_) {
        // The owner finds its menu in its user data: the window procedure
        // Win32 calls has no other context. (A window property would do
        // too, but reading one is a round trip to the window system, once
        // for each of the hundreds of entries a tall menu measures.)
        previousUserData_ =
            SetWindowLongPtrW(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&clsDIPMenu::SubclassProc)));
    }
    held_ = HoldingsAfterCreate(ownerDrawn_ && owner_);
    last_ = {};
}

std::int32_t clsDIPMenu::Show(ScreenPoint at, UINT flags) {
    if (!root_) return -1;
    POINT p{at.X, at.Y};
    if (at.X < 0 || at.Y < 0) GetCursorPos(&p);
    const BOOL command =
        TrackPopupMenuEx(root_.get(), flags | TPM_RETURNCMD, p.x, p.y, owner_, nullptr);
    const DIPMenuItem* entry = entries_.ByCommand(command);
    return entry ? entry->ItemId : -1;
}

void clsDIPMenu::SetWraps() {
    if (!root_) return;
    WindowDC screen(nullptr);
    const WrapPlan plan = zorv::SetWraps(GetMenuItemCount(root_.get()), lItemHeight,
                                         GetDeviceCaps(screen.get(), VERTRES));
    if (plan.Position < 0) return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoW(root_.get(), static_cast<UINT>(plan.Position), TRUE, &info)) return;
    info.fType = plan.Break ? info.fType | MFT_MENUBARBREAK : info.fType & ~MFT_MENUBARBREAK;
    SetMenuItemInfoW(root_.get(), static_cast<UINT>(plan.Position), TRUE, &info);
}

void clsDIPMenu::DestroyAll() {
    const DIPMenuHoldings release = TakeForDestroy(held_);
    if (release.Subclassed && owner_) {
        SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        SetWindowLongPtrW(owner_, GWLP_USERDATA, previousUserData_);
        previous_ = nullptr;
    }
    if (release.Font) font_.reset();
    if (release.RootMenu) root_.reset();
}

LRESULT CALLBACK clsDIPMenu::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* menu = reinterpret_cast<clsDIPMenu*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return menu ? menu->WindowProcMnu(hwnd, msg, wParam, lParam)
                : DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The menu loop runs inside Show; these messages reach the owner meanwhile.
LRESULT clsDIPMenu::WindowProcMnu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MEASUREITEM:
            return OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        case WM_DRAWITEM:
            if (wParam != 0) break;
            return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_MENUCHAR:
            return OnMenuChar(hwnd, msg, wParam, lParam);
        case WM_CANCELMODE:
        case WM_ENTERMENULOOP:
            return 0;
        case WM_SETCURSOR:
            return 1;
        default:
            break;
    }
    return CallWindowProcW(previous_, hwnd, msg, wParam, lParam);
}

LRESULT clsDIPMenu::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    const DIPMenuItem* entry = entries_.ByCommand(static_cast<std::int32_t>(item.itemID));
    if (!entry) return 0;
    const ScreenSize size = MeasureMenuEntry(*entry, lItemHeight, Scale);
    item.itemWidth = static_cast<UINT>(size.Width);
    item.itemHeight = static_cast<UINT>(size.Height);
    return TRUE;
}

LRESULT clsDIPMenu::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const auto index = static_cast<std::int32_t>(item.itemID);
    const DIPMenuItem* entry = entries_.ByCommand(index);
    if (!entry) return 0;
    const RECT& r = item.rcItem;
    MenuDrawFacts facts;
    facts.Index = index;
    facts.Item = ScreenRect::FromEdges(r.left, r.top, r.right, r.bottom);
    facts.Selected = (item.itemState & ODS_SELECTED) != 0;
    facts.Disabled = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    facts.Flat = blnMnuFlat;
    facts.ItemHeight = lItemHeight;
    facts.Previous = last_;
    facts.Strip = Strip();
    const MenuEntryDrawing d = DrawMenuEntry(*entry, facts);
    HDC dc = item.hDC;
    SelectGuard font(dc, font_.get());
    {
        const COLORREF background = GetSysColor(d.Background);
        SelectGuard selectBrush(dc, GetStockObject(DC_BRUSH));
        SelectGuard selectPen(dc, GetStockObject(DC_PEN));
        SetDCBrushColor(dc, background);
        SetDCPenColor(dc, background);
        if (d.IconColumn) FillBox(dc, *d.IconColumn);
        if (d.TextBackground) FillBox(dc, *d.TextBackground);
        if (d.TextBox) {
            const std::wstring caption = Widen(entry->Caption);
            RECT box = ToRect(*d.TextBox);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(d.TextColour));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box, DT_SINGLELINE);
        }
    }
    if (d.Icon) DrawIcon(dc, d.Icon->Target, d.Icon->Icon, d.Icon->Mask);
    DrawLines(dc, d.Lines);
    last_ = d.Record;
    return TRUE;
}

// The strip is black wherever its mask is white, so AND with the mask and
// OR with the icon leaves the menu's background around the icon.
void clsDIPMenu::DrawIcon(HDC dc, ScreenPoint target, ScreenPoint icon, ScreenPoint mask) const {
    if (!hIcons || !hMask) return;
    BitBlt(dc, target.X, target.Y, IconSize, IconSize, hMask, mask.X, mask.Y, SRCAND);
    BitBlt(dc, target.X, target.Y, IconSize, IconSize, hIcons, icon.X, icon.Y, SRCPAINT);
}

LRESULT clsDIPMenu::OnMenuChar(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto typed = static_cast<char32_t>(LOWORD(wParam));
    if (const auto position = MatchMnemonic(entries_, last_, typed)) {
        Log(4, "WM_MENUCHAR %i: entry at %i", static_cast<std::int32_t>(typed), *position);
        return MenuCharExecute(*position);
    }
    return CallWindowProcW(previous_, hwnd, msg, wParam, lParam);
}

}  // namespace zorv
