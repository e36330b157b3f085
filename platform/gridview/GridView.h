#pragma once
#include <functional>
#include <memory>
#include <set>
#include <string>

#include <QPointer>
#include <QTableView>

#include "platform/grid/GridCore.h"

class QPagedPaintDevice;
class QPrinter;

namespace tvane {

class GridFindDialog;
class GridHeaderView;
class GridTableModel;
class GridWidgetControl;

// A grid window over a GridCore. The window's current cell and selection are
// mirrored into the core as they change, so code that works on the core sees
// what the user sees; the core's layout (widths, hidden rows and columns,
// zoom, frozen columns) and styles are drawn as the core says. The header rows
// are drawn by GridHeaderView above the cells. With frozen columns the row
// header column and the frozen ones are shown again in a part of their own laid
// over the left of the cells: it scrolls up and down with the rest but never
// sideways, and the other columns slide under it.
//
// Editing follows the core's cell control protocol: typing, F2 or a click on
// the current cell activates its control; leaving the cell (keys, mouse)
// first stores the edit, and a control that refuses its text keeps the cell
// current and shows the warning.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);
    ~GridView() override;

    GridCore& Core() { return m_core; }
    const GridCore& Core() const { return m_core; }

    // Takes the core's row count and repaints; what stays keeps its place.
    void Redraw();
    // Repaints the cells with the layout as it stands: for contents that
    // change often (a new reading), where laying the columns out again each
    // time would cost more than the drawing.
    void RepaintCells();
    // Starts over: the rows are asked again, and the current cell and the
    // selection are dropped.
    void ResetGrid();
    void RedrawRange(const GridRange& range);
    void RedrawCell(int row, int col) { RedrawRange(GridRange::Cells(row, col, row, col)); }

    // Moves the current cell whatever its edit (an edit not stored is
    // dropped); a row that is not a data row clears it.
    void SetCurrentCell(int row, int col);
    // Moves the current cell only when the edit of the one left is stored;
    // else shows the warning and returns false.
    bool MoveCurrentCell(int row, int col);
    // Stores the current cell's edit; a refusal shows the warning.
    bool CommitCurrentCell();
    // Activates the current cell's control (its editor takes the focus).
    bool ActivateCurrentCell();
    void ScrollToCell(int row, int col);
    void SelectRange(const GridRange& range, bool add = false);
    void ClearGridSelection();
    // The data cell under a point of the scrolling part's viewport; false
    // outside the cells.
    bool HitTest(const QPoint& pos, int& row, int& col) const;
    // The cell, header cells included, under a point of the window.
    bool HitTestWindow(const QPoint& pos, int& row, int& col) const;
    // The cell's rectangle in the viewport that shows it (the frozen part's or
    // the scrolling part's); null when it is not shown.
    QWidget* CellViewport(int row, int col, QRect& rect) const;

    // Takes the core's layout: widths (the last column also takes whatever the
    // window has to spare), row heights, hidden rows and columns, frozen
    // columns and zoom.
    void ApplyLayout();
    void ApplyColWidths() { ApplyLayout(); }
    // While locked the core's layout changes wait and nothing is repainted;
    // unlocking applies them. Returns the previous state.
    bool LockUpdate(bool lock);

    // The drawing font of a style at the core's zoom. Styles name faces that
    // may not be installed; those draw in the window's family.
    QFont CellFont(const GridStyle& style) const;
    // The width a data cell of the style needs to show the text uncut: the
    // text in the cell's font, the style's margins and the grid line.
    int CellWidthFor(const QString& text, const GridStyle& style) const;

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
    // Prints narrowed to the page width (the default), or cut into pages of
    // columns with the row header and frozen columns on each.
    void SetPrintFitToWidth(bool fit) { m_printFitToWidth = fit; }
    // Prints all rows on a printer that starts from the program's print
    // settings; false when cancelled or nothing could be printed.
    bool Print();
    // Shows the pages Print would put out in a preview window; false when
    // there is nothing to print.
    bool PrintPreview();
    // Prints onto a device; the number of pages.
    int PrintTo(QPagedPaintDevice& device);

    // Opens the modeless Find dialog seeded with text; each Find Next moves
    // the current cell to the next row holding the text.
    GridFindDialog* OpenFindDialog(const QString& text);
    // False (with a beep) when no further row holds the text.
    bool FindNext(const GridCore::FindOptions& options);

    // The frozen part (null while no columns are frozen) and the header.
    QTableView* FrozenPart() const;
    GridHeaderView* Header() const { return m_header; }

    // For cell controls: places the active control's editor over its cell,
    // and takes the keys that leave the cell from an editor.
    void PlaceActiveEditor(GridWidgetControl& control);
    bool EditorKey(QKeyEvent* event);

signals:
    void currentCellChanged(int row, int col, int oldRow, int oldCol);
    void cellDoubleClicked(int row, int col);

protected:
    // Keys for a subclass before the grid's own handling; true when taken.
    // Called for keys on the grid and for the keys an active editor passes on.
    virtual bool ProcessKey(QKeyEvent*) { return false; }
    // Whether the grid handles a mouse press at all.
    virtual bool AcceptsPress(QMouseEvent*) { return true; }
    // A right button press on a cell (row -1 outside the cells), after the
    // grid's own handling of it.
    virtual void RightButtonPressed(int, int, const QPoint&) {}
    // Shows why an edit was refused; a warning box unless overridden.
    virtual void ShowWarning(const std::string& text);
    // What Print puts on the printer; the number of pages.
    virtual int PrintPages(QPagedPaintDevice& device) { return PrintTo(device); }

    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    class FrozenPane;
    friend class FrozenPane;

    void PullState();
    void OnCoreCurrentChanged(int oldRow, int oldCol);
    // The edit protocol before the current cell leaves for the index.
    bool LeaveFor(const QModelIndex& index);
    bool Press(QAbstractItemView& part, QMouseEvent* event);
    void AfterPress(QAbstractItemView& part, QMouseEvent* event);
    void Release(QAbstractItemView& part, QMouseEvent* event);
    void DoubleClick(QAbstractItemView& part, QMouseEvent* event);
    void UpdateFrozenGeometry();
    // Widens columns whose header text the set widths would cut.
    void FitHeaderTexts();
    void ColumnResized(int col, int size);
    int FrozenWidth() const;
    GridWidgetControl* CurrentWidgetControl() const;
    bool IsFrozenCol(int col) const {
        return m_core.GetFrozenCols() > 0 && col <= m_core.GetFrozenCols();
    }

    GridCore m_core;
    GridTableModel* m_model;
    GridHeaderView* m_header;
    FrozenPane* m_frozen;
    bool m_highlightRow = false;
    bool m_printing = false;
    bool m_printFitToWidth = true;
    bool m_pulling = false;
    bool m_pressing = false; // a mouse press (or its delayed scroll) is making a cell current
    bool m_leaving = false;
    bool m_applying = false;
    bool m_locked = false;
    bool m_layoutDirty = false;
    QPersistentModelIndex m_pressIndex;
    std::set<int> m_hiddenRows; // as last applied
    std::function<bool(QPrinter&)> m_printerSetup;
};

} // namespace tvane
