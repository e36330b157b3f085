#pragma once
#include <string>

namespace tvane {
class GridCellControl;
}

// The rules of the setup grid's numeric cells (gain, offset, alarm limits):
// what may be typed in each mode, the overwrite typing of bit patterns, and
// the checks when the cell is left.
namespace setupgrid {

enum class NumericMode : int { Number = 0, BitPattern = 1, Count = 2 };

inline constexpr double kNumberMin = -1.0e15;
inline constexpr double kNumberMax = 1.0e15;
inline constexpr double kCountMin = 0;
inline constexpr double kCountMax = 67108863; // 2^26 - 1
inline constexpr int kBitPatternLength = 8;

// The mode and maximum length of a numeric cell: the High cell of a digital
// read row takes an 8-position bit pattern, of a totalizer row a count, every
// other numeric cell a number.
struct NumericCellMode {
    NumericMode mode;
    int maxLength;
};
NumericCellMode NumericModeFor(int col, const std::string& function);

// Whether a text may stand while it is typed (an empty text always may).
bool NumericTextAllowed(NumericMode mode, const std::string& text);

// A key typed in bit-pattern mode: x becomes X; the selection it replaces.
struct BitPatternTyping {
    char c;
    int selStart;
    int selEnd;
    bool dropped; // the character is not typed
};
// A selection longer than one character, or starting at or past the maximum
// length, collapses to its start and drops the character; with nothing
// selected the character after the caret is selected, so the typed one
// replaces it.
BitPatternTyping BitPatternKey(char c, int selStart, int selEnd, int maxLength);
// The selection on gaining the focus in bit-pattern mode.
void BitPatternFocus(int& selStart, int& selEnd, int maxLength);

// The check of a numeric cell when it is left, committed or validated before
// a download: an active, modified edit must read whole as a number in range
// (or an 8-position pattern, or a count); a new High below the row's Low moves
// the Low down to it and a new Low above the High moves the High up; equal
// limits are questioned when interactive. A refusal hands the grid its warning
// text; false then.
bool ValidateNumericCell(tvane::GridCellControl& control, NumericMode mode, bool interactive);

} // namespace setupgrid
