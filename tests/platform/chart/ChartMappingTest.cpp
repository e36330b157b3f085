#include <gtest/gtest.h>

#include <cmath>

#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"

namespace tvane::chart {
namespace {

constexpr double kHole = ChartData::kDefaultHole;

// A 400 x 300 chart whose plot area is (50, 20) - (380, 270): 330 x 250 pixels,
// x from 0 to 100, y from -1 to 1.
class ChartMappingTest : public ::testing::Test {
protected:
    ChartMappingTest() {
        chart.SetWindowSize(400, 300);
        chart.SetValues({{prop::kLeftMargin, 50},
                         {prop::kTopMargin, 20},
                         {prop::kRightMargin, 20},
                         {prop::kBottomMargin, 30},
                         {prop::kXAxisMin, 0.0},
                         {prop::kXAxisMax, 100.0},
                         {prop::kYAxisMin, -1.0},
                         {prop::kYAxisMax, 1.0}});
        data = ChartData::Make(2, 2, 10);
        chart.SetData(1, data.get());
    }

    Chart chart;
    std::unique_ptr<ChartData> data;
};

TEST_F(ChartMappingTest, ThePlotAreaComesFromTheMarginsAndTheGraphRectangle) {
    EXPECT_EQ(chart.PlotArea(), (ChartRect{50, 20, 380, 270}));
    EXPECT_EQ(chart.GetInt(prop::kGraphWidth), 400);
    EXPECT_EQ(chart.GetInt(prop::kGraphHeight), 300);
    chart.SetValues({{prop::kGraphLeft, 10}, {prop::kGraphTop, 5}, {prop::kGraphWidth, 200}});
    EXPECT_EQ(chart.PlotArea(), (ChartRect{60, 25, 190, 270}));
}

TEST_F(ChartMappingTest, PixelToDataAndBackStaysWithinOnePixel) {
    for (bool inverted : {false, true}) {
        chart.SetInt(prop::kInverted, inverted ? 1 : 0);
        for (auto [x, y] : {std::pair{0.0, -1.0}, {100.0, 1.0}, {33.3, 0.25}, {71.0, -0.9}}) {
            const ChartPoint p = chart.DataToPixel(1, x, y);
            ASSERT_NE(p.x, -1);
            ASSERT_NE(p.y, -1);
            const auto d = chart.PixelToData(1, p.x, p.y);
            EXPECT_NEAR(d.x, x, 100.0 / 250.0) << inverted; // one pixel of x
            EXPECT_NEAR(d.y, y, 2.0 / 250.0) << inverted;
        }
    }
}

TEST_F(ChartMappingTest, AxesMapByOrientation) {
    EXPECT_EQ(chart.DataToPixel(1, 0.0, 1.0), (ChartPoint{50, 20}));
    EXPECT_EQ(chart.DataToPixel(1, 50.0, 0.0), (ChartPoint{215, 145}));
    chart.SetInt(prop::kInverted, 1);
    // The x axis runs down the left side, from the top; y runs left to right.
    EXPECT_EQ(chart.DataToPixel(1, 0.0, -1.0), (ChartPoint{50, 20}));
    EXPECT_EQ(chart.DataToPixel(1, 100.0, 1.0), (ChartPoint{380, 270}));
}

TEST_F(ChartMappingTest, OutsideTheAxesAndHolesGiveMinusOne) {
    EXPECT_EQ(chart.DataToPixel(1, 150.0, 0.0).x, -1);
    EXPECT_NE(chart.DataToPixel(1, 150.0, 0.0).y, -1);
    EXPECT_EQ(chart.DataToPixel(1, 50.0, 2.0).y, -1);
    EXPECT_EQ(chart.DataToPixel(1, kHole, 0.0), (ChartPoint{-1, -1}));
    EXPECT_EQ(chart.DataToPixel(1, 1.0, kHole), (ChartPoint{-1, -1}));
    const auto d = chart.PixelToData(1, 10, 100);
    EXPECT_EQ(d.x, kHole);
    EXPECT_NE(d.y, kHole);
}

TEST_F(ChartMappingTest, TheSecondSetUsesItsOwnVerticalBounds) {
    chart.SetValues({{prop::kY2AxisMin, 0.0}, {prop::kY2AxisMax, 10.0}});
    EXPECT_EQ(chart.DataToPixel(2, 0.0, 10.0), (ChartPoint{50, 20}));
    EXPECT_EQ(chart.DataToPixel(2, 0.0, -1.0).y, -1);
}

TEST_F(ChartMappingTest, AZeroSpanAxisMapsToTheMiddle) {
    chart.SetValues({{prop::kXAxisMin, 5.0}, {prop::kXAxisMax, 5.0}});
    EXPECT_EQ(chart.DataToPixel(1, 5.0, 0.0).x, 215);
    const auto d = chart.PixelToData(1, 100, 100);
    EXPECT_TRUE(std::isfinite(d.x));
}

TEST_F(ChartMappingTest, PickFindsTheNearestPointAndTellsThePlotArea) {
    data->Append(0, 10.0, 0.0);
    data->Append(0, 20.0, 0.5);
    data->Append(1, 20.0, kHole);
    data->Append(1, 90.0, -0.5);
    const ChartPoint target = chart.DataToPixel(1, 20.0, 0.5);
    PickResult pick = chart.Pick(1, target.x + 3, target.y + 4);
    EXPECT_EQ(pick.region, PickResult::kPlotArea);
    EXPECT_EQ(pick.series, 0);
    EXPECT_EQ(pick.point, 1);
    EXPECT_NEAR(pick.distance, 5, 1);

    pick = chart.Pick(1, 395, 150); // right of the plot area
    EXPECT_EQ(pick.region, PickResult::kOutside);
    EXPECT_EQ(pick.series, 1);
    EXPECT_EQ(pick.point, 1);

    EXPECT_EQ(chart.Pick(2, 100, 100).series, -1); // no second set
}

TEST_F(ChartMappingTest, PickInsideABarIsAHit) {
    auto bars = ChartData::Make(1, 1, 2);
    bars->SetPoint(0, 0, 0.0, 0.8);
    bars->SetPoint(0, 1, 1.0, 0.4);
    bars->SetCount(0, 2);
    chart.SetValues({{prop::kChartType, kChartTypeBar},
                     {prop::kXAxisMin, -0.5},
                     {prop::kXAxisMax, 1.5},
                     {prop::kYAxisMin, 0.0}});
    chart.SetData(1, bars.get());
    const ChartPoint inside = chart.DataToPixel(1, 1.0, 0.2);
    const PickResult pick = chart.Pick(1, inside.x, inside.y);
    EXPECT_EQ(pick.point, 1);
    EXPECT_EQ(pick.distance, 0);
}

} // namespace
} // namespace tvane::chart
