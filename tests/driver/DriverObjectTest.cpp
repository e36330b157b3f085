#include "DriverFixture.h"
#include "FakeControl.h"
#include "comm/CCommCtrlObject.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "driver/CKXQT7100Object.h"
#include "driver/DriverServer.h"
#include "platform/com/Activation.h"
#include "platform/com/ComPtr.h"

namespace tvane::driver::test {
namespace {

using comm::ScriptedTransport;

// Calls a method without arguments by DISPID.
Variant Call(IDispatch* dispatch, DISPID id) {
    DISPPARAMS none;
    Variant result;
    EXPECT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result,
                               nullptr, nullptr),
              S_OK);
    return result;
}

class DriverObject : public tvane::test::TempHomeTest {
protected:
    void TearDown() override { SetControlCreator(nullptr); }
};

// The deliverables themselves: both servers registered from their files and the
// driver created by its ProgID, the control inside it.
TEST_F(DriverObject, CreatedByProgIdAggregatesTheControl) {
    const std::string bin = std::string(TVANE_BINARY_DIR) + "/bin/";
    for (const char* file : {"Linkwell.so", "KXQT7100.so"}) {
        DynamicLibrary library(bin + file);
        ASSERT_TRUE(library.IsLoaded()) << library.ErrorText();
        auto reg = reinterpret_cast<DllRegisterServerFunction>(library.Symbol("DllRegisterServer"));
        ASSERT_NE(reg, nullptr);
        ASSERT_EQ(reg(), S_OK) << file;
    }
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(kKXQT7100ProgId, &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_KXQT7100);
    ASSERT_EQ(CLSIDFromProgID(kInstDriverProgId, &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_InstDriver);

    {
        ComPtr<IDispatch> driver;
        ASSERT_EQ(CoCreateInstance(CLSID_KXQT7100, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   driver.OutVoid()),
                  S_OK);
        EXPECT_EQ(Call(driver.Get(), 1).ToString(), "KXQT7100");

        // The control's interface through the driver object, and back.
        ComPtr<IDualComm> comm;
        ASSERT_EQ(driver.As(comm), S_OK);
        Bstr files;
        ASSERT_EQ(comm->get_Files(files.Out()), S_OK);
        EXPECT_EQ(files.Utf8(), "Linkwell.ocx");
        ComPtr<IInstDriverData> data;
        ASSERT_EQ(comm.As(data), S_OK);
        ComPtr<IDispatch> again;
        again.Attach(data->GetIDispatch());
        ComPtr<IUnknown> a, b;
        ASSERT_EQ(driver.As(a), S_OK);
        ASSERT_EQ(comm.As(b), S_OK);
        EXPECT_EQ(a.Get(), b.Get()); // one identity

        // The generic driver: the control, and no dispatch members of its own.
        ComPtr<IDispatch> generic;
        ASSERT_EQ(CoCreateInstance(CLSID_InstDriver, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   generic.OutVoid()),
                  S_OK);
        DISPPARAMS none;
        EXPECT_EQ(
            generic->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
        ComPtr<IDualComm> genericComm;
        EXPECT_EQ(generic.As(genericComm), S_OK);
    }
    // Releasing through the control's interface released the whole object.
    CoFreeUnusedLibraries();
    for (const std::string& path : LoadedServerLibraries())
        EXPECT_EQ(path.find("KXQT7100.so"), std::string::npos) << path;
}

TEST_F(DriverObject, CreationFailsWithoutTheControl) {
    SetControlCreator([](IUnknown*, IUnknown** inner) {
        *inner = nullptr;
        return REGDB_E_CLASSNOTREG;
    });
    ComPtr<IDispatch> driver;
    EXPECT_EQ(CreateComInstance<CKXQT7100Object>(nullptr, IID_IDispatch, driver.OutVoid()),
              REGDB_E_CLASSNOTREG);

    ScriptedLink link;
    FakeControl::Link() = &link;
    FakeControl::GivesDualComm() = false;
    SetControlCreator([](IUnknown* outer, IUnknown** inner) {
        return CreateComInstance<FakeControl>(outer, IID_IUnknown, reinterpret_cast<void**>(inner));
    });
    EXPECT_EQ(CreateComInstance<CKXQT7100Object>(nullptr, IID_IDispatch, driver.OutVoid()),
              E_NOINTERFACE);
    FakeControl::GivesDualComm() = true;
    FakeControl::Link() = nullptr;
    EXPECT_EQ(DriverServerModule().LockCount(), 0);
    EXPECT_EQ(FakeControl::Module().LockCount(), 0);
}

// The driver over the real control and its scripted transport: commands leave
// through IDualComm and a reading block comes back through the transport's read.
TEST_F(DriverObject, ReadingsThroughTheRealControl) {
    auto script = std::make_shared<ScriptedTransport::Script>();
    comm::ScopedTransportCreator wenx{
        4, [script](int32_t type) { return std::make_unique<ScriptedTransport>(script, type); }};
    SetControlCreator([](IUnknown* outer, IUnknown** inner) {
        return CreateComInstance<comm::CCommCtrlObject>(outer, IID_IUnknown,
                                                        reinterpret_cast<void**>(inner));
    });
    script->On("*IDN?", "ORVANTA,QT7100,0,1.2");
    script->On("R? 100", {ScriptedTransport::Step::Answer(
                             Block(Reading(1.5, 1, 101, 0) + "," + Reading(2.5, 1, 102, 1)))});

    ComPtr<IDispatch> driver;
    ASSERT_EQ(CreateComInstance<CKXQT7100Object>(nullptr, IID_IDispatch, driver.OutVoid()), S_OK);
    ComPtr<IDualComm> control;
    ASSERT_EQ(driver.As(control), S_OK);
    ASSERT_TRUE(control->OpenInterface("WENX", "GPIB0,9", 0));
    ComPtr<IInstDriverData> data;
    ASSERT_EQ(driver.As(data), S_OK);

    CChannelConfig c = Channel(0, 101, 1);
    ASSERT_TRUE(data->DownloadChannelConfig(&c));
    EXPECT_TRUE(Call(driver.Get(), 32).ToBool()); // InitInstrument
    Variant n(static_cast<LONG>(100));
    DISPPARAMS params;
    params.rgvarg = &n;
    params.cArgs = 1;
    Variant result;
    ASSERT_EQ(driver->Invoke(60, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              S_OK);
    ReadingRecord records[100];
    LONG count = 0;
    ASSERT_TRUE(data->GetReadings(records, 100, &count));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(+records[1].Channel, 102);
    EXPECT_EQ(+records[1].AlarmState, 1);
    EXPECT_EQ(+records[1].Value, 2.5);

    const std::vector<std::string> expected = {"CONF:VOLT:AC Auto,DEF,(@101)",
                                               "CALC:SCAL:GAIN 1.0,(@101)",
                                               "CALC:SCAL:OFFS 0.0,(@101)",
                                               "CALC:SCAL:UNIT \"\",(@101)",
                                               "CALC:SCAL:STAT 0,(@101)",
                                               "CALC:LIM:LOW:STAT 0,(@101)",
                                               "CALC:LIM:UPP:STAT 0,(@101)",
                                               "CALC:LIM:LOW 1.0E-35;:CALC:LIM:UPP 1.0E35,(@101)",
                                               "ROUT:CHAN:DEL:AUTO 0,(@101)",
                                               "ROUT:CHAN:DEL 0.0,(@101)",
                                               "*CLS",
                                               "*ESE 1",
                                               "*SRE 48",
                                               "ROUT:SCAN (@101,)",
                                               "R? 100"};
    std::vector<std::string> sent(script->sent.end() - static_cast<long>(expected.size()),
                                  script->sent.end());
    EXPECT_EQ(sent, expected);
}

} // namespace
} // namespace tvane::driver::test
