// Date and time pictures as Windows' GetDateFormat and GetTimeFormat know
// them, in one pattern: "yyyy-MM-dd HH.mm", "dddd, d. MMMM", "hh:mm tt".
#pragma once

#include <string>
#include <string_view>

#include "launch/launch_platform.h"

namespace zorv {

// Pictures: d dd ddd dddd, M MM MMM MMMM, y yy yyyy, h hh H HH, m mm, s ss,
// t tt. Text in single quotes is copied ('' is one quote); every other
// character is copied as it is.
std::string FormatDateTime(std::string_view pattern, const DateTimeParts& now);

}  // namespace zorv
