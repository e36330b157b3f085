#include "graphics/displays/histogram/HistogramPageModels.h"

#include "graphics/ChartPageChange.h"
#include "graphics/displays/histogram/CHistogramFrame.h"
#include "scan/CChannelArray.h"

namespace {

constexpr int kChannelsPage = 1;
constexpr int kAdvancedPage = 3;
constexpr int kMaxBins = 100;
constexpr double kMaxFrequency = 100.0;
constexpr double kFrequencyStep = 1.0;

} // namespace

HistogramChannelPageModel::HistogramChannelPageModel(CHistogramFrame& frame)
    : m_frame(frame), m_choices(frame) {
    const CChannelArray* slots = m_frame.GetChannelArray();
    m_selected = m_choices.EntryOf(slots ? slots->GetAt(0) : nullptr);
}

int HistogramChannelPageModel::HelpId() const {
    return m_frame.GetHelpId(kChannelsPage);
}

const CChannelInfo& HistogramChannelPageModel::SelectedChannel() const {
    const CChannelInfo* channel = m_choices.ChannelAt(m_selected);
    return channel ? *channel : m_none;
}

HistogramChannelPageModel::Values HistogramChannelPageModel::Init() const {
    Values v;
    const CHistogramPlot* plot = m_frame.GetPlot();
    if (!plot)
        return v;
    v.minimum = plot->GetXMin();
    v.maximum = plot->GetXMax();
    if (v.minimum == -1.0 && v.maximum == -1.0) {
        v.minimum = m_frame.GetLowLimit();
        v.maximum = m_frame.GetHighLimit();
    }
    v.precision = plot->GetXPrecision();
    v.bins = m_frame.GetBinCount();
    v.frequencyMin = plot->GetYMin();
    v.frequencyMax = plot->GetYMax();
    return v;
}

std::pair<std::string, std::string> HistogramChannelPageModel::GroupCaptions() const {
    if (m_frame.GetOrientation() == 0)
        return {"Y Axis", "X Axis"};
    return {"X Axis", "Y Axis"};
}

HistogramChannelPageModel::Values HistogramChannelPageModel::Choose(int entry) {
    Values v = Init();
    if (m_choices.ChannelAt(entry)) {
        m_selected = entry;
        const CChannelInfo& channel = SelectedChannel();
        v.minimum = channel.RangeMin;
        v.maximum = channel.RangeMax;
        m_frame.SetChannelAt(0, &channel);
    } else {
        m_selected = 0;
        v.minimum = 0.0;
        v.maximum = 1.0;
        m_frame.RemoveChannelAt(0);
    }
    m_frame.Redraw(true);
    return v;
}

bool HistogramChannelPageModel::Check(const Values& v, Field& field, std::string& message) const {
    field = kNoField;
    if (!(v.frequencyMax > v.frequencyMin)) {
        message = kFrequencyOrder;
        field = kFrequencyMinField;
        return false;
    }
    const CChannelInfo& channel = SelectedChannel();
    auto fail = [&](Field f) {
        field = f;
        return false;
    };
    if (!graphpage::CheckRange(v.precision, 0, kMaxPrecision, message))
        return fail(kPrecisionField);
    if (!graphpage::CheckRange(v.bins, 1, kMaxBins, message))
        return fail(kBinsField);
    if (!graphpage::CheckRange(v.frequencyMax, v.frequencyMin + kFrequencyStep, kMaxFrequency,
                               message))
        return fail(kFrequencyMaxField);
    if (!graphpage::CheckRange(v.frequencyMin, 0.0, v.frequencyMax - kFrequencyStep, message))
        return fail(kFrequencyMinField);
    if (!graphpage::CheckRange(v.minimum, channel.RangeMin, channel.RangeMax, message))
        return fail(kMinField);
    if (!graphpage::CheckRange(v.maximum, channel.RangeMin, channel.RangeMax, message))
        return fail(kMaxField);
    if (!graphpage::MinBelowMax(v.minimum, v.maximum)) {
        message = graphpage::RangeMessage(channel.RangeMin, v.maximum);
        return fail(kMinField);
    }
    return true;
}

void HistogramChannelPageModel::Apply(const Values& v) {
    CHistogramPlot* plot = m_frame.GetPlot();
    if (!plot)
        return;
    ChartPageChange change(*plot, m_frame);
    change.Note(plot->SetYMax(v.frequencyMax, false));
    change.Note(plot->SetYMin(v.frequencyMin, false));
    change.Note(m_frame.SetHighLimit(v.maximum, false));
    change.Note(m_frame.SetLowLimit(v.minimum, false));
    change.Note(plot->SetXPrecision(v.precision, true));
    change.Note(m_frame.SetBinCount(v.bins, false));
}

int HistogramAdvancedPageModel::HelpId() const {
    return m_frame.GetHelpId(kAdvancedPage);
}

HistogramAdvancedPageModel::Values HistogramAdvancedPageModel::Init() const {
    Values v;
    if (const CHistogramPlot* plot = m_frame.GetPlot()) {
        v.grid = plot->GetGrid();
        v.follow = plot->GetFrequencyFollow();
        v.orientation = plot->GetOrientation();
    }
    v.updateRate = m_frame.GetUpdateRate();
    return v;
}

void HistogramAdvancedPageModel::SetGrid(bool on) {
    if (CHistogramPlot* plot = m_frame.GetPlot()) {
        plot->SetGrid(on);
        plot->ApplyGrid();
    }
}

void HistogramAdvancedPageModel::SetOrientation(int orientation) {
    m_frame.SetOrientation(orientation);
}

void HistogramAdvancedPageModel::SetFollow(bool on) {
    if (CHistogramPlot* plot = m_frame.GetPlot()) {
        plot->SetFrequencyFollow(on);
        plot->ApplyAxisRanges();
    }
}

void HistogramAdvancedPageModel::Apply(int updateRate) {
    m_frame.SetUpdateRate(updateRate);
}
