#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "comm/CRS232Interface.h"
#include "comm/CallProgressLog.h"
#include "comm/IDialDialog.h"
#include "comm/sheet/CInterfaceSettingsDialog.h"
#include "comm/sheet/CSerialSettingsDialog.h"
#include "comm/sheet/CommDialogFont.h"
#include "comm/sheet/SettingsDialogPresenter.h"
#include "platform/com/Activation.h"
#include "platform/core/Clock.h"
#include "platform/core/MessagePump.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/serial/ScriptedSerialDevice.h"
#include "platform/tapi/ITelephonyDialogs.h"
#include "platform/ui/Prompter.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tvane::comm {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* kIdentity = "ORVANTA,QT7100,0,1.2";

// Runs action on the first visible modal dialog once it is up.
void WhenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(10, [action] {
        if (QWidget* modal = QApplication::activeModalWidget())
            action(modal);
        else
            WhenModal(action);
    });
}

void ClickOn(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

QAbstractButton* Button(QDialog* dialog, QDialogButtonBox::StandardButton which) {
    auto* box = dialog->findChild<QDialogButtonBox*>();
    return box ? box->button(which) : nullptr;
}

Lines ListRows(const QListWidget* list) {
    Lines out;
    for (int i = 0; i < list->count(); ++i)
        out.push_back(list->item(i)->text().toStdString());
    return out;
}

std::vector<bool> Checks(const QListWidget* list) {
    std::vector<bool> out;
    for (int i = 0; i < list->count(); ++i)
        out.push_back(list->item(i)->checkState() == Qt::Checked);
    return out;
}

// An instrument at 57600 baud, no parity, XON/XOFF on COM1 (a pseudo-terminal).
class SerialDialogTest : public ::tvane::test::TempHomeTest {
protected:
    ScriptedSerialDevice device;
    FakeClock clock;
    ScriptedPrompter prompter;
    ScopedService<IClock> clockGuard{SetClock, &clock};
    ScopedService<IMessagePump> pumpGuard{SetMessagePump, &device};
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};

    void SetUp() override {
        tvane::test::TestApp();
        device.AdvanceClockOnPump(&clock, 10);
        WritePrivateProfileString("Ports", "COM1", device.PortPath(), "serial.ini");
        WritePrivateProfileString("RS232", "SubPort", "COM1", "linkwell.ini");
        WritePrivateProfileString("RS232", "BaudRate", "57600", "linkwell.ini");
        WritePrivateProfileString("RS232", "Protocol", "XONXON", "linkwell.ini");
        device.On("SYST:COMM:SER:BAUD?", "+57600");
        device.On("SYST:COMM:SER:PAR?", "NONE");
        device.On("SYST:COMM:SER:HAND?", "XON");
        device.On("*IDN?", kIdentity);
    }
};

TEST_F(SerialDialogTest, ListsShowTheCodesAndTheTestTriesTheChosenSettings) {
    CRS232Interface t;
    ASSERT_TRUE(t.Open("COM1,0"));
    CSerialSettingsDialog dialog(t.GetCodes(), t);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Serial Port Settings");
    EXPECT_EQ(dialog.PortList()->currentText(), "COM 1");
    EXPECT_EQ(dialog.SpeedList()->currentText(), "57600 baud");
    EXPECT_EQ(dialog.ParityList()->currentText(), "None, 8 bits");
    EXPECT_EQ(dialog.FlowList()->currentText(), "XON/XOFF");
    EXPECT_EQ(dialog.SpeedList()->font(), CommDialogFont());

    // Settings the instrument does not have: the test says which one differs.
    dialog.SpeedList()->setCurrentIndex(3); // 9600
    ClickOn(dialog.TestButton());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].caption, "Test Interface Settings");
    EXPECT_EQ(prompter.asked[0].text,
              "Settings conflict - Baud rate mismatch detected.\nSerial Port Setting = 9600.\n"
              "Instrument Setting = +57600");

    dialog.SpeedList()->setCurrentIndex(6);
    ClickOn(dialog.TestButton());
    EXPECT_EQ(prompter.asked.back().text, "Found a 'OrvantaQT7100' on COM1");
    EXPECT_EQ(t.GetCodes().baud, 10); // the transport keeps its own settings
    EXPECT_TRUE(t.IsOpen());

    dialog.ParityList()->setCurrentIndex(1);
    dialog.FlowList()->setCurrentIndex(2);
    ClickOn(Button(&dialog, QDialogButtonBox::Ok));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CRS232Interface::Codes codes = dialog.GetCodes();
    EXPECT_EQ(codes.parity, 2);
    EXPECT_EQ(codes.length, 2);
    EXPECT_EQ(codes.handshake, 10);
}

