#include "driver/DualCommLink.h"

#include "platform/com/Bstr.h"

namespace tvane::driver {

bool DualCommLink::SendRawMsg(const char* command) {
    return m_comm && m_comm->SendRawMsg(command);
}

bool DualCommLink::RecvRawMsg(char* buffer, std::int32_t size, std::int32_t* count) {
    LONG got = 0;
    bool ok = m_comm && m_comm->RecvRawMsg(buffer, size, &got);
    if (count)
        *count = got;
    return ok;
}

int DualCommLink::InterfaceType() {
    return m_comm ? m_comm->GetInterfaceTypeValue() : 0;
}

bool DualCommLink::GetCommError(std::string& text, std::int32_t& code) {
    text.clear();
    code = 0;
    if (!m_comm)
        return false;
    VARIANT v;
    VariantInit(&v);
    LONG c = 0;
    bool ok = m_comm->GetCommError(&v, &c);
    code = c;
    if (v.vt == VT_BSTR)
        text = Utf8FromBstr(v.bstrVal);
    VariantClear(&v);
    return ok;
}

bool DualCommLink::ClearDevice() {
    SHORT cleared = 0;
    return m_comm && SUCCEEDED(m_comm->ClearInstrument(&cleared)) && cleared != 0;
}

} // namespace tvane::driver
