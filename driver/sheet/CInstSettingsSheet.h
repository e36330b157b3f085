#pragma once
#include "platform/sheet/PropertySheet.h"

namespace tvane::driver {

class CKXQT7100;
class CInstStatePage;
class CAlarmSettingsPage;
class CGeneralPage;

// "OrvantaQT7100 Instrument Settings": the "Store/Recall", "Alarm Out" and
// "Utility" pages over one driver, opening on the page the driver remembers.
class CInstSettingsSheet final : public PropertySheet {
public:
    explicit CInstSettingsSheet(CKXQT7100& driver, QWidget* parent = nullptr);

    CInstStatePage* StatePage() const { return m_state; }
    CAlarmSettingsPage* AlarmPage() const { return m_alarm; }
    CGeneralPage* GeneralPage() const { return m_general; }

    // Runs the sheet modally; on OK the driver keeps the page that was active.
    // Returns the dialog's result.
    int Run();

private:
    CKXQT7100& m_driver;
    CInstStatePage* m_state;
    CAlarmSettingsPage* m_alarm;
    CGeneralPage* m_general;
};

} // namespace tvane::driver
