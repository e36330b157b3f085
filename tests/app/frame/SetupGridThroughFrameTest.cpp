// The setup grid as the main window's first page on the simulated instrument:
// a saved setup opened into it, edited in its cells and through the Edit menu,
// saved and opened again.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/SetupGridOperations.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveSetupAsDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/SetupViewPage.h"
#include "platform/core/Services.h"
#include "platform/grid/GridCellControl.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupViewCommands.h"
#include "setup/view/CFXComboBox.h"
#include "setup/view/CSetupView.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

using namespace setupgrid;
using Commands = SetupViewCommands;

class SetupGridThroughFrame : public ::testing::Test {
protected:
    void SetUp() override {
        whole.Start({std::nullopt, {}});
        if (HasFatalFailure())
            return;
        frame.resize(1000, 600);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    void TearDown() override {
        Deliver();
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

} // namespace
} // namespace tvane::test
