// Bar meters and histograms made from the Graphics menu of the main window on
// the simulated instrument: fed by a scan, edited in their sheets, printed,
// copied and pasted, dragged onto another page, and saved and opened with the
// setup.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CLoggerDoc.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/bar/CBarFrame.h"
#include "graphics/displays/histogram/CHistogramFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/GraphClipboard.h"
#include "platform/core/Services.h"
#include "platform/sheet/PropertyPage.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtDragTracker.h"
#include "scan/CChannelArray.h"
#include "scan/records/ReadingRecord.h"
#include "setup/SetupViewCommands.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace barhistogramrun {

constexpr unsigned kBarMeter = 32874;
constexpr unsigned kHistogram = 703;

// Where two archives first differ, -1 when they are equal (a short failure
// message for long archives).
template <class Bytes> long FirstDifference(const Bytes& a, const Bytes& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

// The channel a display shows, 0 for none.
std::int32_t ChannelOf(const CGraphFrame& display) {
    const CChannelArray* list = display.GetChannelArray();
    const CChannelInfo* channel = list ? list->GetAt(0) : nullptr;
    return channel ? channel->Number : 0;
}

// The main window scanning three channels once a second, with two bar meters
// and two histograms made from its Graphics menu on the first page; the drag
// file in a folder of the test's own.
class BarHistogramRun : public ::testing::Test {
protected:
    void SetUp() override {
        whole.Start();
        if (HasFatalFailure())
            return;
        whole.ScanEverySecond(3);
        if (HasFatalFailure())
            return;
        page = whole.wiring->Graphics()->Page(0);
        ASSERT_NE(page, nullptr);
        frame.Pages()->setCurrentWidget(page);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        bars[0] = dynamic_cast<CBarFrame*>(FromMenu(kBarMeter, {10, 10, 130, 250}));
        bars[1] = dynamic_cast<CBarFrame*>(FromMenu(kBarMeter, {140, 10, 260, 250}));
        histograms[0] = dynamic_cast<CHistogramFrame*>(FromMenu(kHistogram, {270, 10, 760, 330}));
        histograms[1] = dynamic_cast<CHistogramFrame*>(FromMenu(kHistogram, {270, 340, 760, 660}));
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(bars[i] && histograms[i]) << i;
    }
    void TearDown() override { whole.wiring.reset(); }
    // The Graphics menu's entry of the command, enabled, triggered; the new
    // display moved to rect.
    CGraphFrame* FromMenu(unsigned command, const GRect& rect) {
        QMenu* menu = whole.wiring->Graphics()->Menu();
        emit menu->aboutToShow();
        for (QAction* a : menu->actions())
            if (a->data().toUInt() == command) {
                EXPECT_TRUE(a->isEnabled());
                a->trigger();
            }
        CGraphFrame* made = page->Model().GetSelected();
        if (made)
            made->GetWindow()->MoveWindow(rect, true);
        return made;
    }
    void StartRun() {
        WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
            dialog.DontShow()->setChecked(true);
            dialog.StartButton()->click();
        });
        frame.Action(cmd::kStartScan)->trigger();
        ASSERT_EQ(whole.Doc().IsScanning(), 1);
    }
    void StopRun() {
        WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.reject(); });
        frame.Action(cmd::kStopScan)->trigger();
        EXPECT_EQ(whole.Doc().IsScanning(), 0);
    }
    QPoint At(QWidget* widget, const QPoint& p) const { return widget->mapTo(&frame, p); }

    ScopedTmpDir m_tmp; // before the program's own home
    WholeProgram whole;
    CMainFrame& frame = whole.frame;
    CGraphViewWnd* page = nullptr;
    CBarFrame* bars[2] = {};
    CHistogramFrame* histograms[2] = {};
};

