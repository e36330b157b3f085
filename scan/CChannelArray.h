#pragma once
#include "scan/CChannelInfo.h"

#include <cstddef>
#include <vector>

namespace tvane {
class CArchive;
}

// An array of display channel records. Slots may be empty; the array does not
// delete its records when destroyed: owners call DeleteAll.
class CChannelArray : public tvane::CObject {
    DECLARE_SERIAL(CChannelArray)
public:
    CChannelArray() = default;
    CChannelArray(const CChannelArray&) = delete;
    CChannelArray& operator=(const CChannelArray&) = delete;

    // Appends a record; returns its index.
    std::size_t Add(CChannelInfo* info) {
        m_items.push_back(info);
        return m_items.size() - 1;
    }
    CChannelInfo* GetAt(std::size_t index) const {
        return index < m_items.size() ? m_items[index] : nullptr;
    }
    CChannelInfo* operator[](std::size_t index) const { return GetAt(index); }
    void SetAtGrow(std::size_t index, CChannelInfo* info) {
        if (index >= m_items.size())
            m_items.resize(index + 1, nullptr);
        m_items[index] = info;
    }
    std::size_t GetSize() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }
    void SetSize(std::size_t size) { m_items.resize(size, nullptr); }
    // Removes the slots without deleting the records.
    void RemoveAll() { m_items.clear(); }
    // Deletes every record, then removes all slots.
    void DeleteAll();

    // The count, then each record with its class tag (null slots as null).
    // Loading replaces the slots (owners delete what they held first).
    void Serialize(tvane::CArchive& ar) override;

private:
    std::vector<CChannelInfo*> m_items;
};
