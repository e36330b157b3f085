// A graphics page as a user meets it on the simulated instrument: the Edit
// menu serving the page, the strip chart's first reading, its legend, panel
// and time labels measured against their room, and the printed page.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "graphics/CGraphView.h"
#include "graphics/CLegendGrid.h"
#include "graphics/COverlayCtrlPanel.h"
#include "graphics/CTextDisplay.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/CXrtOverlayFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/GraphClipboard.h"
#include "graphics/view/LegendGridView.h"
#include "graphics/view/OverlayPanelView.h"
#include "graphics/view/OverlayPlotView.h"
#include "graphics/view/StripChartWindows.h"
#include "graphics/view/TextDisplayView.h"
#include "platform/chart/ChartData.h"
#include "platform/chartview/ChartQt.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "setup/SetupViewCommands.h"
#include "tests/app/frame/QtApp.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/TextFits.h"
#include "tests/app/frame/WhenShown.h"

namespace tvane::test {
namespace {

using Edit = SetupViewCommands;

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

// The main window with a strip chart of three channels on its first graphics
// page, at the size a new display gets.
class GraphicsLook : public ::testing::Test {
protected:
    void SetUp() override {
        program.Start();
        if (HasFatalFailure())
            return;
        frame.resize(1280, 900);
        frame.show();
        preferences.Initialize();
        preferences.SetPrefValue(CAppPreferences::kStartScanningWindow, "N");
        wiring = std::make_unique<DocumentWiring>(program.state, &program.connection, &frame,
                                                  &preferences);
        program.MakeSetup(wiring->Document(), 3);
        if (HasFatalFailure())
            return;
        page = wiring->Graphics()->Page(0);
        frame.Pages()->setCurrentWidget(page);
        frame.OnCmdMsg(700);
        chart = dynamic_cast<CXrtOverlayFrame*>(page->Model().GetSelected());
        ASSERT_NE(chart, nullptr);
        chart->GetLegend()->ChoiceEnded(2, 2);
        chart->GetLegend()->ChoiceEnded(3, 3);
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        legend = qobject_cast<LegendGridView*>(StripChildWidget(chart->GetLegendWindow()));
        panel = qobject_cast<OverlayPanelView*>(StripChildWidget(chart->GetPanelWindow()));
        plot = qobject_cast<OverlayPlotView*>(StripChildWidget(chart->GetPlotWindow()));
        ASSERT_TRUE(legend && panel && plot);
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        wiring.reset();
    }
    void Resize(int width, int height) {
        chart->GetWindow()->MoveWindow({10, 10, 10 + width, 10 + height}, true);
        chart->LayoutChildren();
        QCoreApplication::processEvents();
    }
    void StartRun() {
        program.ScanEverySecond(wiring->Document());
        frame.UpdateToolbars();
        frame.Action(cmd::kStartScan)->trigger();
        ASSERT_TRUE(wiring->Document().IsScanning());
    }
    void Poll() {
        program.clock.Advance(1000);
        frame.OnTimer(CMainFrame::kScanTimer);
        plot->repaint();
    }
    void StopRun() {
        WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& d) { d.reject(); });
        frame.Action(cmd::kStopScan)->trigger();
    }
    bool Enabled(unsigned id) {
        frame.UpdateToolbars();
        return frame.Action(id)->isEnabled();
    }

    QApplication& app = TestApp();
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterService{SetPrompter, &prompter};
    SimulatedProgram program;
    CMainFrame frame;
    CAppPreferences preferences;
    std::unique_ptr<DocumentWiring> wiring;
    CGraphViewWnd* page = nullptr;
    CXrtOverlayFrame* chart = nullptr;
    LegendGridView* legend = nullptr;
    OverlayPanelView* panel = nullptr;
    OverlayPlotView* plot = nullptr;
};

// One Edit menu serves the page that is shown: its Copy and Paste work on the
// selected display, its keys too, and Undo, which only the grid has, is off.
TEST_F(GraphicsLook, TheEditMenuCopiesAndPastesTheSelectedDisplay) {
    ASSERT_FALSE(HasFatalFailure());
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
TEST_F(GraphicsLook, ARunOfOneScanShowsAPoint) {
    ASSERT_FALSE(HasFatalFailure());
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
TEST_F(GraphicsLook, ChartTextsAreWholeWithBothMarkersOn) {
    ASSERT_FALSE(HasFatalFailure());
    Resize(920, 560);
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
TEST_F(GraphicsLook, AClickNeverScrollsTheLegendRowItIsOn) {
    ASSERT_FALSE(HasFatalFailure());
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
TEST_F(GraphicsLook, APrintedPageHasItsFooterAtItsFoot) {
    ASSERT_FALSE(HasFatalFailure());
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
