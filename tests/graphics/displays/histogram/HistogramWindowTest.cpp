// The histogram's windows and pages on a page of frame windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "graphics/CGraphView.h"
#include "graphics/displays/histogram/CHistogramAdvancedPage.h"
#include "graphics/displays/histogram/CHistogramChannelPage.h"
#include "graphics/displays/histogram/CHistogramFrame.h"
#include "graphics/displays/histogram/HistogramPanelView.h"
#include "graphics/displays/histogram/HistogramWindows.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chart/Chart.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/CSpinEdit.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/DisplayPageWindow.h"
#include "tests/graphics/displays/ReadingsDocument.h"
#include "tests/support/QtTestSupport.h"
#include "ui_CHistogramAdvancedPage.h"
#include "ui_CHistogramChannelPage.h"

namespace {

using displaytest::ReadingsDocument;

class HistogramWindowTest : public ::testing::Test, public tvane::test::WithTestApp {
protected:
    HistogramWindowTest() {
        doc.channels = {ReadingsDocument::Channel(101, 0.0, 100.0),
                        ReadingsDocument::Channel(102, -10.0, 10.0)};
        window.page.show();
        EXPECT_TRUE(view.CreateDisplay(703));
        frame = dynamic_cast<CHistogramFrame*>(view.GetSelected());
        if (frame)
            frame->GetWindow()->MoveWindow({10, 10, 510, 360}, true);
    }
    ~HistogramWindowTest() override { view.DeleteAllFrames(); }
    void Poll(const std::vector<double>& values) {
        doc.Poll(101, values);
        view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    }
    HistogramPanelView* Panel() const {
        return qobject_cast<HistogramPanelView*>(HistogramChildWidget(frame->GetPanelWindow()));
    }
    QWidget* Plot() const { return HistogramChildWidget(frame->GetPlotWindow()); }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    displaytest::DisplayPageWindow window;
    ReadingsDocument doc;
    CGraphView view{&window, &doc};
    CHistogramFrame* frame = nullptr;
};

TEST_F(HistogramWindowTest, TheBinsAndTheStatisticsShowInTheWindow) {
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(Panel(), nullptr);
    EXPECT_EQ(Panel()->Field(CHistogramCtrlPanel::kChannel)->text(), "(101)");
    for (int poll = 0; poll < 20; ++poll)
        Poll({5.0 * (poll % 7) + 20.0, 47.0, 52.0, 150.0});
    QApplication::processEvents();
    EXPECT_EQ(Panel()->Field(CHistogramCtrlPanel::kReadings)->text(), "60 ");
    EXPECT_EQ(Panel()->Field(CHistogramCtrlPanel::kOutOfRange)->text(), "20 ");
    // The panel lies along the bottom of the frame, the plot above it.
    const QRect panel = Panel()->geometry();
    EXPECT_EQ(panel.height(), Panel()->BarHeight());
    EXPECT_EQ(Plot()->geometry().bottom() + 1, panel.top());
    EXPECT_TRUE(tvane::test::SaveArtifact(window.page, "histogram_window.png"));

    // What a printed page gets of the display.
    QImage printed(500, 350, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        QtGraphDC dc(painter);
        EXPECT_TRUE(frame->DrawFrame(dc, nullptr));
    }
    EXPECT_TRUE(tvane::test::SaveArtifact(printed, "histogram_print.png"));
}

TEST_F(HistogramWindowTest, PointingAtABarShowsItsCountAndAutoscaleFitsTheReadings) {
    ASSERT_NE(frame, nullptr);
    Poll({45.0, 46.0, 47.0, 12.0});
    QApplication::processEvents();
    const auto& layout = frame->GetPlot()->GetChart()->Layout();
    const auto at = layout.Map(45.0, 10.0);
    QTest::mouseMove(Plot(), QPoint(static_cast<int>(at.x), static_cast<int>(at.y)));
    EXPECT_EQ(frame->GetPlot()->ReadoutText(), "3");
    QTest::mousePress(Plot(), Qt::RightButton, {}, QPoint(static_cast<int>(at.x), 5));
    EXPECT_EQ(frame->GetPlot()->ReadoutText(), "");
    QTest::mouseRelease(Plot(), Qt::RightButton, {}, QPoint(static_cast<int>(at.x), 5));

    QTest::mouseClick(Panel()->AutoscaleButton(), Qt::LeftButton);
    EXPECT_EQ(frame->GetLowLimit(), 12.0);
    EXPECT_EQ(frame->GetHighLimit(), 47.0);
    QApplication::processEvents();
    EXPECT_TRUE(tvane::test::SaveArtifact(window.page, "histogram_autoscaled.png"));
}

TEST_F(HistogramWindowTest, TheSheetsPagesHaveTheirHelpAndTheirChecks) {
    ASSERT_NE(frame, nullptr);
    CGraphSheet sheet({151, 200, 152}, *frame, 0, 122);
    sheet.show();
    EXPECT_EQ(sheet.windowTitle(), "Histogram Properties");
    for (int page = 0; page < 3; ++page) {
        ASSERT_TRUE(sheet.SetActivePage(page));
        EXPECT_EQ(sheet.Page(page)->HelpId(), 11105u + 100u * page) << page;
    }
    ASSERT_TRUE(sheet.SetActivePage(0));
    auto* channels = qobject_cast<CHistogramChannelPage*>(sheet.Page(0));
    ASSERT_NE(channels, nullptr);
    Ui::CHistogramChannelPage& ui = channels->Form();
    EXPECT_EQ(ui.channel->currentText(), "<101>Ch101");
    EXPECT_EQ(ui.bins->text(), "10");
    EXPECT_EQ(ui.frequencyMax->text(), "100");
    QCoreApplication::processEvents();
    sheet.adjustSize();
    EXPECT_TRUE(tvane::test::SaveArtifact(sheet, "histogram_channels_page.png"));

    // The frequency axis' order is checked first, with its own message.
    ui.frequencyMin->setText("10");
    ui.frequencyMax->setText("10");
    sheet.accept();
    EXPECT_TRUE(sheet.isVisible());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text,
              "Y Axis Min value can not be greater than or equal to Y Axis Max value");
    EXPECT_TRUE(ui.frequencyMin->hasFocus());
    ui.frequencyMax->setText("80");
    ui.bins->setText("101");
    sheet.accept();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(prompter.asked.size(), 2u);

