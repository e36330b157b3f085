#include "database/SetupFileHeader.h"

#include <exception>

#include "platform/storage/Storage.h"

namespace setup_file {

bool HasDocumentHeader(const std::string& path) {
    try {
        tvane::Storage root =
            tvane::StgOpenStorage(path, tvane::STGM_READ | tvane::STGM_SHARE_DENY_WRITE);
        tvane::Stream contents =
            root.OpenStream(kContentsStream, tvane::STGM_READ | tvane::STGM_SHARE_EXCLUSIVE);
        std::uint8_t bytes[4] = {};
        if (contents.Read(bytes, sizeof bytes) != sizeof bytes)
            return false;
        const std::uint32_t version =
            static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
            static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
        return version >= 1 && version <= kLatestVersion;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace setup_file
