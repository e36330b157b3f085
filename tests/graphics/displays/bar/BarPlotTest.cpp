// The bar meter's chart without its window.
#include <gtest/gtest.h>

#include <cmath>

#include <vector>

#include "graphics/CXrtGraphData.h"
#include "graphics/displays/bar/CBarPlot.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "scan/CChannelInfo.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace {

using namespace graphicstest;
namespace prop = tvane::chart::prop;
constexpr std::int32_t kGreen = 0x00FF00;
constexpr std::int32_t kBlue = 0xFF0000;
constexpr std::int32_t kRed = 0x0000FF;

CChannelInfo Channel(std::int32_t alarmTest, double low = 2.0, double high = 8.0) {
    CChannelInfo c;
    c.Number = 101;
    c.Label = "<101>";
    c.AlarmTest = alarmTest;
    c.LowLimit = low;
    c.HighLimit = high;
    c.RangeMin = 0.0;
    c.RangeMax = 10.0;
    return c;
}

// A new bar in a 200 x 300 window, and a frame's reading buffer beside it.
class BarPlotTest : public ::testing::Test {
protected:
    BarPlotTest() {
        plot.Create(parent, {0, 0, 200, 300}, tvane::chart::ChartFont{});
        plot.GetChart()->SetWindowSize(200, 300);
    }
    tvane::chart::Chart& chart() { return *plot.GetChart(); }
    void Show(double value) {
        readings.GetData()->SetPoint(0, 0, 0.0, value);
        plot.Update(1, *readings.GetData());
    }
    // Where a limit line stands across the value axis, in window pixels.
    int LinePixel(int line) const {
        const CXrtMarker* marker = nullptr;
        for (int i = 0; i < plot.GetLimitLines()->Count(); ++i)
            if (i + 1 == line)
                marker = &plot.GetLimitLines()->LineAt(i);
        return marker->IsVertical() ? marker->Line().left : marker->Line().top;
    }
    // Where a value lies along the value axis (down the side, or along the
    // bottom of horizontal bars), to the nearest pixel as the chart maps it.
    int ValuePixel(double value) const {
        return static_cast<int>(std::lround(plot.GetChart()->Layout().YPosition(value)));
    }

    FakeChartParent parent;
    CBarPlot plot;
    CXrtGraphData readings{tvane::chart::ChartData::kGeneral, 1, 1};
};

TEST_F(BarPlotTest, ANewBarMeterIsAGreenBarOnBlackWithoutAChannel) {
    EXPECT_EQ(chart().GetInt(prop::kChartType), tvane::chart::kChartTypeBar);
    EXPECT_EQ(chart().GetInt(prop::kXAnnotation), tvane::chart::kAnnotatePointLabels);
    EXPECT_EQ(chart().GetInt(prop::kClusterWidth), 100);
    EXPECT_EQ(chart().GetInt(prop::kYPrecision), 2);
    EXPECT_EQ(plot.GetBackgroundColor(), 0x000000);
    EXPECT_EQ(plot.GetAxisColor(), 0xFFFFFF);
    EXPECT_EQ(plot.GetSeriesColor(0, 1), kGreen);
    EXPECT_EQ(chart().GetTexts(prop::kPointLabels), std::vector<std::string>{"<None>"});
    EXPECT_EQ(plot.GetValue(), 0.0);
    // The value axis is annotated from end to end.
    const auto labels = chart().GetValueLabels(prop::kYValueLabels);
    ASSERT_EQ(labels.size(), 9u);
    EXPECT_EQ(labels.front().text, "0.0");
    EXPECT_EQ(labels.back().text, "1.00");
    ASSERT_EQ(plot.GetLimitLines()->Count(), 2);
    EXPECT_FALSE(plot.GetLimitLines()->LineAt(0).IsVertical());
    EXPECT_FALSE(plot.IsLimitLineShown(CBarPlot::kHighLine));
    EXPECT_FALSE(plot.IsLimitLineShown(CBarPlot::kLowLine));
}

