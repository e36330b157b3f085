#pragma once
#include <QFont>
#include <QFontMetricsF>

#include "platform/chart/ITextMetrics.h"

namespace tvane::chart {

// Text sizes as Qt draws the chart's fonts.
class QtTextMetrics final : public ITextMetrics {
public:
    double TextWidth(const ChartFont& font, std::string_view text) const override;
    double TextHeight(const ChartFont& font) const override;

    static const QtTextMetrics& Instance();

private:
    const QFontMetricsF& Metrics(const ChartFont& font) const;

    mutable ChartFont m_font;
    mutable QFontMetricsF m_metrics{QFont()};
    mutable bool m_valid = false;
};

} // namespace tvane::chart
