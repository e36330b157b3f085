#include <gtest/gtest.h>

#include "app/CDocumentScanHost.h"
#include "platform/profile/Profile.h"
#include "tests/app/ScanEngineFixture.h"

namespace tvane::test {
namespace {

// The program's host with the windows answered as a user who starts at once.
class WindowlessHost final : public CDocumentScanHost {
public:
    using CDocumentScanHost::CDocumentScanHost;
    void GoToLocal() override {}
    bool SaveBeforeRun(CStateInfo&) override { return true; }
    bool SaveDatasetIfAny(CStateInfo&) override { return true; }
    void CreateDataBrowser() override {}
    SaveAnswer ShowSaveScanData(CStateInfo&, std::int32_t) override { return {}; }
    bool OpenSavedDataset(CStateInfo&) override { return true; }
    void CloseDataset() override {}
    void ApplySaveNames() override {}
    void ExportReadings() override {}
    bool ShowScanStatus(bool, bool&) override { return true; }
    void EnableSetupView(bool) override {}
    void RefreshToolBars() override {}
    void ActivateGraphView() override {}
    void RefreshTitle() override {}
    void ShowProgress(const std::string&) override {}
    bool IsProgressCancelled() override { return false; }
    void SetProgress(int, const std::string&) override {}
    void CloseProgress() override {}
};

using DocumentScanHostTest = ScanEngineTest;

TEST_F(DocumentScanHostTest, ForwardsToTheDocumentsInstrumentWork) {
    WindowlessHost real(*doc, nullptr);
    WritePrivateProfileString("Settings", "ConnectSpeed", std::string("9600"), "linkwell.ini");
    EXPECT_EQ(real.GetReadingsPerPoll(), 16);

    // Without an instrument the validation fails and no run starts.
    services.scanHost = &real;
    Wire();
    doc->SetSetupInInstrument(false);
    doc->OnStartScan();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(instrument.Count("StartMeasurement"), 0);
}

} // namespace
} // namespace tvane::test
