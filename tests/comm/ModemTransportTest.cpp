#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "comm/CModemInterface.h"
#include "comm/CallProgressLog.h"
#include "comm/CommStrings.h"
#include "comm/DialSettingsModel.h"
#include "comm/ICallProgressDialog.h"
#include "comm/IDialDialog.h"
#include "comm/ModemAnswerBlock.h"
#include "comm/ModemPort.h"
#include "comm/ModemTelephony.h"
#include "comm/RememberedNumber.h"
#include "comm/TransportFactory.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/tapi/LineConfiguration.h"
#include "platform/tapi/ScriptedModem.h"
#include "platform/tapi/TapiDiagnostics.h"
#include "platform/ui/Prompter.h"
#include "tests/comm/ModemTestBench.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tvane::comm {
namespace {

using Lines = std::vector<std::string>;

bool Contains(const Lines& lines, const std::string& text) {
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

// The Dial dialog without a window: the real rules, filled by the test.
class ScriptedDialDialog final : public IDialDialog {
public:
    bool Run(RememberedNumber& number, bool connectPath, WindowHandle) override {
        ++shown;
        CDialSettingsModel model(number, connectPath);
        model.Open(nullptr);
        okText = model.OkText();
        if (fill)
            fill(model);
        if (!accept) {
            model.Reject();
            return false;
        }
        return model.Accept(number);
    }
    std::function<void(CDialSettingsModel&)> fill;
    bool accept = true;
    int shown = 0;
    std::string okText;
};

// Collects the debug output of the modem code.
class DebugLines {
public:
    DebugLines() {
        m_previous = tapi::SetDebugSink([this](const std::string& text) { lines.push_back(text); });
    }
    ~DebugLines() { tapi::SetDebugSink(std::move(m_previous)); }
    Lines lines;

private:
    tapi::DebugSink m_previous;
};

// The bench's modem, with 5550100 in area 20 remembered; the Dial dialog runs its rules
// without a window, and the call's progress is recorded.
class ModemTransportTest : public ::tvane::test::TempHomeTest, protected test::ModemTestBench {
protected:
    ScriptedDialDialog dial;
    std::shared_ptr<CallProgressRecord> progress = std::make_shared<CallProgressRecord>();
    DebugLines debug;

    void SetUp() override {
        InstallModem("Scripted modem");
        SetDialDialog(&dial);
        SetCallProgressFactory(
            [this](WindowHandle) { return std::make_unique<CallProgressLog>(progress); });
        Remember("5550100");
    }
    void TearDown() override {
        ModemTelephony::Instance().Shutdown();
        ModemPort::StopComm();
        SetDialDialog(nullptr);
        SetCallProgressFactory({});
    }

    static void Remember(const std::string& number, const std::string& dialable = "T5550100") {
        RememberedNumber n;
        n.phoneNumber = number;
        n.dialable = dialable;
        n.canonical = "+44 (20) " + number;
        n.areaCode = "20";
        n.country = "United Kingdom (44)";
        n.device = 0;
        n.Write();
    }
    std::string ReadAnswer(CModemInterface& t) {
        char buffer[200] = {};
        int32_t count = 0;
        if (!t.Read(buffer, sizeof buffer, count))
            return "(none)";
        return std::string(buffer);
    }
};

TEST_F(ModemTransportTest, DialsConnectsQueriesTheInstrumentAndHangsUp) {
    CModemInterface t;
    t.SetPageMode(true);
    ASSERT_TRUE(t.Initialize());
    ASSERT_TRUE(t.Connect()) << t.GetAddress();
    EXPECT_EQ(dial.shown, 0); // a number was remembered
    EXPECT_EQ(modem.dialed, Lines{"T5550100"});
    EXPECT_EQ(progress->lines, (Lines{"Initializing...", "Dialing 5550100", "Waiting for reply...",
                                      "Connected to '+44 (20) 5550100'"}));
    EXPECT_EQ(progress->closed, 1);
    EXPECT_TRUE(t.IsOpen());
    EXPECT_EQ(t.GetAddress(), "OrvantaQT7100    5550100\t \tORVANTA,QT7100,0,1.2");
    std::string line;
    EXPECT_TRUE(t.FormatSearchLine(line));
    EXPECT_EQ(line, t.GetAddress());

    // Answers end in a line feed or CR LF; Read ends them with a zero either way.
    modem.On("MEAS:VOLT?", "+1.2345E+00");
    modem.lineEnd = "\r\n";
    modem.On("SYST:ERR?", "+0,\"No error\"");
    ASSERT_TRUE(t.Send("MEAS:VOLT?"));
    EXPECT_EQ(ReadAnswer(t), "+1.2345E+00");
    ASSERT_TRUE(t.Send("SYST:ERR?"));
    char buffer[8] = {};
    int32_t count = 0;
    ASSERT_TRUE(t.Read(buffer, sizeof buffer, count));
    EXPECT_STREQ(buffer, "+0,\"No ");
    EXPECT_EQ(count, 7);
    EXPECT_EQ(modem.received, (Lines{"*IDN?", "MEAS:VOLT?", "SYST:ERR?"}));

    // Nothing more to say: no answer after five seconds.
    modem.AdvanceClockOnPump(&clock, 1000);
    ASSERT_TRUE(t.Send("*OPC"));
    EXPECT_EQ(t.IsMsgAvailable(), 0);

    EXPECT_TRUE(t.ReleaseLine(false));
    EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());
    EXPECT_EQ(modem.escapes, 1);
    EXPECT_EQ(modem.commands.back(), "ATH0");
    EXPECT_FALSE(t.Send("*IDN?")); // no link any more
    EXPECT_TRUE(Contains(debug.lines, "Call Dropped.\n"));
    EXPECT_TRUE(Contains(debug.lines, "Line Closed.\n"));
}

TEST_F(ModemTransportTest, ACallThatDoesNotComeUpSaysWhy) {
    const struct {
        tapi::ScriptedModem::Outcome outcome;
        const char* why;
    } cases[] = {
        {tapi::ScriptedModem::Outcome::Busy, "Line busy, shutting down"},
        {tapi::ScriptedModem::Outcome::NoCarrier, "Disconnected: No Answer"},
        {tapi::ScriptedModem::Outcome::NoDialTone, "Disconnected: No Dial Tone"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        modem.outcome = c.outcome;
        progress->lines.clear();
        CModemInterface t;
        t.SetPageMode(true);
        EXPECT_FALSE(t.Connect());
        EXPECT_TRUE(Contains(progress->lines, c.why));
        int32_t code = 0;
        EXPECT_EQ(t.GetErrorCode(code), c.why);
        EXPECT_EQ(code, IDS_NO_CONNECTION);
        EXPECT_FALSE(t.IsOpen());
        EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());
        EXPECT_EQ(modem.commands.back(), "ATH0"); // the modem is on hook again
        EXPECT_TRUE(prompter.asked.empty());
    }
}

TEST_F(ModemTransportTest, ALineDroppedMidAnswerFailsTheReadAndHangsUp) {
    CModemInterface t;
    t.SetPageMode(true);
    ASSERT_TRUE(t.Connect());
    modem.DropDuring("READ?", "+1.234E+00,+2.3");
    ASSERT_TRUE(t.Send("READ?"));
    char buffer[100] = {};
    int32_t count = 0;
    EXPECT_FALSE(t.Read(buffer, sizeof buffer, count)); // the cut answer is not handed on
    EXPECT_EQ(count, 0);
    int32_t code = 0;
    EXPECT_EQ(t.GetErrorCode(code), "The modem lost the connection to the instrument.");
    EXPECT_EQ(code, IDS_MODEM_LINE_DROPPED);
    EXPECT_FALSE(t.IsOpen());
    EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());
    EXPECT_EQ(t.GetAddress(),
              "Phone number:  5550100\t \tNot connected, click 'Connect now' button");
    EXPECT_TRUE(prompter.asked.empty());
}

