#include <dlfcn.h>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/com/Com.h"
#include "platform/registry/Registry.h"
#include "tests/platform/com/server/TestObject.h"
#include "tests/support/TempHome.h"

using namespace tvane;

namespace {

const std::string kServerPath = std::string(TVANE_BINARY_DIR) + "/bin/ComTestServer.so";

bool IsMapped(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// An outer object that aggregates the test server's object and offers its
// interfaces as its own.
class COuter final : public ComObjectRoot, public IUnknown {
public:
    explicit COuter(IUnknown* outer) : ComObjectRoot(outer, nullptr) {}
    TVANE_COM_DELEGATING_IUNKNOWN

    HRESULT FinalConstruct() override {
        IUnknown* inner = nullptr;
        HRESULT hr = CoCreateInstance(CLSID_TestObject, ControllingUnknown(), CLSCTX_INPROC_SERVER,
                                      IID_IUnknown, reinterpret_cast<void**>(&inner));
        if (FAILED(hr))
            return hr;
        SetAggregate(inner);
        return QueryAggregateInterface(ITestValue::Iid, reinterpret_cast<void**>(&m_value));
    }
    void FinalRelease() override { ReleaseAggregateInterface(m_value); }
    ITestValue* Value() const { return m_value; }

protected:
    IUnknown* GetInterface(REFIID) override { return nullptr; }

private:
    ITestValue* m_value = nullptr;
};

class ServerTest : public test::TempHomeTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kServerPath));
        DynamicLibrary library(kServerPath);
        ASSERT_TRUE(library.IsLoaded()) << library.ErrorText();
        auto registerServer =
            reinterpret_cast<DllRegisterServerFunction>(library.Symbol("DllRegisterServer"));
        ASSERT_TRUE(registerServer) << library.ErrorText();
        ASSERT_EQ(registerServer(), S_OK);
    }
    void TearDown() override {
        CoFreeUnusedLibraries();
        EXPECT_TRUE(LoadedServerLibraries().empty()) << "an object or lock was left behind";
    }
};

TEST_F(ServerTest, RegistersItsKeys) {
    const std::string key = "CLSID\\" + GuidToString(CLSID_TestObject);
    EXPECT_EQ(RegGetString(RegHive::ClassesRoot, key, ""), "Tvane.ComTest");
    EXPECT_EQ(RegGetString(RegHive::ClassesRoot, key + "\\InprocServer32", ""), kServerPath);
    EXPECT_EQ(RegGetString(RegHive::ClassesRoot, key + "\\InprocServer32", "ThreadingModel"),
              "Apartment");
    EXPECT_EQ(RegGetString(RegHive::ClassesRoot, std::string(kTestProgId) + "\\CLSID", ""),
              GuidToString(CLSID_TestObject));
    std::string progId;
    EXPECT_EQ(ProgIDFromCLSID(CLSID_TestObject, &progId), S_OK);
    EXPECT_EQ(progId, kTestProgId);
    EXPECT_EQ(FindClassByDescription("TVANE.COMTEST"), CLSID_TestObject);

    DynamicLibrary library(kServerPath);
    auto unregisterServer =
        reinterpret_cast<DllRegisterServerFunction>(library.Symbol("DllUnregisterServer"));
    ASSERT_TRUE(unregisterServer);
    EXPECT_EQ(unregisterServer(), S_OK);
    EXPECT_FALSE(RegKeyExists(RegHive::ClassesRoot, key));
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(kTestProgId, &clsid), CO_E_CLASSSTRING);
}

TEST_F(ServerTest, RegisteredPathIsAbsolute) {
    const auto folder = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(kServerPath).parent_path());
    {
        DynamicLibrary library("./ComTestServer.so");
        auto registerServer =
            reinterpret_cast<DllRegisterServerFunction>(library.Symbol("DllRegisterServer"));
        ASSERT_TRUE(registerServer) << library.ErrorText();
        EXPECT_EQ(registerServer(), S_OK);
    }
    std::filesystem::current_path(folder);
    EXPECT_EQ(RegGetString(RegHive::ClassesRoot,
                           "CLSID\\" + GuidToString(CLSID_TestObject) + "\\InprocServer32", ""),
              kServerPath);
}

