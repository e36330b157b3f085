#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/CObject.h"

struct ReadingRecord;

// The texts the data grid shows.
namespace datagridtext {
inline constexpr const char* kNoReading = "No Reading";
inline constexpr const char* kNone = "<None>";
inline constexpr const char* kChannel = "Channel";
inline constexpr const char* kReading = "Reading";
inline constexpr const char* kTime = "Time";
} // namespace datagridtext

// One row's contents: the reading text, its unit, the reading's time and its
// alarm state (0 none, 1 low, 2 high). The texts are fixed fields of 80
// characters in the stored form's readers: every text is cut at 79.
//
// Stored form: reading, unit and time as archive strings, then the alarm
// state (int32). A loaded text is cut at 79 characters; an alarm state other
// than 0, 1 or 2 rejects the archive.
class CGridData : public tvane::CObject {
    DECLARE_SERIAL(CGridData)
public:
    static constexpr std::size_t kMaxText = 79;

    CGridData() { Reset(); }
    // "No Reading", no unit, time "No Reading", no alarm.
    void Reset();
    const std::string& GetReading() const { return m_reading; }
    const std::string& GetUnit() const { return m_unit; }
    const std::string& GetTime() const { return m_time; }
    std::int32_t GetAlarm() const { return m_alarm; }
    void SetReading(const std::string& text);
    void SetUnit(const std::string& text);
    void SetTime(const std::string& text);
    // 0, 1 or 2; anything else is no alarm.
    void SetAlarm(std::int32_t state) { m_alarm = state >= 0 && state <= 2 ? state : 0; }
    bool HasReading() const { return m_reading != datagridtext::kNoReading; }
    // A reading has filled the record since it was made (its time is set).
    bool WasFilled() const { return m_time != datagridtext::kNoReading; }

    void Serialize(tvane::CArchive& ar) override;

private:
    std::string m_reading;
    std::string m_unit;
    std::string m_time;
    std::int32_t m_alarm = 0;
};

// The rows' records, one slot per data row (index = row - 1); an empty slot
// is a row without a channel. Stored as the slot count, then each record with
// its class tag or a null object; a count above kMaxRows rejects the archive.
class CGridDataArray : public tvane::CObject {
    DECLARE_SERIAL(CGridDataArray)
public:
    static constexpr std::uint32_t kMaxRows = 1000;

    std::size_t GetSize() const { return m_rows.size(); }
    CGridData* GetAt(std::size_t index) const {
        return index < m_rows.size() ? m_rows[index].get() : nullptr;
    }
    // Grows with empty slots or shrinks, deleting the records cut off.
    void SetSize(std::size_t size) { m_rows.resize(size); }
    // The slot's record, made when it has none.
    CGridData& Make(std::size_t index);
    void DeleteAt(std::size_t index);
    void DeleteAll() { m_rows.clear(); }

    void Serialize(tvane::CArchive& ar) override;

private:
    std::vector<std::unique_ptr<CGridData>> m_rows;
};

namespace datagrid {

// The reading with its unit: "OVLD <unit>" for the overload value (±9.9e37),
// else the value to 8 significant digits with the unit.
std::string ReadingText(double value, const std::string& unit);

// The widest texts a reading cell shows for a channel of that unit: the
// longest value forms its format gives (negative, with the widest prefix
// letters), its overload and "No Reading", as the row shows them.
std::vector<std::string> ReadingSamples(const std::string& unit);

// The widest texts a time cell shows, the document's time format given as
// format: readings' times over a year (every month's name, morning and
// afternoon).
std::vector<std::string> TimeSamples(const std::function<std::string(double)>& format);

// The update rate during a live scan: the grid changes only every rate
// scans. counter holds the scans not shown yet; false (and the scans
// counted) while counter + scans stays below the rate. The caller zeroes the
// counter once the rows are shown.
bool PassUpdateRate(std::int32_t& counter, std::int32_t rate, int scans);

// Fills a row from its channel's newest reading (with the time text the frame
// formatted for it).
void FillRow(CGridData& row, const ReadingRecord& newest, const std::string& unit,
             const std::string& timeText);

} // namespace datagrid
