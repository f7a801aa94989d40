#include "items/config_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace zorv {
namespace {

class ConfigFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetSharedParseRecord();
        lists = CreateItemLists();
        SetListNames(lists, true);
    }

    // The settings after reading `text` into defaults.
    Settings Read(std::string_view text, const IniContext& c = IniContext{}) {
        Settings s = DefaultSettings(c.Win9x);
        ReadIniText(text, lists, s, c);
        return s;
    }
    Settings ReadLine(const std::string& line, const IniContext& c = IniContext{}) {
        return Read(line + "\r\n", c);
    }
    Item ItemAt(int list, std::int32_t index) const {
        Item it;
        lists[list].GetItem(index, it);
        return it;
    }

    ItemLists lists;
};

// Each line read alone into the defaults, then the line written for its key.
// 1024 x 768 pixels at 15 twips per pixel (the IniContext defaults): a list
// editor keeps to 0.75 x the screen. An empty flag is on; only exactly "0" is
// off. ButH_id takes the whole value, halves go to the even neighbour, no
// number gives 0. Leading zeros of a colour count (a strong green survives).
TEST_F(ConfigFile, ReadsEveryKeyWithItsLimitsAndSpecialReadings) {
    struct Case {
        const char *key, *in, *written;
    };
    // clang-format off
    const Case cases[] = {
        {"AutoRed", "7", "2"}, {"SoftRed", "", "1"}, {"RestoreDelay", "-5", "0"},
        {"SendWmPaints", "1", "1"}, {"ToolTip", "yes", "1"}, {"Hole", "1", "1"},
        {"NoDragDropSource", "00", "1"}, {"TaskbarTop", "1", "1"}, {"ASDelay", "99", "60"},
        {"SepColor", "9", "4"}, {"LineColor", "4", "4"}, {"TransparencyIdx", "3", "3"},
        {"ACSkip", "1", "1"}, {"ShowAItems", "1", "1"}, {"Maximizer", "1", "1"},
        {"ProcessPrio", "-1", "0"}, {"FixMnuProblem", "1", "1"}, {"MnuFlat", "1", "1"},
        {"ButFlat", "1", "1"}, {"RefreshOnCDS", "0", "0"}, {"LastBitsPerPixel", "32", "32"},
        {"ForcedLanguage", "2", "2"}, {"FixFontProblem", "1", "1"},
        {"ForcedColor3DFace", "FF", "FF"}, {"LogLevel", "3", "3"}, {"WriteLogfile", "1", "1"},
        {"WriteDebugView", "1", "1"}, {"ListWinSizeButtons", "400,300", "400,300"},
        {"ListWinSizeMenu", "2000,900", "768,576"}, {"ListWinSizeClip", "500", "0,0"},
        {"ASTimeLimit", "1", "3"}, {"ASTimeLimit", "1.9", "3"}, {"ASTimeLimit", "2", "2"},
        {"ButH_id", "0.5", "0"}, {"ButH_id", "1.5", "2"}, {"ButH_id", "2.5", "2"},
        {"ButH_id", " 1.49 ", "1"}, {"ButH_id", "0.51", "1"}, {"ButH_id", "1x", "0"},
        {"ButH_id", "", "0"}, {"ButH_id", "x", "0"}, {"ButH_id", "-1", "0"},
        {"ButH_id", "7", "2"}, {"ButH_id", ".", "0"}, {"ButH_id", "1.", "1"},
        {"MnuHotkey", "8000", "FFFF8000"}, {"MnuHotkey", "FFFF", "FFFFFFFF"},
        {"MnuHotkey", "7fff", "7FFF"}, {"MnuHotkey", "10000", "10000"},
        {"MnuHotkey", "zz", "0"}, {"MnuHotkey", "123456789", "0"},
        {"LastColor3DFace", "c8d0d4", "C8D0D4"}, {"LastColor3DFace", "FF00", "FFFFFF00"},
        {"LastColor3DFace", "0FF00", "0FF00"}, {"LastColor3DFace", "00000000FF", "FF"},
        {"W4Idle", "", "1"}, {"W4Idle", " 0", "1"}, {"W4Idle", "0 ", "1"},
        {"W4Idle", "false", "1"}, {"W4Idle", "0", "0"},
        {"ASPause", "0.5", "0.5"}, {"ASPause", "7", "5"}, {"ASPause", " 1.25s", "1.25"},
        {"ASPause", ".5", "0.5"}, {"ASPause", "-1", "0"}, {"ASPause", "-0", "0"},
        {"ForcedBarRight", "5000", "1003"}, {"ForcedBarRight", "-3", "0"},
        {"ForcedBarRight", "1003", "1003"}};
    // clang-format on
    for (const Case& c : cases) {
        const std::string key = std::string(c.key) + "=";
        const std::string out = FormatIni(lists, ReadLine(key + c.in), IniContext{});
        EXPECT_NE(out.find("\r\n" + key + c.written + "\r\n"), std::string::npos) << key << c.in;
    }
    EXPECT_FALSE(std::signbit(ReadLine("ASPause=-0").ASPause));
    EXPECT_EQ(ReadLine("ForcedBarRight=30", IniContext{10, 10}).ForcedBarRight, 0);
}

