#include "graphics/displays/readout/ReadoutText.h"

#include <cmath>

#include "graphics/displays/indicator/IndicatorBlocks.h"
#include "platform/core/Format.h"
#include "platform/core/NameText.h"
#include "scan/CChannelInfo.h"
#include "scan/ValueFormat.h"
#include "scan/records/ReadingRecord.h"

namespace readouttext {

std::optional<Shown> Format(double value, std::int32_t format, const CChannelInfo& channel) {
    if (value == kNoValue)
        return std::nullopt;
    Shown shown{{}, value};
    if (std::fabs(value) == kOverloadValue) {
        std::string units;
        NormalizeUnitText(channel.Units, units);
        shown.text = tvane::Format("OVLD %s", units.c_str());
    } else if (format == kHex) {
        shown.text =
            tvane::Format("%04Xh %s", IndicatorBlocks::ValueBits(value), channel.Units.c_str());
    } else {
        if (channel.Kind == 4)
            shown.value = channel.IsBitSet(IndicatorBlocks::ValueBits(value)) ? 1.0 : 0.0;
        FormatValue(shown.value, channel.Units, shown.text, 8);
    }
    if (shown.text.size() > kMaxText)
        shown.text = tvane::CutUtf8(shown.text, kMaxText);
    return shown;
}

} // namespace readouttext
