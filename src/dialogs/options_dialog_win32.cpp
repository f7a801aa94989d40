// frmOptions' window: the .rc template filled from and read into an
// OptionsForm; the rules themselves live in options_dialog.cpp.
#include "dialogs/options_dialog_win32.h"

#include <string>
#include <vector>

#include "dialogs/dialog_ids.h"
#include "dialogs/hotkey_dlg_win32.h"
#include "dialogs/hotkey_owner.h"
#include "dialogs/options_dialog.h"
#include "dialogs/options_dialog_ids.h"
#include "support/clipboard_win32.h"
#include "support/file_win32.h"
#include "support/help_page_win32.h"
#include "support/log.h"
#include "support/text_win32.h"
#include "support/texts.h"

namespace zorv {

namespace {

constexpr UINT_PTR kHotkeyTestTimer = 1;
constexpr UINT kHotkeyTestMs = 250;

// The check boxes and the form's flag each one shows.
struct CheckBox {
    int Id;
    bool OptionsForm::*Flag;
};
constexpr CheckBox kCheckBoxes[] = {
    {IDC_OPT_AUTO_REDUCE, &OptionsForm::AutoReduce},
    {IDC_OPT_AUTO_FADE, &OptionsForm::AutoFade},
    {IDC_OPT_SOFT, &OptionsForm::Soft},
    {IDC_OPT_SEND_WM_PAINTS, &OptionsForm::SendWmPaints},
    {IDC_OPT_BUT_FLAT, &OptionsForm::ButFlat},
    {IDC_OPT_TOOLTIPS, &OptionsForm::ToolTips},
    {IDC_OPT_HOLE, &OptionsForm::Hole},
    {IDC_OPT_NO_DRAG_SOURCE, &OptionsForm::NoDragDropSource},
    {IDC_OPT_WAIT4IDLE, &OptionsForm::Wait4Idle},
    {IDC_OPT_TASKBAR_TOP, &OptionsForm::TaskbarOnTop},
    {IDC_OPT_REFRESH_ON_CDS, &OptionsForm::FullRefreshOnColorDepthChange},
    {IDC_OPT_START_WITH_WINDOWS, &OptionsForm::StartWithWindows},
    {IDC_OPT_FIX_MNU, &OptionsForm::FixMnuProblem},
    {IDC_OPT_MNU_NOT_FLAT, &OptionsForm::MnuNotFlat},
    {IDC_OPT_AC_SKIP, &OptionsForm::ACSkip},
    {IDC_OPT_SHOW_AITEMS, &OptionsForm::ShowAItems},
    {IDC_OPT_AUTO_BAR_RIGHT, &OptionsForm::AutoBarRight},
    {IDC_OPT_MAXIMIZER, &OptionsForm::Maximizer},
    {IDC_OPT_TRUETYPE_FONTS, &OptionsForm::DlgTrueTypeFonts},
};

// The choice lists and the form's index each one shows.
struct ChoiceList {
    int Id;
    std::int32_t OptionsForm::*Index;
};
constexpr ChoiceList kChoiceLists[] = {
    {IDC_OPT_ALPHA, &OptionsForm::Alpha},
    {IDC_OPT_RESTORE_DELAY, &OptionsForm::RestoreDelay},
    {IDC_OPT_PRIO, &OptionsForm::ProcessPrio},
    {IDC_OPT_AST_DELAY, &OptionsForm::AstDelay},
    {IDC_OPT_AST_PAUSE, &OptionsForm::AstPause},
    {IDC_OPT_AST_LIMIT, &OptionsForm::ASTimeLimit},
    {IDC_OPT_SEP_COLOR, &OptionsForm::SepColor},
    {IDC_OPT_LINE_COLOR, &OptionsForm::LineColor},
};

std::int32_t ScreenBitsPerPixel() {
    HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}

std::int32_t ProcessorCount() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return static_cast<std::int32_t>(info.dwNumberOfProcessors);
}

class OptionsDialog {
  public:
    OptionsDialog(AppState& state, DialogHost& host, const OptionsContext& context)
        : s_(state),
          host_(host),
          context_(context),
          openedBarRight_(state.Options.ForcedBarRight) {}

    static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<OptionsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        return self ? self->Handle(dialog, msg, wParam) : FALSE;
    }

