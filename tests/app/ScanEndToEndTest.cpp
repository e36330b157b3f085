// A whole run against the real driver and control on the simulated instrument:
// Start Scan, polls driven by the timer service, Stop Scan, and the dataset
// file read back by an independent reader.
#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/CScanInstrumentBinding.h"
#include "platform/com/Activation.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/COleKXQT7100.h"
#include "scan/records/CChannelConfig.h"
#include "tests/app/ComputedSumRow.h"
#include "tests/app/ScanEngineFixture.h"

namespace tvane::test {
namespace {

class ScanEndToEndTest : public ScanEngineTest {
protected:
    void SetUp() override {
        ScanEngineTest::SetUp();
        const std::string bin = std::string(TVANE_BINARY_DIR) + "/bin/";
        for (const char* file : {"Linkwell.so", "KXQT7100.so"}) {
            DynamicLibrary library(bin + file);
            ASSERT_TRUE(library.IsLoaded()) << library.ErrorText();
            auto reg =
                reinterpret_cast<DllRegisterServerFunction>(library.Symbol("DllRegisterServer"));
            ASSERT_NE(reg, nullptr) << file;
            ASSERT_EQ(reg(), S_OK) << file;
        }
        binding = std::make_unique<COleKXQT7100>();
        ASSERT_TRUE(binding->Create("KXQT7100.Drv32"));
        CommSettings settings;
        binding->SetSimulated(&settings);
        ASSERT_TRUE(binding->Connect(&settings, 1));
        ASSERT_TRUE(binding->IsSimulated());
        for (std::int32_t i = 0; i < 3; ++i) {
            CFXSetup* row = doc->GetSetupRow(i);
            row->Name = "KXQT7101"; // a module the simulation measures
            row->Function = "DC Volts";
            row->Range = "Auto";
            CChannelConfig config;
            ASSERT_TRUE(row->FillChannelConfig(config));
            ASSERT_TRUE(binding->DownloadChannelConfig(&config));
        }
        ASSERT_TRUE(binding->SetScanInterval(1.0));
        ASSERT_TRUE(binding->InitInstrument()); // takes the scan list
        instrumentBinding = std::make_unique<CScanInstrumentBinding>(*binding);
        services.scanInstrument = instrumentBinding.get();
        Wire();
    }
    void TearDown() override {
        services.scanInstrument = nullptr;
        Wire();
        instrumentBinding.reset();
        binding.reset();
        ScanEngineTest::TearDown();
        CoFreeUnusedLibraries();
    }

    std::unique_ptr<COleKXQT7100> binding;
    std::unique_ptr<CScanInstrumentBinding> instrumentBinding;
};

TEST_F(ScanEndToEndTest, ARunOnTheSimulatedInstrumentIsStoredWhole) {
    AddComputedSum(*doc);

    doc->OnStartScan();
    ASSERT_TRUE(doc->IsScanning());
    int computedSeen = 0;
    for (int poll = 0; poll < 5; ++poll) {
        m_clock.Advance(1000);
        ASSERT_TRUE(app.frame.timers.Fire(CLoggerDoc::kScanTimerId));
        std::vector<ReadingRecord*> list;
        computedSeen += doc->GetChannelReadings(901, list);
    }
    doc->OnStopScan();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(computedSeen, 5);
    EXPECT_EQ(doc->GetDataset()->GetReadingCount(), 15); // three channels, five scans
    EXPECT_EQ(EventTexts(),
              (std::vector<std::string>{"Test Started - Immediate", "Test Terminated - By User"}));

    const std::string path = doc->GetDatasetStore()->GetPath();
    doc->GetDataset()->Close();
    doc->GetDatasetStore()->Close();
    const std::string command =
        "/usr/bin/python3 -c \"import olefile,sys; f=olefile.OleFileIO(sys.argv[1]); "
        "print(f.get_size('Run1/Readings'))\" '" +
        path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[64] = {0};
    const bool read = fgets(line, sizeof line, pipe) != nullptr;
    pclose(pipe);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::stoi(line), 15 * 26);
}

} // namespace
} // namespace tvane::test
