// Reading UTF-8 text one character (code point) at a time. Portable.
#pragma once

#include <cstddef>
#include <string_view>

namespace zorv {

// The code point at `pos`, advancing `pos` past it. A broken or cut-off
// sequence, or one that names no Unicode character (a surrogate, or beyond
// U+10FFFF), gives its first byte as the character (as Latin-1 would read
// it) and advances by one: every byte is read once, and every result can be
// written as UTF-16.
constexpr char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
    const auto b = static_cast<unsigned char>(s[pos]);
    const std::size_t n = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (n == 0 || s.size() - pos <= n) {
        ++pos;
        return b;
    }
    char32_t c = b & (0x3F >> n);
    for (std::size_t i = 1; i <= n; ++i) {
        const auto next = static_cast<unsigned char>(s[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return b;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return b;
    }
    pos += n + 1;
    return c;
}

// The first `count` characters (code points) of a text, never cutting one
// in half.
constexpr std::string_view FirstChars(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n) NextCodePoint(text, pos);
    return text.substr(0, pos);
}

// The code point at the start of a non-empty text.
constexpr char32_t FirstCodePoint(std::string_view s) {
    std::size_t pos = 0;
    return NextCodePoint(s, pos);
}

}  // namespace zorv
