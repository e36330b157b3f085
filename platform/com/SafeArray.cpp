#include "platform/com/SafeArray.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "platform/com/Dispatch.h"

namespace tvane {
namespace {

// The element type sits in a header before the descriptor, as the original keeps it.
struct Header {
    VARTYPE vt;
    alignas(std::max_align_t) unsigned char descriptor[1];
};
constexpr std::size_t kDescriptorOffset = offsetof(Header, descriptor);

SAFEARRAYBOUND* Bounds(SAFEARRAY* a) {
    return a->rgsabound;
}
const SAFEARRAYBOUND* Bounds(const SAFEARRAY* a) {
    return a->rgsabound;
}

VARTYPE& ElementType(SAFEARRAY* a) {
    return reinterpret_cast<Header*>(reinterpret_cast<unsigned char*>(a) - kDescriptorOffset)->vt;
}

ULONG ElementSize(VARTYPE vt) {
    switch (vt) {
    case VT_UI1:
    case VT_I1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_R8:
    case VT_DATE:
        return 8;
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return sizeof(IUnknown*);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

USHORT Features(VARTYPE vt) {
    USHORT f = FADF_HAVEVARTYPE;
    if (vt == VT_BSTR)
        f |= FADF_BSTR;
    else if (vt == VT_VARIANT)
        f |= FADF_VARIANT;
    else if (vt == VT_UNKNOWN)
        f |= FADF_UNKNOWN;
    else if (vt == VT_DISPATCH)
        f |= FADF_DISPATCH;
    return f;
}

// Element count, or 0 with overflow set when it does not fit in memory.
std::size_t ElementCount(const SAFEARRAY* a, bool* overflow) {
    std::size_t n = 1;
    *overflow = false;
    for (USHORT d = 0; d < a->cDims; ++d) {
        const std::size_t c = Bounds(a)[d].cElements;
        if (c != 0 && n > (std::size_t(1) << 40) / c) {
            *overflow = true;
            return 0;
        }
        n *= c;
    }
    return n;
}

SAFEARRAY* AllocateDescriptor(VARTYPE vt, UINT dims) {
    const std::size_t size =
        kDescriptorOffset + sizeof(SAFEARRAY) + (dims - 1) * sizeof(SAFEARRAYBOUND);
    auto* block = static_cast<unsigned char*>(std::calloc(1, size));
    if (!block)
        return nullptr;
    reinterpret_cast<Header*>(block)->vt = vt;
    auto* a = reinterpret_cast<SAFEARRAY*>(block + kDescriptorOffset);
    a->cDims = static_cast<USHORT>(dims);
    a->fFeatures = Features(vt);
    a->cbElements = ElementSize(vt);
    return a;
}

void FreeDescriptor(SAFEARRAY* a) {
    std::free(reinterpret_cast<unsigned char*>(a) - kDescriptorOffset);
}

// Frees what the elements own and zeroes them.
void ClearElements(SAFEARRAY* a, std::size_t count) {
    const VARTYPE vt = ElementType(a);
    if (vt == VT_BSTR) {
        auto* p = static_cast<BSTR*>(a->pvData);
        for (std::size_t i = 0; i < count; ++i)
            SysFreeString(p[i]);
    } else if (vt == VT_VARIANT) {
        auto* p = static_cast<VARIANT*>(a->pvData);
        for (std::size_t i = 0; i < count; ++i)
            VariantClear(&p[i]);
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        auto* p = static_cast<IUnknown**>(a->pvData);
        for (std::size_t i = 0; i < count; ++i)
            if (p[i])
                p[i]->Release();
    }
}

HRESULT Offset(SAFEARRAY* a, const LONG* indices, std::size_t* offset) {
    if (!a || !indices)
        return E_INVALIDARG;
    std::size_t index = 0;
    std::size_t stride = 1;
    for (USHORT d = 0; d < a->cDims; ++d) {
        const SAFEARRAYBOUND& b = Bounds(a)[d];
        const long long rel = static_cast<long long>(indices[d]) - b.lLbound;
        if (rel < 0 || rel >= static_cast<long long>(b.cElements))
            return DISP_E_BADINDEX;
        index += static_cast<std::size_t>(rel) * stride;
        stride *= b.cElements;
    }
    *offset = index * a->cbElements;
    return S_OK;
}

} // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds) {
    if (dims == 0 || dims > 64 || !bounds || ElementSize(vt) == 0)
        return nullptr;
    SAFEARRAY* a = AllocateDescriptor(vt, dims);
    if (!a)
        return nullptr;
    for (UINT d = 0; d < dims; ++d)
        Bounds(a)[d] = bounds[d];
    bool overflow = false;
    const std::size_t count = ElementCount(a, &overflow);
    if (overflow) {
        FreeDescriptor(a);
        return nullptr;
    }
    // calloc zeroes: null BSTRs and interfaces, VT_EMPTY variants.
    a->pvData = std::calloc(count ? count : 1, a->cbElements);
    if (!a->pvData) {
        FreeDescriptor(a);
        return nullptr;
    }
    return a;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count) {
    const SAFEARRAYBOUND bound{count, lowerBound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* a) {
    if (!a)
        return S_OK;
    if (a->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    bool overflow = false;
    ClearElements(a, ElementCount(a, &overflow));
    std::free(a->pvData);
    FreeDescriptor(a);
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* a, SAFEARRAY** copy) {
    if (!copy)
        return E_INVALIDARG;
    *copy = nullptr;
    if (!a)
        return S_OK;
    const VARTYPE vt = ElementType(a);
    SAFEARRAY* c = SafeArrayCreate(vt, a->cDims, Bounds(a));
    if (!c)
        return E_OUTOFMEMORY;
    bool overflow = false;
    const std::size_t count = ElementCount(a, &overflow);
    if (vt == VT_BSTR) {
        auto* from = static_cast<BSTR*>(a->pvData);
        auto* to = static_cast<BSTR*>(c->pvData);
        for (std::size_t i = 0; i < count; ++i) {
            if (from[i] && !(to[i] = SysAllocStringLen(from[i], SysStringLen(from[i])))) {
                SafeArrayDestroy(c);
                return E_OUTOFMEMORY;
            }
        }
    } else if (vt == VT_VARIANT) {
        auto* from = static_cast<VARIANT*>(a->pvData);
        auto* to = static_cast<VARIANT*>(c->pvData);
        for (std::size_t i = 0; i < count; ++i) {
            const HRESULT hr = VariantCopy(&to[i], &from[i]);
            if (FAILED(hr)) {
                SafeArrayDestroy(c);
                return hr;
            }
        }
    } else {
        if (count)
            std::memcpy(c->pvData, a->pvData, count * a->cbElements);
        if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
            auto* p = static_cast<IUnknown**>(c->pvData);
            for (std::size_t i = 0; i < count; ++i)
                if (p[i])
                    p[i]->AddRef();
        }
    }
    *copy = c;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* a) {
    return a ? a->cDims : 0;
}
UINT SafeArrayGetElemsize(SAFEARRAY* a) {
    return a ? a->cbElements : 0;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* a, VARTYPE* vt) {
    if (!a || !vt)
        return E_INVALIDARG;
    *vt = ElementType(a);
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* a, UINT dim, LONG* bound) {
    if (!a || !bound)
        return E_INVALIDARG;
    if (dim < 1 || dim > a->cDims)
        return DISP_E_BADINDEX;
    *bound = Bounds(a)[dim - 1].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* a, UINT dim, LONG* bound) {
    if (!a || !bound)
        return E_INVALIDARG;
    if (dim < 1 || dim > a->cDims)
        return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = Bounds(a)[dim - 1];
    *bound = static_cast<LONG>(static_cast<long long>(b.lLbound) + b.cElements - 1);
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* a) {
    if (!a)
        return E_INVALIDARG;
    ++a->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* a) {
    if (!a)
        return E_INVALIDARG;
    if (a->cLocks == 0)
        return E_UNEXPECTED;
    --a->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* a, void** data) {
    if (!a || !data)
        return E_INVALIDARG;
    SafeArrayLock(a);
    *data = a->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* a) {
    return SafeArrayUnlock(a);
}

HRESULT SafeArrayPtrOfIndex(SAFEARRAY* a, const LONG* indices, void** element) {
    if (!element)
        return E_INVALIDARG;
    std::size_t offset = 0;
    const HRESULT hr = Offset(a, indices, &offset);
    if (FAILED(hr))
        return hr;
    *element = static_cast<unsigned char*>(a->pvData) + offset;
    return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* a, const LONG* indices, void* value) {
    if (!value)
        return E_INVALIDARG;
    void* p = nullptr;
    HRESULT hr = SafeArrayPtrOfIndex(a, indices, &p);
    if (FAILED(hr))
        return hr;
    const VARTYPE vt = ElementType(a);
    if (vt == VT_BSTR) {
        BSTR s = *static_cast<BSTR*>(p);
        BSTR copy = s ? SysAllocStringLen(s, SysStringLen(s)) : nullptr;
        if (s && !copy)
            return E_OUTOFMEMORY;
        *static_cast<BSTR*>(value) = copy;
    } else if (vt == VT_VARIANT) {
        auto* out = static_cast<VARIANT*>(value);
        VariantInit(out);
        hr = VariantCopy(out, static_cast<VARIANT*>(p));
    } else {
        std::memcpy(value, p, a->cbElements);
        if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
            IUnknown* u = *static_cast<IUnknown**>(value);
            if (u)
                u->AddRef();
        }
    }
    return hr;
}

HRESULT SafeArrayPutElement(SAFEARRAY* a, const LONG* indices, const void* value) {
    void* p = nullptr;
    HRESULT hr = SafeArrayPtrOfIndex(a, indices, &p);
    if (FAILED(hr))
        return hr;
    const VARTYPE vt = ElementType(a);
    if (vt == VT_BSTR) {
        auto s = static_cast<const OLECHAR*>(value);
        BSTR copy = nullptr;
        if (s) {
            // value is a BSTR: its length prefix counts, embedded zeros included.
            copy = SysAllocStringLen(s, SysStringLen(const_cast<BSTR>(s)));
            if (!copy)
                return E_OUTOFMEMORY;
        }
        SysFreeString(*static_cast<BSTR*>(p));
        *static_cast<BSTR*>(p) = copy;
    } else if (vt == VT_VARIANT) {
        if (!value)
            return E_INVALIDARG;
        hr = VariantCopy(static_cast<VARIANT*>(p), static_cast<const VARIANT*>(value));
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        auto* u = static_cast<IUnknown*>(const_cast<void*>(value));
        if (u)
            u->AddRef();
        IUnknown*& slot = *static_cast<IUnknown**>(p);
        if (slot)
            slot->Release();
        slot = u;
    } else {
        if (!value)
            return E_INVALIDARG;
        std::memcpy(p, value, a->cbElements);
    }
    return hr;
}

} // namespace tvane
