#include "comm/TransportFactory.h"

#include <map>

#include "comm/CGpibInterface.h"
#include "comm/CModemInterface.h"
#include "comm/CRS232Interface.h"
#include "comm/CSimInterface.h"
#include "comm/CWenxInterface.h"
#include "comm/CommStrings.h"
#include "comm/InterfaceTypes.h"
#include "platform/profile/Profile.h"

namespace tvane::comm {
namespace {

// The transports of this build.
std::map<int32_t, TransportCreator>& Table() {
    static std::map<int32_t, TransportCreator> table{
        {kTypeSimulated, [](int32_t) { return std::make_unique<CSimInterface>(); }},
        {kTypeGpib32, [](int32_t) { return std::make_unique<CGpibInterface>(); }},
        {kTypeRs232, [](int32_t) { return std::make_unique<CRS232Interface>(); }},
        {kTypeWenxGpibDefault, [](int32_t) { return std::make_unique<CWenxInterface>(0); }},
        {kTypeWenx, [](int32_t) { return std::make_unique<CWenxInterface>(0); }},
        {kTypeWenxLan, [](int32_t) { return std::make_unique<CWenxInterface>(1); }},
        {kTypeModem, [](int32_t) { return std::make_unique<CModemInterface>(); }},
    };
    return table;
}

} // namespace

std::unique_ptr<CCommInterface> CreateTransportByType(int32_t type) {
    auto it = Table().find(type);
    if (it == Table().end() || !it->second)
        return nullptr;
    std::unique_ptr<CCommInterface> made;
    try {
        made = it->second(type);
    } catch (...) {
        return nullptr;
    }
    // Until a serial port says its own speed, the link is taken as the fastest.
    if (made)
        WritePrivateProfileString("Settings", "ConnectSpeed", std::string("115200"), LinkwellIni());
    return made;
}

std::unique_ptr<CCommInterface> CreateTransport(std::string_view name) {
    return CreateTransportByType(NameToType(name));
}

TransportCreator SetTransportCreator(int32_t type, TransportCreator creator) {
    TransportCreator previous;
    auto it = Table().find(type);
    if (it != Table().end()) {
        previous = std::move(it->second);
        Table().erase(it);
    }
    if (creator)
        Table()[type] = std::move(creator);
    return previous;
}

} // namespace tvane::comm
