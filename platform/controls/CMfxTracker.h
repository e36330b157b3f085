#pragma once
#include <optional>

namespace tvane {

struct TrackPoint {
    int x = 0;
    int y = 0;
};

// Right and bottom are exclusive.
struct TrackRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const TrackRect&) const = default;
    bool Contains(TrackPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
};

// Where the tracker's band is drawn. Drawing the same band twice takes it
// away, so a move draws the new place and the old one together.
class ITrackerBand {
public:
    virtual ~ITrackerBand() = default;
    // last is the band's place before, or none for the first drawing.
    virtual void DrawBand(const TrackRect& band, const std::optional<TrackRect>& last) = 0;
    virtual void EraseBand(const TrackRect& band) = 0;
};

// A thin bar (a divider) the user drags with the mouse: vertical bars move left
// and right, horizontal ones up and down. The window side feeds it the mouse
// (in the window's client coordinates) between BeginTrack and the end.
class CMfxTracker {
public:
    enum Orientation { kVertical = 0, kHorizontal = 1 };

    void SetMinSize(int width, int height) {
        m_barWidth = width;
        m_barHeight = height;
    }
    void SetHitMargin(int margin) { m_hitMargin = margin; }
    // A horizontal bar gets the bar height below its top, a vertical one the
    // bar width right of its left.
    void SetRect(int orientation, TrackRect rect);
    // The bar widened by the hit margin across its direction of motion.
    bool HitTest(TrackPoint point) const;

    // Starts a track at start; false (and nothing starts) when another window
    // holds the mouse or start misses the bar. The cursor stays inside clip.
    bool BeginTrack(TrackPoint start, bool captureElsewhere, ITrackerBand* band,
                    const std::optional<TrackRect>& clip = std::nullopt);
    void OnMouseMove(TrackPoint point) { Move(point, false); }
    // Ends the track; the result of EndTrack.
    bool OnButtonUp(TrackPoint point);
    // Another window took the mouse: the track ends as a release would.
    bool OnCaptureLost();
    // True when the bar ended at a different place than it started; a track
    // without a mouse move puts the bar back.
    bool EndTrack();

    bool IsTracking() const { return m_tracking; }
    bool IsReleased() const { return m_released; }
    const TrackRect& GetRect() const { return m_rect; }
    int GetOrientation() const { return m_orientation; }

private:
    void Move(TrackPoint point, bool release);
    TrackPoint Clipped(TrackPoint point) const;

    bool m_released = false;
    bool m_tracking = false;
    bool m_moved = false;
    TrackRect m_last;
    TrackRect m_rect;
    TrackRect m_start;
    int m_barWidth = 4;
    int m_barHeight = 4;
    int m_orientation = kHorizontal;
    int m_hitMargin = 0;
    ITrackerBand* m_band = nullptr;
    std::optional<TrackRect> m_clip;
};

} // namespace tvane
