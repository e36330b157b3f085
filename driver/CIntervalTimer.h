#pragma once
#include <cstdint>

namespace tvane::driver {

// Paces the simulated scans on the wrapping millisecond tick. A late poll
// catches up by one interval per call, never more, so the caller sees every
// scan one poll at a time.
class CIntervalTimer {
public:
    void Clear() {
        m_interval = 0;
        m_start = 0;
    }
    void Start(std::uint32_t interval, std::uint32_t now) {
        m_interval = interval;
        m_start = now;
    }
    void ResetStart() { m_start = 0; }
    bool Elapsed(std::uint32_t now) {
        // Unsigned difference keeps the tick wrap harmless.
        if (static_cast<std::uint32_t>(now - m_start) < m_interval)
            return false;
        m_start += m_interval;
        return true;
    }
    std::uint32_t Interval() const { return m_interval; }
    std::uint32_t StartTick() const { return m_start; }

private:
    std::uint32_t m_interval = 0;
    std::uint32_t m_start = 0;
};

} // namespace tvane::driver
