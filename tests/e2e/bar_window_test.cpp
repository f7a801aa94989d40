// Where and how the bar window appears after start.
#include "zorv_fixture.h"

namespace zorv::e2e {
namespace {

using BarWindow = ZorvE2E;

TEST_F(BarWindow, AppearsTopRight_WithClassTitleAndExStyles) {
    Folder().WriteIni("[Settings]\r\n");
    Process& p = Start(L"noau nostart");
    HWND bar = WaitForShownBar(p);
    ASSERT_TRUE(bar) << "the bar did not appear";

    // Right end 58 px from the screen's right edge: the gap of the caption
    // buttons of a maximised window.
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const RECT want{cx - 58 - 22, 0, cx - 58, 20};
    const DWORD ex = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    // The first show moves, shows and raises the window in separate steps;
    // judge the state they end in.
    RECT got{};
    WaitFor(
        [&] {
            got = WindowRect(bar);
            return EqualRect(&want, &got) && (WindowExStyle(bar) & ex) == ex;
        },
        Ms(3000));
    EXPECT_TRUE(EqualRect(&want, &got)) << "want " << Describe(want) << ", got " << Describe(got);
    EXPECT_EQ(WindowExStyle(bar) & ex, ex) << std::hex << WindowExStyle(bar);
    EXPECT_EQ(WindowClass(bar), kBarClass);
    EXPECT_EQ(WindowText(bar), kBarTitle);
    EXPECT_EQ(FindBar(), bar);
}

// The first tick always counts as busy, and the second compares with the
// zeros of an empty history: the earliest show is the third one-second tick,
// the latest the sixteenth. Measured from the bar's creation, so that a slow
// process start does not count.
TEST_F(BarWindow, W4Idle_WithoutNoau_WaitsForQuietSystem) {
    Folder().WriteIni("[Settings]\r\nW4Idle=1\r\n");
    Process& p = Start(L"nostart");
    ASSERT_TRUE(WaitFor([&] { return FindBarOf(p.Id()) != nullptr; }, Ms(15000)))
        << "no bar window was created";
    const double createdAt = NowMs();
    HWND bar = WaitForShownBar(p, Ms(25000));
    const double shownAfter = NowMs() - createdAt;
    ASSERT_TRUE(bar) << "the bar did not appear within 25 s of its creation";
    EXPECT_GE(shownAfter, 2000.0);
}

TEST_F(BarWindow, W4Idle_WithNoau_ShowsBarAtOnce) {
    Folder().WriteIni("[Settings]\r\nW4Idle=1\r\n");
    Process& p = Start(L"noau nostart");
    ASSERT_TRUE(WaitFor([&] { return FindBarOf(p.Id()) != nullptr; }, Ms(15000)))
        << "no bar window was created";
    const double createdAt = NowMs();
    HWND bar = WaitForShownBar(p, Ms(15000));
    const double shownAfter = NowMs() - createdAt;
    ASSERT_TRUE(bar) << "the bar did not appear";
    // The waiting start shows the bar two seconds after its creation at the
    // earliest; an immediate one within a few milliseconds.
    EXPECT_LT(shownAfter, 1000.0);
}

}  // namespace
}  // namespace zorv::e2e
