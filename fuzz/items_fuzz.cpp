// Item text: arbitrary text parsed into an ordinary and a clipboard list; every
// parsed item must come back unchanged through its text form. The same text
// then drives the list operations of a button list with popup menus.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "items/items.h"

namespace {

using zorv::clsItems;
using zorv::Item;

void Check(bool ok) {
    if (!ok) std::abort();
}

// Feeds `text` to the list the way the configuration reader does: the lines
// between two section headers are one item, the header itself is not passed on.
void AddItemsLikeReader(clsItems& list, std::string_view text) {
    std::string collected;
    auto flush = [&] {
        if (!collected.empty()) list.AddItemByString(collected);
        collected.clear();
    };
    for (std::size_t pos = 0; pos <= text.size();) {
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (zorv::IsSectionHeader(line)) {
            flush();
        } else {
            collected.append(line).append("\r\n");
        }
        if (nl == std::string_view::npos) break;
        pos = nl + 1;
    }
    flush();
}

clsItems MakeList(bool clipboard) {
    clsItems list(clipboard ? "[ClipboardItem]" : "[MenuItem]", true);
    list.ListName = clipboard ? "Clipboard" : "Main Menu";
    return list;
}

void CheckRoundTrip(const clsItems& list, std::int32_t index) {
    const bool clipboard = list.IsClipboardList();
    Item original;
    list.GetItem(index, original);
    std::string form = list.GetItemAsString(index);
    const std::string header = list.SectionName + "\r\n";
    Check(form.compare(0, header.size(), header) == 0);
    Check(form.size() >= 2 && form.compare(form.size() - 2, 2, "\r\n") == 0);

    if (clipboard) {
        // A "Path=" value too long for the 66,666-character text buffer is
        // written as one "Text=" line that the parser must drop.
        if (original.Path.size() + 2 >= 66666) return;
        // The clipboard form carries only Desc, Path, Activate and Hotkey;
        // start from a fresh record so the other fields are the defaults.
        zorv::ResetSharedParseRecord();
    } else if (original.Path.find("\r\n") != std::string::npos) {
        // "Text=" lines in an ordinary item give a multi-line Path that the
        // one-line "Path=" key cannot carry.
        return;
    }
    // The ordinary form writes every key, so the shared record's state from
    // earlier parses must not matter: it is deliberately not reset.
    clsItems again = MakeList(clipboard);
    again.AddItemByString(form.substr(header.size()));
    Check(again.Count() == 1);
    Item back;
    again.GetItem(0, back);
    if (clipboard) {
        Check(back.Desc == original.Desc && back.Path == original.Path &&
              back.Activate == original.Activate && back.Hotkey == original.Hotkey);
    } else {
        Check(back == original);
    }
}

struct FakeMenu : zorv::ButtonMenu {
    explicit FakeMenu(std::int32_t n) : n(n) {}
    std::int32_t Count() const override { return n; }
    std::int32_t n;
};

// Each group of four bytes is one operation on a button list; indices may be
// out of range on purpose.
void DriveButtonList(std::string_view ops) {
    clsItems list("[Button]", false);
    for (int i = 0; i < 6; ++i) {
        Item it;
        it.Desc = std::string(1, static_cast<char>('A' + i));
        list.AddItem(it);
    }
    list.UpdateBegin();
    for (std::size_t i = 0; i + 4 <= ops.size() && i < 400; i += 4) {
        auto a = static_cast<std::int32_t>(static_cast<std::int8_t>(ops[i + 1]) % 12);
        auto b = static_cast<std::int32_t>(static_cast<std::int8_t>(ops[i + 2]) % 12);
        switch (static_cast<unsigned char>(ops[i]) % 8) {
            case 0:
                list.SetMenuAt(a, std::make_shared<FakeMenu>(b));
                break;
            case 1:
                list.CopyItem(a, b);
                break;
            case 2:
                list.MoveItem(a, b, ops[i + 3] & 1);
                break;
            case 3:
                list.RemoveItem(a, ops[i + 3] & 1);
                break;
            case 4:
                list.RemoveItems(a);
                break;
            case 5:
                list.AddItemAt(a, Item{});
                break;
            case 6:
                list.SetDepth(a, b);
                break;
            default:
                (ops[i + 3] & 1) ? list.UpdateCancel() : list.UpdateBegin();
                break;
        }
        Check(list.Menus().size() == static_cast<std::size_t>(list.Count()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (bool clipboard : {false, true}) {
        zorv::ResetSharedParseRecord();
        clsItems list = MakeList(clipboard);
        list.AddItemByString(text);  // the raw text, up to its first header
        AddItemsLikeReader(list, text);
        for (std::int32_t i = 0; i < list.Count(); ++i) CheckRoundTrip(list, i);
    }
    DriveButtonList(text);
    return 0;
}
