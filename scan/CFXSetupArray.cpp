#include "scan/CFXSetupArray.h"

#include "platform/archive/CArchive.h"

#include <algorithm>
#include <new>
#include <stdexcept>

IMPLEMENT_SERIAL(CFXSetupArray, tvane::CObject, 0)

CFXSetup* CFXSetupArray::GetSetup(std::int64_t index) const {
    if (index < 0 || index >= static_cast<std::int64_t>(m_rows.size()))
        return nullptr;
    return m_rows[static_cast<std::size_t>(index)];
}

void CFXSetupArray::SetSetup(std::int64_t index, CFXSetup* row) {
    if (index < 0)
        return;
    auto i = static_cast<std::size_t>(index);
    if (i >= m_rows.size())
        m_rows.resize(i + 1, nullptr);
    m_rows[i] = row;
}

bool CFXSetupArray::SetSize(std::int32_t count) {
    if (count <= 0)
        return false;
    try {
        m_rows.resize(static_cast<std::size_t>(count), nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    m_ownsRows = 1;
    return true;
}

bool CFXSetupArray::ResetSlots(std::int32_t count) {
    if (count <= 0)
        return false;
    if (m_ownsRows != 0 || !m_rows.empty())
        RemoveAll();
    return SetSize(count);
}

bool CFXSetupArray::Append(std::int32_t count) {
    if (count <= 0)
        return false;
    try {
        m_rows.resize(m_rows.size() + static_cast<std::size_t>(count), nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    m_ownsRows = 1;
    return true;
}

void CFXSetupArray::RemoveAll() {
    if (m_ownsRows != 0)
        for (CFXSetup* row : m_rows)
            delete row;
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_ownsRows = 0;
}

bool CFXSetupArray::DeleteAt(std::int64_t index) {
    CFXSetup* row = GetSetup(index);
    if (row == nullptr)
        return false;
    delete row;
    m_rows[static_cast<std::size_t>(index)] = nullptr;
    return true;
}

void CFXSetupArray::Compact() {
    m_rows.erase(std::remove(m_rows.begin(), m_rows.end(), nullptr), m_rows.end());
    m_rows.shrink_to_fit();
}

std::int32_t CFXSetupArray::CountScanCapable() const {
    std::int32_t count = 0;
    for (const CFXSetup* row : m_rows)
        if (row != nullptr && row->IsScanCapable())
            ++count;
    return count;
}

std::uint32_t CFXSetupArray::GetLastActiveChannel() const {
    for (auto it = m_rows.rbegin(); it != m_rows.rend(); ++it) {
        const CFXSetup* row = *it;
        if (row != nullptr && row->IsScanCapable() && row->ChannelMode != 0)
            return row->Channel;
    }
    return 0;
}

void CFXSetupArray::TurnOffChannels(bool all) {
    for (CFXSetup* row : m_rows)
        if (row != nullptr && (all || !row->IsComputed()))
            row->ChannelMode = 0;
}

void CFXSetupArray::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<std::uint32_t>(m_rows.size()));
        for (const CFXSetup* row : m_rows)
            ar.WriteObject(row);
        ar << m_ownsRows;
        return;
    }
    // The document empties the array before loading; rows still held would
    // otherwise be lost behind the loaded ones.
    RemoveAll();
    std::uint32_t count = ar.ReadCount();
    bool created = false;
    if (count > 0) {
        // Sized slot by slot, so a short or forged count fails on the missing
        // data rather than on an allocation the data never backs.
        m_ownsRows = 1;
        for (std::uint32_t i = 0; i < count; ++i) {
            m_rows.push_back(nullptr);
            m_rows.back() = ar.ReadOwnedObject<CFXSetup>().release();
            created = created || m_rows.back() != nullptr;
        }
    }
    std::int32_t owns = 0;
    ar >> owns;
    // Rows made by loading belong to nobody else: the array must own them
    // whatever flag the file carries.
    m_ownsRows = created ? 1 : owns;
}
