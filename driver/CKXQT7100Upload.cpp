#include <cctype>
#include <cstdlib>

#include "driver/CKXQT7100.h"
#include "driver/DriverStrings.h"
#include "driver/ModuleTable.h"
#include "platform/core/Format.h"

namespace tvane::driver {

namespace {

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return "";
    std::size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

} // namespace

bool CKXQT7100::ConfigureUpload() {
    ResetReadingState();
    bool ok = SendId(SCPI_CLS) && SendId(SCPI_ESE_1) && SendId(SCPI_SRE_48);
    std::string answer;
    if (ok)
        ok = QueryString(Cmd(SCPI_ROUT_SCAN_Q), answer);
    m_uploadedScanList = ok ? StripBlockHeader(answer) : std::string();
    m_uploadFlag = false;
    return ok;
}

CChannelConfig* CKXQT7100::UploadChannelConfig(std::int16_t channel, const std::string& moduleText,
                                               std::int32_t* okOut) {
    m_uploadFlag = true;
    CChannelConfig& c = StoreCopy(channel);
    c.InScanList =
        m_uploadedScanList.find(tvane::Format("%d", static_cast<int>(channel))) != std::string::npos
            ? 1
            : 0;
    if (c.InScanList) {
        m_lowestConfigured = std::min(m_lowestConfigured, channel);
        m_highestConfigured = std::max(m_highestConfigured, channel);
    }
    bool ok = false;
    c.Channel = channel;
    c.ModuleType = static_cast<std::uint16_t>(ParseModuleType(moduleText).type);
    const bool measuring = IsMeasuring(c);
    if (ParseFunction(c, measuring) && UploadUnit(c)) {
        if (!measuring) {
            c.Range.clear();
            c.RangeLow.clear();
        }
        ok = UploadFunctionSettings(c);
        if (ok && measuring && c.ModuleType != 6)
            ok = UploadScaling(c) && UploadLimits(c) && UploadDelay(c);
    }
    if (!ok)
        SetError(1015, tvane::Format(DriverText(1015).c_str(), static_cast<int>(channel)));
    if (okOut)
        *okOut = ok ? 1 : 0;
    return &c;
}

bool CKXQT7100::ParseFunction(CChannelConfig& c, bool measuring) {
    const int ch = c.Channel;
    if (!measuring) {
        switch (c.ModuleType) {
        case 2:
        case 3:
        case 4:
        case 5:
            c.Function = static_cast<std::uint16_t>(14 + c.ModuleType - 2);
            return true;
        case 6:
            if (ch % 100 > 3) {
                c.Function = 13;
                return true;
            }
            return false;
        default:
            return false;
        }
    }
    std::string answer;
    if (!QueryString(tvane::Format(Cmd(SCPI_SENS_FUNC_Q).c_str(), ch), answer)) {
        c.Function = CChannelConfig::kFunctionUnknown;
        return false;
    }
    answer = Upper(answer);
    static const struct {
        unsigned keyword;
        std::uint16_t function;
    } kFunctions[] = {{2018, 1}, {2019, 0}, {2021, 3}, {2020, 2}, {2022, 4}, {2023, 5},
                      {2024, 6}, {2025, 8}, {2026, 7}, {2027, 9}, {2028, 11}};
    c.Function = CChannelConfig::kFunctionUnknown;
    for (const auto& f : kFunctions) {
        if (answer.find(DriverText(f.keyword)) != std::string::npos) {
            c.Function = f.function;
            break;
        }
    }
    if (c.Function == CChannelConfig::kFunctionUnknown)
        return false;
    if (c.Function == 9) {
        std::string state;
        if (QueryString(tvane::Format(Cmd(SCPI_SOUR_DIG_STATE_Q).c_str(), ch), state) &&
            state == DriverText(2031))
            c.Function = 10;
    } else if (c.Function == 11) {
        std::string type;
        if (QueryString(tvane::Format(Cmd(SCPI_SENS_TOT_TYPE_Q).c_str(), ch), type) &&
            Upper(type) == DriverText(2030))
            c.Function = 12;
    }
    return true;
}

bool CKXQT7100::UploadUnit(CChannelConfig& c) {
    if (!IsMeasuring(c))
        return true;
    std::string unit;
    if (!QueryString(tvane::Format(Cmd(SCPI_CALC_SCAL_UNIT_Q).c_str(), static_cast<int>(c.Channel)),
                     unit, true))
        return false;
    if (!unit.empty() && unit[0] == '#') {
        unit[0] = ' ';
        unit = Trim(unit);
    }
    c.Unit = unit;
    return true;
}

bool CKXQT7100::UploadRange(CChannelConfig& c, ScpiTemplate autoId, ScpiTemplate rangeId) {
    const int ch = c.Channel;
    int automatic = 0;
    if (!QueryInt(tvane::Format(Cmd(autoId).c_str(), ch), automatic))
        return false;
    if (automatic) {
        c.Range = DriverText(1011);
        return true;
    }
    return QueryString(tvane::Format(Cmd(rangeId).c_str(), ch), c.Range);
}

bool CKXQT7100::ParseIntegration(CChannelConfig& c, ScpiTemplate nplcId, ScpiTemplate apertureId) {
    const int ch = c.Channel;
    double nplc = 0.0;
    if (!QueryDouble(tvane::Format(Cmd(nplcId).c_str(), ch), nplc)) {
        c.IntegrationCode = 3;
        return false;
    }
    static const double kSteps[] = {0.02, 0.2, 1, 2, 10, 20, 100, 200};
    c.IntegrationCode = 0;
    for (int i = 0; i < 8; ++i) {
        if (nplc == kSteps[i]) {
            c.IntegrationCode = i + 1;
            c.Resolution = DriverText(2047 + static_cast<unsigned>(i));
            break;
        }
    }
    if (c.IntegrationCode == 0) {
        std::string aperture;
        if (!QueryDoubleText(tvane::Format(Cmd(apertureId).c_str(), ch), aperture))
            return false;
        c.Resolution = aperture;
    }
    c.Options.emplace_back(2, c.Resolution);
    return true;
}

bool CKXQT7100::QueryOnOff(ScpiTemplate id, int channel, std::string& out) {
    int value = 0;
    if (!QueryInt(tvane::Format(Cmd(id).c_str(), channel), value))
        return false;
    out = DriverText(value ? 1012 : 1013);
    return true;
}

bool CKXQT7100::UploadFreqPeriod(CChannelConfig& c, ScpiTemplate autoId, ScpiTemplate rangeId,
                                 ScpiTemplate apertureId) {
    const int ch = c.Channel;
    if (!UploadRange(c, autoId, rangeId))
        return false;
    double aperture = 0.0;
    if (!QueryDouble(tvane::Format(Cmd(apertureId).c_str(), ch), aperture))
        return false;
    c.IntegrationCode = aperture == 0.01 ? 1 : aperture == 1.0 ? 5 : 3;
    std::string answer;
    if (!QueryString(tvane::Format(Cmd(SCPI_SENS_FREQ_RANG_LOWER_Q).c_str(), ch), answer))
        return false;
    std::string lower = answer == "0" || answer == "0.0"
                            ? std::string("20")
                            : tvane::Format("%g", std::atof(answer.c_str()));
    c.Options.emplace_back(4, lower);
    return true;
}

bool CKXQT7100::UploadFunctionSettings(CChannelConfig& c) {
    const int ch = c.Channel;
    std::string text;
    switch (c.Function) {
    case 0:
        if (!UploadRange(c, SCPI_SENS_VOLT_DC_RANG_AUTO_Q, SCPI_SENS_VOLT_DC_RANG_Q) ||
            !ParseIntegration(c, SCPI_SENS_VOLT_DC_NPLC_Q, SCPI_SENS_VOLT_DC_APER_Q) ||
            !QueryOnOff(SCPI_INP_IMP_AUTO_Q, ch, text))
            return false;
        c.Options.emplace_back(1, text);
        return true;
    case 1:
        if (!UploadRange(c, SCPI_SENS_VOLT_AC_RANG_AUTO_Q, SCPI_SENS_VOLT_AC_RANG_Q) ||
            !QueryDoubleText(tvane::Format(Cmd(SCPI_SENS_VOLT_AC_BAND_Q).c_str(), ch), text))
            return false;
        c.Options.emplace_back(4, text);
        return true;
    case 2:
        if (!UploadRange(c, SCPI_SENS_RES_RANG_AUTO_Q, SCPI_SENS_RES_RANG_Q) ||
            !ParseIntegration(c, SCPI_SENS_RES_NPLC_Q, SCPI_SENS_RES_APER_Q) ||
            !QueryOnOff(SCPI_SENS_RES_OCOM_Q, ch, text))
            return false;
        c.Options.emplace_back(256, text);
        return true;
    case 3:
        if (!UploadRange(c, SCPI_SENS_FRES_RANG_AUTO_Q, SCPI_SENS_FRES_RANG_Q) ||
            !ParseIntegration(c, SCPI_SENS_FRES_NPLC_Q, SCPI_SENS_FRES_APER_Q) ||
            !QueryOnOff(SCPI_SENS_FRES_OCOM_Q, ch, text))
            return false;
        c.Options.emplace_back(256, text);
        return true;
    case 4:
        return UploadFreqPeriod(c, SCPI_SENS_FREQ_VOLT_RANGE_AUTO_Q, SCPI_SENS_FREQ_VOLT_RANG_Q,
                                SCPI_SENS_FREQ_APER_Q);
    case 5:
        return UploadFreqPeriod(c, SCPI_SENS_PER_VOLT_RANGE_AUTO_Q, SCPI_SENS_PER_VOLT_RANG_Q,
                                SCPI_SENS_PER_APER_Q);
    case 6:
        return UploadTemperature(c);
    case 7:
        return UploadRange(c, SCPI_SENS_CURR_DC_RANG_AUTO_Q, SCPI_SENS_CURR_DC_RANG_Q) &&
               ParseIntegration(c, SCPI_SENS_CURR_DC_NPLC_Q, SCPI_SENS_CURR_DC_APER_Q);
    case 8:
        if (!UploadRange(c, SCPI_SENS_CURR_AC_RANG_AUTO_Q, SCPI_SENS_CURR_AC_RANG_Q) ||
            !QueryDoubleText(tvane::Format(Cmd(SCPI_SENS_CURR_AC_BAND_Q).c_str(), ch), text))
            return false;
        c.Options.emplace_back(4, text);
        return true;
    case 9:
        return UploadDigital(c);
    case 11:
    case 12:
        return UploadTotalizer(c);
    default:
        return true;
    }
}

bool CKXQT7100::UploadTemperature(CChannelConfig& c) {
    const int ch = c.Channel;
    std::string type;
    bool ok = QueryString(tvane::Format(Cmd(SCPI_SENS_TEMP_TRAN_TYPE_Q).c_str(), ch), type);
    c.SubType = CChannelConfig::kSubTypeNone;
    if (ok) {
        if (type == DriverText(2032)) {
            std::string letter;
            ok = QueryString(tvane::Format(Cmd(SCPI_SENS_TEMP_TRAN_TC_TYPE_Q).c_str(), ch), letter);
            letter = Upper(letter);
            static const unsigned letters[] = {2035, 2036, 2037, 2038,
                                               2039, 2040, 2041, SCPI_WORD_TC_N};
            for (unsigned i = 0; ok && i < 8; ++i)
                if (letter == DriverText(letters[i]))
                    c.SubType = static_cast<std::uint16_t>(i);
            ok = ok && c.SubType != CChannelConfig::kSubTypeNone;
        } else if (type == DriverText(2034)) {
            std::string kind;
            ok = QueryString(tvane::Format(Cmd(SCPI_SENS_TEMP_TRAN_THER_TYPE_Q).c_str(), ch), kind);
            kind = Upper(kind);
            if (kind.find(DriverText(2042)) != std::string::npos)
                c.SubType = 8;
            else if (kind.find(DriverText(2043)) != std::string::npos)
                c.SubType = 9;
            else if (kind.find(DriverText(2044)) != std::string::npos)
                c.SubType = 10;
            ok = ok && c.SubType != CChannelConfig::kSubTypeNone;
        } else if (type == DriverText(2045)) {
            c.SubType = 11;
        } else if (type == DriverText(2046)) {
            c.SubType = 12;
        } else {
            ok = false;
        }
    }
    c.Range.clear();
    c.RangeLow.clear();
    if (!ok)
        return false;
    std::string text;
    if (!ParseIntegration(c, SCPI_SENS_TEMP_NPLC_Q, SCPI_SENS_TEMP_APER_Q) ||
        !QueryString(tvane::Format(Cmd(SCPI_UNIT_TEMP_Q).c_str(), ch), text))
        return false;
    c.Options.emplace_back(8, text);
    if (c.SubType <= 7) {
        if (!QueryOnOff(SCPI_SENS_TEMP_TRAN_TC_CHEC_Q, ch, text))
            return false;
        c.Options.emplace_back(16, text);
        std::string junction;
        if (!QueryString(tvane::Format(Cmd(SCPI_SENS_TEMP_TRAN_TC_RJUN_TYPE_Q).c_str(), ch),
                         junction))
            return false;
        c.Options.emplace_back(1024, junction);
        if (junction == DriverText(2055)) {
            if (!QueryDoubleText(tvane::Format(Cmd(SCPI_SENS_TEMP_TRAN_TC_RJUN_Q).c_str(), ch),
                                 text))
                return false;
            c.Options.emplace_back(2048, text);
        }
    } else if (c.SubType == 11 || c.SubType == 12) {
        bool four = c.SubType == 12;
        if (!QueryLongText(tvane::Format(Cmd(four ? SCPI_SENS_TEMP_TRAN_FRTD_TYPE_Q
                                                  : SCPI_SENS_TEMP_TRAN_RTD_TYPE_Q)
                                             .c_str(),
                                         ch),
                           text))
            return false;
        c.Options.emplace_back(32, text);
        if (!QueryDoubleText(tvane::Format(Cmd(four ? SCPI_SENS_TEMP_TRAN_FRTD_RES_Q
                                                    : SCPI_SENS_TEMP_TRAN_RTD_RES_Q)
                                               .c_str(),
                                           ch),
                             text))
            return false;
        c.Options.emplace_back(64, text);
    }
    return true;
}

bool CKXQT7100::ReadPattern(std::int16_t channel, std::string& pattern) {
    std::uint8_t data = 0, mask = 0;
    if (!QueryByte(tvane::Format(Cmd(SCPI_CALC_COMP_DATA_Q).c_str(), static_cast<int>(channel)),
                   data) ||
        !QueryByte(tvane::Format(Cmd(SCPI_CALC_COMP_MASK_Q).c_str(), static_cast<int>(channel)),
                   mask)) {
        pattern.clear();
        return false;
    }
    pattern = MakeDigitalPattern(data, mask);
    return true;
}

std::string CKXQT7100::MakeDigitalPattern(int data, int mask) {
    std::string pattern(8, '0');
    for (int i = 0; i < 8; ++i) {
        char& c = pattern[static_cast<std::size_t>(7 - i)];
        if (!(mask & (1 << i)))
            c = 'X';
        else if (data & (1 << i))
            c = '1';
    }
    return pattern;
}

bool CKXQT7100::UploadDigital(CChannelConfig& c) {
    const int ch = c.Channel;
    c.Range.clear();
    c.RangeLow.clear();
    int state = 0;
    if (!QueryInt(tvane::Format(Cmd(SCPI_CALC_COMP_STAT_Q).c_str(), ch), state))
        return false;
    c.AlarmMode = 0;
    if (state) {
        std::string type;
        if (!QueryString(tvane::Format(Cmd(SCPI_CALC_COMP_TYPE_Q).c_str(), ch), type))
            return false;
        c.AlarmMode = type == DriverText(1030) ? 4 : type == DriverText(1031) ? 5 : 0;
    }
    if (!ReadPattern(c.Channel, c.HighLimit))
        return false;
    c.LowLimit.clear();
    return true;
}

bool CKXQT7100::UploadTotalizer(CChannelConfig& c) {
    const int ch = c.Channel;
    c.Range.clear();
    c.RangeLow.clear();
    c.LowLimit.clear();
    if (!QueryDoubleText(tvane::Format(Cmd(SCPI_CALC_LIM_UPP_Q).c_str(), ch), c.HighLimit))
        return false;
    int upper = 0;
    if (!QueryInt(tvane::Format(Cmd(SCPI_CALC_LIM_UPP_STAT_Q).c_str(), ch), upper))
        return false;
    c.AlarmMode = upper ? 2 : 0;
    std::string slope;
    if (!QueryString(tvane::Format(Cmd(SCPI_SENS_TOT_SLOP_Q).c_str(), ch), slope))
        return false;
    c.Options.emplace_back(4096, slope);
    return true;
}

bool CKXQT7100::UploadScaling(CChannelConfig& c) {
    const int ch = c.Channel;
    int on = 0;
    if (!QueryInt(tvane::Format(Cmd(SCPI_CALC_SCAL_STAT_Q).c_str(), ch), on))
        return false;
    c.ScalingOn = on;
    return QueryDoubleText(tvane::Format(Cmd(SCPI_CALC_SCAL_GAIN_Q).c_str(), ch), c.Gain) &&
           QueryDoubleText(tvane::Format(Cmd(SCPI_CALC_SCAL_OFFS_Q).c_str(), ch), c.Offset);
}

bool CKXQT7100::UploadLimits(CChannelConfig& c) {
    const int ch = c.Channel;
    if (!QueryDoubleText(tvane::Format(Cmd(SCPI_CALC_LIM_LOW_Q).c_str(), ch), c.LowLimit) ||
        !QueryDoubleText(tvane::Format(Cmd(SCPI_CALC_LIM_UPP_Q).c_str(), ch), c.HighLimit))
        return false;
    int low = 0, high = 0;
    if (!QueryInt(tvane::Format(Cmd(SCPI_CALC_LIM_LOW_STAT_Q).c_str(), ch), low) ||
        !QueryInt(tvane::Format(Cmd(SCPI_CALC_LIM_UPP_STAT_Q).c_str(), ch), high))
        return false;
    c.AlarmMode = low && high ? 3 : low ? 1 : high ? 2 : 0;
    return true;
}

bool CKXQT7100::UploadDelay(CChannelConfig& c) {
    const int ch = c.Channel;
    int automatic = 0;
    if (!QueryInt(tvane::Format(Cmd(SCPI_ROUT_CHAN_DEL_AUTO_Q).c_str(), ch), automatic))
        return false;
    if (automatic) {
        c.Options.emplace_back(512, DriverText(1014));
        return true;
    }
    std::string delay;
    if (!QueryDoubleText(tvane::Format(Cmd(SCPI_ROUT_CHAN_DEL_Q).c_str(), ch), delay))
        return false;
    c.Options.emplace_back(512, delay);
    return true;
}

} // namespace tvane::driver
