#include "scan/CFXScan.h"

#include "platform/archive/CArchive.h"
#include "scan/ScanTexts.h"

IMPLEMENT_SERIAL(CFXScan, tvane::CObject, 0)

CFXScan::CFXScan()
    : m_intervalUnit(scantext::kSeconds), m_startTime(tvane::CTime::GetCurrentTime()),
      m_stopTime(m_startTime) {}

void CFXScan::Reset() {
    m_startMode = kStartImmediately;
    m_stopMode = kStopByUser;
    m_scanCount = 1;
    m_scanInterval = 10.0;
    m_startTime = tvane::CTime::GetCurrentTime();
    m_stopTime = m_startTime;
    m_alarmOutputTracking = 1;
    m_alarmPolarityLow = 1;
    m_alarmStartChannel = -1;
    m_startTimeText.clear();
    m_stopTimeText.clear();
    m_intervalUnit = scantext::kSeconds;
    m_leaveScanning = 0;
    m_exportOnPostScan = 0;
}

void CFXScan::Serialize(tvane::CArchive& ar) {
    Serialize(ar, kFileVersion);
}

void CFXScan::Serialize(tvane::CArchive& ar, std::int32_t fileVersion) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        // The three flags have always been stored as 16 bits.
        ar << m_startMode << m_startTimeText << m_stopMode << m_scanCount << m_stopTimeText
           << m_intervalUnit << m_scanInterval << m_startTime << m_stopTime
           << static_cast<std::uint16_t>(m_alarmOutputTracking)
           << static_cast<std::uint16_t>(m_alarmPolarityLow) << m_alarmStartChannel
           << static_cast<std::uint16_t>(m_leaveScanning) << m_exportOnPostScan;
        return;
    }
    std::uint16_t tracking = 0, polarity = 0, leave = 0;
    ar >> m_startMode >> m_startTimeText >> m_stopMode >> m_scanCount >> m_stopTimeText >>
        m_intervalUnit >> m_scanInterval >> m_startTime >> m_stopTime >> tracking >> polarity >>
        m_alarmStartChannel >> leave;
    m_alarmOutputTracking = tracking;
    m_alarmPolarityLow = polarity;
    m_leaveScanning = leave;
    if (fileVersion > 1)
        ar >> m_exportOnPostScan;
}
