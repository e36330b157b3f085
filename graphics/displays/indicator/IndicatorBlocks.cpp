#include "graphics/displays/indicator/IndicatorBlocks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "platform/archive/CArchive.h"
#include "platform/core/NameText.h"
#include "scan/CChannelInfo.h"

namespace {

[[noreturn]] void Reject(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

} // namespace

std::uint32_t IndicatorBlocks::ValueBits(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    std::int64_t whole;
    if (value >= kLimit)
        whole = std::numeric_limits<std::int64_t>::max();
    else if (value < -kLimit)
        whole = std::numeric_limits<std::int64_t>::min();
    else
        whole = static_cast<std::int64_t>(value);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole));
}

IndicatorBlocks::IndicatorBlocks(ElementMaker maker, std::uint32_t singleBitKind)
    : m_blocks(std::make_unique<CIndicatorBlockArray>()), m_maker(std::move(maker)),
      m_singleBitKind(singleBitKind) {}

void IndicatorBlocks::SetSlotCount(std::size_t n) {
    m_blocks->DeleteAll();
    m_blocks->SetSize(n);
}

void IndicatorBlocks::AddBlock(std::size_t slot, const CChannelInfo& channel, bool byteDisplay) {
    const auto kind = static_cast<std::uint32_t>(channel.Kind);
    const bool singleBit = kind == m_singleBitKind;
    if (!m_blocks->GetAt(slot)) {
        const std::string& caption =
            channel.Name.empty() || singleBit ? channel.Label : channel.Name;
        auto block = std::make_unique<CIndicatorArray>(kind, caption);
        block->m_channel = channel.Number;
        block->m_value = 0;
        const int n = byteDisplay ? 8 : 1;
        for (int i = 0; i < n; ++i) {
            std::unique_ptr<CIndicator> element = m_maker();
            if (byteDisplay) {
                element->SetLabel(std::to_string(7 - i));
                element->SetBitMask(1u << (7 - i));
                element->SetKind(m_singleBitKind);
            } else {
                element->SetLabel(singleBit ? tvane::CutUtf8(channel.Name, kMaxElementLabel)
                                            : std::string{});
                element->SetBitMask(channel.BitMask);
                element->SetKind(kind);
            }
            element->SetChannel(channel.Number);
            block->SetAtGrow(static_cast<std::size_t>(i), std::move(element));
            ++m_elements;
        }
        m_blocks->SetAtGrow(slot, std::move(block));
        ++m_blockCount;
    }
    if (m_blockCount == 1) {
        m_currentBlock = static_cast<std::uint16_t>(slot);
        m_currentElement = 0;
    }
}

void IndicatorBlocks::RemoveBlock(std::size_t slot) {
    const CIndicatorArray* block = m_blocks->GetAt(slot);
    if (!block)
        return;
    --m_blockCount;
    m_elements = static_cast<std::uint16_t>(m_elements - block->GetSize());
    m_blocks->DeleteAt(slot);
    if (m_currentBlock == slot) {
        for (std::size_t i = 0; i < m_blocks->GetSize(); ++i) {
            if (m_blocks->GetAt(i)) {
                m_currentBlock = static_cast<std::uint16_t>(i);
                m_currentElement = 0;
            }
        }
    }
}

void IndicatorBlocks::ReplaceBlock(std::size_t slot, const CChannelInfo& channel,
                                   bool byteDisplay) {
    RemoveBlock(slot);
    AddBlock(slot, channel, byteDisplay);
    CIndicatorArray* block = m_blocks->GetAt(slot);
    const bool singleBit = static_cast<std::uint32_t>(channel.Kind) == m_singleBitKind;
    block->m_caption = channel.Name.empty() || singleBit ? channel.Label : channel.Name;
    block->m_shortCaption = channel.Label;
    block->m_kind = static_cast<std::uint32_t>(channel.Kind);
}

void IndicatorBlocks::ApplyValue(CIndicatorArray& block, std::uint32_t value, StateRule rule,
                                 std::vector<CIndicator*>* changed) {
    for (std::size_t e = 0; e < block.GetSize(); ++e) {
        CIndicator* element = block.GetAt(e);
        if (!element)
            continue;
        const std::int32_t state = rule(value, element->GetBitMask()) ? 1 : 0;
        if (element->GetState() == state)
            continue;
        element->SetState(state);
        if (changed)
            changed->push_back(element);
    }
}

std::vector<CIndicator*> IndicatorBlocks::ApplyRecord(const CReadingInfo* record, StateRule rule) {
    std::vector<CIndicator*> changed;
    for (std::size_t i = 0; i < m_blocks->GetSize(); ++i) {
        CIndicatorArray* block = m_blocks->GetAt(i);
        if (!block || (record && block->m_channel != record->m_channel))
            continue;
        if (record)
            block->m_value = ValueBits(record->m_value);
        ApplyValue(*block, block->m_value, rule, &changed);
    }
    return changed;
}

