// frmAddClp's window: the .rc template filled from and read into a ClipForm;
// the rules themselves live in clip_dialog.cpp.
#include "dialogs/clip_dialog_win32.h"

#include <string>

#include "dialogs/clip_dialog.h"
#include "dialogs/clip_dialog_ids.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/hotkey_owner.h"
#include "dialogs/hotkey_dlg_win32.h"
#include "support/help_page_win32.h"
#include "support/log.h"
#include "support/text_win32.h"
#include "support/texts.h"
#include "support/window_win32.h"

namespace zorv {

static_assert(kDialogIdOk == IDOK && kDialogIdCancel == IDCANCEL);

namespace {

constexpr UINT_PTR kHotkeyTestTimer = 1;
constexpr UINT kHotkeyTestMs = 250;

bool CtrlDown() {
    return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
}

// The text field is subclassed for two keys the multi-line edit control does
// not give: Ctrl+A selects the whole text, and Ctrl+Enter confirms the dialog.
// Enter alone makes a new line (ES_WANTRETURN), so a text with several lines
// can be typed; the OK button and Ctrl+Enter close the dialog from there.
LRESULT CALLBACK TextFieldProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    switch (msg) {
        case WM_KEYDOWN:
            if (wParam == 'A' && CtrlDown()) {
                SendMessageW(edit, EM_SETSEL, 0, -1);
                return 0;
            }
            if (wParam == VK_RETURN && CtrlDown()) {
                HWND dialog = GetParent(edit);
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
                return 0;
            }
            break;
        case WM_CHAR:
            // The characters those two keys would type (Ctrl+A is 1, Ctrl+Enter a line feed).
            if ((wParam == 1 || wParam == '\n') && CtrlDown()) return 0;
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            break;
    }
    return CallWindowProcW(original, edit, msg, wParam, lParam);
}

class ClipDialog {
  public:
    ClipDialog(AppState& state, DialogHost& host, const ClipDialogRequest& request)
        : s_(state), host_(host), request_(request) {}

    static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<ClipDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        return self ? self->Handle(dialog, msg, wParam, lParam) : FALSE;
    }

  private:
    INT_PTR Handle(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnInit();
    void OnCommand(int id, int code);
    void OnHotkeyTest();
    void OnOk();
    void SetTexts();
    void ShowForm(const ClipForm& form);
    ClipForm ReadForm() const;
    void UpdateEnabling();
    void FillSpecialKeys();
    void InsertSelectedKey();
    void MakeRootItemDlg();
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    ClipTarget Target() const { return {request_.AddMode, request_.Index, request_.IsRoot}; }

    AppState& s_;
    DialogHost& host_;
    const ClipDialogRequest request_;
    HWND dialog_ = nullptr;
    clsHotkeyDlg hotkey_;
    std::int32_t testedHotkey_ = -1;
};

INT_PTR ClipDialog::Handle(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG:
            dialog_ = dialog;
            OnInit();
            return FALSE;  // the focus was set
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_TIMER:
            if (wParam == kHotkeyTestTimer) OnHotkeyTest();
            return TRUE;
        case WM_DESTROY:
            KillTimer(dialog, kHotkeyTestTimer);
            return FALSE;
    }
    return FALSE;
}

void ClipDialog::OnInit() {
    SetTexts();
    hotkey_.CreateHotKeyWindow(dialog_, Control(IDC_CLIP_HOTKEY));
    HWND text = Control(IDC_CLIP_TEXT);
    SendMessageW(text, EM_LIMITTEXT, 0, 0);  // no limit but the system's
    SetWindowLongPtrW(text, GWLP_USERDATA, GetWindowLongPtrW(text, GWLP_WNDPROC));
    SetWindowLongPtrW(text, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextFieldProc));
    FillSpecialKeys();
    ShowForm(FillForm(s_.Lists[request_.List], Target()));
    if (request_.IsRoot) MakeRootItemDlg();
    OnHotkeyTest();
    SetTimer(dialog_, kHotkeyTestTimer, kHotkeyTestMs, nullptr);
    SetFocus(Control(IDC_CLIP_DESC));
}

void ClipDialog::SetTexts() {
    SetWindowTextW(dialog_, Widen(ClipDialogCaption(request_.AddMode, EnglishTexts)).c_str());
    for (const ControlCaption& c : ClipControlCaptions(EnglishTexts)) {
        SetDlgItemTextW(dialog_, c.Id, Widen(c.Text).c_str());
    }
}

