// Captures the log's lines (without date and delta) while it lives.
#pragma once

#include <string>
#include <vector>

#include "support/log.h"

namespace zorv::testing {

class CapturedLog : public LogPlatform {
  public:
    std::vector<std::string> lines;

    explicit CapturedLog(std::int32_t level) {
        LogLevel = level;
        WriteDebugView = true;
        SetLogPlatform(this);
    }
    ~CapturedLog() override {
        SetLogPlatform(nullptr);
        LogLevel = 0;
        WriteDebugView = false;
    }
    std::uint32_t TickCount() override { return 0; }
    std::string LocalDateTime() override { return ""; }
    void DebugOutput(const std::string& line) override {
        lines.push_back(line.substr(line.find(")  ") + 3));
    }
    void AppendToLogFile(const std::string&) override {}
};

}  // namespace zorv::testing
