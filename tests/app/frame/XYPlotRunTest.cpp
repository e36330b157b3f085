// A scan of two channels on the simulated instrument watched on an XY plot of
// a graphics page of the main window: the plot made from the Graphics menu,
// its channels chosen in its sheet, every poll's pair of readings plotted as a
// point, the least-squares line and the marker switched on in its panel; the
// plot printed, copied and pasted, and kept by the setup's file.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/xy/CXYChannelPage.h"
#include "graphics/displays/xy/CXYFrame.h"
#include "graphics/displays/xy/XYPanelView.h"
#include "graphics/displays/xy/XYWindows.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/core/Services.h"
#include "platform/ui/Help.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

constexpr unsigned kXYPlotCommand = 702;

// The Graphics menu's entry of a command.
QAction* GraphicsMenuEntry(CMainFrame& frame, unsigned id) {
    for (QAction* action : frame.findChildren<QAction*>())
        if (action->data().toUInt() == id && action->text() == "&XY Plot")
            return action;
    return nullptr;
}

std::vector<char> XYFileBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The main window with two channels scanned once a second.
class XYPlotRun : public WholeProgramTest {
protected:
    void SetUp() override {
        WholeProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        ScanEverySecond(2);
        if (HasFatalFailure())
            return;
        page = wiring->Graphics()->Page(0);
        ASSERT_NE(page, nullptr);
        frame.Pages()->setCurrentWidget(page);
    }
    // Graphics, XY Plot: a new display on the page, the selected one.
    CXYFrame* NewXYPlot() {
        QAction* entry = GraphicsMenuEntry(frame, kXYPlotCommand);
        EXPECT_NE(entry, nullptr);
        if (!entry)
            return nullptr;
        frame.UpdateToolbars();
        EXPECT_TRUE(entry->isEnabled());
        entry->trigger();
        return dynamic_cast<CXYFrame*>(page->Model().GetSelected());
    }
    // The display's sheet from the page's Properties command: X and Y chosen
    // on the Channels page, Help asked on every page, then OK.
    void ChooseChannels(int x, int y, std::vector<unsigned>* helps = nullptr) {
        RecordingHelp help;
        ScopedService<IHelp> helpGuard(SetHelp, &help);
        int shown = 0;
        WhenShown<CGraphSheet>(
            [x, y](CGraphSheet& sheet) {
                auto* channels = qobject_cast<CXYChannelPage*>(sheet.Page(0));
                ASSERT_NE(channels, nullptr);
                auto* xList = channels->findChild<QComboBox*>("xChannel");
                auto* yList = channels->findChild<QComboBox*>("yChannel");
                ASSERT_TRUE(xList && yList);
                xList->setCurrentIndex(x);
                emit xList->activated(x);
                yList->setCurrentIndex(y);
                emit yList->activated(y);
                for (int i = 0; i < 3; ++i) {
                    EXPECT_TRUE(sheet.SetActivePage(i));
                    sheet.HelpButton()->click();
                }
                sheet.accept();
            },
            &shown);
        ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kProperties));
        EXPECT_EQ(shown, 1);
        if (helps)
            *helps = help.shown;
    }
    void StartScan() {
        frame.UpdateToolbars();
        WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
            dialog.DontShow()->setChecked(true);
            dialog.StartButton()->click();
        });
        frame.Action(cmd::kStartScan)->trigger();
        ASSERT_EQ(Doc().IsScanning(), 1);
    }
    void StopScan() {
        WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.reject(); });
        frame.Action(cmd::kStopScan)->trigger();
        EXPECT_EQ(Doc().IsScanning(), 0);
    }

    CGraphViewWnd* page = nullptr;
};

