#include "database/CDataset.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "database/CDatasetStore.h"
#include "database/DatasetDirEntry.h"
#include "database/DatasetErrors.h"

using namespace tvane;
using dataset_errors::ThrowStorageFailure;

namespace {

constexpr StorageMode kElementMode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
constexpr const char* kHeaderName = "Header";
constexpr const char* kEventsName = "Events";
constexpr const char* kUserEventsName = "UserEvents";
constexpr const char* kReadingsName = "Readings";
constexpr std::uint64_t kRecord = sizeof(ReadingRecord);

template <typename T> void Put(std::uint8_t* bytes, std::size_t offset, T value) {
    std::memcpy(bytes + offset, &value, sizeof(T));
}

template <typename T> void Get(const std::uint8_t* bytes, std::size_t offset, T& value) {
    std::memcpy(&value, bytes + offset, sizeof(T));
}

std::int32_t ClampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, INT32_MIN, static_cast<std::int64_t>(INT32_MAX)));
}

void CloseQuietly(Storage& storage) noexcept {
    try {
        if (storage.IsOpen())
            storage.Close();
    } catch (...) {
        // released all the same
    }
    storage = Storage();
}

} // namespace

CDataset::CDataset() {
    Reset();
}

CDataset::~CDataset() {
    Close();
}

void CDataset::Reset() {
    m_open = false;
    m_key.clear();
    m_store = nullptr;
    m_firstScan = m_lastScan = 0;
    m_readingCount = 0;
    m_scanInterval = 0.0;
    m_channels = 0;
    m_startTime = 0;
    m_firstTime = m_lastTime = 0.0;
    m_firstEventTime = m_lastEventTime = 0.0;
    m_browsePosition = 0.0;
    m_browseScan = 0;
    m_firstTick = m_lastTick = 0.0;
    m_eventRecordSize = kEventRecordSize;
    m_runValue = 0;
    m_eventCount = 0;
    m_userEventCount = 0;
    m_buffer.reset();
    m_bufferUsed = 0;
    m_bufferSize = 0;
}

void CDataset::ReleaseStreams() noexcept {
    m_header.Abort();
    m_events.Abort();
    m_userEvents.Abort();
    m_readings.Abort();
    CloseQuietly(m_textStorage);
    CloseQuietly(m_storage);
}

bool CDataset::Create(const CTime& start, std::int16_t channels, CDatasetStore* store,
                      const std::string& key, std::uint16_t bufferBytes) {
    if (m_open || !store || !store->IsOpen())
        return false;
    // The directory record holds at most this much of a key; a longer one could
    // not be found again.
    if (key.empty() || key.size() > DatasetDirEntry::kMaxKeyLength)
        ThrowStorageFailure(STG_E_INVALIDNAME, key);
    SetWriteBuffer(bufferBytes);
    try {
        try {
            m_storage = store->GetRootStorage()->CreateStorage(key, kElementMode);
        } catch (const StorageException&) {
            ThrowStorageFailure(STG_E_FILEALREADYEXISTS, key);
        }
        m_header.CreateStream(m_storage, kHeaderName, kElementMode);
        m_events.CreateStream(m_storage, kEventsName, kElementMode);
        m_userEvents.CreateStream(m_storage, kUserEventsName, kElementMode);
        m_readings.CreateStream(m_storage, kReadingsName, kElementMode);
        const std::string textName = kEventsName + key;
        try {
            m_textStorage = m_storage.CreateStorage(textName, kElementMode);
        } catch (const StorageException& e) {
            ThrowStorageFailure(e.Status(), textName);
        }
    } catch (...) {
        ReleaseStreams();
        Reset();
        throw;
    }
    m_key = key;
    m_store = store;
    m_channels = channels;
    SetStartTime(start);
    m_open = true;
    store->AddOpenDataset(this);
    return true;
}

