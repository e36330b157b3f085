#include "graphics/CGraphMarker.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/CXrtGraph.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartIds.h"

using tvane::CArchive;
using tvane::chart::ChartPoint;
using tvane::chart::ChartRect;

IMPLEMENT_SERIAL(CMarker, tvane::CObject, 0)
IMPLEMENT_SERIAL(CXrtMarker, CMarker, 0)
IMPLEMENT_SERIAL(CGraphMarker, tvane::CObject, 0)

namespace {

void StoreRect(CArchive& ar, const ChartRect& r) {
    ar << static_cast<std::int32_t>(r.left) << static_cast<std::int32_t>(r.top)
       << static_cast<std::int32_t>(r.right) << static_cast<std::int32_t>(r.bottom);
}

void LoadRect(CArchive& ar, ChartRect& r) {
    std::int32_t v[4];
    ar >> v[0] >> v[1] >> v[2] >> v[3];
    r = {v[0], v[1], v[2], v[3]};
}

std::uint32_t Flag(bool b) {
    return b ? 1u : 0u;
}

bool ReadFlag(CArchive& ar) {
    std::uint32_t v = 0;
    ar >> v;
    return v != 0;
}

} // namespace

// ---- CMarker ----

bool CMarker::Create(const ChartRect& rect, std::uint32_t style) {
    m_previous = rect;
    m_line = rect;
    m_style = style;
    m_visible = (style & kVisible) != 0;
    m_cursor = IsVertical() ? kCursorSizeWE : kCursorSizeNS;
    return true;
}

bool CMarker::Reattach() {
    m_line = m_previous;
    m_cursor = IsVertical() ? kCursorSizeWE : kCursorSizeNS;
    return true;
}

void CMarker::NotifyMoved(IMarkerWindow& window, const ChartRect& rect) const {
    window.MarkerUpdate(IsVertical() ? 1 : 2, rect);
}

ChartRect CMarker::GetLineRect() const {
    return {m_line.left - 2, m_line.top - 2, m_line.right + 2, m_line.bottom + 2};
}

void CMarker::SetBounds(const ChartRect& rect) {
    m_previous = rect;
    m_line = rect;
}

void CMarker::SetColour(std::int32_t colour) {
    m_colour = colour;
}

bool CMarker::HitTest(int x, int y) const {
    if (!m_visible)
        return false;
    // The band reaches the tolerance on either side of the line, both ends included.
    if (IsVertical())
        return std::abs(x - m_line.left) <= m_tolerance && y >= m_line.top && y <= m_line.bottom;
    return std::abs(y - m_line.top) <= m_tolerance && x >= m_line.left && x <= m_line.right;
}

void CMarker::Show(IMarkerWindow* window, bool show) {
    if (show) {
        m_visible = true;
        if (window)
            window->InvalidateMarkerRect(GetLineRect());
    } else if (m_visible) {
        if (window)
            window->InvalidateMarkerRect(GetLineRect());
        m_visible = false;
    }
}

void CMarker::MoveLineTo(int x, int y) {
    if (IsVertical())
        m_line.left = m_line.right = x;
    else
        m_line.top = m_line.bottom = y;
}

void CMarker::DragStep(int x, int y, bool release, IMarkerWindow* window) {
    if (m_tickWhileDragging)
        m_tickShown = true;
    m_dragging = true;
    m_previous = m_line;
    if (window)
        window->InvalidateMarkerRect(GetLineRect());
    MoveLineTo(x, y);
    m_released = release;
    if (!(m_line == m_previous)) {
        if (release && m_tickWhileDragging)
            m_tickShown = false;
        if (window) {
            NotifyMoved(*window, m_line);
            window->InvalidateMarkerRect(GetLineRect());
        }
    }
    m_drawn = true;
}

void CMarker::EndDrag() {
    m_dragging = false;
    m_released = false;
    m_reserved = false;
    if (m_tickWhileDragging)
        m_tickShown = false;
}

void CMarker::Serialize(CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_penStyle << m_penWidth << m_penWidthY << m_colour << m_style << m_tolerance
           << Flag(m_visible) << Flag(m_released) << Flag(m_reserved) << Flag(m_drawn);
        StoreRect(ar, m_line);
        StoreRect(ar, m_previous);
        return;
    }
    ar >> m_penStyle >> m_penWidth >> m_penWidthY >> m_colour >> m_style >> m_tolerance;
    if (m_tolerance < 0 || m_tolerance > 100 || m_penWidth < 0 || m_penWidth > 100)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "marker pen or tolerance out of range");
    m_visible = ReadFlag(ar);
    m_released = ReadFlag(ar);
    m_reserved = ReadFlag(ar);
    m_drawn = ReadFlag(ar);
    LoadRect(ar, m_line);
    LoadRect(ar, m_previous);
    m_dragging = false;
}

