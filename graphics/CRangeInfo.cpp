#include "graphics/CRangeInfo.h"

#include <memory>

#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CRangeInfo, tvane::CObject, 0)
IMPLEMENT_SERIAL(CRangeArray, tvane::CObject, 0)

void CRangeInfo::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring())
        ar << m_mantissa << m_decade << m_scale << m_normOffset << m_offset << m_divisions;
    else
        ar >> m_mantissa >> m_decade >> m_scale >> m_normOffset >> m_offset >> m_divisions;
    m_channel.Serialize(ar);
}

void CRangeArray::DeleteAt(long index) {
    if (index == -1) {
        for (CRangeInfo*& info : m_items) {
            delete info;
            info = nullptr;
        }
        return;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= m_items.size())
        return;
    delete m_items[static_cast<std::size_t>(index)];
    m_items[static_cast<std::size_t>(index)] = nullptr;
}

void CRangeArray::DeleteAll() {
    for (CRangeInfo* info : m_items)
        delete info;
    m_items.clear();
}

void CRangeArray::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<std::uint32_t>(m_items.size()));
        for (const CRangeInfo* info : m_items)
            ar.WriteObject(info);
        return;
    }
    // Read aside: should the load fail part way, what was read goes with it.
    const std::uint32_t count = ar.ReadCount();
    std::vector<std::unique_ptr<CRangeInfo>> loaded;
    for (std::uint32_t i = 0; i < count; ++i)
        loaded.push_back(ar.ReadOwnedObject<CRangeInfo>());
    m_items.clear();
    for (auto& info : loaded)
        m_items.push_back(info.release());
}
