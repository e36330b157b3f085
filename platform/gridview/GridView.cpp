#include "platform/gridview/GridView.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyledItemDelegate>

#include "platform/gridview/GridFindDialog.h"
#include "platform/gridview/GridPrinter.h"
#include "platform/gridview/GridTableModel.h"
#include "platform/ui/Prompter.h"

namespace tvane {

namespace {

// Draws the current cell's row highlighted on screen.
class GridCellDelegate final : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(GridView& view) : QStyledItemDelegate(&view), m_view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        int row = 0, col = 0;
        const bool inRow = m_view.HighlightsCurrentRow() && !m_view.IsPrinting() &&
                           m_view.Core().GetCurrentCell(row, col) && index.row() + 1 == row &&
                           index.column() > 0;
        if (!inRow) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QPalette& palette = option.palette;
        if (index.column() == col) {
            QStyledItemDelegate::paint(painter, option, index);
            painter->save();
            painter->setPen(QPen(palette.color(QPalette::Highlight), 2));
            painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
            painter->restore();
            return;
        }
        painter->fillRect(option.rect, palette.brush(QPalette::Highlight));
        QStyleOptionViewItem highlighted(option);
        highlighted.state &= ~QStyle::State_Selected;
        highlighted.palette.setColor(QPalette::Text, palette.color(QPalette::HighlightedText));
        QStyledItemDelegate::paint(painter, highlighted, index);
    }

private:
    GridView& m_view;
};

} // namespace

GridView::GridView(QWidget* parent)
    : QTableView(parent), m_model(new GridTableModel(m_core, this)) {
    setModel(m_model);
    setItemDelegate(new GridCellDelegate(*this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { PullState(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { PullState(); });
    m_core.SetCurrentCellChanged([this](int oldRow, int oldCol) {
        int row = 0, col = 0;
        m_core.GetCurrentCell(row, col);
        // The old row loses its highlight, the new one gains it.
        viewport()->update();
        emit currentCellChanged(row, col, oldRow, oldCol);
    });
}

GridView::~GridView() {
    m_core.SetCurrentCellChanged({});
}

void GridView::PullState() {
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid())
        m_core.SetCurrentCell(current.row() + 1, current.column());
    else
        m_core.ResetCurrentCell();
    GridRangeList ranges;
    for (const QItemSelectionRange& r : selectionModel()->selection()) {
        // A range that takes in the row header column stands for whole rows.
        if (r.left() == 0)
            ranges.push_back(GridRange::Rows(r.top() + 1, r.bottom() + 1));
        else
            ranges.push_back(GridRange::Cells(r.top() + 1, r.left(), r.bottom() + 1, r.right()));
    }
    m_core.SetSelection(std::move(ranges));
}

void GridView::Redraw() {
    m_model->SyncRowCount();
    PullState();
    viewport()->update();
}

void GridView::ResetGrid() {
    m_model->Reset();
    ApplyColWidths();
    PullState();
    viewport()->update();
}

void GridView::SetCurrentCell(int row, int col) {
    if (row <= 0 || row > m_model->rowCount()) {
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        PullState();
        return;
    }
    selectionModel()->setCurrentIndex(m_model->index(row - 1, col), QItemSelectionModel::NoUpdate);
    PullState();
}

void GridView::ScrollToCell(int row, int col) {
    if (row >= 1 && row <= m_model->rowCount())
        scrollTo(m_model->index(row - 1, col));
}

void GridView::SelectRange(const GridRange& range, bool add) {
    const int top = std::max(range.top, 1) - 1;
    const int bottom = std::min(range.bottom, m_model->rowCount()) - 1;
    if (bottom < top)
        return;
    const int left = range.wholeRows ? 0 : range.left;
    const int right = range.wholeRows ? m_model->columnCount() - 1 : range.right;
    const QItemSelection selection(m_model->index(top, left), m_model->index(bottom, right));
    selectionModel()->select(selection, add ? QItemSelectionModel::Select
                                            : QItemSelectionModel::ClearAndSelect);
    PullState();
}

void GridView::ClearGridSelection() {
    selectionModel()->clearSelection();
    PullState();
}

bool GridView::HitTest(const QPoint& pos, int& row, int& col) const {
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return false;
    row = index.row() + 1;
    col = index.column();
    return true;
}

void GridView::ApplyColWidths() {
    const int cols = m_core.GetColCount();
    int used = 0;
    for (int col = 0; col < cols; ++col) {
        setColumnWidth(col, m_core.GetColWidth(col));
        used += m_core.GetColWidth(col);
    }
    const int spare = viewport()->width() - used;
    setColumnWidth(cols, std::max(m_core.GetColWidth(cols), spare));
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    ApplyColWidths();
}

void GridView::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    // A press on the row header selects the whole row.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index.column() == 0) {
        selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        PullState();
    }
}

bool GridView::Print() {
    if (m_core.GetRowCount() == 0)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    const bool chosen = m_printerSetup ? m_printerSetup(printer) : [&] {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    }();
    if (!chosen)
        return false;
    m_printing = true;
    const int pages = PrintGrid(m_core, printer, font(), logicalDpiX());
    m_printing = false;
    return pages > 0;
}

GridFindDialog* GridView::OpenFindDialog(const QString& text) {
    auto* dialog = new GridFindDialog(text, this);
    dialog->setWindowFlag(Qt::Dialog);
    connect(dialog, &GridFindDialog::findNext, this,
            [this](const GridCore::FindOptions& options) { FindNext(options); });
    dialog->show();
    return dialog;
}

bool GridView::FindNext(const GridCore::FindOptions& options) {
    const int row = m_core.FindNext(options);
    if (row < 0) {
        Prompter().Beep(MsgIcon::Information);
        return false;
    }
    int current = 0, col = 1;
    m_core.GetCurrentCell(current, col);
    SetCurrentCell(row, col > 0 ? col : 1);
    ScrollToCell(row, col > 0 ? col : 1);
    return true;
}

} // namespace tvane
