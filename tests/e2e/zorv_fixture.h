// The fixture of every end-to-end test: a private program folder, the started processes (all
// torn down by destructors, also after a failed assertion), the log reader, and the
// configuration files the tests write.
#pragma once

#include <gtest/gtest.h>
#include <shlobj.h>

#include <regex>

#include "support/harness.h"

namespace zorv::e2e {

inline constexpr wchar_t kBoxTitle[] = L"ZorvPanel";  // the title of every message box
inline constexpr POINT kAway = {640, 400};            // the desktop, far from the bar
inline constexpr int kRightGap = 58;                  // the automatic right gap with SM_CXSIZE 18

class ZorvE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        // A ZorvPanel.ini in the application-data folders would win over ours.
        for (int csidl : {CSIDL_COMMON_APPDATA, CSIDL_APPDATA}) {
            wchar_t dir[MAX_PATH] = L"";
            SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, dir);
            ASSERT_FALSE(fs::exists(fs::path(dir) / L"Zorv" / L"ZorvPanel.ini")) << "in " << dir;
        }
        ASSERT_TRUE(WaitFor(Ms(5000), [] { return !FindBarOf(0); })) << "another bar is open";
        MoveMouseAndStay(kAway.x, kAway.y);
    }
    void TearDown() override {
        processes_.clear();
        MoveMouseAndStay(kAway.x, kAway.y);
    }

    ProgramFolder& Folder() { return *folder_; }
    // Ends every process of the test and starts over in a fresh folder.
    void Reset() {
        processes_.clear();
        folder_.reset();
        folder_ = std::make_unique<ProgramFolder>(DistFolder());
    }
    // Starts the program copy in Folder().Cwd().
    Process& Start(std::wstring_view args = L"noau nostart") {
        return *processes_.emplace_back(
            std::make_unique<Process>(folder_->Exe(), args, folder_->Cwd()));
    }
    Process& Last() { return *processes_.back(); }
    // The bar of `p` once it shows, or null after `timeout`.
    HWND WaitForShownBar(const Process& p, Ms timeout = Ms(15000)) {
        return WaitForWindow(p.Id(), kBarClass, kBarTitle, timeout, IsShownOnScreen);
    }
    // Writes `ini` as ZorvPanel.ini, starts the program and answers its bar.
    HWND StartBar(const std::string& ini) {
        Folder().WriteIni(ini);
        return WaitForShownBar(Start());
    }
    // A click at screen point (x, y) that opens a menu of the last started program; the
    // menu, or null. Under Wine a menu opened on the button's press now and then takes
    // the release that follows as a click outside and closes at once; a user clicks
    // again, and so does this, three times at most.
    HWND ClickForMenu(int x, int y) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!MoveMouseAndStay(x, y) || !ClickHere()) return 0;
            if (HWND menu = WaitForWindow(Last().Id(), L"#32768", nullptr, Ms(3000))) return menu;
        }
        return 0;
    }
    // The visible message box of `p`; null when none came in `timeout`.
    HWND WaitForMessageBox(const Process& p, Ms timeout = Ms(15000)) {
        return WaitForWindow(p.Id(), L"#32770", kBoxTitle, timeout);
    }

    // The messages of zorv.log's lines "<date> <time> (dddd)  <message>"; the stamp is in the
    // user's format, which may hold blanks ("1:05:07 PM").
    std::vector<std::string> LogMessages() {
        static const std::regex line(R"((?:^|\n)\d[^\r\n]*? \([ \d]{3}\d\)  ([^\r\n]*)\r)");
        const std::string text = ReadWholeFile(Folder().Path() / L"zorv.log").value_or("");
        std::vector<std::string> messages;
        for (std::sregex_iterator m(text.begin(), text.end(), line), end; m != end; ++m)
            messages.push_back((*m)[1]);
        return messages;
    }
    // How many messages start with `prefix`.
    int Logged(std::string_view prefix) {
        const std::vector<std::string> m = LogMessages();
        return int(std::count_if(m.begin(), m.end(), [&](auto& s) { return s.starts_with(prefix); }));
    }
    // The last messages, for the text of a failed expectation.
    std::string LogTail() {
        const std::vector<std::string> m = LogMessages();
        std::string tail = "\n--- log tail ---\n";
        for (size_t i = m.size() > 40 ? m.size() - 40 : 0; i < m.size(); ++i) tail += m[i] + "\n";
        return tail;
    }

  private:
    // Declared first so it is destroyed last, after the processes ended.
    std::unique_ptr<ProgramFolder> folder_ = std::make_unique<ProgramFolder>(DistFolder());
    std::vector<std::unique_ptr<Process>> processes_;
};

// One [Button] item with every key, as the program writes them. A description "-" makes a
// separator.
struct Button {
    Button(std::string desc, std::string path = "", std::string icon = "**3",
           std::string wrkDir = "", int activate = 0, int style = 1, int prio = 2)
        : Text("[Button]\r\nDesc=" + desc + "\r\nPath=" + path + "\r\nWrkDir=" + wrkDir +
               "\r\nUserType=0\r\nIcon=" + icon + "\r\nActivate=" + std::to_string(activate) +
               "\r\nTitle=\r\nStyle=" + std::to_string(style) + "\r\nPrio=" + std::to_string(prio) +
               "\r\nHotkey=0\r\n\r\n") {}
    std::string Text;
};

// A configuration with these buttons and [Settings] holding a log at level 6 and then
// `settings` (a later line wins).
inline std::string Ini(const std::vector<Button>& buttons, std::string_view settings = "") {
    std::string s = "; ZorvPanel V0.01\r\n\r\n\r\n";
    for (const Button& b : buttons) s += b.Text;
    return s + "[Settings]\r\n\r\nLogLevel=6\r\nWriteLogfile=1\r\n" + std::string(settings);
}

// `n` buttons that start notepad, showing the built-in icons 1, 2, ...
inline std::vector<Button> Notepads(int n) {
    std::vector<Button> buttons;
    for (int i = 1; i <= n; ++i) buttons.emplace_back("B", "notepad.exe", "**" + std::to_string(i));
    return buttons;
}

// A file type or URL scheme of the test in HKCU\Software\Classes, and in HKEY_CLASSES_ROOT
// where the system does not merge them (Wine); removed after.
class ClassesKey {
  public:
    explicit ClassesKey(std::wstring key) : key_(std::move(key)) {}
    ~ClassesKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key_).c_str());
        if (machineToo_) RegDeleteTreeW(HKEY_CLASSES_ROOT, key_.c_str());
    }
    // Sets value `name` ("" for the default) of `subKey` ("" for the key).
    ClassesKey& Set(const std::wstring& subKey, const std::wstring& name,
                    const std::wstring& value) {
        const std::wstring rel = subKey.empty() ? key_ : key_ + L"\\" + subKey;
        const auto set = [&](HKEY root, const std::wstring& key) {
            RegSetKeyValueW(root, key.c_str(), name.empty() ? nullptr : name.c_str(), REG_SZ,
                            value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)));
        };
        set(HKEY_CURRENT_USER, L"Software\\Classes\\" + rel);
        HKEY seen = nullptr;
        machineToo_ |= RegOpenKeyExW(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_READ, &seen) != 0;
        if (seen) RegCloseKey(seen);
        if (machineToo_) set(HKEY_CLASSES_ROOT, rel);
        return *this;
    }

  private:
    std::wstring key_;
    bool machineToo_ = false;
};

inline bool SamePath(const fs::path& a, const fs::path& b) {  // however written
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

}  // namespace zorv::e2e
