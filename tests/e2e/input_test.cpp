// Snippets and hotkeys as a user meets them: with Notepad in front, a clipboard item's hotkey
// pastes its text and leaves the clipboard as it was, in every format; a typed item arrives
// key by key, any character unchanged; an item's hotkey starts its program; the main menu's
// hotkey opens the menu; a doubled press pastes once.
#include "zorv_fixture.h"

#include <cstring>
#include <map>

namespace zorv::e2e {
namespace {

constexpr int kPasteKey = VK_F9, kTypeKey = VK_F8, kUnicodeKey = VK_F6, kItemKey = VK_F11,
              kMenuKey = VK_F7;
// Ctrl+Shift+<key> as the configuration stores it.
std::string HotkeyOf(int vk) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", 0x600 + vk);
    return hex;
}

Button Item(std::string_view section, std::string desc, std::string path, int activate, int vk) {
    Button b(std::move(desc), std::move(path), "", "", activate);
    b.Text.replace(0, 8, std::string(section));
    b.Text.replace(b.Text.find("Hotkey=0"), 8, "Hotkey=" + HotkeyOf(vk));
    return b;
}

// Ctrl+Shift+`vk`, pressed and released `times` times in one go, as a keyboard would.
void PressHotkey(int vk, int times = 1) {
    std::vector<INPUT> in;
    const auto key = [&](WORD k, bool up) {
        INPUT i{INPUT_KEYBOARD, {}};
        i.ki.wVk = k;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    key(VK_CONTROL, false), key(VK_SHIFT, false);
    for (int i = 0; i < times; ++i) key(WORD(vk), false), key(WORD(vk), true);
    key(VK_SHIFT, true), key(VK_CONTROL, true);
    SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

// Every format on the clipboard with the bytes of those held in memory.
using ClipboardFormats = std::map<UINT, std::string>;
ClipboardFormats ReadClipboard() {
    ClipboardFormats formats;
    if (!WaitFor(Ms(2000), [] { return OpenClipboard(nullptr) != FALSE; })) return formats;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
        std::string& bytes = formats[f];
        if (f == CF_BITMAP || f == CF_PALETTE || f == CF_METAFILEPICT || f == CF_ENHMETAFILE)
            continue;
        HANDLE h = GetClipboardData(f);
        if (const char* p = h ? static_cast<const char*>(GlobalLock(h)) : nullptr) {
            bytes.assign(p, GlobalSize(h));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return formats;
}

void WriteClipboard(const std::wstring& text, UINT format, const std::string& data) {
    ASSERT_TRUE(WaitFor(Ms(2000), [] { return OpenClipboard(nullptr) != FALSE; }));
    EmptyClipboard();
    const auto put = [](UINT f, const void* bytes, size_t size) {
        HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(m), bytes, size);
        GlobalUnlock(m);
        SetClipboardData(f, m);
    };
    put(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    put(format, data.c_str(), data.size() + 1);
    CloseClipboard();
}

class Input : public ZorvE2E {
  protected:
    Probes probes_{Folder().Root() / L"Probe Tools" / L"zorv_probe.exe",
                   Folder().Root() / L"probe records"};

    // Starts the bar with these items, then Notepad in front of it; answers Notepad's edit box.
    HWND StartWithNotepad(std::vector<Button> items, std::string_view settings = "") {
        items.insert(items.begin(), Button("B", "notepad.exe"));
        HWND bar = StartBar("\xEF\xBB\xBF" + Ini(items, settings));
        if (!bar) return nullptr;
        notepad_ =
            std::make_unique<Process>(L"C:\\windows\\system32\\notepad.exe", L"", Folder().Cwd());
        HWND np = WaitForWindow(notepad_->Id(), L"Notepad", nullptr, Ms(10000));
        if (!np || !Activate(np)) return nullptr;
        return FindWindowExW(np, nullptr, L"Edit", nullptr);
    }
    static std::wstring TextOf(HWND edit) {
        wchar_t text[512] = L"";
        DWORD_PTR n = 0;
        SendMessageTimeoutW(edit, WM_GETTEXT, 512, LPARAM(text), SMTO_ABORTIFHUNG, 1000, &n);
        return text;
    }
    static bool Shows(HWND edit, const std::wstring& text) {
        return WaitFor(Ms(5000), [&] { return TextOf(edit) == text; });
    }

    std::unique_ptr<Process> notepad_;
};

TEST_F(Input, PasteHotkey_PastesIntoNotepad_ClipboardKeepsEveryFormat_DoublePressPastesOnce) {
    HWND edit = StartWithNotepad({Item("[ClipboardItem]", "Paste", "Hello, paste", 1, kPasteKey)});
    ASSERT_TRUE(edit) << LogTail();
    const UINT html = RegisterClipboardFormatW(L"HTML Format");
    WriteClipboard(L"before the paste", html, "<b>kept</b>");
    const ClipboardFormats before = ReadClipboard();
    ASSERT_EQ(before.count(html), 1u);

    PressHotkey(kPasteKey);
    EXPECT_TRUE(Shows(edit, L"Hello, paste")) << Narrow(TextOf(edit)) << LogTail();
    ClipboardFormats after;
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return (after = ReadClipboard()) == before; }))
        << "the clipboard was not put back: " << after.size() << " formats, text "
        << after[CF_UNICODETEXT].size() << " bytes" << LogTail();

    // Two presses at once (a key that repeats): one paste, the second is dropped.
    PressHotkey(kPasteKey, 2);
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return Logged("PasteText: a second paste") == 1; }))
        << LogTail();
    EXPECT_TRUE(Shows(edit, L"Hello, pasteHello, paste")) << Narrow(TextOf(edit)) << LogTail();
    EXPECT_TRUE(WaitFor(Ms(5000), [&] { return ReadClipboard() == before; }));

    // Another program holds the clipboard open: no paste, and nothing of it is lost.
    ASSERT_TRUE(OpenClipboard(nullptr));
    PressHotkey(kPasteKey);
    const bool refused =
        WaitFor(Ms(5000), [&] { return Logged("PasteText: the clipboard stayed busy") == 1; });
    CloseClipboard();
    EXPECT_TRUE(refused) << LogTail();
    EXPECT_EQ(ReadClipboard(), before);
    EXPECT_EQ(TextOf(edit), L"Hello, pasteHello, paste");
}

