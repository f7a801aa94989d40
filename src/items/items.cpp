#include "items/items.h"

#include <algorithm>
#include <utility>

namespace zorv {

namespace {
// Menus are a few levels deep; the cap only keeps a wild caller value from
// asking for gigabytes of "--->".
constexpr std::int32_t kMaxDepth = 1024;
}  // namespace

std::int32_t ItemDepth(std::string_view desc) {
    std::int32_t depth = 0;
    while (desc.substr(0, kDepthMark.size()) == kDepthMark) {
        desc.remove_prefix(kDepthMark.size());
        ++depth;
    }
    return depth;
}

std::string_view StripDepth(std::string_view desc) {
    while (desc.substr(0, kDepthMark.size()) == kDepthMark) desc.remove_prefix(kDepthMark.size());
    return desc;
}

clsItems::clsItems(std::string sectionName, bool noMenus)
    : SectionName(std::move(sectionName)), NoMenus(noMenus) {}

std::int32_t clsItems::Count() const {
    return static_cast<std::int32_t>(items_.size());
}

std::int32_t clsItems::BlockSize(std::int32_t index) const {
    std::int32_t entries = 0;
    if (HasMenus() && index < static_cast<std::int32_t>(menus_.size()) && menus_[index]) {
        entries = std::max<std::int32_t>(0, menus_[index]->Count());
    }
    // The entries follow the button; never reach past the end of the list.
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{entries} + 1, std::int64_t{Count()} - index));
}

// New records get empty menu slots: the bar builds the popup menus afresh.
void clsItems::InsertItems(std::int32_t at, const std::vector<Item>& block) {
    if (HasMenus()) {
        menus_.resize(items_.size());
        menus_.insert(menus_.begin() + at, block.size(), MenuSlot{});
    }
    items_.insert(items_.begin() + at, block.begin(), block.end());
}

// Without `eraseMenus` the slots keep their indices and only the table's tail
// goes, so that it still has one slot per item.
void clsItems::EraseItems(std::int32_t at, std::int32_t n, bool eraseMenus) {
    items_.erase(items_.begin() + at, items_.begin() + at + n);
    if (!HasMenus()) return;
    if (eraseMenus && static_cast<std::size_t>(at) < menus_.size()) {
        auto last = std::min(menus_.size(), static_cast<std::size_t>(at) + n);
        menus_.erase(menus_.begin() + at, menus_.begin() + last);
    }
    menus_.resize(items_.size());
}

void clsItems::AddItem(const Item& item) {
    AddItemAt(Count(), item);
}

void clsItems::AddItemAt(std::int32_t index, const Item& item) {
    AddItemAt(index, Item(item));
}

void clsItems::AddItemAt(std::int32_t index, Item&& item) {
    if (index < 0 || index > Count()) return;
    if (HasMenus()) {
        menus_.resize(items_.size());
        menus_.insert(menus_.begin() + index, MenuSlot{});
    }
    items_.insert(items_.begin() + index, std::move(item));
}

void clsItems::GetItem(std::int32_t index, Item& out) const {
    if (ValidIndex(index)) out = items_[index];
}

void clsItems::SetItemAt(std::int32_t index, const Item& item) {
    if (ValidIndex(index)) items_[index] = item;
}

std::string clsItems::GetDesc(std::int32_t index) const {
    return ValidIndex(index) ? items_[index].Desc : std::string();
}

std::string clsItems::GetPath(std::int32_t index) const {
    return ValidIndex(index) ? items_[index].Path : std::string();
}

std::string clsItems::GetIcon(std::int32_t index) const {
    return ValidIndex(index) ? items_[index].Icon : std::string();
}

std::int32_t clsItems::GetHotkey(std::int32_t index) const {
    return ValidIndex(index) ? items_[index].Hotkey : 0;
}

void clsItems::SetDesc(std::int32_t index, std::string_view desc) {
    if (ValidIndex(index)) items_[index].Desc = std::string(desc);
}

void clsItems::SetDepth(std::int32_t index, std::int32_t depth) {
    if (!ValidIndex(index)) return;
    depth = std::clamp(depth, 0, kMaxDepth);
    std::string desc;
    desc.reserve(depth * kDepthMark.size() + items_[index].Desc.size());
    for (std::int32_t i = 0; i < depth; ++i) desc += kDepthMark;
    desc += StripDepth(items_[index].Desc);
    items_[index].Desc = std::move(desc);
}

void clsItems::CopyItem(std::int32_t from, std::int32_t to) {
    if (!ValidIndex(from) || to < 0 || to > Count()) return;
    // Copy first: `to` may lie inside the block being copied.
    std::vector<Item> block(items_.begin() + from, items_.begin() + from + BlockSize(from));
    InsertItems(to, block);
}

void clsItems::MoveItem(std::int32_t from, std::int32_t to, bool moveMenus) {
    if (from == to || !ValidIndex(from) || !ValidIndex(to)) return;
    // A button with a popup menu moves together with its entries, which this
    // single-record move cannot do.
    if (HasMenus() && MenuAt(from)) return;
    auto rotate = [from, to](auto& v) {
        if (from < to) {
            std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
        } else {
            std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
        }
    };
    rotate(items_);
    if (HasMenus() && moveMenus) {
        menus_.resize(items_.size());
        rotate(menus_);
    }
}

void clsItems::RemoveItem(std::int32_t index, bool removeMenus) {
    if (ValidIndex(index)) EraseItems(index, 1, removeMenus);
}

std::int32_t clsItems::RemoveItems(std::int32_t index) {
    if (!ValidIndex(index)) return 0;
    std::int32_t n = BlockSize(index);
    EraseItems(index, n, true);
    return n;
}

void clsItems::Clear() {
    items_.clear();
    menus_.clear();
}

void clsItems::UpdateBegin() {
    saved_ = std::make_unique<Snapshot>(Snapshot{items_, menus_});
}

void clsItems::UpdateCancel() {
    if (!saved_) return;
    items_ = std::move(saved_->items);
    menus_ = std::move(saved_->menus);
    saved_.reset();
}

void clsItems::UpdateConfirm() {
    saved_.reset();
}

MenuSlot clsItems::MenuAt(std::int32_t index) const {
    if (index < 0 || index >= static_cast<std::int32_t>(menus_.size())) return {};
    return menus_[index];
}

void clsItems::SetMenuAt(std::int32_t index, MenuSlot menu) {
    if (!HasMenus() || !ValidIndex(index)) return;
    menus_.resize(items_.size());
    menus_[index] = std::move(menu);
}

const std::vector<MenuSlot>& clsItems::Menus() const {
    return menus_;
}

}  // namespace zorv
