// Editing the configuration in the program: the list editor opened from the main menu's
// "Configure" submenu, the item dialog from the list editor and from the bar, the clipboard
// item dialog; judged by the bar, the saved file and what the items do afterwards.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

constexpr int kList = 2101, kSeparator = 2105;

void Keys(std::initializer_list<WORD> vks, WORD modifier = 0) {
    std::vector<INPUT> in;
    auto key = [&](WORD vk, bool up) {
        INPUT i{INPUT_KEYBOARD, {}};
        i.ki.wVk = vk;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (modifier) key(modifier, false);
    for (WORD vk : vks) key(vk, false), key(vk, true);
    if (modifier) key(modifier, true);
    SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> in;
    for (wchar_t c : text) {
        for (DWORD up : {0ul, DWORD(KEYEVENTF_KEYUP)}) {
            INPUT i{INPUT_KEYBOARD, {}};
            i.ki.wScan = c;
            i.ki.dwFlags = KEYEVENTF_UNICODE | up;
            in.push_back(i);
        }
    }
    SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

std::vector<std::wstring> ListLines(HWND list) {
    std::vector<std::wstring> lines;
    const LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        wchar_t text[512] = L"";
        SendMessageW(list, LB_GETTEXT, i, LPARAM(text));
        lines.push_back(text);
    }
    return lines;
}

class Editors : public ZorvE2E {
  protected:
    Probes probes_{Folder().Root() / L"Probe Tools" / L"zorv_probe.exe",
                   Folder().Root() / L"probe records"};
    const std::string settings_ = "AutoRed=0\r\nForcedLanguage=2\r\nFixMnuProblem=1\r\n";

    // Main menu (after `buttons` cells) > Configure > the entry with `letter`: the list
    // editor titled `title`.
    HWND OpenListEditor(HWND bar, int buttons, WORD letter, const wchar_t* title) {
        const RECT r = WindowRect(bar);
        if (!ClickForMenu(r.left + 22 * buttons + 10, r.top + 10)) return 0;
        Keys({'C'});
        if (!WaitFor(Ms(3000), [&] {
                const std::vector<HWND> menus = TopLevelWindows(Last().Id(), L"#32768");
                return std::count_if(menus.begin(), menus.end(), IsWindowVisible) == 2;
            }))
            return 0;
        Keys({letter});
        return WaitForWindow(Last().Id(), L"#32770", title, Ms(5000));
    }
    static bool Gone(HWND window) {
        return WaitFor(Ms(5000), [&] { return !IsWindow(window); });
    }
    // Clicks the middle of control `id` of `dlg`.
    static bool ClickControl(HWND dlg, int id) {
        const RECT r = WindowRect(GetDlgItem(dlg, id));
        return MoveMouseAndStay((r.left + r.right) / 2, (r.top + r.bottom) / 2) && ClickHere();
    }
    // The saved file once a save after `saves` earlier ones is done.
    std::string SavedAfter(int saves) {
        MoveMouseAndStay(kAway.x, kAway.y);
        WaitFor(Ms(8000), [&] { return Logged("SaveIni(") > saves; });
        return ReadWholeFile(Folder().IniFile()).value_or("");
    }
    HWND WaitForBox(Ms timeout = Ms(5000)) {
        return WaitForWindow(Last().Id(), L"#32770", kBoxTitle, timeout);
    }
};

TEST_F(Editors, CancelAfterChanges_LeavesBarAndFileAsTheyWere) {
    HWND bar = StartBar(Ini(Notepads(3), settings_));
    ASSERT_TRUE(bar);
    // The first start records the screen's colours: that save comes first.
    MoveMouseAndStay(kAway.x, kAway.y);
    ASSERT_TRUE(WaitFor(Ms(5000), [&] { return Logged("SaveIni(") == 1; })) << LogTail();
    const std::optional<std::string> saved = ReadWholeFile(Folder().IniFile());
    const RECT before = WindowRect(bar);
    HWND editor = OpenListEditor(bar, 3, 'Z', L"Buttons");
    ASSERT_TRUE(editor) << LogTail();
    HWND list = GetDlgItem(editor, kList);
    EXPECT_EQ(ListLines(list), (std::vector<std::wstring>{L"B", L"B", L"B", L""}));
    // Remove two, add a separator, then think better of it.
    Keys({VK_DELETE});
    Keys({VK_DELETE});
    ASSERT_TRUE(WaitFor(Ms(3000), [&] { return ListLines(list).size() == 2; }));
    SendMessageW(editor, WM_COMMAND, kSeparator, LPARAM(GetDlgItem(editor, kSeparator)));
    ASSERT_TRUE(WaitFor(Ms(3000), [&] { return ListLines(list).size() == 3; }));
    Keys({VK_ESCAPE});
    ASSERT_TRUE(Gone(editor)) << LogTail();
    // The bar still has its three buttons, and the file stays as it was when the program ends.
    const RECT after = WindowRect(bar);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    PostMessageW(bar, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Last().WaitExit(Ms(10000)));
    EXPECT_EQ(ReadWholeFile(Folder().IniFile()), saved);
}

TEST_F(Editors, MenuItemsPastedIntoTheClipboardList_AreInvalidData) {
    std::string ini = Ini({Button("B", "notepad.exe")}, settings_);
    for (const char* name : {"One", "Two", "Three"}) {
        Button item(name, "notepad.exe");
        ini += "[MenuItem]" + item.Text.substr(8);
    }
    ini += "[ClipboardItem]\r\nDesc=Hello\r\nText=Hello world\r\nActivate=0\r\nHotkey=0\r\n";
    HWND bar = StartBar(ini);
    ASSERT_TRUE(bar);
    HWND menuEditor = OpenListEditor(bar, 1, 'M', L"Main Menu");
    ASSERT_TRUE(menuEditor) << LogTail();
    // The first two lines, copied.
    Keys({VK_HOME});
    Keys({VK_DOWN}, VK_SHIFT);
    Keys({'C'}, VK_CONTROL);
    ASSERT_TRUE(WaitFor(Ms(3000), [&] {
        if (!OpenClipboard(nullptr)) return false;
        const bool has = IsClipboardFormatAvailable(CF_UNICODETEXT);
        CloseClipboard();
        return has;
    }));
    Keys({VK_ESCAPE});
    ASSERT_TRUE(Gone(menuEditor));
    HWND clipEditor = OpenListEditor(bar, 1, 'C', L"Clipboard");
    ASSERT_TRUE(clipEditor) << LogTail();
    Keys({'V'}, VK_CONTROL);
    HWND box = WaitForBox();
    ASSERT_TRUE(box) << LogTail();
    EXPECT_EQ(MessageBoxText(box), L"Invalid data");
    PressOk(box);
    EXPECT_EQ(ListLines(GetDlgItem(clipEditor, kList)), (std::vector<std::wstring>{L"Hello", L""}));
    Keys({VK_ESCAPE});
    EXPECT_TRUE(Gone(clipEditor));
}

TEST_F(Editors, AButtonAddedInTheListEditor_ShowsOnTheBar_IsSaved_AndStartsItsProgram) {
    HWND bar = StartBar(Ini(Notepads(2), settings_));
    ASSERT_TRUE(bar);
    const int saves = (MoveMouseAndStay(kAway.x, kAway.y),
                       WaitFor(Ms(5000), [&] { return Logged("SaveIni(") == 1; }), Logged("SaveIni("));
    const LONG width = WindowRect(bar).right - WindowRect(bar).left;
    HWND editor = OpenListEditor(bar, 2, 'Z', L"Buttons");
    ASSERT_TRUE(editor) << LogTail();
    // Enter on the empty last line adds there.
    Keys({VK_END});
    Keys({VK_RETURN});
    HWND dialog = WaitForWindow(Last().Id(), L"#32770", L"Add Item", Ms(5000));
    ASSERT_TRUE(dialog) << LogTail();
    TypeText(L"Probe");
    Keys({VK_TAB});
    TypeText(L"\"" + probes_.Exe().wstring() + L"\" --title=Added");
    Keys({VK_RETURN});
    ASSERT_TRUE(Gone(dialog)) << LogTail();
    HWND list = GetDlgItem(editor, kList);
    EXPECT_EQ(ListLines(list), (std::vector<std::wstring>{L"B", L"B", L"Probe", L""}));
    ASSERT_TRUE(ClickControl(editor, IDOK));
    ASSERT_TRUE(Gone(editor)) << LogTail();
    EXPECT_TRUE(WaitFor(Ms(5000), [&] {
        return WindowRect(bar).right - WindowRect(bar).left == width + 22;
    })) << "the bar did not grow by a button";
    const std::string saved = SavedAfter(saves);
    EXPECT_NE(saved.find("Desc=Probe\r\nPath=\"" + Narrow(probes_.Exe().wstring()) +
                         "\" --title=Added\r\n"),
              std::string::npos)
        << saved;
    // The new button starts its program.
    const RECT r = WindowRect(bar);
    ASSERT_TRUE(MoveMouseAndStay(r.left + 22 * 2 + 10, r.top + 10) && ClickHere());
    const std::optional<ProbeRecord> started = probes_.Next();
    ASSERT_TRUE(started) << LogTail();
    EXPECT_EQ(started->Args, std::vector<std::string>{"--title=Added"});
}

TEST_F(Editors, CtrlClickOnAButton_EditsIt_AndTheFileFollows_InAnyScript) {
    HWND bar = StartBar(Ini(Notepads(2), settings_));
    ASSERT_TRUE(bar);
    const int saves = (MoveMouseAndStay(kAway.x, kAway.y),
                       WaitFor(Ms(5000), [&] { return Logged("SaveIni(") == 1; }), Logged("SaveIni("));
    const RECT r = WindowRect(bar);
    ASSERT_TRUE(MoveMouseAndStay(r.left + 22 + 10, r.top + 10));
    INPUT ctrl{INPUT_KEYBOARD, {}};
    ctrl.ki.wVk = VK_CONTROL;
    SendInput(1, &ctrl, sizeof ctrl);
    ClickHere();
    ctrl.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &ctrl, sizeof ctrl);
    HWND dialog = WaitForWindow(Last().Id(), L"#32770", L"Edit Item", Ms(5000));
    ASSERT_TRUE(dialog) << LogTail();
    wchar_t name[64] = L"";
    GetDlgItemTextW(dialog, 2202, name, 64);
    EXPECT_STREQ(name, L"B");
    Keys({VK_END});
    Keys({VK_HOME}, VK_SHIFT);
    // "Renamed Δέλτα": Greek, outside the Western code page, kept as the file's UTF-8.
    TypeText(L"Renamed \u0394\u03AD\u03BB\u03C4\u03B1");
    Keys({VK_RETURN});
    ASSERT_TRUE(Gone(dialog)) << LogTail();
    const std::string saved = SavedAfter(saves);
    const size_t renamed = saved.find("Desc=Renamed \xCE\x94\xCE\xAD\xCE\xBB\xCF\x84\xCE\xB1\r\n");
    EXPECT_NE(renamed, std::string::npos) << saved;
    EXPECT_NE(saved.find("Icon=**2", renamed), std::string::npos) << "not the second button";
}

