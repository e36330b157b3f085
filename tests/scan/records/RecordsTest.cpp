#include "scan/records/CChannelConfig.h"
#include "scan/records/ReadingRecord.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>

TEST(ReadingRecord, FieldOffsetsMatchTheStoredLayout) {
    EXPECT_EQ(offsetof(ReadingRecord, ScanNumber), 0u);
    EXPECT_EQ(offsetof(ReadingRecord, Channel), 4u);
    EXPECT_EQ(offsetof(ReadingRecord, AlarmState), 6u);
    EXPECT_EQ(offsetof(ReadingRecord, Time), 7u);
    EXPECT_EQ(offsetof(ReadingRecord, Value), 15u);
    EXPECT_EQ(offsetof(ReadingRecord, Unit), 23u);
}

TEST(ReadingRecord, BytesAreLittleEndianAndPacked) {
    ReadingRecord r;
    r.ScanNumber = 0x01020304;
    r.Channel = 101;
    r.AlarmState = ReadingAlarmHigh;
    r.Time = 1.5;
    r.Value = kOverloadValue;
    std::memcpy(r.Unit, "VDC", 3);
    unsigned char bytes[sizeof r];
    std::memcpy(bytes, &r, sizeof r);
    const unsigned char head[] = {0x04, 0x03, 0x02, 0x01, 101, 0, 2};
    EXPECT_EQ(std::memcmp(bytes, head, sizeof head), 0);
    double time = 0, value = 0;
    std::memcpy(&time, bytes + 7, 8);
    std::memcpy(&value, bytes + 15, 8);
    EXPECT_EQ(time, 1.5);
    EXPECT_EQ(value, 9.9e37);
    EXPECT_EQ(std::memcmp(bytes + 23, "VDC", 3), 0);

    // A buffer of records is one contiguous run of 26-byte records.
    ReadingRecord buffer[3];
    EXPECT_EQ(reinterpret_cast<char*>(&buffer[2]) - reinterpret_cast<char*>(&buffer[0]), 52);
}

TEST(CChannelConfig, DefaultsAskForAutorangeAndNoAlarm) {
    CChannelConfig c;
    EXPECT_EQ(c.ModuleType, 8);
    EXPECT_EQ(c.Channel, 0);
    EXPECT_EQ(c.InScanList, 0);
    EXPECT_EQ(c.Function, 18);
    EXPECT_EQ(c.SubType, 13);
    EXPECT_EQ(c.RangeLow, "Auto");
    EXPECT_EQ(c.Range, "Auto");
    EXPECT_EQ(c.Resolution, "1");
    EXPECT_EQ(c.IntegrationCode, 9);
    EXPECT_EQ(c.ScalingOn, 0);
    EXPECT_EQ(c.Gain, "1.0");
    EXPECT_EQ(c.Offset, "0.0");
    EXPECT_EQ(c.Unit, "");
    EXPECT_EQ(c.AlarmMode, 0);
    EXPECT_EQ(c.AlarmOutput, 4);
    EXPECT_EQ(c.LowLimit, "1.0E-35");
    EXPECT_EQ(c.HighLimit, "1.0E35");
    EXPECT_TRUE(c.Options.empty());
    EXPECT_EQ(CChannelSetting().Id, -1);
}

static CChannelConfig ConfigWithThreeSettings() {
    CChannelConfig c;
    c.ModuleType = 2;
    c.Channel = 105;
    c.InScanList = 1;
    c.Function = 6;
    c.SubType = 3;
    c.RangeLow = "-10";
    c.Range = "10";
    c.Resolution = "0.02";
    c.IntegrationCode = 1;
    c.ScalingOn = 1;
    c.Gain = "2.0";
    c.Offset = "0.5";
    c.Unit = "mV";
    c.AlarmMode = 3;
    c.AlarmOutput = 1;
    c.LowLimit = "-1";
    c.HighLimit = "1";
    c.Options = {{1, "10M"}, {2, "0.02"}, {0x80, "0.001"}};
    return c;
}

TEST(CChannelConfig, CopyOwnsItsOwnSettings) {
    auto source = std::make_unique<CChannelConfig>(ConfigWithThreeSettings());
    auto copy = std::make_unique<CChannelConfig>(*source);
    EXPECT_EQ(copy->Channel, 105);
    EXPECT_EQ(copy->IntegrationCode, 1);
    EXPECT_EQ(copy->HighLimit, "1");
    ASSERT_EQ(copy->Options.size(), 3u);
    source.reset();
    EXPECT_EQ(copy->Options[2], CChannelSetting(0x80, "0.001"));

    auto again = std::make_unique<CChannelConfig>(*copy);
    copy.reset();
    EXPECT_EQ(again->Options[0].Text, "10M");
}

TEST(CChannelConfig, AssignmentAppendsAfterSettingsAlreadyHeld) {
    CChannelConfig target;
    target.Options.push_back({0x200, "0.1"});
    target = ConfigWithThreeSettings();
    ASSERT_EQ(target.Options.size(), 4u);
    EXPECT_EQ(target.Options[0], CChannelSetting(0x200, "0.1"));
    EXPECT_EQ(target.Options[3], CChannelSetting(0x80, "0.001"));
    EXPECT_EQ(target.Unit, "mV");

    // Assigning a record to itself leaves it as it was.
    const CChannelConfig& self = target;
    target = self;
    EXPECT_EQ(target.Options.size(), 4u);
}