// A modem that fails the call before dialling says why, where the telephony error
// alone would only say that it failed.
TEST_F(ModemTransportTest, AModemThatDoesNotTakeItsCommandsSaysWhy) {
    const struct {
        const char* name;
        bool flood, silent;
        std::string why;
    } cases[] = {
        {"flood", true, false,
         "The modem on " + modem.PortPath() +
             " keeps sending data and does not answer its "
             "commands."},
        {"silent", false, true, "The modem on " + modem.PortPath() + " does not answer."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        modem.flood = c.flood;
        modem.silent = c.silent;
        progress->lines.clear();
        CModemInterface t;
        t.SetPageMode(true);
        EXPECT_FALSE(t.Connect());
        EXPECT_TRUE(Contains(progress->lines, c.why));
        int32_t code = 0;
        EXPECT_EQ(t.GetErrorCode(code), c.why);
        EXPECT_EQ(code, IDS_NO_CONNECTION);
        EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());
    }
}

TEST_F(ModemTransportTest, LineNoiseAfterConnectIsNoIdentity) {
    modem.On("*IDN?", "\x01\xFE\x80ORVANTA\x7F");
    CModemInterface t;
    t.SetPageMode(true);
    EXPECT_FALSE(t.Connect());
    EXPECT_FALSE(t.IsOpen());
    EXPECT_EQ(prompter.Texts(),
              Lines{"Connection established but instrument not responding.  Check instrument "
                    "configuration.\n\nCall will now be terminated."});
    EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());
}

