#include "support/format.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "support/format_number.h"

namespace zorv {
namespace {

using fmtnum::Number;

// Characters that end a conversion; "%" among them ends it without being a
// type, so "%5%" is copied as it stands.
constexpr std::string_view kStops = "gGxXeEpnfcdiosu%";
constexpr std::string_view kTypes = "gGxXeEpnfcdiosu";
constexpr std::string_view kFlags = "0-+*# ";

// Width and precision come from the format text or from an argument, either
// of which may be hostile. The precision limits are those of the conversion
// table; the width limit is our own, far above any sensible column, so that
// "%999999999d" cannot ask for a gigabyte.
constexpr int kMaxWidth = 10000;
constexpr int kMaxFixedPrecision = 22;   // d i u f
constexpr int kMaxExpPrecision = 500;    // e g
constexpr int kMaxRadixPrecision = 520;  // x o
// Digit runs in the format saturate here before the limits above apply.
constexpr int kParseLimit = 1000000;

struct ConvSpec {
    bool zero = false;  // pad character "0"
    bool left = false;  // "-"
    bool plus = false;  // "+"
    bool star = false;  // width from the next argument
    bool alt = false;   // "#"
    int width = 0;
    int precision = -1;  // -1: unspecified
    char type = 0;
};

// The outcome of one numeric conversion before sign and width are applied.
struct Converted {
    bool usable = false;
    bool numeric = false;  // the argument was a number (texts take no sign)
    bool negative = false;
    std::string body;
};

std::optional<int> DigitRun(std::string_view t) {
    if (t.empty()) return std::nullopt;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        v = std::min(kParseLimit, v * 10 + (c - '0'));
    }
    return v;
}

int DefaultedPrecision(char type, int p) {
    switch (type) {
        case 's':
            return p;
        case 'd':
        case 'i':
        case 'u':
            return p < 0 ? 1 : std::min(p, kMaxFixedPrecision);
        case 'f':
            return p < 0 ? 6 : std::min(p, kMaxFixedPrecision);
        case 'e':
        case 'E':
            return p < 0 ? 6 : std::clamp(p, 1, kMaxExpPrecision);
        case 'g':
        case 'G':
            return p < 0 ? 5 : std::clamp(p, 1, kMaxExpPrecision);
        case 'x':
        case 'X':
        case 'o':
            return p < 0 ? 0 : std::min(p, kMaxRadixPrecision);
        default:
            return 0;
    }
}

// `body` is what lies between "%" and the type letter: flags, then
// "width.precision" where either part that is not a plain digit run counts
// as absent.
ConvSpec ParseSpec(std::string_view body, char type) {
    ConvSpec s;
    s.type = type;
    std::size_t k = 0;
    for (; k < body.size() && kFlags.find(body[k]) != std::string_view::npos; ++k) {
        switch (body[k]) {
            case '0':
                s.zero = true;
                break;
            case '-':
                s.left = true;
                break;
            case '+':
                s.plus = true;
                break;
            case '*':
                s.star = true;
                break;
            case '#':
                s.alt = true;
                break;
            default:
                break;  // blank: accepted, no meaning
        }
    }
    const std::string_view rest = body.substr(k);
    const std::size_t dot = rest.find('.');
    s.width = std::min(kMaxWidth, DigitRun(rest.substr(0, dot)).value_or(0));
    int precision = -1;
    if (dot != std::string_view::npos) precision = DigitRun(rest.substr(dot + 1)).value_or(-1);
    s.precision = DefaultedPrecision(type, precision);
    return s;
}

bool IsTextArg(const FmtArg& a) {
    return std::holds_alternative<std::string>(a.v) || std::holds_alternative<std::string*>(a.v);
}

std::optional<std::string> ArgText(const FmtArg& a) {
    if (auto* s = std::get_if<std::string>(&a.v)) return *s;
    if (auto* p = std::get_if<std::string*>(&a.v)) {
        if (*p) return **p;
        return std::nullopt;
    }
    if (auto* i = std::get_if<std::int64_t>(&a.v)) return std::to_string(*i);
    if (auto* d = std::get_if<double>(&a.v)) return fmtnum::ShortestText(*d);
    return std::nullopt;
}

// Non-finite doubles count as unusable, like texts that are no number.
std::optional<Number> ArgNumber(const FmtArg& a) {
    if (auto* i = std::get_if<std::int64_t>(&a.v)) return Number::Int(*i);
    if (auto* d = std::get_if<double>(&a.v)) {
        if (!std::isfinite(*d)) return std::nullopt;
        return Number::Real(*d);
    }
    if (IsTextArg(a)) {
        if (auto text = ArgText(a)) return fmtnum::ParseNumber(*text);
    }
    return std::nullopt;
}

// An integer argument as the 64-bit pattern the radix conversions print:
// negative values as their 32-bit two's complement.
std::optional<std::uint64_t> ArgBits(const FmtArg& a) {
    auto n = ArgNumber(a);
    if (!n) return std::nullopt;
    const Number v = fmtnum::RoundToInteger(*n);
    if (!v.isInt) return std::nullopt;
    if (v.i < 0) return static_cast<std::uint32_t>(v.i);
    return static_cast<std::uint64_t>(v.i);
}

int WidthFromArg(const FmtArg& a) {
    auto n = ArgNumber(a);
    if (!n) return -1;
    const double w = fmtnum::RoundToInteger(*n).AsDouble();
    return static_cast<int>(std::clamp(w, -1.0, static_cast<double>(kMaxWidth)));
}

void Pad(std::string& s, int width, bool left, char fill) {
    if (width <= 0 || s.size() >= static_cast<std::size_t>(width)) return;
    const std::size_t n = static_cast<std::size_t>(width) - s.size();
    if (left) {
        s.append(n, fill);
    } else {
        s.insert(0, n, fill);
    }
}

Converted ConvertInteger(const ConvSpec& s, const FmtArg& a) {
    auto n = ArgNumber(a);
    if (!n) return {};
    Number v = *n;
    if (s.type == 'u' && v.Negative()) {
        v = v.isInt ? Number::Int(v.i + 4294967296LL) : Number::Real(v.d + 4294967296.0);
    }
    v = fmtnum::RoundToInteger(v);
    const auto width = static_cast<std::size_t>(s.precision);
    return {true, true, v.Negative(), fmtnum::ZeroFill(fmtnum::DecimalDigits(v), width)};
}

Converted ConvertFixed(const ConvSpec& s, const FmtArg& a) {
    auto n = ArgNumber(a);
    if (!n) return {};
    Converted c{true, true, n->Negative(), {}};
    if (s.precision > 0) {
        c.body = fmtnum::FixedDigits(std::fabs(n->AsDouble()), s.precision);
        if (s.alt) c.body.erase(c.body.find_last_not_of('0') + 1);
        return c;
    }
    c.body = fmtnum::DecimalDigits(fmtnum::RoundToInteger(*n));
    // The zero fill leaves one column free, as it always has: "%05.0f" of
    // 3.4 is " 0003".
    const int signLength = (c.negative || s.plus) ? 1 : 0;
    if (s.zero && !s.left && s.width > 1) {
        const int digits = s.width - 1 - signLength;
        if (digits > 0) c.body = fmtnum::ZeroFill(c.body, static_cast<std::size_t>(digits));
    }
    return c;
}

Converted ConvertExponent(const ConvSpec& s, const FmtArg& a) {
    auto n = ArgNumber(a);
    if (!n) return {};
    const double mag = std::fabs(n->AsDouble());
    const bool upper = s.type == 'E' || s.type == 'G';
    std::string body = (s.type == 'e' || s.type == 'E')
                           ? fmtnum::ExponentForm(mag, s.precision, upper)
                           : fmtnum::GeneralForm(mag, s.precision, upper);
    return {true, true, n->Negative(), std::move(body)};
}

Converted ConvertRadix(const ConvSpec& s, const FmtArg& a) {
    const bool upper = s.type == 'X';
    if (s.type != 'o' && IsTextArg(a)) {
        // A text is dumped byte by byte, blank-separated when a width is given.
        Converted c{true, false, false, {}};
        for (unsigned char ch : ArgText(a).value_or("")) {
            c.body += fmtnum::ZeroFill(fmtnum::RadixDigits(ch, 4, upper), 2);
            if (s.width >= 1) c.body += ' ';
        }
        return c;
    }
    auto bits = ArgBits(a);
    if (!bits) return {};
    Converted c{true, true, false, {}};
    c.body = fmtnum::RadixDigits(*bits, s.type == 'o' ? 3 : 4, upper);
    c.body = fmtnum::ZeroFill(std::move(c.body), static_cast<std::size_t>(s.precision));
    if (s.type != 'o' && s.alt && *bits != 0) c.body.insert(0, upper ? "0X" : "0x");
    return c;
}

Converted ConvertChar(const FmtArg& a) {
    if (IsTextArg(a)) return {true, false, false, ArgText(a).value_or("").substr(0, 1)};
    auto n = ArgNumber(a);
    if (!n) return {};
    const Number code = fmtnum::RoundToInteger(*n);
    if (!code.isInt || code.i < 0 || code.i > 255) return {};
    return {true, true, false, std::string(1, static_cast<char>(code.i))};
}

// "%p" keeps the segment:offset look of the old 16:16 pointers: the first
// eight hexadecimal digits as "XXXX:XXXX".
Converted ConvertPointer(const FmtArg& a) {
    auto bits = ArgBits(a);
    if (!bits) return {};
    std::string hex = fmtnum::ZeroFill(fmtnum::RadixDigits(*bits, 4, true).substr(0, 8), 8);
    hex.insert(4, 1, ':');
    return {true, true, false, std::move(hex)};
}

const char* Fallback(char type) {
    switch (type) {
        case 'x':
        case 'X':
        case 'o':
        case 'c':
            return "";
        case 'p':
            return "0000:0000";
        default:
            return "0";
    }
}

// Sign, the dropped trailing "." and the blank padding shared by all
// numeric conversions. Our digit texts never hold a regional decimal comma,
// so there is none to turn back into ".".
std::string FinishNumber(const ConvSpec& s, Converted c) {
    std::string text;
    if (!c.usable) {
        text = Fallback(s.type);
    } else {
        if (c.negative) {
            text = "-";
        } else if (s.plus && c.numeric) {
            text = "+";
        }
        if (s.type != 'c' && !c.body.empty() && c.body.back() == '.') c.body.pop_back();
        text += c.body;
    }
    Pad(text, s.width, s.left, ' ');
    return text;
}

class Formatter {
  public:
    Formatter(std::string_view format, const FmtArgs& args) : fmt_(format), args_(args) {}