TEST_F(Editors, TheWindowSearchTool_TakesProgramAndTitleFromTheWindowPointedAt) {
    HWND probe = probes_.Open(L"--title=PointAtMe --at=300,300,400,200");
    ASSERT_TRUE(probe);
    HWND bar = StartBar(Ini(Notepads(1), settings_));
    ASSERT_TRUE(bar);
    HWND editor = OpenListEditor(bar, 1, 'Z', L"Buttons");
    ASSERT_TRUE(editor) << LogTail();
    Keys({VK_RETURN});  // edits the first line
    HWND dialog = WaitForWindow(Last().Id(), L"#32770", L"Edit Item", Ms(5000));
    ASSERT_TRUE(dialog) << LogTail();
    // Press on the tool, drag over the probe's window, let go there.
    const RECT tool = WindowRect(GetDlgItem(dialog, 2226));
    ASSERT_TRUE(MoveMouseAndStay((tool.left + tool.right) / 2, (tool.top + tool.bottom) / 2));
    INPUT press{INPUT_MOUSE, {}};
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof press);
    const RECT target = WindowRect(probe);
    for (int step = 1; step <= 5; ++step) {
        MoveMouseAndStay(tool.left + (target.left + 100 - tool.left) * step / 5,
                         tool.top + (target.top + 100 - tool.top) * step / 5);
    }
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press, sizeof press);
    const auto text = [&](int id) {
        wchar_t t[MAX_PATH * 2] = L"";
        GetDlgItemTextW(dialog, id, t, MAX_PATH * 2);
        return std::wstring(t);
    };
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return SamePath(text(2204), ExeFolder() / L"zorv_probe.exe"); }))
        << Narrow(text(2204)) << LogTail();
    EXPECT_EQ(text(2223), L"PointAtMe");
    Keys({VK_ESCAPE});
    ASSERT_TRUE(Gone(dialog));
    Keys({VK_ESCAPE});
    EXPECT_TRUE(Gone(editor));
}

