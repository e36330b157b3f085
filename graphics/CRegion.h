#pragma once
#include "graphics/GraphGeometry.h"
#include "platform/archive/CObject.h"

// A window a region places: moved to the region's pixels on every size change
// of its frame.
class IRegionWindow {
public:
    virtual ~IRegionWindow() = default;
    virtual void MoveWindow(const GRect& rect, bool repaint) = 0;
};

// A rectangle in fractions (normally 0 to 1) of a frame's data area, and the
// child window it places. The window is not stored: a loaded region has none
// until its display makes the window again.
class CRegion : public tvane::CObject {
    DECLARE_SERIAL(CRegion)
public:
    CRegion() = default;
    CRegion(IRegionWindow* window, double top, double left, double bottom, double right)
        : m_top(top), m_left(left), m_bottom(bottom), m_right(right), m_window(window) {}

    bool SetRegion(double top, double left, double bottom, double right) {
        m_top = top;
        m_left = left;
        m_bottom = bottom;
        m_right = right;
        return true;
    }
    void SetWnd(IRegionWindow* window) { m_window = window; }
    IRegionWindow* GetWnd() const { return m_window; }
    // The region's pixels in a data rectangle.
    GRect ToRect(const GRect& data) const {
        return graphgeo::RegionToRect(data, m_top, m_left, m_bottom, m_right);
    }

    // top, left, bottom, right as doubles.
    void Serialize(tvane::CArchive& ar) override;

    double m_top = 0.0;
    double m_left = 0.0;
    double m_bottom = 1.0;
    double m_right = 1.0;

private:
    IRegionWindow* m_window = nullptr;
};
