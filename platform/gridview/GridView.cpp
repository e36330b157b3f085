#include "platform/gridview/GridView.h"

#include <utility>

#include <QCoreApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>

#include "platform/gridview/GridCellDelegate.h"
#include "platform/gridview/GridEditControl.h"
#include "platform/gridview/GridFindDialog.h"
#include "platform/gridview/GridHeaderView.h"
#include "platform/gridview/GridPrinter.h"
#include "platform/gridview/GridTableModel.h"
#include "platform/printview/PrintPreview.h"
#include "platform/printview/QtPrintSettings.h"
#include "platform/ui/Prompter.h"

namespace tvane {

// The frozen columns shown again over the left of the cells. It takes no focus;
// its mouse presses go through the same edit protocol as the grid's own.
class GridView::FrozenPane final : public QTableView {
public:
    explicit FrozenPane(GridView& owner) : QTableView(&owner), m_owner(owner) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (!m_owner.Press(*this, event))
            return;
        const bool pressing = std::exchange(m_owner.m_pressing, true);
        QTableView::mousePressEvent(event);
        m_owner.m_pressing = pressing;
        m_owner.AfterPress(*this, event);
    }
    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        if (!m_owner.m_pressing)
            QTableView::scrollTo(index, hint);
    }
    void timerEvent(QTimerEvent* event) override {
        const bool pressing = std::exchange(m_owner.m_pressing, true);
        QTableView::timerEvent(event);
        m_owner.m_pressing = pressing;
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QTableView::mouseReleaseEvent(event);
        m_owner.Release(*this, event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTableView::mouseDoubleClickEvent(event);
        m_owner.DoubleClick(*this, event);
    }
    void wheelEvent(QWheelEvent* event) override {
        QCoreApplication::sendEvent(m_owner.viewport(), event);
    }
    void contextMenuEvent(QContextMenuEvent* event) override { event->accept(); }

private:
    GridView& m_owner;
};

GridView::GridView(QWidget* parent)
    : QTableView(parent), m_model(new GridTableModel(m_core, this)),
      m_header(new GridHeaderView(m_core, *m_model, this)), m_frozen(new FrozenPane(*this)) {
    m_model->SetFontResolver([this](const GridFont* font) {
        GridStyle style;
        if (font)
            style.font = *font;
        return CellFont(style);
    });
    setModel(m_model);
    setHorizontalHeader(m_header);
    auto* delegate = new GridCellDelegate(*this);
    setItemDelegate(delegate);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);

    m_frozen->setModel(m_model);
    m_frozen->setSelectionModel(selectionModel());
    m_frozen->setItemDelegate(delegate);
    m_frozen->setHorizontalHeader(new GridHeaderView(m_core, *m_model, m_frozen));
    m_frozen->verticalHeader()->hide();
    m_frozen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->setWordWrap(false);
    m_frozen->hide();
    viewport()->stackUnder(m_frozen);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_header, &QHeaderView::sectionResized, this,
            [this](int col, int, int size) { ColumnResized(col, size); });
    connect(m_frozen->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int col, int, int size) { ColumnResized(col, size); });
    for (QHeaderView* header : {static_cast<QHeaderView*>(m_header), m_frozen->horizontalHeader()})
        connect(header, &QHeaderView::sectionDoubleClicked, this, [this, header](int col) {
            int row = 0, hitCol = col;
            static_cast<GridHeaderView*>(header)->HitTest(header->mapFromGlobal(QCursor::pos()),
                                                          row, hitCol);
            emit cellDoubleClicked(row, col);
        });

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { PullState(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { PullState(); });
    m_core.SetCurrentCellChanged(
        [this](int oldRow, int oldCol) { OnCoreCurrentChanged(oldRow, oldCol); });
    m_core.SetLayoutChanged([this] { ApplyLayout(); });
    m_core.SetCellsChanged([this](const GridRange& range) { RedrawRange(range); });
    m_core.RegisterControl(gridcontrol::kEdit, std::make_unique<GridEditControl>(*this));
}

