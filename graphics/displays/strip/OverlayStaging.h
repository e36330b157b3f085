#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class CXrtGraphData;
class CXrtOverlayPlot;
struct ReadingRecord;

// The strip chart frame's staging of new readings: each poll's readings of
// the eight slots wait here and go to the plot in one call every N scans (the
// update rate), so that the plot is not redrawn reading by reading. A slot
// stages at most capacity readings of one batch, its newest; when staged
// points would no longer fit, those already staged go to the plot first.
class OverlayStaging {
public:
    static constexpr int kSlots = 8;
    // The readings of one channel in the current batch, oldest first.
    using ReadingLookup =
        std::function<int(std::int32_t channel, std::vector<ReadingRecord*>& out)>;

    // The staged points live in data (general, 8 series), which the frame
    // owns and stores.
    explicit OverlayStaging(CXrtGraphData* data = nullptr) : m_data(data) {}
    void SetData(CXrtGraphData* data) { m_data = data; }
    int Capacity() const;

    // Every series empty, first point x 0 and y a hole.
    void Reset();
    // Stages the batch of each slot (channel -1: no channel) and counts its
    // scans (the largest number of readings of one channel). With an end
    // (stored data) readings later than it are skipped and not counted.
    // Hands the staged points to the plot first when they would overflow.
    int Stage(const std::array<std::int32_t, kSlots>& channels, const ReadingLookup& lookup,
              CXrtOverlayPlot& plot, const double* end = nullptr);
    int ScansSinceUpdate() const { return m_scans; }
    void AddScans(int n) { m_scans += n; }
    // Hands the staged points to the plot and starts over.
    void Flush(CXrtOverlayPlot& plot);
    int StagedCount(int slot) const;

private:
    CXrtGraphData* m_data;
    int m_scans = 0;
    std::vector<ReadingRecord*> m_records;
    std::array<std::vector<double>, kSlots> m_times;
    std::array<std::vector<double>, kSlots> m_values;
};
