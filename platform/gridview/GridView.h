#pragma once
#include <functional>
#include <memory>

#include <QPointer>
#include <QTableView>

#include "platform/grid/GridCore.h"

class QPrinter;

namespace tvane {

class GridFindDialog;
class GridTableModel;

// A table window over a GridCore. The window's current cell and selection are
// mirrored into the core as they change, so code that works on the core sees
// what the user sees. Row 0 and column 0 are the headers, as in the core.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);
    ~GridView() override;

    GridCore& Core() { return m_core; }
    const GridCore& Core() const { return m_core; }

    // Takes the core's row count and repaints; what stays keeps its place.
    void Redraw();
    // Starts over: the rows are asked again, and the current cell and the
    // selection are dropped.
    void ResetGrid();

    // Row 0 clears the current cell.
    void SetCurrentCell(int row, int col);
    void ScrollToCell(int row, int col);
    void SelectRange(const GridRange& range, bool add = false);
    void ClearGridSelection();
    // The grid cell under a point of the viewport; false outside the cells.
    bool HitTest(const QPoint& pos, int& row, int& col) const;

    // The widths of the core set on the columns; the last column also takes
    // whatever the window has to spare.
    void ApplyColWidths();

    // The row of the current cell drawn highlighted, the current cell itself
    // framed in the highlight colour.
    void SetHighlightCurrentRow(bool on) { m_highlightRow = on; }
    bool HighlightsCurrentRow() const { return m_highlightRow; }
    bool IsPrinting() const { return m_printing; }

    // How the printer is chosen: the print dialog unless replaced. False
    // cancels the print.
    void SetPrinterSetup(std::function<bool(QPrinter&)> setup) {
        m_printerSetup = std::move(setup);
    }
    // Prints all rows; false when cancelled or nothing could be printed.
    bool Print();

    // Opens the modeless Find dialog seeded with text; each Find Next moves
    // the current cell to the next row holding the text.
    GridFindDialog* OpenFindDialog(const QString& text);
    // False (with a beep) when no further row holds the text.
    bool FindNext(const GridCore::FindOptions& options);

signals:
    void currentCellChanged(int row, int col, int oldRow, int oldCol);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void PullState();

    GridCore m_core;
    GridTableModel* m_model;
    bool m_highlightRow = false;
    bool m_printing = false;
    std::function<bool(QPrinter&)> m_printerSetup;
};

} // namespace tvane