GridView::~GridView() {
    m_core.SetCurrentCellChanged({});
    m_core.SetLayoutChanged({});
    m_core.SetCellsChanged({});
}

QTableView* GridView::FrozenPart() const {
    return m_frozen->isVisible() || m_core.GetFrozenCols() > 0 ? m_frozen : nullptr;
}

void GridView::PullState() {
    if (m_pulling)
        return;
    m_pulling = true;
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid())
        m_core.SetCurrentCell(m_model->GridRow(current.row()), current.column());
    else
        m_core.ResetCurrentCell();
    GridRangeList ranges;
    for (const QItemSelectionRange& r : selectionModel()->selection()) {
        const int top = m_model->GridRow(r.top()), bottom = m_model->GridRow(r.bottom());
        // A range that takes in the row header column stands for whole rows.
        if (r.left() == 0)
            ranges.push_back(GridRange::Rows(top, bottom));
        else
            ranges.push_back(GridRange::Cells(top, r.left(), bottom, r.right()));
    }
    m_core.SetSelection(std::move(ranges));
    m_pulling = false;
}

void GridView::OnCoreCurrentChanged(int oldRow, int oldCol) {
    int row = 0, col = 0;
    m_core.GetCurrentCell(row, col);
    if (!m_pulling) {
        // The core was moved directly: the window follows.
        m_pulling = true;
        const QModelIndex index =
            m_core.IsDataRow(row) ? m_model->index(m_model->ModelRow(row), col) : QModelIndex();
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        m_pulling = false;
    }
    // The old row loses its highlight, the new one gains it.
    viewport()->update();
    m_frozen->viewport()->update();
    emit currentCellChanged(row, col, oldRow, oldCol);
}

void GridView::Redraw() {
    m_model->SyncRowCount();
    PullState();
    ApplyLayout();
    viewport()->update();
    m_frozen->viewport()->update();
}

void GridView::RepaintCells() {
    m_model->SyncRowCount();
    horizontalHeader()->viewport()->update();
    viewport()->update();
    m_frozen->viewport()->update();
}

void GridView::ResetGrid() {
    m_model->Reset();
    m_hiddenRows.clear();
    ApplyLayout();
    PullState();
    viewport()->update();
    m_frozen->viewport()->update();
}

void GridView::RedrawRange(const GridRange& range) {
    if (m_locked)
        return;
    if (range.top < m_core.GetFirstDataRow()) {
        m_header->viewport()->update();
        m_frozen->horizontalHeader()->viewport()->update();
    }
    const int right = range.wholeRows ? m_core.GetColCount() : range.right;
    m_model->CellsChanged(range.top, range.wholeRows ? 0 : range.left, range.bottom, right);
}

void GridView::SetCurrentCell(int row, int col) {
    if (!m_core.IsDataRow(row)) {
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        PullState();
        return;
    }
    selectionModel()->setCurrentIndex(m_model->index(m_model->ModelRow(row), col),
                                      QItemSelectionModel::NoUpdate);
    PullState();
}

bool GridView::MoveCurrentCell(int row, int col) {
    const QModelIndex index =
        m_core.IsDataRow(row) ? m_model->index(m_model->ModelRow(row), col) : QModelIndex();
    if (!LeaveFor(index))
        return false;
    SetCurrentCell(row, col);
    return true;
}

bool GridView::CommitCurrentCell() {
    if (m_core.StoreCurrentCell())
        return true;
    ShowWarning(m_core.GetWarningText());
    return false;
}

