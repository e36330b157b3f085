#include "scan/CCompChnlArray.h"

#include <algorithm>

#include "platform/archive/ArchiveCollections.h"

IMPLEMENT_SERIAL(CCompChnlArray, tvane::CObject, 0)

CCompChnl* CCompChnlArray::GetAt(std::int64_t index) const {
    if (index < 0 || index >= GetSize())
        return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

void CCompChnlArray::SetAt(std::int64_t index, std::unique_ptr<CCompChnl> channel) {
    if (index < 0)
        return;
    if (index >= GetSize())
        m_items.resize(static_cast<size_t>(index) + 1);
    m_items[static_cast<size_t>(index)] = std::move(channel);
}

bool CCompChnlArray::SetSize(std::int32_t n) {
    if (n <= 0)
        return false;
    m_items.resize(static_cast<size_t>(n));
    return true;
}

bool CCompChnlArray::Append(std::int32_t n) {
    if (n <= 0)
        return false;
    m_items.resize(m_items.size() + static_cast<size_t>(n));
    return true;
}

bool CCompChnlArray::DeleteAt(std::int64_t index) {
    if (!GetAt(index))
        return false;
    m_items[static_cast<size_t>(index)].reset();
    return true;
}

void CCompChnlArray::Compact() {
    std::erase_if(m_items, [](const std::unique_ptr<CCompChnl>& item) { return !item; });
    m_items.shrink_to_fit();
}

void CCompChnlArray::RemoveAll() {
    m_items.clear();
    m_items.shrink_to_fit();
}

CCompChnl* CCompChnlArray::FindChannel(std::int32_t channel) const {
    for (const auto& item : m_items) {
        if (item && item->Channel == channel)
            return item.get();
    }
    return nullptr;
}

void CCompChnlArray::Serialize(tvane::CArchive& ar) {
    tvane::SerializeObArray(ar, m_items);
}
