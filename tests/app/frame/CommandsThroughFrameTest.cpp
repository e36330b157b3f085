// The program's commands through the main window on the simulated instrument:
// what each one is enabled by, where it is reached from, and a setup taken
// through download, run, Save As and upload.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CInstrumentConnection.h"
#include "app/frame/CDownloadNoticeDialog.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/CUploadDlg.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "database/CDatasetStore.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/core/Format.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/COleKXQT7100.h"
#include "scan/CommSettings.h"
#include "shared/DocumentHints.h"
#include "shared/IView.h"
#include "tests/app/ComputedSumRow.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/database/OdbcTestSupport.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

// The bus instrument that holds "Bench run": a KXQT7101 measuring DC volts,
// 101 to 103 in the scan, no readings stored.
void HoldsBenchRun(comm::ScriptedTransport::Script& script) {
    script.On("*IDN?", "ORVANTA,QT7100,0,1.2");
    script.On("SYST:CTYP? 100", "ORVANTA,QT7101,0,1.0");
    script.On("SYST:CTYP? 200", "0");
    script.On("SYST:CTYP? 300", "0");
    script.On("INST:DMM:INST?", "1");
    script.On("INST:DMM?", "1");
    script.On("DATA:POIN?", "+0");
    script.On("STAT:OPER:COND?", "+0");
    script.On("*ESR?", "+0");
    script.On("SYST:ERR?", "+0,\"No error\"");
    script.On("ROUT:SCAN?", "#214(@101,102,103)");
    for (int output = 1; output <= 4; ++output)
        script.On(Format("OUTP:ALAR%d:SOUR?", output), "#13(@)");
    script.On("OUTP:ALAR:MODE?", "LATC");
    script.On("OUTP:ALAR:SLOPE?", "NEG");
    script.On("TRIG:SOUR?", "TIM");
    script.On("TRIG:COUN?", "+0");
    script.On("TRIG:TIMER?", "+1.00000000E+00");
    // Every channel of the module is asked; the scan list says which are on.
    for (int ch = 101; ch <= 122; ++ch) {
        const auto at = [ch](const char* query) { return Format(query, ch); };
        script.On(at("SENS:FUNC? (@%d)"), "\"VOLT\"");
        script.On(at("CALC:SCAL:UNIT? (@%d)"), "\"VDC\"");
        script.On(at("SENS:VOLT:DC:RANG:AUTO? (@%d)"), "1");
        script.On(at("SENS:VOLT:DC:NPLC? (@%d)"), "+1.00000000E+00");
        script.On(at("INP:IMP:AUTO? (@%d)"), "0");
        script.On(at("CALC:SCAL:STAT? (@%d)"), "0");
        script.On(at("CALC:SCAL:GAIN? (@%d)"), "+1.00000000E+00");
        script.On(at("CALC:SCAL:OFFS? (@%d)"), "+0.00000000E+00");
        script.On(at("CALC:LIM:LOW? (@%d)"), "+0.00000000E+00");
        script.On(at("CALC:LIM:UPP? (@%d)"), "+0.00000000E+00");
        script.On(at("CALC:LIM:LOW:STAT? (@%d)"), "0");
        script.On(at("CALC:LIM:UPP:STAT? (@%d)"), "0");
        script.On(at("ROUT:CHAN:DEL:AUTO? (@%d)"), "1");
    }
}

// Scans first.. of channels 101 and 102 as the instrument's reading block, one
// second apart.
std::string ScanBlock(int first, int count) {
    std::string readings;
    for (int scan = first; scan < first + count; ++scan)
        for (int channel : {101, 102})
            readings += (readings.empty() ? "" : ",") +
                        Format("%+15.8E,%12.3f,%03d,%d", scan + channel / 1000.0,
                               static_cast<double>(scan), channel, 0);
    const std::string length = std::to_string(readings.size());
    return "#" + std::to_string(length.size()) + length + readings + "\n";
}

