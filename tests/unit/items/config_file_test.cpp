// The configuration file: reading, writing, saving safely, and importing
// the settings of the old registry-based version.
#include "items/config_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "items/ini_save.h"
#include "items/old_settings.h"

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

// Each line read alone into the defaults (a 1024 x 768 screen), then the line
// written for its key: the limits and the special readings of the values.
TEST_F(ConfigFile, ReadsEveryKeyWithItsLimitsAndSpecialReadings) {
    struct Case {
        const char *key, *in, *written;
    };
    // clang-format off
    const Case cases[] = {
        {"AutoRed", "7", "2"}, {"SoftRed", "", "1"}, {"RestoreDelay", "-5", "0"},
        {"ToolTip", "yes", "1"}, {"NoDragDropSource", "00", "1"}, {"ASDelay", "99", "60"},
        {"SepColor", "9", "4"}, {"ProcessPrio", "-1", "0"}, {"ListWinSizeClip", "500", "0,0"},
        {"ListWinSizeMenu", "2000,900", "768,576"}, {"ListWinSizeClip", " 20px,abc", "20,0"},
        {"ListWinSizeMenu", "1024,769", "1024,576"}, {"ListWinSizeMenu", "1025,768", "768,768"},
        {"ASTimeLimit", "1.9", "3"}, {"ASTimeLimit", "2", "2"}, {"ButH_id", "0.5", "0"},
        {"ButH_id", "1.5", "2"}, {"ButH_id", "2.5", "2"}, {"ButH_id", " 1.49 ", "1"},
        {"ButH_id", "1x", "0"}, {"ButH_id", "-1", "0"}, {"ButH_id", "7", "2"},
        {"MnuHotkey", "8000", "FFFF8000"}, {"MnuHotkey", "0000FFFF", "0FFFF"},
        {"MnuHotkey", "zz", "0"}, {"MnuHotkey", "123456789", "0"}, {"W4Idle", " 0", "1"},
        {"LastColor3DFace", "FF00", "FFFFFF00"}, {"LastColor3DFace", "00000000FF", "FF"},
        {"W4Idle", "0", "0"}, {"ASPause", "7", "5"}, {"ASPause", " 1.25s", "1.25"},
        {"ASPause", "-1", "0"}, {"ForcedBarRight", "5000", "1003"}, {"ForcedBarRight", "-3", "0"}};
    // clang-format on
    for (const Case& c : cases) {
        const std::string key = std::string(c.key) + "=";
        const std::string out = FormatIni(lists, ReadLine(key + c.in), IniContext{});
        EXPECT_NE(out.find("\r\n" + key + c.written + "\r\n"), std::string::npos) << key << c.in;
    }
    EXPECT_FALSE(std::signbit(ReadLine("ASPause=-0").ASPause));
    EXPECT_EQ(ReadLine("ForcedBarRight=30", IniContext{10, 10}).ForcedBarRight, 0);
}

// Twips per pixel differ by axis here; keys match exactly and split at the first "=".
TEST_F(ConfigFile, ListEditorSizesAreTwipsLimitedByTheScreen_KeysMatchExactly) {
    IniContext c{1366, 768, 12, 20};
    EXPECT_EQ(ReadLine("ListWinSizeButtons=1367,769", c).ListWinSizeButtons,
              (ListWinSize{1024 * 12, 576 * 20}));  // 0.75 x 1366 rounds down
    Settings s;
    s.ListWinSizeMenu = {300 * 12, 200 * 20};
    EXPECT_NE(FormatIni(lists, s, c).find("\r\nListWinSizeMenu=300,200\r\n"), std::string::npos);
    EXPECT_EQ(Read("autored=2\r\n AutoRed=2\r\nAutoRed =2\r\n;AutoRed=2\r\nAutoRed\r\n").AutoRed, 0);
    EXPECT_EQ(Read("AutoRed=1=2").AutoRed, 1);
}

