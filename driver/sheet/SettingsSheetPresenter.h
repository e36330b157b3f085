#pragma once
#include "driver/DriverServer.h"

namespace tvane::driver {

// Shows the instrument settings sheet modally over parent (a QWidget*, or null
// for none). Needs a QApplication; without one nothing is shown.
class SettingsSheetPresenter final : public ISettingsPresenter {
public:
    bool Show(CKXQT7100& driver, void* parent) override;
};

// Installs the presenter when the process has a QApplication (a program with a
// user interface); returns whether it did.
bool InstallSettingsSheet();

} // namespace tvane::driver
