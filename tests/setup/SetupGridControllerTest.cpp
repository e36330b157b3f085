#include <gtest/gtest.h>

#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/core/Services.h"
#include "platform/grid/CGridParam.h"
#include "platform/grid/GridCellControl.h"
#include "platform/grid/GridCore.h"
#include "platform/ui/Prompter.h"
#include "setup/NumericCellRules.h"
#include "setup/SetupGridController.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupMessages.h"
#include "tests/setup/FakeSetupOperations.h"
#include "tests/setup/FakeSetupWindow.h"

using namespace setupgrid;
using tvane::GridCellControl;
using tvane::GridCore;
using tvane::GridRange;
using tvane::MessageBus;

namespace {

// The numeric cells' check without a window.
class NumericControl final : public GridCellControl {
public:
    using GridCellControl::GridCellControl;
    bool OnValidate() override {
        return ValidateNumericCell(*this, NumericMode::Number, Grid().IsInteractive());
    }
};

class TextControl final : public GridCellControl {
public:
    using GridCellControl::GridCellControl;
    bool IsTextEdit() const override { return true; }
};

// Four rows of a 20-channel module (channels 101-104; 103 pairs with 104
// here), the cell controls without windows, and the view's logic.
class SetupGridControllerTest : public ::testing::Test {
protected:
    SetupGridControllerTest() : guard(tvane::SetPrompter, &prompter), window(grid) {
        ops.AddRow(101, "DC volts");
        ops.AddRow(102, "Digital Read 8bit", 0x300E);
        ops.AddRow(103, "DC volts");
        ops.AddRow(104, "DC volts");
        ops.lastRows = {5, 0, 0};
        for (int id :
             {kCtrlArrowHeader, kCtrlDropDown, kCtrlDropDown3, kCtrlUnitsCombo, kCtrlCheckBox})
            grid.RegisterControl(id, std::make_unique<GridCellControl>(grid));
        grid.RegisterControl(kCtrlNumeric, std::make_unique<NumericControl>(grid));
        grid.RegisterControl(kCtrlComment, std::make_unique<TextControl>(grid));
        grid.RegisterControl(tvane::gridcontrol::kEdit, std::make_unique<TextControl>(grid));
        controller = std::make_unique<SetupGridController>(grid, window, ops);
        window.handler = [this](const tvane::Message& m) { return controller->OnMessage(m); };
        grid.SetCurrentCellChanged([this](int, int) {
            int row = 0, col = 0;
            grid.GetCurrentCell(row, col);
            controller->CurrentCellMoved(row, col);
        });
        controller->InitialUpdate(false);
        MessageBus::DeliverPosted();
    }
    ~SetupGridControllerTest() override { MessageBus::RemovePosted(window); }

    // Types into the current cell's control.
    void Type(int row, int col, const std::string& text) {
        window.MoveCurrentCell(row, col);
        MessageBus::DeliverPosted();
        GridCellControl* control = grid.GetCurrentCellControl();
        ASSERT_NE(control, nullptr);
        control->SetActive(true);
        control->SetCurrentText(text);
    }
    tvane::ColorRef IdColour(int row) const {
        return grid.GetStyle(row, kColId).interior.value_or(0);
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> guard;
    GridCore grid;
    FakeSetupOperations ops;
    FakeSetupWindow window;
    std::unique_ptr<SetupGridController> controller;
};

TEST_F(SetupGridControllerTest, ANewSetupShowsOneRowPerChannelStyledByItsFlags) {
    EXPECT_EQ(grid.GetHeaderRowCount(), 2);
    EXPECT_EQ(grid.GetLastRow(), 5);
    EXPECT_EQ(controller->GetState().lastRow, 5);
    EXPECT_FALSE(controller->GetState().updating);
    EXPECT_EQ(window.tab, "Scan Setup");
    int row = 0, col = 0;
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(2, 1));
    EXPECT_EQ(window.status, "Activate/Deactivate channel");

