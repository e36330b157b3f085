#pragma once
#include "platform/archive/CTime.h"

#include <cstdint>

// The start or end of a run, as the views are told about it.
class CRunRecord {
public:
    // A reload of stored readings starts (3) and ends (4); its record carries
    // the first reading time, the reload's time (where the shown window ends)
    // and the window's first reading time, with the dataset's start time.
    enum Kind : std::int32_t { kStart = 1, kEnd = 2, kReloadStart = 3, kReloadEnd = 4 };

    // The start time is now.
    CRunRecord() : m_startTime(tvane::CTime::GetCurrentTime()) {}
    virtual ~CRunRecord() = default;

    std::int32_t m_kind = kStart;
    // Milliseconds: the driver's start tick at the start, the elapsed run time at the end.
    double m_time = 0.0;
    double m_time2 = 0.0;
    double m_time3 = 0.0;
    double m_value = 0.0;
    tvane::CTime m_startTime;
};
