// The one diagnostic call of the program. Formatting happens only for lines
// that pass the level filter; the platform (clock, date text, file, debugger
// output) is injected so the core runs without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "support/format.h"

namespace zorv {

// Settings of the log (read at start and again with the other settings).
inline std::int32_t LogLevel = 0;
inline bool WriteLogFile = false;
inline bool WriteDebugView = false;
// Tick count of the previous written line.
inline std::uint32_t LastLogTick = 0;

class LogPlatform {
  public:
    virtual ~LogPlatform() = default;
    virtual std::uint32_t TickCount() = 0;    // GetTickCount
    virtual std::string LocalDateTime() = 0;  // short date + long time
    virtual void DebugOutput(const std::string& line) = 0;
    virtual void AppendToLogFile(const std::string& lineWithCrLf) = 0;  // errors swallowed
};

// The platform used by Log; nullptr (the default) discards every line.
void SetLogPlatform(LogPlatform* platform);

// Milliseconds since the previous line, with the sign rule and the 9999 cap;
// stores `now` in `lastTick`.
std::int32_t LogDelta(std::uint32_t now, std::uint32_t& lastTick);

// "<date time> (<delta right-aligned in 4>)  <message>"
std::string LogLine(std::string_view dateTime, std::int32_t delta, std::string_view message);

// Formats and writes one line (no level test: Log does that).
void LogWrite(std::string_view format, const FmtArgs& args);

template <class... A>
inline void Log(std::int32_t level, std::string_view format, A&&... args) {
    if (level > LogLevel) return;
    LogWrite(format, FmtArgs{FmtArg(std::forward<A>(args))...});
}

}  // namespace zorv
