#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/chartview/ChartQt.h"
#include "platform/chartview/ChartRenderer.h"
#include "platform/chartview/QtTextMetrics.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::chart {
namespace {

constexpr std::int32_t kBlack = 0x000000;
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kRed = 0x0000FF;
constexpr std::int32_t kGreen = 0x00FF00;
constexpr std::int32_t kBlue = 0xFF0000;

// A 200 x 200 chart on white whose plot area is (20, 10) - (190, 180): 170 pixels
// each way; y from 0 to 1.
class ChartRendererTest : public ::testing::Test {
protected:
    ChartRendererTest() {
        tvane::test::TestApp();
        chart.SetTextMetrics(&QtTextMetrics::Instance());
        chart.SetWindowSize(200, 200);
        chart.SetValues({{prop::kBackground, kWhite},
                         {prop::kForeground, kBlack},
                         {prop::kLeftMargin, 20},
                         {prop::kTopMargin, 10},
                         {prop::kRightMargin, 10},
                         {prop::kBottomMargin, 20},
                         {prop::kYAxisMin, 0.0},
                         {prop::kYAxisMax, 1.0}});
    }
    QImage Render(int width = 200, int height = 200) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        renderer.Draw(painter, chart, QRectF(0, 0, width, height));
        return image;
    }
    static ChartStyle Style(std::int32_t color, std::uint32_t line, std::uint32_t shape) {
        ChartStyle style;
        style.color = color;
        style.pointColor = color;
        style.linePattern = line;
        style.pointShape = shape;
        style.pointSize = 8;
        return style;
    }

    Chart chart;
    ChartRenderer renderer;
};

TEST_F(ChartRendererTest, ABarFillsItsStyleColourFromZeroToItsValue) {
    auto data = ChartData::Make(1, 1, 1);
    data->SetPoint(0, 0, 0.0, 0.5);
    data->SetCount(0, 1);
    chart.SetValues({{prop::kChartType, kChartTypeBar},
                     {prop::kClusterWidth, 50},
                     {prop::kXAnnotation, kAnnotatePointLabels},
                     {prop::kPointLabels, std::vector<std::string>{"<101>"}}});
    chart.SetData(1, data.get());
    chart.SetNthStyle(1, 0, Style(kRed, kLineSolid, kPointNone));
    const QImage image = Render();
    const QColor red = ToQColor(kRed);
    // The bar is half the plot wide around x = 0 (column 105) and runs from
    // row 180 (zero) up to row 95 (0.5).
    for (int row : {97, 120, 178})
        EXPECT_EQ(image.pixelColor(105, row), red) << row;
    for (int row : {92, 60, 12})
        EXPECT_NE(image.pixelColor(105, row), red) << row;
    EXPECT_EQ(image.pixelColor(70, 150), red);
    EXPECT_NE(image.pixelColor(55, 150), red);

    // Drawn twice the size, it lands at twice the rows.
    const QImage big = Render(400, 400);
    EXPECT_TRUE(tvane::test::SaveArtifact(big, "chart_bar.png"));
    EXPECT_EQ(big.pixelColor(210, 200), red);
    EXPECT_NE(big.pixelColor(210, 180), red);
}

TEST_F(ChartRendererTest, AnInvertedBarRunsFromTheLeft) {
    auto data = ChartData::Make(1, 1, 1);
    data->SetPoint(0, 0, 0.0, 0.5);
    data->SetCount(0, 1);
    chart.SetValues({{prop::kChartType, kChartTypeBar}, {prop::kInverted, 1}});
    chart.SetData(1, data.get());
    chart.SetNthStyle(1, 0, Style(kBlue, kLineSolid, kPointNone));
    const QImage image = Render();
    EXPECT_TRUE(tvane::test::SaveArtifact(image, "chart_bar_inverted.png"));
    const QColor blue = ToQColor(kBlue);
    EXPECT_EQ(image.pixelColor(25, 95), blue);
    EXPECT_EQ(image.pixelColor(100, 95), blue);
    EXPECT_NE(image.pixelColor(110, 95), blue);
}

