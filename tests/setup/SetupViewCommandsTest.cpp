#include <gtest/gtest.h>

#include "platform/core/Services.h"
#include "platform/grid/GridCellControl.h"
#include "platform/grid/GridCore.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "setup/ISetupOptionsSheet.h"
#include "setup/SetupGridController.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupViewCommands.h"
#include "tests/setup/FakeSetupOperations.h"
#include "tests/setup/FakeSetupWindow.h"

using namespace setupgrid;
using tvane::GridCellControl;
using tvane::GridRange;
using tvane::MessageBus;
using Cmd = SetupViewCommands;

namespace {

class CommandTextControl final : public GridCellControl {
public:
    using GridCellControl::GridCellControl;
    bool IsTextEdit() const override { return true; }
};

struct FakeOptionsSheet : ISetupOptionsSheet {
    bool Run(int startPage, Options& options) override {
        pages.push_back(startPage);
        seen = options;
        if (!accept)
            return false;
        options = answer;
        return true;
    }
    std::vector<int> pages;
    Options seen;
    Options answer;
    bool accept = true;
};

// Rows 2-7: channels 101 (active), 102 (inactive), 103 (not a measurement,
// inactive), 104 (active), and computed channels 900 and 901.
class SetupViewCommandsTest : public ::testing::Test {
protected:
    SetupViewCommandsTest() : guard(tvane::SetPrompter, &prompter), window(grid) {
        ops.AddRow(101, "DC volts");
        ops.AddRow(102, "DC volts");
        ops.rows.back().cells[1] = "0";
        ops.AddRow(103, "", 0xFFFFFFFF);
        ops.rows.back().cells[1] = "0";
        ops.AddRow(104, "DC volts", 0x0100);
        ops.AddRow(900, "Computed", 0x407);
        ops.AddRow(901, "Computed", 0x407);
        for (int id : {kCtrlArrowHeader, kCtrlDropDown, kCtrlDropDown3, kCtrlUnitsCombo,
                       kCtrlCheckBox, kCtrlNumeric})
            grid.RegisterControl(id, std::make_unique<GridCellControl>(grid));
        grid.RegisterControl(kCtrlComment, std::make_unique<CommandTextControl>(grid));
        grid.RegisterControl(tvane::gridcontrol::kEdit, std::make_unique<CommandTextControl>(grid));
        controller = std::make_unique<SetupGridController>(grid, window, ops);
        commands = std::make_unique<SetupViewCommands>(*controller, sheet);
        window.handler = [this](const tvane::Message& m) { return controller->OnMessage(m); };
        controller->InitialUpdate(false);
        controller->GetState().nextComputed = 902;
        MessageBus::DeliverPosted();
    }
    ~SetupViewCommandsTest() override { MessageBus::RemovePosted(window); }

    bool Enabled(unsigned id) const {
        const auto update = commands->GetUpdate(id);
        return update && update->enabled;
    }
    void Select(const GridRange& range) {
        window.SetCurrentCell(range.top, range.wholeRows ? 0 : range.left);
        grid.SetSelection({range});
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> guard;
    tvane::GridCore grid;
    FakeSetupOperations ops;
    FakeSetupWindow window;
    FakeOptionsSheet sheet;
    std::unique_ptr<SetupGridController> controller;
    std::unique_ptr<SetupViewCommands> commands;
};

TEST_F(SetupViewCommandsTest, EverythingButSetMonitorChannelWaitsForTheScanToEnd) {
    ops.undoCount = 1;
    ops.copyCount = 1;
    Select(GridRange::Cells(2, kColName, 2, kColName));
    const unsigned all[] = {
        Cmd::kUndo,        Cmd::kCopy,       Cmd::kPaste,           Cmd::kDelete,
        Cmd::kShowAll,     Cmd::kShowActive, Cmd::kShowMeasurement, Cmd::kHideSelected,
        Cmd::kAddComputed, Cmd::kRestoreAll, Cmd::kRestoreSelected, Cmd::kShowHideColumns,
        Cmd::kOptions,     Cmd::kProperties};
    for (unsigned id : all)
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(Cmd::kCut)); // never
    EXPECT_TRUE(commands->GetUpdate(Cmd::kShowAll)->checked);
    ops.scanning = true;
    for (unsigned id : all)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(Cmd::kSetMonitor));
    window.SetCurrentCell(4, 1); // the disabled upper half of a pair
    EXPECT_FALSE(Enabled(Cmd::kSetMonitor));
    window.SetCurrentCell(0, 0);
    EXPECT_FALSE(commands->GetUpdate(Cmd::kSetMonitor)); // keeps its state
}

