#include "zorv_fixture.h"

#include <shlobj.h>

#include <regex>

namespace zorv::e2e {

namespace {

// The program prefers a ZorvPanel.ini in the application-data folders over
// the one beside it, so such a file would silently replace the test's INI.
std::wstring ForeignIni() {
    for (int csidl : {CSIDL_COMMON_APPDATA, CSIDL_APPDATA}) {
        wchar_t dir[MAX_PATH];
        if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, dir) != S_OK) continue;
        fs::path ini = fs::path(dir) / L"Zorv" / L"ZorvPanel.ini";
        std::error_code ec;
        if (fs::exists(ini, ec)) return ini.wstring();
    }
    return {};
}

}  // namespace

void ZorvE2E::SetUp() {
    const std::wstring foreign = ForeignIni();
    ASSERT_TRUE(foreign.empty()) << "remove " << foreign << ": it overrides the INI of every test";
    // A bar left by anything else would be closed by our start and confuse
    // every window lookup.
    ASSERT_TRUE(WaitFor([] { return FindBar() == nullptr; }, Ms(5000)))
        << "a ZorvBar window of another process is open";
    folder_ = std::make_unique<ProgramFolder>(DistFolder());
}

Process& ZorvE2E::Start(std::wstring_view args) {
    processes_.push_back(std::make_unique<Process>(folder_->Exe(), args, folder_->Cwd()));
    return *processes_.back();
}

HWND ZorvE2E::WaitForShownBar(const Process& p, Ms timeout) {
    HWND bar = nullptr;
    WaitFor(
        [&] {
            bar = FindBarOf(p.Id());
            return bar && IsShownOnScreen(bar);
        },
        timeout);
    return (bar && IsShownOnScreen(bar)) ? bar : nullptr;
}

std::vector<std::string> ZorvE2E::LogMessages() {
    std::vector<std::string> messages;
    const std::optional<std::string> log = ReadWholeFile(Folder().Path() / L"zorv.log");
    if (!log) return messages;
    for (const std::string& line : SplitCrLf(*log)) {
        if (std::optional<LogLine> l = ParseLogLine(line)) messages.push_back(l->message);
    }
    return messages;
}

std::string ZorvE2E::LogTail(size_t n) {
    const std::vector<std::string> messages = LogMessages();
    std::string tail = "\n--- log tail ---\n";
    for (size_t i = messages.size() > n ? messages.size() - n : 0; i < messages.size(); ++i) {
        tail += messages[i] + "\n";
    }
    return tail;
}

HWND ZorvE2E::WaitForMessageBox(const Process& p, Ms timeout) {
    HWND box = nullptr;
    WaitFor(
        [&] {
            box = FindMessageBox(p.Id(), kBoxTitle);
            return box != nullptr || !p.IsRunning();
        },
        timeout);
    return box;
}

std::optional<std::string> WaitForFile(const fs::path& path, Ms timeout) {
    std::optional<std::string> bytes;
    WaitFor(
        [&] {
            bytes = ReadWholeFile(path);
            return bytes.has_value();
        },
        timeout);
    return bytes;
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

// The stamp is local date and time in the user's format, which may hold
// blanks ("1:05:07 PM"), so only its leading digit is pinned.
std::optional<LogLine> ParseLogLine(const std::string& line) {
    static const std::regex re(R"(^(\d[^\r\n]*?) \(( *\d{1,4})\)  ([^\r\n]*)$)");
    std::smatch m;
    if (!std::regex_match(line, m, re) || m[2].length() != 4) return std::nullopt;
    return LogLine{m[1], m[2], m[3]};
}

std::string NotepadButtonsIni(int buttons, std::string_view settings) {
    std::string s = "; ZorvPanel V0.01\r\n\r\n\r\n";
    for (int i = 1; i <= buttons; ++i) {
        const std::string n = std::to_string(i);
        s += "[Button]\r\nDesc=B" + n + "\r\nPath=C:\\windows\\notepad.exe\r\nWrkDir=\r\n" +
             "UserType=0\r\nIcon=**" + n +
             "\r\nActivate=0\r\nTitle=\r\nStyle=1\r\nPrio=2\r\nHotkey=0\r\n\r\n";
    }
    s += "[Settings]\r\n\r\nLogLevel=6\r\nWriteLogfile=1\r\n";
    s.append(settings);
    return s;
}

}  // namespace zorv::e2e
