#include "comm/InterfaceTypes.h"

#include "comm/CommStrings.h"
#include "platform/core/CaseInsensitive.h"

namespace tvane::comm {

std::string TypeToName(int type) {
    switch (type) {
    case kTypeSimulated:
        return LoadResString(IDS_SIMULATED);
    case kTypeGpib32:
        return LoadResString(IDS_GPIB);
    case kTypeRs232:
        return LoadResString(IDS_RS232);
    case kTypeWenx:
        return LoadResString(IDS_WENX);
    case kTypeWenxLan:
        return LoadResString(IDS_WENXLAN);
    case kTypeModem:
        return LoadResString(IDS_MODEM);
    default:
        return "UNKNOWN";
    }
}

std::string TypeToDisplayName(int type) {
    switch (type) {
    case -1:
    case kTypeSimulated:
        return LoadResString(IDS_DISPLAY_SIMULATED);
    case kTypeGpib32:
        return LoadResString(IDS_DISPLAY_GPIB);
    case kTypeRs232:
        return LoadResString(IDS_DISPLAY_RS232);
    case kTypeWenx:
        return LoadResString(IDS_DISPLAY_WENX);
    case kTypeWenxLan:
        return LoadResString(IDS_DISPLAY_WENXLAN);
    case kTypeModem:
        return LoadResString(IDS_DISPLAY_MODEM);
    default:
        return {};
    }
}

int NameToType(std::string_view name) {
    // "WENXLAN" must be tried before "WENX", which it contains.
    static const struct {
        const char* word;
        int type;
    } kWords[] = {{"WENXLAN", kTypeWenxLan}, {"WENX", kTypeWenx},           {"GPIB", kTypeGpib32},
                  {"RS232", kTypeRs232},     {"SIMULATED", kTypeSimulated}, {"MODEM", kTypeModem}};
    const std::string upper = ToUpperAscii(name);
    for (const auto& w : kWords)
        if (upper.find(w.word) != std::string::npos)
            return w.type;
    return -1;
}

} // namespace tvane::comm
