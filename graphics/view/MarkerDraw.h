#pragma once
#include <memory>

#include "platform/chartview/ChartWidget.h"

class CGraphMarker;
class QPainter;
class QRectF;
namespace tvane::chart {
class Chart;
}

// The visible lines of a chart window's marker over its chart drawn at target
// (the window, a printed page, a picture): each line in its colour and pen
// width, scaled from the chart's window size to target.
void DrawMarkerLines(QPainter& painter, const CGraphMarker& marker,
                     const tvane::chart::Chart& chart, const QRectF& target);

// What a plot with marker lines answers to the mouse over its chart.
class IMarkerMouse {
public:
    virtual ~IMarkerMouse() = default;
    virtual int CursorAt(int x, int y) = 0;
    virtual bool PressMarker(int x, int y) = 0;
    virtual void DragMarker(int x, int y) = 0;
    virtual void ReleaseMarker(int x, int y) = 0;
};

template <class Plot> class MarkerMouseOf final : public IMarkerMouse {
public:
    explicit MarkerMouseOf(Plot& plot) : m_plot(plot) {}
    int CursorAt(int x, int y) override { return m_plot.CursorAt(x, y); }
    bool PressMarker(int x, int y) override { return m_plot.PressMarker(x, y); }
    void DragMarker(int x, int y) override { m_plot.DragMarker(x, y); }
    void ReleaseMarker(int x, int y) override { m_plot.ReleaseMarker(x, y); }

private:
    Plot& m_plot;
};

// A plot's chart window with marker lines: a press on a line drags it (press,
// moves and release go to the plot as they come), the cursor shows what a
// press would take, and every other click goes on to the frame.
class MarkerChartView : public tvane::chart::ChartWidget {
    Q_OBJECT
public:
    template <class Plot>
    MarkerChartView(Plot& plot, tvane::chart::Chart& chart, QWidget* parent)
        : MarkerChartView(std::make_unique<MarkerMouseOf<Plot>>(plot), chart, parent) {}
    ~MarkerChartView() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    MarkerChartView(std::unique_ptr<IMarkerMouse> mouse, tvane::chart::Chart& chart,
                    QWidget* parent);
    void UpdateCursor(int x, int y);

    std::unique_ptr<IMarkerMouse> m_mouse;
    bool m_dragging = false;
};
