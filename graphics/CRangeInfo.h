#pragma once
#include <cstdint>
#include <vector>

#include "scan/CChannelInfo.h"

// A plotted range: a scale per division with its offset, and the channel it
// belongs to. The constructor's preset is a value axis of 8 divisions; preset B
// is the strip chart's time range (120 seconds a division, 10 divisions).
class CRangeInfo : public tvane::CObject {
    DECLARE_SERIAL(CRangeInfo)
public:
    CRangeInfo() = default;
    CRangeInfo(const CRangeInfo&) = default;
    CRangeInfo& operator=(const CRangeInfo&) = default;

    void SetPresetB() {
        m_mantissa = 2;
        m_decade = 60.0;
        m_scale = 120.0;
        m_normOffset = 0.0;
        m_offset = 0.0;
        m_divisions = 10;
    }
    bool operator==(const CRangeInfo& o) const {
        return m_mantissa == o.m_mantissa && m_decade == o.m_decade && m_scale == o.m_scale &&
               m_normOffset == o.m_normOffset && m_offset == o.m_offset &&
               m_divisions == o.m_divisions && m_channel == o.m_channel;
    }
    bool operator!=(const CRangeInfo& o) const { return !(*this == o); }

    // Mantissa, the four doubles, divisions, then the channel without class tag.
    void Serialize(tvane::CArchive& ar) override;

    std::int32_t m_mantissa = 1; // 1, 2 or 5
    double m_decade = 1.0;
    double m_scale = 1.0; // mantissa x decade, units (or seconds) per division
    double m_normOffset = 0.0;
    double m_offset = 0.0; // in the channel's units
    std::int32_t m_divisions = 8;
    CChannelInfo m_channel;
};

// Range records; slots may be empty; destroying the array deletes nothing.
class CRangeArray : public tvane::CObject {
    DECLARE_SERIAL(CRangeArray)
public:
    CRangeArray() = default;
    CRangeArray(const CRangeArray&) = delete;
    CRangeArray& operator=(const CRangeArray&) = delete;

    std::size_t Add(CRangeInfo* info) {
        m_items.push_back(info);
        return m_items.size() - 1;
    }
    CRangeInfo* GetAt(std::size_t index) const {
        return index < m_items.size() ? m_items[index] : nullptr;
    }
    void SetAtGrow(std::size_t index, CRangeInfo* info) {
        if (index >= m_items.size())
            m_items.resize(index + 1, nullptr);
        m_items[index] = info;
    }
    std::size_t GetSize() const { return m_items.size(); }
    void SetSize(std::size_t size) { m_items.resize(size, nullptr); }
    // Deletes the record at index and empties its slot; -1 empties every slot
    // and keeps the size.
    void DeleteAt(long index);
    void DeleteAll();
    void Serialize(tvane::CArchive& ar) override;

private:
    std::vector<CRangeInfo*> m_items;
};
