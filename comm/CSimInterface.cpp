#include "comm/CSimInterface.h"

#include <cctype>
#include <string_view>

#include "comm/InterfaceTypes.h"
#include "platform/core/Format.h"

namespace tvane::comm {

CSimInterface::CSimInterface() : CCommInterface(kTypeSimulated) {
    m_commTimeout = 3000;
}
CSimInterface::~CSimInterface() = default;

bool CSimInterface::Open(const char* address) {
    StoreAddress(address);
    m_open = 1;
    return true;
}

bool CSimInterface::Close() {
    return true;
}
bool CSimInterface::Send(const char*) {
    return true;
}

bool CSimInterface::Read(char* buffer, int32_t size, int32_t& count) {
    if (!buffer || size <= 0) {
        count = 0;
        return false;
    }
    // An empty answer, so that no caller reads a buffer nobody wrote.
    buffer[0] = '\0';
    count = 1;
    return true;
}

bool CSimInterface::Search(std::vector<std::string>& results, const char* models, int32_t) {
    if (!models)
        return false;
    std::string_view rest = models;
    for (;;) {
        const std::size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        while (!item.empty() && (item[0] == ' ' || item[0] == '\t' ||
                                 std::isalpha(static_cast<unsigned char>(item[0]))))
            item.remove_prefix(1);
        results.push_back(Format("Orvanta%.*s\tSimulated\tThis device is simulated",
                                 static_cast<int>(item.size()), item.data()));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return true;
}

int16_t CSimInterface::IsMsgAvailable() {
    return 1;
}

bool CSimInterface::ParseIdentity(std::string& reply, std::string& description) {
    reply = "Simulated";
    description = "Simulated";
    return true;
}

} // namespace tvane::comm
