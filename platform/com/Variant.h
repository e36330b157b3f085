#pragma once
#include <string>
#include <string_view>

#include "platform/com/Bstr.h"
#include "platform/com/Types.h"

class IUnknown;
class IDispatch;
struct SAFEARRAY;

// Variant types (VARENUM). VT_ARRAY and VT_BYREF combine with a base type.
enum : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

// A tagged value as passed through IDispatch::Invoke. The payload members are
// flattened into one union (no nested names). A VARIANT owns what it holds: a
// BSTR, an interface reference or a SAFEARRAY; VT_BYREF variants own nothing.
struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    WORD wReserved1 = 0;
    WORD wReserved2 = 0;
    WORD wReserved3 = 0;
    union {
        LONGLONG llVal = 0;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        DATE date;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        FLOAT* pfltVal;
        DOUBLE* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        DATE* pdate;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        void* byref;
    };
};
using VARIANTARG = VARIANT;

// VariantChangeType flags.
inline constexpr USHORT VARIANT_NOVALUEPROP = 0x01;
inline constexpr USHORT VARIANT_ALPHABOOL = 0x02; // VT_BOOL to text as "True"/"False"

namespace tvane {

void VariantInit(VARIANT* v);
// Frees what the variant holds and makes it VT_EMPTY. DISP_E_ARRAYISLOCKED leaves
// a locked array in place; DISP_E_BADVARTYPE for an unknown type.
HRESULT VariantClear(VARIANT* v);
// dest becomes a deep copy of src (strings, arrays copied; interfaces referenced).
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// As VariantCopy, following a VT_BYREF source to the value it points at.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);
// Converts src (by value or by reference) to type vt into dest; dest may be src.
// Numbers convert among each other with range checks (DISP_E_OVERFLOW), doubles
// round to even; texts parse as numbers (C locale) or "True"/"False";
// VT_EMPTY gives 0 or ""; everything else is DISP_E_TYPEMISMATCH.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);

// Owns one VARIANT (like the class library's variant classes). Usable wherever a
// VARIANT* is wanted: &variant.
class Variant : public VARIANT {
public:
    Variant() = default;
    Variant(SHORT value) { vt = VT_I2, iVal = value; }
    Variant(LONG value) { vt = VT_I4, lVal = value; }
    Variant(DOUBLE value) { vt = VT_R8, dblVal = value; }
    Variant(bool value) { vt = VT_BOOL, boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; }
    Variant(std::string_view utf8);
    Variant(const char* utf8) : Variant(std::string_view(utf8 ? utf8 : "")) {}
    Variant(const std::string& utf8) : Variant(std::string_view(utf8)) {}
    Variant(const VARIANT& other);
    Variant(const Variant& other) : Variant(static_cast<const VARIANT&>(other)) {}
    Variant(Variant&& other) noexcept;
    ~Variant() { VariantClear(this); }
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;

    // An argument left out of a dispatch call (VT_ERROR, DISP_E_PARAMNOTFOUND).
    static Variant Missing();
    static Variant Error(SCODE code);
    // Takes over a BSTR the caller owns.
    static Variant FromBstr(BSTR owned);

    void Clear() { VariantClear(this); }
    // Takes over the contents of v (v becomes VT_EMPTY).
    void Attach(VARIANT& v);
    // Hands over the contents; this becomes VT_EMPTY.
    VARIANT Detach();

    VARTYPE Type() const { return vt; }
    bool IsEmpty() const { return vt == VT_EMPTY; }

    // Converted copies of the value; a failed conversion throws tvane::ComException.
    SHORT ToI2() const;
    LONG ToI4() const;
    DOUBLE ToR8() const;
    bool ToBool() const;
    std::string ToString() const;
};

} // namespace tvane
