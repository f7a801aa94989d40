// What one press of an "activate" button costs in the decision code: the
// search through a full process list (200) and window list (400), and the
// following presses of the same cycle. The system is a fake with every window
// text computed beforehand, so the figures leave out the system calls.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "support/log.h"
#include "launch/activate.h"

namespace {

using zorv::ProcessEntry;
using zorv::WindowEntry;
using zorv::WindowId;

constexpr int kProcesses = 200;
constexpr int kWindows = 400;

std::string ProgramOf(int i) {
    return "C:\\PROGRA~1\\APP" + std::to_string(i) + "\\APP" + std::to_string(i) + ".EXE";
}

class FullSystem : public zorv::ActivatePlatform {
  public:
    FullSystem() {
        for (int i = 0; i < kProcesses; ++i) {
            processes_.push_back({static_cast<std::uint32_t>(100 + i), ProgramOf(i)});
        }
        // Two windows per process, named like documents of their program.
        for (int w = 0; w < kWindows; ++w) {
            const int owner = w / 2;
            windows_.push_back(
                {static_cast<WindowId>(w + 1), static_cast<std::uint32_t>(100 + owner)});
            texts_.push_back("Document " + std::to_string(w) + " - App " + std::to_string(owner));
        }
    }

    std::vector<ProcessEntry> ProcessList(const std::vector<std::uint32_t>*) override {
        return processes_;
    }
    std::vector<WindowEntry> AppWindows(bool) override { return windows_; }
    std::vector<WindowId> TopLevelWindows() override {
        std::vector<WindowId> ids;
        ids.reserve(windows_.size());
        for (const WindowEntry& w : windows_) ids.push_back(w.Window);
        return ids;
    }
    std::string WindowText(WindowId window) override { return texts_[window - 1]; }
    std::string ShortPathUpper(const std::string& path) override { return path; }
    bool FileExists(const std::string&) override { return false; }
    bool Is64BitWindows() override { return true; }
    std::uint64_t Seconds() override { return 10; }
    double Random() override {
        random_ += 0.618034;
        if (random_ >= 1.0) random_ -= 1.0;
        return random_;
    }
    bool WindowExists(WindowId) override { return true; }
    void ActivateWindow(WindowId window) override { benchmark::DoNotOptimize(window); }

  private:
    std::vector<ProcessEntry> processes_;
    std::vector<WindowEntry> windows_;
    std::vector<std::string> texts_;
    double random_ = 0.3;
};

// A new cycle on every press: the program is found through the process list,
// late in it (process 180 of 200).
void BM_ActivateAppSearchByExe(benchmark::State& state) {
    FullSystem system;
    zorv::ActivationCycle cycle{system};
    const std::string exe = ProgramOf(180);
    for (auto _ : state) {
        cycle.EndByStart();
        benchmark::DoNotOptimize(cycle.ActivateApp("", exe));
    }
}
BENCHMARK(BM_ActivateAppSearchByExe);

// The same with a title: the windows of the program are read and compared.
void BM_ActivateAppSearchByExeAndTitle(benchmark::State& state) {
    FullSystem system;
    zorv::ActivationCycle cycle{system};
    const std::string exe = ProgramOf(180);
    for (auto _ : state) {
        cycle.EndByStart();
        benchmark::DoNotOptimize(cycle.ActivateApp("App 180", exe));
    }
}
BENCHMARK(BM_ActivateAppSearchByExeAndTitle);

// A batch item: every window text is compared with the title.
void BM_ActivateAppSearchByTitle(benchmark::State& state) {
    FullSystem system;
    zorv::ActivationCycle cycle{system};
    for (auto _ : state) {
        cycle.EndByStart();
        benchmark::DoNotOptimize(cycle.ActivateApp("App 190", "C:\\JOBS\\RUN.BAT"));
    }
}
BENCHMARK(BM_ActivateAppSearchByTitle);

// Further presses within the cycle: no search at all.
void BM_ActivateAppNextInCycle(benchmark::State& state) {
    FullSystem system;
    zorv::ActivationCycle cycle{system};
    const std::string exe = ProgramOf(180);
    for (auto _ : state) benchmark::DoNotOptimize(cycle.ActivateApp("", exe));
}
BENCHMARK(BM_ActivateAppNextInCycle);

}  // namespace
