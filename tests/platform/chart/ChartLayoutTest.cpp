#include <gtest/gtest.h>

#include "platform/chart/ApproxTextMetrics.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"

namespace tvane::chart {
namespace {

std::vector<double> Values(const std::vector<ChartLayout::Tick>& ticks) {
    std::vector<double> values;
    for (const auto& tick : ticks)
        values.push_back(tick.value);
    return values;
}

TEST(ChartLayoutTest, NumberedTicksUseOneTwoFiveStepsAndThePrecision) {
    EXPECT_EQ(NiceStep(10.0, 4.0), 5.0);
    EXPECT_EQ(NiceStep(1.0, 10.0), 0.1);
    EXPECT_DOUBLE_EQ(NiceStep(7.0, 5.0), 2.0);
    EXPECT_EQ(FormatFixed(-0.0001, 2), "0.00");
    EXPECT_EQ(FormatFixed(2.5, 1), "2.5");

    Chart chart;
    chart.SetValues({{prop::kYAxisMin, 0.0},
                     {prop::kYAxisMax, 10.0},
                     {prop::kYStep, 2.5},
                     {prop::kYPrecision, 2}});
    const ChartLayout& layout = chart.Layout();
    EXPECT_EQ(Values(layout.y.ticks), (std::vector<double>{0.0, 2.5, 5.0, 7.5, 10.0}));
    EXPECT_EQ(layout.y.ticks[1].text, "2.50");
    EXPECT_EQ(layout.y.ticks.front().position, layout.plot.bottom);
}

// Ticks closer than the precision shows carry the decimals their step needs:
// no two labels read the same.
TEST(ChartLayoutTest, TickTextsCarryTheDecimalsTheirStepNeeds) {
    struct Case {
        double max, step;
        int precision;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {0.2, 0.05, 1, {"0.00", "0.05", "0.10", "0.15", "0.20"}},
        {2.0, 0.5, 0, {"0.0", "0.5", "1.0", "1.5", "2.0"}},
        {20.0, 5.0, 1, {"0.0", "5.0", "10.0", "15.0", "20.0"}},
        {0.004, 0.001, 2, {"0.000", "0.001", "0.002", "0.003", "0.004"}},
    };
    for (const Case& c : cases) {
        Chart chart;
        chart.SetValues({{prop::kXAxisMin, 0.0},
                         {prop::kXAxisMax, c.max},
                         {prop::kXStep, c.step},
                         {prop::kXPrecision, c.precision}});
        std::vector<std::string> texts;
        for (const auto& tick : chart.Layout().x.ticks)
            texts.push_back(tick.text);
        EXPECT_EQ(texts, c.texts) << c.step;
    }
    // A step of its own choosing is read the same way.
    Chart chart;
    chart.SetValues({{prop::kXAxisMin, 0.0}, {prop::kXAxisMax, 0.3}, {prop::kXPrecision, 1}});
    const auto& ticks = chart.Layout().x.ticks;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        EXPECT_NE(ticks[i].text, ticks[i - 1].text) << i;
}

TEST(ChartLayoutTest, ValueLabelsPlaceTicksAndAnnotationGrids) {
    Chart chart;
    chart.SetValues(
        {{prop::kXAxisMin, 0.0},
         {prop::kXAxisMax, 4.0},
         {prop::kXAnnotation, kAnnotateValueLabels},
         {prop::kXValueLabels, std::vector<ValueLabel>{{1.0, " "}, {2.0, "two"}, {9.0, "far"}}},
         {prop::kXGridAuto, 1},
         {prop::kYAxisMin, -1.0},
         {prop::kYAxisMax, 1.0},
         {prop::kYGridSpacing, 0.5}});
    const ChartLayout& layout = chart.Layout();
    EXPECT_EQ(Values(layout.x.ticks), (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(layout.x.grid, (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(layout.y.grid, (std::vector<double>{-1.0, -0.5, 0.0, 0.5, 1.0}));
}

TEST(ChartLayoutTest, PointLabelsSitUnderTheirBars) {
    Chart chart;
    auto data = ChartData::Make(1, 1, 3);
    for (int i = 0; i < 3; ++i)
        data->SetPoint(0, i, i, i + 1.0);
    data->SetCount(0, 3);
    chart.SetValues({{prop::kChartType, kChartTypeBar},
                     {prop::kXAnnotation, kAnnotatePointLabels},
                     {prop::kPointLabels, std::vector<std::string>{"a", "b", "c"}}});
    chart.SetData(1, data.get());
    const ChartLayout& layout = chart.Layout();
    // Bars get half a spacing of room on either side and grow from zero.
    EXPECT_EQ(layout.x.min, -0.5);
    EXPECT_EQ(layout.x.max, 2.5);
    EXPECT_EQ(layout.y.min, 0.0);
    ASSERT_EQ(layout.x.ticks.size(), 3u);
    EXPECT_EQ(layout.x.ticks[2].text, "c");
    const auto bar = layout.BarRect(1.0, 2.0, 0);
    const auto centre = layout.Map(1.0, 0.0);
    EXPECT_NEAR((bar.left + bar.right) / 2.0, centre.x, 1e-9);
    EXPECT_NEAR(bar.bottom, centre.y, 1e-9);
}

TEST(ChartLayoutTest, AnAxisTitleWidensItsMargin) {
    Chart chart;
    const int before = chart.GetInt(prop::kBottomMargin);
    chart.SetText(prop::kXAxisTitle, "Time");
    EXPECT_GT(chart.GetInt(prop::kBottomMargin), before);
    const int left = chart.GetInt(prop::kLeftMargin);
    chart.SetText(prop::kYAxisTitle, "Volts");
    chart.SetInt(prop::kYTitleRotation, 2);
    EXPECT_GT(chart.GetInt(prop::kLeftMargin), left);
}

} // namespace
} // namespace tvane::chart
