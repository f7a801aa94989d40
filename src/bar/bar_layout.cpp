#include "bar/bar_layout.h"

#include <algorithm>
#include <iterator>

#include "support/startup_state.h"

namespace zorv {

BarMetrics ResolveBarMetrics(std::int32_t butHId, Dpi dpi) {
    BarMetrics m;
    if (butHId < 0 || butHId >= static_cast<std::int32_t>(ButtonSizes.size())) {
        m.ButHIdReset = true;
        butHId = 0;
    }
    m.ButHId = butHId;
    m.Scale = dpi;
    m.BaseHeight = ButtonSizes[static_cast<std::size_t>(butHId)];
    m.Height = dpi.Px(m.BaseHeight);
    // The 19-pixel bar has no room for the two-pixel top margin.
    m.IconTop = dpi.Px(butHId == 2 ? 1 : 2);
    m.IconSize = dpi.Px(kIconSize);
    m.LineHeight = dpi.Px(1);
    return m;
}

std::int32_t ButtonWidth(bool butFlat, Dpi dpi) {
    return dpi.Px(butFlat ? kFlatButtonWidth : kRaisedButtonWidth);
}

bool IsSeparatorDesc(std::string_view desc) {
    return desc == "-";
}

namespace {

CellKind KindOfDesc(std::string_view desc) {
    if (ItemDepth(desc) > 0) return CellKind::MenuEntry;
    return IsSeparatorDesc(desc) ? CellKind::Separator : CellKind::Button;
}

std::vector<std::string> Descriptions(const clsItems& items) {
    std::vector<std::string> descs;
    descs.reserve(static_cast<std::size_t>(items.Count()));
    for (std::int32_t i = 0; i < items.Count(); ++i) descs.push_back(items.GetDesc(i));
    return descs;
}

}  // namespace

BarLayout::BarLayout(const std::vector<std::string>& descriptions, bool butFlat, Dpi dpi)
    : buttonWidth_(zorv::ButtonWidth(butFlat, dpi)),
      separatorWidth_(dpi.Px(kSeparatorWidth)),
      iconSize_(dpi.Px(kIconSize)) {
    kinds_.reserve(descriptions.size());
    for (const auto& desc : descriptions) kinds_.push_back(KindOfDesc(desc));
    lefts_.assign(kinds_.size() + 1, 0);
    for (std::int32_t i = 0; i < Count(); ++i) lefts_[i + 1] = lefts_[i] + ItemWidth(i);
}

BarLayout::BarLayout(const clsItems& buttons, bool butFlat, Dpi dpi)
    : BarLayout(Descriptions(buttons), butFlat, dpi) {}

CellKind BarLayout::KindAt(std::int32_t i) const {
    if (i < 0) return CellKind::MenuEntry;
    if (i >= Count()) return CellKind::MainMenu;
    return kinds_[static_cast<std::size_t>(i)];
}

std::int32_t BarLayout::ItemWidth(std::int32_t i) const {
    switch (KindAt(i)) {
        case CellKind::Separator:
            return separatorWidth_;
        case CellKind::MenuEntry:
            return 0;
        case CellKind::Button:
        case CellKind::MainMenu:
            break;
    }
    return buttonWidth_;
}

std::int32_t BarLayout::ButtonX(std::int32_t i) const {
    return lefts_[static_cast<std::size_t>(std::clamp(i, 0, Count()))];
}

std::int32_t BarLayout::CellRight(std::int32_t i) const {
    // The main-menu cell has no item after it to take the edge from.
    if (i >= Count()) return BarWidth() - 1;
    return ButtonX(i + 1) - 1;
}

std::int32_t BarLayout::ButtonAt(std::int32_t x, std::int32_t scrollOffset) const {
    for (std::int32_t i = 0; i < Count(); ++i) {
        if (CellRight(i) - scrollOffset >= x) return i;
    }
    return Count();
}

std::int32_t BarLayout::BarImageWidth() const {
    // Icon slots are one icon apart whatever the cells' widths, so menu
    // entries and runs of separators can push a later button's slot past W.
    return std::max(BarWidth(), iconSize_ * Count());
}

ScreenPoint IconPosition(std::int32_t cellLeft, std::int32_t iconTop, bool pressed, Dpi dpi) {
    if (pressed) return {cellLeft + dpi.Px(3), iconTop + dpi.Px(1)};
    return {cellLeft + dpi.Px(2), iconTop};
}

ScreenPoint IconSlot(std::int32_t i, const BarMetrics& m) {
    return {m.IconSize * i, m.IconRowTop()};
}

ScreenPoint MaskSlot(std::int32_t i, const BarMetrics& m) {
    return {m.IconSize * i, m.MaskRowTop()};
}

std::optional<ScreenPoint> BuiltInIconSource(std::int32_t n, std::int32_t iconSize) {
    if (n < 1 || n > kBuiltInIconCount) return std::nullopt;
    return ScreenPoint{iconSize * ((n - 1) % kBuiltInIconsPerRow),
                       iconSize * ((n - 1) / kBuiltInIconsPerRow)};
}

std::int32_t IconStripSizeFor(std::int32_t iconSize) {
    for (std::int32_t size : kIconStripSizes) {
        if (size >= iconSize) return size;
    }
    return kIconStripSizes[std::size(kIconStripSizes) - 1];
}

std::int32_t EmptyFaceX(std::int32_t butHId, Dpi dpi) {
    return dpi.Px(44 * butHId);
}

std::int32_t PressedFaceX(std::int32_t butHId, Dpi dpi) {
    return dpi.Px(22 * (2 * butHId + 1));
}

std::int32_t SeparatorFaceX(std::int32_t baseHeight, Dpi dpi) {
    return dpi.Px(132 + kSeparatorWidth * (baseHeight - 19));
}

namespace {

// The number after "**": digits only; 0 for anything else or too large.
std::int32_t BuiltInNumber(std::string_view digits) {
    if (digits.empty()) return 0;
    std::int32_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
        if (n > kBuiltInIconCount) return 0;
    }
    return n;
}

}  // namespace

