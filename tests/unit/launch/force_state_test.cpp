#include "launch/force_state.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

constexpr std::uint32_t kMain = 0x00CF0000;  // caption, system menu, boxes
constexpr std::uint32_t kSplash = 0x80000000;

// One foreground window and the show command it was given (-1: none).
struct FakeForce : ForcePlatform {
    std::uint64_t now = 50000;
    std::string exe;
    std::uint32_t style = kMain;
    bool minimized = false, maximized = false, titled = false;
    std::int32_t shown = -1;

    std::uint64_t NowMs() override { return now; }
    WindowId VisibleForegroundWindow() override { return 10; }
    void Sleep(std::uint32_t ms) override { now += ms; }
    std::string ExeOfWindowShort(WindowId) override { return exe; }
    WindowId WindowByTitle(const std::string&) override { return titled ? 10 : 20; }
    std::uint32_t WindowStyle(WindowId) override { return style; }
    bool IsVisible(WindowId) override { return true; }
    bool IsMinimized(WindowId) override { return minimized; }
    bool IsMaximized(WindowId) override { return maximized; }
    void Show(WindowId, std::int32_t cmd) override { shown = cmd; }
};

TEST(ForcedWindowState, TheStartedProgramsMainWindowGetsTheStateWithin15s) {
    const struct {
        const char *wanted, *title;
        std::int32_t state;
        const char* exe;
        std::uint32_t style;
        bool minimized, maximized, titled, done;
        std::int32_t shown;
    } cases[] = {
        {"C:\\APP.EXE", "", 2, "C:\\OTHER.EXE", kMain, false, false, false, false, -1},
        {"C:\\APP.EXE", "", 2, "C:\\APP.EXE", kSplash, false, false, false, false, -1},
        {"C:\\APP.EXE", "", 2, "C:\\APP.EXE", kMain, false, false, false, true, 2},
        // An unknown program counts when the title confirms the window.
        {"C:\\APP.EXE", "Editor", 3, "", kSplash, false, true, false, false, -1},
        {"C:\\APP.EXE", "Editor", 3, "", kSplash | 0x10000, false, true, true, true, 3},
        // A batch file's window belongs to the console host.
        {"C:\\RUN.BAT", "", 1, "C:\\WINDOWS\\SYSTEM32\\CMD.EXE", kMain, true, false, false, true,
         9},
        {"C:\\APP.EXE", "", 1, "C:\\APP.EXE", kMain, false, false, false, true, -1},
        {"C:\\APP.EXE", "", 0, "C:\\APP.EXE", kMain, false, false, false, true, 0},
    };
    for (const auto& c : cases) {
        FakeForce fake;
        fake.exe = c.exe, fake.style = c.style, fake.minimized = c.minimized;
        fake.maximized = c.maximized, fake.titled = c.titled;
        ForceWindowState state{c.wanted, c.title, c.state, fake.now - 14000};
        EXPECT_EQ(CheckForcedWindowState(state, fake), c.done) << c.wanted << c.exe << c.state;
        EXPECT_EQ(fake.shown, c.shown) << c.wanted << c.exe << c.state;
        EXPECT_EQ(state.Pending(), !c.done);
    }
    // A window is judged once: turning into a main window later does not count.
    FakeForce fake;
    fake.exe = "C:\\APP.EXE", fake.style = kSplash;
    ForceWindowState state{"C:\\APP.EXE", "", 2, fake.now};
    EXPECT_FALSE(CheckForcedWindowState(state, fake));
    fake.style = kMain;
    EXPECT_FALSE(CheckForcedWindowState(state, fake));
    // 15 s without the window: the wait ends untouched.
    state.StampMs = fake.now - kForceWindowMs, state.LastWindow = 0;
    EXPECT_FALSE(CheckForcedWindowState(state, fake));
    EXPECT_FALSE(state.Pending());
    EXPECT_EQ(fake.shown, -1);
}

}  // namespace
}  // namespace zorv
