// The menus as a user meets them: the main menu under the bar (a typed letter starts an
// item, Exit ends the program, "/noconfig" refuses the configuration functions), the
// buttons' own menus under their buttons, the button context menu, and no handle lost
// however often they open.
#include "zorv_fixture.h"

#include <psapi.h>

#include <cstdio>

namespace zorv::e2e {
namespace {

std::wstring ClipboardText() {
    std::wstring text;
    for (int attempt = 0; attempt < 20 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) text = p;
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

class Menus : public ZorvE2E {
  protected:
    Probes probes_{Folder().Root() / L"Probe Tools" / L"zorv_probe.exe",
                   Folder().Root() / L"probe records"};

    // Clicks the main-menu cell (after `buttons` cells) and answers the menu that opens.
    HWND OpenMainMenu(HWND bar, int buttons) {
        const RECT r = WindowRect(bar);
        return ClickForMenu(r.left + 22 * buttons + 10, r.top + 10);
    }
    // A press on cell `cell` with `down` (after `modifier` goes down, if any); the menu
    // that opens.
    HWND PressCell(HWND bar, int cell, DWORD down = MOUSEEVENTF_LEFTDOWN, WORD modifier = 0) {
        const RECT r = WindowRect(bar);
        if (!MoveMouseAndStay(r.left + 22 * cell + 10, r.top + 10)) return 0;
        INPUT key{INPUT_KEYBOARD, {}};
        key.ki.wVk = modifier;
        if (modifier) SendInput(1, &key, sizeof key);
        ClickHere(down);
        key.ki.dwFlags = KEYEVENTF_KEYUP;
        if (modifier) SendInput(1, &key, sizeof key);
        return WaitForWindow(Last().Id(), L"#32768", nullptr, Ms(5000));
    }
    // Clicks the first entry of an open menu (a button menu belongs to a bar that is
    // never in front, so typed letters go to the window that is).
    static void ClickFirstEntry(HWND menu) {
        const RECT m = WindowRect(menu);
        MoveMouseAndStay((m.left + m.right) / 2, m.top + 10);
        ClickHere();
    }
    static bool Closes(HWND menu) {
        return WaitFor(Ms(3000), [&] { return !IsWindow(menu) || !IsWindowVisible(menu); });
    }
};

TEST_F(Menus, MainMenuCell_OpensUnderTheBar_TypedLetterStartsItem_ExitEndsAfterSaving) {
    Button item("&Probe", "\"" + Narrow(probes_.Exe().wstring()) + "\" --title=FromMenu");
    item.Text.replace(0, 8, "[MenuItem]");
    // A broken icon cache (a truncated picture) is ignored, and rewritten with the save.
    WriteWholeFile(Folder().Path() / L"ZorvPanelM.bmp", "BM6, cut short");
    // An older zorv.ini is taken over: the program owes a save of ZorvPanel.ini.
    WriteWholeFile(Folder().Path() / L"zorv.ini",
                   Ini({Button("B", "notepad.exe"), item},
                       "AutoRed=0\r\nForcedLanguage=2\r\nFixMnuProblem=1\r\n"));
    HWND bar = WaitForShownBar(Start());
    ASSERT_TRUE(bar) << "the bar did not appear";

    HWND menu = OpenMainMenu(bar, 1);
    ASSERT_TRUE(menu) << "no popup menu" << LogTail();
    const RECT b = WindowRect(bar), m = WindowRect(menu);
    EXPECT_EQ(m.right, std::min<LONG>(b.right + 64, GetSystemMetrics(SM_CXSCREEN) - 3))
        << Describe(m);
    EXPECT_EQ(m.top, b.bottom) << Describe(m) << " under " << Describe(b);
    TypeKey('P');
    const std::optional<ProbeRecord> started = probes_.Next();
    ASSERT_TRUE(started) << "the item did not start" << LogTail();
    EXPECT_EQ(started->Args, std::vector<std::string>{"--title=FromMenu"});
    EXPECT_TRUE(WaitFor(Ms(3000), [&] { return !IsWindowVisible(menu); }));

    // The save owed waits for the mouse to leave the bar, then writes the menus' icon cache.
    MoveMouseAndStay(kAway.x, kAway.y);
    const fs::path cache = Folder().Path() / L"ZorvPanelM.bmp";
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return ReadBitmap(cache).Height >= 32; })) << LogTail();
    ASSERT_TRUE(OpenMainMenu(bar, 1)) << "no popup menu the second time" << LogTail();
    TypeKey('X');
    EXPECT_EQ(Last().WaitExit(Ms(10000)), DWORD(0)) << "the program did not end" << LogTail();
    EXPECT_EQ(Logged("frmButtons_QueryUnload(wParam=0, ClosedFromMenu=1)"), 1) << LogTail();
    EXPECT_EQ(Logged("Own handles at closing: 0 "), 1) << "a handle leaked" << LogTail();
    const std::string saved = ReadWholeFile(Folder().IniFile()).value_or("");
    EXPECT_NE(saved.find("Desc=&Probe"), std::string::npos) << "not saved:\n" << saved;
}