    bool StartWithWindows() const { return startWithWindows_; }

  private:
    INT_PTR Handle(HWND dialog, UINT msg, WPARAM wParam);
    void OnInit();
    void OnCommand(int id, int code);
    void OnOk();
    void OnCancel();
    void OnHotkeyTest();
    void SetTexts();
    void FillChoiceLists();
    void ShowForm(const OptionsForm& form);
    OptionsForm ReadForm() const;
    void UpdateEnabling();
    void OnHidingModeClicked(bool fade);
    void OnLineColorChosen();
    void OnBarRightStep(std::int32_t step);
    void OnAutoBarRightClicked();
    void ShowBarRight(std::int32_t distance);
    void CleanIconFiles();
    void CopyHotkeyList(HotkeyOrder order);
    void Warn(const std::vector<std::string>& warnings);
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }

    AppState& s_;
    DialogHost& host_;
    const OptionsContext context_;
    const std::int32_t openedBarRight_;
    HWND dialog_ = nullptr;
    clsHotkeyDlg hotkey_;
    std::int32_t testedHotkey_ = -1;
    std::int32_t shownBarRight_ = 0;
    bool startWithWindows_ = false;
};

INT_PTR OptionsDialog::Handle(HWND dialog, UINT msg, WPARAM wParam) {
    switch (msg) {
        case WM_INITDIALOG:
            dialog_ = dialog;
            OnInit();
            return TRUE;  // the dialog manager focuses the first control
        case WM_ACTIVATE:
            Log(4, LOWORD(wParam) == WA_INACTIVE ? "frmOptions_Deactivate" : "frmOptions_Activate");
            return FALSE;
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

void OptionsDialog::OnInit() {
    SetTexts();
    hotkey_.CreateHotKeyWindow(dialog_, Control(IDC_OPT_HOTKEY));
    FillChoiceLists();
    ShowForm(FillOptionsForm(s_.Options, context_));
    OnHotkeyTest();
    SetTimer(dialog_, kHotkeyTestTimer, kHotkeyTestMs, nullptr);
}

void OptionsDialog::SetTexts() {
    SetWindowTextW(dialog_, Widen(OptionsCaption(EnglishTexts)).c_str());
    for (const ControlCaption& c : OptionsControlCaptions(EnglishTexts, context_.Win9x)) {
        SetDlgItemTextW(dialog_, c.Id, Widen(c.Text).c_str());
    }
    const std::vector<std::string> sizes = ButSizeItems();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        SetDlgItemTextW(dialog_, IDC_OPT_BUT_SIZE_0 + static_cast<int>(i), Widen(sizes[i]).c_str());
    }
}

void OptionsDialog::FillChoiceLists() {
    const auto fill = [this](int id, const std::vector<std::string>& items) {
        for (const std::string& item : items) {
            SendDlgItemMessageW(dialog_, id, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(Widen(item).c_str()));
        }
    };
    fill(IDC_OPT_ALPHA, AlphaItems());
    fill(IDC_OPT_RESTORE_DELAY, RestoreDelayItems(context_.Processors));
    fill(IDC_OPT_PRIO, ProcessPrioItems(EnglishTexts));
    fill(IDC_OPT_AST_DELAY, AstDelayItems());
    fill(IDC_OPT_AST_PAUSE, AstPauseItems());
    fill(IDC_OPT_AST_LIMIT, ASTimeLimitItems());
    fill(IDC_OPT_SEP_COLOR, ColorItems(EnglishTexts));
    fill(IDC_OPT_LINE_COLOR, ColorItems(EnglishTexts));
}

void OptionsDialog::ShowForm(const OptionsForm& form) {
    for (const CheckBox& box : kCheckBoxes) {
        CheckDlgButton(dialog_, box.Id, form.*box.Flag ? BST_CHECKED : BST_UNCHECKED);
    }
    for (const ChoiceList& list : kChoiceLists) {
        SendDlgItemMessageW(dialog_, list.Id, CB_SETCURSEL, static_cast<WPARAM>(form.*list.Index),
                            0);
    }
    CheckRadioButton(dialog_, IDC_OPT_BUT_SIZE_0, IDC_OPT_BUT_SIZE_2,
                     IDC_OPT_BUT_SIZE_0 + form.ButSize);
    hotkey_.SetHotkey(form.MnuHotkey);
    ShowBarRight(form.BarRight);
    UpdateEnabling();
}

OptionsForm OptionsDialog::ReadForm() const {
    OptionsForm form;
    for (const CheckBox& box : kCheckBoxes) {
        form.*box.Flag = IsDlgButtonChecked(dialog_, box.Id) == BST_CHECKED;
    }
    for (const ChoiceList& list : kChoiceLists) {
        form.*list.Index =
            static_cast<std::int32_t>(SendDlgItemMessageW(dialog_, list.Id, CB_GETCURSEL, 0, 0));
    }
    for (int i = 0; i < 3; ++i) {
        if (IsDlgButtonChecked(dialog_, IDC_OPT_BUT_SIZE_0 + i) == BST_CHECKED) form.ButSize = i;
    }
    form.MnuHotkey = hotkey_.GetHotkey();
    form.BarRight = shownBarRight_;
    return form;
}

void OptionsDialog::UpdateEnabling() {
    const OptionsEnabling on = OptionsEnablingOf(ReadForm(), context_);
    EnableWindow(Control(IDC_OPT_AUTO_FADE), on.AutoFade);
    EnableWindow(Control(IDC_OPT_SOFT), on.Soft);
    EnableWindow(Control(IDC_OPT_RESTORE_DELAY_LABEL), on.RestoreDelay);
    EnableWindow(Control(IDC_OPT_RESTORE_DELAY), on.RestoreDelay);
    EnableWindow(Control(IDC_OPT_BAR_RIGHT_MORE), on.BarRightButtons);
    EnableWindow(Control(IDC_OPT_BAR_RIGHT_LESS), on.BarRightButtons);
}

void OptionsDialog::OnCommand(int id, int code) {
    switch (id) {
        case IDC_OPT_AUTO_REDUCE:
        case IDC_OPT_AUTO_FADE:
            if (code == BN_CLICKED) OnHidingModeClicked(id == IDC_OPT_AUTO_FADE);
            break;
        case IDC_OPT_LINE_COLOR:
            if (code == CBN_SELCHANGE) OnLineColorChosen();
            break;
        case IDC_OPT_BAR_RIGHT_MORE:
            OnBarRightStep(1);
            break;
        case IDC_OPT_BAR_RIGHT_LESS:
            OnBarRightStep(-1);
            break;
        case IDC_OPT_AUTO_BAR_RIGHT:
            if (code == BN_CLICKED) OnAutoBarRightClicked();
            break;
        case IDC_OPT_CLEAN_ICONS:
            CleanIconFiles();
            break;
        case IDC_OPT_HK_BY_TYPE:
            CopyHotkeyList(HotkeyOrder::ByType);
            break;
        case IDC_OPT_HK_BY_HOTKEY:
            CopyHotkeyList(HotkeyOrder::ByHotkey);
            break;
        case IDC_OPT_HELP:
            OpenHelpPage(dialog_, s_.HelpFile);
            break;
        case IDOK:
            OnOk();
            break;
        case IDCANCEL:
            OnCancel();
            break;
    }
}

void OptionsDialog::Warn(const std::vector<std::string>& warnings) {
    for (const std::string& text : warnings) MsgBox(text, MB_ICONEXCLAMATION, dialog_);
}

void OptionsDialog::OnHidingModeClicked(bool fade) {
    OptionsForm form = ReadForm();
    if (fade) {
        AutoFadeClicked(form);
        if (form.AutoFade) Warn(AutoFadeWarnings(ScreenBitsPerPixel(), EnglishTexts));
    } else {
        AutoReduceClicked(form);
    }
    CheckDlgButton(dialog_, IDC_OPT_AUTO_REDUCE, form.AutoReduce ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog_, IDC_OPT_AUTO_FADE, form.AutoFade ? BST_CHECKED : BST_UNCHECKED);
    UpdateEnabling();
}

void OptionsDialog::OnLineColorChosen() {
    Warn(LineColorWarnings(ReadForm().LineColor, ScreenBitsPerPixel(),
                           s_.App.WindowsVersion.Win2000OrLater, EnglishTexts));
}

void OptionsDialog::ShowBarRight(std::int32_t distance) {
    shownBarRight_ = distance;
    SetDlgItemTextW(dialog_, IDC_OPT_BAR_RIGHT, std::to_wstring(distance).c_str());
}

// The bar moves to each new distance at once, so the user sees where it ends up.
void OptionsDialog::OnBarRightStep(std::int32_t step) {
    ShowBarRight(SteppedBarRight(shownBarRight_, step));
    s_.Options.ForcedBarRight = shownBarRight_;
    host_.BarRightChanged();
}

void OptionsDialog::OnAutoBarRightClicked() {
    if (IsDlgButtonChecked(dialog_, IDC_OPT_AUTO_BAR_RIGHT) == BST_CHECKED) {
        s_.Options.ForcedBarRight = 0;
        host_.BarRightChanged();
        ShowBarRight(host_.AutomaticBarRight());
    } else {
        s_.Options.ForcedBarRight = shownBarRight_;
        host_.BarRightChanged();
    }
    UpdateEnabling();
}

void OptionsDialog::CleanIconFiles() {
    const std::string& folder = s_.App.IconFolder;
    const std::vector<std::string> files = FileNamesIn(folder, "*.bmp");
    std::uint32_t deleted = 0;
    for (const std::string& name : UnusedIconFiles(files, s_.Lists)) {
        if (DeleteFileW(Widen(folder + "\\" + name).c_str())) ++deleted;
    }
    Log(2, "frmOptions: %u of %u icon files deleted", deleted, files.size());
    MsgBox(IconFilesDeletedText(deleted, static_cast<std::uint32_t>(files.size()), EnglishTexts),
           MB_ICONINFORMATION, dialog_);
}

void OptionsDialog::CopyHotkeyList(HotkeyOrder order) {
    const std::vector<std::string> lines = HotkeyListLines(
        s_.Lists, hotkey_.GetHotkey(), host_.HotkeysTakenByOthers(),
        [this](std::int32_t value) { return host_.HotkeyName(value); }, order);
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    if (!PutTextOnClipboard(dialog_, text)) Log(1, "frmOptions: the clipboard stayed busy");
}

// Which item or list already has the main menu's hotkey; the main menu's own
// hotkey is the one being edited, so it does not count.
void OptionsDialog::OnHotkeyTest() {
    const std::int32_t value = hotkey_.GetHotkey();
    if (value == testedHotkey_) return;
    testedHotkey_ = value;
    const std::string owner =
        HotkeyOwnerText(s_, value, kListButtons, s_.Lists[kListButtons].Count());
    SetDlgItemTextW(dialog_, IDC_OPT_HOTKEY_USED, Widen(owner).c_str());
}

void OptionsDialog::OnOk() {
    const OptionsForm form = ReadForm();
    ApplyOptionsForm(form, context_, s_.Options);
    startWithWindows_ = form.StartWithWindows;
    Log(2, "frmOptions: OK");
    EndDialog(dialog_, TRUE);
}

void OptionsDialog::OnCancel() {
    if (s_.Options.ForcedBarRight != openedBarRight_) {
        s_.Options.ForcedBarRight = openedBarRight_;
        host_.BarRightChanged();
    }
    EndDialog(dialog_, FALSE);
}

}  // namespace

bool ShowOptionsDialog(HWND owner, AppState& state, DialogHost& host) {
    const WindowsVersionInfo& version = state.App.WindowsVersion;
    OptionsContext context;
    context.Processors = ProcessorCount();
    context.FadeAvailable = version.NT && version.Win2000OrLater;
    context.Win9x = !version.NT;
    context.InStartup = host.IsInStartup();
    context.AutomaticBarRight = host.AutomaticBarRight();

    OptionsDialog dialog(state, host, context);
    host.DialogShowing(true);
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_OPTIONS_DIALOG), owner,
                        &OptionsDialog::Proc, reinterpret_cast<LPARAM>(&dialog));
    host.DialogShowing(false);
    if (result == -1) {
        Log(1, "frmOptions: no dialog (%u)", static_cast<std::uint32_t>(GetLastError()));
    }
    if (result != TRUE) return false;
    host.SetZorvToAutoStart(dialog.StartWithWindows());
    host.OptionsChanged();
    return true;
}

}  // namespace zorv
