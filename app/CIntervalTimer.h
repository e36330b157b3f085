#pragma once
#include <cstdint>

// A tick-count interval with no system timer behind it. Its owner polls it from
// inside another timer's tick with the current tick count. The phase is kept: a due
// interval advances the start by exactly one interval, so the next due time counts
// from when this one was due, not from when it was noticed.
class CIntervalTimer {
public:
    CIntervalTimer() = default;

    bool Set(std::uint32_t interval, std::uint32_t now) {
        m_interval = interval;
        m_startTick = now;
        return true;
    }
    // Keeps the interval; the owner calls Set before polling again.
    bool Reset() {
        m_startTick = 0;
        return true;
    }
    // Unsigned 32-bit arithmetic makes a wrap of the tick counter harmless. Missed
    // intervals are reported one per call until the start has caught up.
    bool IsDue(std::uint32_t now) {
        const std::uint32_t elapsed = now - m_startTick;
        if (m_interval > elapsed)
            return false;
        m_startTick = now - (elapsed - m_interval);
        return true;
    }

    std::uint32_t Interval() const { return m_interval; }
    std::uint32_t StartTick() const { return m_startTick; }

private:
    std::uint32_t m_interval = 0;
    std::uint32_t m_startTick = 0;
};
