#include "platform/gridview/GridWidgetControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "platform/grid/GridCore.h"
#include "platform/gridview/GridView.h"

namespace tvane {

class GridWidgetControl::EditorFilter final : public QObject {
public:
    explicit EditorFilter(GridWidgetControl& control) : m_control(control) {}

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            return m_control.EditorKey(static_cast<QKeyEvent*>(event));
        case QEvent::ShortcutOverride: {
            // Keys that leave the cell must reach the filter, not a shortcut.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Tab ||
                key->key() == Qt::Key_Backtab)
                event->accept();
            return false;
        }
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                m_control.RightButtonDown(mouse->globalPosition().toPoint());
                return true;
            }
            return false;
        }
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
        }
    }

private:
    GridWidgetControl& m_control;
};

GridWidgetControl::GridWidgetControl(GridView& view)
    : GridCellControl(view.Core()), m_view(view), m_filter(std::make_unique<EditorFilter>(*this)) {}

GridWidgetControl::~GridWidgetControl() {
    delete m_editor;
}

void GridWidgetControl::AttachEditor(QWidget* editor) {
    m_editor = editor;
    m_editor->hide();
    m_editor->installEventFilter(m_filter.get());
    for (QWidget* child : m_editor->findChildren<QWidget*>())
        child->installEventFilter(m_filter.get());
}

void GridWidgetControl::Init(int row, int col) {
    GridCellControl::Init(row, col);
    ApplyStyle(Grid().GetStyle(row, col));
}

void GridWidgetControl::SetActive(bool active) {
    const bool was = IsActive();
    GridCellControl::SetActive(active);
    if (m_editor == nullptr)
        return;
    if (active) {
        m_view.PlaceActiveEditor(*this);
        m_editor->show();
        m_editor->setFocus();
    } else if (was) {
        // The grid takes the focus first: a focused window that hides hands the
        // focus on, and the grid would take that for a Tab.
        if (m_editor->isAncestorOf(QApplication::focusWidget()) ||
            m_editor == QApplication::focusWidget())
            m_view.setFocus();
        m_editor->hide();
    }
}

void GridWidgetControl::Place(QWidget* viewport, const QRect& rect) {
    if (m_editor == nullptr)
        return;
    if (m_editor->parentWidget() != viewport) {
        const bool visible = m_editor->isVisible();
        m_editor->setParent(viewport);
        m_editor->setVisible(visible);
    }
    m_editor->setGeometry(rect);
}

bool GridWidgetControl::KeyTyped(QKeyEvent* event) {
    if (m_editor == nullptr || event->text().isEmpty() || !event->text().at(0).isPrint())
        return false;
    if (!IsActive()) {
        SetActive(true);
        // Typing replaces the cell's text, as it does in a spreadsheet.
        SetControlText({});
    }
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
    QCoreApplication::sendEvent(m_editor->focusProxy() ? m_editor->focusProxy() : m_editor, &copy);
    return true;
}

void GridWidgetControl::Clicked(const QPoint&, const QRect&) {
    if (m_editor != nullptr)
        SetActive(true);
}

void GridWidgetControl::PaintOver(QPainter&, const QRect&, int, int, const GridStyle&,
                                  const QString&, bool) const {}

bool GridWidgetControl::EditorKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (event->modifiers() & Qt::AltModifier)
            return false;
        return m_view.EditorKey(event);
    default:
        return false;
    }
}

void GridWidgetControl::OnTextReplaced() {
    ShowText(QString::fromUtf8(GetControlText().c_str()));
}

} // namespace tvane
