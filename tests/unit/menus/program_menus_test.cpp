#include "menus/program_menus.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

using Ints = std::vector<std::int32_t>;

ItemLists Lists(std::initializer_list<std::pair<std::int32_t, Item>> items) {
    ItemLists lists = CreateItemLists();
    SetListNames(lists, true);
    for (const auto& [list, item] : items) lists[list].AddItem(item);
    return lists;
}

// Ids and icons of the entries whose id falls in `group`.
std::vector<std::pair<std::int32_t, std::int32_t>> Group(const MenuEntrySpecs& menu,
                                                           std::int32_t group) {
    std::vector<std::pair<std::int32_t, std::int32_t>> got;
    for (const auto& e : menu) {
        if (MenuIdGroup(e.ItemId) == group) got.emplace_back(MenuIdIndex(e.ItemId), e.Icon);
    }
    return got;
}

TEST(ProgramMenus, MainMenuWithoutClipboardsStartsWithExecuteAndASeparator) {
    const MenuEntrySpecs menu = BuildMainMenu(FillMenuCaptions(true), Lists({}), true);
    Ints ids;
    for (const auto& e : menu) ids.push_back(e.ItemId - kGroupFunction);
    EXPECT_EQ(ids, (Ints{1, 2, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27}));
    EXPECT_EQ(BuildMainMenu(FillMenuCaptions(false), Lists({}), false)[0].Caption, "&Ausführen");
}

TEST(ProgramMenus, MainMenuGroupsAndIconNumbersWithAndWithoutShowAItems) {
    const ItemLists lists = Lists({{kListClipboard, {.Desc = "Sig", .Icon = "x.bmp"}},
                                   {kListClipboard2, {.Desc = "Addr"}},
                                   {kListMenu, {.Desc = "Editor", .Icon = "**3"}},
                                   {kListMenu, {.Desc = "--->No icon"}},
                                   {kListMenu, {.Desc = "--->Calc", .Icon = "**x"}},
                                   {kListAutostart, {.Desc = "Mail", .Icon = "mail.bmp"}},
                                   {kListAutoclose, {.Desc = "Sync"}}});
    const MenuFunctionTable table = FillMenuCaptions(true);
    for (bool showA : {false, true}) {
        const MenuEntrySpecs menu = BuildMainMenu(table, lists, showA);
        EXPECT_EQ(menu[2], (MenuEntrySpec{"C&lipboard", 0x10003, 9}));
        EXPECT_EQ(menu[3], (MenuEntrySpec{"--->Sig", 0x30000, 9}));  // always the list's icon
        EXPECT_EQ(menu[4], (MenuEntrySpec{"Clipboard2", 0x10004, 10}));
        EXPECT_EQ(menu[6].ItemId, 0x10007);
        EXPECT_EQ(menu[8].Caption, "--->No icon");
        // The main-menu numbers do not move with ShowAItems; "**x" keeps one.
        EXPECT_EQ(Group(menu, kGroupMenuList), (decltype(Group(menu, 0)){{0, 100}, {1, -1}, {2, 101}}));
        EXPECT_EQ(Group(menu, kGroupAutostart).size(), showA ? 1u : 0u);
    }
    const MenuEntrySpecs withA = BuildMainMenu(table, lists, true);
    EXPECT_EQ(withA[11], (MenuEntrySpec{"Autostart", 0x1000A, 7}));
    EXPECT_EQ(withA[12], (MenuEntrySpec{"--->Mail", 0x50000, 102}));
    EXPECT_EQ(withA[14], (MenuEntrySpec{"--->Sync", 0x60000, -1}));
    EXPECT_EQ(withA[15].ItemId, 0x1000C);

    // The strip places the same numbers; the unusable "**x" stays empty.
    const MenuIconStripPlan strip = PlanMenuIcons(lists, true, "C:\\Z\\Icons");
    Ints numbers;
    for (const auto& f : strip.Fills) numbers.push_back(f.Number);
    EXPECT_EQ(numbers, (Ints{100, 101, 102}));
    EXPECT_EQ(strip.Fills[1].Source.Kind, IconSourceKind::Fallback);
    EXPECT_EQ(std::tuple(strip.Fills[2].At, strip.Fills[2].Source.FilePath),
              std::tuple(ScreenPoint{32, 16}, "C:\\Z\\Icons\\mail.bmp"));
    EXPECT_EQ(strip.Size, (ScreenSize{1600, 32}));
}

TEST(ProgramMenus, StripTakesARowPerHundredAndTheCacheItsBands) {
    ItemLists many = Lists({});
    for (int i = 0; i < 250; ++i) many[kListMenu].AddItem({.Desc = "I", .Icon = "**1"});
    const MenuIconStripPlan strip = PlanMenuIcons(many, false, "");
    EXPECT_EQ(strip.Size, (ScreenSize{1600, 64}));
    EXPECT_EQ(strip.Fills.back().At, (ScreenPoint{16 * 49, 48}));
    EXPECT_EQ(std::tuple(MenuIconCacheUsable(1600, 31), MenuIconCacheUsable(1600, 32)),
              std::tuple(false, true));
    // A cache of 16-pixel icons is not taken for 24-pixel ones, nor the other way round.
    EXPECT_EQ(std::tuple(MenuIconCacheUsable(2400, 48, 24), MenuIconCacheUsable(1600, 64, 24),
                         MenuIconCacheUsable(2400, 48)),
              std::tuple(true, false, false));
    EXPECT_EQ(std::tuple(MenuIconCacheIconY(3, 24), MenuIconCacheMaskY(3, 24)), std::tuple(96, 120));
}

TEST(ProgramMenus, ButtonMenus_SubmenuIdsAreButtonIndicesClipboardEntriesCarryGroups) {
    ItemLists lists = Lists({{kListButtons, {.Desc = "Tools"}},
                             {kListButtons, {.Desc = "--->Calc", .Icon = "calc.bmp"}},
                             {kListButtons, {.Desc = "--->--->Deeper"}},
                             {kListButtons, {.Desc = "Clip", .Path = "*CLIP2*"}},
                             {kListClipboard2, {.Desc = "A"}},
                             {kListClipboard2, {.Desc = "B"}}});
    const std::vector<ButtonMenuPlan> plans = PlanButtonMenus(lists[kListButtons]);
    ASSERT_EQ(plans.size(), 2u);
    EXPECT_EQ(BuildButtonMenu(plans[0], lists),
              (MenuEntrySpecs{{"Calc", 1, 1}, {"--->Deeper", 2, -1}}));
    EXPECT_EQ(BuildButtonMenu(plans[1], lists),
              (MenuEntrySpecs{{"A", 0x40000, 3}, {"B", 0x40001, 3}}));
}

}  // namespace
}  // namespace zorv
