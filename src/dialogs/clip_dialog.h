// frmAddClp's decisions: what the form shows for an item, which controls are
// enabled, how a special-key token goes into the text, and the item OK
// writes. Portable; the Win32 shell is clip_dialog_win32.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "items/items.h"

namespace zorv {

// What the form holds. PasteOption: 0 clipboard and Ctrl+V, 1 single keystrokes.
struct ClipForm {
    std::string Name;
    std::string Text;  // lines joined by CR LF, as the edit control keeps them
    std::int32_t Hotkey = 0;
    bool AutoPaste = false;
    std::int32_t PasteOption = 0;

    bool operator==(const ClipForm&) const = default;
};

// How the dialog was opened: the item at Index (edit) or the line the new
// item goes before (add); IsRoot: the item heads a submenu (no text field).
struct ClipTarget {
    bool AddMode = false;
    std::int32_t Index = 0;
    bool IsRoot = false;
};

// `FillForm`: the item at target.Index without its depth prefix (edit mode),
// or an empty form (add mode).
ClipForm FillForm(const clsItems& list, const ClipTarget& target);

struct ClipEnabling {
    bool PasteOptions = false;  // the two paste-type options
    bool SpecialKeys = false;   // lstKeys and cmdKey
};
ClipEnabling ClipEnablingOf(bool autoPaste, std::int32_t pasteOption);

// The item's paste type (Activate): 0 clipboard only, 1 clipboard and
// Ctrl+V, 2 single keystrokes.
std::uint8_t PasteTypeOf(const ClipForm& form);

// The name OK stores: the start of the text's first line when the name is blank, at most
// 40 characters.
std::string ClipItemName(std::string_view name, std::string_view text);

// OK: writes the form's item into `list` (edit: in place of the old one;
// add: before target.Index) and returns the index it went to. A root item
// keeps the text it had.
std::int32_t ApplyClipForm(clsItems& list, const ClipTarget& target, const ClipForm& form);

// "{NAME}" for each name of the key-name table, the lines of lstKeys.
std::vector<std::string> SpecialKeyTokens(const std::vector<std::string>& names);

// The edit control counts in UTF-16 units; these are its selection and caret.
struct TextSelection {
    std::int32_t Start = 0;
    std::int32_t End = 0;

    bool operator==(const TextSelection&) const = default;
};
struct TextEdit {
    std::string Text;
    TextSelection Caret;  // empty selection after the inserted token

    bool operator==(const TextEdit&) const = default;
};
// `token` in place of the selected part of `text` (at the caret when nothing
// is selected).
TextEdit ReplaceSelection(std::string_view text, TextSelection selection, std::string_view token);

// The dialog manager's ids of the OK and Cancel buttons (IDOK, IDCANCEL).
inline constexpr std::int32_t kDialogIdOk = 1;
inline constexpr std::int32_t kDialogIdCancel = 2;

// The window caption and the controls' captions in one language.
std::string ClipDialogCaption(bool addMode, bool english);
struct ControlCaption {
    std::int32_t Id;
    std::string_view Text;
};
std::vector<ControlCaption> ClipControlCaptions(bool english);

}  // namespace zorv
