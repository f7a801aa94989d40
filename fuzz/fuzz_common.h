// What the fuzz targets share: the entry point, the failure check, splitting
// the input, and what an item's text form can carry. Each target includes it
// once and defines FuzzOne.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "items/items.h"

namespace zorv::fuzz {

// Aborts, so that libFuzzer reports the input that broke the rule.
inline void Check(bool ok) {
    if (!ok) std::abort();
}

// One run of the target on libFuzzer's input.
void FuzzOne(std::string_view input);

// The first `count` - 1 lines and the rest; missing ones are empty.
inline std::vector<std::string> Lines(std::string_view data, std::size_t count) {
    std::vector<std::string> lines;
    for (std::size_t nl; lines.size() + 1 < count && (nl = data.find('\n')) != data.npos;) {
        lines.emplace_back(data.substr(0, nl));
        data.remove_prefix(nl + 1);
    }
    lines.emplace_back(data);
    lines.resize(count);
    return lines;
}

// A path the item's text form cannot hold: a multi-line path in an ordinary
// item (its one "Path=" line), a clipboard text too long for the reader's
// 66,666-character buffer.
inline bool Unwritable(const std::string& path, bool clipboard) {
    return clipboard ? path.size() + 2 >= 66666 : path.find('\n') != std::string::npos;
}

// Equal as far as the text form carries: the clipboard form only has these
// four keys, the rest comes from the parser's shared record.
inline bool SameInText(const Item& a, const Item& b, bool clipboard) {
    if (!clipboard) return a == b;
    return a.Desc == b.Desc && a.Path == b.Path && a.Activate == b.Activate && a.Hotkey == b.Hotkey;
}

}  // namespace zorv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zorv::fuzz::FuzzOne({reinterpret_cast<const char*>(data), size});
    return 0;
}
