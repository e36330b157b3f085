#pragma once
#include "platform/archive/CObject.h"

class CGraphView;

namespace tvane {
class CArchive;
}

// The part of the display frame base that the chart frame base builds on: the
// base frame's own steps of creation and storing, its no-readings flag and the
// refresh of one frame. The display frame base takes this place: the chart
// frame base then derives from it and calls its CreateFrame, RecreateFrame and
// Serialize where it calls the steps below.
class IGraphFrameBase : public tvane::CObject {
public:
    // Creates the frame window in the view; false when it cannot be made.
    virtual bool CreateBaseFrame(CGraphView* parent) = 0;
    // Creates the window of a frame that was loaded or pasted.
    virtual bool RecreateBaseFrame(CGraphView* parent, int id) = 0;
    // Writes or reads the base frame's part of the stored display.
    virtual void SerializeBaseFrame(tvane::CArchive& ar) = 0;
    // Set while the frame's document holds no readings: no reading buffer is
    // stored with the frame then.
    virtual bool GetNoReadingsFlag() const = 0;
    // Has the document resend its data to this frame alone.
    virtual void RequestRefresh() = 0;
};
