#include "graphics/GraphGeometry.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

GRect GRect::Normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

namespace graphgeo {

namespace {

// Edge + 0.5, truncated toward zero, within the 32-bit range.
std::int32_t Truncated(double value) {
    value += 0.5;
    if (!(value > -2147483648.0))
        return std::numeric_limits<std::int32_t>::min();
    if (!(value < 2147483647.0))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

} // namespace

bool IsStorableRect(const GRect& r) {
    const auto within = [](std::int32_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; };
    return within(r.left) && within(r.top) && within(r.right) && within(r.bottom) &&
           r.left <= r.right && r.top <= r.bottom;
}

std::int32_t ScaleForLargeFonts(std::int32_t value) {
    return Truncated(value * kLargeFontScale);
}

void ApplyDpiOnCreate(int dpi, GRect& rect, std::int32_t& minWidth, std::int32_t& minHeight) {
    if (dpi < kLargeFontDpi)
        return;
    rect.right = ScaleForLargeFonts(rect.right);
    rect.bottom = ScaleForLargeFonts(rect.bottom);
    minWidth = ScaleForLargeFonts(minWidth);
    minHeight = ScaleForLargeFonts(minHeight);
}

void ApplyDpiOnRecreate(int dpi, const GRect& defaultRect, std::int32_t defaultMinWidth,
                        std::int32_t defaultMinHeight, GRect& rect, std::int32_t& minWidth,
                        std::int32_t& minHeight) {
    if (dpi < kLargeFontDpi)
        return;
    const std::int32_t width = ScaleForLargeFonts(defaultRect.Width());
    if (width > rect.Width())
        rect.right = rect.left + width;
    const std::int32_t height = ScaleForLargeFonts(defaultRect.Height());
    if (height > rect.Height())
        rect.bottom = rect.top + height;
    minWidth = std::max(minWidth, Truncated(defaultMinWidth * kLargeFontScale - 0.5));
    minHeight = std::max(minHeight, Truncated(defaultMinHeight * kLargeFontScale - 0.5));
}

GRect DataRect(const GRect& client, std::int32_t inset, std::int32_t titleHeight) {
    GRect r = client.Normalized().Deflated(inset);
    r.top += titleHeight;
    return r;
}

GRect RegionToRect(const GRect& data, double top, double left, double bottom, double right) {
    const GRect d = data.Normalized();
    const double w = d.Width();
    const double h = d.Height();
    return {Truncated(w * left + d.left), Truncated(h * top + d.top), Truncated(w * right + d.left),
            Truncated(h * bottom + d.top)};
}

GRect TitleBand(const GRect& client, std::int32_t titleHeight) {
    return {client.left, client.top, client.right, client.top + titleHeight};
}

GPoint TitleButtonPos(const GRect& band, std::int32_t titleHeight, std::int32_t borderWidth) {
    return {band.right - titleHeight, band.top + 2 * borderWidth};
}

GPoint TitleTextPos(const GRect& band, std::int32_t borderWidth, std::int32_t textHeight) {
    return {band.left + 2 * borderWidth,
            (band.top + 2 * borderWidth + band.bottom - textHeight) / 2};
}

GPoint MinTrackSize(std::int32_t minWidth, std::int32_t minHeight, std::int32_t titleTextWidth,
                    std::int32_t titleHeight) {
    if (minWidth == 0 && minHeight == 0)
        return {titleTextWidth, 2 * titleHeight};
    return {minWidth, minHeight};
}

GRect FramePlacer::Place(const GRect& rect, const GRect& client,
                         const std::vector<GPoint>& corners) {
    const GRect c = client.Normalized();
    const auto limit = static_cast<std::int32_t>(std::min(
        static_cast<std::int32_t>(0.5 * c.Width()), static_cast<std::int32_t>(0.5 * c.Height())));
    const auto isFree = [&corners](std::int32_t d) {
        return std::none_of(corners.begin(), corners.end(), [d](const GPoint& p) {
            return d >= p.x && d < p.x + kStep && d >= p.y && d < p.y + kStep;
        });
    };
    std::int32_t pos = -1;
    for (std::int32_t d = kStep; d <= limit; d += kStep)
        if (isFree(d)) {
            pos = d;
            m_counter = 0;
            break;
        }
    if (pos < 0) {
        pos = m_counter * kStep + kStep;
        if (pos > limit) {
            pos = kStep;
            m_counter = 0;
        }
        ++m_counter;
    }
    return {pos, pos, pos + rect.Width(), pos + rect.Height()};
}

FramePlacer& FramePlacer::Program() {
    static FramePlacer placer;
    return placer;
}

GPoint PrintViewportExtent(const GPoint& page, const GPoint& viewClient,
                           const GPoint* selectedClient) {
    if (selectedClient == nullptr || selectedClient->x <= 0 || selectedClient->y <= 0)
        return page;
    return {
        static_cast<std::int32_t>(static_cast<double>(page.x) * viewClient.x / selectedClient->x),
        static_cast<std::int32_t>(static_cast<double>(page.y) * viewClient.y / selectedClient->y)};
}

GPoint FooterPos(const GRect& draw, std::int32_t textHeight) {
    return {(draw.left + draw.right) / 2, draw.top + draw.bottom - textHeight};
}

std::int32_t NextScrollPosition(std::int32_t pos, ScrollCode code, std::int32_t page,
                                std::int32_t range, std::int32_t track) {
    std::int64_t next = pos;
    switch (code) {
    case ScrollCode::LineUp:
        next = std::int64_t{pos} - 1;
        break;
    case ScrollCode::LineDown:
        next = std::int64_t{pos} + 1;
        break;
    case ScrollCode::PageUp:
        next = std::int64_t{pos} - page;
        break;
    case ScrollCode::PageDown:
        next = std::int64_t{pos} + page;
        break;
    case ScrollCode::ThumbTrack:
        next = track;
        break;
    case ScrollCode::Top:
        next = 0;
        break;
    case ScrollCode::Bottom:
        next = range;
        break;
    case ScrollCode::ThumbPosition:
        break;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(next, 0, std::max(0, range)));
}

} // namespace graphgeo

std::int32_t NearestInt(double value) {
    if (std::isnan(value))
        return 0;
    const double r = std::round(value); // halves away from zero
    if (r <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    if (r >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

double IntPower(double value, int exponent) {
    // The magnitude as a wider type, so the smallest int negates safely.
    long long n = exponent;
    const bool negative = n < 0;
    if (negative)
        n = -n;
    double result = 1.0;
    double base = value;
    while (n > 0) {
        if (n & 1)
            result *= base;
        base *= base;
        n >>= 1;
    }
    return negative ? 1.0 / result : result;
}

bool ParseStrictDouble(std::string_view text, double& value) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::string rest(text.substr(i));
    char* end = nullptr;
    const double v = std::strtod(rest.c_str(), &end);
    if (v == 0.0 && (rest.empty() || rest[0] != '0'))
        return false;
    std::size_t j = static_cast<std::size_t>(end - rest.c_str());
    while (j < rest.size() && (rest[j] == ' ' || rest[j] == '\t'))
        ++j;
    if (j != rest.size())
        return false;
    value = v;
    return true;
}
