#include "platform/com/Variant.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/com/ComException.h"
#include "platform/com/Dispatch.h"
#include "platform/com/SafeArray.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/core/Format.h"

namespace tvane {
namespace {

bool IsScalarType(VARTYPE t) {
    switch (t) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_DATE:
    case VT_ERROR:
    case VT_BOOL:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        return true;
    default:
        return false;
    }
}

bool IsValidType(VARTYPE vt) {
    const VARTYPE base = vt & VT_TYPEMASK;
    if (vt & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF))
        return false;
    if (vt & VT_ARRAY)
        return IsScalarType(base) || base == VT_BSTR || base == VT_VARIANT || base == VT_UNKNOWN ||
               base == VT_DISPATCH;
    if (base == VT_VARIANT)
        return (vt & VT_BYREF) != 0;
    if (base == VT_EMPTY || base == VT_NULL)
        return (vt & VT_BYREF) == 0;
    return IsScalarType(base) || base == VT_BSTR || base == VT_UNKNOWN || base == VT_DISPATCH;
}

// Copies the value of a by-value variant (BSTR, array and interface duplicated).
HRESULT CopyValue(VARIANT* dest, const VARIANT* src) {
    VARIANT out = *src;
    if (src->vt & VT_BYREF)
        ; // a reference is copied as a reference
    else if (src->vt & VT_ARRAY) {
        out.parray = nullptr;
        if (src->parray) {
            const HRESULT hr = SafeArrayCopy(src->parray, &out.parray);
            if (FAILED(hr))
                return hr;
        }
    } else if (src->vt == VT_BSTR) {
        if (src->bstrVal) {
            out.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
            if (!out.bstrVal)
                return E_OUTOFMEMORY;
        }
    } else if (src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) {
        if (src->punkVal)
            src->punkVal->AddRef();
    }
    *dest = out;
    return S_OK;
}

// A by-value view of what a by-reference variant points at; owns nothing.
HRESULT Dereference(const VARIANT* src, VARIANT* view) {
    if (!(src->vt & VT_BYREF)) {
        *view = *src;
        return S_OK;
    }
    if (!src->byref)
        return E_INVALIDARG;
    VARIANT v;
    v.vt = src->vt & ~VT_BYREF;
    if (v.vt & VT_ARRAY) {
        v.parray = *src->pparray;
        *view = v;
        return S_OK;
    }
    switch (v.vt) {
    case VT_VARIANT:
        if (src->pvarVal->vt & VT_BYREF)
            return E_INVALIDARG;
        *view = *src->pvarVal;
        return S_OK;
    case VT_I2:
    case VT_BOOL:
    case VT_UI2:
        v.iVal = *src->piVal;
        break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR:
        v.lVal = *src->plVal;
        break;
    case VT_R4:
        v.fltVal = *src->pfltVal;
        break;
    case VT_R8:
    case VT_DATE:
        v.dblVal = *src->pdblVal;
        break;
    case VT_I1:
    case VT_UI1:
        v.bVal = *src->pbVal;
        break;
    case VT_BSTR:
        v.bstrVal = *src->pbstrVal;
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        v.punkVal = *src->ppunkVal;
        break;
    default:
        return DISP_E_BADVARTYPE;
    }
    *view = v;
    return S_OK;
}

// A number read from a variant: integers exactly, floating values as doubles.
struct Number {
    bool isInteger;
    long long i;
    double d;
};

