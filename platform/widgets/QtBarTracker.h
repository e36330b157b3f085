#pragma once
#include <functional>
#include <optional>

#include <QObject>
#include <QPointer>
#include <QRect>

#include "platform/controls/CMfxTracker.h"

class QWidget;

namespace tvane {

class TrackerOverlay;

// Runs its CMfxTracker on a window: the window takes the mouse, its moves and
// the release drive the tracker, keys do nothing meanwhile, and the band is
// drawn inverted in a halftone over the window and its children. done gets the
// tracker's result once the track is over (also when the mouse was taken away).
class QtBarTracker final : public QObject, private ITrackerBand {
public:
    QtBarTracker(QWidget* window, std::function<void(bool moved)> done);
    ~QtBarTracker() override;

    // Starts at start (client coordinates), keeping the bar inside clip;
    // false when the tracker would not start.
    bool Start(const QPoint& start, const std::optional<QRect>& clip = std::nullopt);
    bool IsTracking() const { return m_tracker.IsTracking(); }
    CMfxTracker& Tracker() { return m_tracker; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawBand(const TrackRect& band, const std::optional<TrackRect>& last) override;
    void EraseBand(const TrackRect& band) override;
    void Finish(bool moved);

    QPointer<QWidget> m_window;
    CMfxTracker m_tracker;
    std::function<void(bool)> m_done;
    TrackerOverlay* m_overlay = nullptr;
};

} // namespace tvane
