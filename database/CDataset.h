#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "database/CDatasetEvent.h"
#include "database/COleStreamFile.h"
#include "platform/archive/CTime.h"
#include "platform/storage/Storage.h"
#include "scan/records/ReadingRecord.h"

class CDatasetStore;

// One scan run stored in a dataset storage file: a storage named by the dataset
// key with the streams "Header" (76-byte summary), "Readings" (26-byte reading
// records in arrival order), "Events" (16-byte event records), "UserEvents" (the
// Start and User events by time) and the storage "Events"<key> holding one text
// stream per event, named by the event's time.
//
// Readings are appended through a write buffer; FlushReadings writes it out and
// commits the file, so everything appended (readings and events) survives a crash
// that comes after the flush. Failures are thrown as FileException (streams) or
// StorageException, as CDatasetStore describes.
class CDataset {
public:
    static constexpr std::uint32_t kNotFound = 0xFFFFFFFFu;
    static constexpr std::uint16_t kDefaultBufferBytes = 16384;
    static constexpr std::size_t kHeaderSize = 76;
    static constexpr std::size_t kEventRecordSize = 16;
    static constexpr std::size_t kReadingSize = sizeof(ReadingRecord);
    // A text stream name is retried 0.001 ms later up to this many times.
    static constexpr int kMaxTextNameTries = 256;

    CDataset();
    ~CDataset();
    CDataset(const CDataset&) = delete;
    CDataset& operator=(const CDataset&) = delete;

    // Life.
    // Creates the dataset's storage and streams under key in the store's file
    // (STG_E_FILEALREADYEXISTS for the key when it exists); false when this object
    // is already open or the store is not.
    bool Create(const tvane::CTime& start, std::int16_t channels, CDatasetStore* store,
                const std::string& key, std::uint16_t bufferBytes);
    // Opens an existing dataset and writes its header once (which lists it in the
    // directory when it is missing). False when this object is already open or
    // the store is not.
    bool Open(CDatasetStore* store, const std::string& key);
    // Opens for reading, and lets go again, the elements Open needs of the dataset
    // under key: throws as Open does for one that is missing or damaged, so that a
    // caller can check a dataset before it lets go of what it has open.
    static void CheckStored(tvane::Storage& root, const std::string& key);
    // Writes the header (dropping a failure) and releases everything. Never throws.
    void Close();
    void Reset();

    bool IsOpen() const { return m_open; }
    const std::string& GetKey() const { return m_key; }

    // Readings. False, storing nothing, when the batch does not fit in the room left.
    bool AppendReadings(const ReadingRecord* records, std::int16_t count);
    bool FlushReadings();
    bool SetWriteBuffer(std::uint16_t bytes);
    std::int16_t ReadReadings(ReadingRecord* out, std::int16_t count, std::int32_t firstIndex);
    // How many more records the readings stream takes, the buffered ones counted,
    // before it reaches its limit: the storage's largest stream, unless a test set
    // a smaller one.
    std::int64_t GetReadingRoom();
    void SetReadingLimit(std::uint64_t bytes) { m_readingLimit = bytes; }
    double GetLastReadingTime();
    // True when the write added the dataset's directory entry, false when the
    // directory listed it already (the entry is brought up to date then).
    bool WriteHeader();
    bool ReadHeader();
    std::int32_t GetScanCount() const;
    std::uint32_t FindReadingPosition(double offset, bool atOrBefore);
    std::int32_t FindScanPosition(std::int32_t scan, std::int32_t guess);
    void GetScanWindow(std::int32_t lastScan, std::int32_t scans, std::int32_t position,
                       std::int32_t* firstIndex, std::int32_t* count);

    // Header values.
    tvane::CTime GetStartTime() const { return tvane::CTime(m_startTime); }
    void SetStartTime(const tvane::CTime& time) {
        m_startTime = static_cast<std::uint32_t>(time.GetTime());
    }
    double GetFirstTick() const { return m_firstTick; }
    void SetFirstTick(double tick) { m_firstTick = tick; }
    double GetLastTick() const { return m_lastTick; }
    void SetLastTick(double tick) { m_lastTick = tick; }
    std::int16_t GetRunValue() const { return m_runValue; }
    void SetRunValue(std::int16_t value) { m_runValue = value; }
    std::int32_t GetReadingCount() const { return m_readingCount; }
    std::int16_t GetChannelCount() const { return m_channels; }
    void SetChannelCount(std::int16_t channels) { m_channels = channels; }
    double GetFirstEventTime() const { return m_firstEventTime; }
    double GetLastEventTime() const { return m_lastEventTime; }
    double GetFirstTime() const { return m_firstTime; }
    double GetLastTime() const { return m_lastTime; }
    double GetScanInterval() const { return m_scanInterval; }
    double GetBrowsePosition() const { return m_browsePosition; }
    void SetBrowsePosition(double position) { m_browsePosition = position; }
    std::int32_t GetBrowseScan() const { return m_browseScan; }
    void SetBrowseScan(std::int32_t scan) { m_browseScan = scan; }