TEST_F(Editors, AClipboardItemAddedInItsDialog_PastesItsTextWhenChosen) {
    HWND bar = StartBar(Ini({Button("B", "notepad.exe")}, settings_));
    ASSERT_TRUE(bar);
    HWND editor = OpenListEditor(bar, 1, 'C', L"Clipboard");
    ASSERT_TRUE(editor) << LogTail();
    Keys({VK_END});
    Keys({VK_RETURN});
    HWND dialog = WaitForWindow(Last().Id(), L"#32770", L"Add Item", Ms(5000));
    ASSERT_TRUE(dialog) << LogTail();
    TypeText(L"&Greeting");
    Keys({VK_TAB});
    TypeText(L"Hello from the editor");
    Keys({'P'}, VK_MENU);  // "&Paste automatically", by Ctrl+V
    ASSERT_TRUE(WaitFor(Ms(3000), [&] {
        return IsDlgButtonChecked(dialog, 2308) == BST_CHECKED &&
               IsDlgButtonChecked(dialog, 2309) == BST_CHECKED;
    }));
    ClickControl(dialog, IDOK);
    ASSERT_TRUE(Gone(dialog)) << LogTail();
    EXPECT_EQ(ListLines(GetDlgItem(editor, kList)), (std::vector<std::wstring>{L"Greeting", L""}));
    ASSERT_TRUE(ClickControl(editor, IDOK));
    ASSERT_TRUE(Gone(editor)) << LogTail();

    // Chosen from the main menu's clipboard submenu with Notepad in front.
    Process notepad(L"C:\\windows\\system32\\notepad.exe", L"", Folder().Cwd());
    HWND np = WaitForWindow(notepad.Id(), L"Notepad", nullptr, Ms(10000));
    ASSERT_TRUE(np && Activate(np));
    HWND edit = FindWindowExW(np, nullptr, L"Edit", nullptr);
    const RECT r = WindowRect(bar);
    ASSERT_TRUE(MoveMouseAndStay(r.left + 22 + 10, r.top + 10) && ClickHere());
    ASSERT_TRUE(WaitForWindow(Last().Id(), L"#32768", nullptr, Ms(5000)));
    Keys({'L'});
    ASSERT_TRUE(WaitFor(Ms(3000), [&] {
        const std::vector<HWND> menus = TopLevelWindows(Last().Id(), L"#32768");
        return std::count_if(menus.begin(), menus.end(), IsWindowVisible) == 2;
    })) << LogTail();
    Keys({'G'});
    EXPECT_TRUE(WaitFor(Ms(5000), [&] {
        wchar_t text[128] = L"";
        DWORD_PTR n = 0;
        SendMessageTimeoutW(edit, WM_GETTEXT, 128, LPARAM(text), SMTO_ABORTIFHUNG, 1000, &n);
        return std::wstring(text) == L"Hello from the editor";
    })) << LogTail();
}

