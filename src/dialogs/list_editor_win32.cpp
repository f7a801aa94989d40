#include "dialogs/list_editor_win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include "dialogs/clip_dialog_win32.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/item_dialog_win32.h"
#include "dialogs/list_editor_ids.h"
#include "items/config_file.h"
#include "support/dpi_win32.h"
#include "support/clipboard_win32.h"
#include "support/common_controls_win32.h"
#include "support/file_win32.h"
#include "support/late_bound_win32.h"
#include "support/log.h"
#include "support/text_win32.h"
#include "support/texts.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

constexpr int kMargin = 10;
constexpr int kGap = 6;
constexpr int kArrow = 24;

void SetText(HWND dlg, int id, const char* text) {
    SetDlgItemTextW(dlg, id, Widen(text).c_str());
}

const char* TrimmedTip(const char* text, std::string& keep) {
    keep = text;
    while (!keep.empty() && keep.front() == ' ') keep.erase(keep.begin());
    while (!keep.empty() && keep.back() == ' ') keep.pop_back();
    return keep.c_str();
}

RECT ChildRect(HWND dlg, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dlg, id), &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Place(HWND dlg, int id, int x, int y, int w, int h) {
    SetWindowPos(GetDlgItem(dlg, id), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

frmList::frmList(AppState& state, DialogHost& host, std::int32_t list, std::string& lastFolder)
    : s_(state), host_(host), listIndex_(list), list_(state.Lists[list]), model_(list_, list),
      lastFolder_(lastFolder) {}

bool ShowListEditor(HWND owner, AppState& state, DialogHost& host, std::int32_t list,
                    std::string& lastFolder) {
    frmList editor(state, host, list, lastFolder);
    return editor.Show(owner);
}

bool frmList::Show(HWND owner) {
    Log(1, "frmList: list %i", listIndex_);
    host_.DialogShowing(true);
    list_.UpdateBegin();
    buttonsAtOpen_ = s_.Lists[kListButtons].Count();
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_LIST_EDITOR), owner,
                        DialogProc, reinterpret_cast<LPARAM>(this));
    host_.DialogShowing(false);
    Log(1, "frmList: closed with %i", static_cast<int>(result));
    return result == IDOK;
}

INT_PTR CALLBACK frmList::DialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(dlg, DWLP_USER, lParam);
        reinterpret_cast<frmList*>(lParam)->Init(dlg);
        return FALSE;  // the focus is set on the list
    }
    auto* self = reinterpret_cast<frmList*>(GetWindowLongPtrW(dlg, DWLP_USER));
    if (!self) return FALSE;
    switch (msg) {
        case WM_COMMAND:
            return self->OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_SIZE:
            self->Layout();
            return TRUE;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {self->designSize_.cx * 3 / 4, self->designSize_.cy * 3 / 4};
            return TRUE;
        }
        case WM_DRAWITEM:
            self->DrawArrow(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == self->listBox_) {
                self->ShowContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
                return TRUE;
            }
            return FALSE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) self->host_.BringToFront(ToWindowId(dlg));
            return FALSE;
        case WM_CLOSE:
            self->Close(false);
            return TRUE;
        default:
            return FALSE;
    }
}

void frmList::Init(HWND dlg) {
    dlg_ = dlg;
    listBox_ = GetDlgItem(dlg, IDC_LE_LIST);
    const ListEditorTexts& t = ListEditorCaptions(EnglishTexts);
    SetWindowTextW(dlg, Widen(list_.ListName).c_str());
    SetText(dlg, IDC_LE_ARRANGE, t.Arrange);
    SetText(dlg, IDOK, t.Ok);
    SetText(dlg, IDCANCEL, t.Cancel);
    SetText(dlg, IDC_LE_ADD, t.Add);
    SetText(dlg, IDC_LE_EDIT, t.Edit);
    SetText(dlg, IDC_LE_REMOVE, t.Remove);
    SetText(dlg, IDC_LE_SEPARATOR, t.Separator);
    std::string keep;
    const std::pair<int, const char*> small[] = {{IDC_LE_CUT, t.Cut},       {IDC_LE_COPY, t.Copy},
                                                 {IDC_LE_PASTE, t.Paste},   {IDC_LE_READ, t.ReadFile},
                                                 {IDC_LE_SAVE, t.SaveFile}};
    for (const auto& [id, text] : small) SetText(dlg, id, TrimmedTip(text, keep));
    // Tooltips on the toolbar buttons, as their pictures' words.
    const bool version6 = InitCommonControls6OrLater();
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dlg,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const auto& [id, text] : small) {
        std::wstring tip = Widen(text);
        TTTOOLINFOW tool{};
        tool.cbSize = version6 ? sizeof tool : TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dlg;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dlg, id));
        tool.lpszText = tip.data();
        if (tooltip_) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    // The list sees Enter, Space and the editor's keys before the dialog does.
    SetWindowLongPtrW(listBox_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    listProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(listBox_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));

    RECT design{};
    GetWindowRect(dlg, &design);
    designSize_ = {design.right - design.left, design.bottom - design.top};
    if (const ListWinSize* kept = KeptSize(); kept && kept->Width > 0 && kept->Height > 0) {
        const int w = kept->Width / std::max(1, s_.App.TwipsPerPixelX);
        const int h = kept->Height / std::max(1, s_.App.TwipsPerPixelY);
        SetWindowPos(dlg, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
    }
    openedSize_ = CurrentSize();
    model_.SelectOnly(0);
    Refill();
    Layout();
    SetFocus(listBox_);
}

