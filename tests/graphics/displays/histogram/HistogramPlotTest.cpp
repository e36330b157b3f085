// The histogram's chart without its window.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/CXrtGraphData.h"
#include "graphics/displays/histogram/CHistogramPlot.h"
#include "graphics/displays/histogram/CHistogramStats.h"
#include "graphics/displays/histogram/HistogramBins.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "scan/CChannelInfo.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace {

using namespace graphicstest;
namespace prop = tvane::chart::prop;

std::vector<double> LabelValues(const tvane::chart::Chart& chart, int id) {
    std::vector<double> values;
    for (const auto& label : chart.GetValueLabels(id))
        values.push_back(label.value);
    return values;
}

// A new plot in a 400 x 300 window, and a frame's bin table beside it.
class HistogramPlotTest : public ::testing::Test {
protected:
    HistogramPlotTest() {
        plot.Create(parent, {0, 0, 400, 300}, tvane::chart::ChartFont{});
        bins.SetTable(table.GetData());
        bins.Reset();
    }
    tvane::chart::Chart& chart() { return *plot.GetChart(); }
    void Bin(std::vector<double> values) {
        bins.AddReadings(values.data(), static_cast<int>(values.size()), stats);
        plot.SetBinData(static_cast<int>(values.size()), *table.GetData());
    }

    FakeChartParent parent;
    CHistogramPlot plot;
    CXrtGraphData table{tvane::chart::ChartData::kGeneral, 2, 10};
    HistogramBins bins;
    CHistogramStats stats;
};

