#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "../DriverFixture.h"
#include "driver/IInstDriverData.h"
#include "driver/sheet/CAlarmSettingsPage.h"
#include "driver/sheet/CGeneralPage.h"
#include "driver/sheet/CInstSettingsSheet.h"
#include "driver/sheet/CInstStatePage.h"
#include "driver/sheet/CRenameStateDialog.h"
#include "driver/sheet/SettingsSheetPresenter.h"
#include "driver/sheet/SheetDialogFont.h"
#include "platform/com/Activation.h"
#include "platform/com/ComPtr.h"
#include "platform/core/LocaleFormats.h"
#include "platform/ui/Prompter.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::driver::test {
namespace {

using Strings = std::vector<std::string>;

Strings Rows(const QListWidget* list) {
    Strings out;
    for (int i = 0; i < list->count(); ++i)
        out.push_back(list->item(i)->text().toStdString());
    return out;
}

// Runs action on the first visible modal dialog once it is up.
void WhenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(10, [action] {
        if (QWidget* modal = QApplication::activeModalWidget())
            action(modal);
        else
            WhenModal(action);
    });
}

class SheetTest : public DriverTest {
protected:
    void SetUp() override {
        tvane::test::TestApp();
        DriverTest::SetUp();
        // States 1 and 2: A holds a setup, B does not.
        link.On("MEM:NST?", "3\n");
        link.On("MEM:STAT:NAME? 1", "\"A\"\n");
        link.On("MEM:STAT:VAL? 1", "1\n");
        link.On("MEM:STAT:NAME? 2", "\"B\"\n");
        link.On("MEM:STAT:VAL? 2", "0\n");
        drv->GetStateNames();
        link.transcript.clear();
    }
    void Open(int page) {
        sheet = std::make_unique<CInstSettingsSheet>(*drv);
        sheet->show();
        sheet->Tabs()->setCurrentIndex(page);
        ASSERT_EQ(sheet->ActiveIndex(), page);
    }
    void Click(QAbstractButton* button) {
        ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    std::unique_ptr<CInstSettingsSheet> sheet;
};

TEST_F(SheetTest, OpensOnTheRememberedPageWithCloseOnly) {
    drv->SetLastSettingsPage(2);
    CInstSettingsSheet s(*drv);
    s.show();
    EXPECT_EQ(s.windowTitle(), "OrvantaQT7100 Instrument Settings");
    ASSERT_EQ(s.PageCount(), 3);
    EXPECT_EQ(s.Tabs()->tabText(0), "Store/Recall");
    EXPECT_EQ(s.Tabs()->tabText(1), "Alarm Out");
    EXPECT_EQ(s.Tabs()->tabText(2), "Utility");
    EXPECT_EQ(s.ActiveIndex(), 2);
    EXPECT_FALSE(s.StatePage()->IsCreated()); // asks the instrument nothing yet
    EXPECT_TRUE(s.OkButton()->isHidden());
    EXPECT_EQ(s.CancelButton()->text(), "Close");
    EXPECT_TRUE(s.HelpButton()->isHidden());
    const QFont font = s.GeneralPage()->SetToPcButton()->font();
    EXPECT_EQ(font.family(), SheetDialogFont().family());
    EXPECT_EQ(font.pointSize(), 8);
}

TEST_F(SheetTest, StoreRecallPageSendsWhatItsControlsAsk) {
    Open(0);
    CInstStatePage* page = sheet->StatePage();
    const Strings all = {"A", "B", "Last Power Down", "Factory Reset", "Preset"};
    EXPECT_EQ(Rows(page->StateList()), all);
    EXPECT_EQ(Rows(page->SlotList()), (Strings{"Slot 1", "Slot 2", "Slot 3"}));
    EXPECT_EQ(page->StateList()->currentRow(), 0);

    page->StateList()->setCurrentRow(1); // B holds nothing to recall
    EXPECT_FALSE(page->RecallButton()->isEnabled());
    Click(page->StoreButton());
    EXPECT_TRUE(page->RecallButton()->isEnabled());
    Click(page->RecallButton());
    page->StateList()->setCurrentRow(3);
    EXPECT_FALSE(page->StoreButton()->isEnabled());
    EXPECT_FALSE(page->EditButton()->isEnabled());
    Click(page->RecallButton());
    page->SlotList()->setCurrentRow(2);
    Click(page->ResetButton());

    Click(page->RecallChoice());
    EXPECT_EQ(Rows(page->StateList()), all); // B now holds a state
    EXPECT_FALSE(page->EditButton()->isEnabled());
    page->StateList()->setCurrentRow(4);
    Click(page->ApplyButton());
    Click(page->StoreChoice());
    EXPECT_EQ(Rows(page->StateList()), (Strings{"A", "B"}));
    Click(page->ApplyButton());
    Click(page->RenameChoice());
    EXPECT_TRUE(page->EditButton()->isEnabled());

    EXPECT_EQ(link.Sent(),
              (Strings{"*SAV 2", "*RCL 2", "*RST", "SYST:CPON 300", "SYST:PRESET", "*SAV 1"}));
}

TEST_F(SheetTest, RenameDialogRefusesABadNameAndStaysOpen) {
    Open(0);
    CInstStatePage* page = sheet->StatePage();
    page->StateList()->setCurrentRow(1);
    bool stayedOpen = false;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Rename State");
        auto* edit = dialog->findChild<QLineEdit*>();
        EXPECT_EQ(edit->text(), "B");
        EXPECT_EQ(edit->maxLength(), 12);
        edit->setText("_B");
        dialog->accept();
        stayedOpen = dialog->isVisible();
        edit->setText("B_2");
        dialog->accept();
    });
    Click(page->EditButton());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompter.Texts(),
              Strings{"Invalid name: _B   A state name must be at least one character and "
                      "cannot begin with an underscore or digit (0-9)."});
    EXPECT_EQ(link.Sent(), Strings{"MEM:STAT:NAME 2,B_2"});
    EXPECT_EQ(Rows(page->StateList())[1], "B_2");
    EXPECT_EQ(page->StateList()->currentRow(), 1);
    EXPECT_EQ(drv->StateNames()[1], "B_2");

    // Cancel leaves everything as it was.
    WhenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    Click(page->EditButton());
    EXPECT_EQ(link.Sent().size(), 1u);
}

