#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/grid/GridStyle.h"

namespace tvane {
class GridCore;
}

// How a setup row looks by its flag word: each set bit disables one cell, and
// -1 disables the whole row but for ID, Name and Comment.
namespace setupgrid {

inline constexpr std::uint32_t kWholeRow = 0xFFFFFFFF;

// The flag bit that disables a column; 0 for columns no bit disables.
std::uint32_t FlagBitOf(int col);
// The style the flag word gives a cell (control, interior, read-only), or none
// for the columns it leaves alone (0, 2, 16).
std::optional<tvane::GridStyle> FlagStyle(std::uint32_t flags, int col);
// Restyles a row's cells from its flag word. Without force a cell that already
// has the wanted look is not written again, so little is repainted. The
// read-only protection is off while the row is written.
void ApplyRowFlags(tvane::GridCore& grid, int row, std::uint32_t flags, bool force);

// The ID cell's colour: grey in step with the recorded data, light yellow when
// edited after data was recorded; the monitor channel cyan, or teal when edited.
tvane::ColorRef IdCellColour(bool outOfSync, bool monitor);

// The last grid row of each module slot (0 for none), for the separators.
using SlotRows = std::array<int, 3>;
// What the view adds to a data cell's style as it is drawn: the blue line
// right of the Name column and under the last row of each module slot, and a
// numeric cell's mode and length by the row's function.
void DecorateCell(int row, int col, tvane::GridStyle& style, const SlotRows& lastRows,
                  const std::string& function);

} // namespace setupgrid
