#pragma once
#include "platform/archive/CObject.h"
#include "platform/archive/CTime.h"

#include <cstdint>
#include <string>

// Timing and start/stop conditions of a run, and the instrument's alarm-output
// options. The document owns one and stores it after the setup rows.
class CFXScan : public tvane::CObject {
    DECLARE_SERIAL(CFXScan)
public:
    enum StartMode : std::int32_t {
        kStartImmediately = 0,
        kStartExternalTrigger = 1,
        kStartOnAlarm = 2,
        kStartTimed = 3,
    };
    enum StopMode : std::int32_t {
        kStopByUser = 0,
        kStopAfterCount = 1,
        kStopTimed = 2,
    };
    // The document file version this class writes; older files lack the export flag.
    static constexpr std::int32_t kFileVersion = 2;

    // Defaults; both times are the current time.
    CFXScan();
    CFXScan(const CFXScan&) = default;
    CFXScan& operator=(const CFXScan&) = default;
    ~CFXScan() override = default;

    void Reset();

    // Writes the current version; loads as a file of the current version.
    void Serialize(tvane::CArchive& ar) override;
    // Loads the fields a document file of that version holds (the export flag
    // only past version 1); storing always writes all of them.
    void Serialize(tvane::CArchive& ar, std::int32_t fileVersion);

    std::int32_t m_startMode = kStartImmediately;
    std::string m_startTimeText;
    std::int32_t m_stopMode = kStopByUser;
    std::int32_t m_scanCount = 0;
    std::string m_stopTimeText;
    std::string m_intervalUnit;
    double m_scanInterval = 10.0; // seconds
    tvane::CTime m_startTime;
    tvane::CTime m_stopTime;
    std::int32_t m_alarmOutputTracking = 1; // 0: the outputs latch
    std::int32_t m_alarmPolarityLow = 1;    // 0: the outputs go high on failure
    std::int32_t m_alarmStartChannel = -1;
    std::int32_t m_leaveScanning = 0;
    std::int32_t m_exportOnPostScan = 0;
};
