// Start-up: which configuration file the program reads (the "/ini=" switch,
// an older file, none at all), the file it writes back and its encoding, the
// log it starts, and a second start that replaces the running bar.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

using StartUp = ZorvE2E;

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kHeader[] = "; ZorvPanel V0.01\r\n\r\n\r\n";
constexpr char kSettingsHeader[] = "[Settings]\r\n\r\n";
constexpr char kStaleLog[] = "stale line of an earlier run\r\n";

// Every settings key in the order the program writes them.
constexpr char kKeys[] =
    "AutoRed SoftRed RestoreDelay SendWmPaints ToolTip Hole NoDragDropSource W4Idle TaskbarTop "
    "ASDelay ASPause SepColor LineColor TransparencyIdx MnuHotkey ASTimeLimit ACSkip ShowAItems "
    "Maximizer ProcessPrio ListWinSizeButtons ListWinSizeMenu ListWinSizeClip FixMnuProblem "
    "MnuFlat ButFlat RefreshOnCDS ButH_id LastColor3DFace LastBitsPerPixel ForcedBarRight "
    "ForcedLanguage FixFontProblem ForcedColor3DFace LogLevel WriteLogfile WriteDebugView";

// Items in the program's own text form, so that they must come back byte for
// byte. Every item names every key: a key left out would inherit the value of
// the item read before it.
constexpr char kEditor[] =
    "[Button]\r\nDesc=Editor\r\nPath=C:\\windows\\notepad.exe\r\nWrkDir=C:\\windows\r\n"
    "UserType=0\r\nIcon=C:\\windows\\notepad.exe\r\nActivate=1\r\nTitle=\r\nStyle=1\r\n"
    "Prio=2\r\nHotkey=0\r\n";
constexpr char kSeparator[] =
    "[Button]\r\nDesc=-\r\nPath=\r\nWrkDir=\r\nUserType=0\r\nIcon=\r\nActivate=0\r\nTitle=\r\n"
    "Style=0\r\nPrio=2\r\nHotkey=0\r\n";
constexpr char kShell[] =
    "[Button]\r\nDesc=Command Prompt\r\nPath=C:\\windows\\system32\\cmd.exe /k ver\r\n"
    "WrkDir=C:\\users\r\nUserType=4\r\nIcon=C:\\windows\\system32\\cmd.exe\r\nActivate=2\r\n"
    "Title=Cmd\r\nStyle=3\r\nPrio=1\r\nHotkey=0\r\n";
constexpr char kMenuItem[] =
    "[MenuItem]\r\nDesc=Calculator\r\nPath=C:\\windows\\system32\\calc.exe\r\nWrkDir=\r\n"
    "UserType=0\r\nIcon=\r\nActivate=1\r\nTitle=\r\nStyle=1\r\nPrio=2\r\nHotkey=0\r\n";
constexpr char kAddress[] =
    "[ClipboardItem]\r\nDesc=Address\r\nText=Jane Doe\r\nText=1 Main Street\r\nActivate=0\r\n"
    "Hotkey=0\r\n";
// "Menü" and "Grüße" in code page 1252; as UTF-8 they would be longer.
constexpr char kCodePageClip[] =
    "[Clipboard2Item]\r\nDesc=Men\xFC\r\nText=Gr\xFC\xDF"
    "e\r\nActivate=0\r\nHotkey=0\r\n";
// "Привет" (Cyrillic) and "Καλημέρα" (Greek): neither fits code page 1252.
constexpr char kUtf8Button[] =
    "[Button]\r\nDesc=\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\nPath=C:\\windows\\"
    "notepad.exe\r\nWrkDir=\r\nUserType=0\r\nIcon=\r\nActivate=1\r\nTitle=\r\nStyle=1\r\nPrio=2"
    "\r\nHotkey=0\r\n";
constexpr char kUtf8Clip[] =
    "[ClipboardItem]\r\nDesc=\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1\r\n"
    "Text=\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1\r\nActivate=0\r\n"
    "Hotkey=0\r\n";

// Settings that differ from the defaults and survive a round trip (the bar
// keeps LastColor3DFace equal to the face colour it was built for).
const std::vector<std::string> kGiven = {"AutoRed=1",
                                         "ToolTip=1",
                                         "Hole=1",
                                         "ASDelay=5",
                                         "ASPause=0.5",
                                         "SepColor=3",
                                         "ACSkip=1",
                                         "ShowAItems=1",
                                         "ListWinSizeButtons=400,300",
                                         "MnuFlat=1",
                                         "ButFlat=1",
                                         "RefreshOnCDS=0",
                                         "LastColor3DFace=C0C0C0",
                                         "ForcedLanguage=2",
                                         "ForcedColor3DFace=C0C0C0",
                                         "LogLevel=1",
                                         "WriteLogfile=1"};
