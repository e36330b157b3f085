#include "driver/CAlarmSettingsModel.h"

#include "driver/CKXQT7100.h"
#include "driver/DriverStrings.h"
#include "platform/core/Format.h"

namespace tvane::driver {

std::vector<std::string> CAlarmSettingsModel::OutputEntries() {
    std::vector<std::string> out;
    for (int output = 1; output <= 4; ++output)
        out.push_back(tvane::Format(DriverText(1024).c_str(), output));
    out.push_back(DriverText(1026));
    return out;
}

void CAlarmSettingsModel::Clear(int row) {
    if (row >= 0)
        m_driver.ClearAlarmOutput(static_cast<std::int16_t>(row + 1));
}

bool CAlarmSettingsModel::Latched() const {
    return m_driver.AlarmLatched();
}

bool CAlarmSettingsModel::PolarityHigh() const {
    return m_driver.AlarmPolarityHigh();
}

void CAlarmSettingsModel::SetLatched(bool latched) {
    if (latched == Latched())
        return;
    if (latched)
        m_driver.SetAlarmOutputLatched();
    else
        m_driver.SetAlarmOutputTracking();
}

void CAlarmSettingsModel::SetPolarityHigh(bool high) {
    if (high == PolarityHigh())
        return;
    if (high)
        m_driver.SetHighAlarmPolarity();
    else
        m_driver.SetLowAlarmPolarity();
}

} // namespace tvane::driver
