#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/chart/SeriesDecimator.h"

namespace tvane::chart {
namespace {

using PointF = ChartLayout::PointF;
using Runs = std::vector<std::vector<PointF>>;

// A plot area of 100 x 100 pixels at (10, 10); x 0..100, y 0..1.
ChartLayout Layout() {
    ChartLayout layout;
    layout.plot = {10, 10, 110, 110};
    layout.x.min = 0.0;
    layout.x.max = 100.0;
    layout.y.min = 0.0;
    layout.y.max = 1.0;
    return layout;
}

Runs Lines(const ChartData& data, const ChartLayout& layout) {
    Runs runs;
    SeriesDecimator decimator;
    decimator.Lines(data, 0, layout, 1,
                    [&](const PointF* p, int n) { runs.emplace_back(p, p + n); });
    return runs;
}

TEST(SeriesDecimatorTest, AMillionPointsGiveOneMinMaxPairPerColumn) {
    constexpr int kPoints = 1000000;
    auto data = ChartData::Make(2, 1, kPoints);
    for (int i = 0; i < kPoints; ++i)
        data->Append(0, 100.0 * i / kPoints, 0.5 + 0.5 * std::sin(i * 0.01));
    const Runs runs = Lines(*data, Layout());
    ASSERT_EQ(runs.size(), 1u);
    std::map<int, std::vector<double>> columns;
    for (const PointF& p : runs[0])
        columns[static_cast<int>(p.x)].push_back(p.y);
    EXPECT_EQ(columns.size(), 100u);
    for (const auto& [column, ys] : columns) {
        EXPECT_LE(ys.size(), 2u) << column;
        // Each column spans the whole wave: the sine turns many times in one.
        EXPECT_NEAR(*std::min_element(ys.begin(), ys.end()), 10.0, 0.5);
        EXPECT_NEAR(*std::max_element(ys.begin(), ys.end()), 110.0, 0.5);
    }
}

TEST(SeriesDecimatorTest, HolesBreakTheLine) {
    auto data = ChartData::Make(2, 1, 6);
    const double hole = data->Hole();
    for (double y : {0.1, 0.2, hole, 0.4, 0.5})
        data->Append(0, data->Count(0) * 20.0, y);
    const Runs runs = Lines(*data, Layout());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].size(), 2u);
    EXPECT_EQ(runs[1].size(), 2u);
    EXPECT_DOUBLE_EQ(runs[1][0].x, 70.0);
}

TEST(SeriesDecimatorTest, PointsBeyondThePlotShrinkToWhereTheLineLeavesAndReturns) {
    auto data = ChartData::Make(2, 1, 2000);
    for (int i = 0; i < 1000; ++i)
        data->Append(0, -1000.0 + i, 0.0); // all left of the axis
    data->Append(0, 50.0, 1.0);
    for (int i = 0; i < 500; ++i)
        data->Append(0, 200.0 + i, 0.0); // all right of it
    const Runs runs = Lines(*data, Layout());
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].size(), 5u);
    EXPECT_DOUBLE_EQ(runs[0][1].x, 10.0 + (-1.0)); // the last point before the plot
    EXPECT_DOUBLE_EQ(runs[0][2].x, 60.0);
    EXPECT_DOUBLE_EQ(runs[0][3].x, 10.0 + 200.0); // the first one after it
}

TEST(SeriesDecimatorTest, InvertedAxesSwapThePixelCoordinates) {
    ChartLayout layout = Layout();
    layout.inverted = true;
    auto data = ChartData::Make(2, 1, 2);
    data->Append(0, 0.0, 1.0);
    data->Append(0, 100.0, 0.0);
    const Runs runs = Lines(*data, layout);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_DOUBLE_EQ(runs[0][0].x, 110.0); // y = 1 at the right
    EXPECT_DOUBLE_EQ(runs[0][0].y, 10.0);  // x = 0 at the top
    EXPECT_DOUBLE_EQ(runs[0][1].y, 110.0);
}

TEST(SeriesDecimatorTest, MarkersDrawEachPixelOnceAndSkipFarPoints) {
    auto data = ChartData::Make(2, 1, 10);
    for (double x : {10.0, 10.1, 10.2, 20.0, 500.0})
        data->Append(0, x, 0.5);
    std::vector<PointF> markers;
    SeriesDecimator decimator;
    decimator.Markers(*data, 0, Layout(), 1, 3.0, [&](PointF p) { markers.push_back(p); });
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_DOUBLE_EQ(markers[1].x, 30.0);
}

} // namespace
} // namespace tvane::chart
