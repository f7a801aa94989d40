// frmExec's window: the .rc template with the captions and rights boxes of
// run_dialog.cpp, and the command handed to the launcher through the host.
#include "dialogs/run_dialog_win32.h"

#include "dialogs/dialog_ids.h"
#include "dialogs/file_dialog_win32.h"
#include "dialogs/run_dialog.h"
#include "dialogs/run_dialog_ids.h"
#include "support/ascii.h"
#include "support/gdi_win32.h"
#include "support/log.h"
#include "support/text_win32.h"
#include "support/texts.h"
#include "support/window_win32.h"

namespace zorv {

namespace {

// The command field selects its whole text whenever it gets the focus, by
// Tab, a mnemonic or from the code, so a new command replaces the old one;
// a click keeps the caret where the click put it.
LRESULT CALLBACK CommandFieldProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    const LRESULT result = CallWindowProcW(original, edit, msg, wParam, lParam);
    if (msg == WM_SETFOCUS && GetKeyState(VK_LBUTTON) >= 0) SendMessageW(edit, EM_SETSEL, 0, -1);
    return result;
}

// A font of the face `face` in the size of `like`; none when the system put
// another face in its place (the face is not installed).
UniqueFont FontOfFace(HFONT like, std::string_view face) {
    LOGFONTW lf{};
    if (!GetObjectW(like, sizeof lf, &lf)) return {};
    lstrcpynW(lf.lfFaceName, Widen(face).c_str(), LF_FACESIZE);
    UniqueFont font(CreateFontIndirectW(&lf));
    if (!font) return {};
    WindowDC screen(nullptr);
    wchar_t taken[LF_FACESIZE] = L"";
    {
        SelectGuard select(screen.get(), font.get());
        GetTextFaceW(screen.get(), LF_FACESIZE, taken);
    }
    if (lstrcmpiW(taken, lf.lfFaceName) != 0) return {};
    return font;
}

class RunDialog {
  public:
    RunDialog(AppState& state, DialogHost& host) : state_(state), host_(host) {}

    static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<RunDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        return self ? self->Handle(dialog, msg, wParam) : FALSE;
    }

  private:
    INT_PTR Handle(HWND dialog, UINT msg, WPARAM wParam);
    void OnInit();
    void SetTexts();
    void FitWidthAndCentre();
    void FixFont();
    void OnActivate();
    void OnCommand(int id);
    void OnOk();
    void OnBrowse();
    void FocusCommand();
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    bool Checked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

    AppState& state_;
    DialogHost& host_;
    HWND dialog_ = nullptr;
    UniqueFont font_;  // the FixFontProblem face, while the dialog shows
    bool activating_ = false;
};

INT_PTR RunDialog::Handle(HWND dialog, UINT msg, WPARAM wParam) {
    switch (msg) {
        case WM_INITDIALOG:
            dialog_ = dialog;
            OnInit();
            return FALSE;  // the focus was set
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) OnActivate();
            return FALSE;
        case WM_MOUSEMOVE:
            host_.CheckForegroundWindow();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return TRUE;
    }
    return FALSE;
}

void RunDialog::OnInit() {
    const RightsLayout rights = RightsFor(state_.App);
    for (int id : {IDC_RUN_USERTYPE0, IDC_RUN_USERTYPE1}) {
        if (!rights.Visible) ShowWindow(Control(id), SW_HIDE);
    }
    EnableWindow(Control(IDC_RUN_USERTYPE0), rights.Box0Enabled);
    HWND command = Control(IDC_RUN_PATH);
    SendMessageW(command, EM_LIMITTEXT, 0, 0);  // no limit but the system's
    SetWindowLongPtrW(command, GWLP_USERDATA, GetWindowLongPtrW(command, GWLP_WNDPROC));
    SetWindowLongPtrW(command, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommandFieldProc));
    FitWidthAndCentre();
    if (state_.Options.FixFontProblem) FixFont();
    SetTexts();
    FocusCommand();
}

