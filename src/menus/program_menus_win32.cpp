#include "menus/program_menus_win32.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "items/ini_save.h"
#include "menus/program_menus.h"
#include "support/handle_count.h"
#include "support/help_page_win32.h"
#include "support/log.h"
#include "support/picture_file_win32.h"
#include "support/texts.h"
#include "support/text_win32.h"
#include "support/tick_clock.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

// The fixed icons' row: 16 icons of the "SI" picture, masks in "SM".
constexpr std::int32_t kFixedIcons = 16;

}  // namespace

// Made with the first menu, not at start: the first show does not need them.
HWND ProgramMenus::NewOwner() {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 0, 0,
                                 ToHwnd(host_.BarWindow()), nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
    if (!owner) Log(1, "ProgramMenus: no owner window (%u)", GetLastError());
    return owner;
}

void ProgramMenus::Release() {
    buttonMenus_.clear();
    context_.DestroyAll();
    main_.DestroyAll();
    strip_.Clear();
    icons_ = masks_ = nullptr;
    barImage_ = nullptr;
    for (HWND owner : buttonOwners_) DestroyWindow(owner);
    buttonOwners_.clear();
    if (contextOwner_) DestroyWindow(std::exchange(contextOwner_, nullptr));
    if (owner_) DestroyWindow(std::exchange(owner_, nullptr));
}

std::string ProgramMenus::CachePath() const {
    return MenuIconCacheName(s_.App.IniPath);
}

// The button menus follow lazily: their lists may have changed too.
void ProgramMenus::Rebuild(bool tryCache) {
    Log(2, "RebuildMenus(cache=%i)", tryCache ? 1 : 0);
    LoadMenuIcons(tryCache);
    BuildMainMenu();
    BuildButtonContextMenu();
    buttonMenusDue_ = true;
}

void ProgramMenus::EnsureBuilt() {
    if (!main_.hMnu()) Rebuild(true);
    if (buttonMenusDue_) BuildButtonMenus();
}

void ProgramMenus::BuildMainMenu() {
    const MenuEntrySpecs entries =
        zorv::BuildMainMenu(FillMenuCaptions(EnglishTexts), s_.Lists, s_.Options.ShowAItems);
    main_.DestroyAll();
    main_.bIconsHdcMultiline = true;
    main_.Scale = bar_.Scale;
    main_.IconSize = IconSize();
    main_.hIcons = icons_;
    main_.hMask = masks_;
    main_.Clear();
    for (const MenuEntrySpec& e : entries) main_.AddMenuItem(e.Caption, e.ItemId, e.Icon);
    if (!owner_) owner_ = NewOwner();
    main_.SetWindowHandleAndProc(owner_, true);
    main_.CreateMenu(kMinMenuTextWidth);
    main_.blnMnuFlat = s_.Options.MnuFlat;
}

void ProgramMenus::BuildButtonContextMenu() {
    context_.DestroyAll();
    context_.bIconsHdcMultiline = true;
    context_.Scale = bar_.Scale;
    context_.IconSize = IconSize();
    context_.hIcons = icons_;
    context_.hMask = masks_;
    context_.Clear();
    for (const MenuEntrySpec& e : zorv::BuildButtonContextMenu(EnglishTexts)) {
        context_.AddMenuItem(e.Caption, e.ItemId, e.Icon);
    }
    if (!contextOwner_) contextOwner_ = NewOwner();
    context_.SetWindowHandleAndProc(contextOwner_, true);
    context_.CreateMenu(kMinMenuTextWidth);
    context_.blnMnuFlat = s_.Options.MnuFlat;
}

void ProgramMenus::SetButtonMenus(std::vector<ButtonMenuPlan> plans, HDC barImage,
                                  const BarMetrics& bar) {
    bar_ = bar;
    // The old menus draw from the bar image that was just replaced.
    buttonMenus_.clear();
    buttonPlans_ = std::move(plans);
    barImage_ = barImage;
    buttonMenusDue_ = true;
}

