#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/GraphGeometry.h"
#include "shared/CMfxFont.h"

// A drawing surface of the displays: a window, a printer page or a picture.
// Coordinates are the surface's logical pixels.
class IGraphDC {
public:
    virtual ~IGraphDC() = default;
    virtual void Save() = 0;
    virtual void Restore() = 0;
    // Moves the origin by (dx, dy); Restore undoes it.
    virtual void Offset(int dx, int dy) = 0;
    // 2 on a monochrome device, 0 on devices without a colour table.
    virtual int NumColors() const = 0;
    virtual void FillRect(const GRect& rect, std::uint32_t color) = 0;
    // Filled with color and outlined in black, one pixel.
    virtual void Rectangle(const GRect& rect, std::uint32_t fill) = 0;
    // A closed outline in black.
    virtual void Polygon(const std::vector<GPoint>& points) = 0;
    // A one-pixel line from a to b, b excluded.
    virtual void Line(GPoint a, GPoint b, std::uint32_t color) = 0;
    virtual void SetFont(const LOGFONT& font) = 0;
    virtual int TextHeight() const = 0;
    virtual int TextWidth(const std::string& text) const = 0;
    // Transparent text with its top-left at pos, clipped to clip when given.
    virtual void Text(GPoint pos, const std::string& text, std::uint32_t color,
                      const GRect* clip) = 0;
    // The ellipse inside rect (right and bottom excluded), filled with fill and
    // outlined in outline, one pixel.
    virtual void Ellipse(const GRect& rect, std::uint32_t fill, std::uint32_t outline) = 0;
    // A one-pixel arc of the ellipse inside rect, counter-clockwise from where
    // the ray from its centre through start meets it to where the ray through
    // end does; the whole ellipse when both rays are the same.
    virtual void Arc(const GRect& rect, GPoint start, GPoint end, std::uint32_t color) = 0;
    virtual void SetPixel(GPoint point, std::uint32_t color) = 0;
};

// The system colours the frames draw their title bands in.
namespace graphcolor {
inline constexpr std::uint32_t kActiveCaption = 0x00800000;       // navy
inline constexpr std::uint32_t kInactiveCaption = 0x00808080;     // grey
inline constexpr std::uint32_t kCaptionText = 0x00FFFFFF;         // white
inline constexpr std::uint32_t kInactiveCaptionText = 0x00C0C0C0; // silver
inline constexpr std::uint32_t kBlack = 0x00000000;
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;
inline constexpr std::uint32_t kGrey = 0x00808080;
inline constexpr std::uint32_t kSilver = 0x00C0C0C0;
} // namespace graphcolor

// A one-pixel 3-D edge: top and left in one colour, bottom and right in the other.
void Draw3dRect(IGraphDC& dc, const GRect& rect, std::uint32_t topLeft, std::uint32_t bottomRight);
// A two-pixel 3-D border just inside rect: raised, white and black outside,
// light grey and grey one pixel in; sunken, the colours of each line swapped
// (black and white, grey and light grey).
void Draw3dBorder(IGraphDC& dc, const GRect& rect, bool raised);
// The same border with a black outer line on every side: the focus frame of
// a selected element.
void Draw3dBorderOpaque(IGraphDC& dc, const GRect& rect, bool raised);
// rect painted in one colour.
void FillSolidRect(IGraphDC& dc, const GRect& rect, std::uint32_t color);
