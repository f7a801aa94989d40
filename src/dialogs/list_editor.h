// The list editor's model: one of the six item lists shown as lines (one per
// item and an empty last line to add at the end), a multiple selection, and
// the operations of the editor's buttons on it: moving, indenting, adding a
// separator, removing, the exchange text of cut, copy, paste and files, and
// the depth check on OK. Portable; the list is changed in place (the editor
// takes the list's snapshot so that Cancel undoes everything).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "items/items.h"

namespace zorv {

// The item at `index` heads a submenu: the next item is deeper.
bool HeadsSubmenu(const clsItems& list, std::int32_t index);

// Which buttons may act on the current selection.
struct ListEnabling {
    bool Edit = false;       // one line, not the empty last one
    bool Remove = false;     // also Cut and Copy: lines, the empty last one not among them
    bool Insert = false;     // Add, Separator, Paste: exactly one line (the insertion point)
    bool operator==(const ListEnabling&) const = default;
};

enum class PasteResult { Inserted, InvalidData, NoValidData };

// The depth check on OK of the lists that make menus.
struct DepthCheck {
    enum Kind { Ok, FirstNotTop, SkippedLevel } Result = Ok;
    std::int32_t Line = -1;  // the offending line
};

class ListEditorModel {
  public:
    ListEditorModel(clsItems& list, std::int32_t listIndex);

    std::int32_t ListIndex() const { return listIndex_; }
    bool IsClipboardList() const { return listIndex_ >= kListClipboard; }
    // Items plus the empty last line.
    std::int32_t LineCount() const { return list_.Count() + 1; }
    bool IsEmptyLine(std::int32_t line) const { return line == list_.Count(); }
    // What the list box shows: the caption with its depth marks, without "&".
    std::string LineText(std::int32_t line) const;

    // The selection, as the list box has it.
    void SetSelection(std::vector<bool> selected);
    const std::vector<bool>& Selection() const { return selected_; }
    void SelectOnly(std::int32_t line);
    std::int32_t SelectedCount() const;
    // The one selected line, or -1.
    std::int32_t SingleSelected() const;
    ListEnabling Enabled() const;

    // The "--->" groups of the line's caption (none for the empty line).
    std::string DepthPrefix(std::int32_t line) const;
    // The item heads a submenu: the next item is deeper.
    bool IsRoot(std::int32_t index) const;

    // Each returns false when refused (nothing changes then).
    bool MoveUp();
    bool MoveDown();
    bool Indent();   // one level deeper
    bool Outdent();  // one level higher
    // A separator at the insertion point's depth, then selected alone.
    bool AddSeparator();
    // Removes the selected items; the line after them becomes the selection.
    bool RemoveSelected();

    // The selected items in their text form, the shallowest at depth 0;
    // empty when nothing is selected.
    std::string SelectionText() const;
    // Items in text form inserted before the insertion point, at its depth
    // plus their own; refused text leaves the list unchanged.
    PasteResult InsertText(std::string_view text);

    DepthCheck CheckDepths() const;
    // Only the main menu and the clipboard lists make menus that nest.
    bool NeedsDepthCheck() const { return listIndex_ == kListMenu || IsClipboardList(); }

  private:
    void SwapItems(std::int32_t a, std::int32_t b);
    void ResizeSelection();

    clsItems& list_;
    std::int32_t listIndex_;
    std::vector<bool> selected_;
};

// The list editor's captions, in the run's language.
struct ListEditorTexts {
    const char* Arrange;
    const char* Ok;
    const char* Cancel;
    const char* Add;
    const char* Edit;
    const char* Remove;
    const char* Separator;
    const char* Cut;
    const char* Copy;
    const char* Paste;
    const char* ReadFile;
    const char* SaveFile;
    const char* InvalidData;
    const char* NoValidData;
    const char* NothingToSave;
    const char* FirstNotTop;
    const char* SkippedLevel;
};
const ListEditorTexts& ListEditorCaptions(bool english);
// The context menu's entries ("" for its separator line), German in both languages.
inline constexpr const char* kListContextMenu[] = {
    "&Separator einfügen", "&Hinzufügen", "&Bearbeiten", "&Entfernen", "",
    "&Ausschneiden",             "&Kopieren",           "&Einfügen"};

}  // namespace zorv
