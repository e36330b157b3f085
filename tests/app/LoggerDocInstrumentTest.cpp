#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/CLoggerDoc.h"
#include "platform/storage/Storage.h"
#include "scan/CFXScan.h"
#include "tests/app/InstrumentFixture.h"

namespace tvane::test {
namespace {

using ErrorReportTest = InstrumentDocTest;

TEST_F(ErrorReportTest, OfflineInstrumentIsNeverAsked) {
    instrument.errors = {{-113, "Undefined header"}};
    instrument.lastCode = 5;
    instrument.alarms.push_back({1.0, "V", 1700000000, 0, 101, 1, 1});
    for (int type : {0, 5}) {
        instrument.interfaceType = type;
        instrument.valid = type == 0; // simulated, then a real one that is not open
        EXPECT_TRUE(doc->IsInstrumentOffline());
        doc->LogInstrumentError();
        doc->ReadAlarmQueue();
    }
    services.instrument = nullptr;
    Wire();
    EXPECT_TRUE(doc->IsInstrumentOffline());
    EXPECT_TRUE(instrument.calls.empty());
    EXPECT_TRUE(events.empty());
}

TEST_F(ErrorReportTest, QueuedErrorsAndTheLastErrorBecomeEvents) {
    instrument.errors = {{-113, "Undefined header"}, {-222, "Data out of range"}};
    instrument.lastCode = 1003;
    instrument.lastText = "Time-out";
    doc->LogInstrumentError();
    const std::string now = doc->FormatNow() + "  ";
    EXPECT_EQ(EventTexts(),
              (std::vector<std::string>{now + "-113,Undefined header",
                                        now + "-222,Data out of range", now + "1003,Time-out"}));
    for (const auto& e : events) {
        EXPECT_EQ(e.m_type, 128u);
        EXPECT_EQ(e.m_channel, 0);
        EXPECT_LT(e.m_time, 0.0);
    }

    // During a run the texts carry no time; the event time is the run's.
    events.clear();
    doc->GetScanEngine().BeginRun();
    doc->GetScanEngine().StartRunClock(1000); // the clock's tick is 5000
    instrument.errors = {{-113, "Undefined header"}};
    instrument.lastCode = 0;
    doc->LogInstrumentError();
    ASSERT_EQ(EventTexts(), std::vector<std::string>{"-113,Undefined header"});
    EXPECT_DOUBLE_EQ(events[0].m_time, 4000.0);

    // The line breaks that end some driver texts stay out of the log.
    events.clear();
    instrument.errors = {{-113, "Undefined header\r\n"}};
    instrument.lastCode = 776;
    instrument.lastText = "Processed 1 of 3 readings.\n";
    doc->LogInstrumentError();
    EXPECT_EQ(EventTexts(), (std::vector<std::string>{"-113,Undefined header",
                                                      "776,Processed 1 of 3 readings."}));
    doc->GetScanEngine().HaltRun();
}

// After failed readings the driver's error tells a bad block, whose instrument is
// asked for its errors, from silence, where asking would only wait again.
TEST_F(ErrorReportTest, AFailedReadIsAnAnswerOnlyWhenABlockCame) {
    doc->GetScanEngine().BeginRun();
    instrument.errors = {{-113, "Undefined header"}};
    instrument.lastCode = 1040;
    instrument.lastText = "Byte count mismatch";
    EXPECT_TRUE(doc->LogReadingsFailure(false));
    EXPECT_EQ(EventTexts(),
              (std::vector<std::string>{"-113,Undefined header", "1040,Byte count mismatch"}));

    for (const bool report : {true, false}) {
        SCOPED_TRACE(report);
        events.clear();
        instrument.calls.clear();
        instrument.lastCode = 1052;
        instrument.lastText = "Timeout occurred";
        EXPECT_FALSE(doc->LogReadingsFailure(report));
        EXPECT_EQ(instrument.Count("IsInstrumentError"), 0);
        EXPECT_EQ(EventTexts(), report ? std::vector<std::string>{"1052,Timeout occurred"}
                                       : std::vector<std::string>{});
    }
    doc->GetScanEngine().HaltRun();
}

TEST_F(ErrorReportTest, ErrorQueueEndsOnAFailedOrEndlessQuery) {
    instrument.errorQueryFails = true;
    instrument.errors = {{-113, "Undefined header"}};
    doc->LogInstrumentError();
    EXPECT_EQ(instrument.Count("GetInstrumentError"), 1);
    EXPECT_TRUE(events.empty());

    instrument.errorQueryFails = false;
    instrument.endlessErrors = true;
    doc->LogInstrumentError();
    EXPECT_LT(instrument.Count("GetInstrumentError"), 1000);
    EXPECT_FALSE(events.empty());
}

TEST_F(ErrorReportTest, AlarmsAreTimedOnTheRunAndTypedByLimit) {
    doc->GetScanEngine().SetRunStart(10000.0, CTime(1700000000));
    instrument.alarms = {{1.5, "V", 1700000002, 500, 101, 1, 2},
                         {2.5, "V", 1700000003, 0, 102, 0, 1},
                         {3.5, "A", 1700000004, 0, 103, 2, 3}};
    doc->ReadAlarmQueue();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_DOUBLE_EQ(events[0].m_time, 12500.0);
    EXPECT_EQ(events[0].m_channel, 101);
    EXPECT_EQ(events[0].m_text, "Value = 1.5 V, Alarm = 2");
    EXPECT_EQ(events[0].m_type, 8u);
    EXPECT_EQ(events[1].m_type, 16u);
    EXPECT_EQ(events[2].m_type, 16u);

    // An instrument that never empties its queue does not hang the poll.
    events.clear();
    instrument.endlessAlarms = true;
    doc->ReadAlarmQueue();
    EXPECT_GT(events.size(), 0u);
    EXPECT_LT(events.size(), 1000u);
}

TEST_F(ErrorReportTest, EventsWithoutAnOpenDatasetAreDropped) {
    doc->GetDataset()->Close();
    instrument.lastCode = 7;
    doc->LogInstrumentError();
    EXPECT_TRUE(events.empty());
}

// --- Download ---------------------------------------------------------------

class DownloadTest : public InstrumentDocTest {
protected:
    void SetUp() override {
        InstrumentDocTest::SetUp();
        doc->GetScan()->m_startMode = CFXScan::kStartOnAlarm;
        doc->GetScan()->m_alarmStartChannel = 3;
    }
};

TEST_F(DownloadTest, OneConfigurationPerScanCapableChannel) {
    AddRow(101, "KXQT7101");
    AddRow(102, "KXQT7101", "DC volts", 0); // not scanned, still configured
    AddRow(103, "KXQT7101")->CellFlags = 0xFFFFFFFFu;
    AddRow(201, "KXQT7107", "Totalize");
    AddRow(204, "KXQT7107", "Digital Write 8bit"); // output only
    AddRow(205, "KXQT7107", "DAC Write Volt");
    AddRow(901, "Computed");
    CFXSetup* out = doc->FindSetupRow(204);

    EXPECT_TRUE(doc->DownloadSetup());
    EXPECT_EQ(instrument.configs, (std::vector<std::int16_t>{101, 102, 201}));
    EXPECT_EQ(instrument.Count("DigitalWrite 204 255"), 1);
    EXPECT_EQ(instrument.Count("AnalogWrite 205 0.0"), 1);
    EXPECT_EQ(out->ActionValue, "2.550000e+02");
    EXPECT_EQ(instrument.Count("SetTriggerSource ALARM3"), 1);
    EXPECT_EQ(instrument.Count("SetScanCount -1"), 1);
    EXPECT_EQ(instrument.Count("InitInstrument"), 1);
    EXPECT_TRUE(doc->IsSetupInInstrument());
    EXPECT_EQ(ui.progress,
              (std::vector<std::string>{"Downloading Channel Configurations", "pos 2", "pos 33",
                                        "Downloading channel 101 (1 of 3)", "pos 66",
                                        "Downloading channel 102 (2 of 3)", "pos 100",
                                        "Downloading channel 201 (3 of 3)"}));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].m_type, 256u);
    EXPECT_EQ(events[0].m_text, doc->FormatNow() + " - Setup download");
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(DownloadTest, CancelAndFailureLeaveTheSetupNotDownloaded) {
    for (std::uint32_t ch : {101, 102, 103})
        AddRow(ch, "KXQT7101");
    ui.cancelAfter = 2;
    EXPECT_FALSE(doc->DownloadSetup());
    EXPECT_EQ(instrument.configs, (std::vector<std::int16_t>{101, 102}));
    EXPECT_FALSE(doc->IsSetupInInstrument());
    EXPECT_EQ(instrument.Count("InitInstrument"), 0);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "Download cancelled by user");
    EXPECT_EQ(prompter.asked[0].helpId, 13181u);