// ---- CXrtMarker ----

bool CXrtMarker::Reattach() {
    CMarker::Reattach();
    SetBounds(m_saved);
    return true;
}

ChartRect CXrtMarker::GetLineRect() const {
    ChartRect r = CMarker::GetLineRect();
    if (IsVertical()) {
        r.left -= m_tickHalfWidth;
        r.right += m_tickHalfWidth;
    }
    return r;
}

void CXrtMarker::SetBounds(const ChartRect& rect) {
    CMarker::SetBounds(rect);
    UpdateValue(true);
}

void CXrtMarker::UpdateValue(bool noSeries) {
    if (!m_chart)
        return;
    tvane::chart::ChartLayout::PointF data;
    if (IsVertical()) {
        m_chart->PixelToData(m_line.right, m_line.bottom, data, 1);
        m_x = data.x;
        if (!noSeries) {
            double y = kNoValue;
            if (m_series < 0 || !m_chart->GetValueAtX(m_series, m_x, y))
                y = kNoValue;
            m_y = y;
        }
    } else {
        m_chart->PixelToData(m_line.left, m_line.top, data, 1);
        m_x = data.x;
        m_y = data.y;
    }
}

void CXrtMarker::SetDataPosition(double x, double y) {
    if (!m_chart || !m_chart->GetChart())
        return;
    const tvane::chart::Chart& chart = *m_chart->GetChart();
    const ChartRect plot = m_chart->GetPlotArea();
    // Only the coordinate across the line places it: x across a vertical
    // line, y across a horizontal one, the other way round when the chart's
    // axes are swapped.
    ChartPoint p;
    if (IsVertical() != m_chart->IsInverted())
        m_chart->DataToPixel(x, chart.GetDouble(tvane::chart::prop::kYAxisMin), 1, p);
    else
        m_chart->DataToPixel(chart.GetDouble(tvane::chart::prop::kXAxisMin), y, 1, p);
    if (IsVertical())
        m_line = {p.x, plot.top, p.x, plot.bottom};
    else
        m_line = {plot.left, p.y, plot.right, p.y};
    m_previous = m_line;
}

void CXrtMarker::Relayout(const ChartRect& bounds) {
    if (m_chart && m_chart->GetChart()) {
        const tvane::chart::Chart& chart = *m_chart->GetChart();
        ChartPoint p{m_line.left, m_line.top};
        if (IsVertical() && m_x != kNoValue)
            m_chart->DataToPixel(m_x, chart.GetDouble(tvane::chart::prop::kYAxisMin), 1, p);
        else if (!IsVertical() && m_y != kNoValue)
            m_chart->DataToPixel(chart.GetDouble(tvane::chart::prop::kXAxisMin), m_y, 1, p);
        if (IsVertical()) {
            const int x = std::clamp(p.x, bounds.left, std::max(bounds.left, bounds.right - 1));
            m_line = {x, bounds.top, x, bounds.bottom};
        } else {
            const int y = std::clamp(p.y, bounds.top, std::max(bounds.top, bounds.bottom - 1));
            m_line = {bounds.left, y, bounds.right, y};
        }
    }
    m_previous = m_line;
}

void CXrtMarker::Serialize(CArchive& ar) {
    CMarker::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_series << static_cast<std::int32_t>(m_line.top)
           << static_cast<std::int32_t>(m_line.left) << static_cast<std::int32_t>(m_line.right)
           << static_cast<std::int32_t>(m_line.bottom) << m_tickHalfWidth
           << Flag(m_tickWhileDragging);
        return;
    }
    std::int32_t top = 0, left = 0, right = 0, bottom = 0;
    ar >> m_series >> top >> left >> right >> bottom >> m_tickHalfWidth;
    m_saved = {left, top, right, bottom};
    m_tickWhileDragging = ReadFlag(ar);
    if (m_series < -1 || m_series > 64 || m_tickHalfWidth < 0 || m_tickHalfWidth > 100)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "marker series or tick out of range");
}

// ---- CGraphMarker ----

CGraphMarker::~CGraphMarker() = default;

