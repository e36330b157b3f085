#include "graphics/displays/xy/XYPairing.h"

#include <algorithm>

#include "graphics/CXrtGraphData.h"
#include "platform/chart/ChartData.h"
#include "scan/records/ReadingRecord.h"

using tvane::chart::ChartData;

namespace {
constexpr int kXSet = 0;
constexpr int kYSet = 1;
} // namespace

int XYPairing::Capacity() const {
    const ChartData* d = m_buffer ? m_buffer->GetData() : nullptr;
    return d && d->SeriesCount() >= 2 ? d->Capacity() : 0;
}

int XYPairing::Pending() const {
    const ChartData* d = m_buffer ? m_buffer->GetData() : nullptr;
    return d && d->SeriesCount() >= 2 ? std::min(d->Count(kXSet), d->Count(kYSet)) : 0;
}

void XYPairing::EmptyBuffer() {
    ChartData* d = m_buffer ? m_buffer->GetData() : nullptr;
    if (!d)
        return;
    for (int s = 0; s < d->SeriesCount(); ++s)
        d->SetCount(s, 0);
}

void XYPairing::DropWaiting() {
    m_waitX.clear();
    m_waitY.clear();
}

void XYPairing::Take(const std::vector<ReadingRecord*>& batch, std::deque<Reading>& waiting) const {
    const auto capacity = static_cast<std::size_t>(Capacity());
    // Only the newest readings can be shown, so only they are kept.
    const std::size_t first = batch.size() > capacity ? batch.size() - capacity : 0;
    for (std::size_t i = first; i < batch.size(); ++i) {
        if (const ReadingRecord* r = batch[i])
            waiting.push_back({r->ScanNumber, r->Value});
    }
    while (waiting.size() > capacity)
        waiting.pop_front();
}

void XYPairing::Append(double x, double y, bool hasX, bool hasY, const HandOver& handOver) {
    ChartData* d = m_buffer->GetData();
    if (Pending() >= d->Capacity() && handOver)
        handOver();
    if (Pending() >= d->Capacity())
        EmptyBuffer(); // nobody took them: never beyond the capacity
    // Both series grow together, so entry k of X and of Y stay one scan.
    const int at = Pending();
    d->SetCount(kXSet, at);
    d->SetCount(kYSet, at);
    d->Append(kXSet, hasX ? 0.0 : kNoValue, hasX ? x : kNoValue);
    d->Append(kYSet, hasY ? 0.0 : kNoValue, hasY ? y : kNoValue);
}

void XYPairing::Add(const std::vector<ReadingRecord*>& x, const std::vector<ReadingRecord*>& y,
                    const HandOver& handOver) {
    if (Capacity() < 1)
        return;
    Take(x, m_waitX);
    Take(y, m_waitY);
    // A scan only one channel reported, while the other channel has already
    // reported a later one, gets a filler opposite its reading.
    while (!m_waitX.empty() && !m_waitY.empty()) {
        const Reading a = m_waitX.front();
        const Reading b = m_waitY.front();
        if (a.scan == b.scan) {
            Append(a.value, b.value, true, true, handOver);
            m_waitX.pop_front();
            m_waitY.pop_front();
        } else if (a.scan < b.scan) {
            Append(a.value, 0.0, true, false, handOver);
            m_waitX.pop_front();
        } else {
            Append(0.0, b.value, false, true, handOver);
            m_waitY.pop_front();
        }
    }
}