TEST_F(BarPlotTest, TheBarTakesTheAlarmColourBeyondALimitOnly) {
    struct Case {
        std::int32_t mode;
        double value;
        std::int32_t colour;
    } cases[] = {
        {3, 5.0, kGreen}, {3, 2.0, kGreen}, {3, 1.999, kBlue}, {3, 8.0, kGreen}, {3, 8.001, kRed},
        {3, 5.0, kGreen}, {2, 1.0, kGreen}, {2, 9.0, kRed},    {1, 9.0, kGreen}, {1, -3.0, kBlue},
    };
    for (const Case& c : cases) {
        plot.SetChannel(0, Channel(c.mode));
        Show(c.value);
        EXPECT_EQ(plot.GetSeriesColor(0, 1), c.colour) << c.mode << " " << c.value;
        EXPECT_EQ(plot.GetValue(), c.value);
    }
    // Without limits the bar keeps the colour it has.
    plot.SetChannel(0, Channel(3));
    Show(9.0);
    plot.SetChannel(0, Channel(0));
    Show(1.0);
    EXPECT_EQ(plot.GetSeriesColor(0, 1), kRed);
    // The colours are the display's own.
    GRAPHITEMPROPS props;
    props.mask = GRAPHITEMPROPS::kColor;
    props.color = 0x00FFFF;
    plot.SetChannel(0, Channel(3));
    EXPECT_TRUE(plot.SetAppearanceItem(5, props));
    Show(9.5);
    EXPECT_EQ(plot.GetSeriesColor(0, 1), 0x00FFFF);
    EXPECT_EQ(plot.GetLimitLines()->GetLineColour(CBarPlot::kHighLine), 0x00FFFF);
}

TEST_F(BarPlotTest, LimitLinesStandAtTheLimitsInsideTheAxis) {
    plot.SetChannel(0, Channel(3, 2.0, 8.0));
    EXPECT_TRUE(plot.IsLimitLineShown(CBarPlot::kHighLine));
    EXPECT_TRUE(plot.IsLimitLineShown(CBarPlot::kLowLine));
    EXPECT_EQ(LinePixel(CBarPlot::kHighLine), ValuePixel(8.0));
    EXPECT_EQ(LinePixel(CBarPlot::kLowLine), ValuePixel(2.0));
    EXPECT_EQ(plot.GetLimitLines()->GetLineColour(CBarPlot::kHighLine), kRed);
    EXPECT_EQ(plot.GetLimitLines()->GetLineColour(CBarPlot::kLowLine), kBlue);
    // A limit outside the axis hides its line; a mode without it too.
    plot.SetChannel(0, Channel(3, -5.0, 8.0));
    EXPECT_FALSE(plot.IsLimitLineShown(CBarPlot::kLowLine));
    EXPECT_TRUE(plot.IsLimitLineShown(CBarPlot::kHighLine));
    plot.SetChannel(0, Channel(2, 2.0, 8.0));
    EXPECT_FALSE(plot.IsLimitLineShown(CBarPlot::kLowLine));
    EXPECT_TRUE(plot.IsLimitLineShown(CBarPlot::kHighLine));
    // A resized window lays the lines out again when it is next painted.
    chart().SetWindowSize(200, 500);
    plot.PlotAreaMayHaveChanged();
    plot.ChartRepainted();
    EXPECT_EQ(LinePixel(CBarPlot::kHighLine), ValuePixel(8.0));
}