// Each entry's icon is the one the bar image holds for its index in the
// button list; a clipboard menu shows its button's icon on every entry.
void ProgramMenus::BuildButtonMenus() {
    buttonMenusDue_ = false;
    buttonMenus_.clear();
    for (const ButtonMenuPlan& plan : buttonPlans_) {
        const std::size_t k = buttonMenus_.size();
        if (k == buttonOwners_.size()) buttonOwners_.push_back(NewOwner());
        auto menu = std::make_unique<clsDIPMenu>();
        menu->hIcons = menu->hMask = barImage_;
        menu->hIconsY = bar_.IconRowTop();
        menu->IconSize = bar_.IconSize;
        menu->Scale = bar_.Scale;
        for (const MenuEntrySpec& e : BuildButtonMenu(plan, s_.Lists)) {
            menu->AddMenuItem(e.Caption, e.ItemId, e.Icon);
        }
        menu->SetWindowHandleAndProc(buttonOwners_[k], true);
        menu->CreateMenu(kMinMenuTextWidth);
        menu->blnMnuFlat = s_.Options.MnuFlat;
        buttonMenus_.push_back({plan.Button, std::move(menu)});
    }
    Log(2, "Button menus: %i", static_cast<std::int32_t>(buttonMenus_.size()));
}

// Icons black and masks white wherever nothing is drawn: an empty place
// shows nothing.
void ProgramMenus::LoadMenuIcons(bool tryCache) {
    const std::int32_t size = IconSize();
    const MenuIconStripPlan plan =
        PlanMenuIcons(s_.Lists, s_.Options.ShowAItems, s_.App.IconFolder, size);
    strip_.Clear();
    stripSize_ = plan.Size;
    stripIconSize_ = size;
    icons_ = strip_.Create(plan.Size.Width, plan.Size.Height);
    masks_ = strip_.Create(plan.Size.Width, plan.Size.Height);
    if (!icons_ || !masks_) return;
    PatBlt(icons_, 0, 0, plan.Size.Width, plan.Size.Height, BLACKNESS);
    PatBlt(masks_, 0, 0, plan.Size.Width, plan.Size.Height, WHITENESS);
    if (!tryCache || !ReadIconCache()) FillItemIcons(plan);
    clsBmpDC pictures;
    const SizedStrip fixed = LoadSizedResourceBitmap(pictures, L"SI", IconStripSizeFor(size));
    const SizedStrip fixedMasks = LoadSizedResourceBitmap(pictures, L"SM", fixed.Size);
    HDC scratch = pictures.Create(size, 2 * size);
    if (!fixed.Dc || !fixedMasks.Dc || fixed.Size != fixedMasks.Size || !scratch) return;
    for (std::int32_t i = 0; i < kFixedIcons; ++i) {
        CopyIconFromStrips({scratch, {0, 0}, {0, size}, size}, fixed.Dc, fixedMasks.Dc,
                           {fixed.Size * i, 0}, fixed.Size);
        BitBlt(icons_, size * i, 0, size, size, scratch, 0, 0, SRCCOPY);
        BitBlt(masks_, size * i, 0, size, size, scratch, 0, size, SRCCOPY);
    }
}

// The cache holds strip row r + 1 in a band of two icons: icons, then masks.
bool ProgramMenus::ReadIconCache() {
    const std::int32_t size = stripIconSize_;
    const Picture cache = LoadPictureFile(CachePath());
    if (!cache.Bitmap || !MenuIconCacheUsable(cache.Width, cache.Height, size)) return false;
    UniqueDC src(CreateCompatibleDC(icons_));
    SelectGuard select(src.get(), cache.Bitmap.get());
    const std::int32_t rows = stripSize_.Height / size;
    for (std::int32_t row = 1; row < rows; ++row) {
        if (MenuIconCacheMaskY(row, size) + size > cache.Height) break;
        const std::int32_t y = row * size;
        BitBlt(icons_, 0, y, stripSize_.Width, size, src.get(), 0, MenuIconCacheIconY(row, size),
               SRCCOPY);
        BitBlt(masks_, 0, y, stripSize_.Width, size, src.get(), 0, MenuIconCacheMaskY(row, size),
               SRCCOPY);
    }
    Log(2, "LoadMenuIcons: from %s", CachePath());
    return true;
}

