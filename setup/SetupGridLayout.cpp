#include "setup/SetupGridLayout.h"

#include "platform/grid/GridCore.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupTexts.h"

namespace setupgrid {

using tvane::GridHAlign;
namespace gridcontrol = tvane::gridcontrol;

namespace {

const std::array<ColumnSpec, 17> kColumns = {{
    {kColId, "Channel", "ID", 40, kCtrlArrowHeader, GridHAlign::Left, 20, nullptr, nullptr,
     setuptext::kDefaultPrompt},
    {kColScan, nullptr, "Scan", 32, kCtrlCheckBox, GridHAlign::Center, 1, nullptr, nullptr,
     "Activate/Deactivate channel"},
    {kColName, nullptr, "Name", 120, gridcontrol::kEdit, GridHAlign::Left, 20, nullptr, nullptr,
     "Type desired channel name"},
    {kColFunction, "Measurement", "Function", 110, kCtrlDropDown, GridHAlign::Left, 20, nullptr,
     nullptr, "Select desired measurement function from list"},
    {kColRange, nullptr, "Range", 60, kCtrlDropDown, GridHAlign::Left, 20, nullptr, nullptr,
     "Select desired measurement range from list"},
    {kColResolution, nullptr, "Resolution", 60, kCtrlDropDown, GridHAlign::Left, 20, nullptr,
     nullptr, "Select desired measurement resolution from list"},
    {kColAdvanced, nullptr, "Advanced", 60, gridcontrol::kStatic, GridHAlign::Center, 3, nullptr,
     nullptr, "Indicates if Advanced Settings are altered from the default settings"},
    {kColScale, "Scaling (Mx+B)", "Scale", 38, kCtrlCheckBox, GridHAlign::Center, 1, nullptr,
     nullptr, "Activate/Deactivate scaling"},
    {kColGain, nullptr, "Gain(M)", 50, kCtrlNumeric, GridHAlign::Left, 20, nullptr, "%g",
     "Scaling gain"},
    {kColOffset, nullptr, "Offset(B)", 50, kCtrlNumeric, GridHAlign::Left, 20, nullptr, "%g",
     "Scaling offset"},
    {kColLabel, nullptr, "Label", 60, kCtrlUnitsCombo, GridHAlign::Left, 20, setuptext::kUnitsList,
     nullptr, "Scaling units"},
    {kColTest, "Alarm Limits", "Test", 75, kCtrlDropDown, GridHAlign::Center, 20,
     setuptext::kAlarmTestList, nullptr, "Activate/Deactivate alarms"},
    {kColHigh, nullptr, "High", 75, gridcontrol::kEdit, GridHAlign::Left, 20, nullptr, nullptr,
     "High alarm limit"},
    {kColLow, nullptr, "Low", 75, kCtrlNumeric, GridHAlign::Left, 20, nullptr, "%g",
     "Low alarm limit"},
    {kColHwAlarm, nullptr, "H/W Alarm", 62, kCtrlDropDown3, GridHAlign::Left, 20,
     setuptext::kAlarmOutputList, nullptr, "Hardware alarm number"},
    {kColAlarmAdvanced, nullptr, "Advanced", 60, gridcontrol::kStatic, GridHAlign::Center, 3,
     nullptr, nullptr, "Indicates if Alarm Settings are altered from the default settings"},
    {kColComment, "Comment", nullptr, 120, kCtrlComment, GridHAlign::Left, 256, nullptr, nullptr,
     "Type desired comment"},
}};

// The covered group headers of row 0, and the comment's two header rows.
const tvane::GridRange kGroups[] = {
    tvane::GridRange::Cells(0, 0, 0, 2),   tvane::GridRange::Cells(0, 3, 0, 6),
    tvane::GridRange::Cells(0, 7, 0, 10),  tvane::GridRange::Cells(0, 11, 0, 15),
    tvane::GridRange::Cells(0, 16, 1, 16),
};

} // namespace

const std::array<ColumnSpec, 17>& Columns() {
    return kColumns;
}

const char* ColumnPrompt(int col) {
    return col >= 0 && col <= kLastCol ? kColumns[static_cast<std::size_t>(col)].prompt
                                       : setuptext::kDefaultPrompt;
}

void InitGridLayout(tvane::GridCore& grid, int frozenCols, bool rebuild) {
    tvane::GridStyle& standard = grid.StandardStyle();
    standard = {};
    standard.font = tvane::GridFont{"MS Sans Serif", 8, false};
    standard.vAlign = tvane::GridVAlign::Center;
    standard.textColor = tvane::Rgb(0, 0, 0);
    standard.interior = kEnabledCell;
    tvane::GridStyle& colHeader = grid.ColHeaderStyle();
    colHeader = {};
    colHeader.interior = kHeaderGrey;
    colHeader.hAlign = GridHAlign::Center;
    tvane::GridStyle& rowHeader = grid.RowHeaderStyle();
    rowHeader = {};
    rowHeader.interior = kHeaderGrey;
    rowHeader.control = kCtrlArrowHeader;
    rowHeader.hAlign = GridHAlign::Left;

    grid.SetHeaderRowCount(2);
    grid.SetColCount(kLastCol);
    grid.SetFrozenCols(frozenCols);
    grid.SetRowHeight(0, 1, kHeaderRowHeight);
    grid.SetDefaultRowHeight(kDataRowHeight);
    grid.ClearCoveredCells();
    for (const tvane::GridRange& group : kGroups)
        grid.SetCoveredCells(group);
    for (const ColumnSpec& spec : kColumns) {
        if (spec.groupHeader)
            grid.SetHeaderText(0, spec.col, spec.groupHeader);
        if (spec.header)
            grid.SetHeaderText(1, spec.col, spec.header);
    }
    // The column styles are not kept with the layout: they are laid every time.
    for (const ColumnSpec& spec : kColumns) {
        tvane::GridStyle style;
        if (spec.col != kColId) {
            style.control = spec.control;
            style.hAlign = spec.align;
        }
        style.maxLength = spec.maxLength;
        if (spec.choiceList)
            style.choiceList = spec.choiceList;
        if (spec.format)
            style.userAttributes[kAttrFormat] = spec.format;
        grid.SetColStyle(spec.col, style);
        if (rebuild)
            grid.SetColWidth(spec.col, spec.width);
    }
}

} // namespace setupgrid
