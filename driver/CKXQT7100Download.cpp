#include <cctype>
#include <cstdlib>

#include "driver/CKXQT7100.h"
#include "driver/DriverStrings.h"
#include "platform/core/Format.h"

namespace tvane::driver {

namespace {

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

} // namespace

CChannelConfig& CKXQT7100::StoreCopy(std::int16_t channel) {
    auto& slot = m_configs[channel];
    slot = std::make_unique<CChannelConfig>();
    return *slot;
}

void CKXQT7100::ParseDigitalPattern(const std::string& pattern, int& data, int& mask) {
    data = 0;
    mask = 0;
    // The last character is bit 0; only the last eight characters count.
    const std::size_t n = pattern.size();
    for (std::size_t bit = 0; bit < 8 && bit < n; ++bit) {
        char c = pattern[n - 1 - bit];
        if (c == '1')
            data |= 1 << bit;
        if (c != 'X')
            mask |= 1 << bit;
    }
}

bool CKXQT7100::SendDigitalPattern(std::int16_t channel, const std::string& pattern) {
    int data = 0, mask = 0;
    ParseDigitalPattern(pattern, data, mask);
    return SendIntCh(3129, data, channel) && SendIntCh(3131, mask, channel);
}

bool CKXQT7100::DownloadChannelConfig(const CChannelConfig& config) {
    const std::int16_t channel = config.Channel;
    m_configs.erase(channel);
    if (config.Function == 10)
        return true;
    CChannelConfig& copy = StoreCopy(channel);
    copy = config;
    if (IsSimulated())
        return true;
    if (!DownloadFunction(copy)) {
        SetError(1016, tvane::Format(DriverText(1016).c_str(), static_cast<int>(channel)));
        return false;
    }
    bool ok = true;
    if (IsMeasuring(copy) && copy.ModuleType != 6)
        ok = DownloadScaling(copy) && DownloadLimits(copy) && SetDelayCommand(copy);
    return ok;
}

bool CKXQT7100::SendIntegration(const CChannelConfig& c, unsigned nplcId, unsigned apertureId) {
    return SendTextCh(c.IntegrationCode != 0 ? nplcId : apertureId, c.Resolution, c.Channel);
}

bool CKXQT7100::DownloadFunction(const CChannelConfig& c) {
    const int ch = c.Channel;
    auto option = [&](std::int32_t id, unsigned templ) {
        const CChannelSetting* o = FindOption(c, id);
        return !o || SendTextCh(templ, o->Text, ch);
    };
    auto freqPeriod = [&](unsigned conf, unsigned range, unsigned aperture, unsigned lower) {
        if (!SendCh(conf, ch))
            return false;
        if (c.Range != "Auto" && !SendTextCh(range, c.Range, ch))
            return false;
        const char* apertureText = Contains(c.Resolution, "4.5")   ? "0.01"
                                   : Contains(c.Resolution, "6.5") ? "1.0"
                                                                   : "0.1";
        return SendTextCh(aperture, apertureText, ch) && option(4, lower);
    };
    switch (c.Function) {
    case 0:
        return SendTextCh(3044, c.Range, ch) && SendIntegration(c, 3045, 3164) && option(1, 3047);
    case 1:
        return SendTextCh(3054, c.Range, ch) && option(4, 3055);
    case 2:
        return SendTextCh(3058, c.Range, ch) && SendIntegration(c, 3059, 3165) && option(256, 3061);
    case 3:
        return SendTextCh(3064, c.Range, ch) && SendIntegration(c, 3065, 3166) && option(256, 3068);
    case 4:
        return freqPeriod(3106, 3107, 3109, 3195);
    case 5:
        return freqPeriod(3111, 3112, 3114, 3197);
    case 6:
        return DownloadTemperature(c);
    case 7:
        return SendTextCh(3117, c.Range, ch) && SendIntegration(c, 3119, 3167);
    case 8:
        return SendTextCh(3122, c.Range, ch) && option(4, 3124);
    case 9:
        return DownloadDigital(c);
    case 11:
    case 12:
        return DownloadTotalizer(c);
    default:
        return false;
    }
}

bool CKXQT7100::DownloadTemperature(const CChannelConfig& c) {
    const int ch = c.Channel;
    auto optionText = [&](std::int32_t id) {
        const CChannelSetting* o = FindOption(c, id);
        return o ? o->Text : std::string();
    };
    const bool thermocouple = c.SubType < 8 || c.SubType > 12;
    bool ok;
    if (c.SubType >= 8 && c.SubType <= 10) {
        static const unsigned thermistor[] = {2042, 2043, 2044};
        ok = SendTextCh(3094, DriverText(thermistor[c.SubType - 8]), ch);
    } else if (c.SubType == 11 || c.SubType == 12) {
        std::string rtd = optionText(32);
        std::string type = Contains(rtd, "85")   ? DriverText(3085)
                           : Contains(rtd, "91") ? DriverText(3086)
                                                 : std::string();
        bool four = c.SubType == 12;
        ok = SendTextCh(four ? 3098 : 3096, type, ch) &&
             SendTextCh(four ? 3104 : 3102, optionText(64), ch);
    } else {
        static const unsigned letters[] = {2035, 2036, 2037, 2038, 2039, 2040, 2041, 3222};
        std::string letter = c.SubType < 8 ? DriverText(letters[c.SubType]) : std::string();
        ok = SendTextCh(3092, letter, ch) && SendTextCh(3101, optionText(16), ch);
    }
    ok = ok && SendIntegration(c, 3224, 3226) && SendTextCh(3099, optionText(8), ch);
    if (!ok || !thermocouple)
        return ok;

    std::string junction = Upper(optionText(1024));
    std::string type;
    if (junction == DriverText(2055)) {
        type = DriverText(2055);
    } else if (junction == DriverText(2057)) {
        type = DriverText(2057);
        // The external reference is measured by a thermistor or RTD channel.
        const CChannelConfig* reference = nullptr;
        for (const auto& entry : m_configs)
            if (entry.second->SubType >= 8 && entry.second->SubType <= 12)
                reference = entry.second.get();
        if (reference && !SendCommand(tvane::Format(
                             Cmd(3023).c_str(), tvane::Format("%d", reference->Channel).c_str())))
            return false;
    } else {
        type = DriverText(2056);
    }
    if (!SendTextCh(3173, type, ch))
        return false;
    if (type == DriverText(2055)) {
        const CChannelSetting* fixed = FindOption(c, 2048);
        if (fixed)
            return SendTextCh(3175, fixed->Text, ch);
    }
    return true;
}

bool CKXQT7100::DownloadDigital(const CChannelConfig& c) {
    const int ch = c.Channel;
    if (!SendCh(3126, ch) || !SendIntCh(3133, 0, ch))
        return false;
    unsigned compare = c.AlarmMode == 4 ? 1030 : c.AlarmMode == 5 ? 1031 : 0;
    if (compare && !(SendTextCh(3127, DriverText(compare), ch) && SendIntCh(3133, 1, ch)))
        return false;
    return SendDigitalPattern(c.Channel, c.HighLimit) && AlarmSourceCommand(c);
}

bool CKXQT7100::DownloadTotalizer(const CChannelConfig& c) {
    const int ch = c.Channel;
    if (!SendCh(c.Function == 11 ? 3135 : 3137, ch) || !SendIntCh(3073, 0, ch) ||
        !AlarmSourceCommand(c) || !SendTextCh(3194, c.HighLimit, ch))
        return false;
    if (c.AlarmMode == 2 && !SendIntCh(3073, 1, ch))
        return false;
    const CChannelSetting* slope = FindOption(c, 4096);
    if (slope)
        return SendCommand(tvane::Format(Cmd(3218).c_str(), slope->Text.c_str()));
    return true;
}

bool CKXQT7100::DownloadScaling(const CChannelConfig& c) {
    const int ch = c.Channel;
    std::string unit = c.Unit.substr(0, 3);
    SendTextCh(3074, c.Gain, ch);
    SendTextCh(3084, c.Offset, ch);
    SendTextCh(3088, unit, ch);
    return SendIntCh(3089, c.ScalingOn, ch);
}

bool CKXQT7100::DownloadLimits(const CChannelConfig& c) {
    const int ch = c.Channel;
    bool ok = SendIntCh(3071, 0, ch) && SendIntCh(3073, 0, ch);
    if (!ok)
        return false;
    ok = AlarmSourceCommand(c);
    if (!ok)
        return false;
    if (!SendCommand(tvane::Format(Cmd(3070).c_str(), c.LowLimit.c_str(), c.HighLimit.c_str(), ch)))
        return false;
    switch (c.AlarmMode) {
    case 0:
        return true;
    case 1:
        return SendIntCh(3071, 1, ch);
    case 2:
        return SendIntCh(3073, 1, ch);
    case 3:
        return SendIntCh(3071, 1, ch) && SendIntCh(3073, 1, ch);
    default:
        return false;
    }
}

bool CKXQT7100::AlarmSourceCommand(const CChannelConfig& c) {
    if (c.AlarmOutput > 3)
        return true;
    return SendCh(3080 + c.AlarmOutput, c.Channel);
}

bool CKXQT7100::SetDelayCommand(const CChannelConfig& c) {
    const CChannelSetting* delay = FindOption(c, 512);
    bool automatic = delay && Upper(delay->Text) == DriverText(1014);
    std::string seconds =
        delay ? tvane::Format("%e", std::atof(delay->Text.c_str())) : std::string("0.0");
    if (!SendIntCh(3161, automatic ? 1 : 0, c.Channel))
        return false;
    if (automatic)
        return true;
    return SendTextCh(3163, seconds, c.Channel);
}

} // namespace tvane::driver