TEST_F(ChartRendererTest, ALineBreaksAtAHoleAndMarkersComeOnTop) {
    auto data = ChartData::Make(2, 2, 8);
    const double hole = data->Hole();
    for (double x : {0.0, 1.0, 2.0, 3.0, 4.0})
        data->Append(0, x, x == 2.0 ? hole : 0.5);
    data->Append(1, 3.0, 0.5);
    chart.SetValues({{prop::kXAxisMin, 0.0}, {prop::kXAxisMax, 4.0}});
    chart.SetData(1, data.get());
    chart.SetNthStyle(1, 0, Style(kGreen, kLineSolid, kPointNone));
    chart.SetNthStyle(1, 1, Style(kRed, kLineNone, kPointBox));
    const QImage image = Render();
    EXPECT_TRUE(tvane::test::SaveArtifact(image, "chart_line_hole.png"));
    const QColor green = ToQColor(kGreen);
    const QColor red = ToQColor(kRed);
    const int row = 95;                           // y = 0.5
    EXPECT_EQ(image.pixelColor(40, row), green);  // x = 0.5
    EXPECT_EQ(image.pixelColor(60, row), green);  // x = 0.94
    EXPECT_NE(image.pixelColor(80, row), green);  // x = 1.4: on to the hole
    EXPECT_NE(image.pixelColor(140, row), green); // x = 2.8: still broken
    EXPECT_EQ(image.pixelColor(175, row), green); // x = 3.7
    // The marker at x = 3 (column 147) covers the line.
    EXPECT_EQ(image.pixelColor(147, row), red);
    EXPECT_EQ(image.pixelColor(150, row + 3), red);
}

TEST_F(ChartRendererTest, GridLinesFollowTheAnnotationAndTheSpacing) {
    ChartStyle grid = Style(kBlue, kLineSolid, kPointNone);
    chart.SetValues({{prop::kXAxisMin, 0.0},
                     {prop::kXAxisMax, 4.0},
                     {prop::kXAnnotation, kAnnotateValueLabels},
                     {prop::kXValueLabels, std::vector<ValueLabel>{{1.0, " "}, {3.0, "three"}}},
                     {prop::kXGridAuto, 1},
                     {prop::kYGridSpacing, 0.25},
                     {prop::kXGridStyle, grid},
                     {prop::kYGridStyle, grid}});
    const QImage image = Render();
    const QColor blue = ToQColor(kBlue);
    EXPECT_EQ(image.pixelColor(63, 60), blue);   // x = 1 (62.5)
    EXPECT_NE(image.pixelColor(105, 60), blue);  // x = 2: no label there
    EXPECT_EQ(image.pixelColor(100, 138), blue); // y = 0.25 (137.5)
}

TEST_F(ChartRendererTest, EveryPointShapeAndLinePattern) {
    // Series k draws shape k + 1 at x = k and pattern k + 1 across at its own height.
    auto data = ChartData::Make(2, 11, 4);
    for (int k = 0; k < 11; ++k) {
        const double y = 1.0 - (k + 0.5) / 11.0;
        data->Append(k, k < 7 ? 0.0 : k, k < 7 ? y : 0.0);
        data->Append(k, k < 7 ? 10.0 : k, k < 7 ? y : 0.0);
    }
    Chart shapes;
    shapes.SetTextMetrics(&QtTextMetrics::Instance());
    shapes.SetWindowSize(360, 240);
    shapes.SetValues({{prop::kXAxisMin, -1.0},
                      {prop::kXAxisMax, 11.0},
                      {prop::kYAxisMin, 0.0},
                      {prop::kYAxisMax, 1.0}});
    shapes.SetData(1, data.get());
    for (int k = 0; k < 11; ++k) {
        const std::uint32_t pattern = k < 7 ? static_cast<std::uint32_t>(k + 1) : kLineNone;
        ChartStyle style = Style(k % 2 ? kBlue : kRed, pattern, kPointNone);
        shapes.SetNthStyle(1, k, style);
    }
    auto points = ChartData::Make(2, 11, 1);
    for (int k = 0; k < 11; ++k)
        points->Append(k, k, 0.05);
    shapes.SetData(2, points.get());
    for (int k = 0; k < 11; ++k)
        shapes.SetNthStyle(2, k, Style(kBlack, kLineNone, static_cast<std::uint32_t>(k + 1)));
    QImage image(360, 240, QImage::Format_RGB32);
    QPainter painter(&image);
    renderer.Draw(painter, shapes, QRectF(0, 0, 360, 240));
    painter.end();
    EXPECT_TRUE(tvane::test::SaveArtifact(image, "chart_shapes_patterns.png"));
    // The filled shapes cover their centre; no shape (1) draws nothing.
    for (int shape : {kPointDot, kPointBox, kPointTriangle, kPointDiamond}) {
        const ChartPoint c = shapes.DataToPixel(2, shape - 1, 0.05);
        EXPECT_EQ(image.pixelColor(c.x, c.y), ToQColor(kBlack)) << shape;
    }
    const ChartPoint none = shapes.DataToPixel(2, 0.0, 0.05);
    EXPECT_NE(image.pixelColor(none.x, none.y), ToQColor(kBlack));
}

