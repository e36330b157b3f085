#pragma once
#include <memory>

#include <QRect>
#include <QString>

#include "platform/grid/GridCellControl.h"
#include "platform/grid/GridStyle.h"

class QKeyEvent;
class QPainter;
class QWidget;

namespace tvane {

class GridView;

// A cell control with a window: while the control is active its editor is
// placed over the current cell (in whichever part of the grid shows the cell);
// otherwise the cell is only drawn, with whatever the control adds (a list
// button, a check box). Keys that leave the cell (Tab, Enter, Escape, Up,
// Down, page keys) go from the editor to the grid, so the grid's edit protocol
// decides whether the cell may be left.
class GridWidgetControl : public GridCellControl {
public:
    explicit GridWidgetControl(GridView& view);
    ~GridWidgetControl() override;

    GridView& View() const { return m_view; }
    // The editor shown over the active cell; null for a control that is only
    // drawn.
    QWidget* Editor() const { return m_editor; }

    void Init(int row, int col) override;
    // Shows the editor over the current cell and gives it the focus, or hides
    // it and gives the focus back to the grid.
    void SetActive(bool active) override;
    // Moves the editor over the cell's rectangle in the viewport showing it.
    void Place(QWidget* viewport, const QRect& rect);

    // A key typed on the grid while the cell is current; true when the control
    // took it (it is then active and the editor has the key).
    virtual bool KeyTyped(QKeyEvent* event);
    // A click on the current cell, pos and cell in the same viewport.
    virtual void Clicked(const QPoint& pos, const QRect& cell);
    // Whether the control holds an edit of the cell not stored yet: the cell
    // is then drawn with the edited text.
    bool IsEditing(int row, int col) const { return IsModified() && row == Row() && col == Col(); }
    // What the cell shows of its value when it is drawn.
    virtual QString DisplayText(const QString& value) const { return value; }
    // Drawn over the cell after its text (current: the cell is current).
    virtual void PaintOver(QPainter& painter, const QRect& rect, int row, int col,
                           const GridStyle& style, const QString& value, bool current) const;

protected:
    // The editor of a subclass, owned by the control from here on.
    void AttachEditor(QWidget* editor);
    // A key for the editor before it handles it; true swallows it. The keys
    // that leave the cell go to the grid.
    virtual bool EditorKey(QKeyEvent* event);
    // A right button press on the editor (the global position).
    virtual void RightButtonDown(const QPoint&) {}
    // The cell's style after Init, for limits and lists.
    virtual void ApplyStyle(const GridStyle&) {}
    // Shows the text the program set.
    virtual void ShowText(const QString&) {}
    void OnTextReplaced() override;

private:
    class EditorFilter;

    GridView& m_view;
    QWidget* m_editor = nullptr;
    std::unique_ptr<EditorFilter> m_filter;
};

} // namespace tvane
