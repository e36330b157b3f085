#include "scan/COleDriver.h"

IMPLEMENT_DYNCREATE(COleDriver, tvane::CObject)

BOOL COleDriver::Create(const std::string&) {
    return FALSE;
}

BOOL COleDriver::GetLastCommError() {
    return FALSE;
}

BOOL COleDriver::GetError(std::string& text, LONG& code) {
    text = m_errorText;
    code = m_errorCode;
    return TRUE;
}

void COleDriver::ClearError() {
    m_errorCode = 0;
    m_errorText = m_noErrorText;
}
