#include "platform/widgets/CNumericEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/widgets/QtText.h"

namespace tvane {

CNumericEdit::CNumericEdit(QWidget* parent) : QLineEdit(parent) {
    setText(ToQString(m_model.GetText()));
}

void CNumericEdit::Setup(int mode, const std::string& text) {
    m_model.Setup(mode, text);
    setText(ToQString(text));
    if (!m_model.IsPatternMode())
        return;
    // Each position starts where the caret stands before it.
    const QFontMetrics metrics(font());
    const int left = textMargins().left() + contentsMargins().left() + 2;
    for (int i = 0; i < NumericEditModel::kPatternLength; ++i)
        m_cells[static_cast<std::size_t>(i)] =
            i == 0 ? 0 : left + metrics.horizontalAdvance(this->text().left(i));
    SelectPosition();
}

void CNumericEdit::SetText(const std::string& text) {
    m_model.SetText(text);
    setText(ToQString(text));
}

void CNumericEdit::SelectPosition() {
    setSelection(m_model.GetPosition(), 1);
}

void CNumericEdit::keyPressEvent(QKeyEvent* event) {
    if (m_model.IsPatternMode()) {
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
            event->key() == Qt::Key_Left ? m_model.KeyLeft() : m_model.KeyRight();
            SelectPosition();
            return;
        }
        if (!event->text().isEmpty() && m_model.Char(event->text().at(0).unicode()) ==
                                            NumericEditModel::CharResult::Overwritten) {
            setText(ToQString(m_model.GetText()));
            SelectPosition();
        }
        return;
    }
    const QString typed = event->text();
    const bool isChar = !typed.isEmpty() && typed.at(0).isPrint();
    if (isChar && m_model.Char(typed.at(0).unicode()) == NumericEditModel::CharResult::Dropped)
        return;
    if (event->key() == Qt::Key_Backspace && m_model.GetMode() != NumericEditModel::kWhole &&
        m_model.Char(U'\b') == NumericEditModel::CharResult::Dropped)
        return;
    QLineEdit::keyPressEvent(event);
}

void CNumericEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (parentWidget() != nullptr) {
            QMouseEvent forwarded(event->type(), mapToParent(event->position()),
                                  event->globalPosition(), event->button(), event->buttons(),
                                  event->modifiers());
            QApplication::sendEvent(parentWidget(), &forwarded);
        }
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (!m_model.IsPatternMode()) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    const int x = static_cast<int>(event->position().x());
    int position = 0;
    for (int i = 0; i < NumericEditModel::kPatternLength; ++i)
        if (x >= m_cells[static_cast<std::size_t>(i)])
            position = i;
    m_model.SetPosition(position);
    SelectPosition();
}

} // namespace tvane