void IndicatorBlocks::FillRequest(std::size_t slot, std::int32_t channel, std::int32_t requestKind,
                                  CReadingInfo& request) const {
    const CIndicatorArray* block = m_blocks->GetAt(slot);
    request.m_channel = channel;
    request.m_value = block ? static_cast<double>(block->m_value) : 0.0;
    request.m_request = requestKind;
}

std::vector<CReadingInfo> IndicatorBlocks::Requests(std::int32_t requestKind) const {
    std::vector<CReadingInfo> requests;
    for (std::size_t i = 0; i < m_blocks->GetSize(); ++i) {
        if (const CIndicatorArray* block = m_blocks->GetAt(i)) {
            CReadingInfo r;
            r.m_channel = block->m_channel;
            r.m_value = static_cast<double>(block->m_value);
            r.m_request = requestKind;
            requests.push_back(r);
        }
    }
    return requests;
}

CIndicator* IndicatorBlocks::HitTest(GPoint point) {
    for (std::size_t b = 0; b < m_blocks->GetSize(); ++b) {
        const CIndicatorArray* block = m_blocks->GetAt(b);
        for (std::size_t e = 0; block && e < block->GetSize(); ++e) {
            CIndicator* element = block->GetAt(e);
            if (element && element->GetRect().Normalized().Contains(point.x, point.y)) {
                m_currentBlock = static_cast<std::uint16_t>(b);
                m_currentElement = static_cast<std::uint16_t>(e);
                return element;
            }
        }
    }
    return nullptr;
}

void IndicatorBlocks::MoveCurrent(bool right) {
    const CIndicatorArray* current = m_blocks->GetAt(m_currentBlock);
    const std::size_t slots = m_blocks->GetSize();
    if (!current || slots == 0)
        return;
    if (right && m_currentElement + 1u < current->GetSize()) {
        ++m_currentElement;
        return;
    }
    if (!right && m_currentElement > 0) {
        --m_currentElement;
        return;
    }
    std::size_t slot = m_currentBlock;
    do {
        slot = right ? (slot + 1) % slots : (slot + slots - 1) % slots;
    } while (!m_blocks->GetAt(slot));
    m_currentBlock = static_cast<std::uint16_t>(slot);
    const std::size_t size = m_blocks->GetAt(slot)->GetSize();
    m_currentElement = static_cast<std::uint16_t>(right || size == 0 ? 0 : size - 1);
}

CIndicator* IndicatorBlocks::GetCurrent() const {
    return m_blocks->GetIndicator(m_currentBlock, m_currentElement);
}

std::vector<int> IndicatorBlocks::ElementCounts() const {
    std::vector<int> counts;
    for (std::size_t i = 0; i < m_blocks->GetSize(); ++i)
        if (const CIndicatorArray* block = m_blocks->GetAt(i))
            counts.push_back(static_cast<int>(block->GetSize()));
    return counts;
}

void IndicatorBlocks::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_elements << m_blockCount;
        ar.WriteObject(m_blocks.get());
        ar << m_currentElement << m_currentBlock;
        return;
    }
    ar >> m_elements >> m_blockCount;
    std::unique_ptr<CIndicatorBlockArray> loaded = ar.ReadOwnedObject<CIndicatorBlockArray>();
    if (!loaded)
        Reject("indicator blocks missing");
    m_blocks = std::move(loaded);
    ar >> m_currentElement >> m_currentBlock;
}

void IndicatorBlocks::CheckLoaded(std::size_t slots, std::size_t elementsPerBlock,
                                  const tvane::CRuntimeClass* elementClass, std::int32_t states) {
    if (m_blocks->GetSize() > slots)
        Reject("too many indicator blocks");
    std::size_t blocks = 0, elements = 0;
    for (std::size_t i = 0; i < m_blocks->GetSize(); ++i) {
        const CIndicatorArray* block = m_blocks->GetAt(i);
        if (!block)
            continue;
        if (block->GetSize() != elementsPerBlock)
            Reject("indicator block of the wrong size");
        for (std::size_t e = 0; e < block->GetSize(); ++e) {
            const CIndicator* element = block->GetAt(e);
            if (!element || !element->IsKindOf(elementClass))
                Reject("indicator element missing or of the wrong kind");
            // The state picks the element's colour.
            if (element->GetState() < 0 || element->GetState() >= states)
                Reject("indicator element in an unknown state");
        }
        ++blocks;
        elements += block->GetSize();
    }
    if (blocks != m_blockCount || elements != m_elements)
        Reject("indicator counts do not match the blocks");
    if (m_currentBlock >= slots || m_currentElement >= std::max<std::size_t>(elementsPerBlock, 1))
        Reject("current indicator out of range");
    m_blocks->SetSize(slots);
}
