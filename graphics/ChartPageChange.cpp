#include "graphics/ChartPageChange.h"

#include "graphics/CXrtGraph.h"
#include "graphics/IGraphFrameBase.h"

ChartPageChange::ChartPageChange(CXrtGraph& graph, IGraphFrameBase& frame)
    : m_graph(graph), m_frame(frame) {
    m_graph.SetRepaint(false);
}

ChartPageChange::~ChartPageChange() {
    m_graph.SetRepaint(true);
    if (m_changed)
        m_frame.RequestRefresh();
}
