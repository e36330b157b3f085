#include "graphics/displays/bar/BarPageModels.h"

#include "graphics/displays/bar/CBarFrame.h"
#include "platform/chart/ChartIds.h"
#include "scan/CChannelArray.h"

namespace {

constexpr int kChannelsPage = 1;
constexpr int kAdvancedPage = 3;

} // namespace

BarChannelPageModel::BarChannelPageModel(CBarFrame& frame) : m_frame(frame), m_choices(frame) {
    const CChannelArray* slots = m_frame.GetChannelArray();
    m_selected = m_choices.EntryOf(slots ? slots->GetAt(0) : nullptr);
}

int BarChannelPageModel::HelpId() const {
    return m_frame.GetHelpId(kChannelsPage);
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
    if (const CChannelInfo* channel = m_choices.ChannelAt(entry)) {
        v.minimum = channel->RangeMin;
        v.maximum = channel->RangeMax;
        m_frame.SetChannelAt(0, channel);
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
    const CChannelInfo* channel = m_choices.ChannelAt(m_selected);
    const graphpage::Limits bounds = channel ? graphpage::LimitsFor(*channel) : graphpage::Limits{};
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
    CXrtGraph::RepaintHold hold(plot);
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
