#include "platform/core/Clock.h"

#include <chrono>

namespace tvane {

std::uint32_t SystemClock::TickCount() const {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

std::int64_t SystemClock::Now() const {
    return static_cast<std::int64_t>(std::time(nullptr));
}

LocalTime SystemClock::LocalNow() const {
    using namespace std::chrono;
    auto now = system_clock::now();
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
    LocalTime t = ToLocalTime(ms / 1000);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}

LocalTime FakeClock::LocalNow() const {
    LocalTime t = ToLocalTime(m_now);
    t.millisecond = static_cast<int>(m_msCarry);
    return t;
}

void FakeClock::Advance(std::uint32_t ms) {
    m_tick += ms;
    std::uint64_t total = m_msCarry + static_cast<std::uint64_t>(ms);
    m_now += static_cast<std::int64_t>(total / 1000);
    m_msCarry = static_cast<std::uint32_t>(total % 1000);
}

namespace {
SystemClock g_systemClock;
IClock* g_clock = &g_systemClock;
} // namespace

IClock& Clock() {
    return *g_clock;
}
void SetClock(IClock* clock) {
    g_clock = clock ? clock : &g_systemClock;
}

LocalTime ToLocalTime(std::int64_t seconds) {
    std::time_t tt = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&tt, &tm);
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.dayOfWeek = tm.tm_wday;
    return t;
}

std::int64_t FromLocalTime(const LocalTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

} // namespace tvane
