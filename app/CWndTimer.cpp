#include "app/CWndTimer.h"

bool CWndTimer::Start(unsigned elapseMs) {
    Stop();
    // Id 0 cannot be told apart from "not running".
    if (!m_window || m_id == 0)
        return false;
    if (!m_window->SetTimer(m_id, elapseMs))
        return false;
    m_handle = m_id;
    return true;
}

bool CWndTimer::Stop() {
    if (m_handle == 0)
        return true;
    if (m_window)
        m_window->KillTimer(m_handle);
    m_handle = 0;
    return true;
}
