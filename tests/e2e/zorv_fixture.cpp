#include "zorv_fixture.h"

#include <shlobj.h>

#include <algorithm>
#include <regex>

namespace zorv::e2e {

void ZorvE2E::SetUp() {
    // The program prefers a ZorvPanel.ini in the application-data folders
    // over the one beside it, so such a file would replace every test's INI.
    for (int csidl : {CSIDL_COMMON_APPDATA, CSIDL_APPDATA}) {
        wchar_t dir[MAX_PATH];
        if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, dir) != S_OK) continue;
        const fs::path ini = fs::path(dir) / L"Zorv" / L"ZorvPanel.ini";
        ASSERT_FALSE(fs::exists(ini)) << "remove " << ini << ": it overrides every test's INI";
    }
    // A bar left by anything else would be closed by our start and confuse
    // every window lookup.
    ASSERT_TRUE(WaitFor([] { return FindBar() == nullptr; }, Ms(5000)))
        << "a ZorvBar window of another process is open";
    MoveMouseAndStay(kAway.x, kAway.y);
    Reset();
}

void ZorvE2E::TearDown() {
    processes_.clear();
    MoveMouseAndStay(kAway.x, kAway.y);
}

void ZorvE2E::Reset() {
    processes_.clear();
    folder_.reset();
    folder_ = std::make_unique<ProgramFolder>(DistFolder());
}

Process& ZorvE2E::Start(std::wstring_view args) {
    processes_.push_back(std::make_unique<Process>(folder_->Exe(), args, folder_->Cwd()));
    return *processes_.back();
}

HWND ZorvE2E::StartBar(const std::string& ini) {
    Folder().WriteIni(ini);
    return WaitForShownBar(Start());
}

HWND ZorvE2E::WaitForShownBar(const Process& p, Ms timeout) {
    HWND bar = nullptr;
    const bool shown = WaitFor([&] { return IsShownOnScreen(bar = FindBarOf(p.Id())); }, timeout);
    return shown ? bar : nullptr;
}

HWND ZorvE2E::WaitForMessageBox(const Process& p) {
    HWND box = nullptr;
    WaitFor([&] { return (box = FindMessageBox(p.Id(), kBoxTitle)) || !p.IsRunning(); }, Ms(15000));
    return box;
}

// A line is "<date> <time> (dddd)  <message>". The stamp is local date and
// time in the user's format, which may hold blanks ("1:05:07 PM"), so only
// its leading digit is pinned.
std::vector<std::string> ZorvE2E::LogMessages() {
    static const std::regex line(R"((?:^|\n)\d[^\r\n]*? \([ \d]{3}\d\)  ([^\r\n]*)\r)");
    const std::string text = ReadWholeFile(Folder().Path() / L"zorv.log").value_or("");
    std::vector<std::string> messages;
    for (std::sregex_iterator m(text.begin(), text.end(), line), end; m != end; ++m) {
        messages.push_back((*m)[1]);
    }
    return messages;
}

int ZorvE2E::LogIndex(std::string_view prefix) {
    const std::vector<std::string> messages = LogMessages();
    for (size_t i = 0; i < messages.size(); ++i) {
        if (messages[i].starts_with(prefix)) return static_cast<int>(i);
    }
    return -1;
}

int ZorvE2E::LogCount(std::string_view prefix) {
    const std::vector<std::string> messages = LogMessages();
    return static_cast<int>(
        std::count_if(messages.begin(), messages.end(),
                      [&](const std::string& m) { return m.starts_with(prefix); }));
}

bool ZorvE2E::WaitForLog(std::string_view prefix, Ms timeout) {
    return WaitFor([&] { return LogIndex(prefix) >= 0; }, timeout, Ms(50));
}

std::string ZorvE2E::LogTail(size_t n) {
    const std::vector<std::string> messages = LogMessages();
    std::string tail = "\n--- log tail ---\n";
    for (size_t i = messages.size() > n ? messages.size() - n : 0; i < messages.size(); ++i) {
        tail += messages[i] + "\n";
    }
    return tail;
}

std::string Ini(const std::vector<Button>& buttons, std::string_view settings) {
    std::string s = "; ZorvPanel V0.01\r\n\r\n\r\n";
    for (const Button& b : buttons) {
        s += "[Button]\r\nDesc=" + b.Desc + "\r\nPath=" + b.Path + "\r\nWrkDir=" + b.WrkDir +
             "\r\nUserType=0\r\nIcon=" + b.Icon + "\r\nActivate=" + std::to_string(b.Activate) +
             "\r\nTitle=\r\nStyle=" + std::to_string(b.Style) +
             "\r\nPrio=" + std::to_string(b.Prio) + "\r\nHotkey=0\r\n\r\n";
    }
    return s + "[Settings]\r\n\r\nLogLevel=6\r\nWriteLogfile=1\r\n" + std::string(settings);
}

std::vector<Button> Notepads(int n) {
    std::vector<Button> buttons;
    for (int i = 1; i <= n; ++i) {
        buttons.push_back(
            {"B" + std::to_string(i), "C:\\windows\\notepad.exe", "**" + std::to_string(i)});
    }
    return buttons;
}

ClassesKey::~ClassesKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key_).c_str());
    if (machineToo_) RegDeleteTreeW(HKEY_CLASSES_ROOT, key_.c_str());
}

void ClassesKey::Set(const std::wstring& subKey, const std::wstring& name,
                     const std::wstring& value) {
    const std::wstring rel = subKey.empty() ? key_ : key_ + L"\\" + subKey;
    const auto write = [&](HKEY root, const std::wstring& path) {
        RegSetKeyValueW(root, path.c_str(), name.empty() ? nullptr : name.c_str(), REG_SZ,
                        value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    write(HKEY_CURRENT_USER, L"Software\\Classes\\" + rel);
    HKEY seen = nullptr;
    if (!machineToo_ &&
        RegOpenKeyExW(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_READ, &seen) == ERROR_SUCCESS) {
        RegCloseKey(seen);
        return;
    }
    machineToo_ = true;
    write(HKEY_CLASSES_ROOT, rel);
}

}  // namespace zorv::e2e