void ClipDialog::ShowForm(const ClipForm& form) {
    SetDlgItemTextW(dialog_, IDC_CLIP_DESC, Widen(form.Name).c_str());
    SetDlgItemTextW(dialog_, IDC_CLIP_TEXT, Widen(form.Text).c_str());
    hotkey_.SetHotkey(form.Hotkey);
    CheckDlgButton(dialog_, IDC_CLIP_AUTOPASTE, form.AutoPaste ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(dialog_, IDC_CLIP_PASTE_CTRLV, IDC_CLIP_PASTE_KEYS,
                     form.PasteOption == 1 ? IDC_CLIP_PASTE_KEYS : IDC_CLIP_PASTE_CTRLV);
    UpdateEnabling();
}

ClipForm ClipDialog::ReadForm() const {
    ClipForm form;
    form.Name = OwnWindowText(Control(IDC_CLIP_DESC));
    form.Text = OwnWindowText(Control(IDC_CLIP_TEXT));
    form.Hotkey = hotkey_.GetHotkey();
    form.AutoPaste = IsDlgButtonChecked(dialog_, IDC_CLIP_AUTOPASTE) == BST_CHECKED;
    form.PasteOption = IsDlgButtonChecked(dialog_, IDC_CLIP_PASTE_KEYS) == BST_CHECKED ? 1 : 0;
    return form;
}

void ClipDialog::UpdateEnabling() {
    const ClipForm form = ReadForm();
    const ClipEnabling on = ClipEnablingOf(form.AutoPaste, form.PasteOption);
    EnableWindow(Control(IDC_CLIP_PASTE_CTRLV), on.PasteOptions);
    EnableWindow(Control(IDC_CLIP_PASTE_KEYS), on.PasteOptions);
    EnableWindow(Control(IDC_CLIP_KEYS), on.SpecialKeys);
    EnableWindow(Control(IDC_CLIP_KEY_INSERT), on.SpecialKeys);
}

void ClipDialog::FillSpecialKeys() {
    HWND keys = Control(IDC_CLIP_KEYS);
    for (const std::string& token : SpecialKeyTokens(host_.SpecialKeyNames())) {
        SendMessageW(keys, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(token).c_str()));
    }
    SendMessageW(keys, LB_SETCURSEL, 0, 0);
}

void ClipDialog::OnCommand(int id, int code) {
    switch (id) {
        case IDC_CLIP_AUTOPASTE:
        case IDC_CLIP_PASTE_CTRLV:
        case IDC_CLIP_PASTE_KEYS:
            if (code == BN_CLICKED) UpdateEnabling();
            break;
        case IDC_CLIP_KEYS:
            if (code == LBN_DBLCLK) InsertSelectedKey();
            break;
        case IDC_CLIP_KEY_INSERT:
            InsertSelectedKey();
            break;
        case IDC_CLIP_HELP:
            OpenHelpPage(dialog_, s_.HelpFile);
            break;
        case IDOK:
            OnOk();
            break;
        case IDCANCEL:
            EndDialog(dialog_, FALSE);
            break;
    }
}

// The selected token in place of the text's selection; the focus goes back to
// the text with the caret after the token.
void ClipDialog::InsertSelectedKey() {
    HWND keys = Control(IDC_CLIP_KEYS);
    const auto line = SendMessageW(keys, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR) return;
    std::wstring token(static_cast<std::size_t>(SendMessageW(keys, LB_GETTEXTLEN, line, 0)) + 1,
                       L'\0');
    token.resize(static_cast<std::size_t>(
        SendMessageW(keys, LB_GETTEXT, line, reinterpret_cast<LPARAM>(token.data()))));
    HWND text = Control(IDC_CLIP_TEXT);
    DWORD start = 0, end = 0;
    SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const TextEdit edit = ReplaceSelection(
        OwnWindowText(text), {static_cast<std::int32_t>(start), static_cast<std::int32_t>(end)},
        Narrow(token));
    SetWindowTextW(text, Widen(edit.Text).c_str());
    // Focus first: the dialog manager selects the whole text of an edit
    // control it gives the focus to.
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(text), TRUE);
    SendMessageW(text, EM_SETSEL, edit.Caret.Start, edit.Caret.End);
    SendMessageW(text, EM_SCROLLCARET, 0, 0);
}

// The hotkey test: which other item or the main menu already has the
// field's hotkey, looked at again whenever the field changes.
void ClipDialog::OnHotkeyTest() {
    const std::int32_t value = hotkey_.GetHotkey();
    if (value == testedHotkey_) return;
    testedHotkey_ = value;
    const std::int32_t self = request_.AddMode ? -1 : request_.Index;
    SetDlgItemTextW(dialog_, IDC_CLIP_HOTKEY_USED,
                    Widen(HotkeyOwnerText(s_, value, request_.List, self)).c_str());
}

void ClipDialog::OnOk() {
    const std::int32_t index = ApplyClipForm(s_.Lists[request_.List], Target(), ReadForm());
    Log(2, "frmAddClp: list %i item %i %s", request_.List, index,
        request_.AddMode ? "added" : "changed");
    EndDialog(dialog_, TRUE);
}

// `MakeRootItemDlg`: an item that heads a submenu has no text of its own, so
// the text field and its label go and everything below moves up into their
// place.
void ClipDialog::MakeRootItemDlg() {
    auto clientRect = [this](HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    HWND text = Control(IDC_CLIP_TEXT);
    const RECT textRect = clientRect(text);
    const int shift = clientRect(Control(IDC_CLIP_HOTKEY)).top - textRect.top;
    ShowWindow(Control(IDC_CLIP_TEXT_LABEL), SW_HIDE);
    ShowWindow(text, SW_HIDE);
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT r = clientRect(child);
        if (r.top < textRect.bottom) continue;
        SetWindowPos(child, nullptr, r.left, r.top - shift, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT window{};
    GetWindowRect(dialog_, &window);
    SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left,
                 window.bottom - window.top - shift, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool ShowClipDialog(HWND owner, AppState& state, DialogHost& host,
                    const ClipDialogRequest& request) {
    if (request.List != kListClipboard && request.List != kListClipboard2) {
        Log(1, "frmAddClp: list %i is no clipboard list", request.List);
        return false;
    }
    ClipDialog dialog(state, host, request);
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CLIP_DIALOG), owner,
                        &ClipDialog::Proc, reinterpret_cast<LPARAM>(&dialog));
    if (result == -1) {
        Log(1, "frmAddClp: no dialog (%u)", static_cast<std::uint32_t>(GetLastError()));
    }
    return result == TRUE;
}

}  // namespace zorv
