#include "graphics/displays/indicator/ReadButton.h"

#include "graphics/CGraphFrame.h"
#include "graphics/displays/indicator/CIndicator.h"

bool ReadButtonTracker::IsDown() const {
    return m_button.GetState() == 1;
}

ReadButtonTracker::Outcome ReadButtonTracker::Press(GPoint point, bool shown) {
    Outcome out;
    if (!shown || IsDown() || !m_button.GetRect().Contains(point.x, point.y))
        return out;
    m_button.Toggle();
    out.capture = true;
    out.repaint = true;
    return out;
}

ReadButtonTracker::Outcome ReadButtonTracker::LetUp(bool read) {
    Outcome out;
    if (!IsDown())
        return out;
    m_button.Toggle();
    out.repaint = true;
    out.release = true;
    out.read = read;
    return out;
}

ReadButtonTracker::Outcome ReadButtonTracker::Move(bool inDataArea) {
    return inDataArea ? Outcome{} : LetUp(false);
}

ReadButtonTracker::Outcome ReadButtonTracker::Release() {
    return LetUp(true);
}

ReadButtonTracker::Outcome ReadButtonTracker::RightPress() {
    return LetUp(false);
}

ReadButtonTracker::Outcome ReadButtonTracker::Follow(IGaugeWindowClient::Mouse event, GPoint point,
                                                     bool shown, const IGaugeWindow& window,
                                                     const CGraphFrame* frame) {
    using Mouse = IGaugeWindowClient::Mouse;
    switch (event) {
    case Mouse::LeftDown:
    case Mouse::LeftDouble:
        return Press(point, shown);
    case Mouse::Move:
        if (IsDown() && frame) {
            const GPoint p = window.ToFrameClient(point);
            return Move(frame->GetDataRect().Contains(p.x, p.y));
        }
        return {};
    case Mouse::LeftUp:
        return Release();
    case Mouse::RightDown:
        return RightPress();
    }
    return {};
}
