#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "comm/CCommCtrl.h"
#include "comm/CommStrings.h"
#include "comm/InterfaceTypes.h"
#include "comm/ModemPort.h"
#include "comm/ModemTelephony.h"
#include "comm/RememberedNumber.h"
#include "comm/sheet/CCallProgressDialog.h"
#include "comm/sheet/CCommSetupSheet.h"
#include "comm/sheet/CDialDialog.h"
#include "comm/sheet/CDialingPropertiesDialog.h"
#include "comm/sheet/CModemSettingsDialog.h"
#include "comm/sheet/SettingsDialogPresenter.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/tapi/LineConfiguration.h"
#include "platform/tapi/ScriptedModem.h"
#include "platform/ui/Prompter.h"
#include "tests/comm/ModemTestBench.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tvane::comm {
namespace {

using Lines = std::vector<std::string>;

// Runs action on the modal window of type T once it is up.
template <typename T> void WhenUp(std::function<void(T*)> action) {
    QTimer::singleShot(10, [action] {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget()))
            action(window);
        else
            WhenUp<T>(action);
    });
}

void Click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

QAbstractButton* Ok(QDialog* dialog) {
    return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

void SavePicture(QWidget* window, const char* name) {
    ASSERT_TRUE(tvane::test::SaveArtifact(*window, name));
    EXPECT_GT(std::filesystem::file_size(tvane::test::ArtifactPath(name)), 1000u);
}

Lines Rows(const QListWidget* list) {
    Lines out;
    for (int i = 0; i < list->count(); ++i)
        out.push_back(list->item(i)->text().toStdString());
    return out;
}

// The bench's modem, with 5550100 in area 20 remembered.
class ModemDialogsTest : public ::tvane::test::TempHomeTest, protected test::ModemTestBench {
protected:
    void SetUp() override {
        tvane::test::TestApp();
        InstallModem("Orvanta Fieldmodem 56K");
        Remembered().Write();
    }
    void TearDown() override {
        ModemTelephony::Instance().Shutdown();
        ModemPort::StopComm();
        RemoveSettingsDialogs();
    }
    static RememberedNumber Remembered() {
        RememberedNumber n;
        n.phoneNumber = "5550100";
        n.areaCode = "20";
        n.country = "United Kingdom (44)";
        n.canonical = "+44 (20) 5550100";
        n.dialable = "T5550100";
        n.device = 0;
        return n;
    }
};

TEST_F(ModemDialogsTest, TheDialDialogChecksTheNumberAsItIsTyped) {
    ASSERT_TRUE(ModemTelephony::Instance().Initialize(nullptr));
    CDialDialog dialog(Remembered(), true);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Dial-up Modem Settings");
    EXPECT_EQ(dialog.OkButton()->text(), "&Dial...");
    EXPECT_EQ(dialog.DeviceList()->currentText(), "Orvanta Fieldmodem 56K");
    EXPECT_EQ(dialog.CountryList()->currentText(), "United Kingdom (44)");
    EXPECT_EQ(dialog.LocationList()->currentText(), "Office");
    EXPECT_EQ(dialog.PhoneEdit()->text(), "5550100");
    EXPECT_FALSE(dialog.DialableEdit()->isVisible());
    EXPECT_EQ(dialog.DialableEdit()->text(), "T5550100");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_TRUE(dialog.ConfigureButton()->isEnabled());
    SavePicture(&dialog, "comm_dial_dialog.png");

    dialog.PhoneEdit()->selectAll();
    QTest::keyClick(dialog.PhoneEdit(), Qt::Key_Backspace);
    EXPECT_EQ(dialog.DialableEdit()->text(), "No Phone Number");
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    QTest::keyClicks(dialog.PhoneEdit(), "555-0199");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.AreaEdit()->selectAll();
    QTest::keyClicks(dialog.AreaEdit(), "161");
    EXPECT_EQ(dialog.DialableEdit()->text(), "T01615550199");
    dialog.findChild<QCheckBox*>()->click();
    EXPECT_FALSE(dialog.CountryList()->isEnabled());
    EXPECT_EQ(dialog.DialableEdit()->text(), "T5550199");

    Click(dialog.OkButton());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Number().phoneNumber, "555-0199");
    EXPECT_EQ(dialog.Number().dialable, "T5550199");
    EXPECT_EQ(dialog.Number().useCountry, 0);
}

// "Dialing Properties..." and "Configure Line..." open the telephony layer's dialogs.
TEST_F(ModemDialogsTest, TheDialDialogOpensTheLocationAndModemDialogs) {
    ASSERT_TRUE(InstallSettingsDialogs());
    ASSERT_TRUE(ModemTelephony::Instance().Initialize(nullptr));
    CDialDialog dialog(Remembered(), false);
    dialog.show();
    EXPECT_EQ(dialog.OkButton()->text(), "OK");

    WhenUp<CDialingPropertiesDialog>([](CDialingPropertiesDialog* properties) {
        EXPECT_EQ(properties->NameEdit()->text(), "Office");
        EXPECT_EQ(properties->CountryList()->currentText(), "United Kingdom (44)");
        SavePicture(properties, "comm_dialing_properties.png");
        properties->AreaEdit()->setText("161");
        properties->OutsideLineEdit()->setText("9,");
        Click(Ok(properties));
    });
    Click(dialog.PropertiesButton());
    // From area 161, area 20 is long distance.
    EXPECT_EQ(dialog.DialableEdit()->text(), "T9,0205550100");

    WhenUp<CModemSettingsDialog>([](CModemSettingsDialog* settings) {
        EXPECT_EQ(settings->windowTitle(), "Orvanta Fieldmodem 56K Properties");
        EXPECT_EQ(settings->SpeedList()->currentText(), "57600");
        SavePicture(settings, "comm_modem_settings.png");
        settings->InitEdit()->setText("ATE0V1X3");
        Click(Ok(settings));
    });
    Click(dialog.ConfigureButton());
    EXPECT_NE(ModemTelephony::Instance().DeviceConfig().find("Init=ATE0V1X3"), std::string::npos);
    dialog.reject();
}

