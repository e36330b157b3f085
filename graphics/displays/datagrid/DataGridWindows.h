#pragma once
#include <QTimer>

#include "graphics/displays/datagrid/CGridFrame.h"
#include "platform/gridview/GridView.h"

// The data grid's window: the grid view over the grid's rows with the channel
// list in the channel column; Delete changes nothing, and the mouse clicks
// also reach the frame. Repaints asked for by new readings are gathered and
// made at most 25 times a second.
class DataGridView : public tvane::GridView {
    Q_OBJECT
public:
    static constexpr int kRepaintMs = 40;

    DataGridView(CDataGrid& grid, QWidget* parent = nullptr);
    ~DataGridView() override;

    CDataGrid& Grid() const { return m_grid; }
    // Asks for a repaint; one follows within kRepaintMs, whatever the number of asks.
    void ScheduleRedraw();
    bool IsRedrawPending() const { return m_repaint.isActive(); }
    // The list of the row's channel cell closed on item index.
    void ChooseChannel(int row, int index);
    // The first data row shown.
    int TopRow() const;
    // Widens the column to show every text whole in its cells' font.
    void FitColumn(int col, const std::vector<std::string>& texts);

protected:
    bool ProcessKey(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PostToParent(QMouseEvent* event);

    CDataGrid& m_grid;
    QTimer m_repaint;
};

// The program's data grid windows, made in the frame's client area.
class QtDataGridWindows : public IDataGridWindows {
public:
    std::unique_ptr<IDataGridWindow> CreateGridWindow(IGraphFrameWindow& frame, CDataGrid& grid,
                                                      const GRect& rect) override;
    int DrawGrid(IGraphDC& dc, CDataGrid& grid, const GRect& rect, int first) override;
};

// The view a grid window shows (tests reach it through this).
DataGridView* DataGridWidget(IDataGridWindow* window);
