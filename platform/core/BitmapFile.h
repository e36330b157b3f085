#pragma once
#include <cstdint>
#include <vector>

namespace tvane {

// A device-independent bitmap as a BMP file holds it: the header's size and
// depth, and the pixel rows that follow the header and the colour table.
struct BitmapData {
    std::int32_t width = 0;
    std::int32_t height = 0; // rows, always positive
    bool bottomUp = true;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t stride = 0; // bytes per row, a multiple of 4
    std::vector<std::uint8_t> bits;
};

// The bitmap's colours as a logical palette: COLORREF entries (0x00BBGGRR).
struct PaletteData {
    std::vector<std::uint32_t> entries;
};

// Reads a BMP file (uncompressed, with an info header). Bitmaps of up to 8 bits
// per pixel get a palette of their colour table (2 to the power of the depth
// entries, or the count the header names); deeper ones get none. True only
// when both a bitmap and a palette were made; a deeper bitmap is still read
// into bitmap.
bool LoadBitmapAndPalette(const std::vector<std::uint8_t>& file, BitmapData& bitmap,
                          PaletteData& palette);

} // namespace tvane
