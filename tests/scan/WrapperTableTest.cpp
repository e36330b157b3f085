#include <set>
#include <tuple>

#include "BindingFixture.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComException.h"

namespace tvane::test {
namespace {

// An argument for a parameter code: a value, or a variable whose address is passed.
template <VARTYPE V> struct Slot;
template <> struct Slot<VT_I2> {
    operator SHORT() const { return 101; } // a channel of slot 1
};
template <> struct Slot<VT_I4> {
    operator LONG() const { return 1; }
};
template <> struct Slot<VT_R8> {
    operator DOUBLE() const { return 1.0; }
};
template <> struct Slot<VT_BOOL> {
    operator BOOL() const { return FALSE; }
};
template <> struct Slot<VT_BSTR> {
    std::string v = "IMM";
    operator const std::string&() const { return v; }
};
template <> struct Slot<VT_VARIANT> {
    Variant v = Variant::Missing();
    operator const VARIANT&() const { return v; }
};
template <class T> struct RefSlot {
    T v{};
    operator T*() { return &v; }
};
template <> struct Slot<VT_BYREF | VT_I2> : RefSlot<SHORT> {};
template <> struct Slot<VT_BYREF | VT_I4> : RefSlot<LONG> {};
template <> struct Slot<VT_BYREF | VT_R8> : RefSlot<DOUBLE> {};
template <> struct Slot<VT_BYREF | VT_BOOL> : RefSlot<BOOL> {};
template <> struct Slot<VT_BYREF | VT_VARIANT> : RefSlot<Variant> {
    operator VARIANT*() { return &v; }
};
template <VARTYPE... P> using Slots = std::tuple<Slot<P>...>;

// Runs one call; a failure of the member itself (DispatchException) counts as
// reaching it, any other failure means the table and the object disagree.
template <class F> void Reached(const char* name, F call) {
    try {
        call();
    } catch (const DispatchException&) {
    } catch (const ComException& e) {
        ADD_FAILURE() << name << ": " << e.what();
    }
}

DISPID IdOfName(IDispatch* dispatch, const char* name) {
    Bstr text(name);
    LPOLESTR names[] = {text.Get()};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << name;
    return id;
}

// Both tables name every member of the real objects under their DISPIDs.
TEST_F(BindingTest, MemberTablesMatchTheObjects) {
    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    std::size_t count = 0;
    const dispatch::MemberInfo* rows = CDriverDispatch::Members(count);
    ASSERT_EQ(count, 73u);
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(rows[i].id, static_cast<DISPID>(i + 1));
        EXPECT_EQ(IdOfName(binding.DriverDispatch().Dispatch(), rows[i].name), rows[i].id);
    }

