#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/LastScanChannel.h"
#include "app/ScanEngineTexts.h"
#include "database/CDatasetEvent.h"
#include "platform/profile/Profile.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "tests/app/ComputedSumRow.h"
#include "tests/app/ScanEngineFixture.h"

namespace tvane::test {
namespace {

std::string ValidFlag() {
    return GetPrivateProfileString("Settings", "Valid", "", "Tvane.ini");
}

// --- Start ------------------------------------------------------------------

TEST_F(ScanEngineTest, EachStartModeLogsItsTextAndStartsThePoll) {
    const struct {
        std::int32_t mode;
        const char* text;
    } cases[] = {{0, "Test Started - Immediate"},
                 {1, "Test Started - External Trigger"},
                 {2, "Test Started - On Alarm"},
                 {7, "Test Started - Immediate"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        view.updates.clear();
        eventTexts.clear();
        doc->GetScan()->m_startMode = c.mode;
        doc->OnStartScan();
        ASSERT_TRUE(doc->IsScanning());
        EXPECT_EQ(EventTexts(), std::vector<std::string>{c.text});
        EXPECT_TRUE(PollTimerRunning());
        EXPECT_EQ(app.frame.timers.Elapse(CLoggerDoc::kScanTimerId), 155u);
        EXPECT_EQ(ValidFlag(), "0");
        EXPECT_EQ(doc->GetScanEngine().GetTerminationCode(), 1);
        doc->OnStopScan();
        EXPECT_FALSE(doc->IsScanning());
        EXPECT_FALSE(PollTimerRunning());
    }
    EXPECT_EQ(instrument.Count("StartMeasurement"), 4);
}

TEST_F(ScanEngineTest, TimedStartCountsDownAndStartsWhenDue) {
    doc->GetScan()->m_startMode = CFXScan::kStartTimed;
    doc->GetScan()->m_startTime = CTime(1700000000 + 2 * 86400 + 3 * 3600 + 4 * 60 + 5);
    doc->OnStartScan();
    EXPECT_TRUE(doc->IsScanning());
    EXPECT_TRUE(doc->GetScanEngine().IsStartArmed());
    EXPECT_EQ(instrument.Count("StartMeasurement"), 0);
    ASSERT_TRUE(app.frame.timers.Fire(CLoggerDoc::kStartTimerId));
    EXPECT_EQ(app.frame.panes[0], "Test starts in 2 days 03:04:05");
    m_clock.SetNow(1700000000 + 2 * 86400);
    app.frame.timers.Fire(CLoggerDoc::kStartTimerId);
    EXPECT_EQ(app.frame.panes[0], "Test starts in 03:04:05");
    EXPECT_EQ(instrument.Count("StartMeasurement"), 0);

    host.calls.clear();
    const int shown = host.statusShown;
    m_clock.SetNow(1700000000 + 3 * 86400);
    app.frame.timers.Fire(CLoggerDoc::kStartTimerId);
    EXPECT_EQ(instrument.Count("StartMeasurement"), 1);
    EXPECT_EQ(host.calls.front(), "Validate 00");
    EXPECT_EQ(host.statusShown, shown); // no status dialog the second time
    EXPECT_FALSE(doc->GetScanEngine().IsStartArmed());
    EXPECT_FALSE(app.frame.timers.IsActive(CLoggerDoc::kStartTimerId));
    EXPECT_TRUE(PollTimerRunning());
    EXPECT_EQ(EventTexts(), std::vector<std::string>{"Test Started - Timed"});
}

TEST_F(ScanEngineTest, StopDuringAnArmedStartSendsNoStart) {
    doc->GetScan()->m_startMode = CFXScan::kStartTimed;
    doc->GetScan()->m_startTime = CTime(1700000000 + 60);
    doc->OnStartScan();
    doc->OnStopScan();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(instrument.Count("StartMeasurement"), 0);
    EXPECT_EQ(instrument.Count("StopMeasurement"), 1);
    EXPECT_FALSE(app.frame.timers.IsActive(CLoggerDoc::kStartTimerId));
}

TEST_F(ScanEngineTest, StatusDialogFollowsPreferenceAndResume) {
    CAppPreferences prefs;
    prefs.Initialize();
    host.prefs = &prefs;

    host.statusStart = false; // Cancel
    doc->OnStartScan();
    EXPECT_EQ(host.statusShown, 1);
    EXPECT_FALSE(doc->IsScanning());

    host.statusStart = true;
    host.dontShowAgain = true;
    doc->OnStartScan();
    EXPECT_EQ(host.statusShown, 2);
    EXPECT_EQ(GetPrivateProfileString("PREFERENCES", "10002", "", "Tvane.ini"), "N");
    doc->OnStopScan();

    doc->OnStartScan(); // preference N: not shown
    EXPECT_EQ(host.statusShown, 2);
    doc->OnStopScan();

    prefs.SetPrefValue(CAppPreferences::kStartScanningWindow, "Y");
    doc->GetScanEngine().SetResuming(true);
    doc->OnStartScan(); // a resumed run: not shown, nothing started
    EXPECT_EQ(host.statusShown, 2);
    EXPECT_EQ(instrument.Count("StartMeasurement"), 2);
    EXPECT_TRUE(doc->IsScanning());
}

TEST_F(ScanEngineTest, CountdownDisplayFromTwoSeconds) {
    for (const auto& [interval, on] : {std::pair{1.999, 0}, std::pair{2.0, 1}}) {
        doc->GetScan()->m_scanInterval = interval;
        doc->OnStartScan();
        EXPECT_EQ(doc->GetScanEngine().ShowsCountdown(), on) << interval;
        if (on) {
            EXPECT_EQ(app.frame.panes[0], "00:00:01 to Scan");
        }
        doc->OnStopScan();
    }
}

// The value being typed into the grid belongs to the setup the run measures
// with: one the grid refuses keeps the run from starting.
TEST_F(ScanEngineTest, StartFinishesTheGridsCellEditFirst) {
    FakeSetupEditor editor;
    app.editor = &editor;
    editor.cellValid = false;
    doc->OnStartScan();
    EXPECT_EQ(editor.validations, 1);
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(instrument.Count("StartMeasurement"), 0);
    EXPECT_TRUE(host.calls.empty());

    editor.cellValid = true;
    doc->OnStartScan();
    EXPECT_EQ(editor.validations, 2);
    EXPECT_TRUE(doc->IsScanning());
    doc->OnStopScan();
    app.editor = nullptr;
}

TEST_F(ScanEngineTest, StartFailuresAreLoggedWithTheirReason) {
    instrument.start = false;
    doc->OnStartScan();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(EventTexts(), std::vector<std::string>{"Test Terminated - Instrument Failure"});
    EXPECT_EQ(prompter.Texts().back(), scantext::kStartFailed);

    // A scan time that cannot be read is the instrument's failure, not a success.
    eventTexts.clear();
    instrument.start = true;
    instrument.scanTime = false;
    doc->OnStartScan();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_FALSE(PollTimerRunning());
    EXPECT_EQ(EventTexts().back(), "Test Terminated - Instrument Failure");

    eventTexts.clear();
    instrument.scanTime = true;
    host.matches = false;
    doc->OnStartScan();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_TRUE(host.setupViewEnabled) << "a run that does not start gives the grid back";
    EXPECT_FALSE(doc->IsSetupInInstrument());
    EXPECT_EQ(prompter.Texts().back(), scantext::kValidationFailed);
    CDatasetEvent stored;
    ASSERT_TRUE(doc->GetEvent(doc->GetEventCount() - 1, stored));
    EXPECT_EQ(stored.m_text, scantext::kConfigMismatch);

    // Setup not in the instrument: validated with a download.
    host.calls.clear();
    host.validate = false;
    doc->OnStartScan();
    EXPECT_EQ(host.calls, std::vector<std::string>{"Validate 11"});
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_TRUE(host.setupViewEnabled);

    // A run that starts keeps the grid closed to edits until it ends.
    host.validate = true;
    doc->OnStartScan();
    ASSERT_TRUE(doc->IsScanning());
    EXPECT_FALSE(host.setupViewEnabled);
    doc->OnStopScan();
    EXPECT_TRUE(host.setupViewEnabled);

    // No dataset for the run: said so, and nothing asked of the instrument.
    host.calls.clear();
    host.validate = true;
    host.saveDataset = false;
    doc->OnStartScan();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(prompter.Texts().back(), scantext::kNoRunDataset);
    EXPECT_TRUE(host.calls.empty());
}

// --- Poll -------------------------------------------------------------------

TEST_F(ScanEngineTest, PollFilesReadingsAndStoresThemInTheDataset) {
    doc->OnStartScan();
    instrument.batches.push_back(
        {Reading(1, 101, 1.5), Reading(1, 102, 2.5), Reading(1, 103, 3.5), Reading(2, 101, 1.6)});
    view.updates.clear();
    ASSERT_TRUE(app.frame.timers.Fire(CLoggerDoc::kScanTimerId));
    EXPECT_TRUE(PollTimerRunning());
    doc->GetDataset()->WriteHeader();
    EXPECT_EQ(doc->GetDataset()->GetReadingCount(), 4);
    EXPECT_EQ(doc->GetScanEngine().GetLastScanNumber(), 2);
    EXPECT_EQ(doc->GetScanEngine().IsBatchDone(), 0);
    std::vector<ReadingRecord*> list;
    EXPECT_EQ(doc->GetChannelReadings(101, list), 2);
    EXPECT_EQ(double{list[1]->Value}, 1.6);
    EXPECT_EQ(view.Hints(), std::vector<long>{HINT_NEW_READINGS});
    EXPECT_EQ(app.frame.panes[1], "Scans 2");
}

// An instrument that sends nothing is asked again only now and then, and nothing
// else in between; the run goes on and takes its readings once it answers.
TEST_F(ScanEngineTest, ASilentInstrumentIsAskedAgainNowAndThenAndTheRunGoesOn) {
    doc->OnStartScan();
    instrument.batches.push_back({Reading(1, 101, 1.0)});
    Poll();
    host.calls.clear();
    // A bad block is an answer: the poll goes on as usual.
    instrument.readings = false;
    Poll();
    EXPECT_FALSE(doc->GetScanEngine().IsInstrumentSilent());
    EXPECT_EQ(host.calls, std::vector<std::string>{"LogReadingsFailure 1"});

    host.calls.clear();
    host.answers = false;
    m_clock.Advance(1000);
    Poll();
    EXPECT_TRUE(doc->GetScanEngine().IsInstrumentSilent());
    EXPECT_EQ(app.frame.panes[0], "The instrument does not answer");
    EXPECT_TRUE(doc->IsScanning());
    EXPECT_TRUE(PollTimerRunning());
    const int reads = instrument.reads;
    // Polls until the retry leave the instrument alone, its check included.
    for (int i = 0; i < 4; ++i) {
        m_clock.Advance(1000);
        Poll();
    }
    m_clock.Advance(8600);
    EXPECT_EQ(instrument.reads, reads);
    EXPECT_EQ(instrument.Count("IsInstrumentScanning"), 0);
    Poll(); // the retry: still silent, and not logged again
    EXPECT_EQ(instrument.reads, reads + 1);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"LogReadingsFailure 1", "LogReadingsFailure 0"}));
    EXPECT_EQ(instrument.Count("IsInstrumentScanning"), 0);

