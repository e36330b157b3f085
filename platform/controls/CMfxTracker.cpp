#include "platform/controls/CMfxTracker.h"

#include <algorithm>
#include <utility>

namespace tvane {

void CMfxTracker::SetRect(int orientation, TrackRect rect) {
    m_orientation = orientation;
    if (orientation == kHorizontal)
        rect.bottom = rect.top + m_barHeight;
    else
        rect.right = rect.left + m_barWidth;
    m_last = rect;
    m_rect = rect;
}

bool CMfxTracker::HitTest(TrackPoint point) const {
    TrackRect r = m_rect;
    if (m_orientation == kVertical) {
        r.left -= m_hitMargin;
        r.right += m_hitMargin;
    } else {
        r.top -= m_hitMargin;
        r.bottom += m_hitMargin;
    }
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r.Contains(point);
}

bool CMfxTracker::BeginTrack(TrackPoint start, bool captureElsewhere, ITrackerBand* band,
                             const std::optional<TrackRect>& clip) {
    if (m_tracking || captureElsewhere || !HitTest(start))
        return false;
    m_tracking = true;
    m_released = false;
    m_moved = false;
    m_start = m_rect;
    m_last = m_rect;
    m_band = band;
    m_clip = clip;
    if (m_band)
        m_band->DrawBand(m_rect, std::nullopt);
    return true;
}

// There is no confining the pointer on every desktop: a point outside the
// clip rectangle counts as its nearest point inside.
TrackPoint CMfxTracker::Clipped(TrackPoint point) const {
    if (!m_clip)
        return point;
    const TrackRect& c = *m_clip;
    point.x = std::clamp(point.x, c.left, std::max(c.left, c.right - 1));
    point.y = std::clamp(point.y, c.top, std::max(c.top, c.bottom - 1));
    return point;
}

void CMfxTracker::Move(TrackPoint point, bool release) {
    if (!m_tracking)
        return;
    if (release)
        m_released = true;
    else
        m_moved = true;
    point = Clipped(point);
    if (HitTest(point))
        return;
    TrackRect moved = m_rect;
    if (m_orientation == kVertical) {
        moved.left = point.x;
        moved.right = point.x + m_barWidth;
    } else {
        moved.top = point.y;
        moved.bottom = point.y + m_barHeight;
    }
    m_rect = moved;
    if (m_band)
        m_band->DrawBand(m_rect, m_last);
    m_last = m_rect;
}

bool CMfxTracker::OnButtonUp(TrackPoint point) {
    Move(point, true);
    return EndTrack();
}

bool CMfxTracker::OnCaptureLost() {
    if (!m_tracking)
        return false;
    m_released = true;
    return EndTrack();
}

bool CMfxTracker::EndTrack() {
    if (!m_tracking)
        return false;
    // Over before the band goes: taking it away may bring the window's
    // events, and with them another end.
    m_tracking = false;
    if (m_band)
        m_band->EraseBand(m_last);
    if (!m_moved)
        m_rect = m_start;
    m_last = m_rect;
    m_released = false;
    m_band = nullptr;
    m_clip.reset();
    return !(m_rect == m_start);
}

} // namespace tvane
