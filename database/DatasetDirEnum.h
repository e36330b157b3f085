#pragma once
#include <vector>

#include "database/DatasetDirEntry.h"

class CDatasetStore;

// A cursor over a store's directory that reads it in blocks, so a file with any
// number of datasets is listed with bounded memory.
class DatasetDirEnum {
public:
    // 1170 entries of 56 bytes: the largest block under 64 KB.
    static constexpr int kBlockEntries = 1170;

    explicit DatasetDirEnum(CDatasetStore& store) : m_store(store) {}

    // Starts over; false when the directory is empty.
    bool First(DatasetDirEntry* out);
    // False at the end or when a block cannot be read; the block is freed then.
    bool Next(DatasetDirEntry* out);

private:
    bool ReadBlock();

    CDatasetStore& m_store;
    std::vector<DatasetDirEntry> m_block;
    int m_total = 0;     // entries in the directory when First counted them
    int m_blockBase = 0; // directory index of m_block[0]
    int m_next = 0;      // directory index of the next entry to hand out
};
