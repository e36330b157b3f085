#pragma once
#include "platform/chart/ITextMetrics.h"

namespace tvane::chart {

// Sizes from the font's height alone, for a chart that no window measures yet
// (and for tests, which must not depend on the fonts of the machine).
class ApproxTextMetrics final : public ITextMetrics {
public:
    double TextWidth(const ChartFont& font, std::string_view text) const override;
    double TextHeight(const ChartFont& font) const override;

    static const ApproxTextMetrics& Instance();
};

} // namespace tvane::chart