TEST_F(Editors, TheOptionsTurnAutoReduceOn_TheBarReducesItself_AndTheFileSaysSo) {
    HWND bar = StartBar(Ini(Notepads(2), settings_));
    ASSERT_TRUE(bar);
    const int saves = (MoveMouseAndStay(kAway.x, kAway.y),
                       WaitFor(Ms(5000), [&] { return Logged("SaveIni(") == 1; }), Logged("SaveIni("));
    HWND options = OpenListEditor(bar, 2, 'O', L"Options");
    ASSERT_TRUE(options) << LogTail();
    ASSERT_EQ(IsDlgButtonChecked(options, 2410), BST_UNCHECKED);
    Keys({'A'}, VK_MENU);  // "&Automatic Reduce to 1 Pixel"
    ASSERT_TRUE(WaitFor(Ms(3000), [&] { return IsDlgButtonChecked(options, 2410) == BST_CHECKED; }));
    ASSERT_TRUE(ClickControl(options, IDOK));
    ASSERT_TRUE(Gone(options)) << LogTail();
    // Away from the bar it shrinks to its line.
    MoveMouseAndStay(kAway.x, kAway.y);
    EXPECT_TRUE(WaitFor(Ms(8000), [&] {
        const RECT r = WindowRect(bar);
        return r.bottom - r.top <= 2 || r.bottom <= 2;
    })) << Describe(WindowRect(bar)) << LogTail();
    EXPECT_NE(SavedAfter(saves).find("\r\nAutoRed=1\r\n"), std::string::npos);
}

