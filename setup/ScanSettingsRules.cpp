#include "setup/ScanSettingsRules.h"

#include <algorithm>
#include <cmath>

#include "scan/CFXScan.h"
#include "setup/SheetTexts.h"

namespace scansettings {

IntervalParts SplitInterval(double seconds) {
    IntervalParts p;
    if (!(seconds > 0.0))
        return p;
    seconds = std::min(seconds, kMaxInterval);
    // Whole milliseconds, so 1.001 s does not lose its last millisecond to the
    // binary fraction.
    const long long total = std::llround(seconds * 1000.0);
    p.milliseconds = static_cast<int>(total % 1000);
    p.wholeSeconds = static_cast<long>(total / 1000);
    long rest = p.wholeSeconds;
    p.days = static_cast<int>(rest / 86400);
    rest %= 86400;
    p.hours = static_cast<int>(rest / 3600);
    rest %= 3600;
    p.minutes = static_cast<int>(rest / 60);
    p.seconds = static_cast<int>(rest % 60);
    p.hourCounter = std::min(p.days * 24 + p.hours, 99);
    return p;
}

double JoinInterval(int hourCounter, int minutes, int seconds, int milliseconds) {
    return hourCounter * 3600.0 + minutes * 60.0 + seconds + milliseconds / 1000.0;
}

int ShownCount(std::int32_t count) {
    return count < kMinCount || count > kMaxCount ? 1 : count;
}

int ShownAlarm(std::int32_t alarmNumber) {
    const int index = alarmNumber - 1;
    return index < 0 || index >= 4 ? -1 : index;
}

tvane::CTime ShownStartTime(tvane::CTime stored, tvane::CTime now) {
    return std::max(stored, now + 60);
}

tvane::CTime ShownStopTime(tvane::CTime stored, tvane::CTime shownStart) {
    return std::max(stored, shownStart + 300);
}

StartEnabling EnablingForStart(int startMode) {
    switch (startMode) {
    case CFXScan::kStartImmediately:
        return {true, false, false};
    case CFXScan::kStartOnAlarm:
        return {false, true, false};
    case CFXScan::kStartTimed:
        return {true, false, true};
    default:
        return {false, false, false};
    }
}

StopEnabling EnablingForStop(int stopMode) {
    return {stopMode == CFXScan::kStopAfterCount, stopMode == CFXScan::kStopTimed};
}

std::string CheckTimes(const PageValues& v, tvane::CTime now) {
    const bool timedStart = v.startMode == CFXScan::kStartTimed;
    const bool timedStop = v.stopMode == CFXScan::kStopTimed;
    if (timedStart && v.startTime <= now)
        return sheettext::kStartBeforeNow;
    if (timedStop && v.stopTime <= now)
        return sheettext::kStopBeforeNow;
    if (timedStart && timedStop && v.stopTime < v.startTime)
        return sheettext::kStopBeforeStart;
    return {};
}

void Write(const PageValues& v, bool scanning, CFXScan& scan) {
    scan.m_leaveScanning = v.leaveScanning ? 1 : 0;
    scan.m_exportOnPostScan = v.exportAfterScan ? 1 : 0;
    if (scanning)
        return;
    scan.m_startMode = v.startMode;
    scan.m_alarmStartChannel = -1;
    switch (v.startMode) {
    case CFXScan::kStartTimed:
        scan.m_startTimeText = v.startText;
        scan.m_startTime = v.startTime;
        break;
    case CFXScan::kStartOnAlarm:
        scan.m_alarmStartChannel =
            v.alarmSelection >= 0 && v.alarmSelection < 4 ? v.alarmSelection + 1 : 1;
        break;
    default:
        scan.m_startTimeText.clear();
        break;
    }
    scan.m_stopMode = v.stopMode;
    if (v.stopMode == CFXScan::kStopAfterCount) {
        scan.m_scanCount = std::clamp(v.count, kMinCount, kMaxCount);
        scan.m_stopTimeText.clear();
    } else if (v.stopMode == CFXScan::kStopTimed) {
        scan.m_scanCount = 0;
        scan.m_stopTimeText = v.stopText;
        scan.m_stopTime = v.stopTime;
    }
    scan.m_scanInterval = JoinInterval(v.hourCounter, v.minutes, v.seconds, v.milliseconds);
}

} // namespace scansettings
