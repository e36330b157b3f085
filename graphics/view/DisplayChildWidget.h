#pragma once
#include <QPointer>
#include <QWidget>

#include "graphics/GraphGeometry.h"

// A display's child window made of a widget inside the display's frame
// window: placed, shown and repainted through it, and deleted with its holder
// unless the frame window took it down first. Displays build the child window
// interfaces of their families on it.
class DisplayChildWidget {
public:
    DisplayChildWidget(QWidget* widget, const GRect& rect);
    ~DisplayChildWidget();
    DisplayChildWidget(const DisplayChildWidget&) = delete;
    DisplayChildWidget& operator=(const DisplayChildWidget&) = delete;

    void Move(const GRect& rect, bool repaint);
    void Update();
    // The widget's rectangle in the frame's client pixels.
    GRect RectInFrame() const;
    QWidget* Widget() const { return m_widget; }

private:
    QPointer<QWidget> m_widget;
};
