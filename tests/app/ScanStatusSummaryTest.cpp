#include <gtest/gtest.h>

#include "app/CScanStatusSummary.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "scan/CFXScan.h"

namespace tvane::test {
namespace {

TEST(ScanStatusSummary, IntervalAsHoursMinutesSecondsAndMilliseconds) {
    EXPECT_EQ(CScanStatusSummary::FormatInterval(3725.25), "01:02:05.250 (HH:MM:SS.sss)");
    EXPECT_EQ(CScanStatusSummary::FormatInterval(90061.0), "25:01:01.000 (HH:MM:SS.sss)");
}

TEST(ScanStatusSummary, RowsByStartAndStopMode) {
    FakeClock clock(1700000000);
    ScopedService<IClock> service(SetClock, &clock);
    CFXScan scan;
    scan.m_scanInterval = 3725.25;
    auto rows = CScanStatusSummary::Rows(scan, "RS-232", true);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[1], "\tStart Scan\tImmediately");
    EXPECT_EQ(rows[2], "\tStop Scan\tBy Invoking Stop Scan");
    EXPECT_EQ(rows[3], "\tTime between scans\t01:02:05.250 (HH:MM:SS.sss)");
    EXPECT_EQ(rows[8], "\tInstrument Communication\tRS-232");
    EXPECT_EQ(rows[11], "\tDownload of Setup required\tNo");

    const struct {
        std::int32_t startMode;
        const char* start;
        const char* interval;
    } cases[] = {
        {CFXScan::kStartExternalTrigger, "\tStart Scan\tOn External Trigger", "N/A"},
        {CFXScan::kStartOnAlarm, "\tStart Scan\tOn Alarm105", "N/A"},
        {CFXScan::kStartTimed, "\tStart Scan\tAt Time %s (?]", "01:02:05.250 (HH:MM:SS.sss)"},
    };
    scan.m_alarmStartChannel = 105;
    scan.m_startTimeText.clear();
    for (const auto& c : cases) {
        scan.m_startMode = c.startMode;
        rows = CScanStatusSummary::Rows(scan, "LAN", false);
        EXPECT_EQ(rows[1], c.start);
        EXPECT_EQ(rows[3], std::string("\tTime between scans\t") + c.interval);
        EXPECT_EQ(rows[11], "\tDownload of Setup required\tYes");
    }
    scan.m_stopMode = CFXScan::kStopAfterCount;
    scan.m_scanCount = 50;
    scan.m_leaveScanning = 1;
    scan.m_exportOnPostScan = 1;
    rows = CScanStatusSummary::Rows(scan, "LAN", false);
    EXPECT_EQ(rows[2], "\tStop Scan\tAfter 50 scans");
    EXPECT_EQ(rows[4], "\tLeave Instrument Scanning\tYes");
    EXPECT_EQ(rows[5], "\tExport On Post Scan\tYes");
}

} // namespace
} // namespace tvane::test
