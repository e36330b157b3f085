// The setup grid as a user meets it on the simulated instrument: closed to
// edits while a run measures its setup, a name still being typed kept by every
// way out of the setup, the tab colour of Options kept with the setup, the
// page's help, and the texts of the grid, the Scan Status window and the event
// log measured against their cells.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CLoggerDoc.h"
#include "app/RecentSetupList.h"
#include "app/eventlog/CEventFrame.h"
#include "app/eventlog/CEventView.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CNewSetupDialog.h"
#include "app/frame/COpenSetupDialog.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FileCommandWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/SetupSheets.h"
#include "app/frame/SetupViewPage.h"
#include "app/timeedit/CDateTimeEditWnd.h"
#include "platform/core/Services.h"
#include "platform/gridview/GridHeaderView.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "setup/IColorPicker.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupViewCommands.h"
#include "setup/view/CScanSettings.h"
#include "setup/view/CSetupPropSheet.h"
#include "setup/view/CSetupView.h"
#include "tests/app/frame/QtApp.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/TextFits.h"
#include "tests/app/frame/WhenShown.h"
#include "ui_AppearancePage.h"
#include "ui_ScanSettingsPage.h"

namespace tvane::test {
namespace {

using namespace setupgrid;

const std::filesystem::path kEditsBin = std::filesystem::path(TVANE_BINARY_DIR) / "bin";

void SaveEditsPicture(QWidget& window, const char* name) {
    const auto dir = std::filesystem::path(TVANE_BINARY_DIR) / "artifacts";
    std::filesystem::create_directories(dir);
    const QPixmap shot = window.grab();
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(shot.save(QString::fromStdString((dir / name).string())));
}

// A colour dialog that picks one colour.
struct PickOneColour final : IColorPicker {
    std::uint32_t colour = 0;
    bool PickColor(std::uint32_t& chosen) override {
        chosen = colour;
        return true;
    }
};

class SetupEditsThroughFrame : public ::testing::Test {
protected:
    void SetUp() override {
        program.Start();
        if (HasFatalFailure())
            return;
        preferences.Initialize();
        wiring = std::make_unique<DocumentWiring>(program.state, &program.connection, &frame,
                                                  &preferences);
        files = std::make_unique<FileCommandWiring>(wiring->Document(),
                                                    wiring->Operations().Workspace().Workspace(),
                                                    frame, recent, preferences, kEditsBin.string());
        frame.resize(1280, 900);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        files.reset();
        wiring.reset();
    }

    CLoggerDoc& doc() { return wiring->Document(); }
    CSetupView& view() { return wiring->SetupPage()->View(); }
    // A setup of one module with channel 101 scanned, saved into its own
    // file and opened from it, as File Open shows it.
    void MakeSavedSetup(const std::string& name) {
        CStateInfo setup = program.state;
        setup.m_setupName = name;
        setup.m_modules = {"KXQT7101", "(None)", "(None)"};
        ASSERT_TRUE(doc().CreateNewSetup(setup, 0, false));
        program.state = setup;
        doc().GetSetupRow(0)->ChannelMode = 1;
        ASSERT_TRUE(doc().OnSaveDocument(program.state.m_setupFile));
        ASSERT_TRUE(doc().OnOpenDocument(program.state.m_setupFile));
        program.state.m_flags = {};
        doc().SetModifiedFlag(false);
        files->Commands().UpdateMainTitle(program.state);
        QCoreApplication::processEvents();
    }
    const CFXSetup& Channel(int channel) {
        return *doc().GetSetupRow(doc().GetGridRow(channel) - 2);
    }
    QLineEdit* ActiveEdit() {
        for (QLineEdit* edit : view().findChildren<QLineEdit*>())
            if (edit->isVisible())
                return edit;
        return nullptr;
    }
    // Types into the channel's name cell and stays in it: nothing is stored
    // yet, nothing marked as changed.
    void TypeName(int channel, const char* name) {
        const int row = doc().GetGridRow(channel);
        view().ScrollToCell(row, kColName);
        QRect rect;
        QWidget* viewport = view().CellViewport(row, kColName, rect);
        ASSERT_NE(viewport, nullptr);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, rect.center());
        QCoreApplication::processEvents();
        QTest::keyClicks(&view(), name);
        QCoreApplication::processEvents();
    }
    // The channel's name as the workspace's setup holds it, opened again.
    std::string NameInSetup(const std::string& setup, int channel) {
        program.clock.Advance(1000);
        EXPECT_TRUE(files->Commands().RestoreLastSetup(setup, {}));
        QCoreApplication::processEvents();
        EXPECT_EQ(program.state.m_setupName, setup);
        return Channel(channel).ChannelName;
    }