    std::string Run() {
        std::size_t i = 0;
        while (i < fmt_.size()) {
            const char c = fmt_[i];
            if (c == '%') {
                i = OnPercent(i);
            } else if (c == '\\') {
                i = OnBackslash(i);
            } else {
                out_ += c;
                ++i;
            }
        }
        return std::move(out_);
    }

  private:
    std::size_t OnBackslash(std::size_t i) {
        if (i + 1 >= fmt_.size()) {
            out_ += '\\';
            return i + 1;
        }
        switch (fmt_[i + 1]) {
            case 'n':
                out_ += "\r\n";
                return i + 2;
            case 't':
                out_ += '\t';
                return i + 2;
            case '\\':
                out_ += '\\';
                return i + 2;
            case 'f':
            case 'r':
            case 'b':
                return i + 2;
            default:
                out_ += '\\';
                return i + 1;  // the next character is read normally
        }
    }

    std::size_t OnPercent(std::size_t i) {
        if (i + 1 >= fmt_.size()) {
            out_ += '%';
            return i + 1;
        }
        if (fmt_[i + 1] == '%') {
            out_ += '%';
            return i + 2;
        }
        // Without a stop character the last character of the format takes
        // the type letter's place; it is no type, so the text is copied.
        std::size_t end = fmt_.find_first_of(kStops, i + 1);
        if (end == std::string_view::npos) end = fmt_.size() - 1;
        const char type = fmt_[end];
        if (kTypes.find(type) == std::string_view::npos) {
            out_.append(fmt_.substr(i, end - i));
            return end;
        }
        ConvSpec conv = ParseSpec(fmt_.substr(i + 1, end - i - 1), type);
        if (conv.star) conv.width = next_ < args_.size() ? WidthFromArg(args_[next_++]) : -1;
        // Once the arguments run out, this and every later conversion stay
        // as written, which shows the mismatch in the log line.
        if (next_ >= args_.size()) {
            out_.append(fmt_.substr(i, end - i + 1));
        } else {
            Convert(conv, args_[next_++]);
        }
        return end + 1;
    }

