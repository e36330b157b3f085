#include "setup/RowStyling.h"

#include "platform/grid/GridCore.h"
#include "setup/NumericCellRules.h"
#include "setup/SetupGridDefs.h"

namespace setupgrid {

namespace {

// The editor of each column the flag word can switch back on.
int EditorOf(int col) {
    switch (col) {
    case kColFunction:
    case kColRange:
    case kColResolution:
    case kColTest:
        return kCtrlDropDown;
    case kColScale:
        return kCtrlCheckBox;
    case kColGain:
    case kColOffset:
    case kColHigh:
    case kColLow:
        return kCtrlNumeric;
    case kColLabel:
        return kCtrlUnitsCombo;
    case kColHwAlarm:
        return kCtrlDropDown3;
    default:
        return tvane::gridcontrol::kStatic;
    }
}

bool SameLook(const tvane::GridStyle& current, const tvane::GridStyle& wanted) {
    return (!wanted.control || current.ControlId() == *wanted.control) &&
           current.interior == wanted.interior &&
           (!wanted.readOnly || current.IsReadOnly() == *wanted.readOnly);
}

} // namespace

std::uint32_t FlagBitOf(int col) {
    switch (col) {
    case kColFunction:
        return 0x0001;
    case kColRange:
        return 0x0002;
    case kColResolution:
        return 0x0004;
    case kColScale:
        return 0x0008;
    case kColGain:
        return 0x0010;
    case kColOffset:
        return 0x0020;
    case kColLabel:
        return 0x0040;
    case kColTest:
        return 0x0080;
    case kColHigh:
        return 0x0100;
    case kColLow:
        return 0x0200;
    case kColHwAlarm:
        return 0x0400;
    case kColAdvanced:
        return 0x0800;
    case kColAlarmAdvanced:
        return 0x1000;
    case kColScan:
        return 0x2000;
    default:
        return 0;
    }
}

std::optional<tvane::GridStyle> FlagStyle(std::uint32_t flags, int col) {
    const std::uint32_t bit = FlagBitOf(col);
    if (bit == 0)
        return std::nullopt;
    const bool disabled = flags == kWholeRow || (flags & bit) != 0;
    tvane::GridStyle style;
    style.interior = disabled ? kDisabledCell : kEnabledCell;
    if (col == kColScan)
        style.readOnly = disabled;
    else if (col != kColAdvanced && col != kColAlarmAdvanced)
        style.control = disabled ? tvane::gridcontrol::kStatic : EditorOf(col);
    return style;
}

void ApplyRowFlags(tvane::GridCore& grid, int row, std::uint32_t flags, bool force) {
    const bool lock = grid.SetLockReadOnly(false);
    for (int col = 1; col <= kLastCol; ++col) {
        const auto wanted = FlagStyle(flags, col);
        if (!wanted || (!force && SameLook(grid.GetStyle(row, col), *wanted)))
            continue;
        grid.SetStyleRange(tvane::GridRange::Cells(row, col, row, col), *wanted);
    }
    grid.SetLockReadOnly(lock);
}

tvane::ColorRef IdCellColour(bool outOfSync, bool monitor) {
    if (monitor)
        return outOfSync ? kIdMonitorOutOfSync : kIdMonitor;
    return outOfSync ? kIdOutOfSync : kIdInStep;
}

void DecorateCell(int row, int col, tvane::GridStyle& style, const SlotRows& lastRows,
                  const std::string& function) {
    const tvane::GridBorder line{1, kSeparator};
    if (col == kColName)
        style.rightBorder = line;
    for (int last : lastRows)
        if (last != 0 && row == last)
            style.bottomBorder = line;
    if (style.ControlId() == kCtrlNumeric) {
        const NumericCellMode mode = NumericModeFor(col, function);
        style.maxLength = mode.maxLength;
        style.userAttributes[kAttrNumericMode] = std::to_string(static_cast<int>(mode.mode));
    }
}

} // namespace setupgrid
