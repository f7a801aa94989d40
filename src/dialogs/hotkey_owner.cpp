#include "dialogs/hotkey_owner.h"

namespace zorv {

// Placeholder until the owner lookup lands: no hotkey counts as used.
std::string HotkeyOwnerText(const AppState&, std::int32_t, std::int32_t, std::int32_t) {
    return {};
}

}  // namespace zorv
