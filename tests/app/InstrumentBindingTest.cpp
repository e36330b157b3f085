#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/CDocumentInstrumentBinding.h"
#include "app/CInstrumentConnection.h"
#include "app/CLoggerDoc.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "platform/com/Activation.h"
#include "platform/profile/Profile.h"
#include "scan/COleKXQT7100.h"
#include "scan/CommSettings.h"
#include "tests/app/InstrumentFixture.h"

namespace tvane::test {
namespace {

// The document on the real driver and control: registered in a fresh home,
// opened on the simulated interface or on a scripted instrument.
class InstrumentBindingTest : public InstrumentDocTest {
protected:
    void SetUp() override {
        InstrumentDocTest::SetUp();
        const std::string bin = std::string(TVANE_BINARY_DIR) + "/bin/";
        for (const char* file : {"Linkwell.so", "KXQT7100.so"}) {
            DynamicLibrary library(bin + file);
            ASSERT_TRUE(library.IsLoaded()) << library.ErrorText();
            auto reg =
                reinterpret_cast<DllRegisterServerFunction>(library.Symbol("DllRegisterServer"));
            ASSERT_NE(reg, nullptr) << file;
            ASSERT_EQ(reg(), S_OK) << file;
        }
        script->On("*IDN?", "ORVANTA,QT7100,0,1.2");
        binding = std::make_unique<COleKXQT7100>();
        ASSERT_TRUE(binding->Create("KXQT7100.Drv32"));
        link = std::make_unique<CDocumentInstrumentBinding>(*binding);
        services.instrument = link.get();
        Wire();
    }
    void TearDown() override {
        services.instrument = nullptr;
        Wire();
        link.reset();
        binding.reset();
        InstrumentDocTest::TearDown();
        CoFreeUnusedLibraries();
    }
    void OpenSimulated() {
        CommSettings settings;
        binding->SetSimulated(&settings);
        ASSERT_TRUE(binding->Connect(&settings, 1));
    }

    std::shared_ptr<comm::ScriptedTransport::Script> script =
        std::make_shared<comm::ScriptedTransport::Script>();
    comm::ScopedTransportCreator wenx{4, [s = script](int32_t type) {
                                          return std::make_unique<comm::ScriptedTransport>(s, type);
                                      }};
    std::unique_ptr<COleKXQT7100> binding;
    std::unique_ptr<CDocumentInstrumentBinding> link;
};

TEST_F(InstrumentBindingTest, SimulatedInstrumentIsOfflineAndSilent) {
    OpenSimulated();
    EXPECT_TRUE(doc->IsInstrumentOffline());
    doc->LogInstrumentError();
    doc->ReadAlarmQueue();
    EXPECT_TRUE(events.empty());
}

TEST_F(InstrumentBindingTest, DownloadAndActionsOnTheSimulation) {
    OpenSimulated();
    AddRow(101, "KXQT7101");
    AddRow(102, "KXQT7101");
    AddRow(204, "KXQT7107", "Digital Write 8bit"); // an output, not scanned
    EXPECT_TRUE(doc->DownloadSetup());
    EXPECT_TRUE(doc->IsSetupInInstrument());
    EXPECT_EQ(ui.progress.back(), "Downloading channel 102 (2 of 2)");

    events.clear();
    CReadingInfo request;
    request.m_channel = 204;
    request.m_value = 3.0;
    request.m_request = CReadingInfo::kRequestWrite;
    EXPECT_TRUE(doc->DoInstrumentAction(request, false));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(EventTexts(), std::vector<std::string>{"DIO Write: 3"});
}

// On a scripted bus instrument: online, its queued errors become events, and
// the driver's "no error" adds none; an instrument that stops answering is
// reported with the control's error.
TEST_F(InstrumentBindingTest, ScriptedInstrumentErrorsBecomeEvents) {
    CommSettings settings;
    settings.InterfaceName = "WENX";
    settings.ControllerName = "GPIB0";
    settings.Address = 9;
    ASSERT_TRUE(binding->Connect(&settings, 1));
    EXPECT_FALSE(doc->IsInstrumentOffline());
    using Step = comm::ScriptedTransport::Step;
    script->On("*ESR?", "60");
    script->On("SYST:ERR?",
               {Step::Answer("-113,\"Undefined header\""), Step::Answer("0,\"No error\"")});
    doc->LogInstrumentError();
    const std::string now = doc->FormatNow() + "  ";
    EXPECT_EQ(EventTexts(), std::vector<std::string>{now + "-113,Undefined header"});

    events.clear();
    script->rules.clear();
    doc->LogInstrumentError();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].m_text.rfind(now + "1052,", 0), 0u) << events[0].m_text;
}

