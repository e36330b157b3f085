// The mouse on the graphics pages of the main window, through the window
// system: the strip chart's legend edge dragged as a divider, and a display
// dragged with Ctrl on its title band onto another page's tab.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/displays/text/CTextFrame.h"
#include "graphics/displays/xy/CXYFrame.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/controls/DragDrop.h"
#include "platform/widgets/QtDragTracker.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

constexpr unsigned kStripChart = 700;
constexpr unsigned kText = 32817;
constexpr unsigned kXYPlot = 702;

// The main window on the simulated instrument, the drag file in a folder of
// the test's own.
class MouseOnPages : public ::testing::Test {
protected:
    void SetUp() override {
        whole.Start();
        if (HasFatalFailure())
            return;
        program.MakeSetup(wiring->Document(), 3);
        if (HasFatalFailure())
            return;
        page = wiring->Graphics()->Page(0);
        frame.Pages()->setCurrentWidget(page);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    void TearDown() override { wiring.reset(); }
    // A point of a widget in the main window's coordinates.
    QPoint At(QWidget* widget, const QPoint& p) const { return widget->mapTo(&frame, p); }
    QPoint TabCentre(int index) const {
        QTabBar* tabs = frame.Pages()->tabBar();
        return At(tabs, tabs->tabRect(index).center());
    }

    ScopedTmpDir m_tmp; // before the program's own home
    WholeProgram whole;
    SimulatedProgram& program = whole.program;
    CMainFrame& frame = whole.frame;
    std::unique_ptr<DocumentWiring>& wiring = whole.wiring;
    CGraphViewWnd* page = nullptr;
};

TEST_F(MouseOnPages, TheStripChartsLegendEdgeIsDraggedAsADivider) {
    frame.OnCmdMsg(kStripChart);
    auto* chart = dynamic_cast<CXrtOverlayFrame*>(page->Model().GetSelected());
    ASSERT_NE(chart, nullptr);
    chart->GetWindow()->MoveWindow({10, 10, 620, 470}, true);
    chart->LayoutChildren();
    auto* window = dynamic_cast<CGraphFrameWnd*>(chart->GetWindow());
    ASSERT_NE(window, nullptr);
    QWidget* client = window->Client();
    const int rows = chart->GetLegendRows();
    const GRect legend = chart->GetLegendWindow()->GetRectInFrame();
    const QPoint edge(300, legend.top - 2);
    const QPoint target(300, legend.bottom - 22 - (rows + 2) * 22);

    QWindow* w = frame.windowHandle();
    QTest::mouseMove(w, At(client, edge));
    EXPECT_EQ(client->cursor().shape(), Qt::SizeVerCursor);
    QTest::mousePress(w, Qt::LeftButton, {}, At(client, edge));
    EXPECT_EQ(QWidget::mouseGrabber(), client);
    QTest::mouseMove(w, At(client, target));
    QApplication::processEvents();
    // The line shows as an inverted band over the chart while it is dragged.
    ASSERT_TRUE(SaveArtifact(*page, "strip_chart_legend_edge_drag.png"));
    QTest::mouseRelease(w, Qt::LeftButton, {}, At(client, target));
    EXPECT_EQ(chart->GetLegendRows(), rows + 2);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(MouseOnPages, ADisplayDraggedOntoAnotherPagesTabIsCopiedThere) {
    frame.OnCmdMsg(kText);
    auto* text = dynamic_cast<CTextFrame*>(page->Model().GetSelected());
    ASSERT_NE(text, nullptr);
    text->GetTextBox()->SetText("Tank 3 level");
    frame.OnCmdMsg(cmd::kNewGraphicsPage);
    frame.Pages()->setCurrentWidget(page);
    CGraphViewWnd* second = wiring->Graphics()->Page(1);
    ASSERT_NE(second, nullptr);
    const int secondTab = frame.Pages()->indexOf(second);
    const int firstTab = frame.Pages()->indexOf(page);
    auto* window = dynamic_cast<CGraphFrameWnd*>(text->GetWindow());
    ASSERT_NE(window, nullptr);
    const QPoint title = At(window->Client(), QPoint(20, text->GetTitleHeight() / 2));
    QWindow* w = frame.windowHandle();

    // Released over its own page's tab, and over its own page: nothing.
    for (const QPoint& end : {TabCentre(firstTab), At(page, QPoint(400, 400))}) {
        QTest::mousePress(w, Qt::LeftButton, Qt::ControlModifier, title);
        EXPECT_TRUE(IsDragging());
        QTest::mouseMove(w, end);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::ControlModifier, end);
        EXPECT_FALSE(IsDragging());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(page->Model().GetFrameCount(), 1);
        EXPECT_EQ(second->Model().GetFrameCount(), 0);
    }

    // Onto the second page's tab: the display arrives there and the page shows.
    QTest::mousePress(w, Qt::LeftButton, Qt::ControlModifier, title);
    QTest::mouseMove(w, At(page, QPoint(400, 400)));
    QTest::mouseMove(w, TabCentre(secondTab));
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::DragCopyCursor);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::ControlModifier, TabCentre(secondTab));
    EXPECT_FALSE(IsDragging());
    ASSERT_EQ(second->Model().GetFrameCount(), 1);
    EXPECT_EQ(page->Model().GetFrameCount(), 1);
    EXPECT_EQ(frame.Pages()->currentWidget(), second);
    CGraphFrame* copy = second->Model().GetFrameList()->GetHead();
    EXPECT_EQ(CGraphView::StoreFrame(*copy), CGraphView::StoreFrame(*text));
    EXPECT_EQ(copy->GetFrameRect(), text->GetFrameRect());
    QApplication::processEvents();
    ASSERT_TRUE(SaveArtifact(frame, "graphics_page_after_drop.png"));
}

