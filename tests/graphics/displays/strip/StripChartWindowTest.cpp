#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTest>

#include "database/CDatasetEvent.h"
#include "graphics/CGraphView.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/displays/strip/LegendGridView.h"
#include "graphics/displays/strip/OverlayPanelView.h"
#include "graphics/displays/strip/OverlayPlotView.h"
#include "graphics/displays/strip/StripChartWindows.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "platform/chart/ChartData.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/support/QtTestSupport.h"

namespace {

using namespace graphicstest;

// A display frame's window as a plain widget on a page widget.
class FrameWidget : public QWidget, public IGraphFrameWindow {
public:
    FrameWidget(QWidget* page, const GRect& r) : QWidget(page) { MoveWindow(r, false); }
    void MoveWindow(const GRect& r, bool) override {
        setGeometry(r.left, r.top, r.Width(), r.Height());
    }
    GRect GetWindowRect() const override { return {x(), y(), x() + width(), y() + height()}; }
    GRect GetClientRect() const override { return {0, 0, width(), height()}; }
    GPoint ClientOrigin() const override { return {x(), y()}; }
    void Show(bool s) override { setVisible(s); }
    bool IsVisible() const override { return isVisible(); }
    void Redraw(bool) override { update(); }
    void InvalidateRect(const GRect&) override { update(); }
    void SetSelectedLook(bool) override {}
    void SetFocus() override { setFocus(); }
    int TextWidth(const std::string& text) const override {
        return fontMetrics().horizontalAdvance(QString::fromStdString(text));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0, 0, 128));
    }
};

class PageWindow : public FakeViewWindow {
public:
    std::unique_ptr<IGraphFrameWindow> CreateFrameWindow(CGraphFrame& frame, const GRect& r,
                                                         int id) override {
        if (programFrames)
            return std::make_unique<CGraphFrameWnd>(frame, &page, r, id);
        return std::make_unique<FrameWidget>(&page, r);
    }
    QWidget page;
    // The program's own frame window, with its border and title band.
    bool programFrames = false;
};

class StripDocument : public FakeGraphDocument {
public:
    std::int16_t GetChannelReadings(std::int32_t channel,
                                    std::vector<ReadingRecord*>& out) const override {
        out.clear();
        auto it = batch.find(channel);
        if (it != batch.end())
            for (const ReadingRecord& r : it->second)
                out.push_back(const_cast<ReadingRecord*>(&r));
        return static_cast<std::int16_t>(out.size());
    }
    std::string FormatReadingTime(double time) override {
        return "12:00:" + std::to_string(static_cast<long>(time / 1000.0) % 60);
    }
    void ShowEventInLog(const CDatasetEvent& event) override { shown.push_back(event); }
    double GetRunStartTime() const override { return 0.0; }
    double GetRunEndTime() const override { return 0.0; }
    double GetRunTime() const override { return 1000.0; }
    void GetScanChannelList(std::vector<std::string>&, std::vector<std::uint32_t>&) const override {
    }
    std::string ExportReadingsText(const CReadingQuery&) override { return {}; }
    std::map<int, std::vector<ReadingRecord>> batch;
    std::vector<CDatasetEvent> shown;
};

