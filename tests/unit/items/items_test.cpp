#include "items/items.h"

#include <gtest/gtest.h>

#include <limits>

namespace zorv {
namespace {

struct FakeMenu : ButtonMenu {
    explicit FakeMenu(std::int32_t n) : n(n) {}
    std::int32_t Count() const override { return n; }
    std::int32_t n;
};

// A button list "A".."E" whose button B (index 1) owns a menu of `entries`.
clsItems ButtonsWithMenu(std::int32_t entries) {
    clsItems list("[Button]", false);
    for (const char* d : {"A", "B", "C", "D", "E"}) list.AddItem(Item{.Desc = d});
    list.SetMenuAt(1, std::make_shared<FakeMenu>(entries));
    return list;
}

std::string Descs(const clsItems& list) {
    std::string out;
    for (std::int32_t i = 0; i < list.Count(); ++i) out += list.GetDesc(i);
    return out;
}

TEST(ClsItems, InsertsMovesCopiesAndRemovesInOrder_DepthMarks) {
    clsItems list;
    list.AddItem(Item{.Desc = "B"});
    list.AddItemAt(0, Item{.Desc = "A"});
    list.AddItemAt(2, Item{.Desc = "D"});
    list.AddItemAt(2, Item{.Desc = "C"});
    EXPECT_EQ(Descs(list), "ABCD");
    list.MoveItem(0, 3, false);
    EXPECT_EQ(Descs(list), "BCDA");
    list.MoveItem(3, 1, false);
    list.MoveItem(2, 2, false);
    list.MoveItem(1, 4, false);  // out of range: nothing
    EXPECT_EQ(Descs(list), "BACD");
    list.RemoveItem(1, false);
    EXPECT_EQ(list.RemoveItems(0), 1);
    EXPECT_EQ(Descs(list), "CD");
    list.CopyItem(0, 0);  // copied onto its own place: two equal items
    EXPECT_EQ(Descs(list), "CCD");
    // Depth marks: leading "--->" groups only; SetDepth replaces them.
    EXPECT_EQ(ItemDepth("--->--->Tools"), 2);
    EXPECT_EQ(ItemDepth("-->Tools--->"), 0);
    EXPECT_EQ(StripDepth("--->--->-->x"), "-->x");
    list.SetDesc(0, "--->--->--->Tools");
    list.SetDepth(0, 2);
    EXPECT_EQ(list.GetDesc(0), "--->--->Tools");
    list.SetDepth(0, -4);
    EXPECT_EQ(list.GetDesc(0), "Tools");
}

TEST(ClsItems, OutOfRangeIndicesNeverTouchTheList) {
    clsItems list;
    const Item first{"one", "p", "", 0, "i", 0, "", 0, 2, 0x241};
    list.AddItem(first);
    Item out = Item{.Desc = "untouched"};
    for (std::int32_t bad : {-1, 1, 1000}) {
        list.GetItem(bad, out);
        EXPECT_EQ(out.Desc, "untouched");
        EXPECT_EQ(list.GetDesc(bad) + list.GetPath(bad) + list.GetIcon(bad), "");
        EXPECT_EQ(list.GetItemAsString(bad), "");
        EXPECT_EQ(list.GetHotkey(bad) + list.RemoveItems(bad), 0);
        list.SetDesc(bad, "x");
        list.SetDepth(bad, 1);
        list.SetItemAt(bad, out);
        list.RemoveItem(bad, true);
        list.CopyItem(bad, 0);
        list.MoveItem(bad, 0, true);
        list.MoveItem(0, bad, true);
    }
    list.AddItemAt(2, out);
    list.AddItemAt(-1, out);
    list.CopyItem(0, 2);
    ASSERT_EQ(list.Count(), 1);
    list.GetItem(0, out);
    EXPECT_EQ(out, first);
}

TEST(ButtonMenus, CopyAndRemoveTakeTheButtonWithItsMenuEntries) {
    clsItems list = ButtonsWithMenu(2);  // B owns C and D
    list.CopyItem(1, 5);
    EXPECT_EQ(Descs(list), "ABCDEBCD");
    ASSERT_EQ(list.Menus().size(), 8u);
    EXPECT_TRUE(list.MenuAt(1));
    for (std::int32_t i = 5; i < 8; ++i) EXPECT_FALSE(list.MenuAt(i)) << i;
    list.CopyItem(1, 2);  // into its own block: the block is copied as it was
    EXPECT_EQ(Descs(list), "ABBCDCDEBCD");
    EXPECT_EQ(list.RemoveItems(1), 3);
    EXPECT_EQ(Descs(list), "ADCDEBCD");
    EXPECT_EQ(list.Menus().size(), 8u);
    EXPECT_FALSE(list.MenuAt(1));
    list = ButtonsWithMenu(50);  // the block ends with the list
    EXPECT_EQ(list.RemoveItems(1), 4);
    EXPECT_EQ(Descs(list), "A");
    list = ButtonsWithMenu(-3);  // a broken count still copies the button itself
    list.CopyItem(1, 0);
    EXPECT_EQ(Descs(list), "BABCDE");
    clsItems menu("[MenuItem]", true);  // Ordinary lists keep no slots.
    menu.AddItem(Item{.Desc = "A"});
    menu.SetMenuAt(0, std::make_shared<FakeMenu>(2));
    EXPECT_TRUE(menu.Menus().empty());
    EXPECT_FALSE(menu.MenuAt(0));
    EXPECT_EQ(menu.RemoveItems(0), 1);
}

TEST(ButtonMenus, SlotsFollowTheirItemsOnlyWhenAsked_UpdateCancelRestoresThem) {
    clsItems list = ButtonsWithMenu(0);
    auto menu = list.MenuAt(1);
    list.MoveItem(1, 3, true);  // B owns a menu: refused
    EXPECT_EQ(Descs(list), "ABCDE");
    list.SetMenuAt(1, nullptr);
    list.SetMenuAt(0, menu);
    list.MoveItem(2, 4, true);  // C moves, A keeps its menu
    list.MoveItem(4, 0, true);
    EXPECT_EQ(Descs(list), "CABDE");
    EXPECT_EQ(list.MenuAt(1), menu);
    list.SetMenuAt(1, nullptr);
    list.SetMenuAt(3, menu);
    list.MoveItem(0, 4, false);  // slots stay where they were
    EXPECT_EQ(Descs(list), "ABDEC");
    EXPECT_EQ(list.MenuAt(3), menu);
    list.AddItemAt(0, Item{.Desc = "N"});
    EXPECT_FALSE(list.MenuAt(0));
    EXPECT_EQ(list.MenuAt(4), menu);
    list.RemoveItem(0, true);
    EXPECT_EQ(list.MenuAt(3), menu);
    list.RemoveItem(0, false);  // the slot table only loses its tail
    EXPECT_EQ(list.MenuAt(3), menu);
    EXPECT_EQ(list.Menus().size(), 4u);

    list = ButtonsWithMenu(1);
    menu = list.MenuAt(1);
    list.UpdateBegin();
    list.RemoveItems(1);
    list.AddItemAt(0, Item{.Desc = "Z"});
    list.UpdateCancel();
    EXPECT_EQ(Descs(list), "ABCDE");
    EXPECT_EQ(list.MenuAt(1), menu);
    list.UpdateCancel();  // no snapshot any more
    list.UpdateBegin();
    list.RemoveItem(0, true);
    list.UpdateConfirm();
    list.UpdateCancel();
    EXPECT_EQ(Descs(list), "BCDE");
    EXPECT_EQ(list.MenuAt(0), menu);
}

TEST(ItemLists, CarryHeadersAndNamesAndKnowTheirClipboardLists) {
    ItemLists lists = CreateItemLists();  // their names: Language.GermanOnlyFor...
    for (std::int32_t i = 0; i < kListCount; ++i) {
        EXPECT_EQ(lists[i].IsClipboardList(), i >= kListClipboard) << i;
        EXPECT_EQ(lists[i].NoMenus, i != kListButtons) << i;
        EXPECT_TRUE(IsSectionHeader(lists[i].SectionName));
    }
    clsItems odd;
    odd.ListName = "cLIPs";
    EXPECT_TRUE(odd.IsClipboardList());
    EXPECT_FALSE(IsSectionHeader("[Item]"));  // case and blanks: ConfigFile.SectionHeaders...
}

// The item's text form, read by a fresh record unless `keep`.
struct ItemText : ::testing::Test {
    void SetUp() override { ResetSharedParseRecord(); }
    static clsItems List(bool clipboard) {
        clsItems list(clipboard ? "[ClipboardItem]" : "[MenuItem]", true);
        list.ListName = clipboard ? "Clipboard" : "Menu";
        return list;
    }
    static Item Parse(std::string_view text, bool clipboard = false) {
        clsItems list = List(clipboard);
        list.AddItemByString(text);
        Item out;
        list.GetItem(0, out);
        return out;
    }
    // Writes `item`, then parses what follows the header with a fresh record.
    static Item RoundTrip(const Item& item, bool clipboard = false) {
        clsItems list = List(clipboard);
        list.AddItem(item);
        const std::string form = list.GetItemAsString(0);
        ResetSharedParseRecord();
        return Parse(form.substr(form.find("\r\n") + 2), clipboard);
    }
};

TEST_F(ItemText, HostileTextsSurviveTheWayBack) {
    const Item ordinary{"--->\t=x=", std::string(200000, '='), "", 0,     "Icon=", 2,
                        "[Button]",  -2147483647 - 1,          -1, 0x7FFF};
    EXPECT_EQ(RoundTrip(ordinary), ordinary);
    Item clip{.Desc = "Desc=", .Activate = 2, .Hotkey = -5};
    clip.Path = "Text=\r\n[Settings]\r\n\r\n  indented\r\n" + std::string(60000, 'c');
    EXPECT_EQ(RoundTrip(clip, true), clip);
    clip.Desc = "";  // written as "Desc=", read back as a separator
    EXPECT_EQ(RoundTrip(clip, true).Desc, "-");
}

TEST_F(ItemText, ReadsNumbersByTheirKeyRules_LinesTrimmedAndSplitAtTheFirstEquals) {
    Item it = Parse("Activate=255\r\nUserType=-3\r\nStyle= 12px\r\nHotkey=8001");
    EXPECT_EQ(std::tuple(it.Activate, it.UserType, it.Style, it.Hotkey, it.Prio),
              std::tuple(1, 3, 12, -32767, 2));
    EXPECT_EQ(Parse("Activate=7\r\nUserType=-2147483648").Activate, 2);
    EXPECT_EQ(Parse("UserType=-2147483648").UserType, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Parse("Style=99999999999").Style, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Parse("Activate=-1").Activate, 0);
    EXPECT_EQ(std::tuple(Parse("Prio=5").Prio, Parse("Prio=").Prio, Parse("Prio=x").Prio),
              std::tuple(5, 2, 0));  // an empty value does not count
    it = Parse("  Desc=  a = b  \nPath=x==y\r\ndesc=lower\r\nIcon =spaced\r\nTitle\r\n");
    EXPECT_EQ(std::tie(it.Desc, it.Path, it.Icon, it.Title),
              std::make_tuple("  a = b", "x==y", "", ""));
    // Reading stops at the first section header; nothing read leaves the record.
    it = Parse("Desc=A\r\n[button]\r\nPath=p\r\n  [Settings] \r\nDesc=B\r\n");
    EXPECT_EQ(it.Desc + "|" + it.Path, "A|p");
    EXPECT_EQ(Parse("[MenuItem]\r\nDesc=C").Desc, "A");
}

TEST_F(ItemText, MissingKeysKeepThePreviousItemsValues_TextLinesFormThePath) {
    clsItems list = List(false);
    list.AddItemByString("Desc=One\r\nIcon=one.ico\r\nPrio=0\r\nHotkey=41");
    list.AddItemByString("Desc=Two");
    Item two;
    list.GetItem(1, two);
    EXPECT_EQ(std::tie(two.Icon, two.Hotkey, two.Prio), std::make_tuple("one.ico", 0x41, 2));
    ResetSharedParseRecord();
    list.AddItemAtByString(0, "");
    list.GetItem(0, two);
    EXPECT_EQ(two.Icon + "|" + two.Desc, "|-");  // an empty caption is a separator
    EXPECT_EQ(Parse("Path=old\r\nText=one  \r\nText=\r\nText= three").Path, "one\r\n\r\n three");
    EXPECT_EQ(Parse("Path=old\r\nText=").Path, "");
    // A line goes in while the buffer stays below 66,666 characters with it and its CR LF.
    const std::string big(66660, 'x');
    EXPECT_EQ(Parse("Text=" + big + "\r\nText=ab").Path, big);
    EXPECT_EQ(Parse("Text=" + big + "\r\nText=a").Path, big + "\r\na");
    EXPECT_EQ(Parse("Text=" + big + "xxxxx\r\nText=z").Path, "z");
}

}  // namespace
}  // namespace zorv
