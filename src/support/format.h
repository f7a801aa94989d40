// The program's own printf-style formatter and the window-style namer used by
// log lines. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace zorv {

struct FmtArg;
using FmtArgs = std::vector<FmtArg>;

// One argument of sprintf/Log: nothing, an integer, a float, a text, a text
// variable that receives the output so far ("%n"), or a nested argument list.
struct FmtArg {
    using Value = std::variant<std::monostate, std::int64_t, double, std::string, std::string*,
                               std::shared_ptr<const FmtArgs>>;
    Value v;

    FmtArg() = default;
    template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    FmtArg(T x) : v(MakeIntegral(x)) {}
    FmtArg(double x) : v(x) {}
    FmtArg(float x) : v(static_cast<double>(x)) {}
    FmtArg(const char* s) : v(std::string(s ? s : "")) {}
    FmtArg(std::string s) : v(std::move(s)) {}
    FmtArg(std::string_view s) : v(std::string(s)) {}
    FmtArg(std::string* target) : v(target) {}
    FmtArg(FmtArgs nested) : v(std::make_shared<const FmtArgs>(std::move(nested))) {}
    // Handles and other pointers print as their numeric value ("%p", "%X").
    FmtArg(const void* p) : v(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(p))) {}

  private:
    template <class T>
    static Value MakeIntegral(T x) {
        if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(std::int64_t)) {
            if (x > static_cast<T>(INT64_MAX)) return static_cast<double>(x);
        }
        return static_cast<std::int64_t>(x);
    }
};

// Formats `format` with `args`. When args[0] is itself a list, that inner list
// is used as the argument list.
std::string sprintf(std::string_view format, const FmtArgs& args);

// "WS_POPUP, WS_VISIBLE, ..." for a window style value.
std::string WindowStyleNames(std::uint32_t style);

}  // namespace zorv
