#pragma once
#include <cstdint>

#include "platform/archive/CTime.h"

struct CStateInfo;
class CDataset;
class CDatasetStore;
class CFXSetupArray;

// What a run hands to its dataset and takes back from it: the run's first and
// last tick values (ms), its start time and the run value.
struct RunSummary {
    double firstTick = 0.0;
    double lastTick = 0.0;
    tvane::CTime startTime;
    std::int16_t runValue = 0;
};

// The parts of the document the workspace operations work on: the open dataset
// storage file with the current dataset, the setup rows, the run summary and the
// application's state record (whose database every operation uses).
class IWorkspaceDocument {
public:
    virtual ~IWorkspaceDocument() = default;

    virtual CStateInfo& AppState() = 0;
    virtual CDatasetStore& Store() = 0;
    virtual CDataset& Dataset() = 0;
    // Closes the current dataset and then the storage file, when open.
    virtual void CloseDatasetStore() = 0;

    virtual CFXSetupArray& SetupRows() = 0;
    // How many rows a new setup may have (the channels of its modules).
    virtual std::int32_t ChannelLimit() const = 0;
    virtual int CountActiveChannels(bool withComputed) const = 0;

    virtual RunSummary GetRunSummary() const = 0;
    virtual void SetRunSummary(const RunSummary& summary) = 0;
    // Where new events go when no run is on: before every stored event (first)
    // and after the last one (second).
    virtual void SetEventPositions(double first, double second) = 0;
};
