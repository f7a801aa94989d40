#include "input/key_names.h"

#include <algorithm>

#include "items/items.h"
#include "support/utf8.h"
#include "support/win32_constants.h"

namespace zorv {

void KeyNameTable::Add(std::string_view name, std::uint16_t vk) {
    if (std::any_of(entries_.begin(), entries_.end(),
                    [&](const Entry& e) { return e.Name == name; })) {
        return;
    }
    entries_.push_back({std::string(name), vk});
}

void KeyNameTable::AddLine(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    Add(line.substr(0, eq), static_cast<std::uint16_t>(ParseHexPrefix(line.substr(eq + 1))));
}

std::uint16_t KeyNameTable::LookupKeyName(std::string_view name) const {
    for (const Entry& e : entries_) {
        if (e.Name == name) return e.Vk;
    }
    return 0;
}

KeyNameTable BuildKeyNameTable(KeyboardFacts& keyboard) {
    KeyNameTable table;
    for (std::string_view line : kKeyNameLines) table.AddLine(line);
    for (unsigned vk = win::kVkReturn; vk <= 255; ++vk) {
        if (vk >= win::kVkPrior && vk <= win::kVkHelp) continue;
        const std::string name = KeyName(static_cast<std::uint8_t>(vk), keyboard);
        if (!name.empty() && name[0] != '(') table.Add(name, static_cast<std::uint16_t>(vk));
    }
    return table;
}

namespace {

// Upper case of the letters a key name may hold: ASCII and Latin-1 (à..þ
// without ÷), the letters of the keyboards of the program's two languages.
char32_t UpperLetter(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else {
        // Only Latin-1 letters change, so a changed character takes two bytes.
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsKeypadKey(std::uint8_t vk) { return vk >= win::kVkNumpad0 && vk <= win::kVkDivide; }

}  // namespace

std::string UpperKeyName(std::string_view token) {
    std::string out;
    out.reserve(token.size());
    for (std::size_t pos = 0; pos < token.size();) {
        const std::size_t start = pos;
        const char32_t c = NextCodePoint(token, pos);
        const char32_t upper = UpperLetter(c);
        if (upper == c) {
            out.append(token.substr(start, pos - start));
        } else {
            AppendUtf8(out, upper);
        }
    }
    return out;
}

std::string KeyName(std::uint8_t vk, KeyboardFacts& keyboard) {
    if (vk == win::kVkSnapshot) return {};
    std::string name;
    if (IsKeypadKey(vk)) {
        static constexpr std::string_view kKeypad = "0123456789*+,-,/";
        name = vk == win::kVkDecimal ? keyboard.DecimalSeparator()
                                     : std::string(1, kKeypad[vk - win::kVkNumpad0]);
        name += " (Num)";
        return name;
    }
    std::uint32_t lParam = keyboard.ScanCodeOf(vk) << 16;
    const bool plainKey = (vk >= win::kVkF1 && vk <= win::kVkF12) || vk == win::kVkScroll ||
                          vk == win::kVkLShift || vk == win::kVkRShift;
    // GetKeyNameText names the keys of the navigation block and the right-hand
    // Ctrl and Alt only with the extended-key bit; without it, it gives their
    // keypad twins ("Num 7" for Home).
    if (!plainKey && (vk == win::kVkCancel || vk == win::kVkClear ||
                      (vk >= win::kVkPrior && vk <= win::kVkRMenu))) {
        lParam |= 1u << 24;
    }
    name = keyboard.KeyNameText(lParam);
    std::size_t pos = 0;
    if (!name.empty() && (NextCodePoint(name, pos), pos == name.size())) name = UpperKeyName(name);
    return name;
}

std::vector<std::string> KeyNameTable::Names() const {
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const Entry& e : entries_) names.push_back(e.Name);
    return names;
}

}  // namespace zorv