void RunDialog::SetTexts() {
    SetWindowTextW(dialog_, Widen(RunDialogTitle(EnglishTexts)).c_str());
    for (const ControlCaption& c : RunDialogCaptions(RightsFor(state_.App), EnglishTexts)) {
        SetDlgItemTextW(dialog_, c.Id, Widen(c.Text).c_str());
    }
}

void RunDialog::FitWidthAndCentre() {
    RECT field{};
    GetWindowRect(Control(IDC_RUN_PATH), &field);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&field), 2);
    RECT window{};
    GetWindowRect(dialog_, &window);
    const int width = RunDialogWidth(field.left, field.right - field.left);
    const int height = window.bottom - window.top;
    SetWindowPos(dialog_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Some systems draw the shell dialog font badly (FixFontProblem): the
// dialog and its controls then take "Microsoft Sans Serif" in the same size,
// or "Arial" where that is missing.
void RunDialog::FixFont() {
    const auto like = reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0));
    font_ = FontOfFace(like, kFixedDialogFont);
    if (!font_) font_ = FontOfFace(like, kFixedDialogFontFallback);
    if (!font_) return;
    const HFONT font = font_.get();
    SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

// Bringing the dialog to the front may activate it again; once is enough.
void RunDialog::OnActivate() {
    if (activating_) return;
    activating_ = true;
    Log(1, "frmExec_Activate");
    host_.BringToFront(ToWindowId(dialog_));
    SetWindowPos(dialog_, HWND_TOPMOST, 0, 0, 0, 0, kZOrderFlags);
    activating_ = false;
}

void RunDialog::OnCommand(int id) {
    switch (id) {
        case IDOK:
            OnOk();
            break;
        case IDCANCEL:
            EndDialog(dialog_, IDCANCEL);
            break;
        case IDC_RUN_BROWSE:
            OnBrowse();
            break;
        case IDC_RUN_USERTYPE0:
        case IDC_RUN_USERTYPE1: {
            bool box0 = Checked(IDC_RUN_USERTYPE0), box1 = Checked(IDC_RUN_USERTYPE1);
            SettleRunRightsBoxes(box0, box1);
            CheckDlgButton(dialog_, IDC_RUN_USERTYPE0, box0 ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dialog_, IDC_RUN_USERTYPE1, box1 ? BST_CHECKED : BST_UNCHECKED);
            break;
        }
    }
}

// The launcher shows its own messages ("Program not found:" ...); after one
// the dialog stays, with the command selected for correcting.
void RunDialog::OnOk() {
    const std::string command = OwnWindowText(Control(IDC_RUN_PATH));
    const std::int32_t userType =
        RunUserType(Checked(IDC_RUN_USERTYPE0), Checked(IDC_RUN_USERTYPE1));
    Log(2, "frmExec: '%s' as %i", command, userType);
    if (host_.StartCommand(command, RunWorkingFolder(command), userType)) {
        EndDialog(dialog_, IDOK);
        return;
    }
    FocusCommand();
}

void RunDialog::OnBrowse() {
    const std::string command = OwnWindowText(Control(IDC_RUN_PATH));
    if (auto file =
            AskOpenFile(dialog_, ProgramFileFilter(EnglishTexts, !state_.App.WindowsVersion.NT),
                        std::string(RunProgramPart(command)))) {
        SetDlgItemTextW(dialog_, IDC_RUN_PATH, Widen(QuoteIfBlank(*file)).c_str());
    }
    FocusCommand();
}

// The dialog manager's way of moving the focus keeps the default button
// right; the whole text is selected also when the field had the focus.
void RunDialog::FocusCommand() {
    HWND command = Control(IDC_RUN_PATH);
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(command), TRUE);
    SendMessageW(command, EM_SETSEL, 0, -1);
}

}  // namespace

void ShowRunDialog(HWND owner, AppState& state, DialogHost& host) {
    RunDialog dialog(state, host);
    host.DialogShowing(true);
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RUN_DIALOG), owner,
                        &RunDialog::Proc, reinterpret_cast<LPARAM>(&dialog));
    host.DialogShowing(false);
    if (result == -1) {
        Log(1, "frmExec: no dialog (%u)", static_cast<std::uint32_t>(GetLastError()));
    }
}

}  // namespace zorv
