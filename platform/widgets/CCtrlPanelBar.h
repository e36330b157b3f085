#pragma once
#include <optional>

#include <QEvent>
#include <QWidget>

// A display frame's control panel: a borderless bar whose child controls make
// up the panel. When it is created with an initial value each child gets that
// value in a CtrlPanelInitEvent; key presses and mouse button presses on the
// bar itself go on to the window that holds it, as if made there.
class CCtrlPanelBar : public QWidget {
public:
    explicit CCtrlPanelBar(QWidget* parent = nullptr);

    // Creates the bar in its parent; with an initial value, tells the children.
    bool Create(QWidget* parent, std::optional<int> initialValue = std::nullopt);
    std::optional<int> InitialValue() const { return m_initialValue; }

    // The event every child gets with the bar's initial value.
    class CtrlPanelInitEvent : public QEvent {
    public:
        explicit CtrlPanelInitEvent(int value) : QEvent(Type()), m_value(value) {}
        int Value() const { return m_value; }
        static QEvent::Type Type();

    private:
        int m_value;
    };

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ForwardMouse(QMouseEvent* event);
    std::optional<int> m_initialValue;
};
