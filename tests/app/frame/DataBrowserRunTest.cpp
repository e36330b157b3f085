// The Data Browser through the main window on the simulated instrument: off
// while a scan runs, opened by the end of the run and from the View menu, and
// moving it puts the strip chart at the readings of that time.
#include <filesystem>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/frame/CDataBrowserDialog.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "graphics/CGraphView.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/displays/strip/CLegendGrid.h"
#include "graphics/displays/strip/COverlayCtrlPanel.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/chart/ChartData.h"
#include "scan/CFXScan.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

TEST(DataBrowserRun, TheBrowserMovesTheStripChartToTheStoredReadingsOfItsTime) {
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

    CGraphViewWnd* page = wiring.Graphics()->Page(0);
    ASSERT_NE(page, nullptr);
    frame.Pages()->setCurrentWidget(page);
    frame.OnCmdMsg(700);
    auto* chart = dynamic_cast<CXrtOverlayFrame*>(page->Model().GetSelected());
    ASSERT_NE(chart, nullptr);
    chart->GetWindow()->MoveWindow({10, 10, 620, 470}, true);
    chart->LayoutChildren();
    // Channels 102 and 103 join 101 on the chart.
    chart->GetLegend()->ChoiceEnded(2, 2);
    chart->GetLegend()->ChoiceEnded(3, 3);

    QAction* browse = frame.Action(cmd::kDataBrowser);
    ASSERT_NE(browse, nullptr);
    frame.UpdateToolbars();
    EXPECT_FALSE(browse->isEnabled()) << "no readings yet";

    WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
        dialog.DontShow()->setChecked(true);
        dialog.StartButton()->click();
    });
    frame.Action(cmd::kStartScan)->trigger();
    ASSERT_EQ(doc.IsScanning(), 1);
    std::vector<double> times; // channel 101's readings, scan by scan
    constexpr int kScans = 30;
    for (int poll = 0; poll < kScans; ++poll) {
        program.clock.Advance(1000);
        frame.OnTimer(CMainFrame::kScanTimer);
        std::vector<ReadingRecord*> list;
        doc.GetChannelReadings(101, list);
        for (const ReadingRecord* r : list)
            times.push_back(static_cast<double>(r->Time));
        if (poll == 5) {
            frame.UpdateToolbars();
            EXPECT_FALSE(browse->isEnabled()) << "disabled while scanning";
        }
    }
    ASSERT_EQ(times.size(), static_cast<std::size_t>(kScans));
    // Past the dataset's periodic header writes the chart still follows the run.
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(chart->GetPlot()->GetTimeAxis().end, times.back());

    // The end of the run offers the browser (the preference is set by default).
    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.OkButton()->click(); });
    frame.Action(cmd::kStopScan)->trigger();
    ASSERT_EQ(doc.IsScanning(), 0);
    EXPECT_TRUE(doc.IsDataBrowserOpen());
    frame.UpdateToolbars();
    EXPECT_TRUE(browse->isEnabled());
    EXPECT_TRUE(browse->isChecked());

    // The menu entry closes it, and opens it again.
    browse->trigger();
    EXPECT_FALSE(doc.IsDataBrowserOpen());
    EXPECT_FALSE(browse->isChecked());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(wiring.DataBrowsers().Window(), nullptr);
    browse->trigger();
    CDataBrowserDialog* dialog = wiring.DataBrowsers().Window();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(browse->isChecked());
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Data Browser");
    EXPECT_EQ(dialog->CounterLabel()->text().toStdString(), "30 of 30");

    // One second a division, as the panel's spin button gives it.
    for (int step = 0; step < 7; ++step)
        chart->GetPanel()->Spin(COverlayCtrlPanel::kSpinDown);
    ASSERT_DOUBLE_EQ(chart->GetPlot()->GetTimeRange().scale, 1.0);

    // To the first scan, then two pages on: a page is three scans of thirty.
    QScrollBar* bar = dialog->ScrollBar();
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(dialog->CounterLabel()->text().toStdString(), "1 of 30");
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(dialog->CounterLabel()->text().toStdString(), "7 of 30");
    QCoreApplication::processEvents();
    QTest::qWait(60);

    // The chart ends at the seventh scan and shows the stored readings up to it.
    const double browsed = times[6];
    EXPECT_DOUBLE_EQ(doc.GetBrowsePosition(), browsed);
    EXPECT_DOUBLE_EQ(chart->GetPlot()->GetTimeAxis().end, browsed);
    const tvane::chart::ChartData& traces = *chart->GetPlot()->GetTraces()->GetData();
    for (int slot = 0; slot < 3; ++slot) {
        ASSERT_EQ(traces.Count(slot), 7) << slot;
        for (int i = 0; i < 7; ++i)
            EXPECT_DOUBLE_EQ(traces.X(slot, i), times[static_cast<std::size_t>(i)]) << slot;
    }

    EXPECT_TRUE(SaveArtifact(*dialog, "data_browser.png"));
    EXPECT_TRUE(SaveArtifact(frame, "data_browser_page.png"));

    // Its close box lets the document forget it.
    dialog->close();
    EXPECT_FALSE(doc.IsDataBrowserOpen());
    frame.UpdateToolbars();
    EXPECT_FALSE(browse->isChecked());
}

} // namespace
} // namespace tvane::test