    QApplication& app = TestApp();
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterService{SetPrompter, &prompter};
    QtMessageScheduler scheduler;
    ScopedService<IMessageScheduler> schedulerService{SetMessageScheduler, &scheduler};
    SimulatedProgram program;
    CMainFrame frame;
    CAppPreferences preferences;
    RecentSetupList recent;
    std::unique_ptr<DocumentWiring> wiring;
    std::unique_ptr<FileCommandWiring> files;
};

// Start Scan closes the grid to edits for the run; the end of the run opens
// it again. The Scan Status window and the event log show every text whole.
TEST_F(SetupEditsThroughFrame, TheGridRefusesEditsDuringARunAndTakesThemAfter) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Run bench");
    ASSERT_FALSE(HasFatalFailure());
    doc().GetScan()->m_scanInterval = 1.0;
    doc().SetSetupInInstrument(false);
    ASSERT_TRUE(view().isEnabled());

    int statusShown = 0;
    WhenShown<CScanStatusDialog>(
        [](CScanStatusDialog& d) {
            QListWidget* list = d.List();
            EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
            // Each row's parts side by side fit the list.
            const QFontMetrics metrics(list->font());
            for (int i = 0; i < list->count(); ++i) {
                int width = 0;
                for (const QString& part : list->item(i)->text().split('\t'))
                    width += metrics.horizontalAdvance(part);
                EXPECT_LE(width, list->viewport()->width()) << list->item(i)->text().toStdString();
            }
            SaveEditsPicture(d, "scan_status.png");
            d.StartButton()->click();
        },
        &statusShown);
    frame.UpdateToolbars();
    ASSERT_TRUE(frame.Action(cmd::kStartScan)->isEnabled());
    frame.Action(cmd::kStartScan)->trigger();
    ASSERT_EQ(statusShown, 1);
    ASSERT_TRUE(doc().IsScanning());
    for (int poll = 0; poll < 3; ++poll) {
        program.clock.Advance(1000);
        frame.OnTimer(CMainFrame::kScanTimer);
    }

    // The grid takes neither clicks nor keys: the function and the name stay.
    frame.SelectPage(0);
    EXPECT_FALSE(view().isEnabled());
    TypeName(101, "Renamed");
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(ActiveEdit(), nullptr);
    QTest::keyClick(&view(), Qt::Key_Tab);
    EXPECT_EQ(Channel(101).ChannelName, "");
    EXPECT_EQ(Channel(101).Function, "DC volts");
    EXPECT_FALSE(program.state.IsBusy());

    // The event log's date and time are never cut, however narrow the window.
    ASSERT_TRUE(frame.CreateEventLog(true));
    CEventFrame* log = frame.EventFrame();
    ASSERT_NE(log, nullptr);
    CEventView& events = *log->View();
    ASSERT_GE(events.Core().GetRowCount(), 1);
    for (int width : {420, 900}) {
        log->resize(width, 260);
        QCoreApplication::processEvents();
        EXPECT_TRUE(CutCells(events, 3).empty()) << width << ": " << CutCells(events, 3).front();
        EXPECT_TRUE(CutHeaders(events).empty()) << width;
    }
    SaveEditsPicture(*log, "event_log.png");
    frame.CreateEventLog(false);

    int saveShown = 0;
    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& d) { d.reject(); }, &saveShown);
    frame.Action(cmd::kStopScan)->trigger();
    EXPECT_EQ(saveShown, 1);
    ASSERT_FALSE(doc().IsScanning());

    EXPECT_TRUE(view().isEnabled());
    TypeName(101, "Inlet");
    ASSERT_FALSE(HasFatalFailure());
    QLineEdit* edit = ActiveEdit();
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(Channel(101).ChannelName, "Inlet");
    EXPECT_TRUE(program.state.IsBusy());
}

// A name typed into its cell and not yet left is part of the setup for Save
// As, Close, New, Open and for closing the main window.
TEST_F(SetupEditsThroughFrame, EveryWayOutKeepsANameStillBeingTyped) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Other");
    ASSERT_FALSE(HasFatalFailure());
    struct Way {
        const char* name;
        bool asksToSave; // Save As needs no question
        std::function<void()> leave;
    };
    const Way ways[] = {
        {"Save As", false,
         [&] {
             WhenShown<CSaveSetupDialog>([](CSaveSetupDialog& d) {
                 d.NameEdit()->setText("Saved as");
                 d.OkButton()->click();
             });
             frame.Action(cmd::kFileSaveAs)->trigger();
         }},
        {"Close", true, [&] { frame.Action(cmd::kFileClose)->trigger(); }},
        {"New", true,
         [&] {
             WhenShown<CNewSetupDialog>([](CNewSetupDialog& d) {
                 d.NameEdit()->setText("Fresh");
                 d.SlotList(0)->setCurrentIndex(1);
                 d.OkButton()->click();
             });
             frame.Action(cmd::kFileNew)->trigger();
         }},
        {"Open", true,
         [&] {
             program.clock.Advance(1000);
             WhenShown<COpenSetupDialog>([](COpenSetupDialog& d) {
                 d.SelectNode("Other");
                 d.OpenButton()->click();
             });
             frame.Action(cmd::kFileOpen)->trigger();
         }},
        {"closing the window", true, [&] { EXPECT_TRUE(frame.close()); }},
    };
    int n = 0;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        const std::string setup = "Typed " + std::to_string(++n);
        frame.show();
        MakeSavedSetup(setup);
        ASSERT_FALSE(HasFatalFailure());
        TypeName(101, "Inlet");
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_NE(ActiveEdit(), nullptr);
        ASSERT_EQ(Channel(101).ChannelName, "") << "still being typed";
        prompter = {};
        prompter.Script({MsgAnswer::Yes});
        frame.UpdateToolbars();
        way.leave();
        QCoreApplication::processEvents();
        if (way.asksToSave) {
            EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Save changes to " + setup});
        } else {
            EXPECT_TRUE(prompter.asked.empty());
        }
        // The new setup's strip chart is a change of its own: not kept.
        prompter = {};
        prompter.Script({MsgAnswer::No});
        EXPECT_EQ(NameInSetup(way.asksToSave ? setup : "Saved as", 101), "Inlet");
    }
}

