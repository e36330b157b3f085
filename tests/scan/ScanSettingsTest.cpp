#include "ArchiveHelpers.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "scan/CFXScan.h"
#include "scan/FakeSetupEditor.h"

#include <gtest/gtest.h>

using scantest::Bytes;

namespace {

class CFXScanTest : public ::testing::Test {
protected:
    tvane::FakeClock clock{1000000000};
    tvane::ScopedService<tvane::IClock> guard{tvane::SetClock, &clock};
};

CFXScan Filled() {
    CFXScan s;
    s.m_startMode = CFXScan::kStartTimed;
    s.m_startTimeText = "10:00";
    s.m_stopMode = CFXScan::kStopAfterCount;
    s.m_scanCount = 250;
    s.m_stopTimeText = "11:00";
    s.m_intervalUnit = "minutes";
    s.m_scanInterval = 0.5;
    s.m_startTime = tvane::CTime(1700000000);
    s.m_stopTime = tvane::CTime(1700003600);
    s.m_alarmOutputTracking = 0;
    s.m_alarmPolarityLow = 0;
    s.m_alarmStartChannel = 105;
    s.m_leaveScanning = 1;
    s.m_exportOnPostScan = 1;
    return s;
}

TEST_F(CFXScanTest, DefaultsAndReset) {
    CFXScan s;
    EXPECT_EQ(s.m_scanCount, 0);
    EXPECT_EQ(s.m_intervalUnit, "seconds");
    EXPECT_EQ(s.m_scanInterval, 10.0);
    EXPECT_EQ(s.m_startTime.GetTime(), 1000000000);
    EXPECT_EQ(s.m_stopTime, s.m_startTime);
    EXPECT_EQ(s.m_alarmStartChannel, -1);

    CFXScan r = Filled();
    clock.SetNow(1100000000);
    r.Reset();
    EXPECT_EQ(r.m_scanCount, 1);
    EXPECT_EQ(r.m_startMode, 0);
    EXPECT_EQ(r.m_stopMode, 0);
    EXPECT_EQ(r.m_startTimeText + r.m_stopTimeText, "");
    EXPECT_EQ(r.m_intervalUnit, "seconds");
    EXPECT_EQ(r.m_scanInterval, 10.0);
    EXPECT_EQ(r.m_startTime.GetTime(), 1100000000);
    EXPECT_EQ(r.m_stopTime, r.m_startTime);
    EXPECT_EQ(r.m_alarmOutputTracking + r.m_alarmPolarityLow, 2);
    EXPECT_EQ(r.m_alarmStartChannel, -1);
    EXPECT_EQ(r.m_leaveScanning + r.m_exportOnPostScan, 0);
}

TEST_F(CFXScanTest, DefaultObjectIsFiftyTwoBytes) {
    CFXScan s;
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { s.Serialize(ar); });
    ASSERT_EQ(bytes.size(), 52u);
    const Bytes head = {0, 0, 0, 0, 0,   0,   0,   0,   0,   0,   0,
                        0, 0, 0, 7, 's', 'e', 'c', 'o', 'n', 'd', 's'};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 22), head);
    // time 1000000000 = 0x3B9ACA00, twice; flags 1, 1 as 16 bits; -1; 0 as 16; 0 as 32.
    const Bytes tail = {0x00, 0xCA, 0x9A, 0x3B, 0x00, 0xCA, 0x9A, 0x3B, 1, 0, 1,
                        0,    0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0, 0, 0};
    EXPECT_EQ(Bytes(bytes.begin() + 30, bytes.end()), tail);
}

TEST_F(CFXScanTest, ExportFlagIsGatedByTheFileVersion) {
    CFXScan s = Filled();
    s.m_alarmOutputTracking = 0x10002; // only the low 16 bits are kept
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { s.Serialize(ar); });

    CFXScan v2;
    scantest::Load(bytes, [&](tvane::CArchive& ar) { v2.Serialize(ar, 2); });
    EXPECT_EQ(v2.m_startMode, 3);
    EXPECT_EQ(v2.m_startTimeText, "10:00");
    EXPECT_EQ(v2.m_stopMode, 1);
    EXPECT_EQ(v2.m_scanCount, 250);
    EXPECT_EQ(v2.m_stopTimeText, "11:00");
    EXPECT_EQ(v2.m_intervalUnit, "minutes");
    EXPECT_EQ(v2.m_scanInterval, 0.5);
    EXPECT_EQ(v2.m_startTime.GetTime(), 1700000000);
    EXPECT_EQ(v2.m_stopTime.GetTime(), 1700003600);
    EXPECT_EQ(v2.m_alarmOutputTracking, 2);
    EXPECT_EQ(v2.m_alarmPolarityLow, 0);
    EXPECT_EQ(v2.m_alarmStartChannel, 105);
    EXPECT_EQ(v2.m_leaveScanning, 1);
    EXPECT_EQ(v2.m_exportOnPostScan, 1);

    // A version 1 file has no export flag: the member keeps its value and the
    // four bytes are left for whatever follows in the document.
    Bytes v1bytes(bytes.begin(), bytes.end() - 4);
    for (std::int32_t keep : {0, 1}) {
        CFXScan v1;
        v1.m_exportOnPostScan = keep;
        tvane::MemoryStream stream(v1bytes);
        tvane::CArchive ar(stream, tvane::CArchive::load);
        v1.Serialize(ar, 1);
        EXPECT_EQ(stream.Position(), v1bytes.size());
        EXPECT_EQ(v1.m_exportOnPostScan, keep);
        EXPECT_EQ(v1.m_leaveScanning, 1);
    }
}

} // namespace