// Each icon goes through a scratch place holding it above its mask, where
// the file loader makes it black under the mask.
void ProgramMenus::FillItemIcons(const MenuIconStripPlan& plan) {
    const std::int32_t size = stripIconSize_;
    clsBmpDC pictures;
    HDC scratch = pictures.Create(size, 2 * size);
    SizedStrip builtIn, builtInMasks;
    if (!scratch) return;
    const IconPlace place{scratch, {0, 0}, {0, size}, size};
    for (const MenuIconFill& fill : plan.Fills) {
        bool loaded = false;
        if (fill.Source.Kind == IconSourceKind::BuiltIn) {
            if (!builtIn.Dc) {
                builtIn = LoadSizedResourceBitmap(pictures, L"II", IconStripSizeFor(size));
                builtInMasks = LoadSizedResourceBitmap(pictures, L"IM", builtIn.Size);
            }
            const std::optional<ScreenPoint> at =
                BuiltInIconSource(fill.Source.BuiltInNumber, builtIn.Size);
            loaded = at && builtIn.Dc && builtInMasks.Dc && builtIn.Size == builtInMasks.Size;
            if (loaded) CopyIconFromStrips(place, builtIn.Dc, builtInMasks.Dc, *at, builtIn.Size);
        } else if (fill.Source.Kind == IconSourceKind::File) {
            loaded = LoadIconFile(fill.Source.FilePath, place);
            if (!loaded) Log(2, "LoadMenuIcons: no icon in %s", fill.Source.FilePath);
        }
        if (!loaded) continue;
        BitBlt(icons_, fill.At.X, fill.At.Y, size, size, scratch, 0, 0, SRCCOPY);
        BitBlt(masks_, fill.At.X, fill.At.Y, size, size, scratch, 0, size, SRCCOPY);
    }
}

// The cache follows the configuration file as the bar's picture does: gone
// on a 16-colour display, rewritten while the bar shows, kept at closing.
void ProgramMenus::AfterSave(const std::string& iniPath) {
    const HWND bar = ToHwnd(host_.BarWindow());
    const std::string cache = MenuIconCacheName(iniPath);
    switch (
        IconCacheActionAfterSave(ScreenBitsPerPixel(), bar && IsWindowVisible(bar), s_.IsClosing)) {
        case IconCacheAction::Keep:
            return;
        case IconCacheAction::Delete:
            DeleteFileW(Widen(cache).c_str());
            return;
        case IconCacheAction::Rewrite:
            EnsureBuilt();
            WriteIconCache(cache);
            return;
    }
}

void ProgramMenus::WriteIconCache(const std::string& cache) {
    if (!icons_) return;
    const std::int32_t size = stripIconSize_;
    const std::int32_t bands = stripSize_.Height / size - 1;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = stripSize_.Width;
    bi.bmiHeader.biHeight = 2 * size * bands;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return;
    {
        UniqueDC dc(CreateCompatibleDC(icons_));
        SelectGuard select(dc.get(), dib.get());
        for (std::int32_t row = 1; row <= bands; ++row) {
            const std::int32_t y = row * size;
            BitBlt(dc.get(), 0, MenuIconCacheIconY(row, size), stripSize_.Width, size, icons_, 0,
                   y, SRCCOPY);
            BitBlt(dc.get(), 0, MenuIconCacheMaskY(row, size), stripSize_.Width, size, masks_, 0,
                   y, SRCCOPY);
        }
        GdiFlush();
    }
    const bool written = WriteDibFile(cache, bi.bmiHeader, bits);
    Log(2, "Menu icon cache %s %s", cache, written ? "written" : "not written");
}

MainMenuFacts ProgramMenus::OpeningFacts(bool rightButton) const {
    const HWND bar = ToHwnd(host_.BarWindow());
    RECT r{};
    GetWindowRect(bar, &r);
    MainMenuFacts facts;
    facts.MenuOpen = menuOpen_;
    facts.RightButton = rightButton;
    facts.FixMnuProblem = s_.Options.FixMnuProblem;
    const HWND fg = GetForegroundWindow();
    facts.ForegroundIsOurs = fg && OwnedByThisProcess(fg);
    facts.Bar = ScreenRect::FromEdges(r.left, r.top, r.right, r.bottom);
    facts.Bar.Height = host_.BarHeight();
    // Its top edge is its top offset while it shows (a press on a reduced
    // bar never opens the menu).
    facts.BarTop = r.top;
    facts.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    return facts;
}

void ProgramMenus::ForceBarForeground(HWND bar) {
    SetForegroundWindow(bar);
    if (GetForegroundWindow() == bar) return;
    SetForegroundWindow(bar);
    Log(1, "MnuButtonPress, Me.hwnd %X", reinterpret_cast<const void*>(bar));
}

