// Dragging onto and along the bar, without a window: where a drop lands
// (between two cells, or into a button's menu), what a dropped file becomes,
// how a dragged button moves or is copied, and which effect a drag over the
// bar gets. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "bar/bar_layout.h"
#include "items/items.h"
#include "support/program_icon.h"
#include "support/shortcut.h"

namespace zorv {

// A drop position: a whole number p inserts a new button before cell p,
// p + 0.5 appends to the menu of button p.
using DropPos = double;
inline constexpr DropPos kNoDropTarget = -1.0;

// The position for a drop over cell `cell` at `dx` pixels from its left
// edge: a button with a submenu takes its middle half into the menu and its
// right quarter after the whole menu block; other cells split in two halves.
DropPos DropPosition(const clsItems& buttons, const BarLayout& layout, std::int32_t cell,
                     std::int32_t dx);

// Where the first dropped file goes: the index and whether it is a menu
// entry (one "--->" deeper) of button p.
struct DropPlace {
    std::int32_t Index = 0;
    bool IntoMenu = false;
};
DropPlace PlaceOfDrop(const clsItems& buttons, DropPos position);

// The item a dropped file makes. `link` holds what a shortcut (".lnk") says
// when it could be read; `files` names a program as it is on disk.
Item ItemForDroppedFile(const std::string& path, const std::optional<ShortcutInfo>& link,
                        NameOnDiskLookup& files);

// The marker of a drop position: "T" centred on the gap before cell p, or
// "B" over button p. Client x of the image's left edge, before scrolling.
struct DropMarker {
    bool IntoMenu = false;  // "B"
    std::int32_t Left = 0;
};
DropMarker MarkerFor(const BarLayout& layout, DropPos position);

// A drop at the dragged button's own place changes nothing.
bool IsOwnPlace(std::int32_t dragged, DropPos position);

enum class ButtonDrop { Moved, Copied, Unchanged, Refused };
// Moves (or copies) button `from` with its menu block to `position`. A
// button with a menu cannot go into another button's menu: Refused.
ButtonDrop DropButton(clsItems& buttons, std::int32_t from, DropPos position, bool copy);

// What a drag over the bar offers.
struct DragOverFacts {
    std::int32_t FileCount = 0;  // files in the data (0: none)
    bool HasText = false;
    bool OwnDrag = false;        // one of the bar's own buttons is dragged
    bool Ctrl = false;
    bool AtOrigin = false;       // the cursor at (0, 0)
    bool DropsAllowed = true;    // not under "/noconfig", no menu open
};
enum class DropEffect : std::uint32_t { None = 0, Copy = 1, Move = 2 };
struct DragOverDecision {
    DropEffect Effect = DropEffect::None;
    bool RecordTarget = false;  // the position becomes the drop target
};
DragOverDecision DecideDragOver(const DragOverFacts& facts);

// More files than this are refused.
inline constexpr std::int32_t kMaxDroppedFiles = 100;

}  // namespace zorv
