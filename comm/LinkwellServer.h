#pragma once
#include "platform/com/ComObject.h"

namespace tvane::comm {

// The in-process server of the control: its module object with the one class
// "LinkwellCtrl", and the self-registration behind the library's exports.
ServerModule& LinkwellServerModule();

// Type library, class (with its component categories) and the control's private
// registry key, in this order; the first failure ends it with its own code:
// SELFREG_E_TYPELIB, SELFREG_E_CLASS or 0x800A03E8. Registering tells the user
// which step failed; unregistering shows nothing.
HRESULT LinkwellRegisterServer();
HRESULT LinkwellUnregisterServer();

inline constexpr HRESULT kPrivateRegistryFailed = static_cast<HRESULT>(0x800A03E8);

} // namespace tvane::comm