TEST_F(ModemTransportTest, CancelInTheProgressDialogHangsUp) {
    modem.dialPumps = 100;
    progress->onLine = [this](const std::string& line) {
        if (line == "Waiting for reply...")
            progress->cancel = true;
    };
    CModemInterface t;
    t.SetPageMode(true);
    EXPECT_FALSE(t.Connect());
    EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());
    EXPECT_EQ(modem.commands.back(), "ATH0");
    int32_t code = 0;
    t.GetErrorCode(code);
    EXPECT_EQ(code, 0); // the user knows why
}

TEST_F(ModemTransportTest, AnInstrumentThatDoesNotAnswerEndsTheCall) {
    modem.AdvanceClockOnPump(&clock, 1000);
    modem.On("*IDN?", "");
    modem.lineEnd = "";
    CModemInterface t;
    t.SetPageMode(true);
    EXPECT_FALSE(t.Connect());
    EXPECT_EQ(prompter.Texts(),
              Lines{"Connection established but instrument not responding.  Check instrument "
                    "configuration.\n\nCall will now be terminated."});
    EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());
    EXPECT_EQ(t.GetAddress(), "Phone number:  5550100\t \tDetails not available");
}

// A modem that cannot wait for a second dial tone, and any number with "?", pause
// the dial for the user.
TEST_F(ModemTransportTest, PauseCharactersStopTheDialForTheUser) {
    WritePrivateProfileString("Line0", "DialTone", std::string("0"), kTapiIni);
    const struct {
        const char* dialable;
        Lines parts;
        const char* message;
    } cases[] = {
        {"T9W5550100", {"T9;", "5550100"}, "Wait for the second dial tone"},
        {"T555?0100", {"T555;", "0100"}, "Press OK when you are ready to continue dialing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialable);
        modem.dialed.clear();
        prompter.asked.clear();
        Remember("5550100", c.dialable);
        CModemInterface t;
        t.SetPageMode(true);
        ASSERT_TRUE(t.Connect());
        EXPECT_EQ(modem.dialed, c.parts);
        ASSERT_EQ(prompter.asked.size(), 1u);
        EXPECT_EQ(prompter.asked[0].caption, "Dialing Paused");
        EXPECT_EQ(prompter.asked[0].text, c.message);
        EXPECT_TRUE(t.Close());
    }
}

TEST_F(ModemTransportTest, WithoutANumberTheDialDialogAsksForOne) {
    WritePrivateProfileString("MRU", "Dialable1", std::string(""), LinkwellIni());
    dial.fill = [](CDialSettingsModel& m) {
        EXPECT_EQ(m.PhoneNumber(), "5550100");
        m.SetPhoneNumber("5550199");
    };
    CModemInterface t;
    t.SetPageMode(true);
    ASSERT_TRUE(t.Connect());
    EXPECT_EQ(dial.shown, 1);
    EXPECT_EQ(dial.okText, "&Dial...");
    EXPECT_EQ(modem.dialed, Lines{"T5550199"});
    const RememberedNumber n = RememberedNumber::Read();
    EXPECT_EQ(n.phoneNumber, "5550199");
    EXPECT_EQ(n.canonical, "+44 (20) 5550199");
    EXPECT_EQ(n.dialable, "T5550199");
    EXPECT_EQ(n.device, 0);
    EXPECT_EQ(GetPrivateProfileString("MRU", "Device1", "", LinkwellIni()), "0");
    EXPECT_EQ(GetPrivateProfileString("MRU", "UseCountry1", "", LinkwellIni()), "1");
    t.Close();

    // EditSettings shows the dialog alone and keeps its choice.
    dial.fill = [](CDialSettingsModel& m) { m.SetPhoneNumber("5550142"); };
    EXPECT_FALSE(t.EditSettings());
    EXPECT_EQ(dial.shown, 2);
    EXPECT_EQ(dial.okText, "OK");
    EXPECT_EQ(RememberedNumber::Read().phoneNumber, "5550142");
    EXPECT_EQ(t.GetAddress(),
              "Phone number:  5550142\t \tNot connected, click 'Connect now' button");
}

TEST_F(ModemTransportTest, TheUsersAnswersDecideOverTheCall) {
    // Without the setup page the transport offers to dial.
    prompter.Script({MsgAnswer::No});
    CModemInterface t;
    EXPECT_TRUE(t.Initialize());
    EXPECT_EQ(prompter.asked.at(0).text, "Connect to remote instrument now?");
    EXPECT_EQ(prompter.asked.at(0).caption, "Dial-up Modem");
    EXPECT_TRUE(modem.dialed.empty());

    prompter.Script({MsgAnswer::Yes});
    EXPECT_TRUE(t.Initialize());
    EXPECT_EQ(dial.shown, 1);
    EXPECT_TRUE(t.IsOpen());

    // A connected call is kept when the user says so.
    prompter.Script({MsgAnswer::No});
    EXPECT_FALSE(t.ReleaseLine(true));
    EXPECT_EQ(prompter.asked.back().text, "Call in progress, hang up now?");
    EXPECT_EQ(prompter.asked.back().caption, "Connected");
    EXPECT_TRUE(ModemTelephony::Instance().CallConnected());
    prompter.Script({MsgAnswer::Yes});
    EXPECT_TRUE(t.ReleaseLine(true));
    EXPECT_FALSE(ModemTelephony::Instance().CallInProgress());
}

TEST_F(ModemTransportTest, SearchListsTheRememberedNumberWithoutDialling) {
    WritePrivateProfileString("MRU", "PhoneNumber1", std::nullopt, LinkwellIni());
    std::unique_ptr<CCommInterface> t = CreateTransportByType(6);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->HasKind(6));
    EXPECT_EQ(t->GetType(), 6);
    EXPECT_EQ(t->GetAddress(),
              "Phone number: Not set\t \tNot connected, click 'Connect now' button");
    std::vector<std::string> found;
    EXPECT_TRUE(t->Search(found, "*", 1));
    EXPECT_EQ(found, Lines{"Phone number:  Not set\t \tNot connected, click 'Connect now' button"});
    EXPECT_TRUE(modem.commands.empty());
}

