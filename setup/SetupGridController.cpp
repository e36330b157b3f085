#include "setup/SetupGridController.h"

#include <algorithm>
#include <cstdlib>

#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/grid/CGridParam.h"
#include "platform/grid/GridCellControl.h"
#include "platform/grid/GridCore.h"
#include "platform/ui/Prompter.h"
#include "setup/CellControlRules.h"
#include "setup/ISetupGridOperations.h"
#include "setup/ISetupGridWindow.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupGridLayout.h"
#include "setup/SetupMessages.h"
#include "setup/SetupTexts.h"

using namespace setupgrid;
using tvane::GridRange;
using tvane::MessageBus;

SetupGridController::SetupGridController(tvane::GridCore& grid, ISetupGridWindow& window,
                                         ISetupGridOperations& operations)
    : m_grid(grid), m_window(window), m_ops(operations) {
    m_grid.SetRowCountSource([this] { return m_state.lastRow - 1; });
    m_grid.SetStyleHook(
        [this](int row, int col, tvane::GridStyle& style) { CellStyle(row, col, style); });
    m_grid.SetStoreHook(
        [this](int row, int col, const std::string& value) { return StoreCell(row, col, value); });
}

SetupGridController::~SetupGridController() {
    m_grid.SetRowCountSource({});
    m_grid.SetStyleHook({});
    m_grid.SetStoreHook({});
}

void SetupGridController::ResetState() {
    m_state = State{};
}

void SetupGridController::InitialUpdate(bool opened) {
    m_state.updating = true;
    m_hasData = HasRecordedData();
    if (!m_ops.IsSetupLoaded()) {
        ResetState();
        m_loadedParam.reset();
        m_grid.SetParam(tvane::CGridParam{});
        m_grid.SetColCount(0);
        m_state.lastRow = 1;
        m_window.SetTabName(m_state.tabName);
        m_window.SetTabColour(m_state.tabColour);
        m_window.SyncRowCount();
        return;
    }
    // A file written before the view kept its part brings no layout: its
    // setup is shown as a new one's.
    const bool restored = opened && m_loadedParam;
    if (restored)
        m_grid.SetParam(*m_loadedParam);
    m_loadedParam.reset();
    const bool readOnly = m_grid.SetReadOnly(true);
    int a = 0, b = 0, c = 0;
    m_ops.GetLastRowPerSlot(a, b, c);
    m_lastRows = {a, b, c};
    if (restored) {
        m_window.SetTabName(m_state.tabName);
        m_window.SetTabColour(m_state.tabColour);
        InitGrid(false);
        // The rows may have changed since the layout was saved.
        m_state.lastRow = m_ops.GetSetupCount() + 1;
        m_window.SyncRowCount();
        for (int row = 2; row <= m_state.lastRow; ++row)
            RefreshRow(row, true);
    } else {
        m_state.showAll = true;
        m_state.showActive = m_state.showMeasurement = false;
        m_state.nextComputed = NextComputedChannel();
        m_state.tabName = setuptext::kTabName;
        m_state.tabColour = kDefaultTabColour;
        m_window.SetTabName(m_state.tabName);
        m_window.SetTabColour(m_state.tabColour);
        InitGrid(true);
    }
    m_state.updating = false;
    m_window.SetCurrentCell(2, 1);
    m_grid.SetReadOnly(readOnly);
}

int SetupGridController::NextComputedChannel() {
    // Past the computed channels the setup has already, so no number is
    // given twice.
    int next = 900;
    std::string text;
    for (int row = 2; row < m_ops.GetSetupCount() + 2; ++row)
        if (m_ops.GetSetupCellText(row, kColId, text))
            next = std::max(next, std::atoi(text.c_str()) + 1);
    return next;
}

void SetupGridController::InitGrid(bool rebuild) {
    InitGridLayout(m_grid, m_state.frozenCols, rebuild);
    if (!rebuild)
        return;
    m_state.lastRow = m_ops.GetSetupCount() + 1;
    m_window.SyncRowCount();
    for (int row = 2; row <= m_state.lastRow; ++row)
        RefreshRow(row, true);
}

