// The main menu as a user meets it: a click on the bar's main-menu cell opens it under the
// bar, a typed letter starts an item of the main-menu list, and Exit ends the program.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

void TypeKey(WORD vk) {
    INPUT in[2] = {{INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}};
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

class Menus : public ZorvE2E {
  protected:
    Probes probes_{Folder().Root() / L"Probe Tools" / L"zorv_probe.exe",
                   Folder().Root() / L"probe records"};

    // Clicks the main-menu cell (after `buttons` cells) and answers the menu that opens.
    HWND OpenMainMenu(HWND bar, int buttons) {
        const RECT r = WindowRect(bar);
        if (!MoveMouseAndStay(r.left + 22 * buttons + 10, r.top + 10) || !ClickHere()) return 0;
        return WaitForWindow(Last().Id(), L"#32768", nullptr, Ms(5000));
    }
};

TEST_F(Menus, MainMenuCell_OpensUnderTheBar_TypedLetterStartsItem_ExitEndsAfterSaving) {
    Button item("&Probe", "\"" + Narrow(probes_.Exe().wstring()) + "\" --title=FromMenu");
    item.Text.replace(0, 8, "[MenuItem]");
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

}  // namespace
}  // namespace zorv::e2e