bool CGraphMarker::Create(CXrtGraph* chart, const ChartRect& rect, int horizontal, int vertical,
                          std::uint32_t flags) {
    m_lines.clear();
    m_hits.clear();
    auto add = [&](std::uint32_t style) {
        auto line = std::make_unique<CXrtMarker>();
        line->SetChart(chart);
        line->Create(rect, style);
        m_lines.push_back(std::move(line));
    };
    for (int i = 0; i < vertical; ++i)
        add((flags & ~CMarker::kHorizontal) | CMarker::kVertical);
    for (int i = 0; i < horizontal; ++i)
        add((flags & ~CMarker::kVertical) | CMarker::kHorizontal);
    return true;
}

void CGraphMarker::Reattach(CXrtGraph* chart) {
    for (auto& line : m_lines) {
        line->SetChart(chart);
        line->Reattach();
    }
}

CXrtMarker* CGraphMarker::Nth(int n, bool vertical) const {
    int k = 0;
    for (const auto& line : m_lines) {
        if (line->IsVertical() == vertical && ++k == n)
            return line.get();
    }
    return nullptr;
}

CXrtMarker* CGraphMarker::AtIndex(int index) const {
    // Index + 1 into the array, as the colour and pen operations count.
    const int i = index - 1;
    if (i < 0 || i >= static_cast<int>(m_lines.size()))
        return nullptr;
    return m_lines[static_cast<std::size_t>(i)].get();
}

void CGraphMarker::SetCursor(int n, int resource) {
    if (CXrtMarker* line = Nth(n, true); line && resource > 0)
        line->SetCursor(resource);
}

void CGraphMarker::LayoutEvenly(const ChartRect& rect) {
    const int n = static_cast<int>(m_lines.size());
    int v = 0;
    int h = 0;
    for (auto& line : m_lines) {
        if (line->IsVertical()) {
            const int x = rect.left + ++v * rect.Width() / (n + 1);
            line->SetBounds({x, rect.top, x, rect.bottom});
        } else {
            const int y = rect.top + ++h * rect.Height() / (n + 1);
            line->SetBounds({rect.left, y, rect.right, y});
        }
    }
}

void CGraphMarker::Relayout(const ChartRect& bounds) {
    for (auto& line : m_lines)
        line->Relayout(bounds);
}

void CGraphMarker::UpdateMarkers(IMarkerWindow& window, bool noSeries) {
    int vertical = 0;
    int horizontal = 0;
    for (auto& line : m_lines) {
        if (!line->IsVisible() || line->GetFollowedSeries() < 0)
            continue;
        line->UpdateValue(noSeries);
        const bool isVertical = line->IsVertical();
        int number = 0;
        for (const auto& other : m_lines) {
            if (other->IsVertical() == isVertical) {
                ++number;
                if (other.get() == line.get())
                    break;
            }
        }
        if (isVertical && vertical < 2) {
            ++vertical;
            window.VertMarkerXValueChange(number);
            window.VertMarkerYValueChange(number);
        } else if (!isVertical && horizontal < 2) {
            ++horizontal;
            window.HorzMarkerXValueChange(number);
            window.HorzMarkerYValueChange(number);
        }
    }
}

int CGraphMarker::CursorAt(int x, int y) {
    if (!HitTest(x, y))
        return kCursorNone;
    if (m_hits.size() > 1)
        return kCursorSizeAll;
    return m_hits.front()->GetCursor();
}

void CGraphMarker::Move(const ChartRect* vertical, const ChartRect* horizontal) {
    for (auto& line : m_lines) {
        if (line->IsVertical() && vertical)
            line->SetBounds(*vertical);
        else if (!line->IsVertical() && horizontal)
            line->SetBounds(*horizontal);
    }
}

bool CGraphMarker::HitTest(int x, int y) {
    if (m_tracking)
        return !m_hits.empty();
    m_hits.clear();
    for (auto& line : m_lines) {
        if (!line->HitTest(x, y))
            continue;
        if (m_hits.empty() || m_hits.front()->IsVertical() != line->IsVertical()) {
            // The first line hit, and one more of the other orientation.
            if (m_hits.size() < 2)
                m_hits.push_back(line.get());
        }
    }
    return !m_hits.empty();
}

bool CGraphMarker::BeginTrack(const ChartRect* clip) {
    if (m_tracking || m_hits.empty())
        return false;
    m_tracking = true;
    m_moved = false;
    m_hasClip = clip != nullptr;
    if (clip)
        m_clip = *clip;
    return true;
}

