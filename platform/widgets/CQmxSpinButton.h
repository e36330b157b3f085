#pragma once
#include <QWidget>

#include "platform/controls/SpinButtonModel.h"
#include "platform/ui/MessageBus.h"

class QTimer;

namespace tvane {

// The program's own up/down button: a narrow button split into two halves
// that step a bounded position, repeating faster while a half is held
// (SpinButtonModel). Each step is sent to the notification window as the
// registered message "QMN_UpDownSpin" (wParam the identifier, data the
// notification record); it sits over the right end of its buddy.
class CQmxSpinButton final : public QWidget {
    Q_OBJECT
public:
    explicit CQmxSpinButton(QWidget* parent = nullptr);
    ~CQmxSpinButton() override;

    static MessageId UpDownSpinMessage();

    // Places the button at the rectangle with an identifier; the parent, when
    // it takes messages, becomes the notification window.
    bool Create(QWidget* parent, const QRect& rect, int identifier);
    // Places the button over the buddy's right end, the buddy narrowed so the
    // two overlap by 2 pixels; false without a buddy.
    bool SetBuddy(QWidget* buddy);
    QWidget* Buddy() const { return m_buddy; }
    MessageTarget* SetNotifyWindow(MessageTarget* target);

    void SetRange(int minimum, int maximum) { m_model.SetRange(minimum, maximum); }
    void SetPos(int position) { m_model.SetPos(position); }
    int GetPos() const { return m_model.GetPos(); }
    const SpinButtonModel& Model() const { return m_model; }
    // A repeat tick, as the timer gives it.
    void RepeatTick();

signals:
    // The button-up of a press, for the notification window.
    void buttonReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Notify(const std::optional<SpinNotification>& step);
    void EndPress();
    bool InUpperHalf(const QPoint& pos) const { return pos.y() <= height() / 2; }

    SpinButtonModel m_model;
    QWidget* m_buddy = nullptr;
    MessageTarget* m_notify = nullptr;
    QTimer* m_timer;
};

} // namespace tvane
