#pragma once
#include <QWidget>

#include "graphics/displays/indicator/IGaugeWindow.h"
#include "graphics/displays/indicator/RepaintThrottle.h"

class CGraphFrameWnd;

// The window of a gauge display in its frame's client area. Its display
// draws it through QtGraphDC; marked areas are repainted at most 25 times a
// second (marks in between are drawn together), never inside the caller that
// marked them. Presses, double clicks and releases go to the display and then
// on to the frame, so that the display is selected and offers its menu.
class GaugeWnd final : public QWidget, public IGaugeWindow {
    Q_OBJECT
public:
    static constexpr int kMinRepaintMs = RepaintThrottle::kMinRepaintMs;

    GaugeWnd(IGaugeWindowClient& client, QWidget* frameClient, const GRect& rect);

    void MoveWindow(const GRect& rect, bool repaint) override;
    GRect GetClientRect() const override;
    GRect GetRectInFrame() const override;
    void Invalidate(const GRect* rect, bool erase) override;
    void Update() override;
    void SetCapture() override { m_captured = true; }
    void ReleaseCapture() override { m_captured = false; }
    GPoint ToFrameClient(GPoint point) const override;
    std::optional<GPoint> MeasureText(const LOGFONT& font, const std::string& text) const override;
    void LayOut() override;

    IGaugeWindowClient& Client() const { return m_client; }
    bool IsCaptured() const { return m_captured; }
    // Paints since the window was made; tests count them.
    int PaintCount() const { return m_paints; }
    bool RepaintScheduled() const { return m_repaint.Scheduled(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    IGaugeWindowClient& m_client;
    RepaintThrottle m_repaint{*this};
    bool m_captured = false;
    int m_paints = 0;
};

// The program's gauge windows, made in the client area of their frame's
// window.
class QtGaugeWindows final : public IGaugeWindows {
public:
    std::unique_ptr<IGaugeWindow> CreateGaugeWindow(IGraphFrameWindow& frame,
                                                    IGaugeWindowClient& client,
                                                    const GRect& rect) override;
};