TEST_F(ServerTest, CreatedByProgIdAndUnloadedWhenUnused) {
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(kTestProgId, &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestObject);

    ComPtr<IUnknown> object;
    ASSERT_EQ(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.OutVoid()),
        S_OK);
    const auto loaded = LoadedServerLibraries();
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_TRUE(IsMapped(loaded[0]));

    ComPtr<IUnknown> unrelated;
    EXPECT_EQ(object->QueryInterface(IID_Unrelated, unrelated.OutVoid()), E_NOINTERFACE);
    EXPECT_FALSE(unrelated);

    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(object.As(dispatch), S_OK);
    DispatchDriver driver(dispatch.Get(), false);
    LONG sum = 0;
    try {
        driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum,
                            {DispArg::Bstr("not a number"), DispArg::I2(1)});
        FAIL() << "wrong type accepted";
    } catch (const ComException& e) {
        EXPECT_EQ(e.Code(), DISP_E_TYPEMISMATCH);
    }
    try {
        driver.InvokeHelper(1234, DISPATCH_METHOD, VT_I4, &sum, {});
        FAIL() << "unknown DISPID accepted";
    } catch (const ComException& e) {
        EXPECT_EQ(e.Code(), DISP_E_MEMBERNOTFOUND);
    }
    driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum, {DispArg::I4(2), DispArg::I2(3)});
    EXPECT_EQ(sum, 5);

    // A BSTR allocated by the server is freed here.
    std::string echoed;
    driver.InvokeHelper(kEcho, DISPATCH_METHOD, VT_BSTR, &echoed, {DispArg::Bstr("x")});
    EXPECT_EQ(echoed, "echo: x");

    // Still referenced: the library stays.
    CoFreeUnusedLibraries();
    EXPECT_EQ(LoadedServerLibraries().size(), 1u);

    dispatch.Reset();
    object.Reset();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(LoadedServerLibraries().empty());
    EXPECT_FALSE(IsMapped(loaded[0]));
}

TEST_F(ServerTest, LockServerKeepsTheLibrary) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_TestObject, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.OutVoid()),
              S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    CoFreeUnusedLibraries();
    EXPECT_EQ(LoadedServerLibraries().size(), 1u);

    ASSERT_EQ(CoGetClassObject(CLSID_TestObject, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               factory.OutVoid()),
              S_OK);
    factory->LockServer(FALSE);
    // Aggregation must ask for IUnknown.
    ComPtr<IDispatch> wrong;
    ComPtr<IUnknown> outer;
    ASSERT_EQ(CreateComInstance<COuter>(nullptr, IID_IUnknown, outer.OutVoid()), S_OK);
    EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_IDispatch, wrong.OutVoid()),
              CLASS_E_NOAGGREGATION);
}

TEST_F(ServerTest, AggregatedInsideAnOuterObject) {
    ComPtr<IUnknown> outer;
    ASSERT_EQ(CreateComInstance<COuter>(nullptr, IID_IUnknown, outer.OutVoid()), S_OK);

    // The inner object's interfaces are reached through the outer one and share
    // its identity.
    ComPtr<ITestValue> value;
    ASSERT_EQ(outer.As(value), S_OK);
    value->SetValue(9);
    ComPtr<IUnknown> identity;
    ASSERT_EQ(value->QueryInterface(IID_IUnknown, identity.OutVoid()), S_OK);
    EXPECT_EQ(identity.Get(), outer.Get());
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(value.As(dispatch), S_OK);
    DispatchDriver driver(dispatch.Get(), false);
    LONG stored = 0;
    driver.GetProperty(kValue, VT_I4, &stored);
    EXPECT_EQ(stored, 9);

    // References taken through the inner interfaces count on the outer object:
    // AddRef/Release through any of them moves the same count.
    const ULONG before = outer->AddRef();
    EXPECT_EQ(value->AddRef(), before + 1);
    EXPECT_EQ(dispatch->Release(), before);
    EXPECT_EQ(outer->Release(), before - 1);

    ComPtr<IUnknown> unrelated;
    EXPECT_EQ(outer->QueryInterface(IID_Unrelated, unrelated.OutVoid()), E_NOINTERFACE);

    // Releasing the last outer reference frees the inner object too (TearDown
    // checks the server library could be unloaded).
    dispatch.Reset();
    identity.Reset();
    value.Reset();
    EXPECT_EQ(outer.Get()->Release(), 0u);
    outer.Detach();
}

TEST_F(ServerTest, ActivationFailuresSayWhy) {
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID("No.Such.Class", &clsid), CO_E_CLASSSTRING);
    ComPtr<IUnknown> object;
    const CLSID unknown = MakeGuid("{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(
        CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.OutVoid()),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown,
                               object.OutVoid()),
              REGDB_E_CLASSNOTREG);

    const std::string key = "CLSID\\" + GuidToString(unknown) + "\\InprocServer32";
    RegSetString(RegHive::ClassesRoot, key, "", (home.Path() / "missing.so").string());
    EXPECT_EQ(
        CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.OutVoid()),
        CO_E_DLLNOTFOUND);
    EXPECT_NE(LastLoadErrorText().find("missing.so"), std::string::npos);

    // A library without the entry point (this layer itself).
    Dl_info info{};
    ASSERT_TRUE(dladdr(reinterpret_cast<void*>(&SysAllocString), &info));
    RegSetString(RegHive::ClassesRoot, key, "", info.dli_fname);
    EXPECT_EQ(
        CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.OutVoid()),
        CO_E_ERRORINDLL);

    // A registered library that does not have the class.
    RegSetString(RegHive::ClassesRoot, key, "", kServerPath);
    EXPECT_EQ(
        CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.OutVoid()),
        CLASS_E_CLASSNOTAVAILABLE);
}

} // namespace
