// A scan of three channels on the simulated instrument watched on a strip
// chart of a graphics page of the main window: the chart made from the
// Graphics menu, its channels chosen in its legend, the readings of every
// poll plotted at their times and values; the page's Edit menu, the chart's
// first scan, its texts measured against their room, and the printed page.
#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
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
#include "graphics/displays/strip/CLegendGrid.h"
#include "graphics/displays/strip/COverlayCtrlPanel.h"
#include "graphics/displays/strip/CTextDisplay.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/displays/strip/LegendGridView.h"
#include "graphics/displays/strip/OverlayPanelView.h"
#include "graphics/displays/strip/OverlayPlotView.h"
#include "graphics/displays/strip/StripChartWindows.h"
#include "graphics/displays/strip/TextDisplayView.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/GraphClipboard.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chart/ChartData.h"
#include "platform/chartview/ChartQt.h"
#include "platform/core/Services.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "scan/CFXScan.h"
#include "setup/SetupViewCommands.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/TextFits.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

using Edit = SetupViewCommands;

// Start Scan from the window, Start pressed in the Scan Status window.
void StartFromWindow(CMainFrame& frame) {
    frame.UpdateToolbars();
    WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
        dialog.DontShow()->setChecked(true);
        dialog.StartButton()->click();
    });
    frame.Action(cmd::kStartScan)->trigger();
}

void SaveLookPicture(const QImage& picture, const char* name) {
    const auto dir = std::filesystem::path(TVANE_BINARY_DIR) / "artifacts";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / name).string())));
}

// The labels of the chart's time row whose text its cell cuts.
std::vector<std::string> CutTimeLabels(const CTextDisplay& display) {
    std::vector<std::string> cut;
    const QFontMetrics metrics(TextDisplayView::Font(display));
    for (int c = 0; c < display.Columns(); ++c)
        if (const CLabel* label = display.Label(0, c))
            if (metrics.horizontalAdvance(QString::fromStdString(label->Text())) >
                label->cell.Width())
                cut.push_back(label->Text());
    return cut;
}

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

    StartFromWindow(frame);
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
        plot = qobject_cast<OverlayPlotView*>(StripChildWidget(chart->GetPlotWindow()));
        ASSERT_TRUE(legend && panel && plot);
    }
    void TearDown() override {
        if (page)
            page->ContextMenu()->hide();
        WholeProgramTest::TearDown();
    }
    void Resize(int width, int height) {
        chart->GetWindow()->MoveWindow({10, 10, 10 + width, 10 + height}, true);
        chart->LayoutChildren();
        QCoreApplication::processEvents();
    }
    // A run of a scan a second, started from the window.
    void StartRun() {
        CLoggerDoc& doc = wiring->Document();
        program.ScanEverySecond(doc);
        ASSERT_FALSE(HasFatalFailure());
        StartFromWindow(frame);
        ASSERT_EQ(doc.IsScanning(), 1);
    }
    void Poll() {
        program.clock.Advance(1000);
        frame.OnTimer(CMainFrame::kScanTimer);
        plot->repaint();
    }
    void StopRun(bool keep = false) {
        WhenShown<CSaveScanDataDialog>([keep](CSaveScanDataDialog& dialog) {
            if (keep)
                dialog.OkButton()->click();
            else
                dialog.reject();
        });
        frame.Action(cmd::kStopScan)->trigger();
    }
    bool Enabled(unsigned id) {
        frame.UpdateToolbars();
        return frame.Action(id)->isEnabled();
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
    OverlayPlotView* plot = nullptr;
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
    StartRun();
    ASSERT_FALSE(HasFatalFailure());
    for (int poll = 0; poll < 6; ++poll) {
        Poll();
        if (poll == 2) {
            // Add Event from the page's menu, during the run.
            WhenShown<CEventEditDialog>([](CEventEditDialog& d) { d.accept(); });
            ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kAddEvent));
        }
    }
    StopRun(true);
    ASSERT_EQ(doc.IsScanning(), 0);
    ASSERT_TRUE(chart->GetDocumentHasReadings());

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

