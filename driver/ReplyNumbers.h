#pragma once
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace tvane::driver {

// Numbers taken from the instrument's replies are checked before they are stored
// in a narrower type: a reply that is not finite or does not fit is malformed
// (the driver's error 1008), never a cast out of range.

// The integer part of value when it is finite and fits T.
template <typename T> std::optional<T> IntegerOf(double value) {
    using Limits = std::numeric_limits<T>;
    constexpr double low = Limits::is_signed ? static_cast<double>(Limits::min()) : 0.0;
    // One past the largest value: a power of two, so exact as a double.
    constexpr double end =
        Limits::is_signed ? -low : 2.0 * static_cast<double>(Limits::max() / 2 + 1);
    if (!std::isfinite(value))
        return std::nullopt;
    const double whole = std::trunc(value);
    if (whole < low || whole >= end)
        return std::nullopt;
    return static_cast<T>(whole);
}

// The number text starts with, read as atol reads it (leading blanks and a sign,
// up to the first non-digit; no digits is 0), when it fits T.
template <typename T> std::optional<T> ParseInteger(const char* text) {
    static_assert(sizeof(T) < sizeof(long long), "read into a wider type first");
    errno = 0;
    const long long value = std::strtoll(text, nullptr, 10);
    if (errno == ERANGE || value < static_cast<long long>(std::numeric_limits<T>::min()) ||
        value > static_cast<long long>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(value);
}

} // namespace tvane::driver
