#include "scan/CChannelArray.h"

#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CChannelArray, tvane::CObject, 0)

void CChannelArray::DeleteAll() {
    for (CChannelInfo* info : m_items)
        delete info;
    m_items.clear();
}

void CChannelArray::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<std::uint32_t>(m_items.size()));
        for (const CChannelInfo* info : m_items)
            ar.WriteObject(info);
        return;
    }
    m_items.clear();
    std::uint32_t count = ar.ReadCount();
    for (std::uint32_t i = 0; i < count; ++i) {
        // Each record is held by the array as soon as it is read, so after a
        // failure part way the owner's DeleteAll frees what was read.
        m_items.push_back(nullptr);
        m_items.back() = ar.ReadOwnedObject<CChannelInfo>().release();
    }
}
