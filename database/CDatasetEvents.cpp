// The event operations of CDataset: the "Events" records, their text streams and
// the "UserEvents" index.
#include "database/CDataset.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include "database/DatasetErrors.h"
#include "platform/core/FrameworkExceptions.h"

using namespace tvane;

namespace {

constexpr StorageMode kElementMode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
// Records are moved through a block of this size when the list opens or closes a gap.
constexpr std::size_t kMoveBlock = 8192;
constexpr std::size_t kMaxTextLength = 0xFFFF;

bool SameWholeMs(double a, double b) {
    return std::trunc(a) == std::trunc(b);
}

} // namespace

#pragma pack(push, 1)
struct CDataset::EventRecord {
    double Time = 0.0;
    std::uint32_t Type = 0;
    std::int32_t Channel = 0;
};
#pragma pack(pop)

std::string CDataset::EventTextName(double time) {
    char name[64];
    std::snprintf(name, sizeof(name), "%.4lf", time);
    return name;
}

CDataset::EventRecord CDataset::ReadEventRecord(COleStreamFile& stream, std::int32_t index) {
    static_assert(sizeof(EventRecord) == kEventRecordSize);
    EventRecord record;
    stream.Seek(static_cast<std::int64_t>(index) * kEventRecordSize, STREAM_SEEK_SET);
    if (stream.Read(&record, sizeof(record)) != sizeof(record))
        throw FileException(FileException::endOfFile, -1, stream.GetName());
    return record;
}

void CDataset::WriteEventRecord(COleStreamFile& stream, std::int32_t index,
                                const EventRecord& record) {
    stream.Seek(static_cast<std::int64_t>(index) * kEventRecordSize, STREAM_SEEK_SET);
    stream.Write(&record, sizeof(record));
}

void CDataset::MoveRecords(COleStreamFile& stream, std::int32_t from, std::int32_t to,
                           std::int32_t count) {
    if (count <= 0 || from == to)
        return;
    std::size_t remaining = static_cast<std::size_t>(count) * kEventRecordSize;
    std::vector<std::uint8_t> block(std::min(remaining, kMoveBlock));
    const std::int64_t source = static_cast<std::int64_t>(from) * kEventRecordSize;
    const std::int64_t shift = static_cast<std::int64_t>(to - from) * kEventRecordSize;
    // Moving up starts at the end, moving down at the start, so nothing is
    // overwritten before it has been read.
    std::size_t done = 0;
    while (remaining > 0) {
        const std::size_t chunk = std::min(remaining, kMoveBlock);
        const std::int64_t at = shift > 0 ? source + static_cast<std::int64_t>(remaining - chunk)
                                          : source + static_cast<std::int64_t>(done);
        stream.Seek(at, STREAM_SEEK_SET);
        if (stream.Read(block.data(), chunk) != chunk)
            throw FileException(FileException::endOfFile, -1, stream.GetName());
        stream.Seek(at + shift, STREAM_SEEK_SET);
        stream.Write(block.data(), chunk);
        remaining -= chunk;
        done += chunk;
    }
}

COleStreamFile CDataset::CreateTextStream(double& time) {
    double t = time;
    std::string name;
    for (int tries = 0; tries < kMaxTextNameTries; ++tries, t += 0.001) {
        name = EventTextName(t);
        try {
            COleStreamFile stream;
            stream.Attach(m_textStorage.CreateStream(name, kElementMode), name);
            time = t;
            return stream;
        } catch (const StorageException& e) {
            if (e.Status() != STG_E_FILEALREADYEXISTS)
                dataset_errors::ThrowStreamFailure(e.Status(), name);
        }
    }
    dataset_errors::ThrowStreamFailure(STG_E_FILEALREADYEXISTS, name);
}