TEST_F(Input, TypedItems_ArriveKeyByKey_AnyCharacterUnchanged) {
    HWND edit = StartWithNotepad(
        {Item("[ClipboardItem]", "Keys", "a{{b}{TAB}c", 2, kTypeKey),
         Item("[Clipboard2Item]", "Unicode",
              "\xC3\xA9\xE2\x82\xAC\xC3\x9F \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", 2,
              kUnicodeKey)});
    ASSERT_TRUE(edit) << LogTail();
    PressHotkey(kTypeKey);
    // "{{" is one brace; a "}" that closes no token is a character.
    EXPECT_TRUE(Shows(edit, L"a{b}\tc")) << Narrow(TextOf(edit)) << LogTail();
    PressHotkey(kUnicodeKey);
    EXPECT_TRUE(Shows(edit, L"a{b}\tc\u00E9\u20AC\u00DF \u041F\u0440\u0438\u0432\u0435\u0442"))
        << LogTail();
}

TEST_F(Input, ItemHotkey_StartsItsProgram_MenuHotkey_OpensTheMainMenuUnderTheBar) {
    // Another program holds Ctrl+Shift+F5: that item is named in the log, the rest work.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_F5));
    const std::string probe = "\"" + Narrow(probes_.Exe().wstring()) + "\" --title=ByHotkey";
    HWND edit = StartWithNotepad({Item("[MenuItem]", "Taken", "notepad.exe", 0, VK_F5),
                                  Item("[MenuItem]", "Probe", probe, 0, kItemKey)},
                                 "MnuHotkey=" + HotkeyOf(kMenuKey) + "\r\n");
    UnregisterHotKey(nullptr, 1);
    ASSERT_TRUE(edit) << LogTail();
    EXPECT_EQ(Logged("Hotkey 674 ("), 1) << LogTail();  // with the system's names of the keys
    PressHotkey(kItemKey);
    const std::optional<ProbeRecord> started = probes_.Next();
    ASSERT_TRUE(started) << LogTail();
    EXPECT_NE(started->CmdLine.find("--title=ByHotkey"), std::string::npos);

    MoveMouseAndStay(kAway.x, kAway.y);
    PressHotkey(kMenuKey);
    HWND menu = WaitForWindow(Last().Id(), L"#32768", nullptr, Ms(5000));
    ASSERT_TRUE(menu) << LogTail();
    const RECT m = WindowRect(menu), b = WindowRect(FindBarOf(Last().Id()));
    EXPECT_EQ(m.top, b.bottom) << Describe(m) << " under " << Describe(b);
    MoveMouseAndStay(kAway.x - 100, kAway.y - 100);
    ClickHere();
    EXPECT_TRUE(WaitFor(Ms(3000), [&] { return !IsWindow(menu) || !IsWindowVisible(menu); }));
}

}  // namespace
}  // namespace zorv::e2e