    // It answers again with what it kept.
    instrument.readings = true;
    instrument.batches.push_back({Reading(2, 101, 1.0), Reading(3, 101, 1.0)});
    m_clock.Advance(CScanEngine::kAnswerRetryInterval);
    Poll();
    EXPECT_FALSE(doc->GetScanEngine().IsInstrumentSilent());
    EXPECT_EQ(app.frame.panes[0], "");
    EXPECT_EQ(doc->GetScanEngine().GetLastScanNumber(), 3);
    EXPECT_EQ(doc->GetDataset()->GetReadingCount(), 3);
    Poll(); // and is asked at every poll again
    EXPECT_EQ(instrument.reads, reads + 3);
    EXPECT_TRUE(doc->IsScanning());
}

TEST_F(ScanEngineTest, ReentryGuardsKeepOrStopTheTimer) {
    doc->OnStartScan();
    instrument.batches.push_back({Reading(1, 101, 1.0)});
    // A tick while a display's instrument action is served: the poll waits.
    int polledInAction = 0;
    view.onUpdate = [&](long hint, const HintObject&) {
        if (hint == HINT_ACTION_RESULT) {
            Poll();
            ++polledInAction;
        }
    };
    CReadingInfo query;
    query.m_channel = 101;
    query.m_request = CReadingInfo::kRequestQuery;
    EXPECT_TRUE(doc->DoInstrumentAction(query, false));
    view.onUpdate = nullptr;
    EXPECT_EQ(polledInAction, 1);
    EXPECT_TRUE(PollTimerRunning());
    EXPECT_EQ(instrument.batches.size(), 1u);
    // A tick with no run on (the timers restarted while idle) stops the timer.
    doc->GetScanEngine().HaltRun();
    doc->RestartTimers();
    ASSERT_TRUE(PollTimerRunning());
    Poll();
    EXPECT_FALSE(PollTimerRunning());
    EXPECT_EQ(instrument.batches.size(), 1u);
}

