#pragma once
#include <QLineEdit>

#include "app/CDateTimeEdit.h"
#include "platform/ui/MessageBus.h"

namespace tvane {
class CQmxSpinButton;
}

// The date and time edit as a window: a line edit whose text is the control's
// fields. One field is selected at a time; Up, Down and the spin button step
// it, digits roll into it, Left and Right move round the fields and Tab leaves
// at the ends; after Select All a whole time may be typed field by field.
// Typed text never reaches the box. A finished change of the user is told by
// timeEditChanged.
class CDateTimeEditWnd : public QLineEdit, public CDateTimeEdit, public tvane::MessageTarget {
    Q_OBJECT
public:
    explicit CDateTimeEditWnd(QWidget* parent = nullptr);
    ~CDateTimeEditWnd() override;

    // Shows the text, puts a spin button over the box's right end (when asked)
    // and makes the last field current.
    void Attach(bool withSpin = true);
    tvane::CQmxSpinButton* SpinButton() const { return m_spin; }
    // Selects the current field in the box.
    void SelectCurrentField();

    long OnMessage(const tvane::Message& message) override;

signals:
    void timeEditChanged();

protected:
    void TextChanged() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOutFields();
    void ClickField(int x);

    tvane::CQmxSpinButton* m_spin = nullptr;
    bool m_changed = false;
    bool m_spinChanged = false;
};
