#pragma once
#include <cstdint>
#include <string>

#include "platform/archive/CTime.h"

class CFXScan;

// The rules of the Scan Settings page without its window: the interval split
// into the edit's hour counter, minutes, seconds and milliseconds and joined
// again, the times and count first shown, the enabling of each start and stop
// mode, the time checks, and the write-back into the scan record.
namespace scansettings {

// 99:59:59.999, the most the interval edit's two-digit hour counter shows.
inline constexpr double kMaxInterval = 359999.999;
inline constexpr int kMinCount = 1;
inline constexpr int kMaxCount = 50000;

struct IntervalParts {
    long wholeSeconds = 0;
    int days = 0;
    int hours = 0;
    int hourCounter = 0; // days × 24 + hours, at most 99
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
};
// The interval cut to kMaxInterval, taken to the nearest millisecond.
IntervalParts SplitInterval(double seconds);
double JoinInterval(int hourCounter, int minutes, int seconds, int milliseconds);

// The scan count shown: outside 1 to 50000 it shows 1.
int ShownCount(std::int32_t count);
// The alarm item shown for a stored alarm number (1-4), -1 for none.
int ShownAlarm(std::int32_t alarmNumber);

// The start time shown is at least a minute ahead of now, the stop time at
// least five minutes after the start time shown.
tvane::CTime ShownStartTime(tvane::CTime stored, tvane::CTime now);
tvane::CTime ShownStopTime(tvane::CTime stored, tvane::CTime shownStart);

struct StartEnabling {
    bool interval, alarm, startTime;
};
StartEnabling EnablingForStart(int startMode);
struct StopEnabling {
    bool count, stopTime;
};
StopEnabling EnablingForStop(int stopMode);

// What the page holds when it is left.
struct PageValues {
    int startMode = 0;
    int stopMode = 0;
    int alarmSelection = -1;
    tvane::CTime startTime;
    std::string startText;
    tvane::CTime stopTime;
    std::string stopText;
    int count = 1;
    int hourCounter = 0;
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
    bool leaveScanning = false;
    bool exportAfterScan = false;
};

// The refusal of the times against now, "" when they pass.
std::string CheckTimes(const PageValues& values, tvane::CTime now);

// Writes the page into the record, after CheckTimes passed. While a scan runs
// only the two flags are written. Start on alarm without a chosen alarm takes
// the first alarm.
void Write(const PageValues& values, bool scanning, CFXScan& scan);

} // namespace scansettings
