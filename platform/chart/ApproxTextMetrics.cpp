#include "platform/chart/ApproxTextMetrics.h"

#include <cstdlib>

namespace tvane::chart {

namespace {

double CharHeight(const ChartFont& font) {
    // A positive height is the cell height, which includes the leading.
    const double h = font.height < 0 ? -font.height : font.height * 0.8;
    return h > 0 ? h : 12.0;
}

} // namespace

double ApproxTextMetrics::TextWidth(const ChartFont& font, std::string_view text) const {
    return 0.6 * CharHeight(font) * static_cast<double>(text.size());
}

double ApproxTextMetrics::TextHeight(const ChartFont& font) const {
    return 1.25 * CharHeight(font);
}

const ApproxTextMetrics& ApproxTextMetrics::Instance() {
    static const ApproxTextMetrics metrics;
    return metrics;
}

} // namespace tvane::chart
