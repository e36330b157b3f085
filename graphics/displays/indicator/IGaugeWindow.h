#pragma once
#include <memory>
#include <optional>
#include <string>

#include "graphics/CRegion.h"
#include "graphics/GraphGeometry.h"

class IGraphDC;
class IGraphFrameWindow;
struct LOGFONT;

// The child window of a gauge display (readout, lamps, switches, buttons):
// a plain window that its display draws into and that reports its mouse and
// keys to it. Repaints are coalesced: Update asks for one soon, never draws
// inside the caller, and a window repaints at most about 25 times a second.
class IGaugeWindow : public IRegionWindow {
public:
    virtual GRect GetClientRect() const = 0;
    // The window's rectangle in its frame's client pixels.
    virtual GRect GetRectInFrame() const = 0;
    // Marks rect (window pixels; the whole window when null) for repainting.
    virtual void Invalidate(const GRect* rect, bool erase) = 0;
    // Repaints what is marked, soon.
    virtual void Update() = 0;
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
    // A point of the window in its frame's client pixels.
    virtual GPoint ToFrameClient(GPoint point) const = 0;
    // The width (x) and height (y) of text in font; none when the window
    // cannot measure.
    virtual std::optional<GPoint> MeasureText(const LOGFONT& font,
                                              const std::string& text) const = 0;
    // Has the display draw the window's whole client area where nothing is
    // shown, measuring text as the window does: the places it keeps of its
    // parts become those of the window's present size, whatever it painted last.
    virtual void LayOut() = 0;
};

// What a gauge window asks of its display.
class IGaugeWindowClient {
public:
    enum class Mouse { LeftDown, LeftDouble, LeftUp, Move, RightDown };

    virtual ~IGaugeWindowClient() = default;
    // Paints the window's client area (client) into dc.
    virtual void Paint(IGraphDC& dc, const GRect& client) = 0;
    // A mouse event at point (window pixels). The window passes presses and
    // releases on to its frame afterwards, so that the display is selected.
    virtual void OnMouse(Mouse event, GPoint point) = 0;
    // A key pressed in the window (Qt key code); true when it was used.
    virtual bool OnKey(int key, bool shift) {
        (void)key;
        (void)shift;
        return false;
    }
};

// Makes the windows of gauge displays, reached through
// displays::Windows<IGaugeWindows>: the windows library registers the
// program's, a test puts its own in place for a scope.
class IGaugeWindows {
public:
    virtual ~IGaugeWindows() = default;
    // The window of client inside frame at rect (frame client pixels); null
    // when it cannot be made.
    virtual std::unique_ptr<IGaugeWindow>
    CreateGaugeWindow(IGraphFrameWindow& frame, IGaugeWindowClient& client, const GRect& rect) = 0;
};
