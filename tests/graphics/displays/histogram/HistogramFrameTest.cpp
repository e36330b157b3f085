// The histogram display on a page, fed by the document's polls.
#include <gtest/gtest.h>

#include "tests/graphics/displays/histogram/HistogramFixture.h"

namespace {

using namespace graphicstest;
using namespace histogramtest;
class HistogramFrameTest : public HistogramFixture {};

TEST_F(HistogramFrameTest, ANewHistogramTakesTheFirstChannelAndItsRange) {
    CHistogramFrame* frame = NewHistogram();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetTitle(), "Histogram");
    EXPECT_EQ(frame->GetFrameRect().Width(), 473);
    EXPECT_EQ(frame->GetLowLimit(), 0.0);
    EXPECT_EQ(frame->GetHighLimit(), 100.0);
    EXPECT_EQ(frame->GetBinCount(), 10);
    EXPECT_EQ(frame->GetPanel()->Text(CHistogramCtrlPanel::kChannel), "(101)");
    EXPECT_EQ(frame->GetPlot()->GetCurrentRange()->m_channel.Number, 101);
    for (auto [page, help] : {std::pair{0, 11005}, {1, 11105}, {2, 11205}, {3, 11305}, {4, 11005}})
        EXPECT_EQ(frame->GetHelpId(page), help) << page;
    // The panel along the bottom of the data area, the plot over the rest.
    ASSERT_TRUE(windows.panel && windows.plot);
    const GRect client = frame->GetWindow()->GetClientRect();
    EXPECT_EQ(windows.panel->rect.bottom, client.bottom - frame->m_inset);
    EXPECT_EQ(windows.panel->rect.Height(), 40);
    EXPECT_EQ(windows.plot->rect.bottom, windows.panel->rect.top);
    GRAPHITEMPROPS range;
    range.mask = GRAPHITEMPROPS::kItemRange;
    ASSERT_TRUE(frame->GetAppearanceItem(0, range));
    EXPECT_EQ(range.firstItem, 1);
    EXPECT_EQ(range.itemCount, 12);
    EXPECT_FALSE(frame->SetAppearanceItem(0, range, false));
}

TEST_F(HistogramFrameTest, EveryPollsReadingsAreCountedAndShown) {
    CHistogramFrame* frame = NewHistogram();
    constexpr int kPolls = 6;
    for (int poll = 0; poll < kPolls; ++poll)
        Poll({5.0, 15.0, 250.0});
    EXPECT_EQ(frame->GetBins().m_total, 3 * kPolls);
    EXPECT_EQ(frame->GetStats()->GetCount(), 2 * kPolls);
    EXPECT_EQ(frame->GetBins().m_outOfRange, kPolls);
    EXPECT_DOUBLE_EQ(Shown(*frame, 0), 100.0 / 3.0);
    EXPECT_EQ(frame->GetPlot()->GetBinCounts()[1], kPolls);
    EXPECT_EQ(frame->GetPanel()->Text(CHistogramCtrlPanel::kReadings), "12 ");
    EXPECT_EQ(frame->GetPanel()->Text(CHistogramCtrlPanel::kOutOfRange), "6 ");
    // Another channel's readings are not this display's.
    Poll({5.0}, 102);
    EXPECT_EQ(frame->GetBins().m_total, 3 * kPolls);
}

TEST_F(HistogramFrameTest, WithAnUpdateRateOfFiveThePlotChangesOnEveryFifthPoll) {
    CHistogramFrame* frame = NewHistogram();
    frame->SetUpdateRate(5);
    for (int poll = 1; poll <= 10; ++poll) {
        Poll({45.0});
        EXPECT_EQ(frame->GetStats()->GetCount(), poll);
        EXPECT_EQ(Shown(*frame, 4), poll < 5 ? 0.0 : 100.0) << poll;
        EXPECT_EQ(frame->GetPanel()->Text(CHistogramCtrlPanel::kReadings),
                  poll < 5 ? "" : (poll < 10 ? "5 " : "10 "))
            << poll;
    }
}

TEST_F(HistogramFrameTest, AutoscaleTakesTheExtremesOfTheReadingsSeen) {
    CHistogramFrame* frame = NewHistogram();
    frame->GetPanel()->ClickAutoscale(); // before any reading: nothing changes
    EXPECT_EQ(frame->GetLowLimit(), 0.0);
    EXPECT_EQ(frame->GetHighLimit(), 100.0);
    Poll({3.0, 3.0});
    frame->GetPanel()->ClickAutoscale();
    EXPECT_EQ(frame->GetLowLimit(), 2.75);
    EXPECT_EQ(frame->GetHighLimit(), 3.25);
    EXPECT_EQ(frame->GetPlot()->GetXMin(), 2.75);
    EXPECT_EQ(frame->GetPlot()->GetChart()->GetDouble(tvane::chart::prop::kXAxisMax), 3.25);
    EXPECT_TRUE(CGraphView::IsLayoutChanged());
    // Readings outside the limits count for the extremes too.
    Poll({-40.0, 140.0});
    frame->GetPanel()->ClickAutoscale();
    EXPECT_EQ(frame->GetLowLimit(), -40.0);
    EXPECT_EQ(frame->GetHighLimit(), 140.0);
    EXPECT_DOUBLE_EQ(frame->GetBins().m_binWidth, 18.0);
}