void CDataset::WriteText(COleStreamFile& stream, const std::string& text) {
    // The length field holds 16 bits: a longer text is cut, not wrapped.
    const std::uint16_t length = static_cast<std::uint16_t>(std::min(text.size(), kMaxTextLength));
    stream.Write(&length, sizeof(length));
    stream.Write(text.data(), length);
}

void CDataset::RewriteText(const CDatasetEvent& ev) {
    COleStreamFile stream;
    stream.OpenStream(m_textStorage, EventTextName(ev.m_time), kElementMode);
    stream.SetLength(0);
    stream.Seek(0, STREAM_SEEK_SET);
    WriteText(stream, ev.m_text);
    stream.Close();
}

void CDataset::RecountEvents() {
    m_firstEventTime = m_lastEventTime = 0.0;
    const std::int32_t count = static_cast<std::int32_t>(m_events.GetLength() / kEventRecordSize);
    std::vector<EventRecord> block(kMoveBlock / kEventRecordSize);
    m_events.Seek(0, STREAM_SEEK_SET);
    for (std::int32_t done = 0; done < count;) {
        const std::size_t read = m_events.Read(block.data(), block.size() * kEventRecordSize);
        const std::size_t records = read / kEventRecordSize;
        if (records == 0)
            break;
        for (std::size_t i = 0; i < records; ++i) {
            const double t = block[i].Time;
            if (m_firstEventTime <= 0.0 ? t > 0.0 : (t >= 0.0 && t < m_firstEventTime))
                m_firstEventTime = t;
            if (m_lastEventTime < t)
                m_lastEventTime = t;
        }
        done += static_cast<std::int32_t>(records);
    }
}

std::int32_t CDataset::GetRunEventCount() {
    std::int32_t count = m_open ? m_eventCount : 0;
    while (count > 0 && ReadEventRecord(m_events, count - 1).Time < 0.0)
        --count;
    return count;
}

std::int32_t CDataset::AppendEvent(CDatasetEvent& ev) {
    if (!m_open)
        return 0;
    double t = ev.m_time;
    COleStreamFile text = CreateTextStream(t);
    // An event of the run goes in before those logged outside it, which close
    // the list: the searches by time rely on that order.
    const std::int32_t at = t >= 0.0 ? GetRunEventCount() : m_eventCount;
    if (at < m_eventCount) {
        m_events.SetLength(static_cast<std::uint64_t>(m_eventCount + 1) * kEventRecordSize);
        MoveRecords(m_events, at, at + 1, m_eventCount - at);
    }
    WriteEventRecord(m_events, at, EventRecord{t, ev.m_type, ev.m_channel});
    ++m_eventCount;
    // The caller keeps the time the event is stored under: its text is found by it.
    ev.m_time = t;
    if (CDatasetEvent::IsIndexedType(ev.m_type) && t >= 0.0)
        AppendUserEvent(ev);
    if (m_firstEventTime <= 0.0) {
        if (t > 0.0)
            m_firstEventTime = t;
    } else if (m_firstEventTime > t && t >= 0.0) {
        m_firstEventTime = t;
    }
    if (m_lastEventTime < t)
        m_lastEventTime = t;
    WriteText(text, ev.m_text);
    text.Close();
    return m_eventCount;
}

bool CDataset::InsertEvent(std::int32_t index, CDatasetEvent& ev) {
    if (!m_open || index < 0 || index > m_eventCount)
        return false;
    // The name comes first: when no name is free the list is left as it was.
    double t = ev.m_time;
    COleStreamFile text = CreateTextStream(t);
    const std::int32_t oldCount = m_eventCount;
    m_events.SetLength(static_cast<std::uint64_t>(oldCount + 1) * kEventRecordSize);
    MoveRecords(m_events, index, index + 1, oldCount - index);
    WriteEventRecord(m_events, index, EventRecord{t, ev.m_type, ev.m_channel});
    m_eventCount = oldCount + 1;
    ev.m_time = t;
    if (CDatasetEvent::IsIndexedType(ev.m_type) && t >= 0.0)
        InsertUserEvent(FindUserEventInsertIndex(t), ev);
    WriteText(text, ev.m_text);
    text.Close();
    return true;
}

