#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/com/ComException.h"
#include "platform/com/Dispatch.h"

namespace tvane {

// One argument of a DispatchDriver call, named by its VT_ code as in the
// members' parameter lists: I2, I4, R8, BOOL and BSTR by value, a VARIANT by
// value, and P-forms that pass the address of the caller's variable for the
// callee to write. The text of Bstr must outlive the call (it is converted to a
// BSTR only for the call).
class DispArg {
public:
    static DispArg I2(SHORT v) {
        return Scalar(VT_I2, [&](VARIANT& x) { x.iVal = v; });
    }
    static DispArg I4(LONG v) {
        return Scalar(VT_I4, [&](VARIANT& x) { x.lVal = v; });
    }
    static DispArg R8(DOUBLE v) {
        return Scalar(VT_R8, [&](VARIANT& x) { x.dblVal = v; });
    }
    static DispArg Bool(bool v) {
        return Scalar(VT_BOOL, [&](VARIANT& x) { x.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE; });
    }
    static DispArg Bstr(std::string_view utf8) {
        DispArg a;
        a.m_kind = Kind::Text;
        a.m_text = utf8;
        return a;
    }
    static DispArg Var(const VARIANT& v) {
        DispArg a;
        a.m_kind = Kind::Variant;
        a.m_variant = &v;
        return a;
    }
    static DispArg PI2(SHORT* p) { return Ref(VT_I2, p); }
    static DispArg PI4(LONG* p) { return Ref(VT_I4, p); }
    static DispArg PR8(DOUBLE* p) { return Ref(VT_R8, p); }
    static DispArg PBstr(BSTR* p) { return Ref(VT_BSTR, p); }
    static DispArg PVariant(VARIANT* p) { return Ref(VT_VARIANT, p); }
    // A BOOL (int) out value: passed as a VARIANT_BOOL, written back as TRUE/FALSE.
    static DispArg PBool(BOOL* p) {
        DispArg a;
        a.m_kind = Kind::BoolRef;
        a.m_boolRef = p;
        return a;
    }

    // The argument for a parameter type code, for wrappers generated from a
    // table: value points at the caller's SHORT (VT_I2), LONG (VT_I4), DOUBLE
    // (VT_R8), BOOL (VT_BOOL), std::string (VT_BSTR) or VARIANT (VT_VARIANT); for
    // VT_BYREF | type it is the address the callee writes (BOOL* for VT_BOOL).
    // Any other code throws ComException(DISP_E_BADVARTYPE).
    static DispArg Of(VARTYPE type, const void* value);

private:
    friend class DispatchDriver;
    enum class Kind { Value, Text, Variant, BoolRef };
    template <class F> static DispArg Scalar(VARTYPE vt, F fill) {
        DispArg a;
        a.m_value.vt = vt;
        fill(a.m_value);
        return a;
    }
    static DispArg Ref(VARTYPE vt, void* p) {
        DispArg a;
        a.m_value.vt = static_cast<VARTYPE>(VT_BYREF | vt);
        a.m_value.byref = p;
        return a;
    }

    Kind m_kind = Kind::Value;
    VARIANT m_value;
    std::string_view m_text;
    const VARIANT* m_variant = nullptr;
    BOOL* m_boolRef = nullptr;
};

// Calls an IDispatch by DISPID, in the manner of the class library's dispatch
// driver: wrappers are one InvokeHelper call each. A failed Invoke throws:
// DispatchException when the callee raised one (DISP_E_EXCEPTION), else
// ComException with the code and the error information the object left.
// Calling with no dispatch attached throws ComException(E_UNEXPECTED).
class DispatchDriver {
public:
    DispatchDriver() = default;
    explicit DispatchDriver(IDispatch* dispatch, bool autoRelease = true) {
        AttachDispatch(dispatch, autoRelease);
    }
    DispatchDriver(const DispatchDriver&) = delete;
    DispatchDriver& operator=(const DispatchDriver&) = delete;
    virtual ~DispatchDriver() { ReleaseDispatch(); }

    // Takes dispatch (with the caller's reference); autoRelease: released by
    // ReleaseDispatch and the destructor, else only dropped.
    void AttachDispatch(IDispatch* dispatch, bool autoRelease = true);
    IDispatch* DetachDispatch();
    void ReleaseDispatch();
    IDispatch* Dispatch() const { return m_dispatch; }

    // result points at the result variable of type resultType: SHORT (VT_I2),
    // LONG (VT_I4), DOUBLE (VT_R8), BOOL (VT_BOOL), std::string (VT_BSTR, UTF-8),
    // VARIANT (VT_VARIANT; the old value is cleared, so it must be initialised),
    // IDispatch* or IUnknown* (one reference); VT_EMPTY takes no result.
    void InvokeHelper(DISPID id, WORD flags, VARTYPE resultType, void* result,
                      std::initializer_list<DispArg> args = {});
    void GetProperty(DISPID id, VARTYPE type, void* result) {
        InvokeHelper(id, DISPATCH_PROPERTYGET, type, result);
    }
    void SetProperty(DISPID id, DispArg value);

private:
    IDispatch* m_dispatch = nullptr;
    bool m_autoRelease = true;
};

} // namespace tvane
