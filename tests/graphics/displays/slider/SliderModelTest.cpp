#include <gtest/gtest.h>

#include <cmath>

#include "graphics/displays/slider/SliderModel.h"
#include "graphics/displays/slider/SliderRules.h"

namespace {

using Key = SliderModel::Key;

// A new display's slider: limits -12..12, value 5, resolution 0.001.
SliderModel NewSlider(std::int32_t orientation = SliderModel::kVertical) {
    SliderModel s;
    s.SetOrientation(orientation);
    s.SetRange(-12.0, 12.0);
    s.SetValue(5.0, false);
    s.SetResolution(0.001);
    return s;
}

TEST(SliderModel, ValuesClampToTheLimitsAndNearZeroIsZero) {
    SliderModel s = NewSlider();
    EXPECT_TRUE(s.SetValue(-20.0, false));
    EXPECT_EQ(s.Value(), -12.0);
    EXPECT_TRUE(s.SetValue(30.0, false));
    EXPECT_EQ(s.Value(), 12.0);
    EXPECT_TRUE(s.SetValue(0.0004, false));
    EXPECT_EQ(s.Value(), 0.0);
    EXPECT_FALSE(s.SetValue(0.0, false));
    EXPECT_EQ(s.LowerText(), "-12");
    EXPECT_EQ(s.UpperText(), "12");
}

TEST(SliderModel, SnapGoesToTheNearestGridPointAndNeverPastTheLimit) {
    SliderModel s;
    s.SetRange(0.0, 1.0);
    s.SetResolution(0.3);
    EXPECT_DOUBLE_EQ(s.Snap(0.4), 0.3);
    EXPECT_DOUBLE_EQ(s.Snap(0.45), 0.6); // a tie goes up
    EXPECT_DOUBLE_EQ(s.Snap(0.99), 0.9);
    // A grid that reaches the upper limit before it brackets the value gives
    // the limit, not a marker value.
    s.SetRange(0.0, 0.9);
    EXPECT_DOUBLE_EQ(s.Snap(0.9), 0.9);
    s.SetValue(0.9, true);
    EXPECT_DOUBLE_EQ(s.Value(), 0.9);
    s.SetRange(0.0, 1.0);
    // A resolution of 0 leaves the value as it is (and ends).
    s.SetResolution(0.0);
    EXPECT_DOUBLE_EQ(s.Snap(0.42), 0.42);
    EXPECT_NEAR(s.PageMarkAbove(0.42), 0.5, 1e-9);
    s.SetRange(3.0, 3.0);
    EXPECT_DOUBLE_EQ(s.PageMarkAbove(3.0), 3.0);
    EXPECT_DOUBLE_EQ(s.PageMarkBelow(3.0), 3.0);
}

TEST(SliderModel, PageHomeAndEndKeys) {
    struct Case {
        Key key;
        double from;
        double to;
        int code;
    } cases[] = {
        {Key::PageUp, 5.0, 7.2, SliderModel::kStepLow},
        {Key::PageDown, 5.0, 4.8, SliderModel::kStepLow},
        {Key::PageUp, -12.0, -9.6, SliderModel::kStepLow},
        {Key::PageUp, 7.1995, 9.6, SliderModel::kStepLow}, // a mark within a resolution is skipped
        {Key::PageUp, 11.0, 12.0, SliderModel::kStepLow},
        {Key::PageDown, -11.0, -12.0, SliderModel::kStepLow},
        {Key::Home, 5.0, 12.0, SliderModel::kHome},
        {Key::End, 5.0, -12.0, SliderModel::kEndKey},
        {Key::Up, 5.0, 5.001, SliderModel::kLine},
        {Key::Left, 5.0, 4.999, SliderModel::kLine},
    };
    for (const Case& c : cases) {
        SliderModel s = NewSlider(SliderModel::kHorizontal);
        s.SetValue(c.from, false);
        const SliderModel::Outcome out = s.KeyDown(c.key);
        EXPECT_NEAR(s.Value(), c.to, 1e-9) << c.from;
        EXPECT_EQ(out.code, c.code) << c.from;
        // Holding the key writes nothing; its release ends the interaction.
        EXPECT_EQ(s.KeyUp().code, SliderModel::kEnd);
    }
    SliderModel s = NewSlider();
    EXPECT_TRUE(s.KeyDown(Key::Tab).forwardKey);
}

TEST(SliderModel, TrackThumbGrooveAndTicks) {
    SliderModel h = NewSlider(SliderModel::kHorizontal);
    // Text 13 high, limit texts 21 pixels wide: the track leaves 25 at each
    // end and 23 above and below.
    const GRect track =
        SliderModel::LayoutTrack({0, 0, 225, 100}, SliderModel::kHorizontal, 21, 21, 13);
    EXPECT_EQ(track, (GRect{25, 23, 200, 77}));
    h.SetTrack(track);
    h.SetValue(0.0, false);
    EXPECT_EQ(h.Thumb(), (GRect{108, 29, 116, 71})); // 25 + 175 / 2
    EXPECT_EQ(h.Groove(), (GRect{25, 48, 200, 52}));
    const std::vector<std::int32_t> ticks = h.TickPositions();
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_EQ(ticks.front(), 25);
    EXPECT_EQ(ticks[1], 43); // 17.5 + 25 + 0.5
    EXPECT_EQ(ticks[5], 113);
    EXPECT_EQ(ticks.back(), 200);

    SliderModel v = NewSlider(SliderModel::kVertical);
    const GRect vt = SliderModel::LayoutTrack({0, 0, 50, 140}, SliderModel::kVertical, 21, 21, 13);
    EXPECT_EQ(vt, (GRect{0, 23, 50, 117}));
    v.SetTrack(vt);
    v.SetValue(12.0, false);
    EXPECT_EQ(v.Thumb(), (GRect{9, 19, 41, 27}));
    EXPECT_EQ(v.Groove(), (GRect{23, 23, 27, 117}));

    // Pixel to value and back.
    for (double value : {-12.0, -6.0, 0.0, 6.0, 12.0}) {
        h.SetValue(value, false);
        const GRect thumb = h.Thumb();
        EXPECT_NEAR(h.PixelToValue({(thumb.left + thumb.right) / 2, 50}), value, 24.0 / 175);
        v.SetValue(value, false);
        const GRect vthumb = v.Thumb();
        EXPECT_NEAR(v.PixelToValue({25, (vthumb.top + vthumb.bottom) / 2}), value, 24.0 / 94);
    }
}

TEST(SliderModel, AClickBesideTheThumbStepsAndRepeatsTowardTheCursor) {
    SliderModel s = NewSlider(SliderModel::kHorizontal);
    s.SetResolution(1.0);
    s.SetTrack({0, 0, 240, 60});
    s.SetValue(0.0, false); // thumb around x = 120
    SliderModel::Outcome out = s.Press({200, 30}, false);
    EXPECT_TRUE(out.startTimer);
    EXPECT_TRUE(out.capture);
    EXPECT_EQ(out.code, SliderModel::kStepHigh);
    EXPECT_EQ(s.Value(), 1.0);
    // Each repeat steps toward the cursor until the thumb reaches it.
    int steps = 0;
    while (s.Repeat({200, 30}).code && steps < 100)
        ++steps;
    EXPECT_EQ(s.Value(), 8.0); // the thumb at 200 holds the cursor
    EXPECT_EQ(steps, 7);
    // The cursor on the other side reverses the direction.
    out = s.Repeat({10, 30});
    EXPECT_EQ(out.code, SliderModel::kStepLow);
    EXPECT_EQ(s.Value(), 7.0);
    out = s.Release();
    EXPECT_EQ(out.code, SliderModel::kEnd);
    EXPECT_TRUE(out.stopTimer);
    EXPECT_FALSE(s.InInteraction());
    // No repeat once released.
    EXPECT_FALSE(s.Repeat({10, 30}).code);

    // Vertical: above the thumb steps up.
    SliderModel v = NewSlider(SliderModel::kVertical);
    v.SetResolution(1.0);
    v.SetTrack({0, 0, 60, 240});
    v.SetValue(0.0, false);
    EXPECT_EQ(v.Press({30, 10}, false).code, SliderModel::kStepLow);
    EXPECT_EQ(v.Value(), 1.0);
    v.Release();
    EXPECT_EQ(v.Press({30, 230}, false).code, SliderModel::kStepHigh);
    EXPECT_EQ(v.Value(), 0.0);
}

TEST(SliderModel, ADragFollowsTheMouseUnsnappedAndClampsBeyondTheTrack) {
    SliderModel s = NewSlider(SliderModel::kHorizontal);
    s.SetTrack({0, 0, 240, 60});
    const GRect thumb = s.Thumb();
    SliderModel::Outcome out = s.Press({(thumb.left + thumb.right) / 2, 30}, false);
    EXPECT_FALSE(out.startTimer);
    EXPECT_FALSE(out.code);
    out = s.Move({61, 30});
    EXPECT_EQ(out.code, SliderModel::kDrag);
    EXPECT_DOUBLE_EQ(s.Value(), 61.0 / 240 * 24 - 12); // -5.9, not snapped
    s.Move({400, 30});
    EXPECT_EQ(s.Value(), 12.0);
    EXPECT_EQ(s.Release().code, SliderModel::kEnd);
    // Without a press the mouse moves nothing.
    EXPECT_FALSE(s.Move({10, 30}).code);
    EXPECT_EQ(s.Value(), 12.0);
}

TEST(SliderRules, TheValueBox) {
    using sliderrules::TakeValueBox;
    EXPECT_EQ(TakeValueBox(" \t3.25 \t", -12, 12).value, 3.25);
    EXPECT_EQ(TakeValueBox("-12", -12, 12).value, -12.0);
    for (const char* bad : {"3.25x", "abc", "", "  "})
        EXPECT_EQ(TakeValueBox(bad, -12, 12).message, "Please enter a digit") << bad;
    const sliderrules::BoxValue out = TakeValueBox("20", -12, 12);
    EXPECT_FALSE(out.value);
    EXPECT_EQ(out.message, "Please enter digit within range -12.000 - 12.000");
    EXPECT_FALSE(TakeValueBox("nan", -12, 12).value);
    EXPECT_EQ(sliderrules::ValueText(5.0, 0.001), "5.000");
    EXPECT_EQ(sliderrules::ValueText(0.0009, 0.001), "0.000");
    EXPECT_EQ(sliderrules::ValueText(-0.5, 1.0), "0.000");
}

TEST(SliderRules, TheAdvancedPagesLimitsAndResolution) {
    using namespace sliderrules;
    // Limits 0 and 10 allow a resolution from 0.001 to 1.0.
    EXPECT_TRUE(ResolutionRange(0, 10).Holds(0.001));
    EXPECT_TRUE(ResolutionRange(0, 10).Holds(1.0));
    EXPECT_FALSE(ResolutionRange(0, 10).Holds(2.0));
    EXPECT_FALSE(ResolutionRange(0, 10).Holds(0.0));
    // Upper 5.5, resolution 0.001: the lower limit may go up to 5.
    EXPECT_EQ(LowerLimitRange(5.5, 0.001).high, 5.0);
    EXPECT_EQ(LowerLimitRange(5.5, 0.001).low, -12.0);
    EXPECT_EQ(UpperLimitRange(-3.5, 0.001).low, -3.0);
    EXPECT_EQ(UpperLimitRange(-20, 0.001).low, -12.0);
    EXPECT_FALSE(UpperLimitRange(0, 1).Holds(13));

    EXPECT_TRUE(UsableSettings(-12, 12, 0.001));
    EXPECT_FALSE(UsableSettings(1, 1, 0.001));
    EXPECT_FALSE(UsableSettings(2, 1, 0.001));
    EXPECT_FALSE(UsableSettings(0, 1, 0.0));
    EXPECT_FALSE(UsableSettings(0, 1, -1));
    EXPECT_FALSE(UsableSettings(0, 1, 2));
    EXPECT_FALSE(UsableSettings(0, INFINITY, 1));
    EXPECT_FALSE(UsableSettings(NAN, 1, 0.5));

    EXPECT_EQ(LayoutFor(1).size, (GPoint{62, 170}));
    EXPECT_EQ(LayoutFor(0).size, (GPoint{225, 65}));
    EXPECT_EQ(LayoutFor(0).slider[3], 0.72);
}

} // namespace
