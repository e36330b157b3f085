#include "comm/CCommCtrlObject.h"
#include "comm/ICommSetupSheet.h"
#include "comm/IDualComm.h"
#include "comm/LastInterface.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "platform/com/Com.h"
#include "platform/registry/Registry.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tvane::comm {
namespace {

using Script = ScriptedTransport::Script;

const std::string kLibrary = std::string(TVANE_BINARY_DIR) + "/bin/Linkwell.so";
const std::string kClsidKey = "CLSID\\" + GuidToString(CLSID_LinkwellCtrl);

// Calls one export of Linkwell.so.
HRESULT CallExport(const char* name) {
    DynamicLibrary library(kLibrary);
    EXPECT_TRUE(library.IsLoaded()) << library.ErrorText();
    auto fn = reinterpret_cast<DllRegisterServerFunction>(library.Symbol(name));
    EXPECT_NE(fn, nullptr) << name;
    return fn ? fn() : E_FAIL;
}

// An in-process control of this test's own copy of the library, so that the
// scripted transports the test installs are the ones it uses.
ComPtr<IDualComm> NewControl() {
    ComPtr<IDualComm> comm;
    EXPECT_EQ(CreateComInstance<CCommCtrlObject>(nullptr, IID_IDualComm, comm.OutVoid()), S_OK);
    return comm;
}

std::string Text(const Bstr& b) {
    return b.Utf8();
}

// An outer object that aggregates the control, as the instrument driver does.
class Outer final : public ComObjectRoot, public IDispatch {
public:
    explicit Outer(IUnknown* outer) : ComObjectRoot(outer, &LinkwellServerModuleForTests()) {}
    TVANE_COM_DELEGATING_IUNKNOWN
    HRESULT FinalConstruct() override {
        IUnknown* inner = nullptr;
        const HRESULT hr =
            fromRegistry
                ? CoCreateInstance(CLSID_LinkwellCtrl, ControllingUnknown(), CLSCTX_INPROC_SERVER,
                                   IID_IUnknown, reinterpret_cast<void**>(&inner))
                : CreateComInstance<CCommCtrlObject>(ControllingUnknown(), IID_IUnknown,
                                                     reinterpret_cast<void**>(&inner));
        if (FAILED(hr))
            return hr;
        SetAggregate(inner);
        return QueryAggregateInterface(IID_IDualComm, reinterpret_cast<void**>(&comm));
    }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    IDualComm* comm = nullptr;
    // Creates the control through the registry (Linkwell.so) instead of this test's
    // own copy.
    static inline bool fromRegistry = false;

protected:
    IUnknown* GetInterface(REFIID iid) override {
        return iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }
    void FinalRelease() override {
        IUnknown* cached = comm;
        ReleaseAggregateInterface(cached);
    }

private:
    static ServerModule& LinkwellServerModuleForTests() {
        static ServerModule module;
        return module;
    }
};

class ComSurfaceTest : public ::tvane::test::TempHomeTest {
protected:
    std::shared_ptr<Script> script = std::make_shared<Script>();
    ScopedTransportCreator wenx{
        4, [this](int32_t type) { return std::make_unique<ScriptedTransport>(script, type); }};
    void SetUp() override { script->On("*IDN?", "ORVANTA,QT7100,0,1.2"); }
};

TEST_F(ComSurfaceTest, RegistersCreatesByClsidAndProgIdAndUnregisters) {
    ASSERT_EQ(CallExport("DllRegisterServer"), S_OK);
    EXPECT_EQ(RegGetString(RegHive::ClassesRoot, kClsidKey, ""), "QMComm Control");
    EXPECT_EQ(RegGetString(RegHive::ClassesRoot, kClsidKey + "\\InprocServer32", ""), kLibrary);
    EXPECT_EQ(RegGetString(RegHive::ClassesRoot, "LinkwellCtrl\\CLSID", ""),
              GuidToString(CLSID_LinkwellCtrl));
    EXPECT_TRUE(
        RegKeyExists(RegHive::ClassesRoot, "TypeLib\\" + GuidToString(LIBID_QMComm) + "\\1.0"));
    EXPECT_TRUE(RegKeyExists(RegHive::ClassesRoot, kClsidKey +
                                                       "\\Implemented Categories\\"
                                                       "{7DD95801-9882-11CF-9FA9-00AA006C42C4}"));
    EXPECT_TRUE(RegKeyExists(RegHive::ClassesRoot, kClsidKey +
                                                       "\\Implemented Categories\\"
                                                       "{7DD95802-9882-11CF-9FA9-00AA006C42C4}"));
    EXPECT_EQ(RegGetDword(RegHive::CurrentUser, kLinkwellKey, "LastInterface"), 0u);

    // A later registration keeps the interface a search chose meanwhile.
    ASSERT_TRUE(WriteLastInterface(3));
    ASSERT_EQ(CallExport("DllRegisterServer"), S_OK);
    EXPECT_EQ(ReadLastInterface(), 3);

    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID("LinkwellCtrl", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_LinkwellCtrl);
    {
        ComPtr<IDualComm> comm;
        ASSERT_EQ(
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDualComm, comm.OutVoid()),
            S_OK);
        EXPECT_EQ(comm->GetInterfaceTypeValue(), 3);
        Bstr version;
        EXPECT_EQ(comm->get_Version(version.Out()), S_OK);
        EXPECT_EQ(Text(version), "1.1");
        ComPtr<ISupportErrorInfo> support;
        ASSERT_EQ(comm.As(support), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDualComm), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(DIID__DLinkwell), S_FALSE);
    }
    {
        // As the instrument driver creates it: an aggregated inner object.
        Outer::fromRegistry = true;
        ComPtr<IUnknown> outer;
        const HRESULT hr = CreateComInstance<Outer>(nullptr, IID_IUnknown, outer.OutVoid());
        Outer::fromRegistry = false;
        ASSERT_EQ(hr, S_OK);
        ComPtr<IDualComm> comm;
        ASSERT_EQ(outer.As(comm), S_OK);
        EXPECT_EQ(comm->GetInterfaceTypeValue(), 3);
        ComPtr<IUnknown> identity;
        ASSERT_EQ(comm->QueryInterface(IID_IUnknown, identity.OutVoid()), S_OK);
        EXPECT_EQ(identity.Get(), outer.Get());
        void* p = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_LinkwellCtrl, outer.Get(), CLSCTX_INPROC_SERVER,
                                   IID_IDualComm, &p),
                  CLASS_E_NOAGGREGATION);
    }
    CoFreeUnusedLibraries();

    ASSERT_EQ(CallExport("DllUnregisterServer"), S_OK);
    EXPECT_FALSE(RegKeyExists(RegHive::ClassesRoot, kClsidKey));
    EXPECT_FALSE(RegKeyExists(RegHive::CurrentUser, kLinkwellKey));
    EXPECT_EQ(CLSIDFromProgID("LinkwellCtrl", &clsid), CO_E_CLASSSTRING);
    // Nothing left to remove: the type library step fails first, silently.
    EXPECT_EQ(CallExport("DllUnregisterServer"), SELFREG_E_TYPELIB);
    EXPECT_EQ(CallExport("DllCanUnloadNow"), S_OK);
}

