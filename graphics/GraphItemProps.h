#pragma once
#include <cstdint>
#include <string>

#include "shared/CMfxFont.h"

// The appearance-item record the Appearance page and every display exchange.
// A display answers true for an item when it supports every attribute asked
// for in the mask.
struct GRAPHITEMPROPS {
    enum Mask : std::uint32_t {
        kName = 1,
        kColor = 2,
        kFont = 4,
        kLabelName = 8,
        kItemRange = 16,
        kLabelText = 32,
    };
    // The items the framework's displays name.
    enum Item : std::int32_t {
        kChannelColor = 1, // one per channel: channelIndex says which
        kBackground = 2,
        kText = 3,
        kCaption = 7,
    };

    std::uint32_t mask = 0;
    std::int32_t firstItem = 0; // with kItemRange
    std::int32_t itemCount = 0; // with kItemRange
    std::string itemName;
    std::uint32_t color = 0; // COLORREF 0x00BBGGRR
    LOGFONT font;
    std::string labelName;
    std::string labelText;
    std::int32_t channelIndex = 0;
};

// COLORREF from red, green and blue.
constexpr std::uint32_t RGB(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
