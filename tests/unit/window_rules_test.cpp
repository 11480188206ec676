#include "window/window_rules.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace sevrane {
namespace {

TEST(WindowRules, StartCommandsShowTheWindowAndOnlyTheNoActivateOnesLeaveTheForeground) {
    const struct {
        int requested;
        int shown;
        bool withoutActivating;
    } cases[] = {
        {kShowHide, kShowNormal, false},          {kShowNormal, kShowNormal, false},
        {kShowMinimized, kShowMinimized, false},  {kShowMaximized, kShowRestore, false},
        {kShowNoActivate, kShowNoActivate, true}, {kShowShow, kShowShow, false},
        {kShowMinNoActive, kShowMinNoActive, false}, {kShowNotActivated, kShowNotActivated, true},
        {kShowRestore, kShowRestore, false},      {10, 10, false}, // SW_SHOWDEFAULT
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowCommandFor(c.requested), c.shown) << c.requested;
        EXPECT_EQ(ShowsWithoutActivating(c.requested), c.withoutActivating) << c.requested;
    }
}

TEST(WindowRules, OnlyAHeldEnterOrEscIsDroppedAndTheLabelDoublesTheFirstAmpersand) {
    constexpr std::int64_t kHeld = std::int64_t{1} << 30;
    EXPECT_TRUE(IsHeldAnswerKey(kKeyReturn, kHeld | 1));
    EXPECT_TRUE(IsHeldAnswerKey(kKeyEscape, kHeld));
    EXPECT_FALSE(IsHeldAnswerKey(kKeyReturn, 1));
    EXPECT_FALSE(IsHeldAnswerKey(kKeyEscape, kHeld >> 1));
    EXPECT_FALSE(IsHeldAnswerKey(0x28, kHeld)); // a held arrow key moves on
    EXPECT_EQ(LabelText(u"Save & quit & go"), u"Save && quit & go");
    EXPECT_EQ(LabelText(u"&&"), u"&&&");
    EXPECT_EQ(LabelText(u"none"), u"none");
}

} // namespace
} // namespace sevrane
