#include "comm/CCommCtrl.h"
#include "comm/CRS232Interface.h"
#include "comm/IRs232SettingsDialog.h"
#include "platform/core/Clock.h"
#include "platform/core/MessagePump.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/serial/ScriptedSerialDevice.h"
#include "platform/ui/Prompter.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tvane::comm {
namespace {

using Lines = std::vector<std::string>;
const Lines kSettingQueries{"SYST:COMM:SER:BAUD?", "SYST:COMM:SER:PAR?", "SYST:COMM:SER:HAND?"};
constexpr const char* kSerialIdentity = "ORVANTA,QT7100,0,1.2";

// An instrument on COM1 (a pseudo-terminal) that answers the serial settings and
// identity queries; time moves only while the transport waits.
class Rs232Test : public ::tvane::test::TempHomeTest {
protected:
    ScriptedSerialDevice device;
    FakeClock clock;
    ScriptedPrompter prompter;
    ScopedService<IClock> clockGuard{SetClock, &clock};
    ScopedService<IMessagePump> pumpGuard{SetMessagePump, &device};
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};

    void SetUp() override {
        device.AdvanceClockOnPump(&clock, 10);
        MapPort("COM1", device.PortPath());
        PortSettings({{"SubPort", "COM1"}, {"BaudRate", "57600"}, {"Protocol", "XONXON"}});
        InstrumentSettings("+57600", "NONE", "XON");
        device.On("*IDN?", kSerialIdentity);
    }

    static void MapPort(const std::string& name, const std::string& path) {
        WritePrivateProfileString("Ports", name, path, "serial.ini");
    }
    static void PortSettings(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (const auto& [key, value] : values)
            WritePrivateProfileString("RS232", key, std::string(value), "linkwell.ini");
    }
    void InstrumentSettings(const char* baud, const char* parity, const char* handshake) {
        device.On(kSettingQueries[0], baud);
        device.On(kSettingQueries[1], parity);
        device.On(kSettingQueries[2], handshake);
    }
    static std::pair<int32_t, std::string> LastError(CCommInterface& t) {
        std::string text;
        int32_t code = 0;
        t.GetLastError(text, code);
        return {code, text};
    }
    // Sends a command and reads its answer into a buffer of size bytes.
    static std::pair<bool, std::string> Ask(CRS232Interface& t, const char* command,
                                            int32_t size = 100, int32_t* count = nullptr) {
        EXPECT_TRUE(t.Send(command));
        std::string buffer(static_cast<std::size_t>(size), 'x');
        int32_t n = -1;
        const bool ok = t.Read(buffer.data(), size, n);
        if (count)
            *count = n;
        return {ok, buffer.c_str()};
    }
};

TEST_F(Rs232Test, PortSettingsComeFromTheIniTexts) {
    const struct {
        std::initializer_list<std::pair<const char*, const char*>> ini;
        CRS232Interface::Codes codes;
        const char* baud;
        const char* parity;
        const char* handshake;
    } cases[] = {
        {{}, {0, 10, 0, 3, 7}, "57600", "NONE", "XONXON"},
        {{{"SubPort", " com3 "},
          {"BaudRate", "115200"},
          {"Parity", "even"},
          {"Length", "7"},
          {"Protocol", "rtsrts"}},
         {2, 11, 2, 2, 0},
         "115200",
         "EVEN",
         "RTSRTS"},
        // 600 baud is taken but reported (and written back) as 9600.
        {{{"SubPort", "COM2"}, {"BaudRate", "600"}, {"Parity", "SPACE"}, {"Protocol", "NONXON"}},
         {1, 3, 4, 3, 5},
         "9600",
         "SPACE",
         "NONXON"},
        // Texts that do not parse leave the defaults; a bad port name gives COM1.
        {{{"SubPort", "LPT2"},
          {"BaudRate", "12345"},
          {"Parity", "ZERO"},
          {"Length", "9"},
          {"Protocol", "RTS/CTS"}},
         {0, 10, 0, 3, 7},
         "57600",
         "NONE",
         "XONXON"},
        {{{"SubPort", "COM0"}}, {0, 10, 0, 3, 7}, "57600", "NONE", "XONXON"},
    };
    for (const auto& c : cases) {
        DeletePrivateProfileSection("RS232", "linkwell.ini");
        PortSettings(c.ini);
        CRS232Interface t;
        EXPECT_TRUE(t.Initialize());
        const auto codes = t.GetCodes();
        EXPECT_EQ(codes.portIndex, c.codes.portIndex) << c.baud;
        EXPECT_EQ(codes.baud, c.codes.baud) << c.baud;
        EXPECT_EQ(codes.parity, c.codes.parity) << c.baud;
        EXPECT_EQ(codes.length, c.codes.length) << c.baud;
        EXPECT_EQ(codes.handshake, c.codes.handshake) << c.baud;
        std::string baud, parity, handshake;
        EXPECT_TRUE(t.GetSerialSettings(baud, parity, handshake));
        EXPECT_EQ(baud, c.baud);
        EXPECT_EQ(parity, c.parity);
        EXPECT_EQ(handshake, c.handshake);
    }
    EXPECT_EQ(CRS232Interface::HandshakeText(16), "NONNON");
    EXPECT_EQ(CRS232Interface::LengthText(0), "8");
}

