// Windows as the launcher sees it: a small file system with associations and
// shortcuts, an environment, a foreground window, and a starter that keeps
// what it was handed. Paths compare without case; a relative path is taken
// from the current folder, as GetFileAttributes does.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "launch/command.h"
#include "launch/launch_platform.h"

namespace zorv::testing {

inline std::string LowerPath(std::string path) {
    for (char& c : path) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return path;
}
inline std::string UpperPath(std::string path) {
    for (char& c : path) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return path;
}

class FakeLaunchPlatform : public LaunchPlatform {
  public:
    static constexpr WindowId kBar = 1;

    std::map<std::string, std::uint32_t> files;        // lower-case full path -> attributes
    std::set<char> missingDrives;                      // upper-case letters
    std::map<std::string, std::string> programFor;     // extension (lower, no dot) -> program
    std::map<std::string, std::string> assocCommands;  // ".txt" -> command
    std::map<std::string, ShortcutInfo> shortcuts;     // lower path -> link
    std::map<std::string, std::string> environment;    // upper name -> value
    DateTimeParts now;
    std::string cwd = "C:\\Start";
    std::vector<std::string> folderChanges;
    std::uint32_t foregroundLock = 0;
    std::uint64_t nowMs = 100000;
    WindowId foreground = 500;
    WindowId newWindow = 0;  // what FindNewTitleWindow finds
    std::string snapshot;
    bool barTakesForeground = true, activates = false, asciiOnlyCodePage = false;
    StarterOutcome starterAnswer{StarterAnswer::Accepted, {}};
    std::int32_t starterError = 0;
    ShellOutcome shellAnswer{true, 0};

    std::vector<ExecRequest> requests;
    std::vector<ShellStartArgs> shellStarts;
    std::vector<std::string> messages;  // "box: ..." or "top: ..."
    bool unicodeStarter = false;               // the library has the Unicode form
    std::vector<std::string> unicodeRequests;  // "file|params|folder" handed in that form
    std::string activateAsked;          // "title|exe" of the last ActivateApp
    std::map<std::string, int> did;     // the bar's and the history's reactions

    void AddFile(const std::string& path) { files[LowerPath(path)] = 0x20; }
    void AddFolder(const std::string& path) { files[LowerPath(path)] = kAttrDirectory; }
    std::string FullPath(const std::string& path) const {
        const bool absolute = (path.size() >= 2 && path[1] == ':') || path.rfind("\\\\", 0) == 0;
        std::string full = absolute ? path : cwd + "\\" + path;
        if (full.size() > 3 && full.back() == '\\') full.pop_back();
        return full;
    }
    bool Has(const std::string& path) const { return files.count(LowerPath(FullPath(path))) != 0; }

    std::uint32_t FileAttributes(const std::string& path) override {
        auto it = files.find(LowerPath(FullPath(path)));
        return path.empty() || it == files.end() ? kNoAttributes : it->second;
    }
    std::uint32_t DriveType(const std::string& root) override {
        return missingDrives.count(UpperPath(root)[0]) ? kDriveNoRootDir : 3;
    }
    // Like FindExecutable: the file must exist in the folder or the current
    // one; a program is its own program, answered in a padded buffer.
    std::string FindProgram(const std::string& quoted, const std::string& folder) override {
        const std::string file = Unquote(quoted);
        std::string found;
        if (!folder.empty() && Has(folder + "\\" + file)) found = FullPath(folder + "\\" + file);
        if (found.empty() && Has(file)) found = FullPath(file);
        if (found.empty()) return {};
        const std::string ext = LowerPath(FileExtension(found));
        if (ext == "exe" || ext == "com" || ext == "bat" || ext == "cmd") {
            return found + std::string(3, '\0') + "  ";
        }
        auto program = programFor.find(ext);
        return program == programFor.end() ? std::string() : program->second;
    }
    std::string AssocCommand(const std::string& dotExtension) override {
        return assocCommands[LowerPath(dotExtension)];
    }
    bool ReadShortcut(const std::string& lnkPath, ShortcutInfo& out) override {
        auto it = shortcuts.find(LowerPath(FullPath(lnkPath)));
        if (it == shortcuts.end()) return false;
        out = it->second;
        return true;
    }
    std::optional<std::string> EnvironmentVariable(const std::string& name) override {
        auto it = environment.find(UpperPath(name));
        if (it == environment.end()) return std::nullopt;
        return it->second;
    }
    DateTimeParts LocalNow() override { return now; }
    std::string CurrentFolder() override { return cwd; }
    bool SetCurrentFolder(const std::string& folder) override {
        folderChanges.push_back(folder);
        cwd = folder;
        if (cwd.size() > 3 && cwd.back() == '\\') cwd.pop_back();
        return true;
    }
    void ShowMessage(const std::string& text) override { messages.push_back("box: " + text); }
    void ShowMessageTop(const std::string& text) override { messages.push_back("top: " + text); }

