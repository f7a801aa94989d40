#include "launch/force_state.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace zorv {
namespace {

constexpr std::uint32_t kMainStyle = 0x00CF0000;  // caption, system menu, boxes
constexpr std::uint32_t kSplashStyle = 0x80000000;

struct FakeWindow {
    std::string exe;
    std::uint32_t style = kMainStyle;
    bool visible = true, minimized = false, maximized = false;
};

class FakeForce : public ForcePlatform {
  public:
    std::uint64_t now = 50000;
    WindowId foreground = 0;
    WindowId byTitle = 0;
    std::map<WindowId, FakeWindow> windows;
    std::vector<std::pair<WindowId, std::int32_t>> shows;
    int exeQueries = 0;

    std::uint64_t NowMs() override { return now; }
    WindowId VisibleForegroundWindow() override { return foreground; }
    void Sleep(std::uint32_t ms) override { now += ms; }
    std::string ExeOfWindowShort(WindowId w) override {
        ++exeQueries;
        return windows[w].exe;
    }
    WindowId WindowByTitle(const std::string&) override { return byTitle; }
    std::uint32_t WindowStyle(WindowId w) override { return windows[w].style; }
    bool IsVisible(WindowId w) override { return windows[w].visible; }
    bool IsMinimized(WindowId w) override { return windows[w].minimized; }
    bool IsMaximized(WindowId w) override { return windows[w].maximized; }
    void Show(WindowId w, std::int32_t cmd) override { shows.emplace_back(w, cmd); }
};

ForceWindowState Pending(std::string exe, std::string title, std::int32_t state,
                         std::uint64_t stamp) {
    ForceWindowState s;
    s.Exe = std::move(exe), s.Title = std::move(title), s.State = state, s.StampMs = stamp;
    return s;
}

using Shows = std::vector<std::pair<WindowId, std::int32_t>>;

TEST(ForcedWindowState, Style102MinimizesTheFirstMatchingWindowWithin15s) {
    FakeForce fake;
    fake.windows[10] = {"C:\\OTHER.EXE"};
    fake.windows[11] = {"C:\\APP.EXE", kSplashStyle};
    fake.windows[12] = {"C:\\APP.EXE"};
    ForceWindowState state = Pending("C:\\APP.EXE", "", 2, fake.now);

    for (WindowId w : {WindowId{10}, WindowId{11}, WindowId{11}}) {
        fake.foreground = w;
        EXPECT_FALSE(CheckForcedWindowState(state, fake));
    }
    EXPECT_EQ(fake.exeQueries, 2);  // the same window is not asked twice
    EXPECT_TRUE(state.Pending());
    fake.now += 14000;
    fake.foreground = 12;
    EXPECT_TRUE(CheckForcedWindowState(state, fake));
    EXPECT_EQ(fake.shows, (Shows{{12, 2}}));
    EXPECT_FALSE(state.Pending());

    // 15 s without the window: the wait ends untouched.
    state = Pending("C:\\APP.EXE", "", 2, fake.now);
    fake.now += kForceWindowMs;
    EXPECT_FALSE(CheckForcedWindowState(state, fake));
    EXPECT_FALSE(state.Pending());
    EXPECT_EQ(fake.shows.size(), 1u);
}

TEST(ForcedWindowState, TitleAndBatchRulesAndEachState) {
    FakeForce fake;
    // Unknown program, but the title confirms the window.
    fake.windows[20] = {"", kSplashStyle, true, false, true};
    fake.windows[20].style |= 0x10000;
    fake.foreground = 20;
    ForceWindowState state = Pending("C:\\APP.EXE", "Editor", 3, fake.now);
    EXPECT_FALSE(CheckForcedWindowState(state, fake));  // another window has the title
    fake.byTitle = 20;
    state.LastWindow = 0;
    EXPECT_TRUE(CheckForcedWindowState(state, fake));  // maximized, but with the box bit

    // A batch file's window belongs to the console host.
    fake.windows[21] = {"C:\\WINDOWS\\SYSTEM32\\CMD.EXE", kMainStyle, true, true};
    fake.foreground = 21;
    state = Pending("C:\\RUN.BAT", "", 1, fake.now);
    EXPECT_TRUE(CheckForcedWindowState(state, fake));
    fake.windows[22] = {"C:\\APP.EXE"};
    fake.foreground = 22;
    state = Pending("C:\\APP.EXE", "", 1, fake.now);
    EXPECT_TRUE(CheckForcedWindowState(state, fake));  // normal already: nothing to do
    fake.foreground = 10;
    fake.windows[10] = {"C:\\APP.EXE"};
    state = Pending("C:\\APP.EXE", "", 0, fake.now);
    EXPECT_TRUE(CheckForcedWindowState(state, fake));
    EXPECT_EQ(fake.shows, (Shows{{20, 3}, {21, 9}, {10, 0}}));
}

}  // namespace
}  // namespace zorv
