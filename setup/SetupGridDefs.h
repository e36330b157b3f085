#pragma once
#include "platform/grid/GridStyle.h"

// The setup grid's geometry, control ids and colours. Grid row r shows setup
// index r - 2; rows 0 and 1 are the group and column headers.
namespace setupgrid {

enum Column : int {
    kColId = 0,
    kColScan = 1,
    kColName = 2,
    kColFunction = 3,
    kColRange = 4,
    kColResolution = 5,
    kColAdvanced = 6,
    kColScale = 7,
    kColGain = 8,
    kColOffset = 9,
    kColLabel = 10,
    kColTest = 11,
    kColHigh = 12,
    kColLow = 13,
    kColHwAlarm = 14,
    kColAlarmAdvanced = 15,
    kColComment = 16,
};
inline constexpr int kLastCol = 16;
inline constexpr int kFirstDataRow = 2;
inline constexpr int kFrozenCols = 2;
inline constexpr int kHeaderRowHeight = 20;
inline constexpr int kDataRowHeight = 22;

// Cell control ids; the string table entry of the same id names the control.
enum ControlId : int {
    kCtrlArrowHeader = 510,
    kCtrlDropDown = 511,
    kCtrlCheckBox = 513,
    kCtrlNumeric = 531,
    kCtrlDropDown3 = 533,
    kCtrlComment = 534,
    kCtrlUnitsCombo = 535,
};
// The user attribute that carries a numeric cell's format ("%g").
inline constexpr int kAttrFormat = 532;
// Our own attribute: the numeric edit's mode for the cell (NumericMode).
inline constexpr int kAttrNumericMode = 10531;

inline constexpr tvane::ColorRef kEnabledCell = tvane::Rgb(255, 255, 255);
inline constexpr tvane::ColorRef kDisabledCell = tvane::Rgb(240, 240, 240);
inline constexpr tvane::ColorRef kHeaderGrey = tvane::Rgb(192, 192, 192);
inline constexpr tvane::ColorRef kIdInStep = tvane::Rgb(192, 192, 192);
inline constexpr tvane::ColorRef kIdOutOfSync = tvane::Rgb(255, 255, 128);
inline constexpr tvane::ColorRef kIdMonitor = tvane::Rgb(0, 255, 255);
inline constexpr tvane::ColorRef kIdMonitorOutOfSync = tvane::Rgb(0, 128, 128);
inline constexpr tvane::ColorRef kSeparator = tvane::Rgb(0, 0, 255);

} // namespace setupgrid
