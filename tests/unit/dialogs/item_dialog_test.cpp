#include "dialogs/item_dialog.h"

#include <gtest/gtest.h>

#include <map>

namespace zorv {
namespace {

struct FakeFiles : NameOnDiskLookup {
    std::map<std::string, std::string> onDisk;  // path as asked -> name on disk
    std::optional<std::string> NameOnDisk(const std::string& path) override {
        const auto it = onDisk.find(path);
        if (it == onDisk.end()) return std::nullopt;
        return it->second;
    }
};

TEST(ItemDialog, OkMakesTheItemFromTheFields) {
    struct Case {
        const char* what;
        ItemForm form;
        const char* prefix;
        std::map<std::string, std::string> disk;
        Item want;
    };
    const std::string fifty(50, 'x');
    const Case cases[] = {
        {"all empty: separator", {}, "", {}, {.Desc = "-", .Style = 1}},
        {"name cut to 40 characters", {.Desc = fifty}, "", {},
         {.Desc = std::string(40, 'x'), .Style = 1}},
        {"name from a missing program file",
         {.Path = "  C:\\Tools\\editor.exe -n  "}, "", {},
         {.Desc = "Editor", .Path = "C:\\Tools\\editor.exe -n", .Style = 1}},
        {"name as the file is named on disk",
         {.Path = "c:\\tools\\editor.exe"}, "", {{"c:\\tools\\editor.exe", "EdiTor.EXE"}},
         {.Desc = "EdiTor", .Path = "c:\\tools\\editor.exe", .Style = 1}},
        {"depth prefix kept, fields trimmed",
         {.Desc = " Mail ", .WorkDir = " D:\\ ", .Title = " Inbox ", .Activate = 2},
         "--->--->", {},
         {.Desc = "--->--->Mail", .WrkDir = "D:\\", .Activate = 2, .Title = "Inbox", .Style = 1}},
        {"maximized with force, rights box 0, priority, hotkey",
         {.Desc = "A", .UserBox0 = true, .UserBox1 = true, .Prio = 4, .WindowStyle = 3,
          .Force = true, .Hotkey = 0x0341}, "", {},
         {.Desc = "A", .UserType = 1, .Style = 103, .Prio = 4, .Hotkey = 0x0341}},
        {"restricted", {.Desc = "B", .UserBox1 = true, .WindowStyle = 0}, "", {},
         {.Desc = "B", .UserType = 2, .Style = 0}},
    };
    for (const Case& c : cases) {
        FakeFiles files;
        files.onDisk = c.disk;
        ItemForm form = c.form;
        EXPECT_EQ(ItemFromForm(form, c.prefix, files), c.want) << c.what;
    }
}

TEST(ItemDialog, FillFormKeepsTheDepthOfTheEditedOrFollowingLine) {
    clsItems list;
    list.AddItem(Item{.Desc = "Top"});
    list.AddItem(Item{.Desc = "--->--->Deep", .UserType = 2, .Icon = "**7", .Activate = 1,
                      .Style = 102, .Prio = 9});
    const ItemDialogStart edit = FillForm(list, {.Index = 1}, true);
    EXPECT_EQ(edit.Caption, "Edit Item");
    EXPECT_EQ(edit.DepthPrefix, "--->--->");
    EXPECT_EQ(edit.EditIndex, 1);
    const ItemForm want{.Desc = "Deep", .UserBox1 = true, .Prio = 4, .Activate = 1,
                        .WindowStyle = 2, .Force = true,
                        .Icon = {IconChoiceKind::BuiltIn, 7, ""}};
    EXPECT_EQ(edit.Form, want);

    const ItemDialogStart before = FillForm(list, {.AddMode = true, .Index = 1}, false);
    EXPECT_EQ(before.Caption, "Hinzufügen");
    EXPECT_EQ(before.DepthPrefix, "--->--->");
    EXPECT_EQ(before.EditIndex, -1);
    EXPECT_EQ(FillForm(list, {.AddMode = true, .Index = 2}, false).DepthPrefix, "");
}

TEST(ItemDialog, AddFromTheBarGoesAfterTheButtonsMenuBlock) {
    clsItems list;
    for (const char* d : {"A", "B", "--->b1", "--->--->b2", "C"}) list.AddItem(Item{.Desc = d});
    EXPECT_EQ(WriteItem(list, {.AddMode = true, .Index = 1, .FromBar = true}, {.Desc = "N"}), 4);
    EXPECT_EQ(WriteItem(list, {.AddMode = true, .Index = 1}, {.Desc = "E"}), 1);
    EXPECT_EQ(WriteItem(list, {.Index = 0}, {.Desc = "Z"}), 0);
    std::string descs;
    for (std::int32_t i = 0; i < list.Count(); ++i) descs += list.GetDesc(i) + ",";
    EXPECT_EQ(descs, "Z,E,B,--->b1,--->--->b2,N,C,");
}

TEST(ItemDialog, RightsBoxesFollowElevationAndWindowsVersion) {
    StartupState app;
    app.WindowsVersion = MakeWindowsVersion(2, 6, 1, 7601, false, true);
    app.ElevationType = 3;
    RightsLayout r = RightsFor(app);
    EXPECT_TRUE(r.Visible && r.AdminCaption && r.Box0Enabled);
    app.ElevationType = 2;
    r = RightsFor(app);
    EXPECT_TRUE(r.Visible && !r.AdminCaption && !r.Box0Enabled);
    app.WindowsVersion = MakeWindowsVersion(2, 4, 0, 1381, false, false);
    app.ElevationType = 1;
    EXPECT_FALSE(RightsFor(app).Visible);

    bool box0 = true, box1 = true;
    ClickRightsBox(1, box0, box1);
    EXPECT_TRUE(!box0 && box1);
    box0 = true;
    ClickRightsBox(0, box0, box1);
    EXPECT_TRUE(box0 && !box1);
}

TEST(ItemDialog, IconRulesAndDelays) {
    EXPECT_EQ(AppIconDelayMs("C:\\x.exe"), 300);
    EXPECT_EQ(AppIconDelayMs("\\\\server\\x.exe"), 2000);
    EXPECT_EQ(AppIconDelayMs("//server/x.exe"), 2000);
    EXPECT_EQ(IconFieldOf(IconChoiceOf("**3")), kNoIconField);
    EXPECT_EQ(IconFieldOf(IconChoiceOf("tool.bmp")), "tool.bmp");
    EXPECT_EQ(IconChoiceOf("**201").Kind, IconChoiceKind::None);
    EXPECT_EQ(NewIconFileName("\"C:\\a b\\Editor.exe\" -x", {"editor.BMP", "Editor_2.bmp"}),
              "Editor_3.bmp");
    EXPECT_EQ(NewIconFileName("", {}), "_noname.bmp");

    IconStrip strip = MakeIconStrip({"b.bmp", "A.bmp"});
    EXPECT_EQ(strip.Count(), 202);
    EXPECT_EQ(strip.At(200).File, "A.bmp");
    EXPECT_EQ(strip.Add("a0.bmp"), 201);
    EXPECT_EQ(strip.IndexOf({IconChoiceKind::File, 0, "B.BMP"}), 202);
    EXPECT_EQ(IconStripScrollMax(strip.Count(), 10), 193);
}

TEST(ItemDialog, ProgramFilterDropsCmdOnWindows9x) {
    EXPECT_EQ(ProgramFileFilter(true, false),
              "Programs|*.pif;*.exe;*.com;*.bat;*.lnk;*.cmd|All Files(*.*)|*.*");
    EXPECT_EQ(ProgramFileFilter(false, true).find("cmd"), std::string::npos);
}

}  // namespace
}  // namespace zorv
