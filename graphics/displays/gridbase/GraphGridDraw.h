#pragma once
#include <QFont>
#include <QRect>

class QPagedPaintDevice;
class QPainter;
namespace tvane {
class GridCore;
}

// The display grids' drawing into any painter (window, picture, printer):
// the header rows and then the data rows from first on, as many as fit in the
// rectangle's height (at least one), columns as many as fit its width; the
// last visible column widens to the rectangle's right edge. Returns the last
// data row drawn.
int DrawGridRows(QPainter& painter, const tvane::GridCore& core, const QRect& rect, int first,
                 const QFont& font);

// Prints the grid's data rows by pages of the rows that fit, the header rows
// on every page; the number of pages.
int PrintGridByRows(const tvane::GridCore& core, QPagedPaintDevice& device, const QFont& font);