TEST_F(SetupViewCommandsTest, SelectionRulesOfTheEditCommands) {
    ops.copyCount = 1;
    Select(GridRange::Rows(6, 7)); // computed rows
    EXPECT_FALSE(Enabled(Cmd::kCopy));
    EXPECT_FALSE(Enabled(Cmd::kPaste));
    EXPECT_TRUE(Enabled(Cmd::kDelete));
    EXPECT_FALSE(Enabled(Cmd::kRestoreSelected));
    EXPECT_FALSE(Enabled(Cmd::kProperties));
    Select(GridRange::Rows(2, 3));
    EXPECT_FALSE(Enabled(Cmd::kDelete));
    EXPECT_TRUE(Enabled(Cmd::kCopy));
    grid.SetSelection({GridRange::Rows(2, 2), GridRange::Rows(4, 4)});
    EXPECT_FALSE(Enabled(Cmd::kCopy));
    EXPECT_FALSE(Enabled(Cmd::kHideSelected));
    EXPECT_TRUE(Enabled(Cmd::kRestoreAll));
    commands->OnEditCopy();
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Choose one selection only"});

    // Disabled cells may be copied only as a block of the alarm columns.
    Select(GridRange::Cells(5, kColTest, 5, kColAlarmAdvanced));
    EXPECT_TRUE(Enabled(Cmd::kCopy));
    commands->OnEditCopy();
    EXPECT_EQ(ops.calls.back(), "Copy cells 5,11-5,15");
    Select(GridRange::Cells(5, kColLabel, 5, kColHigh));
    EXPECT_FALSE(Enabled(Cmd::kCopy));
    commands->OnEditCopy();
    EXPECT_EQ(prompter.Texts().back(), "Can not copy disabled cells");
    // One cell also goes to the clipboard as text.
    Select(GridRange::Cells(2, kColName, 2, kColName));
    commands->OnEditCopy();
    EXPECT_EQ(window.clipboard, "Ch101");
}

TEST_F(SetupViewCommandsTest, PasteAndUndoRedrawTheRowsAndTheirPartners) {
    ops.recorded = ops.changed = true;
    ops.copyCount = 1;
    ops.pastePartners = GridRange::Cells(4, 3, 4, 3);
    ops.rows[2].flags = 0x2000; // what the partner looks like after the paste
    Select(GridRange::Rows(2, 2));
    commands->OnEditPaste();
    EXPECT_EQ(ops.calls.back(), "Paste rows 2,0-2,0");
    EXPECT_FALSE(grid.GetStyle(4, kColFunction).interior == kDisabledCell);
    EXPECT_TRUE(grid.GetStyle(4, kColScan).IsReadOnly());
    EXPECT_TRUE(grid.GetSelection().empty());
    EXPECT_EQ(MessageBus::PendingCount(), 2u); // the partner and the row differ from the data
    MessageBus::DeliverPosted();
    EXPECT_EQ(grid.GetStyle(4, kColId).interior, kIdOutOfSync);
    EXPECT_EQ(grid.GetStyle(2, kColId).interior, kIdOutOfSync);

    ops.undoCount = 1;
    ops.undoRange = GridRange::Rows(2, 2);
    ops.calls.clear();
    commands->OnEditUndo();
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"Undo", "RecomputeRowFlags 4"}));
    EXPECT_EQ(MessageBus::PendingCount(), 0u); // Undo posts nothing
}

