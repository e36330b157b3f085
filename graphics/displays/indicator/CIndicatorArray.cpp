#include "graphics/displays/indicator/CIndicatorArray.h"

#include "platform/archive/ArchiveCollections.h"
#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CIndicatorArray, tvane::CObject, 0)
IMPLEMENT_SERIAL(CIndicatorBlockArray, tvane::CObject, 0)

CIndicatorArray::CIndicatorArray(std::uint32_t kind, const std::string& caption)
    : m_caption(caption), m_shortCaption(caption), m_value(0), m_kind(kind) {}

CIndicator* CIndicatorArray::GetAt(std::size_t index) const {
    return index < m_items.size() ? m_items[index].get() : nullptr;
}

void CIndicatorArray::SetAtGrow(std::size_t index, std::unique_ptr<CIndicator> element) {
    if (index >= m_items.size())
        m_items.resize(index + 1);
    m_items[index] = std::move(element);
}

void CIndicatorArray::SetSize(std::size_t size) {
    m_items.resize(size);
}

void CIndicatorArray::DeleteAt(std::size_t index) {
    if (index < m_items.size())
        m_items[index].reset();
}

std::size_t CIndicatorArray::CountElements() const {
    std::size_t n = 0;
    for (const auto& item : m_items)
        n += item != nullptr;
    return n;
}

void CIndicatorArray::Serialize(tvane::CArchive& ar) {
    tvane::SerializeObArray(ar, m_items);
    if (ar.IsStoring())
        ar << m_caption << m_shortCaption << m_value << m_channel << m_kind;
    else
        ar >> m_caption >> m_shortCaption >> m_value >> m_channel >> m_kind;
}

void CIndicatorBlockArray::SetAtGrow(std::size_t index, std::unique_ptr<CIndicatorArray> block) {
    if (index >= m_blocks.size())
        m_blocks.resize(index + 1);
    m_blocks[index] = std::move(block);
}

void CIndicatorBlockArray::DeleteAt(std::size_t index) {
    if (index < m_blocks.size())
        m_blocks[index].reset();
}

CIndicator* CIndicatorBlockArray::GetIndicator(std::size_t block, std::size_t element) const {
    const CIndicatorArray* b = GetAt(block);
    return b ? b->GetAt(element) : nullptr;
}

void CIndicatorBlockArray::Serialize(tvane::CArchive& ar) {
    tvane::SerializeObArray(ar, m_blocks);
}
