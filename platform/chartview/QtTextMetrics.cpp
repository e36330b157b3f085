#include "platform/chartview/QtTextMetrics.h"

#include <QString>

#include "platform/chartview/ChartQt.h"

namespace tvane::chart {

const QFontMetricsF& QtTextMetrics::Metrics(const ChartFont& font) const {
    // Charts measure one font many times in a row.
    if (!m_metrics || !(font == m_font)) {
        m_metrics.emplace(ToQFont(font));
        m_font = font;
    }
    return *m_metrics;
}

double QtTextMetrics::TextWidth(const ChartFont& font, std::string_view text) const {
    return Metrics(font).horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

double QtTextMetrics::TextHeight(const ChartFont& font) const {
    return Metrics(font).height();
}

const QtTextMetrics& QtTextMetrics::Instance() {
    static const QtTextMetrics* metrics = new QtTextMetrics;
    return *metrics;
}

} // namespace tvane::chart
