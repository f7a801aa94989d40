// Item text: arbitrary text parsed into an ordinary and a clipboard list; the
// parsed item must come back unchanged through its text form. The same bytes
// then drive the list operations of a button list with popup menus.
#include "fuzz_common.h"

namespace zorv::fuzz {
namespace {

clsItems MakeList(bool clipboard) {
    clsItems list(clipboard ? "[ClipboardItem]" : "[MenuItem]", true);
    list.ListName = clipboard ? "Clipboard" : "Main Menu";
    return list;
}

void CheckRoundTrip(std::string_view text, bool clipboard) {
    ResetSharedParseRecord();
    clsItems list = MakeList(clipboard);
    list.AddItemByString(text);  // the text up to its first section header
    Item original;
    list.GetItem(0, original);
    const std::string form = list.GetItemAsString(0);
    const std::string header = list.SectionName + "\r\n";
    Check(form.compare(0, header.size(), header) == 0 && form.ends_with("\r\n"));
    if (Unwritable(original.Path, clipboard)) return;
    // The ordinary form writes every key, so the shared record's state from
    // the first parse must not matter; the clipboard form starts afresh.
    if (clipboard) ResetSharedParseRecord();
    clsItems again = MakeList(clipboard);
    again.AddItemByString(form.substr(header.size()));
    Item back;
    again.GetItem(0, back);
    Check(again.Count() == 1 && SameInText(original, back, clipboard));
}

struct FakeMenu : ButtonMenu {
    explicit FakeMenu(std::int32_t n) : n(n) {}
    std::int32_t Count() const override { return n; }
    std::int32_t n;
};

// Each group of four bytes is one operation on a button list; indices may be
// out of range on purpose. The menu slots must stay one per item.
void DriveButtonList(std::string_view bytes) {
    using Op = void (*)(clsItems&, std::int32_t, std::int32_t, bool);
    static const Op kOps[] = {
        [](clsItems& l, auto a, auto b, bool) { l.SetMenuAt(a, std::make_shared<FakeMenu>(b)); },
        [](clsItems& l, auto a, auto b, bool) { l.CopyItem(a, b); },
        [](clsItems& l, auto a, auto b, bool flag) { l.MoveItem(a, b, flag); },
        [](clsItems& l, auto a, auto, bool flag) { l.RemoveItem(a, flag); },
        [](clsItems& l, auto a, auto, bool) { l.RemoveItems(a); },
        [](clsItems& l, auto a, auto, bool) { l.AddItemAt(a, Item{}); },
        [](clsItems& l, auto a, auto b, bool) { l.SetDepth(a, b); },
        [](clsItems& l, auto, auto, bool flag) { flag ? l.UpdateCancel() : l.UpdateBegin(); },
    };
    clsItems list("[Button]", false);
    for (char d : std::string_view("ABCDEF")) list.AddItem(Item{.Desc = std::string(1, d)});
    list.UpdateBegin();
    for (std::size_t i = 0; i + 4 <= bytes.size() && i < 400; i += 4) {
        kOps[static_cast<unsigned char>(bytes[i]) % 8](
            list, static_cast<std::int8_t>(bytes[i + 1]) % 12,
            static_cast<std::int8_t>(bytes[i + 2]) % 12, bytes[i + 3] & 1);
        Check(list.Menus().size() == static_cast<std::size_t>(list.Count()));
    }
}

}  // namespace

void FuzzOne(std::string_view text) {
    CheckRoundTrip(text, false);
    CheckRoundTrip(text, true);
    DriveButtonList(text);
}

}  // namespace zorv::fuzz
