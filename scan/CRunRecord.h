#pragma once
#include "platform/archive/CTime.h"

#include <cstdint>

// The start or end of a run, as the views are told about it.
class CRunRecord {
public:
    enum Kind : std::int32_t { kStart = 1, kEnd = 2 };

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
