#pragma once
#include "ScriptedLink.h"
#include "comm/IDualComm.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"

namespace tvane::driver::test {

// A stand-in for the communications control, aggregatable like the real one:
// the four slots the driver uses reach a ScriptedLink, the rest are not there.
class FakeControl final : public ComObjectRoot, public IDualComm {
public:
    static ServerModule& Module() {
        static ServerModule module;
        return module;
    }
    static ScriptedLink*& Link() {
        static ScriptedLink* link = nullptr;
        return link;
    }
    static bool& GivesDualComm() {
        static bool gives = true;
        return gives;
    }

    explicit FakeControl(IUnknown* outer) : ComObjectRoot(outer, &Module()) {}
    TVANE_COM_DELEGATING_IUNKNOWN

    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT put_InterfaceType(SHORT) override { return E_NOTIMPL; }
    HRESULT get_InterfaceType(SHORT*) override { return E_NOTIMPL; }
    HRESULT get_InterfaceName(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_ControllerName(BSTR) override { return E_NOTIMPL; }
    HRESULT get_ControllerName(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_Address(SHORT) override { return E_NOTIMPL; }
    HRESULT get_Address(SHORT*) override { return E_NOTIMPL; }
    HRESULT put_Exclusive(SHORT) override { return E_NOTIMPL; }
    HRESULT get_Exclusive(SHORT*) override { return E_NOTIMPL; }
    HRESULT get_InstID(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_Version(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_CommTimeout(LONG) override { return E_NOTIMPL; }
    HRESULT get_CommTimeout(LONG*) override { return E_NOTIMPL; }
    HRESULT put_LanTimeout(LONG) override { return E_NOTIMPL; }
    HRESULT get_LanTimeout(LONG*) override { return E_NOTIMPL; }
    HRESULT put_PollTimeout(LONG) override { return E_NOTIMPL; }
    HRESULT get_PollTimeout(LONG*) override { return E_NOTIMPL; }
    HRESULT Properties() override { return E_NOTIMPL; }
    HRESULT Close(SHORT*) override { return E_NOTIMPL; }
    VARIANT* SearchInterface(VARIANT* result, const char*, LONG) override { return result; }
    HRESULT Search(VARIANT*) override { return E_NOTIMPL; }
    BOOL OpenInterface(const char*, const char*, SHORT) override { return FALSE; }
    HRESULT Open(VARIANT, VARIANT, VARIANT, SHORT*) override { return E_NOTIMPL; }
    BOOL SendRawMsg(const char* command) override { return Link()->SendRawMsg(command); }
    HRESULT SendMsg(BSTR) override { return E_NOTIMPL; }
    BOOL RecvRawMsg(char* buffer, LONG size, LONG* count) override {
        std::int32_t n = 0;
        BOOL ok = Link()->RecvRawMsg(buffer, size, &n);
        *count = n;
        return ok;
    }
    HRESULT get_RecvMsg(VARIANT*) override { return E_NOTIMPL; }
    HRESULT SendQuery(BSTR, VARIANT*) override { return E_NOTIMPL; }
    HRESULT IsMsgAvailable(SHORT*) override { return E_NOTIMPL; }
    HRESULT ClearInstrument(SHORT* result) override {
        *result = Link()->ClearDevice() ? 1 : 0;
        return S_OK;
    }
    HRESULT IsValidInterface(SHORT*) override { return E_NOTIMPL; }
    SHORT GetInterfaceTypeValue() override { return static_cast<SHORT>(Link()->InterfaceType()); }
    BOOL GetCommError(VARIANT* text, LONG* code) override {
        std::string t;
        std::int32_t c = 0;
        BOOL ok = Link()->GetCommError(t, c);
        VariantClear(text);
        text->vt = VT_BSTR;
        text->bstrVal = BstrFromUtf8(t);
        *code = c;
        return ok && c != 0;
    }
    BOOL GoToLocal() override { return FALSE; }
    BOOL GoToRemote() override { return FALSE; }
    BOOL IsInstrumentResponding() override { return FALSE; }
    BOOL GetSerialSettings(BSTR*, BSTR*, BSTR*) override { return FALSE; }
    HRESULT get_Files(BSTR* files) override {
        *files = BstrFromUtf8("Fake.ocx");
        return S_OK;
    }

protected:
    IUnknown* GetInterface(REFIID iid) override {
        if (GivesDualComm() && iid == IID_IDualComm)
            return static_cast<IDualComm*>(this);
        if (GivesDualComm() && iid == IID_IDispatch)
            return static_cast<IDispatch*>(this);
        return nullptr;
    }
};

} // namespace tvane::driver::test
