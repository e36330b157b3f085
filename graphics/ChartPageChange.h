#pragma once

class CXrtGraph;
class IGraphFrameBase;

// Chart property changes made from a property page: the chart's repaint is
// held from construction to destruction (the process-wide hold, so nested
// changes repaint once), and when anything changed the frame is refreshed once,
// alone.
class ChartPageChange {
public:
    ChartPageChange(CXrtGraph& graph, IGraphFrameBase& frame);
    ~ChartPageChange();
    ChartPageChange(const ChartPageChange&) = delete;
    ChartPageChange& operator=(const ChartPageChange&) = delete;

    // Records the result of one setter (true when it changed something).
    bool Note(bool changed) {
        m_changed = m_changed || changed;
        return changed;
    }
    bool Changed() const { return m_changed; }

private:
    CXrtGraph& m_graph;
    IGraphFrameBase& m_frame;
    bool m_changed = false;
};
