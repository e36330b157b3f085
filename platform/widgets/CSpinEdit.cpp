#include "platform/widgets/CSpinEdit.h"

#include <QKeyEvent>

#include "platform/widgets/CQmxSpinButton.h"
#include "platform/widgets/QtText.h"

namespace tvane {

CSpinEdit::CSpinEdit(QWidget* parent) : QLineEdit(parent) {}

CSpinEdit::~CSpinEdit() {
    delete m_spin;
}

void CSpinEdit::Attach(bool withSpin) {
    if (!withSpin || m_spin != nullptr)
        return;
    m_spin = new CQmxSpinButton(parentWidget());
    m_spin->Create(parentWidget(), geometry(), 1);
    m_spin->SetBuddy(this);
    m_spin->SetNotifyWindow(this);
    m_spin->SetRange(m_model.GetMin(), m_model.GetMax());
    m_spin->SetPos((m_model.GetMin() + m_model.GetMax()) / 2);
}

void CSpinEdit::SetRange(int minimum, int maximum) {
    m_model.SetRange(minimum, maximum);
    if (m_spin != nullptr) {
        m_spin->SetRange(minimum, maximum);
        m_spin->SetPos(m_model.GetSpinPos());
    }
}

void CSpinEdit::SetValue(int value) {
    m_model.SetValue(value);
    if (m_spin != nullptr)
        m_spin->SetPos(value);
    setText(ToQString(m_model.GetText()));
}

long CSpinEdit::OnMessage(const Message& message) {
    if (message.id != CQmxSpinButton::UpDownSpinMessage() || message.data == nullptr)
        return 0;
    SetValue(static_cast<const SpinNotification*>(message.data)->position);
    return 1;
}

void CSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        const auto stepped = m_model.StepKey(ToUtf8(text()),
                                             event->key() == Qt::Key_Up ? SpinEditModel::Step::Up
                                                                        : SpinEditModel::Step::Down,
                                             (event->modifiers() & Qt::ShiftModifier) != 0,
                                             (event->modifiers() & Qt::ControlModifier) != 0);
        if (stepped) {
            setText(ToQString(*stepped));
            selectAll();
        }
        return;
    }
    const QString typed = event->text();
    const bool isChar = !typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0) == '\b');
    if (!isChar && event->key() != Qt::Key_Backspace) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const char32_t c = event->key() == Qt::Key_Backspace ? U'\b' : typed.at(0).unicode();
    if (!SpinEditModel::AcceptsChar(c))
        return;
    const QString before = text();
    const int beforeCursor = cursorPosition();
    QLineEdit::keyPressEvent(event);
    const int start = selectionStart(), length = selectionLength(), cursor = cursorPosition();
    const auto after = m_model.AfterChar(ToUtf8(text()));
    if (!after) {
        setText(before);
        setCursorPosition(beforeCursor);
        return;
    }
    if (m_spin != nullptr)
        m_spin->SetPos(m_model.GetSpinPos());
    setText(ToQString(*after));
    if (length > 0)
        setSelection(start, length);
    else
        setCursorPosition(std::min(cursor, static_cast<int>(text().size())));
}

void CSpinEdit::focusOutEvent(QFocusEvent* event) {
    setText(ToQString(m_model.KillFocus(ToUtf8(text()))));
    if (m_spin != nullptr)
        m_spin->SetPos(m_model.GetSpinPos());
    QLineEdit::focusOutEvent(event);
}

} // namespace tvane
