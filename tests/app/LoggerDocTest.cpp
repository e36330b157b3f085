#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include "app/CLoggerDoc.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "platform/core/Folders.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/profile/Profile.h"
#include "scan/CChannelArray.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/CRunRecord.h"
#include "tests/app/LoggerDocFixture.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;

CFXSetup* AddRow(CLoggerDoc& doc, std::uint32_t channel, const std::string& module = "KXQT7101") {
    auto* row = new CFXSetup;
    row->Name = module;
    row->Channel = channel;
    CFXSetupArray& setup = *doc.GetSetup();
    setup.SetOwnsRows(1);
    setup.SetSetup(setup.GetSize(), row);
    return row;
}

TEST_F(LoggerDocTest, ConstructedDocumentHasItsDefaults) {
    CLoggerDoc& d = MakeDocument();
    EXPECT_FALSE(d.IsSetupLoaded());
    EXPECT_TRUE(d.IsNeverSaved());
    EXPECT_FALSE(d.IsScanning());
    EXPECT_EQ(d.GetMonitorChannel(), 0u);
    EXPECT_EQ(d.GetMonitorInterval(), 5000u);
    EXPECT_EQ(d.GetScanEngine().GetScanPollInterval(), 155u);
    EXPECT_EQ(d.GetScanEngine().GetInstrumentCheckInterval(), 8600u);
    EXPECT_EQ(d.GetScanEngine().GetStartCountdownInterval(), 1000u);
    EXPECT_EQ(d.GetScanEngine().GetCountdownDisplayInterval(), 1000u);
    EXPECT_EQ(d.GetScanEngine().GetReadingsPerPoll(), 100);
    EXPECT_EQ(d.GetScanEngine().GetTerminationCode(), 2);
    EXPECT_EQ(d.GetScanEngine().ScanTimer().Id(), 3211u);
    EXPECT_EQ(d.GetScanEngine().StartTimer().Id(), 3212u);
    // Missing ini values select the defaults.
    EXPECT_EQ(d.GetScanEngine().GetAutoSaveInterval(), 14000u);

    // The reading buffer: 2520 zeroed records.
    ASSERT_NE(d.GetReadingBuffer(), nullptr);
    EXPECT_EQ(d.GetScanEngine().GetReadingBufferCapacity(), 2520);
    static const ReadingRecord zero{};
    for (int i = 0; i < 2520; ++i)
        ASSERT_EQ(std::memcmp(&d.GetReadingBuffer()[i], &zero, sizeof zero), 0) << i;

    // Owned objects exist; the export request names the first free csv file.
    EXPECT_NE(d.GetSetup(), nullptr);
    EXPECT_NE(d.GetComputedChannels(), nullptr);
    EXPECT_NE(d.GetChannelMath(), nullptr);
    EXPECT_NE(d.GetScan(), nullptr);
    EXPECT_NE(d.GetUndo(), nullptr);
    EXPECT_NE(d.GetDataset(), nullptr);
    EXPECT_NE(d.GetDatasetStore(), nullptr);
    EXPECT_EQ(d.GetExportRequest().m_startTime, -1.0);
    EXPECT_EQ(d.GetExportRequest().m_eventEndTime, -1.0);
    EXPECT_EQ(
        std::filesystem::path(d.GetExportRequest().m_fileName).filename().string().substr(0, 6),
        "export");
    EXPECT_EQ(d.GetExportRequest().m_previousFileName, d.GetExportRequest().m_fileName);
    // Time formats are the formatter's expansions, with milliseconds where asked.
    EXPECT_NE(d.GetDateTimeMsFormat().find("%l"), std::string::npos);
    EXPECT_NE(d.GetTimeMsFormat().find("%l"), std::string::npos);
    EXPECT_EQ(d.GetTimeFormat().find("%l"), std::string::npos);
    EXPECT_EQ(d.GetDateTimeFormat(), d.GetDateFormat() + " " + d.GetTimeFormat());
    // Before any run events are stamped from the time bound before a scan.
    EXPECT_EQ(d.GetElapsedRunTime(), CLoggerDoc::kBeforeScan);
}

TEST_F(LoggerDocTest, SettingsFromTheIniFile) {
    struct Case {
        const char* autoSave;
        std::uint32_t interval;
    } cases[] = {
        {"3", 3000},         {"0", 14000}, {"abc", 14000}, {"-5", 14000}, // would never flush
        {"99999999", 14000},                                              // ms do not fit 32 bits
    };
    for (const Case& c : cases) {
        WritePrivateProfileString("Settings", "AutoSaveIntervalSeconds", std::string(c.autoSave),
                                  "Tvane.ini");
        CLoggerDoc& d = MakeDocument();
        EXPECT_EQ(d.GetScanEngine().GetAutoSaveInterval(), c.interval) << c.autoSave;
    }
}

