#include "bar/drop.h"

#include <algorithm>
#include <cmath>

#include "support/ascii.h"
#include "support/startup_state.h"
#include "support/utf8.h"

namespace zorv {

namespace {

bool HasSubmenu(const clsItems& buttons, std::int32_t i) {
    return FindEndOfBarmenu(buttons, i) > i;
}

bool IsMenuPosition(DropPos position) {
    return position != std::floor(position);
}

std::string LowerExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    std::string ext(path.substr(dot + 1));
    for (char& c : ext) c = LowerAscii(c);
    return ext;
}

bool IsProgramExtension(std::string_view ext) {
    for (std::string_view e : ExeExtensions)
        if (!e.empty() && e == ext) return true;
    return false;
}

// The text after the last "\", cut before a "/" that follows.
std::string LastPathPart(std::string_view path) {
    const std::size_t slash = path.find_last_of('\\');
    std::string_view part = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return std::string(part.substr(0, part.find('/')));
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

}  // namespace

DropPos DropPosition(const clsItems& buttons, const BarLayout& layout, std::int32_t cell,
                     std::int32_t dx) {
    if (cell < 0) return kNoDropTarget;
    if (cell >= buttons.Count()) return buttons.Count();
    const std::int32_t w = layout.ItemWidth(cell);
    if (HasSubmenu(buttons, cell)) {
        if (4 * dx > 3 * w) return FindEndOfBarmenu(buttons, cell) + 1;
        if (4 * dx > w) return cell + 0.5;
        return cell;
    }
    return 2 * dx > w ? cell + 1 : cell;
}

DropPlace PlaceOfDrop(const clsItems& buttons, DropPos position) {
    const auto p = static_cast<std::int32_t>(std::floor(position));
    if (IsMenuPosition(position)) return {FindEndOfBarmenu(buttons, p) + 1, true};
    return {std::clamp(p, 0, buttons.Count()), false};
}

Item ItemForDroppedFile(const std::string& path, const std::optional<ShortcutInfo>& link,
                        NameOnDiskLookup& files) {
    Item item;
    item.Style = 1;
    item.Path = path;
    const std::string ext = LowerExtension(path);
    if (ext == "lnk") {
        if (link && !link->Target.empty()) {
            item.Path = link->Target;
            if (!link->Arguments.empty()) item.Path += " " + link->Arguments;
            item.WrkDir = link->WorkDir;
            item.Style = link->ShowCmd == 7 ? 2 : link->ShowCmd;
            item.Desc = ProgramNameOf(link->Target, files);
        } else {
            item.Desc = ProgramNameOf(path, files);
        }
    } else {
        item.Desc = IsProgramExtension(ext) ? ProgramNameOf(path, files) : LastPathPart(path);
        item.WrkDir = FolderOf(path);
    }
    if (item.Desc.empty()) item.Desc = std::string(FirstChars(path, 40));
    return item;
}

DropMarker MarkerFor(const BarLayout& layout, DropPos position) {
    const auto p = static_cast<std::int32_t>(std::floor(position));
    if (IsMenuPosition(position)) return {true, layout.ButtonX(p)};
    return {false, layout.ButtonX(p) - layout.ButtonWidth() / 2};
}

bool IsOwnPlace(std::int32_t dragged, DropPos position) {
    return position == dragged || std::lround(position) == dragged + 1;
}

ButtonDrop DropButton(clsItems& buttons, std::int32_t from, DropPos position, bool copy) {
    if (from < 0 || from >= buttons.Count() || position < 0) return ButtonDrop::Unchanged;
    const std::int32_t end = FindEndOfBarmenu(buttons, from);
    const std::int32_t size = end - from + 1;
    const bool intoMenu = IsMenuPosition(position);
    if (intoMenu && size > 1) return ButtonDrop::Refused;
    if (!copy && IsOwnPlace(from, position)) return ButtonDrop::Unchanged;
    const DropPlace place = PlaceOfDrop(buttons, position);
    if (!copy && place.Index > from && place.Index <= end + 1 && !intoMenu)
        return ButtonDrop::Unchanged;  // inside its own block
    if (intoMenu && static_cast<std::int32_t>(std::floor(position)) == from)
        return ButtonDrop::Unchanged;  // into its own menu
    std::vector<Item> block;
    for (std::int32_t i = from; i <= end; ++i) {
        Item it;
        buttons.GetItem(i, it);
        block.push_back(it);
    }
    if (intoMenu) block.front().Desc = std::string(kDepthMark) + std::string(StripDepth(block.front().Desc));
    std::int32_t at = place.Index;
    if (!copy) {
        for (std::int32_t i = end; i >= from; --i) buttons.RemoveItem(i, true);
        if (at > from) at -= size;
    }
    for (const Item& it : block) buttons.AddItemAt(at++, it);
    return copy ? ButtonDrop::Copied : ButtonDrop::Moved;
}

DragOverDecision DecideDragOver(const DragOverFacts& f) {
    DragOverDecision d;
    if (!f.DropsAllowed) return d;
    if (f.FileCount > 0) {
        d.Effect = f.FileCount <= kMaxDroppedFiles ? DropEffect::Copy : DropEffect::None;
        d.RecordTarget = d.Effect != DropEffect::None && !f.AtOrigin;
        return d;
    }
    if (f.HasText && f.OwnDrag && !f.AtOrigin) {
        d.Effect = f.Ctrl ? DropEffect::Copy : DropEffect::Move;
        d.RecordTarget = true;
    }
    return d;
}

}  // namespace zorv
