#include "scan/CChannelArray.h"

#include <memory>

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
    // Read aside: should the load fail part way, what was read goes with it.
    const std::uint32_t count = ar.ReadCount();
    std::vector<std::unique_ptr<CChannelInfo>> loaded;
    for (std::uint32_t i = 0; i < count; ++i)
        loaded.push_back(ar.ReadOwnedObject<CChannelInfo>());
    m_items.clear();
    for (auto& info : loaded)
        m_items.push_back(info.release());
}
