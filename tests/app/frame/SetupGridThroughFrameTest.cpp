// The setup grid as the main window's first page on the simulated instrument:
// a saved setup opened into it, edited in its cells and through the Edit menu,
// saved and opened again; closed to edits while a run measures its setup, a
// name still being typed kept by every way out of the setup, the tab colour
// kept with the setup, the page's help, and the texts of the grid, the Scan
// Status window and the event log measured against their cells.
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
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CLoggerDoc.h"
#include "app/RecentSetupList.h"
#include "app/SetupGridOperations.h"
#include "app/eventlog/CEventFrame.h"
#include "app/eventlog/CEventView.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CNewSetupDialog.h"
#include "app/frame/COpenSetupDialog.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CSaveSetupAsDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FileCommandWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/SetupSheets.h"
#include "app/frame/SetupViewPage.h"
#include "app/timeedit/CDateTimeEditWnd.h"
#include "platform/core/Services.h"
#include "platform/grid/GridCellControl.h"
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
#include "setup/view/CFXComboBox.h"
#include "setup/view/CScanSettings.h"
#include "setup/view/CSetupPropSheet.h"
#include "setup/view/CSetupView.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/TextFits.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"
#include "ui_AppearancePage.h"
#include "ui_ScanSettingsPage.h"

namespace tvane::test {
namespace {

using namespace setupgrid;
using Commands = SetupViewCommands;

const std::filesystem::path kGridBin = std::filesystem::path(TVANE_BINARY_DIR) / "bin";

void SaveEditsPicture(QWidget& window, const char* name) {
    ASSERT_TRUE(SaveArtifact(window, name));
}

// A colour dialog that picks one colour.
struct PickOneColour final : IColorPicker {
    std::uint32_t colour = 0;
    bool PickColor(std::uint32_t& chosen) override {
        chosen = colour;
        return true;
    }
};

class SetupGridThroughFrame : public ::testing::Test {
protected:
    void SetUp() override {
        whole.Start({std::nullopt, {}});
        if (HasFatalFailure())
            return;
        files = std::make_unique<FileCommandWiring>(wiring->Document(),
                                                    wiring->Operations().Workspace().Workspace(),
                                                    frame, recent, preferences, kGridBin.string());
        frame.resize(1000, 600);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    void TearDown() override {
        Deliver();
        files.reset();
        wiring.reset();
    }

    CLoggerDoc& doc() { return wiring->Document(); }
    CSetupView& view() { return wiring->SetupPage()->View(); }
    static void Deliver() { QCoreApplication::processEvents(); }
    int Row(int channel) { return doc().GetGridRow(channel); }
    const CFXSetup& At(int channel) { return *doc().GetSetupRow(Row(channel) - 2); }
    std::pair<int, int> Current() {
        int row = 0, col = 0;
        view().Core().GetCurrentCell(row, col);
        return {row, col};
    }
    void Click(int row, int col) {
        view().ScrollToCell(row, col);
        QRect rect;
        QWidget* viewport = view().CellViewport(row, col, rect);
        ASSERT_NE(viewport, nullptr) << row << "," << col;
        QTest::mouseClick(viewport, Qt::LeftButton, {}, rect.center());
        Deliver();
    }
    QLineEdit* ActiveEdit() {
        for (QLineEdit* edit : view().findChildren<QLineEdit*>())
            if (edit->isVisible())
                return edit;
        return nullptr;
    }
    bool Run(unsigned id) {
        frame.UpdateToolbars();
        QAction* action = frame.Action(id);
        if (action == nullptr || !action->isEnabled())
            return false;
        action->trigger();
        Deliver();
        return true;
    }
    // A new setup of the three module kinds, saved into its workspace file.
    std::string SavedSetup() {
        CStateInfo setup = program.state;
        setup.m_setupName = "Three modules";
        setup.m_modules = {"KXQT7101", "KXQT7102", "KXQT7107"};
        EXPECT_TRUE(doc().CreateNewSetup(setup, 0, false));
        program.state = setup;
        EXPECT_TRUE(doc().OnSaveDocument(program.state.m_setupFile));
        return program.state.m_setupFile;
    }

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
        Deliver();
    }
    // Types into the channel's name cell and stays in it: nothing is stored
    // yet, nothing marked as changed.
    void TypeName(int channel, const char* name) {
        Click(Row(channel), kColName);
        QTest::keyClicks(&view(), name);
        Deliver();
    }
    // The channel's name as the workspace's setup holds it, opened again.
    std::string NameInSetup(const std::string& setup, int channel) {
        program.clock.Advance(1000);
        EXPECT_TRUE(files->Commands().RestoreLastSetup(setup, {}));
        Deliver();
        EXPECT_EQ(program.state.m_setupName, setup);
        return At(channel).ChannelName;
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
    RecentSetupList recent;
    std::unique_ptr<FileCommandWiring> files;
};

TEST_F(SetupGridThroughFrame, TheGridsCommandsHaveTheirEntriesAndAccelerators) {
    // Before a setup the page is empty and the commands are closed.
    EXPECT_EQ(frame.Pages()->widget(0), &view());
    EXPECT_FALSE(view().Core().IsDataRow(2));
    frame.UpdateToolbars();
    EXPECT_FALSE(frame.Action(Commands::kCopy)->isEnabled());

    const struct {
        unsigned id;
        const char* menu;
        const char* text;
        QKeySequence key;
    } entries[] = {
        {Commands::kUndo, "&Edit", "&Undo", QKeySequence("Ctrl+Z")},
        {Commands::kCut, "&Edit", "Cu&t", QKeySequence("Ctrl+X")},
        {Commands::kCopy, "&Edit", "&Copy", QKeySequence("Ctrl+C")},
        {Commands::kPaste, "&Edit", "&Paste", QKeySequence("Ctrl+V")},
        {Commands::kDelete, "&Edit", "&Delete", QKeySequence("Del")},
        {Commands::kShowAll, "&Show Channels", "&All", {}},
        {Commands::kShowActive, "&Show Channels", "A&ctive Only", {}},
        {Commands::kShowMeasurement, "&Show Channels", "&Measurement Only", {}},
        {Commands::kHideSelected, "&Channel", "&Hide Selected Channels", QKeySequence("Ctrl+H")},
        {Commands::kAddComputed, "&Channel", "&Computed Channel", {}},
        {Commands::kRestoreAll, "&Restore Defaults", "&All", {}},
        {Commands::kRestoreSelected, "&Restore Defaults", "&Selected", {}},
        {Commands::kProperties, "&Channel", "&Properties...", QKeySequence("Alt+Return")},
        {Commands::kShowHideColumns, "&View", "Show/Hide &Columns...", {}},
        {Commands::kOptions, "&View", "&Options...", {}},
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.text);
        QAction* action = frame.Action(entry.id);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), entry.text);
        EXPECT_EQ(action->shortcut(), entry.key);
        bool found = false;
        for (QMenu* menu : frame.findChildren<QMenu*>())
            if (menu->title() == entry.menu && menu->actions().contains(action))
                found = true;
        EXPECT_TRUE(found) << entry.menu;
    }

