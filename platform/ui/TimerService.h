#pragma once
#include <map>

namespace tvane {

// Receives the timers that fire, by id (the main frame, which forwards them).
class ITimerSink {
public:
    virtual ~ITimerSink() = default;
    virtual void OnTimer(unsigned id) = 0;
};

// Window timers: a timer keeps its id; setting an id again restarts it with the
// new period. Timers fire on the user-interface thread only.
class ITimerService {
public:
    virtual ~ITimerService() = default;
    virtual bool SetTimer(unsigned id, unsigned elapseMs) = 0;
    virtual void KillTimer(unsigned id) = 0;
    virtual void SetSink(ITimerSink* sink) = 0;
};

ITimerService& TimerService();
void SetTimerService(ITimerService* service); // nullptr restores a FakeTimerService

// Timers that fire only when a test says so.
class FakeTimerService final : public ITimerService {
public:
    bool SetTimer(unsigned id, unsigned elapseMs) override;
    void KillTimer(unsigned id) override { m_active.erase(id); }
    void SetSink(ITimerSink* sink) override { m_sink = sink; }

    bool IsActive(unsigned id) const { return m_active.count(id) != 0; }
    unsigned Elapse(unsigned id) const;
    // Delivers the timer to the sink if it is running; false otherwise.
    bool Fire(unsigned id);
    int setCount = 0;

private:
    std::map<unsigned, unsigned> m_active;
    ITimerSink* m_sink = nullptr;
};

} // namespace tvane
