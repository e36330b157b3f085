#pragma once
#include <QLineEdit>

#include "platform/controls/SpinEditModel.h"
#include "platform/ui/MessageBus.h"

namespace tvane {

class CQmxSpinButton;

// An integer edit box with a spin button over its right end (SpinEditModel):
// only digits can be typed, Up and Down step the number (Shift by ten, Ctrl to
// the ends), and the value follows the text when the box is left.
class CSpinEdit final : public QLineEdit, public MessageTarget {
    Q_OBJECT
public:
    explicit CSpinEdit(QWidget* parent = nullptr);
    ~CSpinEdit() override;

    // Puts a spin button (identifier 1) over the box, which it tells of its
    // steps, with the box's range and the middle of it as position.
    void Attach(bool withSpin = true);
    void SetRange(int minimum, int maximum);
    void SetValue(int value);
    int GetValue() const { return m_model.GetValue(); }
    CQmxSpinButton* SpinButton() const { return m_spin; }

    long OnMessage(const Message& message) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    SpinEditModel m_model;
    CQmxSpinButton* m_spin = nullptr;
};

} // namespace tvane