// Defaults of a first start without any file.
const std::vector<std::string> kDefaults = {
    "AutoRed=0",      "W4Idle=0",         "ASPause=0", "ListWinSizeButtons=0,0",
    "RefreshOnCDS=1", "ForcedLanguage=0", "LogLevel=0"};

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

TEST_F(StartUp, ConfigurationFiles_AreReadFromTheProgramFolder_AndWrittenInTheProgramsLayout) {
    HKEY key = nullptr;
    ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Zorv", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS)
        << "the prefix holds settings of the older version";
    ASSERT_EQ(GetACP(), 1252u) << "the test assumes the Western code page";
    const std::string e = "\r\n", old = "; written by hand\r\n[Settings]\r\n" + Lines(kGiven) +
                                        kAddress + kEditor + kMenuItem + kSeparator + kShell;
    const struct {
        std::wstring args, source;  // the file written before the start, if any
        std::string text;
        std::wstring written;     // the file the program writes
        std::string head, items;  // its start, and its part between header and "[Settings]"
        std::vector<std::string> settings;  // among its settings
        // The log level the log starts with; 0: the old log stays; -1: not
        // judged (the log settings of zorv.ini come too late for its start).
        int banner;
    } cases[] = {
        // Settings first, lists out of order and without empty lines: the
        // program writes its own layout, not a copy. The lists: buttons, main
        // menu, autostart, autoclose, clipboard, second clipboard.
        {L"", L"zorv.ini", old, L"ZorvPanel.ini", kHeader,
         kEditor + e + kSeparator + e + kShell + e + e + kMenuItem + e + e + e + e + kAddress + e +
             e + e,
         kGiven, -1},
        {L"",
         L"zorv.ini",
         kBom + (kUtf8Button + (kUtf8Clip + ("[Settings]" + e))),
         L"ZorvPanel.ini",
         kBom + std::string(kHeader),
         kUtf8Button + e + e + e + e + e + kUtf8Clip + e + e + e,
         {},
         0},
        // A relative name is taken in the program folder, not the working one.
        {L"/ini=custom.ini", L"", "", L"custom.ini", kHeader, e + e + e + e + e + e, kDefaults, 0},
        // Without a stored face colour the bar saves what it was built for.
        {L"/ini=other.ini",
         L"other.ini",
         kCodePageClip + ("[Settings]" + e + "LogLevel=3" + e + "WriteLogfile=1" + e),
         L"other.ini",
         kHeader,
         e + e + e + e + e + kCodePageClip + e + e,
         {"LogLevel=3", "WriteLogfile=1"},
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.args + L" " + c.source));
        Reset();
        const fs::path dir = Folder().Path(), log = dir / L"zorv.log";
        WriteWholeFile(log, kStaleLog);
        if (!c.source.empty()) WriteWholeFile(dir / c.source, c.text);
        Process& p = Start(L"noau nostart " + c.args);
        ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";
        std::string written;
        ASSERT_TRUE(WaitFor(
            [&] {
                written = ReadWholeFile(dir / c.written).value_or("");
                return written.starts_with(c.head) && written.ends_with(e + e);
            },
            Ms(10000)))
            << "not written: " << written;
        const double after = NowMs() - p.StartMs();
        EXPECT_GE(after, 900.0) << "written before the one-second delay";
        EXPECT_LE(after, 2500.0);

        const size_t items = c.head.size(), settings = written.rfind(kSettingsHeader);
        ASSERT_NE(settings, std::string::npos) << written;
        EXPECT_EQ(written.substr(items, settings - items), c.items);
        std::string keys;
        for (size_t at = settings + 14; written.compare(at, 2, e); at = written.find(e, at) + 2) {
            keys += (keys.empty() ? "" : " ") + written.substr(at, written.find('=', at) - at);
        }
        std::string want = kKeys;  // only kGiven sets a forced face colour
        if (c.settings != kGiven) want.erase(want.find(" ForcedColor3DFace"), 18);
        EXPECT_EQ(keys, want);
        for (const std::string& s : c.settings) {
            EXPECT_NE(written.find(e + s + e), std::string::npos) << s << " not written";
        }

        EXPECT_TRUE(c.source != L"zorv.ini" || ReadWholeFile(dir / c.source) == c.text)
            << "changed";
        EXPECT_FALSE(fs::exists(dir / L"ZorvPanel-bak.ini")) << "a backup without a previous file";
        EXPECT_EQ(fs::exists(Folder().IniFile()), c.written == L"ZorvPanel.ini");
        EXPECT_TRUE(FolderEntries(Folder().Cwd()).empty()) << "wrote into the working folder";
        const std::vector<std::string> m = LogMessages();
        const std::string banner =
            "------------- Zorv START LOG (" + std::to_string(c.banner) + ")---------------";
        EXPECT_TRUE(c.banner != 0 || ReadWholeFile(log) == kStaleLog) << "the old log changed";
        if (c.banner > 0) {
            ASSERT_GE(m.size(), 5u);
            EXPECT_EQ(std::vector<std::string>(m.begin(), m.begin() + 4), std::vector(4, banner));
            EXPECT_NE(m[4], banner) << "more than four banner lines";
            EXPECT_EQ(ReadWholeFile(log)->find("stale"), std::string::npos);
        }
        EXPECT_TRUE(p.IsRunning());
    }
}

