#pragma once
#include <cstdint>
#include <memory>

#include "platform/archive/CObject.h"

class CFXSetup;
class CFXSetupArray;

// A rectangle of setup grid cells as the grid reports a selection.
struct CSetupRange {
    enum Type { kCells = 0, kRows = 1, kColumns = 2, kTable = 3 };
    int type = kCells;
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t bottom = 0;
    std::int32_t right = 0;
    bool valid = false;

    std::int32_t RowCount() const { return bottom - top + 1; }
    bool operator==(const CSetupRange&) const = default;
};

// Setup grid columns.
enum SetupColumn {
    kColumnId = 0,
    kColumnScan = 1,
    kColumnName = 2,
    kColumnFunction = 3,
    kColumnRange = 4,
    kColumnResolution = 5,
    kColumnAdvanced = 6,
    kColumnScale = 7,
    kColumnGain = 8,
    kColumnOffset = 9,
    kColumnLabel = 10,
    kColumnTest = 11,
    kColumnHigh = 12,
    kColumnLow = 13,
    kColumnHardwareAlarm = 14,
    kColumnAlarmActions = 15,
    kColumnComment = 16,
};

// What the undo record needs of its document.
class IUndoDocument {
public:
    virtual ~IUndoDocument() = default;
    // Rewrites the row's integration setting from its resolution text.
    virtual void FormatResolution(CFXSetup& row) = 0;
};

// The document's clipboard and one-level undo for edits of the setup grid: a
// copy buffer (filled by Copy, read by Paste) and an undo buffer (filled before
// an edit, read by Undo), each with the grid range it was taken from. Nothing of
// it is ever stored in the document file.
class CFXUndo : public tvane::CObject {
    DECLARE_DYNCREATE(CFXUndo)
public:
    CFXUndo();
    explicit CFXUndo(IUndoDocument* document);
    CFXUndo(const CFXUndo&) = delete;
    CFXUndo& operator=(const CFXUndo&) = delete;
    ~CFXUndo() override;

    // Creates the ranges and buffers that do not exist yet.
    bool Create();
    // Deletes them with their rows.
    void Destroy();
    // Empties both buffers.
    void Clear();

    // Empties the buffer and makes count empty slots; on failure the buffer is
    // dropped (Create makes it again) and the result is false.
    bool SaveCopyBuffer(std::int32_t count);
    bool SaveUndoBuffer(std::int32_t count);
    // The buffer takes the row.
    void SetCopyItem(std::int32_t index, std::unique_ptr<CFXSetup> row);
    void SetUndoItem(std::int32_t index, std::unique_ptr<CFXSetup> row);
    CFXSetup* GetCopyItem(std::int32_t index) const;
    CFXSetup* GetUndoItem(std::int32_t index) const;
    // Non-zero once rows have been saved into the buffer, 0 after Clear.
    std::int32_t HasCopyItems() const;
    std::int32_t HasUndoItems() const;

    // Store the range, normalised.
    void SetCopyRange(const CSetupRange& range);
    void SetUndoRange(const CSetupRange& range);
    // The stored range, normalised; false when there is none.
    bool NormalizeCopyRange(CSetupRange& range) const;
    bool NormalizeUndoRange(CSetupRange& range) const;

    // Whether the buffer's rows fit onto the target range: the same columns, and
    // the same number of rows unless the buffer holds a single row (which may go
    // onto many; rowsDiffer is then 1).
    bool IsCompatibleCopy(const CSetupRange& target, std::int32_t& rowsDiffer) const;
    bool IsCompatibleUndo(const CSetupRange& target, std::int32_t& rowsDiffer) const;

    // Applies the copy buffer's row (slot 0 when singleSource, else slot index)
    // to the target, column by column of the copy range, with the defaults each
    // column brings; reports whether the scan flag or the function changed.
    // False when there is no such row.
    bool PasteItems(std::int32_t index, CFXSetup& target, bool singleSource,
                    std::int32_t& scanChanged, std::int32_t& functionChanged);
    // Restores the target from the undo buffer's row, column by column of the
    // undo range, without defaults.
    bool UndoItems(std::int32_t index, CFXSetup& target, bool singleSource);
    // Copies every row of the undo buffer into the same slot of the copy buffer.
    void CopyUndoToCopy();

    void Serialize(tvane::CArchive& ar) override;

    static void Normalize(CSetupRange& range);

private:
    static bool IsCompatible(const CSetupRange* stored, const CSetupRange& target,
                             std::int32_t& rowsDiffer);

    IUndoDocument* m_document = nullptr;
    std::unique_ptr<CSetupRange> m_copyRange;
    std::unique_ptr<CSetupRange> m_undoRange;
    std::unique_ptr<CFXSetupArray> m_copyBuffer;
    std::unique_ptr<CFXSetupArray> m_undoBuffer;
};
