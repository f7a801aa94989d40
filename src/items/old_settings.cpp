// The first-start import from the older per-user store.
#include "items/old_settings.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <vector>

#include "items/config_file.h"

namespace zorv {

namespace {

constexpr std::string_view kOptions = "Options";
constexpr std::string_view kFieldSeparator = "| ";
constexpr std::string_view kStoredLineBreak = "//*CrLf*//";
// The older store never held more items than this; the bound only protects
// the loop from a store that answers every key.
constexpr int kMaxItems = 9999;

struct OldSection {
    std::string_view name;
    ItemListIndex list;
};
// The order the older version kept its lists in.
constexpr std::array<OldSection, kListCount> kSections = {{
    {"Bar", kListButtons},
    {"ClpMenu", kListClipboard},
    {"Clp2Menu", kListClipboard2},
    {"AutoStart", kListAutostart},
    {"AutoClose", kListAutoclose},
    {"Menu", kListMenu},
}};

std::string OptionText(const OldSettingsStore& store, std::string_view key) {
    return store.Get(kOptions, key).value_or("0");
}

bool OptionFlag(const OldSettingsStore& store, std::string_view key) {
    return OptionText(store, key) != "0";
}

std::vector<std::string_view> SplitFields(std::string_view value) {
    std::vector<std::string_view> fields;
    for (std::size_t pos = 0;;) {
        std::size_t sep = value.find(kFieldSeparator, pos);
        if (sep == std::string_view::npos) {
            fields.push_back(value.substr(pos));
            return fields;
        }
        fields.push_back(value.substr(pos, sep - pos));
        pos = sep + kFieldSeparator.size();
    }
}

std::string StoredTextToPath(std::string_view text) {
    std::string out;
    for (std::size_t pos = 0;;) {
        std::size_t br = text.find(kStoredLineBreak, pos);
        out += text.substr(pos, br == std::string_view::npos ? std::string_view::npos : br - pos);
        if (br == std::string_view::npos) return out;
        out += "\r\n";
        pos = br + kStoredLineBreak.size();
    }
}

// The number rules of the item text apply to the stored fields as well.
void SetNumberField(Item& item, std::size_t index, std::string_view field) {
    std::int32_t n = ParseDecimalPrefix(field);
    switch (index) {
        case 3:
            item.UserType = n == std::numeric_limits<std::int32_t>::min()
                                ? std::numeric_limits<std::int32_t>::max()
                                : std::abs(n);
            break;
        case 5:
            if (n == 255) n = 1;
            item.Activate = static_cast<std::uint8_t>(std::clamp(n, 0, 2));
            break;
        case 7:
            item.Style = n;
            break;
        case 8:
            if (!field.empty()) item.Prio = n;
            break;
        case 9:
            item.Hotkey = ParseHexPrefix(field);
            break;
        default:
            break;
    }
}

void ImportList(const OldSettingsStore& store, std::string_view section, clsItems& list,
                bool clipboard) {
    for (int i = 1; i <= kMaxItems; ++i) {
        std::string key = std::to_string(i);
        if (key.size() < 2) key.insert(0, "0");
        std::optional<std::string> value = store.Get(section, key);
        if (!value || value->empty() || value->starts_with("| | ")) return;
        list.AddItem(ParseOldItem(*value, clipboard));
    }
}

}  // namespace

Item ParseOldItem(std::string_view value, bool clipboard) {
    Item item;
    std::vector<std::string_view> fields = SplitFields(value);
    fields.resize(std::min<std::size_t>(fields.size(), 10));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string_view f = fields[i];
        switch (i) {
            case 0:
                item.Desc = f;
                break;
            case 1:
                item.Path = clipboard ? StoredTextToPath(f) : std::string(f);
                break;
            case 2:
                item.WrkDir = f;
                break;
            case 4:
                item.Icon = f;
                break;
            case 6:
                item.Title = f;
                break;
            default:
                SetNumberField(item, i, f);
                break;
        }
    }
    if (item.Desc.empty()) item.Desc = "-";
    return item;
}

void ImportOldSettings(const OldSettingsStore& store, ItemLists& lists, Settings& settings,
                       const IniContext& context) {
    // Which non-zero level the older on/off flag meant is not recorded; the
    // one-pixel line is the plain reduce it offered.
    settings.AutoRed = OptionFlag(store, "AutoReduce") ? 1 : 0;
    settings.SoftRed = OptionFlag(store, "SoftReduce");
    settings.ToolTip = OptionFlag(store, "ToolTips");
    settings.W4Idle = OptionFlag(store, "Wait4Idle");
    settings.TaskbarTop = OptionFlag(store, "TaskbarOnTop");
    std::int32_t delay = ParseDecimalPrefix(OptionText(store, "AutoStartDelay"));
    if (delay > 60) delay /= 1000;  // stored in milliseconds by older versions
    settings.ASDelay = std::clamp(delay, 0, 60);
    settings.ButH_id = std::clamp(ParseDecimalPrefix(OptionText(store, "Buttonsize")), 0, 2);

    ClearItemLists(lists);
    for (const OldSection& s : kSections) {
        bool clipboard = s.list == kListClipboard || s.list == kListClipboard2;
        ImportList(store, s.name, lists[s.list], clipboard);
    }
    UpdateDerivedSettings(settings, context.Win2000OrLater);
}

}  // namespace zorv
