#pragma once
#include <cstdint>

#include "platform/ui/TimerService.h"

namespace tvane {
class ICommandTarget;
}

// Timers without a window: each one gets an id from the window-less timer
// service, and a process-wide map sends every tick to the timer object that owns
// the id. Nothing in the program uses them yet; they are a general facility.
class CAppTimer {
public:
    CAppTimer() = default;
    virtual ~CAppTimer();
    CAppTimer(const CAppTimer&) = delete;
    CAppTimer& operator=(const CAppTimer&) = delete;

    // Restarts with the new interval; false when no timer could be created.
    virtual bool Start(unsigned elapseMs);
    // True at once when stopped.
    virtual bool Stop();

    unsigned TimerId() const { return m_timerId; }
    // The tick count at the last expiry, set before each OnTimer.
    std::uint32_t TickTime() const { return m_tickTime; }

    // Delivers one expiry of a window-less timer; ids not in the map (an expiry
    // that raced with Stop) are ignored.
    static void Dispatch(unsigned timerId, std::uint32_t tickTime);
    // The service that runs the window-less timers; the family becomes its sink.
    // nullptr restores the default, a fake that fires only when told.
    static void SetService(tvane::ITimerService* service);
    static tvane::ITimerService& Service();

protected:
    virtual void OnTimer() = 0;

private:
    unsigned m_timerId = 0;
    std::uint32_t m_tickTime = 0;
};

// Calls a timer procedure (window, message, timer id, tick time) with no window.
class CProcTimer : public CAppTimer {
public:
    using TimerProc = void (*)(void* window, unsigned message, unsigned timerId,
                               std::uint32_t tickTime);
    CProcTimer() = default;
    explicit CProcTimer(TimerProc proc) : m_proc(proc) {}
    ~CProcTimer() override = default;
    // A non-zero stopFirst stops the timer before the change.
    void SetProc(TimerProc proc, int stopFirst);

protected:
    void OnTimer() override;

private:
    TimerProc m_proc = nullptr;
};

// Routes a command: through its target when it has one, else to the main window.
class CCmdTimer : public CAppTimer {
public:
    CCmdTimer() = default;
    CCmdTimer(std::uint16_t commandId, tvane::ICommandTarget* target)
        : m_commandId(commandId), m_target(target) {}
    ~CCmdTimer() override = default;
    void SetCommandId(std::uint16_t commandId, int stopFirst);
    void SetTarget(tvane::ICommandTarget* target, int stopFirst);

protected:
    void OnTimer() override;

private:
    std::uint16_t m_commandId = 0;
    tvane::ICommandTarget* m_target = nullptr;
};

// Sends a timer message with its own id to a window.
class CMsgTimer : public CAppTimer {
public:
    CMsgTimer() = default;
    explicit CMsgTimer(tvane::ITimerSink* window) : m_window(window) {}
    ~CMsgTimer() override = default;
    void SetWindow(tvane::ITimerSink* window, int stopFirst);

protected:
    void OnTimer() override;

private:
    tvane::ITimerSink* m_window = nullptr;
};

constexpr unsigned WM_TIMER = 0x0113;
