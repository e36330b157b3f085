#include <gtest/gtest.h>

#include "platform/com/Com.h"

using namespace tvane;

namespace {

class ICounter : public IUnknown {
public:
    TVANE_INTERFACE_IID(ICounter, "{5A1C0D7E-2B3F-4E8A-9C6D-7F0E1A2B3C4D}")
    virtual int Next() = 0;

protected:
    ~ICounter() = default;
};

int g_alive = 0;

// Fails its FinalConstruct or throws from its constructor on request.
class CCounter final : public ComObjectRoot, public ICounter {
public:
    static inline HRESULT s_construct = S_OK;
    static inline bool s_throw = false;

    explicit CCounter(IUnknown* outer) : ComObjectRoot(outer, &s_module) {
        if (s_throw)
            throw ComException(E_ACCESSDENIED);
        ++g_alive;
    }
    ~CCounter() override { --g_alive; }
    TVANE_COM_DELEGATING_IUNKNOWN
    HRESULT FinalConstruct() override { return s_construct; }
    int Next() override { return ++m_n; }

    static inline ServerModule s_module;

protected:
    IUnknown* GetInterface(REFIID iid) override {
        return iid == ICounter::Iid ? static_cast<ICounter*>(this) : nullptr;
    }

private:
    int m_n = 0;
};

TEST(ComObjectTest, CreationFailuresLeaveNothingAlive) {
    ComPtr<ICounter> counter;
    CCounter::s_construct = E_ABORT;
    EXPECT_EQ(CreateComInstance<CCounter>(nullptr, ICounter::Iid, counter.OutVoid()), E_ABORT);
    EXPECT_FALSE(counter);
    CCounter::s_construct = S_OK;
    CCounter::s_throw = true;
    EXPECT_EQ(CreateComInstance<CCounter>(nullptr, ICounter::Iid, counter.OutVoid()),
              E_ACCESSDENIED);
    CCounter::s_throw = false;
    EXPECT_EQ(g_alive, 0);
    EXPECT_EQ(CCounter::s_module.CanUnloadNow(), S_OK);

    // An interface the object lacks: nothing is created either.
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(CreateComInstance<CCounter>(nullptr, IID_IDispatch, dispatch.OutVoid()),
              E_NOINTERFACE);
    EXPECT_EQ(g_alive, 0);
}

TEST(ComObjectTest, IdentityAndModuleCount) {
    ComPtr<ICounter> counter;
    ASSERT_EQ(CreateComInstance<CCounter>(nullptr, ICounter::Iid, counter.OutVoid()), S_OK);
    EXPECT_EQ(CCounter::s_module.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(counter->Next(), 1);

    ComPtr<IUnknown> a, b;
    ASSERT_EQ(counter->QueryInterface(IID_IUnknown, a.OutVoid()), S_OK);
    ComPtr<ICounter> again;
    ASSERT_EQ(a.As(again), S_OK);
    ASSERT_EQ(again->QueryInterface(IID_IUnknown, b.OutVoid()), S_OK);
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(again.Get(), counter.Get());

    // Inside an aggregate only IID_IUnknown may be asked for.
    ComPtr<ICounter> inner;
    EXPECT_EQ(CreateComInstance<CCounter>(a.Get(), ICounter::Iid, inner.OutVoid()),
              CLASS_E_NOAGGREGATION);

    counter.Reset();
    a.Reset();
    b.Reset();
    EXPECT_EQ(g_alive, 1);
    again.Reset();
    EXPECT_EQ(g_alive, 0);
    EXPECT_EQ(CCounter::s_module.CanUnloadNow(), S_OK);
}

} // namespace

namespace {

TEST(ServerModuleTest, RegistersTheLibraryItIsToldOf) {
    // A module object that lives outside its server library (here: in the test
    // program) registers the library named by an address inside it.
    static ServerModule module;
    EXPECT_EQ(module.ModulePath(), LibraryPathOf(reinterpret_cast<const void*>(&g_alive)));
    module.SetModuleAddress(reinterpret_cast<const void*>(&SysAllocString));
    const std::string path = module.ModulePath();
    EXPECT_NE(path.find("libtvane_com.so"), std::string::npos) << path;
    EXPECT_EQ(path.front(), '/');
}

} // namespace