TEST_F(LoggerDocTest, RestartAndStopTimers) {
    CLoggerDoc& d = MakeDocument();
    FakeTimerService& timers = app.frame.timers;
    AddRow(d, 101)->ChannelMode = 1; // a channel the monitor can read
    d.SetSetupInInstrument(true);
    for (double interval : {1.9, 2.0}) {
        d.GetScan()->m_scanInterval = interval;
        d.ConfigureMonitorChannel(101);
        d.StartMonitorTimer(5000);
        ASSERT_TRUE(timers.IsActive(3314));
        operations.calls.clear();
        m_clock.SetTick(10000);
        d.RestartTimers();
        const bool countdown = interval >= 2.0;
        EXPECT_EQ(d.GetScanEngine().ShowsCountdown(), countdown ? 1 : 0) << interval;
        EXPECT_EQ(!operations.calls.empty(), countdown) << interval;
        EXPECT_TRUE(timers.IsActive(3211));
        EXPECT_EQ(timers.Elapse(3211), 155u);
        EXPECT_FALSE(timers.IsActive(3314)); // stopped, and not started here
        EXPECT_EQ(d.GetScanEngine().AutoSaveTimer().Interval(), 14000u);
        EXPECT_EQ(d.GetScanEngine().InstrumentCheckTimer().Interval(), 8600u);
        // The poll reads the monitor channel once its interval has passed.
        EXPECT_FALSE(d.IsMonitorReadDue(14999));
        EXPECT_TRUE(d.IsMonitorReadDue(15000));
        EXPECT_EQ(d.GetScanEngine().AutoSaveTimer().StartTick(), 10000u);
        EXPECT_FALSE(d.GetScanEngine().AutoSaveTimer().IsDue(23999));
        EXPECT_TRUE(d.GetScanEngine().AutoSaveTimer().IsDue(24000));
    }
    d.StopTimers();
    EXPECT_FALSE(timers.IsActive(3211));
    EXPECT_FALSE(timers.IsActive(3212));
    EXPECT_FALSE(timers.IsActive(3314));
    EXPECT_EQ(d.GetScanEngine().AutoSaveTimer().StartTick(), 0u);
    EXPECT_EQ(d.GetScanEngine().InstrumentCheckTimer().StartTick(), 0u);
}

TEST_F(LoggerDocTest, RowLookups) {
    CLoggerDoc& d = MakeDocument();
    CFXSetup* first = AddRow(d, 101);
    CFXSetup* second = AddRow(d, 102);
    AddRow(d, 102); // a duplicate number: the first row wins
    EXPECT_EQ(d.FindSetupRow(102), second);
    EXPECT_EQ(d.FindSetupRow(999), nullptr);
    EXPECT_EQ(d.GetSetupRow(0), first);
    EXPECT_EQ(d.GetSetupRow(7), nullptr);
    EXPECT_EQ(d.GetGridRow(101), 2);
    EXPECT_EQ(d.GetGridRow(102), 3);
    EXPECT_EQ(d.GetGridRow(555), 0);
}

TEST_F(LoggerDocTest, ExportFileNames) {
    CLoggerDoc& d = MakeDocument();
    const auto path = [&](int n) {
        return (home.Data() / ("export" + std::to_string(n) + ".csv")).string();
    };
    const auto create = [](const std::string& file) { std::ofstream{file}; };
    // The counter is the program's: it starts where earlier names left it.
    const std::string first = d.MakeExportFileName("csv");
    const int k = std::stoi(fs::path(first).stem().string().substr(6));
    ASSERT_LT(k, 4997);
    EXPECT_EQ(first, path(k));
    // The counter stays on a free name until the file exists.
    EXPECT_EQ(d.MakeExportFileName("csv"), path(k));
    create(path(k));
    create(path(k + 1));
    EXPECT_EQ(d.MakeExportFileName("csv"), path(k + 2));
    EXPECT_EQ(d.MakeExportFileName("txt"),
              (home.Data() / ("export" + std::to_string(k + 2) + ".txt")).string());

    // All of 1..4999 taken: the name with 1 again, without a test.
    for (int n = 1; n < 5000; ++n)
        create(path(n));
    EXPECT_EQ(d.MakeExportFileName("csv"), path(1));
    // The counter starts again from 1.
    fs::remove(path(2));
    EXPECT_EQ(d.MakeExportFileName("csv"), path(2));

    // No data directory known yet: the data folder, never the file system's root.
    app.state.m_dataDir.clear();
    EXPECT_EQ(fs::path(d.MakeExportFileName("csv")).parent_path(), DataDir());
}

