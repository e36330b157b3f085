#include <gtest/gtest.h>

#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/chart/IChartListener.h"

namespace tvane::chart {
namespace {

struct CountingListener : IChartListener {
    void ChartChanged() override { ++changes; }
    int changes = 0;
};

TEST(ChartPropertiesTest, EveryValueTypeReadsBackAsSet) {
    Chart chart;
    auto data = ChartData::Make(2, 3, 10);
    ChartFont font;
    font.height = -17;
    font.weight = 700;
    font.face = "Courier";
    ChartStyle style;
    style.color = 0x123456;
    style.reserved2 = -5;
    const std::vector<ChartStyle> styles{style, ChartStyle{}};
    const std::vector<std::string> texts{"<101>", "<102>"};
    const std::vector<ValueLabel> labels{{0.5, "half"}, {1.0, " "}};

    chart.SetInt(prop::kBackground, 0x00FF00);
    chart.SetDouble(0x70D, -1.0);
    chart.SetText(prop::kXAxisTitle, "Time");
    chart.SetFont(prop::kAxisFont, font);
    chart.SetValue(0x400, style);
    chart.SetValue(prop::kDataStyles2, styles);
    chart.SetValue(prop::kPointLabels, texts);
    chart.SetValue(prop::kXValueLabels, labels);
    chart.SetValue(prop::kData, data.get());
    chart.SetValue(0x4B01, std::string("not a number")); // a property the engine leaves alone
    chart.SetValue(0x7777, 42);

    EXPECT_EQ(chart.GetInt(prop::kBackground), 0x00FF00);
    EXPECT_EQ(chart.GetDouble(0x70D), -1.0);
    EXPECT_EQ(chart.GetText(prop::kXAxisTitle), "Time");
    EXPECT_EQ(chart.GetFont(prop::kAxisFont), font);
    EXPECT_EQ(chart.GetStyle(0x400), style);
    EXPECT_EQ(chart.GetStyles(prop::kDataStyles2), styles);
    EXPECT_EQ(chart.GetTexts(prop::kPointLabels), texts);
    EXPECT_EQ(chart.GetValueLabels(prop::kXValueLabels), labels);
    EXPECT_EQ(chart.GetData(1), data.get());
    EXPECT_EQ(std::get<std::string>(chart.GetValue(0x4B01)), "not a number");
    EXPECT_EQ(chart.GetInt(0x7777), 42);
    EXPECT_EQ(chart.GetInt(0x7778), 0); // never set
}

TEST(ChartPropertiesTest, NumbersTakeThePropertysTypeAndSixteenBitValuesSignExtend) {
    Chart chart;
    chart.SetInt(prop::kYAxisMax, 5);
    EXPECT_EQ(std::get<double>(chart.GetValue(prop::kYAxisMax)), 5.0);
    chart.SetDouble(prop::kYPrecision, 3.9);
    EXPECT_EQ(std::get<std::int32_t>(chart.GetValue(prop::kYPrecision)), 3);
    chart.SetInt(prop::kTopMargin, static_cast<std::int32_t>(0xFFFF8000u));
    EXPECT_EQ(chart.GetInt(prop::kTopMargin), -32768);
    chart.SetInt(0x602, 0x12345);
    EXPECT_EQ(chart.GetInt(0x602), 0x2345);
    chart.SetInt(0xB02, 0x12345); // not one of the 16-bit values
    EXPECT_EQ(chart.GetInt(0xB02), 0x12345);
}

TEST(ChartPropertiesTest, SettingAComputedValueStopsComputingIt) {
    Chart chart;
    auto data = ChartData::Make(2, 1, 4);
    data->Append(0, 10.0, -2.0);
    data->Append(0, 20.0, 6.0);
    chart.SetData(1, data.get());
    EXPECT_EQ(chart.GetInt(prop::kAutoBase + 0x13), 1);
    EXPECT_EQ(chart.GetDouble(prop::kXAxisMin), 10.0);
    EXPECT_EQ(chart.GetDouble(prop::kXAxisMax), 20.0);
    EXPECT_EQ(chart.GetDouble(prop::kYAxisMax), 6.0);
    chart.SetDouble(prop::kXAxisMax, 100.0);
    EXPECT_EQ(chart.GetInt(prop::kAutoBase + 0x13), 0);
    data->Append(0, 30.0, 9.0);
    EXPECT_EQ(chart.GetDouble(prop::kXAxisMax), 100.0);
    EXPECT_EQ(chart.GetDouble(prop::kYDataMax), 9.0);  // still follows the data,
    EXPECT_EQ(chart.GetDouble(prop::kYAxisMax), 10.0); // out to a round value
    chart.SetInt(prop::kAutoBase + 0x13, 1);
    EXPECT_EQ(chart.GetDouble(prop::kXAxisMax), 30.0);

    chart.SetInt(prop::kYGridAuto, 1);
    chart.SetDouble(prop::kYGridSpacing, 0.25);
    EXPECT_EQ(chart.GetInt(prop::kYGridAuto), 0);
}

TEST(ChartPropertiesTest, AttachedDataGetsAStylePerSeries) {
    Chart chart;
    auto data = ChartData::Make(2, 3, 4);
    chart.SetData(2, data.get());
    EXPECT_EQ(chart.GetStyles(prop::kDataStyles).size(), 0u);
    ASSERT_EQ(chart.GetStyles(prop::kDataStyles2).size(), 3u);
    EXPECT_NE(chart.GetNthStyle(2, 0).color, chart.GetNthStyle(2, 1).color);
    ChartStyle style;
    style.pointShape = kPointStar;
    chart.SetNthStyle(1, 1, style);
    EXPECT_EQ(chart.GetStyles(prop::kDataStyles).size(), 2u);
    EXPECT_EQ(chart.GetNthStyle(1, 1).pointShape, kPointStar);
}

TEST(ChartPropertiesTest, NestedHoldsRepaintOnceWhenTheLastIsReleased) {
    Chart chart;
    CountingListener listener;
    chart.SetListener(&listener);
    for (int i = 0; i < 3; ++i)
        chart.SetRepaint(false);
    EXPECT_EQ(Chart::RepaintHoldDepth(), 3);
    EXPECT_EQ(chart.GetInt(prop::kRepaint), 0);
    chart.SetInt(prop::kBackground, 0);
    chart.SetText(prop::kYAxisTitle, "V");
    chart.SetRepaint(true);
    chart.SetRepaint(true);
    EXPECT_EQ(chart.GetInt(prop::kRepaint), 0);
    EXPECT_EQ(listener.changes, 0);
    chart.SetRepaint(true);
    EXPECT_EQ(chart.GetInt(prop::kRepaint), 1);
    EXPECT_EQ(listener.changes, 1);
    EXPECT_EQ(Chart::RepaintHoldDepth(), 0);
}

TEST(ChartPropertiesTest, AnEnableWithoutAHoldChangesNothingAndLaterHoldsStillWork) {
    Chart chart;
    chart.SetRepaint(true);
    EXPECT_EQ(chart.GetInt(prop::kRepaint), 1);
    EXPECT_EQ(Chart::RepaintHoldDepth(), 0);
    chart.SetRepaint(false);
    EXPECT_EQ(chart.GetInt(prop::kRepaint), 0);
    chart.SetRepaint(true);
    EXPECT_EQ(chart.GetInt(prop::kRepaint), 1);
}

TEST(ChartPropertiesTest, SeveralValuesSetTogetherGiveOneNotice) {
    Chart chart;
    CountingListener listener;
    chart.SetListener(&listener);
    chart.SetValues({{prop::kXAxisMin, 0.0}, {prop::kXAxisMax, 10.0}, {prop::kYAxisMin, -1.0}});
    EXPECT_EQ(listener.changes, 1);
    EXPECT_EQ(chart.GetDouble(prop::kYAxisMin), -1.0);
    chart.FastUpdate(1, 0, 100);
    EXPECT_EQ(listener.changes, 2);
}

} // namespace
} // namespace tvane::chart