// The program on the simulated instrument with one main window; the Scan
// Status window is not shown before a run.
class CommandsThroughFrame : public WholeProgramTest {
protected:
    CommandsThroughFrame() {
        options.shown.reset();
        options.preferences = {{CAppPreferences::kStartScanningWindow, "N"}};
    }
    void SetUp() override {
        WholeProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        doc().AddView(&events);
    }
    void TearDown() override {
        if (wiring)
            doc().RemoveView(&events);
        WholeProgramTest::TearDown();
    }
    CLoggerDoc& doc() { return wiring->Document(); }
    bool Enabled(unsigned id) {
        frame.UpdateToolbars();
        return frame.Action(id)->isEnabled();
    }
    // Moves the program to the instrument on the bus (HoldsBenchRun).
    void ConnectBus() {
        HoldsBenchRun(*bus);
        CommSettings settings;
        settings.InterfaceName = "WENX";
        settings.ControllerName = "GPIB0";
        settings.Address = 9;
        program.Binding().Close();
        ASSERT_TRUE(program.Binding().Connect(&settings, 1));
    }
    int Count(const std::string& text) const {
        return static_cast<int>(std::count(events.texts.begin(), events.texts.end(), text));
    }
    int TimeOuts() const {
        return static_cast<int>(
            std::count(bus->transcript.begin(), bus->transcript.end(), "< (time-out)"));
    }
    // A run of 101 and 102 once a second on the bus instrument, its first scan in.
    void StartBusRun() {
        ConnectBus();
        bus->On("SYST:TIME:SCAN?", "22,13,20.000");
        program.MakeSetup(doc(), 2);
        ASSERT_FALSE(HasFatalFailure());
        program.ScanEverySecond(doc());
        ASSERT_FALSE(HasFatalFailure());
        bus->On("R? 100", {comm::ScriptedTransport::Step::Raw(ScanBlock(1, 1)),
                           comm::ScriptedTransport::Step::Raw("#10\n")});
        frame.Action(cmd::kStartScan)->trigger();
        ASSERT_EQ(doc().IsScanning(), 1);
        bus->On("STAT:OPER:COND?", "+16"); // it scans
        bus->On("STAT:ALAR:COND?", "+0");
        Poll();
        ASSERT_EQ(doc().GetScanEngine().GetLastScanNumber(), 1);
    }
    // Stops the run and gives its readings in the order stored.
    std::vector<ReadingRecord> StopBusRun() {
        int shown = 0;
        WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& d) { d.OkButton()->click(); },
                                       &shown);
        frame.Action(cmd::kStopScan)->trigger();
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(doc().IsScanning(), 0);
        CDataset& run = *doc().GetDataset();
        run.FlushReadings();
        std::vector<ReadingRecord> stored(static_cast<std::size_t>(run.GetReadingCount()));
        stored.resize(static_cast<std::size_t>(
            run.ReadReadings(stored.data(), static_cast<std::int16_t>(stored.size()), 0)));
        return stored;
    }

    EventLogView events;
    std::shared_ptr<comm::ScriptedTransport::Script> bus =
        std::make_shared<comm::ScriptedTransport::Script>();
    comm::ScopedTransportCreator busTransport{4, [s = bus](std::int32_t type) {
                                                  return std::make_unique<comm::ScriptedTransport>(
                                                      s, type);
                                              }};
};

// The instrument's run state decides which of the run's commands are open; F5
// during a run reaches nothing, not even through the document itself.
TEST_F(CommandsThroughFrame, RunStateOpensTheRunsCommands) {
    program.MakeSetup(doc(), 2);
    ASSERT_FALSE(HasFatalFailure());
    program.ScanEverySecond(doc());
    ASSERT_FALSE(HasFatalFailure());

    struct Case {
        unsigned id;
        bool idle, running;
    };
    const Case cases[] = {
        {cmd::kStartScan, true, false},          {cmd::kStopScan, false, true},
        {cmd::kInstrumentSettings, true, false}, {cmd::kDownloadSetup, true, false},
        {cmd::kFileSave, true, false},           {cmd::kFileSaveAs, true, false},
        {cmd::kUploadSetup, false, false}, // never from the simulated instrument
    };
    for (const Case& c : cases)
        EXPECT_EQ(Enabled(c.id), c.idle) << c.id;

    frame.Action(cmd::kStartScan)->trigger();
    ASSERT_EQ(doc().IsScanning(), 1);
    Poll();
    for (const Case& c : cases)
        EXPECT_EQ(Enabled(c.id), c.running) << c.id;
    const std::string key = doc().GetDataset()->GetKey();

    // F5, and the document's own Start Scan, during the run.
    frame.Action(cmd::kStartScan)->trigger();
    EXPECT_FALSE(frame.OnCmdMsg(cmd::kStartScan));
    doc().OnStartScan();
    EXPECT_EQ(doc().IsScanning(), 1);
    EXPECT_EQ(doc().GetDataset()->GetKey(), key);
    EXPECT_EQ(Count("Test Started - Immediate"), 1);
    EXPECT_TRUE(frame.Timers().IsActive(CMainFrame::kScanTimer));
    Poll();
    EXPECT_EQ(doc().GetScanEngine().GetLastScanNumber(), 2) << "the instrument's run went on";

    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& d) { d.reject(); });
    frame.Action(cmd::kStopScan)->trigger();
    EXPECT_EQ(doc().IsScanning(), 0);
    for (const Case& c : cases)
        EXPECT_EQ(Enabled(c.id), c.idle) << c.id;

    // Without an active measured channel there is nothing to scan.
    for (std::int32_t i = 0; i < doc().GetSetup()->GetSize(); ++i)
        doc().GetSetupRow(i)->ChannelMode = 0;
    EXPECT_FALSE(Enabled(cmd::kStartScan));
}