void SetupGridController::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        m_state.tabName = m_window.GetTabName();
        const tvane::CGridParam param = m_grid.GetParam();
        ar.WriteObject(&param);
        ar << static_cast<std::uint16_t>(m_state.updating)
           << static_cast<std::uint16_t>(m_state.showAll)
           << static_cast<std::uint16_t>(m_state.showActive)
           << static_cast<std::uint16_t>(m_state.showMeasurement)
           << static_cast<std::int32_t>(m_state.lastRow)
           << static_cast<std::int32_t>(m_state.lastCol)
           << static_cast<std::int32_t>(m_state.frozenCols) << m_state.tabName
           << static_cast<std::int32_t>(m_state.nextComputed)
           << static_cast<std::uint32_t>(m_state.tabColour);
        return;
    }
    auto param = ar.ReadOwnedObject<tvane::CGridParam>();
    std::uint16_t updating = 0, showAll = 0, showActive = 0, showMeasurement = 0;
    std::int32_t lastRow = 0, lastCol = 0, frozen = 0, next = 0;
    std::string tab;
    ar >> updating >> showAll >> showActive >> showMeasurement >> lastRow >> lastCol >> frozen >>
        tab >> next;
    // The view's part is a block of its own: one written before the tab kept
    // its colour just ends here.
    std::uint32_t colour = kDefaultTabColour;
    try {
        ar >> colour;
    } catch (const tvane::CArchiveException& e) {
        if (e.GetCause() != tvane::CArchiveException::endOfFile)
            throw;
        colour = kDefaultTabColour;
    }
    m_loadedParam = std::move(param);
    m_state.updating = updating != 0;
    m_state.showAll = showAll != 0;
    m_state.showActive = showActive != 0;
    m_state.showMeasurement = showMeasurement != 0;
    m_state.lastRow = lastRow;
    m_state.lastCol = lastCol;
    m_state.frozenCols = frozen;
    m_state.tabName = tab;
    m_state.nextComputed = next;
    m_state.tabColour = colour & 0x00FFFFFF;
}

void SetupGridController::CellStyle(int row, int col, tvane::GridStyle& style) {
    if (!IsDataRow(row))
        return;
    std::string function;
    if (style.ControlId() == kCtrlNumeric)
        m_ops.GetSetupCellText(row, kColFunction, function);
    DecorateCell(row, col, style, m_lastRows, function);
    std::string text;
    if (m_ops.GetSetupCellText(row, col, text))
        style.value = col == kColScale && style.ControlId() == tvane::gridcontrol::kStatic
                          ? std::string()
                          : text;
}

bool SetupGridController::StoreCell(int row, int col, const std::string& value) {
    if (!m_state.updating && IsDataRow(row)) {
        m_ops.StoreSetupCellValue(row, col, value);
        if (HasRecordedData())
            PostOutOfSync(row, true);
    }
    return true;
}

void SetupGridController::CurrentCellMoved(int row, int col) {
    if (IsDataRow(row) && m_grid.GetStyle(row, col).ControlId() == kCtrlDropDown)
        MessageBus::Post(m_window.Target(), {setupmsg::FillComboBox(), row, col, {}});
    m_window.SetStatusText(ColumnPrompt(col));
    m_fillPending = true;
}

long SetupGridController::OnMessage(const tvane::Message& message) {
    const int row = static_cast<int>(message.wParam);
    if (message.id == setupmsg::FuncChanged())
        return OnFuncChanged(row, message.text);
    if (message.id == setupmsg::ResChanged())
        return OnResChanged(row, message.text);
    if (message.id == setupmsg::SettingChanged())
        return OnSettingChanged(row);
    if (message.id == setupmsg::FillComboBox())
        return OnFillComboBox(row, static_cast<int>(message.lParam));
    if (message.id == setupmsg::OutOfSync())
        return OnOutOfSync(row, message.lParam != 0);
    if (message.id == setupmsg::ValidateExternal())
        return OnValidateExternal() ? 1 : 0;
    if (message.id == setupmsg::DispPopup()) {
        if (!m_ops.IsSetupLoaded())
            return 0;
        m_window.ShowPopupMenu(static_cast<int>(message.wParam));
        return 1;
    }
    return 0;
}

long SetupGridController::OnFuncChanged(int row, const std::string& function) {
    if (!IsDataRow(row))
        return 0;
    if (function != m_grid.GetCellText(row, kColFunction)) {
        if (!m_ops.CanChangeFunction(row, function)) {
            // Refused: the cell and its list show the old function again.
            if (tvane::GridCellControl* control = m_grid.GetControl(row, kColFunction)) {
                control->Init(row, kColFunction);
                control->SetModify(false);
            }
            RefreshCurrentCell(true);
            return 1;
        }
        if (m_grid.GetStyle(row, kColFunction).IsReadOnly()) {
            tvane::GridStyle editable;
            editable.readOnly = false;
            const bool lock = m_grid.SetLockReadOnly(false);
            m_grid.SetStyleRange(GridRange::Cells(row, kColFunction, row, kColFunction), editable);
            m_grid.SetLockReadOnly(lock);
        }
        CommitCurrentCell(true);
        int partner = 0;
        if (m_ops.ApplyRowChange(row, partner)) {
            const bool partnered = partner >= 2;
            if (partnered) {
                m_state.updating = true;
                RefreshRow(partner, false);
                m_state.updating = false;
                RedrawRows(GridRange::Rows(partner, partner), true);
                if (HasRecordedData())
                    PostOutOfSync(partner, true);
            }
            RefreshRow(row, false);
            RedrawRows(GridRange::Rows(row, row), true);
            RefreshCurrentCell(partnered);
        }
    }
    return 1;
}

