#include "autostart/autostart.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace zorv {
namespace {

// Keeps what the sequences did as lines: "timer 2500", "start a.exe",
// "activate a.exe", "rest", "beep", "pump".
struct FakeAutostartPlatform final : AutostartPlatform {
    std::vector<std::string> did;
    std::vector<std::string> running;  // programs with a window to activate
    std::vector<std::string> missing;  // programs that do not start
    std::map<std::string, int> busy;   // programs still starting: Busy answers left
    bool timerOn = false;

    void StartStepTimer(std::uint32_t ms) override {
        timerOn = true;
        did.push_back("timer " + std::to_string(ms));
    }
    void StopStepTimer() override { timerOn = false; }
    bool ActivateRunning(const Item& item) override {
        if (std::find(running.begin(), running.end(), item.Path) == running.end()) return false;
        did.push_back("activate " + item.Path);
        return true;
    }
    ItemStart StartQuietly(const Item& item) override {
        if (std::find(missing.begin(), missing.end(), item.Path) != missing.end())
            return ItemStart::Failed;
        if (busy[item.Path] > 0) return --busy[item.Path], ItemStart::Busy;
        did.push_back("start " + item.Path);
        return ItemStart::Started;
    }
    void RestOnWindowsDrive() override { did.push_back("rest"); }
    void Beep() override { did.push_back("beep"); }
    void ProcessPendingMessages() override { did.push_back("pump"); }
    void Pause(std::uint32_t ms) override { did.push_back("pause " + std::to_string(ms)); }
};

Item Entry(std::string path, std::uint8_t activate = 0) {
    Item item;
    item.Desc = path == "-" ? "-" : "Item " + path;
    item.Path = std::move(path);
    item.Activate = activate;
    return item;
}

AppState StateWith(int list, const std::vector<Item>& items) {
    AppState state;
    state.Lists = CreateItemLists();
    for (const Item& item : items) state.Lists[list].AddItem(item);
    return state;
}

TEST(Autostart, TheSkipDecisionTakesTimeLimitSwitchesEmptyListAndShiftInThatOrder) {
    constexpr double kMinute = 1.0 / 1440.0;
    const struct {
        std::int32_t limit;
        double days;
        bool win9x;
        std::uint64_t bootMs;
        bool noSwitch, shift;
        std::int32_t count;
        bool tooLate;
        AutostartSkip skip;
        bool beep;
    } rows[] = {
        // A logon 11 minutes ago is too late for a limit of 10; 9 minutes is not.
        {10, 11 * kMinute, false, 0, false, false, 3, true, AutostartSkip::TooLate, false},
        {10, 9 * kMinute, false, 0, false, false, 3, false, AutostartSkip::None, false},
        // No limit, or a logon time nobody knows: never too late.
        {0, 400.0, false, 0, false, false, 3, false, AutostartSkip::None, false},
        {10, 0.0, false, 0, false, false, 3, false, AutostartSkip::None, false},
        // A limit beyond a day.
        {3000, 2.0, false, 0, false, false, 1, false, AutostartSkip::None, false},
        {3000, 2.1, false, 0, false, false, 1, true, AutostartSkip::TooLate, false},
        // Windows 95/98/ME count from the boot.
        {10, 0.0, true, 11 * 60000, false, false, 3, true, AutostartSkip::TooLate, false},
        {10, 0.0, true, 9 * 60000, false, false, 3, false, AutostartSkip::None, false},
        // The switches win; Shift beeps only for a list that would have run.
        {10, 11 * kMinute, false, 0, true, true, 3, true, AutostartSkip::Switch, false},
        {0, 0.0, false, 0, false, true, 0, false, AutostartSkip::EmptyList, false},
        {0, 0.0, false, 0, false, true, 3, false, AutostartSkip::Shift, true},
    };
    for (const auto& r : rows) {
        Settings settings;
        settings.ASTimeLimit = r.limit;
        AutostartFacts facts;
        facts.DaysSinceLogon = r.days;
        facts.Win9x = r.win9x;
        facts.MsSinceBoot = r.bootMs;
        facts.NoAutostartSwitch = r.noSwitch;
        facts.ShiftHeld = r.shift;
        const AutostartDecision d = DecideAutostart(settings, r.count, facts);
        EXPECT_EQ(std::tuple(d.TooLate, d.Skip, d.Beep), std::tuple(r.tooLate, r.skip, r.beep))
            << "limit " << r.limit << ", days " << r.days << ", count " << r.count;
    }
}

TEST(Autostart, TheListRunsInOrder_AfterTheDelay_ThenAPauseApart_AndRestsAfterTheLast) {
    for (const auto& [delay, pause, firstMs, pauseMs] :
         {std::tuple(0, 0.0, 0u, 100u), std::tuple(60, 2.5, 60000u, 2500u),
          std::tuple(3, 0.0004, 3000u, 0u)}) {
        AppState state = StateWith(kListAutostart, {Entry("a.exe"), Entry("-"), Entry("b.exe")});
        state.Options.ASDelay = delay;
        state.Options.ASPause = pause;
        FakeAutostartPlatform platform;
        Autostarter starter(state, platform);
        starter.Decide({});
        while (platform.timerOn) starter.AutostartNext();
        const std::string p = "timer " + std::to_string(pauseMs);
        EXPECT_EQ(platform.did, (std::vector<std::string>{"timer " + std::to_string(firstMs),
                                                         "start a.exe", p, p, "start b.exe",
                                                         "rest"}));
        EXPECT_EQ(starter.AutostartIndex(), 3);
    }
}

TEST(Autostart, MissingProgramsAndRunningInstancesDoNotStopTheList_NorDoes200Items) {
    std::vector<Item> items;
    for (int i = 0; i < 200; ++i) items.push_back(Entry("p" + std::to_string(i) + ".exe", i % 2));
    AppState state = StateWith(kListAutostart, items);
    FakeAutostartPlatform platform;
    platform.missing = {"p5.exe"};
    platform.running = {"p1.exe", "p2.exe"};  // p2 has Activate 0: started all the same
    Autostarter starter(state, platform);
    starter.Decide({});
    while (platform.timerOn) starter.AutostartNext();
    std::vector<std::string> carried;
    for (const std::string& d : platform.did)
        if (!d.starts_with("timer")) carried.push_back(d);
    ASSERT_EQ(carried.size(), 200u);  // 199 items carried and the rest; p5 failed quietly
    EXPECT_EQ(std::vector<std::string>(carried.begin(), carried.begin() + 5),
              (std::vector<std::string>{"start p0.exe", "activate p1.exe", "start p2.exe",
                                        "start p3.exe", "start p4.exe"}));
    EXPECT_EQ(carried[5], "start p6.exe");
    EXPECT_EQ(carried.back(), "rest");
}

TEST(Autostart, AnItemWhoseProgramIsStillStarting_IsTriedAgainShortly_NotLost) {
    AppState state = StateWith(kListAutostart, {Entry("ed.exe a"), Entry("ed.exe b"), Entry("x")});
    FakeAutostartPlatform platform;
    platform.busy = {{"ed.exe b", 2}, {"x", 1000}};  // x never gets its turn: given up after 3 s
    Autostarter starter(state, platform);
    starter.Decide({});
    while (platform.timerOn) starter.AutostartNext();
    EXPECT_EQ(std::vector<std::string>(platform.did.begin(), platform.did.begin() + 6),
              (std::vector<std::string>{"timer 0", "start ed.exe a", "timer 100", "timer 100",
                                        "timer 100", "start ed.exe b"}));
    EXPECT_EQ(platform.did.back(), "rest");
    EXPECT_EQ(platform.busy["x"], 1000 - kBusyRetries);

    AppState closing = StateWith(kListAutoclose, {Entry("ed.exe a"), Entry("ed.exe b")});
    FakeAutostartPlatform later;
    later.busy = {{"ed.exe b", 1}};
    EXPECT_EQ(RunAutoclose(closing, false, later), AutocloseOutcome::Ran);
    EXPECT_EQ(later.did, (std::vector<std::string>{"start ed.exe a", "pump", "pump", "pause 100",
                                                   "start ed.exe b", "pump"}));
}

TEST(Autostart, AProgramClosedHalfWay_StartsNothingMore) {
    AppState state = StateWith(kListAutostart, {Entry("a.exe"), Entry("b.exe"), Entry("c.exe")});
    FakeAutostartPlatform platform;
    Autostarter starter(state, platform);
    starter.Decide({});
    starter.AutostartNext();
    starter.Abandon();
    EXPECT_FALSE(platform.timerOn);
    starter.AutostartNext();  // a timer message that was already queued
    state.IsClosing = true;
    starter.AutostartNext();
    EXPECT_EQ(platform.did, (std::vector<std::string>{"timer 0", "start a.exe", "timer 100"}));
}

TEST(Autostart, TheAutocloseListRunsUnlessSkippedAfterAnExitOrByShift) {
    const struct {
        bool acSkip, fromMenu, shift;
        AutocloseOutcome outcome;
    } rows[] = {
        {false, true, false, AutocloseOutcome::Ran},
        {true, false, false, AutocloseOutcome::Ran},  // logoff, shutdown, window closed
        {true, true, false, AutocloseOutcome::SkippedAfterExit},
        {true, true, true, AutocloseOutcome::SkippedAfterExit},
        {false, false, true, AutocloseOutcome::SkippedByShift},
    };
    for (const auto& r : rows) {
        AppState state =
            StateWith(kListAutoclose, {Entry("a.exe"), Entry("-"), Entry("gone.exe"), Entry("b.exe")});
        state.Options.ACSkip = r.acSkip;
        state.ClosedFromMenu = r.fromMenu;
        FakeAutostartPlatform platform;
        platform.missing = {"gone.exe"};
        EXPECT_EQ(RunAutoclose(state, r.shift, platform), r.outcome);
        const std::vector<std::string> want =
            r.outcome == AutocloseOutcome::Ran
                ? std::vector<std::string>{"start a.exe", "pump", "pump", "start b.exe", "pump"}
            : r.outcome == AutocloseOutcome::SkippedByShift ? std::vector<std::string>{"beep"}
                                                            : std::vector<std::string>{};
        EXPECT_EQ(platform.did, want) << r.acSkip << r.fromMenu << r.shift;
    }
}

TEST(Autostart, AShortcutPointsAtTheProgramByTargetOrFolderAndTarget_WhateverTheCase) {
    const std::string exe = "C:\\Tools\\Zorv\\ZorvPanel.exe";
    EXPECT_TRUE(LinkPointsTo(exe, "c:\\tools\\zorv\\ZORVPANEL.EXE", ""));
    EXPECT_TRUE(LinkPointsTo(exe, "ZorvPanel.exe", "C:\\Tools\\Zorv"));
    EXPECT_TRUE(LinkPointsTo(exe, "zorvpanel.exe", "c:\\tools\\zorv\\"));
    EXPECT_FALSE(LinkPointsTo(exe, "ZorvPanel.exe", ""));
    EXPECT_FALSE(LinkPointsTo(exe, "C:\\Tools\\ZorvPanel.exe", "C:\\Tools\\Zorv"));
    EXPECT_FALSE(LinkPointsTo(exe, "", ""));  // a shortcut to a shell object
}

TEST(Autostart, StartWithWindowsIsWrittenOnlyWhenTheFileAskedForIt) {
    const IniContext context;
    for (const auto& [line, value, written] :
         {std::tuple("", -1, ""), std::tuple("StartWithWindows=1", 1, "StartWithWindows=1\r\n"),
          std::tuple("StartWithWindows=0", 0, "StartWithWindows=0\r\n"),
          std::tuple("StartWithWindows=7", 1, "StartWithWindows=1\r\n")}) {
        Settings settings;
        ApplySettingLine(line, settings, context);
        EXPECT_EQ(settings.StartWithWindows, value);
        std::string out;
        AppendSettingLines(out, settings, context);
        const bool has = out.find("StartWithWindows=") != std::string::npos;
        EXPECT_EQ(has ? out.substr(out.find("StartWithWindows=")) : "", written) << line;
    }
}

}  // namespace
}  // namespace zorv
