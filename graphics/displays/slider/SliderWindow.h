#pragma once
#include <QElapsedTimer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include "graphics/displays/slider/ISliderWindow.h"

// The slider's window in its frame's client area. Marked areas are repainted
// at most 25 times a second, never inside the caller; the repeat timer is a
// QTimer; presses and releases go on to the frame afterwards, so that the
// display is selected and offers its menu.
class SliderWindow final : public QWidget, public ISliderWindow {
    Q_OBJECT
public:
    static constexpr int kMinRepaintMs = 40;

    SliderWindow(ISliderWindowClient& client, QWidget* frameClient, const GRect& rect);

    void MoveWindow(const GRect& rect, bool repaint) override;
    GRect GetClientRect() const override { return {0, 0, width(), height()}; }
    GRect GetRectInFrame() const override;
    void Invalidate(const GRect* rect) override;
    void Update() override;
    void SetCapture() override { m_captured = true; }
    void ReleaseCapture() override { m_captured = false; }
    void SetFocus() override { setFocus(Qt::OtherFocusReason); }
    bool HasFocus() const override { return hasFocus(); }
    void Show(bool show) override { setVisible(show); }
    void StartTimer(int id, int milliseconds) override;
    void StopTimer(int id) override;
    GPoint CursorPos() const override;
    std::optional<GPoint> MeasureText(const LOGFONT& font, const std::string& text) const override;

    bool IsCaptured() const { return m_captured; }
    bool RepeatRunning() const { return m_repeat.isActive(); }
    // The repeat timer fires now, as its period would make it.
    void FireRepeat();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Forward(QMouseEvent* event);
    void RepaintNow();

    ISliderWindowClient& m_client;
    QRegion m_dirty;
    QTimer m_paintTimer;
    QElapsedTimer m_sincePaint;
    QTimer m_repeat;
    int m_repeatId = 0;
    bool m_captured = false;
};

// The program's slider windows, made in the client area of their frame's
// window.
class QtSliderWindows final : public ISliderWindows {
public:
    std::unique_ptr<ISliderWindow> CreateSliderWindow(IGraphFrameWindow& frame,
                                                      ISliderWindowClient& client,
                                                      const GRect& rect) override;
};
