#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include <QAction>
#include <QLabel>
#include <QTabWidget>
#include <QToolBar>
#include <gtest/gtest.h>

#include "app/frame/CMainFrame.h"
#include "app/frame/CTextButton.h"
#include "app/frame/FrameCommands.h"
#include "database/DataSource.h"
#include "platform/core/Exception.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "shared/MainWindow.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace {

using Calls = std::vector<std::string>;

class FakeDocument final : public IFrameDocument {
public:
    void OnScanTimer() override { calls.push_back("scan"); }
    void OnStartTimer() override { calls.push_back("start"); }
    void OnMonitorTimer() override { calls.push_back("monitor"); }
    void StopTimers() override { calls.push_back("stop timers"); }
    void RestartTimers() override { calls.push_back("restart timers"); }
    bool IsSetupLoaded() const override { return setupLoaded; }
    bool IsScanning() const override { return scanning; }
    void LogEvent(const std::string& text) override { calls.push_back("event " + text); }
    void EndRun() override { calls.push_back("end run"); }
    bool SaveModified() override {
        calls.push_back("save?");
        return !cancelSave;
    }
    void SetModifiedFlag(bool modified) override {
        calls.push_back(modified ? "modified" : "not modified");
    }
    Calls calls;
    bool setupLoaded = true;
    bool scanning = false;
    bool cancelSave = false;
};

class FakeInstrument final : public IFrameInstrument {
public:
    void CloseInterface() override { calls->push_back("close interface"); }
    bool OpenInterface() override {
        calls->push_back("open interface");
        return opens-- > 0;
    }
    void UseSimulatedInterface() override { calls->push_back("simulated"); }
    Calls* calls = nullptr;
    int opens = 1;
};

class MainFrameTest : public tvane::test::TempHomeTest {
protected:
    MainFrameTest() {
        frame.SetDocument(&doc);
        instrument.calls = &doc.calls;
        frame.SetInstrument(&instrument);
        frame.SetPowerMonitor(&power);
    }
    std::string Profile(const char* key) {
        return tvane::GetPrivateProfileString("Settings", key, "<none>", kProfileFile);
    }

    QApplication& app = tvane::test::TestApp();
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> guard{tvane::SetPrompter, &prompter};
    FakeDocument doc;
    FakeInstrument instrument;
    FakePowerMonitor power;
    CMainFrame frame;
};

TEST_F(MainFrameTest, BarsPanesAndPages) {
    EXPECT_EQ(CMainFrame::GetMainFrame(), &frame);
    const char* titles[] = {"Standard", "Graphics", "Scan Control", "Monitor Channel"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frame.ToolBar(i)->windowTitle(), titles[i]);
    EXPECT_EQ(frame.toolBarArea(frame.ToolBar(0)), Qt::TopToolBarArea);
    EXPECT_EQ(frame.toolBarArea(frame.ToolBar(1)), Qt::TopToolBarArea);
    EXPECT_EQ(frame.toolBarArea(frame.ToolBar(2)), Qt::LeftToolBarArea);
    EXPECT_EQ(frame.ToolBar(3)->allowedAreas(), Qt::TopToolBarArea | Qt::BottomToolBarArea);
    EXPECT_EQ(frame.MonitorDisplay()->Text(), "No Reading");

    const char* texts[] = {"Ready", "SLOT1", "SLOT2", "SLOT3", "SIMULATED"};
    const int widths[] = {72, 107, 72, 72};
    for (int i = 0; i < CMainFrame::kPaneCount; ++i)
        EXPECT_EQ(frame.StatusText(i), texts[i]);
    for (int i = 1; i < CMainFrame::kPaneCount; ++i)
        EXPECT_EQ(frame.StatusPane(i)->width(), widths[i - 1]) << i;
    frame.SetStatusText("Module 7", 2);
    EXPECT_EQ(frame.StatusText(2), "Module 7");

    QTabWidget* pages = frame.Pages();
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "Scan Setup");
    EXPECT_EQ(pages->tabText(1), "Graphics Setup 1");
    for (int i = 0; i < 5; ++i)
        frame.OnCmdMsg(cmd::kNewGraphicsPage);
    EXPECT_EQ(pages->count(), CMainFrame::kMaxPages);
    EXPECT_EQ(pages->tabText(5), "Graphics Setup 5");
    EXPECT_FALSE(frame.IsCommandEnabled(cmd::kNewGraphicsPage));
    prompter.Script({tvane::MsgAnswer::Yes});
    EXPECT_TRUE(frame.OnCmdMsg(cmd::kDeletePage));
    EXPECT_EQ(pages->count(), 5);
    frame.SelectPage(9); // out of range: nothing
    frame.SelectPage(0);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_FALSE(frame.IsCommandEnabled(cmd::kDeletePage)); // not on a graphics page
    frame.ResetPages();
    EXPECT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(1), "Graphics Setup 1");
    EXPECT_EQ(CMainFrame::PageNumber(), 1);
}