bool GridView::LeaveFor(const QModelIndex& index) {
    if (m_leaving)
        return false;
    int row = 0, col = 0;
    m_core.GetCurrentCell(row, col);
    if (index.isValid() && m_model->GridRow(index.row()) == row && index.column() == col)
        return true;
    if (m_core.StoreCurrentCell())
        return true;
    m_leaving = true;
    ShowWarning(m_core.GetWarningText());
    m_leaving = false;
    if (GridWidgetControl* control = CurrentWidgetControl())
        control->SetActive(true);
    return false;
}

void GridView::ShowWarning(const std::string& text) {
    ShowMessage(text, MsgButtons::Ok, MsgIcon::Warning);
}

GridWidgetControl* GridView::CurrentWidgetControl() const {
    return dynamic_cast<GridWidgetControl*>(m_core.GetCurrentCellControl());
}

bool GridView::ActivateCurrentCell() {
    int row = 0, col = 0;
    GridWidgetControl* control = CurrentWidgetControl();
    if (control == nullptr || !m_core.GetCurrentCell(row, col) || !m_core.IsCellEditable(row, col))
        return false;
    control->SetActive(true);
    return true;
}

QWidget* GridView::CellViewport(int row, int col, QRect& rect) const {
    if (!m_core.IsDataRow(row))
        return nullptr;
    const QModelIndex index = m_model->index(m_model->ModelRow(row), col);
    QTableView* part =
        IsFrozenCol(col) ? static_cast<QTableView*>(m_frozen) : const_cast<GridView*>(this);
    rect = part->visualRect(index);
    return rect.isValid() ? part->viewport() : nullptr;
}

void GridView::PlaceActiveEditor(GridWidgetControl& control) {
    QRect rect;
    if (QWidget* viewport = CellViewport(control.Row(), control.Col(), rect))
        control.Place(viewport, rect);
}

bool GridView::EditorKey(QKeyEvent* event) {
    GridWidgetControl* control = CurrentWidgetControl();
    if (event->key() == Qt::Key_Escape) {
        if (control != nullptr) {
            control->Discard();
            control->SetActive(false);
        }
        viewport()->update();
        m_frozen->viewport()->update();
        return true;
    }
    if (ProcessKey(event))
        return true;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (CommitCurrentCell() && control != nullptr)
            control->SetActive(false);
        return true;
    }
    QTableView::keyPressEvent(event);
    // Handled here, whatever the table made of it: the key must not travel on
    // from the editor to the grid a second time.
    event->accept();
    return true;
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (ProcessKey(event))
        return;
    if (event->key() == Qt::Key_F2 && ActivateCurrentCell())
        return;
    int row = 0, col = 0;
    GridWidgetControl* control = CurrentWidgetControl();
    if (control != nullptr && m_core.GetCurrentCell(row, col) && m_core.IsCellEditable(row, col) &&
        event->modifiers() == Qt::NoModifier && control->KeyTyped(event))
        return;
    QTableView::keyPressEvent(event);
}

QModelIndex GridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableView::moveCursor(cursorAction, modifiers);
    if (target.isValid() && target != currentIndex() && !LeaveFor(target))
        return currentIndex();
    return target;
}

int GridView::FrozenWidth() const {
    if (m_core.GetFrozenCols() <= 0)
        return 0;
    int width = 0;
    for (int col = 0; col <= std::min(m_core.GetFrozenCols(), m_core.GetColCount()); ++col)
        if (!isColumnHidden(col))
            width += columnWidth(col);
    return width;
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    // A click never scrolls the cell it is on: the second click of a double
    // click lands where the first did.
    if (!index.isValid() || m_pressing)
        return;
    if (IsFrozenCol(index.column())) {
        // Only up and down: the frozen columns are always in sight.
        const int x = horizontalScrollBar()->value();
        QTableView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(x);
        return;
    }
    QTableView::scrollTo(index, hint);
    // A cell that slid under the frozen part comes out again.
    const int frozen = FrozenWidth();
    const QRect rect = visualRect(index);
    if (frozen > 0 && rect.left() < frozen)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + rect.left() - frozen);
}