TEST_F(XYPlotRun, AScanOfTwoChannelsPlotsEveryPollsPairOnAnXYPlotFromTheGraphicsMenu) {
    CXYFrame* xy = NewXYPlot();
    ASSERT_NE(xy, nullptr);
    EXPECT_EQ(xy->GetTitle(), "XY Plot");
    xy->GetWindow()->MoveWindow({10, 10, 630, 470}, true);
    xy->OnSize(true);
    // The sheet: the Channels, Appearance and Advanced pages with their help.
    std::vector<unsigned> helps;
    ChooseChannels(1, 2, &helps);
    EXPECT_EQ(helps, (std::vector<unsigned>{11104, 11204, 11304}));
    xy = dynamic_cast<CXYFrame*>(page->Model().GetSelected()); // OK put the edited copy in place
    ASSERT_NE(xy, nullptr);
    ASSERT_NE(xy->GetChannelArray()->GetAt(0), nullptr);
    EXPECT_EQ(xy->GetChannelArray()->GetAt(0)->Number, 101);
    EXPECT_EQ(xy->GetChannelArray()->GetAt(1)->Number, 102);

    StartScan();
    if (HasFatalFailure())
        return;
    // Every poll's pair, as the document files the readings.
    std::vector<std::pair<double, double>> pairs;
    constexpr int kPolls = 12;
    for (int i = 0; i < kPolls; ++i) {
        Poll();
        std::vector<ReadingRecord*> xs, ys;
        Doc().GetChannelReadings(101, xs);
        Doc().GetChannelReadings(102, ys);
        ASSERT_EQ(xs.size(), 1u);
        ASSERT_EQ(ys.size(), 1u);
        pairs.push_back({xs[0]->Value, ys[0]->Value});
    }
    const CXYPlot& plot = *xy->GetPlot();
    ASSERT_EQ(plot.GetPointCount(), kPolls);
    for (int i = 0; i < kPolls; ++i) {
        EXPECT_DOUBLE_EQ(plot.GetPointX(i), pairs[static_cast<std::size_t>(i)].first) << i;
        EXPECT_DOUBLE_EQ(plot.GetPointY(i), pairs[static_cast<std::size_t>(i)].second) << i;
    }

    // The panel: least squares, the marker and Autoscale, clicked.
    auto* panel = qobject_cast<XYPanelView*>(XYChildWidget(xy->GetPanelWindow()));
    ASSERT_NE(panel, nullptr);
    QTest::mouseClick(panel->LeastSquaresBox(), Qt::LeftButton);
    QTest::mouseClick(panel->MarkerBox(), Qt::LeftButton);
    QTest::mouseClick(panel->AutoscaleButton(), Qt::LeftButton);
    EXPECT_TRUE(plot.GetLeastSquares());
    EXPECT_NE(panel->Readout(CXYCtrlPanel::kGain)->text().trimmed(), "");
    EXPECT_EQ(panel->Readout(CXYCtrlPanel::kXChannel)->text(), "(101)");
    EXPECT_EQ(plot.GetXRange().minimum, plot.GetMinX());
    Poll();
    EXPECT_EQ(plot.GetPointCount(), kPolls + 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(SaveArtifact(frame, "xy_plot_run.png"));

    // The page prints with the plot drawn into the printer's page.
    const auto pdf = ArtifactPath("xy_plot_run.pdf");
    ASSERT_TRUE(
        wiring->Graphics()->PrintCurrentPageToPdf(QString::fromStdString(pdf.string()), false));
    EXPECT_GT(std::filesystem::file_size(pdf), 3000u);
    QImage printed(620, 460, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        QtGraphDC dc(painter);
        EXPECT_TRUE(xy->DrawFrame(dc, nullptr));
    }
    EXPECT_TRUE(SaveArtifact(printed, "xy_plot_run_print.png"));
    StopScan();
}

// Two XY plots on a page, fed by a run: copied and pasted, and kept by the
// setup's file byte for byte.
TEST_F(XYPlotRun, TwoXYPlotsAreCopiedPastedAndKeptByTheSetupsFile) {
    CXYFrame* first = NewXYPlot();
    ASSERT_NE(first, nullptr);
    ChooseChannels(1, 2);
    CXYFrame* second = NewXYPlot();
    ASSERT_NE(second, nullptr);
    ChooseChannels(2, 1);
    StartScan();
    if (HasFatalFailure())
        return;
    for (int i = 0; i < 5; ++i)
        Poll();
    std::vector<CXYFrame*> plots;
    for (CGraphFrame* f : *page->Model().GetFrameList())
        if (auto* xy = dynamic_cast<CXYFrame*>(f))
            plots.push_back(xy);
    ASSERT_EQ(plots.size(), 2u);
    for (CXYFrame* xy : plots)
        EXPECT_EQ(xy->GetPlot()->GetPointCount(), 5);
    plots[1]->GetPanel()->ClickLeastSquares(true);

    // The end of the run empties the plots, as its start does.
    StopScan();
    for (CXYFrame* xy : plots)
        EXPECT_EQ(xy->GetPlot()->GetPointCount(), 0);

    // Copy and paste each: the copy's archive is the original's.
    page->Model().SetRectTracker([](const GRect& r) -> std::optional<GRect> { return r; });
    for (CXYFrame* xy : plots) {
        page->Model().SelectFrame(xy);
        const std::vector<std::uint8_t> original = CGraphView::StoreFrame(*xy);
        ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kEditCopy));
        ASSERT_TRUE(page->IsCommandEnabled(CGraphViewWnd::kEditPaste));
        ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kEditPaste));
        auto* pasted = dynamic_cast<CXYFrame*>(page->Model().GetSelected());
        ASSERT_NE(pasted, nullptr);
        ASSERT_NE(pasted, xy);
        EXPECT_EQ(CGraphView::StoreFrame(*pasted), original);
    }
    EXPECT_EQ(page->Model().GetFrameCount(), 4);

    // Saved, opened, saved again: the same bytes, and the displays as they were.
    // A selected display's border takes from its children, and a page opens
    // with none selected: the page is saved as it will open.
    page->Model().DeselectAll();
    const std::string saved = (program.home.Data() / "xy.tvs").string();
    const std::string again = (program.home.Data() / "xy-again.tvs").string();
    Doc().WriteDocumentFile(saved);
    std::vector<std::vector<std::uint8_t>> before;
    for (CGraphFrame* f : *page->Model().GetFrameList())
        before.push_back(CGraphView::StoreFrame(*f));
    page->Model().DeleteAllFrames();
    Doc().ReadDocumentFile(saved);
    page = wiring->Graphics()->Page(0);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->Model().GetFrameCount(), 4);
    std::size_t i = 0;
    for (CGraphFrame* f : *page->Model().GetFrameList()) {
        ASSERT_NE(dynamic_cast<CXYFrame*>(f), nullptr);
        EXPECT_EQ(CGraphView::StoreFrame(*f), before[i]) << i;
        ++i;
    }
    Doc().WriteDocumentFile(again);
    EXPECT_EQ(XYFileBytes(again), XYFileBytes(saved));
    frame.SelectPage(1);
    QApplication::processEvents();
    EXPECT_TRUE(SaveArtifact(frame, "xy_plots_reloaded.png"));
}

} // namespace
} // namespace tvane::test