bool CDataset::Open(CDatasetStore* store, const std::string& key) {
    if (m_open || !store || !store->IsOpen())
        return false;
    SetWriteBuffer(kDefaultBufferBytes);
    try {
        try {
            m_storage = store->GetRootStorage()->OpenStorage(key, kElementMode);
        } catch (const StorageException& e) {
            ThrowStorageFailure(e.Status(), key);
        }
        m_header.OpenStream(m_storage, kHeaderName, kElementMode);
        ReadHeader();
        const std::int32_t headerEvents = m_eventCount;
        m_events.OpenStream(m_storage, kEventsName, kElementMode);
        m_eventCount = static_cast<std::int32_t>(m_events.GetLength() / kEventRecordSize);
        m_userEvents.OpenStream(m_storage, kUserEventsName, kElementMode);
        m_userEventCount = static_cast<std::int32_t>(m_userEvents.GetLength() / kEventRecordSize);
        m_readings.OpenStream(m_storage, kReadingsName, kElementMode);
        const std::string textName = kEventsName + key;
        try {
            m_textStorage = m_storage.OpenStorage(textName, kElementMode);
        } catch (const StorageException& e) {
            ThrowStorageFailure(e.Status(), textName);
        }
        // A header older than the events (the run ended without its last header
        // write) also holds stale event times.
        if (headerEvents != m_eventCount)
            RecountEvents();
    } catch (...) {
        ReleaseStreams();
        Reset();
        throw;
    }
    m_key = key;
    m_store = store;
    m_open = true;
    store->AddOpenDataset(this);
    try {
        WriteHeader();
    } catch (...) {
        Close();
        throw;
    }
    return true;
}

void CDataset::CheckStored(Storage& root, const std::string& key) {
    constexpr StorageMode kRead = STGM_READ | STGM_SHARE_EXCLUSIVE;
    Storage storage;
    try {
        storage = root.OpenStorage(key, kRead);
    } catch (const StorageException& e) {
        ThrowStorageFailure(e.Status(), key);
    }
    for (const char* name : {kHeaderName, kEventsName, kUserEventsName, kReadingsName}) {
        COleStreamFile stream;
        stream.OpenStream(storage, name, kRead);
        stream.Abort();
    }
    const std::string textName = kEventsName + key;
    try {
        Storage text = storage.OpenStorage(textName, kRead);
        CloseQuietly(text);
    } catch (const StorageException& e) {
        ThrowStorageFailure(e.Status(), textName);
    }
    CloseQuietly(storage);
}

void CDataset::Close() {
    if (!m_open)
        return;
    try {
        WriteHeader();
    } catch (...) {
        // closing goes on; what the last flush committed stays in the file
    }
    ReleaseStreams();
    if (m_store)
        m_store->RemoveOpenDataset(this);
    Reset();
}

// ---- readings

bool CDataset::SetWriteBuffer(std::uint16_t bytes) {
    // Records held in the old buffer are written out, not dropped.
    if (m_bufferUsed > 0 && m_readings.IsOpen())
        WriteBufferedReadings();
    const std::uint16_t size = static_cast<std::uint16_t>(bytes / kRecord * kRecord);
    m_buffer = size ? std::make_unique<std::uint8_t[]>(size) : nullptr;
    m_bufferSize = size;
    m_bufferUsed = 0;
    return true;
}

void CDataset::WriteBufferedReadings() {
    if (m_bufferUsed == 0 || !m_readings.IsOpen())
        return;
    const std::uint64_t end = m_readings.SeekToEnd();
    try {
        m_readings.Write(m_buffer.get(), m_bufferUsed);
    } catch (...) {
        // Keep the records for the next try, without a partial copy in the stream.
        try {
            m_readings.SetLength(end);
        } catch (...) {
        }
        throw;
    }
    m_bufferUsed = 0;
}

bool CDataset::AppendReadings(const ReadingRecord* records, std::int16_t count) {
    if (!m_open || count < 0 || (count > 0 && !records))
        return false;
    if (count == 0)
        return true;
    // A batch the stream cannot take whole is refused, so callers know it was not
    // stored.
    if (GetReadingRoom() < count)
        return false;
    const std::size_t bytes = static_cast<std::size_t>(count) * kRecord;
    if (m_bufferSize == 0) {
        m_readings.SeekToEnd();
        m_readings.Write(records, bytes);
        return true;
    }
    if (static_cast<std::size_t>(m_bufferSize - m_bufferUsed) < bytes)
        WriteBufferedReadings();
    if (bytes > m_bufferSize) {
        m_readings.SeekToEnd();
        m_readings.Write(records, bytes);
        return true;
    }
    std::memcpy(m_buffer.get() + m_bufferUsed, records, bytes);
    m_bufferUsed = static_cast<std::uint16_t>(m_bufferUsed + bytes);
    return true;
}

