// What the launcher itself costs between a button's item and the start
// request handed to Zorv.dll: expansion, splitting, the existence checks,
// the working folder and the request. The system's answers cost nothing
// here (a table lookup each), so the figures are the launcher's own work;
// the starter and the real file system are not part of them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "launch/execute.h"

namespace {

using namespace zorv;

std::string Lower(std::string text) {
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

// Answers from tables; the starter accepts every request.
class TablePlatform final : public LaunchPlatform {
  public:
    std::map<std::string, std::uint32_t> files;
    std::map<std::string, std::string> programs;  // lower file -> program
    std::map<std::string, ShortcutInfo> links;

    std::uint32_t FileAttributes(const std::string& path) override {
        std::string key = Lower(path);
        if (key.size() > 3 && key.back() == '\\') key.pop_back();
        auto it = files.find(key);
        return it == files.end() ? kNoAttributes : it->second;
    }
    std::uint32_t DriveType(const std::string&) override { return 3; }
    std::string FindProgram(const std::string& file, const std::string&) override {
        std::string key = Lower(file);
        if (key.size() >= 2 && key.front() == '"') key = key.substr(1, key.size() - 2);
        auto it = programs.find(key);
        return it == programs.end() ? std::string() : it->second;
    }
    std::string AssocCommand(const std::string&) override { return "C:\\WINDOWS\\notepad.exe %1"; }
    bool ReadShortcut(const std::string& path, ShortcutInfo& out) override {
        auto it = links.find(Lower(path));
        if (it == links.end()) return false;
        out = it->second;
        return true;
    }
    std::optional<std::string> EnvironmentVariable(const std::string& name) override {
        if (Lower(name) == "userprofile") return std::string("C:\\Users\\me");
        return std::nullopt;
    }
    DateTimeParts LocalNow() override { return {}; }
    std::string CurrentFolder() override { return cwd_; }
    bool SetCurrentFolder(const std::string& folder) override {
        cwd_ = folder;
        return true;
    }
    void ShowMessage(const std::string&) override {}
    std::uint32_t ForegroundLockTimeout() override { return 0; }
    std::uint64_t NowMs() override { return 1000; }
    void Sleep(std::uint32_t) override {}
    std::string ShortPathUpper(const std::string& path) override { return path; }
    std::string SystemMessage(std::int32_t) override { return {}; }
    WindowId ForegroundWindow() override { return 1; }
    void SnapshotTitleWindows(const std::string&) override {}
    WindowId FindNewTitleWindow(const std::string&) override { return 0; }
    std::string WindowText(WindowId) override { return {}; }
    bool ForceForeground(WindowId) override { return true; }
    void BarToFront() override {}
    bool BarIsForeground() override { return true; }
    void PressEscape() override {}
    void ClearForegroundHistory() override {}
    bool ActivateApp(const std::string&, const std::string&) override { return false; }
    void EndActivationCycle() override {}
    void SetBarOnTop() override {}
    void ShowMessageTop(const std::string&) override {}
    std::optional<std::string> ToAnsi(const std::string& text) override { return text; }
    StarterOutcome StartProcess(ExecRequest& request) override {
        benchmark::DoNotOptimize(request.File[0]);
        return {StarterAnswer::Accepted, {}};
    }
    std::optional<StarterOutcome> StartProcessUnicode(const std::string&, const std::string&,
                                                      const std::string&, ExecRequest&) override {
        return std::nullopt;
    }
    ShellOutcome StartThroughShell(const ShellStartArgs&) override { return {true, 0}; }

  private:
    std::string cwd_ = "C:\\Start";
};

void AddWorld(TablePlatform& p) {
    const std::string app = "c:\\program files\\app\\app.exe";
    for (const char* dir :
         {"c:\\windows", "c:\\program files\\app", "c:\\users\\me\\docs", "c:\\work"}) {
        p.files[dir] = kAttrDirectory;
    }
    for (const char* file : {"c:\\program files\\app\\app.exe", "c:\\users\\me\\docs\\notes.txt",
                             "c:\\links\\app.lnk", "c:\\windows\\notepad.exe"}) {
        p.files[file] = 0x20;
    }
    p.programs[app] = "C:\\Program Files\\App\\app.exe";
    p.programs["c:\\windows\\notepad.exe"] = "C:\\WINDOWS\\notepad.exe";
    p.programs["c:\\users\\me\\docs\\notes.txt"] = "C:\\WINDOWS\\notepad.exe";
    p.links["c:\\links\\app.lnk"] = {"C:\\Program Files\\App\\app.exe", "C:\\Work", "", 1, "", 0};
}

void RunItem(benchmark::State& state, const char* path, std::int32_t style) {
    TablePlatform platform;
    AddWorld(platform);
    Launcher launcher(platform, LaunchFacts{"C:\\Zorv", "C:\\WINDOWS", "C:\\Start", 6});
    Item item;
    item.Desc = "Item";
    item.Path = path;
    item.Style = style;
    for (auto _ : state) {
        const ExecResult result = launcher.ExecuteItem(item, false);
        benchmark::DoNotOptimize(result);
    }
}

void BM_QuotedProgramWithArguments(benchmark::State& state) {
    RunItem(state, "\"C:\\Program Files\\App\\app.exe\" -x /y", 1);
}
BENCHMARK(BM_QuotedProgramWithArguments);

void BM_DocumentWithVariable(benchmark::State& state) {
    RunItem(state, "%USERPROFILE%\\Docs\\notes.txt", 1);
}
BENCHMARK(BM_DocumentWithVariable);

void BM_ShortcutWithForcedState(benchmark::State& state) {
    RunItem(state, "C:\\Links\\app.lnk", 102);
}
BENCHMARK(BM_ShortcutWithForcedState);

void BM_Url(benchmark::State& state) {
    RunItem(state, "https://example.com/", 1);
}
BENCHMARK(BM_Url);

}  // namespace
