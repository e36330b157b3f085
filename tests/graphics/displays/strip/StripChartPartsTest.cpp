#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "graphics/CXrtGraphData.h"
#include "graphics/displays/strip/COverlayCtrlPanel.h"
#include "graphics/displays/strip/CTextDisplay.h"
#include "graphics/displays/strip/CXrtOverlayPlot.h"
#include "graphics/displays/strip/LegendRules.h"
#include "graphics/displays/strip/OverlayStaging.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/ChartData.h"
#include "scan/records/ReadingRecord.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace {

using namespace graphicstest;

class NullPlotParent : public IOverlayPlotParent {
public:
    struct Window : IChartWindow {};
    bool GetDocumentHasReadings() const override { return false; }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart&,
                                                    const tvane::chart::ChartRect&) override {
        return std::make_unique<Window>();
    }
    void OnGraphTimeAxisChange(const CTimeAxisInfo&) override {}
    void OnChnlRangeInfoChange(int, const OverlayRange&) override {}
    void OnPositionEventLog(const CDatasetEvent&) override {}
    void OnObjectSelect() override {}
    void OnVertMarkerXValueChange(int) override {}
    void OnVertMarkerYValueChange(int) override {}
};

// Readings of a batch by channel, as the document's reading store gives them.
struct ReadingStore {
    std::map<int, std::vector<ReadingRecord>> readings;
    void Add(int channel, double time, double value, std::uint8_t alarm = 0) {
        ReadingRecord r;
        r.Channel = static_cast<std::int16_t>(channel);
        r.Time = time;
        r.Value = value;
        r.AlarmState = alarm;
        readings[channel].push_back(r);
    }
    OverlayStaging::ReadingLookup Lookup() {
        return [this](std::int32_t channel, std::vector<ReadingRecord*>& out) {
            out.clear();
            for (auto& r : readings[channel])
                out.push_back(&r);
            return static_cast<int>(out.size());
        };
    }
};

class StagingTest : public ::testing::Test {
protected:
    StagingTest() : data(2, 8, 3), staging(&data) {
        EXPECT_TRUE(plot.Create(parent, {0, 0, 400, 300}, nullptr));
        plot.SetCapacity(3);
        plot.ResetRange(0);
        plot.ResetRange(1);
        staging.Reset();
    }
    int Traces(int slot) { return plot.GetTraces()->GetData()->Count(slot); }

    NullPlotParent parent;
    CXrtOverlayPlot plot;
    CXrtGraphData data;
    OverlayStaging staging;
    std::array<std::int32_t, 8> channels = {101, 102, -1, -1, -1, -1, -1, -1};
};

TEST_F(StagingTest, ABatchStagesEachChannelsNewestReadingsAndCountsScans) {
    ReadingStore store;
    for (int i = 0; i < 5; ++i)
        store.Add(101, 100.0 * (i + 1), i, i == 4 ? 2 : 0);
    store.Add(102, 100.0, 7.0);
    EXPECT_EQ(staging.Stage(channels, store.Lookup(), plot), 5);
    // Channel 101 had more readings than fit: its newest three.
    EXPECT_EQ(staging.StagedCount(0), 3);
    EXPECT_DOUBLE_EQ(data.GetData()->X(0, 0), 300.0);
    EXPECT_EQ(plot.AlarmFlags(0)[2], 2);
    EXPECT_EQ(staging.StagedCount(1), 1);
    EXPECT_EQ(Traces(0), 0); // nothing reached the plot yet
    staging.AddScans(5);
    staging.Flush(plot);
    EXPECT_EQ(Traces(0), 3);
    EXPECT_EQ(Traces(1), 1);
    EXPECT_EQ(staging.StagedCount(0), 0);
    EXPECT_EQ(staging.ScansSinceUpdate(), 0);
}