// Options > Appearance: the tab's colour is shown on the page's tab, kept in
// the setup's file and offered again by the sheet.
TEST_F(SetupEditsThroughFrame, TheTabColourSurvivesSaveAndOpen) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Coloured");
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(frame.PageTabColour(&view()).isValid()) << "silver: drawn as every tab";
    PickOneColour picker;
    picker.colour = Rgb(255, 128, 0);
    wiring->Sheets().SetColorPicker(&picker);

    std::uint32_t offered = 0;
    WhenShown<CSetupPropSheet>([&offered](CSetupPropSheet& d) {
        offered = d.Appearance().GetBackColor();
        d.Appearance().Controls().changeButton->click();
        d.OkButton()->click();
    });
    frame.UpdateToolbars();
    ASSERT_TRUE(frame.Action(SetupViewCommands::kOptions)->isEnabled());
    frame.Action(SetupViewCommands::kOptions)->trigger();
    EXPECT_EQ(offered, Rgb(192, 192, 192));
    EXPECT_EQ(frame.PageTabColour(&view()), QColor(255, 128, 0));
    EXPECT_TRUE(program.state.IsBusy()) << "a change of the setup's layout";
    SaveEditsPicture(frame, "setup_tab_colour.png");

    frame.Action(cmd::kFileSave)->trigger();
    const std::string file = program.state.m_setupFile;
    MakeSavedSetup("Plain");
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(frame.PageTabColour(&view()).isValid());
    ASSERT_TRUE(doc().OnOpenDocument(file));
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.PageTabColour(&view()), QColor(255, 128, 0));
    WhenShown<CSetupPropSheet>([&offered](CSetupPropSheet& d) {
        offered = d.Appearance().GetBackColor();
        d.CancelButton()->click();
    });
    frame.Action(SetupViewCommands::kOptions)->trigger();
    EXPECT_EQ(offered, Rgb(255, 128, 0));
}

// F1 on the setup page, in the grid or in a cell being edited, asks for the
// page's help.
TEST_F(SetupEditsThroughFrame, F1OnTheSetupPageAsksForItsHelp) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Helped");
    ASSERT_FALSE(HasFatalFailure());
    RecordingHelp help;
    ScopedService<IHelp> helpService{SetHelp, &help};
    frame.activateWindow();
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_F1);
    TypeName(101, "In");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NE(ActiveEdit(), nullptr);
    QTest::keyClick(ActiveEdit(), Qt::Key_F1);
    EXPECT_EQ(help.shown, (std::vector<unsigned>{0x1801A, 0x1801A}));
}

// Scan Settings: Select All in the interval and a whole time typed over it.
TEST_F(SetupEditsThroughFrame, TheIntervalTakesAWholeTypedTime) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Timed");
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_DOUBLE_EQ(doc().GetScan()->m_scanInterval, 10.0);
    int shown = 0;
    WhenShown<CScanSettings>(
        [](CScanSettings& sheet) {
            CDateTimeEditWnd* edit = sheet.Page().Controls().intervalEdit;
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, "00:00:01.250");
            EXPECT_EQ(edit->text(), "00:00:01.250");
            sheet.OkButton()->click();
        },
        &shown);
    frame.UpdateToolbars();
    frame.Action(cmd::kScanSettings)->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_DOUBLE_EQ(doc().GetScan()->m_scanInterval, 1.25);
}

// The grid's headers in the window's font: none is cut, also when columns
// are narrowed or the grid zoomed.
TEST_F(SetupEditsThroughFrame, NoHeaderOfTheGridIsCut) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Headers");
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(CutHeaders(view()), std::vector<std::string>{});
    view().SetCurrentCell(doc().GetGridRow(101), kColHwAlarm);
    QCoreApplication::processEvents();
    SaveEditsPicture(frame, "setup_grid_headers.png");
    for (int col : {kColResolution, kColOffset, kColHwAlarm})
        view().Core().SetColWidth(col, 20);
    view().Core().SetZoom(125);
    view().ApplyLayout();
    EXPECT_EQ(CutHeaders(view()), std::vector<std::string>{});
}

} // namespace
} // namespace tvane::test
