#include "graphics/displays/xy/XYPageModels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "graphics/GraphPageRules.h"
#include "graphics/displays/xy/CXYFrame.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"

namespace {
constexpr std::int32_t kNoChannel = 2000;
} // namespace

// --- Field checks ----------------------------------------------------------------------

namespace xypage {

bool CheckIntRange(int value, int minimum, int maximum, std::string& message) {
    if (value >= minimum && value <= maximum)
        return true;
    char text[96];
    std::snprintf(text, sizeof text, "Please enter an integer between %d and %d.", minimum,
                  maximum);
    message = text;
    return false;
}

std::string NumberRangeMessage(double minimum, double maximum) {
    char text[160];
    std::snprintf(text, sizeof text, "Please enter a number between %.15g and %.15g.", minimum,
                  maximum);
    return text;
}

bool CheckNumberRange(double value, double minimum, double maximum, std::string& message) {
    if (value >= minimum && value <= maximum)
        return true;
    message = NumberRangeMessage(minimum, maximum);
    return false;
}

bool IsOrderedRange(double minimum, double maximum) {
    const double scale = std::max({1.0, std::fabs(minimum), std::fabs(maximum)});
    return maximum - minimum > 1e-12 * scale;
}

} // namespace xypage

// --- Channels page ---------------------------------------------------------------------

XYChannelPageModel::XYChannelPageModel(CXYFrame& frame)
    : m_frame(frame), m_available(std::make_unique<CChannelArray>()) {
    m_frame.GetAvailableChannels(*m_available);
    m_texts.push_back(CChannelInfo().Label);
    for (std::size_t i = 0; i < m_available->GetSize(); ++i)
        if (const CChannelInfo* c = m_available->GetAt(i))
            m_texts.push_back(graphpage::ChannelText(*c));
}

XYChannelPageModel::~XYChannelPageModel() {
    m_available->DeleteAll();
}

int XYChannelPageModel::HelpId() const {
    return m_frame.GetHelpId(kHelpPage);
}

const CChannelInfo* XYChannelPageModel::ChannelOfEntry(int index) const {
    // Entry 0 is the no-channel entry; the others follow the available list.
    int entry = 0;
    for (std::size_t i = 0; i < m_available->GetSize(); ++i) {
        const CChannelInfo* c = m_available->GetAt(i);
        if (c && ++entry == index)
            return c->Number == kNoChannel ? nullptr : c;
    }
    return nullptr;
}

int XYChannelPageModel::EntryOf(const CChannelInfo* channel) const {
    if (!channel)
        return 0;
    int entry = 0;
    for (std::size_t i = 0; i < m_available->GetSize(); ++i) {
        const CChannelInfo* c = m_available->GetAt(i);
        if (!c)
            continue;
        ++entry;
        if (c->Number == channel->Number)
            return entry;
    }
    return 0;
}

XYChannelPageModel::Values XYChannelPageModel::Init() const {
    Values v;
    const CChannelArray* channels = m_frame.GetChannelArray();
    const CChannelInfo* x = channels ? channels->GetAt(CXYFrame::kXChannel) : nullptr;
    const CChannelInfo* y = channels ? channels->GetAt(CXYFrame::kYChannel) : nullptr;
    v.x.selection = EntryOf(x);
    v.y.selection = EntryOf(y);
    v.x.enabled = v.x.selection != 0;
    v.y.enabled = v.y.selection != 0;
    if (const CXYPlot* plot = m_frame.GetPlot()) {
        v.x.minimum = plot->GetXRange().minimum;
        v.x.maximum = plot->GetXRange().maximum;
        v.y.minimum = plot->GetYRange().minimum;
        v.y.maximum = plot->GetYRange().maximum;
        v.x.precision = plot->GetXPrecision();
        v.y.precision = plot->GetYPrecision();
    }
    return v;
}

void XYChannelPageModel::Select(int channelIndex, int listIndex, Axis& axis) {
    const CChannelInfo* channel = ChannelOfEntry(listIndex);
    axis.selection = channel ? listIndex : 0;
    if (const CXYPlot* plot = m_frame.GetPlot())
        axis.precision =
            channelIndex == CXYFrame::kXChannel ? plot->GetXPrecision() : plot->GetYPrecision();
    if (channel) {
        axis.minimum = channel->RangeMin;
        axis.maximum = channel->RangeMax;
        m_frame.SetChannelAt(channelIndex, channel);
    } else {
        axis.minimum = 0.0;
        axis.maximum = 1.0;
        m_frame.RemoveChannelAt(channelIndex);
    }
    axis.enabled = channel != nullptr;
    m_frame.Redraw(true);
}

void XYChannelPageModel::SelectX(int index, Axis& axis) {
    Select(CXYFrame::kXChannel, index, axis);
}

void XYChannelPageModel::SelectY(int index, Axis& axis) {
    Select(CXYFrame::kYChannel, index, axis);
}

std::string XYChannelPageModel::FormatBound(double value, int precision) {
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", precision < 0 ? 0 : precision, value);
    return text;
}

