// The exports of Linkwell.so, the communications control's in-process server.
#include "comm/LinkwellServer.h"
#include "platform/com/Guid.h"

using tvane::comm::LinkwellServerModule;

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