TEST_F(SetupViewCommandsTest, ShowActiveMovesToAnActiveRowAndHidesTheOthers) {
    window.SetCurrentCell(3, kColName); // inactive
    commands->OnShowActiveChannels();
    int row = 0, col = 0;
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(5, int(kColName))); // the next active row below
    EXPECT_TRUE(grid.IsRowHidden(3));
    EXPECT_TRUE(grid.IsRowHidden(4));
    EXPECT_FALSE(grid.IsRowHidden(2));
    EXPECT_TRUE(commands->GetUpdate(Cmd::kShowActive)->checked);
    EXPECT_FALSE(commands->GetUpdate(Cmd::kShowAll)->checked);

    commands->OnShowMeasurementChannels();
    EXPECT_FALSE(grid.IsRowHidden(3));
    EXPECT_TRUE(grid.IsRowHidden(4));
    commands->OnShowAllChannels();
    EXPECT_FALSE(grid.IsRowHidden(4));

    // Without a current data cell nothing changes but the selection.
    window.SetCurrentCell(0, 0);
    grid.SetSelection({GridRange::Rows(2, 2)});
    commands->OnShowActiveChannels();
    EXPECT_FALSE(grid.IsRowHidden(3));
    EXPECT_TRUE(grid.GetSelection().empty());
    EXPECT_TRUE(commands->GetUpdate(Cmd::kShowAll)->checked);

    Select(GridRange::Rows(3, 4));
    commands->OnHideSelectedChannels();
    EXPECT_TRUE(grid.IsRowHidden(4));
    EXPECT_TRUE(commands->GetUpdate(Cmd::kShowAll)->checked); // the mode stays
}

TEST_F(SetupViewCommandsTest, RestoreDefaultsRedrawsAndRebuildsTheCurrentList) {
    ops.recorded = ops.changed = true;
    window.SetCurrentCell(2, kColRange);
    MessageBus::DeliverPosted(); // the list of the cell it moved to
    window.dropDown.clear();
    commands->OnRestoreAllDefaults();
    EXPECT_EQ(ops.calls.back(), "ResetDefaults rows 2,0-7,0");
    EXPECT_EQ(window.dropDown, (std::vector<std::string>{"Auto", "10V", "1V"}));
    EXPECT_EQ(MessageBus::PendingCount(), 1u); // every row at once
    MessageBus::DeliverPosted();
    EXPECT_EQ(grid.GetStyle(7, kColId).interior, kIdOutOfSync);

    Select(GridRange::Rows(6, 6));
    commands->OnRestoreSelectedDefaults(); // the document skips computed rows itself
    EXPECT_EQ(ops.calls.back(), "ResetDefaults rows 6,0-6,0");
}

TEST_F(SetupViewCommandsTest, DeleteTakesComputedRowsOrEmptiesAnEditCell) {
    window.SetCurrentCell(2, kColName);
    grid.GetCurrentCellControl()->SetActive(true);
    commands->OnEditDelete();
    EXPECT_EQ(grid.GetCurrentCellControl()->GetControlText(), "");
    EXPECT_TRUE(ops.calls.empty());

    grid.GetCurrentCellControl()->Discard();
    window.SetCurrentCell(6, kColId);
    grid.SetSelection({GridRange::Rows(6, 6), GridRange::Rows(7, 7)});
    commands->OnEditDelete();
    // From the bottom up, so the first range is still where it was.
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"Delete rows 7,0-7,0", "Delete rows 6,0-6,0"}));
    EXPECT_EQ(controller->GetState().lastRow, 5);
    EXPECT_EQ(grid.GetLastRow(), 5);
    int row = 0, col = 0;
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(5, 1));
}

TEST_F(SetupViewCommandsTest, ComputedChannelsAreNumberedUpTo998) {
    window.SetCurrentCell(2, 1);
    controller->GetState().nextComputed = 998;
    EXPECT_TRUE(Enabled(Cmd::kAddComputed));
    commands->OnAddComputedChannel();
    EXPECT_EQ(ops.calls.back(), "AddComputed 998");
    EXPECT_EQ(grid.GetLastRow(), 8);
    EXPECT_EQ(grid.GetCellText(8, kColId), "998");
    int row = 0, col = 0;
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(8, 1));
    // 999 is never given: the item says so too.
    EXPECT_FALSE(Enabled(Cmd::kAddComputed));
    commands->OnAddComputedChannel();
    EXPECT_EQ(ops.calls.back(), "AddComputed 998");
}