TEST_F(HistogramPlotTest, ANewPlotShowsTenEmptyRedBarsOnItsAxes) {
    const tvane::chart::ChartData& data = *plot.GetPlotData()->GetData();
    ASSERT_EQ(data.Count(0), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(data.Y(0, i), 0.0);
    EXPECT_EQ(chart().GetInt(prop::kChartType), tvane::chart::kChartTypeBar);
    EXPECT_EQ(chart().GetDouble(prop::kXAxisMin), 0.0);
    EXPECT_EQ(chart().GetDouble(prop::kXAxisMax), 100.0);
    EXPECT_EQ(chart().GetDouble(prop::kYAxisMin), 0.0);
    EXPECT_EQ(chart().GetDouble(prop::kYAxisMax), 100.0);
    const std::vector<double> centres{5, 15, 25, 35, 45, 55, 65, 75, 85, 95};
    EXPECT_EQ(LabelValues(chart(), prop::kXValueLabels), centres);
    EXPECT_EQ(LabelValues(chart(), prop::kYValueLabels), centres);
    EXPECT_EQ(chart().GetText(prop::kYAxisTitle), "Freq (%)");
    EXPECT_EQ(plot.GetBackgroundColor(), 0x000000);
    EXPECT_EQ(plot.GetAxisColor(), 0xFFFFFF);
    EXPECT_EQ(plot.GetGridColor(), 0x808080);
    EXPECT_EQ(plot.GetSeriesColor(0, 1), 0x0000FF);
    EXPECT_EQ(chart().GetDouble(prop::kYDataMax), 100.0);
    EXPECT_FALSE(chart().Layout().y.grid.empty());
    EXPECT_EQ(plot.GetOrientation(), 1);
}

TEST_F(HistogramPlotTest, AxisEndsChangeOnlyWhereTheUserSeesIt) {
    EXPECT_FALSE(plot.SetXMin(0.00000000001, true));
    EXPECT_FALSE(plot.SetXMax(9.9e37, true));
    EXPECT_FALSE(plot.SetYMax(9.9e37, true));
    EXPECT_TRUE(plot.SetXMax(50.0, true));
    EXPECT_EQ(chart().GetDouble(prop::kXAxisMax), 50.0);
    // Not applied until asked for.
    EXPECT_TRUE(plot.SetYMax(40.0, false));
    EXPECT_EQ(chart().GetDouble(prop::kYAxisMax), 100.0);
    EXPECT_TRUE(plot.SetYMin(10.0, true));
    EXPECT_EQ(chart().GetDouble(prop::kYAxisMax), 40.0);
    EXPECT_EQ(chart().GetDouble(prop::kYAxisMin), 10.0);
    EXPECT_FALSE(plot.SetXPrecision(2, true));
    EXPECT_TRUE(plot.SetXPrecision(3, true));
    EXPECT_EQ(chart().GetValueLabels(prop::kXValueLabels).front().text, "2.500");
    plot.SetGrid(false);
    plot.ApplyGrid();
    EXPECT_TRUE(chart().Layout().y.grid.empty());
}

TEST_F(HistogramPlotTest, TheBinsOfTheFrameBecomeBarsOfTheirPercentages) {
    Bin({5.0, 15.0, 15.0, 17.0, 150.0});
    const tvane::chart::ChartData& data = *plot.GetPlotData()->GetData();
    EXPECT_EQ(data.X(0, 1), 15.0);
    EXPECT_DOUBLE_EQ(data.Y(0, 1), 60.0);
    EXPECT_DOUBLE_EQ(data.Y(0, 0), 20.0);
    EXPECT_EQ(plot.GetBinCounts()[1], 3);
    EXPECT_DOUBLE_EQ(chart().GetDouble(prop::kYDataMax), 60.0);
    // The frequency axis stays until it is asked to follow.
    EXPECT_EQ(chart().GetDouble(prop::kYAxisMax), 100.0);
    plot.SetFrequencyFollow(true);
    Bin({15.0});
    EXPECT_DOUBLE_EQ(plot.GetYMax(), 200.0 / 3.0);
    EXPECT_DOUBLE_EQ(chart().GetDouble(prop::kYAxisMax), 200.0 / 3.0);
    // A table of another size is not taken.
    CXrtGraphData other(tvane::chart::ChartData::kGeneral, 2, 12);
    EXPECT_FALSE(plot.SetBinData(1, *other.GetData()));
}

TEST_F(HistogramPlotTest, TheCountOfTheBarUnderTheMouse) {
    CChannelInfo channel;
    channel.RangeMin = 0.0;
    channel.RangeMax = 100.0;
    plot.SetRangeAt(0);
    ASSERT_TRUE(plot.SelectRange(0, channel));
    Bin({15.0, 15.0, 16.0, 55.0});
    const auto& layout = chart().Layout();
    const auto middle = [&](double x, double y) {
        const auto p = layout.Map(x, y);
        return std::pair<int, int>{static_cast<int>(p.x), static_cast<int>(p.y)};
    };
    auto [x, y] = middle(15.0, 30.0);
    EXPECT_EQ(plot.HitTestBin(x, y), 1);
    EXPECT_TRUE(plot.MouseMove(x, y));
    EXPECT_EQ(plot.GetHoveredBin(), 1);
    EXPECT_EQ(plot.ReadoutText(), "3");
    EXPECT_EQ(plot.ReadoutPoint(), (tvane::chart::ChartPoint{x, y}));
    // Above a bar, and over an empty one, nothing is hit.
    std::tie(x, y) = middle(15.0, 90.0);
    EXPECT_EQ(plot.HitTestBin(x, y), -1);
    std::tie(x, y) = middle(35.0, 1.0);
    EXPECT_EQ(plot.HitTestBin(x, y), -1);
    // A bar whose value is the hole value is never hit.
    std::tie(x, y) = middle(55.0, 10.0);
    EXPECT_EQ(plot.HitTestBin(x, y), 5);
    plot.GetPlotData()->GetData()->SetY(0, 5, 9.9e37);
    EXPECT_EQ(plot.HitTestBin(x, y), -1);
    // Leaving the plotting area or a right press removes the readout.
    std::tie(x, y) = middle(15.0, 30.0);
    plot.MouseMove(x, y);
    EXPECT_FALSE(plot.MouseMove(1, 1));
    EXPECT_EQ(plot.ReadoutText(), "");
    plot.MouseMove(x, y);
    plot.RightButtonDown();
    EXPECT_EQ(plot.GetHoveredBin(), -1);
}

TEST_F(HistogramPlotTest, HorizontalBarsSwapTheAxesAndTheirTitles) {
    plot.SetOrientation(0);
    EXPECT_EQ(chart().GetInt(prop::kInverted), 1);
    EXPECT_EQ(chart().GetInt(prop::kXTitleRotation), 2);
    EXPECT_EQ(chart().GetInt(prop::kYTitleRotation), 1);
    plot.SetOrientation(1);
    EXPECT_EQ(chart().GetInt(prop::kInverted), 0);
    EXPECT_EQ(chart().GetInt(prop::kXTitleRotation), 1);
    EXPECT_EQ(chart().GetInt(prop::kYTitleRotation), 2);
    const auto version = chart().PropertyVersion();
    plot.SetOrientation(1);
    EXPECT_EQ(chart().PropertyVersion(), version);
}

TEST_F(HistogramPlotTest, TheBinCountMakesNewData) {
    EXPECT_FALSE(plot.SetBinCount(10));
    EXPECT_FALSE(plot.SetBinCount(0));
    EXPECT_FALSE(plot.SetBinCount(101));
    EXPECT_TRUE(plot.SetBinCount(100));
    EXPECT_EQ(plot.GetPlotData()->GetCapacity(), 100);
    EXPECT_EQ(plot.GetBinCounts().size(), 100u);
    EXPECT_EQ(chart().GetData(1), plot.GetPlotData()->GetData());
    EXPECT_EQ(chart().GetValueLabels(prop::kXValueLabels).size(), 100u);
}

TEST_F(HistogramPlotTest, AppearanceItemsAnswerTheirOwnAttributes) {
    GRAPHITEMPROPS props;
    props.mask = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor | GRAPHITEMPROPS::kFont;
    EXPECT_TRUE(plot.GetAppearanceItem(8, props));
    EXPECT_EQ(props.itemName, "Axis");
    EXPECT_FALSE(plot.GetAppearanceItem(9, props)); // no font
    props.mask = GRAPHITEMPROPS::kLabelName | GRAPHITEMPROPS::kLabelText;
    EXPECT_TRUE(plot.GetAppearanceItem(12, props));
    EXPECT_EQ(props.labelName, "Y Axis");
    EXPECT_EQ(props.labelText, "Freq (%)");
    EXPECT_FALSE(plot.GetAppearanceItem(3, props));

    props.mask = GRAPHITEMPROPS::kColor;
    props.color = 0x00FF00;
    EXPECT_TRUE(plot.SetAppearanceItem(10, props));
    EXPECT_EQ(plot.GetSeriesColor(0, 1), 0x00FF00);
    props.mask = GRAPHITEMPROPS::kLabelText;
    props.labelText = "Volts";
    EXPECT_TRUE(plot.SetAppearanceItem(11, props));
    EXPECT_EQ(chart().GetText(prop::kXAxisTitle), "Volts");
}

TEST_F(HistogramPlotTest, AStoredPlotComesBackAndBadCountsAreRejected) {
    parent.hasReadings = true;
    CChannelInfo channel;
    channel.Number = 104;
    plot.SetRangeAt(0);
    plot.SelectRange(0, channel);
    Bin({-0.5, 0.25, 0.75});
    plot.SetOrientation(0);
    const Bytes bytes = Store([&](tvane::CArchive& ar) { plot.Serialize(ar); });

    CHistogramPlot loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    FakeChartParent other;
    other.hasReadings = true;
    ASSERT_TRUE(loaded.Recreate(other, {0, 0, 400, 300}));
    EXPECT_EQ(loaded.GetBinCounts(), plot.GetBinCounts());
    EXPECT_EQ(loaded.GetOrientation(), 0);
    ASSERT_NE(loaded.GetCurrentRange(), nullptr);
    EXPECT_EQ(loaded.GetCurrentRange()->m_channel.Number, 104);
    EXPECT_EQ(loaded.GetPlotData()->GetData()->Y(0, 5), plot.GetPlotData()->GetData()->Y(0, 5));
    EXPECT_EQ(loaded.GetChart()->GetInt(prop::kInverted), 1);
    EXPECT_EQ(Store([&](tvane::CArchive& ar) { loaded.Serialize(ar); }), bytes);

    // The bin count follows the chart state; a count outside 1..100, or an
    // orientation other than 0 and 1, rejects the archive.
    const std::size_t at = 8 + U32At(bytes, 4);
    ASSERT_EQ(U32At(bytes, at), 10u);
    for (std::pair<std::size_t, std::uint32_t> bad :
         {std::pair<std::size_t, std::uint32_t>{at, 0}, {at, 101}, {at + 4 * 4 + 4 * 8, 2}}) {
        Bytes damaged = bytes;
        for (int i = 0; i < 4; ++i)
            damaged[bad.first + i] = static_cast<std::uint8_t>(bad.second >> (8 * i));
        CHistogramPlot rejected;
        EXPECT_THROW(Load(damaged, [&](tvane::CArchive& ar) { rejected.Serialize(ar); }),
                     tvane::CArchiveException)
            << bad.first << " " << bad.second;
    }
}

} // namespace
