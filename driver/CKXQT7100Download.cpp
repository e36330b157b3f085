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
    return SendIntCh(SCPI_CALC_COMP_DATA, data, channel) &&
           SendIntCh(SCPI_CALC_COMP_MASK, mask, channel);
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

bool CKXQT7100::SendIntegration(const CChannelConfig& c, ScpiTemplate nplcId,
                                ScpiTemplate apertureId) {
    return SendTextCh(c.IntegrationCode != 0 ? nplcId : apertureId, c.Resolution, c.Channel);
}

bool CKXQT7100::DownloadFunction(const CChannelConfig& c) {
    const int ch = c.Channel;
    auto option = [&](std::int32_t id, ScpiTemplate templ) {
        const CChannelSetting* o = FindOption(c, id);
        return !o || SendTextCh(templ, o->Text, ch);
    };
    auto freqPeriod = [&](ScpiTemplate conf, ScpiTemplate range, ScpiTemplate aperture,
                          ScpiTemplate lower) {
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
        return SendTextCh(SCPI_CONF_VOLT_DC, c.Range, ch) &&
               SendIntegration(c, SCPI_SENS_VOLT_DC_NPLC, SCPI_SENS_VOLT_DC_APER) &&
               option(1, SCPI_INP_IMP_AUTO);
    case 1:
        return SendTextCh(SCPI_CONF_VOLT_AC, c.Range, ch) && option(4, SCPI_SENS_VOLT_AC_BAND);
    case 2:
        return SendTextCh(SCPI_CONF_RES, c.Range, ch) &&
               SendIntegration(c, SCPI_SENS_RES_NPLC, SCPI_SENS_RES_APER) &&
               option(256, SCPI_SENS_RES_OCOM);
    case 3:
        return SendTextCh(SCPI_CONF_FRES, c.Range, ch) &&
               SendIntegration(c, SCPI_SENS_FRES_NPLC, SCPI_SENS_FRES_APER) &&
               option(256, SCPI_SENS_FRES_OCOM);
    case 4:
        return freqPeriod(SCPI_CONF_FREQ_AUTO, SCPI_SENS_FREQ_VOLT_RANGE, SCPI_SENS_FREQ_APER,
                          SCPI_SENS_FREQ_RANG_LOWER);
    case 5:
        return freqPeriod(SCPI_CONF_PER_AUTO, SCPI_SENS_PER_VOLT_RANGE, SCPI_SENS_PER_APER,
                          SCPI_SENS_PER_RANG_LOWER);
    case 6:
        return DownloadTemperature(c);
    case 7:
        return SendTextCh(SCPI_CONF_CURR_DC, c.Range, ch) &&
               SendIntegration(c, SCPI_SENS_CURR_DC_NPLC, SCPI_SENS_CURR_DC_APER);
    case 8:
        return SendTextCh(SCPI_CONF_CURR_AC, c.Range, ch) && option(4, SCPI_SENS_CURR_AC_BAND);
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
        ok = SendTextCh(SCPI_CONF_TEMP_THER, DriverText(thermistor[c.SubType - 8]), ch);
    } else if (c.SubType == 11 || c.SubType == 12) {
        std::string rtd = optionText(32);
        std::string type = Contains(rtd, "85")   ? DriverText(SCPI_WORD_RTD_85)
                           : Contains(rtd, "91") ? DriverText(SCPI_WORD_RTD_91)
                                                 : std::string();
        bool four = c.SubType == 12;
        ok = SendTextCh(four ? SCPI_CONF_TEMP_FRTD : SCPI_CONF_TEMP_RTD, type, ch) &&
             SendTextCh(four ? SCPI_SENS_TEMP_TRAN_FRTD_RES : SCPI_SENS_TEMP_TRAN_RTD_RES,
                        optionText(64), ch);
    } else {
        static const unsigned letters[] = {2035, 2036, 2037, 2038,
                                           2039, 2040, 2041, SCPI_WORD_TC_N};
        std::string letter = c.SubType < 8 ? DriverText(letters[c.SubType]) : std::string();
        ok = SendTextCh(SCPI_CONF_TEMP_TC, letter, ch) &&
             SendTextCh(SCPI_SENS_TEMP_TRAN_TC_CHEC, optionText(16), ch);
    }
    ok = ok && SendIntegration(c, SCPI_SENS_TEMP_NPLC, SCPI_SENS_TEMP_APER) &&
         SendTextCh(SCPI_UNIT_TEMP, optionText(8), ch);
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
        if (reference &&
            !SendCommand(tvane::Format(Cmd(SCPI_ROUT_SCAN).c_str(),
                                       tvane::Format("%d", reference->Channel).c_str())))
            return false;
    } else {
        type = DriverText(2056);
    }
    if (!SendTextCh(SCPI_SENS_TEMP_TRAN_TC_RJUN_TYPE, type, ch))
        return false;
    if (type == DriverText(2055)) {
        const CChannelSetting* fixed = FindOption(c, 2048);
        if (fixed)
            return SendTextCh(SCPI_SENS_TEMP_TRAN_TC_RJUN, fixed->Text, ch);
    }
    return true;
}

