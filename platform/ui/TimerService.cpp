#include "platform/ui/TimerService.h"

namespace tvane {

bool FakeTimerService::SetTimer(unsigned id, unsigned elapseMs) {
    m_active[id] = elapseMs;
    ++setCount;
    return true;
}

unsigned FakeTimerService::Elapse(unsigned id) const {
    auto it = m_active.find(id);
    return it == m_active.end() ? 0 : it->second;
}

bool FakeTimerService::Fire(unsigned id) {
    if (!IsActive(id) || !m_sink)
        return false;
    m_sink->OnTimer(id);
    return true;
}

namespace {
FakeTimerService g_defaultTimers;
ITimerService* g_timers = &g_defaultTimers;
} // namespace

ITimerService& TimerService() {
    return *g_timers;
}
void SetTimerService(ITimerService* service) {
    g_timers = service ? service : &g_defaultTimers;
}

} // namespace tvane