class StripChartWindowTest : public ::testing::Test {
protected:
    StripChartWindowTest() {
        for (int n : {101, 102, 103}) {
            CChannelInfo c;
            c.Number = n;
            c.Label = "<" + std::to_string(n) + ">";
            c.Name = n == 101 ? "Temp" : n == 102 ? "Flow" : "Volts";
            c.Units = "VDC";
            doc.channels.push_back(c);
        }
        window.client = {0, 0, 640, 480};
        window.page.resize(640, 480);
        window.page.show();
        view.CreateDisplay(700);
        frame = dynamic_cast<CXrtOverlayFrame*>(view.GetSelected());
        frame->GetWindow()->MoveWindow({5, 5, 635, 475}, true);
        frame->LayoutChildren();
        frame->OnSetChannel(1, CXrtOverlayFrame::ToOverlay(doc.channels[1]));
        frame->OnSetChannel(2, CXrtOverlayFrame::ToOverlay(doc.channels[2]));
        frame->DropLegendEdge(frame->GetLegendWindow()->GetRectInFrame().bottom - 22 - 3 * 22);
        QCoreApplication::processEvents();
    }
    ~StripChartWindowTest() override { view.DeleteAllFrames(); }
    // Scans of the three channels, one a second, with an alarm now and then.
    void Feed(int scans) {
        for (int scan = 1; scan <= scans; ++scan) {
            doc.batch.clear();
            for (const CChannelInfo& c : doc.channels) {
                ReadingRecord r;
                r.ScanNumber = scan;
                r.Channel = static_cast<std::int16_t>(c.Number);
                r.Time = 1000.0 * scan;
                const double phase = scan / 10.0 + (c.Number - 101);
                r.Value =
                    c.Number == 103 ? (scan / 20) % 2 : 3.0 * std::sin(phase) + (c.Number - 102);
                r.AlarmState = (c.Number == 102 && scan % 37 == 0) ? 2 : 0;
                doc.batch[c.Number].push_back(r);
            }
            view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
        }
        frame->OnAutoScale();
    }
    QWidget* Child(IStripChildWindow* w) { return StripChildWidget(w); }

    QApplication& app = tvane::test::TestApp();
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    PageWindow window;
    StripDocument doc;
    CGraphView view{&window, &doc};
    CXrtOverlayFrame* frame = nullptr;
};

TEST_F(StripChartWindowTest, ARunningChartShowsItsTracesLegendAndReadouts) {
    ASSERT_NE(frame, nullptr);
    Feed(300);
    frame->GetLegend()->ClickCell(2, CLegendGrid::kMarker1Col);
    frame->GetLegend()->ClickCell(1, CLegendGrid::kMarker2Col);
    QCoreApplication::processEvents();
    QTest::qWait(60); // one repaint turn of the chart window
    auto* panel = qobject_cast<OverlayPanelView*>(Child(frame->GetPanelWindow()));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Readout(COverlayCtrlPanel::kY1Channel)->text(), "(102)");
    EXPECT_FALSE(panel->Readout(COverlayCtrlPanel::kT1Value)->text().isEmpty());
    EXPECT_EQ(panel->TimeEdit()->text(), "02:00min");
    const QImage shot = window.page.grab().toImage();
    ASSERT_TRUE(tvane::test::SaveArtifact(shot, "strip_chart.png"));
    // The traces are drawn: the plot is not all background.
    const QRect plot = Child(frame->GetPlotWindow())->geometry().translated(5, 5);
    int coloured = 0;
    for (int x = plot.left(); x < plot.right(); x += 2)
        for (int y = plot.top(); y < plot.bottom(); y += 2)
            if (shot.pixelColor(x, y) != QColor(Qt::black))
                ++coloured;
    EXPECT_GT(coloured, 200);
}

TEST_F(StripChartWindowTest, ADoubleClickNearAnAlarmPointPositionsTheEventLog) {
    Feed(80);
    doc.readings = 1; // the document holds readings
    QCoreApplication::processEvents();
    QTest::qWait(60);
    const auto& marks = *frame->GetPlot()->GetMarks()->GetData();
    ASSERT_GE(marks.Count(1 + 8), 1);
    tvane::chart::ChartPoint p;
    frame->GetPlot()->DataToPixel(marks.X(9, 0), marks.Y(9, 0), 2, p);
    QWidget* plot = Child(frame->GetPlotWindow());
    QTest::mouseDClick(plot, Qt::LeftButton, {}, QPoint(p.x + 1, p.y));
    ASSERT_EQ(doc.shown.size(), 1u);
    EXPECT_EQ(doc.shown[0].m_type, static_cast<std::uint32_t>(CDatasetEvent::HighLimit));
    EXPECT_EQ(doc.shown[0].m_channel, 102);
    EXPECT_DOUBLE_EQ(doc.shown[0].m_time, marks.X(9, 0));
    // Far from any mark nothing is positioned.
    QTest::mouseDClick(plot, Qt::LeftButton, {}, QPoint(p.x + 40, 5));
    EXPECT_EQ(doc.shown.size(), 1u);
}