TEST_F(ConfigFile, ReadingStartsFromTheResetValues_FadeModeFollowsAutoRedOrATransparentLine) {
    Settings s;
    s.ForcedColor3DFace = 5, s.TransparencyIdx = 2, s.AutoRed = 1, s.AutoRedInForce = 0;
    s.RefreshOnCDS = s.SendWmPaints = false;
    s.W4Idle = true;
    ReadIniText("", lists, s, IniContext{});
    EXPECT_EQ(std::tuple(s.ForcedColor3DFace, s.RefreshOnCDS, s.TransparencyIdx, s.SendWmPaints),
              std::tuple(-1, true, 0, false));
    EXPECT_TRUE(s.W4Idle && s.AutoRedInForce == 1);
    IniContext win9x;
    win9x.Win9x = true;
    ReadIniText("", lists, s, win9x);
    EXPECT_TRUE(s.SendWmPaints);
    IniContext nt4;
    nt4.Win2000OrLater = false;
    s = Read("AutoRed=7\r\n", nt4);
    EXPECT_TRUE(s.FadeMode && s.AutoRedInForce == 2);
    EXPECT_FALSE(Read("AutoRed=1\r\nLineColor=4\r\n", nt4).FadeMode);
    s = Read("AutoRed=1\r\nLineColor=4\r\n");
    EXPECT_TRUE(s.FadeMode && s.AutoRedInForce == 1);
    EXPECT_FALSE(Read("AutoRed=1\r\nLineColor=3\r\n").FadeMode);
}

TEST_F(ConfigFile, SectionHeadersAreExactAndEachItemHasItsOwn_ReadingReplacesTheLists) {
    lists[kListAutostart].AddItemByString("Desc=old");
    Settings s = Read(
        "\xEF\xBB\xBFToolTip=1\r\n[button]\r\nHole=1\r\n"  // a byte order mark; not a header
        "[Button]\r\nDesc=A\r\nIcon=a.ico\r\n; comment\r\n\r\n  \r\n"
        "[Button]\r\nDesc=B\r\n"                            // no Icon: keeps A's
        "[Button]\r\n"                                      // nothing collected: no item
        "[MenuItem]\r\nDesc=M\r\n[menuitem]\r\nDesc=N\r\n"  // overwrites M's fields
        " [MenuItem]\r\nPath=p\r\n"                         // leading blank: not a header either
        "[Settings]\r\nMaximizer=1\r\n"
        "[ClipboardItem]\r\nDesc=C\nText=one\nText=two");  // LF only, no final break
    EXPECT_TRUE(s.ToolTip && s.Hole && s.Maximizer);
    EXPECT_EQ(lists[kListAutostart].Count(), 0);
    ASSERT_EQ(lists[kListButtons].Count(), 2);
    EXPECT_EQ(ItemAt(kListButtons, 1).Desc + ItemAt(kListButtons, 1).Icon, "Ba.ico");
    ASSERT_EQ(lists[kListMenu].Count(), 1);
    EXPECT_EQ(ItemAt(kListMenu, 0).Desc, "N");
    ASSERT_EQ(lists[kListClipboard].Count(), 1);
    EXPECT_EQ(ItemAt(kListClipboard, 0).Path, "one\r\ntwo");
    EXPECT_FALSE(HasUtf8Bom("\xEF\xBB"));
}