    SavedSetup();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(view().Core().GetLastRow(), 1 + 22 + 16 + 5);
    view().SetCurrentCell(Row(103), kColName);
    frame.UpdateToolbars();
    for (unsigned id : {Commands::kCopy, Commands::kDelete, Commands::kShowAll,
                        Commands::kRestoreAll, Commands::kHideSelected})
        EXPECT_TRUE(frame.Action(id)->isEnabled()) << id;
    // Nothing to undo or paste yet; Cut never. The sheets open from the rest.
    for (unsigned id : {Commands::kUndo, Commands::kPaste, Commands::kCut})
        EXPECT_FALSE(frame.Action(id)->isEnabled()) << id;
    for (unsigned id : {Commands::kOptions, Commands::kProperties, Commands::kAddComputed})
        EXPECT_TRUE(frame.Action(id)->isEnabled()) << id;
    EXPECT_TRUE(frame.Action(Commands::kShowAll)->isChecked());

    // On a graphics page the grid's commands are not reached; a run closes them.
    frame.SelectPage(1);
    frame.UpdateToolbars();
    EXPECT_FALSE(frame.Action(Commands::kCopy)->isEnabled());
    frame.SelectPage(0);
    doc().GetScanEngine().BeginRun();
    frame.UpdateToolbars();
    EXPECT_FALSE(frame.Action(Commands::kCopy)->isEnabled());
    EXPECT_FALSE(frame.Action(Commands::kShowAll)->isEnabled());
    doc().GetScanEngine().HaltRun();

