#include "graphics/displays/slider/SliderRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "graphics/displays/slider/SliderTexts.h"

namespace sliderrules {

BoxValue TakeValueBox(const std::string& text, double lower, double upper) {
    BoxValue out;
    double v = 0.0;
    if (!ParseStrictDouble(text, v)) {
        out.message = SliderTexts().Load(slidertext::kEnterDigit);
        return out;
    }
    if (!(v >= lower && v <= upper)) {
        char message[256];
        std::snprintf(message, sizeof message,
                      SliderTexts().Load(slidertext::kEnterInRange).c_str(), lower, upper);
        out.message = message;
        return out;
    }
    out.value = v;
    return out;
}

std::string ValueText(double value, double resolution) {
    if (std::fabs(value) < resolution)
        value = 0.0;
    char text[64];
    std::snprintf(text, sizeof text, "%0.3lf", value);
    return text;
}

const Layout& LayoutFor(std::int32_t orientation) {
    static const Layout kHorizontal{{0.33, 0.75, 0.7, 0.95}, {0.05, 0.02, 0.95, 0.72}, {225, 65}};
    static const Layout kVertical{{0.05, 0.08, 0.15, 0.92}, {0.16, 0.05, 1.0, 0.95}, {62, 170}};
    return orientation == 0 ? kHorizontal : kVertical;
}

std::optional<double> TakeField(const std::string& text, const Range& range, std::string& message) {
    double v = 0.0;
    if (!ParseStrictDouble(text, v)) {
        message = "Please enter a number.";
        return std::nullopt;
    }
    if (!range.Holds(v)) {
        char line[160];
        std::snprintf(line, sizeof line, "Please enter a number between %g and %g.", range.low,
                      range.high);
        message = line;
        return std::nullopt;
    }
    return v;
}

Range LowerLimitRange(double upper, double resolution) {
    return {kMinLimit, std::min(kMaxLimit, std::trunc(upper - resolution))};
}

Range UpperLimitRange(double lower, double resolution) {
    return {std::max(kMinLimit, std::trunc(lower + resolution)), kMaxLimit};
}

Range ResolutionRange(double lower, double upper) {
    return {kMinResolution, (upper - lower) / 10.0};
}

bool UsableSettings(double lower, double upper, double resolution) {
    return std::isfinite(lower) && std::isfinite(upper) && std::isfinite(resolution) &&
           lower < upper && resolution > 0.0 && resolution <= upper - lower;
}

} // namespace sliderrules
