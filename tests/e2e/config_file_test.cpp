// The configuration file as a user finds it on disk: the file written on a
// first start, its encoding, and what a save that cannot write leaves behind.
#include <algorithm>

#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

using ConfigFile = ZorvE2E;

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kFileHeader[] = "; ZorvPanel V0.01\r\n\r\n\r\n";
constexpr char kSettingsHeader[] = "[Settings]\r\n\r\n";

// Every settings key in the order the program writes them.
const std::vector<std::string> kSettingKeys = {
    "AutoRed=",           "SoftRed=",         "RestoreDelay=",
    "SendWmPaints=",      "ToolTip=",         "Hole=",
    "NoDragDropSource=",  "W4Idle=",          "TaskbarTop=",
    "ASDelay=",           "ASPause=",         "SepColor=",
    "LineColor=",         "TransparencyIdx=", "MnuHotkey=",
    "ASTimeLimit=",       "ACSkip=",          "ShowAItems=",
    "Maximizer=",         "ProcessPrio=",     "ListWinSizeButtons=",
    "ListWinSizeMenu=",   "ListWinSizeClip=", "FixMnuProblem=",
    "MnuFlat=",           "ButFlat=",         "RefreshOnCDS=",
    "ButH_id=",           "LastColor3DFace=", "LastBitsPerPixel=",
    "ForcedBarRight=",    "ForcedLanguage=",  "FixFontProblem=",
    "ForcedColor3DFace=", "LogLevel=",        "WriteLogfile=",
    "WriteDebugView=",
};

// Items in the program's own text form, so that they must come back byte for
// byte. Every item names every key: a key left out would inherit the value of
// the item read before it.
constexpr char kEditorButton[] =
    "[Button]\r\nDesc=Editor\r\nPath=C:\\windows\\notepad.exe\r\nWrkDir=C:\\windows\r\n"
    "UserType=0\r\nIcon=C:\\windows\\notepad.exe\r\nActivate=1\r\nTitle=\r\nStyle=1\r\n"
    "Prio=2\r\nHotkey=0\r\n";
constexpr char kSeparatorButton[] =
    "[Button]\r\nDesc=-\r\nPath=\r\nWrkDir=\r\nUserType=0\r\nIcon=\r\nActivate=0\r\nTitle=\r\n"
    "Style=0\r\nPrio=2\r\nHotkey=0\r\n";
constexpr char kShellButton[] =
    "[Button]\r\nDesc=Command Prompt\r\nPath=C:\\windows\\system32\\cmd.exe /k ver\r\n"
    "WrkDir=C:\\users\r\nUserType=4\r\nIcon=C:\\windows\\system32\\cmd.exe\r\nActivate=2\r\n"
    "Title=Cmd\r\nStyle=3\r\nPrio=1\r\nHotkey=0\r\n";
constexpr char kMenuItem[] =
    "[MenuItem]\r\nDesc=Calculator\r\nPath=C:\\windows\\system32\\calc.exe\r\nWrkDir=\r\n"
    "UserType=0\r\nIcon=\r\nActivate=1\r\nTitle=\r\nStyle=1\r\nPrio=2\r\nHotkey=0\r\n";
constexpr char kAddressClip[] =
    "[ClipboardItem]\r\nDesc=Address\r\nText=Jane Doe\r\nText=1 Main Street\r\nActivate=0\r\n"
    "Hotkey=0\r\n";

// Settings whose values differ from the defaults and survive a round trip
// (the bar keeps LastColor3DFace equal to the face colour it was built for).
const std::vector<std::string> kGivenSettings = {
    "ToolTip=1",        "Hole=1",
    "ASDelay=5",        "ASPause=0.5",
    "SepColor=3",       "ACSkip=1",
    "ShowAItems=1",     "ListWinSizeButtons=400,300",
    "MnuFlat=1",        "ButFlat=1",
    "RefreshOnCDS=0",   "LastColor3DFace=C0C0C0",
    "ForcedLanguage=2", "ForcedColor3DFace=C0C0C0",
    "LogLevel=1",       "WriteLogfile=1",
};

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The part of a written file between the header and "[Settings]": each item
// followed by an empty line, each of the six lists by one more.
std::string ItemPart(const std::string& file) {
    const size_t start = file.find(kFileHeader);
    const size_t end = file.rfind(kSettingsHeader);
    if (start == std::string::npos || end == std::string::npos || end < start) return {};
    const size_t from = start + std::string(kFileHeader).size();
    return file.substr(from, end - from);
}

