// The program's start-up in this process, offscreen, over the simulated
// instrument and a seeded workspace: the welcome choices of a first start, the
// last setup reopened at a restart, and the restore after a process that was
// killed during a run.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CLoggerDoc.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CNewSetupDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/CStartupDialogs.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/ProgramHost.h"
#include "app/startup/CLoggerApp.h"
#include "database/CDataset.h"
#include "database/CDynaDatabase.h"
#include "database/CStateInfo.h"
#include "database/DataSource.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "scan/CFXScan.h"
#include "scan/COleKXQT7100.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

const std::string kProgramBin = std::string(TVANE_BINARY_DIR) + "/bin";

// The settings of a program that runs on the simulated instrument without the
// Tip of the Day.
void WriteProgramSettings() {
    WritePrivateProfileString("KXQT7100.Drv32", "Interface", "SIMULATED", kProfileFile);
    WritePrivateProfileString("PREFERENCES", "10001", "N", kProfileFile);
}

TEST(StartupThroughProgram, FirstStartWelcomesAndARestartReopensTheLastSetup) {
    TestApp();
    SimulatedProgram program;
    program.Start();
    ASSERT_FALSE(HasFatalFailure());
    WriteProgramSettings();
    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard(SetPrompter, &prompter);
    {
        ProgramHost host(kProgramBin);
        CLoggerApp app(host, kProgramBin);
        bool choices[3] = {};
        WhenShown<CWelcomeDialog>([&choices](CWelcomeDialog& d) {
            for (int i = 0; i < 3; ++i)
                choices[i] = d.ChoiceButton(i)->isEnabled();
            d.ChoiceButton(0)->setChecked(true);
            d.accept();
        });
        WhenShown<CNewSetupDialog>([](CNewSetupDialog& d) {
            d.NameEdit()->setText("Plant");
            d.SlotList(0)->setCurrentIndex(1);
            d.OkButton()->click();
        });
        ASSERT_TRUE(app.InitInstance({}));
        // The simulated instrument offers no upload.
        EXPECT_TRUE(choices[0]);
        EXPECT_FALSE(choices[1]);
        EXPECT_TRUE(choices[2]);
        CLoggerDoc* doc = host.Document();
        ASSERT_NE(doc, nullptr);
        ASSERT_EQ(doc->IsSetupLoaded(), 1);
        EXPECT_EQ(app.GetStateInfo().m_setupName, "Plant");
        // The bars follow the setup the welcome made.
        EXPECT_TRUE(host.Frame()->Action(cmd::kFileSave)->isEnabled());
        int saves = 0;
        WhenShown<CSaveSetupDialog>([](CSaveSetupDialog& d) { d.OkButton()->click(); }, &saves);
        host.Frame()->Action(cmd::kFileSave)->trigger();
        EXPECT_EQ(saves, 1);

        EXPECT_EQ(doc->IsNeverSaved(), 0);
        app.ExitInstance();
    }
    EXPECT_EQ(GetPrivateProfileString("Recent File List", "File1", "", kProfileFile), "Plant");

    WritePrivateProfileString("PREFERENCES", "10004", "Y", kProfileFile);
    // One count for the welcome windows of both later starts: a watcher that saw
    // none keeps watching into the next start.
    static int welcomes; // a watcher may outlive the test
    welcomes = 0;
    {
        ProgramHost host(kProgramBin);
        CLoggerApp app(host, kProgramBin);
        WhenShown<CWelcomeDialog>([](CWelcomeDialog& d) { d.reject(); }, &welcomes);
        ASSERT_TRUE(app.InitInstance({}));
        EXPECT_EQ(welcomes, 0);
        CLoggerDoc* doc = host.Document();
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->IsSetupLoaded(), 1);
        EXPECT_EQ(app.GetStateInfo().m_setupName, "Plant");
        EXPECT_EQ(app.GetStateInfo().m_modules[0], "KXQT7101");
        EXPECT_TRUE(host.Frame()->windowTitle().startsWith("Tallyvane - Plant - "));
        app.ExitInstance();
    }
    EXPECT_TRUE(prompter.asked.empty()) << prompter.Texts().front();

    // A remembered setup the workspace no longer has: said so, then the welcome.
    WritePrivateProfileString("Recent File List", "SetupName", "Nowhere", kProfileFile);
    {
        ProgramHost host(kProgramBin);
        CLoggerApp app(host, kProgramBin);
        WhenShown<CWelcomeDialog>([](CWelcomeDialog& d) { d.reject(); }, &welcomes);
        ASSERT_TRUE(app.InitInstance({}));
        EXPECT_EQ(welcomes, 1);
        EXPECT_EQ(prompter.Texts(),
                  std::vector<std::string>{"Could not open last used setup (Nowhere)"});
        EXPECT_EQ(host.Document()->IsSetupLoaded(), 0);
        EXPECT_TRUE(app.GetStateInfo().m_setupName.empty());
        app.ExitInstance();
    }
}