// One Edit menu serves the page that is shown: its Copy and Paste work on the
// selected display, its keys too, and Undo, which only the grid has, is off.
TEST_F(StripChartPage, TheEditMenuCopiesAndPastesTheSelectedDisplay) {
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard(SetPrompter, &prompter);
    QApplication::clipboard()->clear();
    for (unsigned id : {Edit::kCut, Edit::kCopy, Edit::kDelete})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(Edit::kPaste)) << "nothing to paste yet";
    EXPECT_FALSE(Enabled(Edit::kUndo));

    frame.Action(Edit::kCopy)->trigger();
    ASSERT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(kGraphicMimeType));
    ASSERT_TRUE(Enabled(Edit::kPaste));
    QTimer::singleShot(20, [this] {
        QTest::mouseMove(page, QPoint(700, 300));
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(700, 300));
    });
    frame.Action(Edit::kPaste)->trigger();
    ASSERT_EQ(page->Model().GetFrameCount(), 2);
    EXPECT_NE(page->Model().GetSelected(), chart);

    // Ctrl+C on the page copies too, however stale the menu's state was.
    page->Model().DeselectAll();
    EXPECT_FALSE(Enabled(Edit::kCopy));
    QApplication::clipboard()->clear();
    page->Model().SelectFrame(chart);
    page->setFocus();
    QTest::keyClick(page, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(kGraphicMimeType));

    // Without a selection the page has nothing to cut, copy or delete.
    page->Model().DeselectAll();
    for (unsigned id : {Edit::kCut, Edit::kCopy, Edit::kDelete})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(prompter.asked.empty());
}

// The first scan of a run shows at once, as a point of each trace.
TEST_F(StripChartPage, ARunOfOneScanShowsAPoint) {
    StartRun();
    ASSERT_FALSE(HasFatalFailure());
    Poll();
    const auto& traces = *chart->GetPlot()->GetTraces()->GetData();
    int points = 0;
    for (int i = 0; i < traces.Count(0); ++i)
        points += traces.Y(0, i) != traces.Hole();
    ASSERT_EQ(points, 1);
    const QImage shot = plot->grab().toImage();
    SaveLookPicture(shot, "strip_chart_first_scan.png");
    // Each trace's reading is a dot of its colour at the window's end.
    for (int slot = 0; slot < 3; ++slot) {
        const QColor trace = chart::ToQColor(static_cast<std::int32_t>(chart->GetColorSlot(slot)));
        const double y = traces.Y(slot, traces.Count(slot) - 1);
        if (y < -1.0 || y > 1.0)
            continue; // off the chart's scale
        int lit = 0;
        for (int row = 0; row < shot.height(); ++row)
            for (int x = shot.width() / 2; x < shot.width(); ++x)
                lit += shot.pixelColor(x, row) == trace;
        EXPECT_GE(lit, 6) << "slot " << slot;
    }
    StopRun();
}

// Both markers on, at 1 s and at 2 min a division: the legend's headers, the
// panel's readouts and the time labels are whole.
TEST_F(StripChartPage, ChartTextsAreWholeWithBothMarkersOn) {
    Resize(920, 560);
    chart->GetLegend()->ChoiceEnded(2, 2);
    chart->GetLegend()->ChoiceEnded(3, 3);
    StartRun();
    ASSERT_FALSE(HasFatalFailure());
    for (int poll = 0; poll < 8; ++poll)
        Poll();
    chart->GetLegend()->ClickCell(1, CLegendGrid::kMarker1Col);
    chart->GetLegend()->ClickCell(2, CLegendGrid::kMarker2Col);
    EXPECT_EQ(panel->Readout(COverlayCtrlPanel::kY2Channel)->text(), "(102)");

    struct Scale {
        int stepsDown;
        const char* picture;
    } scales[] = {{0, "strip_chart_markers_2min.png"}, {7, "strip_chart_markers_1s.png"}};
    for (const Scale& s : scales) {
        SCOPED_TRACE(s.picture);
        for (int i = 0; i < s.stepsDown; ++i)
            chart->GetPanel()->Spin(COverlayCtrlPanel::kSpinDown);
        Poll();
        QCoreApplication::processEvents();
        auto* window = dynamic_cast<QWidget*>(chart->GetWindow());
        ASSERT_NE(window, nullptr);
        SaveLookPicture(window->grab().toImage(), s.picture);
        EXPECT_EQ(CutHeaders(*legend), std::vector<std::string>{});
        EXPECT_EQ(CutLabels(*panel), std::vector<std::string>{});
        EXPECT_EQ(CutTimeLabels(*chart->GetTextDisplay()), std::vector<std::string>{});
    }
    EXPECT_DOUBLE_EQ(chart->GetPlot()->GetTimeRange().scale, 1.0);

    // At the size a new chart gets, the marker labels and channels stay whole.
    Resize(465, 320);
    for (QLabel* label : panel->findChildren<QLabel*>()) {
        const QString text = label->text();
        if (text.isEmpty() || label == panel->Readout(COverlayCtrlPanel::kY1Value) ||
            label == panel->Readout(COverlayCtrlPanel::kY2Value) ||
            label == panel->Readout(COverlayCtrlPanel::kT1Value) ||
            label == panel->Readout(COverlayCtrlPanel::kT2Value) ||
            label == panel->Readout(COverlayCtrlPanel::kDeltaY) ||
            label == panel->Readout(COverlayCtrlPanel::kDeltaT))
            continue;
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(text), label->width())
            << text.toStdString();
        EXPECT_LT(label->geometry().right(), panel->width()) << text.toStdString();
    }
    EXPECT_EQ(CutTimeLabels(*chart->GetTextDisplay()), std::vector<std::string>{});
    StopRun();
}