    // Events (index: record index in "Events", from 0).
    std::int32_t GetEventCount() const { return m_open ? m_eventCount : 0; }
    // Returns the new count. ev.m_time becomes the time stored, which is later than
    // the one given when another event already has that time. Events logged outside
    // a run (negative times) close the list: an event of the run is stored before
    // them.
    std::int32_t AppendEvent(CDatasetEvent& ev);
    // The events before those logged outside a run.
    std::int32_t GetRunEventCount();
    bool InsertEvent(std::int32_t index, CDatasetEvent& ev);
    bool SetEvent(std::int32_t index, const CDatasetEvent& ev);
    // Field 1: the channel; field 3: the text. Others: false.
    bool UpdateEventField(std::int32_t index, int field, const CDatasetEvent& ev);
    bool GetEvent(std::int32_t index, CDatasetEvent& out);
    bool DeleteEvent(std::int32_t index);
    // Index of an event at time, else of the first one after it (the count when
    // there is none); -1 when there are no events.
    std::int32_t FindEventIndex(const double& time, bool lastOfEqual);
    // The first event from pattern.m_time on of a kind in pattern.m_type and on
    // pattern.m_channel (any with -1); its index, -1 when none.
    std::int32_t FindEvent(const CDatasetEvent& pattern, CDatasetEvent& out);

    // The index of Start and User events with a time not negative, by time.
    std::int32_t GetUserEventCount() const { return m_userEventCount; }
    std::int32_t AppendUserEvent(const CDatasetEvent& ev);
    bool InsertUserEvent(std::int32_t index, const CDatasetEvent& ev);
    bool RemoveUserEvent(std::int32_t index);
    std::int32_t FindUserEventInsertIndex(const double& time);
    std::int32_t FindUserEventIndex(const double& time, bool lastOfEqual);
    // Appends to out the indexed events from `from` up to the whole millisecond
    // of `to` whose kind is in typeMask (no texts); returns how many.
    std::int32_t GetUserEvents(const double& from, const double& to, std::uint32_t typeMask,
                               std::vector<std::unique_ptr<CDatasetEvent>>& out);

    // The name of the text stream of an event stored at time ("%.4lf").
    static std::string EventTextName(double time);

private:
    struct EventRecord;

    void OpenStreams(const std::string& key, bool create);
    void ReleaseStreams() noexcept;
    void WriteBufferedReadings();
    bool ReadReadingAt(std::uint64_t position, ReadingRecord& out);
    void RecountEvents();

    EventRecord ReadEventRecord(COleStreamFile& stream, std::int32_t index);
    void WriteEventRecord(COleStreamFile& stream, std::int32_t index, const EventRecord& record);
    std::int32_t SearchByTime(COleStreamFile& stream, std::int32_t count, double time,
                              bool lastOfEqual);
    // Creates the text stream of an event under the first free name from time on.
    COleStreamFile CreateTextStream(double& time);
    void WriteText(COleStreamFile& stream, const std::string& text);
    void RewriteText(const CDatasetEvent& ev);
    void MoveRecords(COleStreamFile& stream, std::int32_t from, std::int32_t to,
                     std::int32_t count);

    // Tie to the store.
    bool m_open = false;
    std::string m_key;
    CDatasetStore* m_store = nullptr;
    tvane::Storage m_storage;
    tvane::Storage m_textStorage;
    COleStreamFile m_header;
    COleStreamFile m_events;
    COleStreamFile m_userEvents;
    COleStreamFile m_readings;

    // Header values.
    std::int32_t m_firstScan = 0;
    std::int32_t m_lastScan = 0;
    std::int32_t m_readingCount = 0;
    double m_scanInterval = 0.0;
    std::int16_t m_channels = 0;
    std::uint32_t m_startTime = 0;
    double m_firstTime = 0.0;
    double m_lastTime = 0.0;
    double m_firstEventTime = 0.0;
    double m_lastEventTime = 0.0;
    double m_browsePosition = 0.0;
    std::int32_t m_browseScan = 0;
    double m_firstTick = 0.0;
    double m_lastTick = 0.0;
    std::int32_t m_eventRecordSize = kEventRecordSize;
    std::int16_t m_runValue = 0;
    std::int32_t m_eventCount = 0;
    std::int32_t m_userEventCount = 0;

    // The reading write buffer: whole records only.
    std::unique_ptr<std::uint8_t[]> m_buffer;
    std::uint16_t m_bufferUsed = 0;
    std::uint16_t m_bufferSize = 0;
    std::uint64_t m_readingLimit = tvane::kMaxStreamSize;
};