TEST_F(HistogramFrameTest, AStartEventOrAScanStateClearsTheHistogram) {
    CHistogramFrame* frame = NewHistogram();
    Poll({5.0, 6.0});
    CRunRecord start;
    start.m_kind = CRunRecord::kStart;
    view.OnUpdate(nullptr, HINT_EVENT, HintObject(&start));
    EXPECT_EQ(frame->GetBins().m_total, 0);
    EXPECT_EQ(frame->GetStats()->GetCount(), 0);
    EXPECT_EQ(frame->GetPanel()->Text(CHistogramCtrlPanel::kMean), "");
    Poll({5.0});
    CRunRecord end;
    end.m_kind = CRunRecord::kEnd;
    view.OnUpdate(nullptr, HINT_EVENT, HintObject(&end));
    EXPECT_EQ(frame->GetBins().m_total, 1);
    view.OnUpdate(nullptr, HINT_SCAN_STATE, {});
    EXPECT_EQ(frame->GetBins().m_total, 0);
}

TEST_F(HistogramFrameTest, NewLimitsOrBinsEmptyTheHistogramAndRefreshIt) {
    CHistogramFrame* frame = NewHistogram();
    Poll({5.0});
    const int resends = doc.resends;
    EXPECT_FALSE(frame->SetHighLimit(100.00000000001, true));
    EXPECT_EQ(doc.resends, resends);
    // The refresh brings the document's readings back into the new bins.
    EXPECT_TRUE(frame->SetHighLimit(50.0, true));
    EXPECT_EQ(doc.resends, resends + 1);
    EXPECT_DOUBLE_EQ(frame->GetBins().m_binWidth, 5.0);
    EXPECT_EQ(frame->GetBins().Count(1), 1.0);
    EXPECT_EQ(frame->GetBins().m_total, 1);

    EXPECT_FALSE(frame->SetBinCount(0, true));
    EXPECT_FALSE(frame->SetBinCount(101, true));
    EXPECT_TRUE(frame->SetBinCount(100, true));
    EXPECT_EQ(frame->GetReadingData()->GetCapacity(), 100);
    EXPECT_EQ(frame->GetPlot()->GetBinCount(), 100);
    EXPECT_EQ(frame->GetBins().Count(10), 1.0);
}

TEST_F(HistogramFrameTest, ChangingTheChannelStartsOverOnItsRange) {
    CHistogramFrame* frame = NewHistogram();
    Poll({5.0});
    frame->SetChannelAt(0, &doc.channels[1]);
    EXPECT_EQ(frame->GetLowLimit(), -10.0);
    EXPECT_EQ(frame->GetHighLimit(), 10.0);
    EXPECT_EQ(frame->GetBins().m_total, 0);
    EXPECT_EQ(frame->GetPanel()->Text(CHistogramCtrlPanel::kChannel), "(102)");
    // An edited channel's new range reaches the axis and the bins alike.
    CChannelInfo edited = doc.channels[1];
    edited.RangeMax = 30.0;
    CChannelArray changed;
    changed.Add(&edited);
    view.OnUpdate(nullptr, HINT_CHANNEL_EDIT, HintObject(&changed));
    changed.RemoveAll();
    EXPECT_EQ(frame->GetHighLimit(), 30.0);
    EXPECT_EQ(frame->GetPlot()->GetXMax(), 30.0);
    frame->RemoveChannelAt(0);
    EXPECT_EQ(frame->GetPanel()->Text(CHistogramCtrlPanel::kChannel), "(Off)");
    EXPECT_EQ(frame->GetPlot()->GetCurrentRange(), nullptr);
    Poll({5.0}, 102);
    EXPECT_EQ(frame->GetBins().m_total, 0);
}

TEST_F(HistogramFrameTest, APanelThatCannotBeMadeFailsTheCreation) {
    windows.canMakePanel = false;
    EXPECT_FALSE(view.CreateDisplay(703));
    EXPECT_EQ(view.GetSelected(), nullptr);
}

TEST_F(HistogramFrameTest, StoredHistogramsComeBackWithTheirCountsAndBadCountsAreRejected) {
    doc.readings = 5; // the document holds readings: the bins are stored too
    CHistogramFrame* frame = NewHistogram();
    Poll({5.0, 15.0, 15.0});
    frame->SetUpdateRate(7);
    const auto bytes = CGraphView::StoreFrame(*frame);
    auto loaded = CGraphView::LoadFrame(bytes);
    auto* histogram = dynamic_cast<CHistogramFrame*>(loaded.get());
    ASSERT_NE(histogram, nullptr);
    EXPECT_EQ(histogram->GetBins().m_total, 3);
    EXPECT_EQ(histogram->GetBins().Count(1), 2.0);
    EXPECT_EQ(histogram->GetStats()->GetCount(), 3);
    EXPECT_EQ(histogram->GetUpdateRate(), 7);
    EXPECT_EQ(histogram->GetPanel()->Text(CHistogramCtrlPanel::kReadings), "3 ");
    ASSERT_TRUE(view.AddFrame(loaded.release(), frame->GetFrameRect()));
    EXPECT_NE(histogram->GetPlot()->GetChart(), nullptr);
    // Placed on a page over the same readings, it does not count them again.
    EXPECT_EQ(histogram->GetBins().m_total, 3);
    EXPECT_EQ(histogram->GetStats()->GetCount(), 3);
    EXPECT_EQ(CGraphView::StoreFrame(*histogram), bytes);

    // An update rate outside 1..5000 rejects the display.
    frame->SetUpdateRate(0);
    const auto bad = CGraphView::StoreFrame(*frame);
    EXPECT_EQ(CGraphView::LoadFrame(bad), nullptr);
}

} // namespace