ListWinSize frmList::CurrentSize() const {
    RECT r{};
    GetWindowRect(dlg_, &r);
    return {(r.right - r.left) * s_.App.TwipsPerPixelX, (r.bottom - r.top) * s_.App.TwipsPerPixelY};
}

ListWinSize* frmList::KeptSize() {
    switch (listIndex_) {
        case kListButtons: return &s_.Options.ListWinSizeButtons;
        case kListMenu: return &s_.Options.ListWinSizeMenu;
        case kListClipboard:
        case kListClipboard2: return &s_.Options.ListWinSizeClip;
        default: return nullptr;
    }
}

// The list fills the window; the command column stays at the right, the
// up and down arrows beside the list, the rest below it.
void frmList::Layout() {
    if (!dlg_) return;
    RECT client{};
    GetClientRect(dlg_, &client);
    const RECT button = ChildRect(dlg_, IDOK);
    const int bw = button.right - button.left, bh = button.bottom - button.top;
    // The buttons come from the template and so grow with the dialog's font;
    // the margins and the arrows grow with the screen's resolution.
    const Dpi dpi = WindowDpi(dlg_);
    const int kMargin = dpi.Px(zorv::kMargin), kGap = dpi.Px(zorv::kGap),
              kArrow = dpi.Px(zorv::kArrow), two = dpi.Px(2);
    const int columnX = client.right - kMargin - bw;
    const int listRight = columnX - kGap - kArrow - kGap;
    const int bottomRow = client.bottom - kMargin - bh;
    const int listBottom = bottomRow - kGap - kArrow - kGap;
    Place(dlg_, IDC_LE_LIST, kMargin, kMargin, std::max(dpi.Px(40), listRight - kMargin),
          std::max(dpi.Px(40), listBottom - kMargin));
    int y = kMargin;
    for (int id : {IDOK, IDCANCEL}) Place(dlg_, id, columnX, y, bw, bh), y += bh + kGap;
    y += bh;
    for (int id : {IDC_LE_ADD, IDC_LE_EDIT, IDC_LE_REMOVE, IDC_LE_SEPARATOR})
        Place(dlg_, id, columnX, y, bw, bh), y += bh + kGap;
    const int arrowX = listRight + kGap;
    const int middle = kMargin + (listBottom - kMargin) / 2;
    Place(dlg_, IDC_LE_ARRANGE, arrowX - two, middle - kArrow - bh, kArrow + bw, bh);
    Place(dlg_, IDC_LE_UP, arrowX, middle - kArrow, kArrow, kArrow);
    Place(dlg_, IDC_LE_DOWN, arrowX, middle + two, kArrow, kArrow);
    Place(dlg_, IDC_LE_LEFT, kMargin, listBottom + kGap, kArrow, kArrow);
    Place(dlg_, IDC_LE_RIGHT, kMargin + kArrow + two, listBottom + kGap, kArrow, kArrow);
    const RECT small = ChildRect(dlg_, IDC_LE_CUT);
    const int sw = small.right - small.left;
    int x = kMargin;
    for (int id : {IDC_LE_CUT, IDC_LE_COPY, IDC_LE_PASTE}) Place(dlg_, id, x, bottomRow, sw, bh), x += sw + two;
    x += kGap;
    for (int id : {IDC_LE_READ, IDC_LE_SAVE}) Place(dlg_, id, x, bottomRow, sw, bh), x += sw + two;
    InvalidateRect(dlg_, nullptr, TRUE);
}

