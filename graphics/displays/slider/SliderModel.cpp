#include "graphics/displays/slider/SliderModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string FormatG(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Truncated toward zero, within the 32-bit range (no number gives 0).
std::int32_t Trunc(double value) {
    if (!(value == value))
        return 0;
    return static_cast<std::int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

} // namespace

// --- Value and range ---------------------------------------------------------------------

void SliderModel::SetRange(double lower, double upper) {
    m_lower = lower;
    m_upper = upper;
    m_span = upper - lower;
    m_lowerText = FormatG(lower);
    m_upperText = FormatG(upper);
}

bool SliderModel::SetValue(double value, bool snap) {
    if (value < m_lower)
        value = m_lower;
    else if (value > m_upper)
        value = m_upper;
    else if (snap)
        value = Snap(value);
    if (std::fabs(value) < kZero)
        value = 0.0;
    const double previous = m_value;
    m_value = value;
    return previous != m_value;
}

void SliderModel::SetResolution(double resolution) {
    m_resolution = resolution;
    const bool horizontal = m_orientation == kHorizontal;
    const double extent = horizontal ? m_track.Width() : m_track.Height();
    const double origin = horizontal ? m_track.left : m_track.top;
    m_stepPixels = m_span > 0.0 ? Trunc((extent * resolution + origin) / m_span + 0.5) : 0;
}

void SliderModel::SetStateBits(std::uint32_t bits, bool on) {
    m_state = on ? m_state | bits : m_state & ~bits;
}

double SliderModel::Snap(double value) const {
    const double r = m_resolution;
    value = std::clamp(value, m_lower, std::max(m_lower, m_upper));
    if (!(r > 0.0))
        return value;
    // The grid point at or below value, then the nearer of it and the next;
    // the grid ends at the upper limit.
    const double g = m_lower + std::floor((value - m_lower) / r) * r;
    if (g >= m_upper)
        return m_upper;
    return value - g < (g + r) - value ? g : std::min(g + r, m_upper);
}

double SliderModel::Page() const {
    return std::max(m_span / 10.0, m_resolution);
}

double SliderModel::PageMarkAbove(double value) const {
    const double page = Page();
    if (!(page > 0.0) || !std::isfinite(page))
        return value;
    if (value == m_lower)
        return m_lower + page;
    double mark = m_lower;
    while (mark <= value)
        mark += page;
    if (mark - value < m_resolution)
        mark += page;
    return mark;
}

double SliderModel::PageMarkBelow(double value) const {
    const double page = Page();
    if (!(page > 0.0) || !std::isfinite(page))
        return value;
    if (value == m_upper)
        return m_upper - page;
    double mark = m_upper;
    while (mark >= value)
        mark -= page;
    if (value - mark < m_resolution)
        mark -= page;
    return mark;
}

// --- Geometry ----------------------------------------------------------------------------

GRect SliderModel::LayoutTrack(const GRect& client, std::int32_t orientation, int lowerTextWidth,
                               int upperTextWidth, int textHeight) {
    GRect track = client;
    if (orientation == kHorizontal) {
        track.left += lowerTextWidth + 4;
        track.right -= upperTextWidth + 4;
    }
    const int band = 3 * textHeight / 2 + 4;
    track.top += band;
    track.bottom -= band;
    return track.Normalized();
}

GRect SliderModel::Thumb() const {
    const double share = m_span != 0.0 ? (m_value - m_lower) / m_span : 0.0;
    if (m_orientation == kHorizontal) {
        const int p = m_track.left + Trunc(m_track.Width() * share);
        return {p - 4, m_track.top + 6, p + 4, m_track.bottom - 6};
    }
    const int p = m_track.bottom - Trunc(m_track.Height() * share);
    return {m_track.left + 9, p - 4, m_track.right - 9, p + 4};
}

GRect SliderModel::Groove() const {
    GRect groove = m_track;
    if (m_orientation == kHorizontal) {
        const int middle = (m_track.top + m_track.bottom) / 2;
        groove.top = middle - 2;
        groove.bottom = middle + 2;
    } else {
        const int middle = (m_track.left + m_track.right) / 2;
        groove.left = middle - 2;
        groove.right = middle + 2;
    }
    return groove;
}

std::vector<std::int32_t> SliderModel::TickPositions() const {
    const GRect groove = Groove();
    const bool horizontal = m_orientation == kHorizontal;
    const int start = horizontal ? groove.left : groove.top;
    const int end = horizontal ? groove.right : groove.bottom;
    const double length = end - start;
    std::vector<std::int32_t> ticks{start};
    for (int i = 1; i <= 9; ++i)
        ticks.push_back(Trunc(i * length / 10.0 + start + 0.5));
    ticks.push_back(end);
    return ticks;
}

