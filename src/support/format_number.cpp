#include "support/format_number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace zorv::fmtnum {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view t) {
    while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
    while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
    return t;
}

// Appends the digits at `t[k]...` to `out`; returns how many there were.
std::size_t TakeDigits(std::string_view t, std::size_t& k, std::string& out) {
    std::size_t n = 0;
    for (; k < t.size() && IsDigit(t[k]); ++k, ++n) out += t[k];
    return n;
}

// Rewrites `t` into the form std::from_chars reads: optional "-", digits
// with at most one "." and an optional exponent. Empty when `t` is no number.
// The separator may be "." or ","; the C locale functions are avoided on
// purpose because they would make a log line depend on setlocale.
std::string Normalize(std::string_view t, bool& integral) {
    std::string norm;
    std::size_t k = 0;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) {
        if (t[k] == '-') norm += '-';
        ++k;
    }
    std::size_t mantissa = TakeDigits(t, k, norm);
    integral = true;
    if (k < t.size() && (t[k] == '.' || t[k] == ',')) {
        norm += '.';
        ++k;
        mantissa += TakeDigits(t, k, norm);
        integral = false;
    }
    if (mantissa == 0) return {};
    if (k < t.size() && (t[k] == 'e' || t[k] == 'E')) {
        norm += 'e';
        ++k;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) norm += t[k++];
        if (TakeDigits(t, k, norm) == 0) return {};
        integral = false;
    }
    if (k != t.size()) return {};
    return norm;
}

// Exponent of an exponent-form text ("1.5e+003" -> 3).
int ExponentOf(std::string_view text) {
    std::size_t e = text.find_first_of("eE");
    if (e == std::string_view::npos) return 0;
    int value = 0;
    const char* first = text.data() + e + 1;
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    std::from_chars(first, last, value);
    return value;
}

// Decimal exponent of the value itself, independent of any rounding to a
// precision: taken from its shortest exponent-form text.
int DecimalExponent(double magnitude) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    return ExponentOf(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

}  // namespace

std::optional<Number> ParseNumber(std::string_view text) {
    bool integral = true;
    const std::string norm = Normalize(TrimBlanks(text), integral);
    if (norm.empty()) return std::nullopt;
    const char* first = norm.data();
    const char* last = norm.data() + norm.size();
    if (integral) {
        std::int64_t v = 0;
        auto r = std::from_chars(first, last, v);
        if (r.ec == std::errc{} && r.ptr == last) return Number::Int(v);
    }
    double d = 0.0;
    auto r = std::from_chars(first, last, d, std::chars_format::general);
    if (r.ec != std::errc{} || r.ptr != last || !std::isfinite(d)) return std::nullopt;
    return Number::Real(d);
}

double RoundHalfEven(double x) {
    double r = std::round(x);  // halves away from zero
    if (std::fabs(r - x) == 0.5) r = 2.0 * std::round(x / 2.0);
    return r;
}

Number RoundToInteger(Number n) {
    if (n.isInt) return n;
    const double r = RoundHalfEven(n.d);
    // 2^63 is exactly representable; everything below it converts safely.
    if (r >= -9223372036854775808.0 && r < 9223372036854775808.0) {
        return Number::Int(static_cast<std::int64_t>(r));
    }
    return Number::Real(r);
}

std::string DecimalDigits(Number integral) {
    char buf[400];
    std::to_chars_result r{};
    if (integral.isInt) {
        const std::uint64_t mag = integral.i < 0 ? 0 - static_cast<std::uint64_t>(integral.i)
                                                 : static_cast<std::uint64_t>(integral.i);
        r = std::to_chars(buf, buf + sizeof buf, mag);
    } else {
        r = std::to_chars(buf, buf + sizeof buf, std::fabs(integral.d), std::chars_format::fixed,
                          0);
    }
    return std::string(buf, r.ptr);
}

std::string RadixDigits(std::uint64_t v, unsigned shift, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    const std::uint64_t mask = (std::uint64_t{1} << shift) - 1;
    std::string out;
    do {
        out.insert(out.begin(), digits[v & mask]);
        v >>= shift;
    } while (v != 0);
    return out;
}

std::string ZeroFill(std::string digits, std::size_t minLength) {
    if (digits.size() < minLength) digits.insert(0, minLength - digits.size(), '0');
    return digits;
}

std::string ShortestText(double x) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, r.ptr);
}

std::string FixedDigits(double magnitude, int decimals) {
    // A double has at most 309 integer digits.
    std::string buf(static_cast<std::size_t>(decimals) + 340, '\0');
    auto r = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, std::chars_format::fixed,
                           decimals);
    buf.resize(static_cast<std::size_t>(r.ptr - buf.data()));
    return buf;
}

std::string ExponentForm(double magnitude, int decimals, bool upper) {
    std::string buf(static_cast<std::size_t>(decimals) + 32, '\0');
    auto r = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                           std::chars_format::scientific, decimals);
    buf.resize(static_cast<std::size_t>(r.ptr - buf.data()));
    const std::size_t e = buf.find('e');
    const int exponent = ExponentOf(buf);
    std::string out = buf.substr(0, e);
    out += upper ? 'E' : 'e';
    out += exponent < 0 ? '-' : '+';
    out += ZeroFill(std::to_string(std::abs(exponent)), 3);
    return out;
}

std::string GeneralForm(double magnitude, int precision, bool upper) {
    if (magnitude > 1.0 && DecimalExponent(magnitude) < 5) return ShortestText(magnitude);
    std::string form = ExponentForm(magnitude, precision - 1, upper);
    if (magnitude <= 1.0) {
        // Small values whose exponent is still short of the precision read
        // better as plain decimals: 0.00123 -> "0.00123000" at precision 5.
        const int exponent = ExponentOf(form);
        if (std::abs(exponent) < precision) return FixedDigits(magnitude, precision - exponent);
    }
    return form;
}

}  // namespace zorv::fmtnum