TEST_F(BarPlotTest, SwitchingTheOrientationRebuildsTheLimitLines) {
    plot.SetChannel(0, Channel(3, 2.0, 8.0));
    const CGraphMarker* before = plot.GetLimitLines();
    plot.SetOrientation(CBarPlot::kVertical);
    EXPECT_EQ(plot.GetLimitLines(), before);

    plot.SetOrientation(CBarPlot::kHorizontal);
    EXPECT_EQ(chart().GetInt(prop::kInverted), 1);
    ASSERT_EQ(plot.GetLimitLines()->Count(), 2);
    EXPECT_TRUE(plot.GetLimitLines()->LineAt(0).IsVertical());
    EXPECT_TRUE(plot.GetLimitLines()->LineAt(1).IsVertical());
    EXPECT_TRUE(plot.IsLimitLineShown(CBarPlot::kHighLine));
    // The value axis runs along the bottom now: the lines stand at its pixels.
    EXPECT_EQ(LinePixel(CBarPlot::kHighLine), ValuePixel(8.0));
    EXPECT_EQ(LinePixel(CBarPlot::kLowLine), ValuePixel(2.0));
    EXPECT_LT(LinePixel(CBarPlot::kLowLine), LinePixel(CBarPlot::kHighLine));
    EXPECT_TRUE(plot.IsDrawingEnabled());

    plot.SetOrientation(CBarPlot::kVertical);
    EXPECT_EQ(chart().GetInt(prop::kInverted), 0);
    EXPECT_FALSE(plot.GetLimitLines()->LineAt(0).IsVertical());
}

TEST_F(BarPlotTest, TheLabelUnderTheBarIsCutTo19Characters) {
    CChannelInfo c = Channel(0);
    c.Label = "<101> a very long channel label";
    plot.SetChannel(0, c);
    EXPECT_EQ(chart().GetTexts(prop::kPointLabels),
              std::vector<std::string>{"<101> a very long c"});
    plot.RemoveChannel(0);
    EXPECT_EQ(chart().GetTexts(prop::kPointLabels), std::vector<std::string>{"<None>"});
    EXPECT_EQ(plot.GetRange(0), nullptr);
}

TEST_F(BarPlotTest, AStoredBarComesBackAndBadValuesAreRejected) {
    parent.hasReadings = true;
    plot.SetChannel(0, Channel(3, 2.0, 8.0));
    plot.SetOrientation(CBarPlot::kHorizontal);
    plot.SetGrid(true);
    plot.ApplyGrid(); // as the page does
    Show(1.0);
    const Bytes bytes = Store([&](tvane::CArchive& ar) { plot.Serialize(ar); });

    CBarPlot loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    // A window that gives the chart its size at once, as a real one does.
    struct SizedParent : FakeChartParent {
        std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart& chart,
                                                        const tvane::chart::ChartRect& r) override {
            chart.SetWindowSize(r.right - r.left, r.bottom - r.top);
            return FakeChartParent::CreateChartWindow(chart, r);
        }
    } other;
    other.hasReadings = true;
    ASSERT_TRUE(loaded.Recreate(other, {0, 0, 200, 300}));
    EXPECT_EQ(loaded.GetValue(), 1.0);
    EXPECT_EQ(loaded.GetSeriesColor(0, 1), kBlue);
    EXPECT_EQ(loaded.GetOrientation(), CBarPlot::kHorizontal);
    EXPECT_TRUE(loaded.GetGrid());
    EXPECT_EQ(loaded.GetAlarmMode(), 3);
    EXPECT_EQ(loaded.GetYMax(), 10.0);
    ASSERT_NE(loaded.GetRange(0), nullptr);
    EXPECT_EQ(loaded.GetRange(0)->m_channel.Number, 101);
    EXPECT_TRUE(loaded.IsLimitLineShown(CBarPlot::kHighLine));
    EXPECT_EQ(Store([&](tvane::CArchive& ar) { loaded.Serialize(ar); }), bytes);

    // Point count, then grid, four doubles, the drawing flag, the lines.
    const std::size_t at = 8 + U32At(bytes, 4);
    ASSERT_EQ(U32At(bytes, at), 1u);
    Bytes damaged = bytes;
    damaged[at] = 2;
    CBarPlot rejected;
    EXPECT_THROW(Load(damaged, [&](tvane::CArchive& ar) { rejected.Serialize(ar); }),
                 tvane::CArchiveException);
}

} // namespace
