#include "platform/storage/StorageError.h"

#include <cstdio>

namespace tvane {

std::string StorageStatusName(StorageStatus status) {
    struct Known {
        StorageStatus status;
        const char* name;
    };
    static constexpr Known kKnown[] = {
        {STG_S_OK, "S_OK"},
        {STG_S_FALSE, "S_FALSE"},
        {STG_E_INVALIDFUNCTION, "STG_E_INVALIDFUNCTION"},
        {STG_E_FILENOTFOUND, "STG_E_FILENOTFOUND"},
        {STG_E_PATHNOTFOUND, "STG_E_PATHNOTFOUND"},
        {STG_E_ACCESSDENIED, "STG_E_ACCESSDENIED"},
        {STG_E_INVALIDHANDLE, "STG_E_INVALIDHANDLE"},
        {STG_E_INSUFFICIENTMEMORY, "STG_E_INSUFFICIENTMEMORY"},
        {STG_E_INVALIDPOINTER, "STG_E_INVALIDPOINTER"},
        {STG_E_WRITEFAULT, "STG_E_WRITEFAULT"},
        {STG_E_READFAULT, "STG_E_READFAULT"},
        {STG_E_LOCKVIOLATION, "STG_E_LOCKVIOLATION"},
        {STG_E_FILEALREADYEXISTS, "STG_E_FILEALREADYEXISTS"},
        {STG_E_INVALIDPARAMETER, "STG_E_INVALIDPARAMETER"},
        {STG_E_MEDIUMFULL, "STG_E_MEDIUMFULL"},
        {STG_E_INVALIDHEADER, "STG_E_INVALIDHEADER"},
        {STG_E_INVALIDNAME, "STG_E_INVALIDNAME"},
        {STG_E_INVALIDFLAG, "STG_E_INVALIDFLAG"},
        {STG_E_REVERTED, "STG_E_REVERTED"},
        {STG_E_DOCFILECORRUPT, "STG_E_DOCFILECORRUPT"},
        {STG_E_DOCFILETOOLARGE, "STG_E_DOCFILETOOLARGE"},
    };
    for (const Known& k : kKnown) {
        if (k.status == status) {
            return k.name;
        }
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(status));
    return buffer;
}

namespace {
std::string Describe(StorageStatus status, const std::string& name, const std::string& detail) {
    std::string text = StorageStatusName(status);
    if (!name.empty()) {
        text += " (" + name + ")";
    }
    if (!detail.empty()) {
        text += ": " + detail;
    }
    return text;
}
} // namespace

StorageException::StorageException(StorageStatus status, const std::string& name,
                                   const std::string& detail)
    : Exception(Describe(status, name, detail)), m_status(status), m_name(name) {}

} // namespace tvane