    instrument.configs.clear();
    instrument.failConfig = 102;
    EXPECT_FALSE(doc->DownloadSetup());
    EXPECT_EQ(instrument.configs, (std::vector<std::int16_t>{101, 102}));
    EXPECT_EQ(prompter.Texts().back(),
              "Error occurred while downloading setup - operation aborted.");
}

TEST_F(DownloadTest, NothingToDownloadMeansNoActiveChannel) {
    // One active row is a setup to download.
    AddRow(101, "KXQT7101");
    EXPECT_TRUE(doc->DownloadSetup());
    EXPECT_EQ(instrument.configs, std::vector<std::int16_t>{101});

    // Rows without a scan channel are not.
    doc->GetSetup()->RemoveAll();
    AddRow(901, "Computed");
    AddRow(110, "KXQT7107");
    instrument.calls.clear();
    EXPECT_TRUE(doc->DownloadSetup());
    EXPECT_EQ(prompter.Texts().back(), "No channels turned on - Download not completed");
    EXPECT_EQ(instrument.Count("ClearScanList"), 0);
}

TEST_F(DownloadTest, NoticeOnlyWhenTheInstrumentHoldsWork) {
    bool cancelled = true, upload = true;
    // Offline: no question at all.
    instrument.interfaceType = 0;
    instrument.scanning = true;
    EXPECT_TRUE(doc->CheckInstrumentConditions(cancelled, upload));
    EXPECT_FALSE(cancelled || upload);
    EXPECT_EQ(ui.notices, 0);

    instrument.interfaceType = 5;
    instrument.scanning = false;
    EXPECT_TRUE(doc->CheckInstrumentConditions(cancelled, upload));
    EXPECT_EQ(ui.notices, 0);

    // Scanning: stored data ticked without asking for the count.
    instrument.scanning = true;
    instrument.calls.clear();
    EXPECT_TRUE(doc->CheckInstrumentConditions(cancelled, upload));
    EXPECT_TRUE(ui.lastNotice.scanInProgress && ui.lastNotice.storedData);
    EXPECT_EQ(instrument.Count("GetReadingsCount"), 1); // the condition query only
    EXPECT_EQ(instrument.Count("StopMeasurement"), 1);  // continue was chosen

    ui.chooseUpload = true;
    EXPECT_TRUE(doc->CheckInstrumentConditions(cancelled, upload));
    EXPECT_TRUE(upload);
    EXPECT_EQ(ui.newSetups, 1);

    ui.noticeOk = false;
    EXPECT_TRUE(doc->CheckInstrumentConditions(cancelled, upload));
    EXPECT_TRUE(cancelled);

    instrument.readingsOk = false;
    EXPECT_FALSE(doc->CheckInstrumentConditions(cancelled, upload));
    EXPECT_EQ(prompter.Texts().back(), "Instrument not responding - operation aborted.");
}