bool CDataset::FlushReadings() {
    if (!m_open)
        return true;
    WriteBufferedReadings();
    // Commits the whole file: the events appended so far become durable too.
    m_readings.Flush();
    return true;
}

bool CDataset::ReadReadingAt(std::uint64_t position, ReadingRecord& out) {
    m_readings.Seek(static_cast<std::int64_t>(position), STREAM_SEEK_SET);
    return m_readings.Read(&out, kRecord) == kRecord;
}

std::int16_t CDataset::ReadReadings(ReadingRecord* out, std::int16_t count,
                                    std::int32_t firstIndex) {
    if (!m_open || !out || count <= 0 || firstIndex < 0)
        return 0;
    WriteBufferedReadings();
    m_readings.Seek(static_cast<std::int64_t>(firstIndex * kRecord), STREAM_SEEK_SET);
    const std::size_t read = m_readings.Read(out, static_cast<std::size_t>(count) * kRecord);
    return static_cast<std::int16_t>(read / kRecord);
}

std::int64_t CDataset::GetReadingRoom() {
    if (!m_open)
        return 0;
    const std::uint64_t held = m_readings.GetLength() + m_bufferUsed;
    const std::uint64_t most = m_readingLimit / kRecord * kRecord;
    return held >= most ? 0 : static_cast<std::int64_t>((most - held) / kRecord);
}

double CDataset::GetLastReadingTime() {
    if (!m_open)
        return 0.0;
    WriteBufferedReadings();
    m_readingCount = static_cast<std::int32_t>(m_readings.GetLength() / kRecord);
    ReadingRecord last;
    if (m_readingCount == 0 || !ReadReadingAt((m_readingCount - 1) * kRecord, last))
        return 0.0;
    return last.Time;
}

std::int32_t CDataset::GetScanCount() const {
    if (m_channels <= 0 || m_readingCount <= 0)
        return 0;
    const std::int64_t byCeiling = (m_readingCount + m_channels - 1) / m_channels;
    const std::int64_t byNumbers = static_cast<std::int64_t>(m_lastScan) - m_firstScan + 1;
    return ClampToInt32(std::max(byCeiling, byNumbers));
}

bool CDataset::WriteHeader() {
    if (!m_open)
        return false;
    try {
        WriteBufferedReadings();
    } catch (...) {
        // the header still describes what the stream holds
    }
    m_readingCount = static_cast<std::int32_t>(m_readings.GetLength() / kRecord);
    std::int32_t scans = 0;
    if (m_channels > 0)
        scans = (m_readingCount + m_channels - 1) / m_channels;
    ReadingRecord first, last;
    if (scans > 0 && ReadReadingAt((m_readingCount - 1) * kRecord, last) &&
        ReadReadingAt(0, first)) {
        m_lastTime = last.Time;
        m_lastScan = last.ScanNumber;
        m_firstTime = first.Time;
        m_firstScan = first.ScanNumber;
        scans = ClampToInt32(
            std::max<std::int64_t>(scans, static_cast<std::int64_t>(m_lastScan) - m_firstScan + 1));
        if (m_browsePosition < m_firstTime)
            m_browsePosition = m_firstTime;
        if (m_browsePosition > m_lastTime)
            m_browsePosition = m_lastTime;
        m_readings.SeekToEnd();
    } else {
        scans = 0;
        m_firstTime = m_lastTime = m_browsePosition = 0.0;
        m_firstScan = m_lastScan = 0;
    }

    std::uint8_t bytes[kHeaderSize];
    Put(bytes, 0, m_readingCount);
    Put(bytes, 4, m_channels);
    Put(bytes, 6, m_startTime);
    Put(bytes, 10, m_firstTime);
    Put(bytes, 18, m_lastTime);
    Put(bytes, 26, m_browsePosition);
    Put(bytes, 34, m_browseScan);
    Put(bytes, 38, m_firstTick);
    Put(bytes, 46, m_lastTick);
    Put(bytes, 54, m_eventCount);
    Put(bytes, 58, m_firstEventTime);
    Put(bytes, 66, m_lastEventTime);
    Put(bytes, 74, m_runValue);
    m_header.Seek(0, STREAM_SEEK_SET);
    m_header.Write(bytes, sizeof(bytes));

    if (m_readingCount == 0 || m_channels <= 0) {
        m_scanInterval = 0.0;
    } else {
        const double perChannel = static_cast<double>(m_readingCount) / m_channels;
        m_scanInterval = perChannel > 1.0 ? (m_lastTime - m_firstTime) / perChannel : m_firstTime;
    }

    DatasetDirEntry entry;
    entry.SetKey(m_key);
    entry.StartTime = m_startTime;
    entry.EventCount = m_eventCount;
    entry.ScanCount = scans;
    entry.FirstTime = m_firstTime;
    entry.LastTime = m_lastTime;
    entry.BrowsePosition = m_browsePosition;
    const bool added = m_store->AddDirEntry(entry);
    // The entry follows the dataset, so a finished run lists its real counts.
    if (!added)
        m_store->UpdateDirEntry(entry);
    m_header.Flush();
    return added;
}

