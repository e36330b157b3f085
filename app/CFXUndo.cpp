#include "app/CFXUndo.h"

#include <new>
#include <string>

#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"

IMPLEMENT_DYNCREATE(CFXUndo, tvane::CObject)

namespace {

// Empties a buffer, deleting the rows it owns; the array itself never does.
void Drop(std::unique_ptr<CFXSetupArray>& buffer) {
    if (buffer)
        buffer->RemoveAll();
    buffer.reset();
}

bool SaveBuffer(std::unique_ptr<CFXSetupArray>& buffer, std::int32_t count) {
    if (buffer && buffer->ResetSlots(count))
        return true;
    Drop(buffer);
    return false;
}

void PutItem(CFXSetupArray* buffer, std::int32_t index, std::unique_ptr<CFXSetup> row) {
    if (!buffer || index < 0)
        return;
    // A row already in the slot is replaced, not lost.
    if (buffer->GetSetup(index) && buffer->OwnsRows())
        buffer->DeleteAt(index);
    buffer->SetOwnsRows(1);
    buffer->SetSetup(index, row.release());
}

CFXSetup* Source(const CFXSetupArray* buffer, std::int32_t index, bool singleSource) {
    return buffer ? buffer->GetSetup(singleSource ? 0 : index) : nullptr;
}

// Every field but the module model and the channel number; the channel kind
// and the last output value belong to the target's own channel.
void CopySettings(const CFXSetup& from, CFXSetup& to) {
    to.ChannelName = from.ChannelName;
    to.ChannelMode = from.ChannelMode;
    to.Function = from.Function;
    to.Range = from.Range;
    to.Resolution = from.Resolution;
    to.Scaling = from.Scaling;
    to.Gain = from.Gain;
    to.Offset = from.Offset;
    to.Units = from.Units;
    to.Alarms = from.Alarms;
    to.AlarmHi = from.AlarmHi;
    to.AlarmLo = from.AlarmLo;
    to.AlarmEvent = from.AlarmEvent;
    to.Comment = from.Comment;
    to.AdvSettingsType = from.AdvSettingsType;
    to.AdvSettings = from.AdvSettings;
    to.AlarmActions = from.AlarmActions;
    to.CellFlags = from.CellFlags;
}

// Takes the fields of one grid column. Returns false for columns that carry
// nothing.
bool CopyColumn(int column, const CFXSetup& from, CFXSetup& to) {
    switch (column) {
    case kColumnScan:
        to.ChannelMode = from.ChannelMode;
        return true;
    case kColumnName:
        to.ChannelName = from.ChannelName;
        return true;
    case kColumnFunction:
        // The function brings the settings and the disabled cells that go with it.
        to.Function = from.Function;
        to.Range = from.Range;
        to.Resolution = from.Resolution;
        to.Units = from.Units;
        to.AdvSettingsType = from.AdvSettingsType;
        to.AdvSettings = from.AdvSettings;
        to.CellFlags = from.CellFlags;
        return true;
    case kColumnRange:
        to.Range = from.Range;
        return true;
    case kColumnResolution:
        to.Resolution = from.Resolution;
        return true;
    case kColumnAdvanced:
        to.AdvSettings = from.AdvSettings;
        return true;
    case kColumnScale:
        to.Scaling = from.Scaling;
        return true;
    case kColumnGain:
        to.Gain = from.Gain;
        return true;
    case kColumnOffset:
        to.Offset = from.Offset;
        return true;
    case kColumnLabel:
        to.Units = from.Units;
        return true;
    case kColumnTest:
        to.Alarms = from.Alarms;
        return true;
    case kColumnHigh:
        to.AlarmHi = from.AlarmHi;
        return true;
    case kColumnLow:
        to.AlarmLo = from.AlarmLo;
        return true;
    case kColumnHardwareAlarm:
        to.AlarmEvent = from.AlarmEvent;
        return true;
    case kColumnAlarmActions:
        to.AlarmActions = from.AlarmActions;
        return true;
    case kColumnComment:
        to.Comment = from.Comment;
        return true;
    default:
        return false;
    }
}

} // namespace

CFXUndo::CFXUndo() = default;

CFXUndo::CFXUndo(IUndoDocument* document) : m_document(document) {}

CFXUndo::~CFXUndo() {
    Destroy();
}