long SetupGridController::OnResChanged(int row, const std::string& resolution) {
    if (!IsDataRow(row))
        return 0;
    if (resolution != m_grid.GetCellText(row, kColResolution)) {
        CommitCurrentCell(true);
        if (m_ops.ApplyResolutionChange(row, resolution)) {
            RedrawRows(GridRange::Rows(row, row), true);
            RefreshCurrentCell(true);
        }
    }
    return 1;
}

long SetupGridController::OnSettingChanged(int row) {
    if (!IsDataRow(row))
        return 0;
    CommitCurrentCell(true);
    m_ops.RecomputeRowFlags(row);
    RefreshRow(row, false);
    RedrawRows(GridRange::Rows(row, row), true);
    RefreshCurrentCell(false);
    return 1;
}

long SetupGridController::OnFillComboBox(int row, int col) {
    if (!m_fillPending)
        return 0;
    m_fillPending = false;
    if (!IsDataRow(row) || col < 1 || col > kLastCol)
        return 0;
    const std::string text = m_grid.GetCellText(row, col);
    std::string list;
    switch (col) {
    case kColFunction:
        if (!m_ops.FillFunctionList(row, list))
            return 0;
        break;
    case kColRange:
        if (!m_ops.FillRangeList(row, list))
            return 0;
        break;
    case kColResolution:
        if (!m_ops.FillResolutionList(row, list))
            return 0;
        break;
    case kColTest:
        list = AlarmTestList(m_grid.GetCellText(row, kColFunction));
        break;
    default:
        return 0;
    }
    m_window.FillDropDown(tvane::SplitChoiceList(list), text);
    return 1;
}

long SetupGridController::OnOutOfSync(int row, bool outOfSync) {
    const long monitor = m_ops.GetMonitorChannel();
    const int monitorRow = monitor != 0 ? m_ops.GetGridRow(monitor) : 0;
    const auto colour = [&](int r) {
        tvane::GridStyle style;
        style.interior = IdCellColour(outOfSync, monitorRow != 0 && r == monitorRow);
        return style;
    };
    if (row == 0) {
        if (m_state.lastRow >= 2) {
            tvane::GridStyle all;
            all.interior = IdCellColour(outOfSync, false);
            m_grid.SetStyleRange(GridRange::Cells(2, kColId, m_state.lastRow, kColId), all);
        }
        if (IsDataRow(monitorRow))
            m_grid.SetStyleRange(GridRange::Cells(monitorRow, kColId, monitorRow, kColId),
                                 colour(monitorRow));
        return 0;
    }
    if (!IsDataRow(row))
        return 0;
    const tvane::GridStyle wanted = colour(row);
    if (m_grid.GetStyle(row, kColId).interior != wanted.interior)
        m_grid.SetStyleRange(GridRange::Cells(row, kColId, row, kColId), wanted);
    return 0;
}

