#pragma once
#include <functional>

#include <QFont>
#include <QString>

class QPagedPaintDevice;
class QPainter;
class QRect;

namespace tvane {

class GridCore;
struct GridStyle;

struct GridPrintOptions {
    // The resolution the grid's pixel sizes are meant for.
    int screenDpi = 96;
    // One band of columns narrowed to the page; else the columns are cut into
    // pages, and the row header column with the frozen columns is printed on
    // every page.
    bool fitToWidth = true;
    // The drawing font of a style; the given font when empty.
    std::function<QFont(const GridStyle&)> font;
    // What a data cell shows of its value (a check box shows none); the value
    // when empty.
    std::function<QString(int row, int col, const GridStyle&, const QString& value)> displayText;
    // Draws what a data cell's control adds, in screen pixels.
    std::function<void(QPainter&, const QRect&, int row, int col, const GridStyle&,
                       const QString& value)>
        paintOver;
};

// Prints the grid's visible rows and columns with its header rows (and their
// covered cells) at the top of each page, in the cells' colours. Sizes are the
// grid's screen pixels scaled to the device. Pages go down, then across.
// Returns the number of pages, 0 when painting could not start.
int PrintGrid(const GridCore& core, QPagedPaintDevice& device, const QFont& font,
              const GridPrintOptions& options);
int PrintGrid(const GridCore& core, QPagedPaintDevice& device, const QFont& font,
              int screenDpi = 96);

} // namespace tvane
