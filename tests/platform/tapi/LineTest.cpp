#include "platform/tapi/Line.h"

#include <unistd.h>

#include <functional>

#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/tapi/ITelephonyDialogs.h"
#include "platform/tapi/LineConfiguration.h"
#include "platform/tapi/ScriptedModem.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tvane::tapi {
namespace {

struct Event {
    std::uint32_t device, message;
    std::uintptr_t p1, p2, p3;
    bool operator==(const Event&) const = default;
};
std::vector<Event> g_events;

void Callback(std::uint32_t device, std::uint32_t message, std::uintptr_t, std::uintptr_t p1,
              std::uintptr_t p2, std::uintptr_t p3) {
    g_events.push_back({device, message, p1, p2, p3});
}

// One scripted modem as line device 0, opened; the fake clock moves 100 ms per pump.
class LineTest : public test::TempHomeTest {
protected:
    ScriptedModem modem;
    FakeClock clock;
    ScopedService<IClock> clockGuard{SetClock, &clock};
    HLINEAPP app = 0;
    HLINE line = 0;
    HCALL call = 0;

    void SetUp() override {
        g_events.clear();
        modem.AdvanceClockOnPump(&clock, 100);
        modem.Configure(0);
        std::uint32_t devices = 0;
        ASSERT_EQ(lineInitialize(&app, nullptr, Callback, "TapiComm", &devices), 0);
        ASSERT_EQ(devices, 1u);
        ASSERT_EQ(lineOpen(app, 0, &line, kApiVersion14, 7, LINECALLPRIVILEGE_NONE,
                           LINEMEDIAMODE_DATAMODEM),
                  0);
    }
    void TearDown() override {
        if (app)
            lineShutdown(app);
    }

