#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "graphics/displays/indicator/CIndicatorArray.h"
#include "scan/CReadingInfo.h"

class CChannelInfo;

namespace tvane {
class CArchive;
}

// The blocks of a display that shows digital channels element by element
// (the data lights, the switch bank, the push buttons): one block per
// populated channel slot, eight elements for a whole port in the byte
// display (element i shows bit 7 - i, labelled "7" down to "0") or one
// element for one channel in the bit display. It keeps the element and block
// counts and the current element that the keyboard moves, and it makes the
// requests that ask the document for the blocks' values.
class IndicatorBlocks {
public:
    // Makes one element of the display's kind (CDataLight, CSwitch, ...).
    using ElementMaker = std::function<std::unique_ptr<CIndicator>()>;
    // Whether an element with that bit mask is on for the channel's value.
    using StateRule = bool (*)(std::uint32_t value, std::uint32_t mask);

    // singleBitKind: the kind of a channel that is one bit of a port (4 for
    // a reading display, 8 for a writing one): its name labels its element
    // and its number label is its block's caption.
    IndicatorBlocks(ElementMaker maker, std::uint32_t singleBitKind);

    static constexpr std::size_t kMaxElementLabel = 9;
    static bool AllBitsSet(std::uint32_t value, std::uint32_t mask) {
        return (value & mask) == mask;
    }
    // A reading or an answer as the bits of a port: truncated toward zero
    // through a 64-bit integer, its low 32 bits, so that a negative value
    // gives its two's complement; beyond the 64-bit range the nearest end,
    // and no number (NaN) 0.
    static std::uint32_t ValueBits(double value);

    // n empty slots (a new display).
    void SetSlotCount(std::size_t n);
    // A new block for the channel in an empty slot (an occupied slot stays as
    // it is); the first block becomes the current one.
    void AddBlock(std::size_t slot, const CChannelInfo& channel, bool byteDisplay);
    // Deletes the slot's block; when it was current, the populated slot with
    // the highest index becomes current with its first element.
    void RemoveBlock(std::size_t slot);
    // The slot's block made again for the channel, captioned with its name
    // (its number label when it has none or it is one bit) and short-captioned
    // with its number label.
    void ReplaceBlock(std::size_t slot, const CChannelInfo& channel, bool byteDisplay);

    // Every element of the block set from value by rule; the elements whose
    // state changed are appended to changed.
    static void ApplyValue(CIndicatorArray& block, std::uint32_t value, StateRule rule,
                           std::vector<CIndicator*>* changed);

    // Every block of the record's channel takes its value (every block keeps
    // its own when there is no record), its elements set from it by rule;
    // answers the elements whose state changed.
    std::vector<CIndicator*> ApplyRecord(const CReadingInfo* record, StateRule rule);

    // One request of that kind per populated block, in slot order: the
    // block's channel and its value.
    std::vector<CReadingInfo> Requests(std::int32_t requestKind) const;
    // request made one of that kind for channel, with the value of the
    // slot's block (0 when the slot is empty); its other fields stay.
    void FillRequest(std::size_t slot, std::int32_t channel, std::int32_t requestKind,
                     CReadingInfo& request) const;

    // The element whose rectangle (normalised) holds point, in slot and
    // element order, made current; null when none does.
    CIndicator* HitTest(GPoint point);
    // The current element moved one to the left or right; past the end of a
    // block into the nearest populated slot that way, round from the last
    // slot to the first and back.
    void MoveCurrent(bool right);
    CIndicator* GetCurrent() const;

    CIndicatorBlockArray& Blocks() { return *m_blocks; }
    const CIndicatorBlockArray& Blocks() const { return *m_blocks; }
    std::uint16_t ElementCount() const { return m_elements; }
    std::uint16_t BlockCount() const { return m_blockCount; }
    std::uint16_t CurrentElement() const { return m_currentElement; }
    std::uint16_t CurrentBlock() const { return m_currentBlock; }
    // Element counts of the populated slots in slot order (for BlockRow).
    std::vector<int> ElementCounts() const;

    // Element count, block count (16 bits each), the block array with its
    // class tag, current element, current block (16 bits each).
    void Serialize(tvane::CArchive& ar);
    // After loading: throws the archive's error unless there are at most
    // slots slots, every block holds elementsPerBlock elements of
    // elementClass in one of the states 0 to states - 1, the counts match the
    // blocks and the current element lies in its block's place. Fewer slots
    // grow to slots.
    void CheckLoaded(std::size_t slots, std::size_t elementsPerBlock,
                     const tvane::CRuntimeClass* elementClass, std::int32_t states);

private:
    std::uint16_t m_elements = 0;
    std::uint16_t m_blockCount = 0;
    std::uint16_t m_currentElement = 0;
    std::uint16_t m_currentBlock = 0;
    std::unique_ptr<CIndicatorBlockArray> m_blocks; // never null
    ElementMaker m_maker;
    std::uint32_t m_singleBitKind;
};
