#include "app/CWndTimer.h"

bool CWndTimer::Start(unsigned elapseMs) {
    Stop();
    // Id 0 cannot be told apart from "not running".
    if (!m_window || m_id == 0)
        return false;
    if (!m_window->SetTimer(m_id, elapseMs))
        return false;
    m_handle = m_id;
    m_timerWindow = m_window;
    return true;
}

bool CWndTimer::Stop() {
    if (m_handle == 0)
        return true;
    // Killed where it was created, even if the owner has bound a new window
    // since; otherwise the old window would keep ticking.
    m_timerWindow->KillTimer(m_handle);
    m_handle = 0;
    m_timerWindow = nullptr;
    return true;
}
