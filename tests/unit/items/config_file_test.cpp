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

// 1024 x 768 pixels at 15 twips per pixel (the IniContext defaults).
TEST_F(ConfigFile, ReadsEveryKeyAndLimitsItsRange) {
    Settings s = Read(
        "AutoRed=7\r\nSoftRed=\r\nRestoreDelay=-5\r\nSendWmPaints=1\r\nToolTip=yes\r\n"
        "Hole=0\r\nNoDragDropSource=00\r\nW4Idle=\r\nTaskbarTop=1\r\nASDelay=99\r\n"
        "ASPause=0.5\r\nSepColor=9\r\nLineColor=4\r\nTransparencyIdx=3\r\nMnuHotkey=8000\r\n"
        "ASTimeLimit=1\r\nACSkip=1\r\nShowAItems=1\r\nMaximizer=1\r\nProcessPrio=-1\r\n"
        "ListWinSizeButtons=400,300\r\nListWinSizeMenu=2000,900\r\nListWinSizeClip=500\r\n"
        "FixMnuProblem=1\r\nMnuFlat=1\r\nButFlat=1\r\nRefreshOnCDS=0\r\nButH_id=1.5\r\n"
        "LastColor3DFace=c8d0d4\r\nLastBitsPerPixel=32\r\nForcedBarRight=5000\r\n"
        "ForcedLanguage=2\r\nFixFontProblem=1\r\nForcedColor3DFace=FF\r\nLogLevel=3\r\n"
        "WriteLogfile=1\r\nWriteDebugView=0\r\n");
    EXPECT_EQ(s.AutoRed, 2);
    EXPECT_TRUE(s.SoftRed);  // an empty flag is on
    EXPECT_EQ(s.RestoreDelay, 0);
    EXPECT_TRUE(s.SendWmPaints);
    EXPECT_TRUE(s.ToolTip);
    EXPECT_FALSE(s.Hole);
    EXPECT_TRUE(s.NoDragDropSource);  // only exactly "0" is off
    EXPECT_TRUE(s.W4Idle);
    EXPECT_TRUE(s.TaskbarTop);
    EXPECT_EQ(s.ASDelay, 60);
    EXPECT_EQ(s.ASPause, 0.5);
    EXPECT_EQ(s.SepColor, 4);
    EXPECT_EQ(s.LineColor, 4);
    EXPECT_EQ(s.TransparencyIdx, 3);
    EXPECT_EQ(s.MnuHotkey, -32768);
    EXPECT_EQ(s.ASTimeLimit, 3);
    EXPECT_TRUE(s.ACSkip && s.ShowAItems && s.Maximizer);
    EXPECT_EQ(s.ProcessPrio, 0);
    EXPECT_EQ(s.ListWinSizeButtons, (ListWinSize{6000, 4500}));
    EXPECT_EQ(s.ListWinSizeMenu, (ListWinSize{768 * 15, 576 * 15}));  // 0.75 x the screen
    EXPECT_EQ(s.ListWinSizeClip, ListWinSize{});                      // no "," : ignored
    EXPECT_TRUE(s.FixMnuProblem && s.MnuFlat && s.ButFlat);
    EXPECT_FALSE(s.RefreshOnCDS);
    EXPECT_EQ(s.ButH_id, 2);
    EXPECT_EQ(s.LastColor3DFace, 0xC8D0D4);
    EXPECT_EQ(s.LastBitsPerPixel, 32);
    EXPECT_EQ(s.ForcedBarRight, 1024 - 21);
    EXPECT_EQ(s.ForcedLanguage, 2);
    EXPECT_TRUE(s.FixFontProblem);
    EXPECT_EQ(s.ForcedColor3DFace, 0xFF);
    EXPECT_EQ(s.LogLevel, 3);
    EXPECT_TRUE(s.WriteLogfile);
    EXPECT_FALSE(s.WriteDebugView);
    EXPECT_EQ(s.AutoRedInForce, 2);
    EXPECT_TRUE(s.FadeMode);
}