TEST_F(ModemTransportTest, WithoutAModemTheControlPanelIsOffered) {
    DeletePrivateProfileSection("Line0", kTapiIni);
    prompter.Script({MsgAnswer::Yes});
    CModemInterface t;
    t.SetPageMode(true);
    EXPECT_TRUE(t.Initialize()); // no modem is no error until one is needed
    EXPECT_FALSE(t.Connect());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].caption, "Warning - No Devices Found");
    EXPECT_EQ(prompter.asked[0].text, "There are no telephony devices configured.\nWould you like "
                                      "to run the Modem Control Panel to add a modem driver?");

    WritePrivateProfileString("Tapi", "ControlPanel", std::string("/nonexistent/panel"), kTapiIni);
    prompter.Script({MsgAnswer::Yes});
    EXPECT_FALSE(t.Connect());
    EXPECT_EQ(prompter.asked.back().text, "Unable to launch the Modem Control Panel");
}

// What the user is told about each telephony error, and whether it is tried again.
TEST_F(ModemTransportTest, LineErrorsAreExplainedToTheUser) {
    const struct {
        std::int32_t code;
        MsgAnswer answer;
        const char* caption;
        const char* text;
        bool retry;
    } cases[] = {
        {0, MsgAnswer::Ok, nullptr, nullptr, true},
        {5, MsgAnswer::Ok, nullptr, nullptr, false},
        {tapi::LINEERR_INIFILECORRUPT, MsgAnswer::Cancel, "Warning",
         "Configuration information relating to Telephony services appears to be corrupt.\nThis "
         "could be the first time you have used the Telephony services.\nWould you like to "
         "configure the Telephony services?",
         false},
        {tapi::LINEERR_INVALLOCATION, MsgAnswer::Ok, "Warning", nullptr, true},
        {tapi::LINEERR_NODRIVER, MsgAnswer::Ok, "Warning",
         "One of the components of the Telephony device driver is missing.\nUse the Control Panel "
         "to set up the driver properly.",
         false},
        {tapi::LINEERR_NOMULTIPLEINSTANCE, MsgAnswer::Ok, "Warning",
         "You have two copies of the same Telephony driver installed.\nUse the Control Panel to "
         "remove one of the copies.",
         false},
        {tapi::LINEERR_NOMEM, MsgAnswer::Ok, "Error", "Out of Memory error, canceling action.",
         false},
        {tapi::LINEERR_OPERATIONFAILED, MsgAnswer::Ok, "Error",
         "TAPI Operation Failed for unknown reasons.", false},
        {tapi::LINEERR_RESOURCEUNAVAIL, MsgAnswer::Ok, "Warning",
         "A Telephony resource is temporarily unavaiable.  This could mean a short wait is "
         "necessary or that a non-TAPI application is using the line.",
         true},
        {tapi::LINEERR_BADDEVICEID, MsgAnswer::Ok, nullptr, nullptr, false},
    };
    ModemTelephony& t = ModemTelephony::Instance();
    ASSERT_TRUE(t.Initialize(nullptr));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        prompter.asked.clear();
        if (c.caption)
            prompter.Script({c.answer});
        EXPECT_EQ(t.HandleLineError(c.code), c.retry);
        if (!c.caption) {
            EXPECT_TRUE(prompter.asked.empty());
            continue;
        }
        ASSERT_EQ(prompter.asked.size(), 1u);
        EXPECT_EQ(prompter.asked[0].caption, c.caption);
        if (c.text) {
            EXPECT_EQ(prompter.asked[0].text, c.text);
        }
    }
}