// Save, Save As, Download Setup and Upload Setup have their menu entries, bar
// buttons and accelerator.
TEST_F(CommandsThroughFrame, SetupCommandsHaveTheirEntries) {
    auto menuOf = [this](const QString& title) -> QMenu* {
        for (QAction* a : frame.menuBar()->actions())
            if (a->text() == title)
                return a->menu();
        return nullptr;
    };
    QMenu* file = menuOf("&File");
    QMenu* settings = menuOf("&Settings");
    ASSERT_NE(file, nullptr);
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(file->actions().contains(frame.Action(cmd::kFileSave)));
    EXPECT_TRUE(file->actions().contains(frame.Action(cmd::kFileSaveAs)));
    EXPECT_TRUE(settings->actions().contains(frame.Action(cmd::kDownloadSetup)));
    EXPECT_TRUE(settings->actions().contains(frame.Action(cmd::kUploadSetup)));
    EXPECT_EQ(frame.Action(cmd::kFileSave)->text(), "&Save");
    EXPECT_EQ(frame.Action(cmd::kFileSave)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(frame.Action(cmd::kFileSaveAs)->text(), "Save Setup &As...");
    EXPECT_EQ(frame.Action(cmd::kDownloadSetup)->text(), "&Download Setup");
    EXPECT_EQ(frame.Action(cmd::kDownloadSetup)->toolTip(), "Download Scan Setup");
    EXPECT_EQ(frame.Action(cmd::kDownloadSetup)->statusTip(),
              "Configure instrument with current scan setup information");
    EXPECT_TRUE(frame.ToolBar(0)->actions().contains(frame.Action(cmd::kFileSave)));
    EXPECT_TRUE(frame.ToolBar(2)->actions().contains(frame.Action(cmd::kDownloadSetup)));
    EXPECT_TRUE(frame.ToolBar(2)->actions().contains(frame.Action(cmd::kUploadSetup)));

    // Without a setup only Upload Setup would be routed, and it needs an
    // instrument on a real interface.
    for (unsigned id : {cmd::kFileSave, cmd::kFileSaveAs, cmd::kDownloadSetup, cmd::kUploadSetup})
        EXPECT_FALSE(Enabled(id)) << id;
}

// The value columns of a channel in the export's header.
int ValueColumn(const std::vector<std::string>& header, const std::string& channel) {
    for (std::size_t i = 0; i < header.size(); ++i)
        if (header[i].rfind(channel + "(", 0) == 0 &&
            header[i].find("Time stamp") == std::string::npos &&
            header[i].find("Seconds") == std::string::npos)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::string> Fields(std::string line) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(line.substr(start, comma - start));
    fields.push_back(line.substr(start));
    return fields;
}

// A setup with a computed channel is downloaded, run (F5 during the run changes
// nothing), kept under a new name, and made again from what the instrument holds.
TEST_F(CommandsThroughFrame, ASetupGoesToTheInstrumentIsRunSavedAsAndComesBack) {
    program.MakeSetup(doc(), 3, 1, false);
    ASSERT_FALSE(HasFatalFailure());
    AddComputedSum(doc());
    doc().GetScan()->m_scanInterval = 1.0;
    doc().GetScan()->m_exportOnPostScan = 1;

    ASSERT_TRUE(Enabled(cmd::kDownloadSetup));
    frame.Action(cmd::kDownloadSetup)->trigger();
    EXPECT_EQ(doc().IsSetupInInstrument(), 1);

    // The changed setup was never saved: the run asks for its properties first
    // and the setup's file is written.
    int saveShown = 0;
    WhenShown<CSaveSetupDialog>([](CSaveSetupDialog& d) { d.OkButton()->click(); }, &saveShown,
                                true);
    // The download's event is kept in the dataset, which the run then stores
    // under a name of its time.
    program.clock.Advance(2000);
    doc().SetModifiedFlag(true);
    ASSERT_TRUE(Enabled(cmd::kStartScan));
    frame.Action(cmd::kStartScan)->trigger();
    EXPECT_GE(saveShown, 1);
    ASSERT_EQ(doc().IsScanning(), 1);
    EXPECT_FALSE(doc().IsModified());
    const std::string firstFile = program.state.m_setupFile;
    ASSERT_FALSE(firstFile.empty());
    EXPECT_GT(std::filesystem::file_size(firstFile), 0u);

    int computed = 0;
    for (int poll = 0; poll < 4; ++poll) {
        Poll();
        std::vector<ReadingRecord*> list;
        computed += doc().GetChannelReadings(901, list);
        if (poll == 1) {
            const std::string key = doc().GetDataset()->GetKey();
            frame.Action(cmd::kStartScan)->trigger(); // F5
            doc().OnStartScan();
            EXPECT_EQ(doc().GetDataset()->GetKey(), key);
            EXPECT_EQ(Count("Test Started - Immediate"), 1);
        }
    }
    EXPECT_EQ(computed, 4) << "one computed reading per scan";

    std::string exportName;
    WhenShown<CSaveScanDataDialog>([&exportName](CSaveScanDataDialog& d) {
        exportName = d.ExportEdit()->text().toStdString();
        d.OkButton()->click();
    });
    frame.Action(cmd::kStopScan)->trigger();
    ASSERT_EQ(doc().IsScanning(), 0);
    EXPECT_EQ(Count("Test Started - Immediate"), 1);
    EXPECT_EQ(Count("Test Terminated - By User"), 1);

    // The run's Start and Stop events are in its file while the program runs on.
    const std::string command =
        "/usr/bin/python3 -c \"import olefile,sys; f=olefile.OleFileIO(sys.argv[1]); "
        "print(f.get_size(sys.argv[2] + '/Events'))\" '" +
        doc().GetDatasetStore()->GetPath() + "' '" + doc().GetDataset()->GetKey() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char size[64] = {0};
    const bool read = fgets(size, sizeof size, pipe) != nullptr;
    EXPECT_EQ(pclose(pipe), 0);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::stoi(size), 2 * 16);

    // The run's export holds the computed channel: the sum of 101 and 102.
    std::ifstream in(exportName, std::ios::binary);
    ASSERT_TRUE(in.good()) << exportName;
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = Fields(line);
    const int c101 = ValueColumn(header, "101"), c102 = ValueColumn(header, "102"),
              c901 = ValueColumn(header, "901");
    ASSERT_GE(c901, 0) << line;
    int scans = 0;
    while (std::getline(in, line)) {
        const std::vector<std::string> f = Fields(line);
        ASSERT_GT(f.size(), static_cast<std::size_t>(c901)) << line;
        EXPECT_NEAR(std::stod(f[c901]), std::stod(f[c101]) + std::stod(f[c102]), 1e-5) << line;
        ++scans;
    }
    EXPECT_EQ(scans, 4);

    // Save As: the setup is kept under the new name the window proposes,
    // beside the first one.
    ASSERT_TRUE(Enabled(cmd::kFileSaveAs));
    WhenShown<CSaveSetupDialog>([](CSaveSetupDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Save Setup As");
        d.OkButton()->click();
    });
    frame.Action(cmd::kFileSaveAs)->trigger();
    EXPECT_EQ(program.state.m_setupName, "Bench run.1");
    EXPECT_EQ(Sqlite3(program.database, "SELECT Name FROM Setup ORDER BY Name;"),
              "Bench run\nBench run.1\n");
    EXPECT_NE(program.state.m_setupFile, firstFile);
    EXPECT_GT(std::filesystem::file_size(program.state.m_setupFile), 0u);
    EXPECT_EQ(frame.windowTitle().toStdString(), "Tallyvane - Bench run.1");

    // Upload Setup reaches only an instrument on a real interface: the setup
    // comes back from one on the bus that holds it.
    ConnectBus();
    ASSERT_TRUE(Enabled(cmd::kUploadSetup));
    // The setup's page holds a text display; the new setup starts over.
    ASSERT_TRUE(frame.CreateGraph(32817));
    int uploadShown = 0;
    WhenShown<CUploadDlg>([](CUploadDlg& d) { d.accept(); }, &uploadShown);
    frame.Action(cmd::kUploadSetup)->trigger();
    EXPECT_EQ(uploadShown, 1);
    EXPECT_EQ(std::count(bus->transcript.begin(), bus->transcript.end(), "< (time-out)"), 0)
        << "every question was one the instrument answers";
    EXPECT_EQ(doc().IsSetupLoaded(), 1);
    EXPECT_EQ(program.state.m_setupName.rfind("Setup ", 0), 0u) << program.state.m_setupName;
    for (std::uint32_t channel : {101u, 102u, 103u, 104u}) {
        const CFXSetup* row = doc().FindSetupRow(static_cast<std::int32_t>(channel));
        ASSERT_NE(row, nullptr) << channel;
        EXPECT_EQ(row->ChannelMode, channel < 104u ? 1 : 0) << channel;
        EXPECT_EQ(row->Function, "DC volts") << channel;
    }
    EXPECT_EQ(doc().IsSetupInInstrument(), 1);
    EXPECT_EQ(Sqlite3(program.database, "SELECT COUNT(*) FROM Setup;"), "3\n");
    EXPECT_EQ(frame.windowTitle().toStdString(), "Tallyvane - " + program.state.m_setupName);
    // One graphics page, with the new setup's strip chart alone.
    EXPECT_EQ(frame.GraphicsPageCount(), 1);
    ASSERT_NE(wiring->Graphics()->Page(0), nullptr);
    const CGraphView& page = wiring->Graphics()->Page(0)->Model();
    ASSERT_EQ(page.GetFrameCount(), 1);
    EXPECT_NE(dynamic_cast<CXrtOverlayFrame*>(page.GetFrameList()->GetHead()), nullptr);
}