TEST_F(BarHistogramRun, AScanFeedsBarMetersAndHistogramsThatPrintAndComeBackFromTheSetupFile) {
    // The second of each shows the second channel, chosen in its sheet.
    RecordingHelp help;
    ScopedService<IHelp> helpGuard(SetHelp, &help);
    // The sheet edits a copy that takes the display's place when it is closed with OK.
    for (int kind = 0; kind < 2; ++kind) {
        page->Model().SelectFrame(kind == 0 ? static_cast<CGraphFrame*>(bars[1])
                                            : static_cast<CGraphFrame*>(histograms[1]));
        int shown = 0;
        WhenShown<CGraphSheet>(
            [](CGraphSheet& sheet) {
                for (int i = 2; i >= 0; --i) {
                    EXPECT_TRUE(sheet.SetActivePage(i));
                    sheet.HelpButton()->click();
                }
                auto* channel = sheet.Page(0)->findChild<QComboBox*>("channel");
                ASSERT_NE(channel, nullptr);
                channel->setCurrentIndex(2);
                emit channel->activated(2);
                sheet.accept();
            },
            &shown);
        ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kProperties));
        EXPECT_EQ(shown, 1);
        if (kind == 0)
            bars[1] = dynamic_cast<CBarFrame*>(page->Model().GetSelected());
        else
            histograms[1] = dynamic_cast<CHistogramFrame*>(page->Model().GetSelected());
        ASSERT_TRUE(bars[1] && histograms[1]);
    }
    EXPECT_EQ(help.shown, (std::vector<unsigned>{11303, 11203, 11103, 11305, 11205, 11105}));
    ASSERT_EQ(ChannelOf(*bars[1]), 102);
    ASSERT_EQ(ChannelOf(*histograms[1]), 102);
    ASSERT_EQ(ChannelOf(*bars[0]), 101);

    StartRun();
    if (HasFatalFailure())
        return;
    constexpr int kPolls = 15;
    std::map<int, int> received;
    std::map<int, double> newest;
    for (int poll = 0; poll < kPolls; ++poll) {
        whole.Poll();
        for (int channel : {101, 102}) {
            std::vector<ReadingRecord*> list;
            whole.Doc().GetChannelReadings(channel, list);
            received[channel] += static_cast<int>(list.size());
            if (!list.empty())
                newest[channel] = list.back()->Value;
        }
    }
    ASSERT_GT(received[101], 0);
    for (int i = 0; i < 2; ++i) {
        const int channel = 101 + i;
        EXPECT_EQ(histograms[i]->GetBins().m_total, received[channel]) << channel;
        // The statistics are of the readings inside the limits.
        EXPECT_EQ(histograms[i]->GetStats()->GetCount() + histograms[i]->GetBins().m_outOfRange,
                  received[channel])
            << channel;
        EXPECT_DOUBLE_EQ(bars[i]->GetPlot()->GetValue(), newest[channel]) << channel;
    }
    QApplication::processEvents();
    EXPECT_TRUE(SaveArtifact(frame, "bar_histogram_run.png"));
    StopRun();

    // The page prints with all four drawn into the printer's page.
    const auto pdf = ArtifactPath("bar_histogram_run.pdf");
    ASSERT_TRUE(whole.wiring->Graphics()->PrintCurrentPageToPdf(
        QString::fromStdString(pdf.string()), false));
    EXPECT_GT(std::filesystem::file_size(pdf), 3000u);

    // Saved with the setup and opened again: the same four displays, byte for
    // byte, though one was selected at Save (its sizing border takes from its
    // client area, never from what it stores).
    page->Model().SelectFrame(bars[0]);
    QApplication::processEvents();
    const std::vector<std::uint8_t> selected = CGraphView::StoreFrame(*bars[0]);
    page->Model().DeselectAll();
    QApplication::processEvents();
    EXPECT_EQ(FirstDifference(selected, CGraphView::StoreFrame(*bars[0])), -1);
    page->Model().SelectFrame(bars[0]);
    QApplication::processEvents();
    std::vector<std::vector<std::uint8_t>> stored;
    for (CGraphFrame* display :
         {static_cast<CGraphFrame*>(bars[0]), static_cast<CGraphFrame*>(bars[1]),
          static_cast<CGraphFrame*>(histograms[0]), static_cast<CGraphFrame*>(histograms[1])})
        stored.push_back(CGraphView::StoreFrame(*display));
    const std::string file = (whole.program.home.Data() / "bars.tvs").string();
    const std::string again = (whole.program.home.Data() / "bars again.tvs").string();
    CLoggerDoc& doc = whole.Doc();
    doc.WriteDocumentFile(file);
    page->Model().DeleteAllFrames();
    doc.ReadDocumentFile(file);
    CGraphViewWnd* reloaded = whole.wiring->Graphics()->Page(0);
    ASSERT_NE(reloaded, nullptr);
    ASSERT_EQ(reloaded->Model().GetFrameCount(), 4);
    frame.Pages()->setCurrentWidget(reloaded);
    QApplication::processEvents();
    std::vector<std::vector<std::uint8_t>> loaded;
    for (CGraphFrame* display = reloaded->Model().GetFrameList()->GetHead(); display;
         display = reloaded->Model().GetFrameList()->GetNext(display))
        loaded.push_back(CGraphView::StoreFrame(*display));
    ASSERT_EQ(loaded.size(), stored.size());
    std::sort(loaded.begin(), loaded.end());
    std::sort(stored.begin(), stored.end());
    for (std::size_t i = 0; i < stored.size(); ++i)
        EXPECT_EQ(FirstDifference(loaded[i], stored[i]), -1) << i;
    doc.WriteDocumentFile(again);
    EXPECT_EQ(ReadFile(again), ReadFile(file));
    frame.Pages()->setCurrentWidget(reloaded);
    QApplication::processEvents();
    EXPECT_TRUE(SaveArtifact(*reloaded, "bar_histogram_reloaded.png"));
}

