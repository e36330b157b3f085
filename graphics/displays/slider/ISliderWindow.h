#pragma once
#include <memory>
#include <optional>
#include <string>

#include "graphics/CRegion.h"
#include "graphics/GraphGeometry.h"
#include "graphics/displays/slider/SliderModel.h"

class IGraphDC;
class IGraphFrameWindow;
struct LOGFONT;

// The slider's window as its model drives it: paints are asked for and come
// later (at most about 25 a second), the repeat timer and the cursor are the
// window's.
class ISliderWindow : public IRegionWindow {
public:
    virtual GRect GetClientRect() const = 0;
    // The window's rectangle in its frame's client pixels.
    virtual GRect GetRectInFrame() const = 0;
    // Marks rect (the whole window when null) for repainting.
    virtual void Invalidate(const GRect* rect) = 0;
    // Repaints what is marked, soon.
    virtual void Update() = 0;
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
    virtual void SetFocus() = 0;
    virtual bool HasFocus() const = 0;
    virtual void Show(bool show) = 0;
    virtual void StartTimer(int id, int milliseconds) = 0;
    virtual void StopTimer(int id) = 0;
    // Where the mouse is now, in window pixels.
    virtual GPoint CursorPos() const = 0;
    // The width (x) and height (y) of text in font; none when the window
    // cannot measure.
    virtual std::optional<GPoint> MeasureText(const LOGFONT& font,
                                              const std::string& text) const = 0;
};

// What the window reports to the slider.
class ISliderWindowClient {
public:
    enum class Mouse { LeftDown, LeftDouble, LeftUp, Move, RightDown };

    virtual ~ISliderWindowClient() = default;
    virtual void Paint(IGraphDC& dc, const GRect& client) = 0;
    virtual void OnMouse(Mouse event, GPoint point) = 0;
    // A key pressed; true when it was used. Enter is not a slider key: it
    // goes to the display.
    virtual bool OnKeyDown(SliderModel::Key key) = 0;
    virtual void OnEnterKey() = 0;
    virtual void OnKeyUp() = 0;
    virtual void OnTimer(int id) = 0;
    // The window's size changed.
    virtual void OnSize() = 0;
    // The mouse was taken away in the middle of an interaction.
    virtual void OnCancelMode() = 0;
};

// Makes slider windows, reached through displays::Windows<ISliderWindows>.
class ISliderWindows {
public:
    virtual ~ISliderWindows() = default;
    // The window of client inside frame at rect (frame client pixels); null
    // when it cannot be made.
    virtual std::unique_ptr<ISliderWindow> CreateSliderWindow(IGraphFrameWindow& frame,
                                                              ISliderWindowClient& client,
                                                              const GRect& rect) = 0;
};