// A click on a legend row that the legend shows only in part does not scroll
// it: a double click's second click lands on the same row.
TEST_F(StripChartPage, AClickNeverScrollsTheLegendRowItIsOn) {
    Resize(465, 320);
    const QRect row2 = legend->visualRect(legend->model()->index(1, CLegendGrid::kUnitsCol));
    ASSERT_GT(row2.bottom(), legend->viewport()->height()) << "the second row is cut";
    const int scrolled = legend->verticalScrollBar()->value();
    const QPoint at(row2.center().x(), row2.top() + 3);
    QTest::mouseClick(legend->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(legend->verticalScrollBar()->value(), scrolled);
    // The item view scrolls a pressed row into sight on a timer of its own a
    // moment after the press: it is made to run out now.
    for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(legend)) {
        QTimerEvent due(timer.timerId);
        QCoreApplication::sendEvent(legend, &due);
    }
    EXPECT_EQ(legend->verticalScrollBar()->value(), scrolled);
    int row = 0, col = 0;
    ASSERT_TRUE(legend->Core().GetCurrentCell(row, col));
    EXPECT_EQ(row, 2);
    // A double click there opens the chart's properties, of the same row.
    int shown = 0;
    WhenShown<CGraphSheet>([](CGraphSheet& sheet) { sheet.reject(); }, &shown);
    QTest::mouseDClick(legend->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(legend->verticalScrollBar()->value(), scrolled);
    ASSERT_TRUE(legend->Core().GetCurrentCell(row, col));
    EXPECT_EQ(row, 2);
}

// The printed page: the displays from its top, "Page 1/1" at its foot.
TEST_F(StripChartPage, APrintedPageHasItsFooterAtItsFoot) {
    Resize(620, 470);
    QImage sheet(794, 1123, QImage::Format_RGB32); // A4 at 96 dots an inch
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        page->PrintOn(painter, sheet.rect(), false);
    }
    SaveLookPicture(sheet, "graphics_page_printed.png");
    // The lowest ink is the footer's, within the sheet's last twentieth.
    int lowest = -1;
    for (int y = sheet.height() - 1; y >= 0 && lowest < 0; --y)
        for (int x = 0; x < sheet.width(); ++x)
            if (qGray(sheet.pixel(x, y)) < 128) {
                lowest = y;
                break;
            }
    EXPECT_GT(lowest, sheet.height() * 19 / 20);
    // Between the page's displays and the footer the sheet is blank.
    int inkInMiddle = 0;
    for (int y = sheet.height() * 7 / 10; y < sheet.height() * 9 / 10; ++y)
        for (int x = 0; x < sheet.width(); ++x)
            inkInMiddle += qGray(sheet.pixel(x, y)) < 128;
    EXPECT_EQ(inkInMiddle, 0);
}

} // namespace
} // namespace tvane::test
