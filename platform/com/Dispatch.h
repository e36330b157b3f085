#pragma once
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

class ITypeInfo; // type information is not offered; GetTypeInfo fails

// Invoke flags.
inline constexpr WORD DISPATCH_METHOD = 0x1;
inline constexpr WORD DISPATCH_PROPERTYGET = 0x2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;

inline constexpr LCID LOCALE_USER_DEFAULT = 0x400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x800;

// Arguments of one Invoke. rgvarg holds them in reverse order: rgvarg[0] is the
// last argument. A property put names its value DISPID_PROPERTYPUT.
struct DISPPARAMS {
    VARIANTARG* rgvarg = nullptr;
    DISPID* rgdispidNamedArgs = nullptr;
    UINT cArgs = 0;
    UINT cNamedArgs = 0;
};

// Filled by Invoke when it returns DISP_E_EXCEPTION; the caller frees the texts
// (tvane::ClearExcepInfo). Exactly one of wCode and scode is non-zero.
struct EXCEPINFO {
    WORD wCode = 0;
    WORD wReserved = 0;
    BSTR bstrSource = nullptr;
    BSTR bstrDescription = nullptr;
    BSTR bstrHelpFile = nullptr;
    DWORD dwHelpContext = 0;
    void* pvReserved = nullptr;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*) = nullptr;
    SCODE scode = 0;
};

class IDispatch : public IUnknown {
public:
    TVANE_INTERFACE_IID(IDispatch, "{00020400-0000-0000-C000-000000000046}")

    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
    virtual HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                  DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* argError) = 0;

protected:
    ~IDispatch() = default;
};

inline constexpr IID IID_IDispatch = IDispatch::Iid;

namespace tvane {

// Frees the texts of an EXCEPINFO and zeroes it.
void ClearExcepInfo(EXCEPINFO* info);

} // namespace tvane