void ProgramMenus::OpenMainMenu(bool rightButton) {
    const MainMenuOpening opening = zorv::OpenMainMenu(OpeningFacts(rightButton));
    EnsureBuilt();
    if (!opening.Open || !main_.hMnu()) return;
    SetMenuOpen(true);
    if (opening.ForceBarForeground) ForceBarForeground(ToHwnd(host_.BarWindow()));
    Log(2, "MnuButtonPress: main menu at %i, %i", opening.Placement.At.X, opening.Placement.At.Y);
    const std::int32_t id =
        ShowPopup(main_, opening.Placement.At, opening.Placement.Flags, opening.WatchForeground);
    Log(2, "MnuButtonPress: chosen %X", static_cast<std::uint32_t>(id));
    Carry(ExecPopupMain(id, rightButton, s_.App.NoConfig));
    SetMenuOpen(false);
}

// The bar takes the foreground first: a menu closes on a click outside only
// while its owner is in front.
void ProgramMenus::OpenMainMenuAtCursor() {
    EnsureBuilt();
    if (!main_.hMnu() || menuOpen_) return;
    SetMenuOpen(true);
    ForceBarForeground(ToHwnd(host_.BarWindow()));
    const std::int32_t id = ShowPopup(main_, ScreenPoint{-1, -1}, TPM_LEFTALIGN | TPM_TOPALIGN, true);
    Log(2, "Main menu at the mouse: chosen %X", static_cast<std::uint32_t>(id));
    Carry(ExecPopupMain(id, false, s_.App.NoConfig));
    SetMenuOpen(false);
}

// The bar does not reduce while a menu of it is open, and the foreground
// tracking leaves the z-order alone.
void ProgramMenus::SetMenuOpen(bool open) {
    menuOpen_ = open;
    host_.MenuShowing(open);
}

std::int32_t ProgramMenus::ShowPopup(clsDIPMenu& menu, ScreenPoint at, UINT flags, bool watch) {
    openedAtMs_ = TickCount64();
    historyAtOpen_ = host_.RecentForegroundWindows();
    // The window in front as the menu opens is the one the user works in,
    // whether or not the foreground tracking has recorded it yet.
    if (HWND fg = GetForegroundWindow()) historyAtOpen_.push_back(ToWindowId(fg));
    releasedSinceMenu_ = false;
    watching_ = watch;
    if (watch) host_.WatchPopup(true);
    tracking_ = true;
    const std::int32_t id = menu.Show(at, flags);
    tracking_ = false;
    if (watch) host_.WatchPopup(false);
    watching_ = false;
    Log(3, "Menu closed; own handles: %s", LiveHandleText());
    return id;
}

std::int32_t ProgramMenus::ShowButtonMenu(std::int32_t button, ScreenPoint cell,
                                          bool rightButton) {
    if (menuOpen_) return -1;
    EnsureBuilt();
    const auto found = std::find_if(buttonMenus_.begin(), buttonMenus_.end(),
                                    [button](const ButtonMenu& m) { return m.Button == button; });
    if (found == buttonMenus_.end() || !found->Menu->hMnu()) return -1;
    const MenuPlacement placement = ButtonMenuPlacement(cell.X, 0, 0, cell.Y, rightButton);
    SetMenuOpen(true);
    const std::int32_t id = ShowPopup(*found->Menu, placement.At, placement.Flags, true);
    SetMenuOpen(false);
    Log(2, "ButtonMenuItemPress(%i): chosen %X", button, static_cast<std::uint32_t>(id));
    return id;
}

std::int32_t ProgramMenus::ShowButtonContextMenu() {
    if (menuOpen_) return -1;
    EnsureBuilt();
    if (!context_.hMnu()) return -1;
    SetMenuOpen(true);
    const std::int32_t id = ShowPopup(context_, {-1, -1}, TPM_RIGHTBUTTON, true);
    SetMenuOpen(false);
    return id;
}

void ProgramMenus::CarryButtonChoice(std::int32_t button, std::int32_t chosen, bool ctrl,
                                     bool rightButton) {
    CarryOut(ButtonMenuChoice(chosen, button, ctrl, rightButton));
}