    // The channel acts at once; the rest when the page is left.
    ui.channel->setCurrentIndex(2);
    emit ui.channel->activated(2);
    EXPECT_EQ(frame->GetLowLimit(), -10.0);
    EXPECT_EQ(ui.minimum->text(), "-10");
    ui.bins->setText("20");
    ASSERT_TRUE(sheet.SetActivePage(2));
    EXPECT_EQ(frame->GetBinCount(), 20);
    auto* advanced = qobject_cast<CHistogramAdvancedPage*>(sheet.Page(2));
    ASSERT_NE(advanced, nullptr);
    advanced->Form().horizontal->click();
    advanced->Form().grid->click();
    EXPECT_EQ(frame->GetOrientation(), 0);
    EXPECT_FALSE(frame->GetPlot()->GetGrid());
    advanced->RateEdit()->setText("5");
    sheet.adjustSize();
    EXPECT_TRUE(tvane::test::SaveArtifact(sheet, "histogram_advanced_page.png"));
    // With horizontal bars the value axis is the one down the side.
    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(ui.valueGroup->title(), "Y Axis");
    EXPECT_EQ(ui.frequencyGroup->title(), "X Axis");
    sheet.accept();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(frame->GetUpdateRate(), 5);
    EXPECT_EQ(frame->GetPlot()->GetYMax(), 80.0);
}

} // namespace
