#pragma once
#include <array>

#include "platform/grid/GridStyle.h"

namespace tvane {
class GridCore;
}

// The setup grid's columns and how a grid is laid out for them.
namespace setupgrid {

struct ColumnSpec {
    int col;
    const char* groupHeader; // in row 0 over the group, at its first column
    const char* header;      // row 1
    int width;
    int control;
    tvane::GridHAlign align;
    int maxLength;
    const char* choiceList; // null: none, or filled on demand
    const char* format;     // the numeric format attribute, or null
    const char* prompt;     // the status bar's prompt while the cell is current
};

const std::array<ColumnSpec, 17>& Columns();
// The status bar prompt of a column; the default prompt outside the columns.
const char* ColumnPrompt(int col);

// Lays the grid out for the setup: two header rows (the group headers as
// covered cells), 16 data columns, the frozen columns, header and data row
// heights, the standard, header and column styles. With rebuild also the
// column widths (an opened setup keeps the widths its layout brought).
void InitGridLayout(tvane::GridCore& grid, int frozenCols, bool rebuild);

} // namespace setupgrid