TEST_F(SerialDialogTest, ARateTheListLacksOpensOnNoEntry) {
    CRS232Interface t;
    CRS232Interface::Codes codes{0, 3, 0, 3, 7}; // 600 baud
    CSerialSettingsDialog dialog(codes, t);
    EXPECT_EQ(dialog.SpeedList()->currentIndex(), -1);
    EXPECT_EQ(dialog.GetCodes().baud, 3);
    dialog.SpeedList()->setCurrentIndex(0);
    EXPECT_EQ(dialog.GetCodes().baud, 4);
}

// The transport's EditSettings shows the dialog once installed, and keeps what OK
// gives it.
TEST_F(SerialDialogTest, TheTransportShowsTheInstalledDialogAndStoresItsChoice) {
    CRS232Interface t;
    ASSERT_TRUE(t.Open("COM1,0"));
    ASSERT_TRUE(InstallSettingsDialogs());
    WhenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<CSerialSettingsDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->FlowList()->setCurrentIndex(0); // None
        ClickOn(Button(dialog, QDialogButtonBox::Ok));
    });
    EXPECT_FALSE(t.EditSettings()); // the transport reports nothing done
    RemoveSettingsDialogs();
    EXPECT_EQ(Rs232SettingsDialog(), nullptr);
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_EQ(GetPrivateProfileString("RS232", "Protocol", "", "linkwell.ini"), "NONNON");
    EXPECT_EQ(t.GetCodes().handshake, 4);

    WhenModal([](QWidget* modal) {
        ClickOn(Button(qobject_cast<QDialog*>(modal), QDialogButtonBox::Cancel));
    });
    ASSERT_TRUE(InstallSettingsDialogs());
    EXPECT_FALSE(t.EditSettings());
    RemoveSettingsDialogs();
    EXPECT_EQ(t.GetCodes().handshake, 4);
}

class InterfaceDialogTest : public ::testing::Test {
protected:
    void SetUp() override { tvane::test::TestApp(); }
    static CInterfaceSettingsDialog::Settings Gateway() {
        CInterfaceSettingsDialog::Settings s;
        s.lan = true;
        s.controllers = {{"lan", 0x20}, {"lan2", 0x7FFFFFFF}};
        s.moreControllers = {"c", "d", "e"};
        s.ipAddress = "0.0.0.0";
        s.gatewayName = "gpib";
        return s;
    }
};

