#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CLoggerDoc.h"
#include "database/CStateInfo.h"
#include "platform/profile/Profile.h"
#include "scan/CFXScan.h"
#include "tests/app/InstrumentFixture.h"

namespace tvane::test {
namespace {

class UploadTest : public InstrumentDocTest {
protected:
    void SetUp() override {
        InstrumentDocTest::SetUp();
        AddRow(101, "KXQT7101", "DC volts", 0);
        AddRow(102, "KXQT7101");
        AddRow(204, "KXQT7107", "Digital Read 8bit"); // not a scan channel
        CChannelConfig ac;
        ac.ModuleType = 0;
        ac.Channel = 101;
        ac.InScanList = 1;
        ac.Function = 1;
        ac.Unit = "VAC";
        ac.AlarmMode = 2;
        ac.HighLimit = "5";
        instrument.held.emplace(101, ac);
        CChannelConfig dc;
        dc.ModuleType = 0;
        dc.Channel = 102;
        dc.InScanList = 0;
        dc.Function = 0;
        instrument.held.emplace(102, dc);
        instrument.trigger = "ALARM2";
        instrument.scanCount = 5;
        instrument.interval = 2.5;
    }
    void Store(int count) {
        for (int i = 0; i < count; ++i) {
            ReadingRecord r;
            r.Channel = i % 2 ? 102 : 101;
            r.ScanNumber = i / 2 + 1;
            r.Time = 100.0 * i;
            instrument.stored.push_back(r);
        }
        instrument.readings = count;
    }
};

TEST_F(UploadTest, RowsAndScanSettingsAreRebuilt) {
    EXPECT_TRUE(doc->UploadSetup(false, false));
    const CFXSetup* ac = doc->FindSetupRow(101);
    EXPECT_EQ(ac->ChannelMode, 1);
    EXPECT_EQ(ac->Function, "AC volts");
    EXPECT_EQ(ac->Units, "VAC");
    EXPECT_EQ(ac->Alarms, "High Only");
    EXPECT_EQ(ac->AlarmHi, "5");
    EXPECT_EQ(ac->AlarmEvent, "Alarm2");
    EXPECT_EQ(doc->FindSetupRow(102)->ChannelMode, 0);
    EXPECT_EQ(instrument.Count("UploadChannelConfig"), 2);
    EXPECT_EQ(instrument.Count("StopMeasurement"), 1);
    const CFXScan& scan = *doc->GetScan();
    EXPECT_EQ(scan.m_startMode, CFXScan::kStartOnAlarm);
    EXPECT_EQ(scan.m_alarmStartChannel, 2);
    EXPECT_EQ(scan.m_stopMode, CFXScan::kStopAfterCount);
    EXPECT_EQ(scan.m_scanCount, 5);
    EXPECT_DOUBLE_EQ(scan.m_scanInterval, 2.5);
    EXPECT_EQ(scan.m_alarmOutputTracking, 0);
    EXPECT_TRUE(doc->IsSetupInInstrument());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].m_type, 512u);
    EXPECT_EQ(events[0].m_text, doc->FormatNow() + " - Instrument upload");
    EXPECT_EQ(ui.progress.back(), "Uploading channel 102 (2 of 2)");
    EXPECT_TRUE(prompter.asked.empty());

    // Keeping the instrument scanning sends no stop.
    instrument.calls.clear();
    EXPECT_TRUE(doc->UploadSetup(false, true));
    EXPECT_EQ(instrument.Count("StopMeasurement"), 0);
}

TEST_F(UploadTest, FailedChannelAndCancelKeepEarlierRows) {
    instrument.held.erase(102);
    EXPECT_FALSE(doc->UploadSetup(false, false));
    EXPECT_EQ(doc->FindSetupRow(101)->Function, "AC volts");
    EXPECT_FALSE(doc->IsSetupInInstrument());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text,
              "Failed to upload setup from instrument.\nError occurred reading channel 102.");
    EXPECT_EQ(prompter.asked[0].helpId, 13182u);

    instrument.held.emplace(102, CChannelConfig{});
    doc->FindSetupRow(101)->Function = "DC volts";
    ui.cancelAfter = 1;
    EXPECT_FALSE(doc->UploadSetup(false, false));
    EXPECT_EQ(doc->FindSetupRow(101)->Function, "AC volts");
    EXPECT_EQ(doc->FindSetupRow(102)->Function, "DC volts");
    EXPECT_EQ(prompter.Texts().back(), "Upload cancelled by user");
}

TEST_F(UploadTest, StoredReadingsComeInBufferSizedBlocks) {
    Store(3000);
    prompter.Script({MsgAnswer::Yes}); // the mismatch question
    EXPECT_TRUE(doc->UploadSetup(true, false));
    EXPECT_LE(instrument.maxRequested, CLoggerDoc::kReadingBufferCapacity);
    EXPECT_EQ(doc->GetDataset()->GetReadingCount(), 3000);
    // The readings name 101 and 102, the rebuilt setup scans 101 only.
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text,
              "A mismatch between the setup and data was detected.\nDo you want to continue?");
    EXPECT_EQ(doc->FindSetupRow(102)->ChannelMode, 1);
    EXPECT_EQ(ui.progress.back(), "Uploading reading 3000 of 3000");
    EXPECT_EQ(doc->GetDataset()->GetFirstTick(), 4242.0);
}

TEST_F(UploadTest, FailedFetchesAskAndAreBounded) {
    Store(10);
    std::vector<std::int32_t> channels;
    instrument.fetchFailures = 1;
    prompter.Script({MsgAnswer::Yes});
    EXPECT_TRUE(doc->UploadStoredReadings(*doc->GetDataset(), channels));
    EXPECT_EQ(channels, (std::vector<std::int32_t>{101, 102}));
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"Instrument error occured - continue uploading?"});

    // Always failing: the retries end even when the user keeps saying Yes.
    instrument.storedPos = 0;
    instrument.fetchFailures = 1000;
    prompter.asked.clear();
    EXPECT_FALSE(doc->UploadStoredReadings(*doc->GetDataset(), channels));
    EXPECT_LE(prompter.asked.size(), 4u);
    EXPECT_EQ(prompter.Texts().back(), "Upload processed 0 of 10 readings");
}

TEST_F(UploadTest, ReadingsPerPollFollowTheConnectionSpeed) {
    const std::pair<const char*, std::int16_t> cases[] = {
        {"1200", 2}, {"9600", 16}, {"38400", 64}, {"57600", 100}, {"115200", 100}};
    for (const auto& [speed, perPoll] : cases) {
        ASSERT_TRUE(WritePrivateProfileString("Settings", "ConnectSpeed", std::string(speed),
                                              "linkwell.ini"));
        doc->GetScanEngine().SetReadingsPerPoll(0);
        doc->GetConnectSpeed();
        EXPECT_EQ(doc->GetScanEngine().GetReadingsPerPoll(), perPoll) << speed;
    }
}

TEST_F(UploadTest, OfflineUploadsNothing) {
    instrument.interfaceType = 0;
    doc->SetSetupInInstrument(true);
    EXPECT_FALSE(doc->UploadSetup(true, false));
    EXPECT_FALSE(doc->IsSetupInInstrument());
    EXPECT_TRUE(instrument.calls.empty());
}

} // namespace
} // namespace tvane::test