// With an update rate above the capacity the staged points would overflow:
// what was staged goes to the plot first, so the newest readings are kept.
TEST_F(StagingTest, StagedPointsThatWouldOverflowGoToThePlotFirst) {
    for (int batch = 0; batch < 3; ++batch) {
        ReadingStore store;
        store.Add(101, 100.0 * (2 * batch + 1), 1.0);
        store.Add(101, 100.0 * (2 * batch + 2), 2.0);
        staging.AddScans(staging.Stage(channels, store.Lookup(), plot));
    }
    staging.Flush(plot);
    const auto& d = *plot.GetTraces()->GetData();
    ASSERT_GE(d.Count(0), 2);
    EXPECT_DOUBLE_EQ(d.X(0, d.Count(0) - 1), 600.0); // the newest reading arrived
    EXPECT_DOUBLE_EQ(d.X(0, d.Count(0) - 2), 500.0);
}

TEST_F(StagingTest, StoredDataSkipsReadingsAfterTheWindowEnd) {
    ReadingStore store;
    store.Add(101, 100.0, 1.0);
    store.Add(101, 900.0, 1.0);
    const double end = 500.0;
    EXPECT_EQ(staging.Stage(channels, store.Lookup(), plot, &end), 1);
    EXPECT_EQ(staging.StagedCount(0), 1);
}

class PanelParent : public IOverlayPanelParent {
public:
    void OnGraphRangeInfoChange(const OverlayRange& r) override { scales.push_back(r.scale); }
    void OnAutoScale() override { ++autoscales; }
    void OnPanelTabOut() override {}
    std::vector<double> scales;
    int autoscales = 0;
};

TEST(OverlayPanelTest, SteppingTellsTheFrameEvenAtTheEnds) {
    COverlayCtrlPanel panel;
    PanelParent parent;
    panel.SetParent(&parent);
    EXPECT_EQ(panel.TimePerDivisionText(), "02:00min");
    panel.Spin(COverlayCtrlPanel::kSpinUp);
    EXPECT_DOUBLE_EQ(parent.scales.back(), 300.0);
    panel.Spin(0); // no step, still a message
    EXPECT_EQ(parent.scales.size(), 2u);
    for (int i = 0; i < 10; ++i)
        panel.Spin(COverlayCtrlPanel::kSpinUp);
    EXPECT_DOUBLE_EQ(parent.scales.back(), 7200.0);
    EXPECT_EQ(panel.TimePerDivisionText(), "02:00hr");
    panel.ClickAutoscale();
    EXPECT_EQ(parent.autoscales, 1);
}

TEST(OverlayPanelTest, ReadoutsShowValuesOverloadsAndDifferences) {
    COverlayCtrlPanel panel;
    EXPECT_EQ(panel.Text(COverlayCtrlPanel::kY1Channel), "(Off)");
    OverlayChannel volts;
    volts.number = 101;
    volts.units = "VDC";
    OverlayChannel amps = volts;
    amps.number = 102;
    amps.units = "ADC";
    panel.SetMarkerChannel(1, &volts);
    EXPECT_EQ(panel.Text(COverlayCtrlPanel::kY1Channel), "(101)");
    panel.SetMarkerValue(1, 9.9e37);
    EXPECT_EQ(panel.Text(COverlayCtrlPanel::kY1Value), "OVLD Vdc ");
    panel.SetMarkerValue(1, 1.5);
    EXPECT_NE(panel.Text(COverlayCtrlPanel::kY1Value).find("V"), std::string::npos);
    panel.SetMarkerChannel(2, &amps);
    panel.SetDeltaY(0.5);
    EXPECT_NE(panel.Text(COverlayCtrlPanel::kDeltaY).find("-"), std::string::npos);
    panel.SetDeltaY(9.9e37);
    EXPECT_EQ(panel.Text(COverlayCtrlPanel::kDeltaY), "");
    panel.SetMarkerTime(2, "12:00:01");
    EXPECT_EQ(panel.Text(COverlayCtrlPanel::kT2Value), "12:00:01 ");
    panel.SetMarkerChannel(2, nullptr);
    EXPECT_EQ(panel.Text(COverlayCtrlPanel::kY2Channel), "(Off)");
}

