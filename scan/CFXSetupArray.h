#pragma once
#include "platform/archive/CObject.h"
#include "scan/CFXSetup.h"

#include <cstdint>
#include <vector>

// The channel rows of a scan setup in grid order. Slots may be empty. The
// owns-rows flag says whether the array deletes its rows: the document's array
// owns them, copies that only borrow rows do not. The destructor never deletes
// rows; an owner calls RemoveAll first.
class CFXSetupArray : public tvane::CObject {
    DECLARE_SERIAL(CFXSetupArray)
public:
    CFXSetupArray() = default;
    CFXSetupArray(const CFXSetupArray&) = delete;
    CFXSetupArray& operator=(const CFXSetupArray&) = delete;
    ~CFXSetupArray() override = default;

    // Null for an empty slot or an index outside the array.
    CFXSetup* GetSetup(std::int64_t index) const;
    // Stores the pointer, growing the array when the index lies past its end. A
    // row already in the slot is not deleted.
    void SetSetup(std::int64_t index, CFXSetup* row);
    std::int32_t GetSize() const { return static_cast<std::int32_t>(m_rows.size()); }
    std::int32_t GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_rows.empty(); }

    // Resizes to count slots (new ones empty) and sets the owns-rows flag; false
    // for count <= 0 or when memory runs out, and nothing changes.
    bool SetSize(std::int32_t count);
    // Empties the array (deleting owned rows) and makes count empty slots.
    bool ResetSlots(std::int32_t count);
    // The setup editor's name for ResetSlots.
    bool Copy(std::int32_t count) { return ResetSlots(count); }
    // Grows the array by count empty slots.
    bool Append(std::int32_t count);
    // Deletes the rows when the array owns them; empties the array and clears
    // the flag.
    void RemoveAll();
    // Deletes the row at the index and leaves the slot empty; false when the
    // slot is already empty.
    bool DeleteAt(std::int64_t index);
    // Removes the empty slots, keeping the rows' order.
    void Compact();

    std::int32_t CountScanCapable() const;
    // The channel number of the last scan-capable row that is switched on, 0 if none.
    std::uint32_t GetLastActiveChannel() const;
    // Switches every row off, or only the rows that are not computed channels.
    void TurnOffChannels(bool all);

    void SetOwnsRows(std::int32_t owns) { m_ownsRows = owns; }
    std::int32_t OwnsRows() const { return m_ownsRows; }

    // The count, each row as an object reference, then the owns-rows flag. No
    // class tag of the array itself: the document calls this directly.
    void Serialize(tvane::CArchive& ar) override;

private:
    std::vector<CFXSetup*> m_rows;
    std::int32_t m_ownsRows = 0;
};
