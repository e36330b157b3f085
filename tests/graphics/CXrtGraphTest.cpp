#include <gtest/gtest.h>

#include <vector>

#include "GraphicsTestSupport.h"
#include "graphics/CXrtGraph.h"
#include "graphics/CXrtGraphData.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "shared/CGraphException.h"

namespace {

using namespace graphicstest;
using tvane::chart::ChartPoint;
using tvane::chart::ChartStyle;
namespace prop = tvane::chart::prop;
constexpr double kGraphHole = 9.9e37;

std::vector<double> Xs(const CXrtGraphData& data, int series) {
    std::vector<double> xs;
    for (int i = 0; i < data.GetSeriesPointCount(series); ++i)
        xs.push_back(data.GetSeriesX(series, i));
    return xs;
}

// A created chart, 400 x 300, plot area (50, 20) - (380, 270), x 0..100, y -1..1.
class CXrtGraphTest : public ::testing::Test {
protected:
    CXrtGraphTest() {
        graph.Create(parent, {0, 0, 400, 300});
        chart().SetWindowSize(400, 300);
        chart().SetValues({{prop::kLeftMargin, 50},
                           {prop::kTopMargin, 20},
                           {prop::kRightMargin, 20},
                           {prop::kBottomMargin, 30},
                           {prop::kXAxisMin, 0.0},
                           {prop::kXAxisMax, 100.0},
                           {prop::kYAxisMin, -1.0},
                           {prop::kYAxisMax, 1.0}});
    }
    tvane::chart::Chart& chart() { return *graph.GetChart(); }

