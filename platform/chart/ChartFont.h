#pragma once
#include <cstdint>
#include <string>

namespace tvane::chart {

// A font as the chart keeps it: the fields of a logical font description.
// A negative height is the character height in pixels, a positive one the
// cell height.
struct ChartFont {
    std::int32_t height = -12;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 400;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string face = "Arial";

    bool operator==(const ChartFont&) const = default;
};

} // namespace tvane::chart