TEST_F(ScanEngineTest, StopsAfterScanCountWhenTheInstrumentHasStopped) {
    doc->GetScan()->m_stopMode = CFXScan::kStopAfterCount;
    doc->GetScan()->m_scanCount = 10;
    doc->OnStartScan();
    instrument.batches.push_back({Reading(9, 101, 1.0)});
    instrument.batches.push_back({Reading(10, 101, 1.0)});
    instrument.batches.push_back({Reading(10, 102, 1.0)});
    Poll();
    EXPECT_EQ(instrument.Count("IsInstrumentScanning"), 0);
    Poll(); // scan 10 arrived but the instrument still scans
    EXPECT_EQ(instrument.Count("IsInstrumentScanning"), 1);
    EXPECT_TRUE(doc->IsScanning());
    instrument.scanning = false;
    Poll();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(EventTexts().back(), "Test Terminated - Successfully");
}

TEST_F(ScanEngineTest, StopsAtTheStopTime) {
    doc->GetScan()->m_stopMode = CFXScan::kStopTimed;
    doc->GetScan()->m_stopTime = CTime(1700000000 + 5);
    doc->OnStartScan();
    Poll();
    EXPECT_TRUE(doc->IsScanning());
    m_clock.SetNow(1700000000 + 5);
    Poll();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(EventTexts().back(), "Test Terminated - Successfully");
}