TEST_F(InterfaceDialogTest, TheLanFormEditsMasksAndTheGateway) {
    CInterfaceSettingsDialog dialog(Gateway());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "LAN/GPIB Gateway Settings");
    EXPECT_TRUE(dialog.IpAddressEdit()->isVisible());
    EXPECT_EQ(dialog.ControllerList()->count(), 5);
    EXPECT_EQ(dialog.ControllerList()->currentText(), "lan");
    QListWidget* list = dialog.AddressList();
    ASSERT_EQ(list->count(), 31);
    EXPECT_EQ(list->item(5)->text(), "lan[0.0.0.0]gpib,5");
    std::vector<bool> only5(31, false);
    only5[5] = true;
    EXPECT_EQ(Checks(list), only5);

    // Typing a new host renames the lines and keeps the marks.
    list->item(7)->setCheckState(Qt::Checked);
    dialog.IpAddressEdit()->clear();
    QTest::keyClicks(dialog.IpAddressEdit(), "10.1.2.3");
    EXPECT_EQ(list->item(5)->text(), "lan[10.1.2.3]gpib,5");
    EXPECT_TRUE(list->item(7)->checkState() == Qt::Checked);

    // Another controller, then back: each keeps its own marks.
    dialog.ControllerList()->setCurrentIndex(1);
    EXPECT_EQ(Checks(list), std::vector<bool>(31, true));
    ClickOn(dialog.UnselectAllButton());
    EXPECT_EQ(Checks(list), std::vector<bool>(31, false));
    dialog.ControllerList()->setCurrentIndex(4); // past the fourth: nothing kept
    EXPECT_EQ(ListRows(list).front(), "e[10.1.2.3]gpib,0");
    EXPECT_EQ(Checks(list), std::vector<bool>(31, false));
    ClickOn(dialog.SelectAllButton());
    dialog.ControllerList()->setCurrentIndex(0);
    EXPECT_TRUE(list->item(7)->checkState() == Qt::Checked);

    dialog.GatewayNameEdit()->setText("hpib");
    ClickOn(Button(&dialog, QDialogButtonBox::Ok));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const auto& result = dialog.Result();
    ASSERT_EQ(result.controllers.size(), 2u);
    EXPECT_EQ(result.controllers[0].exclude, (1 << 5) | (1 << 7));
    EXPECT_EQ(result.controllers[1].exclude, 0);
    EXPECT_EQ(result.ipAddress, "10.1.2.3");
    EXPECT_EQ(result.gatewayName, "hpib");
}

TEST_F(InterfaceDialogTest, TheGpibFormHidesTheGateway) {
    CInterfaceSettingsDialog::Settings s;
    s.controllers = {{"gpib0", 0x7FFFFFFF}};
    CInterfaceSettingsDialog dialog(s);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Interface Settings");
    EXPECT_FALSE(dialog.IpAddressEdit()->isVisible());
    EXPECT_FALSE(dialog.GatewayNameEdit()->isVisible());
    EXPECT_EQ(dialog.AddressList()->item(30)->text(), "gpib0,30");
    dialog.AddressList()->item(0)->setCheckState(Qt::Unchecked);
    ClickOn(Button(&dialog, QDialogButtonBox::Ok));
    EXPECT_EQ(dialog.Result().controllers[0].exclude, 0x7FFFFFFE);
}

// Linkwell.so loaded into a process with windows installs the dialogs, and takes
// them back when it is unloaded.
TEST_F(InterfaceDialogTest, TheModuleInstallsTheDialogsWhileLoaded) {
    ASSERT_EQ(WenxSettingsDialog(), nullptr);
    {
        DynamicLibrary library(std::string(TVANE_BINARY_DIR) + "/bin/Linkwell.so");
        ASSERT_TRUE(library.IsLoaded()) << library.ErrorText();
        EXPECT_NE(Rs232SettingsDialog(), nullptr);
        EXPECT_NE(DialDialog(), nullptr);
        EXPECT_NE(tapi::TelephonyDialogs(), nullptr);
        ASSERT_NE(WenxSettingsDialog(), nullptr);
        CInterfaceSettingsDialog::Settings s = Gateway();
        WhenModal([](QWidget* modal) {
            EXPECT_EQ(modal->windowTitle(), "LAN/GPIB Gateway Settings");
            qobject_cast<QDialog*>(modal)->reject();
        });
        EXPECT_FALSE(WenxSettingsDialog()->Run(s, nullptr));
    }
    EXPECT_EQ(Rs232SettingsDialog(), nullptr);
    EXPECT_EQ(WenxSettingsDialog(), nullptr);
    EXPECT_EQ(DialDialog(), nullptr);
    EXPECT_EQ(tapi::TelephonyDialogs(), nullptr);
    // The call progress window went with the module: calls are only logged again.
    EXPECT_NE(dynamic_cast<CallProgressLog*>(CreateCallProgressDialog(nullptr).get()), nullptr);
}

} // namespace
} // namespace tvane::comm