bool CDataset::SetEvent(std::int32_t index, const CDatasetEvent& ev) {
    if (!m_open || index < 0 || index >= m_eventCount)
        return false;
    // The text stream must exist before the record is touched.
    COleStreamFile text;
    text.OpenStream(m_textStorage, EventTextName(ev.m_time), kElementMode);
    WriteEventRecord(m_events, index, EventRecord{ev.m_time, ev.m_type, ev.m_channel});
    text.SetLength(0);
    text.Seek(0, STREAM_SEEK_SET);
    WriteText(text, ev.m_text);
    text.Close();
    return true;
}

bool CDataset::UpdateEventField(std::int32_t index, int field, const CDatasetEvent& ev) {
    if (!m_open || index < 0 || index >= m_eventCount)
        return false;
    switch (field) {
    case 1:
        m_events.Seek(static_cast<std::int64_t>(index) * kEventRecordSize +
                          offsetof(EventRecord, Channel),
                      STREAM_SEEK_SET);
        m_events.Write(&ev.m_channel, sizeof(ev.m_channel));
        return true;
    case 3:
        RewriteText(ev);
        return true;
    default:
        return false;
    }
}

bool CDataset::GetEvent(std::int32_t index, CDatasetEvent& out) {
    if (!m_open || index < 0 || index >= m_eventCount)
        return false;
    const EventRecord record = ReadEventRecord(m_events, index);
    COleStreamFile text;
    text.OpenStream(m_textStorage, EventTextName(record.Time), kElementMode);
    std::uint16_t length = 0;
    std::string characters;
    if (text.Read(&length, sizeof(length)) == sizeof(length)) {
        characters.resize(length);
        characters.resize(text.Read(characters.data(), length));
    }
    text.Close();
    out.m_time = record.Time;
    out.m_type = record.Type;
    out.m_channel = record.Channel;
    out.m_text = std::move(characters);
    return true;
}

bool CDataset::DeleteEvent(std::int32_t index) {
    if (!m_open || index < 0 || index >= m_eventCount)
        return false;
    const EventRecord record = ReadEventRecord(m_events, index);
    if (CDatasetEvent::IsIndexedType(record.Type) && record.Time >= 0.0) {
        // Only the entry of this very event goes, never a neighbour the search
        // stopped at.
        const std::int32_t entry = FindUserEventIndex(record.Time, false);
        if (entry >= 0 && entry < m_userEventCount &&
            ReadEventRecord(m_userEvents, entry).Time == record.Time)
            RemoveUserEvent(entry);
    }
    try {
        m_textStorage.DestroyElement(EventTextName(record.Time));
    } catch (const StorageException& e) {
        // An event whose text was never written can still be deleted.
        if (e.Status() != STG_E_FILENOTFOUND)
            throw StorageException(e.Status(), EventTextName(record.Time));
    }
    MoveRecords(m_events, index + 1, index, m_eventCount - index - 1);
    --m_eventCount;
    m_events.SetLength(static_cast<std::uint64_t>(m_eventCount) * kEventRecordSize);
    return true;
}

std::int32_t CDataset::SearchByTime(COleStreamFile& stream, std::int32_t count, double time,
                                    bool lastOfEqual) {
    if (count <= 0)
        return -1;
    std::int32_t lo = 0, hi = count, mid = count / 2;
    do {
        const double t = ReadEventRecord(stream, mid).Time;
        if (t < 0.0 || t > time) {
            hi = mid;
            mid = lo + (mid - lo) / 2;
        } else if (t < time) {
            lo = mid;
            mid = mid + (hi - mid) / 2;
        } else {
            if (lastOfEqual) {
                while (mid < count && SameWholeMs(ReadEventRecord(stream, mid).Time, time))
                    ++mid;
                if (mid > 0)
                    --mid;
            }
            return mid;
        }
    } while (lo < mid && mid < hi);
    // The search can end on the last record before time; callers take the answer
    // as the first record at or after it.
    if (mid < count) {
        const double t = ReadEventRecord(stream, mid).Time;
        if (t >= 0.0 && t < time)
            ++mid;
    }
    return mid;
}