    EXPECT_EQ(grid.GetCellText(2, kColId), "101");
    EXPECT_EQ(grid.GetCellText(3, kColFunction), "Digital Read 8bit");
    EXPECT_EQ(grid.GetStyle(3, kColScan).interior, kDisabledCell); // 0x2000
    EXPECT_EQ(grid.GetStyle(3, kColRange).ControlId(), 0);         // 0x0002
    EXPECT_EQ(grid.GetStyle(3, kColScale).Value(), "");            // a disabled Scale is blank
    EXPECT_EQ(grid.GetStyle(2, kColScale).Value(), "0");
    const tvane::GridStyle high = grid.GetStyle(3, kColHigh);
    EXPECT_EQ(high.ControlId(), kCtrlNumeric);
    EXPECT_EQ(high.maxLength, 8);                             // a bit pattern
    EXPECT_TRUE(grid.GetStyle(5, kColAdvanced).bottomBorder); // the slot's last row
    EXPECT_TRUE(grid.GetStyle(4, kColName).rightBorder);

    // No setup: an empty view.
    ops.loaded = false;
    controller->InitialUpdate(false);
    EXPECT_EQ(grid.GetRowCount(), 0);
}

TEST_F(SetupGridControllerTest, StoredValuesReachTheDocumentAndMarkRowsAgainstRecordedData) {
    ops.recorded = true;
    ops.monitor = 104;
    Type(2, kColName, "Oven");
    Type(5, kColComment, "door"); // leaving Name stores it
    Type(4, kColName, "Lid");
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"Store 2,2=Oven", "Store 5,16=door"}));
    MessageBus::DeliverPosted();
    EXPECT_EQ(IdColour(2), kIdOutOfSync);
    EXPECT_EQ(IdColour(5), kIdMonitorOutOfSync);
    EXPECT_EQ(IdColour(3), kIdInStep);

    controller->OnOutOfSync(0, false); // saved under a name: all grey, the monitor cyan
    EXPECT_EQ(IdColour(2), kIdInStep);
    EXPECT_EQ(IdColour(5), kIdMonitor);
    controller->OnOutOfSync(0, true);
    EXPECT_EQ(IdColour(3), kIdOutOfSync);
    EXPECT_EQ(IdColour(5), kIdMonitorOutOfSync);
    controller->ShowMonitorChannel(104, false);
    EXPECT_EQ(IdColour(5), kIdInStep);

    // While the view fills the grid nothing is passed on.
    controller->GetState().updating = true;
    grid.SetValueRange(GridRange::Cells(2, kColName, 2, kColName), "x");
    EXPECT_EQ(ops.calls.size(), 2u);
}

TEST_F(SetupGridControllerTest, AFunctionChangeIsAppliedWithItsPartnerOrRefused) {
    ops.recorded = true;
    ops.partnerOf[4] = 5;
    Type(4, kColFunction, "4w ohms");
    // The same function again changes nothing.
    EXPECT_EQ(controller->OnFuncChanged(4, "DC volts"), 1);
    EXPECT_TRUE(ops.calls.empty());
    EXPECT_EQ(controller->OnFuncChanged(9, "DC volts"), 0);

    ops.allowFunctionChange = false;
    EXPECT_EQ(controller->OnFuncChanged(4, "4w ohms"), 1);
    EXPECT_TRUE(ops.calls.empty());
    EXPECT_EQ(grid.GetCurrentCellControl()->GetControlText(), "DC volts");
    EXPECT_FALSE(grid.GetCurrentCellControl()->IsModified());

    ops.allowFunctionChange = true;
    grid.GetCurrentCellControl()->SetCurrentText("4w ohms");
    EXPECT_EQ(controller->OnFuncChanged(4, "4w ohms"), 1);
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"Store 4,3=4w ohms", "ApplyRowChange 4"}));
    // The partner became the disabled half of the pair.
    EXPECT_EQ(grid.GetStyle(5, kColFunction).interior, kDisabledCell);
    EXPECT_TRUE(grid.GetStyle(5, kColScan).IsReadOnly());
    MessageBus::DeliverPosted();
    EXPECT_EQ(IdColour(4), kIdOutOfSync);
    EXPECT_EQ(IdColour(5), kIdOutOfSync);
}

