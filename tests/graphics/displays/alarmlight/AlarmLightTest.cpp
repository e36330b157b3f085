#include <gtest/gtest.h>

#include "graphics/displays/alarmlight/CLEDFrame.h"
#include "graphics/displays/indicator/RecordingDC.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/indicator/ArchiveBytes.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"

namespace {

using gaugetest::Channel;
using Op = RecordingDC::Op;
constexpr unsigned kAlarmLightCommand = 32818;
constexpr std::uint32_t kGreen = 0x00FF00, kBlue = 0xFF0000, kRed = 0x0000FF;

class AlarmLightTest : public ::testing::Test {
protected:
    CLEDFrame* Add() { return page.Add<CLEDFrame>(kAlarmLightCommand); }
    void NewReadings() { page.view.OnUpdate(nullptr, HINT_NEW_READINGS, {}); }
    // The colours the lamps are drawn in, left to right.
    std::vector<std::uint32_t> LampColors(CLEDFrame* frame) {
        RecordingDC dc;
        frame->GetLEDWnd()->Draw(dc, {0, 0, 300, 100});
        std::vector<std::uint32_t> colors;
        for (const auto& e : dc.Of(Op::Ellipse))
            colors.push_back(e.color);
        return colors;
    }

    gaugetest::GaugePage page;
};

TEST_F(AlarmLightTest, AnEmptyPanelSaysNoConnection) {
    CLEDFrame* frame = Add();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetTitle(), "Alarm Light Panel");
    EXPECT_EQ(frame->GetChannelSlotCount(), 10);
    EXPECT_EQ(frame->GetChannelFilter(), 0x603u);
    RecordingDC dc;
    frame->GetLEDWnd()->Draw(dc, {0, 0, 150, 100});
    EXPECT_EQ(dc.Of(Op::Fill).at(0).color, 0xC0C0C0u);
    EXPECT_EQ(dc.Texts(), (std::vector<std::string>{"No connection"}));
    EXPECT_TRUE(dc.Of(Op::Ellipse).empty());
}

TEST_F(AlarmLightTest, LampsOfOccupiedSlotsSideBySideInAFixedSize) {
    page.doc.channels = {Channel(101, 1, "Oven"), Channel(104, 1, "")};
    CLEDFrame* frame = Add();
    const CChannelInfo second = Channel(104, 1, "");
    frame->SetChannelAt(3, &second);
    RecordingDC dc(7, 13);
    frame->GetLEDWnd()->Draw(dc, {0, 0, 150, 100});
    const auto lamps = dc.Of(Op::Ellipse);
    ASSERT_EQ(lamps.size(), 2u);
    // Two cells of 75; the cell above 66% of the height made square, a quarter in.
    EXPECT_EQ(lamps[0].rect, (GRect{20, 16, 55, 50}));
    EXPECT_EQ(lamps[1].rect, (GRect{95, 16, 130, 50}));
    EXPECT_EQ(lamps[0].outline, 0x000000u);
    EXPECT_EQ(frame->GetLEDWnd()->GetLights().GetAt(3)->GetRect(), lamps[1].rect);
    // Labels: the name, else the number label, under each lamp.
    const auto oven = dc.FindText("Oven");
    ASSERT_TRUE(oven);
    EXPECT_EQ(oven->clip, (GRect{0, 66, 75, 100}));
    const auto number = dc.FindText("<104>");
    ASSERT_TRUE(number);
    EXPECT_EQ(number->clip, (GRect{75, 66, 150, 100}));
    EXPECT_EQ(number->a.y, (66 + 100 - 13) / 2);
    // Each lamp has its bevel.
    EXPECT_EQ(dc.Of(Op::Arc).size(), 8u);
    EXPECT_TRUE(dc.Balanced());
}

