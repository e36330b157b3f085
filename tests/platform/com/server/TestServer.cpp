// The in-process server of the tests: one class, registered under a ProgID.
#include "tests/platform/com/server/TestObject.h"

namespace {

tvane::ServerModule g_module;

class CServerTestObject final : public CTestObject {
public:
    explicit CServerTestObject(IUnknown* outer) : CTestObject(outer, &g_module) {}
};

const bool g_registered = [] {
    tvane::ClassRegistration reg;
    reg.clsid = CLSID_TestObject;
    reg.progId = kTestProgId;
    reg.description = "Tvane.ComTest";
    g_module.AddClass(reg, &tvane::CreateComInstance<CServerTestObject>);
    return true;
}();

} // namespace

TVANE_COM_SERVER_EXPORTS(g_module)