TEST_F(Rs232Test, TheControlOpensTalksToAndClosesTheInstrument) {
    CCommCtrl ctrl;
    ASSERT_TRUE(ctrl.OpenInterface("RS232", "COM1,0", 0));
    EXPECT_EQ(device.received,
              (Lines{kSettingQueries[0], kSettingQueries[1], kSettingQueries[2], "*IDN?"}));
    EXPECT_EQ(ctrl.InterfaceType(), 3);
    EXPECT_EQ(ctrl.IdentityLine(), std::string("OrvantaQT7100\tCOM1,0\t") + kSerialIdentity);
    EXPECT_EQ(GetPrivateProfileString("Settings", "ConnectSpeed", "", "linkwell.ini"), "57600");

    device.On("SYST:ERR?", "+0,\"No error\"");
    EXPECT_EQ(ctrl.SendQuery("SYST:ERR?"), "+0,\"No error\"");
    EXPECT_EQ(ctrl.SendQuery("*RST"), std::nullopt);
    EXPECT_TRUE(ctrl.IsInstrumentResponding());
    std::string baud = "Unk", parity = "Unk", handshake = "Unk";
    EXPECT_TRUE(ctrl.GetSerialSettings(baud, parity, handshake));
    EXPECT_EQ(baud + parity + handshake, "57600NONEXONXON");

    EXPECT_TRUE(ctrl.Close());
    EXPECT_EQ(device.received.back(), "syst:local");
    // The port is free again.
    SerialPort port;
    EXPECT_EQ(port.Open("COM1"), SerialError::None);
}

TEST_F(Rs232Test, OpenRefusesAnInstrumentWhoseSettingsDiffer) {
    const struct {
        const char* baud;
        const char* parity;
        const char* handshake;
        const char* protocol; // the port's
        std::size_t queries;  // how many setting queries were sent
        const char* error;
    } cases[] = {
        {"57600", "NONE", "XON", "XONXON", 1,
         "Baud rate mismatch detected.\nSerial Port Setting = 57600.\nInstrument Setting = 57600"},
        {"+9600", "NONE", "XON", "XONXON", 1,
         "Baud rate mismatch detected.\nSerial Port Setting = 57600.\nInstrument Setting = +9600"},
        {"+57600", "EVEN", "XON", "XONXON", 2,
         "Parity mismatch detected.\nSerial Port Setting = NONE.\nInstrument Setting = EVEN"},
        {"+57600", "NONE", "NONE", "XONXON", 3,
         "Handshake mismatch detected.\nSerial Port Setting = XON/XOFF\nInstrument Setting = NONE"},
        // A handshake the instrument has no name for never matches.
        {"+57600", "NONE", "XON", "NONXON", 3,
         "Handshake mismatch detected.\nSerial Port Setting = NONXON\nInstrument Setting = XON"},
    };
    for (const auto& c : cases) {
        InstrumentSettings(c.baud, c.parity, c.handshake);
        PortSettings({{"Protocol", c.protocol}});
        device.received.clear();
        CRS232Interface t;
        EXPECT_FALSE(t.Open("COM1,0")) << c.error;
        EXPECT_FALSE(t.IsOpen());
        EXPECT_EQ(device.received,
                  Lines(kSettingQueries.begin(), kSettingQueries.begin() + c.queries));
        EXPECT_EQ(LastError(t), std::make_pair(1013, std::string(c.error)));
        // The port was given back.
        SerialPort port;
        EXPECT_EQ(port.Open("COM1"), SerialError::None) << c.error;
    }
    // Matching settings for the other handshakes the instrument knows.
    for (const auto& [protocol, reply] :
         {std::pair{"NONNON", "NONE"}, std::pair{"XONXON", "XON"}}) {
        InstrumentSettings("+57600", "NONE", reply);
        PortSettings({{"Protocol", protocol}});
        CRS232Interface t;
        EXPECT_TRUE(t.Open("COM1,0")) << protocol;
    }
}

