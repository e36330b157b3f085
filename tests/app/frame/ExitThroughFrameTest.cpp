// Closing the main window on the simulated instrument: an edit in the setup
// grid is offered for saving the way File Close offers it, and a run is
// asked about first.
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CLoggerDoc.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/SetupViewPage.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "setup/SetupGridDefs.h"
#include "setup/view/CSetupView.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

constexpr const char* kRunQuestion = "Scan in progress, are you sure you want to exit?";
constexpr const char* kSaveQuestion = "Save changes to Exit bench";

class ExitThroughFrame : public ::testing::Test {
protected:
    void SetUp() override {
        whole.Start({std::nullopt, {}});
        if (HasFatalFailure())
            return;
        frame.resize(1000, 600);
        ShowFrame();
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        wiring.reset();
    }

    CLoggerDoc& doc() { return wiring->Document(); }
    CSetupView& view() { return wiring->SetupPage()->View(); }
    void ShowFrame() {
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    // A new setup; kept, it is saved into its file and opened from it.
    void MakeSetup(bool saved) {
        CStateInfo setup = program.state;
        setup.m_setupName = "Exit bench";
        setup.m_modules = {"KXQT7101", "(None)", "(None)"};
        ASSERT_TRUE(doc().CreateNewSetup(setup, 0, false));
        program.state = setup;
        if (saved) {
            ASSERT_TRUE(doc().OnSaveDocument(program.state.m_setupFile));
            ASSERT_TRUE(doc().OnOpenDocument(program.state.m_setupFile));
        }
        QCoreApplication::processEvents();
    }
    const CFXSetup& Channel(int channel) {
        return *doc().GetSetupRow(doc().GetGridRow(channel) - 2);
    }
    // Types a name into the channel's name cell, as the user does.
    void TypeName(int channel, const char* name) {
        const int row = doc().GetGridRow(channel);
        view().ScrollToCell(row, setupgrid::kColName);
        QRect rect;
        QWidget* viewport = view().CellViewport(row, setupgrid::kColName, rect);
        ASSERT_NE(viewport, nullptr);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, rect.center());
        QCoreApplication::processEvents();
        QTest::keyClicks(&view(), name);
        QLineEdit* edit = nullptr;
        for (QLineEdit* e : view().findChildren<QLineEdit*>())
            if (e->isVisible())
                edit = e;
        ASSERT_NE(edit, nullptr);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCoreApplication::processEvents();
        ASSERT_EQ(Channel(channel).ChannelName, name);
        ASSERT_TRUE(program.state.IsBusy()) << "the grid marks its edits";
    }
    // The channel's name as the setup's file holds it.
    std::string NameInFile(int channel) {
        EXPECT_TRUE(doc().OnOpenDocument(program.state.m_setupFile));
        QCoreApplication::processEvents();
        return Channel(channel).ChannelName;
    }

    QApplication& app = TestApp();
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterService{SetPrompter, &prompter};
    QtMessageScheduler scheduler;
    ScopedService<IMessageScheduler> schedulerService{SetMessageScheduler, &scheduler};
    WholeProgram whole;
    SimulatedProgram& program = whole.program;
    CMainFrame& frame = whole.frame;
    CAppPreferences& preferences = whole.preferences;
    std::unique_ptr<DocumentWiring>& wiring = whole.wiring;
};

// Cancel keeps the window and the edit; Yes saves it before the window
// closes; No closes and leaves the file as it was.
TEST_F(ExitThroughFrame, ClosingAfterAGridEditAsksToSaveIt) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSetup(true);
    ASSERT_FALSE(HasFatalFailure());
    TypeName(103, "Inlet");
    ASSERT_FALSE(HasFatalFailure());

    prompter.Script({MsgAnswer::Cancel});
    EXPECT_FALSE(frame.close());
    ASSERT_EQ(prompter.Texts(), std::vector<std::string>{kSaveQuestion});
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(program.state.IsBusy());
    EXPECT_EQ(Channel(103).ChannelName, "Inlet");

    // Yes from File Exit saves the setup under its name before the window closes.
    prompter = {};
    prompter.Script({MsgAnswer::Yes});
    frame.Action(cmd::kExit)->trigger();
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{kSaveQuestion});
    EXPECT_FALSE(frame.isVisible());
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(NameInFile(103), "Inlet");

    // No: the window closes without saving the second edit.
    ShowFrame();
    TypeName(104, "Outlet");
    ASSERT_FALSE(HasFatalFailure());
    prompter = {};
    prompter.Script({MsgAnswer::No});
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{kSaveQuestion});
    EXPECT_FALSE(frame.isVisible());
    EXPECT_FALSE(doc().IsModified());
    EXPECT_FALSE(wiring->App().IsSetupDiscard()) << "a saved setup is kept";
    EXPECT_EQ(NameInFile(104), "");
    EXPECT_EQ(Channel(103).ChannelName, "Inlet");
}

// No for a setup that was never saved leaves it to be discarded with the
// document; a window without changes closes without a question.
TEST_F(ExitThroughFrame, NoForANeverSavedSetupDiscardsIt) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSetup(false);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(frame.close()) << "nothing changed yet";
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_FALSE(wiring->App().IsSetupDiscard());

    ShowFrame();
    TypeName(101, "Probe");
    ASSERT_FALSE(HasFatalFailure());
    prompter.Script({MsgAnswer::No});
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{kSaveQuestion});
    EXPECT_TRUE(wiring->App().IsSetupDiscard());
}

// During a run the run is asked about before anything else; No keeps the
// window and the run.
TEST_F(ExitThroughFrame, ClosingDuringARunAsksAboutTheRunFirst) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSetup(true);
    ASSERT_FALSE(HasFatalFailure());
    TypeName(103, "Inlet");
    ASSERT_FALSE(HasFatalFailure());
    doc().GetScanEngine().BeginRun();
    ASSERT_TRUE(doc().IsScanning());

    prompter.Script({MsgAnswer::No});
    EXPECT_FALSE(frame.close());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{kRunQuestion});
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(doc().IsScanning());
    EXPECT_TRUE(program.state.IsBusy());
    doc().GetScanEngine().HaltRun();
}

} // namespace
} // namespace tvane::test
