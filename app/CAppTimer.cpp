#include "app/CAppTimer.h"

#include <mutex>
#include <unordered_map>

#include "platform/core/Clock.h"
#include "shared/MainWindow.h"

namespace {

class Dispatcher final : public tvane::ITimerSink {
public:
    void OnTimer(unsigned id) override { CAppTimer::Dispatch(id, tvane::Clock().TickCount()); }
};

// Never destroyed, so timers that outlive static destruction can still stop.
struct Family {
    std::recursive_mutex lock;
    std::unordered_map<unsigned, CAppTimer*> timers;
    unsigned lastId = 0;
    tvane::FakeTimerService fallback;
    tvane::ITimerService* service = nullptr;
    Dispatcher dispatcher;

    Family() {
        fallback.SetSink(&dispatcher);
        service = &fallback;
    }
    // A fresh non-zero id that no running timer holds.
    unsigned NextId() {
        do {
            ++lastId;
        } while (lastId == 0 || timers.count(lastId) != 0);
        return lastId;
    }
};

Family& TheFamily() {
    static Family* family = new Family;
    return *family;
}

} // namespace

CAppTimer::~CAppTimer() {
    CAppTimer::Stop();
}

bool CAppTimer::Start(unsigned elapseMs) {
    Stop();
    Family& family = TheFamily();
    std::lock_guard<std::recursive_mutex> guard(family.lock);
    const unsigned id = family.NextId();
    if (!family.service->SetTimer(id, elapseMs))
        return false;
    m_timerId = id;
    family.timers[id] = this;
    return true;
}

bool CAppTimer::Stop() {
    if (m_timerId == 0)
        return true;
    Family& family = TheFamily();
    std::lock_guard<std::recursive_mutex> guard(family.lock);
    family.service->KillTimer(m_timerId);
    family.timers.erase(m_timerId);
    m_timerId = 0;
    return true;
}

void CAppTimer::Dispatch(unsigned timerId, std::uint32_t tickTime) {
    Family& family = TheFamily();
    // OnTimer runs with the lock held; the same thread may start or stop timers
    // from inside it.
    std::lock_guard<std::recursive_mutex> guard(family.lock);
    auto it = family.timers.find(timerId);
    if (it == family.timers.end())
        return;
    CAppTimer* timer = it->second;
    timer->m_tickTime = tickTime;
    timer->OnTimer();
}

void CAppTimer::SetService(tvane::ITimerService* service) {
    Family& family = TheFamily();
    std::lock_guard<std::recursive_mutex> guard(family.lock);
    family.service = service ? service : &family.fallback;
    family.service->SetSink(&family.dispatcher);
}

tvane::ITimerService& CAppTimer::Service() {
    return *TheFamily().service;
}

void CProcTimer::SetProc(TimerProc proc, int stopFirst) {
    if (stopFirst)
        Stop();
    m_proc = proc;
}

void CProcTimer::OnTimer() {
    if (m_proc)
        m_proc(nullptr, WM_TIMER, TimerId(), TickTime());
}

void CCmdTimer::SetCommandId(std::uint16_t commandId, int stopFirst) {
    if (stopFirst)
        Stop();
    m_commandId = commandId;
}

void CCmdTimer::SetTarget(tvane::ICommandTarget* target, int stopFirst) {
    if (stopFirst)
        Stop();
    m_target = target;
}

void CCmdTimer::OnTimer() {
    if (m_target) {
        m_target->OnCmdMsg(m_commandId, 0);
        return;
    }
    if (tvane::IMainWindow* window = tvane::MainWindow())
        window->SendCommand(m_commandId);
}

void CMsgTimer::SetWindow(tvane::ITimerSink* window, int stopFirst) {
    if (stopFirst)
        Stop();
    m_window = window;
}

void CMsgTimer::OnTimer() {
    if (m_window)
        m_window->OnTimer(TimerId());
}