TEST_F(AlarmLightTest, TheAlarmByteSetsTheLampEveryNScans) {
    page.doc.channels = {Channel(101, 1, "A")};
    CLEDFrame* frame = Add();
    const CChannelInfo b = Channel(102, 1, "B");
    frame->SetChannelAt(1, &b);
    struct Case {
        std::uint8_t alarm;
        std::uint32_t color;
    };
    // 3 is no alarm state: the lamp stays as it was.
    const Case cases[] = {{1, kBlue}, {2, kRed}, {3, kRed}, {0, kGreen}};
    for (const Case& c : cases) {
        page.doc.batch.clear();
        page.doc.Add(101, 1.0, c.alarm);
        page.doc.Add(102, 1.0, 1);
        NewReadings();
        EXPECT_EQ(LampColors(frame), (std::vector<std::uint32_t>{c.color, kBlue})) << int(c.alarm);
    }
    // Only the lamp that changed is repainted.
    gaugetest::FakeGaugeWindow* window = page.gauges.Of(frame->GetLEDWnd());
    window->invalidated.clear();
    page.doc.batch[101].back().AlarmState = 2;
    NewReadings();
    ASSERT_EQ(window->invalidated.size(), 1u);
    EXPECT_EQ(window->invalidated[0], frame->GetLEDWnd()->GetLights().GetAt(0)->GetRect());

    // Update rate 5: four scans count, the fifth shows.
    frame->SetUpdateRate(5);
    page.doc.batch.clear();
    page.doc.Add(102, 1.0, 2); // the first slot has none: the count is at the first that has
    for (int call = 1; call <= 5; ++call) {
        NewReadings();
        EXPECT_EQ(LampColors(frame)[1], call < 5 ? kBlue : kRed) << call;
    }
    // Scan start and end: every lamp green.
    page.view.OnUpdate(nullptr, HINT_SCAN_STATE, {});
    EXPECT_EQ(LampColors(frame), (std::vector<std::uint32_t>{kGreen, kGreen}));
}

TEST_F(AlarmLightTest, AChannelAddedAfterTheRunShowsItsStoredState) {
    page.doc.channels = {Channel(101, 1, "A")};
    CLEDFrame* frame = Add();
    frame->SetUpdateRate(100);
    page.doc.stored = true;
    page.doc.Add(105, 3.5, 2);
    const CChannelInfo late = Channel(105, 1, "Late");
    frame->SetChannelAt(4, &late);
    EXPECT_EQ(LampColors(frame), (std::vector<std::uint32_t>{kGreen, kRed}));
    frame->RemoveChannelAt(0);
    EXPECT_EQ(frame->GetLEDWnd()->GetLightCount(), 1);
}

TEST_F(AlarmLightTest, AppearanceItemsAndTheHighColourNotKept) {
    CLEDFrame* frame = Add();
    GRAPHITEMPROPS props;
    props.mask = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor;
    ASSERT_TRUE(frame->GetAppearanceItem(6, props));
    EXPECT_EQ(props.itemName, "Low Alarm Limit");
    EXPECT_EQ(props.color, kBlue);
    props.mask = GRAPHITEMPROPS::kFont;
    EXPECT_FALSE(frame->GetAppearanceItem(6, props));
    props.mask = GRAPHITEMPROPS::kColor;
    for (int item : {4, 5, 6}) {
        props.color = 0x123400 + static_cast<std::uint32_t>(item);
        EXPECT_TRUE(frame->SetAppearanceItem(item, props, true));
    }
    EXPECT_EQ(frame->GetLEDWnd()->GetStateColor(2), 0x123405u);
    const auto bytes = displaytest::StoreObject(frame);
    const auto loaded = displaytest::LoadObject<CLEDFrame>(bytes);
    EXPECT_EQ(loaded->GetLEDWnd()->GetStateColor(0), 0x123404u);
    EXPECT_EQ(loaded->GetLEDWnd()->GetStateColor(1), 0x123406u);
    EXPECT_EQ(loaded->GetLEDWnd()->GetStateColor(2), kRed);
}

} // namespace
