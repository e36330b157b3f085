#include "graphics/displays/datagrid/DataGridRows.h"

#include <cmath>

#include "platform/archive/ArchiveCollections.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/core/NameText.h"
#include "scan/ValueFormat.h"
#include "scan/records/ReadingRecord.h"

IMPLEMENT_SERIAL(CGridData, tvane::CObject, 0)
IMPLEMENT_SERIAL(CGridDataArray, tvane::CObject, 0)

namespace {

std::string Bounded(const std::string& text) {
    return text.size() > CGridData::kMaxText ? tvane::CutUtf8(text, CGridData::kMaxText) : text;
}

} // namespace

void CGridData::Reset() {
    m_reading = datagridtext::kNoReading;
    m_unit.clear();
    m_time = datagridtext::kNoReading;
    m_alarm = 0;
}

void CGridData::SetReading(const std::string& text) {
    m_reading = Bounded(text);
}

void CGridData::SetUnit(const std::string& text) {
    m_unit = Bounded(text);
}

void CGridData::SetTime(const std::string& text) {
    m_time = Bounded(text);
}

void CGridData::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_reading << m_unit << m_time << m_alarm;
        return;
    }
    std::string reading, unit, time;
    std::int32_t alarm = 0;
    ar >> reading >> unit >> time >> alarm;
    if (alarm < 0 || alarm > 2)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "data grid row alarm state out of range");
    m_reading = Bounded(reading);
    m_unit = Bounded(unit);
    m_time = Bounded(time);
    m_alarm = alarm;
}

CGridData& CGridDataArray::Make(std::size_t index) {
    if (index >= m_rows.size())
        m_rows.resize(index + 1);
    if (!m_rows[index])
        m_rows[index] = std::make_unique<CGridData>();
    return *m_rows[index];
}

void CGridDataArray::DeleteAt(std::size_t index) {
    if (index < m_rows.size())
        m_rows[index].reset();
}

void CGridDataArray::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<std::uint32_t>(m_rows.size()));
        for (const auto& row : m_rows)
            ar.WriteObject(row.get());
        return;
    }
    const std::uint32_t count = ar.ReadCount();
    if (count > kMaxRows)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "data grid row count out of range");
    std::vector<std::unique_ptr<CGridData>> rows(count);
    for (auto& row : rows)
        row = ar.ReadOwnedObject<CGridData>();
    m_rows = std::move(rows);
}

namespace datagrid {

std::string ReadingText(double value, const std::string& unit) {
    if (std::fabs(value) == kOverloadValue)
        return "OVLD " + unit;
    std::string text;
    FormatValue(value, unit, text, 8);
    return text;
}

std::vector<std::string> ReadingSamples(const std::string& unit) {
    // Fixed and exponent forms (beyond the prefix letters' range), every
    // prefix letter, and a value with no prefix; the row puts a blank (and the unit a stored row
    // kept) after the text.
    static constexpr double kValues[] = {-888.88888e-12,
                                         -888.88888e-9,
                                         -888.88888e-6,
                                         -888.88888e-3,
                                         -888.88888,
                                         -888.88888e3,
                                         -888.88888e6,
                                         -888.88888e9,
                                         -8.8888888e6,
                                         -0.88888888,
                                         -8.8888888e-30,
                                         -8.8888888e30,
                                         0.0};
    std::vector<std::string> samples;
    for (double value : kValues)
        samples.push_back(ReadingText(value, unit) + " ");
    samples.push_back(ReadingText(kOverloadValue, unit) + " ");
    samples.push_back(datagridtext::kNoReading);
    return samples;
}

std::vector<std::string> TimeSamples(const std::function<std::string(double)>& format) {
    constexpr double kHour = 3600.0 * 1000.0;
    constexpr double kDay = 24.0 * kHour;
    std::vector<std::string> samples;
    for (int month = 0; month < 12; ++month)
        for (double hour : {10.0, 22.0})
            samples.push_back(format(month * 31.0 * kDay + hour * kHour + 0.888 * kHour));
    return samples;
}

bool PassUpdateRate(std::int32_t& counter, std::int32_t rate, int scans) {
    if (counter + scans < rate) {
        counter += scans;
        return false;
    }
    return true;
}

void FillRow(CGridData& row, const ReadingRecord& newest, const std::string& unit,
             const std::string& timeText) {
    const double value = newest.Value;
    const std::uint8_t alarm = newest.AlarmState;
    row.SetReading(ReadingText(value, unit));
    row.SetUnit("");
    row.SetTime(timeText);
    row.SetAlarm(alarm);
}

} // namespace datagrid