    FakeChartParent parent;
    CXrtGraph graph;
};

TEST_F(CXrtGraphTest, CreationFailuresNameTheModuleAndLine) {
    FakeChartParent refusing;
    refusing.canCreate = false;
    CXrtGraph other;
    for (bool restore : {false, true}) {
        try {
            if (restore)
                other.RestoreChartState(refusing, {0, 0, 10, 10});
            else
                other.Create(refusing, {0, 0, 10, 10});
            FAIL() << "no exception";
        } catch (const CGraphException& e) {
            EXPECT_EQ(e.Cause(), "Create Failed");
            EXPECT_EQ(e.SourceFile(), "Xrtgraph");
            EXPECT_EQ(e.Line(), restore ? 69 : 52);
        }
        EXPECT_EQ(other.GetChart(), nullptr);
    }
    EXPECT_EQ(parent.rect, (tvane::chart::ChartRect{0, 0, 400, 300}));
}

TEST_F(CXrtGraphTest, ThePlotAreaComesFromTheChartsGeometry) {
    EXPECT_EQ(graph.GetPlotArea(), (tvane::chart::ChartRect{50, 20, 380, 270}));
    EXPECT_EQ(graph.GetPlotArea(), chart().PlotArea());
    // Stored margins that leave no room: the chart's own empty area, the one
    // it maps data on, so a pixel read back is laid out on it again.
    chart().SetValues({{prop::kLeftMargin, 360}, {prop::kRightMargin, 100}});
    EXPECT_EQ(graph.GetPlotArea(), chart().PlotArea());
    EXPECT_EQ(graph.GetPlotArea().Width(), 0);
}

TEST_F(CXrtGraphTest, APointOutsideTheAxesStillMapsToAPixel) {
    ChartPoint p{7, 7};
    graph.DataToPixel(kGraphHole, 0.0, 1, p);
    EXPECT_EQ(p, (ChartPoint{7, 7})); // holes change nothing
    graph.DataToPixel(150.0, 2.0, 1, p);
    EXPECT_EQ(p, (ChartPoint{50 + 495, 20 - 125}));
    graph.DataToPixel(-50.0, 0.0, 1, p);
    EXPECT_EQ(p.x, 50 - 165);
    graph.SetInverted(true);
    graph.DataToPixel(150.0, 0.0, 1, p);
    EXPECT_EQ(p, (ChartPoint{215, 20 + 375}));

    tvane::chart::ChartLayout::PointF d;
    graph.SetInverted(false);
    graph.PixelToData(380 + 33, 20 - 25, d, 1);
    EXPECT_NEAR(d.x, 110.0, 1e-9);
    EXPECT_NEAR(d.y, 1.2, 1e-9);
}

TEST_F(CXrtGraphTest, PickingInsideAndOutsideThePlotArea) {
    CXrtGraphData marks(2, 2, 4);
    marks.GetData()->Append(1, 50.0, 0.0);
    graph.GetChart()->SetData(2, marks.GetData());
    auto pick = graph.Pick(2, 218, 148, tvane::chart::Chart::kPickXY); // the mark is at (215, 145)
    EXPECT_EQ(pick.region, tvane::chart::PickResult::kPlotArea);
    EXPECT_EQ(pick.series, 1);
    EXPECT_LT(pick.distance, 6);
    pick = graph.Pick(2, 10, 150, tvane::chart::Chart::kPickXY);
    EXPECT_NE(pick.region, tvane::chart::PickResult::kPlotArea);
    EXPECT_GT(pick.distance, 6);
}

TEST_F(CXrtGraphTest, AZeroSpanAxisDoesNotDivideByZero) {
    chart().SetValues({{prop::kXAxisMin, 5.0},
                       {prop::kXAxisMax, 5.0},
                       {prop::kYAxisMin, 0.0},
                       {prop::kYAxisMax, 0.0}});
    ChartPoint p;
    graph.DataToPixel(7.0, 3.0, 1, p);
    EXPECT_EQ(p, (ChartPoint{215, 145}));
    chart().SetValues({{prop::kLeftMargin, 400}, {prop::kRightMargin, 0}});
    tvane::chart::ChartLayout::PointF d;
    graph.PixelToData(500, 10, d, 1);
    EXPECT_EQ(d.x, 5.0);
}

TEST_F(CXrtGraphTest, MakingRoomKeepsTheNewestPoints) {
    struct Case {
        int before; // points held, of capacity 5
        int room;
        std::vector<double> kept;
    };
    for (const Case& c : {Case{5, 1, {1, 2, 3, 4}}, Case{5, 2, {2, 3, 4}}, Case{5, 4, {4}},
                          Case{4, 3, {2, 3}}, Case{3, 4, {2}}, Case{5, 5, {}}, Case{5, 9, {}}}) {
        CXrtGraphData data(2, 1, 5);
        for (int i = 0; i < c.before; ++i)
            data.GetData()->Append(0, i, i);
        EXPECT_EQ(graph.MakeRoom(&data, c.room, 0), 1);
        EXPECT_EQ(Xs(data, 0), c.kept) << c.before << " + " << c.room;
        for (int i = 0; i < std::min(c.room, 5); ++i)
            EXPECT_TRUE(data.GetData()->Append(0, 10 + i, 0)) << c.before << " + " << c.room;
    }
    CXrtGraphData fits(2, 1, 5);
    fits.GetData()->Append(0, 1, 1);
    EXPECT_EQ(graph.MakeRoom(&fits, 4, 0), 1);
    EXPECT_EQ(Xs(fits, 0), std::vector<double>{1});
    CXrtGraphData array(1, 1, 2);
    array.SetPointCount(2);
    EXPECT_EQ(graph.MakeRoom(&array, 1, 0), 0);
}

TEST_F(CXrtGraphTest, TheValueAtX) {
    CXrtGraphData data(2, 1, 16);
    for (int i = 0; i < 9; ++i)
        data.GetData()->Append(0, i * 10.0, i);
    graph.SetData(data.GetData());
    double y = 0;
    struct Case {
        double x;
        int result;
        double y;
    };
    // Between two points the search ends on one of them.
    for (const Case& c :
         {Case{100.0, 1, 8.0}, Case{80.0, 1, 8.0}, Case{30.0, 1, 3.0}, Case{0.0, 1, 0.0},
          Case{-1.0, 0, kGraphHole}, Case{41.0, 1, 5.0}, Case{69.0, 1, 7.0}}) {
        EXPECT_EQ(graph.GetValueAtX(0, c.x, y), c.result) << c.x;
        EXPECT_EQ(y, c.y) << c.x;
    }
}

TEST_F(CXrtGraphTest, ValueLabelsThinOutWhenTheyWouldOverlap) {
    // Ten labels over 330 pixels: a pitch of 33. At precision 3 the widest text
    // "100.000" measures 7 x 7.2 = 50.4 pixels, so every second label shows.
    chart().SetInt(prop::kXPrecision, 3);
    graph.SetValueLabels(prop::kXValueLabels, 0.0, 100.0, -1, 1);
    const auto labels = chart().GetValueLabels(prop::kXValueLabels);
    ASSERT_EQ(labels.size(), 10u);
    EXPECT_EQ(labels[0].value, 10.0);
    EXPECT_EQ(labels[0].text, "10.000");
    EXPECT_EQ(labels[1].text, " ");
    EXPECT_EQ(labels[2].text, "30.000");
    EXPECT_EQ(labels[9].value, 100.0);
    EXPECT_EQ(labels[9].text, " ");

    // In the middle of each interval; eight by default on y.
    graph.SetValueLabels(prop::kYValueLabels, -1.0, 1.0, -1, 0);
    const auto y = chart().GetValueLabels(prop::kYValueLabels);
    ASSERT_EQ(y.size(), 8u);
    EXPECT_EQ(y[0].value, -0.875);
}

TEST_F(CXrtGraphTest, ATinyValueReadsZeroUnlessTheExponentIsShorter) {
    chart().SetInt(prop::kXPrecision, 3);
    graph.SetValueLabels(prop::kXValueLabels, 1e-12 - 1e-12, 1e-12, 1, 1);
    EXPECT_EQ(chart().GetValueLabels(prop::kXValueLabels)[0].text, "0.0");
    chart().SetInt(prop::kXPrecision, 1);
    graph.SetValueLabels(prop::kXValueLabels, 0.0, 1e20, 1, 1);
    EXPECT_EQ(chart().GetValueLabels(prop::kXValueLabels)[0].text, "1.0e+20");
}

TEST_F(CXrtGraphTest, LabelsOnAPlotNarrowerThanTheirCount) {
    chart().SetValues({{prop::kLeftMargin, 395}, {prop::kRightMargin, 0}}); // 5 pixels
    graph.SetValueLabels(prop::kXValueLabels, 0.0, 100.0, 10, 1);
    const auto labels = chart().GetValueLabels(prop::kXValueLabels);
    ASSERT_EQ(labels.size(), 10u);
    EXPECT_NE(labels[0].text, " ");
    for (std::size_t i = 1; i < labels.size(); ++i)
        EXPECT_EQ(labels[i].text, " ");
    graph.SetValueLabels(prop::kYValueLabels, 0.0, 1.0, 0, 1);
    EXPECT_TRUE(chart().GetValueLabels(prop::kYValueLabels).empty());
    graph.ClearXValueLabels();
    EXPECT_TRUE(chart().GetValueLabels(prop::kXValueLabels).empty());
}

TEST_F(CXrtGraphTest, AValueAxisIsLabelledAtBothEndsAndEveryDivision) {
    chart().SetInt(prop::kYPrecision, 2);
    graph.LabelValueAxis(prop::kYValueLabels, -1.0, 1.0);
    const auto y = chart().GetValueLabels(prop::kYValueLabels);
    ASSERT_EQ(y.size(), 9u);
    EXPECT_EQ(y.front().value, -1.0);
    EXPECT_EQ(y.front().text, "-1.00");
    EXPECT_EQ(y[4].text, "0.0");
    EXPECT_EQ(y.back().value, 1.0);
    EXPECT_EQ(y.back().text, "1.00");
    graph.LabelValueAxis(prop::kXValueLabels, 0.0, 100.0);
    EXPECT_EQ(chart().GetValueLabels(prop::kXValueLabels).size(), 11u);
}

TEST_F(CXrtGraphTest, TheValueGridGoesOnAndOff) {
    graph.ApplyValueGrid(true);
    EXPECT_FALSE(chart().Layout().y.grid.empty());
    EXPECT_TRUE(chart().Layout().x.grid.empty());
    graph.ApplyValueGrid(false);
    EXPECT_TRUE(chart().Layout().y.grid.empty());
    EXPECT_TRUE(chart().Layout().x.grid.empty());
    graph.ApplyValueGrid(true);
    EXPECT_FALSE(chart().Layout().y.grid.empty());
    // Switching it on again when it is on changes no property.
    const auto version = chart().PropertyVersion();
    graph.ApplyValueGrid(true);
    EXPECT_EQ(chart().PropertyVersion(), version);
}

TEST_F(CXrtGraphTest, SeriesStylesChangeTheirOwnFields) {
    CXrtGraphData data(2, 3, 4);
    graph.SetData(data.GetData());
    graph.SetSeriesColor(-1, 0x00FF00, 1);
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(graph.GetStyles1()[s].color, 0x00FF00);
        EXPECT_EQ(graph.GetStyles1()[s].pointColor, 0x00FF00);
    }
    const std::uint32_t keep = 0xFFFFFFFF;
    const std::uint32_t size = 9;
    graph.SetSeriesStyle(1, tvane::chart::kPointStar, &size, tvane::chart::kLineNone, 1);
    graph.SetSeriesPoint(1, tvane::chart::kPointBox, &keep, 1);
    ChartStyle style = graph.GetStyles1()[1];
    EXPECT_EQ(style.pointShape, tvane::chart::kPointBox);
    EXPECT_EQ(style.pointSize, 9u);
    EXPECT_EQ(graph.GetSeriesLine(1, 1), tvane::chart::kLineNone);
    graph.SetSeriesLine(0, tvane::chart::kLineDotted, 2);
    EXPECT_EQ(graph.GetSeriesLine(0, 2), tvane::chart::kLineDotted);
    EXPECT_EQ(graph.GetSeriesColor(0, 1), 0x00FF00);

    graph.SetGridColor(0x123456);
    EXPECT_EQ(graph.GetGridColor(), 0x123456);
    EXPECT_EQ(chart().GetStyle(prop::kYGridStyle).color, 0x123456);

    std::vector<std::string> names;
    graph.FillPointShapeList(names);
    EXPECT_EQ(names,
              (std::vector<std::string>{"Asterisk", "Circle", "Diamond", "Square", "Triangle"}));
}

TEST_F(CXrtGraphTest, NestedHoldsThroughTheGraph) {
    for (int i = 0; i < 3; ++i)
        graph.SetRepaint(false);
    EXPECT_FALSE(graph.GetRepaint());
    for (int i = 0; i < 3; ++i)
        graph.SetRepaint(true);
    EXPECT_TRUE(graph.GetRepaint());
}

} // namespace
