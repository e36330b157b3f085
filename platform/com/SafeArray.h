#pragma once
#include "platform/com/Types.h"
#include "platform/com/Variant.h"

// A bounds-checked array of 1 or more dimensions, as passed in VARIANTs of type
// VT_ARRAY | element type. The bounds stand in creation order (bound 0 is the
// first dimension; not reversed as in the original layout). Indices passed to
// the element functions follow the same order, and the first index varies
// fastest in memory.
struct SAFEARRAYBOUND {
    ULONG cElements = 0;
    LONG lLbound = 0;
};

struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    void* pvData;
    SAFEARRAYBOUND rgsabound[1]; // cDims entries
};

inline constexpr USHORT FADF_BSTR = 0x0100;
inline constexpr USHORT FADF_UNKNOWN = 0x0200;
inline constexpr USHORT FADF_DISPATCH = 0x0400;
inline constexpr USHORT FADF_VARIANT = 0x0800;
inline constexpr USHORT FADF_HAVEVARTYPE = 0x0080;

namespace tvane {

// Element types: VT_UI1, VT_I2, VT_I4, VT_R4, VT_R8, VT_BOOL, VT_ERROR, VT_DATE,
// VT_BSTR, VT_VARIANT, VT_UNKNOWN, VT_DISPATCH. Elements start zeroed (empty
// strings, VT_EMPTY variants). Null when the type or bounds are not valid.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count);
// Frees the array and what its elements hold; DISP_E_ARRAYISLOCKED while locked.
HRESULT SafeArrayDestroy(SAFEARRAY* array);
HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy);

UINT SafeArrayGetDim(SAFEARRAY* array);
UINT SafeArrayGetElemsize(SAFEARRAY* array);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
// dim counts from 1; DISP_E_BADINDEX outside 1..dims.
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound);

HRESULT SafeArrayLock(SAFEARRAY* array);
HRESULT SafeArrayUnlock(SAFEARRAY* array);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
// Address of one element; DISP_E_BADINDEX outside the bounds.
HRESULT SafeArrayPtrOfIndex(SAFEARRAY* array, const LONG* indices, void** element);

// Copy out of / into one element. A BSTR, VARIANT or interface is copied (the
// caller owns what GetElement gives, the array owns what PutElement stored).
// For VT_BSTR elements value is a BSTR (Put) or BSTR* (Get); for VT_VARIANT a
// VARIANT*; for interfaces the pointer (Put) or its address (Get); else the
// address of the scalar.
HRESULT SafeArrayGetElement(SAFEARRAY* array, const LONG* indices, void* value);
HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices, const void* value);

// Owns a SAFEARRAY (destroyed with the holder).
class SafeArrayHolder {
public:
    SafeArrayHolder() = default;
    explicit SafeArrayHolder(SAFEARRAY* owned) : m_array(owned) {}
    SafeArrayHolder(const SafeArrayHolder&) = delete;
    SafeArrayHolder& operator=(const SafeArrayHolder&) = delete;
    SafeArrayHolder(SafeArrayHolder&& other) noexcept : m_array(other.Detach()) {}
    ~SafeArrayHolder() { Reset(); }
    void Reset(SAFEARRAY* owned = nullptr) {
        if (m_array)
            SafeArrayDestroy(m_array);
        m_array = owned;
    }
    SAFEARRAY* Get() const { return m_array; }
    SAFEARRAY* Detach() {
        SAFEARRAY* a = m_array;
        m_array = nullptr;
        return a;
    }

private:
    SAFEARRAY* m_array = nullptr;
};

} // namespace tvane
