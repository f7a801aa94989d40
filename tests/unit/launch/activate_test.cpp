// The activation cycle: which window each press of a button brings forward.
#include "launch/activate.h"

#include <gtest/gtest.h>

#include "launch/activate_fake_platform.h"

namespace zorv {
namespace {

using testing::FakeActivatePlatform;
using Ids = std::vector<WindowId>;

constexpr char kEditor[] = "C:\\Tools\\Editor.exe";

struct CycleFixture : ::testing::Test {
    FakeActivatePlatform fake;
    ActivationCycle cycle{fake};

    // Three windows of the editor, one of another program in between.
    Ids ThreeEditorWindows() {
        fake.processes = {{4, "C:\\Tools\\Other.exe"}, {8, kEditor}};
        const WindowId a = fake.AddWindow(8, "One - Editor");
        fake.AddWindow(4, "Other");
        const WindowId b = fake.AddWindow(8, "Two - Editor");
        const WindowId c = fake.AddWindow(8, "Three - Editor");
        return {a, b, c};
    }
    Ids Press(int times, const std::string& title = "", const std::string& exe = kEditor) {
        fake.activated.clear();
        for (int i = 0; i < times; ++i) cycle.ActivateApp(title, exe);
        return fake.activated;
    }
};

TEST_F(CycleFixture, RepeatedPressesStepThroughTheWindowsInOrderAndWrap) {
    const Ids w = ThreeEditorWindows();
    EXPECT_EQ(Press(4), (Ids{w[0], w[1], w[2], w[0]}));
    EXPECT_EQ(cycle.Count(), 3u);
    EXPECT_EQ(cycle.Index(), 1u);
    // The lists are read once per cycle, not on every press.
    EXPECT_EQ(fake.processListCalls, 1);
}

TEST_F(CycleFixture, AStartOrTheBarReducingBeginsAgainWithTheFirst) {
    const Ids w = ThreeEditorWindows();
    EXPECT_EQ(Press(2), (Ids{w[0], w[1]}));
    cycle.EndByStart();
    EXPECT_EQ(Press(2), (Ids{w[0], w[1]}));
    cycle.EndByReduce();
    EXPECT_EQ(Press(1), (Ids{w[0]}));
    EXPECT_EQ(fake.processListCalls, 3);
}

TEST_F(CycleFixture, ThePauseBeforeANewCycleIsSixSeconds) {
    const Ids w = ThreeEditorWindows();
    EXPECT_EQ(Press(1), (Ids{w[0]}));
    fake.seconds += 5;
    EXPECT_EQ(Press(1), (Ids{w[1]}));  // still the cycle opened 5 s ago
    fake.seconds += 1;
    EXPECT_EQ(Press(1), (Ids{w[0]}));  // 6 s after it opened: a new one
}

TEST_F(CycleFixture, AnotherProgramOpensItsOwnCycle) {
    const Ids w = ThreeEditorWindows();
    const WindowId other = fake.windows[1].Id;
    EXPECT_EQ(Press(2), (Ids{w[0], w[1]}));
    EXPECT_EQ(Press(1, "", "C:\\Tools\\Other.exe"), (Ids{other}));
    EXPECT_EQ(Press(1), (Ids{w[0]}));
}

TEST_F(CycleFixture, OnlyTheFirstTwentyMatchingWindowsTakePart) {
    Ids all;
    for (int i = 0; i < 25; ++i)
        all.push_back(fake.AddWindow(1, "Doc " + std::to_string(i) + " - Notes"));
    Ids expected(all.begin(), all.begin() + 20);
    expected.push_back(all[0]);
    EXPECT_EQ(Press(21, "Notes", ""), expected);
    EXPECT_EQ(cycle.Count(), 20u);
}

TEST_F(CycleFixture, ABatchItemSearchesByTitleOnly) {
    fake.processes = {{8, "C:\\Jobs\\backup.bat"}, {9, "C:\\Windows\\System32\\cmd.exe"}};
    const WindowId console = fake.AddWindow(9, "Backup running");
    fake.AddWindow(8, "unrelated");
    EXPECT_EQ(Press(1, "Backup", "C:\\Jobs\\backup.bat"), (Ids{console}));
    EXPECT_EQ(fake.processListCalls, 0);
    EXPECT_EQ(fake.topLevelCalls, 1);
    // The same batch item again continues the cycle it opened.
    EXPECT_EQ(Press(1, "Backup", "C:\\Jobs\\backup.bat"), (Ids{console}));
    EXPECT_EQ(fake.topLevelCalls, 1);
}

TEST_F(CycleFixture, NothingFoundActivatesNothing) {
    ThreeEditorWindows();
    EXPECT_EQ(Press(1, "", "C:\\Tools\\Missing.exe"), Ids{});
    EXPECT_EQ(Press(1, "", ""), Ids{});  // neither program nor title
    EXPECT_EQ(fake.topLevelCalls, 0);
}

TEST_F(CycleFixture, AWindowClosedSinceTheSearchRestartsIt) {
    const Ids w = ThreeEditorWindows();
    EXPECT_EQ(Press(1), (Ids{w[0]}));
    fake.CloseWindow(w[1]);
    // The second window is gone: a new search, whose first window comes next.
    EXPECT_EQ(Press(1), (Ids{w[0]}));
    EXPECT_EQ(cycle.Count(), 2u);
    EXPECT_EQ(Press(1), (Ids{w[2]}));
    EXPECT_EQ(fake.processListCalls, 2);
}

TEST_F(CycleFixture, ANewCycleEvenWhenTheRandomSourceRepeats) {
    const Ids w = ThreeEditorWindows();
    Press(2);
    fake.nextRandom = 0.25;  // the token of the open cycle is 1.25
    cycle.EndByReduce();
    EXPECT_EQ(Press(1), (Ids{w[0]}));
}

TEST_F(CycleFixture, AListThatKeepsNamingDeadWindowsGivesUp) {
    // A window the lists report but that does not exist any more.
    struct Stale : FakeActivatePlatform {
        bool WindowExists(WindowId) override { return false; }
    } stale;
    stale.processes = {{8, kEditor}};
    stale.AddWindow(8, "Ghost");
    ActivationCycle ghostCycle{stale};
    EXPECT_FALSE(ghostCycle.ActivateApp("", kEditor));
    EXPECT_TRUE(stale.activated.empty());
    EXPECT_GT(stale.processListCalls, 1);
}

}  // namespace
}  // namespace zorv
