#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "graphics/CGraphView.h"
#include "graphics/displays/xy/CXYAdvancedPage.h"
#include "graphics/displays/xy/CXYChannelPage.h"
#include "graphics/displays/xy/CXYFrame.h"
#include "graphics/displays/xy/XYPanelView.h"
#include "graphics/displays/xy/XYWindows.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/CSpinEdit.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/graphics/displays/xy/XYTestDocument.h"
#include "tests/support/QtTestSupport.h"
#include "ui_CXYAdvancedPage.h"
#include "ui_CXYChannelPage.h"

namespace {

using namespace graphicstest;

// A page widget whose displays get the program's frame windows.
class XYPageWindow : public FakeViewWindow {
public:
    std::unique_ptr<IGraphFrameWindow> CreateFrameWindow(CGraphFrame& frame, const GRect& r,
                                                         int id) override {
        return std::make_unique<CGraphFrameWnd>(frame, &page, r, id);
    }
    QWidget page;
};

// A load cell against a displacement, one scan a second.
class XYWindowDocument : public xytest::BatchDocument {
public:
    void Scan(int scan) {
        batch.clear();
        const double x = 0.05 * scan;
        Add(101, scan, x);
        Add(102, scan, 4.0 * x + 0.5 + 0.3 * std::sin(scan * 1.7));
    }
};

class XYWindowTest : public ::testing::Test {
protected:
    XYWindowTest() {
        for (int n : {101, 102}) {
            CChannelInfo c;
            c.Number = n;
            c.Label = "<" + std::to_string(n) + ">";
            c.Name = n == 101 ? "Displacement" : "Load";
            c.Units = n == 101 ? "VDC" : "N";
            c.RangeMin = 0.0;
            c.RangeMax = n == 101 ? 5.0 : 25.0;
            doc.channels.push_back(c);
        }
        window.client = {0, 0, 640, 480};
        window.page.resize(640, 480);
        window.page.show();
        view.CreateDisplay(702);
        frame = dynamic_cast<CXYFrame*>(view.GetSelected());
        if (!frame)
            return;
        frame->GetWindow()->MoveWindow({5, 5, 635, 475}, true);
        frame->OnSize(true);
        frame->SetChannelAt(CXYFrame::kXChannel, &doc.channels[0]);
        frame->SetChannelAt(CXYFrame::kYChannel, &doc.channels[1]);
        QCoreApplication::processEvents();
    }
    ~XYWindowTest() override { view.DeleteAllFrames(); }
    void Feed(int scans) {
        for (int scan = 1; scan <= scans; ++scan) {
            doc.Scan(scan);
            view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
        }
    }
    XYPanelView* Panel() const {
        return qobject_cast<XYPanelView*>(XYChildWidget(frame->GetPanelWindow()));
    }

    QApplication& app = tvane::test::TestApp();
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    XYPageWindow window;
    XYWindowDocument doc;
    CGraphView view{&window, &doc};
    CXYFrame* frame = nullptr;
};

TEST_F(XYWindowTest, ARunningXYPlotShowsItsPointsFitAndReadouts) {
    ASSERT_NE(frame, nullptr);
    Feed(80);
    XYPanelView* panel = Panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Readout(CXYCtrlPanel::kXChannel)->text(), "(101)");
    EXPECT_EQ(panel->Readout(CXYCtrlPanel::kYChannel)->text(), "(102)");
    // The panel's controls, clicked as the user does.
    QTest::mouseClick(panel->LeastSquaresBox(), Qt::LeftButton);
    EXPECT_TRUE(frame->GetPlot()->GetLeastSquares());
    EXPECT_NEAR(frame->GetPlot()->GetGain(), 4.0, 0.05);
    EXPECT_EQ(panel->Readout(CXYCtrlPanel::kGain)->text().toStdString(),
              frame->GetPanel()->Text(CXYCtrlPanel::kGain));
    EXPECT_NE(panel->Readout(CXYCtrlPanel::kOffset)->text().trimmed(), "");
    QTest::mouseClick(panel->MarkerBox(), Qt::LeftButton);
    EXPECT_TRUE(frame->GetPlot()->IsMarkerVisible());
    EXPECT_NE(panel->Readout(CXYCtrlPanel::kXValue)->text().trimmed(), "");
    QTest::mouseClick(panel->AutoscaleButton(), Qt::LeftButton);
    EXPECT_NEAR(frame->GetPlot()->GetXRange().maximum, 4.0, 1e-9);
    QCoreApplication::processEvents();
    QTest::qWait(60); // one repaint turn of the chart window

