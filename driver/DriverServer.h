#pragma once
#include <functional>

#include "platform/com/ComObject.h"

namespace tvane::driver {

// The in-process server of the driver: its module object with the classes
// "InstDriver.Drv32" and "KXQT7100.Drv32" behind the library's exports.
ServerModule& DriverServerModule();

// How a driver object creates the communications control inside itself: outer
// is the driver's controlling unknown, inner receives the control's
// non-delegating unknown. By default the control is activated through the
// registry (CoCreateInstance); tests put an in-process control in its place.
using ControlCreator = std::function<HRESULT(IUnknown* outer, IUnknown** inner)>;
ControlCreator SetControlCreator(ControlCreator creator);

// Shows the instrument settings sheet; installed by the program that has a user
// interface. Without one the driver has no sheet to show.
class ISettingsPresenter {
public:
    virtual ~ISettingsPresenter() = default;
    virtual bool Show(class CKXQT7100& driver, void* parent) = 0;
};
void SetSettingsPresenter(ISettingsPresenter* presenter);
ISettingsPresenter* SettingsPresenter();

} // namespace tvane::driver
