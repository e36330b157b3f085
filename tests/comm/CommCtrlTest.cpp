#include "comm/CCommCtrl.h"
#include "comm/ICommSetupSheet.h"
#include "comm/LastInterface.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "platform/registry/Registry.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tvane::comm {
namespace {

using Script = ScriptedTransport::Script;
using Step = ScriptedTransport::Step;
using Lines = std::vector<std::string>;

// A control whose Wenx interface (types 1 and 4) is a scripted instrument.
class CommCtrlTest : public ::tvane::test::TempHomeTest {
protected:
    std::shared_ptr<Script> script = std::make_shared<Script>();
    ScopedTransportCreator wenx{
        4, [this](int32_t type) { return std::make_unique<ScriptedTransport>(script, type); }};

    void SetUp() override { script->On("*IDN?", "ORVANTA,QT7100,0,1.2"); }
};

TEST_F(CommCtrlTest, InterfaceTypeComesFromTheLastInterfaceValue) {
    EXPECT_EQ(CCommCtrl().InterfaceType(), 0); // key absent
    EXPECT_EQ(CCommCtrl().InterfaceName(), "SIMULATED");
    RegCreateKeyPath(RegHive::CurrentUser, kLinkwellKey);
    EXPECT_EQ(CCommCtrl().InterfaceType(), -1); // value absent
    EXPECT_EQ(CCommCtrl().InterfaceName(), "UNKNOWN");
    RegSetDword(RegHive::CurrentUser, kLinkwellKey, "LastInterface", 5);
    CCommCtrl ctrl;
    EXPECT_EQ(ctrl.InterfaceName(), "WENXLAN");
    ctrl.SetInterfaceType(4);
    EXPECT_EQ(ctrl.InterfaceName(), "WENX");
    ctrl.SetInterfaceType(1);
    EXPECT_EQ(ctrl.InterfaceName(), "UNKNOWN");
    EXPECT_EQ(ctrl.ControllerName(), "None");
    EXPECT_EQ(ctrl.Address(), -1);
    EXPECT_EQ(ctrl.InstID(), "None");
}

TEST_F(CommCtrlTest, OpenWithNoArgumentsUsesTheCurrentProperties) {
    CCommCtrl ctrl; // SIMULATED, "None", -1
    ASSERT_TRUE(ctrl.OpenInterface("", "", -1));
    EXPECT_EQ(ctrl.AddressText(), "None,-1");
    EXPECT_EQ(ctrl.IdentityLine(), "Simulated\tNone,-1\tSimulated");
    EXPECT_EQ(ctrl.InterfaceType(), 0);
    EXPECT_TRUE(ctrl.IsValidInterface());

    // The simulated answer is an empty text, never stale bytes.
    char buffer[8];
    std::memset(buffer, 'z', sizeof buffer);
    int32_t count = 0;
    EXPECT_TRUE(ctrl.RecvRawMsg(buffer, sizeof buffer, count));
    EXPECT_EQ(count, 1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(ctrl.RecvMsg(), std::string());
}

TEST_F(CommCtrlTest, OpenSendAndReceiveThroughTheTransport) {
    script->On("MEAS:VOLT? (@101)", "+1.23450000E+00");
    script->On("SYST:ERR?", {Step::Answer("+0,\"No error\"")});
    {
        CCommCtrl ctrl;
        ASSERT_TRUE(ctrl.OpenInterface("WENX", "GPIB0,9", 1));
        EXPECT_EQ(ctrl.ControllerName(), "GPIB0");
        EXPECT_EQ(ctrl.Address(), 9);
        EXPECT_EQ(ctrl.InterfaceType(), 4);
        EXPECT_EQ(ctrl.IdentityLine(), "OrvantaQT7100\tGPIB0,9\tORVANTA,QT7100,0,1.2");

        EXPECT_TRUE(ctrl.SendMsg("MEAS:VOLT? (@101)"));
        char buffer[100];
        int32_t count = 0;
        EXPECT_TRUE(ctrl.RecvRawMsg(buffer, sizeof buffer, count));
        EXPECT_STREQ(buffer, "+1.23450000E+00");
        EXPECT_EQ(count, 16); // the line feed, now the terminator, is counted

        EXPECT_EQ(ctrl.SendQuery("*RST"), std::nullopt); // no '?': nothing read
        EXPECT_EQ(ctrl.SendQuery("SYST:ERR?"), "+0,\"No error\"");
        EXPECT_EQ(ctrl.IsMsgAvailable(), 0);
        EXPECT_EQ(ctrl.ClearInstrument(), 1);
    }
    EXPECT_EQ(
        script->transcript,
        (Lines{"[open GPIB0,9]", "> *IDN?", "< ORVANTA,QT7100,0,1.2", "[exclusive 1]", "[remote]",
               "> MEAS:VOLT? (@101)", "< +1.23450000E+00", "> *RST", "> SYST:ERR?",
               "< +0,\"No error\"", "[clear]", "[local]", "[release 0]", "[deleted]"}));
}

TEST_F(CommCtrlTest, ReceiveAlwaysLeavesATerminatedBufferWithinItsSize) {
    script->On("READ?", {Step::Raw("#15ABCDEFGHIJ\n")});
    CCommCtrl ctrl;
    ASSERT_TRUE(ctrl.OpenInterface("WENX", "GPIB0,9", 0));
    ASSERT_TRUE(ctrl.SendMsg("READ?"));
    char buffer[10];
    std::memset(buffer, 'z', sizeof buffer);
    int32_t count = 0;
    EXPECT_TRUE(ctrl.RecvRawMsg(buffer, 8, count));
    EXPECT_EQ(count, 8);
    EXPECT_STREQ(buffer, "#15ABCD");
    EXPECT_EQ(buffer[8], 'z');
    EXPECT_TRUE(ctrl.RecvRawMsg(buffer, 8, count)); // the rest stayed in the device
    EXPECT_STREQ(buffer, "FGHIJ");
    EXPECT_EQ(count, 6);
}

TEST_F(CommCtrlTest, FailuresAreReportedWithTheirCodesAndTexts) {
    CCommCtrl ctrl;
    char buffer[16];
    std::memset(buffer, 'z', sizeof buffer);
    int32_t count = 77;
    EXPECT_FALSE(ctrl.RecvRawMsg(buffer, sizeof buffer, count));
    EXPECT_EQ(count, 77);
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(ctrl.SendMsg("*RST"));
    EXPECT_EQ(ctrl.RecvMsg(), std::nullopt);
    int32_t ms = 5;
    EXPECT_FALSE(ctrl.GetCommTimeout(ms));
    EXPECT_EQ(ms, 5);

    std::string text;
    int32_t code = 0;
    EXPECT_TRUE(ctrl.GetCommError(text, code));
    EXPECT_EQ(code, 1007);
    EXPECT_EQ(text, "No connection established with device");
    text = "kept";
    code = 3;
    EXPECT_FALSE(ctrl.GetCommError(text, code));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(code, 3);

    // Close without a transport succeeds and leaves the missing-link error.
    EXPECT_TRUE(ctrl.Close());
    EXPECT_TRUE(ctrl.GetCommError(text, code));
    EXPECT_EQ(code, 1007);

    // A silent instrument: the read times out with the transport's error, which
    // GetCommError hands out once.
    ASSERT_TRUE(ctrl.OpenInterface("WENX", "GPIB0,9", 0));
    script->sendFailures["BAD"] = {-12, "Write failed"};
    EXPECT_FALSE(ctrl.SendMsg("BAD"));
    EXPECT_TRUE(ctrl.GetCommError(text, code));
    EXPECT_EQ(code, -12);
    EXPECT_EQ(text, "Write failed");
    EXPECT_TRUE(ctrl.SendMsg("FETC?"));
    EXPECT_FALSE(ctrl.RecvRawMsg(buffer, sizeof buffer, count));
    EXPECT_EQ(count, 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_TRUE(ctrl.GetCommError(text, code));
    EXPECT_EQ(code, 1052);
    EXPECT_EQ(text, "Unable to receive data over the RS-232 port - ensure device is on-line.");
    EXPECT_TRUE(ctrl.GetCommError(text, code)); // a transport always answers
    EXPECT_EQ(code, 0);
    EXPECT_EQ(text, "No Error");
    script->pending.push_back(Step::Failed(1050, "Parity error detected in data stream"));
    EXPECT_EQ(ctrl.RecvMsg(), std::nullopt);
}

TEST_F(CommCtrlTest, AnUnansweredOpenFailsAndKeepsItsTransport) {
    script->rules.clear();
    CCommCtrl ctrl;
    EXPECT_FALSE(ctrl.OpenInterface("WENX", "GPIB0,9", 0));
    ASSERT_NE(ctrl.Transport(), nullptr);
    CCommInterface* first = ctrl.Transport();
    // A second name reuses the transport but takes the new name and type.
    EXPECT_FALSE(ctrl.OpenInterface("gpib", "GPIB0,3", 0));
    EXPECT_EQ(ctrl.Transport(), first);
    EXPECT_EQ(ctrl.InterfaceType(), 2);
    EXPECT_EQ(ctrl.InterfaceName(), "gpib");
    EXPECT_TRUE(ctrl.Close());
    EXPECT_EQ(ctrl.Transport(), nullptr);
    EXPECT_EQ(script->transcript.back(), "[deleted]");
    EXPECT_EQ(script->transcript[script->transcript.size() - 3], "[close]");
}

TEST_F(CommCtrlTest, DispatchOpenCutsItsTextsTo30Characters) {
    CCommCtrl ctrl;
    const std::string name = "SIMULATED" + std::string(31, 'x');
    EXPECT_TRUE(ctrl.Open(name, std::nullopt, std::nullopt));
    EXPECT_EQ(ctrl.InterfaceName(), name.substr(0, 30));
    EXPECT_EQ(ctrl.InterfaceType(), 0);
    EXPECT_EQ(ctrl.AddressText(), "None,-1");
}

TEST_F(CommCtrlTest, OpenAnyTriesEachListeningAddressAgainstThePattern) {
    script->controllers = {"GPIB0"};
    script->listenerMasks["GPIB0"] = (1u << 5) | (1u << 9);
    script->present = {"GPIB0,5", "GPIB0,9"};
    CCommCtrl ctrl;
    ASSERT_TRUE(ctrl.OpenInterface("Any", "9*", 1));
    EXPECT_EQ(ctrl.InterfaceType(), 4);
    EXPECT_EQ(ctrl.InterfaceName(), "WENX");
    EXPECT_EQ(ctrl.ControllerName(), "GPIB0");
    EXPECT_EQ(ctrl.Address(), 9);
    EXPECT_EQ(script->transcript, (Lines{"[open GPIB0,5]", "> *IDN?", "< ORVANTA,QT7100,0,1.2",
                                         "> *IDN?", "< ORVANTA,QT7100,0,1.2", "[open GPIB0,9]",
                                         "> *IDN?", "< ORVANTA,QT7100,0,1.2", "> *IDN?",
                                         "< ORVANTA,QT7100,0,1.2", "[exclusive 1]", "[remote]"}));
}

TEST_F(CommCtrlTest, OpenAnyFallsBackToTheSerialSearch) {
    auto serial = std::make_shared<Script>();
    serial->searchLines = {"KX7100\tCOM1,0\tKX,7100"};
    ScopedTransportCreator rs232(
        3, [serial](int32_t type) { return std::make_unique<ScriptedTransport>(serial, type); });
    CCommCtrl ctrl;
    EXPECT_FALSE(ctrl.OpenInterface("any", "7200", 0));
    ASSERT_TRUE(ctrl.OpenInterface("ANY", "7100", 0));
    EXPECT_EQ(ctrl.InterfaceType(), 3);
    EXPECT_EQ(ctrl.InterfaceName(), "RS232");
    EXPECT_EQ(ctrl.ControllerName(), "COM1,0");
    EXPECT_EQ(ctrl.Address(), 0);
    // Every attempt released and deleted the transport before it.
    EXPECT_EQ(std::count(script->transcript.begin(), script->transcript.end(), "[release 0]"), 2);
}

class FakeSheet : public ICommSetupSheet {
public:
    Result Run(const Request& request) override {
        requests.push_back(request);
        Result r;
        if (!answer)
            return r;
        r.selected = true;
        r.transport = std::move(transport);
        r.type = 4;
        r.line = "OrvantaQT7100\tGPIB1,7\tORVANTA,QT7100,0,1.2";
        r.model = "OrvantaQT7100";
        r.address = "GPIB1,7";
        return r;
    }
    bool ShowProperties(CCommCtrl&) override { return true; }

    bool answer = false;
    std::unique_ptr<CCommInterface> transport;
    std::vector<Request> requests;
};

TEST_F(CommCtrlTest, SearchAdoptsTheSheetsSelection) {
    CCommCtrl ctrl;
    EXPECT_EQ(ctrl.Search(-1, "*", 0), std::nullopt); // no sheet in this build
    EXPECT_EQ(ctrl.ErrorCode(), 1060);
    EXPECT_FALSE(ctrl.ShowProperties());

    FakeSheet sheet;
    SetCommSetupSheet(&sheet);
    UpdatePrivateRegistry(true);
    RegSetDword(RegHive::CurrentUser, kLinkwellKey, "LastInterface", 6);
    ASSERT_TRUE(ctrl.OpenInterface("WENX", "GPIB0,9", 0));
    CCommInterface* old = ctrl.Transport();

    // Cancelled: nothing changes.
    EXPECT_EQ(ctrl.Search(-1, "*", 0), std::nullopt);
    ASSERT_EQ(sheet.requests.size(), 1u);
    EXPECT_EQ(sheet.requests[0].type, 6);
    EXPECT_EQ(sheet.requests[0].current, old);
    EXPECT_EQ(sheet.requests[0].status, ctrl.IdentityLine());
    EXPECT_EQ(ctrl.Transport(), old);
    EXPECT_EQ(ReadLastInterface(), 6);

    auto other = std::make_shared<Script>();
    sheet.answer = true;
    sheet.transport = std::make_unique<ScriptedTransport>(other, 4);
    sheet.transport->SetPageMode(true);
    CCommInterface* adopted = sheet.transport.get();
    const auto selection = ctrl.Search(ctrl.InterfaceType(), "7100", 1);
    ASSERT_TRUE(selection);
    EXPECT_EQ(selection->type, 4);
    EXPECT_EQ(selection->address, "GPIB1,7");
    EXPECT_EQ(selection->instId, "OrvantaQT7100");
    EXPECT_EQ(selection->interfaceName, "WENX");
    EXPECT_EQ(ctrl.Transport(), adopted);
    EXPECT_FALSE(adopted->PageMode());
    EXPECT_EQ(ctrl.ControllerName(), "GPIB1");
    EXPECT_EQ(ctrl.Address(), 7);
    EXPECT_EQ(ctrl.InstID(), "OrvantaQT7100");
    EXPECT_EQ(ReadLastInterface(), 4);
    EXPECT_EQ(script->transcript.back(), "[deleted]"); // the old transport
    SetCommSetupSheet(nullptr);
}

TEST_F(CommCtrlTest, TimeoutsReachTheOpenTransport) {
    CCommCtrl ctrl;
    EXPECT_FALSE(ctrl.PutCommTimeout(100));
    ASSERT_TRUE(ctrl.OpenInterface("WENX", "GPIB0,9", 0));
    EXPECT_TRUE(ctrl.PutCommTimeout(1234));
    EXPECT_TRUE(ctrl.PutLanTimeout(222));
    EXPECT_TRUE(ctrl.PutPollTimeout(33));
    int32_t comm = 0, lan = 0, poll = 0;
    EXPECT_TRUE(ctrl.GetCommTimeout(comm) && ctrl.GetLanTimeout(lan) && ctrl.GetPollTimeout(poll));
    EXPECT_EQ(comm, 1234);
    EXPECT_EQ(lan, 222);
    EXPECT_EQ(poll, 33);
}

TEST_F(CommCtrlTest, PrivateRegistryKeepsAnExistingLastInterface) {
    EXPECT_EQ(ReadLastInterface(), 0);
    EXPECT_TRUE(WriteLastInterface(3)); // no key: nothing written
    EXPECT_FALSE(RegKeyExists(RegHive::CurrentUser, kLinkwellKey));
    EXPECT_TRUE(UpdatePrivateRegistry(true));
    EXPECT_EQ(RegGetDword(RegHive::CurrentUser, kLinkwellKey, "LastInterface"), 0u);
    EXPECT_TRUE(WriteLastInterface(3));
    EXPECT_TRUE(UpdatePrivateRegistry(true));
    EXPECT_EQ(ReadLastInterface(), 3);
    EXPECT_TRUE(UpdatePrivateRegistry(false));
    EXPECT_FALSE(RegKeyExists(RegHive::CurrentUser, kLinkwellKey));
    EXPECT_EQ(CCommCtrl().InterfaceType(), 0);
}

} // namespace
} // namespace tvane::comm

namespace tvane::comm {
namespace {

TEST_F(CommCtrlTest, StoredPropertiesKeepTheTypeNumberUnderInterfaceName) {
    CCommCtrl ctrl;
    PropertyBag empty(true);
    ctrl.ExchangeProperties(empty);
    EXPECT_EQ(ctrl.InterfaceType(), 1);
    EXPECT_EQ(ctrl.InterfaceName(), "UNKNOWN");
    EXPECT_EQ(ctrl.ControllerName(), "None");
    EXPECT_EQ(ctrl.Address(), -1);

    ctrl.SetInterfaceType(5);
    ctrl.SetControllerName("lan");
    ctrl.SetAddress(9);
    PropertyBag bag(false);
    ctrl.ExchangeProperties(bag);
    EXPECT_EQ(bag.values["InterfaceName"], "5");
    CCommCtrl loaded;
    bag.SetLoading(true);
    loaded.ExchangeProperties(bag);
    EXPECT_EQ(loaded.InterfaceName(), "WENXLAN");
    EXPECT_EQ(loaded.ControllerName(), "lan");
    EXPECT_EQ(loaded.Address(), 9);
}

} // namespace
} // namespace tvane::comm
