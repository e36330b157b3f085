// The File commands through the main window on the simulated instrument and the
// seed workspace: New Setup, Save, Close and Open end to end, the refusal of a
// setup whose files are gone or damaged, the recent setups, and the pictures
// of the start-up and help windows.
#include <filesystem>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CLoggerDoc.h"
#include "app/RecentSetupList.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CNewSetupDialog.h"
#include "app/frame/COpenSetupDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/CShowToolbarsDialog.h"
#include "app/frame/CStartupDialogs.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FileCommandWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "database/CStateInfo.h"
#include "database/CWorkspace.h"
#include "database/DataSource.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/storage/Storage.h"
#include "platform/ui/Prompter.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "shared/view/MfxFontQt.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

const std::filesystem::path kBin = std::filesystem::path(TVANE_BINARY_DIR) / "bin";

void SavePicture(QWidget& window, const char* name) {
    window.adjustSize();
    ASSERT_TRUE(SaveArtifact(window, name));
}

// One row of the setup as the grid shows it.
std::vector<std::string> Rows(CLoggerDoc& doc) {
    std::vector<std::string> rows;
    for (std::int32_t i = 0; i < doc.GetSetup()->GetSize(); ++i) {
        const CFXSetup* row = doc.GetSetupRow(i);
        rows.push_back(std::to_string(row->Channel) + "|" + row->Name + "|" + row->Function + "|" +
                       std::to_string(row->ChannelMode));
    }
    return rows;
}

class FileCommandsTest : public ::testing::Test {
protected:
    FileCommandsTest() {
        whole.Start({std::nullopt, {}});
        if (HasFatalFailure())
            return;
        files = std::make_unique<FileCommandWiring>(wiring->Document(),
                                                    wiring->Operations().Workspace().Workspace(),
                                                    frame, recent, preferences, kBin.string());
        frame.UpdateToolbars();
    }
    ~FileCommandsTest() override {
        files.reset();
        wiring.reset();
    }
    CLoggerDoc& doc() { return wiring->Document(); }
    bool Enabled(unsigned id) {
        frame.UpdateToolbars();
        return frame.Action(id)->isEnabled();
    }
    // A saved setup of the name with its own files, made the open one.
    void MakeSavedSetup(const std::string& name) {
        program.MakeSetup(doc(), 2);
        CStateInfo& state = program.state;
        const std::string oldName = state.m_setupName;
        ASSERT_TRUE(wiring->Operations().Workspace().Workspace().UpdateSetupRecord(
            oldName, {name, "ann", "made by the test"}));
        state.m_setupName = name;
        ASSERT_TRUE(doc().OnSaveDocument(state.m_setupFile));
        state.m_flags = {};
        files->Commands().UpdateMainTitle(state);
    }
    // Opens the named setup from the Open dialog. Its new dataset is named by
    // the time: a second later than the last one.
    void OpenFromDialog(const std::string& setup, bool* openEnabled = nullptr,
                        const char* picture = nullptr, const std::string& dataset = {}) {
        program.clock.Advance(1000);
        WhenShown<COpenSetupDialog>([=](COpenSetupDialog& d) {
            d.SelectNode(setup, dataset);
            if (openEnabled)
                *openEnabled = d.OpenButton()->isEnabled();
            if (picture)
                SavePicture(d, picture);
            d.OpenButton()->click();
            if (d.isVisible())
                d.reject();
        });
        frame.Action(cmd::kFileOpen)->trigger();
    }

    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard{SetPrompter, &prompter};
    WholeProgram whole;
    SimulatedProgram& program = whole.program;
    CMainFrame& frame = whole.frame;
    CAppPreferences& preferences = whole.preferences;
    std::unique_ptr<DocumentWiring>& wiring = whole.wiring;
    RecentSetupList recent;
    std::unique_ptr<FileCommandWiring> files;
};