TEST_F(LoggerDocTest, ViewsReceiveHintsWithTypedPayloads) {
    CLoggerDoc& d = MakeDocument();
    RecordingView setupView(IView::kSetupView), graphView(IView::kGraphView), other;
    d.AddView(&other);
    d.AddView(&setupView);
    d.AddView(&graphView);
    EXPECT_EQ(d.GetSetupView(), &setupView);

    CRunRecord run;
    CDatasetEvent event;
    d.UpdateAllViews(&setupView, HINT_EVENT, &run);
    d.UpdateAllViews(nullptr, HINT_EVENT, &event);
    ASSERT_EQ(setupView.updates.size(), 1u); // not told of its own change
    ASSERT_EQ(other.updates.size(), 2u);
    EXPECT_EQ(other.updates[0].sender, &setupView);
    EXPECT_EQ(other.updates[0].object.As<CRunRecord>(), &run);
    EXPECT_EQ(other.updates[0].object.As<CDatasetEvent>(), nullptr);
    EXPECT_EQ(other.updates[1].object.As<CDatasetEvent>(), &event);
    EXPECT_EQ(other.updates[1].object.As<CRunRecord>(), nullptr);

    // A view leaving while the hint goes round is not told afterwards.
    other.onUpdate = [&](long, const HintObject&) { d.RemoveView(&graphView); };
    d.UpdateAllViews(nullptr, HINT_SCAN_STATE);
    EXPECT_EQ(graphView.updates.size(), 2u);
    d.RefreshAllViews();
    EXPECT_EQ(setupView.refreshes, 1);
}

TEST_F(LoggerDocTest, NewDocumentResetsAndAnnounces) {
    CLoggerDoc& d = MakeDocument();
    RecordingView view;
    d.AddView(&view);
    AddRow(d, 101)->ChannelMode = 1;
    d.SetSetupInInstrument(true);
    d.ConfigureMonitorChannel(101);
    ASSERT_EQ(d.GetMonitorChannel(), 101);
    d.SetSetupLoaded(true);
    d.SetNeverSaved(false);
    ReadingRecord latest;
    latest.Channel = 101;
    d.GetScanEngine().KeepLatestReading(latest);
    app.state.m_flags = {0, 3, 3, 3};
    m_clock.SetTick(777);

    EXPECT_TRUE(d.OnNewDocument());
    EXPECT_EQ(d.GetSetup()->GetSize(), 0);
    EXPECT_EQ(d.GetMonitorChannel(), 0u);
    EXPECT_FALSE(d.IsSetupLoaded());
    EXPECT_TRUE(d.IsNeverSaved());
    EXPECT_FALSE(d.IsSetupInInstrument());
    EXPECT_FALSE(d.GetScanEngine().HasRunData());
    EXPECT_EQ(d.GetScanEngine().GetLatestReading(101), nullptr);
    EXPECT_EQ(d.GetStartTick(), 777.0);
    EXPECT_EQ(d.GetScanEngine().GetPollTick(), 777.0);
    EXPECT_TRUE(d.IsModified());
    EXPECT_EQ(app.state.m_flags, (std::array<std::int32_t, 4>{1, 0, 0, 0}));
    EXPECT_EQ(view.Hints(), std::vector<long>{HINT_NEW_DOCUMENT});
}

TEST_F(LoggerDocTest, SaveModeFollowsTheDocumentState) {
    CLoggerDoc& d = MakeDocument();
    struct Case {
        std::int32_t neverSaved;
        std::int32_t secondFlag;
        const char* path;
        int mode;
    } cases[] = {
        {1, 1, "a", 2},
        {0, 1, "", 1},
        {0, 0, "", 0},
        {0, 0, "a", 3},
    };
    for (const Case& c : cases) {
        d.SetNeverSaved(c.neverSaved);
        app.state.m_flags[1] = c.secondFlag;
        EXPECT_TRUE(d.DoSave(c.path));
        EXPECT_EQ(operations.saveMode, c.mode);
    }
    services.operations = nullptr;
    Wire();
    EXPECT_FALSE(d.DoSave("a")); // nothing can save
}