TEST_F(Editors, TheRunDialogOpensATypedDocument_ReportsAMistypedProgram_StartsRestricted) {
    const fs::path doc = Folder().Root() / L"typed letter.zorvdoc";
    WriteWholeFile(doc, "Hello\r\n");
    ClassesKey ext(L".zorvdoc"), type(L"ZorvProbe.Document");
    ext.Set(L"", L"", L"ZorvProbe.Document");
    type.Set(L"shell\\open\\command", L"", L"\"" + probes_.Exe().wstring() + L"\" \"%1\"");
    HWND bar = StartBar(Ini(Notepads(1), settings_));
    ASSERT_TRUE(bar);
    const auto openRun = [&]() -> HWND {
        const RECT r = WindowRect(bar);
        if (!MoveMouseAndStay(r.left + 22 + 10, r.top + 10) || !ClickHere()) return nullptr;
        if (!WaitForWindow(Last().Id(), L"#32768", nullptr, Ms(5000))) return nullptr;
        Keys({'E'});
        return WaitForWindow(Last().Id(), L"#32770", L"Execute", Ms(5000));
    };
    HWND run = openRun();
    ASSERT_TRUE(run) << LogTail();
    TypeText(doc.wstring());
    Keys({VK_RETURN});
    const std::optional<ProbeRecord> opened = probes_.Next();
    ASSERT_TRUE(opened) << LogTail();
    EXPECT_EQ(opened->Args, std::vector<std::string>{Narrow(doc.wstring())});
    EXPECT_TRUE(Gone(run));

    // A mistyped program: the launcher says so, the dialog stays with the text selected.
    run = openRun();
    ASSERT_TRUE(run) << LogTail();
    const std::wstring mistyped = L"C:\\no such folder\\mistyped.exe";
    TypeText(mistyped);
    Keys({VK_RETURN});
    HWND box = WaitForBox();
    ASSERT_TRUE(box) << LogTail();
    EXPECT_TRUE(MessageBoxText(box).starts_with(L"Program not found:")) << Narrow(MessageBoxText(box));
    PressOk(box);
    ASSERT_TRUE(WaitFor(Ms(3000), [&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(run));
    DWORD from = 1, to = 0;
    SendMessageW(GetDlgItem(run, 2501), EM_GETSEL, WPARAM(&from), LPARAM(&to));
    EXPECT_EQ(std::tuple(from, to), std::tuple(DWORD(0), DWORD(mistyped.size())));

    // Restricted: the probe's token is not an administrator's, whatever the bar's is.
    SetDlgItemTextW(run, 2501, (L"\"" + probes_.Exe().wstring() + L"\" --title=Restricted").c_str());
    ASSERT_TRUE(ClickControl(run, 2503));
    ASSERT_TRUE(WaitFor(Ms(3000), [&] { return IsDlgButtonChecked(run, 2503) == BST_CHECKED; }));
    ASSERT_TRUE(ClickControl(run, IDOK));
    const std::optional<ProbeRecord> restricted = probes_.Next();
    ASSERT_TRUE(restricted) << LogTail();
    EXPECT_EQ(restricted->Args, std::vector<std::string>{"--title=Restricted"});
    EXPECT_FALSE(restricted->Admin);
    EXPECT_TRUE(opened->Admin) << "the normal start ran without the bar's rights";
}

}  // namespace
}  // namespace zorv::e2e