TEST_F(SetupViewCommandsTest, PropertiesOpenTheColumnsPageOfOneChannel) {
    const struct {
        int col;
        int page;
    } cases[] = {{kColHigh, 3}, {kColComment, 0}, {kColRange, 1}, {kColScale, 2}, {kColId, 0}};
    for (const auto& c : cases) {
        Select(GridRange::Cells(2, c.col, 2, c.col));
        commands->OnChannelProperties();
        EXPECT_EQ(ops.calls.back(),
                  "Properties " + FakeSetupOperations::Text(GridRange::Cells(2, c.col, 2, c.col)) +
                      " page " + std::to_string(c.page));
    }
    Select(GridRange::Rows(2, 3));
    commands->OnChannelProperties();
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Select one channel only"});
    grid.ClearSelection();
    window.SetCurrentCell(0, 0);
    commands->OnChannelProperties();
    EXPECT_EQ(prompter.Texts().back(), "Nothing selected for operation");

    long first = 0, second = 0;
    grid.SetSelection({GridRange::Cells(5, 3, 5, 3), GridRange::Rows(2, 3)});
    commands->GetSelectedChannels(first, second);
    EXPECT_EQ(std::pair(first, second), std::pair(104L, 101L));
}

TEST_F(SetupViewCommandsTest, TheOptionsSheetHidesColumnsAndZooms) {
    window.tab = "Scan Setup";
    sheet.answer.tabName = "Oven";
    sheet.answer.zoom = 150;
    sheet.answer.visible.fill(true);
    sheet.answer.visible[kColAdvanced] = false;
    commands->Execute(Cmd::kShowHideColumns);
    EXPECT_EQ(sheet.pages, std::vector<int>{ISetupOptionsSheet::kColumnsPage});
    EXPECT_TRUE(sheet.seen.visible[kColLabel]);
    EXPECT_TRUE(grid.IsColHidden(kColAdvanced));
    EXPECT_EQ(grid.GetZoom(), 150);
    EXPECT_EQ(window.tab, "Oven");
    EXPECT_EQ(ops.calls.back(), "MarkLayoutChanged") << "the save question asks";
    // The tab's colour is offered and taken back.
    sheet.answer = sheet.seen = {};
    sheet.answer.tabName = "Oven";
    sheet.answer.zoom = 150;
    sheet.answer.visible.fill(true);
    sheet.answer.visible[kColAdvanced] = false;
    sheet.answer.tabColour = tvane::Rgb(0, 128, 255);
    commands->Execute(Cmd::kOptions);
    EXPECT_EQ(window.tabColour, tvane::Rgb(0, 128, 255));
    ops.calls.clear();
    commands->Execute(Cmd::kOptions);
    EXPECT_EQ(sheet.seen.tabColour, tvane::Rgb(0, 128, 255));
    EXPECT_TRUE(ops.calls.empty()) << "OK without a change changes nothing";
    // Cancel changes nothing but the scroll position.
    sheet.accept = false;
    window.scrolledTo = {0, 0};
    commands->Execute(Cmd::kOptions);
    EXPECT_EQ(sheet.pages.back(), ISetupOptionsSheet::kAppearancePage);
    EXPECT_FALSE(sheet.seen.visible[kColAdvanced]);
    EXPECT_EQ(grid.GetZoom(), 150);
    EXPECT_EQ(window.scrolledTo, std::pair(2, 1));

    tvane::RecordingHelp help;
    tvane::ScopedService<tvane::IHelp> helpGuard(tvane::SetHelp, &help);
    commands->OnCommandHelp();
    EXPECT_EQ(help.shown, std::vector<unsigned>{0x1801A});
}

} // namespace