bool CFXUndo::Create() {
    try {
        if (!m_copyRange)
            m_copyRange = std::make_unique<CSetupRange>();
        if (!m_undoRange)
            m_undoRange = std::make_unique<CSetupRange>();
        if (!m_copyBuffer)
            m_copyBuffer = std::make_unique<CFXSetupArray>();
        if (!m_undoBuffer)
            m_undoBuffer = std::make_unique<CFXSetupArray>();
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void CFXUndo::Destroy() {
    m_copyRange.reset();
    m_undoRange.reset();
    Drop(m_copyBuffer);
    Drop(m_undoBuffer);
}

void CFXUndo::Clear() {
    if (m_copyBuffer)
        m_copyBuffer->RemoveAll();
    if (m_undoBuffer)
        m_undoBuffer->RemoveAll();
}

bool CFXUndo::SaveCopyBuffer(std::int32_t count) {
    return SaveBuffer(m_copyBuffer, count);
}
bool CFXUndo::SaveUndoBuffer(std::int32_t count) {
    return SaveBuffer(m_undoBuffer, count);
}

void CFXUndo::SetCopyItem(std::int32_t index, std::unique_ptr<CFXSetup> row) {
    PutItem(m_copyBuffer.get(), index, std::move(row));
}

void CFXUndo::SetUndoItem(std::int32_t index, std::unique_ptr<CFXSetup> row) {
    PutItem(m_undoBuffer.get(), index, std::move(row));
}

CFXSetup* CFXUndo::GetCopyItem(std::int32_t index) const {
    return m_copyBuffer ? m_copyBuffer->GetSetup(index) : nullptr;
}

CFXSetup* CFXUndo::GetUndoItem(std::int32_t index) const {
    return m_undoBuffer ? m_undoBuffer->GetSetup(index) : nullptr;
}

std::int32_t CFXUndo::HasCopyItems() const {
    return m_copyBuffer ? m_copyBuffer->OwnsRows() : 0;
}
std::int32_t CFXUndo::HasUndoItems() const {
    return m_undoBuffer ? m_undoBuffer->OwnsRows() : 0;
}

void CFXUndo::Normalize(CSetupRange& range) {
    if (range.type < CSetupRange::kCells || range.type > CSetupRange::kTable)
        range.type = range.left == 0 && range.right == 0 ? CSetupRange::kRows : CSetupRange::kCells;
    range.valid = true;
}

void CFXUndo::SetCopyRange(const CSetupRange& range) {
    if (!m_copyRange)
        m_copyRange = std::make_unique<CSetupRange>();
    *m_copyRange = range;
    Normalize(*m_copyRange);
}

void CFXUndo::SetUndoRange(const CSetupRange& range) {
    if (!m_undoRange)
        m_undoRange = std::make_unique<CSetupRange>();
    *m_undoRange = range;
    Normalize(*m_undoRange);
}

bool CFXUndo::NormalizeCopyRange(CSetupRange& range) const {
    if (!m_copyRange)
        return false;
    range = *m_copyRange;
    Normalize(range);
    return true;
}

bool CFXUndo::NormalizeUndoRange(CSetupRange& range) const {
    if (!m_undoRange)
        return false;
    range = *m_undoRange;
    Normalize(range);
    return true;
}

bool CFXUndo::IsCompatible(const CSetupRange* stored, const CSetupRange& target,
                           std::int32_t& rowsDiffer) {
    rowsDiffer = 0;
    if (!stored || stored->left != target.left || stored->right != target.right)
        return false;
    if (stored->RowCount() != target.RowCount()) {
        rowsDiffer = 1;
        // One source row may go onto many rows, not several onto a different count.
        if (stored->RowCount() > 1)
            return false;
    }
    return true;
}

bool CFXUndo::IsCompatibleCopy(const CSetupRange& target, std::int32_t& rowsDiffer) const {
    return IsCompatible(m_copyRange.get(), target, rowsDiffer);
}

bool CFXUndo::IsCompatibleUndo(const CSetupRange& target, std::int32_t& rowsDiffer) const {
    return IsCompatible(m_undoRange.get(), target, rowsDiffer);
}

bool CFXUndo::PasteItems(std::int32_t index, CFXSetup& target, bool singleSource,
                         std::int32_t& scanChanged, std::int32_t& functionChanged) {
    scanChanged = 0;
    functionChanged = 0;
    const CFXSetup* source = Source(m_copyBuffer.get(), index, singleSource);
    if (!source || !m_copyRange)
        return false;
    const CSetupRange& range = *m_copyRange;
    if (range.left == 0 && range.right == 0) {
        CopySettings(*source, target);
        scanChanged = 1;
        functionChanged = 1;
        return true;
    }
    for (int column = range.left; column <= range.right; ++column) {
        if (!CopyColumn(column, *source, target))
            continue;
        switch (column) {
        case kColumnScan:
            scanChanged = 1;
            break;
        case kColumnFunction:
            functionChanged = 1;
            break;
        case kColumnResolution:
            if (m_document)
                m_document->FormatResolution(target);
            break;
        case kColumnScale:
            target.SetScalingDefaults();
            break;
        case kColumnTest:
            target.SetAlarmDefaults();
            break;
        default:
            break;
        }
    }
    return true;
}

bool CFXUndo::UndoItems(std::int32_t index, CFXSetup& target, bool singleSource) {
    const CFXSetup* source = Source(m_undoBuffer.get(), index, singleSource);
    if (!source || !m_undoRange)
        return false;
    const CSetupRange& range = *m_undoRange;
    if (range.left == range.right) {
        // The row as it was, whole.
        const std::string name = target.Name;
        const std::uint32_t channel = target.Channel;
        target = *source;
        target.Name = name;
        target.Channel = channel;
        return true;
    }
    for (int column = range.left; column <= range.right; ++column) {
        if (column == kColumnId)
            target.Channel = source->Channel;
        else
            CopyColumn(column, *source, target);
    }
    return true;
}

void CFXUndo::CopyUndoToCopy() {
    if (!m_undoBuffer || !m_copyBuffer)
        return;
    for (std::int32_t i = 0; i < m_undoBuffer->GetSize(); ++i) {
        if (const CFXSetup* row = m_undoBuffer->GetSetup(i))
            PutItem(m_copyBuffer.get(), i, std::make_unique<CFXSetup>(*row));
    }
}

void CFXUndo::Serialize(tvane::CArchive& ar) {
    tvane::CObject::Serialize(ar);
}