TEST_F(DownloadTest, DownloadCommandChecksTheMultimeter) {
    AddRow(101, "KXQT7101");
    instrument.dmmEnabled = false;
    doc->OnDownloadSetup();
    EXPECT_EQ(prompter.Texts().back(),
              "DMM is either not installed or disabled in the instrument - download aborted");
    EXPECT_TRUE(instrument.configs.empty());
    instrument.dmmEnabled = true;
    doc->OnDownloadSetup();
    EXPECT_EQ(instrument.configs, std::vector<std::int16_t>{101});

    // No answer to the condition queries: the event log keeps it.
    instrument.readingsOk = false;
    const std::int32_t before = doc->GetEventCount();
    doc->OnDownloadSetup();
    EXPECT_EQ(doc->GetEventCount(), before + 1);
    EXPECT_EQ(instrument.configs.size(), 1u);
}

TEST_F(DownloadTest, ScanListAndRunCheck) {
    AddRow(101, "KXQT7101");
    AddRow(102, "KXQT7101", "DC volts", 0);
    AddRow(901, "Computed");
    instrument.scanList = "101,";
    EXPECT_TRUE(doc->IsScanListCurrent());
    instrument.scanList = "102,";
    EXPECT_FALSE(doc->IsScanListCurrent());

    EXPECT_TRUE(doc->ValidateInstrumentForRun(false, false));
    EXPECT_TRUE(instrument.configs.empty());
    instrument.configChanged = true;
    EXPECT_TRUE(doc->ValidateInstrumentForRun(false, false));
    EXPECT_EQ(instrument.configs.size(), 2u);
    instrument.serialOk = false;
    doc->SetSetupInInstrument(true);
    EXPECT_FALSE(doc->ValidateInstrumentForRun(true, true));
    EXPECT_FALSE(doc->IsSetupInInstrument());
}

