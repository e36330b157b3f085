// The exports of Linkwell.so, the communications control's in-process server.
#include "comm/LinkwellServer.h"
#include "platform/com/Guid.h"
#ifdef TVANE_COMM_SHEET
#include "comm/sheet/SettingsDialogPresenter.h"
#endif

using tvane::comm::LinkwellServerModule;

#ifdef TVANE_COMM_SHEET
namespace {
// Loaded into a program with windows, the transports show their settings dialogs;
// loaded headless (registration, tests) they have none. The dialogs live in this
// module, so they are taken back when it is unloaded.
struct SettingsDialogs {
    SettingsDialogs() : installed(tvane::comm::InstallSettingsDialogs()) {}
    ~SettingsDialogs() {
        if (installed)
            tvane::comm::RemoveSettingsDialogs();
    }
    bool installed;
} g_settingsDialogs;
} // namespace
#endif

extern "C" __attribute__((visibility("default"))) HRESULT
DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return LinkwellServerModule().GetClassObject(clsid, iid, object);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return LinkwellServerModule().CanUnloadNow();
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    // Register this file, wherever the module object itself lives.
    LinkwellServerModule().SetModuleAddress(reinterpret_cast<const void*>(&DllGetClassObject));
    return tvane::comm::LinkwellRegisterServer();
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return tvane::comm::LinkwellUnregisterServer();
}