bool SetupGridController::OnValidateExternal() {
    int row = 0, col = 0;
    tvane::GridCellControl* control = m_grid.GetCurrentCellControl();
    if (!m_grid.GetCurrentCell(row, col) || !IsDataRow(row) || control == nullptr)
        return true;
    const bool interactive = m_grid.SetInteractive(false);
    const bool valid = control->OnValidate();
    m_grid.SetInteractive(interactive);
    if (!valid)
        tvane::ShowMessage(setuptext::kInvalidCell, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
    return valid;
}

void SetupGridController::CommitCurrentCell(bool activate) {
    int row = 0, col = 0;
    tvane::GridCellControl* control = m_grid.GetCurrentCellControl();
    if (!m_grid.GetCurrentCell(row, col) || !IsDataRow(row) || control == nullptr)
        return;
    if (control->OnValidate())
        control->Store();
    else
        control->Discard();
    m_window.ActivateCurrentCell(activate);
}

void SetupGridController::RefreshRow(int row, bool force) {
    std::uint32_t flags = 0;
    if (!m_ops.GetRowFlags(row, flags))
        return;
    ApplyRowFlags(m_grid, row, flags, force);
}

void SetupGridController::RedrawRows(const GridRange& range, bool wholeRows) {
    m_window.RedrawRange(wholeRows ? GridRange::Rows(range.top, range.bottom) : range);
}

void SetupGridController::RefreshCurrentCell(bool reinit) {
    int row = 0, col = 0;
    tvane::GridCellControl* control = m_grid.GetCurrentCellControl();
    if (!m_grid.GetCurrentCell(row, col) || control == nullptr)
        return;
    if (reinit)
        control->Init(row, col);
    m_window.ActivateCurrentCell(true);
}

void SetupGridController::ShowMonitorChannel(long channel, bool on) {
    const int row = m_ops.GetGridRow(channel);
    if (!IsDataRow(row))
        return;
    tvane::GridStyle style;
    style.interior = on ? kIdMonitor : kIdInStep;
    m_grid.SetStyleRange(GridRange::Cells(row, kColId, row, kColId), style);
}

bool SetupGridController::HasRecordedData() const {
    return m_ops.HasRecordedData();
}

void SetupGridController::PostOutOfSync(int row, bool outOfSync) {
    MessageBus::Post(m_window.Target(), {setupmsg::OutOfSync(), row, outOfSync ? 1 : 0, {}});
}

void SetupGridController::RequestFill(int row, int col) {
    // The list is rebuilt even when its cell has not moved since it was filled.
    m_fillPending = true;
    MessageBus::Send(m_window.Target(), {setupmsg::FillComboBox(), row, col, {}});
}

void SetupGridController::Activate(bool active) {
    if (!m_ops.IsSetupLoaded())
        return;
    if (!active) {
        m_ops.NotifySetupChanged();
        return;
    }
    m_ops.UpdateScanStatus();
    const bool hadData = m_hasData;
    m_hasData = HasRecordedData();
    if (hadData && !m_hasData)
        PostOutOfSync(0, false);
}

bool SetupGridController::OnKey(Key key, bool shift) {
    if (key == Key::Tab || key == Key::Enter) {
        MoveByTab(shift);
        return true;
    }
    const tvane::GridRangeList& selection = m_grid.GetSelection();
    if (selection.empty())
        return true;
    int row = 0, col = 0;
    m_grid.GetCurrentCell(row, col);
    if (selection.size() == 1 && selection[0].wholeRows) {
        // The view's Delete command takes whole rows of computed channels.
        return false;
    }
    const GridRange& only = selection[0];
    tvane::GridCellControl* control = m_grid.GetCurrentCellControl();
    if (selection.size() == 1 && only == GridRange::Cells(row, col, row, col) &&
        control != nullptr && control->IsTextEdit() && m_grid.IsCellEditable(row, col)) {
        control->SetCurrentText({});
        m_window.RedrawRange(only);
    }
    return true;
}

void SetupGridController::MoveByTab(bool back) {
    int row = 0, col = 0;
    if (!m_grid.GetCurrentCell(row, col) || m_state.lastRow < 2)
        return;
    const auto visibleCol = [&](int c) { return !m_grid.IsColHidden(c); };
    const auto visibleRow = [&](int r) { return !m_grid.IsRowHidden(r); };
    const auto firstCol = [&] {
        for (int c = 1; c <= kLastCol; ++c)
            if (visibleCol(c))
                return c;
        return 1;
    };
    const auto lastCol = [&] {
        for (int c = kLastCol; c >= 1; --c)
            if (visibleCol(c))
                return c;
        return kLastCol;
    };
    const auto stepRow = [&](int r, int step) {
        for (r += step; r >= 2 && r <= m_state.lastRow; r += step)
            if (visibleRow(r))
                return r;
        return 0;
    };
    if (!back) {
        int next = col + 1;
        while (next <= kLastCol && !visibleCol(next))
            ++next;
        if (next <= kLastCol) {
            m_window.MoveCurrentCell(row, next);
        } else if (const int down = stepRow(row, 1); down != 0) {
            m_window.MoveCurrentCell(down, firstCol());
        } else {
            m_window.MoveCurrentCell(stepRow(1, 1) ? stepRow(1, 1) : 2, firstCol());
        }
    } else {
        int previous = col - 1;
        while (previous >= 1 && !visibleCol(previous))
            --previous;
        if (previous >= 1) {
            m_window.MoveCurrentCell(row, previous);
        } else if (const int up = stepRow(row, -1); up != 0) {
            m_window.MoveCurrentCell(up, lastCol());
        } else {
            const int bottom = stepRow(m_state.lastRow + 1, -1);
            m_window.MoveCurrentCell(bottom ? bottom : m_state.lastRow, lastCol());
        }
    }
    int newRow = 0, newCol = 0;
    if (m_grid.GetCurrentCell(newRow, newCol))
        m_window.ScrollToCell(newRow, newCol);
}
