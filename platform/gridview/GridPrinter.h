#pragma once
#include <QFont>

class QPagedPaintDevice;

namespace tvane {

class GridCore;

// Prints every row of a grid with its header row at the top of each page, the
// column widths (screen pixels at screenDpi) scaled to the device and narrowed
// when the table is wider than the page. Returns the number of pages, 0 when
// painting could not start.
int PrintGrid(const GridCore& core, QPagedPaintDevice& device, const QFont& font,
              int screenDpi = 96);

} // namespace tvane
