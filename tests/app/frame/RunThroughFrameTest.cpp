// A whole run through the main window: Start Scan on F5, polls from the
// window's timers, Stop Scan on F9, on the simulated instrument and the seed
// workspace; the dataset file read back by an independent reader.
#include <cstdio>
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"

#include "app/CInstrumentConnection.h"
#include "app/eventlog/CEventFrame.h"
#include "app/eventlog/CEventView.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/SeedDatabase.h"
#include "platform/com/Activation.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/COleKXQT7100.h"
#include "scan/records/CChannelConfig.h"
#include "shared/DocumentHints.h"
#include "shared/IView.h"
#include "tests/app/ComputedSumRow.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/database/OdbcTestSupport.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

// Presses Start in the Scan Status window once it is up, with "Don't show this
// dialog on subsequent runs." ticked.
void StartFromScanStatus(bool& shown, int triesLeft = 50) {
    QTimer::singleShot(10, [&shown, triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = dynamic_cast<CScanStatusDialog*>(w); dialog && dialog->isVisible()) {
                shown = true;
                dialog->DontShow()->setChecked(true);
                dialog->StartButton()->click();
                return;
            }
        if (triesLeft > 0)
            StartFromScanStatus(shown, triesLeft - 1);
    });
}

// Reads the event log window's rows (type and description) when the run's end
// is announced, before its dataset is put away.
struct EventRowsAtStop final : IView {
    EventRowsAtStop(CEventView& table, std::vector<std::string>& rows) : table(table), rows(rows) {}
    void OnUpdate(IView*, long hint, const HintObject& object) override {
        auto* e = object.As<CDatasetEvent>();
        if (hint != HINT_READING || e == nullptr || e->m_type != CDatasetEvent::Stop)
            return;
        for (int row = 1; row <= table.Core().GetRowCount(); ++row)
            for (int col : {1, 4})
                rows.push_back(table.Core().GetCellText(row, col));
    }
    CEventView& table;
    std::vector<std::string>& rows;
};

// Closes the driver's settings sheet once it is up; its caption tells it.
void CloseSettingsSheet(bool& shown, int triesLeft = 50) {
    QTimer::singleShot(10, [&shown, triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* sheet = qobject_cast<QDialog*>(w);
                sheet && sheet->isVisible() &&
                sheet->windowTitle() == "OrvantaQT7100 Instrument Settings") {
                shown = true;
                sheet->reject();
                return;
            }
        if (triesLeft > 0)
            CloseSettingsSheet(shown, triesLeft - 1);
    });
}

// Closes the Save Scan Data window without OK once it is up: the run is kept
// under its default name.
void CloseSaveScanData(bool& shown, int triesLeft = 200) {
    QTimer::singleShot(10, [&shown, triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = dynamic_cast<CSaveScanDataDialog*>(w);
                dialog && dialog->isVisible()) {
                shown = true;
                dialog->reject();
                return;
            }
        if (triesLeft > 0)
            CloseSaveScanData(shown, triesLeft - 1);
    });
}

