#pragma once
#include <string>
#include <vector>

namespace tvane::driver {

class CKXQT7100;

// What the "Alarm Out" page shows and sends: the alarm outputs to clear and the
// output mode and polarity, kept in the driver between showings.
class CAlarmSettingsModel {
public:
    explicit CAlarmSettingsModel(CKXQT7100& driver) : m_driver(driver) {}

    // "Alarm 1" .. "Alarm 4", "All".
    static std::vector<std::string> OutputEntries();
    // Clears the output of row 0-3, or every output for row 4.
    void Clear(int row);

    bool Latched() const;
    bool PolarityHigh() const;
    // Each sends its command only when the choice differs from the current one.
    void SetLatched(bool latched);
    void SetPolarityHigh(bool high);

private:
    CKXQT7100& m_driver;
};

} // namespace tvane::driver
