// The "[Settings]" keys: one table drives both reading and writing, so the
// write order and the reading rules of a key cannot drift apart.
#include "items/settings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "items/items.h"

namespace zorv {

namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

enum class Kind {
    Int,          // decimal, limited to lo..hi
    TimeLimit,    // decimal; 1 reads as 3
    Rounded,      // the whole value rounded to an integer, then lo..hi
    BarRight,     // decimal, 0..screen width - 21
    Flag,         // off only for exactly "0"
    Hex,          // hexadecimal
    OptionalHex,  // hexadecimal, written only when not -1
    OptionalInt,  // decimal, lo..hi, written only when not -1
    Decimal,      // decimal fraction, 0..5
    Size,         // width "," height in pixels, held in twips
};

struct Key {
    std::string_view name;
    Kind kind;
    std::int32_t lo = kMin32;
    std::int32_t hi = kMax32;
    std::int32_t Settings::*number = nullptr;
    bool Settings::*flag = nullptr;
    double Settings::*decimal = nullptr;
    ListWinSize Settings::*size = nullptr;
};

constexpr Key Int(std::string_view name, std::int32_t Settings::*m, std::int32_t lo = kMin32,
                  std::int32_t hi = kMax32, Kind kind = Kind::Int) {
    return Key{name, kind, lo, hi, m, nullptr, nullptr, nullptr};
}
constexpr Key Flag(std::string_view name, bool Settings::*m) {
    return Key{name, Kind::Flag, 0, 0, nullptr, m, nullptr, nullptr};
}
constexpr Key Size(std::string_view name, ListWinSize Settings::*m) {
    return Key{name, Kind::Size, 0, 0, nullptr, nullptr, nullptr, m};
}

using S = Settings;
constexpr std::array kKeys = {
    Int("AutoRed=", &S::AutoRed, 0, 2),
    Flag("SoftRed=", &S::SoftRed),
    Int("RestoreDelay=", &S::RestoreDelay, 0, 500),
    Flag("SendWmPaints=", &S::SendWmPaints),
    Flag("ToolTip=", &S::ToolTip),
    Flag("Hole=", &S::Hole),
    Flag("NoDragDropSource=", &S::NoDragDropSource),
    Flag("W4Idle=", &S::W4Idle),
    Flag("TaskbarTop=", &S::TaskbarTop),
    Int("ASDelay=", &S::ASDelay, 0, 60),
    Key{"ASPause=", Kind::Decimal, 0, 5, nullptr, nullptr, &S::ASPause, nullptr},
    Int("SepColor=", &S::SepColor, 0, 4),
    Int("LineColor=", &S::LineColor, 0, 4),
    Int("TransparencyIdx=", &S::TransparencyIdx, 0, 3),
    Int("MnuHotkey=", &S::MnuHotkey, kMin32, kMax32, Kind::Hex),
    Int("ASTimeLimit=", &S::ASTimeLimit, kMin32, kMax32, Kind::TimeLimit),
    Flag("ACSkip=", &S::ACSkip),
    Flag("ShowAItems=", &S::ShowAItems),
    Flag("Maximizer=", &S::Maximizer),
    Int("ProcessPrio=", &S::ProcessPrio, 0, 2),
    Size("ListWinSizeButtons=", &S::ListWinSizeButtons),
    Size("ListWinSizeMenu=", &S::ListWinSizeMenu),
    Size("ListWinSizeClip=", &S::ListWinSizeClip),
    Flag("FixMnuProblem=", &S::FixMnuProblem),
    Flag("MnuFlat=", &S::MnuFlat),
    Flag("ButFlat=", &S::ButFlat),
    Flag("RefreshOnCDS=", &S::RefreshOnCDS),
    Int("ButH_id=", &S::ButH_id, 0, 2, Kind::Rounded),
    Int("LastColor3DFace=", &S::LastColor3DFace, kMin32, kMax32, Kind::Hex),
    Int("LastBitsPerPixel=", &S::LastBitsPerPixel),
    Int("ForcedBarRight=", &S::ForcedBarRight, 0, 0, Kind::BarRight),
    Int("ForcedLanguage=", &S::ForcedLanguage, 0, 2),
    Flag("FixFontProblem=", &S::FixFontProblem),
    Int("ForcedColor3DFace=", &S::ForcedColor3DFace, kMin32, kMax32, Kind::OptionalHex),
    Int("LogLevel=", &S::LogLevel),
    Flag("WriteLogfile=", &S::WriteLogfile),
    Flag("WriteDebugView=", &S::WriteDebugView),
    Int("StartWithWindows=", &S::StartWithWindows, -1, 1, Kind::OptionalInt),
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}


// Length of the "digits [. digits]" run at the start of `text`, and whether
// it holds a digit at all.
std::size_t NumberRun(std::string_view text, bool& anyDigit) {
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i])) ++i;
    anyDigit = i > 0;
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && IsDigit(text[j])) ++j;
        anyDigit = anyDigit || j > i + 1;
        i = j;
    }
    return i;
}