TEST(RunThroughFrame, StartAndStopFromTheWindowStoreEveryReading) {
    TestApp();
    SimulatedProgram program;
    program.Start();
    if (HasFatalFailure())
        return;
    FakeClock& clock = program.clock;
    CStateInfo& state = program.state;
    const std::filesystem::path& database = program.database;
    CInstrumentConnection& connection = program.connection;
    COleKXQT7100& binding = program.Binding();

    CMainFrame frame;
    {
        // "Start Scanning Window" is "Y": the Scan Status window comes before the run.
        CAppPreferences preferences;
        preferences.Initialize();
        DocumentWiring wiring(state, &connection, &frame, &preferences);
        CLoggerDoc& doc = wiring.Document();
        // Three measured channels and one computed sum of the first two.
        program.MakeSetup(doc, 3, 1);
        if (HasFatalFailure())
            return;
        AddComputedSum(doc);
        ASSERT_TRUE(binding.SetScanInterval(1.0));
        ASSERT_TRUE(binding.InitInstrument());
        doc.GetScan()->m_scanInterval = 1.0;
        doc.SetSetupInInstrument(true);
        doc.SetModifiedFlag(false);

        EventLogView log;
        doc.AddView(&log);
        frame.UpdateToolbars(); // the setup opens the commands
        ASSERT_TRUE(frame.Action(cmd::kStartScan)->isEnabled());
        bool statusShown = false;
        StartFromScanStatus(statusShown);
        frame.Action(cmd::kStartScan)->trigger();
        EXPECT_TRUE(statusShown);
        std::string showAgain;
        EXPECT_TRUE(preferences.GetPrefValue(CAppPreferences::kStartScanningWindow, showAgain));
        EXPECT_EQ(showAgain, "N");
        ASSERT_EQ(doc.IsScanning(), 1);
        ASSERT_TRUE(frame.Timers().IsActive(CMainFrame::kScanTimer));
        EXPECT_EQ(frame.Action(cmd::kStartScan)->shortcut(), QKeySequence(Qt::Key_F5));
        std::int32_t filed = 0, computedSeen = 0;
        for (int poll = 0; poll < 5; ++poll) {
            clock.Advance(1000);
            frame.OnTimer(CMainFrame::kScanTimer); // what the window's timer delivers
            filed += doc.GetScanEngine().GetBatchCount();
            std::vector<ReadingRecord*> list;
            computedSeen += doc.GetChannelReadings(901, list);
        }
        // Three measured channels and the computed one in each of five scans.
        EXPECT_EQ(computedSeen, 5);
        EXPECT_EQ(filed, 20);
        CDataset* dataset = doc.GetDataset();
        ASSERT_NE(dataset, nullptr);
        const std::string path = doc.GetDatasetStore()->GetPath();
        const std::string key = dataset->GetKey();

        // The event log window lists the run's events until it ends.
        ASSERT_NE(frame.EventFrame(), nullptr);
        CEventView& table = *frame.EventFrame()->View();
        std::vector<std::string> logRows;
        EventRowsAtStop rowsAtStop{table, logRows};
        doc.AddView(&rowsAtStop);
        EXPECT_EQ(frame.Action(cmd::kStopScan)->shortcut(), QKeySequence(Qt::Key_F9));
        bool saveShown = false;
        CloseSaveScanData(saveShown);
        frame.Action(cmd::kStopScan)->trigger();
        EXPECT_TRUE(saveShown);
        doc.RemoveView(&rowsAtStop);
        EXPECT_EQ(doc.IsScanning(), 0);
        EXPECT_FALSE(frame.Timers().IsActive(CMainFrame::kScanTimer));
        EXPECT_EQ(log.texts, (std::vector<std::string>{"Test Started - Immediate",
                                                       "Test Terminated - By User"}));
        doc.RemoveView(&log);
        // The event log window showed the run's events; at the end the run's
        // dataset was stored and a fresh one, with an empty log, became current.
        EXPECT_EQ(logRows, (std::vector<std::string>{"Start", "Test Started - Immediate", "Stop",
                                                     "Test Terminated - By User"}));
        EXPECT_EQ(doc.GetEventCount(), 0);
        EXPECT_EQ(table.Core().GetRowCount(), 0);

        // Instrument Settings reaches the driver's own sheet through the binding.
        frame.UpdateToolbars();
        ASSERT_TRUE(frame.Action(cmd::kInstrumentSettings)->isEnabled());
        bool sheetShown = false;
        CloseSettingsSheet(sheetShown);
        frame.Action(cmd::kInstrumentSettings)->trigger();
        EXPECT_TRUE(sheetShown);

        // The run's dataset is listed in the workspace.
        EXPECT_NE(Sqlite3(database, "SELECT DatasetKey FROM Dataset;").find(key),
                  std::string::npos);
        doc.CloseDatasetStore();
        const std::string command =
            "/usr/bin/python3 -c \"import olefile,sys; f=olefile.OleFileIO(sys.argv[1]); "
            "print(f.get_size(sys.argv[2] + '/Readings'))\" '" +
            path + "' '" + key + "'";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char line[64] = {0};
        const bool read = fgets(line, sizeof line, pipe) != nullptr;
        EXPECT_EQ(pclose(pipe), 0);
        ASSERT_TRUE(read);
        // Every measured reading is in the file; computed ones are derived on reading.
        EXPECT_EQ(std::stoi(line), (filed - computedSeen) * 26);
    }
}