TEST_F(Rs232Test, AnswersLoseTheirLineEndAndAreCutToTheBuffer) {
    CRS232Interface t;
    ASSERT_TRUE(t.Open("COM1,0"));
    const struct {
        std::vector<std::string> pieces;
        int32_t size;
        const char* text;
        int32_t count;
    } cases[] = {
        {{"+1.25E+01\n"}, 100, "+1.25E+01", 10},
        {{"+1.25E+01\r\n"}, 100, "+1.25E+01", 11},
        // An answer that comes in pieces, the line end split, is one answer.
        {{"#212", "ABCDEFGHIJ", "KL\r", "\n"}, 100, "#212ABCDEFGHIJKL", 18},
        {{"0123456789ABCDEF\n"}, 10, "012345678", 10},
    };
    for (const auto& c : cases) {
        device.OnPieces("MEAS?", c.pieces);
        int32_t count = 0;
        const auto [ok, text] = Ask(t, "MEAS?", c.size, &count);
        EXPECT_TRUE(ok) << c.text;
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(count, c.count) << c.text;
    }
}

TEST_F(Rs232Test, AReadWithoutAnAnswerTimesOut) {
    CRS232Interface t;
    ASSERT_TRUE(t.Open("COM1,0"));
    EXPECT_EQ(LastError(t).first, 0);
    const auto [ok, text] = Ask(t, "SILENT?");
    EXPECT_FALSE(ok);
    EXPECT_EQ(text, "");
    EXPECT_EQ(LastError(t), std::make_pair(1052, std::string("Unable to receive data over the "
                                                             "RS-232 port - ensure device is "
                                                             "on-line.")));
    // Half an answer is no answer, and does not come back in front of the next one.
    device.OnPieces("HALF?", {"+12"});
    EXPECT_FALSE(Ask(t, "HALF?").first);
    EXPECT_EQ(LastError(t).first, 1052);
    EXPECT_EQ(Ask(t, "*IDN?"), std::make_pair(true, std::string(kSerialIdentity)));

    EXPECT_TRUE(t.IsInstrumentResponding());
    device.Forget("*IDN?");
    EXPECT_FALSE(t.IsInstrumentResponding());
    device.On("*IDN?", "?garbage");
    EXPECT_FALSE(t.IsInstrumentResponding());
}

TEST_F(Rs232Test, APortThatCannotBeOpened) {
    MapPort("COM5", "/nonexistent/ttyS4");
    PortSettings({{"SubPort", "COM5"}});
    CCommCtrl ctrl;
    EXPECT_FALSE(ctrl.OpenInterface("RS232", "COM5,0", 0));
    std::string text;
    int32_t code = 0;
    EXPECT_TRUE(ctrl.GetCommError(text, code));
    EXPECT_EQ(code, 1011);
    EXPECT_EQ(text, "Unable to initialize RS-232 port.");

    // RTS/CTS handshaking needs CTS, which this line never raises.
    PortSettings({{"SubPort", "COM1"}, {"Protocol", "RTSRTS"}});
    CRS232Interface t;
    EXPECT_FALSE(t.Open("COM1,0"));
    EXPECT_EQ(LastError(t).first, 1051);
    EXPECT_TRUE(device.received.empty());
    EXPECT_FALSE(t.Send("*IDN?"));
    EXPECT_EQ(LastError(t).first, 1051);
}

TEST_F(Rs232Test, TimeoutsAreCheckedAgainstTheOpenPort) {
    CRS232Interface t;
    EXPECT_FALSE(t.SetCommTimeout(2000));
    EXPECT_EQ(LastError(t).first, 1020);
    ASSERT_TRUE(t.Open("COM1,0"));
    for (int32_t bad : {0, 65535}) {
        EXPECT_FALSE(t.SetCommTimeout(bad));
        EXPECT_EQ(LastError(t), std::make_pair(1021, std::string("Illegal RS-232 timeout value.  "
                                                                 "Legal values ranges from 1 "
                                                                 "msec to 65534 msec.")));
    }
    EXPECT_TRUE(t.SetCommTimeout(2000));
    EXPECT_EQ(t.GetCommTimeout(), 2000);
}

