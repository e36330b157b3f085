#pragma once
#include <cstdint>

#include "platform/archive/CTime.h"
#include "scan/records/ReadingRecord.h"

// The driver members a run uses, as the scan engine calls them. Each returns
// false on failure; the driver then holds the reason for its error report. The
// program forwards them to the instrument binding; tests script them.
class IScanInstrument {
public:
    virtual ~IScanInstrument() = default;
    virtual bool StartMeasurement() = 0;
    virtual bool StopMeasurement() = 0;
    virtual bool GetStartTickCount(double& tick) = 0;
    virtual bool GetScanTime(tvane::CTime& time, std::int16_t& milliseconds) = 0;
    virtual bool InitMeasurement(std::int32_t most) = 0;
    // At most `most` records of the block the instrument sends after InitMeasurement.
    virtual bool GetReadings(ReadingRecord* buffer, std::int32_t most, std::int32_t& count) = 0;
    // Up to `most` of the readings stored in the instrument's memory.
    virtual bool FetchReadings(ReadingRecord* buffer, std::int32_t most, std::int32_t& count) = 0;
    virtual bool GetReadingsCount(std::int32_t& count) = 0;
    virtual bool IsInstrumentScanning(bool& scanning) = 0;
    virtual bool DigitalReadState(std::int16_t channel, std::int16_t& value) = 0;
};