// Messages of the telephony layer that a modem never sends here still reach the call
// as they always did.
TEST_F(ModemTransportTest, TheLineCallbackHandlesEveryMessage) {
    CModemInterface t;
    t.SetPageMode(true);
    ASSERT_TRUE(t.Connect());
    ModemTelephony& telephony = ModemTelephony::Instance();
    debug.lines.clear();
    ModemTelephony::LineCallback(99, tapi::LINE_CALLSTATE, 0, tapi::LINECALLSTATE_IDLE, 0, 0);
    ModemTelephony::LineCallback(0, tapi::LINE_LINEDEVSTATE, 0, tapi::LINEDEVSTATE_REINIT,
                                 tapi::LINE_CREATE, 4);
    ModemTelephony::LineCallback(0, tapi::LINE_LINEDEVSTATE, 0, tapi::LINEDEVSTATE_REINIT, 7, 0);
    ModemTelephony::LineCallback(0, tapi::LINE_LINEDEVSTATE, 0, tapi::LINEDEVSTATE_REMOVED, 0, 0);
    ModemTelephony::LineCallback(0, tapi::LINE_MONITORTONE, 0, 1, 0, 0);
    EXPECT_EQ(telephony.DeviceCount(), 5u);
    const Lines expected{
        "lineCallback: LINE_CALLSTATE; dwDevice: '0x63'; LINECALLSTATE_IDLE\r\n",
        "LINE_CALLSTATE: Unknown device ID '0x63'.\r\n",
        "lineCallback: LINE_LINEDEVSTATE; dwDevice: '0x0'; LINEDEVSTATE_REINIT; ReInit reason: "
        "LINE_CREATE, New Line Device ID '0x4'\r\n",
        "Soft REINIT: LINE_CREATE.\n",
        "lineCallback: LINE_LINEDEVSTATE; dwDevice: '0x0'; LINEDEVSTATE_REINIT; ReInit reason: "
        "LINE_GENERATE, dwParam3: 0x0\r\n",
        "Ignoring soft REINIT\n",
        "lineCallback: LINE_LINEDEVSTATE; dwDevice: '0x0'; LINEDEVSTATE_REMOVED\r\n",
        "A Line device has been removed; no action taken.\n",
        "lineCallback: LINE_MONITORTONE; dwDevice: '0x0'; AppSpecific tone '1'\r\n",
        "lineCallbackFunc message ignored\n",
    };
    EXPECT_EQ(debug.lines, expected);
    EXPECT_TRUE(telephony.CallConnected());

    // The line taken away ends the call with a warning.
    ModemTelephony::LineCallback(0, tapi::LINE_LINEDEVSTATE, 0, tapi::LINEDEVSTATE_OUTOFSERVICE, 0,
                                 0);
    EXPECT_EQ(prompter.Texts(), Lines{"Line selected is now Out of Service."});
    EXPECT_FALSE(telephony.CallInProgress());
}