void frmList::Refill() {
    const LRESULT top = SendMessageW(listBox_, LB_GETTOPINDEX, 0, 0);
    SendMessageW(listBox_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
    const std::int32_t lines = model_.LineCount();
    SendMessageW(listBox_, LB_INITSTORAGE, lines, static_cast<LPARAM>(lines) * 32);
    for (std::int32_t i = 0; i < lines; ++i) {
        const std::wstring text = Widen(model_.LineText(i));
        SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    const std::vector<bool>& selected = model_.Selection();
    for (std::int32_t i = 0; i < lines; ++i)
        if (selected[i]) SendMessageW(listBox_, LB_SETSEL, TRUE, i);
    const std::int32_t caret = model_.SingleSelected();
    if (caret >= 0) SendMessageW(listBox_, LB_SETCARETINDEX, caret, FALSE);
    SendMessageW(listBox_, LB_SETTOPINDEX, top, 0);
    SendMessageW(listBox_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox_, nullptr, TRUE);
    if (caret >= 0) SendMessageW(listBox_, LB_SETCARETINDEX, caret, FALSE);
    UpdateEnabling();
}

void frmList::ReadSelection() {
    std::vector<bool> selected(static_cast<std::size_t>(model_.LineCount()));
    const LRESULT n = SendMessageW(listBox_, LB_GETSELCOUNT, 0, 0);
    if (n > 0) {
        std::vector<int> lines(static_cast<std::size_t>(n));
        SendMessageW(listBox_, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(lines.data()));
        for (int line : lines)
            if (line >= 0 && line < model_.LineCount()) selected[line] = true;
    }
    model_.SetSelection(std::move(selected));
    UpdateEnabling();
}

void frmList::UpdateEnabling() {
    const ListEnabling e = model_.Enabled();
    for (int id : {IDC_LE_EDIT}) EnableWindow(GetDlgItem(dlg_, id), e.Edit);
    for (int id : {IDC_LE_REMOVE, IDC_LE_CUT, IDC_LE_COPY})
        EnableWindow(GetDlgItem(dlg_, id), e.Remove);
    for (int id : {IDC_LE_ADD, IDC_LE_SEPARATOR, IDC_LE_PASTE, IDC_LE_READ})
        EnableWindow(GetDlgItem(dlg_, id), e.Insert);
    EnableWindow(GetDlgItem(dlg_, IDC_LE_SAVE), e.Remove);
}

void frmList::DrawArrow(const DRAWITEMSTRUCT& item) {
    UINT kind = DFCS_SCROLLUP;
    switch (item.CtlID) {
        case IDC_LE_DOWN: kind = DFCS_SCROLLDOWN; break;
        case IDC_LE_LEFT: kind = DFCS_SCROLLLEFT; break;
        case IDC_LE_RIGHT: kind = DFCS_SCROLLRIGHT; break;
        default: break;
    }
    RECT r = item.rcItem;
    if (item.itemState & ODS_SELECTED) kind |= DFCS_PUSHED;
    DrawFrameControl(item.hDC, &r, DFC_SCROLL, kind);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&r, -3, -3);
        DrawFocusRect(item.hDC, &r);
    }
}

LRESULT CALLBACK frmList::ListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<frmList*>(GetWindowLongPtrW(list, GWLP_USERDATA));
    switch (msg) {
        case WM_GETDLGCODE:
            if (lParam && (reinterpret_cast<MSG*>(lParam)->wParam == VK_RETURN))
                return DLGC_WANTMESSAGE;
            break;
        case WM_KEYDOWN:
            if (self->OnListKey(wParam)) return 0;
            break;
        case WM_CHAR:
            // Enter, Space and Ctrl+letters are the editor's, not the list's search.
            if (wParam == VK_RETURN || wParam == ' ' || GetKeyState(VK_CONTROL) < 0) return 0;
            break;
        case WM_LBUTTONDBLCLK:
            CallWindowProcW(self->listProc_, list, msg, wParam, lParam);
            self->ReadSelection();
            if (self->model_.Enabled().Edit) self->EditItem();
            return 0;
        default:
            break;
    }
    return CallWindowProcW(self->listProc_, list, msg, wParam, lParam);
}

bool frmList::OnListKey(WPARAM key) {
    ReadSelection();
    const ListEnabling e = model_.Enabled();
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    int command = 0;
    if (key == VK_RETURN || key == VK_SPACE) {
        if (ctrl) return true;
        command = e.Edit ? IDC_LE_EDIT : (e.Insert ? IDC_LE_ADD : 0);
        if (!command) return true;
    } else if (key == VK_DELETE || key == VK_SUBTRACT) {
        command = IDC_LE_REMOVE;
    } else if (key == VK_ADD) {
        command = IDC_LE_ADD;
    } else if (ctrl) {
        switch (key) {
            case 'X': command = IDC_LE_CUT; break;
            case 'C': command = IDC_LE_COPY; break;
            case 'V': command = IDC_LE_PASTE; break;
            case 'O': command = IDC_LE_READ; break;
            case 'S': command = IDC_LE_SAVE; break;
            default: return false;
        }
    } else {
        return false;
    }
    if (IsWindowEnabled(GetDlgItem(dlg_, command))) OnCommand(command, BN_CLICKED);
    return true;
}

