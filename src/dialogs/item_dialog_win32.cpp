#include "dialogs/item_dialog_win32.h"

#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "bar/bar_layout.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/file_dialog_win32.h"
#include "dialogs/hotkey_owner.h"
#include "dialogs/item_dialog_ids.h"
#include "dialogs/hotkey_dlg_win32.h"
#include "support/dpi_win32.h"
#include "support/ascii.h"
#include "support/late_bound_win32.h"
#include "support/log.h"
#include "support/program_icon_win32.h"
#include "support/text_win32.h"
#include "support/texts.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

constexpr UINT_PTR kAppIconTimer = 1;
constexpr UINT_PTR kHotkeyTimer = 2;
constexpr UINT kHotkeyPollMs = 250;
// At 96 dpi; the dialog scales them for its screen (see OnInit).
constexpr int kIconPitch = 22;  // pixels from one icon of the strip to the next
constexpr int kStripMargin = 3;
// "Get Titlebar": how long to wait for the started program's window, and
// how long it gets afterwards to put its final title up.
constexpr DWORD kNewWindowWaitMs = 10000;
constexpr DWORD kTitleSettleMs = 1000;

// Controls of the command-line section, hidden for an item heading a submenu.
constexpr int kCommandLineControls[] = {
    IDC_ITEM_PATH_LABEL,   IDC_ITEM_PATH,         IDC_ITEM_BROWSE_PATH,  IDC_ITEM_WORKDIR_LABEL,
    IDC_ITEM_WORKDIR,      IDC_ITEM_BROWSE_FOLDER, IDC_ITEM_STYLE_FRAME, IDC_ITEM_STYLE0,
    IDC_ITEM_STYLE1,       IDC_ITEM_STYLE2,       IDC_ITEM_STYLE3,       IDC_ITEM_FORCE,
    IDC_ITEM_ACTIVATE,     IDC_ITEM_TITLE_LABEL,  IDC_ITEM_TITLE,        IDC_ITEM_GET_TITLE,
    IDC_ITEM_SEARCH_LABEL, IDC_ITEM_SEARCH,       IDC_ITEM_RIGHTS_FRAME, IDC_ITEM_USERTYPE0,
    IDC_ITEM_USERTYPE1,    IDC_ITEM_PRIO};
constexpr int kRightsControls[] = {IDC_ITEM_RIGHTS_FRAME, IDC_ITEM_USERTYPE0, IDC_ITEM_USERTYPE1,
                                   IDC_ITEM_PRIO};

std::optional<std::string> AskFolder(HWND owner) {
    static const auto browse =
        LateBound<decltype(&SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
    static const auto pathOf =
        LateBound<decltype(&SHGetPathFromIDListW)>(L"shell32.dll", "SHGetPathFromIDListW");
    static const auto free = LateBound<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    if (!browse || !pathOf || !free) return std::nullopt;
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE list = browse(&info);
    if (!list) return std::nullopt;
    wchar_t path[MAX_PATH] = L"";
    const bool ok = pathOf(list, path);
    free(list);
    if (!ok) return std::nullopt;
    return Narrow(path);
}

// The executable of the process that owns `window`; empty when the system
// does not tell (another user's process, or before Windows Vista).
std::string ProcessImagePath(HWND window) {
    using QueryImageFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    static const auto query =
        LateBound<QueryImageFn>(L"kernel32.dll", "QueryFullProcessImageNameW");
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    const bool ok = query && query(process, 0, path, &size);
    CloseHandle(process);
    return ok ? Narrow(std::wstring_view(path, size)) : std::string();
}

// Lets the dialog and the rest of the thread's windows go on while a wait
// of "Get Titlebar" runs.
void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    } while (GetTickCount() - start < ms);
}

class ItemDialog {
  public:
    ItemDialog(AppState& state, DialogHost& host, const ItemDialogRequest& request)
        : state_(state), host_(host), request_(request), list_(state.Lists[request.List]) {}

