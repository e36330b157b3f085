#include "platform/core/BitmapFile.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

namespace tvane {

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

} // namespace

bool LoadBitmapAndPalette(const std::vector<std::uint8_t>& file, BitmapData& bitmap,
                          PaletteData& palette) {
    if (file.size() < kFileHeader + kInfoHeader || file[0] != 'B' || file[1] != 'M')
        return false;
    const std::size_t info = kFileHeader;
    const std::uint32_t headerSize = U32(file, info);
    const auto width = static_cast<std::int32_t>(U32(file, info + 4));
    const auto height = static_cast<std::int32_t>(U32(file, info + 8));
    const std::uint16_t bpp = U16(file, info + 14);
    const std::uint32_t compression = U32(file, info + 16);
    const std::uint32_t used = U32(file, info + 32);
    const bool depthKnown = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    if (headerSize < kInfoHeader || headerSize > file.size() - info || width <= 0 || height == 0 ||
        height == std::numeric_limits<std::int32_t>::min() || !depthKnown ||
        !(compression == kUncompressed || (compression == kBitFields && bpp >= 16)))
        return false;

    // The colour table follows the header; a header that names fewer colours
    // than the depth allows has only that many.
    std::size_t colors = bpp <= 8 ? std::size_t(1) << bpp : 0;
    if (colors && used && used < colors)
        colors = used;
    std::size_t at = info + headerSize;
    if (compression == kBitFields && headerSize == kInfoHeader)
        at += 12; // the three masks
    if (colors * 4 > file.size() - std::min(at, file.size()))
        return false;
    PaletteData table;
    for (std::size_t i = 0; i < colors; ++i) {
        const std::size_t q = at + i * 4; // blue, green, red, reserved
        table.entries.push_back(std::uint32_t(file[q + 2]) | std::uint32_t(file[q + 1]) << 8 |
                                std::uint32_t(file[q]) << 16);
    }
    at += colors * 4;

    const std::uint64_t stride = (std::uint64_t(width) * bpp + 31) / 32 * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(height));
    // Compared by division: the product of a huge width and height may not fit.
    if (at > file.size() || stride > (file.size() - at) / rows)
        return false;
    BitmapData data;
    data.width = width;
    data.height = static_cast<std::int32_t>(rows);
    data.bottomUp = height > 0;
    data.bitsPerPixel = bpp;
    data.stride = static_cast<std::uint32_t>(stride);
    data.bits.assign(file.begin() + static_cast<std::ptrdiff_t>(at),
                     file.begin() + static_cast<std::ptrdiff_t>(at + stride * rows));
    bitmap = std::move(data);
    palette = std::move(table);
    return !palette.entries.empty();
}

} // namespace tvane
