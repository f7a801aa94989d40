#include "support/callback_timer.h"

#include <gtest/gtest.h>

#include <map>

#include "support/tick_clock.h"

namespace {

TEST(TickClock64, AddsTwoToThe32OnEveryWrap) {
    zorv::TickClock64 c;
    EXPECT_EQ(c.Read(100), 100u);
    EXPECT_EQ(c.Read(0xFFFFFFF0u), 0xFFFFFFF0u);
    EXPECT_EQ(c.Read(5), (1ull << 32) + 5);
    EXPECT_EQ(c.Read(5), (1ull << 32) + 5);  // an equal reading is no wrap
    EXPECT_EQ(c.Read(4), (2ull << 32) + 4);
}

using Proc = void (*)();
void ProcA() {}
void ProcB() {}
void ProcC() {}

// The system's running timers, id -> (interval, procedure); stopping a timer
// that is not running fails the test.
using Running = std::map<std::uintptr_t, std::pair<std::uint32_t, Proc>>;
struct FakeService {
    Running* running;
    std::uintptr_t* lastId;
    std::uintptr_t Start(std::uint32_t interval, Proc p) {
        (*running)[++*lastId] = {interval, p};
        return *lastId;
    }
    void Stop(std::uintptr_t id) { ASSERT_EQ(running->erase(id), 1u) << "stopped twice"; }
};

TEST(CallBackTimer, OneTimerPerProcedure_RestartsKeepTheInterval_TheEndStopsAll) {
    Running running;
    std::uintptr_t lastId = 0;
    auto intervalOf = [&](Proc p) {
        for (const auto& [id, timer] : running) {
            if (timer.second == p) return timer.first;
        }
        return 0u;
    };
    {
        zorv::CallBackTimerT<Proc, FakeService> t(FakeService{&running, &lastId});
        const std::uintptr_t first = t.CreateTimer(250, ProcA);
        EXPECT_NE(first, 0u);
        EXPECT_EQ(t.CreateTimer(50, ProcA), 0u);  // the first one keeps running
        t.CreateTimer(2, ProcB);
        t.CreateTimer(3, ProcC);
        t.DisableTimer(ProcA);
        t.DisableTimer(ProcA);
        EXPECT_EQ(intervalOf(ProcA), 0u);
        const std::uintptr_t enabled = t.EnableTimer(ProcA);
        EXPECT_NE(enabled, first);
        EXPECT_EQ(intervalOf(ProcA), 250u);
        EXPECT_NE(t.RestartTimer(ProcA), enabled);
        EXPECT_NE(t.ChangeInterval(ProcA, 10), 0u);
        t.DeleteTimer(ProcB);
        t.DeleteTimer(ProcB);  // unknown now: ignored
        EXPECT_EQ(t.EnableTimer(ProcB), 0u);
        EXPECT_EQ(t.ChangeInterval(ProcB, 5), 0u);
        EXPECT_EQ(t.Count(), 2u);
        EXPECT_EQ(running.size(), 2u);
        EXPECT_EQ(intervalOf(ProcA), 10u);
        EXPECT_EQ(intervalOf(ProcC), 3u);
        t.DisableTimer(ProcC);
    }
    EXPECT_TRUE(running.empty());
}

}  // namespace
