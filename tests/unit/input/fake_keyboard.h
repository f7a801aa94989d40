// A German keyboard as the key-name rules see it, for the unit tests and the
// fuzz targets: the scan code is the virtual key, and a few keys have names
// (letters in lower case, so that the one-character rule shows).
#pragma once

#include <string>

#include "input/key_names.h"

namespace zorv::testing {

class FakeKeyboard : public KeyboardFacts {
  public:
    std::uint32_t ScanCodeOf(std::uint8_t vk) override { return vk; }
    std::string KeyNameText(std::uint32_t lParam) override {
        const auto vk = static_cast<std::uint8_t>(lParam >> 16);
        const bool ext = (lParam >> 24) & 1;
        if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk + 32));
        if (vk >= 0x70 && vk <= 0x7B) return "F" + std::to_string(vk - 0x6F);
        switch (vk) {
            case 0x0D: return "Eingabe";
            case 0x10: return "Umschalt";
            case 0x11: return "Strg";
            case 0x12: return "Alt";
            case 0x24: return ext ? "Pos1" : "Num 7";
            case 0xBA: return "\xC3\xBC";  // ü
            case 0xFF: return "(255)";
            default: return "";
        }
    }
    std::string DecimalSeparator() override { return ","; }
};

}  // namespace zorv::testing
