#pragma once
#include <climits>
#include <cstdint>
#include <string_view>
#include <vector>

// Pixel rectangles and the geometry formulas of the display frames and their
// pages, apart from any window, so that they are exact and testable.
//
// The arithmetic saturates at the 32-bit range instead of overflowing: a
// rectangle may come from a damaged document before it is checked.
struct GRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    static std::int32_t Saturated(std::int64_t value) {
        return value < INT32_MIN   ? INT32_MIN
               : value > INT32_MAX ? INT32_MAX
                                   : static_cast<std::int32_t>(value);
    }
    std::int32_t Width() const { return Saturated(std::int64_t{right} - left); }
    std::int32_t Height() const { return Saturated(std::int64_t{bottom} - top); }
    bool IsEmpty() const { return Width() <= 0 || Height() <= 0; }
    // Right and bottom are exclusive.
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    GRect Normalized() const;
    GRect Deflated(std::int32_t d) const {
        return {Saturated(std::int64_t{left} + d), Saturated(std::int64_t{top} + d),
                Saturated(std::int64_t{right} - d), Saturated(std::int64_t{bottom} - d)};
    }
    GRect Offset(std::int32_t dx, std::int32_t dy) const {
        return {Saturated(std::int64_t{left} + dx), Saturated(std::int64_t{top} + dy),
                Saturated(std::int64_t{right} + dx), Saturated(std::int64_t{bottom} + dy)};
    }
    bool operator==(const GRect&) const = default;
};

struct GPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const GPoint&) const = default;
};

namespace graphgeo {

// A display's rectangle as a document may hold it: each edge within this many
// pixels of the page's origin, left of right and above bottom.
inline constexpr std::int32_t kMaxCoordinate = 1 << 20;
bool IsStorableRect(const GRect& rect);
// A display's inset (client edge to data area) as a document may hold it.
inline constexpr std::int32_t kMaxInset = 1000;

// Screens of this many dots per inch or more get frames 1.31 times as large.
inline constexpr int kLargeFontDpi = 120;
inline constexpr double kLargeFontScale = 1.31;

// value x 1.31, plus 0.5, truncated.
std::int32_t ScaleForLargeFonts(std::int32_t value);

// A new frame's rectangle and minimum size on a screen of dpi dots per inch:
// right, bottom and both minimum values scaled at 120 dpi or more.
void ApplyDpiOnCreate(int dpi, GRect& rect, std::int32_t& minWidth, std::int32_t& minHeight);
// A loaded frame: the size grows only to 1.31 times the constructor's default,
// so loading the same layout again does not grow it further.
void ApplyDpiOnRecreate(int dpi, const GRect& defaultRect, std::int32_t defaultMinWidth,
                        std::int32_t defaultMinHeight, GRect& rect, std::int32_t& minWidth,
                        std::int32_t& minHeight);

// The client rectangle, normalised, shrunk by the inset, its top moved below
// the title band.
GRect DataRect(const GRect& client, std::int32_t inset, std::int32_t titleHeight);

// A region's fractions of a data rectangle in pixels (each edge + 0.5, truncated).
GRect RegionToRect(const GRect& data, double top, double left, double bottom, double right);

// The title band at the top of the client area.
GRect TitleBand(const GRect& client, std::int32_t titleHeight);
// Top-left of the close button in the band: one title height before the
// band's right edge, two border widths below its top.
GPoint TitleButtonPos(const GRect& band, std::int32_t titleHeight, std::int32_t borderWidth);
// Where the title text is drawn in the band.
GPoint TitleTextPos(const GRect& band, std::int32_t borderWidth, std::int32_t textHeight);

// The smallest size a frame can be dragged to: the explicit minimum, or the
// title's width by twice the title height when both are 0.
GPoint MinTrackSize(std::int32_t minWidth, std::int32_t minHeight, std::int32_t titleTextWidth,
                    std::int32_t titleHeight);

// Placement of a new display on a page: the first free point (d, d) for
// d = 10, 20, ... up to half the smaller client side, where a point is free
// when no display's top-left corner lies within 10 pixels up and left of it;
// else the round-robin counter (one for the program) gives the place.
class FramePlacer {
public:
    static constexpr std::int32_t kStep = 10;
    GRect Place(const GRect& rect, const GRect& client, const std::vector<GPoint>& corners);
    int Counter() const { return m_counter; }
    void SetCounter(int counter) { m_counter = counter; }
    static FramePlacer& Program();

private:
    int m_counter = 0;
};

// The print mapping of a page: window extent the view's client size, viewport
// extent the printer's page, scaled per axis when the selected display alone
// is printed.
GPoint PrintViewportExtent(const GPoint& page, const GPoint& viewClient,
                           const GPoint* selectedClient);
// The page footer's anchor: centre of the draw rectangle (integer division
// toward zero), at top + bottom less the text height.
GPoint FooterPos(const GRect& draw, std::int32_t textHeight);

// What a scroll bar asks of the page.
enum class ScrollCode {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition,
    ThumbTrack,
    Top,
    Bottom
};
// The page's new scroll position on a bar of 0..range: a line is one pixel, a
// page the page step, the thumb's track position taken as it is; a thumb
// position alone moves nothing.
std::int32_t NextScrollPosition(std::int32_t pos, ScrollCode code, std::int32_t page,
                                std::int32_t range, std::int32_t track);

} // namespace graphgeo

// Small number routines the displays share.
// Rounds to the nearest integer, halves away from zero (also for negative
// values), clamped to the 32-bit range.
std::int32_t NearestInt(double value);
// value raised to a signed integer power by repeated squaring.
double IntPower(double value, int exponent);
// A whole number text: blanks and tabs around it; false for anything else.
bool ParseStrictDouble(std::string_view text, double& value);