// Download Setup and F5 within one second: the run gets a dataset of its own,
// its name and key beside those of the dataset that holds the download.
TEST_F(CommandsThroughFrame, ARunStartedInTheSecondOfTheDownloadGetsItsOwnDataset) {
    program.MakeSetup(doc(), 2, 0, false);
    ASSERT_FALSE(HasFatalFailure());
    program.ScanEverySecond(doc());
    ASSERT_FALSE(HasFatalFailure());
    doc().SetSetupInInstrument(false);
    frame.Action(cmd::kDownloadSetup)->trigger();
    ASSERT_EQ(doc().IsSetupInInstrument(), 1);
    ASSERT_GT(doc().GetEventCount(), 0) << "the download is logged in the dataset";
    const std::string downloadName = program.state.m_datasetName;
    const std::string downloadKey = program.state.m_datasetKey;

    frame.Action(cmd::kStartScan)->trigger();
    ASSERT_EQ(doc().IsScanning(), 1);
    EXPECT_NE(program.state.m_datasetName, downloadName);
    EXPECT_NE(program.state.m_datasetKey, downloadKey);
    EXPECT_EQ(doc().GetDataset()->GetKey(), program.state.m_datasetKey);
    EXPECT_EQ(Count("Test Started - Immediate"), 1);
    Poll();
    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& d) { d.OkButton()->click(); });
    frame.Action(cmd::kStopScan)->trigger();
    EXPECT_EQ(Sqlite3(program.database, "SELECT COUNT(*) FROM Dataset;"), "2\n");
}