TEST_F(MainFrameTest, OnlyTheDocumentsTimerIdsReachIt) {
    for (unsigned id : {3211u, 3212u, 3314u, 3213u, 0u, 3315u})
        frame.OnTimer(id);
    EXPECT_EQ(doc.calls, (Calls{"scan", "start", "monitor"}));

    // The frame's timer service delivers by id to the frame.
    QtTimerService& timers = frame.Timers();
    EXPECT_TRUE(timers.SetTimer(3211, 155));
    EXPECT_TRUE(timers.IsActive(3211));
    EXPECT_EQ(timers.Interval(3211), 155);
    EXPECT_TRUE(timers.SetTimer(3211, 1000));
    EXPECT_EQ(timers.Interval(3211), 1000);
    timers.KillTimer(3211);
    EXPECT_FALSE(timers.IsActive(3211));
}

// What a command or a timer throws is shown the program's way and the program
// goes on; the user's own cancellation is silent.
TEST_F(MainFrameTest, ThrownFromACommandOrATimerIsReportedAndTheProgramGoesOn) {
    frame.SetCommandHandler(4242, [] { throw tvane::Exception("Disk went away"); });
    frame.SetCommandHandler(4243, [] { throw tvane::UserException(); });
    EXPECT_TRUE(frame.OnCmdMsg(4242));
    EXPECT_TRUE(frame.OnCmdMsg(4243));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "Disk went away");
    EXPECT_EQ(prompter.asked[0].helpId, 102u);

    struct ThrowingDocument final : IFrameDocument {
        void OnScanTimer() override { throw std::bad_alloc(); }
        void OnStartTimer() override {}
        void OnMonitorTimer() override { throw tvane::UserException(); }
        void StopTimers() override {}
        void RestartTimers() override {}
        bool IsSetupLoaded() const override { return true; }
        bool IsScanning() const override { return true; }
        void LogEvent(const std::string&) override {}
        void EndRun() override {}
        bool SaveModified() override { return true; }
        void SetModifiedFlag(bool) override {}
    } throwing;
    frame.SetDocument(&throwing);
    frame.OnTimer(CMainFrame::kScanTimer);
    frame.OnTimer(CMainFrame::kMonitorTimer);
    frame.SetDocument(&doc);
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].helpId, 13000u) << "a memory exception";
}

TEST_F(MainFrameTest, RoutingGateWithoutASetup) {
    frame.SetCommandHandler(cmd::kFileNew, [] {});
    frame.SetCommandHandler(4242, [] {});
    struct Case {
        unsigned id;
        bool routed;
    } cases[] = {{cmd::kFileNew, true},
                 {cmd::kFileOpen, true},
                 {cmd::kExit, true},
                 {57617, true},
                 {cmd::kPreferences, true},
                 {59143, true},
                 {cmd::kHelpSearch, true},
                 {57668, true},
                 {cmd::kEventLog, false},
                 {cmd::kNewGraphicsPage, false},
                 {4242, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(IsCommandRouted(c.id, true, false), c.routed) << c.id;
        EXPECT_TRUE(IsCommandRouted(c.id, true, true)) << c.id;
        EXPECT_TRUE(IsCommandRouted(c.id, false, false)) << c.id;
    }
    doc.setupLoaded = false;
    frame.UpdateToolbars();
    EXPECT_TRUE(frame.Action(cmd::kFileNew)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kNewGraphicsPage)->isEnabled());
    EXPECT_FALSE(frame.OnCmdMsg(4242));
    // A command nothing handles yet shows disabled even with a setup.
    doc.setupLoaded = true;
    frame.UpdateToolbars();
    EXPECT_FALSE(frame.Action(cmd::kCommunicationsSetup)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kNewGraphicsPage)->isEnabled());
}

TEST_F(MainFrameTest, PlacementWrittenOnClose) {
    frame.show();
    frame.showMinimized();
    EXPECT_EQ(frame.WindowState(), 2);
    ASSERT_TRUE(frame.CloseLogic());
    EXPECT_EQ(Profile("WindowState"), "2");
    EXPECT_EQ(Profile("Width"), "<none>");

    frame.showNormal();
    frame.setGeometry(40, 50, 640, 480);
    EXPECT_EQ(frame.WindowState(), 1);
    ASSERT_TRUE(frame.CloseLogic());
    EXPECT_EQ(Profile("WindowState"), "1");
    EXPECT_EQ(Profile("Width"), std::to_string(frame.width()));
    EXPECT_EQ(Profile("Height"), std::to_string(frame.height()));
    EXPECT_EQ(Profile("Left"), std::to_string(frame.x()));
    EXPECT_EQ(Profile("Top"), std::to_string(frame.y()));

    // A new frame is placed from what was written.
    CMainFrame second;
    EXPECT_EQ(second.WindowState(), 1);
    EXPECT_EQ(second.width(), frame.width());
    frame.hide();
}

