#include "platform/com/Guid.h"

#include <cstdio>

#include "platform/core/Format.h"

namespace tvane {

std::string GuidToString(const GUID& g) {
    return Format("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                  g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5],
                  g.Data4[6], g.Data4[7]);
}

HRESULT CLSIDFromString(std::string_view text, CLSID* clsid) {
    if (!clsid)
        return E_INVALIDARG;
    *clsid = GUID_NULL;
    if (text.size() != 38)
        return CO_E_CLASSSTRING;
    const auto g = ParseGuid(text);
    if (!g)
        return CO_E_CLASSSTRING;
    *clsid = *g;
    return S_OK;
}

} // namespace tvane
