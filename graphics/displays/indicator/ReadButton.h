#pragma once
#include "graphics/GraphGeometry.h"
#include "graphics/displays/indicator/IGaugeWindow.h"

class CGraphFrame;
class CPushButton;

// The mouse on the "Read" button of the displays that read on request (the
// readout and the data lights in Immediate mode). A press inside the button
// holds it down and captures the mouse; releasing it anywhere lets it up and
// reads, once; dragging out of the display's data area or a right click lets
// it up without a read. The button's state (0 up, 1 down) and the rectangle
// it was last drawn at live in the CPushButton.
class ReadButtonTracker {
public:
    // What the window does after an event.
    struct Outcome {
        bool repaint = false; // the button's rectangle
        bool capture = false;
        bool release = false; // the capture
        bool read = false;
    };

    explicit ReadButtonTracker(CPushButton& button) : m_button(button) {}

    // A left press or double click at point (window pixels). shown: the button
    // is on the display, so it can be pressed.
    Outcome Press(GPoint point, bool shown);
    // The mouse moved; inDataArea: it is still over the display's data area.
    Outcome Move(bool inDataArea);
    Outcome Release();
    Outcome RightPress();
    bool IsDown() const;
    // Any of the above for a mouse event on the window of frame's display:
    // a move counts as over the data area when frame's data area holds it.
    Outcome Follow(IGaugeWindowClient::Mouse event, GPoint point, bool shown,
                   const IGaugeWindow& window, const CGraphFrame* frame);

private:
    Outcome LetUp(bool read);

    CPushButton& m_button;
};
