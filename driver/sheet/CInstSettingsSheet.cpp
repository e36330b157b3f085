#include "driver/sheet/CInstSettingsSheet.h"

#include "driver/CKXQT7100.h"
#include "driver/DriverStrings.h"
#include "driver/sheet/CAlarmSettingsPage.h"
#include "driver/sheet/CGeneralPage.h"
#include "driver/sheet/CInstStatePage.h"

namespace tvane::driver {

CInstSettingsSheet::CInstSettingsSheet(CKXQT7100& driver, QWidget* parent)
    : PropertySheet(QString::fromUtf8(DriverText(1020).c_str()), parent), m_driver(driver),
      m_state(new CInstStatePage(driver)), m_alarm(new CAlarmSettingsPage(driver)),
      m_general(new CGeneralPage(driver)) {
    AddPage(m_state);
    AddPage(m_alarm);
    AddPage(m_general);
    SetStartPage(driver.LastSettingsPage());
}

int CInstSettingsSheet::Run() {
    const int result = exec();
    if (result == QDialog::Accepted && LastActiveIndex() >= 0)
        m_driver.SetLastSettingsPage(LastActiveIndex());
    return result;
}

} // namespace tvane::driver
