// A scan of three channels on the simulated instrument watched on a strip
// chart of a graphics page of the main window: the chart made from the
// Graphics menu, its channels chosen in its legend, the readings of every
// poll plotted at their times and values.
#include <filesystem>
#include <map>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QPushButton>
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
#include "graphics/CXrtGraphData.h"
#include "graphics/CXrtOverlayFrame.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chart/ChartData.h"
#include "scan/CFXScan.h"
#include "tests/app/frame/QtApp.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"

namespace tvane::test {
namespace {

TEST(StripChartRun, AScanOnTheSimulatedInstrumentScrollsAcrossTheStripChart) {
    TestApp();
    SimulatedProgram program;
    program.Start();
    if (HasFatalFailure())
        return;
    CMainFrame frame;
    frame.resize(900, 700);
    frame.show();
    CAppPreferences preferences;
    preferences.Initialize();
    DocumentWiring wiring(program.state, &program.connection, &frame, &preferences);
    CLoggerDoc& doc = wiring.Document();
    program.MakeSetup(doc, 3);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(program.Binding().SetScanInterval(1.0));
    ASSERT_TRUE(program.Binding().InitInstrument());
    doc.GetScan()->m_scanInterval = 1.0;
    doc.SetSetupInInstrument(true);
    doc.SetModifiedFlag(false);

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

    const auto dir = std::filesystem::path(TVANE_BINARY_DIR) / "artifacts";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(frame.grab().save(QString::fromStdString((dir / "strip_chart_run.png").string())));
    // The page prints with the chart drawn into the printer's page.
    const auto pdf = dir / "strip_chart_run.pdf";
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
    EXPECT_TRUE(printed.save(QString::fromStdString((dir / "strip_chart_run_print.png").string())));

    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.reject(); });
    frame.Action(cmd::kStopScan)->trigger();
    EXPECT_EQ(doc.IsScanning(), 0);
}

} // namespace
} // namespace tvane::test