HRESULT ReadNumber(const VARIANT& v, Number* n) {
    switch (v.vt) {
    case VT_EMPTY:
        *n = {true, 0, 0};
        return S_OK;
    case VT_I2:
        *n = {true, v.iVal, 0};
        return S_OK;
    case VT_BOOL:
        *n = {true, v.boolVal ? -1 : 0, 0};
        return S_OK;
    case VT_UI2:
        *n = {true, v.uiVal, 0};
        return S_OK;
    case VT_I4:
    case VT_INT:
        *n = {true, v.lVal, 0};
        return S_OK;
    case VT_UI4:
    case VT_UINT:
        *n = {true, v.ulVal, 0};
        return S_OK;
    case VT_I1:
        *n = {true, v.cVal, 0};
        return S_OK;
    case VT_UI1:
        *n = {true, v.bVal, 0};
        return S_OK;
    case VT_R4:
        *n = {false, 0, v.fltVal};
        return S_OK;
    case VT_R8:
    case VT_DATE:
        *n = {false, 0, v.dblVal};
        return S_OK;
    case VT_BSTR: {
        const std::string text = Utf8FromBstr(v.bstrVal);
        std::size_t b = text.find_first_not_of(" \t");
        std::size_t e = text.find_last_not_of(" \t");
        if (b == std::string::npos)
            return DISP_E_TYPEMISMATCH;
        const std::string trimmed = text.substr(b, e - b + 1);
        if (EqualsNoCase(trimmed, "true")) {
            *n = {true, -1, 0};
            return S_OK;
        }
        if (EqualsNoCase(trimmed, "false")) {
            *n = {true, 0, 0};
            return S_OK;
        }
        errno = 0;
        char* end = nullptr;
        const long long asInt = std::strtoll(trimmed.c_str(), &end, 10);
        if (end && *end == 0 && errno == 0) {
            *n = {true, asInt, 0};
            return S_OK;
        }
        errno = 0;
        const double asDouble = std::strtod(trimmed.c_str(), &end);
        if (!end || *end != 0)
            return DISP_E_TYPEMISMATCH;
        if (errno == ERANGE && std::isinf(asDouble))
            return DISP_E_OVERFLOW;
        *n = {false, 0, asDouble};
        return S_OK;
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToInteger(const Number& n, long long min, long long max, long long* out) {
    long long value = n.i;
    if (!n.isInteger) {
        // Round half to even, as the original conversions do.
        const double r = std::nearbyint(n.d);
        if (!(r >= static_cast<double>(min) && r <= static_cast<double>(max)))
            return DISP_E_OVERFLOW;
        value = static_cast<long long>(r);
    }
    if (value < min || value > max)
        return DISP_E_OVERFLOW;
    *out = value;
    return S_OK;
}

HRESULT Convert(const VARIANT& src, USHORT flags, VARTYPE vt, VARIANT* out) {
    if (vt == VT_EMPTY) {
        *out = VARIANT{};
        return S_OK;
    }
    if (src.vt == VT_NULL || vt == VT_NULL || (vt & (VT_ARRAY | VT_BYREF)) || (src.vt & VT_ARRAY))
        return DISP_E_TYPEMISMATCH;
    if (src.vt == VT_ERROR || vt == VT_ERROR)
        return DISP_E_TYPEMISMATCH;
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        if (src.vt != VT_UNKNOWN && src.vt != VT_DISPATCH)
            return DISP_E_TYPEMISMATCH;
        VARIANT v;
        v.vt = vt;
        v.punkVal = nullptr;
        if (src.punkVal) {
            const HRESULT hr =
                src.punkVal->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown,
                                            reinterpret_cast<void**>(&v.punkVal));
            if (FAILED(hr))
                return DISP_E_TYPEMISMATCH;
        }
        *out = v;
        return S_OK;
    }
    if (src.vt == VT_UNKNOWN || src.vt == VT_DISPATCH)
        return DISP_E_TYPEMISMATCH;

    VARIANT v;
    v.vt = vt;
    if (vt == VT_BSTR) {
        std::string text;
        switch (src.vt) {
        case VT_EMPTY:
            break;
        case VT_BOOL:
            if (flags & VARIANT_ALPHABOOL)
                text = src.boolVal ? "True" : "False";
            else
                text = src.boolVal ? "-1" : "0";
            break;
        case VT_R4:
            text = Format("%.7G", static_cast<double>(src.fltVal));
            break;
        case VT_R8:
        case VT_DATE:
            text = Format("%.15G", src.dblVal);
            break;
        default: {
            Number n;
            const HRESULT hr = ReadNumber(src, &n);
            if (FAILED(hr))
                return hr;
            text = Format("%lld", n.i);
        }
        }
        v.bstrVal = BstrFromUtf8(text);
        if (!v.bstrVal)
            return E_OUTOFMEMORY;
        *out = v;
        return S_OK;
    }

    Number n;
    HRESULT hr = ReadNumber(src, &n);
    if (FAILED(hr))
        return hr;
    long long i = 0;
    switch (vt) {
    case VT_BOOL:
        v.boolVal = (n.isInteger ? n.i != 0 : n.d != 0.0) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VT_R8:
    case VT_DATE:
        v.dblVal = n.isInteger ? static_cast<double>(n.i) : n.d;
        break;
    case VT_R4: {
        const double d = n.isInteger ? static_cast<double>(n.i) : n.d;
        if (std::isfinite(d) && std::fabs(d) > FLT_MAX)
            return DISP_E_OVERFLOW;
        v.fltVal = static_cast<float>(d);
        break;
    }
    case VT_I1:
        hr = ToInteger(n, -128, 127, &i);
        v.cVal = static_cast<CHAR>(i);
        break;
    case VT_UI1:
        hr = ToInteger(n, 0, 255, &i);
        v.bVal = static_cast<BYTE>(i);
        break;
    case VT_I2:
        hr = ToInteger(n, -32768, 32767, &i);
        v.iVal = static_cast<SHORT>(i);
        break;
    case VT_UI2:
        hr = ToInteger(n, 0, 65535, &i);
        v.uiVal = static_cast<USHORT>(i);
        break;
    case VT_I4:
    case VT_INT:
        hr = ToInteger(n, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max(), &i);
        v.lVal = static_cast<LONG>(i);
        break;
    case VT_UI4:
    case VT_UINT:
        hr = ToInteger(n, 0, std::numeric_limits<ULONG>::max(), &i);
        v.ulVal = static_cast<ULONG>(i);
        break;
    default:
        return DISP_E_BADVARTYPE;
    }
    if (FAILED(hr))
        return hr;
    *out = v;
    return S_OK;
}

} // namespace