TEST_F(ConfigFile, FormatReadFormatGivesTheSameTextSettingsAndItems) {
    const IniContext c{1280, 1024, 15, 15, false, true};
    for (int l = 0; l < kListCount; ++l) {
        lists[l].AddItem({"--->Item", "C:\\p\\a.exe", "C:\\w", 1, "i.dll,2", 1, "Title", -1, 2,
                          l == 1 ? -32768 : 0x741});
    }
    lists[kListClipboard].AddItem(
        {"-", "line 1\r\n  line 2\r\n\r\nend", "", 0, "", 1, "", 0, 2, 0});
    Settings s = DefaultSettings(false);
    // Every key away from its default, so that a key the reader skips shows.
    s.AutoRed = 2, s.ASPause = 0.1, s.LastColor3DFace = 0xFF00, s.ForcedColor3DFace = -2;
    s.MnuHotkey = 0x8000;  // 4 hex digits but positive: must still come back
    s.ListWinSizeButtons = {640 * 15, 480 * 15}, s.ListWinSizeMenu = {15, 30};
    s.ListWinSizeClip = {45, 0}, s.ASTimeLimit = 30, s.LogLevel = 4, s.RestoreDelay = 7;
    s.ASDelay = 9, s.SepColor = 3, s.LineColor = 2, s.TransparencyIdx = 1, s.ProcessPrio = 2;
    s.ButH_id = 1, s.LastBitsPerPixel = 16, s.ForcedBarRight = 40, s.ForcedLanguage = 1;
    s.RefreshOnCDS = false;
    for (bool* b :
         {&s.SoftRed, &s.SendWmPaints, &s.ToolTip, &s.Hole, &s.NoDragDropSource, &s.W4Idle,
          &s.TaskbarTop, &s.ACSkip, &s.ShowAItems, &s.Maximizer, &s.FixMnuProblem, &s.MnuFlat,
          &s.ButFlat, &s.FixFontProblem, &s.WriteLogfile, &s.WriteDebugView})
        *b = true;
    UpdateDerivedSettings(s, c.Win2000OrLater);
    const std::string first = FormatIni(lists, s, c);
    ResetSharedParseRecord();
    ItemLists again = CreateItemLists();
    SetListNames(again, true);
    Settings back;
    ReadIniText(first, again, back, c);
    EXPECT_EQ(FormatIni(again, back, c), first);
    EXPECT_EQ(back, s);
    Item a = ItemAt(kListMenu, 0), b;
    again[kListMenu].GetItem(0, b);
    EXPECT_EQ(a, b);
    again[kListClipboard].GetItem(1, b);
    EXPECT_EQ(b.Path, "line 1\r\n  line 2\r\n\r\nend");
}

struct Crash {};

// A file system in memory. Any operation can be made to fail, a write can
// stop half-way (a full disk), and a "crash" stops the process before the
// operation with the given number runs.
class FakeFs : public IniFileSystem {
  public:
    std::map<std::string, std::string> files;
    std::string failing;         // name of the operation that fails
    int crashAt = -1;            // operation number at which the process stops
    bool crashMidWrite = false;  // the stopped operation is a write that got half-way
    int ops = 0;

    bool WriteFlushed(const std::string& path, std::string_view bytes) override {
        const bool half = (ops == crashAt && crashMidWrite) || failing == "write";  // disk full
        if (half) files[path] = bytes.substr(0, bytes.size() / 2);
        if (Step("write")) return false;
        files[path] = bytes;
        return true;
    }
    bool Exists(const std::string& path) override {
        return !Step("exists") && files.count(path) > 0;
    }
    bool Delete(const std::string& path) override {
        return !Step("delete") && files.erase(path) > 0;
    }
    bool Copy(const std::string& from, const std::string& to) override {
        if (Step("copy")) {
            files[to] = "partial";
            return false;
        }
        if (!files.count(from)) return false;
        files[to] = files[from];
        return true;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        if (Step("replace") || !files.count(from)) return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }

  private:
    // True when this operation is to fail; throws Crash at the crash point.
    bool Step(const char* name) {
        if (ops++ == crashAt) throw Crash{};
        return failing == name;
    }
};

const std::string kPath = "C:\\Users\\me\\AppData\\Zorv.ini";
const std::string kBackup = "C:\\Users\\me\\AppData\\Zorv-bak.ini";
const std::string kOld = "; old\r\n[Settings]\r\nAutoRed=1\r\n";
const std::string kNew = "; new\r\n[Settings]\r\nAutoRed=2\r\n";

FakeFs WithOldFiles() {
    FakeFs fs;
    fs.files[kPath] = kOld;
    fs.files[kBackup] = "; older";
    return fs;
}