// The rules of the Dial dialog's number, over the telephony of the fixture.
class DialSettingsTest : public ModemTransportTest {
protected:
    void SetUp() override {
        ModemTransportTest::SetUp();
        ASSERT_TRUE(ModemTelephony::Instance().Initialize(nullptr));
    }
    CDialSettingsModel Opened(const RememberedNumber& n, bool connectPath = false) {
        CDialSettingsModel m(n, connectPath);
        m.Open(nullptr);
        return m;
    }
};

TEST_F(DialSettingsTest, TheNumberIsCheckedAfterEveryChange) {
    RememberedNumber n = RememberedNumber::Read();
    n.phoneNumber = "  5550100 ";
    CDialSettingsModel m = Opened(n);
    EXPECT_EQ(m.PhoneNumber(), "5550100"); // trimmed
    ASSERT_EQ(m.Devices().size(), 1u);
    EXPECT_EQ(m.Devices()[0].name, "Scripted modem");
    EXPECT_EQ(m.Locations(), Lines{"Office"});
    EXPECT_EQ(m.CallingCard(), "None (Direct Dial)");
    EXPECT_EQ(m.Countries()[static_cast<std::size_t>(m.SelectedCountry())], "United Kingdom (44)");
    EXPECT_EQ(m.Canonical(), "+44 (20) 5550100");
    EXPECT_EQ(m.Dialable(), "T5550100");
    EXPECT_TRUE(m.OkEnabled());
    EXPECT_TRUE(m.ConfigureEnabled());

    m.SetAreaCode("161");
    EXPECT_EQ(m.Dialable(), "T01615550100");
    m.SetUseCountry(false);
    EXPECT_EQ(m.Canonical(), "5550100");
    EXPECT_EQ(m.Dialable(), "T5550100");

    m.SetPhoneNumber("");
    EXPECT_EQ(m.Dialable(), "No Phone Number");
    EXPECT_EQ(m.Canonical(), "");
    EXPECT_FALSE(m.OkEnabled());
    RememberedNumber out;
    EXPECT_FALSE(m.Accept(out));

    // A number that cannot be dialled says so; once mended, OK is back.
    m.SetPhoneNumber("555-CALL");
    EXPECT_EQ(m.Dialable(), "Invalid Phone Number or Area Code");
    EXPECT_FALSE(m.OkEnabled());
    EXPECT_EQ(prompter.Texts(), Lines{"Unable to translate phone number"});
    m.SetPhoneNumber("555-2255");
    EXPECT_TRUE(m.OkEnabled());
    ASSERT_TRUE(m.Accept(out));
    EXPECT_EQ(out.phoneNumber, "555-2255");
    EXPECT_EQ(out.dialable, "T5552255");
    EXPECT_EQ(out.useCountry, 0);
    EXPECT_EQ(out.device, 0);
}