// The menu loop of the open menu dispatches the timer, so this runs while
// the menu shows.
void ProgramMenus::TickClosePopup() {
    if (!watching_) return;
    const HWND fg = GetForegroundWindow();
    ClosePopupFacts facts;
    facts.SinceOpenMs = static_cast<std::int64_t>(TickCount64() - openedAtMs_);
    facts.ForeignForeground =
        fg && !OwnedByThisProcess(fg) &&
        std::find(historyAtOpen_.begin(), historyAtOpen_.end(), ToWindowId(fg)) ==
            historyAtOpen_.end();
    facts.ReleasedSinceMenu = releasedSinceMenu_;
    facts.LeftDown = GetAsyncKeyState(VK_LBUTTON) < 0;
    facts.RightDown = GetAsyncKeyState(VK_RBUTTON) < 0;
    facts.EscapeDown = GetAsyncKeyState(VK_ESCAPE) < 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    const HWND under = WindowFromPoint(cursor);
    facts.CursorOverMenu = under && ClassOf(under) == "#32768";
    const ClosePopupDecision decision = zorv::TickClosePopup(facts);
    releasedSinceMenu_ = decision.ReleasedSinceMenu;
    switch (decision.Action) {
        case ClosePopup::Keep:
            return;
        case ClosePopup::ForegroundChanged:
            host_.AddToForegroundHistory(ToWindowId(fg));
            CloseOpenMenu();
            Log(1, "tim");
            SetForegroundWindow(fg);
            return;
        case ClosePopup::ClickedOutside:
            CloseOpenMenu();
            return;
    }
}

// The thread's open menu ends as if dismissed; Show returns -1.
void ProgramMenus::CloseOpenMenu() {
    watching_ = false;
    EndMenu();
}

// ExecPopupMain: the window the user worked in comes back first, then the
// choice; a fixed function happens in front of it and leaves the bar on top.
void ProgramMenus::Carry(const MenuChoice& choice) {
    if (choice.Action == MenuAction::None) return;
    host_.HandForegroundBack("ExecPopupMain");
    const HWND bar = ToHwnd(host_.BarWindow());
    if (choice.IsFixedFunction()) SetForegroundWindow(bar);
    CarryOut(choice);
    if (choice.IsFixedFunction()) {
        SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void ProgramMenus::CarryOut(const MenuChoice& choice) {
    switch (choice.Action) {
        case MenuAction::None:
            break;
        case MenuAction::ExecuteItem:
            host_.ExecuteItem(choice.List, choice.Index, choice.StartAnyway);
            break;
        case MenuAction::PasteClipItem:
            host_.PasteClipItem(choice.List, choice.Index);
            break;
        case MenuAction::EditItem:
            host_.EditItem(choice.Index);
            break;
        case MenuAction::Refused:
            MsgBox(Text(Txt::AccessRestricted), MB_OK | MB_ICONEXCLAMATION);
            break;
        case MenuAction::Exit:
            host_.ExitFromMenu();
            break;
        case MenuAction::ExportSettings:
            host_.ExportSettings();
            break;
        case MenuAction::ImportSettings:
            host_.ImportSettings();
            break;
        case MenuAction::HelpContents:
            ShowHelp();
            break;
        case MenuAction::Information:
            ShowInformation();
            break;
        case MenuAction::ListEditor:
            host_.EditList(choice.List);
            break;
        case MenuAction::RunDialog:
            host_.OpenRunDialog();
            break;
        case MenuAction::Options:
            host_.OpenOptions();
            break;
    }
}

// The help page of the language, opened by the shell (the browser).
void ProgramMenus::ShowHelp() {
    OpenHelpPage(ToHwnd(host_.BarWindow()), s_.HelpFile);
}

void ProgramMenus::ShowInformation() {
    InformationFacts facts;
    facts.Version = std::to_string(ZORV_VERSION_MAJOR) + "." + std::to_string(ZORV_VERSION_MINOR);
    facts.BuildDate = __DATE__;
    facts.IniPath = s_.App.IniPath;
    facts.LogPath = s_.App.ProgramFolder + "\\zorv.log";
    facts.LogWritten = WriteLogFile;
    MsgBox(InformationText(facts, EnglishTexts), MB_OK | MB_ICONINFORMATION);
}

}  // namespace zorv
