// A scan of three channels on the simulated instrument watched on a strip
// chart of a graphics page of the main window: the chart made from the
// Graphics menu, its channels chosen in its legend, the readings of every
// poll plotted at their times and values.
#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/eventlog/CEventEditDialog.h"
#include "app/eventlog/CEventFrame.h"
#include "app/eventlog/CEventView.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "database/CDatasetEvent.h"
#include "graphics/CGraphView.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/displays/strip/LegendGridView.h"
#include "graphics/displays/strip/OverlayPanelView.h"
#include "graphics/displays/strip/OverlayPlotView.h"
#include "graphics/displays/strip/StripChartWindows.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chart/ChartData.h"
#include "platform/core/Services.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "scan/CFXScan.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

TEST(StripChartRun, AScanOnTheSimulatedInstrumentScrollsAcrossTheStripChart) {
    WholeProgram whole;
    whole.Start();
    if (HasFatalFailure())
        return;
    whole.ScanEverySecond(3);
    if (HasFatalFailure())
        return;
    SimulatedProgram& program = whole.program;
    CMainFrame& frame = whole.frame;
    DocumentWiring& wiring = *whole.wiring;
    CLoggerDoc& doc = whole.Doc();

    // Graphics, Strip Chart on the first graphics page.
    ASSERT_NE(wiring.Graphics(), nullptr);
    CGraphViewWnd* page = wiring.Graphics()->Page(0);
    ASSERT_NE(page, nullptr);
    frame.Pages()->setCurrentWidget(page);
    frame.OnCmdMsg(700);
    auto* chart = dynamic_cast<CXrtOverlayFrame*>(page->Model().GetSelected());
    ASSERT_NE(chart, nullptr);
    chart->GetWindow()->MoveWindow({10, 10, 620, 470}, true);
    chart->LayoutChildren();
    // The first channel comes by itself; the other two are chosen in the legend.
    ASSERT_EQ(chart->GetLegend()->ChoiceTexts().size(), 4u);
    chart->GetLegend()->ChoiceEnded(2, 2);
    chart->GetLegend()->ChoiceEnded(3, 3);
    for (int slot = 0; slot < 3; ++slot)
        ASSERT_TRUE(chart->GetRange(slot).has_value()) << slot;
    EXPECT_EQ(chart->GetRange(2)->channel.number, 103);

    frame.UpdateToolbars();
    WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
        dialog.DontShow()->setChecked(true);
        dialog.StartButton()->click();
    });
    frame.Action(cmd::kStartScan)->trigger();
    ASSERT_EQ(doc.IsScanning(), 1);

    // Every poll's readings of each channel, as the document files them.
    std::map<int, std::vector<std::pair<double, double>>> filed;
    constexpr int kPolls = 12;
    for (int poll = 0; poll < kPolls; ++poll) {
        program.clock.Advance(1000);
        frame.OnTimer(CMainFrame::kScanTimer);
        for (int channel : {101, 102, 103}) {
            std::vector<ReadingRecord*> list;
            doc.GetChannelReadings(channel, list);
            for (const ReadingRecord* r : list)
                filed[channel].push_back({r->Time, r->Value});
        }
    }
    QCoreApplication::processEvents();
    QTest::qWait(60);

    const tvane::chart::ChartData& traces = *chart->GetPlot()->GetTraces()->GetData();
    for (int slot = 0; slot < 3; ++slot) {
        const auto& readings = filed[101 + slot];
        ASSERT_EQ(readings.size(), static_cast<std::size_t>(kPolls)) << slot;
        ASSERT_EQ(traces.Count(slot), kPolls) << slot;
        for (int i = 0; i < kPolls; ++i) {
            EXPECT_DOUBLE_EQ(traces.X(slot, i), readings[static_cast<std::size_t>(i)].first);
            EXPECT_DOUBLE_EQ(
                traces.Y(slot, i),
                chart->GetPlot()->Normalise(slot, readings[static_cast<std::size_t>(i)].second));
        }
    }
    // The window ends at the newest reading.
    EXPECT_DOUBLE_EQ(chart->GetPlot()->GetTimeAxis().end, filed[101].back().first);

    // One second a division and the traces spread over bands, as the panel's
    // spin button and Autoscale button give them.
    for (int step = 0; step < 7; ++step)
        chart->GetPanel()->Spin(COverlayCtrlPanel::kSpinDown);
    EXPECT_DOUBLE_EQ(chart->GetPlot()->GetTimeRange().scale, 1.0);
    chart->GetPanel()->ClickAutoscale();
    chart->GetLegend()->ClickCell(2, CLegendGrid::kMarker1Col);
    QCoreApplication::processEvents();
    QTest::qWait(60);

    EXPECT_TRUE(SaveArtifact(frame, "strip_chart_run.png"));
    // The page prints with the chart drawn into the printer's page.
    const auto pdf = ArtifactPath("strip_chart_run.pdf");
    ASSERT_TRUE(
        wiring.Graphics()->PrintCurrentPageToPdf(QString::fromStdString(pdf.string()), false));
    EXPECT_GT(std::filesystem::file_size(pdf), 3000u);
    // What a printed page gets of the display, as a picture.
    QImage printed(620, 470, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        QtGraphDC dc(painter);
        EXPECT_TRUE(chart->DrawFrame(dc, nullptr));
    }
    EXPECT_TRUE(SaveArtifact(printed, "strip_chart_run_print.png"));

    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.reject(); });
    frame.Action(cmd::kStopScan)->trigger();
    EXPECT_EQ(doc.IsScanning(), 0);
}