TEST_F(SetupGridControllerTest, SettingAndResolutionChangesRestyleTheRow) {
    ops.recomputed[2] = 0x0100;
    Type(2, kColTest, "High Only");
    EXPECT_EQ(controller->OnSettingChanged(2), 1);
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"Store 2,11=High Only", "RecomputeRowFlags 2"}));
    EXPECT_EQ(grid.GetStyle(2, kColHigh).ControlId(), 0);
    ops.calls.clear();
    Type(2, kColResolution, "6.5");
    EXPECT_EQ(controller->OnResChanged(2, "6.5"), 1);
    EXPECT_EQ(ops.calls,
              (std::vector<std::string>{"Store 2,5=6.5", "ApplyResolutionChange 2=6.5"}));
    EXPECT_EQ(controller->OnSettingChanged(1), 0);
}

TEST_F(SetupGridControllerTest, ListsAreFilledOnceWhenTheirCellBecomesCurrent) {
    window.MoveCurrentCell(2, kColFunction);
    EXPECT_EQ(MessageBus::PendingCount(), 1u); // posted, not yet filled
    EXPECT_TRUE(window.dropDown.empty());
    MessageBus::DeliverPosted();
    EXPECT_EQ(window.dropDown,
              (std::vector<std::string>{"DC volts", "AC volts", "2w ohms", "4w ohms"}));
    EXPECT_EQ(window.dropDownChoice, "DC volts");
    EXPECT_EQ(controller->OnFillComboBox(2, kColFunction), 0); // once per move

    window.MoveCurrentCell(3, kColTest);
    MessageBus::DeliverPosted();
    EXPECT_EQ(window.dropDown, (std::vector<std::string>{"Off", "Equal", "Not Equal"}));
    window.MoveCurrentCell(2, kColResolution);
    window.dropDown.clear();
    MessageBus::DeliverPosted();
    EXPECT_TRUE(window.dropDown.empty()); // the document had no list
    window.MoveCurrentCell(2, kColName);
    EXPECT_EQ(MessageBus::PendingCount(), 0u);
    EXPECT_EQ(window.status, "Type desired channel name");
}

TEST_F(SetupGridControllerTest, ValidationBeforeADownload) {
    window.SetCurrentCell(0, 0);
    EXPECT_TRUE(controller->OnValidateExternal()); // nothing to validate is valid
    Type(2, kColGain, "-");
    EXPECT_FALSE(controller->OnValidateExternal());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Invalid cell value"});
    grid.GetCurrentCellControl()->SetCurrentText("2.5");
    EXPECT_TRUE(controller->OnValidateExternal());
    // Equal limits are not questioned when no one is at the grid.
    Type(2, kColLow, "0.0");
    EXPECT_TRUE(controller->OnValidateExternal());
    EXPECT_EQ(prompter.asked.size(), 1u);

    // Committing a bad text drops it.
    Type(2, kColOffset, "1e");
    controller->CommitCurrentCell(true);
    EXPECT_EQ(grid.GetCurrentCellControl()->GetControlText(), "");
    EXPECT_TRUE(std::none_of(ops.calls.begin(), ops.calls.end(),
                             [](const std::string& c) { return c.find(",9=") != c.npos; }));
}

TEST_F(SetupGridControllerTest, TabAndEnterWrapRoundTheGrid) {
    window.SetCurrentCell(5, kColComment);
    controller->OnKey(SetupGridController::Key::Tab, false);
    int row = 0, col = 0;
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(2, 1)); // the last cell goes to the top-left
    controller->OnKey(SetupGridController::Key::Enter, true);
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(5, 16)); // and back to the bottom-right
    window.SetCurrentCell(3, kColComment);
    controller->OnKey(SetupGridController::Key::Tab, false);
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(4, 1));
    grid.HideCols(1, 2);
    controller->OnKey(SetupGridController::Key::Tab, true);
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(3, 16));
    controller->OnKey(SetupGridController::Key::Tab, false);
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(4, 3)); // hidden columns are passed over

    // A refused edit keeps the cell.
    Type(2, kColGain, "x");
    controller->OnKey(SetupGridController::Key::Tab, false);
    grid.GetCurrentCell(row, col);
    EXPECT_EQ(std::pair(row, col), std::pair(2, int(kColGain)));
    EXPECT_EQ(window.warnings.size(), 1u);
}

