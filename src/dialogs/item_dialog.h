// frmAddB, the item dialog: what it shows and what OK makes of it, as plain
// data. The window (item_dialog_win32) reads the controls into an ItemForm,
// asks these functions, and writes the answers back. Portable: no Windows
// headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "items/items.h"
#include "support/program_icon.h"
#include "support/startup_state.h"

namespace zorv {

struct ItemDialogRequest {
    std::int32_t List = 0;  // 0 buttons, 1 main menu, 2 autostart, 3 autoclose
    bool AddMode = false;
    // Edit mode: the item. Add mode from the list editor: the line the new
    // item is inserted before (Count() for the end); from the bar: the
    // pressed button, the new one goes after it and its menu block.
    std::int32_t Index = 0;
    bool FromBar = false;
    bool IsRoot = false;  // the item heads a submenu: the reduced form
};

// The icon chosen in the dialog.
enum class IconChoiceKind : std::uint8_t {
    None,     // nothing selected (an item without icon, or a file now missing)
    BuiltIn,  // "**n"
    File,     // a .bmp file of the icon folder
    AppIcon,  // the program's own icon, written into the icon folder on OK
};
struct IconChoice {
    IconChoiceKind Kind = IconChoiceKind::None;
    std::int32_t BuiltIn = 0;  // 1..200
    std::string File;          // file name inside the icon folder

    bool operator==(const IconChoice&) const = default;
};

// The dialog's fields as the user sees them.
struct ItemForm {
    std::string Desc;  // without the depth prefix
    std::string Path;
    std::string WorkDir;
    std::string Title;
    bool UserBox0 = false;  // as other user / as administrator
    bool UserBox1 = false;  // restricted
    std::int32_t Prio = 2;  // cboPrio index
    std::int32_t Activate = 0;     // 0 unchecked, 1 checked, 2 grayed
    std::int32_t WindowStyle = 1;  // 0 hidden, 1 normal, 2 minimized, 3 maximized
    bool Force = false;
    std::int32_t Hotkey = 0;
    IconChoice Icon;

    bool operator==(const ItemForm&) const = default;
};

// FillForm: the fields, the depth prefix the item keeps and the window
// caption for one request.
struct ItemDialogStart {
    ItemForm Form;
    std::string DepthPrefix;
    std::string Caption;
    // The item being edited, for the hotkey owner lookup; -1 in add mode.
    std::int32_t EditIndex = -1;
};
ItemDialogStart FillForm(const clsItems& list, const ItemDialogRequest& request, bool english);

// The icon field of an item as the chooser's selection.
IconChoice IconChoiceOf(std::string_view iconField);

// Rules of the rights frame for this run.
struct RightsLayout {
    bool Visible = true;        // the frame, its boxes and the priority list
    bool AdminCaption = false;  // box 0 reads "As &Administrator"
    bool Box0Enabled = true;
};
RightsLayout RightsFor(const StartupState& app);
// The boxes exclude each other: checking one clears the other.
void ClickRightsBox(std::int32_t clicked, bool& box0, bool& box1);

// Milliseconds of quiet typing in the command line before its program's
// icon is looked up again; network paths are slow to reach.
std::int32_t AppIconDelayMs(std::string_view path);

inline constexpr std::size_t kMaxItemNameChars = 40;

// OK, steps 1 to 7 (and 9's depth prefix): `form` is trimmed in place (the
// dialog writes the trimmed texts back); the item's Icon is left empty, the
// window fills it by step 8 (IconFieldOf, or the written picture's name).
Item ItemFromForm(ItemForm& form, std::string_view depthPrefix, NameOnDiskLookup& files);

// "**003" for built-in icon 3; the file's name for an icon file; empty for
// the program's own icon (which needs a picture written) and for none.
std::string IconFieldOf(const IconChoice& icon);
// Built-in icon an item gets when its program's icon cannot be written.
inline constexpr std::string_view kNoIconField = "**003";

// Step 9: the item written into the list; returns its index.
std::int32_t WriteItem(clsItems& list, const ItemDialogRequest& request, const Item& item);

// The icon chooser's strip: the built-in icons 1..200, then the icon
// folder's files in alphabetical order (without case).
struct IconStrip {
    std::vector<std::string> Files;

    std::int32_t Count() const;
    IconChoice At(std::int32_t index) const;
    // The strip position of a choice; -1 when it is not in the strip.
    std::int32_t IndexOf(const IconChoice& icon) const;
    // Adds a file unless it is there; returns its position.
    std::int32_t Add(const std::string& file);
};
IconStrip MakeIconStrip(std::vector<std::string> files);
// The scroll bar's maximum: the icons that do not fit into the strip.
std::int32_t IconStripScrollMax(std::int32_t count, std::int32_t visible);

// The captions of the dialog's controls, German and English.
struct ItemCaption {
    std::int32_t ControlId;
    std::string_view German;
    std::string_view English;
};
const std::vector<ItemCaption>& ItemDialogCaptions();
std::string_view AdminCaption(bool english);
// The five entries of cboPrio, lowest priority first.
std::vector<std::string_view> PriorityNames(bool english);
// Filter of the icon file dialog ("Name|*.ico;...|...").
std::string_view IconFileFilter(bool english);
// The program filter of the file dialog, built from ExeExtensions; Windows
// 95, 98 and ME have no .cmd files.
std::string ProgramFileFilter(bool english, bool win9x);

}  // namespace zorv