    // Pumps the modem and the layer until done() holds; false after too many pumps.
    bool PumpUntil(const std::function<bool()>& done, int limit = 400) {
        for (int i = 0; i < limit; ++i) {
            if (done())
                return true;
            modem.Pump();
            linePumpMessages();
        }
        return done();
    }
    bool Has(std::uint32_t message, std::uintptr_t p1) const {
        for (const Event& e : g_events)
            if (e.message == message && e.p1 == p1)
                return true;
        return false;
    }
    std::uint32_t CallState() const {
        LineCallStatus s;
        return lineGetCallStatus(call, &s) == 0 ? s.callState : 0;
    }
    std::int32_t Call(const char* number) {
        const std::int32_t request = lineMakeCall(line, &call, number, 0, nullptr);
        EXPECT_GT(request, 0);
        return request;
    }
};

TEST_F(LineTest, ACallConnectsHandsOverThePortAndHangsUp) {
    LineDevCaps caps;
    ASSERT_EQ(lineGetDevCaps(app, 0, kApiVersion14, &caps), 0);
    EXPECT_EQ(caps.lineName, "Scripted modem");
    EXPECT_EQ(caps.mediaModes, LINEMEDIAMODE_DATAMODEM);
    LineAddressStatus status;
    ASSERT_EQ(lineGetAddressStatus(line, 0, &status), 0);
    EXPECT_EQ(status.addressFeatures, LINEADDRFEATURE_MAKECALL);
    HLINE second = 0;
    EXPECT_EQ(lineOpen(app, 0, &second, kApiVersion14, 0, 1, LINEMEDIAMODE_DATAMODEM),
              LINEERR_ALLOCATED);

    const std::int32_t request = Call("T5550100");
    ASSERT_TRUE(PumpUntil([&] { return CallState() == LINECALLSTATE_CONNECTED; }));
    EXPECT_EQ(modem.commands, (std::vector<std::string>{"ATE0V1", "ATDT5550100"}));
    EXPECT_TRUE(Has(LINE_REPLY, static_cast<std::uintptr_t>(request)));
    EXPECT_TRUE(Has(LINE_CALLSTATE, LINECALLSTATE_DIALING));
    EXPECT_TRUE(Has(LINE_CALLSTATE, LINECALLSTATE_PROCEEDING));
    ASSERT_EQ(lineGetAddressStatus(line, 0, &status), 0);
    EXPECT_EQ(status.addressFeatures, 0u); // busy with the call

    // The port is the caller's now: it talks to the instrument through it.
    LineDeviceId id;
    ASSERT_EQ(lineGetID(line, 0, call, LINECALLSELECT_CALL, kDataModemClass, &id), 0);
    EXPECT_EQ(id.deviceName, modem.PortPath());
    modem.On("*IDN?", "ORVANTA,QT7100,0,1.2");
    ASSERT_EQ(::write(id.handle, "*IDN?\r\n", 7), 7);
    modem.Pump();
    EXPECT_EQ(modem.received, std::vector<std::string>{"*IDN?"});
    ::close(id.handle);

    g_events.clear();
    const std::int32_t drop = lineDrop(call);
    ASSERT_GT(drop, 0);
    ASSERT_TRUE(PumpUntil([&] { return CallState() == LINECALLSTATE_IDLE; }));
    EXPECT_EQ(modem.escapes, 1);
    EXPECT_EQ(modem.commands.back(), "ATH0");
    EXPECT_EQ(g_events.front(), (Event{0, LINE_REPLY, static_cast<std::uintptr_t>(drop), 0, 0}));
    EXPECT_EQ(lineDeallocateCall(call), 0);
    EXPECT_EQ(lineClose(line), 0);
}

// What the modem says when the call does not come up, and the call state it gives.
TEST_F(LineTest, FailedCallsReportTheirCause) {
    const struct {
        ScriptedModem::Outcome outcome;
        std::uint32_t state, mode;
    } cases[] = {
        {ScriptedModem::Outcome::Busy, LINECALLSTATE_BUSY, LINEBUSYMODE_STATION},
        {ScriptedModem::Outcome::NoDialTone, LINECALLSTATE_DISCONNECTED,
         LINEDISCONNECTMODE_NODIALTONE},
        {ScriptedModem::Outcome::NoCarrier, LINECALLSTATE_DISCONNECTED,
         LINEDISCONNECTMODE_NOANSWER},
        {ScriptedModem::Outcome::NoAnswer, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NOANSWER},
        {ScriptedModem::Outcome::Error, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_BADADDRESS},
        {ScriptedModem::Outcome::Silent, LINECALLSTATE_DISCONNECTED,
         LINEDISCONNECTMODE_UNKNOWN}, // after WaitForCarrier
    };
    for (const auto& c : cases) {
        modem.outcome = c.outcome;
        g_events.clear();
        Call("5550100");
        ASSERT_TRUE(PumpUntil(
            [&] {
                return CallState() == LINECALLSTATE_BUSY ||
                       CallState() == LINECALLSTATE_DISCONNECTED;
            },
            1000));
        LineCallStatus s;
        ASSERT_EQ(lineGetCallStatus(call, &s), 0);
        EXPECT_EQ(s.callState, c.state);
        EXPECT_EQ(s.callStateMode, c.mode);
        EXPECT_GT(lineDrop(call), 0);
        ASSERT_TRUE(PumpUntil([&] { return CallState() == LINECALLSTATE_IDLE; }));
        EXPECT_EQ(lineDeallocateCall(call), 0);
    }
}

TEST_F(LineTest, PartsEndedBySemicolonsAreDialledOneAtATime) {
    LineAddressCaps caps;
    ASSERT_EQ(lineGetAddressCaps(app, 0, 0, kApiVersion14, &caps), 0);
    EXPECT_TRUE(caps.addrCapFlags & LINEADDRCAPFLAGS_PARTIALDIAL);
    const std::int32_t first = Call("T9;");
    ASSERT_TRUE(PumpUntil([&] { return Has(LINE_REPLY, static_cast<std::uintptr_t>(first)); }));
    EXPECT_EQ(CallState(), LINECALLSTATE_DIALING);
    EXPECT_EQ(lineDial(call, "5550100", 0) > 0, true);
    ASSERT_TRUE(PumpUntil([&] { return CallState() == LINECALLSTATE_CONNECTED; }));
    EXPECT_EQ(modem.dialed, (std::vector<std::string>{"T9;", "5550100"}));
    EXPECT_EQ(lineDial(call, "1", 0), LINEERR_INVALCALLSTATE);
}

TEST_F(LineTest, ADropWhileDiallingStopsTheModem) {
    modem.dialPumps = 50;
    Call("5550100");
    ASSERT_TRUE(PumpUntil([&] { return CallState() == LINECALLSTATE_PROCEEDING; }));
    ASSERT_GT(lineDrop(call), 0);
    ASSERT_TRUE(PumpUntil([&] { return CallState() == LINECALLSTATE_IDLE; }, 40));
    EXPECT_EQ(modem.commands.back(), "ATH0");
    EXPECT_FALSE(modem.InDataMode());
}

TEST_F(LineTest, AModemThatSaysNothingFailsTheCall) {
    modem.silent = true;
    const std::int32_t request = Call("5550100");
    ASSERT_TRUE(PumpUntil([&] { return CallState() == LINECALLSTATE_IDLE; }));
    EXPECT_TRUE(std::find(g_events.begin(), g_events.end(),
                          Event{0, LINE_REPLY, static_cast<std::uintptr_t>(request),
                                static_cast<std::uint32_t>(LINEERR_OPERATIONFAILED), 0}) !=
                g_events.end());
}

TEST_F(LineTest, ARingIsReportedAsALineState) {
    modem.outcome = ScriptedModem::Outcome::Silent;
    Call("5550100");
    ASSERT_TRUE(PumpUntil([&] { return CallState() == LINECALLSTATE_PROCEEDING; }));
    modem.Ring();
    ASSERT_TRUE(PumpUntil([&] { return Has(LINE_LINEDEVSTATE, LINEDEVSTATE_RINGING); }));
}

// The settings of the modem go out as a block and come back through the dialog.
class SettingsDialog final : public ITelephonyDialogs {
public:
    bool EditLocation(LineLocationEntry& location, const std::vector<LineCountryEntry>&,
                      void*) override {
        location.name = "Office";
        location.countryCode = 44;
        location.cityCode = "20";
        return true;
    }
    bool EditModemSettings(const std::string& name, ModemSettings& s, void*) override {
        edited = name;
        s.init = "ATE0V1X4";
        return true;
    }
    std::string edited;
};

TEST_F(LineTest, ConfigurationAndLocationsGoThroughTheDialogs) {
    std::string block;
    ASSERT_EQ(lineGetDevConfig(0, kDataModemClass, &block), 0);
    std::string edited;
    EXPECT_EQ(lineConfigDialogEdit(0, nullptr, kDataModemClass, block, &edited),
              LINEERR_OPERATIONUNAVAIL);
    SettingsDialog dialogs;
    SetTelephonyDialogs(&dialogs);
    ASSERT_EQ(lineConfigDialogEdit(0, nullptr, kDataModemClass, block, &edited), 0);
    EXPECT_EQ(dialogs.edited, "Scripted modem");
    ASSERT_EQ(lineSetDevConfig(0, edited, kDataModemClass), 0);
    Call("5550100");
    ASSERT_TRUE(PumpUntil([&] { return !modem.commands.empty(); }));
    EXPECT_EQ(modem.commands.front(), "ATE0V1X4");
    EXPECT_EQ(GetPrivateProfileString("Line0", "Init", "", LineConfiguration::kFile), "ATE0V1X4");
    EXPECT_EQ(lineSetDevConfig(0, "nonsense", kDataModemClass), LINEERR_INVALPARAM);

    // No location yet: the built-in one; the dialog makes the first real one current.
    LineTranslateCaps caps;
    ASSERT_EQ(lineGetTranslateCaps(app, kApiVersion14, &caps), 0);
    ASSERT_EQ(caps.locations.size(), 1u);
    EXPECT_EQ(caps.locations[0].name, "Default Location");
    EXPECT_EQ(caps.locations[0].countryCode, 1u);
    ASSERT_EQ(lineTranslateDialog(app, 0, kApiVersion14, nullptr, "+44 (20) 5550100"), 0);
    SetTelephonyDialogs(nullptr);
    ASSERT_EQ(lineGetTranslateCaps(app, kApiVersion14, &caps), 0);
    ASSERT_EQ(caps.locations.size(), 1u);
    EXPECT_EQ(caps.currentLocationId, 1u);
    LineTranslateOutput out;
    ASSERT_EQ(lineTranslateAddress(app, 0, kApiVersion14, "+44 (20) 5550100", 0, 0, &out), 0);
    EXPECT_EQ(out.dialableString, "T5550100");
    EXPECT_EQ(lineSetCurrentLocation(app, 5), LINEERR_INVALLOCATION);
    EXPECT_EQ(lineTranslateAddress(app, 3, kApiVersion14, "1", 0, 0, &out), LINEERR_BADDEVICEID);
}

TEST(LineLayer, VersionsAndDevicesAreChecked) {
    test::TempHome home;
    HLINEAPP app = 0;
    std::uint32_t devices = 9;
    ASSERT_EQ(lineInitialize(&app, nullptr, Callback, "TapiComm", &devices), 0);
    EXPECT_EQ(devices, 0u); // no modem configured is no error
    std::uint32_t version = 0;
    EXPECT_EQ(lineNegotiateAPIVersion(app, 0, kApiVersion14, kApiVersion14, &version),
              LINEERR_BADDEVICEID);
    ScriptedModem modem;
    modem.Configure(0);
    ASSERT_EQ(lineInitialize(&app, nullptr, Callback, "TapiComm", &devices), 0);
    EXPECT_EQ(lineNegotiateAPIVersion(app, 0, kApiVersion13, 0x20000, &version), 0);
    EXPECT_EQ(version, kApiVersion14);
    EXPECT_EQ(lineNegotiateAPIVersion(app, 0, 0x20000, 0x20001, &version),
              LINEERR_INCOMPATIBLEAPIVERSION);
    EXPECT_EQ(lineNegotiateAPIVersion(app + 1, 0, kApiVersion14, kApiVersion14, &version),
              LINEERR_INVALAPPHANDLE);
    EXPECT_EQ(lineShutdown(app), 0);
    EXPECT_EQ(lineShutdown(app), LINEERR_INVALAPPHANDLE);
}

// A wait for the carrier that is no time, or no number, would let a dial wait for ever.
TEST(LineLayer, AWaitForCarrierThatIsNoTimeTakesTheDefault) {
    test::TempHome home;
    ScriptedModem modem;
    modem.Configure(0);
    for (const char* wait : {"0", "-1", "soon", "", "90"}) {
        SCOPED_TRACE(wait);
        WritePrivateProfileString("Line0", "WaitForCarrier", std::string(wait),
                                  LineConfiguration::kFile);
        const std::vector<ModemDevice> devices = LineConfiguration::ReadDevices();
        ASSERT_EQ(devices.size(), 1u);
        EXPECT_EQ(devices[0].settings.waitForCarrier, std::string(wait) == "90" ? 90 : 60);
    }
}

TEST(LineLayer, TheControlPanelIsTheConfiguredProgram) {
    test::TempHome home;
    WritePrivateProfileString("Tapi", "ControlPanel", std::string("true"),
                              LineConfiguration::kFile);
    EXPECT_TRUE(lineStartControlPanel());
    WritePrivateProfileString("Tapi", "ControlPanel", std::string("/nonexistent/modem-panel"),
                              LineConfiguration::kFile);
    EXPECT_FALSE(lineStartControlPanel());
    const std::vector<std::string> command = LineConfiguration::ControlPanelCommand();
    EXPECT_EQ(command.back(), (home.Config() / "tapi.ini").string());
}

} // namespace
} // namespace tvane::tapi
