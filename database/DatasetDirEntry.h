#pragma once
#include <bit>
#include <cstdint>
#include <string>

// One record of a dataset storage file's directory stream "Datasets": 56 bytes,
// little-endian, packed, in the order the datasets were added.
#pragma pack(push, 1)
struct DatasetDirEntry {
    char Key[20] = {};           // NUL-terminated; the bytes after the NUL are zero
    std::uint32_t StartTime = 0; // seconds since 1970
    std::int32_t EventCount = 0;
    std::int32_t ScanCount = 0;
    double FirstTime = 0.0; // milliseconds
    double LastTime = 0.0;
    double BrowsePosition = 0.0;

    // The longest key the record holds.
    static constexpr std::size_t kMaxKeyLength = sizeof(Key) - 1;

    std::string GetKey() const;
    // Stores key (cut to kMaxKeyLength) and zeros the rest of the field.
    void SetKey(const std::string& key);
};
#pragma pack(pop)

static_assert(sizeof(DatasetDirEntry) == 56, "the directory record is stored as 56 bytes");
static_assert(std::endian::native == std::endian::little,
              "dataset records are stored in the host's byte order, which must be little-endian");