TEST_F(MainFrameTest, HeadlessCodeReachesTheWindow) {
    tvane::SetMainWindow(&frame);
    frame.show();
    tvane::MainWindow()->SendCommand(cmd::kNewGraphicsPage);
    EXPECT_EQ(frame.Pages()->count(), 3);
    tvane::MainWindow()->PostClose();
    EXPECT_TRUE(frame.isVisible()); // closes once the caller has returned
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame.isVisible());
    tvane::SetMainWindow(nullptr);
}

TEST_F(MainFrameTest, CloseDuringARun) {
    doc.scanning = true;
    prompter.Script({tvane::MsgAnswer::No});
    EXPECT_FALSE(frame.CloseLogic());
    EXPECT_TRUE(doc.calls.empty());
    EXPECT_EQ(Profile("WindowState"), "<none>");

    prompter.Script({tvane::MsgAnswer::Yes});
    doc.cancelSave = true;
    EXPECT_FALSE(frame.CloseLogic());
    EXPECT_EQ(doc.calls, (Calls{"end run", "save?"}));

    doc.calls.clear();
    doc.scanning = false;
    doc.cancelSave = false;
    frame.CreateEventLog(true);
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(doc.calls, (Calls{"save?", "not modified", "stop timers"}));
    EXPECT_FALSE(frame.EventLog()->isVisible());
    EXPECT_EQ(prompter.Texts()[0], "Scan in progress, are you sure you want to exit?");
}

TEST_F(MainFrameTest, SuspendAndResumeThroughThePowerMonitor) {
    doc.scanning = true;
    power.Send(PowerEvent::Suspend);
    power.Send(PowerEvent::Resume);
    EXPECT_EQ(doc.calls,
              (Calls{"event Power broadcast message received - application suspended",
                     "stop timers", "close interface", "open interface", "restart timers",
                     "event Power broadcast message received - application resumed"}));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(MainFrameTest, ResumeThatCannotReopenFallsBackToSimulated) {
    doc.scanning = true;
    instrument.opens = 0;
    power.Send(PowerEvent::Suspend);
    doc.calls.clear();
    prompter.Script({tvane::MsgAnswer::Yes, tvane::MsgAnswer::No});
    power.Send(PowerEvent::Resume);
    EXPECT_EQ(doc.calls, (Calls{"open interface", "open interface", "simulated", "end run",
                                "event Power broadcast message received - application resumed"}));
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{
                  "Failed to re-establish communications.\nWould you like to try again?",
                  "Failed to re-establish communications.\nWould you like to try again?",
                  "Unable to establish communications with instrument.\nSetting interface to "
                  "Simulated."}));
}

TEST_F(MainFrameTest, ResumeWithoutASetupLogsNothing) {
    doc.setupLoaded = false;
    power.Send(PowerEvent::Suspend);
    power.Send(PowerEvent::Resume);
    power.Send(PowerEvent::Other);
    EXPECT_EQ(doc.calls, (Calls{"close interface", "open interface"}));
}

TEST_F(MainFrameTest, CriticalResumeAndLowBattery) {
    doc.scanning = true;
    instrument.opens = 0;
    power.Send(PowerEvent::CriticalResume);
    EXPECT_EQ(doc.calls, (Calls{"event Power broadcast critical resume message received - "
                                "resetting comm and stopping scan",
                                "stop timers", "close interface", "open interface", "simulated",
                                "restart timers"}));
    doc.calls.clear();
    doc.scanning = false;
    frame.show();
    prompter.Script({tvane::MsgAnswer::Yes});
    power.Send(PowerEvent::LowBattery);
    EXPECT_EQ(doc.calls.front(),
              "event Power broadcast low battery message received - closing application");
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainFrameTest, MonitorDisplayTexts) {
    frame.SetMonitorDisplay(false, false);
    EXPECT_EQ(frame.MonitorDisplay()->Text(), "<None>");
    frame.SetMonitorDisplay(true, false);
    EXPECT_EQ(frame.MonitorDisplay()->Text(), "No Reading");
    frame.SetMonitorDisplay(true, true, CTextButton::kOverload, "V");
    EXPECT_EQ(frame.MonitorDisplay()->Text().rfind("OVLD", 0), 0u);
    frame.MonitorDisplay()->SetMode(1);
    frame.MonitorDisplay()->SetValue(255L, "V");
    EXPECT_EQ(frame.MonitorDisplay()->Text(), "00FFh V");
}

TEST_F(MainFrameTest, ScreenshotOfTheMainWindow) {
    frame.resize(900, 560);
    frame.show();
    frame.SetStatusText("Ready", 0);
    ASSERT_TRUE(tvane::test::SaveArtifact(frame, "main_frame.png"));
    EXPECT_GT(std::filesystem::file_size(tvane::test::ArtifactPath("main_frame.png")), 1000u);
    frame.hide();
}

} // namespace
