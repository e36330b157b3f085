#pragma once
#include <cstdint>
#include <string>

#include "platform/core/Exception.h"

namespace tvane {

// Status codes of the compound-file layer. The values are the structured-storage
// HRESULTs, so callers that map a failure onto their own exceptions (file not
// found, access denied, anything else) can compare against the usual numbers.
using StorageStatus = std::int32_t;

inline constexpr StorageStatus STG_S_OK = 0;
inline constexpr StorageStatus STG_S_FALSE = 1;
inline constexpr StorageStatus STG_E_INVALIDFUNCTION = static_cast<StorageStatus>(0x80030001u);
inline constexpr StorageStatus STG_E_FILENOTFOUND = static_cast<StorageStatus>(0x80030002u);
inline constexpr StorageStatus STG_E_PATHNOTFOUND = static_cast<StorageStatus>(0x80030003u);
inline constexpr StorageStatus STG_E_ACCESSDENIED = static_cast<StorageStatus>(0x80030005u);
inline constexpr StorageStatus STG_E_INVALIDHANDLE = static_cast<StorageStatus>(0x80030006u);
inline constexpr StorageStatus STG_E_INSUFFICIENTMEMORY = static_cast<StorageStatus>(0x80030008u);
inline constexpr StorageStatus STG_E_INVALIDPOINTER = static_cast<StorageStatus>(0x80030009u);
inline constexpr StorageStatus STG_E_WRITEFAULT = static_cast<StorageStatus>(0x8003001Du);
inline constexpr StorageStatus STG_E_READFAULT = static_cast<StorageStatus>(0x8003001Eu);
inline constexpr StorageStatus STG_E_LOCKVIOLATION = static_cast<StorageStatus>(0x80030021u);
inline constexpr StorageStatus STG_E_FILEALREADYEXISTS = static_cast<StorageStatus>(0x80030050u);
inline constexpr StorageStatus STG_E_INVALIDPARAMETER = static_cast<StorageStatus>(0x80030057u);
inline constexpr StorageStatus STG_E_MEDIUMFULL = static_cast<StorageStatus>(0x80030070u);
inline constexpr StorageStatus STG_E_INVALIDHEADER = static_cast<StorageStatus>(0x800300FBu);
inline constexpr StorageStatus STG_E_INVALIDNAME = static_cast<StorageStatus>(0x800300FCu);
inline constexpr StorageStatus STG_E_INVALIDFLAG = static_cast<StorageStatus>(0x800300FFu);
inline constexpr StorageStatus STG_E_REVERTED = static_cast<StorageStatus>(0x80030102u);
inline constexpr StorageStatus STG_E_DOCFILECORRUPT = static_cast<StorageStatus>(0x80030109u);
inline constexpr StorageStatus STG_E_DOCFILETOOLARGE = static_cast<StorageStatus>(0x80030111u);

// The symbolic name of a status ("STG_E_ACCESSDENIED"), or its hex value.
std::string StorageStatusName(StorageStatus status);

// Every failure of the compound-file layer is thrown as this exception: the
// status says what went wrong, the name which file or element it concerns.
class StorageException : public Exception {
public:
    StorageException(StorageStatus status, const std::string& name, const std::string& detail = {});

    StorageStatus Status() const { return m_status; }
    const std::string& Name() const { return m_name; }

private:
    StorageStatus m_status;
    std::string m_name;
};

} // namespace tvane
