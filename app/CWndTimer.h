#pragma once
#include <cstdint>

#include "platform/ui/TimerService.h"

// A window timer record: a timer with a fixed id on the window's timer service,
// whose ticks reach that window's sink by id. The document binds its records to
// the main frame, which forwards each tick to the document.
class CWndTimer {
public:
    CWndTimer() = default;
    ~CWndTimer() = default;
    CWndTimer(const CWndTimer&) = delete;
    CWndTimer& operator=(const CWndTimer&) = delete;

    void SetId(unsigned id) { m_id = id; }
    // The owner sets the window just before every start, so it is always the
    // current main frame.
    void SetWindow(tvane::ITimerService* window) { m_window = window; }

    // Restarts the timer with the new interval (Stop first); false when no timer
    // could be created, which leaves the record stopped.
    bool Start(unsigned elapseMs);
    // True at once when stopped; otherwise kills the timer and forgets it.
    bool Stop();

    bool IsRunning() const { return m_handle != 0; }
    unsigned Id() const { return m_id; }
    tvane::ITimerService* Window() const { return m_window; }

private:
    unsigned m_id = 0;
    // The created timer, 0 while stopped.
    unsigned m_handle = 0;
    tvane::ITimerService* m_window = nullptr;
    // The window the running timer was created on.
    tvane::ITimerService* m_timerWindow = nullptr;
};