TEST_F(SetupGridControllerTest, DeleteEmptiesTheCurrentEditCell) {
    window.SetCurrentCell(3, kColName);
    grid.SetSelection({GridRange::Cells(3, kColName, 3, kColName)});
    EXPECT_TRUE(controller->OnKey(SetupGridController::Key::Delete, false));
    EXPECT_TRUE(grid.GetCurrentCellControl()->IsModified());
    EXPECT_EQ(grid.GetCurrentCellControl()->GetControlText(), "");
    // Whole rows go to the Delete command.
    grid.SetSelection({GridRange::Rows(3, 4)});
    EXPECT_FALSE(controller->OnKey(SetupGridController::Key::Delete, false));
    grid.ClearSelection();
    EXPECT_TRUE(controller->OnKey(SetupGridController::Key::Delete, false));
}

TEST_F(SetupGridControllerTest, TheViewStateTravelsWithTheDocument) {
    controller->GetState().showAll = false;
    controller->GetState().showActive = true;
    controller->GetState().nextComputed = 903;
    controller->GetState().tabColour = tvane::Rgb(255, 128, 0);
    window.tab = "Oven";
    grid.SetColWidth(kColName, 150);
    grid.HideCols(kColComment, kColComment);
    tvane::MemoryStream stream;
    {
        tvane::CArchive ar(stream, tvane::CArchive::store);
        controller->Serialize(ar);
    }
    // Another view opens the file.
    GridCore other;
    FakeSetupWindow otherWindow(other);
    SetupGridController opened(other, otherWindow, ops);
    stream.Seek(0);
    tvane::CArchive in(stream, tvane::CArchive::load);
    opened.Serialize(in);
    EXPECT_EQ(opened.GetState().nextComputed, 903);
    EXPECT_TRUE(opened.GetState().showActive);
    EXPECT_EQ(opened.GetState().tabName, "Oven");
    opened.InitialUpdate(true);
    EXPECT_EQ(otherWindow.tab, "Oven");
    EXPECT_EQ(otherWindow.tabColour, tvane::Rgb(255, 128, 0));
    EXPECT_EQ(other.GetColWidth(kColName), 150);
    EXPECT_TRUE(other.IsColHidden(kColComment));
    EXPECT_EQ(other.GetLastRow(), 5);
    EXPECT_EQ(other.GetStyle(3, kColScan).interior, kDisabledCell);
    EXPECT_EQ(opened.GetState().nextComputed, 903);
}

// A view's part written before the tab kept its colour ends after the next
// computed channel: the tab is silver.
TEST_F(SetupGridControllerTest, AViewPartWithoutATabColourLeavesTheTabSilver) {
    tvane::MemoryStream stream;
    {
        tvane::CArchive ar(stream, tvane::CArchive::store);
        const tvane::CGridParam param;
        ar.WriteObject(&param);
        ar << std::uint16_t{0} << std::uint16_t{1} << std::uint16_t{0} << std::uint16_t{0}
           << std::int32_t{5} << std::int32_t{16} << std::int32_t{2} << std::string("Kiln")
           << std::int32_t{904};
    }
    controller->GetState().tabColour = tvane::Rgb(1, 2, 3);
    stream.Seek(0);
    tvane::CArchive in(stream, tvane::CArchive::load);
    controller->Serialize(in);
    EXPECT_EQ(controller->GetState().tabName, "Kiln");
    EXPECT_EQ(controller->GetState().nextComputed, 904);
    EXPECT_EQ(controller->GetState().tabColour, SetupGridController::kDefaultTabColour);
}

TEST_F(SetupGridControllerTest, ActivationRefreshesTheScanStatusAndGreysTheRowsWhenDataIsGone) {
    ops.recorded = true;
    controller->Activate(true);
    ops.recorded = false;
    controller->Activate(true);
    controller->Activate(false);
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"UpdateScanStatus", "UpdateScanStatus",
                                                   "NotifySetupChanged"}));
    EXPECT_EQ(MessageBus::PendingCount(), 1u);
    EXPECT_EQ(controller->OnMessage({setupmsg::DispPopup(), 200, 0, {}}), 1);
    EXPECT_EQ(window.menus, std::vector<int>{200});
}

} // namespace
