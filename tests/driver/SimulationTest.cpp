#include "DriverFixture.h"

namespace tvane::driver::test {
namespace {

class Simulation : public SimulatedDriverTest {
protected:
    void Download(const CChannelConfig& c) { ASSERT_TRUE(drv->DownloadChannelConfig(c)); }
    // One poll as the scan engine makes it.
    std::int32_t Poll() {
        EXPECT_TRUE(drv->InitMeasurement(100));
        std::int32_t count = -1;
        EXPECT_TRUE(drv->GetReadings(records, 100, &count));
        return count;
    }
    void Start(double seconds, std::int32_t scans) {
        ASSERT_TRUE(drv->InitInstrument());
        ASSERT_TRUE(drv->SetScanCount(scans));
        ASSERT_TRUE(drv->SetScanInterval(seconds));
        double start = -1;
        ASSERT_TRUE(drv->GetStartTickCount(&start));
        EXPECT_EQ(start, 0.0);
        ASSERT_TRUE(drv->StartMeasurement());
    }
    ReadingRecord records[100];
};

TEST_F(Simulation, ExactScanLimitPolledEvery100ms) {
    Download(Channel(0, 101, 0));
    Download(Channel(0, 102, 0));
    Start(1.0, 3);
    std::vector<std::pair<int, int>> scans; // (scan, readings)
    std::vector<double> times;
    for (int poll = 0; poll < 40; ++poll) {
        clock.Advance(100);
        std::int32_t n = Poll();
        if (n) {
            scans.emplace_back(+records[0].ScanNumber, n);
            times.push_back(+records[1].Time);
        }
    }
    EXPECT_EQ(scans, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}, {3, 2}}));
    bool scanning = true;
    EXPECT_TRUE(drv->IsInstrumentScanning(&scanning));
    EXPECT_FALSE(scanning);
    EXPECT_EQ(+records[1].Channel, 102);
    EXPECT_EQ(times, (std::vector<double>{1000.0, 2000.0, 3000.0}));
    // Nothing is sent on the simulated interface for the scan itself.
    EXPECT_EQ(link.Sent(),
              (std::vector<std::string>{"*CLS", "*ESE 1", "*SRE 48", "ROUT:SCAN (@101,102,)",
                                        "TRIG:COUN 3", "TRIG:TIMER 1.000000", "INIT"}));
}

TEST_F(Simulation, LatePollCatchesUpOneScanPerPoll) {
    Download(Channel(0, 101, 0));
    Start(1.0, 0);
    clock.Advance(3500);
    EXPECT_EQ(Poll(), 1);
    EXPECT_EQ(Poll(), 1);
    EXPECT_EQ(Poll(), 1);
    EXPECT_EQ(Poll(), 0);
    EXPECT_EQ(+records[0].ScanNumber, 3);
    clock.Advance(500);
    EXPECT_EQ(Poll(), 1);
}

TEST_F(Simulation, OnlyScannedMeasuringChannelsGiveReadings) {
    Download(Channel(0, 101, 0, false)); // not in the scan
    Download(Channel(2, 201, 14));       // a switch module
    Download(Channel(5, 202, 17));
    CChannelConfig tc = Channel(1, 301, 6);
    tc.SubType = 3;
    tc.RangeLow = "100";
    tc.Range = "200"; // ignored: temperatures use their default range
    Download(tc);
    Start(0.1, 0);
    for (int i = 0; i < 200; ++i) {
        clock.Advance(100);
        ASSERT_EQ(Poll(), 1);
        EXPECT_EQ(+records[0].Channel, 301);
        EXPECT_GE(+records[0].Value, -10.0);
        EXPECT_LE(+records[0].Value, 30.0);
    }
}

