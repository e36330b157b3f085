#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/chartview/ChartRenderer.h"
#include "platform/chartview/ChartWidget.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::chart {

namespace {

// Records the clicks the chart passes on.
class Parent : public QWidget {
public:
    std::vector<std::pair<QEvent::Type, QPoint>> clicks;

protected:
    void mousePressEvent(QMouseEvent* e) override { Record(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { Record(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { Record(e); }

private:
    void Record(QMouseEvent* e) { clicks.emplace_back(e->type(), e->position().toPoint()); }
};

// The application exists before any widget of a test.
struct WithApp : tvane::test::WithTestApp, ::testing::Test {};

class ChartWidgetTest : public WithApp {
protected:
    ChartWidgetTest() {
        data = ChartData::Make(2, 1, 100);
        for (int i = 0; i < 100; ++i)
            data->Append(0, i, (i % 20) / 20.0);
        chart.SetValues({{prop::kXAxisTitle, "Scan"}, {prop::kYAxisTitle, "Value"}});
        chart.SetData(1, data.get());
        widget = new ChartWidget(chart, &parent);
        widget->setGeometry(10, 10, 320, 200);
        parent.resize(340, 220);
        parent.show();
        QCoreApplication::processEvents();
    }
    ~ChartWidgetTest() override { delete widget; }

    Chart chart;
    std::unique_ptr<ChartData> data;
    Parent parent;
    ChartWidget* widget;
};

TEST_F(ChartWidgetTest, TheWindowSizesItsChartAndShowsIt) {
    EXPECT_EQ(chart.WindowWidth(), 320);
    EXPECT_EQ(chart.WindowHeight(), 200);
    const QImage shot = widget->grab().toImage();
    ASSERT_TRUE(tvane::test::SaveArtifact(shot, "chart_window.png"));
    const ChartRect plot = chart.PlotArea();
    EXPECT_EQ(shot.pixelColor(plot.left, (plot.top + plot.bottom) / 2), QColor(Qt::black));
}

TEST_F(ChartWidgetTest, ChangesInABurstRepaintOnce) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QCoreApplication::processEvents();
    int before = widget->PaintCount();
    for (int i = 0; i < 50; ++i) {
        data->SetY(0, i, 0.5);
        chart.FastUpdate(1, 0, 1);
    }
    QCoreApplication::processEvents();
    EXPECT_LE(widget->PaintCount() - before, 1);

    EXPECT_TRUE(widget->PaintCount() > before || widget->RepaintScheduled());
}

TEST_F(ChartWidgetTest, ClicksReachTheParentAtTheChartsOwnPoint) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(50, 60));
    QTest::mouseClick(widget, Qt::RightButton, {}, QPoint(70, 80));
    QCoreApplication::processEvents();
    const std::vector<std::pair<QEvent::Type, QPoint>> expected{
        {QEvent::MouseButtonPress, {50, 60}},
        {QEvent::MouseButtonRelease, {50, 60}},
        {QEvent::MouseButtonRelease, {70, 80}}}; // a right press stays with the chart
    EXPECT_EQ(parent.clicks, expected);
}

TEST_F(ChartWidgetTest, PrintingDrawsThroughTheSameRenderer) {
    QTemporaryDir dir;
    const QString file = dir.filePath("chart.pdf");
    {
        QPdfWriter pdf(file);
        QPainter painter(&pdf);
        ChartRenderer renderer;
        renderer.Draw(painter, chart, QRectF(0, 0, pdf.width(), pdf.height() / 2.0), true);
    }
    EXPECT_GT(QFileInfo(file).size(), 1000);
}

} // namespace
} // namespace tvane::chart
