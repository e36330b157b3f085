// The bar meter display on a page, fed by the document's polls.
#include <gtest/gtest.h>

#include "tests/graphics/displays/bar/BarFixture.h"

namespace {

using namespace graphicstest;
using namespace bartest;
class BarFrameTest : public BarFixture {};

TEST_F(BarFrameTest, ANewBarMeterShowsTheFirstChannelAgainstItsRange) {
    CBarFrame* frame = NewBar();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetTitle(), "Bar Meter");
    EXPECT_EQ(frame->GetFrameRect().Width(), 100);
    EXPECT_EQ(frame->GetFrameRect().Height(), 150);
    CBarPlot& plot = *frame->GetPlot();
    EXPECT_EQ(plot.GetYMin(), 0.0);
    EXPECT_EQ(plot.GetYMax(), 10.0);
    EXPECT_EQ(plot.GetAlarmMode(), 3);
    EXPECT_TRUE(plot.IsLimitLineShown(CBarPlot::kHighLine));
    EXPECT_EQ(plot.GetChart()->GetTexts(tvane::chart::prop::kPointLabels),
              std::vector<std::string>{"<101>"});
    for (auto [page, help] : {std::pair{0, 11003}, {1, 11103}, {2, 11203}, {3, 11303}, {9, 11003}})
        EXPECT_EQ(frame->GetHelpId(page), help) << page;
    ASSERT_NE(windows.plot, nullptr);
    EXPECT_EQ(windows.plot->rect, frame->GetDataRect());
    GRAPHITEMPROPS range;
    range.mask = GRAPHITEMPROPS::kItemRange;
    ASSERT_TRUE(frame->GetAppearanceItem(0, range));
    EXPECT_EQ(range.itemCount, 11);
    GRAPHITEMPROPS item;
    item.mask = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor;
    ASSERT_TRUE(frame->GetAppearanceItem(4, item));
    EXPECT_EQ(item.itemName, "No Alarm");
}

TEST_F(BarFrameTest, WithUpdateRateFiveTheFifthReadingDrawsTheNewestValue) {
    CBarFrame* frame = NewBar();
    frame->SetUpdateRate(5);
    for (int poll = 1; poll <= 4; ++poll) {
        Poll({1.0 * poll});
        EXPECT_EQ(frame->GetPlot()->GetValue(), 0.0) << poll;
    }
    Poll({9.0});
    EXPECT_EQ(frame->GetPlot()->GetValue(), 9.0);
    EXPECT_EQ(frame->GetPlot()->GetSeriesColor(0, 1), CBarPlot::kHighColour);
    // A batch of several readings counts each of them and shows the last.
    Poll({3.0, 4.0, 5.0, 6.0, 7.0});
    EXPECT_EQ(frame->GetPlot()->GetValue(), 7.0);
    EXPECT_EQ(frame->GetPlot()->GetSeriesColor(0, 1), CBarPlot::kNormalColour);
}

TEST_F(BarFrameTest, StartEventsAndScanStatesDropTheBarToZero) {
    CBarFrame* frame = NewBar();
    Poll({6.0});
    ASSERT_EQ(frame->GetPlot()->GetValue(), 6.0);
    CRunRecord start;
    view.OnUpdate(nullptr, HINT_EVENT, HintObject(&start));
    EXPECT_EQ(frame->GetPlot()->GetValue(), 0.0);
    Poll({6.0});
    view.OnUpdate(nullptr, HINT_SCAN_STATE, {});
    EXPECT_EQ(frame->GetPlot()->GetValue(), 0.0);
}

TEST_F(BarFrameTest, OverStoredReadingsANewChannelShowsItsValueAtOnce) {
    CBarFrame* frame = NewBar();
    doc.readings = 10;
    frame->SetUpdateRate(5);
    doc.Poll(102, {-4.0});
    frame->SetChannelAt(0, &doc.channels[1]);
    EXPECT_EQ(frame->GetPlot()->GetValue(), -4.0);
    EXPECT_EQ(frame->GetPlot()->GetYMin(), -5.0);
    frame->RemoveChannelAt(0);
    EXPECT_EQ(frame->GetPlot()->GetChart()->GetTexts(tvane::chart::prop::kPointLabels),
              std::vector<std::string>{"<None>"});
    Poll({3.0}, 102);
    EXPECT_EQ(frame->GetPlot()->GetValue(), 0.0);
}

TEST_F(BarFrameTest, AStoredBarComesBackWithItsSettings) {
    doc.readings = 3;
    CBarFrame* frame = NewBar();
    frame->SetOrientation(CBarPlot::kHorizontal);
    frame->SetUpdateRate(12);
    Poll({1.0});
    const auto bytes = CGraphView::StoreFrame(*frame);
    auto loaded = CGraphView::LoadFrame(bytes);
    auto* bar = dynamic_cast<CBarFrame*>(loaded.get());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetUpdateRate(), 12);
    ASSERT_TRUE(view.AddFrame(loaded.release(), frame->GetFrameRect()));
    EXPECT_EQ(bar->GetOrientation(), CBarPlot::kHorizontal);
    EXPECT_EQ(bar->GetPlot()->GetValue(), 1.0);
    EXPECT_EQ(bar->GetPlot()->GetSeriesColor(0, 1), CBarPlot::kLowColour);
    EXPECT_EQ(CGraphView::StoreFrame(*bar), bytes);
}

} // namespace