double SliderModel::PixelToValue(GPoint point) const {
    if (m_orientation == kHorizontal) {
        const double width = m_track.Width();
        return width > 0 ? (point.x - m_track.left) / width * m_span + m_lower : m_lower;
    }
    const double height = m_track.Height();
    return height > 0 ? m_upper - (point.y - m_track.top) / height * m_span : m_upper;
}

// --- Input -------------------------------------------------------------------------------

SliderModel::Outcome SliderModel::Step(double delta, int code) {
    Outcome out;
    m_step = delta;
    out.valueChanged = SetValue(m_value + delta, false);
    out.code = code;
    return out;
}

SliderModel::Outcome SliderModel::Press(GPoint point, bool repeatRunning) {
    m_state &= ~kInteraction;
    const GRect thumb = Thumb();
    const bool horizontal = m_orientation == kHorizontal;
    const int at = horizontal ? point.x : point.y;
    const int low = horizontal ? thumb.left : thumb.top;
    const int high = horizontal ? thumb.right : thumb.bottom;
    Outcome out;
    if (at < low || at > high) {
        const bool before = at < low;
        // Left of a horizontal thumb steps down; above a vertical one, up.
        const double sign = before == horizontal ? -1.0 : 1.0;
        m_state |= horizontal ? (before ? kStepLeft : kStepRight) : (before ? kStepUp : kStepDown);
        out = Step(sign * m_resolution, before ? kStepLow : kStepHigh);
        out.startTimer = true;
    } else {
        m_state |= kDragging;
    }
    out.stopTimer = repeatRunning;
    out.capture = true;
    return out;
}

SliderModel::Outcome SliderModel::Move(GPoint point) {
    Outcome out;
    if (!(m_state & kDragging))
        return out;
    const GRect room{m_track.left - 5, m_track.top - 5, m_track.right + 5, m_track.bottom + 5};
    point.x = std::clamp(point.x, room.left, room.right);
    point.y = std::clamp(point.y, room.top, room.bottom);
    m_step = 0.0;
    out.valueChanged = SetValue(PixelToValue(point), false);
    out.code = kDrag;
    return out;
}

SliderModel::Outcome SliderModel::Repeat(GPoint cursor) {
    Outcome out;
    if (!(m_state & (kStepLeft | kStepRight | kStepUp | kStepDown)))
        return out;
    if (m_value < m_lower || m_value > m_upper)
        return out;
    const GRect thumb = Thumb();
    if (m_orientation == kHorizontal) {
        if (cursor.x < thumb.left)
            return Step(-m_resolution, kStepLow);
        if (cursor.x > thumb.right)
            return Step(m_resolution, kStepHigh);
    } else {
        if (cursor.y < thumb.top)
            return Step(m_resolution, kStepLow);
        if (cursor.y > thumb.bottom)
            return Step(-m_resolution, kStepHigh);
    }
    return out;
}

SliderModel::Outcome SliderModel::Release() {
    Outcome out;
    m_state &= ~kInteraction;
    out.release = true;
    out.stopTimer = true;
    out.code = kEnd;
    return out;
}

SliderModel::Outcome SliderModel::Cancel(bool repeatRunning) {
    Outcome out;
    m_state &= ~kInteraction;
    out.stopTimer = repeatRunning;
    out.release = true;
    return out;
}

SliderModel::Outcome SliderModel::KeyDown(Key key) {
    Outcome out;
    switch (key) {
    case Key::Left:
    case Key::Down:
        m_state |= kStepLeft;
        out = Step(-m_resolution, kLine);
        break;
    case Key::Right:
    case Key::Up:
        m_state |= kStepRight;
        out = Step(m_resolution, kLine);
        break;
    case Key::PageUp:
        m_state |= kStepLeft;
        m_step = Page();
        out.valueChanged = SetValue(PageMarkAbove(m_value), false);
        out.code = kStepLow;
        break;
    case Key::PageDown:
        m_state |= kStepRight;
        m_step = -Page();
        out.valueChanged = SetValue(PageMarkBelow(m_value), false);
        out.code = kStepLow;
        break;
    case Key::Home:
        m_state |= kStepRight;
        m_step = 0.0;
        out.valueChanged = SetValue(m_upper, false);
        out.code = kHome;
        break;
    case Key::End:
        m_state |= kStepRight;
        m_step = 0.0;
        out.valueChanged = SetValue(m_lower, false);
        out.code = kEndKey;
        break;
    case Key::Tab:
        out.forwardKey = true;
        break;
    case Key::Other:
        break;
    }
    // The key's own step ends with it; its release ends the interaction.
    m_state &= ~kInteraction;
    return out;
}

SliderModel::Outcome SliderModel::KeyUp() {
    Outcome out;
    m_state &= ~kInteraction;
    out.code = kEnd;
    return out;
}