    void Convert(const ConvSpec& s, const FmtArg& a) {
        switch (s.type) {
            case 's': {
                std::string text = ArgText(a).value_or("");
                if (s.precision >= 0 && static_cast<std::size_t>(s.precision) < text.size()) {
                    text.resize(static_cast<std::size_t>(s.precision));
                }
                Pad(text, s.width, s.left, s.zero ? '0' : ' ');
                out_ += text;
                return;
            }
            case 'n':
                if (auto* p = std::get_if<std::string*>(&a.v); p && *p) **p = out_;
                return;
            case 'd':
            case 'i':
            case 'u':
                out_ += FinishNumber(s, ConvertInteger(s, a));
                return;
            case 'f':
                out_ += FinishNumber(s, ConvertFixed(s, a));
                return;
            case 'c':
                out_ += FinishNumber(s, ConvertChar(a));
                return;
            case 'p':
                out_ += FinishNumber(s, ConvertPointer(a));
                return;
            case 'x':
            case 'X':
            case 'o':
                out_ += FinishNumber(s, ConvertRadix(s, a));
                return;
            default:
                out_ += FinishNumber(s, ConvertExponent(s, a));
                return;  // e E g G
        }
    }

    std::string_view fmt_;
    const FmtArgs& args_;
    std::size_t next_ = 0;
    std::string out_;
};

}  // namespace

