#pragma once
#include <optional>

#include <QFontMetricsF>

#include "platform/chart/ITextMetrics.h"

namespace tvane::chart {

// Text sizes as Qt draws the chart's fonts.
class QtTextMetrics final : public ITextMetrics {
public:
    double TextWidth(const ChartFont& font, std::string_view text) const override;
    double TextHeight(const ChartFont& font) const override;

    // One for the whole program; it is never destroyed, so it outlives the
    // application object its fonts belong to.
    static const QtTextMetrics& Instance();

private:
    const QFontMetricsF& Metrics(const ChartFont& font) const;

    mutable ChartFont m_font;
    mutable std::optional<QFontMetricsF> m_metrics;
};

} // namespace tvane::chart
