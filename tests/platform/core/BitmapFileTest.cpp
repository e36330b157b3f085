#include "platform/core/BitmapFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tvane {
namespace {

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A BMP file of width x height at bpp with a colour table of tableSize
// entries (entry i is red i, green 2i, blue 3i) and zeroed rows.
std::vector<std::uint8_t> Bmp(int width, int height, std::uint16_t bpp, std::uint32_t tableSize,
                              std::uint32_t clrUsed = 0) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bpp + 31) / 32 * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    const std::uint32_t offset = 14 + 40 + tableSize * 4;
    std::vector<std::uint8_t> b{'B', 'M'};
    Put32(b, offset + stride * rows);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, bpp);
    Put32(b, 0); // uncompressed
    Put32(b, stride * rows);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, clrUsed);
    Put32(b, 0);
    for (std::uint32_t i = 0; i < tableSize; ++i) {
        b.push_back(static_cast<std::uint8_t>(3 * i)); // blue
        b.push_back(static_cast<std::uint8_t>(2 * i)); // green
        b.push_back(static_cast<std::uint8_t>(i));     // red
        b.push_back(0);
    }
    b.resize(b.size() + stride * rows, 0);
    return b;
}

TEST(LoadBitmapAndPalette, ColourDepthDecidesThePalette) {
    struct Case {
        std::uint16_t bpp;
        std::uint32_t table;
        std::uint32_t clrUsed;
        bool result;
        std::size_t entries;
    };
    for (const Case& c :
         {Case{1, 2, 0, true, 2}, Case{4, 16, 0, true, 16}, Case{8, 256, 0, true, 256},
          Case{8, 20, 20, true, 20}, Case{24, 0, 0, false, 0}, Case{32, 0, 0, false, 0}}) {
        BitmapData bitmap;
        PaletteData palette;
        EXPECT_EQ(LoadBitmapAndPalette(Bmp(5, 3, c.bpp, c.table, c.clrUsed), bitmap, palette),
                  c.result)
            << c.bpp;
        EXPECT_EQ(palette.entries.size(), c.entries) << c.bpp;
        // The bitmap is read whatever its depth.
        EXPECT_EQ(bitmap.width, 5) << c.bpp;
        EXPECT_EQ(bitmap.height, 3) << c.bpp;
        EXPECT_EQ(bitmap.bitsPerPixel, c.bpp);
        EXPECT_EQ(bitmap.bits.size(), bitmap.stride * 3u) << c.bpp;
        EXPECT_EQ(bitmap.stride % 4, 0u);
    }
    BitmapData bitmap;
    PaletteData palette;
    ASSERT_TRUE(LoadBitmapAndPalette(Bmp(2, -2, 4, 16), bitmap, palette));
    EXPECT_FALSE(bitmap.bottomUp);
    EXPECT_EQ(palette.entries[5], 0x000F0A05u); // COLORREF: red 5, green 10, blue 15
}

TEST(LoadBitmapAndPalette, ACutOrForeignFileGivesNothing) {
    const std::vector<std::uint8_t> good = Bmp(4, 4, 8, 256);
    std::vector<std::vector<std::uint8_t>> bad = {
        {},
        std::vector<std::uint8_t>(good.begin(), good.begin() + 60), // inside the table
        std::vector<std::uint8_t>(good.begin(), good.end() - 1),    // a row short
    };
    std::vector<std::uint8_t> notBmp = good;
    notBmp[0] = 'X';
    bad.push_back(notBmp);
    std::vector<std::uint8_t> huge = good;
    huge[18] = 0xFF; // width 255 + ...
    huge[21] = 0x7F;
    bad.push_back(huge);
    std::vector<std::uint8_t> vast = Bmp(4, 4, 32, 0); // rows times size past 64 bits
    for (std::size_t at = 18; at < 26; ++at)
        vast[at] = at == 21 || at == 25 ? 0x7F : 0xFF;
    bad.push_back(vast);
    for (const auto& file : bad) {
        BitmapData bitmap;
        bitmap.width = 99;
        PaletteData palette;
        EXPECT_FALSE(LoadBitmapAndPalette(file, bitmap, palette)) << file.size();
        EXPECT_EQ(bitmap.width, 99);
        EXPECT_TRUE(palette.entries.empty());
    }
}

} // namespace
} // namespace tvane
