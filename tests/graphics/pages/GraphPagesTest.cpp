#include <filesystem>

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include "graphics/displays/text/CTextFrame.h"
#include "graphics/pages/CChannelListBox.h"
#include "graphics/pages/CGraphAppearancePage.h"
#include "graphics/pages/CGraphChannelPage.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/pages/CTabPropSheet.h"
#include "graphics/pages/CUpdateScanPage.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/CSpinEdit.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/graphics/displays/text/TextFakes.h"
#include "tests/support/QtTestSupport.h"
#include "ui_CAppearancePage.h"
#include "ui_CGraphAppearancePage.h"

namespace {

using namespace graphicstest;
using tvane::test::WhenShown;

// A display of several slots with a colour per channel, as the chart displays have.
class SlotsFrame : public CGraphFrame {
public:
    explicit SlotsFrame(int count) { m_channelCapacity = count; }
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) override {
        if (item == 1 && (props.mask & ~3u) == 0) {
            props.itemName = "Channel " + std::to_string(props.channelIndex + 1);
            props.color = GetColorSlot(props.channelIndex);
            return true;
        }
        return CGraphFrame::GetAppearanceItem(item, props);
    }
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) override {
        const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
        if (item == 1)
            ++colorSets;
        return base || item == 1;
    }
    bool IsByteDisplay() const override { return byteDisplay; }
    void SetByteDisplay(bool b) override { byteDisplay = b; }
    int colorSets = 0;
    bool byteDisplay = false;
};

class GraphPagesTest : public ::testing::Test {
protected:
    GraphPagesTest() {
        tvane::test::TestApp();
        CChannelInfo a;
        a.Number = 101;
        a.Label = "<101>";
        a.Name = "Flow";
        CChannelInfo b;
        b.Number = 102;
        b.Label = "<102>";
        doc.channels = {a, b};
    }
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeTextWindows textWindows;
    FakeViewWindow window;
    FakeGraphDocument doc;
    CGraphView view{&window, &doc};
};

TEST_F(GraphPagesTest, EachDisplaysSheetHasItsPagesAndSkipsUnknownOnes) {
    CGraphFrame frame;
    struct Case {
        std::vector<int> ids;
        QStringList titles;
    } cases[] = {
        {{200}, {"Appearance"}},
        {{201, 200, 134}, {"Channels", "Appearance", "Advanced"}},
        {{305, 200}, {"Channels", "Appearance"}},
        {{201, 200, 141}, {"Channels", "Appearance", "Advanced"}},
        {{999, 200}, {"Appearance"}},
    };
    for (const Case& c : cases) {
        CGraphSheet sheet(c.ids, frame, 0, 111);
        QStringList titles;
        for (int i = 0; i < sheet.PageCount(); ++i)
            titles << sheet.Page(i)->Title();
        EXPECT_EQ(titles, c.titles);
        EXPECT_EQ(sheet.windowTitle(), "Alarm Light Properties");
    }
    // A display family adds its own pages.
    CGraphSheet::PageMaker strip = CGraphSheet::RegisterPageMaker(
        141, [](int dialog, int page) { return new CUpdateScanPage(dialog, page); });
    CGraphSheet sheet({201, 200, 141}, frame, 0, 204);
    EXPECT_EQ(sheet.PageCount(), 3);
    EXPECT_EQ(static_cast<CGraphPage*>(sheet.Page(2))->DialogId(), 175);
    CGraphSheet::RegisterPageMaker(141, strip);
}

TEST_F(GraphPagesTest, TheSheetReopensOnThePageLastClosedWithOK) {
    SlotsFrame frame(2);
    ASSERT_TRUE(frame.CreateFrame(&view));
    QtGraphSheetRunner runner;
    SetGraphSheetRunner(&runner);
    WhenShown<CGraphSheet>([](CGraphSheet& sheet) {
        sheet.SetActivePage(2);
        sheet.OkButton()->click();
    });
    EXPECT_TRUE(EditGraphProperties(frame, {201, 200, 134}, 111));
    EXPECT_EQ(frame.GetLastSheetPage(), 2);
    int opened = -1;
    WhenShown<CGraphSheet>([&opened](CGraphSheet& sheet) {
        opened = sheet.ActiveIndex();
        sheet.SetActivePage(1);
        sheet.CancelButton()->click();
    });
    EXPECT_FALSE(EditGraphProperties(frame, {201, 200, 134}, 111));
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(frame.GetLastSheetPage(), 2);
    SetGraphSheetRunner(nullptr);
}

