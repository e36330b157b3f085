// The bar meter's window and pages on a page of frame windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTest>

#include "graphics/CGraphView.h"
#include "graphics/displays/bar/BarWindows.h"
#include "graphics/displays/bar/CBarAdvancedPage.h"
#include "graphics/displays/bar/CBarChannelPage.h"
#include "graphics/displays/bar/CBarFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartIds.h"
#include "platform/chart/ITextMetrics.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/CSpinEdit.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/DisplayPageWindow.h"
#include "tests/graphics/displays/ReadingsDocument.h"
#include "tests/support/QtTestSupport.h"
#include "ui_CBarAdvancedPage.h"
#include "ui_CBarChannelPage.h"

namespace {

using displaytest::ReadingsDocument;

class BarWindowTest : public ::testing::Test, public tvane::test::WithTestApp {
protected:
    BarWindowTest() {
        CChannelInfo first = ReadingsDocument::Channel(101, 0.0, 10.0);
        first.AlarmTest = 3;
        first.LowLimit = 2.0;
        first.HighLimit = 8.0;
        doc.channels = {first, ReadingsDocument::Channel(102, -5.0, 5.0)};
        window.page.show();
    }
    ~BarWindowTest() override { view.DeleteAllFrames(); }
    CBarFrame* NewBar(const GRect& at) {
        EXPECT_TRUE(view.CreateDisplay(32874));
        auto* frame = dynamic_cast<CBarFrame*>(view.GetSelected());
        if (frame)
            frame->GetWindow()->MoveWindow(at, true);
        return frame;
    }
    void Poll(double value) {
        doc.Poll(101, {value});
        view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    displaytest::DisplayPageWindow window;
    ReadingsDocument doc;
    CGraphView view{&window, &doc};
};

TEST_F(BarWindowTest, BarsShowTheirReadingAgainstTheLimits) {
    CBarFrame* vertical = NewBar({10, 10, 130, 260});
    CBarFrame* horizontal = NewBar({150, 10, 450, 160});
    ASSERT_TRUE(vertical && horizontal);
    horizontal->SetOrientation(CBarPlot::kHorizontal);
    Poll(9.0);
    QApplication::processEvents();
    EXPECT_EQ(vertical->GetPlot()->GetSeriesColor(0, 1), CBarPlot::kHighColour);
    EXPECT_TRUE(vertical->GetPlot()->IsLimitLineShown(CBarPlot::kLowLine));
    EXPECT_NE(BarPlotWidget(vertical->GetPlotWindow()), nullptr);
    EXPECT_TRUE(tvane::test::SaveArtifact(window.page, "bar_meters_window.png"));

    QImage printed(300, 150, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        QtGraphDC dc(painter);
        EXPECT_TRUE(horizontal->DrawFrame(dc, nullptr));
    }
    EXPECT_TRUE(tvane::test::SaveArtifact(printed, "bar_meter_print.png"));
}

// A vertical bar meter about 120 pixels wide keeps its value labels whole,
// wide ones too, and after an orientation switch.
TEST_F(BarWindowTest, ANarrowBarKeepsItsValueLabelsWhole) {
    CBarFrame* bar = NewBar({10, 10, 130, 260});
    ASSERT_NE(bar, nullptr);
    const CChannelInfo wide = ReadingsDocument::Channel(103, -1000.0, 1000.0);
    bar->SetChannelAt(0, &wide);
    bar->SetOrientation(CBarPlot::kHorizontal);
    QApplication::processEvents();
    bar->SetOrientation(CBarPlot::kVertical);
    QApplication::processEvents();
    const CBarPlot& plot = *bar->GetPlot();
    const tvane::chart::Chart& chart = *plot.GetChart();
    const auto labels = chart.GetValueLabels(tvane::chart::prop::kYValueLabels);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front().text, "-1000.00");
    for (const tvane::chart::ValueLabel& label : labels)
        EXPECT_LE(chart.TextMetrics().TextWidth(plot.GetAxisFont(), label.text),
                  plot.GetPlotArea().left)
            << label.text;
    EXPECT_TRUE(tvane::test::SaveArtifact(window.page, "bar_meter_narrow.png"));
}

TEST_F(BarWindowTest, TheSheetsPagesHaveTheirHelpAndTheirChecks) {
    CBarFrame* frame = NewBar({10, 10, 130, 260});
    ASSERT_NE(frame, nullptr);
    CGraphSheet sheet({217, 200, 153}, *frame, 0, 123);
    sheet.show();
    EXPECT_EQ(sheet.windowTitle(), "Bar Meter Properties");
    for (int page = 0; page < 3; ++page) {
        ASSERT_TRUE(sheet.SetActivePage(page));
        EXPECT_EQ(sheet.Page(page)->HelpId(), 11103u + 100u * page) << page;
    }
    ASSERT_TRUE(sheet.SetActivePage(0));
    auto* channels = qobject_cast<CBarChannelPage*>(sheet.Page(0));
    ASSERT_NE(channels, nullptr);
    Ui::CBarChannelPage& ui = channels->Form();
    EXPECT_EQ(ui.channel->currentText(), "<101>Ch101");
    EXPECT_EQ(ui.maximum->text(), "10");
    EXPECT_EQ(ui.precision->text(), "2");
    sheet.adjustSize();
    EXPECT_TRUE(tvane::test::SaveArtifact(sheet, "bar_channels_page.png"));

    // Equal limits and too many decimals are refused.
    ui.minimum->setText("5");
    ui.maximum->setText("5");
    sheet.accept();
    EXPECT_TRUE(sheet.isVisible());
    ui.maximum->setText("9");
    ui.precision->setText("7");
    sheet.accept();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].text, "Please enter an integer between 0 and 6.");
    ui.precision->setText("1");

    // The channel acts at once, "<None>" too.
    ui.channel->setCurrentIndex(0);
    emit ui.channel->activated(0);
    EXPECT_EQ(frame->GetChannelArray()->GetAt(0), nullptr);
    EXPECT_FALSE(ui.minimum->isEnabled());
    EXPECT_EQ(ui.maximum->text(), "1");
    ui.channel->setCurrentIndex(2);
    emit ui.channel->activated(2);
    EXPECT_EQ(frame->GetChannelArray()->GetAt(0)->Number, 102);
    EXPECT_EQ(ui.minimum->text(), "-5");

    ASSERT_TRUE(sheet.SetActivePage(2));
    auto* advanced = qobject_cast<CBarAdvancedPage*>(sheet.Page(2));
    ASSERT_NE(advanced, nullptr);
    EXPECT_TRUE(advanced->Form().vertical->isChecked());
    advanced->Form().horizontal->click();
    advanced->Form().grid->click();
    EXPECT_EQ(frame->GetOrientation(), CBarPlot::kHorizontal);
    EXPECT_TRUE(frame->GetPlot()->GetGrid());
    advanced->RateEdit()->setText("12");
    sheet.adjustSize();
    EXPECT_TRUE(tvane::test::SaveArtifact(sheet, "bar_advanced_page.png"));
    sheet.accept();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(frame->GetUpdateRate(), 12);
}

} // namespace
