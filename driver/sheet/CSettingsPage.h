#pragma once
#include "platform/sheet/PropertyPage.h"

namespace tvane::driver {

class CKXQT7100;

// What every page of the settings sheet shares: the driver, and the look set
// when the page is built (the dialog font, OK hidden, Cancel named "Close").
class CSettingsPage : public PropertyPage {
public:
    CSettingsPage(const QString& title, CKXQT7100& driver)
        : PropertyPage(title), m_driver(driver) {}

protected:
    // Builds the controls, then gives the page and the sheet their look.
    void OnInitPage() final;
    virtual void BuildPage() = 0;
    CKXQT7100& Driver() const { return m_driver; }

private:
    CKXQT7100& m_driver;
};

} // namespace tvane::driver
