#include "support/log.h"

namespace zorv {
namespace {

LogPlatform* gPlatform = nullptr;

constexpr std::int32_t kMaxDelta = 9999;  // fills the four columns of the field

}  // namespace

void SetLogPlatform(LogPlatform* platform) {
    gPlatform = platform;
}

// GetTickCount wraps after 49.7 days and turns negative (as a signed value)
// after 24.9; across a change of sign the difference means nothing, so the
// line shows 0 instead.
std::int32_t LogDelta(std::uint32_t now, std::uint32_t& lastTick) {
    const auto t = static_cast<std::int32_t>(now);
    const auto last = static_cast<std::int32_t>(lastTick);
    lastTick = now;
    if ((t < 0) != (last < 0)) return 0;
    const std::int32_t delta = t - last;  // same sign: cannot overflow
    return delta > kMaxDelta ? kMaxDelta : delta;
}

std::string LogLine(std::string_view dateTime, std::int32_t delta, std::string_view message) {
    std::string field = std::to_string(delta);
    if (field.size() < 4) field.insert(0, 4 - field.size(), ' ');
    std::string line;
    line.reserve(dateTime.size() + field.size() + message.size() + 5);
    line.append(dateTime).append(" (").append(field).append(")  ").append(message);
    return line;
}

void LogWrite(std::string_view format, const FmtArgs& args) {
    if (!gPlatform) return;
    const std::int32_t delta = LogDelta(gPlatform->TickCount(), LastLogTick);
    const std::string line = LogLine(gPlatform->LocalDateTime(), delta, sprintf(format, args));
    if (WriteDebugView) gPlatform->DebugOutput(line);
    if (WriteLogFile) gPlatform->AppendToLogFile(line + "\r\n");
}

}  // namespace zorv
