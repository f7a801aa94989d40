#include "menus/dip_menu.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "bar/bar_layout.h"
#include "items/items.h"
#include "support/utf8.h"

namespace zorv {

std::optional<ScreenPoint> MenuIconCell(std::int32_t number, const MenuIconStrip& strip) {
    if (number < 0) return std::nullopt;
    const std::int32_t size = strip.IconSize;
    if (!strip.Multiline) return ScreenPoint{size * number, strip.RowY};
    return ScreenPoint{size * (number % kBuiltInIconsPerRow),
                       strip.RowY + size * (number / kBuiltInIconsPerRow)};
}

ScreenPoint MenuMaskCell(ScreenPoint icon, const MenuIconStrip& strip) {
    return {icon.X, icon.Y + (strip.MaskBelowIcon ? strip.IconSize : 0)};
}

// The capitals of the scripts a menu caption is likely to be in, so that a
// typed "ω" or "д" finds "&Ωμέγα" or "&Дом" as "ü" finds "&Über".
char32_t LowerMnemonic(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // À..Þ without ×
    // Latin Extended-A: capital and small in pairs, the capital first (even,
    // or odd from Ĺ to Ň and from Ź to Ž); ı, ĸ and ŉ have no pair.
    if (c >= 0x100 && c <= 0x17E && c != 0x130 && c != 0x138 && c != 0x149) {
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || c >= 0x179;
        if ((c % 2 == 1) == oddCapitals) return c + 1;
        return c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;  // Α..Ω
    if (c == 0x386) return 0x3AC;                               // Ά
    if (c >= 0x388 && c <= 0x38A) return c + 37;                // Έ Ή Ί
    if (c == 0x38C) return 0x3CC;                               // Ό
    if (c == 0x38E || c == 0x38F) return c + 63;                // Ύ Ώ
    if (c >= 0x410 && c <= 0x42F) return c + 32;                // А..Я
    if (c >= 0x400 && c <= 0x40F) return c + 80;                // Ѐ..Џ
    return c;
}

namespace {

std::string WithoutAmpersands(std::string_view caption) {
    std::string text;
    std::copy_if(caption.begin(), caption.end(), std::back_inserter(text),
                 [](char c) { return c != '&'; });
    return text;
}

}  // namespace

// The character after the first "&", whatever it is: "&&" gives "&", as
// the platform's own menus would not, but the drawn caption then shows a
// literal "&" and the typed "&" runs it.
char32_t MnemonicOf(std::string_view caption) {
    const std::size_t amp = caption.find('&');
    if (amp == std::string_view::npos || amp + 1 >= caption.size()) return 0;
    return LowerMnemonic(FirstCodePoint(caption.substr(amp + 1)));
}

std::int32_t DIPMenuEntries::AddMenuItem(std::string_view caption, std::int32_t itemId,
                                         std::int32_t icon, const MenuIconStrip& strip) {
    DIPMenuItem item;
    item.CommandId = static_cast<std::int32_t>(items_.size());
    item.ItemId = itemId;
    item.Depth = ItemDepth(caption);
    const std::string_view rest = StripDepth(caption);
    if (rest != "-") item.Caption = rest;
    if (const auto cell = MenuIconCell(icon, strip)) {
        item.IconX = cell->X;
        item.IconY = cell->Y;
    }
    items_.push_back(std::move(item));
    return Count();
}

void DIPMenuEntries::Clear() {
    items_.assign(1, DIPMenuItem{});
}

std::optional<std::int32_t> DIPMenuEntries::GetItemId(std::int32_t index) const {
    if (index < 1 || index > Count()) return std::nullopt;
    return items_[index].ItemId;
}

const DIPMenuItem* DIPMenuEntries::ByCommand(std::int32_t commandId) const {
    if (commandId < 1 || commandId > Count()) return nullptr;
    return &items_[commandId];
}

// An entry one level deeper than the open one opens a submenu under the
// entry before it. An entry that skips levels, or goes below the deepest
// level, opens nothing: it joins the popup open at that moment, and its
// depth becomes that popup's, so the mnemonic search sees it where it shows.
MenuTreePlan BuildMenuTree(DIPMenuEntries& entries, std::int32_t minWidth, const MenuIconStrip& strip,
                           MenuTextMeasurer& measure) {
    MenuTreePlan plan;
    const Dpi dpi = strip.Scale;
    plan.ItemHeight = measure.Measure("H").Height + dpi.Px(4);
    if (!dpi.IsStandard()) plan.ItemHeight = std::max(plan.ItemHeight, strip.IconSize + dpi.Px(2));
    MenuPopupPlan root;
    root.TextWidth = minWidth;
    plan.Popups.push_back(root);
    std::vector<std::int32_t> open{0};  // popup index per open depth
    std::vector<DIPMenuItem>& items = entries.Items();
    for (std::int32_t i = 1; i <= entries.Count(); ++i) {
        DIPMenuItem& item = items[i];
        const auto depthNow = static_cast<std::int32_t>(open.size()) - 1;
        std::int32_t d = item.Depth;
        if (d == depthNow + 1 && d <= kMaxMenuDepth) {
            MenuPopupPlan popup;
            popup.Heading = items[i - 1].CommandId;
            popup.Parent = open.back();
            popup.TextWidth = kMinMenuTextWidth;
            plan.Popups.push_back(popup);
            open.push_back(static_cast<std::int32_t>(plan.Popups.size()) - 1);
        } else if (d > depthNow) {
            d = depthNow;
        } else {
            open.resize(d + 1);
        }
        item.Depth = d;
        MenuPopupPlan& popup = plan.Popups[open.back()];
        item.Position = static_cast<std::int32_t>(popup.Entries.size());
        popup.Entries.push_back(i);
        item.Mnemonic = MnemonicOf(item.Caption);
        popup.TextWidth = std::max(popup.TextWidth, measure.Measure(WithoutAmpersands(item.Caption)).Width);
    }
    for (const MenuPopupPlan& popup : plan.Popups) {
        for (std::int32_t i : popup.Entries) items[i].Width = popup.TextWidth;
    }
    plan.MenuTextWidth = plan.Popups[0].TextWidth;
    return plan;
}

std::uint32_t EntryTypeFlags(const DIPMenuItem& entry, bool ownerDrawn) {
    const std::uint32_t kind = entry.IsSeparator() ? win::kMfSeparator : 0;
    return ownerDrawn ? kind | win::kMfOwnerDraw : kind;
}

WrapPlan SetWraps(std::int32_t rootEntries, std::int32_t itemHeight, std::int32_t screenHeight) {
    WrapPlan plan;
    const std::int32_t position = rootEntries / 2 + 1;
    if (position >= rootEntries) return plan;
    plan.Position = position;
    plan.Break = static_cast<std::int64_t>(rootEntries) * itemHeight > screenHeight;
    return plan;
}

// The popup that drew last is taken as the open one: its entries are the run
// of entries at its depth or deeper around the last-drawn one; the first of
// them at exactly that depth with the letter is run.
std::optional<std::int32_t> MatchMnemonic(const DIPMenuEntries& entries, const LastDrawn& last,
                                          char32_t typed) {
    const std::vector<DIPMenuItem>& items = entries.Items();
    const std::int32_t depth = last.Depth;
    std::int32_t i = std::clamp(last.Index, 0, entries.Count());
    while (i > 0 && items[i].Depth >= depth) --i;
    typed = LowerMnemonic(typed);
    for (++i; i <= entries.Count() && items[i].Depth >= depth; ++i) {
        if (items[i].Depth == depth && items[i].Mnemonic == typed && typed != 0) {
            return items[i].Position;
        }
    }
    return std::nullopt;
}

DIPMenuHoldings HoldingsAfterCreate(bool ownerDrawn) {
    return {.Subclassed = ownerDrawn, .Font = true, .RootMenu = true};
}

DIPMenuHoldings TakeForDestroy(DIPMenuHoldings& held) {
    return std::exchange(held, DIPMenuHoldings{});
}

}  // namespace zorv