TEST(OverlayPanelTest, TabOrderIsEditThenButtonThenOut) {
    COverlayCtrlPanel panel;
    using F = COverlayCtrlPanel::Focus;
    EXPECT_EQ(panel.TabFrom(F::kFocusEdit, false), F::kFocusButton);
    EXPECT_EQ(panel.TabFrom(F::kFocusButton, false), F::kFocusLeave);
    EXPECT_EQ(panel.TabFrom(F::kFocusButton, true), F::kFocusEdit);
    EXPECT_EQ(panel.TabFrom(F::kFocusEdit, true), F::kFocusLeave);
    EXPECT_EQ(panel.TabFrom(F::kFocusLeave, false), F::kFocusEdit);
    EXPECT_EQ(panel.TabFrom(F::kFocusLeave, true), F::kFocusButton);
}

TEST(OverlayPanelTest, ASavedPanelShowsItsReadoutsAgain) {
    COverlayCtrlPanel panel;
    panel.Spin(COverlayCtrlPanel::kSpinDown);
    panel.SetMarkerTime(1, "10:00:00");
    const Bytes bytes = Store([&](tvane::CArchive& ar) { panel.Serialize(ar); });
    COverlayCtrlPanel loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.Text(COverlayCtrlPanel::kT1Value), "10:00:00 ");
    EXPECT_DOUBLE_EQ(loaded.GetTimeRange().scale, 60.0);
    EXPECT_EQ(loaded.TimePerDivisionText(), panel.TimePerDivisionText());
}

TEST(LegendRulesTest, DragClampsToOneToEightRowsAndTheTopReserve) {
    legend::DragGeometry g;
    g.clientTop = 0;
    g.legendBottom = 500;
    int upper = 0, lower = 0;
    legend::DragLimits(g, upper, lower);
    EXPECT_EQ(lower, 500 - 22 - 22);
    EXPECT_EQ(upper, 500 - 8 * 22 - 22); // eight rows fit below the reserve
    EXPECT_EQ(legend::RowsAfterDrag(g, 0, 2, 456), 8);
    EXPECT_EQ(legend::RowsAfterDrag(g, 499, 2, 456), 1);
    EXPECT_EQ(legend::RowsAfterDrag(g, 500 - 22 - 3 * 22, 2, 456), 3);
    // A short frame: the legend top stays at least 120 pixels from the top.
    g.legendBottom = 230;
    legend::DragLimits(g, upper, lower);
    EXPECT_GE(upper, 120);
    const int rows = legend::RowsAfterDrag(g, 0, 1, 186);
    EXPECT_GE(g.legendBottom - legend::LegendHeight(rows, 22, 22), 120);
    EXPECT_TRUE(legend::OnLegendEdge(97, 100));
    EXPECT_FALSE(legend::OnLegendEdge(96, 100));
    EXPECT_FALSE(legend::OnLegendEdge(100, 100));
}

TEST(LegendRulesTest, ReferenceTextsAreCheckedAndRead) {
    for (const char* good : {"-1.5E-3", "250m", "+4", "1e5", "", "0.5"})
        EXPECT_TRUE(legend::IsValidNumberText(good)) << good;
    for (const char* bad : {"2e3k", "1.2.3", "e5", "5-", "1m5", "--1", "1.e5", "x"})
        EXPECT_FALSE(legend::IsValidNumberText(bad)) << bad;
    double v = 0.0;
    ASSERT_TRUE(legend::ParseReference("1.5 mVdc", "VDC", v));
    EXPECT_DOUBLE_EQ(v, 0.0015);
    ASSERT_TRUE(legend::ParseReference("-2 V", "V", v)); // a leading sign is a number
    EXPECT_DOUBLE_EQ(v, -2.0);
    EXPECT_FALSE(legend::ParseReference("2e15", "V", v));
    EXPECT_FALSE(legend::ParseReference("abc", "V", v));
    EXPECT_TRUE(legend::IsReferenceCharacter('-'));
    EXPECT_FALSE(legend::IsReferenceCharacter('x'));
}

