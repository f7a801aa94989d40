// The fixture of every end-to-end test: a private program folder, the
// processes the test started, the waits and the log reader the tests share,
// and the configuration files they write. Everything is torn down by the
// members' destructors, so a failed assertion still ends the processes and
// deletes the folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/harness.h"

namespace zorv::e2e {

inline constexpr wchar_t kBoxTitle[] = L"ZorvPanel";  // the title of every message box
inline constexpr POINT kAway = {640, 400};            // the desktop, far from the bar
inline constexpr int kRightGap = 58;                  // 3 * SM_CXSIZE + 4, SM_CXSIZE 18 here

class ZorvE2E : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    ProgramFolder& Folder() { return *folder_; }
    // Ends every process of the test and starts over in a fresh folder.
    void Reset();
    // Starts the program copy; the working folder is Folder().Cwd().
    Process& Start(std::wstring_view args = L"noau nostart");
    // Writes `ini` as ZorvPanel.ini, starts the program and answers its bar
    // once it shows (null after 15 s); Last() is its process.
    HWND StartBar(const std::string& ini);
    Process& Last() { return *processes_.back(); }
    HWND WaitForShownBar(const Process& p, Ms timeout = Ms(15000));
    // The visible message box of `p`, or null when none came within 15 s or
    // `p` ended first.
    HWND WaitForMessageBox(const Process& p);

    // The messages of zorv.log without date, time and delta.
    std::vector<std::string> LogMessages();
    // The index of the first message that starts with `prefix`, or -1.
    int LogIndex(std::string_view prefix);
    int LogCount(std::string_view prefix);
    bool WaitForLog(std::string_view prefix, Ms timeout = Ms(5000));
    // The last messages, for the text of a failed expectation.
    std::string LogTail(size_t n = 40);

  private:
    // Declared first so it is destroyed last, after the processes ended.
    std::unique_ptr<ProgramFolder> folder_;
    std::vector<std::unique_ptr<Process>> processes_;
};

// One [Button] item with every key, as the program writes them. A
// description "-" makes a separator.
struct Button {
    Button(std::string desc, std::string path = "", std::string icon = "**3",
           std::string wrkDir = "", int activate = 0, int style = 1, int prio = 2)
        : Desc(desc), Path(path), Icon(icon), WrkDir(wrkDir), Activate(activate), Style(style),
          Prio(prio) {}
    std::string Desc, Path, Icon, WrkDir;
    int Activate, Style, Prio;
};
// A configuration with these buttons and [Settings] holding a log at level
// 6 and then `settings` (a later line wins).
std::string Ini(const std::vector<Button>& buttons, std::string_view settings = "");
// `n` buttons that start notepad, showing the built-in icons 1, 2, ...
std::vector<Button> Notepads(int n);

// A file type or URL scheme of the test: written to HKCU\Software\Classes,
// and where the system does not merge that into HKEY_CLASSES_ROOT (Wine) to
// HKEY_CLASSES_ROOT as well. Both are removed again by the destructor.
class ClassesKey {
  public:
    explicit ClassesKey(std::wstring key) : key_(std::move(key)) {}
    ~ClassesKey();
    ClassesKey(const ClassesKey&) = delete;
    ClassesKey& operator=(const ClassesKey&) = delete;
    // Sets value `name` ("" for the default) of `subKey` ("" for the key).
    void Set(const std::wstring& subKey, const std::wstring& name, const std::wstring& value);

  private:
    std::wstring key_;
    bool machineToo_ = false;
};

}  // namespace zorv::e2e