TEST_F(ConfigFile, SpecialReadingsOfSingleKeys) {
    EXPECT_EQ(ReadLine("ASTimeLimit=1").ASTimeLimit, 3);
    EXPECT_EQ(ReadLine("ASTimeLimit=2").ASTimeLimit, 2);
    EXPECT_EQ(ReadLine("ASTimeLimit=1.9").ASTimeLimit, 3);  // the prefix is 1
    // ButH_id: the whole value, halves to the even neighbour, no number gives 0.
    const std::pair<const char*, int> buttonSizes[] = {
        {"0.5", 0}, {"1.5", 2}, {"2.5", 2}, {" 1.49 ", 1}, {"0.51", 1}, {"1x", 0},
        {"", 0},    {"x", 0},   {"-1", 0},  {"7", 2},      {".", 0},    {"1.", 1}};
    for (auto [value, expected] : buttonSizes) {
        EXPECT_EQ(ReadLine(std::string("ButH_id=") + value).ButH_id, expected) << value;
    }
    EXPECT_EQ(ReadLine("MnuHotkey=FFFF").MnuHotkey, -1);
    EXPECT_EQ(ReadLine("MnuHotkey=7fff").MnuHotkey, 0x7FFF);
    EXPECT_EQ(ReadLine("MnuHotkey=10000").MnuHotkey, 0x10000);
    EXPECT_EQ(ReadLine("MnuHotkey=zz").MnuHotkey, 0);
    EXPECT_EQ(ReadLine("MnuHotkey=123456789").MnuHotkey, 0);
    // Leading zeros count: a strong green with no blue survives its own writing.
    EXPECT_EQ(ReadLine("LastColor3DFace=FF00").LastColor3DFace, -256);
    EXPECT_EQ(ReadLine("LastColor3DFace=0FF00").LastColor3DFace, 0xFF00);
    EXPECT_EQ(ReadLine("LastColor3DFace=00000000FF").LastColor3DFace, 0xFF);
    for (const char* on : {"", " 0", "0 ", "1", "false", "00"}) {
        EXPECT_TRUE(ReadLine(std::string("W4Idle=") + on).W4Idle) << on;
    }
    EXPECT_FALSE(ReadLine("W4Idle=0").W4Idle);
    EXPECT_EQ(ReadLine("ASPause=7").ASPause, 5.0);
    EXPECT_EQ(ReadLine("ASPause= 1.25s").ASPause, 1.25);
    EXPECT_EQ(ReadLine("ASPause=.5").ASPause, 0.5);
    EXPECT_EQ(ReadLine("ASPause=-1").ASPause, 0.0);
    EXPECT_FALSE(std::signbit(ReadLine("ASPause=-0").ASPause));  // else written as "-0"
    EXPECT_EQ(ReadLine("ForcedBarRight=-3").ForcedBarRight, 0);
    EXPECT_EQ(ReadLine("ForcedBarRight=1003").ForcedBarRight, 1003);
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
    s.ListWinSizeMenu = {111, 222};
    ReadIniText("ListWinSizeMenu=300\r\n", lists, s, c);
    EXPECT_EQ(s.ListWinSizeMenu, (ListWinSize{111, 222}));
    // Writing gives the pixels back.
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
    s.RefreshOnCDS = false;
    s.TransparencyIdx = 2;
    s.SendWmPaints = false;
    s.W4Idle = true;
    s.AutoRed = 1;
    s.AutoRedInForce = 0;
    ReadIniText("", lists, s, IniContext{});
    EXPECT_EQ(s.ForcedColor3DFace, -1);
    EXPECT_TRUE(s.RefreshOnCDS);
    EXPECT_EQ(s.TransparencyIdx, 0);
    EXPECT_FALSE(s.SendWmPaints);
    EXPECT_TRUE(s.W4Idle);
    EXPECT_EQ(s.AutoRedInForce, 1);
    IniContext win9x;
    win9x.Win9x = true;
    ReadIniText("", lists, s, win9x);
    EXPECT_TRUE(s.SendWmPaints);
    EXPECT_TRUE(DefaultSettings(true).SendWmPaints);
    EXPECT_FALSE(DefaultSettings(false).SendWmPaints);
}

TEST_F(ConfigFile, FadeModeFollowsAutoRedOrATransparentLineFromWindows2000) {
    IniContext nt4;
    nt4.Win2000OrLater = false;
    EXPECT_TRUE(Read("AutoRed=2\r\n", nt4).FadeMode);
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
    EXPECT_EQ(IniHeaderLine(), "; ZorvPanel V" + std::to_string(ZORV_VERSION_MAJOR) + ".0" +
                                   std::to_string(ZORV_VERSION_MINOR));
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
            Item a, b;
            lists[l].GetItem(i, a);
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
