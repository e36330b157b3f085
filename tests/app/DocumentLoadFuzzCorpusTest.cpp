#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/CLoggerDoc.h"
#include "platform/archive/MemoryStream.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "tests/app/DocumentLoadFuzzBody.h"
#include "tests/app/LoggerDocFixture.h"
#include "tests/support/FuzzCorpus.h"

namespace tvane::test {
namespace {

const std::filesystem::path kCorpus = std::filesystem::path(TVANE_TEST_DATA) / "fuzz-document";

TEST(DocumentLoadFuzzCorpus, EverySeedAndEveryFaultFoundLoadsOrFailsCleanly) {
    TempHome home;
    EXPECT_GE(RunFuzzCorpus(kCorpus, ExerciseDocumentLoad), 3);
}

class DocumentLoadFuzzSeeds : public LoggerDocTest {
protected:
    void Save(CLoggerDoc& d, const std::string& name) {
        MemoryStream memory;
        {
            CArchive ar(memory, CArchive::store);
            d.Serialize(ar);
        }
        WriteFile(kCorpus / name, std::string(memory.Bytes().begin(), memory.Bytes().end()));
    }
};

// Writes the seed archives again (run with --gtest_also_run_disabled_tests).
TEST_F(DocumentLoadFuzzSeeds, DISABLED_WriteSeeds) {
    app.withFrame = false;
    CLoggerDoc& d = MakeDocument();
    Save(d, "new-document.arc");

    app.state.m_modules = {"KXQT7101", "KXQT7107", "(None)"};
    CFXSetupArray& setup = *d.GetSetup();
    const std::uint32_t channels[] = {101, 102, 201, 202, 901};
    setup.SetSize(5);
    for (int i = 0; i < 5; ++i) {
        auto* row = new CFXSetup;
        row->Name = i == 4 ? "Computed" : (i < 2 ? "KXQT7101" : "KXQT7107");
        row->Channel = channels[i];
        row->ChannelName = "Channel " + std::to_string(i);
        row->ChannelMode = i % 2;
        row->Function = i == 3 ? "Temperature" : "DC volts";
        row->Range = "Auto";
        row->Alarms = "On";
        row->AlarmActions = "5;@102;@103;10X1;@301";
        row->AdvSettings = "OFF;1;;;;;;;;AUTO;;;;";
        row->AdvSettingsType = 515;
        setup.SetSetup(i, row);
    }
    Save(d, "setup-rows.arc");

    CCompChnlArray& computed = *d.GetComputedChannels();
    for (int i = 0; i < 2; ++i) {
        auto channel = std::make_unique<CCompChnl>();
        channel->Channel = 901 + i;
        channel->Arg1.Channel = 101;
        channel->Arg2.Value = 2.5 * (i + 1);
        channel->Operation = CCompChnl::kProduct;
        computed.SetAt(i, std::move(channel));
    }
    CFXScan& scan = *d.GetScan();
    scan.m_startMode = CFXScan::kStartTimed;
    scan.m_stopMode = CFXScan::kStopAfterCount;
    scan.m_scanCount = 42;
    scan.m_scanInterval = 0.5;
    scan.m_exportOnPostScan = 1;
    d.m_headerValue = 62;
    d.m_slotActive[0] = 2;
    d.m_monitorChannel = 102;
    d.m_monitorInterval = 2500;
    d.m_setupText = "bench A";
    Save(d, "computed-and-scan.arc");
}

} // namespace
} // namespace tvane::test
