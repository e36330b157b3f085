#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/archive/CObject.h"
#include "scan/CCompChnl.h"

// The document's computed channels, indexed from 0. The array owns them; a slot
// may be empty after DeleteAt until Compact.
class CCompChnlArray : public tvane::CObject {
    DECLARE_SERIAL(CCompChnlArray)
public:
    CCompChnlArray() = default;
    CCompChnlArray(const CCompChnlArray&) = delete;
    CCompChnlArray& operator=(const CCompChnlArray&) = delete;
    ~CCompChnlArray() override = default;

    // Null for an empty slot or an index outside the array.
    CCompChnl* GetAt(std::int64_t index) const;
    // Takes the channel into the slot (deleting what was there), growing the
    // array when the index lies past its end.
    void SetAt(std::int64_t index, std::unique_ptr<CCompChnl> channel);
    std::int32_t GetSize() const { return static_cast<std::int32_t>(m_items.size()); }

    // n > 0: resizes to n slots (new ones empty, surplus ones deleted).
    bool SetSize(std::int32_t n);
    // n > 0: n more empty slots at the end.
    bool Append(std::int32_t n);
    // Deletes the element and leaves the slot empty; false for a missing one.
    bool DeleteAt(std::int64_t index);
    // Removes the empty slots, keeping the order.
    void Compact();
    void RemoveAll();

    // The channel computed into the given channel number, or null.
    CCompChnl* FindChannel(std::int32_t channel) const;

    // The object-array form: the count, then each element with its class tag.
    void Serialize(tvane::CArchive& ar) override;

private:
    std::vector<std::unique_ptr<CCompChnl>> m_items;
};