// `text` must be a run found by NumberRun. Digits beyond the range of a double
// give infinity, digits below it zero.
double RunValue(std::string_view run) {
    double d = 0.0;
    auto r = std::from_chars(run.data(), run.data() + run.size(), d, std::chars_format::fixed);
    if (r.ec == std::errc::result_out_of_range) {
        std::string_view whole = run.substr(0, run.find('.'));
        bool big = whole.find_first_not_of('0') != std::string_view::npos;
        d = big ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return d;
}

// Strips an optional sign; true when it was "-".
bool TakeSign(std::string_view& text) {
    if (text.empty() || (text.front() != '-' && text.front() != '+')) return false;
    bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

// "ButH_id=": the value as a whole converted to an integer, halves to the even
// neighbour; a value that is not entirely a number gives 0.
std::int32_t RoundWholeValue(std::string_view value, std::int32_t lo, std::int32_t hi) {
    std::string_view t = TrimBlanks(value);
    bool negative = TakeSign(t);
    bool anyDigit = false;
    std::size_t n = NumberRun(t, anyDigit);
    if (!anyDigit || n != t.size()) return std::clamp(0, lo, hi);
    double d = RunValue(t);
    double whole = std::floor(d);
    double frac = d - whole;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    if (negative) whole = -whole;
    return static_cast<std::int32_t>(std::clamp<double>(whole, lo, hi));
}

// One part of a list-editor size: pixels limited by the screen, then twips.
std::int32_t SizePartToTwips(std::string_view part, std::int32_t screen, std::int32_t tpp) {
    std::int64_t px = ParseDecimalPrefix(part);
    if (px > screen) px = std::int64_t{screen} * 3 / 4;
    px = std::clamp<std::int64_t>(px, kMin32 / tpp, kMax32 / tpp);
    return static_cast<std::int32_t>(px * tpp);
}

std::int32_t TwipsToPixels(std::int32_t twips, std::int32_t tpp) {
    return static_cast<std::int32_t>(std::lround(static_cast<double>(twips) / tpp));
}

std::int32_t Tpp(std::int32_t twipsPerPixel) {
    return std::max(1, twipsPerPixel);
}

void ApplyNumber(const Key& k, std::string_view value, Settings& s, const IniContext& c) {
    std::int32_t& m = s.*k.number;
    switch (k.kind) {
        case Kind::TimeLimit:
            m = ParseDecimalPrefix(value);
            if (m == 1) m = 3;  // one minute is too short to tell a logon from a restart
            break;
        case Kind::Rounded:
            m = RoundWholeValue(value, k.lo, k.hi);
            break;
        case Kind::BarRight:
            m = std::clamp(ParseDecimalPrefix(value), 0, std::max(0, c.ScreenWidth - 21));
            break;
        case Kind::Hex:
        case Kind::OptionalHex:
            m = ParseHexPrefix(value);
            break;
        default:
            m = std::clamp(ParseDecimalPrefix(value), k.lo, k.hi);
            break;
    }
}

void ApplyValue(const Key& k, std::string_view value, Settings& s, const IniContext& c) {
    switch (k.kind) {
        case Kind::Flag:
            s.*k.flag = value != "0";
            break;
        case Kind::Decimal: {
            double d = ParseDecimalNumberPrefix(value);
            // "!(d > lo)" also turns -0 into 0, which would otherwise be written as "-0".
            s.*k.decimal = !(d > k.lo) ? double(k.lo) : std::min(d, double(k.hi));
            break;
        }
        case Kind::Size: {
            std::size_t comma = value.find(',');
            if (comma == std::string_view::npos) break;
            ListWinSize& size = s.*k.size;
            size.Width =
                SizePartToTwips(value.substr(0, comma), c.ScreenWidth, Tpp(c.TwipsPerPixelX));
            size.Height =
                SizePartToTwips(value.substr(comma + 1), c.ScreenHeight, Tpp(c.TwipsPerPixelY));
            break;
        }
        default:
            ApplyNumber(k, value, s, c);
            break;
    }
}

std::string ValueText(const Key& k, const Settings& s, const IniContext& c) {
    switch (k.kind) {
        case Kind::Flag:
            return s.*k.flag ? "1" : "0";
        case Kind::Decimal:
            return FormatDecimalNumber(s.*k.decimal);
        case Kind::Size: {
            const ListWinSize& size = s.*k.size;
            return std::to_string(TwipsToPixels(size.Width, Tpp(c.TwipsPerPixelX))) + "," +
                   std::to_string(TwipsToPixels(size.Height, Tpp(c.TwipsPerPixelY)));
        }
        case Kind::Hex:
        case Kind::OptionalHex:
            return FormatHex(s.*k.number);
        default:
            return std::to_string(s.*k.number);
    }
}

}  // namespace

Settings DefaultSettings(bool win9x) {
    Settings s;
    // Windows 95/98/ME leave the area uncovered by the bar unpainted.
    s.SendWmPaints = win9x;
    return s;
}

void UpdateDerivedSettings(Settings& settings, bool win2000OrLater) {
    settings.AutoRedInForce = settings.AutoRed;
    // A transparent line needs layered windows, which came with Windows 2000:
    // the bar then fades to the line instead of shrinking to it.
    settings.FadeMode = settings.AutoRed == 2 || (settings.LineColor == 4 && win2000OrLater);
}

bool ApplySettingLine(std::string_view line, Settings& settings, const IniContext& context) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    std::string_view key = line.substr(0, eq + 1);
    for (const Key& k : kKeys) {
        if (k.name != key) continue;
        ApplyValue(k, line.substr(eq + 1), settings, context);
        return true;
    }
    return false;
}

void AppendSettingLines(std::string& out, const Settings& settings, const IniContext& context) {
    for (const Key& k : kKeys) {
        const bool optional = k.kind == Kind::OptionalHex || k.kind == Kind::OptionalInt;
        if (optional && settings.*k.number == -1) continue;
        out += k.name;
        out += ValueText(k, settings, context);
        out += "\r\n";
    }
}

double ParseDecimalNumberPrefix(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    bool negative = TakeSign(text);
    bool anyDigit = false;
    std::size_t n = NumberRun(text, anyDigit);
    if (!anyDigit) return 0.0;
    double d = RunValue(text.substr(0, n));
    return negative ? -d : d;
}

std::string FormatDecimalNumber(double value) {
    // Fixed notation, shortest digits that read back exactly: the reader
    // takes no exponent. 1100 characters hold any finite double this way.
    char buf[1100];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (r.ec != std::errc()) return "0";
    return std::string(buf, r.ptr);
}

}  // namespace zorv