TEST_F(DialSettingsTest, TheCanonicalNumberTakesTheCountryCodeInBrackets) {
    EXPECT_EQ(CDialSettingsModel::CanonicalNumber(true, "United Kingdom (44)", "20", "5550100"),
              "+44 (20) 5550100");
    EXPECT_EQ(CDialSettingsModel::CanonicalNumber(true, "Somewhere (x) (1)", "", "5550100"),
              "+1 5550100");
    EXPECT_EQ(CDialSettingsModel::CanonicalNumber(false, "United Kingdom (44)", "20", "5550100"),
              "5550100");
}

TEST_F(DialSettingsTest, WithoutAModemOkAndConfigureStayDisabled) {
    ModemTelephony::Instance().Shutdown();
    DeletePrivateProfileSection("Line0", kTapiIni);
    ASSERT_TRUE(ModemTelephony::Instance().Initialize(nullptr));
    CDialSettingsModel m = Opened(RememberedNumber::Read(), true);
    EXPECT_TRUE(m.Devices().empty());
    EXPECT_FALSE(m.OkEnabled());
    EXPECT_FALSE(m.ConfigureEnabled());
    EXPECT_STREQ(m.OkText(), "&Dial...");

    // Configure Line offers to add one; the list is filled again on the next activation.
    prompter.Script({MsgAnswer::No});
    m.ConfigureLine();
    EXPECT_EQ(prompter.asked.back().caption, "Warning - No Devices Found");
    modem.Configure(0);
    ModemTelephony::Instance().Shutdown();
    ASSERT_TRUE(ModemTelephony::Instance().Initialize(nullptr));
    m.Activate();
    EXPECT_EQ(m.Devices().size(), 1u);
    EXPECT_TRUE(m.OkEnabled());
}

TEST_F(DialSettingsTest, ALocationThatIsGoneIsShownAsInvalid) {
    WritePrivateProfileString("Locations", "Current", std::string("7"), kTapiIni);
    CDialSettingsModel m = Opened(RememberedNumber::Read());
    EXPECT_EQ(m.SelectedLocation(), -1);
    EXPECT_EQ(m.CallingCard(), "Invalid Location Selected");
    EXPECT_TRUE(Contains(debug.lines, "lpszCurrentLocation not found\n"));
    EXPECT_FALSE(m.OkEnabled()); // nothing to translate from
    m.SelectLocation(0);
    EXPECT_EQ(m.SelectedLocation(), 0);
    EXPECT_TRUE(m.OkEnabled());
}