TEST(RunThroughFrame, ARunWithADownloadKeepsItsEventsInTheOrderTheSearchesUse) {
    TestApp();
    SimulatedProgram program;
    program.Start();
    if (HasFatalFailure())
        return;
    CMainFrame frame;
    std::string path, key;
    {
        CAppPreferences preferences;
        preferences.Initialize();
        preferences.SetPrefValue(CAppPreferences::kStartScanningWindow, "N");
        DocumentWiring wiring(program.state, &program.connection, &frame, &preferences);
        CLoggerDoc& doc = wiring.Document();
        program.MakeSetup(doc, 2);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(program.Binding().SetScanInterval(1.0));
        doc.GetScan()->m_scanInterval = 1.0;
        // The setup is not in the instrument: Start Scan downloads it first, and
        // the download is logged before the run's clock runs.
        doc.SetSetupInInstrument(false);
        doc.SetModifiedFlag(false);
        frame.UpdateToolbars();
        frame.Action(cmd::kStartScan)->trigger();
        ASSERT_EQ(doc.IsScanning(), 1);
        for (int poll = 0; poll < 3; ++poll) {
            program.clock.Advance(1000);
            frame.OnTimer(CMainFrame::kScanTimer);
        }
        CDatasetEvent note(CDatasetEvent::User, -1, doc.GetElapsedRunTime(), "a note");
        doc.AddEvent(note);
        program.clock.Advance(500);
        path = doc.GetDatasetStore()->GetPath();
        key = doc.GetDataset()->GetKey();
        bool saveShown = false;
        CloseSaveScanData(saveShown);
        frame.Action(cmd::kStopScan)->trigger();
        EXPECT_TRUE(saveShown);
        ASSERT_EQ(doc.IsScanning(), 0);
        doc.CloseDatasetStore();
    }

    CDatasetStore store;
    ASSERT_TRUE(store.Open(path, STGM_READWRITE | STGM_SHARE_EXCLUSIVE));
    CDataset run;
    ASSERT_TRUE(run.Open(&store, key));
    std::vector<std::uint32_t> types;
    std::vector<double> times;
    CDatasetEvent event;
    for (std::int32_t i = 0; i < run.GetEventCount(); ++i) {
        ASSERT_TRUE(run.GetEvent(i, event));
        types.push_back(event.m_type);
        times.push_back(event.m_time);
    }
    // The run's events in time order, then the download logged before it.
    ASSERT_EQ(types, (std::vector<std::uint32_t>{CDatasetEvent::Start, CDatasetEvent::User,
                                                 CDatasetEvent::Stop, CDatasetEvent::Download}));
    EXPECT_LT(times[3], 0.0);
    EXPECT_EQ(run.FindEventIndex(times[1] - 1.0, false), 1);
    EXPECT_EQ(run.FindEventIndex(times[1], false), 1);
    EXPECT_EQ(run.FindEventIndex(times[1] + 1.0, false), 2);
    CDatasetEvent pattern(CDatasetEvent::User | CDatasetEvent::Stop, -1, times[0] + 1.0);
    EXPECT_EQ(run.FindEvent(pattern, event), 1);
    EXPECT_EQ(event.m_text, "a note");
    pattern = CDatasetEvent(CDatasetEvent::Download, -1, times[3]);
    EXPECT_EQ(run.FindEvent(pattern, event), 3);
    std::vector<std::unique_ptr<CDatasetEvent>> marks;
    EXPECT_EQ(run.GetUserEvents(0.0, times[2], CDatasetEvent::Start | CDatasetEvent::User, marks),
              2);
    // The data views open on the run's last scan.
    EXPECT_EQ(run.GetBrowseScan(), run.GetScanCount() - 1);
    EXPECT_GT(run.GetBrowseScan(), 0);
}

} // namespace
} // namespace tvane::test
