#include "setup/view/CNumericEditControl.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "platform/grid/GridCore.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupMessages.h"

bool CNumericEditControl::OnValidate() {
    return setupgrid::ValidateNumericCell(*this, m_mode, Grid().IsInteractive());
}

bool CNumericEditControl::AcceptsText(const QString& text) const {
    return setupgrid::NumericTextAllowed(m_mode, text.toUtf8().toStdString());
}

void CNumericEditControl::ApplyStyle(const tvane::GridStyle& style) {
    GridEditControl::ApplyStyle(style);
    const std::string* mode = style.UserAttribute(setupgrid::kAttrNumericMode);
    m_mode = mode ? static_cast<setupgrid::NumericMode>(std::atoi(mode->c_str()))
                  : setupgrid::NumericMode::Number;
    m_maxLength = style.maxLength.value_or(20);
}

void CNumericEditControl::SetActive(bool active) {
    GridEditControl::SetActive(active);
    if (!active || m_mode != setupgrid::NumericMode::BitPattern)
        return;
    QLineEdit* edit = LineEdit();
    int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    int end = start + static_cast<int>(edit->selectedText().size());
    setupgrid::BitPatternFocus(start, end, m_maxLength);
    edit->setSelection(start, end - start);
}

bool CNumericEditControl::EditorKey(QKeyEvent* event) {
    const QString text = event->text();
    if (m_mode != setupgrid::NumericMode::BitPattern || text.isEmpty() || !text.at(0).isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return GridEditControl::EditorKey(event);
    // Typed over: the character replaces the one after the caret.
    QLineEdit* edit = LineEdit();
    const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const int end = start + static_cast<int>(edit->selectedText().size());
    const setupgrid::BitPatternTyping typed =
        setupgrid::BitPatternKey(text.at(0).toLatin1(), start, end, m_maxLength);
    if (typed.dropped) {
        edit->setCursorPosition(typed.selStart);
        return true;
    }
    const QString before = edit->text();
    QString after = before;
    after.replace(typed.selStart, typed.selEnd - typed.selStart, QChar(typed.c));
    if (!AcceptsText(after) || after.size() > m_maxLength)
        return true;
    edit->setText(after);
    edit->setCursorPosition(typed.selStart + 1);
    TextEdited(after.toUtf8().toStdString());
    return true;
}

void CNumericEditControl::RightButtonDown(const QPoint&) {
    tvane::MessageBus::Send(m_target, {setupmsg::DispPopup(), setupmsg::kChannelMenu, 0, {}});
}
