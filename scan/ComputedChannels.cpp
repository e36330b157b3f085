#include "scan/ComputedChannels.h"

#include <cstdlib>

#include "scan/CChannelMath.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXSetup.h"
#include "scan/ChannelCodes.h"

void UpdateOperand(CCompChnlArg& operand, const ReadingRecord* reading) {
    if (operand.IsConstant()) {
        operand.ScanNumber = 1;
        return;
    }
    if (reading) {
        operand.ScanNumber = reading->ScanNumber;
        operand.Value = reading->Value;
    }
}

std::uint8_t TestAlarmLimits(int alarmTestCode, double value, double low, double high) {
    const bool testsLow = alarmTestCode == 1 || alarmTestCode == 3;
    const bool testsHigh = alarmTestCode == 2 || alarmTestCode == 3;
    if (testsLow && value <= low)
        return ReadingAlarmLow;
    if (testsHigh && value >= high)
        return ReadingAlarmHigh;
    return ReadingAlarmNone;
}

void BuildComputedReading(const ReadingRecord* reading1, const ReadingRecord* reading2,
                          ReadingRecord& target, const CCompChnl& channel, const CFXSetup* row) {
    target.ScanNumber = 0;
    target.Time = 0.0;
    if (reading1) {
        target.ScanNumber = reading1->ScanNumber;
        target.Time = reading1->Time;
    }
    if (reading2) {
        // The record is packed: compare copies, never references to its fields.
        const std::int32_t scan = reading2->ScanNumber;
        const double time = reading2->Time;
        if (scan > target.ScanNumber)
            target.ScanNumber = scan;
        if (time > target.Time)
            target.Time = time;
    }
    target.Channel = static_cast<std::int16_t>(channel.Channel);
    target.Value = channel.Result;
    target.AlarmState = ReadingAlarmNone;
    if (!row)
        return;
    if (row->Scaling != 0)
        target.Value = target.Value * std::atof(row->Gain.c_str()) + std::atof(row->Offset.c_str());
    const int code = AlarmTestCode(row->Alarms);
    if (code != 0) {
        target.AlarmState = TestAlarmLimits(code, target.Value, std::atof(row->AlarmLo.c_str()),
                                            std::atof(row->AlarmHi.c_str()));
    }
}

int EvaluateComputedChannels(CCompChnlArray& channels, const CChannelMath& math,
                             IComputedChannelHost& host) {
    int added = 0;
    for (std::int32_t i = 0; i < channels.GetSize(); ++i) {
        CCompChnl* channel = channels.GetAt(i);
        if (!channel)
            continue;
        const CFXSetup* row = host.FindSetupRow(channel->Channel);
        const ReadingRecord* reading1 =
            channel->Arg1.IsChannel() ? host.LatestReading(channel->Arg1.Channel) : nullptr;
        const ReadingRecord* reading2 =
            channel->Arg2.IsChannel() ? host.LatestReading(channel->Arg2.Channel) : nullptr;
        const bool operandsThere =
            (!channel->Arg1.IsChannel() || reading1) && (!channel->Arg2.IsChannel() || reading2);
        if (row && row->ChannelMode != 0 && operandsThere) {
            UpdateOperand(channel->Arg1, reading1);
            if (channel->Arg2.IsNone())
                channel->Arg2.ScanNumber = 1;
            else
                UpdateOperand(channel->Arg2, reading2);
            if (channel->IsReady()) {
                math.Evaluate(*channel);
                ReadingRecord reading;
                BuildComputedReading(reading1, reading2, reading, *channel, row);
                host.AddComputedReading(reading);
                ++added;
            }
        }
        channel->ClearScanNumbers();
    }
    return added;
}