// New Setup with three modules starts with a strip chart of the first channel;
// Save, Close, and the same rows and chart back from Open.
TEST_F(FileCommandsTest, NewSaveCloseAndOpenBringBackTheSameRows) {
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(Enabled(cmd::kFileNew));
    EXPECT_EQ(frame.Action(cmd::kFileNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(frame.Action(cmd::kFileOpen)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    int shown = 0;
    QString proposed;
    WhenShown<CNewSetupDialog>(
        [&proposed](CNewSetupDialog& d) {
            proposed = d.NameEdit()->text();
            d.NameEdit()->clear();
            EXPECT_FALSE(d.OkButton()->isEnabled());
            d.NameEdit()->setText("Three modules");
            for (int slot = 0; slot < 3; ++slot)
                d.SlotList(slot)->setCurrentIndex(slot + 1);
            EXPECT_EQ(d.SlotList(0)->currentText(),
                      "QT7101 20-channel multiplexer with 2 current channels");
            SavePicture(d, "new_setup.png");
            d.OkButton()->click();
        },
        &shown);
    frame.Action(cmd::kFileNew)->trigger();
    ASSERT_EQ(shown, 1);
    EXPECT_TRUE(proposed.startsWith("Setup ")) << proposed.toStdString();
    const CStateInfo& state = program.state;
    ASSERT_EQ(doc().IsSetupLoaded(), 1);
    EXPECT_EQ(state.m_setupName, "Three modules");
    EXPECT_EQ(state.m_modules, (std::array<std::string, 3>{"KXQT7101", "KXQT7102", "KXQT7103"}));
    EXPECT_EQ(frame.windowTitle().toStdString(),
              "Tallyvane - Three modules - " + state.m_datasetName);
    EXPECT_EQ(recent.Entry(0), "Three modules");
    EXPECT_EQ(GetPrivateProfileString("Recent File List", "SetupName", "", kProfileFile),
              "Three modules");
    EXPECT_TRUE(prompter.asked.empty()) << prompter.Texts().front();

    // The one graphics page holds a strip chart of the setup's first channel.
    ASSERT_NE(wiring->Graphics(), nullptr);
    CGraphViewWnd* page = wiring->Graphics()->Page(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(wiring->Graphics()->Page(1), nullptr);
    ASSERT_EQ(page->Model().GetFrameCount(), 1);
    auto* chart = dynamic_cast<CXrtOverlayFrame*>(page->Model().GetSelected());
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(chart->GetRange(0).has_value());
    EXPECT_EQ(chart->GetRange(0)->channel.number, 101);
    EXPECT_FALSE(chart->GetRange(1).has_value());
    frame.resize(900, 650);
    frame.Pages()->setCurrentWidget(page);
    EXPECT_TRUE(SaveArtifact(frame, "new_setup_strip_chart.png"));
    frame.SelectPage(0);

    // An edit, saved under the setup's own name.
    doc().GetSetupRow(1)->Name = "Inlet";
    doc().GetSetupRow(1)->ChannelMode = 1;
    doc().SetModifiedFlag(true);
    const std::vector<std::string> rows = Rows(doc());
    ASSERT_GT(rows.size(), 40u);
    WhenShown<CSaveSetupDialog>([](CSaveSetupDialog& d) { d.OkButton()->click(); });
    frame.Action(cmd::kFileSave)->trigger();
    EXPECT_EQ(doc().IsNeverSaved(), 0);

    ASSERT_TRUE(Enabled(cmd::kFileClose));
    prompter.Script({MsgAnswer::No});
    frame.Action(cmd::kFileClose)->trigger();
    EXPECT_EQ(doc().IsSetupLoaded(), 0);
    EXPECT_TRUE(program.state.m_setupName.empty());
    EXPECT_EQ(frame.windowTitle(), "Tallyvane - No setup exists. Please use File Open or File New");
    EXPECT_FALSE(doc().IsModified());

    bool openEnabled = false;
    OpenFromDialog("Three modules", &openEnabled, "open_setup.png");
    EXPECT_TRUE(openEnabled);
    ASSERT_EQ(doc().IsSetupLoaded(), 1);
    EXPECT_EQ(program.state.m_setupName, "Three modules");
    EXPECT_EQ(Rows(doc()), rows);
    EXPECT_EQ(frame.windowTitle().toStdString(),
              "Tallyvane - Three modules - " + program.state.m_datasetName);
    EXPECT_FALSE(doc().IsModified());
    page = wiring->Graphics()->Page(0);
    ASSERT_NE(page, nullptr);
    CGraphFrame* reopened = nullptr;
    std::string title;
    ASSERT_TRUE(page->Model().GetFrameAt(0, reopened, title));
    EXPECT_NE(dynamic_cast<CXrtOverlayFrame*>(reopened), nullptr) << title;
}

// Yes to "Save changes" whose save does not happen keeps the setup open: the
// command stops as for Cancel, and nothing of the setup is lost.
TEST_F(FileCommandsTest, CloseStopsWhenTheSaveItAskedForDidNotHappen) {
    ASSERT_FALSE(HasFatalFailure());
    program.MakeSetup(doc(), 2);
    ASSERT_FALSE(HasFatalFailure());
    files->Commands().UpdateMainTitle(program.state);
    doc().GetSetupRow(0)->Name = "unsaved edit";
    program.state.m_flags[0] = 1; // as the grid marks an edit
    prompter.Script({MsgAnswer::Yes});
    int shown = 0;
    WhenShown<CSaveSetupDialog>([](CSaveSetupDialog& d) { d.reject(); }, &shown);
    ASSERT_TRUE(Enabled(cmd::kFileClose));
    frame.Action(cmd::kFileClose)->trigger();
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "Save changes to Bench run");
    EXPECT_EQ(doc().IsSetupLoaded(), 1);
    EXPECT_EQ(program.state.m_setupName, "Bench run");
    EXPECT_EQ(doc().GetSetupRow(0)->Name, "unsaved edit");
}

// A setup whose file is damaged or gone, or whose dataset storage is damaged,
// is refused with the program's message; the open setup stays.
TEST_F(FileCommandsTest, ASetupThatCannotBeOpenedLeavesTheOpenOneAlone) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Spoilt");
    ASSERT_FALSE(HasFatalFailure());
    const std::string spoiltDataset = program.state.m_datasetName;
    const std::string spoiltKey = program.state.m_datasetKey;
    const std::string setupFile = program.state.m_setupFile;
    const std::string storage = CWorkspace::MakeCompanionFileName(setupFile);
    const std::string bytes = ReadFile(setupFile);
    const std::string storageBytes = ReadFile(storage);
    MakeSavedSetup("Current");
    ASSERT_FALSE(HasFatalFailure());
    doc().GetSetupRow(0)->Name = "kept";
    const std::vector<std::string> rows = Rows(doc());
    const std::string dataset = program.state.m_datasetName;

    struct Case {
        const char* what;
        std::function<void()> spoil;
    } cases[] = {
        {"damaged setup file", [&] { WriteFile(setupFile, std::string(600, 'x')); }},
        {"missing setup file", [&] { std::filesystem::remove(setupFile); }},
        {"damaged dataset storage",
         [&] {
             WriteFile(setupFile, bytes);
             WriteFile(storage, std::string(1024, 'y'));
         }},
        // A sound storage file whose chosen dataset lost its header.
        {"damaged dataset",
         [&] {
             WriteFile(storage, storageBytes);
             Storage root = StgOpenStorage(storage, STGM_READWRITE | STGM_SHARE_EXCLUSIVE);
             Storage run = root.OpenStorage(spoiltKey, STGM_READWRITE | STGM_SHARE_EXCLUSIVE);
             run.DestroyElement("Header");
             run.Commit();
             run.Close();
             root.Commit();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.spoil();
        prompter = {};
        const bool ofDataset = std::string(c.what) == "damaged dataset";
        OpenFromDialog("Spoilt", nullptr, nullptr, ofDataset ? spoiltDataset : std::string());
        // The program's message names what failed.
        ASSERT_EQ(prompter.asked.size(), 1u) << c.what;
        const std::string& text = prompter.asked[0].text;
        EXPECT_TRUE(
            text.find(std::filesystem::path(setupFile).filename().string()) != std::string::npos ||
            text.find(std::filesystem::path(storage).filename().string()) != std::string::npos ||
            (ofDataset && text.find("Header") != std::string::npos))
            << text;
        EXPECT_EQ(doc().IsSetupLoaded(), 1);
        EXPECT_EQ(program.state.m_setupName, "Current");
        EXPECT_EQ(program.state.m_datasetName, dataset);
        EXPECT_EQ(Rows(doc()), rows);
        EXPECT_TRUE(frame.isEnabled());
        EXPECT_EQ(frame.windowTitle().toStdString(), "Tallyvane - Current - " + dataset);
    }
    WriteFile(storage, storageBytes);
}

// The recent setups in the File menu open without the Open window; a setup
// the workspace no longer has says so.
TEST_F(FileCommandsTest, RecentSetupsOpenFromTheFileMenu) {
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(Enabled(cmd::kRecentFirst)) << "an empty list has one disabled entry";
    MakeSavedSetup("First");
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Second");
    ASSERT_FALSE(HasFatalFailure());
    recent.Add("Gone");
    frame.UpdateRecentSetups();
    EXPECT_EQ(frame.Action(cmd::kRecentFirst)->text(), "&1 Gone");
    EXPECT_EQ(frame.Action(cmd::kRecentFirst + 2)->text(), "&3 First");
    EXPECT_FALSE(frame.Action(cmd::kRecentLast)->isVisible());
    ASSERT_TRUE(Enabled(cmd::kRecentFirst + 2));
    program.clock.Advance(1000);
    frame.Action(cmd::kRecentFirst + 2)->trigger();
    EXPECT_EQ(program.state.m_setupName, "First");
    EXPECT_EQ(recent.Entry(0), "First");
    EXPECT_TRUE(prompter.asked.empty());

    prompter = {};
    ASSERT_EQ(recent.Entry(1), "Gone");
    frame.Action(cmd::kRecentFirst + 1)->trigger();
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Could not open the setup (Gone)"});
    EXPECT_EQ(program.state.m_setupName, "First");
}

// Modify/Delete: the same window as Open under "Modify", deleting a setup.
TEST_F(FileCommandsTest, ModifyDeleteDeletesAnotherSetup) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Old");
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Current");
    ASSERT_FALSE(HasFatalFailure());
    prompter.Script({MsgAnswer::Yes});
    QString caption;
    bool deleteEnabled = false;
    WhenShown<COpenSetupDialog>([&](COpenSetupDialog& d) {
        caption = d.windowTitle();
        d.SelectNode("Old");
        deleteEnabled = d.DeleteButton()->isEnabled();
        SavePicture(d, "modify_setup.png");
        d.DeleteButton()->click();
        EXPECT_EQ(d.CancelButton()->text(), "Close");
        d.CancelButton()->click();
    });
    frame.Action(cmd::kModifyDelete)->trigger();
    EXPECT_EQ(caption, "Modify");
    EXPECT_TRUE(deleteEnabled);
    EXPECT_FALSE(wiring->Operations().Workspace().Workspace().SetupExists("Old"));
    EXPECT_TRUE(wiring->Operations().Workspace().Workspace().SetupExists("Current"));
    EXPECT_EQ(program.state.m_setupName, "Current");
}

// The Toolbars window shows or hides each bar; Cancel changes none.
TEST_F(FileCommandsTest, ToolbarsWindowShowsAndHidesTheBars) {
    ASSERT_FALSE(HasFatalFailure());
    frame.show();
    WhenShown<CShowToolbarsDialog>([](CShowToolbarsDialog& d) {
        for (int i = 0; i < CShowToolbarsDialog::kBars; ++i)
            EXPECT_TRUE(d.Box(CShowToolbarsDialog::Bar(i))->isChecked());
        for (int i = 0; i < CShowToolbarsDialog::kBars; ++i)
            d.Box(CShowToolbarsDialog::Bar(i))->setChecked(false);
        d.reject();
    });
    frame.Action(cmd::kToolbars)->trigger();
    for (QWidget* bar : frame.Bars())
        EXPECT_FALSE(bar->isHidden());
    WhenShown<CShowToolbarsDialog>([](CShowToolbarsDialog& d) {
        SavePicture(d, "show_toolbars.png");
        for (int i = 0; i < CShowToolbarsDialog::kBars; ++i)
            d.Box(CShowToolbarsDialog::Bar(i))->setChecked(false);
        d.accept();
    });
    frame.Action(cmd::kToolbars)->trigger();
    for (QWidget* bar : frame.Bars())
        EXPECT_TRUE(bar->isHidden());
    frame.hide();
}

// The warnings Qt prints while a test draws its windows.
std::vector<std::string>& QtWarnings() {
    static std::vector<std::string> warnings;
    return warnings;
}

void KeepQtWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg)
        QtWarnings().push_back(text.toStdString());
}

// Tip of the Day and About from the Help menu, with their pictures, in the
// dialog font the program makes at start-up.
TEST_F(FileCommandsTest, HelpWindowsAndTheirPictures) {
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(CreateDialogFont());
    QtWarnings().clear();
    const QtMessageHandler previous = qInstallMessageHandler(KeepQtWarning);
    QString tip, next;
    WhenShown<CTipOfDayDialog>([&](CTipOfDayDialog& d) {
        tip = d.TipText()->text();
        d.NextButton()->click();
        next = d.TipText()->text();
        SavePicture(d, "tip_of_the_day.png");
        d.ShowAtStartup()->setChecked(false);
        d.accept();
    });
    frame.Action(cmd::kTipOfTheDay)->trigger();
    qInstallMessageHandler(previous);
    DeleteDialogFont();
    for (const std::string& warning : QtWarnings())
        EXPECT_EQ(warning.find("Point size"), std::string::npos) << warning;
    EXPECT_FALSE(tip.isEmpty());
    EXPECT_NE(tip, next);
    std::string value;
    preferences.GetPrefValue(CAppPreferences::kTipOfTheDay, value);
    EXPECT_EQ(value, "N");

    QString notes;
    WhenShown<CTextViewerDialog>([&](CTextViewerDialog& d) {
        notes = d.Text()->toPlainText();
        SavePicture(d, "release_notes.png");
        d.accept();
    });
    WhenShown<CAboutDialog>([](CAboutDialog& d) {
        SavePicture(d, "about.png");
        d.NotesButton()->click();
        d.accept();
    });
    frame.Action(cmd::kAbout)->trigger();
    EXPECT_TRUE(notes.startsWith("Tallyvane 1.5.030305"));

    CWelcomeDialog welcome(false, &frame);
    EXPECT_FALSE(welcome.ChoiceButton(1)->isEnabled());
    welcome.show();
    SavePicture(welcome, "welcome.png");
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen();
    ASSERT_NE(CSplashWnd::Instance(), nullptr);
    SavePicture(*CSplashWnd::Instance(), "splash.png");
    CSplashWnd::HideSplashScreen();
    EXPECT_EQ(CSplashWnd::Instance(), nullptr);
}

} // namespace
} // namespace tvane::test
