#pragma once
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "platform/chart/ChartGeometry.h"
#include "platform/chart/IChartListener.h"
#include "platform/chartview/ChartRenderer.h"

namespace tvane::chart {

class Chart;

// The window that shows one chart. It draws through ChartRenderer, repaints
// when the chart changes but at most 25 times a second (changes in between are
// drawn together), keeps the chart's window size and text measure, and passes
// the mouse clicks the program's frames act on to its parent window, at the
// same point in its own coordinates. The chart must outlive the window.
class ChartWidget : public QWidget, private IChartListener {
    Q_OBJECT
public:
    explicit ChartWidget(Chart& chart, QWidget* parent = nullptr);
    ~ChartWidget() override;

    Chart& GetChart() const { return m_chart; }
    // Off: clicks stay here (a plot that handles them itself).
    void SetForwardMouse(bool forward) { m_forwardMouse = forward; }
    // The chart takes the window's size now. A hidden window gets its resize
    // event only once it is shown, and the chart's size is stored with it.
    void TakeWindowSize();
    // Paints since the window was made; tests count them.
    int PaintCount() const { return m_paints; }
    // A repaint waits for its turn (the last one was too recent).
    bool RepaintScheduled() const { return m_repaintTimer.isActive(); }

    static constexpr int kMinRepaintMs = 40;

signals:
    // The plot area may lie elsewhere now (size, margins or axes changed):
    // whatever is laid out over it must be laid out again.
    void PlotAreaChanged();
    // After every repaint of the chart, with the painter still open, so that
    // what a plot draws over the chart (markers, limit lines) comes on top.
    void Painted(QPainter* painter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ChartChanged() override;
    void Forward(QMouseEvent* event);

    Chart& m_chart;
    ChartRenderer m_renderer;
    QTimer m_repaintTimer;
    QElapsedTimer m_sincePaint;
    ChartRect m_lastPlotArea;
    bool m_forwardMouse = true;
    int m_paints = 0;
};

} // namespace tvane::chart
