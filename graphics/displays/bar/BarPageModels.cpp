#include "graphics/displays/bar/BarPageModels.h"

#include "graphics/GraphPageRules.h"
#include "graphics/displays/bar/CBarFrame.h"
#include "platform/chart/ChartIds.h"
#include "scan/CChannelArray.h"

namespace {

constexpr int kChannelsPage = 1;
constexpr int kAdvancedPage = 3;

// Holds the charts' repaint while it lives.
class PageHold {
public:
    explicit PageHold(CXrtGraph& graph) : m_graph(graph) { m_graph.SetRepaint(false); }
    ~PageHold() { m_graph.SetRepaint(true); }
    PageHold(const PageHold&) = delete;
    PageHold& operator=(const PageHold&) = delete;

private:
    CXrtGraph& m_graph;
};

} // namespace

BarChannelPageModel::BarChannelPageModel(CBarFrame& frame) : m_frame(frame) {
    CChannelArray available;
    m_frame.GetAvailableChannels(available);
    for (std::size_t i = 0; i < available.GetSize(); ++i)
        if (const CChannelInfo* c = available.GetAt(i))
            m_channels.push_back(*c);
    available.DeleteAll();
    const CChannelArray* slots = m_frame.GetChannelArray();
    if (const CChannelInfo* current = slots ? slots->GetAt(0) : nullptr)
        for (std::size_t i = 0; i < m_channels.size(); ++i)
            if (m_channels[i].Number == current->Number)
                m_selected = static_cast<int>(i) + 1;
}

int BarChannelPageModel::HelpId() const {
    return m_frame.GetHelpId(kChannelsPage);
}

std::vector<std::string> BarChannelPageModel::Entries() const {
    std::vector<std::string> entries{CChannelInfo().Label};
    for (const CChannelInfo& c : m_channels)
        entries.push_back(graphpage::ChannelText(c));
    return entries;
}

BarChannelPageModel::Values BarChannelPageModel::Init() const {
    Values v;
    if (const CBarPlot* plot = m_frame.GetPlot()) {
        v.minimum = plot->GetYMin();
        v.maximum = plot->GetYMax();
        v.precision = plot->GetPrecision();
    }
    return v;
}

BarChannelPageModel::Values BarChannelPageModel::Choose(int entry) {
    Values v = Init();
    if (entry > 0 && entry <= static_cast<int>(m_channels.size())) {
        const CChannelInfo& channel = m_channels[static_cast<std::size_t>(entry - 1)];
        v.minimum = channel.RangeMin;
        v.maximum = channel.RangeMax;
        m_frame.SetChannelAt(0, &channel);
        m_selected = entry;
    } else {
        v.minimum = 0.0;
        v.maximum = 1.0;
        m_frame.RemoveChannelAt(0);
        m_selected = 0;
    }
    m_frame.Redraw(true);
    return v;
}

bool BarChannelPageModel::Check(const Values& v, Field& field, std::string& message) const {
    field = kNoField;
    if (!graphpage::CheckRange(v.precision, 0, kMaxPrecision, message)) {
        field = kPrecisionField;
        return false;
    }
    const graphpage::Limits bounds =
        m_selected > 0 ? graphpage::LimitsFor(m_channels[static_cast<std::size_t>(m_selected - 1)])
                       : graphpage::Limits{};
    if (!graphpage::CheckRange(v.minimum, bounds.minimum, bounds.maximum, message)) {
        field = kMinField;
        return false;
    }
    if (!graphpage::CheckRange(v.maximum, bounds.minimum, bounds.maximum, message)) {
        field = kMaxField;
        return false;
    }
    if (!graphpage::MinBelowMax(v.minimum, v.maximum)) {
        message = graphpage::RangeMessage(bounds.minimum, v.maximum);
        field = kMinField;
        return false;
    }
    return true;
}

void BarChannelPageModel::Apply(const Values& v) {
    CBarPlot* plot = m_frame.GetPlot();
    if (!plot)
        return;
    PageHold hold(*plot);
    plot->SetYMax(v.maximum);
    plot->SetYMin(v.minimum);
    plot->SetPrecision(v.precision);
    plot->Refresh();
}

int BarAdvancedPageModel::HelpId() const {
    return m_frame.GetHelpId(kAdvancedPage);
}

BarAdvancedPageModel::Values BarAdvancedPageModel::Init() const {
    Values v;
    v.grid = m_frame.GetPlot() && m_frame.GetPlot()->GetGrid();
    v.orientation = m_frame.GetOrientation();
    v.updateRate = m_frame.GetUpdateRate();
    return v;
}

void BarAdvancedPageModel::SetGrid(bool on) {
    if (CBarPlot* plot = m_frame.GetPlot()) {
        plot->SetGrid(on);
        plot->ApplyGrid();
    }
}

void BarAdvancedPageModel::SetOrientation(int orientation) {
    m_frame.SetOrientation(orientation);
}

bool BarAdvancedPageModel::Check(int updateRate, std::string& message) const {
    return graphpage::CheckRange(updateRate, kMinRate, kMaxRate, message);
}

void BarAdvancedPageModel::Apply(int updateRate) {
    m_frame.SetUpdateRate(updateRate);
}
