#include "platform/com/DispatchDriver.h"

#include <vector>

namespace tvane {

void DispatchDriver::AttachDispatch(IDispatch* dispatch, bool autoRelease) {
    ReleaseDispatch();
    m_dispatch = dispatch;
    m_autoRelease = autoRelease;
}

IDispatch* DispatchDriver::DetachDispatch() {
    IDispatch* d = m_dispatch;
    m_dispatch = nullptr;
    return d;
}

void DispatchDriver::ReleaseDispatch() {
    if (m_dispatch && m_autoRelease)
        m_dispatch->Release();
    m_dispatch = nullptr;
}

namespace {

// The BSTRs and BOOL stand-ins built for one call.
struct CallArgs {
    std::vector<VARIANT> values;
    std::vector<VARIANT_BOOL> bools;
    ~CallArgs() {
        for (VARIANT& v : values)
            if (v.vt == VT_BSTR)
                SysFreeString(v.bstrVal);
    }
};

void StoreResult(VARTYPE type, void* result, VARIANT& value) {
    switch (type) {
    case VT_I2:
        *static_cast<SHORT*>(result) = value.iVal;
        break;
    case VT_I4:
        *static_cast<LONG*>(result) = value.lVal;
        break;
    case VT_R8:
        *static_cast<DOUBLE*>(result) = value.dblVal;
        break;
    case VT_BOOL:
        *static_cast<BOOL*>(result) = value.boolVal != VARIANT_FALSE;
        break;
    case VT_BSTR:
        *static_cast<std::string*>(result) = Utf8FromBstr(value.bstrVal);
        break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        *static_cast<IUnknown**>(result) = value.punkVal;
        value = VARIANT{}; // the caller owns the reference now
        return;
    case VT_VARIANT: {
        auto* target = static_cast<VARIANT*>(result);
        VariantClear(target);
        *target = value;
        value = VARIANT{};
        return;
    }
    default:
        throw ComException(DISP_E_BADVARTYPE);
    }
}

} // namespace

void DispatchDriver::InvokeHelper(DISPID id, WORD flags, VARTYPE resultType, void* result,
                                  std::initializer_list<DispArg> args) {
    if (!m_dispatch)
        throw ComException(E_UNEXPECTED, "No dispatch interface is attached.");

    CallArgs call;
    call.values.resize(args.size());
    call.bools.resize(args.size());
    // Invoke takes the arguments last first.
    std::size_t slot = args.size();
    std::size_t index = 0;
    for (const DispArg& a : args) {
        VARIANT& v = call.values[--slot];
        switch (a.m_kind) {
        case DispArg::Kind::Value:
            v = a.m_value;
            break;
        case DispArg::Kind::Text:
            v.vt = VT_BSTR;
            v.bstrVal = BstrFromUtf8(a.m_text);
            if (!v.bstrVal)
                throw ComException(E_OUTOFMEMORY);
            break;
        case DispArg::Kind::Variant:
            // Passed as it stands; Invoke does not take ownership of arguments.
            v = *a.m_variant;
            break;
        case DispArg::Kind::BoolRef:
            call.bools[index] = *a.m_boolRef ? VARIANT_TRUE : VARIANT_FALSE;
            v.vt = VT_BYREF | VT_BOOL;
            v.pboolVal = &call.bools[index];
            break;
        }
        ++index;
    }

    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params;
    params.rgvarg = call.values.empty() ? nullptr : call.values.data();
    params.cArgs = static_cast<UINT>(call.values.size());
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }

    Variant value;
    EXCEPINFO exception;
    UINT argError = 0;
    const HRESULT hr =
        m_dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                           resultType == VT_EMPTY ? nullptr : &value, &exception, &argError);
    // Even a failed call may have written its out values.
    index = 0;
    for (const DispArg& a : args) {
        if (a.m_kind == DispArg::Kind::BoolRef)
            *a.m_boolRef = call.bools[index] != VARIANT_FALSE;
        ++index;
    }
    if (hr == DISP_E_EXCEPTION)
        throw DispatchException::Take(&exception);
    ClearExcepInfo(&exception);
    if (FAILED(hr))
        ThrowIfFailed(hr, m_dispatch, IID_IDispatch);

    if (resultType == VT_EMPTY || !result)
        return;
    if (resultType != VT_VARIANT && value.vt != resultType) {
        const HRESULT changed = VariantChangeType(&value, &value, 0, resultType);
        if (FAILED(changed))
            throw ComException(changed);
    }
    StoreResult(resultType, result, value);
}

DispArg DispArg::Of(VARTYPE type, const void* value) {
    void* target = const_cast<void*>(value);
    switch (type) {
    case VT_I2:
        return I2(*static_cast<const SHORT*>(value));
    case VT_I4:
        return I4(*static_cast<const LONG*>(value));
    case VT_R8:
        return R8(*static_cast<const DOUBLE*>(value));
    case VT_BOOL:
        return Bool(*static_cast<const BOOL*>(value) != FALSE);
    case VT_BSTR:
        return Bstr(*static_cast<const std::string*>(value));
    case VT_VARIANT:
        return Var(*static_cast<const VARIANT*>(value));
    case VT_BYREF | VT_I2:
        return PI2(static_cast<SHORT*>(target));
    case VT_BYREF | VT_I4:
        return PI4(static_cast<LONG*>(target));
    case VT_BYREF | VT_R8:
        return PR8(static_cast<DOUBLE*>(target));
    case VT_BYREF | VT_BOOL:
        return PBool(static_cast<BOOL*>(target));
    case VT_BYREF | VT_BSTR:
        return PBstr(static_cast<BSTR*>(target));
    case VT_BYREF | VT_VARIANT:
        return PVariant(static_cast<VARIANT*>(target));
    default:
        throw ComException(DISP_E_BADVARTYPE);
    }
}

void DispatchDriver::SetProperty(DISPID id, DispArg value) {
    InvokeHelper(id, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, {value});
}

} // namespace tvane
