#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "comm/CCommCtrl.h"
#include "comm/CommStrings.h"
#include "comm/InterfaceTypes.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "comm/sheet/CCommSetupSheet.h"
#include "comm/sheet/SettingsDialogPresenter.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tvane::comm {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* kLine = "OrvantaQT7100\tgpib0,9\tORVANTA QT7100 Data Logger";

void Later(std::function<void()> action) {
    QTimer::singleShot(10, [action] {
        if (QApplication::activeModalWidget())
            action();
        else
            Later(action);
    });
}

Lines SheetListRows(const QListWidget* list) {
    Lines out;
    for (int i = 0; i < list->count(); ++i)
        out.push_back(list->item(i)->text().toStdString());
    return out;
}

// Only the Wenx interface is there, scripted; the simulated one is real.
class SetupSheetTest : public ::tvane::test::TempHomeTest {
protected:
    std::shared_ptr<ScriptedTransport::Script> wenx = std::make_shared<ScriptedTransport::Script>();
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    ScopedTransportCreator wenxCreator{
        kTypeWenx, [this](int32_t) { return std::make_unique<ScriptedTransport>(wenx, 4); }};
    ScopedTransportCreator gpib{kTypeGpib32, {}};
    ScopedTransportCreator rs232{kTypeRs232, {}};
    ScopedTransportCreator modem{kTypeModem, {}};
    ScopedTransportCreator lan{kTypeWenxLan, {}};

    void SetUp() override { tvane::test::TestApp(); }
    static ICommSetupSheet::Request Request(int32_t type, int32_t flag) {
        ICommSetupSheet::Request r;
        r.type = type;
        r.pattern = "*";
        r.flag = flag;
        r.current = nullptr;
        r.status = LoadResString(IDS_CLICK_SEARCH);
        return r;
    }
};

TEST_F(SetupSheetTest, SearchingListsTheInstrumentsAndOkHandsTheSelectionBack) {
    CCommSetupSheet sheet(Request(kTypeWenx, 1));
    sheet.show();
    CCommPage1* page = sheet.Page1();
    ASSERT_TRUE(page->IsCreated());
    EXPECT_EQ(sheet.windowTitle(), "Communication Setup");
    EXPECT_EQ(SheetListRows(page->InterfaceList()),
              (Lines{TypeToDisplayName(kTypeWenx), TypeToDisplayName(kTypeSimulated)}));
    EXPECT_EQ(SheetListRows(page->InstrumentList()), Lines{LoadResString(IDS_CLICK_SEARCH)});
    EXPECT_FALSE(sheet.OkButton()->isEnabled());

    QTest::mouseClick(page->SearchButton(), Qt::LeftButton);
    EXPECT_EQ(SheetListRows(page->InstrumentList()), Lines{LoadResString(IDS_NO_DEVICES)});
    EXPECT_FALSE(sheet.OkButton()->isEnabled());
    EXPECT_FALSE(page->DetailsButton()->isEnabled());
    EXPECT_TRUE(prompter.asked.empty());

    wenx->searchLines = {kLine};
    QTest::mouseClick(page->SearchButton(), Qt::LeftButton);
    EXPECT_EQ(page->InstrumentList()->currentRow(), 0);
    EXPECT_TRUE(sheet.OkButton()->isEnabled());
    QTest::mouseClick(page->DetailsButton(), Qt::LeftButton);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].caption, "Details");
    EXPECT_EQ(prompter.asked[0].text, "ORVANTA QT7100 Data Logger");

    // Closing is refused while a search runs.
    sheet.SetBusy(true);
    sheet.reject();
    EXPECT_TRUE(sheet.isVisible());
    sheet.SetBusy(false);

    Later([&sheet] { QTest::mouseClick(sheet.OkButton(), Qt::LeftButton); });
    ICommSetupSheet::Result result = sheet.Run();
    EXPECT_TRUE(result.selected);
    EXPECT_EQ(result.model, "OrvantaQT7100");
    EXPECT_EQ(result.address, "gpib0,9");
    EXPECT_NE(result.transport, nullptr);
}

TEST_F(SetupSheetTest, AModemShowsConnectInPlaceOfSearch) {
    auto script = std::make_shared<ScriptedTransport::Script>();
    script->searchLines = {"Phone number: 5550100"};
    ScopedTransportCreator dialup{kTypeModem, [script](int32_t) {
                                      auto t = std::make_unique<ScriptedTransport>(script, 6);
                                      t->SetAddress("Phone number: 5550100");
                                      return t;
                                  }};
    CCommSetupSheet sheet(Request(kTypeModem, 0));
    sheet.show();
    CCommPage1* page = sheet.Page1();
    EXPECT_EQ(SheetListRows(page->InstrumentList()), Lines{"Phone number: 5550100"});
    EXPECT_FALSE(page->SearchButton()->isVisible());
    ASSERT_TRUE(page->ConnectButton()->isVisible());
    EXPECT_EQ(page->ConnectButton()->text(), "Connect &now");
    EXPECT_FALSE(sheet.OkButton()->isEnabled());
    QTest::mouseClick(page->ConnectButton(), Qt::LeftButton);
    EXPECT_EQ(page->ConnectButton()->text(), "&Hangup now");

    page->InterfaceList()->setCurrentRow(0); // Wenx: Search is back
    EXPECT_TRUE(page->SearchButton()->isVisible());
    EXPECT_FALSE(page->ConnectButton()->isVisible());
    sheet.reject();
}

TEST_F(SetupSheetTest, TheControlSearchesThroughTheInstalledSheet) {
    CCommCtrl control;
    EXPECT_FALSE(control.Search(kTypeSimulated, "7100", 1).has_value()); // none installed
    ASSERT_TRUE(InstallSettingsDialogs());
    // Choosing "Simulated" searches at once: its one instrument is selected.
    Later([] {
        auto* sheet = qobject_cast<CCommSetupSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(SheetListRows(sheet->Page1()->InstrumentList()).size(), 1u);
        QTest::mouseClick(sheet->OkButton(), Qt::LeftButton);
    });
    const std::optional<SearchSelection> chosen = control.Search(kTypeSimulated, "7100", 1);
    // The property frame's page edits nothing; its Details button only answers.
    Later([] {
        QWidget* frame = QApplication::activeModalWidget();
        for (QPushButton* b : frame->findChildren<QPushButton*>())
            if (b->text() == "&Details...")
                QTest::mouseClick(b, Qt::LeftButton);
        qobject_cast<QDialog*>(frame)->reject();
    });
    EXPECT_TRUE(control.ShowProperties());
    EXPECT_EQ(prompter.Texts(), Lines{"On Details"});
    RemoveSettingsDialogs();
    EXPECT_EQ(CommSetupSheet(), nullptr);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->type, kTypeSimulated);
    EXPECT_EQ(chosen->address, "Simulated");
    EXPECT_EQ(chosen->instId, "Orvanta7100");
}

} // namespace
} // namespace tvane::comm
