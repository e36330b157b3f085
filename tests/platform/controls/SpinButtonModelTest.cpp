#include <gtest/gtest.h>

#include <vector>

#include "platform/controls/SpinButtonModel.h"

namespace tvane {
namespace {

TEST(SpinButtonModel, AHeldHalfRepeatsSoonerEachTickDownToTwentyMilliseconds) {
    SpinButtonModel spin;
    spin.SetRange(0, 100);
    spin.SetPos(0);
    auto first = spin.Press(true);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->position, 1);
    EXPECT_EQ(first->delta, 1);
    EXPECT_EQ(first->state & SpinButtonModel::kUpper, SpinButtonModel::kUpper);
    std::vector<int> delays{spin.RepeatDelay()};
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(spin.Tick());
        delays.push_back(spin.RepeatDelay());
    }
    EXPECT_EQ(delays, (std::vector<int>{200, 180, 160, 140, 120, 100, 80, 60, 40, 20, 20, 20, 20}));
    EXPECT_EQ(spin.GetPos(), 13);
    EXPECT_TRUE(spin.Release());
    EXPECT_EQ(spin.RepeatDelay(), 200);
    EXPECT_FALSE(spin.Tick()); // no press, no step
}

TEST(SpinButtonModel, StepsOutsideTheRangeAreNotMadeNorTold) {
    SpinButtonModel spin; // -10 to 10
    spin.SetPos(10);
    EXPECT_FALSE(spin.Press(true));
    EXPECT_EQ(spin.GetPos(), 10);
    auto down = spin.Press(false);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->delta, -1);
    EXPECT_EQ(down->position, 9);
    spin.SetStep(25);
    EXPECT_FALSE(spin.Tick());
    EXPECT_EQ(spin.GetPos(), 9);
}

TEST(SpinButtonModel, LeavingTheHalfEndsThePressAndCancelTellsOnceMore) {
    SpinButtonModel spin;
    spin.SetIdentifier(7);
    spin.Press(true);
    EXPECT_TRUE(spin.Move(true, true));
    EXPECT_FALSE(spin.Move(true, false)); // ends as a release
    EXPECT_TRUE(spin.GetState() & SpinButtonModel::kOutside);
    EXPECT_TRUE(spin.Release());
    EXPECT_EQ(spin.GetState(), 0u);

    spin.Press(false);
    auto cancelled = spin.Cancel();
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cancelled->state, unsigned(SpinButtonModel::kCancelled));
    EXPECT_FALSE(spin.IsPressed());
    EXPECT_FALSE(spin.Cancel()); // the timer stopped with the first
    spin.SetEnabled(false);
    EXPECT_EQ(spin.GetState(), unsigned(SpinButtonModel::kDisabled));
}

} // namespace
} // namespace tvane