void frmList::ShowContextMenu(POINT at) {
    // The line under the pointer joins or becomes the selection first.
    if (at.x != -1 || at.y != -1) {
        POINT client = at;
        ScreenToClient(listBox_, &client);
        const LRESULT hit = SendMessageW(listBox_, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
        const int line = LOWORD(hit);
        if (!HIWORD(hit) && line < model_.LineCount()) {
            if (GetKeyState(VK_CONTROL) < 0) {
                const bool on = SendMessageW(listBox_, LB_GETSEL, line, 0) > 0;
                SendMessageW(listBox_, LB_SETSEL, !on, line);
            } else if (GetKeyState(VK_SHIFT) < 0) {
                const LRESULT anchor = SendMessageW(listBox_, LB_GETCARETINDEX, 0, 0);
                SendMessageW(listBox_, LB_SELITEMRANGE, TRUE,
                             MAKELPARAM(std::min<int>(anchor, line), std::max<int>(anchor, line)));
            } else if (SendMessageW(listBox_, LB_GETSEL, line, 0) <= 0) {
                SendMessageW(listBox_, LB_SETSEL, FALSE, -1);
                SendMessageW(listBox_, LB_SETSEL, TRUE, line);
            }
            SendMessageW(listBox_, LB_SETCARETINDEX, line, FALSE);
        }
    } else {
        GetCursorPos(&at);
    }
    ReadSelection();
    const ListEnabling e = model_.Enabled();
    const int ids[] = {IDC_LE_SEPARATOR, IDC_LE_ADD, IDC_LE_EDIT, IDC_LE_REMOVE, 0,
                       IDC_LE_CUT,       IDC_LE_COPY, IDC_LE_PASTE};
    const bool enabled[] = {e.Insert, e.Insert, e.Edit, e.Remove, true, e.Remove, e.Remove, e.Insert};
    HMENU menu = CreatePopupMenu();
    for (std::size_t i = 0; i < std::size(ids); ++i) {
        if (!ids[i]) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(menu, MF_STRING | (enabled[i] ? 0 : MF_GRAYED), ids[i],
                    Widen(kListContextMenu[i]).c_str());
    }
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, dlg_, nullptr);
    DestroyMenu(menu);
    if (chosen) OnCommand(chosen, BN_CLICKED);
}

bool frmList::OnCommand(int id, int code) {
    if (id == IDC_LE_LIST) {
        if (code == LBN_SELCHANGE) ReadSelection();
        return true;
    }
    if (code != BN_CLICKED) return false;
    ReadSelection();
    bool changed = false;
    switch (id) {
        case IDOK:
            if (Confirm()) Close(true);
            return true;
        case IDCANCEL:
            Close(false);
            return true;
        case IDC_LE_ADD:
            if (model_.Enabled().Insert) AddItem();
            return true;
        case IDC_LE_EDIT:
            if (model_.Enabled().Edit) EditItem();
            return true;
        case IDC_LE_REMOVE: changed = model_.RemoveSelected(); break;
        case IDC_LE_SEPARATOR: changed = model_.AddSeparator(); break;
        case IDC_LE_UP: changed = model_.MoveUp(); break;
        case IDC_LE_DOWN: changed = model_.MoveDown(); break;
        case IDC_LE_RIGHT: changed = model_.Indent(); break;
        case IDC_LE_LEFT: changed = model_.Outdent(); break;
        case IDC_LE_CUT:
        case IDC_LE_COPY:
            if (!model_.Enabled().Remove) return true;
            PutTextOnClipboard(dlg_, model_.SelectionText());
            if (id == IDC_LE_CUT) changed = model_.RemoveSelected();
            break;
        case IDC_LE_PASTE:
            if (model_.Enabled().Insert) Paste(GetClipboardText(dlg_).value_or(""));
            return true;
        case IDC_LE_READ:
            if (model_.Enabled().Insert) ReadFromFile();
            return true;
        case IDC_LE_SAVE:
            SaveToFile();
            return true;
        default:
            return false;
    }
    if (changed) Refill();
    if (id != IDC_LE_UP && id != IDC_LE_DOWN && id != IDC_LE_LEFT && id != IDC_LE_RIGHT)
        SetFocus(listBox_);
    return true;
}