TEST_F(ComSurfaceTest, AnOuterObjectAggregatesTheControl) {
    ComPtr<IUnknown> outer;
    ASSERT_EQ(CreateComInstance<Outer>(nullptr, IID_IUnknown, outer.OutVoid()), S_OK);
    ComPtr<IDualComm> comm;
    ASSERT_EQ(outer.As(comm), S_OK);
    EXPECT_EQ(comm->GetInterfaceTypeValue(), 0);
    // The control's interfaces answer for the outer object's identity.
    ComPtr<IUnknown> identity;
    ASSERT_EQ(comm->QueryInterface(IID_IUnknown, identity.OutVoid()), S_OK);
    EXPECT_EQ(identity.Get(), outer.Get());
    ComPtr<IDispatch> outerDispatch;
    ASSERT_EQ(comm->QueryInterface(IID_IDispatch, outerDispatch.OutVoid()), S_OK);
    UINT count = 7;
    EXPECT_EQ(outerDispatch->GetTypeInfoCount(&count), E_NOTIMPL); // the outer's own
    // Aggregating an object asks for IUnknown only.
    void* p = nullptr;
    EXPECT_EQ(CreateComInstance<CCommCtrlObject>(outer.Get(), IID_IDualComm, &p),
              CLASS_E_NOAGGREGATION);
}

