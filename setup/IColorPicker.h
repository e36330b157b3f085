#pragma once
#include <cstdint>

// The colour choice of the editor's sheets: the program shows the colour
// dialog, tests answer without one.
class IColorPicker {
public:
    virtual ~IColorPicker() = default;
    // True with the chosen colour (a COLORREF, 0x00BBGGRR) in colour; false
    // when the user cancelled, colour unchanged.
    virtual bool PickColor(std::uint32_t& colour) = 0;
};
