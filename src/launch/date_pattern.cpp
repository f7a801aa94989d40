#include "launch/date_pattern.h"

#include <cstdint>

namespace zorv {

namespace {

std::string Number(std::int32_t value, bool twoDigits) {
    std::string s = std::to_string(value);
    if (twoDigits && s.size() < 2) s.insert(0, 1, '0');
    return s;
}

std::string Year(std::int32_t year, std::size_t run) {
    if (run >= 3) return std::to_string(year);
    return Number(year % 100, run == 2);
}

std::int32_t Hour12(std::int32_t hour) {
    const std::int32_t h = hour % 12;
    return h == 0 ? 12 : h;
}

// One run of the same picture letter.
std::string Picture(char letter, std::size_t run, const DateTimeParts& now) {
    const bool two = run >= 2;
    switch (letter) {
        case 'd':
            if (run == 3) return now.DayAbbrev;
            if (run >= 4) return now.DayName;
            return Number(now.Day, two);
        case 'M':
            if (run == 3) return now.MonthAbbrev;
            if (run >= 4) return now.MonthName;
            return Number(now.Month, two);
        case 'y':
            return Year(now.Year, run);
        case 'h':
            return Number(Hour12(now.Hour), two);
        case 'H':
            return Number(now.Hour, two);
        case 'm':
            return Number(now.Minute, two);
        case 's':
            return Number(now.Second, two);
        default: {  // 't'
            const std::string& mark = now.Hour < 12 ? now.Am : now.Pm;
            return two ? mark : mark.substr(0, 1);
        }
    }
}

bool IsPicture(char c) {
    return std::string_view("dMyhHmst").find(c) != std::string_view::npos;
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, const DateTimeParts& now) {
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {
            // Quoted text up to the next lone quote; '' stands for one quote.
            ++i;
            while (i < pattern.size()) {
                if (pattern[i] == '\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += pattern[i++];
            }
        } else if (IsPicture(c)) {
            std::size_t run = 1;
            while (i + run < pattern.size() && pattern[i + run] == c) ++run;
            out += Picture(c, run, now);
            i += run;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace zorv
