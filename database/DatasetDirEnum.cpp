#include "database/DatasetDirEnum.h"

#include <algorithm>

#include "database/CDatasetStore.h"

bool DatasetDirEnum::First(DatasetDirEntry* out) {
    m_block.clear();
    m_blockBase = 0;
    m_next = 0;
    m_total = m_store.GetDirCount();
    if (m_total <= 0)
        return false;
    return Next(out);
}

bool DatasetDirEnum::Next(DatasetDirEntry* out) {
    if (m_next >= m_total) {
        m_block = {};
        return false;
    }
    if (m_next >= m_blockBase + static_cast<int>(m_block.size()) && !ReadBlock()) {
        m_block = {};
        m_next = m_total;
        return false;
    }
    *out = m_block[m_next - m_blockBase];
    ++m_next;
    return true;
}

bool DatasetDirEnum::ReadBlock() {
    const int wanted = std::min(m_total - m_next, kBlockEntries);
    m_block.resize(wanted);
    const int read = m_store.ReadDirEntries(m_next, wanted, m_block.data());
    if (read <= 0)
        return false;
    m_block.resize(read);
    m_blockBase = m_next;
    return true;
}
