// Number texts for the formatter: locale-independent parsing of text
// arguments and the digit strings of the numeric conversions. Internal to
// format.cpp; kept apart so the walker stays readable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorv::fmtnum {

// An argument value as a number: exact when it came from an integer (or an
// integer text that fits in 64 bits), else a finite double.
struct Number {
    bool isInt = true;
    std::int64_t i = 0;
    double d = 0.0;

    static Number Int(std::int64_t v) { return Number{true, v, 0.0}; }
    static Number Real(double v) { return Number{false, 0, v}; }
    double AsDouble() const { return isInt ? static_cast<double>(i) : d; }
    bool Negative() const { return isInt ? i < 0 : d < 0.0; }
};

// "12", " -3,5 ", "1.5e3" ... Either "." or "," is the decimal separator, so
// texts written under any regional setting read the same. nullopt when the
// text is no number or does not fit a double.
std::optional<Number> ParseNumber(std::string_view text);

// Nearest integer, exact halves to the even neighbour.
double RoundHalfEven(double x);

// The value rounded to an integer (ties to even); stays a double only when
// it lies outside the 64-bit range.
Number RoundToInteger(Number n);

// Decimal digits of the magnitude of an integer-valued number.
std::string DecimalDigits(Number integral);

// Digits of `v` in base 16 (shift 4) or 8 (shift 3).
std::string RadixDigits(std::uint64_t v, unsigned shift, bool upper);

// `digits` left-filled with "0" to `minLength` characters.
std::string ZeroFill(std::string digits, std::size_t minLength);

// Shortest text that reads back as the same double ("0.1", "1e+20").
std::string ShortestText(double x);

// Non-negative `magnitude` with exactly `decimals` decimals ("3.14").
std::string FixedDigits(double magnitude, int decimals);

// "1.500000e+003": one digit, the decimals, a signed three-digit exponent.
std::string ExponentForm(double magnitude, int decimals, bool upper);

// The "g" form of a non-negative magnitude; precision is 1..500.
std::string GeneralForm(double magnitude, int precision, bool upper);

}  // namespace zorv::fmtnum