TEST(LegendRulesTest, AHeldSpinAcceleratesTo20Milliseconds) {
    legend::SpinRepeat repeat;
    // Steps within one second: the second half holds more than the first.
    int elapsed = repeat.Interval();
    int firstHalf = 1, secondHalf = 0;
    while (elapsed < 1000) {
        const int next = repeat.Tick();
        (elapsed < 500 ? firstHalf : secondHalf) += 1;
        elapsed += next;
    }
    EXPECT_GT(secondHalf, firstHalf);
    for (int i = 0; i < 10; ++i)
        repeat.Tick();
    EXPECT_EQ(repeat.Interval(), 20);
    repeat.Release();
    EXPECT_EQ(repeat.Interval(), 200);
}

TEST(TextDisplayTest, CellsSplitTheAreaInsideTheMargins) {
    CTextDisplay text(1, 3);
    text.CreateLabels();
    text.SetMargins(0.0, 0.05, 0.0, 0.0);
    const auto area = text.ApplyMargins({0, 0, 400, 20});
    EXPECT_EQ(area.left, 20);
    const auto c1 = text.CellRect(area, 0, 1);
    EXPECT_EQ(c1.left, 20 + 126);
    EXPECT_EQ(c1.Width(), 126);
    text.SetLabelValue(0, 2, std::string(100, 'x'));
    EXPECT_EQ(text.Label(0, 2)->Part(2).size(), 79u);
    EXPECT_EQ(text.Label(1, 0), nullptr); // no such row
    text.SetLabelValue(3, 0, "ignored");
    std::vector<tvane::chart::ChartRect> repainted;
    text.SetRepaint([&](const tvane::chart::ChartRect& r) { repainted.push_back(r); });
    text.SetLabelValue(0, 0, "before drawing"); // no cell yet: nothing to repaint
    EXPECT_TRUE(repainted.empty());
    text.Label(0, 0)->cell = text.CellRect(area, 0, 0);
    text.SetLabelValue(0, 0, "after");
    ASSERT_EQ(repainted.size(), 1u);
    EXPECT_EQ(repainted[0], text.Label(0, 0)->cell);
}

TEST(TextDisplayTest, StoresItsLabelsAndRejectsABadColumnCount) {
    CTextDisplay text(1, 3);
    text.CreateLabels();
    text.SetLabelPrefix(0, 1, "Time/Div");
    text.SetLabelSeparator(0, 1, ": ");
    text.SetLabelFormat(0, 1, 0x21);
    const Bytes bytes = Store([&](tvane::CArchive& ar) { text.Serialize(ar); });
    CTextDisplay loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_NE(loaded.Label(0, 1), nullptr);
    EXPECT_EQ(loaded.Label(0, 1)->Text(), "Time/Div: ");
    EXPECT_EQ(loaded.Label(0, 1)->GetFormat(), 0x21u);
    EXPECT_EQ(loaded.Columns(), 3);
    // The column count sits after the background and the font.
    Bytes damaged = bytes;
    const Bytes reference = Store([&](tvane::CArchive& ar) {
        CTextDisplay other(1, 3);
        other.CreateLabels();
        other.Serialize(ar);
    });
    CTextDisplay zero(1, 1);
    zero.CreateLabels();
    const Bytes one = Store([&](tvane::CArchive& ar) { zero.Serialize(ar); });
    std::size_t at = 0;
    while (at < one.size() && one[at] == reference[at])
        ++at;
    ASSERT_LT(at, damaged.size());
    damaged[at] = 0;
    CTextDisplay bad;
    EXPECT_THROW(Load(damaged, [&](tvane::CArchive& ar) { bad.Serialize(ar); }),
                 tvane::CArchiveException);
}

} // namespace
