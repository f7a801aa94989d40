// The log's Win32 side: the clock, the user's date and time format, the
// debugger output and the log file.
#pragma once

#include <string>

#include "support/log.h"

namespace zorv {

class Win32LogPlatform final : public LogPlatform {
  public:
    explicit Win32LogPlatform(std::wstring file) : file_(std::move(file)) {}

    std::uint32_t TickCount() override;
    std::string LocalDateTime() override;
    void DebugOutput(const std::string& line) override;
    void AppendToLogFile(const std::string& lineWithCrLf) override;

  private:
    std::wstring file_;
};

}  // namespace zorv