// An instrument that stops answering keeps its run: each poll waits for one
// time-out at most and the window is free between the tries, the status bar
// says so from the first, and its readings come in once it answers again.
TEST_F(CommandsThroughFrame, ARunOutlastsAnInstrumentThatStopsAnswering) {
    bus->timeoutText = "Timeout occurred";
    StartBusRun();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(TimeOuts(), 0);
    bus->On("R? 100", {comm::ScriptedTransport::Step::TimedOut()});
    Poll();
    EXPECT_EQ(TimeOuts(), 1);
    EXPECT_EQ(frame.StatusPane(0)->text().toStdString(), "The instrument does not answer");
    EXPECT_EQ(Count("1052,Timeout occurred"), 1);
    // Until the next try nothing is asked, and F9 is there.
    const std::size_t said = bus->transcript.size();
    for (int poll = 0; poll < 4; ++poll)
        Poll();
    EXPECT_EQ(bus->transcript.size(), said);
    EXPECT_TRUE(Enabled(cmd::kStopScan));
    for (int poll = 0; poll < 12; ++poll) {
        const int before = TimeOuts();
        Poll();
        EXPECT_LE(TimeOuts(), before + 1) << "one wait per poll at most";
    }
    EXPECT_EQ(TimeOuts(), 4);
    EXPECT_EQ(Count("1052,Timeout occurred"), 1);
    EXPECT_EQ(doc().IsScanning(), 1);

    // It answers again with the scans it kept meanwhile.
    bus->On("R? 100", {comm::ScriptedTransport::Step::Raw(ScanBlock(2, 16)),
                       comm::ScriptedTransport::Step::Raw("#10\n")});
    for (int poll = 0; poll < 5; ++poll)
        Poll();
    EXPECT_EQ(frame.StatusPane(0)->text().toStdString(), "");
    EXPECT_EQ(doc().GetScanEngine().GetLastScanNumber(), 17);
    const std::vector<ReadingRecord> stored = StopBusRun();
    ASSERT_EQ(stored.size(), 34u);
    for (std::size_t i = 0; i < stored.size(); ++i)
        EXPECT_EQ(+stored[i].ScanNumber, static_cast<int>(i / 2 + 1)) << i;
}

