#pragma once
#include <cstdint>
#include <ctime>

namespace tvane {

// Local calendar time, as the program shows and stores it.
struct LocalTime {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 4; // 0 = Sunday
};

// The time sources of the program. The tick is a 32-bit millisecond counter that
// wraps like the instrument software has always assumed; code compares ticks by
// unsigned difference so the wrap is harmless.
class IClock {
public:
    virtual ~IClock() = default;
    virtual std::uint32_t TickCount() const = 0;
    // Seconds since 1970 (UTC).
    virtual std::int64_t Now() const = 0;
    // Local time of Now(), with milliseconds.
    virtual LocalTime LocalNow() const = 0;
};

class SystemClock final : public IClock {
public:
    std::uint32_t TickCount() const override;
    std::int64_t Now() const override;
    LocalTime LocalNow() const override;
};

// A clock that moves only when told; LocalNow() reads Now() in the local zone.
class FakeClock final : public IClock {
public:
    explicit FakeClock(std::int64_t now = 946684800, std::uint32_t tick = 0)
        : m_now(now), m_tick(tick) {}
    std::uint32_t TickCount() const override { return m_tick; }
    std::int64_t Now() const override { return m_now; }
    LocalTime LocalNow() const override;
    void SetTick(std::uint32_t tick) { m_tick = tick; }
    void SetNow(std::int64_t now) { m_now = now; }
    // Advances the tick (wrapping) and the wall time together.
    void Advance(std::uint32_t ms);

private:
    std::int64_t m_now;
    std::uint32_t m_tick;
    std::uint32_t m_msCarry = 0;
};

// The process-wide clock. Tests install their own with ScopedService.
IClock& Clock();
void SetClock(IClock* clock); // nullptr restores the system clock

// Converts seconds since 1970 to local time and back (mktime semantics).
LocalTime ToLocalTime(std::int64_t seconds);
std::int64_t FromLocalTime(const LocalTime& t);

} // namespace tvane
