#include "driver/sheet/SettingsSheetPresenter.h"

#include <QApplication>
#include <QWidget>

#include "driver/sheet/CInstSettingsSheet.h"

namespace tvane::driver {

namespace {
bool HasWidgets() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}
} // namespace

bool SettingsSheetPresenter::Show(CKXQT7100& driver, void* parent) {
    if (!HasWidgets())
        return false;
    CInstSettingsSheet sheet(driver, static_cast<QWidget*>(parent));
    sheet.Run();
    return true;
}

bool InstallSettingsSheet() {
    if (!HasWidgets())
        return false;
    static SettingsSheetPresenter presenter;
    SetSettingsPresenter(&presenter);
    return true;
}

} // namespace tvane::driver
