#include "graphics/CXrtGraphData.h"

#include <algorithm>
#include <climits>

#include "platform/archive/CArchive.h"
#include "platform/chart/ChartData.h"

using tvane::CArchive;
using tvane::CArchiveException;
using tvane::chart::ChartData;

IMPLEMENT_SERIAL(CXrtGraphData, tvane::CObject, 0)

CXrtGraphData::CXrtGraphData() = default;

CXrtGraphData::CXrtGraphData(int kind, int seriesCount, int capacity)
    : m_capacity(capacity), m_data(ChartData::Make(kind, seriesCount, capacity)) {}

CXrtGraphData::~CXrtGraphData() = default;

namespace {

[[noreturn]] void Reject(const char* what) {
    throw CArchiveException(CArchiveException::generic, what);
}

std::int32_t ReadSize(CArchive& ar, const char* what) {
    std::uint32_t value = 0;
    ar >> value;
    if (value > static_cast<std::uint32_t>(INT_MAX))
        Reject(what);
    return static_cast<std::int32_t>(value);
}

} // namespace

void CXrtGraphData::Serialize(CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        const ChartData* data = m_data.get();
        // A holder whose data could not be made stores an empty set that loads.
        const auto kind = static_cast<std::uint32_t>(data ? data->GetKind() : ChartData::kGeneral);
        const auto series = static_cast<std::uint32_t>(data ? data->SeriesCount() : 0);
        ar << static_cast<std::uint32_t>(m_capacity) << kind << series
           << static_cast<std::uint32_t>(data ? data->LargestCount() : 0)
           << (data ? data->Hole() : kHole);
        if (!data)
            return;
        if (data->GetKind() == ChartData::kArray) {
            for (int i = 0; i < data->Count(0); ++i) {
                ar << data->X(0, i);
                for (int s = 0; s < data->SeriesCount(); ++s)
                    ar << data->Y(s, i);
            }
        } else {
            for (int s = 0; s < data->SeriesCount(); ++s) {
                const int count = data->Count(s);
                ar << static_cast<std::uint32_t>(count);
                for (int i = 0; i < count; ++i)
                    ar << data->X(s, i) << data->Y(s, i);
            }
        }
        return;
    }

    const std::int32_t capacity = ReadSize(ar, "chart data capacity out of range");
    std::uint32_t kind = 0;
    ar >> kind;
    if (kind != ChartData::kArray && kind != ChartData::kGeneral)
        Reject("unknown chart data kind");
    const std::int32_t series = ReadSize(ar, "chart data series count out of range");
    const std::int32_t count = ReadSize(ar, "chart data point count out of range");
    double hole = kHole;
    ar >> hole;
    if (series > ChartData::kMaxSeries)
        Reject("chart data holds more series than any display keeps");
    if (static_cast<std::int64_t>(series) * capacity > ChartData::kMaxPoints)
        Reject("chart data larger than any display keeps");
    if (kind == ChartData::kArray && count > capacity)
        Reject("chart data holds more points than its capacity");
    auto data = ChartData::Make(static_cast<int>(kind), series, capacity);
    if (!data)
        Reject("chart data could not be made");
    data->SetHole(hole);
    if (kind == ChartData::kArray) {
        for (int i = 0; i < count; ++i) {
            double x = 0.0;
            ar >> x;
            data->SetX(0, i, x);
            for (int s = 0; s < series; ++s) {
                double y = 0.0;
                ar >> y;
                data->SetY(s, i, y);
            }
        }
        data->SetAllCounts(count);
    } else {
        for (int s = 0; s < series; ++s) {
            const std::int32_t points = ReadSize(ar, "chart data point count out of range");
            if (points > capacity)
                Reject("chart data holds more points than its capacity");
            for (int i = 0; i < points; ++i) {
                double x = 0.0;
                double y = 0.0;
                ar >> x >> y;
                data->SetPoint(s, i, x, y);
            }
            data->SetCount(s, points);
        }
    }
    m_capacity = capacity;
    m_data = std::move(data);
}