TEST_F(Menus, RightButtonStartsNewInstance_NoConfigRefusesExecute_ExitStillWorks) {
    Button item("&Probe", "\"" + Narrow(probes_.Exe().wstring()) + "\"", "**3", "", 1);
    item.Text.replace(0, 8, "[MenuItem]");
    // "&Ωμέγα": a caption in another script.
    Button greek("&\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1",
                 "\"" + Narrow(probes_.Exe().wstring()) + "\" --title=Omega");
    greek.Text.replace(0, 8, "[MenuItem]");
    Folder().WriteIni("\xEF\xBB\xBF" + Ini({Button("B", "notepad.exe"), item, greek},
                                          "AutoRed=0\r\nForcedLanguage=2\r\nFixMnuProblem=1\r\n"));
    HWND bar = WaitForShownBar(Start(L"noau nostart /noconfig"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    ASSERT_TRUE(OpenMainMenu(bar, 1)) << LogTail();
    TypeKey('P');
    const std::optional<ProbeRecord> first = probes_.Next();
    ASSERT_TRUE(first) << "the item did not start" << LogTail();
    ASSERT_TRUE(Probes::WindowOf(first->Pid));
    // The Greek entry answers its small letter.
    ASSERT_TRUE(OpenMainMenu(bar, 1)) << LogTail();
    TypeChar(L'\u03C9');
    const std::optional<ProbeRecord> omega = probes_.Next();
    ASSERT_TRUE(omega) << "the Greek entry did not start" << LogTail();
    EXPECT_EQ(omega->Args, std::vector<std::string>{"--title=Omega"});
    // Opened with the right button, the choice starts a second copy instead of
    // bringing the first forward.
    ASSERT_TRUE(PressCell(bar, 1, MOUSEEVENTF_RIGHTDOWN)) << LogTail();
    TypeKey('P');
    EXPECT_TRUE(probes_.Next()) << "no new instance" << LogTail();

    ASSERT_TRUE(OpenMainMenu(bar, 1)) << LogTail();
    TypeKey('E');
    HWND box = WaitForMessageBox(Last());
    ASSERT_TRUE(box) << "no message for a refused function" << LogTail();
    EXPECT_EQ(MessageBoxText(box), L"The access to this function is restricted");
    PressOk(box);
    // Help > Info stays open to a locked configuration and names the files in use.
    ASSERT_TRUE(OpenMainMenu(bar, 1)) << LogTail();
    TypeKey('H');
    ASSERT_TRUE(WaitFor(Ms(3000), [&] {
        const std::vector<HWND> menus = TopLevelWindows(Last().Id(), L"#32768");
        return std::count_if(menus.begin(), menus.end(), IsWindowVisible) == 2;
    })) << "the help submenu did not open" << LogTail();
    TypeKey('N');
    box = WaitForMessageBox(Last());
    ASSERT_TRUE(box) << "no information" << LogTail();
    const std::string info = Narrow(MessageBoxText(box));
    EXPECT_TRUE(info.starts_with("ZorvPanel, version ")) << info;
    EXPECT_NE(info.find("Configuration file: " + Narrow(Folder().IniFile().wstring())),
              std::string::npos) << info;
    PressOk(box);
    ASSERT_TRUE(OpenMainMenu(bar, 1)) << LogTail();
    TypeKey('X');
    EXPECT_EQ(Last().WaitExit(Ms(10000)), DWORD(0)) << "Exit did not end the program" << LogTail();
}

TEST_F(Menus, ButtonMenus_OpenUnderTheirButton_StartAndPaste_CloseWhenAnotherWindowIsInFront) {
    Button tools("Tools", "", "**5"), entry("--->&Probe", "\"" + Narrow(probes_.Exe().wstring()) +
                                                             "\" --title=FromButtonMenu");
    std::string clip = "[ClipboardItem]\r\nDesc=&Hello\r\nPath=Hello, world\r\nActivate=0\r\n\r\n";
    HWND bar = StartBar(Ini({Button("B", "notepad.exe"), tools, entry, Button("Clips", "*CLIP*")},
                            "AutoRed=0\r\nForcedLanguage=2\r\n") + "\r\n" + clip);
    ASSERT_TRUE(bar) << "the bar did not appear";
    HWND menu = PressCell(bar, 1);
    ASSERT_TRUE(menu) << "the submenu button opened nothing" << LogTail();
    const RECT b = WindowRect(bar), m = WindowRect(menu);
    EXPECT_EQ(m.top, b.bottom) << Describe(m) << " under " << Describe(b);
    EXPECT_LE(std::abs((m.left + m.right) / 2 - (b.left + 22 + 30)), 1) << Describe(m);
    ClickFirstEntry(menu);
    const std::optional<ProbeRecord> started = probes_.Next();
    ASSERT_TRUE(started) << "the entry did not start" << LogTail();
    EXPECT_EQ(started->Args, std::vector<std::string>{"--title=FromButtonMenu"});
    EXPECT_TRUE(Closes(menu));
    // The program comes to the front before the next menu opens (a window that comes
    // forward while a menu shows closes it).
    const HWND probe = Probes::WindowOf(started->Pid);
    ASSERT_TRUE(WaitFor(Ms(5000), [&] { return probe && GetForegroundWindow() == probe; }));

    menu = PressCell(bar, 2);
    ASSERT_TRUE(menu) << "the clipboard button opened nothing" << LogTail();
    ClickFirstEntry(menu);
    EXPECT_TRUE(WaitFor(Ms(3000), [] { return ClipboardText() == L"Hello, world"; }))
        << Narrow(ClipboardText()) << LogTail();

    // Another window comes forward while the menu is open: the menu goes.
    menu = PressCell(bar, 1);
    ASSERT_TRUE(menu) << LogTail();
    MoveMouseAndStay(kAway.x, kAway.y);
    Sleep(600);  // a menu just opened is left alone for half a second
    const double from = NowMs();
    ASSERT_TRUE(probes_.Open(L"--title=Other"));
    EXPECT_TRUE(Closes(menu)) << "the menu stayed open" << LogTail();
    std::printf("button menu closed %.0f ms after another window came forward\n", NowMs() - from);
}

TEST_F(Menus, AThousandEntryMainMenuStaysOnTheScreen) {
    std::string items;
    for (int i = 0; i < 1000; ++i)
        items += "[MenuItem]\r\nDesc=Entry " + std::to_string(i) + "\r\nPath=notepad.exe\r\n"
                 "Icon=**" + std::to_string(i % 50 + 1) + "\r\n\r\n";
    HWND bar = StartBar(items + Ini({Button("B", "notepad.exe")}, "AutoRed=0\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    HWND menu = OpenMainMenu(bar, 1);
    ASSERT_TRUE(menu) << "no popup menu" << LogTail();
    const RECT m = WindowRect(menu);
    EXPECT_TRUE(m.left >= 0 && m.top >= 0 && m.right <= GetSystemMetrics(SM_CXSCREEN) &&
                m.bottom <= GetSystemMetrics(SM_CYSCREEN))
        << Describe(m);
    // A click beside it closes it, although the bar is not the window in front.
    MoveMouseAndStay(kAway.x, kAway.y);
    ClickHere();
    EXPECT_TRUE(Closes(menu)) << LogTail();
}

TEST_F(Menus, ContextMenuRemovesAButton_ManyOpeningsAndRebuildsLeakNothing) {
    std::vector<Button> buttons = Notepads(3);
    buttons.insert(buttons.begin() + 1, Button("--->Sub", "notepad.exe"));
    // FixMnuProblem brings the bar in front for its menu, so that Escape reaches it.
    HWND bar = StartBar(
        Ini(buttons, "AutoRed=0\r\nForcedLanguage=2\r\nFixMnuProblem=1\r\nLogLevel=3\r\n"));
    ASSERT_TRUE(bar) << "the bar did not appear";
    const LONG width = WindowRect(bar).right - WindowRect(bar).left;
    HWND menu = PressCell(bar, 1, MOUSEEVENTF_RIGHTDOWN, VK_CONTROL);
    ASSERT_TRUE(menu) << "no context menu" << LogTail();
    const RECT m = WindowRect(menu);
    // "Remove Button", the last of three entries.
    MoveMouseAndStay((m.left + m.right) / 2, m.bottom - (m.bottom - m.top) / 6);
    ClickHere();
    EXPECT_TRUE(WaitFor(Ms(5000), [&] {
        return WindowRect(bar).right - WindowRect(bar).left == width - 22;
    })) << "the bar kept its width" << LogTail();
    EXPECT_TRUE(WaitFor(Ms(5000), [&] {
        return ReadWholeFile(Folder().IniFile()).value_or("").find("Icon=**2") ==
               std::string::npos;
    })) << "the removal was not saved" << LogTail();

    // The first opening sets the level; 200 openings and 50 rebuilds of the bar (each
    // rebuilding the button menus) later it holds.
    ASSERT_TRUE(OpenMainMenu(bar, 2)) << LogTail();
    TypeKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor(Ms(3000), [&] { return Logged("Menu closed; own handles: ") >= 2; }));
    const auto lastCount = [&] {
        const std::vector<std::string> m = LogMessages();
        for (auto it = m.rbegin(); it != m.rend(); ++it)
            if (it->starts_with("Menu closed; own handles: ")) return *it;
        return std::string();
    };
    const std::string first = lastCount();
    const auto workingSet = [&] {
        PROCESS_MEMORY_COUNTERS pmc{};
        GetProcessMemoryInfo(Last().Handle(), &pmc, sizeof pmc);
        return pmc.WorkingSetSize;
    };
    const SIZE_T wsFirst = workingSet();
    for (int i = 0; i < 200; ++i) {
        if (i % 4 == 0) SendMessageW(bar, WM_SYSCOLORCHANGE, 0, 0);  // the bar rebuilds itself
        HWND open = OpenMainMenu(bar, 2);
        ASSERT_TRUE(open) << "opening " << i << LogTail();
        TypeKey(VK_ESCAPE);
        ASSERT_TRUE(Closes(open)) << "opening " << i;
    }
    ASSERT_TRUE(WaitFor(Ms(3000), [&] { return Logged("Menu closed; own handles: ") >= 202; }));
    EXPECT_EQ(lastCount(), first);
    EXPECT_LT(workingSet(), wsFirst + 4 * 1024 * 1024) << "the working set grew";
}

}  // namespace
}  // namespace zorv::e2e