std::string sprintf(std::string_view format, const FmtArgs& args) {
    const FmtArgs* list = &args;
    if (!args.empty()) {
        // A caller that passes its own argument list through hands it on as
        // the only element.
        auto* nested = std::get_if<std::shared_ptr<const FmtArgs>>(&args.front().v);
        if (nested && *nested) list = nested->get();
    }
    return Formatter(format, *list).Run();
}

std::string WindowStyleNames(std::uint32_t style) {
    struct Name {
        std::uint32_t mask;
        const char* text;
    };
    // Order and tests as log readers know them; WS_CAPTION is the two
    // frame bits together, so a caption also lists WS_BORDER and WS_DLGFRAME,
    // and the box bits share their values with WS_GROUP and WS_TABSTOP.
    static constexpr Name kNames[] = {
        {0x80000000u, "WS_POPUP"},        {0x40000000u, "WS_CHILD"},
        {0x20000000u, "WS_MINIMIZE"},     {0x10000000u, "WS_VISIBLE"},
        {0x08000000u, "WS_DISABLED"},     {0x04000000u, "WS_CLIPSIBLINGS"},
        {0x02000000u, "WS_CLIPCHILDREN"}, {0x01000000u, "WS_MAXIMIZE"},
        {0x00C00000u, "WS_CAPTION"},      {0x00800000u, "WS_BORDER"},
        {0x00400000u, "WS_DLGFRAME"},     {0x00200000u, "WS_VSCROLL"},
        {0x00100000u, "WS_HSCROLL"},      {0x00080000u, "WS_SYSMENU"},
        {0x00040000u, "WS_THICKFRAME"},   {0x00020000u, "WS_GROUP"},
        {0x00010000u, "WS_TABSTOP"},      {0x00020000u, "WS_MINIMIZEBOX"},
        {0x00010000u, "WS_MAXIMIZEBOX"},
    };
    std::string out;
    for (const Name& n : kNames) {
        if (style & n.mask) {
            out += n.text;
            out += ", ";
        }
    }
    if (!out.empty()) out.resize(out.size() - 2);
    return out;
}

}  // namespace zorv
