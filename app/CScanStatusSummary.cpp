#include "app/CScanStatusSummary.h"

#include <cmath>
#include <cstdint>

#include "platform/core/Format.h"
#include "scan/CFXScan.h"

std::string CScanStatusSummary::FormatInterval(double seconds) {
    const auto whole = static_cast<std::int64_t>(seconds);
    const auto milliseconds = static_cast<int>(static_cast<std::int64_t>(seconds * 1000.0) % 1000);
    return tvane::Format("%02d:%02d:%02d.%03d (HH:MM:SS.sss)", static_cast<int>(whole / 3600),
                         static_cast<int>(whole / 60 % 60), static_cast<int>(whole % 60),
                         milliseconds);
}

std::vector<std::string> CScanStatusSummary::Rows(const CFXScan& scan,
                                                  const std::string& interfaceName,
                                                  bool setupInInstrument) {
    std::string interval = FormatInterval(scan.m_scanInterval);
    std::string start;
    switch (scan.m_startMode) {
    case CFXScan::kStartImmediately:
        start = "Immediately";
        break;
    case CFXScan::kStartExternalTrigger:
        start = "On External Trigger";
        interval = "N/A";
        break;
    case CFXScan::kStartTimed:
        start = scan.m_startTimeText.empty()
                    ? std::string("At Time %s") + " (?]"
                    : tvane::Format("At Time %s", scan.m_startTimeText.c_str()); // 242
        break;
    case CFXScan::kStartOnAlarm:
        start = "On Alarm" + std::to_string(scan.m_alarmStartChannel);
        interval = "N/A";
        break;
    default:
        break;
    }
    std::string stop;
    switch (scan.m_stopMode) {
    case CFXScan::kStopByUser:
        stop = "By Invoking Stop Scan";
        break;
    case CFXScan::kStopAfterCount:
        stop = tvane::Format("After %ld scans", static_cast<long>(scan.m_scanCount)); // 243
        break;
    case CFXScan::kStopTimed:
        stop = tvane::Format("At Time %s", scan.m_stopTimeText.c_str());
        break;
    default:
        break;
    }
    return {
        "Scan Settings", // 118
        tvane::Format("\tStart Scan\t%s", start.c_str()),
        tvane::Format("\tStop Scan\t%s", stop.c_str()),
        tvane::Format("\tTime between scans\t%s", interval.c_str()),
        scan.m_leaveScanning != 0 ? "\tLeave Instrument Scanning\tYes"
                                  : "\tLeave Instrument Scanning\tNo",
        scan.m_exportOnPostScan == 1 ? "\tExport On Post Scan\tYes" : "\tExport On Post Scan\tNo",
        "\t",
        "Communication Settings", // 247
        tvane::Format("\tInstrument Communication\t%s", interfaceName.c_str()),
        "\t",
        "Download Settings", // 249
        tvane::Format("\tDownload of Setup required\t%s", setupInInstrument ? "No" : "Yes"),
    };
}