TEST_F(StartUp, UnusableIniSwitch_ShowsAGermanStopBox_AndEndsWithoutABar) {
    // An absolute path in a folder that does not exist cannot be created.
    const std::wstring value = (Folder().Root() / L"missing" / L"zorv.ini").wstring();
    Process& p = Start(L"noau nostart /ini=" + value);
    bool barSeen = false;
    HWND box = nullptr;
    WaitFor(
        [&] {
            barSeen = barSeen || FindBarOf(p.Id());
            return (box = FindMessageBox(p.Id(), kBoxTitle)) || !p.IsRunning();
        },
        Ms(15000));
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(MessageBoxText(box), L"'" + value + L"' ist ung\u00fcltig");
    EXPECT_TRUE(ShowsIcon(box, IconColour::Red)) << "not the critical (red) icon";
    ASSERT_TRUE(PressOk(box));
    EXPECT_TRUE(
        WaitFor([&] { return (barSeen = barSeen || FindBarOf(p.Id())), !p.IsRunning(); }, Ms(5000)))
        << "the program still runs after OK";
    EXPECT_FALSE(barSeen) << "a bar window was created";
    EXPECT_FALSE(fs::exists(Folder().Root() / L"missing"));
}

// W4Idle: the first tick always counts as busy, and the second compares with
// the zeros of an empty history, so a waiting start shows the bar two seconds
// after its creation at the earliest, sixteen at the latest; "noau" shows it
// at once. Measured from the bar's creation, so a slow process start does not
// count.
TEST_F(StartUp, SecondStart_ReplacesTheRunningBar_AndW4IdleWaitsOnlyWithoutNoau) {
    Folder().WriteIni("[Settings]\r\nW4Idle=1\r\n");
    // How long after its creation the bar of `p` showed; -1 if it did not.
    const auto shownAfterCreation = [&](const Process& p) {
        if (!WaitFor([&] { return FindBarOf(p.Id()) != nullptr; }, Ms(15000))) return -1.0;
        const double created = NowMs();
        return WaitForShownBar(p, Ms(25000)) ? NowMs() - created : -1.0;
    };
    Process& first = Start();
    const double one = shownAfterCreation(first);
    ASSERT_GE(one, 0) << "the first bar did not appear";
    EXPECT_LT(one, 1000.0);
    const HWND bar = FindBarOf(first.Id());
    const DWORD ex = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    EXPECT_TRUE(
        WaitFor([&] { return (GetWindowLongPtrW(bar, GWL_EXSTYLE) & ex) == ex; }, Ms(3000)));

    Process& second = Start(L"nostart");
    // The newcomer waits 500 ms after its WM_CLOSE; allow a loaded machine more.
    const std::optional<DWORD> code = first.WaitExit(Ms(5000));
    ASSERT_TRUE(code) << "the first instance still runs 5 s after the second start";
    EXPECT_LT(*code, 0xC0000000u) << "the first instance ended by an exception: " << *code;
    EXPECT_GE(shownAfterCreation(second), 2000.0);
    EXPECT_EQ(TopLevelWindows(0, kBarClass, kBarTitle), std::vector{FindBarOf(second.Id())});
    EXPECT_EQ(FindBar(), FindBarOf(second.Id()));
}

}  // namespace
}  // namespace zorv::e2e