// "**" names a built-in image; a number outside 1..200 or with other
// characters ("**0", "**201", "**abc", "** 5") names none, and since "*" cannot
// stand in a file name there is no file to try either: the cell keeps its
// fallback image.
IconSource ResolveIconSource(std::string_view iconField, std::string_view iconFolder) {
    std::string_view name = TrimBlanks(iconField);
    IconSource source;
    if (name.empty()) {
        source.Kind = IconSourceKind::ProgramIcon;
    } else if (name.substr(0, 2) == "**") {
        std::int32_t n = BuiltInNumber(name.substr(2));
        if (n == 0) return source;
        source.Kind = IconSourceKind::BuiltIn;
        source.BuiltInNumber = n;
        source.BuiltInAt = *BuiltInIconSource(n);
    } else {
        source.Kind = IconSourceKind::File;
        source.FilePath.reserve(iconFolder.size() + 1 + name.size());
        source.FilePath.append(iconFolder).append("\\").append(name);
    }
    return source;
}

std::int32_t FindEndOfBarmenu(const clsItems& buttons, std::int32_t i) {
    if (i < 0 || i >= buttons.Count()) return i;
    std::int32_t end = i;
    while (end + 1 < buttons.Count() && ItemDepth(buttons.GetDesc(end + 1)) >= 1) ++end;
    return end;
}

// A depth-1 item right after a top-level one opens that item's submenu, which
// then takes every deeper item up to the next top-level one. The walk fills a
// button's single menu slot in list order, so a "*CLIP*" button that is also
// followed by deeper items ends up with the submenu. Separators are top-level
// items like any other and are not excluded.
std::vector<ButtonMenuPlan> PlanButtonMenus(const clsItems& buttons) {
    std::vector<ButtonMenuPlan> plans;
    for (std::int32_t i = 0; i < buttons.Count(); ++i) {
        if (ItemDepth(buttons.GetDesc(i)) != 0) continue;
        ButtonMenuPlan plan;
        plan.Button = i;
        if (i + 1 < buttons.Count() && ItemDepth(buttons.GetDesc(i + 1)) == 1) {
            plan.Kind = ButtonMenuKind::SubMenu;
            std::int32_t end = FindEndOfBarmenu(buttons, i);
            for (std::int32_t e = i + 1; e <= end; ++e) plan.Entries.push_back(e);
        } else if (std::string path = buttons.GetPath(i); path == "*CLIP*") {
            plan.Kind = ButtonMenuKind::Clipboard1;
        } else if (path == "*CLIP2*") {
            plan.Kind = ButtonMenuKind::Clipboard2;
        } else {
            continue;
        }
        plans.push_back(std::move(plan));
    }
    return plans;
}

// No limit to the right: the gap between the bar and the screen's right edge
// counts as the bar, so the bar does not reduce while the mouse is there.
// The bar hangs from the screen's top, so its height bounds the screen y.
bool MouseOnBar(ScreenPoint cursor, const BarWindowFacts& window, std::int32_t buttonWidth,
                bool menuCellOnly) {
    if (cursor.X < window.Left || cursor.Y > window.Height) return false;
    if (!menuCellOnly) return true;
    std::int32_t right = window.Left + window.Width;
    return cursor.X >= right - buttonWidth && cursor.X < right;
}

bool MouseOnBorder(std::int32_t cursorX, std::int32_t screenWidth, bool right) {
    return right ? cursorX == screenWidth - 1 : cursorX == 0;
}

}  // namespace zorv