TEST_F(SheetTest, AlarmPageSendsOnlyChanges) {
    ASSERT_TRUE(drv->SetAlarmOutputLatched());
    link.transcript.clear();
    Open(1);
    CAlarmSettingsPage* page = sheet->AlarmPage();
    EXPECT_EQ(Rows(page->OutputList()),
              (Strings{"Alarm 1", "Alarm 2", "Alarm 3", "Alarm 4", "All"}));
    EXPECT_TRUE(page->LatchedChoice()->isChecked());
    EXPECT_TRUE(page->LowChoice()->isChecked());
    Click(page->HighChoice());
    Click(page->HighChoice());
    Click(page->LatchedChoice());
    Click(page->TrackingChoice());
    Click(page->ClearButton());
    page->OutputList()->setCurrentRow(4);
    Click(page->ClearButton());
    EXPECT_EQ(link.Sent(), (Strings{"OUTP:ALAR:SLOPE POS", "OUTP:ALAR:MODE TRAC", "OUTP:ALAR1:CLE",
                                    "OUTP:ALAR:CLE:ALL"}));
    EXPECT_TRUE(drv->AlarmPolarityHigh());
    EXPECT_FALSE(drv->AlarmLatched());
}

TEST_F(SheetTest, UtilityPageShowsRevisionsAndSetsTheClock) {
    FixedLocaleFormats locale{[] {
        LocaleFormats f;
        f.shortDate = "yyyy-MM-dd";
        f.timeFormat = "HH:mm:ss";
        return f;
    }()};
    ScopedService<ILocaleFormats> localeGuard(SetLocale, &locale);
    clock.SetNow(FromLocalTime(LocalTime{2026, 12, 10, 17, 1, 2, 0, 0}));
    link.On("*IDN?", "ORVANTA,QT7100,0,3.02\n");
    link.On("SYST:CTYP? 100", "ORVANTA,QT7102,0,1.1\n");
    link.On("SYST:CTYP? 200", "0,0,0,0\n");
    link.On("SYST:CTYP? 300", "ORVANTA,QT7107,0,2.4\n");
    link.On("SYST:DATE?", "2026,12,9\n");
    link.On("SYST:TIME?", "8,30,0.0\n");
    Open(2);
    CGeneralPage* page = sheet->GeneralPage();
    EXPECT_EQ(page->SystemRevision()->text(), "3.02");
    EXPECT_EQ(page->SlotRevision(0)->text(), "QT7102 REV:1.1");
    EXPECT_EQ(page->SlotRevision(1)->text(), "");
    EXPECT_EQ(page->SlotRevision(2)->text(), "QT7107 REV:2.4");
    EXPECT_EQ(page->InstrumentTime()->text(), "2026-12-09 08:30:00");
    EXPECT_EQ(page->ComputerTime()->text(), "2026-12-10 17:01:02");
    link.transcript.clear();
    Click(page->SetToPcButton());
    EXPECT_EQ(link.Sent(), (Strings{"SYST:DATE 2026,12,10", "SYST:TIME 17,1,2.000"}));
    EXPECT_EQ(page->InstrumentTime()->text(), "2026-12-10 17:01:02");
}