std::int32_t CDataset::FindEventIndex(const double& time, bool lastOfEqual) {
    if (!m_open)
        return -1;
    return SearchByTime(m_events, m_eventCount, time, lastOfEqual);
}

std::int32_t CDataset::FindEvent(const CDatasetEvent& pattern, CDatasetEvent& out) {
    const std::int32_t start = FindEventIndex(pattern.m_time, false);
    if (start < 0)
        return -1;
    for (std::int32_t i = start; i < m_eventCount; ++i) {
        const EventRecord record = ReadEventRecord(m_events, i);
        if ((record.Type & pattern.m_type) != 0 && record.Time >= pattern.m_time &&
            (pattern.m_channel == -1 || record.Channel == pattern.m_channel)) {
            GetEvent(i, out);
            return i;
        }
    }
    return -1;
}

// ---- the "UserEvents" index

std::int32_t CDataset::AppendUserEvent(const CDatasetEvent& ev) {
    if (!m_open)
        return 0;
    WriteEventRecord(m_userEvents, m_userEventCount,
                     EventRecord{ev.m_time, ev.m_type, ev.m_channel});
    return ++m_userEventCount;
}

bool CDataset::InsertUserEvent(std::int32_t index, const CDatasetEvent& ev) {
    if (!m_open || index < 0 || index > m_userEventCount)
        return false;
    const std::int32_t oldCount = m_userEventCount;
    m_userEvents.SetLength(static_cast<std::uint64_t>(oldCount + 1) * kEventRecordSize);
    MoveRecords(m_userEvents, index, index + 1, oldCount - index);
    WriteEventRecord(m_userEvents, index, EventRecord{ev.m_time, ev.m_type, ev.m_channel});
    m_userEventCount = oldCount + 1;
    return true;
}

bool CDataset::RemoveUserEvent(std::int32_t index) {
    if (!m_open || index < 0 || index >= m_userEventCount)
        return false;
    MoveRecords(m_userEvents, index + 1, index, m_userEventCount - index - 1);
    --m_userEventCount;
    m_userEvents.SetLength(static_cast<std::uint64_t>(m_userEventCount) * kEventRecordSize);
    return true;
}

std::int32_t CDataset::FindUserEventInsertIndex(const double& time) {
    if (time < 0.0 || !m_open)
        return 0;
    for (std::int32_t i = 0; i < m_userEventCount; ++i) {
        if (ReadEventRecord(m_userEvents, i).Time > time)
            return i;
    }
    return m_userEventCount;
}

std::int32_t CDataset::FindUserEventIndex(const double& time, bool lastOfEqual) {
    if (!m_open)
        return -1;
    return SearchByTime(m_userEvents, m_userEventCount, time, lastOfEqual);
}

std::int32_t CDataset::GetUserEvents(const double& from, const double& to, std::uint32_t typeMask,
                                     std::vector<std::unique_ptr<CDatasetEvent>>& out) {
    if (!m_open || m_userEventCount == 0)
        return 0;
    std::int32_t added = 0;
    for (std::int32_t i = std::max(FindUserEventIndex(from, false), 0); i < m_userEventCount; ++i) {
        const EventRecord record = ReadEventRecord(m_userEvents, i);
        if (std::trunc(to) < std::trunc(record.Time))
            break;
        const std::uint32_t type = record.Type;
        if ((type & typeMask) != 0) {
            const std::int32_t channel = record.Channel;
            const double time = record.Time;
            out.push_back(std::make_unique<CDatasetEvent>(type, channel, time));
            ++added;
        }
    }
    return added;
}