TEST_F(GraphPagesTest, SiblingQueriesReachThePagesThatHandleTheirCode) {
    SlotsFrame frame(2);
    ASSERT_TRUE(frame.CreateFrame(&view));
    CGraphSheet sheet({201, 200}, frame, 0, 111);
    sheet.show();
    sheet.SetActivePage(1);
    auto* channels = static_cast<CGraphChannelPage*>(sheet.Page(0));
    auto* appearance = static_cast<CGraphAppearancePage*>(sheet.Page(1));
    EXPECT_EQ(appearance->OnQuerySiblings(0), 1);
    EXPECT_EQ(appearance->OnQuerySiblings(1), 0);
    EXPECT_EQ(channels->OnQuerySiblings(1), 1);
    EXPECT_EQ(channels->OnQuerySiblings(0), 0);
    EXPECT_EQ(appearance->Form().colorItems->count(), 0);
    // A channel chosen on the Channels page gives the Appearance page its colour entry.
    channels->SlotCombo()->setCurrentIndex(1);
    channels->ApplyChannel(1);
    EXPECT_EQ(frame.GetChannelArray()->GetAt(0)->Number, 101);
    EXPECT_EQ(channels->SlotList()->item(0)->text(), "1\t<101>Flow");
    ASSERT_EQ(appearance->Form().colorItems->count(), 1);
    EXPECT_EQ(appearance->Form().colorItems->itemText(0), "Channel 1");
    // "<None>" takes it away again.
    channels->ApplyChannel(0);
    EXPECT_EQ(frame.GetChannelArray()->GetAt(0), nullptr);
    EXPECT_EQ(channels->SlotList()->item(0)->text(), "1\t<None>");
    EXPECT_EQ(appearance->Form().colorItems->count(), 0);
    sheet.reject();
}

TEST_F(GraphPagesTest, AppearanceOfTheTextDisplay) {
    CTextFrame frame;
    ASSERT_TRUE(frame.CreateFrame(&view));
    CGraphSheet sheet({200}, frame, 0, 114);
    sheet.resize(360, 320);
    sheet.show();
    auto* page = static_cast<CGraphAppearancePage*>(sheet.Page(0));
    Ui::CGraphAppearancePage& ui = page->Form();
    EXPECT_EQ(ui.colorItems->count(), 2);
    EXPECT_EQ(ui.colorItems->itemText(0), "Background");
    EXPECT_EQ(ui.fontItems->count(), 1);
    ASSERT_EQ(ui.labelItems->count(), 1);
    EXPECT_EQ(ui.labelItems->itemText(0), "Caption");
    EXPECT_EQ(ui.labelText->maxLength(), 25);
    // The caption follows the typing.
    ui.labelText->clear();
    QTest::keyClicks(ui.labelText, "Notes");
    EXPECT_EQ(frame.GetTitle(), "Notes");

    // A new colour applies; the same colour again applies nothing; Cancel keeps it.
    WhenShown<QColorDialog>([](QColorDialog& d) {
        d.setCurrentColor(QColor(0, 0, 255));
        d.accept();
    });
    page->ChangeColor();
    EXPECT_EQ(frame.GetTextBox()->m_backColor, 0x00FF0000u);
    EXPECT_EQ(page->SwatchColor(), 0x00FF0000u);
    WhenShown<QColorDialog>([](QColorDialog& d) { d.reject(); });
    page->ChangeColor();
    EXPECT_EQ(frame.GetTextBox()->m_backColor, 0x00FF0000u);
    ASSERT_TRUE(tvane::test::SaveArtifact(sheet, "graph_appearance_page.png"));
    sheet.reject();
}