// The main window with a strip chart on its first graphics page.
class StripChartPage : public WholeProgramTest {
protected:
    void SetUp() override {
        WholeProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        program.MakeSetup(Doc(), 3);
        if (HasFatalFailure())
            return;
        page = wiring->Graphics()->Page(0);
        frame.Pages()->setCurrentWidget(page);
        frame.OnCmdMsg(700);
        chart = dynamic_cast<CXrtOverlayFrame*>(page->Model().GetSelected());
        ASSERT_NE(chart, nullptr);
        chart->GetWindow()->MoveWindow({10, 10, 620, 470}, true);
        chart->LayoutChildren();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        legend = qobject_cast<LegendGridView*>(StripChildWidget(chart->GetLegendWindow()));
        panel = qobject_cast<OverlayPanelView*>(StripChildWidget(chart->GetPanelWindow()));
        ASSERT_TRUE(legend && panel);
    }
    void TearDown() override {
        if (page)
            page->ContextMenu()->hide();
        WholeProgramTest::TearDown();
    }
    // A right press on a widget of the legend: the page's menu shows, the
    // chart selected.
    void ExpectMenuFromRightPress(QWidget* widget, const QPoint& at) {
        page->ContextMenu()->hide();
        page->Model().DeselectAll();
        QTest::mousePress(widget, Qt::RightButton, {}, at);
        QCoreApplication::processEvents();
        EXPECT_TRUE(page->ContextMenu()->isVisible());
        EXPECT_EQ(page->Model().GetSelected(), chart);
        QTest::mouseRelease(widget, Qt::RightButton, {}, at);
    }

    CGraphViewWnd* page = nullptr;
    CXrtOverlayFrame* chart = nullptr;
    LegendGridView* legend = nullptr;
    OverlayPanelView* panel = nullptr;
};

TEST_F(StripChartPage, ARightPressInTheLegendOffersThePagesMenuForTheChart) {
    // On a cell of the grid.
    const QRect cell = legend->visualRect(legend->model()->index(0, CLegendGrid::kChannelCol));
    ExpectMenuFromRightPress(legend->viewport(), cell.center());
    // The chart is selected: Cut, Copy and Delete are offered with Properties.
    for (QAction* action : page->ContextMenu()->actions()) {
        const unsigned id = action->data().toUInt();
        if (id == CGraphViewWnd::kEditCut || id == CGraphViewWnd::kEditCopy ||
            id == CGraphViewWnd::kDelete || id == CGraphViewWnd::kProperties) {
            EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        }
    }

    // On the open edit of the units per division, in place of the edit's own menu.
    legend->SetCurrentCell(1, CLegendGrid::kUnitsCol);
    ASSERT_TRUE(legend->ActivateCurrentCell());
    QLineEdit* edit = nullptr;
    for (QLineEdit* e : legend->findChildren<QLineEdit*>())
        if (e->isVisible())
            edit = e;
    ASSERT_NE(edit, nullptr);
    ExpectMenuFromRightPress(edit, edit->rect().center());
    EXPECT_EQ(edit->findChild<QMenu*>(), nullptr);

    // Properties from that menu opens the chart's property sheet; Help on each
    // page asks for the chart's help of that page.
    int shown = 0;
    RecordingHelp help;
    ScopedService<IHelp> helpGuard(SetHelp, &help);
    WhenShown<CGraphSheet>(
        [](CGraphSheet& sheet) {
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(sheet.SetActivePage(i));
                sheet.HelpButton()->click();
            }
            sheet.reject();
        },
        &shown);
    for (QAction* action : page->ContextMenu()->actions()) {
        if (action->data().toUInt() == CGraphViewWnd::kProperties)
            action->trigger();
    }
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(help.shown, (std::vector<unsigned>{11101, 11201, 11301}));
}