TEST_F(StripChartWindowTest, TabGoesThroughThePanelIntoTheLegendAndBack) {
    window.page.activateWindow();
    auto* panel = qobject_cast<OverlayPanelView*>(Child(frame->GetPanelWindow()));
    auto* legend = qobject_cast<LegendGridView*>(Child(frame->GetLegendWindow()));
    ASSERT_TRUE(panel && legend);
    panel->TimeEdit()->setFocus();
    QTest::keyClick(panel->TimeEdit(), Qt::Key_Tab);
    EXPECT_TRUE(panel->AutoscaleButton()->hasFocus());
    QTest::keyClick(panel->AutoscaleButton(), Qt::Key_Tab);
    int row = 0, col = 0;
    ASSERT_TRUE(legend->Core().GetCurrentCell(row, col));
    EXPECT_EQ(col, CLegendGrid::kChannelCol);
    EXPECT_TRUE(legend->hasFocus() || legend->isAncestorOf(QApplication::focusWidget()));
    legend->SetCurrentCell(row, CLegendGrid::kReferenceCol);
    QTest::keyClick(legend, Qt::Key_Tab);
    EXPECT_TRUE(panel->TimeEdit()->hasFocus());
    // Shift+Tab from the edit leaves the panel for the legend as well.
    QTest::keyClick(panel->TimeEdit(), Qt::Key_Backtab);
    EXPECT_TRUE(legend->hasFocus() || legend->isAncestorOf(QApplication::focusWidget()));
}

TEST_F(StripChartWindowTest, TheSpinButtonStepsTheTimePerDivision) {
    auto* panel = qobject_cast<OverlayPanelView*>(Child(frame->GetPanelWindow()));
    Feed(10);
    const double before = frame->GetPlot()->GetTimeAxis().width;
    frame->GetPanel()->Spin(COverlayCtrlPanel::kSpinDown);
    EXPECT_EQ(panel->TimeEdit()->text(), "01:00min");
    EXPECT_DOUBLE_EQ(frame->GetPlot()->GetTimeAxis().width, before / 2.0);
    EXPECT_EQ(frame->GetTextDisplay()->Label(0, 1)->Text(), "Time/Div: 01:00min");
}

