#include "setup/view/CFXComboEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "setup/CellControlRules.h"

CFXComboEdit::CFXComboEdit(QLineEdit& edit) : QObject(&edit), m_edit(edit) {
    edit.installEventFilter(this);
}

bool CFXComboEdit::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (key->key() == Qt::Key_Backspace || text.isEmpty() || !text.at(0).isPrint())
        return false;
    const int caret = m_edit.hasSelectedText() ? m_edit.selectionStart() : m_edit.cursorPosition();
    return !setupgrid::UnitsLabelAccepts(text.at(0).unicode(), m_edit.text().isEmpty(), caret);
}