TEST_F(GraphPagesTest, AOneSlotDisplayShowsOnlyTheChannelCombo) {
    SlotsFrame frame(1);
    ASSERT_TRUE(frame.CreateFrame(&view));
    CGraphSheet sheet({201}, frame, 0, 116);
    sheet.show();
    QApplication::processEvents(); // widgets added to a shown page show from the loop
    auto* page = static_cast<CGraphChannelPage*>(sheet.Page(0));
    EXPECT_FALSE(page->SlotList()->isVisibleTo(page));
    EXPECT_TRUE(page->SlotCombo()->isVisibleTo(page));
    EXPECT_EQ(page->SlotCombo()->count(), 3);
    EXPECT_EQ(page->SlotCombo()->itemText(0), "<None>");
    EXPECT_EQ(page->SlotCombo()->itemText(1), "<101>Flow");
    sheet.reject();

    // Without available channels only "<None>" is offered.
    doc.channels.clear();
    SlotsFrame empty(4);
    ASSERT_TRUE(empty.CreateFrame(&view));
    CGraphSheet other({201}, empty, 0, 116);
    other.resize(360, 300);
    other.show();
    QApplication::processEvents();
    auto* slotPage = static_cast<CGraphChannelPage*>(other.Page(0));
    EXPECT_TRUE(slotPage->SlotList()->isVisibleTo(slotPage));
    EXPECT_EQ(slotPage->SlotList()->count(), 4);
    EXPECT_EQ(slotPage->SlotCombo()->count(), 1);
    ASSERT_TRUE(tvane::test::SaveArtifact(other, "graph_channel_page.png"));
    other.reject();
}

TEST_F(GraphPagesTest, TheSwitchPageOffersAByteDisplayOnlyWithAPortChannel) {
    SlotsFrame frame(8);
    ASSERT_TRUE(frame.CreateFrame(&view));
    doc.channels.clear(); // no port channel: no byte display
    {
        CGraphSheet sheet({305}, frame, 0, 121);
        sheet.show();
        auto* page = static_cast<CSwitchChannelPage*>(sheet.Page(0));
        EXPECT_FALSE(page->ByteRadio()->isEnabled());
        EXPECT_EQ(frame.GetChannelFilter(), 0x1D8u);
        sheet.reject();
    }
    CChannelInfo port;
    port.Number = 201;
    port.Label = "<201>";
    port.Kind = 0x800;
    doc.channels = {port};
    CGraphSheet sheet({305}, frame, 0, 121);
    sheet.show();
    auto* page = static_cast<CSwitchChannelPage*>(sheet.Page(0));
    ASSERT_TRUE(page->ByteRadio()->isEnabled());
    page->ByteRadio()->click();
    EXPECT_TRUE(frame.byteDisplay);
    EXPECT_EQ(frame.GetChannelFilter(), 0x800u);
    EXPECT_FALSE(page->SlotList()->isEnabled());
    EXPECT_TRUE(page->ByteCombo()->isEnabled());
    ASSERT_EQ(page->ByteCombo()->count(), 2);
    page->ApplyByte(1);
    EXPECT_EQ(frame.GetChannelArray()->GetAt(0)->Number, 201);
    page->ApplyByte(0);
    EXPECT_EQ(frame.GetChannelArray()->GetAt(0), nullptr);
    sheet.reject();
}

TEST_F(GraphPagesTest, UpdateRateAndPageProperties) {
    SlotsFrame frame(1);
    ASSERT_TRUE(frame.CreateFrame(&view));
    frame.SetUpdateRate(12);
    {
        CGraphSheet sheet({134}, frame, 0, 111);
        sheet.show();
        auto* page = static_cast<CUpdateScanPage*>(sheet.Page(0));
        EXPECT_EQ(page->RateEdit()->GetValue(), 12);
        page->RateEdit()->setText("9000");
        sheet.accept();
        EXPECT_EQ(frame.GetUpdateRate(), 5000);
    }
    CTabPropSheet tab(nullptr, 0x00C0C0C0, "Graphics Setup 1", "Page Properties");
    EXPECT_EQ(tab.Page()->GetZoom(), 100);
    tab.show();
    Ui::CAppearancePage& ui = tab.Page()->Form();
    EXPECT_FALSE(ui.zoomGroup->isVisible());
    ui.tabName->setText("A name of more than twenty characters");
    tab.accept();
    EXPECT_TRUE(tab.isVisible()); // refused
    ui.tabName->setText("Pumps");
    tab.accept();
    EXPECT_EQ(tab.GetTabName(), "Pumps");
    CAppearancePage zoom;
    zoom.SetZoom(101, true);
    EXPECT_EQ(zoom.GetZoom(), 125);
    zoom.SetZoom(126, true);
    EXPECT_EQ(zoom.GetZoom(), 150);
}

TEST_F(GraphPagesTest, TheChannelListNumbersItsRows) {
    CChannelListBox list;
    list.resize(200, 120);
    list.addItem("1\t<101>Flow");
    list.addItem("2\t<None>");
    list.show();
    EXPECT_EQ(list.sizeHintForRow(0), 23);
    list.setEnabled(false);
    ASSERT_TRUE(tvane::test::SaveArtifact(list, "channel_list_box.png"));
}

} // namespace