    // The context menus carry the same commands.
    std::unique_ptr<QMenu> channelMenu(wiring->SetupPage()->BuildPopupMenu(200));
    QStringList texts;
    for (QAction* action : channelMenu->actions())
        texts << action->text();
    EXPECT_EQ(texts, (QStringList{"&Undo", "&Copy", "&Paste", "&Delete", "&Restore Defaults",
                                  "Set &Monitor Channel...", "&Add Computed Channel...",
                                  "Pr&operties..."}));
    EXPECT_TRUE(channelMenu->actions()[1]->isEnabled());
    EXPECT_FALSE(channelMenu->actions()[0]->isEnabled());
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(SetupGridThroughFrame, ASetupIsEditedInItsCellsSavedAndOpenedAgain) {
    const std::string file = SavedSetup();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(doc().OnOpenDocument(file));
    Deliver();
    const int row = Row(103);
    ASSERT_EQ(row, 4);
    EXPECT_EQ(view().Core().GetCellText(row, kColFunction), "DC volts");
    EXPECT_EQ(view().Core().GetCellText(Row(301), kColFunction), "Digital Read 8bit");

    // A name typed into its cell and left with Tab.
    Click(row, kColName);
    QTest::keyClicks(&view(), "Inlet");
    QLineEdit* edit = ActiveEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "Inlet");
    QTest::keyClick(edit, Qt::Key_Tab);
    Deliver();
    EXPECT_EQ(Current(), std::pair(row, int(kColFunction)));
    EXPECT_EQ(At(103).ChannelName, "Inlet");

    // The function chosen from its list, filled from the database in its order.
    auto* list = static_cast<CFXComboBox*>(view().Core().GetRegisteredControl(kCtrlDropDown));
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->Items().size(), 2u);
    EXPECT_EQ(list->Items()[0], "DC volts");
    EXPECT_EQ(list->Items()[1], "AC volts");
    emit list->ComboBox()->activated(1);
    Deliver();
    EXPECT_EQ(At(103).Function, "AC volts");
    EXPECT_EQ(At(103).Units, "VAC");
    EXPECT_EQ(view().Core().GetCellText(row, kColFunction), "AC volts");
    EXPECT_EQ(view().Core().GetCellText(row, kColResolution), "");
    EXPECT_EQ(doc().IsSetupInInstrument(), 0);

    // Tab runs across the row and on to the next one.
    view().setFocus();
    for (int col = kColFunction + 1; col <= kColComment; ++col) {
        QTest::keyClick(&view(), Qt::Key_Tab);
        Deliver();
    }
    EXPECT_EQ(Current(), std::pair(row, int(kColComment)));
    QTest::keyClick(&view(), Qt::Key_Tab);
    Deliver();
    EXPECT_EQ(Current(), std::pair(row + 1, 1));

    // The row copied and pasted onto another through the Edit menu.
    view().SelectRange(GridRange::Rows(row, row));
    ASSERT_TRUE(Run(Commands::kCopy));
    const int target = Row(105);
    view().SelectRange(GridRange::Rows(target, target));
    ASSERT_TRUE(Run(Commands::kPaste));
    EXPECT_EQ(At(105).Function, "AC volts");
    EXPECT_EQ(At(105).ChannelName, "Inlet");
    EXPECT_EQ(view().Core().GetCellText(target, kColFunction), "AC volts");
    EXPECT_EQ(view().Core().GetCellText(target, kColName), "Inlet");

    // Undo takes the paste back; the edit in the cells stays.
    ASSERT_TRUE(Run(Commands::kUndo));
    EXPECT_EQ(At(105).Function, "DC volts");
    EXPECT_EQ(At(105).ChannelName, "");
    EXPECT_EQ(view().Core().GetCellText(target, kColFunction), "DC volts");
    EXPECT_EQ(At(103).Function, "AC volts");

    // A hidden row is part of the grid's layout in the file.
    const int output = Row(304);
    view().SelectRange(GridRange::Rows(output, output));
    ASSERT_TRUE(Run(Commands::kHideSelected));
    EXPECT_TRUE(view().Core().IsRowHidden(output));

    // Save: the setup changed from what its dataset was taken with, so the
    // program asks whether to keep it under its name.
    int asked = 0;
    WhenShown<CSaveSetupAsDialog>(
        [](CSaveSetupAsDialog& d) {
            d.OverwriteButton()->click();
            d.OkButton()->click();
        },
        &asked);
    ASSERT_TRUE(Run(cmd::kFileSave));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(prompter.asked.empty()) << prompter.asked.front().text;

    // Opened again, the change is there, in the setup and in its grid.
    ASSERT_TRUE(doc().OnOpenDocument(program.state.m_setupFile));
    Deliver();
    EXPECT_EQ(At(103).Function, "AC volts");
    EXPECT_EQ(At(103).ChannelName, "Inlet");
    EXPECT_EQ(At(105).Function, "DC volts");
    EXPECT_EQ(view().Core().GetCellText(row, kColFunction), "AC volts");
    EXPECT_EQ(view().Core().GetCellText(row, kColName), "Inlet");
    EXPECT_TRUE(view().Core().IsRowHidden(output));

    frame.SelectPage(0);
    view().SetCurrentCell(row, kColFunction);
    Deliver();
    ASSERT_TRUE(SaveArtifact(frame, "setup_grid_page.png"));
    EXPECT_GT(std::filesystem::file_size(ArtifactPath("setup_grid_page.png")), 5000u);
}