void frmList::AddItem() {
    const std::int32_t line = model_.SingleSelected();
    const std::int32_t before = list_.Count();
    if (model_.IsClipboardList()) {
        ShowClipDialog(dlg_, s_, host_, {listIndex_, true, line, false});
    } else {
        ShowItemDialog(dlg_, s_, host_, {listIndex_, true, line, false, false});
    }
    // The new item is selected; the insertion point moved below it.
    if (list_.Count() > before) model_.SelectOnly(line);
    Refill();
    SetFocus(listBox_);
}

void frmList::EditItem() {
    const std::int32_t line = model_.SingleSelected();
    const bool root = model_.IsRoot(line);
    if (model_.IsClipboardList()) {
        ShowClipDialog(dlg_, s_, host_, {listIndex_, false, line, root});
    } else {
        ShowItemDialog(dlg_, s_, host_, {listIndex_, false, line, false, root});
    }
    Refill();
    SetFocus(listBox_);
}

void frmList::Paste(const std::string& text) {
    const ListEditorTexts& t = ListEditorCaptions(EnglishTexts);
    switch (model_.InsertText(text)) {
        case PasteResult::InvalidData:
            MsgBox(t.InvalidData, MB_OK | MB_ICONEXCLAMATION, dlg_);
            break;
        case PasteResult::NoValidData:
            MsgBox(t.NoValidData, MB_OK | MB_ICONEXCLAMATION, dlg_);
            break;
        case PasteResult::Inserted:
            Refill();
            break;
    }
    SetFocus(listBox_);
}

std::optional<std::string> frmList::AskFile(bool save) {
    using Ask = BOOL(WINAPI*)(LPOPENFILENAMEW);
    const Ask ask = save ? LateBound<Ask>(L"comdlg32.dll", "GetSaveFileNameW")
                         : LateBound<Ask>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!ask) return std::nullopt;
    const std::wstring filter = Widen(Text(Txt::IniFiles)) + L" (*.ini)" + L'\0' + L"*.ini" + L'\0' +
                                L"*.*" + L'\0' + L"*.*" + L'\0';
    const std::wstring folder = Widen(lastFolder_);
    wchar_t file[MAX_PATH * 4] = L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dlg_;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = L"ini";
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    if (!ask(&ofn)) return std::nullopt;
    std::string chosen = Narrow(file);
    if (const std::size_t slash = chosen.rfind('\\'); slash != std::string::npos)
        lastFolder_ = chosen.substr(0, slash);
    return chosen;
}

void frmList::ReadFromFile() {
    const std::optional<std::string> file = AskFile(false);
    if (!file) return;
    const std::optional<std::string> bytes = ReadFileBytes(*file);
    if (!bytes) return;
    Paste(HasUtf8Bom(*bytes) ? bytes->substr(kUtf8Bom.size()) : CodePageToUtf8(*bytes));
}

void frmList::SaveToFile() {
    const std::string text = model_.SelectionText();
    if (text.empty()) {
        MsgBox(ListEditorCaptions(EnglishTexts).NothingToSave, MB_OK | MB_ICONEXCLAMATION, dlg_);
        return;
    }
    const std::optional<std::string> file = AskFile(true);
    if (!file) return;
    // In the code page where it fits, as the configuration file is written.
    const std::optional<std::string> bytes = Utf8ToCodePage(text);
    WriteFileBytes(*file, bytes ? *bytes : std::string(kUtf8Bom) + text);
}

bool frmList::Confirm() {
    if (!model_.NeedsDepthCheck()) return true;
    const DepthCheck check = model_.CheckDepths();
    if (check.Result == DepthCheck::Ok) return true;
    const ListEditorTexts& t = ListEditorCaptions(EnglishTexts);
    if (check.Result == DepthCheck::SkippedLevel) {
        model_.SelectOnly(check.Line);
        Refill();
    }
    MsgBox(check.Result == DepthCheck::FirstNotTop ? t.FirstNotTop : t.SkippedLevel,
           MB_OK | MB_ICONEXCLAMATION, dlg_);
    return false;
}

void frmList::Close(bool ok) {
    HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (ok) {
        list_.UpdateConfirm();
    } else {
        list_.UpdateCancel();
    }
    // A size the user gave the window is kept for the next time.
    if (ListWinSize* kept = KeptSize(); kept && !(CurrentSize() == openedSize_)) {
        *kept = CurrentSize();
        host_.SettingsChanged();
    }
    if (ok) host_.ListChanged(listIndex_);
    SetCursor(old);
    EndDialog(dlg_, ok ? IDOK : IDCANCEL);
}

}  // namespace zorv