TEST_F(StripChartPage, TheChartsWindowTabsBetweenPanelAndLegendAndPassesOtherKeysToThePage) {
    // What reaches the page of the keys pressed on the chart's window.
    struct KeyLog : QObject {
        std::vector<int> keys;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress)
                keys.push_back(static_cast<QKeyEvent*>(event)->key());
            return false;
        }
    } log;
    page->installEventFilter(&log);
    auto* window = dynamic_cast<QWidget*>(chart->GetWindow());
    ASSERT_NE(window, nullptr);
    auto inside = [](QWidget* w) {
        return w->hasFocus() || w->isAncestorOf(QApplication::focusWidget());
    };

    window->setFocus();
    QTest::keyClick(window, Qt::Key_Tab);
    EXPECT_TRUE(inside(panel));
    QTest::keyClick(window, Qt::Key_Tab); // from inside the panel: to the legend
    EXPECT_TRUE(inside(legend));
    QTest::keyClick(window, Qt::Key_Backtab);
    EXPECT_TRUE(inside(panel));
    EXPECT_TRUE(log.keys.empty());

    window->setFocus();
    QTest::keyClick(window, Qt::Key_A);
    QTest::keyClick(window, Qt::Key_PageDown);
    EXPECT_EQ(log.keys, (std::vector<int>{Qt::Key_A, Qt::Key_PageDown}));
    EXPECT_TRUE(window->hasFocus());
    page->removeEventFilter(&log);
}

// A note added during a run marks the chart; after the run a double click on
// the mark shows the event log with the note's row current.
TEST_F(StripChartPage, ADoubleClickOnAnEventMarkShowsTheEventInTheLog) {
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard(SetPrompter, &prompter);
    CLoggerDoc& doc = wiring->Document();
    ASSERT_TRUE(program.Binding().SetScanInterval(1.0));
    ASSERT_TRUE(program.Binding().InitInstrument());
    doc.GetScan()->m_scanInterval = 1.0;
    doc.SetSetupInInstrument(true);
    frame.UpdateToolbars();
    WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
        dialog.DontShow()->setChecked(true);
        dialog.StartButton()->click();
    });
    frame.Action(cmd::kStartScan)->trigger();
    ASSERT_EQ(doc.IsScanning(), 1);
    for (int poll = 0; poll < 6; ++poll) {
        program.clock.Advance(1000);
        frame.OnTimer(CMainFrame::kScanTimer);
        if (poll == 2) {
            // Add Event from the page's menu, during the run.
            WhenShown<CEventEditDialog>([](CEventEditDialog& d) { d.accept(); });
            ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kAddEvent));
        }
    }
    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.OkButton()->click(); });
    frame.Action(cmd::kStopScan)->trigger();
    ASSERT_EQ(doc.IsScanning(), 0);
    ASSERT_TRUE(chart->GetDocumentHasReadings());

    auto* plot = qobject_cast<OverlayPlotView*>(StripChildWidget(chart->GetPlotWindow()));
    ASSERT_NE(plot, nullptr);
    CEventFrame* log = frame.EventFrame();
    ASSERT_NE(log, nullptr);
    // Every mark of the run (its start and the note) finds its event.
    const auto& marks = *chart->GetPlot()->GetMarks()->GetData();
    ASSERT_GE(marks.Count(CXrtOverlayPlot::kEventSeries), 1);
    std::vector<std::uint32_t> types;
    for (int i = 0; i < marks.Count(CXrtOverlayPlot::kEventSeries); ++i) {
        const double time = marks.X(CXrtOverlayPlot::kEventSeries, i);
        tvane::chart::ChartPoint at;
        chart->GetPlot()->DataToPixel(time, marks.Y(CXrtOverlayPlot::kEventSeries, i), 2, at);
        log->hide();
        log->View()->SetCurrentCell(1, 1);
        QTest::mouseDClick(plot, Qt::LeftButton, {}, QPoint(at.x, at.y));
        EXPECT_TRUE(log->isVisible()) << i;
        int row = -1, col = -1;
        ASSERT_TRUE(log->View()->Core().GetCurrentCell(row, col));
        EXPECT_EQ(col, 0);
        CDatasetEvent shown;
        ASSERT_TRUE(doc.GetEvent(row - 1, shown)) << row;
        EXPECT_NE(shown.m_type & 7u, 0u) << i;
        EXPECT_GE(shown.m_time, time - 1.0) << i;
        types.push_back(shown.m_type);
    }
    EXPECT_NE(std::find(types.begin(), types.end(), std::uint32_t{CDatasetEvent::User}),
              types.end());
    EXPECT_TRUE(prompter.asked.empty()) << prompter.asked.front().text;

    // Far from any mark nothing is sought.
    log->hide();
    QTest::mouseDClick(plot, Qt::LeftButton, {}, QPoint(plot->width() / 2, 3));
    EXPECT_FALSE(log->isVisible());
}

} // namespace
} // namespace tvane::test