TEST_F(ScanEngineTest, InstrumentCheckProcessesTheLastBatchBeforeEnding) {
    doc->OnStartScan();
    instrument.scanning = false;
    instrument.batches.push_back({Reading(1, 101, 1.0)});
    m_clock.Advance(8600);
    Poll();
    EXPECT_EQ(doc->GetDataset()->GetReadingCount(), 1);
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(EventTexts().back(), "Test Terminated - Successfully");
}

TEST_F(ScanEngineTest, AlarmActions) {
    CFXSetup* row = doc->FindSetupRow(101);
    row->Alarms = "High/Low";
    row->AlarmActions = "60;C305;O306;1X0;P301;"; // journal, close, open, pattern
    instrument.digitalState = 0xFF;
    doc->OnStartScan();
    instrument.batches.push_back(
        {Reading(1, 101, kOverloadValue, ReadingAlarmHigh), Reading(1, 102, 5.0, ReadingAlarmLow)});
    view.updates.clear();
    Poll();
    ASSERT_EQ(host.actions.size(), 3u);
    EXPECT_EQ(host.actions[0].m_channel, 305);
    EXPECT_EQ(host.actions[0].m_value, 1.0);
    EXPECT_EQ(host.actions[1].m_channel, 306);
    EXPECT_EQ(host.actions[1].m_value, 0.0);
    EXPECT_EQ(host.actions[2].m_channel, 301);
    EXPECT_EQ(host.actions[2].m_value, 6.0);
    EXPECT_EQ(host.actions[2].m_request, CReadingInfo::kRequestWrite);
    CDatasetEvent journal;
    ASSERT_TRUE(doc->GetEvent(doc->GetEventCount() - 1, journal));
    EXPECT_EQ(journal.m_text, "Scan = 1 , Value = 9.9e+37 (OVLD)");
    EXPECT_EQ(journal.m_type, CDatasetEvent::HighLimit);
    EXPECT_EQ(journal.m_channel, 101);
    EXPECT_EQ(app.frame.panes[3], "Events 1");
    // Row 102 has alarm test Off: nothing.
    EXPECT_EQ(view.Hints(), (std::vector<long>{HINT_READING, HINT_NEW_READINGS}));
}

TEST_F(ScanEngineTest, StopActionEndsWithLimitFailureAndSkipsLaterReadings) {
    CFXSetup* row = doc->FindSetupRow(101);
    row->Alarms = "High Only";
    row->AlarmActions = "1;;;;;";
    CFXSetup* row2 = doc->FindSetupRow(102);
    row2->Alarms = "High Only";
    row2->AlarmActions = "8;C305;;;;";
    doc->OnStartScan();
    instrument.batches.push_back(
        {Reading(1, 101, 9.0, ReadingAlarmHigh), Reading(1, 102, 9.0, ReadingAlarmHigh)});
    Poll();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(doc->GetScanEngine().GetTerminationCode(), 3);
    EXPECT_TRUE(host.actions.empty());
    EXPECT_EQ(EventTexts().back(), "Test Terminated - Limit Failure");
}

