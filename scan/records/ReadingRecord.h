#pragma once
#include <cstdint>

// The instrument's overload value; readings and computed channels carry it as is.
inline constexpr double kOverloadValue = 9.9e37;

// One reading as the driver writes it into the document's buffer and as the
// dataset stores it: 26 bytes, packed, little-endian. The fields are unaligned:
// read them by value (or copy them into locals) rather than binding references
// or pointers to them, which gtest's EXPECT_EQ does.
#pragma pack(push, 1)
struct ReadingRecord {
    std::int32_t ScanNumber = 0; // 1 for the first scan after the instrument is initialised
    std::int16_t Channel = 0;    // slot x 100 + channel; computed channels 900 and up
    std::uint8_t AlarmState = 0; // 0 none, 1 low limit, 2 high limit
    double Time = 0.0;           // milliseconds
    double Value = 0.0;
    char Unit[3] = {0, 0, 0}; // exactly three characters, not terminated
};
#pragma pack(pop)

static_assert(sizeof(ReadingRecord) == 26, "ReadingRecord is stored and exchanged as 26 bytes");
static_assert(alignof(ReadingRecord) == 1);

enum ReadingAlarmState : std::uint8_t {
    ReadingAlarmNone = 0,
    ReadingAlarmLow = 1,
    ReadingAlarmHigh = 2,
};
