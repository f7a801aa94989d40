#include "input/paste.h"

#include <gtest/gtest.h>

#include "input/key_events.h"
#include "support/captured_log.h"

namespace zorv {
namespace {

TEST(Paste, GuardDropsASecondPasteWithin100ms) {
    PasteGuard guard;
    EXPECT_TRUE(guard.TryPaste(1000));
    EXPECT_FALSE(guard.TryPaste(1099));
    EXPECT_TRUE(guard.TryPaste(1100));
    EXPECT_FALSE(guard.TryPaste(1150));
}

TEST(Paste, RouteAndTypingTargetFollowTheFocusWindow) {
    const FocusFacts edit{true, "Edit", 0}, multi{true, "Edit", 0x1004},
        rich{true, "RichEdit20W", 0}, firefox{false, "MozillaWindowClass", 0}, other{false, "X", 0};
    EXPECT_EQ(ChoosePasteRoute(edit, false, kHkCtrl).Route, PasteRoute::EditPaste);
    EXPECT_EQ(ChoosePasteRoute(rich, false, 0).Route, PasteRoute::CtrlV);
    const PastePlan slow = ChoosePasteRoute(firefox, false, 0);
    EXPECT_TRUE(slow.Route == PasteRoute::CtrlV && slow.WaitCtrlUp);
    EXPECT_EQ(ChoosePasteRoute(other, true, kHkAlt).Route, PasteRoute::WmPaste);
    EXPECT_EQ(ChoosePasteRoute(other, true, kHkAlt | kHkCtrl).Route, PasteRoute::CtrlV);
    EXPECT_FALSE(TypingTarget(edit).WantsEnter);
    EXPECT_TRUE(TypingTarget(multi).WantsEnter && TypingTarget(other).WantsEnter);
    EXPECT_TRUE(TypingTarget(firefox).Slow);
    EXPECT_TRUE(InputBlocked(0x2000, 0x3000));
    EXPECT_FALSE(InputBlocked(0x3000, 0x3000));
}

TEST(Paste, ClipboardKeepsEveryCopyableFormatWithinTheCap) {
    testing::CapturedLog log(1);
    const ClipboardFormatFacts formats[] = {
        {13, "", 10},   {0xC100, "HTML Format", 100}, {1, "", 5},    {16, "", 4},
        {7, "", 5},     {8, "", 1000},                {2, "", 0},    {17, "", 1200},
        {9, "", 0},     {14, "", 500},                {3, "", 16},   {0x80, "", 0},
        {0x300, "", 0}, {0xC101, "Huge", kClipboardCopyCap}, {0xC102, "Small", 7},
    };
    using K = ClipboardKeep;
    const K want[] = {K::Memory,      K::Memory,      K::Synthesized, K::Memory, K::Synthesized,
                      K::Memory,      K::Synthesized, K::Synthesized, K::Synthesized, K::EnhMetafile,
                      K::Synthesized, K::NotCopyable, K::NotCopyable, K::OverCap,   K::Memory};
    const std::vector<ClipboardFormatPlan> plan = PlanClipboardSave(formats);
    ASSERT_EQ(plan.size(), std::size(want));
    for (std::size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(plan[i], (ClipboardFormatPlan{formats[i].Format, want[i]})) << i;
    }
    // A bitmap alone cannot be copied.
    const ClipboardFormatFacts bitmapOnly[] = {{2, "", 0}};
    EXPECT_EQ(PlanClipboardSave(bitmapOnly)[0].Keep, K::NotCopyable);
    ASSERT_EQ(log.lines.size(), 4u);
    EXPECT_NE(log.lines[0].find("CF_OWNERDISPLAY"), std::string::npos);
    EXPECT_NE(log.lines[1].find("#768"), std::string::npos);
    EXPECT_NE(log.lines[2].find("Huge"), std::string::npos);
}

}  // namespace
}  // namespace zorv
