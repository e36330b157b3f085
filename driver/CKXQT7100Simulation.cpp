#include <cstdlib>

#include "driver/CKXQT7100.h"
#include "platform/core/Clock.h"

namespace tvane::driver {

double CKXQT7100::Draw() {
    // Scaled by the library's own maximum so every draw stays within 0..1.
    return static_cast<double>(std::rand()) / RAND_MAX;
}

void CKXQT7100::GetDefaultRange(int function, double& low, double& high) {
    switch (function) {
    case 0:
        low = -10.0, high = 10.0;
        break;
    case 1:
        low = 0.0, high = 10.0;
        break;
    case 2:
    case 3:
    case 4:
        low = 0.0, high = 1000.0;
        break;
    case 6:
        low = -10.0, high = 30.0;
        break;
    case 7:
        low = -1.0, high = 1.0;
        break;
    default:
        low = 0.0, high = 1.0;
        break;
    }
}

std::uint8_t CKXQT7100::EvaluateAlarm(const CChannelConfig& config, double value) {
    double low = std::atof(config.LowLimit.c_str());
    double high = std::atof(config.HighLimit.c_str());
    if ((config.AlarmMode == 1 || config.AlarmMode == 3) && value <= low)
        return 1;
    if ((config.AlarmMode == 2 || config.AlarmMode == 3) && value >= high)
        return 2;
    return 0;
}

bool CKXQT7100::SimulateReading(const CChannelConfig& c, ReadingRecord& record) {
    double value = 0.0;
    std::uint8_t alarm = 0;
    switch (c.ModuleType) {
    case 0:
    case 1:
    case 7: {
        double low, high;
        if (c.Range != "Auto" && c.Function != CChannelConfig::kFunctionTemperature) {
            low = std::atof(c.RangeLow.c_str());
            high = std::atof(c.Range.c_str());
        } else {
            GetDefaultRange(c.Function, low, high);
        }
        value = low + Draw() * (high - low);
        if (c.ScalingOn)
            value = std::atof(c.Offset.c_str()) + std::atof(c.Gain.c_str()) * value;
        alarm = EvaluateAlarm(c, value);
        break;
    }
    case 6:
        if (c.Function == 9) {
            value = Draw() * 255;
            alarm = EvaluateAlarm(c, value);
        } else if (c.Function == 11 || c.Function == 12) {
            if (Draw() > 0.5)
                ++m_totalizer;
            value = m_totalizer;
            alarm = EvaluateAlarm(c, value);
            if (alarm != 0 && c.Function == 12)
                m_totalizer = 0;
        } else {
            return false;
        }
        break;
    default:
        return false;
    }
    record.ScanNumber = m_scanCounter;
    record.Channel = c.Channel;
    record.AlarmState = alarm;
    // Elapsed ticks by unsigned difference, so the tick wrap does not turn
    // times negative.
    std::uint32_t start = static_cast<std::uint32_t>(static_cast<std::int64_t>(m_simStartTime));
    record.Time = static_cast<double>(static_cast<std::uint32_t>(Clock().TickCount() - start));
    record.Value = value;
    return true;
}

std::int32_t CKXQT7100::SimulateReadings(ReadingRecord* buffer, std::int32_t capacity) {
    if (!m_timer.Elapsed(Clock().TickCount()))
        return 0;
    ++m_scanCounter;
    std::int32_t written = 0;
    for (std::int16_t channel : m_channelArray) {
        if (written >= capacity)
            break;
        const CChannelConfig* c = StoredConfig(channel);
        if (!c || !c->InScanList)
            continue;
        if (SimulateReading(*c, buffer[written]))
            ++written;
    }
    if (m_scanCountLimit > 0 && m_scanCounter - 1 >= m_scanCountLimit) {
        m_scanning = false;
        return 0;
    }
    return written;
}

bool CKXQT7100::GetStartTickCount(double* out) {
    m_simStartTime = static_cast<double>(Clock().TickCount());
    if (out)
        *out = 0.0;
    return true;
}

} // namespace tvane::driver
