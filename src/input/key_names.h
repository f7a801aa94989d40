// The names of keys: the table the keystroke language looks its "{NAME}"
// tokens up in, and the display names of keys and hotkeys. The system's
// key names come in through KeyboardFacts, so the rules run without
// Windows. Portable: no Windows headers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// What the key names need to know of the system's keyboard.
class KeyboardFacts {
  public:
    virtual ~KeyboardFacts() = default;
    // MapVirtualKey(vk, MAPVK_VK_TO_VSC).
    virtual std::uint32_t ScanCodeOf(std::uint8_t vk) = 0;
    // GetKeyNameText for this lParam (UTF-8; empty when the system has none).
    virtual std::string KeyNameText(std::uint32_t lParam) = 0;
    // The user's decimal separator (LOCALE_SDECIMAL).
    virtual std::string DecimalSeparator() = 0;
};

// The named keys every keystroke text can use, as "NAME=HEX" (hexadecimal
// virtual-key code), in their fixed order.
inline constexpr std::array<std::string_view, 28> kKeyNameLines = {
    "SHIFT=10",    "CTRL=11",     "ALT=12",      "WINKEY=5B",    "SPACE=20",   "ENTER=D",
    "ESC=1B",      "TAB=9",       "TAB+WAIT=9",  "BACK=8",       "LEFT=25",    "RIGHT=27",
    "UP=26",       "DOWN=28",     "INS=2D",      "DEL=2E",       "PGDN=22",    "PGUP=21",
    "HOME=24",     "END=23",      "BREAK=3",     "PRTSC=2C",     "NUMLOCK+=90", "NUMLOCK-=90",
    "CAPSLOCK+=14", "CAPSLOCK-=14", "SCROLLLOCK+=91", "SCROLLLOCK-=91"};

// Names and virtual-key codes, first name wins; looked up by exact name.
class KeyNameTable {
  public:
    // Adds the name unless it is already there.
    void Add(std::string_view name, std::uint16_t vk);
    // Splits "NAME=HEX" at its first "="; a line without "=" adds nothing.
    void AddLine(std::string_view line);
    // The code of exactly this name; 0 when unknown.
    std::uint16_t LookupKeyName(std::string_view name) const;
    std::size_t Size() const { return entries_.size(); }
    // Every name, in the table's order.
    std::vector<std::string> Names() const;

  private:
    struct Entry {
        std::string Name;
        std::uint16_t Vk;
    };
    std::vector<Entry> entries_;
};

// The named keys, then the display name of every virtual key from 13 to
// 255 except 33..47 (the navigation keys and digits' neighbours), when it is
// not empty, does not start with "(" and is not named yet: so "F5", "A"
// and "1" work as tokens.
KeyNameTable BuildKeyNameTable(KeyboardFacts& keyboard);

// A token as the lookup compares it: ASCII and Latin-1 letters upper-cased.
std::string UpperKeyName(std::string_view token);

// The display name of a virtual key (`KeyName`): the keypad keys by their
// character and " (Num)" (the decimal key with the user's separator),
// Print Screen without a name, otherwise the system's name, a one-character
// name upper-cased.
std::string KeyName(std::uint8_t vk, KeyboardFacts& keyboard);

}  // namespace zorv