TEST_F(ConfigFile, ListEditorSizesBecomeTwipsLimitedByTheScreen) {
    IniContext c{1366, 768, 12, 20};
    EXPECT_EQ(ReadLine("ListWinSizeButtons=1366,768", c).ListWinSizeButtons,
              (ListWinSize{1366 * 12, 768 * 20}));
    EXPECT_EQ(ReadLine("ListWinSizeButtons=1367,769", c).ListWinSizeButtons,
              (ListWinSize{1024 * 12, 576 * 20}));  // 0.75 x 1366 rounds down
    EXPECT_EQ(ReadLine("ListWinSizeClip= 20px,abc", c).ListWinSizeClip, (ListWinSize{240, 0}));
    Settings s;
    s.ListWinSizeMenu = {300 * 12, 200 * 20};
    EXPECT_NE(FormatIni(lists, s, c).find("\r\nListWinSizeMenu=300,200\r\n"), std::string::npos);
}

TEST_F(ConfigFile, KeysMatchExactlyAndUnknownLinesAreIgnored) {
    Settings s =
        Read("autored=2\r\n AutoRed=2\r\nAutoRed =2\r\n;AutoRed=2\r\nAutoRed\r\nNoSuchKey=1\r\n");
    EXPECT_EQ(s.AutoRed, 0);
    EXPECT_EQ(Read("AutoRed=1=2").AutoRed, 1);  // split at the first "="
}

TEST_F(ConfigFile, ReadingStartsFromTheResetValuesAndKeepsOtherSettings) {
    Settings s;
    s.ForcedColor3DFace = 5;
    s.RefreshOnCDS = s.SendWmPaints = false;
    s.TransparencyIdx = 2;
    s.W4Idle = true;
    s.AutoRed = 1;
    s.AutoRedInForce = 0;
    ReadIniText("", lists, s, IniContext{});
    EXPECT_EQ(std::tie(s.ForcedColor3DFace, s.RefreshOnCDS, s.TransparencyIdx, s.SendWmPaints),
              std::make_tuple(-1, true, 0, false));
    EXPECT_TRUE(s.W4Idle && s.AutoRedInForce == 1);
    IniContext win9x;
    win9x.Win9x = true;
    ReadIniText("", lists, s, win9x);
    EXPECT_TRUE(s.SendWmPaints);
}

