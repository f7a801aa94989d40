// A second start of the program replaces the running one.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

using SecondStart = ZorvE2E;

TEST_F(SecondStart, ClosesRunningBar_AndTakesOver) {
    Folder().WriteIni("[Settings]\r\n");
    Process& first = Start(L"noau nostart");
    HWND firstBar = WaitForShownBar(first);
    ASSERT_TRUE(firstBar) << "the first bar did not appear";

    Process& second = Start(L"noau nostart");
    // The newcomer waits 500 ms after its WM_CLOSE; allow a loaded machine more.
    std::optional<DWORD> code = first.WaitExit(Ms(5000));
    ASSERT_TRUE(code) << "the first instance still runs 5 s after the second start";
    EXPECT_LT(*code, 0xC0000000u) << "the first instance ended by an exception: " << std::hex
                                  << *code;

    HWND secondBar = WaitForShownBar(second);
    ASSERT_TRUE(secondBar) << "the second bar did not appear";
    EXPECT_TRUE(second.IsRunning());
    EXPECT_FALSE(IsWindow(firstBar));
    std::vector<HWND> bars = FindTopLevelWindows(kBarClass, kBarTitle);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(WindowProcessId(bars[0]), second.Id());
}

}  // namespace
}  // namespace zorv::e2e