TEST_F(ScanEngineTest, ReadingsBeyondTheRequestAreNotTrusted) {
    doc->OnStartScan();
    instrument.overreport = 5000;
    instrument.batches.push_back({Reading(1, 101, 1.0)});
    Poll();
    EXPECT_EQ(instrument.lastAsked, 100);
    EXPECT_LE(doc->GetDataset()->GetReadingCount(), 100);
    EXPECT_TRUE(doc->IsScanning());
}

TEST_F(ScanEngineTest, ComputedReadingsStopAtAFullBuffer) {
    CLoggerDoc& d = *doc;
    d.GetScanEngine().SetReadingBufferCount(CLoggerDoc::kReadingBufferCapacity - 1);
    ReadingRecord computed = Reading(1, 901, 1.0);
    EXPECT_TRUE(d.GetScanEngine().AddComputedReading(computed));
    EXPECT_FALSE(d.GetScanEngine().AddComputedReading(computed));
    EXPECT_EQ(d.GetScanEngine().GetReadingBufferCount(), CLoggerDoc::kReadingBufferCapacity);
}

TEST_F(ScanEngineTest, AlignedReadingsLeaveGapsEmpty) {
    ReadingRecord* buffer = doc->GetReadingBuffer();
    buffer[0] = Reading(5, 101, 1.0);
    buffer[1] = Reading(7, 101, 2.0);
    buffer[2] = Reading(20, 101, 3.0);
    for (int i = 0; i < 3; ++i)
        doc->GetScanEngine().AddReadingToStore(&buffer[i]);
    std::vector<ReadingRecord*> out;
    EXPECT_EQ(doc->GetScanEngine().GetAlignedChannelReadings(101, out, 4, 5), 4);
    EXPECT_EQ(out[0], &buffer[0]);
    EXPECT_EQ(out[1], nullptr);
    EXPECT_EQ(out[2], &buffer[1]);
    EXPECT_EQ(out[3], nullptr); // scan 20 lies beyond the slots
    EXPECT_EQ(doc->GetScanEngine().GetMissingReadings(), 2);
    EXPECT_EQ(doc->GetScanEngine().GetAlignedChannelReadings(104, out, 3, 1), 3);
    EXPECT_EQ(out, (std::vector<ReadingRecord*>{nullptr, nullptr, nullptr}));
}

TEST_F(ScanEngineTest, ListFieldsAndDigitalPatterns) {
    EXPECT_EQ(CScanEngine::GetListField(1, "60;C305;O306;1X0;P301;"), "60");
    EXPECT_EQ(CScanEngine::GetListField(5, "60;C305;O306;1X0;P301;"), "P301");
    EXPECT_EQ(CScanEngine::GetListField(3, "1;;;;;"), "");
    instrument.digitalState = 0x06;
    EXPECT_TRUE(doc->GetScanEngine().DoDigitalAlarmAction(301, "1X0"));
    EXPECT_TRUE(host.actions.empty()); // unchanged value: nothing written
}

TEST_F(ScanEngineTest, AnExceptionInThePollLeavesTheInstrumentForThisRunOnly) {
    doc->OnStartScan();
    instrument.throwOnRead = true;
    Poll();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_EQ(instrument.Count("StopMeasurement"), 0);
    EXPECT_EQ(EventTexts().back(), "Test Terminated - Instrument Failure");
    EXPECT_EQ(doc->GetScan()->m_leaveScanning, 0);
    EXPECT_EQ(prompter.Texts().back(), "link dropped");

    instrument.throwOnRead = false;
    doc->OnStartScan();
    doc->OnStopScan();
    EXPECT_EQ(instrument.Count("StopMeasurement"), 1);
}