// Answers cut short on a glitching link are dropped whole: the run holds the
// instrument's scans and numbers them as the instrument does.
TEST_F(CommandsThroughFrame, AGlitchingLinkStoresExactlyTheInstrumentsScans) {
    StartBusRun();
    ASSERT_FALSE(HasFatalFailure());
    using Step = comm::ScriptedTransport::Step;
    // Each answer of the run loses its tail on the way; the instrument keeps the
    // scans and hands them over at the end of the run.
    bus->On("R? 100", {Step::Raw(ScanBlock(2, 1).substr(0, 50) + "\n")});
    for (int poll = 0; poll < 11; ++poll)
        Poll();
    EXPECT_EQ(doc().GetScanEngine().GetLastScanNumber(), 1);
    EXPECT_EQ(Count("1040,Byte count mismatch occurred in GetReadings function. Expected number "
                    "of bytes from block header: 69. Actual number of bytes in recv buffer: 46"),
              11);
    bus->On("DATA:POIN?", "+22");
    for (const char* fetch : {"R? 22", "R? 100"})
        bus->On(fetch, {Step::Raw(ScanBlock(2, 11))});
    const std::vector<ReadingRecord> stored = StopBusRun();
    ASSERT_EQ(stored.size(), 24u);
    for (std::size_t i = 0; i < stored.size(); ++i)
        EXPECT_EQ(+stored[i].ScanNumber, static_cast<int>(i / 2 + 1)) << i;
}

