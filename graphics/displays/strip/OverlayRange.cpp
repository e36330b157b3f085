#include "graphics/displays/strip/OverlayRange.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"

bool OverlayChannel::IsBitSet(double value) const {
    // A value beyond 32 bits (an overload) has no bits to test.
    if (!(std::fabs(value) < 4294967296.0))
        return false;
    const auto bits = static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
    return (bits & bitMask) == bitMask;
}

OverlayRange OverlayRange::TimeDefault() {
    OverlayRange r;
    r.mantissa = 2;
    r.decade = 60.0;
    r.scale = 120.0;
    r.divisions = 10;
    return r;
}

namespace overlay {

tvane::chart::ChartRect MapLine(const tvane::chart::ChartRect& line, bool vertical,
                                const tvane::chart::ChartRect& from,
                                const tvane::chart::ChartRect& to) {
    const auto map = [](int at, int fromStart, int fromSize, int toStart, int toSize) {
        const int moved =
            fromSize > 0 ? toStart + static_cast<int>(std::lround(
                                         static_cast<double>(at - fromStart) * toSize / fromSize))
                         : at;
        return std::clamp(moved, toStart, std::max(toStart, toStart + toSize - 1));
    };
    if (vertical) {
        const int x = map(line.left, from.left, from.Width(), to.left, to.Width());
        return {x, to.top, x, to.bottom};
    }
    const int y = map(line.top, from.top, from.Height(), to.top, to.Height());
    return {to.left, y, to.right, y};
}

namespace {

// Repeated multiplying by tenths drifts; decades are kept at 12 digits so that
// the whole-number tests below see 10, 60 and 600 as such.
double Tidy(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.12g", value);
    return std::strtod(text, nullptr);
}

void TimeStep(OverlayRange& r, bool up) {
    if (up) {
        if (r.mantissa == 1) {
            r.mantissa = 2;
        } else if (r.mantissa == 2) {
            r.mantissa = 5;
        } else {
            r.mantissa = 1;
            const auto whole = static_cast<long long>(r.decade);
            r.decade = whole == 10 ? 60.0 : whole == 600 ? 3600.0 : Tidy(r.decade * 10.0);
        }
    } else {
        if (r.mantissa == 5) {
            r.mantissa = 2;
        } else if (r.mantissa == 2) {
            r.mantissa = 1;
        } else {
            r.mantissa = 5;
            const auto whole = static_cast<long long>(r.decade);
            r.decade = whole == 60 ? 10.0 : whole == 3600 ? 600.0 : Tidy(r.decade * 0.1);
        }
    }
    r.scale = Tidy(r.mantissa * r.decade);
}

} // namespace

void StepTimePerDivision(OverlayRange& range, bool up) {
    TimeStep(range, up);
    if (up && range.scale > 10000.0)
        TimeStep(range, false);
    else if (!up && range.scale < 0.01 - 1e-12)
        TimeStep(range, true);
}

bool SnapScale(OverlayRange& range, double wanted) {
    char text[64];
    std::snprintf(text, sizeof text, "%E", wanted);
    const char* p = text;
    if (*p == '-')
        ++p;
    const int digit = *p >= '0' && *p <= '9' ? *p - '0' : 0;
    const char* e = std::strchr(text, 'E');
    const int exponent = (e ? std::atoi(e + 1) : 0) + 1;
    int mantissa = 1;
    double decade = std::pow(10.0, exponent);
    if (digit > 5) {
        mantissa = 5;
    } else if (digit == 0) {
        mantissa = 5;
        decade = std::pow(10.0, exponent - 1);
    } else if (digit <= 2) {
        mantissa = 1;
    } else {
        mantissa = 2;
    }
    decade = Tidy(decade);
    const bool changed = mantissa != range.mantissa || decade != range.decade;
    range.mantissa = mantissa;
    range.decade = decade;
    range.scale = Tidy(mantissa * decade);
    return changed;
}

void StepUnitsPerDivision(OverlayRange& range, bool up) {
    if (up) {
        if (range.scale >= 5e11)
            return;
        if (range.mantissa == 1) {
            range.mantissa = 2;
        } else if (range.mantissa == 2) {
            range.mantissa = 5;
        } else {
            range.mantissa = 1;
            range.decade = Tidy(range.decade * 10.0);
        }
    } else {
        if (range.scale <= 1e-11)
            return;
        if (range.mantissa == 1) {
            range.mantissa = 5;
            range.decade = Tidy(range.decade * 0.1);
        } else if (range.mantissa == 2) {
            range.mantissa = 1;
        } else {
            range.mantissa = 2;
        }
    }
    range.scale = Tidy(range.mantissa * range.decade);
}

void StepReference(OverlayRange& range, bool up) {
    const double delta = range.scale / 10.0;
    if (up) {
        if (range.reference > -1e15)
            range.reference -= delta;
    } else if (range.reference < 1e15) {
        range.reference += delta;
    }
    if (std::fabs(range.reference) < delta)
        range.reference = 0.0;
}

double NormalisedOffset(double reference, double scale, double span) {
    if (scale == 0.0)
        return 0.0;
    return -span * reference / (scale * 8.0);
}

} // namespace overlay

namespace {

void SerializeChannel(tvane::CArchive& ar, OverlayChannel& c) {
    if (ar.IsStoring()) {
        ar << c.number << c.label << c.name << c.kind << c.bitMask << c.units;
    } else {
        ar >> c.number >> c.label >> c.name >> c.kind >> c.bitMask >> c.units;
    }
}

} // namespace

void SerializeOverlayRange(tvane::CArchive& ar, OverlayRange& r) {
    if (ar.IsStoring()) {
        ar << r.mantissa << r.decade << r.scale << r.normOffset << r.reference << r.divisions;
    } else {
        ar >> r.mantissa >> r.decade >> r.scale >> r.normOffset >> r.reference >> r.divisions;
        // Divisions and the scale divide the axis: a damaged value would not draw.
        if (r.divisions < 1 || r.divisions > 1000 || !(r.scale > 0.0) || !std::isfinite(r.scale))
            throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                           "range divisions or scale out of range");
    }
    SerializeChannel(ar, r.channel);
}
