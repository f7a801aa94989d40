// The fixture of every end-to-end test: a private program folder, the
// processes the test started, and the waits the tests share. Everything is
// torn down by the members' destructors, so a failed assertion still ends the
// processes and deletes the folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/harness.h"

namespace zorv::e2e {

class ZorvE2E : public ::testing::Test {
  protected:
    void SetUp() override;

    ProgramFolder& Folder() { return *folder_; }
    // Starts the program copy with `args` (switches as on a command line);
    // the working folder is Folder().Cwd(), not the program folder.
    Process& Start(std::wstring_view args);
    // The bar of `p` once it is shown on screen, or nullptr after `timeout`.
    HWND WaitForShownBar(const Process& p, Ms timeout = Ms(15000));
    // The visible message box of `p` titled "ZorvPanel", or nullptr when none
    // appeared within `timeout` or `p` ended first.
    HWND WaitForMessageBox(const Process& p, Ms timeout = Ms(15000));

    // The messages of the program's log (zorv.log in its folder), without
    // date, time and delta; empty while there is none.
    std::vector<std::string> LogMessages();
    // The last `n` messages, for the text of a failed expectation.
    std::string LogTail(size_t n = 50);

  private:
    // Declared first so it is destroyed last, after the processes ended.
    std::unique_ptr<ProgramFolder> folder_;
    std::vector<std::unique_ptr<Process>> processes_;
};

// A configuration with `buttons` buttons that start notepad, showing the
// built-in icons 1, 2, ... (so every cell looks different), a log at level 6,
// and `settings` appended to [Settings].
std::string NotepadButtonsIni(int buttons, std::string_view settings);

// The program's own title, used by all its message boxes.
inline constexpr wchar_t kBoxTitle[] = L"ZorvPanel";

// The contents of `path` once it exists, or nothing after `timeout`.
std::optional<std::string> WaitForFile(const fs::path& path, Ms timeout);

// A log file split at CR LF; a last line without CR LF is kept as it is.
std::vector<std::string> SplitCrLf(const std::string& text);

// The parts of one log line "<date> <time> (dddd)  <message>".
struct LogLine {
    std::string stamp, delta, message;
};
std::optional<LogLine> ParseLogLine(const std::string& line);

}  // namespace zorv::e2e
