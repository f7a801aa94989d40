#include "app/ini_path.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct FakeFs : zorv::FileProbe {
    std::set<std::string> files;
    std::set<std::string> writableFolders;
    bool Exists(const std::string& p) override { return files.count(p) > 0; }
    bool CreateEmpty(const std::string& p) override {
        auto slash = p.rfind('\\');
        if (slash == std::string::npos || !writableFolders.count(p.substr(0, slash))) return false;
        files.insert(p);
        return true;
    }
};

zorv::IniPathFacts Facts() {
    return {"C:\\Zorv", "ZorvPanel.exe", "C:\\ProgramData", "C:\\users\\me\\AppData\\Roaming"};
}

}  // namespace

TEST(IniPath, NameComesFromProgramBaseName) {
    EXPECT_EQ(zorv::IniFileName("ZorvPanel.exe"), "ZorvPanel.ini");
    EXPECT_EQ(zorv::IniFileName("my.zorv.exe"), "my.zorv.ini");
    EXPECT_EQ(zorv::IniFileName("zorv"), "zorv.ini");
}

TEST(IniPath, CommonAppDataWinsOverUserAndProgramFolder) {
    FakeFs fs;
    EXPECT_EQ(ChooseIniPath(Facts(), std::nullopt, fs).IniPath, "C:\\Zorv\\ZorvPanel.ini");
    fs.files.insert("C:\\Zorv\\ZorvPanel.ini");
    fs.files.insert("C:\\users\\me\\AppData\\Roaming\\Zorv\\ZorvPanel.ini");
    EXPECT_EQ(ChooseIniPath(Facts(), std::nullopt, fs).IniPath,
              "C:\\users\\me\\AppData\\Roaming\\Zorv\\ZorvPanel.ini");
    fs.files.insert("C:\\ProgramData\\Zorv\\ZorvPanel.ini");
    auto choice = ChooseIniPath(Facts(), std::nullopt, fs);
    EXPECT_EQ(choice.IniPath, "C:\\ProgramData\\Zorv\\ZorvPanel.ini");
    EXPECT_FALSE(choice.Invalid);
}

TEST(IniPath, SwitchWithAbsolutePathIsUsedWhenItExistsOrCanBeCreated) {
    FakeFs fs;
    fs.files.insert("D:\\cfg\\a.ini");
    EXPECT_EQ(ChooseIniPath(Facts(), "D:\\cfg\\a.ini", fs).IniPath, "D:\\cfg\\a.ini");
    fs.files.insert("\\\\server\\share\\z.ini");
    EXPECT_EQ(ChooseIniPath(Facts(), "\\\\server\\share\\z.ini", fs).IniPath,
              "\\\\server\\share\\z.ini");
    fs.writableFolders.insert("E:\\new");
    EXPECT_EQ(ChooseIniPath(Facts(), "E:\\new\\b.ini", fs).IniPath, "E:\\new\\b.ini");
    EXPECT_TRUE(fs.files.count("E:\\new\\b.ini"));
}

TEST(IniPath, SwitchWithRelativeNameLivesInProgramFolderAndIsCreated) {
    FakeFs fs;
    fs.writableFolders.insert("C:\\Zorv");
    auto choice = ChooseIniPath(Facts(), "other.ini", fs);
    EXPECT_EQ(choice.IniPath, "C:\\Zorv\\other.ini");
    EXPECT_FALSE(choice.Invalid);
    EXPECT_TRUE(fs.files.count("C:\\Zorv\\other.ini"));
}

TEST(IniPath, UnusableSwitchIsInvalid) {
    FakeFs fs;  // nothing writable
    EXPECT_TRUE(ChooseIniPath(Facts(), "X:\\missing\\a.ini", fs).Invalid);
    EXPECT_TRUE(ChooseIniPath(Facts(), "rel.ini", fs).Invalid);
    EXPECT_TRUE(ChooseIniPath(Facts(), "", fs).Invalid);
    EXPECT_TRUE(ChooseIniPath(Facts(), "C", fs).Invalid);
    EXPECT_EQ(zorv::InvalidIniMessage("x:y", false), "'x:y' ist ungültig");
    EXPECT_EQ(zorv::InvalidIniMessage("x:y", true), "'x:y' is invalid");
}