// A file size limit stands in for a full disk (in a child, to keep it there):
// the user is told before the end of the run asks to name it, and the stop is
// logged although the file takes nothing more.
TEST_F(ScanEngineTest, AFullDiskIsToldBeforeTheRunIsNamedAndItsStopIsLogged) {
    doc->OnStartScan();
    ASSERT_TRUE(doc->IsScanning());
    const std::string path = doc->GetDatasetStore()->GetPath();
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        // Room for the first flush of the dataset's buffer, not for the second.
        const auto size = static_cast<rlim_t>(std::filesystem::file_size(path)) + 20 * 1024;
        rlimit limit{size, size};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::size_t toldBeforeNaming = 0;
        host.onSaveScanData = [&] { toldBeforeNaming = prompter.asked.size(); };
        for (std::int32_t scan = 1, poll = 0; doc->IsScanning() && poll < 100; ++poll) {
            std::vector<ReadingRecord> batch;
            for (; batch.size() < 99; ++scan)
                for (std::int16_t ch = 101; ch <= 103; ++ch)
                    batch.push_back(Reading(scan, ch, scan));
            instrument.batches.push_back(batch);
            Poll();
        }
        int result = !doc->IsScanning() ? 0 : 1;
        result |= std::count(host.calls.begin(), host.calls.end(), "ShowSaveScanData") == 1 &&
                          toldBeforeNaming == 1
                      ? 0
                      : 2;
        result |=
            prompter.Texts() == std::vector<std::string>{"Readings: No room on the disk."} ? 0 : 4;
        result |= EventTexts().back() == "Test Terminated - Instrument Failure" ? 0 : 8;
        ::_exit(result);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: still scanning, 2: named before told, 4: other messages, 8: no stop logged";
}

// The user stops a run and the readings still in the instrument find no room
// on the disk: the user is told, and the stop is logged.
TEST_F(ScanEngineTest, AStopOnAFullDiskIsToldAndLogged) {
    doc->OnStartScan();
    const std::string path = doc->GetDatasetStore()->GetPath();
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        for (std::int32_t scan = 1; scan <= 3; ++scan)
            instrument.batches.push_back(
                {Reading(scan, 101, scan), Reading(scan, 102, scan), Reading(scan, 103, scan)});
        for (int poll = 0; poll < 3; ++poll)
            Poll();
        const auto size = static_cast<rlim_t>(std::filesystem::file_size(path));
        rlimit limit{size, size};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        instrument.stored = 2000; // more than the dataset's buffer holds
        bool namedBeforeTold = false;
        host.onSaveScanData = [&] { namedBeforeTold = prompter.asked.empty(); };
        doc->OnStopScan();
        int result = !doc->IsScanning() ? 0 : 1;
        result |= namedBeforeTold ? 2 : 0;
        result |=
            prompter.Texts() == std::vector<std::string>{"Readings: No room on the disk."} ? 0 : 4;
        result |= EventTexts().back() == "Test Terminated - By User" ? 0 : 8;
        ::_exit(result);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: still scanning, 2: named before told, 4: other messages, 8: no stop logged";
}

// --- End --------------------------------------------------------------------

TEST_F(ScanEngineTest, StopIsRetriedOnceAndLeaveScanningSkipsIt) {
    doc->OnStartScan();
    instrument.stopFailures = 5;
    doc->OnStopScan();
    EXPECT_EQ(instrument.Count("StopMeasurement"), 2);
    EXPECT_EQ(EventTexts().back(), "Test Terminated - By User");

    instrument.calls.clear();
    instrument.stored = 10;
    doc->GetScan()->m_leaveScanning = 1;
    doc->OnStartScan();
    doc->OnStopScan();
    EXPECT_EQ(instrument.Count("StopMeasurement"), 0);
    EXPECT_EQ(instrument.Count("FetchReadings"), 0);
}

TEST_F(ScanEngineTest, StopAsksOnlyWithAStopCondition) {
    doc->GetScan()->m_stopMode = CFXScan::kStopAfterCount;
    doc->GetScan()->m_scanCount = 100;
    doc->OnStartScan();
    prompter.Script({MsgAnswer::No});
    doc->OnStopScan();
    EXPECT_TRUE(doc->IsScanning());
    EXPECT_EQ(prompter.Texts().back(), scantext::kConfirmStop);
    prompter.Script({MsgAnswer::Yes});
    doc->OnStopScan();
    EXPECT_FALSE(doc->IsScanning());
}