TEST(IniSave, FileNamesOfTheBackupTheIconCachesAndAnExport_TheActiveFileIsNoImport) {
    EXPECT_EQ(BackupName(kPath), kBackup);
    EXPECT_EQ(BackupName("C:\\Zorv 1.5\\zorv"), "C:\\Zorv 1.5\\zorv-bak.ini");
    EXPECT_EQ(BackupName("C:\\x\\my.zorv.cfg"), "C:\\x\\my.zorv-bak.ini");
    EXPECT_EQ(BarIconCacheName("D:\\z.d\\Zorv.ini"), "D:\\z.d\\Zorv.bmp");
    EXPECT_EQ(MenuIconCacheName("D:\\z.d\\Zorv"), "D:\\z.d\\ZorvM.bmp");
    EXPECT_EQ(WithIniExtension("C:\\x\\backup."), "C:\\x\\backup.ini");
    EXPECT_EQ(WithIniExtension("C:\\x\\backup.cfg"), "C:\\x\\backup.cfg");
    EXPECT_EQ(WithIniExtension("C:\\v1.2\\backup"), "C:\\v1.2\\backup.ini");
    std::string got;
    for (const char* chosen :
         {"C:\\Zorv\\zorv.ini", "zorv.ini", "C:\\ZORV\\Zorv.INI", "C:\\Other\\zorv.ini"})
        got += IsActiveIni(chosen, "C:\\Zorv", "C:\\Zorv\\zorv.ini") ? '1' : '0';
    EXPECT_EQ(got, "1110");
    got.clear();  // The icon caches after a save: Keep, Delete (16 colours) or Rewrite.
    for (auto [bpp, visible, closing] : {std::tuple{4, true, false}, {4, false, true},
                                         {8, true, false}, {32, false, false}, {32, true, true},
                                         {1, true, false}})
        got += "KDR"[static_cast<int>(IconCacheActionAfterSave(bpp, visible, closing))];
    EXPECT_EQ(got, "DDRKKK");
}

TEST(IniSave, SavingTwiceLeavesTheOlderFileAsBackup) {
    FakeFs fs;
    EXPECT_EQ(SaveIniFile(fs, kPath, kOld), SaveResult::Saved);
    EXPECT_EQ(fs.files.count(kBackup), 0u);  // nothing to back up yet
    EXPECT_EQ(SaveIniFile(fs, kPath, kNew), SaveResult::Saved);
    EXPECT_EQ(fs.files[kPath], kNew);
    EXPECT_EQ(fs.files[kBackup], kOld);
    EXPECT_EQ(fs.files.size(), 2u);  // no temporary file left over
}

// A failing step reports and leaves the previous file; a failed write touches
// no backup; a backup that cannot be made does not stop the save.
TEST(IniSave, AFailingStepReportsAndLeavesThePreviousFile_ButABackupIsACourtesy) {
    for (auto [step, result] : {std::pair{"write", SaveResult::WriteFailed},
                                {"copy", SaveResult::SavedWithoutBackup},
                                {"replace", SaveResult::ReplaceFailed}}) {
        FakeFs fs = WithOldFiles();
        fs.failing = step;
        EXPECT_EQ(SaveIniFile(fs, kPath, kNew), result) << step;
        EXPECT_EQ(fs.files[kPath], result == SaveResult::SavedWithoutBackup ? kNew : kOld) << step;
        EXPECT_EQ(fs.files.count(TempSaveName(kPath)), 0u) << step;
        if (result == SaveResult::WriteFailed) EXPECT_EQ(fs.files[kBackup], "; older");
    }
}

// Stops the process before each operation in turn, also in the middle of the
// write: the path must always hold a complete file, and when it holds the new
// one the old one is the backup.
TEST(IniSave, ACrashAtAnyPointLeavesTheOldOrTheNewFile) {
    int total = 0;
    {
        FakeFs fs = WithOldFiles();
        ASSERT_EQ(SaveIniFile(fs, kPath, kNew), SaveResult::Saved);
        total = fs.ops;
    }
    for (int at = 0; at <= total; ++at) {
        for (bool midWrite : {false, true}) {
            FakeFs fs = WithOldFiles();
            fs.crashAt = at;
            fs.crashMidWrite = midWrite;
            try {
                SaveIniFile(fs, kPath, kNew);
            } catch (const Crash&) {
            }
            const std::string& now = fs.files[kPath];
            EXPECT_TRUE(now == kOld || now == kNew) << "crash before operation " << at;
            if (now == kNew) EXPECT_EQ(fs.files[kBackup], kOld) << at;
        }
    }
}

