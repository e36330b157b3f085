#pragma once
#include <QElapsedTimer>
#include <QRegion>
#include <QTimer>

class QMouseEvent;
class QWidget;

// The marked areas of a display's child window, repainted at most 25 times a
// second (marks in between are drawn together), never inside the caller
// that marked them.
class RepaintThrottle {
public:
    static constexpr int kMinRepaintMs = 40;

    explicit RepaintThrottle(QWidget& widget);
    RepaintThrottle(const RepaintThrottle&) = delete;
    RepaintThrottle& operator=(const RepaintThrottle&) = delete;

    void Mark(const QRect& rect) { m_dirty += rect; }
    // Asks for the marked areas to be repainted, soon.
    void Update();
    // The window paints now: the marks are drawn, the interval starts again.
    void Painting();
    bool Scheduled() const { return m_timer.isActive(); }

private:
    QWidget& m_widget;
    QRegion m_dirty;
    QTimer m_timer;
    QElapsedTimer m_sincePaint;
};

// Passes a press, double click (as a press) or release of a display's child
// window on to its parent, the frame, after the child has handled it: the
// display is selected and offers its menu. The frame reads the point as the
// child gave it.
void ForwardMouseToFrame(QWidget& child, const QMouseEvent& event);