TEST_F(ConfigFile, FadeModeFollowsAutoRedOrATransparentLineFromWindows2000) {
    IniContext nt4;
    nt4.Win2000OrLater = false;
    EXPECT_TRUE(Read("AutoRed=7\r\n", nt4).FadeMode);
    EXPECT_EQ(Read("AutoRed=7\r\n", nt4).AutoRedInForce, 2);
    EXPECT_FALSE(Read("AutoRed=1\r\nLineColor=4\r\n", nt4).FadeMode);
    Settings s = Read("AutoRed=1\r\nLineColor=4\r\n");
    EXPECT_TRUE(s.FadeMode);
    EXPECT_EQ(s.AutoRedInForce, 1);
    EXPECT_FALSE(Read("AutoRed=1\r\nLineColor=3\r\n").FadeMode);
}

TEST_F(ConfigFile, SectionHeadersAreExactAndEachItemHasItsOwn) {
    Settings s = Read(
        "ToolTip=1\r\n[button]\r\nHole=1\r\n"  // not a header: still settings
        "[Button]\r\nDesc=A\r\nIcon=a.ico\r\n; comment\r\n\r\n  \r\n"
        "[Button]\r\nDesc=B\r\n"                            // no Icon: keeps A's
        "[Button]\r\n"                                      // nothing collected: no item
        "[MenuItem]\r\nDesc=M\r\n[menuitem]\r\nDesc=N\r\n"  // overwrites M's fields
        " [MenuItem]\r\nPath=p\r\n"                         // leading blank: not a header either
        "[Settings]\r\nMaximizer=1\r\n"
        "[ClipboardItem]\r\nDesc=C\nText=one\nText=two");  // LF only, no final break
    EXPECT_TRUE(s.ToolTip && s.Hole && s.Maximizer);
    ASSERT_EQ(lists[kListButtons].Count(), 2);
    EXPECT_EQ(ItemAt(kListButtons, 1).Desc, "B");
    EXPECT_EQ(ItemAt(kListButtons, 1).Icon, "a.ico");
    ASSERT_EQ(lists[kListMenu].Count(), 1);
    EXPECT_EQ(ItemAt(kListMenu, 0).Desc, "N");
    ASSERT_EQ(lists[kListClipboard].Count(), 1);
    EXPECT_EQ(ItemAt(kListClipboard, 0).Path, "one\r\ntwo");
}

TEST_F(ConfigFile, ReadingReplacesTheListsAndSkipsAByteOrderMark) {
    lists[kListAutostart].AddItemByString("Desc=old");
    Read("\xEF\xBB\xBF[AutocloseItem]\r\nDesc=Close\r\n");
    EXPECT_EQ(lists[kListAutostart].Count(), 0);
    ASSERT_EQ(lists[kListAutoclose].Count(), 1);
    EXPECT_EQ(ItemAt(kListAutoclose, 0).Desc, "Close");
    EXPECT_TRUE(HasUtf8Bom("\xEF\xBB\xBFx"));
    EXPECT_FALSE(HasUtf8Bom("\xEF\xBB"));
}

