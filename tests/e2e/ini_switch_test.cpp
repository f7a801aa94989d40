// The "/ini=" switch: which file the program takes, and what it does with a
// value it cannot use.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

using IniSwitch = ZorvE2E;

TEST_F(IniSwitch, UnusableValue_ShowsGermanCriticalBox_AndEndsAfterOk) {
    // An absolute path in a folder that does not exist cannot be created.
    const std::wstring value = (Folder().Root() / L"missing" / L"zorv.ini").wstring();
    Process& p = Start(L"noau nostart /ini=" + value);

    bool barSeen = false;
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            barSeen = barSeen || FindBarOf(p.Id()) != nullptr;
            box = FindMessageBox(p.Id(), L"ZorvPanel");
            return box != nullptr || !p.IsRunning();
        },
        Ms(15000)));
    ASSERT_TRUE(box) << "no message box titled ZorvPanel";
    EXPECT_EQ(MessageBoxText(box), L"'" + value + L"' ist ung\u00fcltig");
    EXPECT_TRUE(ShowsCriticalIcon(box)) << "the box does not show the critical (red) icon";

    ASSERT_TRUE(PressOk(box));
    ASSERT_TRUE(WaitFor(
        [&] {
            barSeen = barSeen || FindBarOf(p.Id()) != nullptr;
            return !p.IsRunning();
        },
        Ms(5000)))
        << "the program still runs after OK";
    EXPECT_FALSE(barSeen) << "a bar window was created";
    EXPECT_FALSE(fs::exists(Folder().Root() / L"missing"));
}

TEST_F(IniSwitch, MissingRelativeFile_IsCreatedBesideProgram) {
    Process& p = Start(L"noau nostart /ini=custom.ini");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";

    EXPECT_TRUE(fs::exists(Folder().Path() / L"custom.ini"));
    EXPECT_FALSE(fs::exists(Folder().Cwd() / L"custom.ini"))
        << "resolved against the working folder";
}

TEST_F(IniSwitch, RelativeFile_IsReadFromProgramFolder) {
    // Logging settings make it visible which file was read.
    WriteWholeFile(Folder().Path() / L"other.ini",
                   "[Settings]\r\nLogLevel=3\r\nWriteLogfile=1\r\n");
    Process& p = Start(L"noau nostart /ini=other.ini");
    ASSERT_TRUE(WaitForShownBar(p)) << "the bar did not appear";

    std::optional<std::string> log = ReadWholeFile(Folder().Path() / L"zorv.log");
    ASSERT_TRUE(log) << "other.ini was not read";
    std::vector<std::string> lines = SplitCrLf(*log);
    ASSERT_FALSE(lines.empty());
    std::optional<LogLine> first = ParseLogLine(lines[0]);
    ASSERT_TRUE(first) << lines[0];
    EXPECT_EQ(first->message, "------------- Zorv START LOG (3)---------------");
    EXPECT_FALSE(fs::exists(Folder().IniFile())) << "the default INI was used";
}

}  // namespace
}  // namespace zorv::e2e
