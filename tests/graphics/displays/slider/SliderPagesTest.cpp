// The slider's sheet: its three pages with their help, and the Advanced
// page's orientation, limits and resolution.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QRadioButton>

#include "graphics/GraphFactory.h"
#include "graphics/displays/slider/CSliderAdvancedPage.h"
#include "graphics/displays/slider/CSliderFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/widgets/CQmxSpinButton.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"
#include "tests/graphics/displays/slider/SliderFakes.h"
#include "tests/graphics/displays/text/TextFakes.h"
#include "tests/support/QtTestSupport.h"

namespace {

class SliderPagesTest : public ::testing::Test {
protected:
    SliderPagesTest() { page.doc.channels = {gaugetest::Channel(204, 0x20, "Pump")}; }
    void SetUp() override {
        slider = page.Add<CSliderFrame>(32884);
        ASSERT_NE(slider, nullptr);
        const graphfactory::SheetInfo* info = graphfactory::FindSheet(CGraphFrame::kSlider);
        sheet = std::make_unique<CGraphSheet>(info->pages, *slider, 0, info->captionId);
        sheet->show();
        ASSERT_TRUE(sheet->SetActivePage(2));
        advanced = dynamic_cast<CSliderAdvancedPage*>(sheet->Page(2));
        ASSERT_NE(advanced, nullptr);
    }
    // The field typed and left for another control.
    static void Leave(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }
    void Spin(int id, int position) {
        tvane::SpinNotification step;
        step.identifier = id;
        step.position = position;
        tvane::MessageBus::Send(*advanced,
                                {tvane::CQmxSpinButton::UpDownSpinMessage(), id, 0, {}, &step});
    }

    QApplication& app = tvane::test::TestApp();
    graphicstest::FakeTextWindows text;
    slidertest::FakeSliderWindows sliders;
    gaugetest::GaugePage page;
    CSliderFrame* slider = nullptr;
    std::unique_ptr<CGraphSheet> sheet;
    CSliderAdvancedPage* advanced = nullptr;
};

TEST_F(SliderPagesTest, TheSheetsPagesWithTheirHelp) {
    EXPECT_EQ(sheet->windowTitle(), "Slider Properties");
    ASSERT_EQ(sheet->PageCount(), 3);
    const QStringList titles{"Channels", "Appearance", "Advanced"};
    for (int i = 0; i < 3; ++i) {
        sheet->SetActivePage(i);
        EXPECT_EQ(sheet->Page(i)->Title(), titles[i]);
        EXPECT_EQ(sheet->Page(i)->HelpId(), 11110u + 100u * static_cast<unsigned>(i));
    }
    sheet->SetActivePage(2);
    EXPECT_EQ(advanced->LowerEdit()->text(), "-12");
    EXPECT_EQ(advanced->UpperEdit()->text(), "12");
    EXPECT_EQ(advanced->ResolutionEdit()->text(), "0.001");
    EXPECT_TRUE(advanced->findChild<QRadioButton*>("1135")->isChecked());
    QCoreApplication::processEvents();
    sheet->adjustSize();
    EXPECT_TRUE(tvane::test::SaveArtifact(*sheet, "slider_sheet_advanced.png"));
}

TEST_F(SliderPagesTest, HorizontalResizesAtOnceAndStaysAfterCancel) {
    advanced->findChild<QRadioButton*>("1134")->click();
    EXPECT_EQ(slider->GetOrientation(), SliderModel::kHorizontal);
    EXPECT_EQ(slider->GetWindow()->GetWindowRect().Width(), 225);
    EXPECT_EQ(slider->GetWindow()->GetWindowRect().Height(), 65);
    sheet->reject();
    EXPECT_EQ(slider->GetOrientation(), SliderModel::kHorizontal);
}

TEST_F(SliderPagesTest, EachFieldIsCheckedAgainstTheOthersAsTheyStand) {
    struct Case {
        const char *lower, *upper, *resolution;
        bool leaves;
    };
    const Case cases[] = {
        {"0", "10", "1", true},   {"0", "10", "2", false},       {"0", "10", "0.001", true},
        {"0", "10", "0", false},  {"5", "5.5", "0.001", true},   {"6", "5.5", "0.001", false},
        {"-13", "5", "1", false}, {" 1 ", " 9 ", " 0.5 ", true}, {"x", "9", "1", false},
    };
    for (const Case& c : cases) {
        advanced->LowerEdit()->setText(c.lower);
        advanced->UpperEdit()->setText(c.upper);
        advanced->ResolutionEdit()->setText(c.resolution);
        const std::size_t told = page.prompter.asked.size();
        EXPECT_EQ(sheet->SetActivePage(0), c.leaves)
            << c.lower << " " << c.upper << " " << c.resolution;
        EXPECT_EQ(page.prompter.asked.size(), told + (c.leaves ? 0 : 1)) << c.resolution;
        sheet->SetActivePage(2);
    }
    // The last accepted ones are the slider's.
    double lower = 0, upper = 0;
    slider->GetLimits(lower, upper);
    EXPECT_EQ(lower, 1.0);
    EXPECT_EQ(upper, 9.0);
    EXPECT_EQ(slider->GetResolution(), 0.5);
}

TEST_F(SliderPagesTest, LimitsMoveTheValueWithThemAtOnce) {
    // The lower spin stepped up to the value takes it along; the spins'
    // ranges stop one short of each other.
    ASSERT_EQ(slider->GetValue(), 5.0);
    Spin(1150, 4);
    EXPECT_EQ(slider->GetValue(), 5.0);
    Spin(1150, 6);
    double lower = 0, upper = 0;
    slider->GetLimits(lower, upper);
    EXPECT_EQ(lower, 6.0);
    EXPECT_EQ(slider->GetValue(), 6.0);
    EXPECT_EQ(advanced->LowerEdit()->text(), "6");
    EXPECT_EQ(advanced->UpperSpin()->Model().GetMin(), 7);
    EXPECT_EQ(advanced->LowerSpin()->Model().GetMax(), 11);

    // An upper limit below the value, left: the value follows before OK,
    // and stays after Cancel.
    Leave(advanced->UpperEdit(), "6.5");
    EXPECT_EQ(slider->GetValue(), 6.0);
    Spin(1150, 0);
    Leave(advanced->UpperEdit(), "3");
    slider->GetLimits(lower, upper);
    EXPECT_EQ(upper, 3.0);
    EXPECT_EQ(slider->GetValue(), 3.0);
    EXPECT_EQ(advanced->LowerSpin()->Model().GetMax(), 2);
    sheet->reject();
    slider->GetLimits(lower, upper);
    EXPECT_EQ(upper, 3.0);
}

} // namespace
