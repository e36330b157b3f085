#pragma once
#include <cstdint>

#include "scan/records/ReadingRecord.h"

class CCompChnl;
class CCompChnlArg;
class CCompChnlArray;
class CChannelMath;
class CFXSetup;

// What the evaluation of computed channels needs of the document.
class IComputedChannelHost {
public:
    virtual ~IComputedChannelHost() = default;
    // The setup row of a channel number, or null.
    virtual const CFXSetup* FindSetupRow(std::int32_t channel) const = 0;
    // The channel's newest reading, or null when it has none yet.
    virtual const ReadingRecord* LatestReading(std::int32_t channel) const = 0;
    // Appends a computed reading to the reading buffer and the reading store and
    // keeps it as its channel's newest reading.
    virtual void AddComputedReading(const ReadingRecord& reading) = 0;
};

// Evaluates each computed channel whose row is scanned and whose operands are
// ready, once per completed scan, handing each value to the host as a reading.
// Every operand then waits for a fresh reading. Returns the readings added.
int EvaluateComputedChannels(CCompChnlArray& channels, const CChannelMath& math,
                             IComputedChannelHost& host);

// Takes a reading into an operand; a constant only marks itself as present.
void UpdateOperand(CCompChnlArg& operand, const ReadingRecord* reading);

// The reading of a computed channel: the later time and the larger scan number
// of its operands' readings, the result scaled by the row's Mx+B when scaling is
// on, and the alarm state from the row's limits.
void BuildComputedReading(const ReadingRecord* reading1, const ReadingRecord* reading2,
                          ReadingRecord& target, const CCompChnl& channel, const CFXSetup* row);

// Alarm state of a computed value for an alarm test code: 1 at or below the low
// limit (Low Only, High/Low), 2 at or above the high limit (High Only,
// High/Low), else 0. Equal and Not Equal never raise one here.
std::uint8_t TestAlarmLimits(int alarmTestCode, double value, double low, double high);