// A mouse move sent to the widget itself: QTest's moves go through the
// window system and the cursor, which an offscreen run does not always move.
void Move(QWidget* widget, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST_F(StripChartWindowTest, DraggingTheLegendsTopEdgeSetsItsRows) {
    auto* frameWidget = dynamic_cast<QWidget*>(frame->GetWindow());
    ASSERT_NE(frameWidget, nullptr);
    const GRect legend = frame->GetLegendWindow()->GetRectInFrame();
    ASSERT_EQ(frame->GetLegendRows(), 3);
    const QPoint edge(200, legend.top - 2);
    Move(frameWidget, edge);
    EXPECT_EQ(frameWidget->cursor().shape(), Qt::SizeVerCursor);
    QTest::mousePress(frameWidget, Qt::LeftButton, {}, edge);
    // The frame holds the mouse and shows the line as an inverted band.
    EXPECT_EQ(QWidget::mouseGrabber(), frameWidget);
    Move(frameWidget, QPoint(200, legend.bottom - 22 - 5 * 22), Qt::LeftButton);
    auto* band = frameWidget->findChild<QWidget*>("trackerBand");
    ASSERT_NE(band, nullptr);
    EXPECT_TRUE(band->isVisible());
    QTest::mouseRelease(frameWidget, Qt::LeftButton, {}, QPoint(200, legend.bottom - 22 - 5 * 22));
    EXPECT_FALSE(band->isVisible());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(frame->GetLegendRows(), 5);
    EXPECT_EQ(frame->GetLegendWindow()->GetRectInFrame().Height(), 6 * 22);
    Move(frameWidget, edge);
    Move(frameWidget, QPoint(200, 2)); // the title band
    EXPECT_NE(frameWidget->cursor().shape(), Qt::SizeVerCursor);
}

TEST_F(StripChartWindowTest, TheLegendsEdgeStaysInItsBoundsAndALostMouseEndsTheDrag) {
    auto* frameWidget = dynamic_cast<QWidget*>(frame->GetWindow());
    ASSERT_NE(frameWidget, nullptr);
    const GRect legend = frame->GetLegendWindow()->GetRectInFrame();
    const QPoint edge(200, legend.top - 2);
    Move(frameWidget, edge);
    QTest::mousePress(frameWidget, Qt::LeftButton, {}, edge);
    // Far below the lowest place: the line stops there, one row.
    Move(frameWidget, QPoint(200, legend.bottom + 300), Qt::LeftButton);
    QWidget other(&window.page);
    other.show();
    other.grabMouse();         // another window takes the mouse
    QEvent next(QEvent::User); // the next event anywhere sees it
    QApplication::sendEvent(frameWidget, &next);
    EXPECT_EQ(frame->GetLegendRows(), 1);
    other.releaseMouse();
    QTest::mouseRelease(frameWidget, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(frame->GetLegendRows(), 1); // the release after the end changes nothing
}

TEST_F(StripChartWindowTest, SizingTheFrameWindowLaysOutThePlotLegendAndPanelInside) {
    window.programFrames = true;
    ASSERT_TRUE(view.CreateDisplay(700));
    auto* chart = dynamic_cast<CXrtOverlayFrame*>(view.GetSelected());
    ASSERT_NE(chart, nullptr);
    auto* wnd = dynamic_cast<CGraphFrameWnd*>(chart->GetWindow());
    ASSERT_NE(wnd, nullptr);
    frame->GetWindow()->Show(false); // only the new chart on the page
    chart->OnSetChannel(1, CXrtOverlayFrame::ToOverlay(doc.channels[1]));
    wnd->setGeometry(5, 5, 630, 470);
    wnd->show();
    QCoreApplication::processEvents();
    const int legendHeight = chart->LegendHeight();
    for (const QSize& size : {QSize(500, 320), QSize(620, 450), QSize(480, 300)}) {
        SCOPED_TRACE(size.width());
        wnd->resize(size);
        QCoreApplication::processEvents();
        ASSERT_EQ(wnd->size(), size);
        const QRect client = wnd->Client()->rect();
        const QRect plot = Child(chart->GetPlotWindow())->geometry();
        const QRect legend = Child(chart->GetLegendWindow())->geometry();
        const QRect panel = Child(chart->GetPanelWindow())->geometry();
        EXPECT_TRUE(client.contains(plot)) << plot.bottom() << " " << plot.right();
        EXPECT_TRUE(client.contains(legend)) << legend.bottom() << " " << legend.right();
        EXPECT_TRUE(client.contains(panel)) << panel.bottom() << " " << panel.right();
        EXPECT_EQ(panel.height(), CXrtOverlayFrame::kPanelHeight);
        EXPECT_EQ(legend.height(), legendHeight);
        EXPECT_LE(plot.bottom(), legend.top());
        EXPECT_EQ(legend.bottom() + 1, panel.top());
        EXPECT_GE(panel.bottom() + 8, client.bottom()); // the panel stays at the bottom
    }
    Feed(120);
    chart->OnAutoScale();
    QTest::qWait(60); // one repaint turn of the chart window
    const QImage shot = window.page.grab().toImage();
    ASSERT_TRUE(tvane::test::SaveArtifact(shot, "strip_chart_resized.png"));
}

TEST_F(StripChartWindowTest, AStripChartPrintsToPdf) {
    Feed(120);
    frame->GetLegend()->ClickCell(1, CLegendGrid::kMarker1Col);
    const auto pdf = tvane::test::ArtifactPath("strip_chart.pdf");
    {
        QPdfWriter writer(QString::fromStdString(pdf.string()));
        writer.setResolution(96);
        QPainter painter(&writer);
        DrawStripChart(painter, *frame, QPoint(20, 20));
    }
    EXPECT_GT(std::filesystem::file_size(pdf), 2000u);
    QImage image(660, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawStripChart(painter, *frame, QPoint(10, 10));
    }
    ASSERT_TRUE(tvane::test::SaveArtifact(image, "strip_chart_print.png"));
}

} // namespace
