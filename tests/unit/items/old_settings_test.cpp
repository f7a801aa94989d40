#include "items/old_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace zorv {
namespace {

class FakeStore : public OldSettingsStore {
  public:
    std::map<std::pair<std::string, std::string>, std::string> values;

    // Each entry is "key=value".
    void Set(const std::string& section, std::initializer_list<std::string_view> entries) {
        for (std::string_view e : entries) {
            const std::size_t eq = e.find('=');
            values[{section, std::string(e.substr(0, eq))}] = e.substr(eq + 1);
        }
    }
    std::optional<std::string> Get(std::string_view section, std::string_view key) const override {
        auto it = values.find({std::string(section), std::string(key)});
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
};

class OldSettings : public ::testing::Test {
  protected:
    void SetUp() override { lists = CreateItemLists(); }
    Settings Import(const FakeStore& store) {
        Settings s = DefaultSettings(false);
        ImportOldSettings(store, lists, s, IniContext{});
        return s;
    }
    Item ItemAt(int list, std::int32_t index) const {
        Item it;
        lists[list].GetItem(index, it);
        return it;
    }
    ItemLists lists;
};

TEST_F(OldSettings, AnEmptyStoreGivesEmptyListsAndTheDefaults) {
    lists[kListMenu].AddItem(Item{});
    Settings expected = DefaultSettings(false);
    UpdateDerivedSettings(expected, true);
    EXPECT_EQ(Import(FakeStore{}), expected);
    for (const clsItems& list : lists) EXPECT_EQ(list.Count(), 0);
}

TEST_F(OldSettings, OptionsBecomeTheirSettings) {
    FakeStore store;
    store.Set("Options", {"AutoReduce=-1", "SoftReduce=1", "ToolTips=0", "Wait4Idle=True",
                          "TaskbarOnTop=1", "AutoStartDelay=45", "Buttonsize=2"});
    Settings s = Import(store);
    EXPECT_EQ(s.AutoRed, 1);
    EXPECT_EQ(s.AutoRedInForce, 1);
    EXPECT_TRUE(s.SoftRed && s.W4Idle && s.TaskbarTop && !s.ToolTip);
    EXPECT_EQ(s.ASDelay, 45);
    EXPECT_EQ(s.ButH_id, 2);

    // The delay is in milliseconds, rounded down.
    store.Set("Options", {"AutoReduce=0", "AutoStartDelay=7999", "Buttonsize=9"});
    s = Import(store);
    EXPECT_EQ(std::tie(s.AutoRed, s.ASDelay, s.ButH_id), std::make_tuple(0, 7, 2));
    store.Set("Options", {"AutoStartDelay=90000"});
    EXPECT_EQ(Import(store).ASDelay, 60);
}

TEST_F(OldSettings, ItemValuesHoldTheTenFieldsInRecordOrder) {
    EXPECT_EQ(
        ParseOldItem("Edit| notepad.exe| C:\\w| -3| n.ico,1| 255| Untitled| 3| 4| 8001", false),
        (Item{"Edit", "notepad.exe", "C:\\w", 3, "n.ico,1", 1, "Untitled", 3, 4, -32767}));
    // Fields left out keep the defaults; an empty caption is a separator.
    EXPECT_EQ(ParseOldItem("| cmd.exe", false), (Item{"-", "cmd.exe", "", 0, "", 0, "", 0, 2, 0}));
    EXPECT_EQ(ParseOldItem("A| p| | | | | | | | ", false).Prio, 2);
    EXPECT_EQ(ParseOldItem("Sig| Regards//*CrLf*//Me//*CrLf*//| | 0| | 1", true).Path,
              "Regards\r\nMe\r\n");
    EXPECT_EQ(ParseOldItem("Sig| a//*CrLf*//b", false).Path, "a//*CrLf*//b");
}

TEST_F(OldSettings, SectionsFillTheirListsUntilAnEmptyOrEndValue) {
    FakeStore store;
    // "| | " is the end mark.
    store.Set("Bar", {"01=B1| b1.exe", "02=B2| b2.exe", "03=| | ", "04=B4| b4.exe"});
    store.Set("ClpMenu", {"01=C1| x//*CrLf*//y"});
    store.Set("Clp2Menu", {"01=C2| z"});
    store.Set("AutoStart", {"01=S1| s.exe"});
    store.Set("AutoClose", {"01=", "02=never reached"});
    for (int i = 1; i <= 100; ++i) {
        store.values[{"Menu", (i < 10 ? "0" : "") + std::to_string(i)}] = "M" + std::to_string(i);
    }
    Import(store);
    EXPECT_EQ(lists[kListButtons].Count(), 2);
    EXPECT_EQ(lists[kListButtons].GetDesc(1), "B2");
    EXPECT_EQ(ItemAt(kListClipboard, 0).Path, "x\r\ny");
    EXPECT_EQ(ItemAt(kListClipboard2, 0).Path, "z");
    EXPECT_EQ(lists[kListAutostart].GetPath(0), "s.exe");
    EXPECT_EQ(lists[kListAutoclose].Count(), 0);
    ASSERT_EQ(lists[kListMenu].Count(), 100);  // "100" follows "99"
    EXPECT_EQ(lists[kListMenu].GetDesc(99), "M100");
}

}  // namespace
}  // namespace zorv
