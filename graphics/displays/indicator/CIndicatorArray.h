#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/displays/indicator/CIndicator.h"

// A row of elements of any kind, owned; a slot may be empty. A display that
// shows several channels keeps one per channel (a "block") with the channel's
// captions, its last value and its kind; one that shows lamps for several
// channels (the alarm lights) or the colours of states (the readout) keeps
// one for all of them.
//
// Stored form: the element count, each element with its class tag (an empty
// slot as a null object), then caption, short caption, value, channel, kind.
class CIndicatorArray : public tvane::CObject {
    DECLARE_SERIAL(CIndicatorArray)
public:
    // No captions, value 255, channel -1, kind 0.
    CIndicatorArray() = default;
    // A block of a channel of that kind: both captions caption, value 0, channel -1.
    CIndicatorArray(std::uint32_t kind, const std::string& caption);
    CIndicatorArray(const CIndicatorArray&) = delete;
    CIndicatorArray& operator=(const CIndicatorArray&) = delete;

    std::size_t GetSize() const { return m_items.size(); }
    // Null for an empty slot or an index past the end.
    CIndicator* GetAt(std::size_t index) const;
    template <class T> T* GetAs(std::size_t index) const { return dynamic_cast<T*>(GetAt(index)); }
    // Puts element into the slot (growing the array), deleting what was there.
    void SetAtGrow(std::size_t index, std::unique_ptr<CIndicator> element);
    // Grows with empty slots, or shrinks deleting the elements cut off.
    void SetSize(std::size_t size);
    // Deletes the slot's element and leaves the slot empty.
    void DeleteAt(std::size_t index);
    // Deletes every element, then removes all slots.
    void DeleteAll() { m_items.clear(); }
    // Slots that hold an element.
    std::size_t CountElements() const;

    std::string m_caption;
    std::string m_shortCaption;   // the channel's number label, drawn when the caption does not fit
    std::uint32_t m_value = 0xFF; // the channel's last value; its bits give the elements' states
    std::int32_t m_channel = -1;
    std::uint32_t m_kind = 0;

    void Serialize(tvane::CArchive& ar) override;

private:
    std::vector<std::unique_ptr<CIndicator>> m_items;
};

// The blocks of a display, one slot per channel slot of its frame, owned; a
// slot may be empty. Stored as the block count, then each block with its
// class tag (an empty slot as a null object).
class CIndicatorBlockArray : public tvane::CObject {
    DECLARE_SERIAL(CIndicatorBlockArray)
public:
    CIndicatorBlockArray() = default;
    CIndicatorBlockArray(const CIndicatorBlockArray&) = delete;
    CIndicatorBlockArray& operator=(const CIndicatorBlockArray&) = delete;

    std::size_t GetSize() const { return m_blocks.size(); }
    CIndicatorArray* GetAt(std::size_t index) const {
        return index < m_blocks.size() ? m_blocks[index].get() : nullptr;
    }
    void SetAtGrow(std::size_t index, std::unique_ptr<CIndicatorArray> block);
    void SetSize(std::size_t size) { m_blocks.resize(size); }
    void DeleteAt(std::size_t index);
    // Deletes every block with its elements, then removes all slots.
    void DeleteAll() { m_blocks.clear(); }
    // The element of a block; null when the block slot is empty, the element
    // index is not below the block's size or the element slot is empty.
    CIndicator* GetIndicator(std::size_t block, std::size_t element) const;

    void Serialize(tvane::CArchive& ar) override;

private:
    std::vector<std::unique_ptr<CIndicatorArray>> m_blocks;
};