    const QImage shot = window.page.grab().toImage();
    ASSERT_TRUE(tvane::test::SaveArtifact(shot, "xy_plot.png"));
    // The points are drawn: the plot is not all background.
    const QRect plot = XYChildWidget(frame->GetPlotWindow())->geometry();
    const QPoint origin = FrameClientWidget(*frame->GetWindow())->mapTo(&window.page, QPoint(0, 0));
    int green = 0;
    for (int x = plot.left(); x < plot.right(); ++x)
        for (int y = plot.top(); y < plot.bottom(); ++y)
            if (shot.pixelColor(origin + QPoint(x, y)) == QColor(0, 255, 0))
                ++green;
    EXPECT_GT(green, 80);

    // What a printed page gets: the plot and the panel's texts.
    QImage printed(640, 480, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        QtGraphDC dc(painter);
        EXPECT_TRUE(frame->DrawFrame(dc, nullptr));
    }
    EXPECT_TRUE(tvane::test::SaveArtifact(printed, "xy_plot_print.png"));
}

TEST_F(XYWindowTest, TheSheetsPagesEditTheDisplayWithTheirHelp) {
    ASSERT_NE(frame, nullptr);
    CGraphSheet sheet({146, 200, 147}, *frame, 0, 120);
    sheet.show();
    EXPECT_EQ(sheet.windowTitle(), "XY Properties");
    auto* channels = qobject_cast<CXYChannelPage*>(sheet.Page(0));
    ASSERT_NE(channels, nullptr);
    Ui::CXYChannelPage& c = channels->Form();
    EXPECT_EQ(channels->HelpId(), 11104u);
    EXPECT_EQ(c.xChannel->currentText(), "<101>Displacement");
    EXPECT_EQ(c.xMax->text(), "5.0000");
    QCoreApplication::processEvents();
    sheet.adjustSize();
    EXPECT_TRUE(tvane::test::SaveArtifact(sheet, "xy_channels_page.png"));

    // An X minimum equal to the maximum keeps the page.
    c.xMin->setText("5");
    sheet.SetActivePage(1);
    EXPECT_EQ(sheet.ActiveIndex(), 0);
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().text.rfind("Please enter a number between", 0), 0u);
    c.xMin->setText("1");
    sheet.SetActivePage(1);
    EXPECT_EQ(sheet.ActiveIndex(), 1);
    EXPECT_EQ(frame->GetPlot()->GetXRange().minimum, 1.0);
    EXPECT_EQ(sheet.Page(1)->HelpId(), 11204u);

    sheet.SetActivePage(2);
    auto* advanced = qobject_cast<CXYAdvancedPage*>(sheet.Page(2));
    ASSERT_NE(advanced, nullptr);
    EXPECT_EQ(advanced->HelpId(), 11304u);
    Ui::CXYAdvancedPage& a = advanced->Form();
    EXPECT_EQ(a.maxScans->text(), "100");
    EXPECT_EQ(a.symbols->currentText(), "Asterisk");
    EXPECT_EQ(a.sizes->currentText(), "4");
    QCoreApplication::processEvents();
    EXPECT_TRUE(tvane::test::SaveArtifact(sheet, "xy_advanced_page.png"));
    // Symbols and the boxes act at once; Cancel does not undo them.
    a.symbols->setCurrentIndex(1);
    emit a.symbols->activated(1);
    a.lines->click();
    a.grid->click();
    EXPECT_EQ(frame->GetPlot()->GetPointShapeName(), "Circle");
    EXPECT_TRUE(frame->GetPlot()->IsLineOn());
    EXPECT_FALSE(frame->GetPlot()->GetGrid());
    // The maximum scans displayed is checked when the page is left.
    a.maxScans->setText("1001");
    sheet.SetActivePage(0);
    EXPECT_EQ(sheet.ActiveIndex(), 2);
    a.maxScans->setText("250");
    advanced->RateEdit()->SetValue(3);
    sheet.SetActivePage(0);
    EXPECT_EQ(sheet.ActiveIndex(), 0);
    EXPECT_EQ(frame->GetPointCount(), 250);
    EXPECT_EQ(frame->GetUpdateRate(), 3);
    sheet.reject();
    EXPECT_EQ(frame->GetPlot()->GetPointShapeName(), "Circle");
}

} // namespace
