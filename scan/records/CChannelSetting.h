#pragma once
#include <cstdint>
#include <string>

// One advanced setting of a channel configuration: the setting's bit (0x1 ..
// 0x1000, -1 when unset) and its value text.
struct CChannelSetting {
    std::int32_t Id = -1;
    std::string Text;

    CChannelSetting() = default;
    CChannelSetting(std::int32_t id, std::string text) : Id(id), Text(std::move(text)) {}
    bool operator==(const CChannelSetting&) const = default;
};

// The driver's name for the same item.
using CChannelOption = CChannelSetting;