TEST_F(DownloadTest, ModulesMustMatchTheSetup) {
    AddRow(101, "KXQT7101");
    instrument.cards[200] = "KXQT7107";
    // The scan list check compares quietly.
    instrument.scanList = "101,";
    EXPECT_FALSE(doc->IsScanListCurrent());
    EXPECT_EQ(doc->GetEventCount(), 0);
    EXPECT_TRUE(prompter.asked.empty());

    EXPECT_FALSE(doc->DownloadSetup());
    EXPECT_EQ(instrument.Count("ClearScanList"), 0);
    EXPECT_TRUE(instrument.configs.empty());
    EXPECT_FALSE(doc->IsSetupInInstrument());
    const std::string mismatch = "Configuration does not match instrument - cannot download setup";
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, mismatch);
    EXPECT_EQ(prompter.asked[0].icon, MsgIcon::Warning);
    CDatasetEvent logged;
    ASSERT_TRUE(doc->GetEvent(doc->GetEventCount() - 1, logged));
    EXPECT_EQ(logged.m_type, 0u);
    EXPECT_EQ(logged.m_text, mismatch);

    // Not asked to show it: logged only. A module that cannot be read is a
    // mismatch too.
    prompter.asked.clear();
    instrument.cards.clear();
    instrument.cardQueryOk = false;
    EXPECT_FALSE(doc->CheckInstrumentConfig(false));
    EXPECT_TRUE(prompter.asked.empty());

    // Offline nothing is asked.
    instrument.calls.clear();
    instrument.interfaceType = 0;
    EXPECT_TRUE(doc->CheckInstrumentConfig(true));
    EXPECT_EQ(instrument.Count("GetCardInfoInSlot"), 0);

    instrument.interfaceType = 5;
    instrument.cardQueryOk = true;
    EXPECT_TRUE(doc->CheckInstrumentConfig(true));
    EXPECT_EQ(instrument.Count("GetCardInfoInSlot"), 3);
    EXPECT_TRUE(doc->DownloadSetup());
}

TEST_F(DownloadTest, InstrumentSettingsCarryTheAlarmOutputChoice) {
    AddRow(101, "KXQT7101");
    CFXScan& scan = *doc->GetScan();
    scan.m_alarmOutputTracking = 1;
    scan.m_alarmPolarityLow = 0;
    // The user picks latched and low on the sheet.
    instrument.onSettingsSheet = [&] {
        instrument.tracking = false;
        instrument.polarityLow = true;
    };
    doc->OnInstrumentSettings();
    const auto sheet =
        std::find(instrument.calls.begin(), instrument.calls.end(), "EditControlProperties");
    ASSERT_NE(sheet, instrument.calls.end());
    EXPECT_EQ(std::count(instrument.calls.begin(), sheet, "SetAlarmOutputTracking"), 1);
    EXPECT_EQ(std::count(instrument.calls.begin(), sheet, "SetHighAlarmPolarity"), 1);
    EXPECT_EQ(scan.m_alarmOutputTracking, 0);
    EXPECT_EQ(scan.m_alarmPolarityLow, 1);

    // Serial settings that differ end the command before the sheet.
    instrument.calls.clear();
    instrument.serialOk = false;
    doc->OnInstrumentSettings();
    EXPECT_EQ(instrument.Count("EditControlProperties"), 0);
}

// --- Monitor ----------------------------------------------------------------

using MonitorTest = InstrumentDocTest;

