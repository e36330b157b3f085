// The program's commands through the main window on the simulated instrument:
// what each one is enabled by, where it is reached from, and a setup taken
// through download, run, Save As and upload.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
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
#include "app/DocumentHints.h"
#include "app/IView.h"
#include "app/frame/CDownloadNoticeDialog.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/CUploadDlg.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "platform/core/Format.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/COleKXQT7100.h"
#include "tests/app/ComputedSumRow.h"
#include "tests/app/frame/QtApp.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {
namespace {

// The events the document broadcasts, by text.
struct EventTexts final : IView {
    std::vector<std::string> texts;
    void OnUpdate(IView*, long hint, const HintObject& object) override {
        if (hint == HINT_READING)
            if (auto* e = object.As<CDatasetEvent>())
                texts.push_back(e->m_text);
    }
};

// The program on the simulated instrument with one main window; the Scan
// Status window is not shown before a run.
class CommandsThroughFrame : public ::testing::Test {
protected:
    void SetUp() override {
        program.Start();
        if (HasFatalFailure())
            return;
        preferences.Initialize();
        preferences.SetPrefValue(CAppPreferences::kStartScanningWindow, std::string("N"));
        wiring = std::make_unique<DocumentWiring>(program.state, &program.connection, &frame,
                                                  &preferences);
        doc().AddView(&events);
    }
    void TearDown() override {
        if (wiring)
            doc().RemoveView(&events);
        wiring.reset();
    }
    CLoggerDoc& doc() { return wiring->Document(); }
    bool Enabled(unsigned id) {
        frame.UpdateToolbars();
        return frame.Action(id)->isEnabled();
    }
    // One poll of the window's scan timer a second later.
    void Poll() {
        program.clock.Advance(1000);
        frame.OnTimer(CMainFrame::kScanTimer);
    }
    int Count(const std::string& text) const {
        return static_cast<int>(std::count(events.texts.begin(), events.texts.end(), text));
    }

    QApplication& app = TestApp();
    SimulatedProgram program;
    CMainFrame frame;
    CAppPreferences preferences;
    std::unique_ptr<DocumentWiring> wiring;
    EventTexts events;
};

// The instrument's run state decides which of the run's commands are open; F5
// during a run reaches nothing, not even through the document itself.
TEST_F(CommandsThroughFrame, RunStateOpensTheRunsCommands) {
    program.MakeSetup(doc(), 2);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(program.Binding().SetScanInterval(1.0));
    ASSERT_TRUE(program.Binding().InitInstrument());
    doc().m_scan->m_scanInterval = 1.0;
    doc().m_setupInInstrument = 1;
    doc().SetModifiedFlag(false);

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
    QTest::keyClick(&frame, Qt::Key_F5);
    frame.Action(cmd::kStartScan)->trigger();
    EXPECT_FALSE(frame.OnCmdMsg(cmd::kStartScan));
    doc().OnStartScan();
    EXPECT_EQ(doc().IsScanning(), 1);
    EXPECT_EQ(doc().GetDataset()->GetKey(), key);
    EXPECT_EQ(Count("Test Started - Immediate"), 1);
    EXPECT_TRUE(frame.Timers().IsActive(CMainFrame::kScanTimer));
    Poll();
    EXPECT_EQ(doc().m_lastScanNumber, 2) << "the instrument's run went on";

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

} // namespace
} // namespace tvane::test