TEST_F(ComSurfaceTest, PropertiesAndInterfaceSelectionThroughTheVtable) {
    auto comm = NewControl();
    SHORT type = -9;
    EXPECT_EQ(comm->get_InterfaceType(&type), S_OK);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(comm->put_InterfaceType(4), S_OK);
    BSTR raw = BstrFromUtf8("the caller's own, reallocated in place");
    EXPECT_EQ(comm->get_InterfaceName(&raw), S_OK);
    EXPECT_EQ(Utf8FromBstr(raw), "WENX");
    EXPECT_EQ(comm->put_InterfaceType(1), S_OK);
    EXPECT_EQ(comm->get_InterfaceName(&raw), S_OK);
    EXPECT_EQ(Utf8FromBstr(raw), "UNKNOWN");
    SysFreeString(raw);

    Bstr controller("GPIB7");
    EXPECT_EQ(comm->put_ControllerName(controller.Get()), S_OK);
    Bstr got;
    EXPECT_EQ(comm->get_ControllerName(got.Out()), S_OK);
    EXPECT_EQ(Text(got), "GPIB7");
    EXPECT_EQ(comm->put_Address(12), S_OK);
    SHORT address = 0;
    EXPECT_EQ(comm->get_Address(&address), S_OK);
    EXPECT_EQ(address, 12);
    EXPECT_EQ(comm->put_Exclusive(-1), S_OK);
    SHORT exclusive = 0;
    EXPECT_EQ(comm->get_Exclusive(&exclusive), S_OK);
    EXPECT_EQ(exclusive, -1);
    Bstr id, files;
    EXPECT_EQ(comm->get_InstID(id.Out()), S_OK);
    EXPECT_EQ(Text(id), "None");
    EXPECT_EQ(comm->get_Files(files.Out()), S_OK);
    EXPECT_EQ(Text(files), "Linkwell.ocx");
    EXPECT_EQ(comm->get_InterfaceType(nullptr), E_POINTER);

    // Time-outs without a link: nothing is written.
    LONG ms = 42;
    EXPECT_EQ(comm->put_CommTimeout(100), S_OK);
    EXPECT_EQ(comm->get_CommTimeout(&ms), S_OK);
    EXPECT_EQ(ms, 42);
}

// Invoke with positional arguments given in declaration order.
HRESULT Call(IDispatch* d, DISPID id, WORD flags, std::vector<Variant> args, Variant* result,
             EXCEPINFO* info = nullptr) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params;
    params.rgvarg = reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    EXCEPINFO local;
    UINT argError = 0;
    const HRESULT hr =
        d->Invoke(id, IID_NULL, 0, flags, &params, result, info ? info : &local, &argError);
    if (!info)
        ClearExcepInfo(&local);
    return hr;
}

