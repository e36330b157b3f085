#include "scan/ValueFormat.h"

#include "platform/core/Format.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

using tvane::Format;

namespace {

// Whole units of a double, clamped so that absurd inputs cannot overflow the cast.
long long TruncateToLong(double v) {
    if (std::isnan(v))
        return 0;
    constexpr double limit = 9.0e18;
    if (v >= limit)
        return static_cast<long long>(limit);
    if (v <= -limit)
        return -static_cast<long long>(limit);
    return static_cast<long long>(v);
}

bool IsFixedNotationUnit(const std::string& unit) {
    return unit.empty() || unit == "C" || unit == "F" || unit == "K";
}

} // namespace

char SplitEngineeringValue(double* value) {
    std::string text = Format("%E", *value);
    std::size_t e = text.find('E');
    if (e == std::string::npos)
        return ' ';
    int exponent = std::atoi(text.c_str() + e + 1);
    char prefix;
    int factorExponent;
    if (exponent >= -12 && exponent <= -10) {
        prefix = 'p';
        factorExponent = 12;
    } else if (exponent >= -9 && exponent <= -7) {
        prefix = 'n';
        factorExponent = 9;
    } else if (exponent >= -6 && exponent <= -4) {
        prefix = 'u';
        factorExponent = 6;
    } else if (exponent >= -3 && exponent <= -1) {
        prefix = 'm';
        factorExponent = 3;
    } else if (exponent >= 0 && exponent <= 2) {
        prefix = ' ';
        factorExponent = 0;
    } else if (exponent >= 3 && exponent <= 5) {
        prefix = 'K';
        factorExponent = -3;
    } else if (exponent >= 6 && exponent <= 8) {
        prefix = 'M';
        factorExponent = -6;
    } else if (exponent >= 9 && exponent <= 12) {
        prefix = 'G';
        factorExponent = -9;
    } else {
        return ' ';
    }
    *value *= std::pow(10.0, factorExponent);
    return prefix;
}

void NormalizeUnitText(const std::string& unit, std::string& out) {
    if (unit == "VDC")
        out = "Vdc";
    else if (unit == "VAC")
        out = "Vac";
    else if (unit == "OHM")
        out = "Ohm";
    else if (unit == "HZ")
        out = "Hz";
    else if (unit == "SEC")
        out = "s";
    else
        out = unit;
}

void FormatValue(double value, const std::string& unit, std::string& out, int digits) {
    if (IsFixedNotationUnit(unit)) {
        double magnitude = std::fabs(value);
        if (value == 0.0 || (magnitude > 1e-6 && magnitude < 1e6)) {
            std::string fixed = Format("%8.8f", value);
            if (value >= 0.0)
                out = Format("%8.8s %s", fixed.c_str(), unit.c_str());
            else
                out = Format("-%8.8s %s", fixed.c_str() + 1, unit.c_str());
        } else {
            out = Format("%G %s", value, unit.c_str());
        }
        return;
    }
    double scaled = value;
    char prefix = SplitEngineeringValue(&scaled);
    std::string normal;
    NormalizeUnitText(unit, normal);
    double magnitude = std::fabs(scaled);
    if (magnitude < 1.0 || magnitude > 1000.0) {
        out = Format("%.*g%c%s", digits, scaled, prefix, normal.c_str());
        return;
    }
    // The fixed text is at least ten characters long, so width and precision
    // `digits` simply cut it to that many characters.
    std::string fixed = Format("%8.8f", scaled);
    if (scaled >= 0.0)
        out = Format("%*.*s %c%s", digits, digits, fixed.c_str(), prefix, normal.c_str());
    else
        out = Format("-%*.*s %c%s", digits, digits, fixed.c_str() + 1, prefix, normal.c_str());
}

void FormatEngineering(const std::string& text, std::string& out) {
    static const struct {
        const char* from;
        const char* to;
    } replacements[] = {{" ", ""},    {"G", "E+9"}, {"M", "E+6"}, {"K", "E+3"},
                        {"m", "E-3"}, {"u", "E-6"}, {"n", "E-9"}, {"p", "E-12"}};
    out = text;
    for (const auto& r : replacements) {
        std::string result;
        std::size_t from = std::strlen(r.from);
        std::size_t pos = 0;
        for (std::size_t hit; (hit = out.find(r.from, pos)) != std::string::npos; pos = hit + from)
            result.append(out, pos, hit - pos).append(r.to);
        result.append(out, pos, std::string::npos);
        out.swap(result);
    }
}

namespace {

void FormatInterval(double seconds, std::string& out, int digits) {
    if (seconds <= 59.0) {
        double scaled = seconds;
        char prefix = SplitEngineeringValue(&scaled);
        if (prefix == ' ')
            out = Format("%.*gs", digits, scaled);
        else
            out = Format("%.*g%cs", digits, scaled, prefix);
        return;
    }
    long long hours = TruncateToLong(seconds / 3600.0);
    long long rest = TruncateToLong(seconds) % 3600;
    long long minutes = rest / 60;
    if (hours > 0) {
        if (hours > 23)
            hours %= 24;
        out = Format("%.02lld:%.02lldhr", hours, minutes);
    } else {
        out = Format("%.02lld:%.02lldmin", minutes, rest % 60);
    }
}

} // namespace

void FormatTimeInterval(double seconds, std::string& out) {
    FormatInterval(seconds, out, 6);
}

void FormatTimeIntervalText(double milliseconds, char* buffer, std::size_t size, int digits) {
    if (buffer == nullptr || size == 0)
        return;
    std::string text;
    FormatInterval(milliseconds / 1000.0, text, digits);
    std::snprintf(buffer, size, "%s", text.c_str());
}

void FormatDuration(double milliseconds, std::string& out, bool withMilliseconds) {
    int ms = static_cast<int>(TruncateToLong(std::fmod(milliseconds, 1000.0)));
    long long span = TruncateToLong(milliseconds / 1000.0);
    long long days = span / 86400;
    int hours = static_cast<int>(span / 3600 % 24);
    int minutes = static_cast<int>(span / 60 % 60);
    int secs = static_cast<int>(span % 60);
    if (withMilliseconds) {
        if (days != 0)
            out = Format("%lld days %02d:%02d:%02d.%03d", days, hours, minutes, secs, ms);
        else
            out = Format("%02d:%02d:%02d.%03d", hours, minutes, secs, ms);
    } else {
        if (days != 0)
            out = Format("%lld days %02d:%02d:%02d", days, hours, minutes, secs);
        else
            out = Format("%02d:%02d:%02d", hours, minutes, secs);
    }
}