bool CDataset::ReadHeader() {
    std::uint8_t bytes[kHeaderSize];
    m_header.Seek(0, STREAM_SEEK_SET);
    // A header that was never written (a run cut off before its first header
    // write) leaves the values reset; the next header write rebuilds it.
    if (m_header.Read(bytes, sizeof(bytes)) != sizeof(bytes))
        return false;
    Get(bytes, 0, m_readingCount);
    Get(bytes, 4, m_channels);
    Get(bytes, 6, m_startTime);
    Get(bytes, 10, m_firstTime);
    Get(bytes, 18, m_lastTime);
    Get(bytes, 26, m_browsePosition);
    Get(bytes, 34, m_browseScan);
    Get(bytes, 38, m_firstTick);
    Get(bytes, 46, m_lastTick);
    Get(bytes, 54, m_eventCount);
    Get(bytes, 58, m_firstEventTime);
    Get(bytes, 66, m_lastEventTime);
    Get(bytes, 74, m_runValue);
    if (m_readingCount != 0 && m_channels != 0)
        m_scanInterval =
            (m_lastTime - m_firstTime) / (static_cast<double>(m_readingCount) / m_channels);
    else
        m_scanInterval = 0.0;
    return true;
}

// ---- searches over the readings

std::int32_t CDataset::FindScanPosition(std::int32_t scan, std::int32_t guess) {
    if (!m_open || guess <= 0)
        return 0;
    WriteBufferedReadings();
    const std::int64_t end = static_cast<std::int64_t>(m_readings.GetLength() / kRecord * kRecord);
    if (end == 0)
        return 0;
    std::int64_t position = guess - guess % static_cast<std::int64_t>(kRecord);
    if (position >= end)
        position = end - static_cast<std::int64_t>(kRecord);
    ReadingRecord record;
    if (!ReadReadingAt(position, record))
        return static_cast<std::int32_t>(position);
    if (record.ScanNumber < scan) {
        for (position += kRecord; position < end; position += kRecord) {
            if (ReadReadingAt(position, record) && record.ScanNumber >= scan)
                return static_cast<std::int32_t>(position);
        }
        // Every later record belongs to an earlier scan: the scan would start at the end.
        return static_cast<std::int32_t>(end);
    }
    for (; position > 0; position -= kRecord) {
        if (ReadReadingAt(position - kRecord, record) && record.ScanNumber < scan)
            return static_cast<std::int32_t>(position);
    }
    return 0;
}

void CDataset::GetScanWindow(std::int32_t lastScan, std::int32_t scans, std::int32_t position,
                             std::int32_t* firstIndex, std::int32_t* count) {
    std::int32_t first = 0, records = 0;
    if (m_open && m_channels > 0) {
        WriteBufferedReadings();
        const std::int64_t scanBytes = static_cast<std::int64_t>(m_channels) * kRecord;
        const std::int64_t end =
            static_cast<std::int64_t>(m_readings.GetLength() / kRecord * kRecord);
        const std::int64_t endGuess = std::min<std::int64_t>(position + scanBytes, end);
        const std::int64_t startGuess = std::max<std::int64_t>(position - scans * scanBytes, 0);
        const std::int32_t firstScan =
            ClampToInt32(std::max<std::int64_t>(static_cast<std::int64_t>(lastScan) - scans, 1));
        const std::int32_t start = FindScanPosition(firstScan, ClampToInt32(startGuess));
        const std::int32_t stop = FindScanPosition(
            ClampToInt32(static_cast<std::int64_t>(lastScan) + 1), ClampToInt32(endGuess));
        first = static_cast<std::int32_t>(start / kRecord);
        records = stop > start ? static_cast<std::int32_t>((stop - start) / kRecord) : 0;
    }
    if (firstIndex)
        *firstIndex = first;
    if (count)
        *count = records;
}