// The application's connection at start-up.
class ConnectionTest : public InstrumentBindingTest, public CInstrumentConnection::IHost {
protected:
    void SetInterfacePane(const std::string& text) override { pane = text; }
    CLoggerDoc* GetActiveDocument() override { return doc.get(); }
    static void Ini(const std::string& key, const std::string& value) {
        WritePrivateProfileString("KXQT7100.Drv32", key, value, "Tvane.ini");
    }
    static std::string IniValue(const std::string& key) {
        return GetPrivateProfileString("KXQT7100.Drv32", key, "-", "Tvane.ini");
    }
    void SetUp() override {
        InstrumentBindingTest::SetUp();
        Ini("Interface", "WENX");
        Ini("ControllerName", "GPIB0");
        Ini("DAddress", "9");
        Ini("DInterface", "4");
    }
    std::string pane;
    CInstrumentConnection connection{*this};
};

TEST_F(ConnectionTest, StartUpOpensTheIniInterface) {
    ASSERT_TRUE(connection.CreateInstrument());
    EXPECT_EQ(connection.GetInstrumentName(), "KXQT7100");
    EXPECT_TRUE(connection.ConnectInstrument(true));
    EXPECT_EQ(pane, "WENX");
    std::string description;
    connection.GetInterfaceDescription(description);
    EXPECT_EQ(description, "WENX at GPIB0,9");
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_TRUE(connection.IsCommunicationsSetupEnabled());
    doc->GetScanEngine().BeginRun();
    EXPECT_FALSE(connection.IsCommunicationsSetupEnabled());
    doc->GetScanEngine().HaltRun();
}

TEST_F(ConnectionTest, NoInstrumentFallsBackToSimulated) {
    script->present = {"GPIB0,5"};
    const std::string search = "\nDo you want to search for missing devices now?";
    const std::string simulated =
        "Unable to establish communications with instrument.\nSetting interface to Simulated.";
    struct Case {
        std::string controller, asked;
    };
    const Case cases[] = {
        {"GPIB0", "The following device could not be located:\n\n\tKXQT7100 at GPIB0,9\n\t"},
        {"ANY", "Could not find a KXQT710 on any Wenx or GPIB address or on COM1\n\n"},
    };
    for (const auto& c : cases) {
        Ini("ControllerName", c.controller);
        prompter.asked.clear();
        prompter.Script({MsgAnswer::No});
        ASSERT_TRUE(connection.CreateInstrument());
        connection.ConnectInstrument(true);
        EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{c.asked + search, simulated}));
        EXPECT_EQ(connection.GetInstrument()->GetInterfaceTypeValue(), 0);
        EXPECT_EQ(pane, connection.GetInstrument()->Settings().InterfaceName);
        // The ini keeps the last real interface for the next start.
        EXPECT_EQ(IniValue("Interface"), "WENX");
        EXPECT_EQ(IniValue("DInterface"), "4");
    }
}

TEST_F(ConnectionTest, WithoutABindingNothingIsTried) {
    EXPECT_FALSE(connection.ConnectInstrument(true));
    connection.OnCommunicationsSetup();
    std::string description = "x";
    connection.GetInterfaceDescription(description);
    EXPECT_TRUE(description.empty());
    WritePrivateProfileString("Drivers", "Instrument", std::string(), "Tvane.ini");
    EXPECT_FALSE(connection.CreateInstrument());
    EXPECT_FALSE(CInstrumentConnection::SaveCommSettings(CommSettings{}));
    EXPECT_TRUE(prompter.asked.empty());
}

} // namespace
} // namespace tvane::test
