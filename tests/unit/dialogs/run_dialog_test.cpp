#include "dialogs/run_dialog.h"

#include <gtest/gtest.h>

#include "dialogs/run_dialog_ids.h"

namespace zorv {
namespace {

std::string_view CaptionOf(const std::vector<ControlCaption>& captions, std::int32_t id) {
    for (const ControlCaption& c : captions) {
        if (c.Id == id) return c.Text;
    }
    return {};
}

// Clicks a box as the check box itself would toggle it, then settles both.
void Click(int box, bool& box0, bool& box1) {
    (box == 0 ? box0 : box1) ^= true;
    SettleRunRightsBoxes(box0, box1);
}

TEST(RunDialog, RestrictedBoxCannotBeCheckedWhileBoxZeroIs) {
    bool box0 = false, box1 = false;
    Click(0, box0, box1);
    Click(1, box0, box1);
    EXPECT_TRUE(box0 && !box1);
    Click(0, box0, box1);
    Click(1, box0, box1);
    EXPECT_TRUE(!box0 && box1);
    Click(0, box0, box1);
    EXPECT_TRUE(box0 && !box1);
    Click(0, box0, box1);
    EXPECT_TRUE(!box0 && !box1);
}

TEST(RunDialog, UserTypeFromTheBoxes) {
    EXPECT_EQ(RunUserType(false, false), 0);
    EXPECT_EQ(RunUserType(true, false), 1);
    EXPECT_EQ(RunUserType(false, true), 2);
    EXPECT_EQ(RunUserType(true, true), 2);
}

TEST(RunDialog, BoxZeroCaptionFollowsElevationType) {
    StartupState app;
    app.WindowsVersion = MakeWindowsVersion(2, 6, 1, 7601, false, true);
    app.ElevationType = 3;
    EXPECT_EQ(CaptionOf(RunDialogCaptions(RightsFor(app), true), IDC_RUN_USERTYPE0),
              "As &Administrator");
    EXPECT_EQ(CaptionOf(RunDialogCaptions(RightsFor(app), false), IDC_RUN_USERTYPE0),
              "Als &Administrator");
    app.ElevationType = 2;
    EXPECT_FALSE(RightsFor(app).Box0Enabled);
    EXPECT_EQ(CaptionOf(RunDialogCaptions(RightsFor(app), true), IDC_RUN_USERTYPE0),
              "As &Other User");
    EXPECT_EQ(CaptionOf(RunDialogCaptions(RightsFor(app), false), IDC_RUN_USERTYPE0),
              "Als &anderer Nutzer");
    EXPECT_EQ(CaptionOf(RunDialogCaptions(RightsFor(app), false), IDC_RUN_USERTYPE1),
              "&eingeschränkt");
    app.WindowsVersion = MakeWindowsVersion(2, 5, 1, 2600, false, false);
    EXPECT_TRUE(RightsFor(app).Box0Enabled && RightsFor(app).Visible);
    app.WindowsVersion = MakeWindowsVersion(1, 4, 90, 3000, false, false);
    EXPECT_FALSE(RightsFor(app).Visible);
}

TEST(RunDialog, WorkingFolderFromTheTypedCommand) {
    EXPECT_EQ(RunWorkingFolder(R"("C:\Program Files\My App\app.exe" /x D:\data\in.txt)"),
              R"(C:\Program Files\My App\)");
    EXPECT_EQ(RunWorkingFolder(R"(C:\Windows\notepad.EXE C:\temp\a.txt)"), R"(C:\Windows\)");
    EXPECT_EQ(RunWorkingFolder(R"(  D:\Docs\Letter 2024.doc)"), R"(D:\Docs\)");
    EXPECT_EQ(RunWorkingFolder(R"(C:\boot.ini)"), R"(C:\)");
    EXPECT_EQ(RunWorkingFolder("notepad readme.txt"), "");
    EXPECT_EQ(RunWorkingFolder(R"("notepad" C:\x\y.txt)"), "");
    EXPECT_EQ(RunWorkingFolder(""), "");
    EXPECT_EQ(RunProgramPart(R"("C:\a b\x.exe" -y)"), R"(C:\a b\x.exe)");
}

TEST(RunDialog, WidthIsThreeMarginsAndTheField) {
    EXPECT_EQ(RunDialogWidth(12, 300), 336);
}

}  // namespace
}  // namespace zorv
