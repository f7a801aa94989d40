// A keyboard whose system names are the key's code in hexadecimal, with a
// few names that start with "(" or are empty, for the key-name rules.
#pragma once

#include <cstdio>
#include <string>

#include "input/key_names.h"

namespace zorv::fuzz {

class HexKeyboard : public KeyboardFacts {
  public:
    std::uint32_t ScanCodeOf(std::uint8_t vk) override { return vk; }
    std::string KeyNameText(std::uint32_t lParam) override {
        const unsigned vk = (lParam >> 16) & 0xFF;
        if (vk % 7 == 0) return vk % 2 ? "(x)" : "";
        char name[8];
        std::snprintf(name, sizeof name, "K%X", vk);
        return name;
    }
    std::string DecimalSeparator() override { return "."; }
};

}  // namespace zorv::fuzz
