// A server library for the binding's creation failures that the real driver never
// shows: an object without the control's interface, and a driver object whose
// IInstDriverData gives no dispatch interface.
#include "comm/IDualComm.h"
#include "driver/IInstDriverData.h"
#include "platform/com/Activation.h"
#include "platform/com/ComObject.h"

namespace {

tvane::ServerModule& Module();

// IInstDriverData that answers nothing; the base of both fakes.
class FakeData : public tvane::ComObjectRoot, public IInstDriverData {
public:
    explicit FakeData(IUnknown* outer) : ComObjectRoot(outer, &Module()) {}
    TVANE_COM_DELEGATING_IUNKNOWN

    IDispatch* GetIDispatch() override { return nullptr; }
    BOOL GetReadings(ReadingRecord*, LONG, LONG*) override { return FALSE; }
    BOOL FetchReadings(ReadingRecord*, LONG, LONG*) override { return FALSE; }
    BOOL DownloadChannelConfig(CChannelConfig*) override { return FALSE; }
    CChannelConfig* UploadChannelConfig(SHORT, const char*, LONG*) override { return nullptr; }
    BOOL ShowSettings(void*) override { return FALSE; }

protected:
    IUnknown* GetInterface(REFIID iid) override {
        return iid == IID_IInstDriverData ? static_cast<IInstDriverData*>(this) : nullptr;
    }
};

// With the real control aggregated, so that IDualComm is there.
class FakeDriverWithControl final : public FakeData {
public:
    using FakeData::FakeData;
    HRESULT FinalConstruct() override {
        IUnknown* inner = nullptr;
        const HRESULT hr =
            tvane::CoCreateInstance(CLSID_LinkwellCtrl, ControllingUnknown(), CLSCTX_INPROC_SERVER,
                                    IID_IUnknown, reinterpret_cast<void**>(&inner));
        if (SUCCEEDED(hr))
            SetAggregate(inner);
        return hr;
    }
};

tvane::ServerModule& Module() {
    static tvane::ServerModule module;
    return module;
}

} // namespace

inline constexpr CLSID CLSID_FakeNoControl =
    tvane::MakeGuid("{5C1E7A10-2B4D-4E8F-9A61-0D3B7C2E4F01}");
inline constexpr CLSID CLSID_FakeNoDispatch =
    tvane::MakeGuid("{5C1E7A10-2B4D-4E8F-9A61-0D3B7C2E4F02}");

namespace {
const bool registered = [] {
    tvane::ClassRegistration noControl;
    noControl.clsid = CLSID_FakeNoControl;
    noControl.progId = "Fake.NoControl";
    noControl.description = "Fake.NoControl";
    Module().AddClass(noControl, &tvane::CreateComInstance<FakeData>);
    tvane::ClassRegistration noDispatch;
    noDispatch.clsid = CLSID_FakeNoDispatch;
    noDispatch.progId = "Fake.NoDispatch";
    noDispatch.description = "Fake.NoDispatch";
    Module().AddClass(noDispatch, &tvane::CreateComInstance<FakeDriverWithControl>);
    return true;
}();
} // namespace

TVANE_COM_SERVER_EXPORTS(Module())