// The data link's rules, on a pseudo-terminal of the test's own.
class ModemPortTest : public ::tvane::test::TempHomeTest {
protected:
    int master = -1, slave = -1;
    FakeClock clock;
    ScopedService<IClock> clockGuard{SetClock, &clock};
    DebugLines debug;
    std::shared_ptr<ModemAnswerBlock> block = ModemAnswerBlock::Create();

    // Moves the clock on at every pump, so the post retries do not wait for real.
    class Ticker final : public IMessagePump {
    public:
        explicit Ticker(FakeClock& c) : m_clock(c) {}
        void Pump() override { m_clock.Advance(250); }

    private:
        FakeClock& m_clock;
    } ticker{clock};
    ScopedService<IMessagePump> pumpGuard{SetMessagePump, &ticker};

    void SetUp() override {
        ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
    }
    void TearDown() override {
        ModemPort::StopComm();
        if (master >= 0)
            ::close(master);
    }
    void Say(const std::string& bytes) {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::string Answer() {
        if (!block->Wait(std::chrono::seconds(5)) || !block->Ready())
            return "(none)";
        std::string text = block->Text();
        block->Clear();
        return text;
    }
};

TEST_F(ModemPortTest, AnswersArePublishedWholeAndACutOneMarksTheLineDropped) {
    EXPECT_FALSE(ModemPort::PostWrite("x")); // no link
    ModemPort::StopComm();                   // no link: nothing happens
    ASSERT_TRUE(ModemPort::StartComm(slave));
    EXPECT_FALSE(ModemPort::StartComm(slave));
    EXPECT_TRUE(Contains(debug.lines, "Already have a comm file open\n"));

    Say("+1.5E+00\r\n");
    EXPECT_EQ(Answer(), "+1.5E+00");
    Say("ORVANTA,QT7100\n");
    EXPECT_EQ(Answer(), "ORVANTA,QT7100\n"); // without a CR every byte stays
    Say("+1.2");
    Say("34\r\n");
    EXPECT_EQ(Answer(), "+1.234");

    ASSERT_TRUE(ModemPort::PostWrite("MEAS?\r\n"));
    char sent[16] = {};
    ASSERT_EQ(::read(master, sent, 7), 7);
    EXPECT_STREQ(sent, "MEAS?\r\n");

    Say("+1.23,+4\r\nNO CARRIER\r\n");
    ASSERT_TRUE(block->Wait(std::chrono::seconds(5)));
    EXPECT_TRUE(block->Dropped());
    EXPECT_FALSE(block->Ready());
    ModemPort::StopComm();
    EXPECT_FALSE(ModemPort::IsRunning());
    EXPECT_TRUE(Contains(debug.lines, "Read thread shutting down\n"));
    EXPECT_TRUE(Contains(debug.lines, "Write thread shutting down\n"));
}

TEST_F(ModemPortTest, OnlyATerminalStartsALinkAndAGoneWriterRefusesPosts) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    EXPECT_FALSE(ModemPort::StartComm(pipeEnds[0]));
    EXPECT_TRUE(Contains(debug.lines, "File handle is not a comm handle.\n"));
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);

    ASSERT_TRUE(ModemPort::StartComm(slave));
    ::close(master); // the line is gone: the port hangs up, writes fail
    master = -1;
    ASSERT_TRUE(block->Wait(std::chrono::seconds(5)));
    EXPECT_TRUE(block->Dropped());
    // The writer ends on its first failed write; posts then fail after three tries.
    for (int i = 0; i < 1000000 && ModemPort::PostWrite("x"); ++i)
        std::this_thread::yield();
    const std::uint32_t before = clock.TickCount();
    EXPECT_FALSE(ModemPort::PostWrite("x"));
    EXPECT_GE(clock.TickCount() - before, 2000u);
}

} // namespace
} // namespace tvane::comm
