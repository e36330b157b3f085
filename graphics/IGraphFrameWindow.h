#pragma once
#include <string>

#include "graphics/CRegion.h"
#include "graphics/GraphGeometry.h"

// The window of a display frame, as the frame's model drives it. Coordinates
// are the page's client pixels for the window rectangle, the window's own for
// its client rectangle. A display's child windows are made inside it by the
// family's own window maker (displays::Windows).
class IGraphFrameWindow : public IRegionWindow {
public:
    virtual GRect GetWindowRect() const = 0;
    virtual GRect GetClientRect() const = 0;
    // The client area as it is when the frame is not selected: the selection's
    // sizing border comes and goes without resizing the display, so whatever
    // a display sizes itself by must not follow it.
    virtual GRect GetRestingClientRect() const { return GetClientRect(); }
    // Where the client area's top-left lies in the page's client pixels.
    virtual GPoint ClientOrigin() const = 0;
    virtual void Show(bool show) = 0;
    virtual bool IsVisible() const = 0;
    // Repaints the whole window (erase: the background too) at once.
    virtual void Redraw(bool erase) = 0;
    virtual void InvalidateRect(const GRect& rect) = 0;
    // The selected frame gets a sizing border and comes to the top.
    virtual void SetSelectedLook(bool selected) = 0;
    virtual void SetFocus() = 0;
    // The frame's minimum tracking size changed (a display that resizes
    // itself): the window takes it before it is next moved.
    virtual void MinTrackSizeChanged() {}
    // Pixel width of a text in the frame's font.
    virtual int TextWidth(const std::string& text) const = 0;
};
