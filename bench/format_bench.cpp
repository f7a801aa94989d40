// What a log call costs: nothing beyond one comparison when the level is off,
// and one formatted line when it is on.
#include <benchmark/benchmark.h>

#include "support/log.h"

namespace {

class NullPlatform : public zorv::LogPlatform {
  public:
    std::uint32_t TickCount() override { return ++tick_; }
    std::string LocalDateTime() override { return "02.01.2024 10:00:00"; }
    void DebugOutput(const std::string& line) override { benchmark::DoNotOptimize(line.data()); }
    void AppendToLogFile(const std::string& line) override {
        benchmark::DoNotOptimize(line.data());
    }

  private:
    std::uint32_t tick_ = 0;
};

void BM_LogFilteredOut(benchmark::State& state) {
    zorv::LogLevel = 0;
    for (auto _ : state) zorv::Log(3, "ExecuteItem list %d index %d: %s", 0, 5, "notepad.exe");
}
BENCHMARK(BM_LogFilteredOut);

void BM_SprintfTypicalLine(benchmark::State& state) {
    const void* hwnd = reinterpret_cast<const void*>(0x000A03F2);
    for (auto _ : state) {
        auto s = zorv::sprintf("NewFgWin %p '%s' style %.8X at %d,%d (%5.1f ms)",
                               {hwnd, "Untitled - Editor", 0x14CF0000, -8, 21, 12.25});
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_SprintfTypicalLine);

void BM_LogWrittenLine(benchmark::State& state) {
    NullPlatform platform;
    zorv::SetLogPlatform(&platform);
    zorv::LogLevel = 6;
    zorv::WriteDebugView = true;
    for (auto _ : state) zorv::Log(3, "ExecuteItem list %d index %d: %s", 0, 5, "notepad.exe");
    zorv::SetLogPlatform(nullptr);
    zorv::LogLevel = 0;
    zorv::WriteDebugView = false;
}
BENCHMARK(BM_LogWrittenLine);

}  // namespace
