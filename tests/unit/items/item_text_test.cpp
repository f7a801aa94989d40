#include <gtest/gtest.h>

#include <limits>

#include "items/items.h"

namespace zorv {
namespace {

// The configuration reader hands the parser the lines after the header.
std::string Body(const std::string& form) {
    return form.substr(form.find("\r\n") + 2);
}

class ItemText : public ::testing::Test {
  protected:
    void SetUp() override { ResetSharedParseRecord(); }

    static clsItems List(const char* name) {
        clsItems list(name[0] == 'C' ? "[ClipboardItem]" : "[MenuItem]", true);
        list.ListName = name;
        return list;
    }
    // Parses `text` into a fresh list and returns the item.
    static Item Parse(std::string_view text, const char* listName = "Menu") {
        clsItems list = List(listName);
        list.AddItemByString(text);
        Item out;
        list.GetItem(0, out);
        return out;
    }
    // Writes `item`, parses the text back with a fresh record.
    static Item RoundTrip(const Item& item, const char* listName = "Menu") {
        clsItems list = List(listName);
        list.AddItem(item);
        ResetSharedParseRecord();
        return Parse(Body(list.GetItemAsString(0)), listName);
    }
};

TEST(ItemNumbers, ReadDecimalAndHexPrefixesAndWriteHex) {
    EXPECT_EQ(ParseDecimalPrefix(" \t42abc"), 42);
    EXPECT_EQ(ParseDecimalPrefix("-7"), -7);
    EXPECT_EQ(ParseDecimalPrefix("3.9"), 3);
    for (const char* zero : {"", "x1", "- 3", "-"}) EXPECT_EQ(ParseDecimalPrefix(zero), 0) << zero;
    EXPECT_EQ(ParseDecimalPrefix("99999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseDecimalPrefix("-2147483648"), std::numeric_limits<std::int32_t>::min());

    EXPECT_EQ(ParseHexPrefix("8000"), -32768);
    EXPECT_EQ(ParseHexPrefix(" FFFFz"), -1);
    EXPECT_EQ(ParseHexPrefix("0000FFFF"), -1);
    EXPECT_EQ(ParseHexPrefix("10000"), 0x10000);
    for (const char* zero : {"", "0", "G1", "-1", "123456789"}) {
        EXPECT_EQ(ParseHexPrefix(zero), 0) << zero;
    }
    EXPECT_EQ(FormatHex(0), "0");
    for (std::int32_t v : {0, 1, 0x7FFF, -1, -32768, 0x10000, 0x7FFFFFFF, -0x7FFFFFFF - 1}) {
        EXPECT_EQ(ParseHexPrefix(FormatHex(v)), v) << v;
    }
}

TEST_F(ItemText, WritesEveryKeyOfTheOrdinaryAndTheClipboardForm) {
    clsItems list = List("Menu");
    list.AddItem({"--->Edit", "a=b.exe", "C:\\w", 1, "i.ico,2", 1, "T", -3, 4, -1});
    EXPECT_EQ(list.GetItemAsString(0),
              "[MenuItem]\r\nDesc=--->Edit\r\nPath=a=b.exe\r\nWrkDir=C:\\w\r\nUserType=1\r\n"
              "Icon=i.ico,2\r\nActivate=1\r\nTitle=T\r\nStyle=-3\r\nPrio=4\r\n"
              "Hotkey=FFFFFFFF\r\n");
    // The clipboard form writes its path as one Text line per line.
    const Item clip{"Greeting", "Hello\r\n  World", "", 0, "", 0, "", 0, 2, 0x2B1};
    list = List("Clipboard");
    list.AddItem(clip);
    EXPECT_EQ(list.GetItemAsString(0),
              "[ClipboardItem]\r\nDesc=Greeting\r\nText=Hello\r\nText=  World\r\n"
              "Activate=0\r\nHotkey=2B1\r\n");
    EXPECT_EQ(RoundTrip(clip, "Clipboard"), clip);
}

TEST_F(ItemText, ReadsNumbersByTheirKeyRules) {
    Item it = Parse("Activate=255\r\nUserType=-3\r\nStyle= 12px\r\nHotkey=8001");
    EXPECT_EQ(it.Activate, 1);
    EXPECT_EQ(it.UserType, 3);
    EXPECT_EQ(it.Style, 12);
    EXPECT_EQ(it.Hotkey, -32767);
    EXPECT_EQ(it.Prio, 2);
    EXPECT_EQ(Parse("Activate=7\r\nUserType=-2147483648").Activate, 2);
    EXPECT_EQ(Parse("UserType=-2147483648").UserType, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Parse("Activate=-1").Activate, 0);
    EXPECT_EQ(Parse("Prio=5").Prio, 5);
    EXPECT_EQ(Parse("Prio=").Prio, 2);  // an empty value does not count
    EXPECT_EQ(Parse("Prio=x").Prio, 0);
}

TEST_F(ItemText, MissingKeysKeepThePreviousItemsValues) {
    clsItems list = List("Menu");
    list.AddItemByString("Desc=One\r\nIcon=one.ico\r\nPrio=0\r\nHotkey=41");
    list.AddItemByString("Desc=Two");
    Item two;
    list.GetItem(1, two);
    EXPECT_EQ(two.Icon, "one.ico");
    EXPECT_EQ(two.Hotkey, 0x41);
    EXPECT_EQ(two.Prio, 2);
    ResetSharedParseRecord();
    list.AddItemAtByString(0, "");
    Item fresh;
    list.GetItem(0, fresh);
    EXPECT_EQ(fresh.Icon, "");
    EXPECT_EQ(fresh.Desc, "-");  // an empty caption is a separator
    EXPECT_EQ(list.GetDesc(2), "Two");
}

TEST_F(ItemText, LinesAreTrimmedSplitAtFirstEqualsKeysMatchExactlyAndAHeaderEnds) {
    Item it = Parse("  Desc=  a = b  \nPath=x==y\r\ndesc=lower\r\nIcon =spaced\r\nTitle\r\n");
    EXPECT_EQ(it.Desc, "  a = b");
    EXPECT_EQ(it.Path, "x==y");
    EXPECT_EQ(it.Icon, "");
    EXPECT_EQ(it.Title, "");
    // Reading stops at the first section header.
    it = Parse("Desc=A\r\n[button]\r\nPath=p\r\n  [Settings] \r\nDesc=B\r\n");
    EXPECT_EQ(it.Desc, "A");
    EXPECT_EQ(it.Path, "p");
    EXPECT_EQ(Parse("[MenuItem]\r\nDesc=C").Desc, "A");  // nothing read: record unchanged
}

TEST_F(ItemText, TextLinesFormThePathWithinTheBufferLimit) {
    Item it = Parse("Path=old\r\nText=one  \r\nText=\r\nText= three");
    EXPECT_EQ(it.Path, "one\r\n\r\n three");
    EXPECT_EQ(Parse("Path=old\r\nText=").Path, "");
    // A line goes in while the buffer stays below 66,666 characters with it and its CR LF.
    std::string big(66660, 'x');
    EXPECT_EQ(Parse("Text=" + big + "\r\nText=" + "ab").Path, big);
    EXPECT_EQ(Parse("Text=" + big + "\r\nText=" + "a").Path, big + "\r\na");
    EXPECT_EQ(Parse("Text=" + big + "xxxxx\r\nText=z").Path, "z");
}

TEST_F(ItemText, HostileItemsSurviveTheRoundTrip) {
    std::string longText(200000, '=');
    Item ordinary{"--->\t=x=", longText,        "", 0,     "Icon=", 2,
                  "[Button]",  -2147483647 - 1, -1, 0x7FFF};
    EXPECT_EQ(RoundTrip(ordinary), ordinary);
    Item clip;
    clip.Desc = "Desc=";
    clip.Path = "Text=\r\n[Settings]\r\n\r\n  indented\r\n" + std::string(60000, 'c');
    clip.Activate = 2;
    clip.Hotkey = -5;
    EXPECT_EQ(RoundTrip(clip, "Clipboard"), clip);
    clip.Desc = "";  // written as "Desc=", read back as a separator
    EXPECT_EQ(RoundTrip(clip, "Clipboard").Desc, "-");
}

}  // namespace
}  // namespace zorv
