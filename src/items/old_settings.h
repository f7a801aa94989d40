// Taking over the settings and items of the older per-user store on a first
// start without a configuration file. On Windows the store is the registry
// (HKCU\Software\VB and VBA Program Settings\Zorv\<section>); the shell
// implements OldSettingsStore over it, read-only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "items/items.h"
#include "items/settings.h"

namespace zorv {

class OldSettingsStore {
  public:
    virtual ~OldSettingsStore() = default;
    // The value of `key` in `section` of the program's area; nullopt when absent.
    virtual std::optional<std::string> Get(std::string_view section,
                                           std::string_view key) const = 0;
};

// Replaces the six lists by the store's items and sets the options the store
// knew; the other settings keep their values. A store without values gives
// empty lists. The caller saves the configuration afterwards.
//
// Section "Options": "AutoReduce", "SoftReduce", "ToolTips", "Wait4Idle",
// "TaskbarOnTop" (flags, off only for "0"), "AutoStartDelay" (seconds; above
// 60 milliseconds), "Buttonsize".
// Item sections, in this order: "Bar" (buttons), "ClpMenu", "Clp2Menu",
// "AutoStart", "AutoClose", "Menu". Keys "01", "02", ... ("100" after "99")
// until a value is missing, empty or begins with "| | ". A value holds the
// ten item fields in record order, separated by "| ":
//   Desc| Path| WrkDir| UserType| Icon| Activate| Title| Style| Prio| Hotkey
// with Hotkey in hexadecimal. In the clipboard lists Path is the text, its
// line breaks stored as "//*CrLf*//". Fields left out keep their defaults.
void ImportOldSettings(const OldSettingsStore& store, ItemLists& lists, Settings& settings,
                       const IniContext& context);

// One stored value as an item (exposed for tests).
Item ParseOldItem(std::string_view value, bool clipboard);

}  // namespace zorv