TEST_F(ComSurfaceTest, DispatchInterfaceAnswersDispids1To21) {
    auto comm = NewControl();
    IDispatch* d = comm.Get();
    const char16_t* names[] = {
        u"InstID",          u"InterfaceType", u"ControllerName",  u"Address",    u"Exclusive",
        u"InterfaceName",   u"Version",       u"CommTimeout",     u"LanTimeout", u"PollTimeout",
        u"Files",           u"Properties",    u"Close",           u"SendMsg",    u"RecvMsg",
        u"IsMsgAvailable",  u"Search",        u"ClearInstrument", u"Open",       u"SendQuery",
        u"IsValidInterface"};
    for (DISPID expected = 1; expected <= 21; ++expected) {
        LPOLESTR name = const_cast<LPOLESTR>(names[expected - 1]);
        DISPID id = 0;
        ASSERT_EQ(d->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
        EXPECT_EQ(id, expected);
    }

    Variant result;
    EXPECT_EQ(Call(d, DISPID_LW_InterfaceType, DISPATCH_PROPERTYPUT, {Variant(SHORT{5})}, nullptr),
              S_OK);
    EXPECT_EQ(Call(d, DISPID_LW_InterfaceName, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.ToString(), "WENXLAN");
    EXCEPINFO info;
    EXPECT_EQ(
        Call(d, DISPID_LW_InterfaceName, DISPATCH_PROPERTYPUT, {Variant("X")}, nullptr, &info),
        DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, static_cast<SCODE>(0x800A017F));
    ClearExcepInfo(&info);
    result.Clear();
    EXPECT_EQ(Call(d, DISPID_LW_CommTimeout, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.ToI4(), -1);
    result.Clear();
    EXPECT_EQ(Call(d, DISPID_LW_Version, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.ToString(), "1.1");

    // Open with every argument left out: the current properties (the simulated
    // interface, as the registry has no last interface).
    EXPECT_EQ(Call(d, DISPID_LW_InterfaceType, DISPATCH_PROPERTYPUT, {Variant(SHORT{0})}, nullptr),
              S_OK);
    result.Clear();
    EXPECT_EQ(Call(d, DISPID_LW_Open, DISPATCH_METHOD,
                   {Variant::Missing(), Variant::Missing(), Variant::Missing()}, &result),
              S_OK);
    EXPECT_TRUE(result.ToBool());
    result.Clear();
    EXPECT_EQ(Call(d, DISPID_LW_CommTimeout, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.ToI4(), 3000);
    result.Clear();
    EXPECT_EQ(Call(d, DISPID_LW_IsValidInterface, DISPATCH_METHOD, {}, &result), S_OK);
    EXPECT_TRUE(result.ToBool());
    result.Clear();
    EXPECT_EQ(Call(d, DISPID_LW_Close, DISPATCH_METHOD, {}, &result), S_OK);
    EXPECT_TRUE(result.ToBool());
    EXPECT_EQ(Call(d, 22, DISPATCH_METHOD, {}, nullptr), DISP_E_MEMBERNOTFOUND);
}

TEST_F(ComSurfaceTest, MessagesThroughTheScriptedTransport) {
    script->On("MEAS:VOLT? (@101)", "+1.0E+00");
    script->On("SYST:ERR?", "+0,\"No error\"");
    auto comm = NewControl();

    // Without a link: S_FALSE, FALSE, and the count left alone.
    Bstr rst("*RST");
    EXPECT_EQ(comm->SendMsg(rst.Get()), S_FALSE);
    EXPECT_FALSE(comm->SendRawMsg("*RST"));
    char buffer[100];
    std::memset(buffer, 'z', sizeof buffer);
    LONG count = 55;
    EXPECT_FALSE(comm->RecvRawMsg(buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 55);
    EXPECT_STREQ(buffer, "");
    VARIANT text;
    LONG code = 0;
    EXPECT_TRUE(comm->GetCommError(&text, &code));
    EXPECT_EQ(code, 1007);
    EXPECT_EQ(Utf8FromBstr(text.bstrVal), "No connection established with device");
    VariantClear(&text);
    code = 5;
    EXPECT_FALSE(comm->GetCommError(&text, &code));
    EXPECT_EQ(text.vt, VT_BSTR); // an empty string the caller can clear
    EXPECT_EQ(code, 5);
    VariantClear(&text);

    ASSERT_TRUE(comm->OpenInterface("WENX", "GPIB0,9", 0));
    EXPECT_TRUE(comm->SendRawMsg("MEAS:VOLT? (@101)"));
    EXPECT_TRUE(comm->RecvRawMsg(buffer, sizeof buffer, &count));
    EXPECT_STREQ(buffer, "+1.0E+00");
    EXPECT_EQ(count, 9);
    Bstr query("SYST:ERR?");
    Variant answer;
    EXPECT_EQ(comm->SendQuery(query.Get(), &answer), S_OK);
    EXPECT_EQ(answer.ToString(), "+0,\"No error\"");
    answer.Clear();
    EXPECT_EQ(comm->SendQuery(rst.Get(), &answer), S_OK);
    EXPECT_EQ(answer.vt, VT_EMPTY);
    EXPECT_EQ(comm->get_RecvMsg(&answer), S_OK); // silence: empty, not an empty string
    EXPECT_EQ(answer.vt, VT_EMPTY);
    EXPECT_TRUE(comm->GetCommError(&text, &code));
    EXPECT_EQ(code, 1052);
    VariantClear(&text);
    SHORT closed = 0;
    EXPECT_EQ(comm->Close(&closed), S_OK);
    EXPECT_EQ(closed, TRUE);

    EXPECT_EQ(script->sent,
              (std::vector<std::string>{"*IDN?", "MEAS:VOLT? (@101)", "SYST:ERR?", "*RST"}));
}

TEST_F(ComSurfaceTest, FailuresSetErrorInfoForComCallers) {
    auto comm = NewControl();
    const HRESULT notAvailable = static_cast<HRESULT>(0x80040000 + 1060 + 0x200);
    EXPECT_EQ(comm->Properties(), notAvailable);
    ErrorDetails details;
    ASSERT_TRUE(TakeErrorInfo(comm.Get(), IID_IDualComm, &details));
    EXPECT_EQ(details.guid, IID_IDualComm);
    EXPECT_EQ(details.source, "Orvanta Quillmark Communications");
    EXPECT_EQ(details.description, "The Communication Setup sheet is not available.");

    Variant found;
    EXPECT_EQ(comm->Search(&found), notAvailable);
    EXPECT_EQ(found.vt, VT_EMPTY);
    ASSERT_TRUE(TakeErrorInfo(comm.Get(), IID_IDualComm, &details));
    EXPECT_EQ(details.description, "The Communication Setup sheet is not available.");

    // The direct slot has no error info: an empty result and the control's error.
    VARIANT direct;
    direct.vt = VT_I4;
    EXPECT_EQ(comm->SearchInterface(&direct, "*", 1), &direct);
    EXPECT_EQ(direct.vt, VT_EMPTY);
    VARIANT text;
    LONG code = 0;
    EXPECT_TRUE(comm->GetCommError(&text, &code));
    EXPECT_EQ(code, 1060);
    VariantClear(&text);

    Variant bad(Variant(1.5e9));
    SHORT opened = 7;
    EXPECT_EQ(comm->Open(Variant::Missing(), Variant::Missing(), bad, &opened), DISP_E_OVERFLOW);
    EXPECT_EQ(opened, 7);
}

class PickingSheet : public ICommSetupSheet {
public:
    Result Run(const Request& request) override {
        seen = request;
        Result r;
        r.selected = true;
        r.transport = std::make_unique<ScriptedTransport>(std::make_shared<Script>(), 5);
        r.type = 5;
        r.line = "OrvantaQT7100\tlan[10.0.0.2]:gpib,9\tORVANTA,QT7100,0,1.2";
        r.model = "OrvantaQT7100";
        r.address = "lan[10.0.0.2]:gpib,9";
        return r;
    }
    bool ShowProperties(CCommCtrl&) override { return true; }
    Request seen;
};

TEST_F(ComSurfaceTest, SearchInterfaceReturnsTheSelectionAsAOneByFourArray) {
    PickingSheet sheet;
    SetCommSetupSheet(&sheet);
    auto comm = NewControl();
    EXPECT_EQ(comm->put_InterfaceType(5), S_OK);
    EXPECT_EQ(comm->Properties(), S_OK);
    Variant result;
    comm->SearchInterface(&result, "7100", 1);
    SetCommSetupSheet(nullptr);
    EXPECT_EQ(sheet.seen.type, 5);
    EXPECT_EQ(sheet.seen.pattern, "7100");
    EXPECT_EQ(sheet.seen.flag, 1);
    EXPECT_EQ(sheet.seen.status, "Click 'Search' to locate devices.");

    ASSERT_EQ(result.vt, VT_ARRAY | VT_VARIANT);
    ASSERT_EQ(SafeArrayGetDim(result.parray), 2u);
    LONG lo = -1, hi = -1;
    SafeArrayGetLBound(result.parray, 1, &lo);
    SafeArrayGetUBound(result.parray, 1, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 0);
    SafeArrayGetLBound(result.parray, 2, &lo);
    SafeArrayGetUBound(result.parray, 2, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 3);
    std::vector<Variant> cells(4);
    for (LONG c = 0; c < 4; ++c) {
        const LONG index[2] = {0, c};
        ASSERT_EQ(SafeArrayGetElement(result.parray, index, &cells[c]), S_OK);
    }
    EXPECT_EQ(cells[0].vt, VT_I4);
    EXPECT_EQ(cells[0].lVal, 5);
    EXPECT_EQ(cells[1].ToString(), "lan[10.0.0.2]:gpib,9");
    EXPECT_EQ(cells[2].ToString(), "OrvantaQT7100");
    EXPECT_EQ(cells[3].ToString(), "WENXLAN");

    Bstr controller, id;
    comm->get_ControllerName(controller.Out());
    comm->get_InstID(id.Out());
    EXPECT_EQ(Text(controller), "lan[10.0.0.2]:gpib");
    EXPECT_EQ(Text(id), "OrvantaQT7100");
    SHORT address = 0;
    comm->get_Address(&address);
    EXPECT_EQ(address, 9);
}

} // namespace
} // namespace tvane::comm