// The "key=value" lines after "[Settings]", without the final empty line.
std::vector<std::string> SettingLines(const std::string& file) {
    const size_t at = file.rfind(kSettingsHeader);
    if (at == std::string::npos) return {};
    std::vector<std::string> lines =
        SplitCrLf(file.substr(at + std::string(kSettingsHeader).size()));
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

std::vector<std::string> KeysOf(const std::vector<std::string>& lines) {
    std::vector<std::string> keys;
    for (const std::string& line : lines) keys.push_back(line.substr(0, line.find('=') + 1));
    return keys;
}

TEST_F(ConfigFile, FirstStartWithOldFile_WritesOwnLayoutAboutOneSecondLater) {
    // Settings first, lists out of order and without empty lines: the
    // program writes its own layout, not a copy.
    const std::string old = "; written by hand\r\n[Settings]\r\n" + Join(kGivenSettings) +
                            kAddressClip + kEditorButton + kMenuItem + kSeparatorButton +
                            kShellButton;
    WriteWholeFile(Folder().Path() / L"zorv.ini", old);

    Process& p = Start(L"noau nostart");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";
    std::optional<std::string> written = WaitForFile(Folder().IniFile(), Ms(10000));
    const double writtenAfter = NowMs() - p.StartMs();
    ASSERT_TRUE(written) << "no ZorvPanel.ini 10 s after the start";
    EXPECT_GE(writtenAfter, 900.0) << "written before the one-second delay";

    EXPECT_EQ(written->rfind(kFileHeader, 0), 0u) << *written;
    const std::string buttons =
        std::string(kEditorButton) + "\r\n" + kSeparatorButton + "\r\n" + kShellButton + "\r\n\r\n";
    const std::string menu = std::string(kMenuItem) + "\r\n\r\n";
    const std::string clips = std::string(kAddressClip) + "\r\n\r\n";
    // Buttons, main menu, autostart, autoclose, clipboard, second clipboard.
    EXPECT_EQ(ItemPart(*written), buttons + menu + "\r\n" + "\r\n" + clips + "\r\n");

    const std::vector<std::string> settings = SettingLines(*written);
    EXPECT_EQ(KeysOf(settings), kSettingKeys);
    for (const std::string& given : kGivenSettings) {
        EXPECT_NE(std::find(settings.begin(), settings.end(), given), settings.end())
            << given << " was not written back";
    }
    EXPECT_EQ(written->substr(written->size() - 4), "\r\n\r\n");

    EXPECT_EQ(ReadWholeFile(Folder().Path() / L"zorv.ini"), old) << "zorv.ini was changed";
    EXPECT_FALSE(fs::exists(Folder().Path() / L"ZorvPanel-bak.ini"))
        << "a backup without a previous file";
    EXPECT_TRUE(p.IsRunning());
}

TEST_F(ConfigFile, FirstStartWithoutAnyFile_WritesEmptyListsAndDefaults) {
    HKEY key = nullptr;
    const bool oldStore =
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Zorv", 0,
                      KEY_READ, &key) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    ASSERT_FALSE(oldStore) << "the prefix holds settings of the older version";

    Process& p = Start(L"noau nostart");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";
    std::optional<std::string> written = WaitForFile(Folder().IniFile(), Ms(10000));
    ASSERT_TRUE(written) << "no ZorvPanel.ini 10 s after the start";

    EXPECT_EQ(written->rfind(kFileHeader, 0), 0u) << *written;
    EXPECT_EQ(ItemPart(*written), "\r\n\r\n\r\n\r\n\r\n\r\n") << "not six empty lists";
    // The defaults; "ForcedColor3DFace=" is left out while it is unset.
    std::vector<std::string> keys = kSettingKeys;
    keys.erase(std::find(keys.begin(), keys.end(), "ForcedColor3DFace="));
    const std::vector<std::string> settings = SettingLines(*written);
    EXPECT_EQ(KeysOf(settings), keys);
    for (const char* want : {"AutoRed=0", "W4Idle=0", "ASPause=0", "ListWinSizeButtons=0,0",
                             "RefreshOnCDS=1", "ForcedLanguage=0", "LogLevel=0"}) {
        EXPECT_NE(std::find(settings.begin(), settings.end(), want), settings.end()) << want;
    }
    EXPECT_FALSE(fs::exists(Folder().Path() / L"ZorvPanel-bak.ini"));
}

