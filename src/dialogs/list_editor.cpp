#include "dialogs/list_editor.h"

#include <algorithm>
#include <array>

namespace zorv {

namespace {

constexpr std::string_view kCrLf = "\r\n";
// The deepest level the arrow reaches.
constexpr std::int32_t kIndentLimit = 9;

constexpr std::array<std::string_view, 4> kLaunchHeaders = {"[Button]", "[MenuItem]",
                                                            "[AutostartItem]", "[AutocloseItem]"};
constexpr std::array<std::string_view, 2> kClipHeaders = {"[ClipboardItem]", "[Clipboard2Item]"};
constexpr std::string_view kItemHeader = "[Item]";
constexpr std::string_view kInvalidHeader = "[InvalidItem]";

// Every CR LF + `from` header in `text` becomes CR LF + `to`.
void ReplaceHeaders(std::string& text, std::string_view from, std::string_view to) {
    const std::string needle = std::string(kCrLf) + std::string(from);
    const std::string replacement = std::string(kCrLf) + std::string(to);
    for (std::size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + replacement.size())) {
        text.replace(at, needle.size(), replacement);
    }
}

std::string Repeat(std::string_view s, std::int32_t n) {
    std::string out;
    for (std::int32_t i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

ListEditorModel::ListEditorModel(clsItems& list, std::int32_t listIndex)
    : list_(list), listIndex_(listIndex), selected_(static_cast<std::size_t>(list.Count()) + 1) {}

std::string ListEditorModel::LineText(std::int32_t line) const {
    if (line < 0 || line >= list_.Count()) return {};
    std::string text = list_.GetDesc(line);
    std::erase(text, '&');
    return text;
}

void ListEditorModel::ResizeSelection() {
    selected_.resize(static_cast<std::size_t>(LineCount()));
}

void ListEditorModel::SetSelection(std::vector<bool> selected) {
    selected_ = std::move(selected);
    ResizeSelection();
}

void ListEditorModel::SelectOnly(std::int32_t line) {
    selected_.assign(static_cast<std::size_t>(LineCount()), false);
    if (line >= 0 && line < LineCount()) selected_[line] = true;
}

std::int32_t ListEditorModel::SelectedCount() const {
    return static_cast<std::int32_t>(std::count(selected_.begin(), selected_.end(), true));
}

std::int32_t ListEditorModel::SingleSelected() const {
    if (SelectedCount() != 1) return -1;
    return static_cast<std::int32_t>(std::find(selected_.begin(), selected_.end(), true) -
                                     selected_.begin());
}

ListEnabling ListEditorModel::Enabled() const {
    const std::int32_t count = SelectedCount();
    const bool emptyLine = selected_.back();
    return {count == 1 && !emptyLine, count >= 1 && !emptyLine, count == 1};
}

std::string ListEditorModel::DepthPrefix(std::int32_t line) const {
    if (line < 0 || line >= list_.Count()) return {};
    return Repeat(kDepthMark, ItemDepth(list_.GetDesc(line)));
}

bool HeadsSubmenu(const clsItems& list, std::int32_t index) {
    return index >= 0 && index + 1 < list.Count() &&
           ItemDepth(list.GetDesc(index + 1)) > ItemDepth(list.GetDesc(index));
}

bool ListEditorModel::IsRoot(std::int32_t index) const {
    return HeadsSubmenu(list_, index);
}

void ListEditorModel::SwapItems(std::int32_t a, std::int32_t b) {
    Item first, second;
    list_.GetItem(a, first);
    list_.GetItem(b, second);
    list_.SetItemAt(a, second);
    list_.SetItemAt(b, first);
    const bool selected = selected_[a];
    selected_[a] = selected_[b];
    selected_[b] = selected;
}

bool ListEditorModel::MoveUp() {
    if (SelectedCount() == 0 || selected_.front() || selected_.back()) return false;
    for (std::int32_t i = 1; i < list_.Count(); ++i) {
        if (selected_[i]) SwapItems(i, i - 1);
    }
    return true;
}

bool ListEditorModel::MoveDown() {
    const std::int32_t last = list_.Count() - 1;
    if (SelectedCount() == 0 || selected_.back() || selected_[last]) return false;
    for (std::int32_t i = last - 1; i >= 0; --i) {
        if (selected_[i]) SwapItems(i, i + 1);
    }
    return true;
}

// The first line of each selected block is checked against the line above
// it: no child of a separator, no skipped level, no deeper than 9.
bool ListEditorModel::Indent() {
    if (SelectedCount() == 0 || selected_.front() || selected_.back()) return false;
    for (std::int32_t i = 1; i < list_.Count(); ++i) {
        if (!selected_[i]) continue;
        const std::int32_t depth = ItemDepth(list_.GetDesc(i));
        if (depth >= kIndentLimit) return false;
        if (selected_[i - 1]) continue;
        const std::string above = list_.GetDesc(i - 1);
        if (StripDepth(above) == "-" || depth > ItemDepth(above)) return false;
    }
    for (std::int32_t i = 0; i < list_.Count(); ++i) {
        if (selected_[i]) list_.SetDesc(i, std::string(kDepthMark) + list_.GetDesc(i));
    }
    return true;
}

// An item may not go up while a child below it that stays would then hang
// two levels deeper.
bool ListEditorModel::Outdent() {
    if (SelectedCount() == 0 || selected_.back()) return false;
    for (std::int32_t i = list_.Count() - 1; i >= 0; --i) {
        if (!selected_[i]) continue;
        const std::int32_t depth = ItemDepth(list_.GetDesc(i));
        if (depth == 0) return false;
        if (i + 1 < list_.Count() && !selected_[i + 1] &&
            ItemDepth(list_.GetDesc(i + 1)) > depth) {
            return false;
        }
    }
    for (std::int32_t i = 0; i < list_.Count(); ++i) {
        if (selected_[i]) list_.SetDepth(i, ItemDepth(list_.GetDesc(i)) - 1);
    }
    return true;
}

bool ListEditorModel::AddSeparator() {
    const std::int32_t line = SingleSelected();
    if (line < 0) return false;
    Item separator;
    separator.Desc = DepthPrefix(line) + "-";
    list_.AddItemAt(line, separator);
    SelectOnly(line);
    return true;
}

bool ListEditorModel::RemoveSelected() {
    if (!Enabled().Remove) return false;
    std::int32_t first = -1;
    for (std::int32_t i = list_.Count() - 1; i >= 0; --i) {
        if (!selected_[i]) continue;
        list_.RemoveItem(i, true);
        first = i;
    }
    SelectOnly(first);
    return true;
}

std::string ListEditorModel::SelectionText() const {
    std::int32_t shallowest = -1;
    for (std::int32_t i = 0; i < list_.Count(); ++i) {
        if (!selected_[i]) continue;
        const std::int32_t depth = ItemDepth(list_.GetDesc(i));
        if (shallowest < 0 || depth < shallowest) shallowest = depth;
    }
    if (shallowest < 0) return {};
    const std::string deep = "Desc=" + Repeat(kDepthMark, shallowest);
    std::string text;
    for (std::int32_t i = 0; i < list_.Count(); ++i) {
        if (!selected_[i]) continue;
        std::string item = list_.GetItemAsString(i);
        if (const std::size_t at = item.find(deep); at != std::string::npos)
            item.replace(at, deep.size(), "Desc=");
        text += kCrLf;
        text += item;
    }
    return text;
}

PasteResult ListEditorModel::InsertText(std::string_view pasted) {
    const std::int32_t line = SingleSelected();
    if (line < 0) return PasteResult::NoValidData;
    const std::string prefix = DepthPrefix(line);
    // A text that starts with its first header has no line end before it.
    std::string text = std::string(kCrLf) + std::string(pasted);
    for (std::string_view header : kLaunchHeaders)
        ReplaceHeaders(text, header, IsClipboardList() ? kInvalidHeader : kItemHeader);
    for (std::string_view header : kClipHeaders)
        ReplaceHeaders(text, header, IsClipboardList() ? kItemHeader : kInvalidHeader);
    if (text.find(std::string(kCrLf) + std::string(kInvalidHeader)) != std::string::npos)
        return PasteResult::InvalidData;
    if (text.find(kItemHeader) == std::string::npos) return PasteResult::NoValidData;
    std::int32_t at = line;
    for (std::size_t start = text.find(kItemHeader); start != std::string::npos;) {
        start += kItemHeader.size();
        const std::size_t next = text.find(kItemHeader, start);
        list_.AddItemAtByString(at, std::string_view(text).substr(start, next - start));
        list_.SetDesc(at, prefix + list_.GetDesc(at));
        ++at;
        start = next;
    }
    // The inserted items are selected; the insertion point moved below them.
    selected_.assign(static_cast<std::size_t>(LineCount()), false);
    for (std::int32_t i = line; i < at; ++i) selected_[i] = true;
    return PasteResult::Inserted;
}

DepthCheck ListEditorModel::CheckDepths() const {
    if (list_.Count() == 0) return {};
    if (ItemDepth(list_.GetDesc(0)) != 0) return {DepthCheck::FirstNotTop, 0};
    for (std::int32_t i = 1; i < list_.Count(); ++i) {
        if (ItemDepth(list_.GetDesc(i)) > ItemDepth(list_.GetDesc(i - 1)) + 1)
            return {DepthCheck::SkippedLevel, i};
    }
    return {};
}

const ListEditorTexts& ListEditorCaptions(bool english) {
    static const ListEditorTexts kGerman = {
        "Umstellen",     "OK",          "Abbrechen",          "&Hinzufügen...",
        "&Bearbeiten...", "&Entfernen",  "&Separator",         " Ausschneiden ",
        " Kopieren ",    " Einfügen ", " Aus Datei lesen ", " In Datei speichern ",
        "Invalid data", "No valid data", "Nothing to save",
        "Der erste Menüeintrag muß auf der obersten Ebene sein!",
        "Es ist nicht erlaubt, Ebenen in der Menütiefe zu übersprigen!"};
    static const ListEditorTexts kEnglish = {
        "arrange", "OK",      "Cancel", "&Add",            "&Edit",           "&Remove",
        "&Separator", " Cut ", " Copy ", " Paste ", " Read from file ", " Save to file ",
        "Invalid data", "No valid data", "Nothing to save", "The first item must be at level 0!",
        "It's not allowed to skip a level in the menu depth!"};
    return english ? kEnglish : kGerman;
}

}  // namespace zorv