// The child: a run of three channels through the main window, the dataset
// written at every poll. It reports the readings stored after poll 6 and
// after poll 7, then waits to be killed.
[[noreturn]] void RunUntilKilled(SimulatedProgram& program, int report) {
    TestApp();
    auto db = std::make_shared<CDynaDatabase>();
    if (!db->Open({}, false, false,
                  "ODBC;Driver=SQLite3;Database=" + program.database.string() + ";"))
        _exit(2);
    program.state.m_pDatabase = db;
    CMainFrame frame;
    CAppPreferences preferences;
    preferences.Initialize();
    preferences.SetPrefValue(CAppPreferences::kStartScanningWindow, "N");
    DocumentWiring wiring(program.state, &program.connection, &frame, &preferences);
    CLoggerDoc& doc = wiring.Document();
    program.MakeSetup(doc, 3);
    if (doc.IsSetupLoaded() == 0 || !program.Binding().SetScanInterval(1.0) ||
        !program.Binding().InitInstrument())
        _exit(3);
    doc.GetScan()->m_scanInterval = 1.0;
    doc.SetSetupInInstrument(1);
    // File New remembers the new setup and its dataset.
    program.state.SaveRecentNames();
    doc.SetModifiedFlag(false);
    frame.UpdateToolbars(); // the setup opens the commands
    frame.Action(cmd::kStartScan)->trigger();
    if (doc.IsScanning() == 0)
        _exit(4);
    std::int32_t counts[2] = {0, 0};
    for (int poll = 1; poll <= 7; ++poll) {
        program.clock.Advance(1000);
        frame.OnTimer(CMainFrame::kScanTimer);
        if (poll >= 6)
            counts[poll - 6] = static_cast<std::int32_t>(doc.GetDataset()->GetReadingCount());
    }
    if (write(report, counts, sizeof counts) != sizeof counts)
        _exit(5);
    for (;;)
        pause();
}

TEST(StartupThroughProgram, RestoreAfterAKilledRunBringsBackTheSetupAndItsReadings) {
    SimulatedProgram program;
    program.Start();
    ASSERT_FALSE(HasFatalFailure());
    WriteProgramSettings();
    WritePrivateProfileString("Settings", "AutoSaveIntervalSeconds", "1", kProfileFile);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        RunUntilKilled(program, fds[1]);
    }
    close(fds[1]);
    std::int32_t counts[2] = {0, 0};
    const bool reported = read(fds[0], counts, sizeof counts) == sizeof counts;
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(fds[0]);
    ASSERT_TRUE(reported) << "the child ended early, status " << status;
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GT(counts[0], 0);
    EXPECT_EQ(GetPrivateProfileString("Settings", "Valid", "", kProfileFile), "0");
    const std::string dataset =
        GetPrivateProfileString("Recent File List", "DatasetName", "", kProfileFile);

    TestApp();
    ScriptedPrompter prompter;
    prompter.Script({MsgAnswer::Yes});
    ScopedService<IPrompter> guard(SetPrompter, &prompter);
    ProgramHost host(kProgramBin);
    CLoggerApp app(host, kProgramBin);
    static int welcomes; // a watcher may outlive the test
    welcomes = 0;
    WhenShown<CWelcomeDialog>([](CWelcomeDialog& d) { d.reject(); }, &welcomes);
    ASSERT_TRUE(app.InitInstance({}));
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked[0].text.rfind("The application was previously terminated", 0), 0u);
    EXPECT_EQ(prompter.asked.size(), 1u) << prompter.Texts().back();
    EXPECT_EQ(welcomes, 0);
    CLoggerDoc* doc = host.Document();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->IsSetupLoaded(), 1);
    EXPECT_EQ(app.GetStateInfo().m_setupName, "Bench run");
    EXPECT_EQ(app.GetStateInfo().m_datasetName, dataset);
    ASSERT_NE(doc->GetDataset(), nullptr);
    const auto restored = static_cast<std::int32_t>(doc->GetDataset()->GetReadingCount());
    // Every reading written before the kill, none lost: what poll 6 stored at
    // least, what poll 7 stored at most.
    EXPECT_GE(restored, counts[0]);
    EXPECT_LE(restored, counts[1]);
    // The displays were given the stored readings: the window up to where the
    // dataset stands is in the reading store.
    EXPECT_TRUE(doc->HasReadings());
    std::vector<ReadingRecord*> shown;
    EXPECT_GT(doc->GetChannelReadings(101, shown), 0);
    app.ExitInstance();
    EXPECT_EQ(GetPrivateProfileString("Settings", "Valid", "", kProfileFile), "1");
}

} // namespace
} // namespace tvane::test