TEST_F(ConfigFile, WritesTheLayoutByteForByte) {
    lists[kListButtons].AddItem({"Edit", "notepad.exe", "", 0, "", 0, "", 1, 2, 0x241});
    lists[kListClipboard2].AddItem({"Sig", "Regards\r\nMe", "", 0, "", 0, "", 0, 2, 0});
    Settings s = DefaultSettings(false);
    s.ASPause = 1.5;
    s.ListWinSizeClip = {600 * 15, 400 * 15};
    s.MnuHotkey = -1;
    std::string expected =
        "; ZorvPanel V0.01\r\n\r\n\r\n"
        "[Button]\r\nDesc=Edit\r\nPath=notepad.exe\r\nWrkDir=\r\nUserType=0\r\nIcon=\r\n"
        "Activate=0\r\nTitle=\r\nStyle=1\r\nPrio=2\r\nHotkey=241\r\n\r\n\r\n"
        "\r\n\r\n\r\n\r\n"
        "[Clipboard2Item]\r\nDesc=Sig\r\nText=Regards\r\nText=Me\r\nActivate=0\r\n"
        "Hotkey=0\r\n\r\n\r\n"
        "[Settings]\r\n\r\n"
        "AutoRed=0\r\nSoftRed=0\r\nRestoreDelay=0\r\nSendWmPaints=0\r\nToolTip=0\r\nHole=0\r\n"
        "NoDragDropSource=0\r\nW4Idle=0\r\nTaskbarTop=0\r\nASDelay=0\r\nASPause=1.5\r\n"
        "SepColor=0\r\nLineColor=0\r\nTransparencyIdx=0\r\nMnuHotkey=FFFFFFFF\r\n"
        "ASTimeLimit=0\r\nACSkip=0\r\nShowAItems=0\r\nMaximizer=0\r\nProcessPrio=0\r\n"
        "ListWinSizeButtons=0,0\r\nListWinSizeMenu=0,0\r\nListWinSizeClip=600,400\r\n"
        "FixMnuProblem=0\r\nMnuFlat=0\r\nButFlat=0\r\nRefreshOnCDS=1\r\nButH_id=0\r\n"
        "LastColor3DFace=0\r\nLastBitsPerPixel=0\r\nForcedBarRight=0\r\nForcedLanguage=0\r\n"
        "FixFontProblem=0\r\nLogLevel=0\r\nWriteLogfile=0\r\nWriteDebugView=0\r\n\r\n";
    EXPECT_EQ(FormatIni(lists, s, IniContext{}), expected);
    s.ForcedColor3DFace = 0xC0C0C0;
    EXPECT_NE(FormatIni(lists, s, IniContext{})
                  .find("\r\nFixFontProblem=0\r\nForcedColor3DFace=C0C0C0\r\nLogLevel=0\r\n"),
              std::string::npos);
}

TEST_F(ConfigFile, FormatReadFormatGivesTheSameTextSettingsAndItems) {
    const IniContext c{1280, 1024, 15, 15, false, true};
    for (int l = 0; l < kListCount; ++l) {
        for (int i = 0; i < 3; ++i) {
            std::string n = std::to_string(l) + "." + std::to_string(i);
            lists[l].AddItem({std::string(i, '-') + "--->Item " + n, "C:\\p\\" + n + ".exe",
                              "C:\\w", i, "i.dll," + n, static_cast<std::uint8_t>(i), "Title " + n,
                              -i, i + 1, i == 1 ? -32768 : 0x741 + i});
        }
    }
    lists[kListClipboard].AddItem(
        {"-", "line 1\r\n  line 2\r\n\r\nend", "", 0, "", 1, "", 0, 2, 0});
    Settings s = DefaultSettings(false);
    s.AutoRed = 2;
    s.ASPause = 0.1;
    s.MnuHotkey = 0x8000;  // 4 hex digits but positive: must still come back
    s.LastColor3DFace = 0xFF00;
    s.ListWinSizeButtons = {640 * 15, 480 * 15};
    s.ForcedColor3DFace = -2;
    s.ASTimeLimit = 30;
    s.LogLevel = 4;
    UpdateDerivedSettings(s, c.Win2000OrLater);
    const std::string first = FormatIni(lists, s, c);

    ResetSharedParseRecord();
    ItemLists again = CreateItemLists();
    SetListNames(again, true);
    Settings back;
    ReadIniText(first, again, back, c);
    EXPECT_EQ(FormatIni(again, back, c), first);
    EXPECT_EQ(back, s);
    for (int l = 0; l < kListCount; ++l) {
        ASSERT_EQ(again[l].Count(), lists[l].Count());
        for (std::int32_t i = 0; i < lists[l].Count(); ++i) {
            Item a = ItemAt(l, i), b;
            again[l].GetItem(i, b);
            if (lists[l].IsClipboardList()) {  // the form carries only these
                EXPECT_EQ(std::tie(a.Desc, a.Path, a.Activate, a.Hotkey),
                          std::tie(b.Desc, b.Path, b.Activate, b.Hotkey));
            } else {
                EXPECT_EQ(a, b);
            }
        }
    }
}

}  // namespace
}  // namespace zorv
