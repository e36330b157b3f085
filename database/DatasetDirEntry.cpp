#include "database/DatasetDirEntry.h"

#include <cstring>

std::string DatasetDirEntry::GetKey() const {
    return std::string(Key, strnlen(Key, sizeof(Key)));
}

void DatasetDirEntry::SetKey(const std::string& key) {
    std::memset(Key, 0, sizeof(Key));
    std::memcpy(Key, key.data(), std::min(key.size(), kMaxKeyLength));
}