void CGraphMarker::Step(int x, int y, bool release, IMarkerWindow& window) {
    if (m_hasClip) {
        // The cursor is confined to the clip rectangle.
        x = std::clamp(x, m_clip.left, std::max(m_clip.left, m_clip.right - 1));
        y = std::clamp(y, m_clip.top, std::max(m_clip.top, m_clip.bottom - 1));
    }
    bool boundSent = false;
    for (CXrtMarker* line : m_hits) {
        line->DragStep(x, y, release, &window);
        if (!release && m_hasClip && !boundSent) {
            const ChartRect& l = line->Line();
            const int pen = line->GetPenWidth();
            int edge = -1;
            if (line->IsVertical() && l.left <= m_clip.left)
                edge = 1;
            else if (line->IsVertical() && l.left >= m_clip.right - pen)
                edge = 3;
            else if (!line->IsVertical() && l.top <= m_clip.top)
                edge = 0;
            else if (!line->IsVertical() && l.top >= m_clip.bottom - pen)
                edge = 2;
            if (edge >= 0) {
                window.MarkerBoundHit(edge);
                boundSent = true;
            }
        }
    }
}

void CGraphMarker::TrackMove(int x, int y, IMarkerWindow& window) {
    if (!m_tracking)
        return;
    m_moved = true;
    Step(x, y, false, window);
}

bool CGraphMarker::TrackRelease(int x, int y, IMarkerWindow& window) {
    if (!m_tracking)
        return false;
    Step(x, y, true, window);
    for (CXrtMarker* line : m_hits) {
        line->EndDrag();
        window.InvalidateMarkerRect(line->GetLineRect());
    }
    m_tracking = false;
    m_hits.clear();
    return m_moved;
}

void CGraphMarker::SetLineColour(int index, std::int32_t colour) {
    if (CXrtMarker* line = AtIndex(index))
        line->SetColour(colour);
}

std::int32_t CGraphMarker::GetLineColour(int index) const {
    const CXrtMarker* line = AtIndex(index);
    return line ? line->GetColour() : 0;
}

void CGraphMarker::SetPenWidth(int index, int width) {
    if (CXrtMarker* line = AtIndex(index))
        line->SetPenWidth(width);
}

void CGraphMarker::FollowSeries(int n, int series, bool vertical) {
    if (CXrtMarker* line = Nth(n, vertical))
        line->SetFollowedSeries(series);
}

bool CGraphMarker::GetFollowedSeries(int n, int& series) const {
    const CXrtMarker* line = Nth(n, true);
    series = line ? line->GetFollowedSeries() : -1;
    return series >= 0;
}

bool CGraphMarker::IsVisible(int n, bool vertical) const {
    const CXrtMarker* line = Nth(n, vertical);
    return line && line->IsVisible();
}

void CGraphMarker::Show(int n, IMarkerWindow* window, bool show, bool vertical) {
    if (CXrtMarker* line = Nth(n, vertical))
        line->Show(window, show);
}

void CGraphMarker::Recolour(int n, IMarkerWindow* window, std::int32_t colour) {
    CXrtMarker* line = Nth(n, true);
    if (!line)
        return;
    const bool visible = line->IsVisible();
    line->Show(window, false);
    line->SetColour(colour);
    if (visible)
        line->Show(window, true);
}

double CGraphMarker::GetXValue(int n, bool vertical) const {
    const CXrtMarker* line = Nth(n, vertical);
    return line ? line->GetXValue() : CXrtMarker::kNoValue;
}

double CGraphMarker::GetYValue(int n, bool vertical) const {
    const CXrtMarker* line = Nth(n, vertical);
    return line ? line->GetYValue() : CXrtMarker::kNoValue;
}

bool CGraphMarker::AnyVisible() const {
    return std::any_of(m_lines.begin(), m_lines.end(),
                       [](const auto& line) { return line->IsVisible(); });
}

void CGraphMarker::SetTickWhileDragging(bool on) {
    for (auto& line : m_lines)
        line->SetTickWhileDragging(on);
}

void CGraphMarker::Place(int n, double x, double y) {
    CXrtMarker* line = Nth(n, true);
    if (!line)
        line = Nth(n, false);
    if (line)
        line->SetDataPosition(x, y);
}

void CGraphMarker::PlaceAll() {
    for (auto& line : m_lines)
        line->SetDataPosition(line->GetXValue(), line->GetYValue());
}

void CGraphMarker::Serialize(CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<std::uint32_t>(m_lines.size()));
        for (const auto& line : m_lines)
            ar.WriteObject(line.get());
        return;
    }
    const std::uint32_t count = ar.ReadCount();
    // A chart window has a handful of lines; more is a damaged document.
    if (count > 16)
        throw tvane::CArchiveException(tvane::CArchiveException::generic, "too many marker lines");
    m_lines.clear();
    m_hits.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        auto line = ar.ReadOwnedObject<CXrtMarker>();
        if (!line)
            throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                           "missing marker line");
        m_lines.push_back(std::move(line));
    }
}
