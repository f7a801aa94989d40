#include "winwatch/bar_events.h"

#include <gtest/gtest.h>

#include <string>

namespace zorv {
namespace {

TEST(BarEvents, CreatedAndActivatedCodesAskForTheForeground_FlagsIgnored) {
    for (std::uint64_t code : {1u, 4u, 0x8004u, 0x8001u})
        EXPECT_TRUE(IsForegroundNotification(code));
    for (std::uint64_t code : {0u, 2u, 3u, 5u, 6u, 0x8000u, 0x8006u})
        EXPECT_FALSE(IsForegroundNotification(code)) << code;
}

TEST(BarEvents, ForegroundGivenBackOnOldShellsWithAtMostOneForm) {
    EXPECT_TRUE(GiveForegroundBackOnActivate(true, true, 1));
    EXPECT_TRUE(GiveForegroundBackOnActivate(true, true, 0));
    EXPECT_FALSE(GiveForegroundBackOnActivate(true, true, 2));
    EXPECT_FALSE(GiveForegroundBackOnActivate(false, true, 1));
    EXPECT_FALSE(GiveForegroundBackOnActivate(true, false, 1));
}

TEST(BarEvents, EnsureVisibleStartsOnlyWhenNothingHoldsItBack) {
    const PosChangeFacts go{false, false, true, false, false, false};
    EXPECT_TRUE(EnsureVisibleAfterPosChange(go));
    bool PosChangeFacts::*const blockers[] = {
        &PosChangeFacts::Closing, &PosChangeFacts::Restacking, &PosChangeFacts::OwnWindowInFront,
        &PosChangeFacts::CursorOnBar, &PosChangeFacts::ShowsAtCorners};
    for (auto blocker : blockers) {
        PosChangeFacts f = go;
        f.*blocker = true;
        EXPECT_FALSE(EnsureVisibleAfterPosChange(f));
    }
    PosChangeFacts hidden = go;
    hidden.BarVisible = false;
    EXPECT_FALSE(EnsureVisibleAfterPosChange(hidden));
}

TEST(BarEvents, OwnWindows_DialogTitleExactAndReadOnlyForDialogs) {
    EXPECT_TRUE(IsOwnWindowRule(true, false, "Notepad", ""));
    EXPECT_TRUE(IsOwnWindowRule(false, true, "Notepad", ""));
    EXPECT_TRUE(IsOwnWindowRule(false, false, "#32770", "ZorvPanel"));
    EXPECT_FALSE(IsOwnWindowRule(false, false, "#32770", "ZorvPanel "));
    EXPECT_FALSE(IsOwnWindowRule(false, false, "Notepad", "ZorvPanel"));

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
