// Who already uses a hotkey: the text a dialog shows beside its hotkey
// field. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "items/app_state.h"

namespace zorv {

// "Used by <list> "<caption>"" for the first item of any list (or the main
// menu's hotkey) with hotkey `value`; the item `exceptList`/`exceptIndex`
// (the one being edited; -1 for none) does not count. Empty when unused or
// when `value` is 0.
std::string HotkeyOwnerText(const AppState& state, std::int32_t value, std::int32_t exceptList,
                            std::int32_t exceptIndex);

// "Used by <list> "<caption>"" with the depth marks removed from the caption.
std::string UsedByText(std::string_view listName, std::string_view desc, bool english);
// The same in the language of this run.
std::string UsedByText(std::string_view listName, std::string_view desc);

}  // namespace zorv
