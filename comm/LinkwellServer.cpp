#include "comm/LinkwellServer.h"

#include "comm/CCommCtrlObject.h"
#include "comm/CommStrings.h"
#include "comm/IDualComm.h"
#include "comm/LastInterface.h"
#include "platform/com/Registration.h"
#include "platform/ui/Prompter.h"

namespace tvane::comm {
namespace {

constexpr DWORD kMiscStatus = 0x20491; // set client site first, invisible at run time,
                                       // inside-out, can't link inside, recompose on resize
constexpr LCID kEnglish = 0x409;
constexpr CATID CATID_SafeForScripting = MakeGuid("{7DD95801-9882-11CF-9FA9-00AA006C42C4}");
constexpr CATID CATID_SafeForInitializing = MakeGuid("{7DD95802-9882-11CF-9FA9-00AA006C42C4}");

ServerModule& MakeModule() {
    static ServerModule module;
    ClassRegistration reg;
    reg.clsid = CLSID_LinkwellCtrl;
    reg.progId = kLinkwellProgId;
    reg.description = LoadResString(IDS_CONTROL_NAME);
    reg.threadingModel = "Apartment";
    reg.control = true;
    reg.insertable = true;
    reg.miscStatus = kMiscStatus;
    reg.toolboxBitmap = 1;
    reg.typeLib = LIBID_QMComm;
    reg.typeLibVersion = "1.0";
    module.AddClass(reg, &CreateComInstance<CCommCtrlObject>, true);
    return module;
}

HRESULT RegisterTypeLibrary(ServerModule& module) {
    TypeLibRegistration lib;
    lib.libid = LIBID_QMComm;
    lib.majorVersion = 1;
    lib.minorVersion = 0;
    lib.name = "QMComm";
    lib.path = module.ModulePath();
    lib.interfaces = {{IID_IDualComm, "IDualComm"},
                      {DIID__DLinkwell, "_DLinkwell"},
                      {DIID__DLinkwellEvents, "_DLinkwellEvents"}};
    return RegisterTypeLib(lib);
}

bool RegisterCategories() {
    return SUCCEEDED(RegisterCategory(CATID_SafeForScripting, kEnglish,
                                      "Controls that are safely scriptable")) &&
           SUCCEEDED(RegisterClassImplCategories(CLSID_LinkwellCtrl, {CATID_SafeForScripting})) &&
           SUCCEEDED(RegisterCategory(CATID_SafeForInitializing, kEnglish,
                                      "Controls safely initializable from persistent data")) &&
           SUCCEEDED(RegisterClassImplCategories(CLSID_LinkwellCtrl, {CATID_SafeForInitializing}));
}

bool UnregisterCategories() {
    const bool scripting =
        SUCCEEDED(UnRegisterClassImplCategories(CLSID_LinkwellCtrl, {CATID_SafeForScripting}));
    const bool initializing =
        SUCCEEDED(UnRegisterClassImplCategories(CLSID_LinkwellCtrl, {CATID_SafeForInitializing}));
    return scripting && initializing;
}

} // namespace

ServerModule& LinkwellServerModule() {
    static ServerModule& module = MakeModule();
    return module;
}

HRESULT LinkwellRegisterServer() {
    ServerModule& module = LinkwellServerModule();
    if (FAILED(RegisterTypeLibrary(module))) {
        ShowMessage("AfxOleRegisterTypeLib failed in Linkwell.ocx");
        return SELFREG_E_TYPELIB;
    }
    if (FAILED(module.RegisterServer()) || !RegisterCategories()) {
        ShowMessage("UpdateRegistryAll failed in Linkwell.ocx");
        return SELFREG_E_CLASS;
    }
    if (!UpdatePrivateRegistry(true)) {
        ShowMessage("UpdatePrivateRegistry failed in Linkwell.ocx");
        return kPrivateRegistryFailed;
    }
    return S_OK;
}

HRESULT LinkwellUnregisterServer() {
    ServerModule& module = LinkwellServerModule();
    if (FAILED(UnRegisterTypeLib(LIBID_QMComm, 1, 0)))
        return SELFREG_E_TYPELIB;
    if (FAILED(module.UnregisterServer()) || !UnregisterCategories())
        return SELFREG_E_CLASS;
    if (!UpdatePrivateRegistry(false))
        return kPrivateRegistryFailed;
    return S_OK;
}

} // namespace tvane::comm