void GridView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    if (GridWidgetControl* control = CurrentWidgetControl(); control && control->IsActive())
        PlaceActiveEditor(*control);
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    UpdateFrozenGeometry();
}

void GridView::UpdateFrozenGeometry() {
    const bool frozen = m_core.GetFrozenCols() > 0;
    m_frozen->setVisible(frozen);
    if (!frozen)
        return;
    m_frozen->setGeometry(frameWidth(), frameWidth(), FrozenWidth(),
                          viewport()->height() + horizontalHeader()->height());
}

void GridView::ColumnResized(int col, int size) {
    if (m_applying || col < 0 || col > m_core.GetColCount())
        return;
    // The user dragged a column edge: the core keeps the width unzoomed.
    m_core.SetColWidth(col, size * 100 / m_core.GetZoom());
}

int GridView::CellWidthFor(const QString& text, const GridStyle& style) const {
    const int margin = this->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return QFontMetrics(CellFont(style)).horizontalAdvance(text) + 2 * margin + 1;
}

QFont GridView::CellFont(const GridStyle& style) const {
    QFont font = this->font();
    if (style.font) {
        const QString family = QString::fromUtf8(style.font->face.c_str());
        if (!family.isEmpty() && QFontDatabase::hasFamily(family))
            font.setFamily(family);
        if (style.font->points > 0)
            font.setPointSizeF(style.font->points);
        font.setBold(style.font->bold);
    }
    if (m_core.GetZoom() != 100 && font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * m_core.GetZoom() / 100);
    return font;
}

bool GridView::LockUpdate(bool lock) {
    const bool was = m_locked;
    m_locked = lock;
    viewport()->setUpdatesEnabled(!lock);
    m_frozen->viewport()->setUpdatesEnabled(!lock);
    if (!lock && m_layoutDirty)
        ApplyLayout();
    if (!lock) {
        viewport()->update();
        m_frozen->viewport()->update();
    }
    return was;
}

void GridView::FitHeaderTexts() {
    // Widths are set in pixels of a font the window may not have: a header's
    // text is measured in the font it is drawn in, and its column (for a
    // covered header, the last shown column under it) widened to take it.
    const int cols = m_core.GetColCount();
    for (int row = 0; row < m_core.GetHeaderRowCount(); ++row) {
        for (int col = 0; col <= cols; ++col) {
            GridRange span = GridRange::Cells(row, col, row, col);
            m_core.GetCoveredRange(row, col, span);
            if (span.top != row || span.left != col)
                continue;
            const GridStyle style = m_core.GetStyle(span.top, span.left);
            const std::string text = style.Value();
            if (text.empty())
                continue;
            int shown = 0, last = -1;
            for (int c = span.left; c <= std::min(span.right, cols); ++c)
                if (!isColumnHidden(c)) {
                    shown += columnWidth(c);
                    last = c;
                }
            const int needed = QFontMetrics(m_model->FontOf(style))
                                   .horizontalAdvance(QString::fromUtf8(text.c_str())) +
                               2 * GridHeaderView::kTextMargin;
            if (last >= 0 && shown < needed) {
                setColumnWidth(last, columnWidth(last) + needed - shown);
                m_frozen->setColumnWidth(last, columnWidth(last));
            }
        }
    }
}