    bool Run(HWND owner) {
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ITEM_DIALOG), owner,
                        &ItemDialog::Proc, reinterpret_cast<LPARAM>(this));
        return changed_;
    }

  private:
    static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);

    void OnInit();
    void SetCaptions();
    void ShowForm(const ItemForm& f);
    ItemForm ReadForm() const;
    void MakeMnuRootDlg();
    void OnCommand(int id, int code);
    void OnOk();
    void OnTimer(UINT_PTR id);
    void OnDrawItem(const DRAWITEMSTRUCT& d);
    void OnMouseDown(POINT client);
    void OnMouseMove();
    void StopSearch();
    void OnScroll(int code);
    void SetTxtTitleActive();

    // The icon chooser.
    void LoadExternalIcons();
    std::int32_t VisibleIcons() const;
    void ScrollTo(std::int32_t first);
    void Select(const IconChoice& icon);
    void DrawStrip(HDC dc, const RECT& r);
    void DrawAppsIcon(HDC dc, const RECT& r);
    void RefreshAppsIcon();
    void BrowseIcon();
    void GetTitlebar();

    HWND Ctl(int id) const { return GetDlgItem(dlg_, id); }
    std::string TextOf(int id) const;
    void SetText(int id, std::string_view text) const {
        SetDlgItemTextW(dlg_, id, Widen(text).c_str());
    }
    bool Checked(int id) const { return IsDlgButtonChecked(dlg_, id) == BST_CHECKED; }
    RECT ClientRectOf(int id) const;

    AppState& state_;
    DialogHost& host_;
    ItemDialogRequest request_;
    clsItems& list_;
    ItemDialogStart start_;
    HWND dlg_ = nullptr;
    bool changed_ = false;
    clsHotkeyDlg hotkey_;
    std::int32_t shownHotkey_ = -1;

    clsBmpDC dcs_;
    HDC builtIn_ = nullptr, builtInMask_ = nullptr;  // the bar's built-in icons
    std::int32_t builtInSize_ = kIconPixels;          // ... their size in those pictures
    HDC files_ = nullptr;   // icon files: icons in the top row, masks below
    HDC app_ = nullptr;     // the program's own icon (0,0) and mask (0,size_)
    // Icons, the strip's pitch and margin for the dialog's screen.
    std::int32_t size_ = kIconPixels, pitch_ = kIconPitch, margin_ = kStripMargin;
    IconPlace AppPlace() const { return {app_, {0, 0}, {0, size_}, size_}; }
    bool hasAppIcon_ = false;
    IconStrip strip_;
    std::int32_t first_ = 0;  // first icon shown in the strip
    IconChoice choice_;

    bool searching_ = false;
    HWND lastFound_ = nullptr;
    HCURSOR oldCursor_ = nullptr;
};

INT_PTR CALLBACK ItemDialog::Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
        reinterpret_cast<ItemDialog*>(lp)->dlg_ = dlg;
    }
    auto* self = reinterpret_cast<ItemDialog*>(GetWindowLongPtrW(dlg, DWLP_USER));
    return self ? self->Handle(msg, wp, lp) : FALSE;
}

INT_PTR ItemDialog::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG:
            OnInit();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return TRUE;
        case WM_TIMER:
            OnTimer(wp);
            return TRUE;
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_LBUTTONDOWN:
            OnMouseDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return TRUE;
        case WM_MOUSEMOVE:
            if (searching_) OnMouseMove();
            return TRUE;
        case WM_LBUTTONUP:
            if (searching_) ReleaseCapture();  // WM_CAPTURECHANGED ends the search
            return TRUE;
        case WM_CAPTURECHANGED:
            StopSearch();
            return TRUE;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lp) == Ctl(IDC_ITEM_ICON_SCROLL)) OnScroll(LOWORD(wp));
            return TRUE;
        case WM_DESTROY:
            KillTimer(dlg_, kAppIconTimer);
            KillTimer(dlg_, kHotkeyTimer);
            return FALSE;
    }
    return FALSE;
}

std::string ItemDialog::TextOf(int id) const {
    return OwnWindowText(Ctl(id));
}