TEST_F(MonitorTest, RefusalsInTheirOrder) {
    AddRow(101, "KXQT7101", "DC volts", 0);
    AddRow(102, "KXQT7101");
    const std::string head = "Unable to configure channel for monitoring.\n";
    struct Case {
        std::int32_t channel, scanning, inInstrument;
        std::string text;
    };
    const Case cases[] = {
        {101, 1, 1,
         head + "Channel is not enabled for scan.\nPlease stop the current scan and add channel "
                "to scan list and download setup to instrument."},
        {101, 0, 1,
         head + "Channel is not enabled for scan.\nPlease add channel to scan list and download "
                "setup to instrument."},
        {101, 0, 0,
         head + "Software setup may not be the same as the instrument setup.\nPlease download "
                "setup to instrument."},
        {102, 0, 0,
         head + "Software setup may not be the same as the instrument setup.\nPlease download "
                "setup to instrument."},
    };
    for (const auto& c : cases) {
        if (c.scanning)
            doc->GetScanEngine().BeginRun();
        else
            doc->GetScanEngine().HaltRun();
        doc->SetSetupInInstrument(c.inInstrument);
        doc->ConfigureMonitorChannel(c.channel);
        EXPECT_EQ(prompter.Texts().back(), c.text) << c.channel;
        EXPECT_EQ(doc->GetMonitorChannel(), 0);
    }
    doc->GetScanEngine().HaltRun();
    EXPECT_TRUE(instrument.calls.empty());
}

TEST_F(MonitorTest, ConfiguredChannelIsReadByItsTimer) {
    AddRow(102, "KXQT7101")->Units = "VDC";
    doc->SetSetupInInstrument(true);
    doc->SetMonitorInterval(2000);
    doc->ConfigureMonitorChannel(102);
    EXPECT_EQ(doc->GetMonitorChannel(), 102);
    EXPECT_EQ(instrument.calls,
              (std::vector<std::string>{"EnableMonitorChnl 0", "SetMonitorChnl 102",
                                        "EnableMonitorChnl 1"}));
    EXPECT_TRUE(MonitorTimerRunning());
    EXPECT_EQ(ui.monitorShown.back(), std::make_pair(102, true));

    instrument.monitorValue = 1.25;
    doc->OnMonitorTimer();
    EXPECT_EQ(ui.monitorValues, std::vector<double>{1.25});
    EXPECT_EQ(ui.monitorUnits, std::vector<std::string>{"VDC"});
    EXPECT_TRUE(MonitorTimerRunning());

    // Busy with a display action: the read waits.
    const auto keep = view.onUpdate;
    view.onUpdate = [&](long hint, const HintObject& object) {
        keep(hint, object);
        if (hint == HINT_ACTION_RESULT)
            doc->OnMonitorTimer();
    };
    CReadingInfo query;
    query.m_channel = 102;
    query.m_request = CReadingInfo::kRequestQuery;
    EXPECT_TRUE(doc->DoInstrumentAction(query, false));
    view.onUpdate = keep;
    EXPECT_EQ(instrument.Count("ReadMonitorChnl"), 1);

    // Changed at the front panel: the read stops for good.
    instrument.monitorChannel = 101;
    doc->OnMonitorTimer();
    EXPECT_FALSE(MonitorTimerRunning());
    EXPECT_EQ(ui.monitorShown.back(), std::make_pair(102, false));
    EXPECT_EQ(instrument.Count("ReadMonitorChnl"), 1);

    // While scanning an interval change touches only the in-scan record.
    doc->GetScanEngine().BeginRun();
    const std::uint32_t now = Clock().TickCount();
    doc->StartMonitorTimer(3000);
    EXPECT_FALSE(MonitorTimerRunning());
    EXPECT_FALSE(doc->IsMonitorReadDue(now + 2999));
    EXPECT_TRUE(doc->IsMonitorReadDue(now + 3000));
    doc->GetScanEngine().HaltRun();
}

TEST_F(MonitorTest, ChannelZeroClearsTheMonitor) {
    AddRow(102, "KXQT7101");
    doc->SetSetupInInstrument(true);
    doc->ConfigureMonitorChannel(102);
    ASSERT_EQ(doc->GetMonitorChannel(), 102);
    instrument.calls.clear();
    instrument.lastCode = 4;
    doc->ConfigureMonitorChannel(0);
    EXPECT_EQ(doc->GetMonitorChannel(), 0);
    EXPECT_EQ(instrument.calls.front(), "EnableMonitorChnl 0");
    EXPECT_EQ(ui.monitorShown.back(), std::make_pair(0, false));
    EXPECT_FALSE(MonitorTimerRunning());
    EXPECT_EQ(events.size(), 1u); // the error report ran
}

