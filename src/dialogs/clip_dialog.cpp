#include "dialogs/clip_dialog.h"

#include <algorithm>

#include "dialogs/clip_dialog_ids.h"
#include "support/texts.h"
#include "support/utf8.h"

namespace zorv {

namespace {

constexpr std::size_t kNameFromTextChars = 15;
constexpr std::size_t kNameMaxChars = 40;

// The byte offset of UTF-16 position `units`; positions past the end give
// the end, a position inside a surrogate pair the character's start.
std::size_t ByteOffsetOfUnits(std::string_view text, std::int32_t units) {
    std::size_t pos = 0;
    std::int32_t counted = 0;
    while (pos < text.size()) {
        std::size_t next = pos;
        const std::int32_t width = NextCodePoint(text, next) > 0xFFFF ? 2 : 1;
        if (counted + width > units) break;
        counted += width;
        pos = next;
    }
    return pos;
}

std::int32_t Utf16Units(std::string_view text) {
    std::int32_t units = 0;
    for (std::size_t pos = 0; pos < text.size();)
        units += NextCodePoint(text, pos) > 0xFFFF ? 2 : 1;
    return units;
}

std::string_view DepthPrefix(std::string_view desc) {
    return desc.substr(0, desc.size() - StripDepth(desc).size());
}

}  // namespace

ClipForm FillForm(const clsItems& list, const ClipTarget& target) {
    ClipForm form;
    if (target.AddMode || target.Index < 0 || target.Index >= list.Count()) return form;
    Item item;
    list.GetItem(target.Index, item);
    form.Name = StripDepth(item.Desc);
    form.Text = item.Path;
    form.Hotkey = item.Hotkey;
    form.AutoPaste = item.Activate != 0;
    form.PasteOption = item.Activate >= 2 ? 1 : 0;
    return form;
}

ClipEnabling ClipEnablingOf(bool autoPaste, std::int32_t pasteOption) {
    return {autoPaste, autoPaste && pasteOption == 1};
}

std::uint8_t PasteTypeOf(const ClipForm& form) {
    if (!form.AutoPaste) return 0;
    return form.PasteOption == 0 ? 1 : 2;
}

std::string ClipItemName(std::string_view name, std::string_view text) {
    if (TrimBlanks(name).empty()) {
        // The name is one line of the configuration file: only the text's
        // first line can give it.
        name = FirstChars(text.substr(0, text.find_first_of("\r\n")), kNameFromTextChars);
    }
    return std::string(FirstChars(name, kNameMaxChars));
}

std::int32_t ApplyClipForm(clsItems& list, const ClipTarget& target, const ClipForm& form) {
    const std::int32_t index = std::clamp(target.Index, 0, list.Count());
    const bool editing = !target.AddMode && index < list.Count();
    // Add mode takes the depth of the line the item goes before.
    const std::string lineDesc = index < list.Count() ? list.GetDesc(index) : std::string();

    Item item;
    item.Desc = std::string(DepthPrefix(lineDesc)) + ClipItemName(form.Name, form.Text);
    item.Path = target.IsRoot && editing ? list.GetPath(index) : form.Text;
    item.Activate = PasteTypeOf(form);
    item.Hotkey = form.Hotkey;
    // The launch fields mean nothing to a clipboard item: neutral values.
    item.Style = 1;  // normal window
    item.Prio = 2;   // normal priority
    if (editing) list.RemoveItem(index, false);
    list.AddItemAt(index, std::move(item));
    return index;
}

std::vector<std::string> SpecialKeyTokens(const std::vector<std::string>& names) {
    std::vector<std::string> tokens;
    tokens.reserve(names.size());
    for (const std::string& name : names) tokens.push_back("{" + name + "}");
    return tokens;
}

TextEdit ReplaceSelection(std::string_view text, TextSelection selection, std::string_view token) {
    // The control may report the selection either way round.
    const std::int32_t first = std::min(selection.Start, selection.End);
    const std::int32_t last = std::max(selection.Start, selection.End);
    const std::size_t from = ByteOffsetOfUnits(text, first);
    const std::size_t to = ByteOffsetOfUnits(text, last);
    TextEdit edit;
    edit.Text.reserve(text.size() - (to - from) + token.size());
    edit.Text.append(text.substr(0, from)).append(token).append(text.substr(to));
    const std::int32_t caret = Utf16Units(text.substr(0, from)) + Utf16Units(token);
    edit.Caret = {caret, caret};
    return edit;
}

std::string ClipDialogCaption(bool addMode, bool english) {
    return TextIn(addMode ? Txt::AddItem : Txt::EditItem, english);
}

std::vector<ControlCaption> ClipControlCaptions(bool english) {
    // Only the name's label and the paste texts differ; the key and help
    // buttons read the same in both languages.
    return {
        {IDC_CLIP_DESC_LABEL, english ? "Name:" : "&Beschreibung:"},
        {IDC_CLIP_TEXT_LABEL, "&Text:"},
        {IDC_CLIP_HOTKEY_LABEL, "&Hotkey:"},
        {IDC_CLIP_AUTOPASTE, english ? "&Paste automatically" : "&Automatisch Einfügen"},
        {IDC_CLIP_PASTE_CTRLV, english ? "Put to Clipboard and simulate keystroke Ctrl+V"
                                       : "Ins Clipboard kopieren und Strg+V simulieren"},
        {IDC_CLIP_PASTE_KEYS,
         english ? "Simulate single keystrokes" : "Jedes Zeichen per simulierten Tastendruck"},
        {IDC_CLIP_KEYS_LABEL, english ? "Special Keys:" : "Sonder-Tasten:"},
        {IDC_CLIP_KEY_INSERT, "Taste Einfügen"},
        {IDC_CLIP_HELP, "Hilfe"},
        {kDialogIdOk, "OK"},
        {kDialogIdCancel, english ? "Cancel" : "Abbrechen"},
    };
}

}  // namespace zorv
