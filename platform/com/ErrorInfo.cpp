#include "platform/com/ErrorInfo.h"

#include "platform/com/ComObject.h"
#include "platform/com/ComPtr.h"

namespace tvane {
namespace {

class ErrorObject final : public ComObjectRoot, public IErrorInfo, public ICreateErrorInfo {
public:
    explicit ErrorObject(IUnknown* outer) : ComObjectRoot(outer, nullptr) {}
    TVANE_COM_DELEGATING_IUNKNOWN

    HRESULT GetGUID(GUID* guid) override { return Out(guid, m_guid); }
    HRESULT GetSource(BSTR* s) override { return OutText(s, m_source); }
    HRESULT GetDescription(BSTR* s) override { return OutText(s, m_description); }
    HRESULT GetHelpFile(BSTR* s) override { return OutText(s, m_helpFile); }
    HRESULT GetHelpContext(DWORD* c) override { return Out(c, m_helpContext); }

    HRESULT SetGUID(REFGUID guid) override {
        m_guid = guid;
        return S_OK;
    }
    HRESULT SetSource(LPCOLESTR s) override { return InText(m_source, s); }
    HRESULT SetDescription(LPCOLESTR s) override { return InText(m_description, s); }
    HRESULT SetHelpFile(LPCOLESTR s) override { return InText(m_helpFile, s); }
    HRESULT SetHelpContext(DWORD c) override {
        m_helpContext = c;
        return S_OK;
    }

protected:
    IUnknown* GetInterface(REFIID iid) override {
        if (iid == IID_IErrorInfo)
            return static_cast<IErrorInfo*>(this);
        if (iid == IID_ICreateErrorInfo)
            return static_cast<ICreateErrorInfo*>(this);
        return nullptr;
    }

private:
    template <class T> static HRESULT Out(T* out, const T& value) {
        if (!out)
            return E_POINTER;
        *out = value;
        return S_OK;
    }
    static HRESULT OutText(BSTR* out, const std::u16string& text) {
        if (!out)
            return E_POINTER;
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT InText(std::u16string& field, LPCOLESTR text) {
        field = text ? std::u16string(text) : std::u16string();
        return S_OK;
    }

    GUID m_guid;
    std::u16string m_source, m_description, m_helpFile;
    DWORD m_helpContext = 0;
};

// One per thread, process-wide: this library is shared by the program and its
// server modules.
thread_local ComPtr<IErrorInfo> t_errorInfo;

} // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** info) {
    if (!info)
        return E_POINTER;
    return CreateComInstance<ErrorObject>(nullptr, IID_ICreateErrorInfo,
                                          reinterpret_cast<void**>(info));
}

HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info) {
    if (reserved != 0)
        return E_INVALIDARG;
    t_errorInfo = ComPtr<IErrorInfo>(info);
    return S_OK;
}

HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (reserved != 0)
        return E_INVALIDARG;
    *info = t_errorInfo.Detach();
    return *info ? S_OK : S_FALSE;
}

HRESULT ReportError(REFGUID guid, HRESULT hr, std::string_view source, std::string_view description,
                    DWORD helpContext, std::string_view helpFile) {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Out())))
        return hr;
    create->SetGUID(guid);
    create->SetSource(Utf8ToUtf16(source).c_str());
    create->SetDescription(Utf8ToUtf16(description).c_str());
    create->SetHelpFile(Utf8ToUtf16(helpFile).c_str());
    create->SetHelpContext(helpContext);
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(info)))
        SetErrorInfo(0, info.Get());
    return hr;
}

ErrorDetails ReadErrorInfo(IErrorInfo* info) {
    ErrorDetails d;
    if (!info)
        return d;
    info->GetGUID(&d.guid);
    Bstr text;
    if (SUCCEEDED(info->GetSource(text.Out())))
        d.source = text.Utf8();
    if (SUCCEEDED(info->GetDescription(text.Out())))
        d.description = text.Utf8();
    if (SUCCEEDED(info->GetHelpFile(text.Out())))
        d.helpFile = text.Utf8();
    info->GetHelpContext(&d.helpContext);
    return d;
}

bool TakeErrorInfo(IUnknown* object, REFIID iid, ErrorDetails* details) {
    ComPtr<IErrorInfo> info;
    GetErrorInfo(0, info.Out());
    if (!info || !object)
        return false;
    ComPtr<ISupportErrorInfo> support;
    if (FAILED(object->QueryInterface(IID_ISupportErrorInfo, support.OutVoid())) || !support ||
        support->InterfaceSupportsErrorInfo(iid) != S_OK)
        return false;
    if (details)
        *details = ReadErrorInfo(info.Get());
    return true;
}

} // namespace tvane
