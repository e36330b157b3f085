#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "scan/records/ReadingRecord.h"

class CChannelArray;
class CDatasetEvent;
class CReadingInfo;
class CReadingQuery;
class IView;

// The document as the displays see it: narrow views to read it through, and
// the display actions as the one way to write to the instrument. The program's
// adapter over its document implements them all (IGraphDocument); a display
// may take the one view it needs.

// The readings: by channel, their count, and as export text.
class IDocumentReadings {
public:
    virtual ~IDocumentReadings() = default;
    virtual bool HasReadings() const = 0;
    // Readings of the current dataset.
    virtual std::int64_t GetReadingCount() const = 0;
    // The newest readings of one channel, newest last.
    virtual std::int16_t GetChannelReadings(std::int32_t channel,
                                            std::vector<ReadingRecord*>& out) const = 0;
    // The readings the query selects as export text; empty when none.
    virtual std::string ExportReadingsText(const CReadingQuery& query) = 0;
};

// The run: whether it goes on, its times and how it ended, and the
// document's texts of times.
class IRunTimes {
public:
    enum Format { kDateTimeMs, kDateTime, kDate, kTime, kTimeMs };

    virtual ~IRunTimes() = default;
    virtual bool IsScanning() const = 0;
    // The tick count at the run's start.
    virtual double GetStartTick() const = 0;
    // The dataset's start and end time and its run time (a span), in ms.
    virtual double GetRunStartTime() const = 0;
    virtual double GetRunEndTime() const = 0;
    virtual double GetRunTime() const = 0;
    // The termination reason kept by the current dataset's header.
    virtual std::int32_t GetTerminationCode() const = 0;
    virtual std::string GetFormat(Format format) const = 0;
    virtual std::string FormatReadingTime(double time) = 0;
};

// The setup's channels as displays list them.
class IChannelLists {
public:
    virtual ~IChannelLists() = default;
    // Records of the setup's channels of the kinds in kindMask, scanned ones
    // only when activeOnly.
    virtual void FillChannelInfoArray(CChannelArray& out, std::uint32_t kindMask,
                                      bool activeOnly) const = 0;
    // The channels of the last scan: labels "<%ld> %s" and numbers.
    virtual void GetScanChannelList(std::vector<std::string>& labels,
                                    std::vector<std::uint32_t>& numbers) const = 0;
};

// The events of the run.
class IDocumentEvents {
public:
    virtual ~IDocumentEvents() = default;
    // Shows the event log at the first event at or after the criteria's time
    // of its type and channel, or says it is not there.
    virtual void ShowEventInLog(const CDatasetEvent& criteria) = 0;
};

// The instrument requests of displays (read, write, query); the answer comes
// back to every display as a view hint.
class IDisplayActions {
public:
    virtual ~IDisplayActions() = default;
    virtual bool DoInstrumentAction(CReadingInfo& request, bool ask) = 0;
};

// Every view, and what the graphics pages and the frame base ask besides.
class IGraphDocument : public IDocumentReadings,
                       public IRunTimes,
                       public IChannelLists,
                       public IDocumentEvents,
                       public IDisplayActions {
public:
    // Raises the number of scans the document keeps for the displays.
    virtual void RaiseFrameCounter(std::uint32_t value) = 0;
    virtual void AddViewFlags(std::uint32_t bits) = 0;
    // Sends the document's current data to one view alone.
    virtual void ResendData(IView& target) = 0;
    // A yes/no preference of the program (10005, 10006); an unset one is yes.
    virtual bool GetPreference(int id) const = 0;
};