TEST_F(BarHistogramRun, TheEditMenuCopiesAndPastesAndACtrlDragCopiesOntoAnotherPage) {
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard(SetPrompter, &prompter);
    for (CGraphFrame* display :
         {static_cast<CGraphFrame*>(bars[0]), static_cast<CGraphFrame*>(histograms[0])}) {
        SCOPED_TRACE(display->GetTitle());
        QApplication::clipboard()->clear();
        page->Model().SelectFrame(display);
        page->setFocus();
        frame.UpdateToolbars();
        ASSERT_TRUE(frame.Action(SetupViewCommands::kCopy)->isEnabled());
        frame.Action(SetupViewCommands::kCopy)->trigger();
        const QMimeData* data = QApplication::clipboard()->mimeData();
        ASSERT_TRUE(data && data->hasFormat(kGraphicMimeType));
        const QByteArray archive = data->data(kGraphicMimeType);
        EXPECT_EQ(FirstDifference(std::vector<std::uint8_t>(archive.begin(), archive.end()),
                                  CGraphView::StoreFrame(*display)),
                  -1);
        const int before = page->Model().GetFrameCount();
        QTimer::singleShot(20, [this] {
            QTest::mouseMove(page, QPoint(780, 400));
            QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(780, 400));
        });
        frame.UpdateToolbars();
        frame.Action(SetupViewCommands::kPaste)->trigger();
        ASSERT_EQ(page->Model().GetFrameCount(), before + 1);
        CGraphFrame* pasted = page->Model().GetSelected();
        ASSERT_NE(pasted, display);
        EXPECT_EQ(typeid(*pasted), typeid(*display));
        EXPECT_EQ(CGraphView::StoreFrame(*pasted).size(), CGraphView::StoreFrame(*display).size());
        page->Model().RemoveFrame(pasted);
    }

    // Ctrl and a drag of the title band onto the second page's tab copy it there.
    frame.OnCmdMsg(cmd::kNewGraphicsPage);
    frame.Pages()->setCurrentWidget(page);
    CGraphViewWnd* second = whole.wiring->Graphics()->Page(1);
    ASSERT_NE(second, nullptr);
    QTabBar* tabs = frame.Pages()->tabBar();
    const QPoint tab = At(tabs, tabs->tabRect(frame.Pages()->indexOf(second)).center());
    QWindow* w = frame.windowHandle();
    for (CGraphFrame* display :
         {static_cast<CGraphFrame*>(bars[0]), static_cast<CGraphFrame*>(histograms[0])}) {
        frame.Pages()->setCurrentWidget(page);
        auto* window = dynamic_cast<CGraphFrameWnd*>(display->GetWindow());
        ASSERT_NE(window, nullptr);
        const QPoint title = At(window->Client(), QPoint(20, display->GetTitleHeight() / 2));
        QTest::mousePress(w, Qt::LeftButton, Qt::ControlModifier, title);
        QTest::mouseMove(w, At(page, QPoint(780, 400)));
        QTest::mouseMove(w, tab);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::ControlModifier, tab);
        EXPECT_FALSE(IsDragging());
    }
    ASSERT_EQ(second->Model().GetFrameCount(), 2);
    EXPECT_EQ(page->Model().GetFrameCount(), 4);
    CGraphFrame* copied = second->Model().GetFrameList()->GetHead();
    EXPECT_EQ(FirstDifference(CGraphView::StoreFrame(*copied), CGraphView::StoreFrame(*bars[0])),
              -1);
    EXPECT_EQ(
        FirstDifference(CGraphView::StoreFrame(*second->Model().GetFrameList()->GetNext(copied)),
                        CGraphView::StoreFrame(*histograms[0])),
        -1);
    QApplication::processEvents();
    EXPECT_TRUE(SaveArtifact(*second, "bar_histogram_dragged.png"));
    EXPECT_TRUE(prompter.asked.empty());
}

} // namespace barhistogramrun
} // namespace tvane::test