bool XYChannelPageModel::Validate(const Values& v, Field& field, std::string& message) {
    using xypage::CheckIntRange;
    using xypage::CheckNumberRange;
    field = kNone;
    message.clear();
    // In the page's order; the first failure names its field.
    if (!CheckIntRange(v.x.precision, 0, kMaxPrecision, message))
        field = kXPrecision;
    else if (!CheckIntRange(v.y.precision, 0, kMaxPrecision, message))
        field = kYPrecision;
    else if (!CheckNumberRange(v.x.minimum, -kBound, kBound, message))
        field = kXMin;
    else if (!CheckNumberRange(v.x.maximum, -kBound, kBound, message))
        field = kXMax;
    else if (!CheckNumberRange(v.y.minimum, -kBound, kBound, message))
        field = kYMin;
    else if (!CheckNumberRange(v.y.maximum, -kBound, kBound, message))
        field = kYMax;
    else if (!xypage::IsOrderedRange(v.x.minimum, v.x.maximum))
        field = kXMin;
    else if (!xypage::IsOrderedRange(v.y.minimum, v.y.maximum))
        field = kYMin;
    else
        return true;
    if ((field == kXMin || field == kYMin) && message.empty()) {
        // A minimum not below its maximum: the range it must lie in.
        message = xypage::NumberRangeMessage(-kBound, (field == kXMin ? v.x : v.y).maximum);
    }
    return false;
}

bool XYChannelPageModel::Apply(const Values& v, Field& field, std::string& message) {
    if (!Validate(v, field, message))
        return false;
    CXYPlot* plot = m_frame.GetPlot();
    if (!plot)
        return true;
    plot->SetRepaint(false);
    bool ranges = plot->SetYMax(v.y.maximum, false);
    ranges = plot->SetYMin(v.y.minimum, false) || ranges;
    ranges = plot->SetXMax(v.x.maximum, false) || ranges;
    ranges = plot->SetXMin(v.x.minimum, false) || ranges;
    bool decimals = plot->SetXLabelPrecision(v.x.precision, false);
    decimals = plot->SetYLabelPrecision(v.y.precision, false) || decimals;
    if (ranges || decimals)
        plot->ApplyAxisRange();
    // New ranges read the document again; new decimals only relabel the axes.
    if (ranges)
        m_frame.RequestRefresh();
    plot->SetRepaint(true);
    return true;
}

// --- Advanced page ------------------------------------------------------------------------

XYAdvancedPageModel::XYAdvancedPageModel(CXYFrame& frame) : m_frame(frame) {}

int XYAdvancedPageModel::HelpId() const {
    return m_frame.GetHelpId(kHelpPage);
}

XYAdvancedPageModel::Values XYAdvancedPageModel::Init() const {
    Values v;
    if (const CXYPlot* plot = m_frame.GetPlot()) {
        v.grid = plot->GetGrid();
        v.autoscale = plot->GetContinuousAutoscale();
        v.lines = plot->IsLineOn();
    }
    v.maxScans = m_frame.GetPointCount();
    v.updateRate = m_frame.GetUpdateRate();
    return v;
}

std::vector<std::string> XYAdvancedPageModel::Items() const {
    return m_frame.GetPlot() ? m_frame.GetPlot()->SeriesNames() : std::vector<std::string>{};
}

std::vector<std::string> XYAdvancedPageModel::Symbols() const {
    return m_frame.GetPlot() ? m_frame.GetPlot()->PointShapeNames() : std::vector<std::string>{};
}

std::vector<std::string> XYAdvancedPageModel::Sizes() {
    std::vector<std::string> sizes;
    for (int i = 1; i <= CXYPlot::kMaxPointSize; ++i)
        sizes.push_back(std::to_string(i));
    return sizes;
}

int XYAdvancedPageModel::SymbolIndex(int) const {
    const CXYPlot* plot = m_frame.GetPlot();
    if (!plot)
        return -1;
    const auto symbols = Symbols();
    for (std::size_t i = 0; i < symbols.size(); ++i)
        if (symbols[i] == plot->GetPointShapeName())
            return static_cast<int>(i);
    return -1;
}

int XYAdvancedPageModel::SizeIndex(int) const {
    return m_frame.GetPlot() ? m_frame.GetPlot()->GetPointSize() - 1 : -1;
}

void XYAdvancedPageModel::SetGrid(bool on) {
    if (CXYPlot* plot = m_frame.GetPlot())
        plot->SetGrid(on);
}

void XYAdvancedPageModel::SetAutoscale(bool on) {
    if (CXYPlot* plot = m_frame.GetPlot())
        plot->SetContinuousAutoscale(on);
}

void XYAdvancedPageModel::SetLines(bool on) {
    if (CXYPlot* plot = m_frame.GetPlot())
        plot->SetLineOn(on);
}

void XYAdvancedPageModel::SetSymbol(int, int symbolIndex, int sizeIndex) {
    if (CXYPlot* plot = m_frame.GetPlot())
        plot->SetPointStyle(symbolIndex, sizeIndex + 1);
}

bool XYAdvancedPageModel::Validate(const Values& v, Field& field, std::string& message) {
    field = kNone;
    if (!xypage::CheckIntRange(v.maxScans, kMinScans, kMaxScans, message)) {
        field = kMaxScansField;
        return false;
    }
    if (!xypage::CheckIntRange(v.updateRate, kMinRate, kMaxRate, message)) {
        field = kRateField;
        return false;
    }
    return true;
}

bool XYAdvancedPageModel::Apply(const Values& v, Field& field, std::string& message) {
    if (!Validate(v, field, message))
        return false;
    // A new point count empties the display and reads the document again.
    m_frame.SetPointCount(v.maxScans);
    m_frame.SetUpdateRate(v.updateRate);
    return true;
}