TEST_F(LoggerDocTest, CreateNewSetup) {
    CLoggerDoc& d = MakeDocument();
    RecordingView view;
    d.AddView(&view);
    operations.rows = {{"KXQT7103", 101}, {"KXQT7101", 201}, {"KXQT7101", 202}};
    // Without a database the module cards count nothing: the array cannot be sized.
    EXPECT_FALSE(d.CreateNewSetup(app.state, 0, false));
    EXPECT_TRUE(view.updates.empty());
    EXPECT_EQ(operations.calls,
              (std::vector<std::string>{"CreateSetupStorage", "GetLastScanMaxChannel"}));
    EXPECT_TRUE(d.IsSetupLoaded());
}

TEST_F(LoggerDocTest, DestructionDiscardsOrDropsTheEmptyRun) {
    app.state.m_setupName = "S1";
    app.state.m_datasetName = "Data 1";
    app.discard = true;
    MakeDocument();
    doc.reset();
    EXPECT_EQ(operations.calls, std::vector<std::string>{"DeleteSetup S1"});

    operations.calls.clear();
    app.discard = false;
    MakeDocument();
    doc.reset();
    EXPECT_EQ(operations.calls, std::vector<std::string>{"DeleteDataset"});
    EXPECT_TRUE(app.state.m_datasetName.empty());
}

TEST_F(LoggerDocTest, ReadingTimeTexts) {
    CLoggerDoc& d = MakeDocument();
    const std::string start = d.FormatTimeMs(d.GetDocumentTime(), 0);
    struct Case {
        double time;
        std::string text;
    } cases[] = {
        {-1e12, "After Scan"},
        {-2e12, "After Scan"},
        {-1e12 + 1.0, "Before Scan"},
        {-1.0, "Before Scan"},
        {0.0, start},
        {61250.0, d.FormatTimeMs(d.GetDocumentTime() + 61, 250)},
        // Beyond any run (a damaged document's times): no text.
        {1.55e73, ""},
        {1e15, ""},
        {std::numeric_limits<double>::infinity(), ""},
        {std::numeric_limits<double>::quiet_NaN(), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(d.FormatReadingTime(c.time), c.text) << c.time;
}

TEST_F(LoggerDocTest, SaveCommands) {
    CLoggerDoc& d = MakeDocument();
    FakeSetupEditor editor;
    app.editor = &editor;
    d.SetNeverSaved(false);
    d.SetPathName("/data/X1.000");
    EXPECT_TRUE(d.OnCmdMsg(CLoggerDoc::kCommandFileSave));
    EXPECT_EQ(editor.validations, 1);
    EXPECT_EQ(operations.saveMode, 3);
    EXPECT_TRUE(d.OnCmdMsg(CLoggerDoc::kCommandFileSaveAs));
    EXPECT_EQ(operations.saveMode, 0);
    EXPECT_EQ(editor.validations, 2) << "Save As finishes the cell edit as Save does";

    // Scanning blocks both.
    d.GetScanEngine().BeginRun();
    operations.saveMode = -1;
    EXPECT_FALSE(d.IsCommandEnabled(CLoggerDoc::kCommandFileSave));
    EXPECT_TRUE(d.IsCommandEnabled(CLoggerDoc::kCommandScanSettings));
    EXPECT_TRUE(d.OnCmdMsg(CLoggerDoc::kCommandFileSave));
    EXPECT_TRUE(d.OnCmdMsg(CLoggerDoc::kCommandFileSaveAs));
    EXPECT_EQ(operations.saveMode, -1);
    EXPECT_FALSE(d.OnCmdMsg(800)); // not the document's own
}

TEST_F(LoggerDocTest, StateRecordNames) {
    CStateInfo state;
    state.m_dataDir = "/data";
    state.m_setupName = "Bench";
    state.m_setupFile = "/data/X1.000";
    state.m_datasetName = "Data 1";
    state.m_modules = {"KXQT7101", "", ""};
    state.m_flags = {1, 2, 3, 4};
    state.SaveRecentNames();

    CStateInfo copy = state;
    copy.ClearNames();
    EXPECT_EQ(copy.m_dataDir, "/data");
    EXPECT_EQ(copy.m_flags, state.m_flags);
    EXPECT_TRUE(copy.m_setupName.empty() && copy.m_setupFile.empty() &&
                copy.m_datasetName.empty() && copy.m_modules[0].empty());
    copy.LoadRecentNames();
    EXPECT_EQ(copy.m_setupName, "Bench");
    EXPECT_EQ(copy.m_datasetName, "Data 1");
}

} // namespace
} // namespace tvane::test
