#pragma once
#include "platform/core/Clock.h"

#include <compare>
#include <cstdint>

namespace tvane {

// A moment in whole seconds since 1970 (UTC). Archives hold it as 32 bits.
class CTime {
public:
    constexpr CTime() = default;
    constexpr explicit CTime(std::int64_t seconds) : m_time(seconds) {}
    // From local calendar fields (mktime rules: the zone decides daylight saving).
    explicit CTime(const LocalTime& local) : m_time(FromLocalTime(local)) {}
    CTime(int year, int month, int day, int hour, int minute, int second)
        : CTime(LocalTime{year, month, day, hour, minute, second, 0, 0}) {}

    // The process clock's now (the clock tests install applies).
    static CTime GetCurrentTime() { return CTime(Clock().Now()); }

    constexpr std::int64_t GetTime() const { return m_time; }
    LocalTime GetLocalTm() const { return ToLocalTime(m_time); }

    constexpr auto operator<=>(const CTime&) const = default;
    // Difference in seconds.
    constexpr std::int64_t operator-(const CTime& other) const { return m_time - other.m_time; }
    constexpr CTime operator+(std::int64_t seconds) const { return CTime(m_time + seconds); }
    constexpr CTime operator-(std::int64_t seconds) const { return CTime(m_time - seconds); }

private:
    std::int64_t m_time = 0;
};

} // namespace tvane