void VariantInit(VARIANT* v) {
    if (v)
        *v = VARIANT{};
}

HRESULT VariantClear(VARIANT* v) {
    if (!v)
        return E_INVALIDARG;
    if (!IsValidType(v->vt))
        return DISP_E_BADVARTYPE;
    if (!(v->vt & VT_BYREF)) {
        if (v->vt & VT_ARRAY) {
            if (v->parray) {
                const HRESULT hr = SafeArrayDestroy(v->parray);
                if (FAILED(hr))
                    return hr;
            }
        } else if (v->vt == VT_BSTR) {
            SysFreeString(v->bstrVal);
        } else if (v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH) {
            if (v->punkVal)
                v->punkVal->Release();
        }
    }
    *v = VARIANT{};
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
    if (!dest || !src)
        return E_INVALIDARG;
    if (dest == src)
        return S_OK;
    if (!IsValidType(src->vt))
        return DISP_E_BADVARTYPE;
    VARIANT copy;
    HRESULT hr = CopyValue(&copy, src);
    if (FAILED(hr))
        return hr;
    hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) {
    if (!dest || !src)
        return E_INVALIDARG;
    if (!IsValidType(src->vt))
        return DISP_E_BADVARTYPE;
    VARIANT view;
    HRESULT hr = Dereference(src, &view);
    if (FAILED(hr))
        return hr;
    VARIANT copy;
    hr = CopyValue(&copy, &view);
    if (FAILED(hr))
        return hr;
    hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt) {
    if (!dest || !src)
        return E_INVALIDARG;
    if (!IsValidType(src->vt))
        return DISP_E_BADVARTYPE;
    VARIANT view;
    HRESULT hr = Dereference(src, &view);
    if (FAILED(hr))
        return hr;
    VARIANT converted;
    if (view.vt == vt || vt == VT_VARIANT)
        hr = CopyValue(&converted, &view);
    else
        hr = Convert(view, flags, vt, &converted);
    if (FAILED(hr))
        return hr;
    hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&converted);
        return hr;
    }
    *dest = converted;
    return S_OK;
}

Variant::Variant(std::string_view utf8) {
    bstrVal = BstrFromUtf8(utf8);
    if (!bstrVal)
        throw std::bad_alloc();
    vt = VT_BSTR;
}

Variant::Variant(const VARIANT& other) {
    const HRESULT hr = VariantCopy(this, &other);
    if (FAILED(hr))
        throw ComException(hr);
}

Variant::Variant(Variant&& other) noexcept : VARIANT(other) {
    static_cast<VARIANT&>(other) = VARIANT{};
}

Variant& Variant::operator=(const Variant& other) {
    const HRESULT hr = VariantCopy(this, &other);
    if (FAILED(hr))
        throw ComException(hr);
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(this);
        static_cast<VARIANT&>(*this) = other;
        static_cast<VARIANT&>(other) = VARIANT{};
    }
    return *this;
}

Variant Variant::Missing() {
    return Error(DISP_E_PARAMNOTFOUND);
}

Variant Variant::Error(SCODE code) {
    Variant v;
    v.vt = VT_ERROR;
    v.scode = code;
    return v;
}

Variant Variant::FromBstr(BSTR owned) {
    Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = owned;
    return v;
}

void Variant::Attach(VARIANT& v) {
    VariantClear(this);
    static_cast<VARIANT&>(*this) = v;
    v = VARIANT{};
}

VARIANT Variant::Detach() {
    VARIANT v = *this;
    static_cast<VARIANT&>(*this) = VARIANT{};
    return v;
}

namespace {
Variant Converted(const VARIANT& v, VARTYPE vt, USHORT flags = 0) {
    Variant out;
    const HRESULT hr = VariantChangeType(&out, &v, flags, vt);
    if (FAILED(hr))
        throw ComException(hr);
    return out;
}
} // namespace

SHORT Variant::ToI2() const {
    return Converted(*this, VT_I2).iVal;
}
LONG Variant::ToI4() const {
    return Converted(*this, VT_I4).lVal;
}
DOUBLE Variant::ToR8() const {
    return Converted(*this, VT_R8).dblVal;
}
bool Variant::ToBool() const {
    return Converted(*this, VT_BOOL).boolVal != VARIANT_FALSE;
}
std::string Variant::ToString() const {
    return Utf8FromBstr(Converted(*this, VT_BSTR, VARIANT_ALPHABOOL).bstrVal);
}

} // namespace tvane
