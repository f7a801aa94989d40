#include "items/ini_save.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace zorv {
namespace {

struct Crash {};

// A file system in memory. Any operation can be made to fail, a write can
// stop half-way (a full disk), and a "crash" stops the process before the
// operation with the given number runs.
class FakeFs : public IniFileSystem {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> readOnly;
    std::string failing;         // name of the operation that fails
    int crashAt = -1;            // operation number at which the process stops
    bool crashMidWrite = false;  // the stopped operation is a write that got half-way
    int ops = 0;

    bool WriteFlushed(const std::string& path, std::string_view bytes) override {
        if (ops == crashAt && crashMidWrite) files[path] = bytes.substr(0, bytes.size() / 2);
        if (Step("write")) {
            files[path] = bytes.substr(0, bytes.size() / 2);  // the disk filled up
            return false;
        }
        if (readOnly.count(path)) return false;
        files[path] = bytes;
        return true;
    }
    bool Exists(const std::string& path) override {
        return !Step("exists") && files.count(path) > 0;
    }
    bool Delete(const std::string& path) override {
        return !Step("delete") && !readOnly.count(path) && files.erase(path) > 0;
    }
    bool Copy(const std::string& from, const std::string& to) override {
        if (Step("copy")) {
            files[to] = "partial";
            return false;
        }
        if (!files.count(from) || readOnly.count(to)) return false;
        files[to] = files[from];
        return true;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        if (Step("replace") || !files.count(from) || readOnly.count(to)) return false;
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

TEST(IniSave, BackupDropsTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(BackupName(kPath), kBackup);
    EXPECT_EQ(BackupName("C:\\Zorv 1.5\\zorv"), "C:\\Zorv 1.5\\zorv-bak.ini");
    EXPECT_EQ(BackupName("/home/a.b/zorv"), "/home/a.b/zorv-bak.ini");
    EXPECT_EQ(BackupName("zorv"), "zorv-bak.ini");
    EXPECT_EQ(BackupName("C:\\x\\my.zorv.cfg"), "C:\\x\\my.zorv-bak.ini");
    EXPECT_EQ(BarIconCacheName("D:\\z.d\\Zorv.ini"), "D:\\z.d\\Zorv.bmp");
    EXPECT_EQ(MenuIconCacheName("D:\\z.d\\Zorv"), "D:\\z.d\\ZorvM.bmp");
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

// A failing step (or a read-only file or backup) reports and leaves the
// previous file; a failed write touches no backup.
TEST(IniSave, AFailingStepReportsAndLeavesThePreviousFile) {
    struct Case {
        const char* step;
        std::string readOnly;
        SaveResult result;
    };
    const Case cases[] = {{"write", "", SaveResult::WriteFailed},
                          {"copy", "", SaveResult::BackupFailed},
                          {"replace", "", SaveResult::ReplaceFailed},
                          {"", kPath, SaveResult::ReplaceFailed},
                          {"", kBackup, SaveResult::BackupFailed}};
    for (const Case& c : cases) {
        FakeFs fs = WithOldFiles();
        fs.failing = c.step;
        fs.readOnly.insert(c.readOnly);
        EXPECT_EQ(SaveIniFile(fs, kPath, kNew), c.result) << c.step << c.readOnly;
        EXPECT_EQ(fs.files[kPath], kOld) << c.step << c.readOnly;
        EXPECT_EQ(fs.files.count(TempSaveName(kPath)), 0u) << c.step << c.readOnly;
        if (c.result == SaveResult::WriteFailed) EXPECT_EQ(fs.files[kBackup], "; older");
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

TEST(IniSave, IconCacheFollowsColourDepthVisibilityAndClosing) {
    EXPECT_EQ(IconCacheActionAfterSave(4, true, false), IconCacheAction::Delete);
    EXPECT_EQ(IconCacheActionAfterSave(4, false, true), IconCacheAction::Delete);
    EXPECT_EQ(IconCacheActionAfterSave(16, true, false), IconCacheAction::Rewrite);
    EXPECT_EQ(IconCacheActionAfterSave(8, true, false), IconCacheAction::Rewrite);
    EXPECT_EQ(IconCacheActionAfterSave(32, false, false), IconCacheAction::Keep);
    EXPECT_EQ(IconCacheActionAfterSave(32, true, true), IconCacheAction::Keep);
    EXPECT_EQ(IconCacheActionAfterSave(1, true, false), IconCacheAction::Keep);
}

TEST(IniImportExport, ExportNamesGetAnExtensionAndTheActiveFileIsRefused) {
    EXPECT_EQ(WithIniExtension("C:\\x\\backup"), "C:\\x\\backup.ini");
    EXPECT_EQ(WithIniExtension("C:\\x\\backup."), "C:\\x\\backup.ini");
    EXPECT_EQ(WithIniExtension("C:\\x\\backup.cfg"), "C:\\x\\backup.cfg");
    EXPECT_EQ(WithIniExtension("C:\\v1.2\\backup"), "C:\\v1.2\\backup.ini");

    EXPECT_TRUE(IsActiveIni("C:\\Zorv\\zorv.ini", "C:\\Zorv", "C:\\Zorv\\zorv.ini"));
    EXPECT_TRUE(IsActiveIni("zorv.ini", "C:\\Zorv", "C:\\Zorv\\zorv.ini"));
    EXPECT_TRUE(IsActiveIni("C:\\ZORV\\Zorv.INI", "C:\\Zorv", "C:\\Zorv\\zorv.ini"));
    EXPECT_FALSE(IsActiveIni("C:\\Other\\zorv.ini", "C:\\Zorv", "C:\\Zorv\\zorv.ini"));
}

}  // namespace
}  // namespace zorv