void GridView::ApplyLayout() {
    if (m_locked) {
        m_layoutDirty = true;
        return;
    }
    if (m_applying)
        return;
    m_applying = true;
    m_layoutDirty = false;
    const int zoom = m_core.GetZoom();
    const int cols = m_core.GetColCount();
    const int frozenCols = m_core.GetFrozenCols();
    int lastVisible = -1;
    for (int col = 0; col <= cols; ++col) {
        const bool hidden = m_core.IsColHidden(col);
        setColumnHidden(col, hidden);
        m_frozen->setColumnHidden(col, hidden || frozenCols <= 0 || col > frozenCols);
        const int width = m_core.GetColWidth(col) * zoom / 100;
        setColumnWidth(col, width);
        m_frozen->setColumnWidth(col, width);
        if (!hidden)
            lastVisible = col;
    }
    FitHeaderTexts();
    if (lastVisible >= 0) {
        // The last column also takes whatever the window has to spare.
        int used = 0;
        for (int col = 0; col < lastVisible; ++col)
            if (!isColumnHidden(col))
                used += columnWidth(col);
        const int spare = viewport()->width() - used - 1;
        if (spare > columnWidth(lastVisible)) {
            setColumnWidth(lastVisible, spare);
            m_frozen->setColumnWidth(lastVisible, spare);
        }
    }

    // Rows: heights, then hidden rows by difference with the last ones hidden.
    const int defaultHeight = m_core.GetRowHeight(m_core.GetLastRow() + 1);
    if (defaultHeight > 0) {
        verticalHeader()->setDefaultSectionSize(defaultHeight * zoom / 100);
        m_frozen->verticalHeader()->setDefaultSectionSize(defaultHeight * zoom / 100);
    }
    for (int row = m_core.GetFirstDataRow(); row <= m_core.GetLastRow(); ++row) {
        const int height = m_core.GetRowHeight(row);
        if (height > 0 && height != defaultHeight) {
            setRowHeight(m_model->ModelRow(row), height * zoom / 100);
            m_frozen->setRowHeight(m_model->ModelRow(row), height * zoom / 100);
        }
    }
    std::set<int> hidden;
    for (int row : m_core.GetParam().hiddenRows)
        if (m_core.IsDataRow(row))
            hidden.insert(row);
    for (int row : m_hiddenRows)
        if (!hidden.count(row) && m_core.IsDataRow(row)) {
            setRowHidden(m_model->ModelRow(row), false);
            m_frozen->setRowHidden(m_model->ModelRow(row), false);
        }
    for (int row : hidden) {
        setRowHidden(m_model->ModelRow(row), true);
        m_frozen->setRowHidden(m_model->ModelRow(row), true);
    }
    m_hiddenRows = std::move(hidden);

    m_header->setMinimumHeight(m_header->sizeHint().height());
    m_frozen->horizontalHeader()->setMinimumHeight(m_header->sizeHint().height());
    updateGeometries();
    m_frozen->updateGeometry();
    m_applying = false;
    if (GridWidgetControl* control = CurrentWidgetControl(); control && control->IsActive())
        PlaceActiveEditor(*control);
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    ApplyLayout();
}

bool GridView::Press(QAbstractItemView& part, QMouseEvent* event) {
    m_pressIndex = QPersistentModelIndex();
    if (!AcceptsPress(event))
        return false;
    const QModelIndex index = part.indexAt(event->position().toPoint());
    if (index.isValid() && index != currentIndex() && !LeaveFor(index))
        return false;
    if (event->button() == Qt::LeftButton)
        m_pressIndex = index;
    return true;
}

void GridView::AfterPress(QAbstractItemView& part, QMouseEvent* event) {
    const QModelIndex index = part.indexAt(event->position().toPoint());
    // A press on the row header selects the whole row.
    if (event->button() == Qt::LeftButton && index.isValid() && index.column() == 0) {
        selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        PullState();
    }
    if (event->button() == Qt::RightButton)
        RightButtonPressed(index.isValid() ? m_model->GridRow(index.row()) : -1,
                           index.isValid() ? index.column() : -1,
                           event->globalPosition().toPoint());
}

void GridView::Release(QAbstractItemView& part, QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = part.indexAt(pos);
    if (event->button() != Qt::LeftButton || !m_pressIndex.isValid() || index != m_pressIndex ||
        index != currentIndex() || event->modifiers() != Qt::NoModifier)
        return;
    const int row = m_model->GridRow(index.row());
    GridWidgetControl* control = CurrentWidgetControl();
    if (control != nullptr && m_core.IsCellEditable(row, index.column()))
        control->Clicked(pos, part.visualRect(index));
}

