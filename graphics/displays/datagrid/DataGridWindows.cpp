#include "graphics/displays/datagrid/DataGridWindows.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include "graphics/DisplayFamily.h"
#include "graphics/displays/gridbase/GraphGridDraw.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/grid/GridCore.h"
#include "platform/gridview/GridComboControl.h"

namespace {

// The channel list of the grid's channel column.
class ChannelListCtrl : public tvane::GridComboControl {
public:
    ChannelListCtrl(DataGridView& view, CDataGrid& grid)
        : GridComboControl(view, false), m_view(view), m_grid(grid) {}
    void Init(int row, int col) override {
        SetItems(m_grid.ChoiceTexts());
        GridComboControl::Init(row, col);
    }
    bool Store() override {
        SetModify(false);
        return true;
    }

protected:
    void SelectionEnded() override {
        const int row = Row();
        const int index = CurrentIndex();
        SetModify(false);
        // The frame rewrites the row once the list has closed.
        QPointer<DataGridView> view(&m_view);
        QTimer::singleShot(0, &m_view, [view, row, index] {
            if (view)
                view->ChooseChannel(row, index);
        });
    }

private:
    DataGridView& m_view;
    CDataGrid& m_grid;
};

// The grid's window in its frame, deleted with the holder unless its parent
// took it down first.
class GridWindow : public IDataGridWindow {
public:
    explicit GridWindow(DataGridView* view) : m_view(view) { view->show(); }
    ~GridWindow() override { delete m_view.data(); }
    void MoveWindow(const GRect& rect, bool repaint) override {
        if (!m_view)
            return;
        m_view->setGeometry(ToQRect(rect));
        if (repaint)
            m_view->ScheduleRedraw();
    }
    void Redraw() override {
        if (m_view)
            m_view->ScheduleRedraw();
    }
    void SetFocus() override {
        if (m_view)
            m_view->setFocus(Qt::TabFocusReason);
    }
    bool HasFocus() const override {
        return m_view && (m_view->hasFocus() || m_view->isAncestorOf(QApplication::focusWidget()));
    }
    GRect GetRectInFrame() const override { return m_view ? ToGRect(m_view->geometry()) : GRect{}; }
    int GetTopRow() const override { return m_view ? m_view->TopRow() : 1; }
    void FitColumn(int col, const std::vector<std::string>& texts) override {
        if (m_view)
            m_view->FitColumn(col, texts);
    }
    DataGridView* View() const { return m_view; }

private:
    QPointer<DataGridView> m_view;
};

QtDataGridWindows g_windows;
const displays::Windows<IDataGridWindows>::Registration kDataGridWindows{g_windows};

} // namespace

DataGridView::DataGridView(CDataGrid& grid, QWidget* parent) : GridView(parent), m_grid(grid) {
    m_grid.Attach(Core());
    Core().RegisterControl(CDataGrid::kChannelListId,
                           std::make_unique<ChannelListCtrl>(*this, grid));
    m_repaint.setSingleShot(true);
    // Readings change texts and colours only: the layout stays as it is.
    connect(&m_repaint, &QTimer::timeout, this, [this] { RepaintCells(); });
    ResetGrid();
}

DataGridView::~DataGridView() {
    m_grid.Detach();
}

void DataGridView::ScheduleRedraw() {
    if (!m_repaint.isActive())
        m_repaint.start(kRepaintMs);
}

void DataGridView::ChooseChannel(int row, int index) {
    m_grid.ChoiceEnded(row, index);
    ScheduleRedraw();
}

void DataGridView::FitColumn(int col, const std::vector<std::string>& texts) {
    const tvane::GridStyle* style = m_grid.CellStyle(1, col);
    if (!style)
        return;
    int needed = 0;
    for (const std::string& text : texts)
        needed = std::max(needed, CellWidthFor(QString::fromStdString(text), *style));
    // The core keeps widths unzoomed.
    needed = needed * 100 / std::max(Core().GetZoom(), 1);
    if (needed <= Core().GetColWidth(col))
        return;
    Core().SetColWidth(col, needed);
    ApplyColWidths();
}

int DataGridView::TopRow() const {
    const int row = rowAt(0);
    return row < 0 ? 1 : row + 1;
}

bool DataGridView::ProcessKey(QKeyEvent* event) {
    // Delete changes no cell of the grid.
    return event->key() == Qt::Key_Delete;
}

void DataGridView::PostToParent(QMouseEvent* event) {
    if (QWidget* parent = parentWidget())
        QCoreApplication::postEvent(parent,
                                    new QMouseEvent(event->type(), mapToParent(event->position()),
                                                    event->globalPosition(), event->button(),
                                                    event->buttons(), event->modifiers()));
}

void DataGridView::mousePressEvent(QMouseEvent* event) {
    GridView::mousePressEvent(event);
    PostToParent(event);
}

void DataGridView::mouseReleaseEvent(QMouseEvent* event) {
    GridView::mouseReleaseEvent(event);
    PostToParent(event);
}

void DataGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    GridView::mouseDoubleClickEvent(event);
    PostToParent(event);
}

std::unique_ptr<IDataGridWindow>
QtDataGridWindows::CreateGridWindow(IGraphFrameWindow& frame, CDataGrid& grid, const GRect& rect) {
    QWidget* parent = FrameClientWidget(frame);
    if (!parent)
        return nullptr;
    auto* view = new DataGridView(grid, parent);
    view->setGeometry(ToQRect(rect));
    return std::make_unique<GridWindow>(view);
}

int QtDataGridWindows::DrawGrid(IGraphDC& dc, CDataGrid& grid, const GRect& rect, int first) {
    auto* qt = dynamic_cast<QtGraphDC*>(&dc);
    if (!qt)
        return 0;
    if (tvane::GridCore* core = grid.Core())
        return DrawGridRows(qt->Painter(), *core, ToQRect(rect), first, QFont());
    // A grid without a window draws through a core of its own.
    tvane::GridCore core;
    grid.Attach(core);
    const int last = DrawGridRows(qt->Painter(), core, ToQRect(rect), first, QFont());
    grid.Detach();
    return last;
}

DataGridView* DataGridWidget(IDataGridWindow* window) {
    auto* grid = dynamic_cast<GridWindow*>(window);
    return grid ? grid->View() : nullptr;
}