// --- Display actions --------------------------------------------------------

class ActionTest : public InstrumentDocTest {
protected:
    void SetUp() override {
        InstrumentDocTest::SetUp();
        AddRow(101, "KXQT7107", "Digital Read 8bit");
        AddRow(102, "KXQT7107", "Digital Write 8bit");
        AddRow(103, "KXQT7107", "Totalize (Reset)");
        AddRow(104, "KXQT7107", "DAC Write Volt");
        AddRow(201, "KXQT7103");
        AddRow(301, "KXQT7108", "DC volts", 0);
        AddRow(305, "KXQT7108", "DC volts", 0);
        AddRow(310, "KXQT7108", "DC volts", 0);
        doc->CountActiveChannelsPerSlot();
        doc->SetSetupInInstrument(true);
    }
    CReadingInfo Request(std::int32_t channel, double value, std::int32_t kind) {
        CReadingInfo r;
        r.m_channel = channel;
        r.m_value = value;
        r.m_request = kind;
        return r;
    }
};

TEST_F(ActionTest, EachActionCallsTheDriverLogsAndAnswers) {
    instrument.digital = 0x5A;
    instrument.total = 1234.0;
    struct Case {
        std::int32_t channel;
        double value;
        std::int32_t kind;
        std::string call, text;
        std::uint32_t type;
        double answered;
    };
    const Case cases[] = {
        {101, 0, 1, "DigitalRead 101", "DIO Read: 90", 32, 90},
        {102, 7, 2, "DigitalWrite 102 7", "DIO Write: 7", 64, 7},
        {103, 0, 1, "TotalizeRead 103 reset", "Totalize Read: 1234", 32, 1234},
        {104, 2.5, 2, "AnalogWrite 104 2.500000", "DAC Write: 2.50", 64, 2.5},
        {201, 1, 2, "CloseChannel 201", "Switch Close", 64, 1},
        {201, 0, 2, "OpenChannel 201", "Switch Open", 64, 0},
    };
    for (const auto& c : cases) {
        instrument.calls.clear();
        events.clear();
        answers.clear();
        CReadingInfo request = Request(c.channel, c.value, c.kind);
        EXPECT_TRUE(doc->DoInstrumentAction(request, true)) << c.call;
        EXPECT_EQ(instrument.Count(c.call), 1) << c.call;
        ASSERT_EQ(events.size(), 1u) << c.call;
        EXPECT_EQ(events[0].m_text, c.text);
        EXPECT_EQ(events[0].m_type, c.type);
        EXPECT_EQ(events[0].m_channel, c.channel);
        ASSERT_EQ(answers.size(), 1u) << c.call;
        EXPECT_DOUBLE_EQ(answers[0].m_value, c.answered);
        EXPECT_DOUBLE_EQ(std::stod(doc->FindSetupRow(c.channel)->ActionValue), c.answered);
    }
    EXPECT_FALSE(doc->IsActionBusy());

    // A failed driver call is reported and not answered.
    instrument.actionOk = false;
    answers.clear();
    CReadingInfo request = Request(102, 1, 2);
    EXPECT_FALSE(doc->DoInstrumentAction(request, true));
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(prompter.Texts().back(), "Error occurred performing an immediate control operation.");
}

TEST_F(ActionTest, AFailedWriteLeavesTheQueryAnsweringTheInstrumentsState) {
    CReadingInfo good = Request(102, 5, 2);
    ASSERT_TRUE(doc->DoInstrumentAction(good, false));
    doc->FindSetupRow(310)->ActionValue = "1.0";
    instrument.actionOk = false;
    for (CReadingInfo failed : {Request(102, 9, 2), Request(104, 4.5, 2), Request(201, 1, 2),
                                Request(305, 1, 2)})
        EXPECT_FALSE(doc->DoInstrumentAction(failed, false)) << failed.m_channel;
    const std::pair<std::int32_t, double> kept[] = {{102, 5}, {104, 0}, {201, 0}, {305, 0}};
    for (const auto& [channel, value] : kept) {
        CReadingInfo query = Request(channel, -1, 3);
        EXPECT_TRUE(doc->DoInstrumentAction(query, false));
        EXPECT_DOUBLE_EQ(query.m_value, value) << channel;
    }
    // A close that failed opened nothing else.
    EXPECT_DOUBLE_EQ(std::stod(doc->FindSetupRow(310)->ActionValue), 1.0);
}

