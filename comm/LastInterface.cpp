#include "comm/LastInterface.h"

#include "platform/registry/Registry.h"

namespace tvane::comm {

int32_t ReadLastInterface() {
    if (!RegKeyExists(RegHive::CurrentUser, kLinkwellKey))
        return 0;
    const auto value = RegGetDword(RegHive::CurrentUser, kLinkwellKey, kLastInterfaceValue);
    return value ? static_cast<int32_t>(*value) : -1;
}

bool WriteLastInterface(int32_t type) {
    if (!RegKeyExists(RegHive::CurrentUser, kLinkwellKey))
        return true;
    return RegSetDword(RegHive::CurrentUser, kLinkwellKey, kLastInterfaceValue,
                       static_cast<uint32_t>(type));
}

bool UpdatePrivateRegistry(bool registering) {
    if (!RegCreateKeyPath(RegHive::CurrentUser, kCompanyKey))
        return false;
    if (!registering)
        return RegDeleteTree(RegHive::CurrentUser, kLinkwellKey);
    if (RegKeyExists(RegHive::CurrentUser, kLinkwellKey))
        return true;
    if (!RegCreateKeyPath(RegHive::CurrentUser, kLinkwellKey))
        return false;
    RegSetDword(RegHive::CurrentUser, kLinkwellKey, kLastInterfaceValue, 0);
    return true;
}

} // namespace tvane::comm
