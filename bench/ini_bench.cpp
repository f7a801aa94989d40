// What reading and writing the configuration file cost for a large
// configuration (10,000 items over the six lists), measured against the least
// any reader or writer must do with the same bytes: split them into lines,
// copy them, write them to a file. Prints the median ratios at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "items/config_file.h"

namespace {

using namespace zorv;

const IniContext kContext{1920, 1080, 15, 15, false, true};

std::string Repeat(std::string_view part, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += part;
    return s;
}

// Field lengths as in a real configuration: folders of 30-70 characters,
// captions of about 20, icons with an index, multi-line clipboard texts.
Item SampleItem(int list, int i) {
    const std::string n = std::to_string(i);
    Item it;
    it.Desc = Repeat("--->", i % 3) + "Application " + n + " (Tools)";
    if (list == kListClipboard || list == kListClipboard2) {
        it.Path = "Dear Sir or Madam,\r\n\r\nthank you for your letter " + n +
                  " of yesterday.\r\n  With kind regards\r\nA. Person";
    } else {
        it.Path =
            "\"C:\\Program Files\\Vendor " + n + "\\Application\\app" + n + ".exe\" /open \"%1\"";
        it.WrkDir = "C:\\Users\\someone\\Documents\\Projects\\" + n;
        it.Icon = "C:\\Program Files\\Vendor " + n + "\\Application\\app.exe,1";
        it.Title = "Application " + n + " - Main Window";
        it.UserType = i % 4;
        it.Style = i % 7;
    }
    it.Activate = static_cast<std::uint8_t>(i % 3);
    it.Hotkey = i % 5 == 0 ? 0x300 + (i % 26) + 'A' : 0;
    return it;
}

struct Sample {
    ItemLists lists;
    Settings settings;
    std::string text;
};

const Sample& TheSample() {
    static const Sample sample = [] {
        Sample s;
        s.lists = CreateItemLists();
        SetListNames(s.lists, true);
        const int counts[kListCount] = {1500, 5000, 1000, 500, 1000, 1000};
        for (int l = 0; l < kListCount; ++l) {
            for (int i = 0; i < counts[l]; ++i) s.lists[l].AddItem(SampleItem(l, i));
        }
        s.settings = DefaultSettings(false);
        s.settings.ASPause = 0.5;
        s.text = FormatIni(s.lists, s.settings, kContext);
        return s;
    }();
    return sample;
}

std::string TempPath() {
    return (std::filesystem::temp_directory_path() / "zorv_ini_bench.ini").string();
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fflush(f);
    std::fclose(f);
}

void BM_ReadIniText(benchmark::State& state) {
    const Sample& s = TheSample();
    ItemLists lists = CreateItemLists();
    for (auto _ : state) {
        ResetSharedParseRecord();
        Settings settings;
        ReadIniText(s.text, lists, settings, kContext);
        benchmark::DoNotOptimize(lists[kListMenu].Count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s.text.size()));
}

// The least a line reader does: find the line ends and keep each line.
void BM_SplitLines(benchmark::State& state) {
    const std::string& text = TheSample().text;
    for (auto _ : state) {
        std::vector<std::string> lines;
        for (std::size_t pos = 0; pos < text.size();) {
            std::size_t nl = text.find('\n', pos);
            if (nl == std::string::npos) nl = text.size();
            lines.emplace_back(text, pos, nl - pos);
            pos = nl + 1;
        }
        benchmark::DoNotOptimize(lines.data());
    }
}

void BM_FormatIni(benchmark::State& state) {
    const Sample& s = TheSample();
    for (auto _ : state) {
        std::string text = FormatIni(s.lists, s.settings, kContext);
        benchmark::DoNotOptimize(text.data());
    }
}

void BM_CopyToString(benchmark::State& state) {
    const std::string& text = TheSample().text;
    for (auto _ : state) {
        std::string copy = text;
        benchmark::DoNotOptimize(copy.data());
    }
}

void BM_FormatAndWriteFile(benchmark::State& state) {
    const Sample& s = TheSample();
    const std::string path = TempPath();
    for (auto _ : state) WriteFile(path, FormatIni(s.lists, s.settings, kContext));
    std::filesystem::remove(path);
}

void BM_WriteFile(benchmark::State& state) {
    const std::string& text = TheSample().text;
    const std::string path = TempPath();
    for (auto _ : state) WriteFile(path, text);
    std::filesystem::remove(path);
}

constexpr int kRepetitions = 9;
BENCHMARK(BM_ReadIniText)->Repetitions(kRepetitions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitLines)->Repetitions(kRepetitions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatIni)->Repetitions(kRepetitions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyToString)->Repetitions(kRepetitions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatAndWriteFile)->Repetitions(kRepetitions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFile)->Repetitions(kRepetitions)->Unit(benchmark::kMillisecond);

// Shows the usual table and keeps each benchmark's median for the ratios.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> medians;  // real time in the reported unit

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.aggregate_name == "median")
                medians[r.run_name.function_name] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// `aim` 0: no aim, the ratio is for information.
void PrintRatio(const MedianReporter& r, const char* what, const char* base, double aim) {
    auto a = r.medians.find(what);
    auto b = r.medians.find(base);
    if (a == r.medians.end() || b == r.medians.end() || b->second <= 0) return;
    std::cout << what << " / " << base << " = " << a->second / b->second;
    if (aim > 0) std::cout << " (aim: within " << aim << ")";
    std::cout << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << "\nConfiguration: 10000 items, " << TheSample().text.size() << " bytes\n";
    PrintRatio(reporter, "BM_ReadIniText", "BM_SplitLines", 3);
    PrintRatio(reporter, "BM_FormatAndWriteFile", "BM_WriteFile", 3);
    // A copy is one memcpy; this shows the formatting's own share of a save.
    PrintRatio(reporter, "BM_FormatIni", "BM_CopyToString", 0);
    benchmark::Shutdown();
    return 0;
}