TEST_F(ScanEngineTest, UploadFetchesInBlocksWithProgress) {
    doc->OnStartScan();
    instrument.stored = 250;
    host.saveAnswer.ok = true;
    doc->OnStopScan();
    EXPECT_EQ(instrument.Count("FetchReadings"), 3);
    EXPECT_TRUE(host.progressShown);
    EXPECT_EQ(host.progress, (std::vector<int>{2, 40, 80, 100}));
    EXPECT_EQ(doc->GetDataset()->GetReadingCount(), 250);
    EXPECT_EQ(doc->GetScanEngine().GetState(), CScanEngine::State::Idle);
    EXPECT_EQ(EventTexts().back(), "Test Terminated - By User");
}

// The upload's state never outlives it, also when the link fails under it.
TEST_F(ScanEngineTest, AFailedUploadLeavesItsStateBehind) {
    doc->OnStartScan();
    ASSERT_EQ(doc->GetScanEngine().GetState(), CScanEngine::State::Scanning);
    instrument.stored = 250;
    instrument.throwOnFetch = true;
    EXPECT_ANY_THROW(doc->GetScanEngine().UploadRemainingReadings());
    EXPECT_EQ(doc->GetScanEngine().GetState(), CScanEngine::State::Scanning);
}

TEST_F(ScanEngineTest, UploadCancelAndSmallUploads) {
    doc->OnStartScan();
    instrument.stored = 250;
    host.cancelAfter = 1;
    doc->OnStopScan();
    EXPECT_EQ(instrument.Count("FetchReadings"), 1);
    EXPECT_EQ(doc->GetDataset()->GetReadingCount(), 100);
    EXPECT_EQ(EventTexts().back(), "Test Terminated - By User");

    host.progressShown = false;
    instrument.calls.clear();
    instrument.stored = 60;
    doc->OnStartScan();
    doc->OnStopScan();
    EXPECT_EQ(instrument.Count("FetchReadings"), 1);
    EXPECT_FALSE(host.progressShown);
}

TEST_F(ScanEngineTest, AFetchCountBeyondTheRequestIsHeldToTheBuffer) {
    doc->OnStartScan();
    instrument.stored = 30;
    instrument.fetchOverreport = 10000;
    doc->OnStopScan();
    EXPECT_LE(doc->GetDataset()->GetReadingCount(), 100);
}

TEST_F(ScanEngineTest, NoReadingsNoSaveQuestion) {
    doc->OnStartScan();
    doc->OnStopScan();
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "ShowSaveScanData"), 0);

    instrument.batches.push_back({Reading(1, 101, 1.0)});
    doc->OnStartScan();
    Poll();
    doc->OnStopScan();
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "ShowSaveScanData"), 1);
    EXPECT_EQ(operations.calls.back(), "SaveDataset"); // closed without OK: default save
}

// Closes the run's dataset as the program puts it away and opens it again.
void PutAwayAndReopen(CLoggerDoc& doc, CDatasetStore& store, CDataset& stored) {
    const std::string path = doc.GetDatasetStore()->GetPath();
    doc.GetDataset()->Close();
    doc.GetDatasetStore()->Close();
    ASSERT_TRUE(store.Open(path, STGM_READWRITE | STGM_SHARE_EXCLUSIVE));
    ASSERT_TRUE(stored.Open(&store, "Run1"));
}

TEST_F(ScanEngineTest, AFullDatasetEndsTheRunWithEveryReadingThatFitStored) {
    // Room for ten readings: three polls of three, then one more of the fourth.
    doc->GetDataset()->SetReadingLimit(10 * 26 + 25);
    instrument.stored = 50; // what the instrument still holds is not fetched
    doc->OnStartScan();
    for (std::int32_t scan = 1; scan <= 4; ++scan)
        instrument.batches.push_back(
            {Reading(scan, 101, scan), Reading(scan, 102, scan), Reading(scan, 103, scan)});
    for (int poll = 0; poll < 4; ++poll)
        Poll();
    EXPECT_FALSE(doc->IsScanning());
    EXPECT_FALSE(PollTimerRunning());
    EXPECT_EQ(EventTexts().back(), "Test Terminated - Dataset Full");
    EXPECT_EQ(instrument.Count("StopMeasurement"), 1);
    EXPECT_EQ(instrument.Count("FetchReadings"), 0);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, scantext::kDatasetFull);

    // The dataset is put away whole and reads back.
    CDatasetStore store;
    CDataset stored;
    ASSERT_NO_FATAL_FAILURE(PutAwayAndReopen(*doc, store, stored));
    EXPECT_EQ(stored.GetReadingCount(), 10);
    ReadingRecord back[12];
    ASSERT_EQ(stored.ReadReadings(back, 12, 0), 10);
    EXPECT_EQ(+back[9].ScanNumber, 4);
    EXPECT_EQ(+back[9].Channel, 101);
}