// The old version's registry values, "Section/Key" -> value.
struct FakeStore : OldSettingsStore {
    std::map<std::string, std::string> values;
    std::optional<std::string> Get(std::string_view section, std::string_view key) const override {
        auto it = values.find(std::string(section) + "/" + std::string(key));
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

TEST_F(ConfigFile, OldSettingsBecomeSettingsAndItems_ListsEndAtAnEmptyOrEndValue) {
    Settings s = DefaultSettings(false), expected = s;
    UpdateDerivedSettings(expected, true);
    lists[kListMenu].AddItem(Item{});
    ImportOldSettings(FakeStore{}, lists, s, IniContext{});
    EXPECT_EQ(s, expected);
    EXPECT_EQ(lists[kListMenu].Count(), 0);
    FakeStore store;
    store.values = {{"Options/AutoReduce", "-1"}, {"Options/SoftReduce", "1"},
                    {"Options/ToolTips", "0"}, {"Options/Wait4Idle", "True"},
                    {"Options/TaskbarOnTop", "1"}, {"Options/AutoStartDelay", "7999"},
                    {"Options/Buttonsize", "2"}, {"Bar/01", "B1| b1.exe"}, {"Bar/02", "B2| b2.exe"},
                    {"Bar/03", "| | "} /* the end mark */, {"Bar/04", "B4| b4.exe"},
                    {"ClpMenu/01", "C1| x//*CrLf*//y"}, {"Clp2Menu/01", "C2| z"},
                    {"AutoClose/01", ""}, {"AutoClose/02", "never reached"}};
    for (int i = 1; i <= 100; ++i) {
        store.values["Menu/" + std::string(i < 10 ? "0" : "") + std::to_string(i)] = "M";
    }
    ImportOldSettings(store, lists, s, IniContext{});
    EXPECT_EQ(std::tuple(s.AutoRed, s.AutoRedInForce, s.ASDelay, s.ButH_id),
              std::tuple(1, 1, 7, 2));
    EXPECT_TRUE(s.SoftRed && s.W4Idle && s.TaskbarTop && !s.ToolTip);
    EXPECT_EQ(lists[kListButtons].Count(), 2);  // items and their line breaks: end to end
    EXPECT_EQ(ItemAt(kListClipboard2, 0).Path, "z");
    EXPECT_EQ(lists[kListAutoclose].Count(), 0);
    EXPECT_EQ(lists[kListMenu].Count(), 100);  // "100" follows "99"
    store.values = {{"Options/AutoStartDelay", "90000"}, {"Options/Buttonsize", "9"}};
    ImportOldSettings(store, lists, s, IniContext{});
    EXPECT_EQ(std::tuple(s.AutoRed, s.ASDelay, s.ButH_id), std::tuple(0, 60, 2));
    // An item's value holds the ten fields in record order.
    EXPECT_EQ(
        ParseOldItem("Edit| notepad.exe| C:\\w| -3| n.ico,1| 255| Untitled| 3| 4| 8001", false),
        (Item{"Edit", "notepad.exe", "C:\\w", 3, "n.ico,1", 1, "Untitled", 3, 4, -32767}));
    EXPECT_EQ(ParseOldItem("| cmd.exe", false), (Item{"-", "cmd.exe", "", 0, "", 0, "", 0, 2, 0}));
    EXPECT_EQ(ParseOldItem("A| p| | | | | | | | ", false).Prio, 2);
    EXPECT_EQ(ParseOldItem("Sig| a//*CrLf*//b", false).Path, "a//*CrLf*//b");
}

}  // namespace
}  // namespace zorv
