#include "platform/chart/ChartData.h"

#include <algorithm>
#include <new>

namespace tvane::chart {

std::unique_ptr<ChartData> ChartData::Make(int kind, int seriesCount, int capacity) {
    if ((kind != kArray && kind != kGeneral) || seriesCount < 0 || capacity < 0 ||
        seriesCount > kMaxSeries)
        return nullptr;
    if (static_cast<std::int64_t>(seriesCount) * capacity > kMaxPoints)
        return nullptr;
    std::unique_ptr<ChartData> data(new (std::nothrow) ChartData(kind, seriesCount, capacity));
    if (!data || !data->Allocate())
        return nullptr;
    return data;
}

ChartData::ChartData(int kind, int seriesCount, int capacity)
    : m_kind(kind), m_seriesCount(seriesCount), m_capacity(capacity) {}

ChartData::~ChartData() = default;

bool ChartData::Allocate() {
    const auto capacity = static_cast<std::size_t>(m_capacity);
    try {
        m_series.resize(static_cast<std::size_t>(m_seriesCount));
        if (m_kind == kArray) {
            m_sharedX.reset(new double[capacity]);
            std::fill_n(m_sharedX.get(), capacity, 0.0);
        }
        for (Series& s : m_series) {
            s.y.reset(new double[capacity]);
            std::fill_n(s.y.get(), capacity, 0.0);
            if (m_kind == kGeneral) {
                s.x.reset(new double[capacity]);
                std::fill_n(s.x.get(), capacity, 0.0);
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void ChartData::SetHole(double hole) {
    m_hole = hole;
    ++m_version;
}

int ChartData::Count(int series) const {
    if (m_kind == kArray)
        return m_arrayCount;
    if (series < 0 || series >= m_seriesCount)
        return 0;
    return m_series[static_cast<std::size_t>(series)].count;
}

void ChartData::SetCount(int series, int count) {
    count = std::clamp(count, 0, m_capacity);
    if (m_kind == kArray)
        m_arrayCount = count;
    else if (series >= 0 && series < m_seriesCount)
        m_series[static_cast<std::size_t>(series)].count = count;
    ++m_version;
}

void ChartData::SetAllCounts(int count) {
    count = std::clamp(count, 0, m_capacity);
    m_arrayCount = count;
    for (Series& s : m_series)
        s.count = count;
    ++m_version;
}

int ChartData::LargestCount() const {
    if (m_kind == kArray)
        return m_arrayCount;
    int largest = 0;
    for (const Series& s : m_series)
        largest = std::max(largest, s.count);
    return largest;
}

double ChartData::X(int series, int point) const {
    if (m_kind == kArray)
        return point >= 0 && point < m_capacity ? m_sharedX[static_cast<std::size_t>(point)]
                                                : m_hole;
    if (!Valid(series, point))
        return m_hole;
    const Series& s = m_series[static_cast<std::size_t>(series)];
    return s.x[static_cast<std::size_t>(Physical(s, point))];
}

double ChartData::Y(int series, int point) const {
    if (!Valid(series, point))
        return m_hole;
    const Series& s = m_series[static_cast<std::size_t>(series)];
    return s.y[static_cast<std::size_t>(Physical(s, point))];
}

void ChartData::SetX(int series, int point, double x) {
    if (m_kind == kArray) {
        if (point >= 0 && point < m_capacity)
            m_sharedX[static_cast<std::size_t>(point)] = x;
    } else if (Valid(series, point)) {
        Series& s = m_series[static_cast<std::size_t>(series)];
        s.x[static_cast<std::size_t>(Physical(s, point))] = x;
    }
    ++m_version;
}

void ChartData::SetY(int series, int point, double y) {
    if (Valid(series, point)) {
        Series& s = m_series[static_cast<std::size_t>(series)];
        s.y[static_cast<std::size_t>(Physical(s, point))] = y;
    }
    ++m_version;
}

void ChartData::SetPoint(int series, int point, double x, double y) {
    SetX(series, point, x);
    SetY(series, point, y);
}

bool ChartData::Append(int series, double x, double y) {
    if (series < 0 || series >= m_seriesCount)
        return false;
    const int count = Count(series);
    if (count >= m_capacity)
        return false;
    SetPoint(series, count, x, y);
    SetCount(series, count + 1);
    return true;
}

bool ChartData::ShiftPoints(int series, int destination, int source, int count) {
    if (m_kind != kGeneral || series < 0 || series >= m_seriesCount || destination < 0 ||
        source < 0 || count < 0 || source > m_capacity - count || destination > m_capacity - count)
        return false;
    Series& s = m_series[static_cast<std::size_t>(series)];
    ++m_version;
    if (count == 0 || source == destination)
        return true;
    if (destination == 0) {
        // Turning the ring is enough: what lies beyond the block is unspecified.
        s.start = Physical(s, source);
        return true;
    }
    auto move = [&](int i) {
        const auto to = static_cast<std::size_t>(Physical(s, destination + i));
        const auto from = static_cast<std::size_t>(Physical(s, source + i));
        s.x[to] = s.x[from];
        s.y[to] = s.y[from];
    };
    if (destination < source) {
        for (int i = 0; i < count; ++i)
            move(i);
    } else {
        for (int i = count - 1; i >= 0; --i)
            move(i);
    }
    return true;
}

} // namespace tvane::chart