TEST_F(Simulation, ValuesStayInTheirRangesAndRaiseAlarms) {
    CChannelConfig volts = Channel(7, 101, 0);
    volts.RangeLow = "-1";
    volts.Range = "1";
    volts.AlarmMode = 3;
    volts.LowLimit = "-0.5";
    volts.HighLimit = "0.5";
    Download(volts);
    CChannelConfig scaled = Channel(0, 102, 7); // default range -1..1
    scaled.ScalingOn = 1;
    scaled.Gain = "10";
    scaled.Offset = "100";
    Download(scaled);
    CChannelConfig digital = Channel(6, 201, 9);
    Download(digital);
    CChannelConfig totalizer = Channel(6, 203, 12);
    totalizer.AlarmMode = 2;
    totalizer.HighLimit = "3";
    Download(totalizer);
    Start(0.01, 0);
    bool sawLow = false, sawHigh = false;
    double lastTotal = 0;
    for (int i = 0; i < 2000; ++i) {
        clock.Advance(10);
        ASSERT_EQ(Poll(), 4);
        const ReadingRecord& v = records[0];
        ASSERT_GE(+v.Value, -1.0);
        ASSERT_LE(+v.Value, 1.0);
        int expectedAlarm = +v.Value <= -0.5 ? 1 : +v.Value >= 0.5 ? 2 : 0;
        ASSERT_EQ(+v.AlarmState, expectedAlarm);
        sawLow |= expectedAlarm == 1;
        sawHigh |= expectedAlarm == 2;
        ASSERT_GE(+records[1].Value, 90.0);
        ASSERT_LE(+records[1].Value, 110.0);
        ASSERT_GE(+records[2].Value, 0.0);
        ASSERT_LE(+records[2].Value, 255.0);
        // The totalizer counts up and starts again after its high alarm.
        const ReadingRecord& t = records[3];
        ASSERT_TRUE(+t.Value == lastTotal || +t.Value == lastTotal + 1) << +t.Value;
        ASSERT_EQ(+t.AlarmState, +t.Value >= 3 ? 2 : 0);
        lastTotal = +t.AlarmState ? 0 : +t.Value;
    }
    EXPECT_TRUE(sawLow && sawHigh);
}

TEST_F(Simulation, StopMeasurementEndsTheRunAndItsLimit) {
    Download(Channel(0, 101, 0));
    Start(1.0, 2);
    ASSERT_TRUE(drv->StopMeasurement());
    bool scanning = true;
    drv->IsInstrumentScanning(&scanning);
    EXPECT_FALSE(scanning);
    // The timer restarts from tick 0: polls catch up from there, with no limit.
    clock.SetTick(5500);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Poll(), 1);
    EXPECT_EQ(Poll(), 0);
}

TEST_F(Simulation, MonitorAndReadsAnswerFromTheSimulation) {
    CChannelConfig c = Channel(0, 105, 1);
    Download(c);
    double value = -1;
    std::int16_t alarm = -1;
    EXPECT_FALSE(drv->ReadMonitorChnl(&value, &alarm)); // not enabled
    ASSERT_TRUE(drv->SetMonitorChnl(105));
    ASSERT_TRUE(drv->EnableMonitorChnl(true));
    ASSERT_TRUE(drv->ReadMonitorChnl(&value, &alarm));
    EXPECT_GE(value, 0.0);
    EXPECT_LE(value, 10.0);
    EXPECT_EQ(alarm, 0);
    drv->SetMonitorChnl(106);
    EXPECT_FALSE(drv->ReadMonitorChnl(&value, &alarm)); // no copy of 106

    double volts = 99;
    EXPECT_TRUE(drv->AnalogRead(204, &volts));
    EXPECT_GE(volts, -10.0);
    EXPECT_LE(volts, 10.0);
    std::int16_t bits = -1;
    EXPECT_TRUE(drv->DigitalRead(201, &bits));
    EXPECT_GE(bits, 0);
    EXPECT_LE(bits, 255);
}

TEST_F(Simulation, StoredReadingsAndTheReadingRowsAreSimulatedToo) {
    Download(Channel(0, 101, 1));
    Download(Channel(0, 102, 4));
    Start(1.0, 0);
    clock.Advance(1000);
    std::int32_t count = -1;
    EXPECT_TRUE(drv->FetchReadings(records, 1, &count));
    EXPECT_EQ(count, 1); // bounded by what was asked for
    clock.Advance(1000);
    std::vector<ReadingRow> rows;
    ASSERT_EQ(drv->GetReading(rows), 2);
    EXPECT_EQ(rows[1].channel, 102);
    EXPECT_EQ(rows[1].scan, 2);
    EXPECT_GE(rows[1].value, 0.0);
    EXPECT_LE(rows[1].value, 1000.0);
    EXPECT_DOUBLE_EQ(rows[1].time, 2000.0);
    EXPECT_EQ(link.Sent().size(), 7u); // the start sequence only
}

} // namespace
} // namespace tvane::driver::test
