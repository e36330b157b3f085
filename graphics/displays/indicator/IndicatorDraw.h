#pragma once
#include <cstdint>
#include <string>

#include "graphics/GraphGeometry.h"
#include "graphics/IGraphDC.h"

class CPushButton;

// The drawing pieces the gauge displays share: the square box of a lamp,
// switch or button in its cell, the bevel of a round lamp, centred texts, the
// "Read" button of the displays that read on request, and the choice between
// a block's caption and its short caption. They draw through IGraphDC, so the
// same picture goes to a window, a printer page or the clipboard, and a
// recording surface (RecordingDC) checks the geometry exactly.
namespace indicatordraw {

// The cell made square (its longer side shrunk equally on both ends by half
// the difference) and then shrunk by a quarter of its width on every side:
// the element's diameter is half the square's side. quarter, when given,
// receives that quarter.
GRect SquareBox(const GRect& cell, int* quarter = nullptr);

// The bevel of a round lamp drawn in rect: a white glint of five pixels at a
// quarter of the way in from the top-left, the outer edge dark on the lower
// right and white on the upper left, one pixel in grey and light grey.
void DrawLampBevel(IGraphDC& dc, const GRect& rect);

// Text centred across rect, its top at (top + bottom - text height) / 2,
// clipped to rect when clip is set. The font is the surface's.
void DrawCentredText(IGraphDC& dc, const GRect& rect, const std::string& text, std::uint32_t color,
                     bool clip = true);

// Where the "Read" button goes in rect for a label of that size: 5 pixels in
// from the left, one and a half label widths wide, one and a half label
// heights high about rect's vertical middle.
GRect ReadButtonRect(const GRect& rect, int labelWidth, int labelHeight);

// Draws the "Read" button at the left of rect in the surface's font, light
// grey and raised when up, grey and sunken when held down, its label in black,
// stores where it was drawn in button and returns that rectangle. Drawing
// goes on to the right of its right edge.
GRect DrawReadButton(IGraphDC& dc, const GRect& rect, CPushButton& button);

// The caption a block shows in a cell width wide: its short caption when the
// caption is wider and the two differ.
const std::string& ChooseCaption(const IGraphDC& dc, const std::string& caption,
                                 const std::string& shortCaption, int width);

} // namespace indicatordraw