TEST_F(ModemDialogsTest, TheDialStatusWindowHoldsItsOwnerAndTakesCancel) {
    QWidget owner;
    owner.resize(300, 200);
    owner.show();
    CCallProgressDialog progress(&owner);
    EXPECT_EQ(progress.windowTitle(), "Dial Status");
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.parentWidget(), &owner);
    EXPECT_EQ(progress.windowModality(), Qt::ApplicationModal); // the owner takes no input
    for (const char* line : {"Initializing...", "Dialing 5550100", "Waiting for reply..."})
        progress.AddLine(line);
    SavePicture(&progress, "comm_dial_status.png");
    EXPECT_FALSE(progress.TakeCancel());
    Click(progress.CancelButton());
    EXPECT_TRUE(progress.TakeCancel());
    EXPECT_FALSE(progress.TakeCancel());
    progress.close(); // closing the window is a cancel too, not a vanished call
    EXPECT_TRUE(progress.TakeCancel());
    EXPECT_TRUE(progress.IsUp());
    progress.Dismiss();
    EXPECT_FALSE(progress.isVisible());
}

// The program's path: the control's search shows the setup sheet; on the modem
// interface the user changes the number, dials, and takes the instrument.
TEST_F(ModemDialogsTest, TheSetupSheetDialsAndHangsUpTheModem) {
    ASSERT_TRUE(InstallSettingsDialogs());
    CCommCtrl control;
    WhenUp<CCommSetupSheet>([this](CCommSetupSheet* sheet) {
        CCommPage1* page = sheet->Page1();
        EXPECT_EQ(page->InterfaceList()->currentItem()->text(), "Dial-up Modem");
        EXPECT_EQ(Rows(page->InstrumentList()),
                  Lines{"Phone number:  5550100\t \tNot connected, click 'Connect now' button"});
        ASSERT_TRUE(page->ConnectButton()->isVisible());
        EXPECT_EQ(page->ConnectButton()->text(), "Connect &now");
        EXPECT_FALSE(sheet->OkButton()->isEnabled());

        WhenUp<CDialDialog>([](CDialDialog* dial) {
            dial->PhoneEdit()->setText("5550123");
            QTest::keyClicks(dial->PhoneEdit(), "4");
            Click(dial->OkButton());
        });
        Click(page->SettingsButton());
        EXPECT_EQ(Rows(page->InstrumentList()),
                  Lines{"Phone number:  55501234\t \tNot connected, click 'Connect now' button"});

        // Cancel in the Dial Status window stops the dial.
        modem.dialPumps = 1000;
        WhenUp<CCallProgressDialog>([](CCallProgressDialog* progress) {
            EXPECT_EQ(Rows(progress->StatusList()).front(), "Initializing...");
            Click(progress->CancelButton());
        });
        Click(page->ConnectButton());
        EXPECT_EQ(page->ConnectButton()->text(), "Connect &now");
        EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());
        EXPECT_TRUE(prompter.asked.empty());
        modem.dialPumps = 3;

        // A busy line says so and leaves the modem ready to dial again.
        modem.outcome = tapi::ScriptedModem::Outcome::Busy;
        Click(page->ConnectButton());
        EXPECT_EQ(prompter.Texts(), Lines{"Error 1007: Line busy, shutting down"});
        EXPECT_EQ(page->ConnectButton()->text(), "Connect &now");

        modem.outcome = tapi::ScriptedModem::Outcome::Connect;
        Click(page->ConnectButton());
        EXPECT_EQ(modem.dialed.back(), "T55501234");
        EXPECT_EQ(page->ConnectButton()->text(), "&Hangup now");
        EXPECT_EQ(Rows(page->InstrumentList()),
                  Lines{"OrvantaQT7100    55501234\t \tORVANTA,QT7100,0,1.2"});
        EXPECT_TRUE(sheet->OkButton()->isEnabled());
        SavePicture(sheet, "comm_setup_sheet_modem.png");

        Click(page->ConnectButton()); // hang up
        EXPECT_EQ(page->ConnectButton()->text(), "Connect &now");
        EXPECT_FALSE(sheet->OkButton()->isEnabled());
        EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());

        Click(page->ConnectButton());
        EXPECT_TRUE(ModemTelephony::Instance().CallConnected());
        Click(sheet->OkButton());
    });
    const std::optional<SearchSelection> chosen = control.Search(kTypeModem, "*", 0);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->type, kTypeModem);
    EXPECT_EQ(chosen->instId, "OrvantaQT7100    55501234"); // the line's first field
    // The control took the call over with the transport: it still talks to the instrument.
    EXPECT_TRUE(ModemTelephony::Instance().CallConnected());
    EXPECT_EQ(RememberedNumber::Read().phoneNumber, "55501234");
}

} // namespace
} // namespace tvane::comm
