#include "driver/DriverServer.h"

#include "driver/CKXQT7100Object.h"

namespace tvane::driver {

namespace {
ServerModule& MakeModule() {
    static ServerModule module;
    ServerModule* m = &module;
    ClassRegistration generic;
    generic.clsid = CLSID_InstDriver;
    generic.progId = kInstDriverProgId;
    generic.description = "InstDriver";
    m->AddClass(generic, &CreateComInstance<CInstDriverObject>);
    ClassRegistration kx;
    kx.clsid = CLSID_KXQT7100;
    kx.progId = kKXQT7100ProgId;
    kx.description = "KXQT7100";
    m->AddClass(kx, &CreateComInstance<CKXQT7100Object>);
    return module;
}
} // namespace

ServerModule& DriverServerModule() {
    static ServerModule& module = MakeModule();
    return module;
}

} // namespace tvane::driver