void CXrtGraphData::Reset(double fill) {
    if (!m_data)
        return;
    ChartData& d = *m_data;
    for (int s = 0; s < d.SeriesCount(); ++s) {
        for (int i = 0; i < d.Capacity(); ++i) {
            if (d.GetKind() == ChartData::kArray)
                d.SetPoint(s, i, i, fill);
            else
                d.SetPoint(s, i, d.Hole(), fill);
        }
        if (d.GetKind() == ChartData::kGeneral)
            d.SetCount(s, 0);
    }
}

void CXrtGraphData::ResetSeries(int series) {
    if (!m_data || m_data->GetKind() != ChartData::kGeneral)
        return;
    m_data->SetCount(series, 1);
    m_data->SetY(series, 0, m_data->Hole());
}

void CXrtGraphData::SetPointCount(int count) {
    if (m_data)
        m_data->SetAllCounts(count);
}

bool CXrtGraphData::WouldOverflow(int n, int series) const {
    if (!m_data)
        return true;
    const ChartData& d = *m_data;
    if (d.GetKind() == ChartData::kArray || series >= 0)
        return static_cast<std::int64_t>(d.Count(series)) + n > d.Capacity();
    for (int s = 0; s < d.SeriesCount(); ++s) {
        if (static_cast<std::int64_t>(d.Count(s)) + n > d.Capacity())
            return true;
    }
    return false;
}

bool CXrtGraphData::FindIndex(int series, double x, int& index, bool fromEnd) const {
    index = 0;
    if (!m_data)
        return false;
    const ChartData& d = *m_data;
    const int count = d.Count(series);
    // An empty series has no first point to compare with.
    if (count < 1 || d.X(series, 0) > x)
        return false;
    if (d.X(series, count - 1) <= x) {
        index = count - 1;
        return true;
    }
    if (!fromEnd) {
        for (int i = 0; i + 1 < count; ++i) {
            if (d.X(series, i) <= x && x < d.X(series, i + 1)) {
                index = i;
                return true;
            }
        }
    } else {
        for (int i = count - 2; i >= 0; --i) {
            if (d.X(series, i) <= x && x <= d.X(series, i + 1)) {
                index = i;
                return true;
            }
        }
    }
    return false;
}

bool CXrtGraphData::GetYRange(int series, double& span, double& minimum, double& maximum,
                              double fromX, double toX) const {
    maximum = -kHole;
    minimum = kHole;
    if (!m_data)
        return false;
    const ChartData& d = *m_data;
    const int count = d.Count(series);
    const double hole = d.Hole();
    if (count == 0)
        return false;
    if (count == 1) {
        minimum = maximum = d.Y(series, 0);
        span = 0.0;
        return minimum != kHole && minimum != -kHole;
    }
    bool found = false;
    for (int i = 0; i < count; ++i) {
        const double x = d.X(series, i);
        if (x < fromX)
            continue;
        if (x != hole && x > toX)
            break;
        const double y = d.Y(series, i);
        if (y == hole)
            continue;
        if (!found) {
            minimum = maximum = y;
            found = true;
        } else {
            maximum = std::max(maximum, y);
            minimum = std::min(minimum, y);
        }
    }
    if (found)
        span = maximum - minimum;
    return found;
}

int CXrtGraphData::GetKind() const {
    return m_data ? m_data->GetKind() : 0;
}

int CXrtGraphData::GetSeriesCount() const {
    return m_data ? m_data->SeriesCount() : 0;
}

int CXrtGraphData::GetPointCount() const {
    return m_data ? m_data->Count(0) : 0;
}

int CXrtGraphData::GetSeriesPointCount(int series) const {
    return m_data ? m_data->Count(series) : 0;
}

double CXrtGraphData::GetX(int point) const {
    return m_data ? m_data->X(0, point) : kHole;
}

double CXrtGraphData::GetY(int series, int point) const {
    return m_data ? m_data->Y(series, point) : kHole;
}

double CXrtGraphData::GetSeriesX(int series, int point) const {
    return m_data ? m_data->X(series, point) : kHole;
}

double CXrtGraphData::GetSeriesY(int series, int point) const {
    return m_data ? m_data->Y(series, point) : kHole;
}

void CXrtGraphData::SetHoleValue(double hole) {
    if (m_data)
        m_data->SetHole(hole);
}
