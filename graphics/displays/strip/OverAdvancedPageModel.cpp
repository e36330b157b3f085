#include "graphics/displays/strip/OverAdvancedPageModel.h"

#include <cstdio>

#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/displays/strip/CXrtOverlayPlot.h"

OverAdvancedPageModel::OverAdvancedPageModel(CXrtOverlayFrame& frame) : m_frame(frame) {}

OverAdvancedPageModel::Values OverAdvancedPageModel::Init() const {
    Values v;
    v.relativeReset = m_frame.GetRelativeReset();
    v.maxScans = m_frame.GetMaxScansDisplayed();
    v.updateRate = m_frame.GetUpdateRate();
    v.grid = m_frame.GetPlot() ? m_frame.GetPlot()->GetGrid() : true;
    v.style = m_frame.GetPlotStyle();
    return v;
}

int OverAdvancedPageModel::HelpId() const {
    return m_frame.GetHelpId(kHelpPage);
}

std::vector<std::string> OverAdvancedPageModel::Items() const {
    return CXrtOverlayPlot::SeriesKindNames();
}

std::vector<std::string> OverAdvancedPageModel::Symbols() const {
    return m_frame.GetPlot() ? m_frame.GetPlot()->PointShapeNames() : std::vector<std::string>{};
}

std::vector<std::string> OverAdvancedPageModel::Sizes() {
    std::vector<std::string> sizes;
    for (int i = 1; i <= 8; ++i)
        sizes.push_back(std::to_string(i));
    return sizes;
}

int OverAdvancedPageModel::SymbolIndex(int item) const {
    if (!m_frame.GetPlot())
        return -1;
    const std::string name = m_frame.GetPlot()->GetPointStyleName(item);
    const auto symbols = Symbols();
    for (std::size_t i = 0; i < symbols.size(); ++i)
        if (symbols[i] == name)
            return static_cast<int>(i);
    return -1;
}

int OverAdvancedPageModel::SizeIndex(int item) const {
    return m_frame.GetPlot() ? m_frame.GetPlot()->GetPointSize(item) - 1 : -1;
}

void OverAdvancedPageModel::SetGrid(bool on) {
    if (CXrtOverlayPlot* plot = m_frame.GetPlot()) {
        plot->SetGrid(on);
        plot->ApplyYGrid();
    }
}

void OverAdvancedPageModel::SetStyle(int style) {
    m_frame.SetPlotStyle(style);
}

void OverAdvancedPageModel::SetSymbol(int item, int symbolIndex, int sizeIndex) {
    if (CXrtOverlayPlot* plot = m_frame.GetPlot())
        plot->SetPointStyle(item, symbolIndex, sizeIndex + 1);
}

bool OverAdvancedPageModel::CheckRange(int value, int minimum, int maximum, std::string& message) {
    if (value >= minimum && value <= maximum)
        return true;
    char text[96];
    std::snprintf(text, sizeof text, "Please enter an integer between %d and %d.", minimum,
                  maximum);
    message = text;
    return false;
}

bool OverAdvancedPageModel::Apply(const Values& values, Field& field, std::string& message) {
    field = kNone;
    if (!CheckRange(values.maxScans, kMinScans, kMaxScans, message)) {
        field = kMaxScansField;
        return false;
    }
    if (!CheckRange(values.relativeReset, kMinReset, kMaxReset, message)) {
        field = kResetField;
        return false;
    }
    if (!CheckRange(values.updateRate, kMinRate, kMaxRate, message)) {
        field = kRateField;
        return false;
    }
    m_frame.SetUpdateRate(values.updateRate);
    // A failure keeps the old maximum; the page closes all the same.
    m_frame.SetMaxScansDisplayed(values.maxScans);
    m_frame.SetRelativeReset(values.relativeReset);
    if (m_frame.GetDocumentHasReadings())
        m_frame.RequestRefresh();
    return true;
}
