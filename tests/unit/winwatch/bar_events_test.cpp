#include "winwatch/bar_events.h"

#include <gtest/gtest.h>

#include <string>

namespace zorv {
namespace {

TEST(BarEvents, ForegroundCodesOldShellsAndEnsureVisible) {
    std::string got;
    for (std::uint64_t code : {1u, 4u, 0x8004u, 0x8001u, 0u, 2u, 3u, 5u, 6u, 0x8000u, 0x8006u})
        got += IsForegroundNotification(code) ? '1' : '0';
    EXPECT_EQ(got, "11110000000");
    got.clear();
    for (auto [oldShell, single, forms] :
         {std::tuple{true, true, 1}, {true, true, 0}, {true, true, 2}, {false, true, 1},
          {true, false, 1}})
        got += GiveForegroundBackOnActivate(oldShell, single, forms) ? '1' : '0';
    EXPECT_EQ(got, "11000");
    got.clear();  // Visible, and any one of the others set holds it back.
    for (int blocker = -1; blocker < 6; ++blocker) {
        bool facts[6] = {false, false, true, false, false, false};
        if (blocker >= 0) facts[blocker] = !facts[blocker];
        const PosChangeFacts f{facts[0], facts[1], facts[2], facts[3], facts[4], facts[5]};
        got += EnsureVisibleAfterPosChange(f) ? '1' : '0';
    }
    EXPECT_EQ(got, "1000000");
}

TEST(BarEvents, OwnWindows_DialogTitleExactAndReadOnlyForDialogs) {
    std::string got;
    for (auto [form, owned, cls, title] :
         {std::tuple{true, false, "Notepad", ""}, {false, true, "Notepad", ""},
          {false, false, "#32770", "ZorvPanel"}, {false, false, "#32770", "ZorvPanel "},
          {false, false, "Notepad", "ZorvPanel"}})
        got += IsOwnWindowRule(form, owned, cls, title) ? '1' : '0';
    EXPECT_EQ(got, "11100");
    int reads = 0;
    const auto reader = [&reads] {
        ++reads;
        return std::string("ZorvPanel");
    };
    EXPECT_FALSE(IsOwnWindowRule(false, false, "Notepad", reader));
    EXPECT_TRUE(IsOwnWindowRule(false, true, "#32770", reader));
    EXPECT_EQ(reads, 0);
    EXPECT_TRUE(IsOwnWindowRule(false, false, "#32770", reader));
    EXPECT_EQ(reads, 1);
}

}  // namespace
}  // namespace zorv
