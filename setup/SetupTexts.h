#pragma once

// Texts of the setup editor, by their string ids where they have one.
namespace setuptext {
inline constexpr const char* kUnitsList =
    "(none)\nVDC\nVAC\nOHM\nADC\nAAC\nHZ\nSEC\nC\nF\nK\nDB\nWAT\n";                   // 520
inline constexpr const char* kAlarmTestList = "Off\nHigh/Low\nHigh Only\nLow Only\n"; // 521
inline constexpr const char* kAlarmOutputList = "Alarm1\nAlarm2\nAlarm3\nAlarm4\n";   // 522
inline constexpr const char* kDigitalTestList = "Off\nEqual\nNot Equal\n";            // 525
inline constexpr const char* kCountTestList = "Off\nHigh Only\n";                     // 526
inline constexpr const char* kTotalize = "Totalize";                                  // 2028
inline constexpr const char* kTotalizeReset = "Totalize (Reset)";                     // 2030
inline constexpr const char* kDigitalRead = "Digital Read 8bit";                      // 2032
inline constexpr const char* kTabName = "Scan Setup";
inline constexpr const char* kDefaultPrompt = "For Help, press F1";

inline constexpr const char* kNumberRange =
    "Invalid value. Please enter a number between %g and %g";
inline constexpr const char* kBitPattern =
    "Invalid value. Please enter an 8 digit bit pattern using 1,0 or X";
inline constexpr const char* kCountRange =
    "Invalid value. Please enter a number between %.0lf and %.0lf";
inline constexpr const char* kEqualLimits =
    "High and Low Limits are the same.\nThis may generate an excessive amount of alarms";
inline constexpr const char* kInvalidCell = "Invalid cell value";

inline constexpr const char* kNothingSelected = "Nothing selected for operation";     // 901
inline constexpr const char* kOneSelection = "Choose one selection only";             // 902
inline constexpr const char* kOneChannel = "Select one channel only";                 // 903
inline constexpr const char* kInvalidSelection = "Invalid or incompatible selection"; // 550
inline constexpr const char* kDisabledCopy = "Can not copy disabled cells";

// Control display names (the string table entries of the control ids).
inline constexpr const char* kArrowControlName = "Grid Arrow Control";                    // 510
inline constexpr const char* kDropDownName = "Grid's Drop Down List Combobox Control";    // 511
inline constexpr const char* kDropDown3Name = "Grid's Drop Down List Combobox Control 3"; // 533
inline constexpr const char* kUnitsComboName = "CGXComboBox4 Control";                    // 535
inline constexpr const char* kCheckBoxName = "Grid's Check Box Control";                  // 513
inline constexpr const char* kNumericName = "CNumericEditControl";                        // 531
inline constexpr const char* kCommentName = "CFXEditControl Control";                     // 534
} // namespace setuptext