RECT ItemDialog::ClientRectOf(int id) const {
    RECT r{};
    GetWindowRect(Ctl(id), &r);
    MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ItemDialog::OnInit() {
    start_ = FillForm(list_, request_, EnglishTexts);
    SetCaptions();
    const Dpi dpi = WindowDpi(dlg_);
    size_ = dpi.Px(kIconPixels);
    pitch_ = dpi.Px(kIconPitch);
    margin_ = dpi.Px(kStripMargin);
    const SizedStrip pictures = LoadSizedResourceBitmap(dcs_, L"II", IconStripSizeFor(size_));
    const SizedStrip masks = LoadSizedResourceBitmap(dcs_, L"IM", pictures.Size);
    builtIn_ = pictures.Dc;
    builtInMask_ = masks.Size == pictures.Size ? masks.Dc : nullptr;
    builtInSize_ = pictures.Size;
    app_ = dcs_.Create(size_, 2 * size_);
    LoadExternalIcons();
    if (HWND placeholder = Ctl(IDC_ITEM_HOTKEY)) hotkey_.CreateHotKeyWindow(dlg_, placeholder);
    ShowForm(start_.Form);
    if (request_.IsRoot) MakeMnuRootDlg();
    SetTimer(dlg_, kHotkeyTimer, kHotkeyPollMs, nullptr);
}

// Every caption in the language of the run (MakeEng when English).
void ItemDialog::SetCaptions() {
    const bool english = EnglishTexts;
    SetWindowTextW(dlg_, Widen(start_.Caption).c_str());
    for (const ItemCaption& c : ItemDialogCaptions()) {
        SetText(c.ControlId, english ? c.English : c.German);
    }
    const RightsLayout rights = RightsFor(state_.App);
    if (rights.AdminCaption) SetText(IDC_ITEM_USERTYPE0, AdminCaption(english));
    EnableWindow(Ctl(IDC_ITEM_USERTYPE0), rights.Box0Enabled);
    if (!rights.Visible) {
        for (int id : kRightsControls) ShowWindow(Ctl(id), SW_HIDE);
    }
    HWND prio = Ctl(IDC_ITEM_PRIO);
    for (std::string_view name : PriorityNames(english)) {
        SendMessageW(prio, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
    }
}

void ItemDialog::ShowForm(const ItemForm& f) {
    SetText(IDC_ITEM_DESC, f.Desc);
    SetText(IDC_ITEM_PATH, f.Path);
    SetText(IDC_ITEM_WORKDIR, f.WorkDir);
    SetText(IDC_ITEM_TITLE, f.Title);
    CheckDlgButton(dlg_, IDC_ITEM_USERTYPE0, f.UserBox0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg_, IDC_ITEM_USERTYPE1, f.UserBox1 ? BST_CHECKED : BST_UNCHECKED);
    SendMessageW(Ctl(IDC_ITEM_PRIO), CB_SETCURSEL, static_cast<WPARAM>(f.Prio), 0);
    CheckDlgButton(dlg_, IDC_ITEM_ACTIVATE, static_cast<UINT>(f.Activate));
    CheckRadioButton(dlg_, IDC_ITEM_STYLE0, IDC_ITEM_STYLE3, IDC_ITEM_STYLE0 + f.WindowStyle);
    CheckDlgButton(dlg_, IDC_ITEM_FORCE, f.Force ? BST_CHECKED : BST_UNCHECKED);
    hotkey_.SetHotkey(f.Hotkey);
    Select(f.Icon);
    SetTxtTitleActive();
    RefreshAppsIcon();
}

ItemForm ItemDialog::ReadForm() const {
    ItemForm f;
    f.Desc = TextOf(IDC_ITEM_DESC);
    f.Path = TextOf(IDC_ITEM_PATH);
    f.WorkDir = TextOf(IDC_ITEM_WORKDIR);
    f.Title = TextOf(IDC_ITEM_TITLE);
    f.UserBox0 = Checked(IDC_ITEM_USERTYPE0);
    f.UserBox1 = Checked(IDC_ITEM_USERTYPE1);
    f.Prio = std::max<std::int32_t>(
        0, static_cast<std::int32_t>(SendMessageW(Ctl(IDC_ITEM_PRIO), CB_GETCURSEL, 0, 0)));
    f.Activate = static_cast<std::int32_t>(IsDlgButtonChecked(dlg_, IDC_ITEM_ACTIVATE));
    for (int i = 0; i <= 3; ++i) {
        if (Checked(IDC_ITEM_STYLE0 + i)) f.WindowStyle = i;
    }
    f.Force = Checked(IDC_ITEM_FORCE);
    f.Hotkey = hotkey_.GetHotkey();
    f.Icon = choice_;
    return f;
}

// An item heading a submenu starts nothing: name, icon and hotkey remain.
void ItemDialog::MakeMnuRootDlg() {
    for (int id : kCommandLineControls) ShowWindow(Ctl(id), SW_HIDE);
}

void ItemDialog::SetTxtTitleActive() {
    EnableWindow(Ctl(IDC_ITEM_TITLE), IsDlgButtonChecked(dlg_, IDC_ITEM_ACTIVATE) == BST_CHECKED);
}

void ItemDialog::OnCommand(int id, int code) {
    switch (id) {
        case IDOK:
            OnOk();
            break;
        case IDCANCEL:
            EndDialog(dlg_, IDCANCEL);
            break;
        case IDC_ITEM_PATH:
            if (code == EN_CHANGE) {
                SetTimer(dlg_, kAppIconTimer,
                         static_cast<UINT>(AppIconDelayMs(TextOf(IDC_ITEM_PATH))), nullptr);
            }
            break;
        case IDC_ITEM_USERTYPE0:
        case IDC_ITEM_USERTYPE1: {
            bool box0 = Checked(IDC_ITEM_USERTYPE0), box1 = Checked(IDC_ITEM_USERTYPE1);
            ClickRightsBox(id - IDC_ITEM_USERTYPE0, box0, box1);
            CheckDlgButton(dlg_, IDC_ITEM_USERTYPE0, box0 ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dlg_, IDC_ITEM_USERTYPE1, box1 ? BST_CHECKED : BST_UNCHECKED);
            break;
        }
        case IDC_ITEM_ACTIVATE:
            SetTxtTitleActive();
            break;
        case IDC_ITEM_BROWSE_PATH:
            if (auto file = AskOpenFile(
                    dlg_, ProgramFileFilter(EnglishTexts, !state_.App.WindowsVersion.NT),
                    TextOf(IDC_ITEM_PATH))) {
                SetText(IDC_ITEM_PATH, QuoteIfBlank(*file));
            }
            break;
        case IDC_ITEM_BROWSE_FOLDER:
            if (auto folder = AskFolder(dlg_)) SetText(IDC_ITEM_WORKDIR, *folder);
            break;
        case IDC_ITEM_BROWSE_ICON:
            BrowseIcon();
            break;
        case IDC_ITEM_GET_TITLE:
            GetTitlebar();
            break;
    }
}

void ItemDialog::OnOk() {
    ItemForm form = ReadForm();
    Win32NameOnDisk files;
    Item item = ItemFromForm(form, start_.DepthPrefix, files);
    SetText(IDC_ITEM_DESC, form.Desc);  // the trimmed texts
    SetText(IDC_ITEM_PATH, form.Path);
    SetText(IDC_ITEM_WORKDIR, form.WorkDir);
    SetText(IDC_ITEM_TITLE, form.Title);
    if (choice_.Kind == IconChoiceKind::AppIcon) {
        item.Icon = WriteIconPicture(AppPlace(), state_.App.IconFolder,
                                     item.Path);
        if (item.Icon.empty()) item.Icon = kNoIconField;
    } else if (!request_.AddMode && choice_ == IconChoiceOf(list_.GetIcon(request_.Index))) {
        item.Icon = list_.GetIcon(request_.Index);  // unchanged, kept as it was written
    } else {
        item.Icon = IconFieldOf(choice_);
    }
    WriteItem(list_, request_, item);
    changed_ = true;
    // From the list editor its own OK confirms the list (and Cancel there
    // takes this change back); from the bar nobody else will.
    if (request_.FromBar) host_.ListChanged(request_.List);
    EndDialog(dlg_, IDOK);
}

void ItemDialog::OnTimer(UINT_PTR id) {
    if (id == kAppIconTimer) {
        KillTimer(dlg_, kAppIconTimer);
        RefreshAppsIcon();
        return;
    }
    const std::int32_t value = hotkey_.GetHotkey();
    if (value == shownHotkey_) return;
    shownHotkey_ = value;
    SetText(IDC_ITEM_HOTKEY_USED,
            HotkeyOwnerText(state_, value, request_.List, start_.EditIndex));
}

void ItemDialog::LoadExternalIcons() {
    const std::string& folder = state_.App.IconFolder;
    strip_ = MakeIconStrip(IconFolderFiles(folder));
    const auto n = static_cast<std::int32_t>(strip_.Files.size());
    dcs_.Recreate(files_, size_ * std::max(n, 1), 2 * size_);
    for (std::int32_t i = 0; i < n && files_; ++i) {
        const IconPlace place{files_, {size_ * i, 0}, {size_ * i, size_}, size_};
        LoadIconFile(folder + "\\" + strip_.Files[static_cast<std::size_t>(i)], place);
    }
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    si.nMax = IconStripScrollMax(strip_.Count(), VisibleIcons());
    si.nPage = 1;
    si.nMax += static_cast<int>(si.nPage) - 1;
    SetScrollInfo(Ctl(IDC_ITEM_ICON_SCROLL), SB_CTL, &si, TRUE);
}

std::int32_t ItemDialog::VisibleIcons() const {
    RECT r{};
    GetClientRect(Ctl(IDC_ITEM_ICON_STRIP), &r);
    return std::max<std::int32_t>(1, (r.right - 2 * margin_ + pitch_ - size_) / pitch_);
}

void ItemDialog::ScrollTo(std::int32_t first) {
    first_ = std::clamp(first, 0, IconStripScrollMax(strip_.Count(), VisibleIcons()));
    SetScrollPos(Ctl(IDC_ITEM_ICON_SCROLL), SB_CTL, first_, TRUE);
    InvalidateRect(Ctl(IDC_ITEM_ICON_STRIP), nullptr, FALSE);
}

// Selects an icon and brings it into view.
void ItemDialog::Select(const IconChoice& icon) {
    choice_ = icon;
    const std::int32_t at = strip_.IndexOf(icon);
    const std::int32_t visible = VisibleIcons();
    if (at >= 0 && (at < first_ || at >= first_ + visible)) ScrollTo(at - visible / 2);
    InvalidateRect(Ctl(IDC_ITEM_ICON_STRIP), nullptr, FALSE);
    InvalidateRect(Ctl(IDC_ITEM_APPICON), nullptr, FALSE);
}

void ItemDialog::OnScroll(int code) {
    const std::int32_t page = VisibleIcons();
    SCROLLINFO si{sizeof si, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(Ctl(IDC_ITEM_ICON_SCROLL), SB_CTL, &si);
    switch (code) {
        case SB_LINELEFT: ScrollTo(first_ - 1); break;
        case SB_LINERIGHT: ScrollTo(first_ + 1); break;
        case SB_PAGELEFT: ScrollTo(first_ - page); break;
        case SB_PAGERIGHT: ScrollTo(first_ + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(si.nTrackPos); break;
        case SB_LEFT: ScrollTo(0); break;
        case SB_RIGHT: ScrollTo(strip_.Count()); break;
    }
}

void DrawFrame(HDC dc, int x, int y, int size, int gap) {
    const RECT frame{x - gap, y - gap, x + size + gap, y + size + gap};
    FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void ItemDialog::DrawStrip(HDC dc, const RECT& r) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
    const int y = r.top + (r.bottom - r.top - size_) / 2;
    const int gap = (pitch_ - size_) / 3;
    const std::int32_t selected = strip_.IndexOf(choice_);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (std::int32_t k = 0; k < VisibleIcons(); ++k) {
        const std::int32_t index = first_ + k;
        const IconChoice icon = strip_.At(index);
        const int x = r.left + margin_ + k * pitch_;
        if (icon.Kind == IconChoiceKind::BuiltIn && builtIn_ && builtInMask_) {
            const ScreenPoint at = *BuiltInIconSource(icon.BuiltIn, builtInSize_);
            // The built-in set keeps its masks in a picture of their own; a
            // screen between the strips' sizes takes the next larger one.
            const int s = builtInSize_;
            StretchBlt(dc, x, y, size_, size_, builtInMask_, at.X, at.Y, s, s, SRCAND);
            StretchBlt(dc, x, y, size_, size_, builtIn_, at.X, at.Y, s, s, SRCPAINT);
        } else if (icon.Kind == IconChoiceKind::File && files_) {
            const int fx = size_ * (index - kBuiltInIconCount);
            DrawIconWithMask(dc, x, y, {files_, {fx, 0}, {fx, size_}, size_});
        }
        if (index == selected) DrawFrame(dc, x, y, size_, gap);
    }
}

void ItemDialog::DrawAppsIcon(HDC dc, const RECT& r) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
    const int x = r.left + (r.right - r.left - size_) / 2;
    const int y = r.top + (r.bottom - r.top - size_) / 2;
    if (hasAppIcon_) DrawIconWithMask(dc, x, y, AppPlace());
    if (choice_.Kind == IconChoiceKind::AppIcon) DrawFrame(dc, x, y, size_, (pitch_ - size_) / 3);
}

// The search tool's picture: cross hairs in a ring; empty while in use.
void DrawSearchTool(HDC dc, const RECT& r, bool inUse) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
    if (inUse) return;
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, cx - 6, cy - 6, cx + 7, cy + 7);
    MoveToEx(dc, cx - 9, cy, nullptr);
    LineTo(dc, cx + 10, cy);
    MoveToEx(dc, cx, cy - 9, nullptr);
    LineTo(dc, cx, cy + 10);
}

void ItemDialog::OnDrawItem(const DRAWITEMSTRUCT& d) {
    switch (d.CtlID) {
        case IDC_ITEM_ICON_STRIP: DrawStrip(d.hDC, d.rcItem); break;
        case IDC_ITEM_APPICON: DrawAppsIcon(d.hDC, d.rcItem); break;
        case IDC_ITEM_SEARCH: DrawSearchTool(d.hDC, d.rcItem, searching_); break;
    }
}

// An icon that cannot be extracted leaves the previous picture.
void ItemDialog::RefreshAppsIcon() {
    const std::string path = TextOf(IDC_ITEM_PATH);
    if (!app_ || path.empty()) return;
    if (LoadProgramIcon(path, AppPlace())) hasAppIcon_ = true;
    InvalidateRect(Ctl(IDC_ITEM_APPICON), nullptr, FALSE);
}

void ItemDialog::OnMouseDown(POINT p) {
    const auto inside = [&](int id) {
        const RECT r = ClientRectOf(id);
        return IsWindowVisible(Ctl(id)) && PtInRect(&r, p);
    };
    if (inside(IDC_ITEM_ICON_STRIP)) {
        const RECT r = ClientRectOf(IDC_ITEM_ICON_STRIP);
        const std::int32_t k = (p.x - r.left - margin_ + (pitch_ - size_) / 2) / pitch_;
        const IconChoice icon = strip_.At(first_ + std::min(k, VisibleIcons() - 1));
        if (icon.Kind != IconChoiceKind::None) Select(icon);
    } else if (inside(IDC_ITEM_APPICON)) {
        if (hasAppIcon_) Select({IconChoiceKind::AppIcon, 0, {}});
    } else if (inside(IDC_ITEM_SEARCH)) {
        searching_ = true;
        lastFound_ = nullptr;
        SetCapture(dlg_);
        oldCursor_ = SetCursor(LoadCursorW(nullptr, IDC_CROSS));
        InvalidateRect(Ctl(IDC_ITEM_SEARCH), nullptr, TRUE);
    }
}

// The window search tool: the top-level window under the pointer names the
// program and the title.
void ItemDialog::OnMouseMove() {
    POINT p{};
    GetCursorPos(&p);
    HWND under = WindowFromPoint(p);
    HWND top = under ? GetAncestor(under, GA_ROOT) : nullptr;
    if (!top || top == lastFound_) return;
    lastFound_ = top;
    const std::string path = ProcessImagePath(top);
    SetText(IDC_ITEM_PATH, path);
    SetText(IDC_ITEM_TITLE, path.empty() ? std::string() : WindowTextTimeout(top));
    RefreshAppsIcon();
}

void ItemDialog::StopSearch() {
    if (!searching_) return;
    searching_ = false;
    SetCursor(oldCursor_ ? oldCursor_ : LoadCursorW(nullptr, IDC_ARROW));
    InvalidateRect(Ctl(IDC_ITEM_SEARCH), nullptr, TRUE);
}

// The chosen file's icon goes into the icon folder at once, so the strip
// can show and select it like any other icon file.
void ItemDialog::BrowseIcon() {
    const auto file = AskOpenFile(dlg_, IconFileFilter(EnglishTexts), {});
    if (!file) return;
    HDC picked = dcs_.Create(size_, 2 * size_);
    const IconPlace place{picked, {0, 0}, {0, size_}, size_};
    std::string name;
    if (picked && LoadProgramIcon(*file, place)) {
        name = WriteIconPicture(place, state_.App.IconFolder, *file);
    }
    dcs_.Delete(picked);
    if (name.empty()) {
        Log(2, "BrowseIcon: no icon from %s", *file);
        return;
    }
    LoadExternalIcons();  // ExtIconAdd: the strip and its pictures anew
    Select({IconChoiceKind::File, 0, name});
}

// Starts the command line and takes the title of the window it brings up.
// The wait is bounded: a program that shows no window (or one that is not
// allowed to the front) must not hold the dialog.
void ItemDialog::GetTitlebar() {
    const HWND before = GetForegroundWindow();
    const std::int32_t userType =
        Checked(IDC_ITEM_USERTYPE0) ? 1 : Checked(IDC_ITEM_USERTYPE1) ? 2 : 0;
    if (!host_.StartCommand(TextOf(IDC_ITEM_PATH), TextOf(IDC_ITEM_WORKDIR), userType)) return;
    EnableWindow(dlg_, FALSE);
    const DWORD start = GetTickCount();
    HWND now = nullptr;
    while (GetTickCount() - start < kNewWindowWaitMs) {
        PumpFor(100);
        now = GetForegroundWindow();
        if (now && now != before && now != dlg_) break;
    }
    PumpFor(kTitleSettleMs);
    now = GetForegroundWindow();
    if (now && now != dlg_) SetText(IDC_ITEM_TITLE, WindowTextTimeout(now));
    EnableWindow(dlg_, TRUE);
    host_.BringToFront(ToWindowId(dlg_));
    MessageBeep(MB_OK);
    Sleep(200);
    MessageBeep(MB_OK);
}

}  // namespace

// The list editor keeps its own DialogShowing around all its dialogs, so
// only a call from the bar sets it here.
bool ShowItemDialog(HWND owner, AppState& state, DialogHost& host,
                    const ItemDialogRequest& request) {
    if (request.List < 0 || request.List >= kListCount) return false;
    Log(3, "ShowItemDialog: list %i, index %i, %s%s", request.List, request.Index,
        request.AddMode ? "add" : "edit", request.FromBar ? ", from the bar" : "");
    ItemDialog dialog(state, host, request);
    if (request.FromBar) host.DialogShowing(true);
    const bool changed = dialog.Run(owner);
    if (request.FromBar) host.DialogShowing(false);
    return changed;
}

}  // namespace zorv
