#include "support/callback_timer.h"
#include "support/tick_clock.h"

#include <gtest/gtest.h>

#include <map>

TEST(TickClock64, AddsTwoToThe32OnEveryWrap) {
    zorv::TickClock64 c;
    EXPECT_EQ(c.Read(100), 100u);
    EXPECT_EQ(c.Read(0xFFFFFFF0u), 0xFFFFFFF0u);
    EXPECT_EQ(c.Read(5), (1ull << 32) + 5);
    EXPECT_EQ(c.Read(5), (1ull << 32) + 5);  // an equal reading is no wrap
    EXPECT_EQ(c.Read(4), (2ull << 32) + 4);
}

namespace {

using Proc = void (*)();
void ProcA() {}
void ProcB() {}
void ProcC() {}

// Records running timers as id -> (interval, proc), like the system would.
struct FakeService {
    std::map<std::uintptr_t, std::pair<std::uint32_t, Proc>>* running;
    std::uintptr_t* nextId;
    std::uintptr_t Start(std::uint32_t interval, Proc p) {
        std::uintptr_t id = ++*nextId;
        (*running)[id] = {interval, p};
        return id;
    }
    void Stop(std::uintptr_t id) { ASSERT_EQ(running->erase(id), 1u) << "stopped twice"; }
};

struct TimerTest : ::testing::Test {
    std::map<std::uintptr_t, std::pair<std::uint32_t, Proc>> running;
    std::uintptr_t nextId = 0;
    FakeService Service() { return FakeService{&running, &nextId}; }
    std::uint32_t IntervalOf(Proc p) {
        for (auto& [id, v] : running) {
            if (v.second == p) return v.first;
        }
        return 0;
    }
};

}  // namespace

TEST_F(TimerTest, OneTimerPerCallback) {
    zorv::CallBackTimerT<Proc, FakeService> t(Service());
    auto first = t.CreateTimer(1000, ProcA);
    EXPECT_NE(first, 0u);
    EXPECT_EQ(t.CreateTimer(50, ProcA), 0u);
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running.begin()->first, first);
    EXPECT_EQ(IntervalOf(ProcA), 1000u);
}

TEST_F(TimerTest, DisableEnableRestartsWithStoredIntervalAndNewId) {
    zorv::CallBackTimerT<Proc, FakeService> t(Service());
    auto id1 = t.CreateTimer(250, ProcA);
    t.DisableTimer(ProcA);
    t.DisableTimer(ProcA);  // already stopped: no second KillTimer
    EXPECT_TRUE(running.empty());
    auto id2 = t.EnableTimer(ProcA);
    EXPECT_NE(id2, id1);
    EXPECT_EQ(IntervalOf(ProcA), 250u);
    EXPECT_NE(t.RestartTimer(ProcA), id2);
    EXPECT_EQ(running.size(), 1u);
    EXPECT_EQ(t.ChangeInterval(ProcA, 10) != 0, true);
    EXPECT_EQ(IntervalOf(ProcA), 10u);
    EXPECT_EQ(t.EnableTimer(ProcB), 0u);
    EXPECT_EQ(t.ChangeInterval(ProcB, 5), 0u);
}

TEST_F(TimerTest, DeletingMiddleKeepsOthersAndEndStopsAll) {
    {
        zorv::CallBackTimerT<Proc, FakeService> t(Service());
        t.CreateTimer(1, ProcA);
        t.CreateTimer(2, ProcB);
        t.CreateTimer(3, ProcC);
        t.DeleteTimer(ProcB);
        t.DeleteTimer(ProcB);  // unknown now: ignored
        EXPECT_EQ(t.Count(), 2u);
        EXPECT_EQ(IntervalOf(ProcA), 1u);
        EXPECT_EQ(IntervalOf(ProcC), 3u);
        t.DisableTimer(ProcC);
        EXPECT_NE(t.EnableTimer(ProcC), 0u);
        t.DisableTimer(ProcA);
    }
    EXPECT_TRUE(running.empty());
}