std::uint32_t CDataset::FindReadingPosition(double offset, bool atOrBefore) {
    if (!m_open || m_channels <= 0)
        return kNotFound;
    WriteBufferedReadings();
    const std::int64_t end = static_cast<std::int64_t>(m_readings.GetLength() / kRecord * kRecord);
    // Times come from the file: whatever they hold, no step below is taken from a
    // number that is not finite or does not fit.
    const double target = m_firstTime + offset;
    if (m_readingCount <= 0 || end == 0 || !std::isfinite(target) || target > m_lastTime)
        return kNotFound;

    const std::int64_t scans = GetScanCount();
    const std::int64_t scanBytes = static_cast<std::int64_t>(m_channels) * kRecord;
    const double span = m_lastTime - m_firstTime;
    std::int64_t estimate = 0;
    const double share = offset / span * static_cast<double>(scans);
    if (span > 0.0 && std::isfinite(share))
        estimate = static_cast<std::int64_t>(
            std::clamp(std::trunc(share), 0.0, static_cast<double>(scans)));
    std::int64_t lastScanStart = (m_readingCount % m_channels != 0 ? scans : scans - 1) * scanBytes;
    lastScanStart = std::clamp<std::int64_t>(lastScanStart, 0, end - kRecord);

    ReadingRecord record;
    std::int64_t position = std::min(estimate * scanBytes, lastScanStart);
    auto settle = [&](std::int64_t at) {
        position = std::clamp<std::int64_t>(at, 0, lastScanStart);
        if (ReadReadingAt(position, record))
            position = FindScanPosition(record.ScanNumber, static_cast<std::int32_t>(position));
        ReadReadingAt(position, record);
        return record.Time;
    };
    double current = settle(position);

    const double steps = std::trunc((target - current) / m_scanInterval);
    if (m_scanInterval != 0.0 && std::isfinite(steps)) {
        const double most = static_cast<double>(std::max<std::int64_t>(scans - 1, 0));
        const double k = std::clamp(steps, -most, most);
        if (std::fabs(k) > 1.0)
            current = settle(position + static_cast<std::int64_t>(k) * scanBytes);
    }

    if (std::fabs(current - target) >= 0.001) {
        // From here the scans are stepped through one at a time as far as the
        // target (forward) or the stream's start (back). The runs' times rise, so
        // the first step that reaches the target is found by doubling steps and
        // halving back: a few reads, however far the mean interval put the
        // estimate from the target (a run whose interval changed).
        const auto timeAt = [&](std::int64_t at, double& time) {
            if (!ReadReadingAt(at, record))
                return false;
            time = record.Time;
            return true;
        };
        const auto firstReaching = [](std::int64_t steps, const auto& reaches) {
            std::int64_t below = 0, above = std::min<std::int64_t>(1, steps);
            while (above < steps && !reaches(above)) {
                below = above;
                above = std::min(above * 2, steps);
            }
            while (above - below > 1) {
                const std::int64_t middle = below + (above - below) / 2;
                (reaches(middle) ? above : below) = middle;
            }
            return above;
        };
        if (current < target) {
            const std::int64_t steps = (lastScanStart - position) / scanBytes;
            const std::int64_t start = position;
            position += scanBytes * firstReaching(steps, [&](std::int64_t k) {
                            double time = 0.0;
                            return !timeAt(start + k * scanBytes, time) || !(time < target);
                        });
            timeAt(position, current);
            if (atOrBefore && current > target && position >= scanBytes) {
                position -= scanBytes;
            }
        } else {
            const std::int64_t steps = (position + scanBytes - 1) / scanBytes;
            const std::int64_t start = position;
            const auto back = [&](std::int64_t k) {
                return std::max<std::int64_t>(start - k * scanBytes, 0);
            };
            position = back(firstReaching(steps, [&](std::int64_t k) {
                double time = 0.0;
                return !timeAt(back(k), time) || !(time > target);
            }));
            timeAt(position, current);
            if (!atOrBefore && current < target && position + scanBytes <= lastScanStart) {
                position += scanBytes;
            }
        }
    }
    return static_cast<std::uint32_t>(position);
}