TEST_F(ScanEngineTest, TheEndOfARunSetsWhereTheDataViewsOpen) {
    doc->OnStartScan();
    for (std::int32_t scan = 1; scan <= 3; ++scan)
        instrument.batches.push_back(
            {Reading(scan, 101, 1.0), Reading(scan, 102, 2.0), Reading(scan, 103, 3.0)});
    for (int poll = 0; poll < 3; ++poll)
        Poll();
    m_clock.Advance(2500);
    doc->OnStopScan();
    // The run's elapsed time and its last scan, kept in the header.
    CDatasetStore store;
    CDataset stored;
    ASSERT_NO_FATAL_FAILURE(PutAwayAndReopen(*doc, store, stored));
    EXPECT_EQ(stored.GetBrowsePosition(), 2500.0);
    EXPECT_EQ(stored.GetBrowseScan(), 2);
}

TEST_F(ScanEngineTest, EndKeepsTheSetupLoadedFlag) {
    doc->SetSetupLoaded(true);
    doc->OnStartScan();
    doc->OnStopScan();
    EXPECT_TRUE(doc->IsSetupLoaded());
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "CreateDataBrowser"), 1);
}

TEST_F(ScanEngineTest, TheRunFlagSaysTheLastRunLeftReadings) {
    const CScanEngine& engine = doc->GetScanEngine();
    host.saveAnswer.ok = true;
    const auto runWithOneReading = [this] {
        instrument.batches.push_back({Reading(1, 101, 1.0)});
        doc->OnStartScan();
        Poll();
        doc->OnStopScan();
    };
    doc->OnStartScan();
    doc->OnStopScan();
    EXPECT_FALSE(engine.HasRunData());

    runWithOneReading();
    EXPECT_TRUE(engine.HasRunData());
    doc->OnStartScan();
    EXPECT_FALSE(engine.HasRunData());
    doc->OnStopScan();

    runWithOneReading();
    ASSERT_TRUE(engine.HasRunData());
    doc->DeleteContents();
    EXPECT_FALSE(engine.HasRunData());
}

// --- Computed channels on the reading path ------------------------------------

TEST_F(ScanEngineTest, ComputedChannelsFollowTheLastChannelOfAScan) {
    AddComputedSum(*doc);
    doc->OnStartScan();
    instrument.batches.push_back({Reading(1, 101, 1.0), Reading(1, 102, 2.0)});
    instrument.batches.push_back({Reading(1, 103, 3.0)});
    Poll();
    std::vector<ReadingRecord*> list;
    EXPECT_EQ(doc->GetChannelReadings(901, list), 0); // no scan completed yet
    Poll();
    ASSERT_EQ(doc->GetChannelReadings(901, list), 1);
    EXPECT_EQ(double{list[0]->Value}, 3.0);
    doc->GetDataset()->WriteHeader();
    EXPECT_EQ(doc->GetDataset()->GetReadingCount(), 3); // computed readings are not stored
}

// The channel that completes a scan: the highest the setup scans while the
// dataset is empty (computed and switched-off rows aside), then the highest of
// the dataset's last scan.
TEST_F(ScanEngineTest, TheLastChannelOfAScanComesFromTheSetupThenFromTheReadings) {
    AddComputedSum(*doc);
    EXPECT_EQ(LastScanMaxChannel(doc->GetDataset(), doc->GetSetup()), 103);
    doc->GetSetupRow(2)->ChannelMode = 0;
    EXPECT_EQ(LastScanMaxChannel(doc->GetDataset(), doc->GetSetup()), 102);
    const ReadingRecord readings[] = {Reading(1, 101, 1.0), Reading(1, 102, 2.0),
                                      Reading(1, 103, 3.0), Reading(2, 101, 1.0),
                                      Reading(2, 102, 2.0)};
    ASSERT_TRUE(doc->GetDataset()->AppendReadings(readings, 5));
    doc->GetDataset()->WriteHeader();
    doc->GetSetupRow(2)->ChannelMode = 1;
    EXPECT_EQ(LastScanMaxChannel(doc->GetDataset(), doc->GetSetup()), 102);
    EXPECT_EQ(LastScanMaxChannel(nullptr, nullptr), 0);
}

} // namespace
} // namespace tvane::test