// An XY plot dragged with Ctrl on its title band onto another page's tab
// arrives there with its channels and settings, its archive the original's.
TEST_F(MouseOnPages, AnXYPlotDraggedOntoAnotherPagesTabIsCopiedThere) {
    frame.OnCmdMsg(kXYPlot);
    auto* xy = dynamic_cast<CXYFrame*>(page->Model().GetSelected());
    ASSERT_NE(xy, nullptr);
    CChannelArray channels;
    xy->GetAvailableChannels(channels);
    ASSERT_GE(channels.GetSize(), 2u);
    xy->SetChannelAt(CXYFrame::kXChannel, channels.GetAt(0));
    xy->SetChannelAt(CXYFrame::kYChannel, channels.GetAt(1));
    channels.DeleteAll();
    xy->GetPanel()->ClickLeastSquares(true);
    frame.OnCmdMsg(cmd::kNewGraphicsPage);
    frame.Pages()->setCurrentWidget(page);
    CGraphViewWnd* second = wiring->Graphics()->Page(1);
    ASSERT_NE(second, nullptr);
    const QPoint title =
        At(FrameClientWidget(*xy->GetWindow()), QPoint(20, xy->GetTitleHeight() / 2));
    QWindow* w = frame.windowHandle();
    QTest::mousePress(w, Qt::LeftButton, Qt::ControlModifier, title);
    QTest::mouseMove(w, At(page, QPoint(400, 400)));
    QTest::mouseMove(w, TabCentre(frame.Pages()->indexOf(second)));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::ControlModifier,
                        TabCentre(frame.Pages()->indexOf(second)));
    EXPECT_FALSE(IsDragging());
    ASSERT_EQ(second->Model().GetFrameCount(), 1);
    auto* copy = dynamic_cast<CXYFrame*>(second->Model().GetFrameList()->GetHead());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(CGraphView::StoreFrame(*copy), CGraphView::StoreFrame(*xy));
    EXPECT_TRUE(copy->GetPlot()->GetLeastSquares());
    EXPECT_EQ(copy->GetPanel()->Text(CXYCtrlPanel::kXChannel), "(101)");
    QApplication::processEvents();
    ASSERT_TRUE(SaveArtifact(frame, "xy_plot_after_drop.png"));
}

} // namespace
} // namespace tvane::test
