#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "scan/records/ReadingRecord.h"

class CChannelArray;
class CDatasetEvent;
class CReadingInfo;
class IView;

// What the graphics pages and their displays need of the document: its
// channels, its readings by channel number, its time texts, its run state, the
// instrument requests of displays and the program's yes/no preferences.
class IGraphDocument {
public:
    enum Format { kDateTimeMs, kDateTime, kDate, kTime, kTimeMs };

    virtual ~IGraphDocument() = default;
    virtual bool HasReadings() const = 0;
    // Readings of the current dataset.
    virtual std::int64_t GetReadingCount() const = 0;
    virtual bool IsScanning() const = 0;
    // Records of the setup's channels of the kinds in kindMask, scanned ones
    // only when activeOnly.
    virtual void FillChannelInfoArray(CChannelArray& out, std::uint32_t kindMask,
                                      bool activeOnly) const = 0;
    virtual std::int16_t GetChannelReadings(std::int32_t channel,
                                            std::vector<ReadingRecord*>& out) const = 0;
    virtual std::string GetFormat(Format format) const = 0;
    virtual std::string FormatReadingTime(double time) = 0;
    virtual double GetStartTick() const = 0;
    // The termination reason kept by the current dataset's header.
    virtual std::int32_t GetTerminationCode() const = 0;
    virtual void RaiseFrameCounter(std::uint32_t value) = 0;
    virtual void AddViewFlags(std::uint32_t bits) = 0;
    virtual bool DoInstrumentAction(CReadingInfo& request, bool ask) = 0;
    // Sends the document's current data to one view alone.
    virtual void ResendData(IView& target) = 0;
    // A yes/no preference of the program (10005, 10006); an unset one is yes.
    virtual bool GetPreference(int id) const = 0;
    // Shows the event log at the first event at or after the criteria's time
    // of its type and channel, or says it is not there.
    virtual void ShowEventInLog(const CDatasetEvent& criteria) = 0;
};