TEST_F(ChartRendererTest, AFullChartPicture) {
    auto traces = ChartData::Make(2, 3, 2000);
    for (int i = 0; i < 2000; ++i) {
        const double t = i * 0.01;
        traces->Append(0, t, std::sin(t) * 0.8);
        traces->Append(1, t, i > 800 && i < 1000 ? traces->Hole() : std::cos(t * 3.0) * 0.4);
        traces->Append(2, t, std::sin(t * 40.0) * 0.3 - 0.5);
    }
    auto marks = ChartData::Make(2, 1, 10);
    for (double t : {2.0, 7.5, 15.0})
        marks->Append(0, t, 0.9);
    Chart full;
    full.SetTextMetrics(&QtTextMetrics::Instance());
    full.SetWindowSize(480, 300);
    std::vector<ValueLabel> timeLabels;
    for (int k = 1; k <= 10; ++k)
        timeLabels.push_back({k * 2.0, k % 2 ? " " : std::to_string(k * 2) + " s"});
    ChartFont font;
    font.height = -11;
    full.SetValues({{prop::kBackground, kBlack},
                    {prop::kForeground, kWhite},
                    {prop::kXAxisMin, 0.0},
                    {prop::kXAxisMax, 20.0},
                    {prop::kYAxisMin, -1.0},
                    {prop::kYAxisMax, 1.0},
                    {prop::kY2AxisMin, -1.0},
                    {prop::kY2AxisMax, 1.0},
                    {prop::kXAnnotation, kAnnotateValueLabels},
                    {prop::kXValueLabels, timeLabels},
                    {prop::kXGridAuto, 1},
                    {prop::kYGridSpacing, 0.25},
                    {prop::kYPrecision, 2},
                    {prop::kAxisFont, font},
                    {prop::kXAxisTitle, "Time"},
                    {prop::kYAxisTitle, "Normalised"},
                    {prop::kYTitleRotation, 2}});
    full.SetData(1, traces.get());
    full.SetData(2, marks.get());
    full.SetNthStyle(1, 2, Style(0x00FFFF, kLineSolid, kPointNone));
    full.SetNthStyle(2, 0, Style(kWhite, kLineNone, kPointTriangle));
    QImage image(480, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    renderer.Draw(painter, full, QRectF(0, 0, 480, 300));
    painter.end();
    EXPECT_TRUE(tvane::test::SaveArtifact(image, "chart_traces.png"));
    // The plot shows the traces' colours and the text stays out of the plot area.
    const ChartRect plot = full.PlotArea();
    EXPECT_GT(plot.left, 30);
    EXPECT_LT(plot.bottom, 280);
    EXPECT_EQ(image.pixelColor(plot.left - 1, (plot.top + plot.bottom) / 2), ToQColor(kWhite));
}

} // namespace
} // namespace tvane::chart
