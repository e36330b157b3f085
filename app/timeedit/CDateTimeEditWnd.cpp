#include "app/timeedit/CDateTimeEditWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/widgets/CQmxSpinButton.h"
#include "platform/widgets/QtText.h"

using tvane::ToQString;

CDateTimeEditWnd::CDateTimeEditWnd(QWidget* parent) : QLineEdit(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setText(ToQString(GetText()));
}

CDateTimeEditWnd::~CDateTimeEditWnd() {
    delete m_spin;
}

void CDateTimeEditWnd::Attach(bool withSpin) {
    if (withSpin && m_spin == nullptr && parentWidget() != nullptr) {
        m_spin = new tvane::CQmxSpinButton(parentWidget());
        m_spin->Create(parentWidget(), geometry(), 1);
        m_spin->SetBuddy(this);
        m_spin->SetNotifyWindow(this);
        m_spin->SetRange(0, 2000);
        m_spin->SetPos(1000);
        // The mouse release on the button ends a change made by spinning.
        connect(m_spin, &tvane::CQmxSpinButton::buttonReleased, this, [this] {
            if (m_changed && m_spinChanged)
                emit timeEditChanged();
            m_changed = m_spinChanged = false;
        });
    }
    setText(ToQString(GetText()));
    LayOutFields();
    SelectLastField();
    SelectCurrentField();
}

void CDateTimeEditWnd::TextChanged() {
    setText(ToQString(GetText()));
    LayOutFields();
    if (hasFocus())
        SelectCurrentField();
}

void CDateTimeEditWnd::SelectCurrentField() {
    if (GetFieldCount() == 0)
        return;
    const Field& field = GetField(GetCurrentField());
    setSelection(field.start, field.width);
    if (m_spin != nullptr)
        m_spin->SetPos(1000);
}

void CDateTimeEditWnd::LayOutFields() {
    const QString shown = text();
    const QFontMetrics metrics(font());
    const int margin = textMargins().left() + 2;
    for (int i = 0; i < GetFieldCount(); ++i)
        SetFieldLeft(i, i == 0 ? 0
                               : margin + metrics.horizontalAdvance(shown.left(GetField(i).start)));
}

void CDateTimeEditWnd::ClickField(int x) {
    EndEntry();
    setFocus(Qt::MouseFocusReason);
    SetCurrentField(FieldAtPixel(x));
    SelectCurrentField();
}

long CDateTimeEditWnd::OnMessage(const tvane::Message& message) {
    if (message.id != tvane::CQmxSpinButton::UpDownSpinMessage() || message.data == nullptr)
        return 0;
    const auto* spin = static_cast<const tvane::SpinNotification*>(message.data);
    if (spin->delta > 0)
        m_changed = StepUp() || m_changed;
    else if (spin->delta < 0)
        m_changed = StepDown() || m_changed;
    setFocus(Qt::OtherFocusReason);
    SelectCurrentField();
    m_spinChanged = true;
    return 1;
}

void CDateTimeEditWnd::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (event->matches(QKeySequence::SelectAll)) {
        // The whole text selected: a whole time may be typed over it.
        selectAll();
        BeginEntry();
        return;
    }
    if (IsEntering()) {
        const QString text = event->text();
        if (text.size() == 1 && text[0].isPrint() && text[0].unicode() < 0x80) {
            if (TypeChar(static_cast<char>(text[0].unicode())))
                m_changed = true;
            SelectCurrentField();
            return;
        }
        if (key != Qt::Key_Shift)
            EndEntry();
    }
    if (key == Qt::Key_Tab && !shift) {
        if (NextField())
            SelectCurrentField();
        else
            focusNextChild();
        return;
    }
    if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && shift)) {
        if (PreviousField())
            SelectCurrentField();
        else
            focusPreviousChild();
        return;
    }
    switch (key) {
    case Qt::Key_Left:
        FieldLeft();
        SelectCurrentField();
        return;
    case Qt::Key_Right:
        FieldRight();
        SelectCurrentField();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (key == Qt::Key_Up ? StepUp() : StepDown())
            m_changed = true;
        SelectCurrentField();
        return;
    default:
        break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (TypeDigit(static_cast<char>('0' + (key - Qt::Key_0))))
            m_changed = true;
        SelectCurrentField();
        return;
    }
    // Everything else belongs to the dialog; no character reaches the box.
    event->ignore();
}

void CDateTimeEditWnd::keyReleaseEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool stepKey =
        key == Qt::Key_Up || key == Qt::Key_Down || (key >= Qt::Key_0 && key <= Qt::Key_9);
    if (m_changed && stepKey && !(m_spin != nullptr && m_spin->hasFocus()))
        emit timeEditChanged();
    else
        event->ignore();
    m_changed = false;
}

void CDateTimeEditWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        ClickField(event->position().toPoint().x());
    else
        event->ignore();
}

void CDateTimeEditWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CDateTimeEditWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (m_changed && m_spinChanged)
        emit timeEditChanged();
    m_changed = m_spinChanged = false;
    event->accept();
}

void CDateTimeEditWnd::mouseMoveEvent(QMouseEvent* event) {
    // No drag selection: the selection is always one field.
    event->accept();
}

void CDateTimeEditWnd::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    EndEntry();
    LayOutFields();
    SelectCurrentField();
}

void CDateTimeEditWnd::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    LayOutFields();
}
