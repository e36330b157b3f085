#include "graphics/displays/strip/OverlayStaging.h"

#include <algorithm>

#include "graphics/CXrtGraphData.h"
#include "graphics/displays/strip/CXrtOverlayPlot.h"
#include "platform/chart/ChartData.h"
#include "scan/records/ReadingRecord.h"

int OverlayStaging::Capacity() const {
    return m_data && m_data->GetData() ? m_data->GetData()->Capacity() : 0;
}

int OverlayStaging::StagedCount(int slot) const {
    return m_data && m_data->GetData() ? m_data->GetData()->Count(slot) : 0;
}

void OverlayStaging::Reset() {
    tvane::chart::ChartData* d = m_data ? m_data->GetData() : nullptr;
    if (!d)
        return;
    for (int s = 0; s < d->SeriesCount(); ++s) {
        d->SetCount(s, 0);
        d->SetPoint(s, 0, 0.0, d->Hole());
    }
}

int OverlayStaging::Stage(const std::array<std::int32_t, kSlots>& channels,
                          const ReadingLookup& lookup, CXrtOverlayPlot& plot, const double* end) {
    tvane::chart::ChartData* d = m_data ? m_data->GetData() : nullptr;
    if (!d)
        return 0;
    const int capacity = d->Capacity();
    int scans = 0;
    for (int slot = 0; slot < kSlots && slot < d->SeriesCount(); ++slot) {
        if (channels[static_cast<std::size_t>(slot)] < 0) {
            d->SetCount(slot, 0);
            continue;
        }
        m_records.clear();
        const int found = lookup(channels[static_cast<std::size_t>(slot)], m_records);
        const int n = std::min(found, static_cast<int>(m_records.size()));
        scans = std::max(scans, n);
        // Only the newest readings that fit.
        const int first = n > capacity ? n - capacity : 0;
        if (d->Count(slot) + (n - first) > capacity)
            Flush(plot); // keeps what was staged instead of overflowing
        auto& flags = plot.AlarmFlags(slot);
        for (int i = first; i < n; ++i) {
            const ReadingRecord* r = m_records[static_cast<std::size_t>(i)];
            if (end && r->Time > *end) {
                --scans;
                continue;
            }
            const int at = d->Count(slot);
            if (!d->Append(slot, r->Time, r->Value))
                break;
            if (static_cast<std::size_t>(at) < flags.size())
                flags[static_cast<std::size_t>(at)] = r->AlarmState;
        }
    }
    return std::max(scans, 0);
}

void OverlayStaging::Flush(CXrtOverlayPlot& plot) {
    tvane::chart::ChartData* d = m_data ? m_data->GetData() : nullptr;
    if (!d)
        return;
    std::array<CXrtOverlayPlot::SlotBatch, kSlots> batch{};
    int largest = 0;
    for (int s = 0; s < kSlots && s < d->SeriesCount(); ++s) {
        auto& times = m_times[static_cast<std::size_t>(s)];
        auto& values = m_values[static_cast<std::size_t>(s)];
        times.clear();
        values.clear();
        d->ForEachRun(s, 0, d->Count(s), [&](const double* xs, const double* ys, int n) {
            times.insert(times.end(), xs, xs + n);
            values.insert(values.end(), ys, ys + n);
        });
        batch[static_cast<std::size_t>(s)] = {static_cast<int>(times.size()), times.data(),
                                              values.data()};
        largest = std::max(largest, static_cast<int>(times.size()));
    }
    const int n = std::max(std::min(m_scans, d->Capacity()), largest);
    plot.AddReadings(n, batch.data());
    m_scans = 0;
    Reset();
}