    IDualComm* comm = nullptr;
    ASSERT_EQ(binding.DriverDispatch().Dispatch()->QueryInterface(IID_IDualComm,
                                                                  reinterpret_cast<void**>(&comm)),
              S_OK);
    rows = CCommDispatch::Members(count);
    ASSERT_EQ(count, 21u);
    std::set<DISPID> ids;
    for (std::size_t i = 0; i < count; ++i) {
        ids.insert(rows[i].id);
        EXPECT_EQ(IdOfName(comm, rows[i].name), rows[i].id);
    }
    EXPECT_EQ(ids.size(), 21u);
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(*ids.rbegin(), 21);
    comm->Release();
}

// Every driver member once with the parameter types of the table, on the
// simulated interface: the binding's own wrapper where it has a generated one,
// else the dispatch wrapper.
TEST_F(BindingTest, EveryDriverMemberCalledOnce) {
    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    CommSettings settings;
    settings.InterfaceName = "SIMULATED";
    ASSERT_TRUE(binding.Open(&settings, 0));
    ASSERT_TRUE(binding.IsSimulated());

    std::vector<DISPID> called;
#define TVANE_TEST_TARGET_Plain binding
#define TVANE_TEST_TARGET_Fetch binding
#define TVANE_TEST_TARGET_Own binding.DriverDispatch()
#define TVANE_TEST_TARGET_None binding.DriverDispatch()
#define TVANE_TEST_CALL(id, name, result, wrapper, ...)                                            \
    {                                                                                              \
        Slots<TVANE_DISP_CODES(__VA_ARGS__)> args;                                                 \
        Reached(#name, [&] {                                                                       \
            std::apply([&](auto&... a) { (void)TVANE_TEST_TARGET_##wrapper.name(a...); }, args);   \
        });                                                                                        \
        called.push_back(id);                                                                      \
    }
    TVANE_DRIVER_MEMBERS(TVANE_TEST_CALL)
#undef TVANE_TEST_CALL
    ASSERT_EQ(called.size(), 73u);

    // The wrappers of their own.
    Variant readings;
    EXPECT_GE(binding.GetReading(&readings), 0);
    EXPECT_TRUE(binding.DigitalWrite(101, 3.9));
    EXPECT_TRUE(binding.DigitalWrite(101, 1e12)); // held to the word, not undefined
    EXPECT_TRUE(binding.CloseChannel(101, TRUE));
    EXPECT_TRUE(binding.CloseChannel(101, FALSE));
    double value = 0;
    BYTE flag = 0;
    binding.ReadMonitorChnl(&value, &flag);
    CTime when;
    SHORT ms = -1;
    EXPECT_TRUE(binding.GetScanTime(when, ms));
    EXPECT_TRUE(binding.GetInstrumentTime(when, ms));
    EXPECT_TRUE(binding.SetInstrumentDate(when));
    EXPECT_TRUE(binding.SetInstrumentTime(when, 0));
    std::string s1, s2, s3;
    EXPECT_TRUE(binding.GetCardInfoInSlot(s1, s2, s3));
    EXPECT_FALSE(s1.empty());
    std::vector<std::string> numbers, texts;
    int errors = -1;
    binding.GetInstrumentError(numbers, texts, errors);
    EXPECT_EQ(errors, 0);
    BOOL got = TRUE;
    SHORT channel = -1, limit = 0, output = 0;
    binding.GetAlarmInQue(&value, when, &ms, &channel, &limit, &output, &got);
    std::string text;
    binding.GetDriverVersion(text);
    EXPECT_FALSE(text.empty());
    binding.EditControlProperties();

    ReadingRecord records[10];
    LONG n = 0;
    EXPECT_TRUE(binding.GetReadings(records, 10, &n));
    binding.FetchReadings(records, 10, &n);
    LONG ok = 0;
    binding.UploadChannelConfig(101, "KXQT7101", &ok);
}

// Every control member once: the properties read and written back, the methods
// called.
TEST_F(BindingTest, EveryControlMemberCalledOnce) {
    COleKXQT7100 binding;
    binding.Create(kKXQT7100ProgId);
    CommSettings settings = Wenx();
    ASSERT_TRUE(binding.Open(&settings, 0));
    IDualComm* comm = nullptr;
    ASSERT_EQ(binding.DriverDispatch().Dispatch()->QueryInterface(IID_IDualComm,
                                                                  reinterpret_cast<void**>(&comm)),
              S_OK);
    CCommDispatch control(comm, false);

    int count = 0;
#define TVANE_TEST_PROPERTY_Get(name)
#define TVANE_TEST_PROPERTY_GetSet(name) control.Set##name(control.Get##name());
#define TVANE_TEST_PROPERTY(id, name, type, access)                                                \
    Reached(#name, [&] {                                                                           \
        (void)control.Get##name();                                                                 \
        TVANE_TEST_PROPERTY_##access(name)                                                         \
    });                                                                                            \
    ++count;
    TVANE_COMM_PROPERTIES(TVANE_TEST_PROPERTY)
#undef TVANE_TEST_PROPERTY
    EXPECT_EQ(control.GetAddress(), 9);
    EXPECT_EQ(control.GetControllerName(), "GPIB0");

    script->On("MEAS?", "+1.5");
#define TVANE_TEST_METHOD(id, name, flags, result, ...)                                            \
    {                                                                                              \
        Slots<TVANE_DISP_CODES(__VA_ARGS__)> args;                                                 \
        Reached(#name, [&] { std::apply([&](auto&... a) { (void)control.name(a...); }, args); });  \
        ++count;                                                                                   \
    }
    TVANE_COMM_METHODS(TVANE_TEST_METHOD)
#undef TVANE_TEST_METHOD
    EXPECT_EQ(count, 21);
    EXPECT_EQ(control.SendQuery("MEAS?").ToString(), "+1.5");
    control.DetachDispatch();
    comm->Release();
}

} // namespace
} // namespace tvane::test