bool CKXQT7100::DownloadDigital(const CChannelConfig& c) {
    const int ch = c.Channel;
    if (!SendCh(SCPI_CONF_DIG, ch) || !SendIntCh(SCPI_CALC_COMP_STAT, 0, ch))
        return false;
    unsigned compare = c.AlarmMode == 4 ? 1030 : c.AlarmMode == 5 ? 1031 : 0;
    if (compare && !(SendTextCh(SCPI_CALC_COMP_TYPE, DriverText(compare), ch) &&
                     SendIntCh(SCPI_CALC_COMP_STAT, 1, ch)))
        return false;
    return SendDigitalPattern(c.Channel, c.HighLimit) && AlarmSourceCommand(c);
}

bool CKXQT7100::DownloadTotalizer(const CChannelConfig& c) {
    const int ch = c.Channel;
    if (!SendCh(c.Function == 11 ? SCPI_CONF_TOT_READ : SCPI_CONF_TOT_RRES, ch) ||
        !SendIntCh(SCPI_CALC_LIM_UPP_STAT, 0, ch) || !AlarmSourceCommand(c) ||
        !SendTextCh(SCPI_CALC_LIM_UPP, c.HighLimit, ch))
        return false;
    if (c.AlarmMode == 2 && !SendIntCh(SCPI_CALC_LIM_UPP_STAT, 1, ch))
        return false;
    const CChannelSetting* slope = FindOption(c, 4096);
    if (slope)
        return SendCommand(tvane::Format(Cmd(SCPI_SENS_TOT_SLOP).c_str(), slope->Text.c_str()));
    return true;
}

bool CKXQT7100::DownloadScaling(const CChannelConfig& c) {
    const int ch = c.Channel;
    std::string unit = c.Unit.substr(0, 3);
    SendTextCh(SCPI_CALC_SCAL_GAIN, c.Gain, ch);
    SendTextCh(SCPI_CALC_SCAL_OFFS, c.Offset, ch);
    SendTextCh(SCPI_CALC_SCAL_UNIT, unit, ch);
    return SendIntCh(SCPI_CALC_SCAL_STAT, c.ScalingOn, ch);
}

bool CKXQT7100::DownloadLimits(const CChannelConfig& c) {
    const int ch = c.Channel;
    bool ok = SendIntCh(SCPI_CALC_LIM_LOW_STAT, 0, ch) && SendIntCh(SCPI_CALC_LIM_UPP_STAT, 0, ch);
    if (!ok)
        return false;
    ok = AlarmSourceCommand(c);
    if (!ok)
        return false;
    if (!SendCommand(tvane::Format(Cmd(SCPI_CALC_LIM_LOW_UPP).c_str(), c.LowLimit.c_str(),
                                   c.HighLimit.c_str(), ch)))
        return false;
    switch (c.AlarmMode) {
    case 0:
        return true;
    case 1:
        return SendIntCh(SCPI_CALC_LIM_LOW_STAT, 1, ch);
    case 2:
        return SendIntCh(SCPI_CALC_LIM_UPP_STAT, 1, ch);
    case 3:
        return SendIntCh(SCPI_CALC_LIM_LOW_STAT, 1, ch) && SendIntCh(SCPI_CALC_LIM_UPP_STAT, 1, ch);
    default:
        return false;
    }
}

bool CKXQT7100::AlarmSourceCommand(const CChannelConfig& c) {
    if (c.AlarmOutput > 3)
        return true;
    return SendCh(AlarmSourceTemplate(static_cast<unsigned>(c.AlarmOutput)), c.Channel);
}

bool CKXQT7100::SetDelayCommand(const CChannelConfig& c) {
    const CChannelSetting* delay = FindOption(c, 512);
    bool automatic = delay && Upper(delay->Text) == DriverText(1014);
    std::string seconds =
        delay ? tvane::Format("%e", std::atof(delay->Text.c_str())) : std::string("0.0");
    if (!SendIntCh(SCPI_ROUT_CHAN_DEL_AUTO, automatic ? 1 : 0, c.Channel))
        return false;
    if (automatic)
        return true;
    return SendTextCh(SCPI_ROUT_CHAN_DEL, seconds, c.Channel);
}

} // namespace tvane::driver