void GridView::DoubleClick(QAbstractItemView& part, QMouseEvent* event) {
    const QModelIndex index = part.indexAt(event->position().toPoint());
    emit cellDoubleClicked(index.isValid() ? m_model->GridRow(index.row()) : -1,
                           index.isValid() ? index.column() : -1);
}

void GridView::mousePressEvent(QMouseEvent* event) {
    if (!Press(*this, event))
        return;
    const bool pressing = std::exchange(m_pressing, true);
    QTableView::mousePressEvent(event);
    m_pressing = pressing;
    AfterPress(*this, event);
}

void GridView::timerEvent(QTimerEvent* event) {
    // The item view scrolls a pressed cell into sight on a timer after the
    // press; that scroll is the click's too.
    const bool pressing = std::exchange(m_pressing, true);
    QTableView::timerEvent(event);
    m_pressing = pressing;
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    Release(*this, event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    DoubleClick(*this, event);
}

void GridView::ScrollToCell(int row, int col) {
    if (m_core.IsDataRow(row))
        scrollTo(m_model->index(m_model->ModelRow(row), col));
}

void GridView::SelectRange(const GridRange& range, bool add) {
    const int top = std::max(m_model->ModelRow(range.top), 0);
    const int bottom = std::min(m_model->ModelRow(range.bottom), m_model->rowCount() - 1);
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
    row = m_model->GridRow(index.row());
    col = index.column();
    return true;
}

bool GridView::HitTestWindow(const QPoint& pos, int& row, int& col) const {
    const bool frozen = m_frozen->isVisible() && m_frozen->geometry().contains(pos);
    const QTableView* part = frozen ? static_cast<const QTableView*>(m_frozen) : this;
    const auto* header = static_cast<const GridHeaderView*>(part->horizontalHeader());
    const QPoint inHeader = header->mapFrom(this, pos);
    if (header->rect().contains(inHeader))
        return header->HitTest(inHeader, row, col);
    const QModelIndex index = part->indexAt(part->viewport()->mapFrom(this, pos));
    if (!index.isValid())
        return false;
    row = m_model->GridRow(index.row());
    col = index.column();
    return true;
}

int GridView::PrintTo(QPagedPaintDevice& device) {
    GridPrintOptions options;
    options.screenDpi = logicalDpiX();
    options.fitToWidth = m_printFitToWidth;
    options.font = [this](const GridStyle& style) { return CellFont(style); };
    options.displayText = [this](int, int, const GridStyle& style, const QString& value) {
        const auto* control =
            dynamic_cast<const GridWidgetControl*>(m_core.GetRegisteredControl(style.ControlId()));
        return control ? control->DisplayText(value) : value;
    };
    options.paintOver = [this](QPainter& painter, const QRect& rect, int row, int col,
                               const GridStyle& style, const QString& value) {
        const auto* control =
            dynamic_cast<const GridWidgetControl*>(m_core.GetRegisteredControl(style.ControlId()));
        if (control)
            control->PaintOver(painter, rect, row, col, style, value, false);
    };
    m_printing = true;
    const int pages = PrintGrid(m_core, device, font(), options);
    m_printing = false;
    return pages;
}

bool GridView::Print() {
    if (m_core.GetRowCount() == 0)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    tvane::ApplyPrintSettings(printer);
    const bool chosen = m_printerSetup ? m_printerSetup(printer) : [&] {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    }();
    if (!chosen)
        return false;
    return PrintPages(printer) > 0;
}

bool GridView::PrintPreview() {
    if (m_core.GetRowCount() == 0)
        return false;
    tvane::ShowPrintPreview(this, QPrinter::HighResolution,
                            [this](QPrinter& printer) { PrintPages(printer); });
    return true;
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