TEST_F(SheetTest, PresenterKeepsThePageOnlyWhenTheSheetEndsWithOk) {
    SettingsSheetPresenter presenter;
    auto runOnPage = [&](int index, bool ok) {
        WhenModal([index, ok](QWidget* modal) {
            auto* s = qobject_cast<PropertySheet*>(modal);
            ASSERT_NE(s, nullptr);
            s->Tabs()->setCurrentIndex(index);
            ok ? s->accept() : s->CancelButton()->click();
        });
        EXPECT_TRUE(presenter.Show(*drv, nullptr));
    };
    runOnPage(1, false);
    EXPECT_EQ(drv->LastSettingsPage(), 0);
    runOnPage(2, true);
    EXPECT_EQ(drv->LastSettingsPage(), 2);

    ASSERT_TRUE(InstallSettingsSheet());
    EXPECT_NE(SettingsPresenter(), nullptr);
    SetSettingsPresenter(nullptr);
}

// The module itself, loaded into a process with windows, shows its sheet for
// InstSettings (DISPID 2) and EditControlProperties (DISPID 33).
TEST_F(SheetTest, TheModuleShowsItsSheetThroughTheDispatchInterface) {
    const std::string bin = std::string(TVANE_BINARY_DIR) + "/bin/";
    for (const char* file : {"Linkwell.so", "KXQT7100.so"}) {
        DynamicLibrary library(bin + file);
        ASSERT_TRUE(library.IsLoaded()) << library.ErrorText();
        auto reg = reinterpret_cast<DllRegisterServerFunction>(library.Symbol("DllRegisterServer"));
        ASSERT_NE(reg, nullptr);
        ASSERT_EQ(reg(), S_OK) << file;
    }
    ComPtr<IDispatch> driver;
    ASSERT_EQ(CoCreateInstance(CLSID_KXQT7100, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               driver.OutVoid()),
              S_OK);
    for (DISPID id : {2, 33}) {
        std::string caption;
        WhenModal([&caption](QWidget* modal) {
            caption = modal->windowTitle().toStdString();
            qobject_cast<QDialog*>(modal)->reject();
        });
        DISPPARAMS none{};
        Variant result;
        ASSERT_EQ(driver->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result,
                                 nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(result.vt, VT_BOOL);
        EXPECT_TRUE(result.boolVal) << id;
        EXPECT_EQ(caption, "OrvantaQT7100 Instrument Settings");
    }
}

} // namespace
} // namespace tvane::driver::test