TEST_F(ConfigFile, Utf8FileWithBom_IsWrittenBackAsUtf8WithBom) {
    // "Привет" (Cyrillic) and "Καλημέρα" (Greek): neither fits code page 1252.
    const std::string cyrillic = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
    const std::string greek = "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1";
    const std::string button = "[Button]\r\nDesc=" + cyrillic +
                               "\r\nPath=C:\\windows\\notepad.exe\r\nWrkDir=\r\nUserType=0\r\n"
                               "Icon=\r\nActivate=1\r\nTitle=\r\nStyle=1\r\nPrio=2\r\nHotkey=0\r\n";
    const std::string clip =
        "[ClipboardItem]\r\nDesc=" + greek + "\r\nText=" + greek + "\r\nActivate=0\r\nHotkey=0\r\n";
    WriteWholeFile(Folder().Path() / L"zorv.ini", kBom + button + clip + "[Settings]\r\n");

    Process& p = Start(L"noau nostart");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";
    std::optional<std::string> written = WaitForFile(Folder().IniFile(), Ms(10000));
    ASSERT_TRUE(written) << "no ZorvPanel.ini 10 s after the start";

    EXPECT_EQ(written->rfind(std::string(kBom) + kFileHeader, 0), 0u)
        << "not UTF-8 with BOM: " << written->substr(0, 24);
    EXPECT_EQ(ItemPart(*written), button + "\r\n\r\n\r\n\r\n\r\n" + clip + "\r\n\r\n\r\n");
}

TEST_F(ConfigFile, CodePageFile_IsWrittenBackInCodePage) {
    // "Menü" in code page 1252; as UTF-8 it would be two bytes.
    const std::string clip =
        "[Clipboard2Item]\r\nDesc=Men\xFC\r\nText=Gr\xFC\xDF"
        "e\r\nActivate=0\r\nHotkey=0\r\n";
    WriteWholeFile(Folder().Path() / L"zorv.ini", clip);

    Process& p = Start(L"noau nostart");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";
    std::optional<std::string> written = WaitForFile(Folder().IniFile(), Ms(10000));
    ASSERT_TRUE(written) << "no ZorvPanel.ini 10 s after the start";

    ASSERT_EQ(GetACP(), 1252u) << "the test assumes the Western code page";
    EXPECT_EQ(written->rfind(kFileHeader, 0), 0u) << "not plain code-page text";
    EXPECT_EQ(ItemPart(*written), "\r\n\r\n\r\n\r\n\r\n" + clip + "\r\n\r\n");
}

// At start a save happens only when the settings came from zorv.ini (or the
// older store): ZorvPanel.ini itself is then missing. A folder of that name
// is "missing" as a file but blocks every way of putting a file there.
TEST_F(ConfigFile, UnwritableFile_ShowsExclamationBox_AndKeepsEverything) {
    const std::string old = "[Settings]\r\nForcedLanguage=2\r\n";
    WriteWholeFile(Folder().Path() / L"zorv.ini", old);
    fs::create_directory(Folder().IniFile());
    WriteWholeFile(Folder().IniFile() / L"inside.txt", "kept");
    const std::vector<std::wstring> before = FolderEntries(Folder().Path());

    Process& p = Start(L"noau nostart");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";
    HWND box = WaitForMessageBox(p);
    ASSERT_TRUE(box) << "no message box titled ZorvPanel";
    EXPECT_EQ(MessageBoxText(box), L"Error saving Zorv.INI");
    EXPECT_TRUE(ShowsExclamationIcon(box)) << "the box does not show the exclamation icon";
    EXPECT_FALSE(ShowsCriticalIcon(box));

    ASSERT_TRUE(PressOk(box));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, Ms(5000))) << "the box stays open";
    EXPECT_TRUE(p.IsRunning()) << "the program ended after the failed save";
    EXPECT_TRUE(WaitForShownBar(p, Ms(2000))) << "the bar is gone";

    EXPECT_EQ(ReadWholeFile(Folder().Path() / L"zorv.ini"), old);
    EXPECT_TRUE(fs::is_directory(Folder().IniFile()));
    EXPECT_EQ(ReadWholeFile(Folder().IniFile() / L"inside.txt"), std::string("kept"));
    // Nothing new beside the program: no temporary file, no backup.
    EXPECT_EQ(FolderEntries(Folder().Path()), before);
}

}  // namespace
}  // namespace zorv::e2e
