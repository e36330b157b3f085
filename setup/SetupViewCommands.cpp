#include "setup/SetupViewCommands.h"

#include <cstdlib>

#include "platform/grid/GridCellControl.h"
#include "platform/grid/GridCore.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "setup/ISetupGridOperations.h"
#include "setup/ISetupGridWindow.h"
#include "setup/ISetupOptionsSheet.h"
#include "setup/SetupGridController.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupMessages.h"
#include "setup/SetupTexts.h"

using namespace setupgrid;
using tvane::GridRange;

namespace {

constexpr const char* kClipboardFailed = "Unsuccessful copy to the clipboard - Low Memory.";

void Warn(const char* text) {
    tvane::ShowMessage(text, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
}

bool IsListColumn(int col) {
    return col == kColRange || col == kColResolution || col == kColTest;
}

} // namespace

SetupViewCommands::SetupViewCommands(SetupGridController& controller, ISetupOptionsSheet& options)
    : m_controller(controller), m_options(options) {}

bool SetupViewCommands::Scanning() const {
    return m_controller.Operations().IsScanning();
}

tvane::GridRangeList SetupViewCommands::Selection() const {
    const tvane::GridCore& grid = m_controller.Grid();
    if (!grid.GetSelection().empty())
        return grid.GetSelection();
    int row = 0, col = 0;
    if (grid.GetCurrentCell(row, col))
        return {GridRange::Cells(row, col, row, col)};
    return {};
}

std::optional<GridRange> SetupViewCommands::OneRange() const {
    const tvane::GridRangeList selection = Selection();
    if (selection.empty()) {
        Warn(setuptext::kNothingSelected);
        return std::nullopt;
    }
    if (selection.size() > 1) {
        Warn(setuptext::kOneSelection);
        return std::nullopt;
    }
    return selection.front();
}

bool SetupViewCommands::HasDisabledCell(const GridRange& range) const {
    if (range.wholeRows || (range.left == kColTest && range.right < kColComment))
        return false;
    const tvane::GridCore& grid = m_controller.Grid();
    for (int row = range.top; row <= range.bottom; ++row)
        for (int col = range.left; col <= range.right; ++col)
            if (grid.GetStyle(row, col).interior == kDisabledCell)
                return true;
    return false;
}

void SetupViewCommands::EndEditing() {
    // No cell stays in editing; its place stays, for the Show commands.
    m_controller.Window().ActivateCurrentCell(false);
}

void SetupViewCommands::RedrawFromSetup(int top, int bottom, bool outOfSync) {
    for (int row = top; row <= bottom; ++row) {
        if (!m_controller.IsDataRow(row))
            continue;
        m_controller.RefreshRow(row, false);
        m_controller.RedrawRows(GridRange::Rows(row, row), true);
        if (outOfSync)
            m_controller.PostOutOfSync(row, true);
    }
}

void SetupViewCommands::CommonEnding() {
    if (tvane::GridCellControl* control = m_controller.Grid().GetCurrentCellControl()) {
        int row = 0, col = 0;
        m_controller.Grid().GetCurrentCell(row, col);
        control->Init(row, col);
    }
    EndEditing();
}

std::optional<SetupViewCommands::Update> SetupViewCommands::GetUpdate(unsigned id) const {
    ISetupGridOperations& ops = m_controller.Operations();
    const tvane::GridCore& grid = m_controller.Grid();
    const SetupGridController::State& state = m_controller.GetState();
    int row = 0, col = 0;
    const bool dataCell = grid.GetCurrentCell(row, col) && m_controller.IsDataRow(row);
    if (id == kSetMonitor) {
        if (!dataCell)
            return std::nullopt;
        return Update{!ops.IsType5RowAt(row)};
    }
    if (Scanning()) {
        if (id == kShowAll || id == kShowActive || id == kShowMeasurement)
            return Update{false, id == kShowAll      ? state.showAll
                                 : id == kShowActive ? state.showActive
                                                     : state.showMeasurement};
        return Update{false};
    }
    const tvane::GridRangeList selection = Selection();
    const bool one = selection.size() == 1;
    switch (id) {
    case kUndo:
        return Update{ops.GetUndoBufferCount() > 0};
    case kCut:
        return Update{false};
    case kCopy:
        if (!ops.HasSetup() || !one)
            return Update{false};
        if (selection[0].wholeRows)
            return Update{!ops.SelectionHasComputedRow(selection[0])};
        return Update{!HasDisabledCell(selection[0])};
    case kPaste:
        return Update{ops.GetCopyBufferCount() > 0 && one &&
                      !(selection[0].wholeRows && ops.SelectionHasComputedRow(selection[0]))};
    case kDelete: {
        if (!one)
            return Update{false};
        const GridRange& range = selection[0];
        if (!range.wholeRows && range.top == range.bottom && range.left == range.right) {
            const tvane::GridCellControl* control = grid.GetCurrentCellControl();
            return Update{grid.HasCurrentCell() && (control == nullptr || control->IsTextEdit())};
        }
        return Update{ops.CanDeleteSelection(range)};
    }
    case kShowAll:
        return Update{true, state.showAll};
    case kShowActive:
        return Update{true, state.showActive};
    case kShowMeasurement:
        return Update{true, state.showMeasurement};
    case kHideSelected:
        return Update{one && selection[0].RowCount() > 0};
    case kAddComputed:
        // One limit for the item and the command.
        if (state.nextComputed > kLastComputedChannel)
            return Update{false};
        if (!dataCell)
            return std::nullopt;
        return Update{!ops.IsType5RowAt(row)};
    case kRestoreAll:
        return Update{!selection.empty()};
    case kRestoreSelected:
        return Update{one && !ops.SelectionHasComputedRow(selection[0])};
    case kShowHideColumns:
    case kOptions:
        return Update{true};
    case kProperties:
        return Update{one && selection[0].RowCount() == 1};
    default:
        return std::nullopt;
    }
}

bool SetupViewCommands::Execute(unsigned id) {
    switch (id) {
    case kUndo:
        OnEditUndo();
        return true;
    case kCut:
        m_controller.CommitCurrentCell(true);
        return true;
    case kCopy:
        OnEditCopy();
        return true;
    case kPaste:
        OnEditPaste();
        return true;
    case kDelete:
        OnEditDelete();
        return true;
    case kShowAll:
        OnShowAllChannels();
        return true;
    case kShowActive:
        OnShowActiveChannels();
        return true;
    case kShowMeasurement:
        OnShowMeasurementChannels();
        return true;
    case kHideSelected:
        OnHideSelectedChannels();
        return true;
    case kAddComputed:
        OnAddComputedChannel();
        return true;
    case kRestoreAll:
        OnRestoreAllDefaults();
        return true;
    case kRestoreSelected:
        OnRestoreSelectedDefaults();
        return true;
    case kShowHideColumns:
        RunOptionsSheet(ISetupOptionsSheet::kColumnsPage);
        return true;
    case kOptions:
        RunOptionsSheet(ISetupOptionsSheet::kAppearancePage);
        return true;
    case kProperties:
        OnChannelProperties();
        return true;
    default:
        return false;
    }
}

void SetupViewCommands::OnEditUndo() {
    m_controller.CommitCurrentCell(true);
    ISetupGridOperations& ops = m_controller.Operations();
    GridRange range, partners;
    if (!ops.UndoSetupEdit(range, partners))
        return;
    ISetupGridWindow& window = m_controller.Window();
    const bool locked = window.LockUpdate(true);
    if (partners.top != 0 && partners.bottom != 0) {
        for (int row = partners.top; row <= partners.bottom; ++row)
            ops.RecomputeRowFlags(row);
        RedrawFromSetup(partners.top, partners.bottom, false);
    }
    RedrawFromSetup(range.top, range.bottom, false);
    CommonEnding();
    window.LockUpdate(locked);
}

void SetupViewCommands::OnEditCopy() {
    m_controller.CommitCurrentCell(true);
    const std::optional<GridRange> range = OneRange();
    if (!range)
        return;
    if (HasDisabledCell(*range)) {
        Warn(setuptext::kDisabledCopy);
        return;
    }
    if (!range->wholeRows && range->top == range->bottom && range->left == range->right &&
        !m_controller.Window().CopyTextToClipboard(
            m_controller.Grid().GetCellText(range->top, range->left)))
        Warn(kClipboardFailed);
    if (!m_controller.Operations().CopySelection(*range))
        m_controller.Window().ClearSelection();
    EndEditing();
}

void SetupViewCommands::OnEditPaste() {
    m_controller.CommitCurrentCell(true);
    const std::optional<GridRange> range = OneRange();
    if (range) {
        GridRange partners = *range;
        partners.top = partners.bottom = 0;
        ISetupGridOperations& ops = m_controller.Operations();
        if (ops.PasteSelection(*range, partners)) {
            const bool differs = ops.SetupDiffersFromData();
            ISetupGridWindow& window = m_controller.Window();
            const bool locked = window.LockUpdate(true);
            if (partners.top != 0 && partners.bottom != 0)
                RedrawFromSetup(partners.top, partners.bottom, differs);
            RedrawFromSetup(range->top, range->bottom, differs);
            CommonEnding();
            window.LockUpdate(locked);
        }
    }
    m_controller.Window().ClearSelection();
}

void SetupViewCommands::OnEditDelete() {
    tvane::GridCore& grid = m_controller.Grid();
    int row = 0, col = 0;
    tvane::GridCellControl* control = grid.GetCurrentCellControl();
    if (control != nullptr && control->IsTextEdit() && grid.GetCurrentCell(row, col)) {
        control->SetCurrentText({});
        m_controller.RedrawRows(GridRange::Cells(row, col, row, col), false);
        return;
    }
    m_controller.CommitCurrentCell(true);
    const tvane::GridRangeList selection = Selection();
    if (selection.empty()) {
        Warn(setuptext::kNothingSelected);
        return;
    }
    ISetupGridWindow& window = m_controller.Window();
    const bool locked = window.LockUpdate(true);
    SetupGridController::State& state = m_controller.GetState();
    // From the bottom up: rows deleted below a range do not move it.
    tvane::GridRangeList ranges = tvane::SortedByTop(selection);
    for (auto it = ranges.rbegin(); it != ranges.rend(); ++it) {
        const GridRange& range = *it;
        if (m_controller.Operations().DeleteComputedChannels(range)) {
            state.lastRow -= range.RowCount();
            window.SyncRowCount();
        }
    }
    window.ClearSelection();
    window.SetCurrentCell(state.lastRow, kColScan);
    window.LockUpdate(locked);
    window.ScrollToCell(kFirstDataRow, kColScan);
}

void SetupViewCommands::OnShowAllChannels() {
    m_controller.CommitCurrentCell(true);
    ISetupGridWindow& window = m_controller.Window();
    window.ClearSelection();
    EndEditing();
    SetupGridController::State& state = m_controller.GetState();
    m_controller.Grid().HideRows(kFirstDataRow, state.lastRow, false);
    window.ScrollToCell(kFirstDataRow, kColScan);
    state.showAll = true;
    state.showActive = state.showMeasurement = false;
}

void SetupViewCommands::ShowQualifying(bool measurement) {
    m_controller.CommitCurrentCell(true);
    ISetupGridWindow& window = m_controller.Window();
    window.ClearSelection();
    EndEditing();
    tvane::GridCore& grid = m_controller.Grid();
    ISetupGridOperations& ops = m_controller.Operations();
    int row = 0, col = 0;
    if (!grid.GetCurrentCell(row, col) || !m_controller.IsDataRow(row))
        return;
    const auto qualifies = [&](int r) {
        return measurement ? ops.IsMeasurementRow(r) : ops.IsActiveRow(r);
    };
    if (!qualifies(row)) {
        const int nearest =
            measurement ? ops.FindNearestMeasurementRow(row) : ops.FindNearestActiveRow(row);
        window.SetCurrentCell(m_controller.IsDataRow(nearest) ? nearest : 0,
                              m_controller.IsDataRow(nearest) ? col : 0);
    }
    SetupGridController::State& state = m_controller.GetState();
    const bool locked = window.LockUpdate(true);
    for (int r = kFirstDataRow; r <= state.lastRow; ++r)
        grid.HideRows(r, r, !qualifies(r));
    window.LockUpdate(locked);
    window.ScrollToCell(kFirstDataRow, kColScan);
    state.showAll = false;
    state.showActive = !measurement;
    state.showMeasurement = measurement;
}

void SetupViewCommands::OnHideSelectedChannels() {
    m_controller.CommitCurrentCell(true);
    EndEditing();
    const std::optional<GridRange> range = OneRange();
    if (!range)
        return;
    if (range->RowCount() <= 0 || !m_controller.IsDataRow(range->top)) {
        Warn(setuptext::kInvalidSelection);
        return;
    }
    m_controller.Grid().HideRows(range->top, range->bottom, true);
    m_controller.Window().ClearSelection();
}

void SetupViewCommands::OnAddComputedChannel() {
    m_controller.CommitCurrentCell(true);
    SetupGridController::State& state = m_controller.GetState();
    if (state.nextComputed > kLastComputedChannel)
        return;
    if (!m_controller.Operations().AddComputedChannel(state.nextComputed))
        return;
    ++state.nextComputed;
    ++state.lastRow;
    ISetupGridWindow& window = m_controller.Window();
    window.SyncRowCount();
    m_controller.RefreshRow(state.lastRow, true);
    m_controller.RedrawRows(GridRange::Rows(state.lastRow, state.lastRow), true);
    window.SetCurrentCell(state.lastRow, kColScan);
    window.ScrollToCell(state.lastRow, kColScan);
}

void SetupViewCommands::RestoreDefaults(bool all) {
    m_controller.CommitCurrentCell(true);
    tvane::GridCore& grid = m_controller.Grid();
    int row = 0, col = 0;
    const bool current = grid.GetCurrentCell(row, col);
    const bool refill = current && IsListColumn(col);
    SetupGridController::State& state = m_controller.GetState();
    std::optional<GridRange> range;
    if (all)
        range = GridRange::Rows(kFirstDataRow, state.lastRow);
    else
        range = OneRange();
    if (!range)
        return;
    GridRange partners = *range;
    partners.top = partners.bottom = 0;
    ISetupGridOperations& ops = m_controller.Operations();
    if (!ops.ResetSelectionDefaults(*range, partners))
        return;
    ISetupGridWindow& window = m_controller.Window();
    const bool locked = window.LockUpdate(true);
    EndEditing();
    const bool differs = ops.SetupDiffersFromData();
    if (all) {
        RedrawFromSetup(kFirstDataRow, state.lastRow, false);
        if (differs)
            m_controller.PostOutOfSync(0, true);
    } else {
        if (partners.top != 0 && partners.bottom != 0)
            RedrawFromSetup(partners.top, partners.bottom, differs);
        RedrawFromSetup(range->top, range->bottom, differs);
    }
    if (refill)
        m_controller.RequestFill(row, col);
    m_controller.RedrawRows(*range, false);
    if (tvane::GridCellControl* control = grid.GetCurrentCellControl(); control && current)
        control->Init(row, col);
    window.LockUpdate(locked);
}

void SetupViewCommands::RunOptionsSheet(int startPage) {
    m_controller.CommitCurrentCell(true);
    tvane::GridCore& grid = m_controller.Grid();
    ISetupGridWindow& window = m_controller.Window();
    SetupGridController::State& state = m_controller.GetState();
    state.tabName = window.GetTabName();
    ISetupOptionsSheet::Options options;
    options.tabName = state.tabName;
    options.tabColour = state.tabColour;
    options.zoom = grid.GetZoom();
    for (int col = 0; col < 16; ++col)
        options.visible[static_cast<std::size_t>(col)] = !grid.IsColHidden(col);
    const ISetupOptionsSheet::Options before = options;
    if (m_options.Run(startPage, options)) {
        if (options.tabName != before.tabName || options.tabColour != before.tabColour ||
            options.zoom != before.zoom || options.visible != before.visible)
            m_controller.Operations().MarkLayoutChanged();
        const bool locked = window.LockUpdate(true);
        for (int col = 0; col < 16; ++col)
            grid.HideCols(col, col, !options.visible[static_cast<std::size_t>(col)]);
        if (options.zoom != grid.GetZoom())
            grid.SetZoom(options.zoom);
        state.tabName = options.tabName;
        window.SetTabName(options.tabName);
        state.tabColour = options.tabColour;
        window.SetTabColour(options.tabColour);
        window.LockUpdate(locked);
    }
    window.ScrollToCell(kFirstDataRow, kColScan);
}

void SetupViewCommands::OnChannelProperties() {
    m_controller.CommitCurrentCell(true);
    const std::optional<GridRange> range = OneRange();
    if (!range)
        return;
    if (range->RowCount() > 1) {
        Warn(setuptext::kOneChannel);
        return;
    }
    int row = 0, col = 0;
    m_controller.Grid().GetCurrentCell(row, col);
    const int page = col >= kColFunction && col <= kColAdvanced    ? 1
                     : col >= kColScale && col <= kColLabel        ? 2
                     : col >= kColTest && col <= kColAlarmAdvanced ? 3
                                                                   : 0;
    ISetupGridOperations& ops = m_controller.Operations();
    int partner = 0;
    if (!ops.ShowChannelProperties(*range, page, partner))
        return;
    const bool differs = ops.SetupDiffersFromData();
    if (m_controller.IsDataRow(partner)) {
        m_controller.GetState().updating = true;
        RedrawFromSetup(partner, partner, differs);
        m_controller.GetState().updating = false;
    }
    RedrawFromSetup(range->top, range->top, differs);
    if (tvane::GridCellControl* control = m_controller.Grid().GetCurrentCellControl())
        control->Init(row, col);
}

void SetupViewCommands::OnCommandHelp() {
    tvane::Help().ShowContext(kHelpContext);
}

void SetupViewCommands::GetSelectedChannels(long& first, long& second) const {
    first = second = -1;
    int found = 0;
    for (const GridRange& range : Selection()) {
        if (range.RowCount() <= 0)
            continue;
        for (int row = range.top; row <= range.bottom && found < 2; ++row) {
            const long channel = std::atol(m_controller.Grid().GetCellText(row, kColId).c_str());
            (found++ == 0 ? first : second) = channel;
        }
        if (found >= 2)
            return;
    }
}