    std::uint32_t ForegroundLockTimeout() override { return foregroundLock; }
    std::uint64_t NowMs() override { return nowMs; }
    void Sleep(std::uint32_t ms) override { nowMs += ms; }
    std::string ShortPathUpper(const std::string& path) override { return UpperPath(path); }
    std::string SystemMessage(std::int32_t code) override {
        return "System text " + std::to_string(code) + ".\r\n";
    }
    WindowId ForegroundWindow() override { return foreground; }
    // A new window is found only against a snapshot of the same title.
    void SnapshotTitleWindows(const std::string& title) override { snapshot = title; }
    WindowId FindNewTitleWindow(const std::string& t) override {
        return t == snapshot ? newWindow : 0;
    }
    std::string WindowText(WindowId) override { return "new window"; }
    bool ForceForeground(WindowId window) override {
        foreground = window;
        return true;
    }
    void BarToFront() override {
        if (barTakesForeground) foreground = kBar;
    }
    bool BarIsForeground() override { return foreground == kBar; }
    void PressEscape() override { ++did["Escape"]; }
    void ClearForegroundHistory() override { ++did["ClearHistory"]; }
    bool ActivateApp(const std::string& title, const std::string& exe) override {
        activateAsked = title + "|" + exe;
        return activates;
    }
    void EndActivationCycle() override { ++did["EndActivationCycle"]; }
    void SetBarOnTop() override { ++did["SetBarOnTop"]; }
    std::optional<std::string> ToAnsi(const std::string& text) override {
        for (unsigned char c : text) {
            if (asciiOnlyCodePage && c >= 0x80) return std::nullopt;
        }
        return text;
    }
    StarterOutcome StartProcess(ExecRequest& request) override {
        if (starterAnswer.Answer == StarterAnswer::Refused) request.ErrorCode = starterError;
        requests.push_back(request);
        return starterAnswer;
    }
    std::optional<StarterOutcome> StartProcessUnicode(const std::string& file,
                                                      const std::string& params,
                                                      const std::string& workDir,
                                                      ExecRequest& request) override {
        if (!unicodeStarter) return std::nullopt;
        unicodeRequests.push_back(file + "|" + params + "|" + workDir);
        return StartProcess(request);
    }
    ShellOutcome StartThroughShell(const ShellStartArgs& args) override {
        shellStarts.push_back(args);
        return shellAnswer;
    }
};

// The machine most tests run on: Windows in C:\WINDOWS, the program in
// D:\Tools\Zorv, a program with blanks in its path, documents, a shortcut.
inline LaunchFacts StandardFacts() {
    return LaunchFacts{"D:\\Tools\\Zorv", "C:\\WINDOWS", "C:\\Start", 6};
}

inline void AddStandardWorld(FakeLaunchPlatform& fake) {
    for (const char* folder : {"C:\\", "C:\\Start", "C:\\WINDOWS", "C:\\WINDOWS\\System32",
                               "C:\\Program Files\\App", "C:\\Docs", "C:\\Links", "C:\\Work",
                               "C:\\Mine", "C:\\Consoles", "D:\\Tools\\Zorv", "C:\\Temp"}) {
        fake.AddFolder(folder);
    }
    for (const char* file :
         {"C:\\WINDOWS\\notepad.exe", "C:\\WINDOWS\\System32\\mmc.exe",
          "C:\\Program Files\\App\\app.exe", "C:\\Docs\\my notes.txt", "C:\\Docs\\plain.txt",
          "C:\\Links\\editor.lnk", "C:\\Consoles\\compmgmt.msc", "D:\\Tools\\Zorv\\zorvtool.exe"}) {
        fake.AddFile(file);
    }
    fake.programFor["txt"] = "C:\\WINDOWS\\notepad.exe";
    fake.shortcuts[LowerPath("C:\\Links\\editor.lnk")] =
        ShortcutInfo{"C:\\Program Files\\App\\app.exe", "C:\\Work", "-n", 3, "", 0};
    fake.environment["TEMP"] = "C:\\Temp";
    fake.now = DateTimeParts{2024, 3, 5, 14, 7, 9, "Tuesday", "Tue", "March", "Mar", "AM", "PM"};
}

}  // namespace zorv::testing