TEST_F(ActionTest, RefusedRequests) {
    // Busy, including a request made from inside a running action.
    bool inner = true;
    instrument.duringAction = [&] {
        CReadingInfo again = Request(102, 3, 2);
        inner = doc->DoInstrumentAction(again, false);
    };
    CReadingInfo request = Request(102, 1, 2);
    EXPECT_TRUE(doc->DoInstrumentAction(request, false));
    EXPECT_FALSE(inner);
    EXPECT_EQ(instrument.Count("DigitalWrite"), 1);
    instrument.duringAction = nullptr;

    // A channel without a setup row, and measuring channels.
    answers.clear();
    for (std::int32_t channel : {999, 301}) {
        doc->CountActiveChannelsPerSlot();
        doc->FindSetupRow(301)->ChannelMode = 1;
        doc->CountActiveChannelsPerSlot();
        CReadingInfo r = Request(channel, 1, 2);
        EXPECT_FALSE(doc->DoInstrumentAction(r, false)) << channel;
    }
    EXPECT_TRUE(answers.empty());
}

TEST_F(ActionTest, QueryAnswersTheStoredValue) {
    CReadingInfo digital = Request(102, 0, 3), dac = Request(104, 9, 3);
    EXPECT_TRUE(doc->DoInstrumentAction(digital, false));
    EXPECT_TRUE(doc->DoInstrumentAction(dac, false));
    EXPECT_DOUBLE_EQ(digital.m_value, 255.0);
    EXPECT_DOUBLE_EQ(dac.m_value, 0.0);
    EXPECT_EQ(answers.size(), 2u);
    EXPECT_TRUE(instrument.calls.empty());
}

TEST_F(ActionTest, ClosingASwitchAnnouncesTheOpenedOne) {
    doc->FindSetupRow(310)->ActionValue = "1.0";
    CReadingInfo request = Request(305, 1, 2);
    EXPECT_TRUE(doc->DoInstrumentAction(request, false));
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].m_channel, 310);
    EXPECT_EQ(answers[0].m_status, 0);
    EXPECT_DOUBLE_EQ(answers[0].m_value, 0.0);
    EXPECT_EQ(answers[1].m_channel, 305);
    EXPECT_DOUBLE_EQ(std::stod(doc->FindSetupRow(310)->ActionValue), 0.0);
}

TEST_F(ActionTest, ExclusiveBankChannelCanOnlyBeClosed) {
    AddRow(211, "KXQT7105");
    CReadingInfo request = Request(211, 0, 2);
    EXPECT_TRUE(doc->DoInstrumentAction(request, false));
    EXPECT_DOUBLE_EQ(request.m_value, 1.0);
    EXPECT_EQ(request.m_status, 0);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(instrument.Count("CloseChannel"), 0);
    EXPECT_EQ(instrument.Count("OpenChannel"), 0);
}

TEST_F(ActionTest, NotDownloadedAndDeclinedOnlyEchoes) {
    doc->SetSetupInInstrument(false);
    prompter.Script({MsgAnswer::No});
    CReadingInfo request = Request(104, 3.5, 2);
    EXPECT_TRUE(doc->DoInstrumentAction(request, true));
    EXPECT_EQ(prompter.asked.size(), 1u);
    EXPECT_TRUE(instrument.calls.empty());
    EXPECT_TRUE(events.empty());
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_DOUBLE_EQ(std::stod(doc->FindSetupRow(104)->ActionValue), 3.5);
}

TEST_F(ActionTest, ChannelUtilities) {
    EXPECT_EQ(CLoggerDoc::FindChannelIndex(102, {101, 102, 102}), 1);
    EXPECT_EQ(CLoggerDoc::FindChannelIndex(103, {101, 102}), -1);
    const std::pair<const char*, double> defaults[] = {
        {"DC volts", 0.001}, {"AC volts", 1.0}, {"Digital Read 8bit", 0.0}};
    for (const auto& [function, expected] : defaults) {
        double value = -1.0;
        CLoggerDoc::GetFunctionDefaultValue(function, value);
        EXPECT_DOUBLE_EQ(value, expected) << function;
    }
}

} // namespace
} // namespace tvane::test
