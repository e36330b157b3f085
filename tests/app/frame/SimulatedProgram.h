#pragma once
// The program's pieces around one document on the simulated instrument, for the
// tests that run a scan through the main window: a seeded workspace, the two
// components registered from the build, and a connected binding.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CInstrumentConnection.h"
#include "app/CLoggerDoc.h"
#include "database/CDatasetEvent.h"
#include "database/CDynaDatabase.h"
#include "database/CStateInfo.h"
#include "database/SeedDatabase.h"
#include "platform/com/Activation.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/COleKXQT7100.h"
#include "scan/records/CChannelConfig.h"
#include "shared/DocumentHints.h"
#include "shared/IView.h"
#include "tests/database/OdbcTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {

// The texts of the events the document broadcasts, as the event log window
// receives them.
struct EventLogView final : IView {
    std::vector<std::string> texts;
    void OnUpdate(IView*, long hint, const HintObject& object) override {
        if (hint == HINT_READING)
            if (auto* e = object.As<CDatasetEvent>())
                texts.push_back(e->m_text);
    }
};

class SimulatedProgram {
public:
    // Call first, then end the test when HasFatalFailure() says so.
    void Start() {
        InstallWorkspaceDriver(home);
        database = home.Data() / "tvane.mdb";
        CreateSeedDatabase(database);
        state.m_dataDir = home.Data().string();
        auto db = std::make_shared<CDynaDatabase>();
        ASSERT_TRUE(
            db->Open({}, false, false, "ODBC;Driver=SQLite3;Database=" + database.string() + ";"));
        state.m_pDatabase = db;

        const std::string bin = std::string(TVANE_BINARY_DIR) + "/bin/";
        for (const char* file : {"Linkwell.so", "KXQT7100.so"}) {
            DynamicLibrary library(bin + file);
            ASSERT_TRUE(library.IsLoaded()) << library.ErrorText();
            auto reg =
                reinterpret_cast<DllRegisterServerFunction>(library.Symbol("DllRegisterServer"));
            ASSERT_EQ(reg(), S_OK) << file;
        }
        auto binding = std::make_unique<COleKXQT7100>();
        ASSERT_TRUE(binding->Create("KXQT7100.Drv32"));
        CommSettings settings;
        binding->SetSimulated(&settings);
        ASSERT_TRUE(binding->Connect(&settings, 1));
        connection.SetInstrument(std::move(binding));
    }
    ~SimulatedProgram() {
        connection.SetInstrument(nullptr);
        CoFreeUnusedLibraries();
    }
    COleKXQT7100& Binding() { return *connection.GetInstrument(); }
    // A new setup "Bench run" of one KXQT7101 whose first count channels (101 on)
    // measure DC volts, each downloaded to the instrument unless the test does
    // that through the program; spare rows follow them.
    void MakeSetup(CLoggerDoc& doc, std::int32_t count, std::int32_t spareRows = 0,
                   bool download = true) {
        CStateInfo setup = state;
        setup.m_setupName = "Bench run";
        setup.m_modules = {"KXQT7101", "(None)", "(None)"};
        ASSERT_TRUE(doc.CreateNewSetup(setup, 0, false));
        state = setup;
        doc.GetSetup()->SetSize(count + spareRows);
        for (std::int32_t i = 0; i < count; ++i) {
            CFXSetup* row = doc.GetSetupRow(i);
            row->Channel = static_cast<std::uint32_t>(101 + i);
            row->ChannelMode = 1;
            row->Function = "DC Volts";
            row->Range = "Auto";
            row->Alarms = "Off";
            CChannelConfig config;
            ASSERT_TRUE(row->FillChannelConfig(config));
            if (download) {
                ASSERT_TRUE(Binding().DownloadChannelConfig(&config));
            }
        }
    }

    // The instrument and the document scan once a second, the setup is in the
    // instrument and nothing is left to save.
    void ScanEverySecond(CLoggerDoc& doc) {
        ASSERT_TRUE(Binding().SetScanInterval(1.0));
        ASSERT_TRUE(Binding().InitInstrument());
        doc.GetScan()->m_scanInterval = 1.0;
        doc.SetSetupInInstrument(true);
        doc.SetModifiedFlag(false);
    }

    TempHome home;
    FakeClock clock{1700000000, 5000};
    ScopedService<IClock> clockService{SetClock, &clock};
    std::filesystem::path database;
    CStateInfo state;

private:
    struct NoPane final : CInstrumentConnection::IHost {
        void SetInterfacePane(const std::string&) override {}
        CLoggerDoc* GetActiveDocument() override { return nullptr; }
    };
    NoPane m_pane;

public:
    CInstrumentConnection connection{m_pane};
};

} // namespace tvane::test