// The Download Setup Notice's upload choice: the instrument holds readings, and
// the user makes a new setup from it instead of overwriting them.
TEST_F(CommandsThroughFrame, TheNoticesUploadChoiceMakesANewSetupFromTheInstrument) {
    program.MakeSetup(doc(), 2, 0, false);
    ASSERT_FALSE(HasFatalFailure());
    doc().SetModifiedFlag(false);
    ConnectBus();
    ASSERT_FALSE(HasFatalFailure());
    bus->On("DATA:POIN?", "+5");
    const std::string before = program.state.m_setupName;

    int noticeShown = 0, uploadShown = 0;
    WhenShown<CDownloadNoticeDialog>(
        [](CDownloadNoticeDialog& d) {
            EXPECT_TRUE(d.ContinueButton()->isChecked());
            d.UploadButton()->click();
            d.accept();
        },
        &noticeShown);
    WhenShown<CUploadDlg>(
        [](CUploadDlg& d) {
            EXPECT_EQ(d.ReadingsLabel()->text().toStdString(), "5");
            d.IncludeDataBox()->setChecked(false); // the readings stay in the instrument
            d.NameEdit()->setText("From the notice");
            d.NameEdit()->textEdited("From the notice");
            d.accept();
        },
        &uploadShown);
    ASSERT_TRUE(Enabled(cmd::kDownloadSetup));
    frame.Action(cmd::kDownloadSetup)->trigger();
    EXPECT_EQ(noticeShown, 1);
    EXPECT_EQ(uploadShown, 1);
    EXPECT_EQ(program.state.m_setupName, "From the notice");
    EXPECT_NE(program.state.m_setupName, before);
    EXPECT_EQ(doc().IsSetupInInstrument(), 1) << "the setup came from the instrument";
    EXPECT_EQ(std::count(bus->sent.begin(), bus->sent.end(), "ABORT"), 1)
        << "the upload stops the instrument; the download was not continued";
    EXPECT_EQ(Sqlite3(program.database, "SELECT Name FROM Setup ORDER BY Name;"),
              "Bench run\nFrom the notice\n");
}

// Upload Setup makes a new setup that starts, as New Setup's does, with one
// strip chart of its first channel in place of the open setup's displays; an
// upload into the open setup leaves its displays alone.
TEST_F(CommandsThroughFrame, UploadSetupStartsTheNewSetupWithAStripChart) {
    program.MakeSetup(doc(), 2, 0, false);
    ASSERT_FALSE(HasFatalFailure());
    doc().SetModifiedFlag(false);
    const GraphicsWiring* graphics = wiring->Graphics();
    ASSERT_NE(graphics, nullptr);
    // The open setup's page shows two displays.
    ASSERT_TRUE(frame.CreateGraph(cmd::kStripChart));
    ASSERT_TRUE(frame.CreateGraph(cmd::kStripChart));
    ASSERT_EQ(graphics->Page(0)->Model().GetFrameCount(), 2);
    ConnectBus();
    ASSERT_FALSE(HasFatalFailure());

    ASSERT_TRUE(Enabled(cmd::kUploadSetup));
    int shown = 0;
    WhenShown<CUploadDlg>(
        [](CUploadDlg& d) {
            d.NewSetupButton()->click();
            d.NameEdit()->setText("Uploaded bench");
            d.NameEdit()->textEdited("Uploaded bench");
            d.accept();
        },
        &shown);
    frame.Action(cmd::kUploadSetup)->trigger();
    ASSERT_EQ(shown, 1);
    ASSERT_EQ(program.state.m_setupName, "Uploaded bench");
    CGraphViewWnd* page = graphics->Page(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(graphics->Page(1), nullptr);
    ASSERT_EQ(page->Model().GetFrameCount(), 1);
    auto* chart = dynamic_cast<CXrtOverlayFrame*>(page->Model().GetSelected());
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(chart->GetRange(0).has_value());
    EXPECT_EQ(chart->GetRange(0)->channel.number, 101);
    EXPECT_FALSE(chart->GetRange(1).has_value());

    // Into the open setup (offered while the instrument holds readings): its
    // rows are rebuilt, its page stays as it is.
    doc().SetModifiedFlag(false);
    bus->On("DATA:POIN?", "+5");
    WhenShown<CUploadDlg>(
        [](CUploadDlg& d) {
            ASSERT_TRUE(d.CurrentSetupButton()->isEnabled());
            d.CurrentSetupButton()->click();
            d.IncludeDataBox()->setChecked(false);
            d.accept();
        },
        &shown);
    frame.Action(cmd::kUploadSetup)->trigger();
    ASSERT_EQ(shown, 2);
    EXPECT_EQ(program.state.m_setupName, "Uploaded bench");
    ASSERT_EQ(graphics->Page(0), page);
    EXPECT_EQ(page->Model().GetFrameCount(), 1);
    EXPECT_EQ(page->Model().GetSelected(), chart);
}

} // namespace
} // namespace tvane::test