// Start Scan closes the grid to edits for the run; the end of the run opens
// it again. The Scan Status window and the event log show every text whole.
TEST_F(SetupGridThroughFrame, TheGridRefusesEditsDuringARunAndTakesThemAfter) {
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
    EXPECT_EQ(At(101).ChannelName, "");
    EXPECT_EQ(At(101).Function, "DC volts");
    EXPECT_FALSE(program.state.IsBusy());

    // The event log's date and time are never cut, however narrow the window.
    ASSERT_TRUE(frame.CreateEventLog(true));
    CEventFrame* log = frame.EventFrame();
    ASSERT_NE(log, nullptr);
    CEventView& events = *log->View();
    ASSERT_GE(events.Core().GetRowCount(), 1);
    for (int width : {420, 900}) {
        log->resize(width, 260);
        Deliver();
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
    Deliver();
    EXPECT_EQ(At(101).ChannelName, "Inlet");
    EXPECT_TRUE(program.state.IsBusy());
}

// A name typed into its cell and not yet left is part of the setup for Save
// As, Close, New, Open and for closing the main window.
TEST_F(SetupGridThroughFrame, EveryWayOutKeepsANameStillBeingTyped) {
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
        ASSERT_EQ(At(101).ChannelName, "") << "still being typed";
        prompter = {};
        prompter.Script({MsgAnswer::Yes});
        frame.UpdateToolbars();
        way.leave();
        Deliver();
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
TEST_F(SetupGridThroughFrame, TheTabColourSurvivesSaveAndOpen) {
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
    Deliver();
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
TEST_F(SetupGridThroughFrame, F1OnTheSetupPageAsksForItsHelp) {
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
TEST_F(SetupGridThroughFrame, TheIntervalTakesAWholeTypedTime) {
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
TEST_F(SetupGridThroughFrame, NoHeaderOfTheGridIsCut) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSavedSetup("Headers");
    ASSERT_FALSE(HasFatalFailure());
    frame.resize(1280, 900);
    Deliver();
    EXPECT_EQ(CutHeaders(view()), std::vector<std::string>{});
    view().SetCurrentCell(doc().GetGridRow(101), kColHwAlarm);
    Deliver();
    SaveEditsPicture(frame, "setup_grid_headers.png");
    for (int col : {kColResolution, kColOffset, kColHwAlarm})
        view().Core().SetColWidth(col, 20);
    view().Core().SetZoom(125);
    view().ApplyLayout();
    EXPECT_EQ(CutHeaders(view()), std::vector<std::string>{});
}

} // namespace
} // namespace tvane::test
