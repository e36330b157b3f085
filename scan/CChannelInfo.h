#pragma once
#include "platform/archive/CObject.h"

#include <cstdint>
#include <string>

// A channel as a display shows it, built from a setup row.
class CChannelInfo : public tvane::CObject {
    DECLARE_SERIAL(CChannelInfo)
public:
    CChannelInfo() = default;
    CChannelInfo(const CChannelInfo&) = default;
    CChannelInfo& operator=(const CChannelInfo&) = default;
    ~CChannelInfo() override = default;

    bool operator==(const CChannelInfo& o) const;
    bool operator!=(const CChannelInfo& o) const { return !(*this == o); }

    // Archive form: number, label, name, scanned (16 bits), bit mask, low and
    // high limit, range minimum and maximum, units, alarm test, kind, option.
    void Serialize(tvane::CArchive& ar) override;

    // For a digital channel (kind 4 or 8): every bit of the mask is set in value.
    bool IsBitSet(std::uint32_t value) const {
        return (Kind == 4 || Kind == 8) && (value & BitMask) == BitMask;
    }
    // Doubles the mask; 128 is the last bit of a byte and stays 128.
    static std::uint32_t NextBitMask(std::uint32_t& mask) {
        mask = mask >= 64 ? 128 : mask * 2;
        return mask;
    }

    std::int32_t Number = 2000;
    std::int32_t Kind = 0; // module kind, or 4 / 8 for the bits of a digital channel
    std::string Label = "<None>";
    std::string Name;
    std::int32_t Scanned = 1;
    std::uint32_t BitMask = 1;
    double LowLimit = 0.0;
    double HighLimit = 0.0;
    double RangeMin = -1.0;
    double RangeMax = 1.0;
    std::string Units;
    std::int32_t DisplayOption = 0;
    std::int32_t AlarmTest = 0; // 0 off, 1 low, 2 high, 3 both, 4 equal, 5 not equal
};