TEST_F(Rs232Test, OpenAnyFindsTheInstrumentOnTheSerialPort) {
    CCommCtrl ctrl;
    EXPECT_FALSE(ctrl.OpenInterface("any", "KX2000", 0));
    std::string text;
    int32_t code = 0;
    ctrl.GetCommError(text, code);
    EXPECT_EQ(code, 1041);
    SerialPort port; // the failed search gave the port back
    EXPECT_EQ(port.Open("COM1"), SerialError::None);
    port.Close();

    ASSERT_TRUE(ctrl.OpenInterface("ANY", "KXQT7100", 1));
    EXPECT_EQ(ctrl.InterfaceType(), 3);
    EXPECT_EQ(ctrl.InterfaceName(), "RS232");
    EXPECT_EQ(ctrl.ControllerName(), "COM1,0");
    EXPECT_EQ(ctrl.Address(), 0);
    EXPECT_TRUE(ctrl.IsValidInterface());

    // A timer that fires while a search waits cannot start a second one.
    struct Reentry final : IMessagePump {
        ScriptedSerialDevice& device;
        CCommInterface& transport;
        std::optional<bool> nested;
        Reentry(ScriptedSerialDevice& d, CCommInterface& t) : device(d), transport(t) {}
        void Pump() override {
            device.Pump();
            if (!nested) {
                std::vector<std::string> ignored;
                nested = transport.Search(ignored, "*", 0);
            }
        }
    } reentry{device, *ctrl.Transport()};
    ScopedService<IMessagePump> reentryGuard{SetMessagePump, &reentry};
    std::vector<std::string> found;
    EXPECT_TRUE(ctrl.Transport()->Search(found, "*", 0));
    EXPECT_EQ(reentry.nested, false);
    EXPECT_EQ(found, Lines{std::string("OrvantaQT7100\tCOM,1\t") + kSerialIdentity});
}

// Plays the user of the settings dialog: may press Test, then OK with new codes.
struct FakeDialog final : IRs232SettingsDialog {
    std::optional<Codes> answer;
    Codes shown;
    bool pressTest = false;
    bool tested = false;
    bool Run(Codes& codes, CRS232Interface& transport, WindowHandle) override {
        shown = codes;
        if (pressTest)
            tested = transport.TestSettings(codes.portIndex, codes.baud, codes.parity, codes.length,
                                            codes.handshake, nullptr);
        if (!answer)
            return false;
        codes = *answer;
        return true;
    }
};

TEST_F(Rs232Test, EditedSettingsAreStoredAndTheTestTellsWhatItFound) {
    CRS232Interface t;
    ASSERT_TRUE(t.Open("COM1,0"));
    EXPECT_FALSE(t.EditSettings());
    EXPECT_EQ(prompter.Texts(), Lines{"The Serial Port Settings dialog is not available."});

    FakeDialog dialog;
    ScopedService<IRs232SettingsDialog> dialogGuard{SetRs232SettingsDialog, &dialog};
    dialog.pressTest = true;
    EXPECT_FALSE(t.EditSettings()); // cancelled
    EXPECT_TRUE(dialog.tested);
    EXPECT_EQ(dialog.shown.baud, 10);
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].text, "Found a 'OrvantaQT7100' on COM1");
    EXPECT_EQ(prompter.asked[1].caption, "Test Interface Settings");
    EXPECT_EQ(prompter.asked[1].icon, MsgIcon::Warning);

    // A test with settings the instrument does not have, then OK with them.
    dialog.answer = CRS232Interface::Codes{0, 7, 2, 2, 4}; // 9600, even, 7 bits, none
    InstrumentSettings("+57600", "NONE", "XON");
    dialog.shown = {};
    EXPECT_FALSE(t.TestSettings(0, 7, 2, 2, 4, nullptr));
    EXPECT_EQ(prompter.asked.back().text,
              "Settings conflict - Baud rate mismatch detected.\nSerial Port Setting = 9600.\n"
              "Instrument Setting = +57600");
    EXPECT_EQ(t.GetCodes().baud, 10); // the test leaves the transport's own settings
    EXPECT_TRUE(t.IsOpen());

    dialog.pressTest = false;
    EXPECT_FALSE(t.EditSettings()); // stored, and still reported as nothing done
    EXPECT_EQ(LastError(t).first, 0);
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } stored[] = {{"RS232", "SubPort", "COM1"},         {"RS232", "BaudRate", "9600"},
                  {"Settings", "ConnectSpeed", "9600"}, {"RS232", "Protocol", "NONNON"},
                  {"RS232", "Parity", "EVEN"},          {"RS232", "Length", "7"},
                  {"RS232", "IOAddress", "0x3f8"},      {"RS232", "Interrupt", "4"}};
    for (const auto& s : stored)
        EXPECT_EQ(GetPrivateProfileString(s.section, s.key, "", "linkwell.ini"), s.value) << s.key;
    EXPECT_TRUE(t.IsOpen());
    std::string baud, parity, handshake;
    t.GetSerialSettings(baud, parity, handshake);
    EXPECT_EQ(baud + parity + handshake, "9600EVENNONNON");
}

} // namespace
} // namespace tvane::comm
