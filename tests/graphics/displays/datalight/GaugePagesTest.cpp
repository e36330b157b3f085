#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>

#include "graphics/displays/alarmlight/CLEDFrame.h"
#include "graphics/displays/datalight/CDataLEDAdvancedPage.h"
#include "graphics/displays/datalight/CDataLEDFrame.h"
#include "graphics/displays/readout/CReadOutFrame.h"
#include "graphics/displays/readout/CReadoutPage.h"
#include "graphics/pages/CGraphChannelPage.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/pages/CUpdateScanPage.h"
#include "platform/widgets/CSpinEdit.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"
#include "tests/support/QtTestSupport.h"

namespace {

using gaugetest::Channel;

class GaugePagesTest : public ::testing::Test {
protected:
    GaugePagesTest() {
        page.doc.channels = {Channel(101, 1, "Oven", 1, "C"), Channel(301, 0x400, "Port A"),
                             Channel(302, 4, "Bit 3", 8)};
    }
    // The display's sheet as its Properties command builds it, shown.
    std::unique_ptr<CGraphSheet> Sheet(CGraphFrame& frame, int type) {
        const graphfactory::SheetInfo* info = graphfactory::FindSheet(type);
        auto sheet = std::make_unique<CGraphSheet>(info->pages, frame, 0, info->captionId);
        sheet->show();
        return sheet;
    }
    template <class T> T* Find(QWidget& w, const char* name) { return w.findChild<T*>(name); }

    QApplication& app = tvane::test::TestApp();
    gaugetest::GaugePage page;
};

TEST_F(GaugePagesTest, EveryPageOfEachSheetWithItsHelp) {
    auto* readout = page.Add<CReadOutFrame>(701);
    auto* alarms = page.Add<CLEDFrame>(32818);
    auto* lights = page.Add<CDataLEDFrame>(32885);
    struct Case {
        CGraphFrame* frame;
        int type;
        const char* caption;
        QStringList titles;
        std::vector<unsigned> help;
    };
    const Case cases[] = {
        {readout,
         CGraphFrame::kReadout,
         "Readout Properties",
         {"Channels", "Appearance", "Advanced"},
         {11102, 11202, 11302}},
        {alarms,
         CGraphFrame::kAlarmLight,
         "Alarm Light Properties",
         {"Channels", "Appearance", "Advanced"},
         {11107, 11207, 11307}},
        {lights,
         CGraphFrame::kDataLight,
         "Data Light Properties",
         {"Channels", "Appearance", "Advanced"},
         {11111, 11211, 11311}},
    };
    for (const Case& c : cases) {
        auto sheet = Sheet(*c.frame, c.type);
        EXPECT_EQ(sheet->windowTitle(), c.caption);
        ASSERT_EQ(sheet->PageCount(), 3);
        for (int i = 0; i < 3; ++i) {
            sheet->SetActivePage(i);
            EXPECT_EQ(sheet->Page(i)->Title(), c.titles[i]) << c.caption;
            EXPECT_EQ(sheet->Page(i)->HelpId(), c.help[static_cast<std::size_t>(i)])
                << c.caption << " " << i;
        }
        if (c.type == CGraphFrame::kAlarmLight) {
            EXPECT_NE(dynamic_cast<CUpdateScanPage*>(sheet->Page(2)), nullptr);
        }
        if (c.type == CGraphFrame::kDataLight) {
            EXPECT_NE(dynamic_cast<CSwitchChannelPage*>(sheet->Page(0)), nullptr);
        }
        sheet->reject();
    }
}

TEST_F(GaugePagesTest, TheReadoutsAdvancedPage) {
    auto* readout = page.Add<CReadOutFrame>(701);
    auto sheet = Sheet(*readout, CGraphFrame::kReadout);
    sheet->SetActivePage(2);
    auto* advanced = dynamic_cast<CReadoutPage*>(sheet->Page(2));
    ASSERT_NE(advanced, nullptr);
    // A measuring channel: Decimal only; Scan mode with its update rate.
    EXPECT_FALSE(Find<QRadioButton>(*advanced, "1075")->isEnabled());
    EXPECT_TRUE(Find<QRadioButton>(*advanced, "1101")->isChecked());
    EXPECT_TRUE(advanced->RateEdit()->isEnabled());
    Find<QRadioButton>(*advanced, "1100")->click();
    EXPECT_EQ(readout->GetAcquisitionMode(), CReadout::kImmediate);
    EXPECT_FALSE(advanced->RateEdit()->isEnabled());
    // The first channel of the Immediate kinds: a port, in either format.
    EXPECT_EQ(readout->GetFirstChannel()->Number, 301);
    EXPECT_TRUE(Find<QRadioButton>(*advanced, "1075")->isEnabled());
    Find<QRadioButton>(*advanced, "1075")->click();
    EXPECT_EQ(readout->GetNumberFormat(), 1);
    Find<QRadioButton>(*advanced, "1101")->click();
    advanced->RateEdit()->setText("7");
    sheet->accept();
    EXPECT_EQ(readout->GetUpdateRate(), 7);
}

TEST_F(GaugePagesTest, TheDataLightsAdvancedAndChannelPages) {
    auto* lights = page.Add<CDataLEDFrame>(32885);
    lights->SetUpdateRate(3);
    auto sheet = Sheet(*lights, CGraphFrame::kDataLight);
    auto* channels = dynamic_cast<CSwitchChannelPage*>(sheet->Page(0));
    ASSERT_NE(channels, nullptr);
    EXPECT_EQ(channels->ByteRadio()->text(),
              "&Byte display (available only for digital read channels)");
    ASSERT_TRUE(channels->ByteRadio()->isEnabled());
    channels->ByteRadio()->click();
    EXPECT_TRUE(lights->IsByteDisplay());
    EXPECT_EQ(lights->GetLEDWnd()->Blocks().ElementCount(), 8);
    sheet->SetActivePage(2);
    auto* advanced = dynamic_cast<CDataLEDAdvancedPage*>(sheet->Page(2));
    ASSERT_NE(advanced, nullptr);
    // Immediate mode: the update rate shown but not editable.
    EXPECT_TRUE(Find<QRadioButton>(*advanced, "1141")->isChecked());
    EXPECT_FALSE(advanced->RateEdit()->isEnabled());
    EXPECT_EQ(advanced->RateEdit()->GetValue(), 3);
    // Scan takes effect at once and stays after Cancel.
    Find<QRadioButton>(*advanced, "1142")->click();
    EXPECT_TRUE(advanced->RateEdit()->isEnabled());
    sheet->reject();
    EXPECT_EQ(lights->GetAcquisitionMode(), CDataLEDWnd::kScan);
    EXPECT_EQ(lights->GetLEDWnd()->Blocks().BlockCount(), 1);
}

} // namespace
