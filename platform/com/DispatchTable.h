#pragma once
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/com/ComException.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Variant.h"

namespace tvane {

// The checked arguments of one dispatch call, in declaration order (index 0 is
// the first parameter). By-value arguments are already converted to their
// declared type; by-reference ones point into the caller's storage, so writing
// them is how out values go back.
class DispatchArgs {
public:
    std::size_t Count() const { return m_args.size(); }
    VARIANT& operator[](std::size_t i) { return *m_args.at(i); }

    // Each accessor checks that the parameter was declared with its type (a
    // member that reads the wrong one fails with DISP_E_TYPEMISMATCH).
    SHORT I2(std::size_t i) { return Typed(i, VT_I2).iVal; }
    LONG I4(std::size_t i) { return Typed(i, VT_I4).lVal; }
    DOUBLE R8(std::size_t i) { return Typed(i, VT_R8).dblVal; }
    bool Bool(std::size_t i) { return Typed(i, VT_BOOL).boolVal != VARIANT_FALSE; }
    BSTR Bstr(std::size_t i) { return Typed(i, VT_BSTR).bstrVal; }
    std::string Str(std::size_t i) { return Utf8FromBstr(Bstr(i)); }

    SHORT& RefI2(std::size_t i) { return *Typed(i, VT_BYREF | VT_I2).piVal; }
    LONG& RefI4(std::size_t i) { return *Typed(i, VT_BYREF | VT_I4).plVal; }
    DOUBLE& RefR8(std::size_t i) { return *Typed(i, VT_BYREF | VT_R8).pdblVal; }
    VARIANT_BOOL& RefBool(std::size_t i) { return *Typed(i, VT_BYREF | VT_BOOL).pboolVal; }
    BSTR& RefBstr(std::size_t i) { return *Typed(i, VT_BYREF | VT_BSTR).pbstrVal; }
    VARIANT& RefVariant(std::size_t i) { return *Typed(i, VT_BYREF | VT_VARIANT).pvarVal; }

private:
    friend class DispatchTableBase;
    VARIANT& Typed(std::size_t i, VARTYPE vt) {
        VARIANT& v = (*this)[i];
        if (v.vt != vt)
            throw ComException(DISP_E_TYPEMISMATCH);
        return v;
    }
    std::vector<VARIANT*> m_args;
};

// The members of a dispatch interface by DISPID, with their parameter and result
// types: Invoke checks the call against them (count, types, flags), converts
// by-value arguments (DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW with the argument's
// position when one does not convert), calls the member and converts its result.
// A member fails by throwing: DispatchException (Invoke returns DISP_E_EXCEPTION
// with the EXCEPINFO filled), ComException (its code is returned), any other
// exception (DISP_E_EXCEPTION with its text).
//
// Parameter types are VT_ codes; VT_VARIANT takes any value, VT_BYREF | type
// takes a reference of exactly that type (or a VARIANT reference holding one); a
// null reference is E_POINTER with its position.
class DispatchTableBase {
public:
    struct Member {
        DISPID id;
        std::string name;
        WORD flags; // DISPATCH_METHOD, or the property's GET and/or PUT
        VARTYPE resultType;
        std::vector<VARTYPE> params;
        std::function<void(void* object, DispatchArgs& args, Variant& result)> invoke;
        std::function<void(void* object, const VARIANT& value)> put;
    };

    const Member* Find(DISPID id) const;
    const std::vector<Member>& Members() const { return m_members; }

    // Names are matched ignoring case; only the member name is known, so a
    // further (parameter) name gives DISP_E_UNKNOWNNAME.
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;
    HRESULT Invoke(void* object, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) const;

protected:
    void Add(Member member);

private:
    std::vector<Member> m_members;
};

// The table of one class T. Built once (a function-local static) and shared by
// every object of the class:
//
//   static const DispatchTable<CFoo>& Table() {
//       static const auto table = DispatchTable<CFoo>()
//           .Method(1, "SetMonitorChnl", VT_BOOL, {VT_I2},
//                   [](CFoo& o, DispatchArgs& a, Variant& r) { r = o.SetMonitorChnl(a.I2(0)); })
//           .Property(2, "InterfaceType", VT_I2,
//                     [](CFoo& o, Variant& r) { r = o.m_type; },
//                     [](CFoo& o, const VARIANT& v) { o.m_type = v.iVal; });
//       return table;
//   }
//   HRESULT Invoke(...) override { return Table().Invoke(this, id, iid, flags, ...); }
template <class T> class DispatchTable : public DispatchTableBase {
public:
    using MethodBody = std::function<void(T&, DispatchArgs&, Variant&)>;
    using Getter = std::function<void(T&, Variant&)>;
    using Setter = std::function<void(T&, const VARIANT&)>;

    DispatchTable&& Method(DISPID id, std::string name, VARTYPE resultType,
                           std::initializer_list<VARTYPE> params, MethodBody body) && {
        Add({id, std::move(name), DISPATCH_METHOD, resultType, params,
             [body = std::move(body)](void* o, DispatchArgs& a, Variant& r) {
                 body(*static_cast<T*>(o), a, r);
             },
             nullptr});
        return std::move(*this);
    }

    // A property; a null setter makes it read-only (a put is DISP_E_MEMBERNOTFOUND).
    DispatchTable&& Property(DISPID id, std::string name, VARTYPE type, Getter get,
                             Setter set = nullptr) && {
        WORD flags = DISPATCH_PROPERTYGET;
        std::function<void(void*, const VARIANT&)> put;
        if (set) {
            flags |= DISPATCH_PROPERTYPUT;
            put = [set = std::move(set)](void* o, const VARIANT& v) {
                set(*static_cast<T*>(o), v);
            };
        }
        Add({id,
             std::move(name),
             flags,
             type,
             {},
             [get = std::move(get)](void* o, DispatchArgs&, Variant& r) {
                 get(*static_cast<T*>(o), r);
             },
             std::move(put)});
        return std::move(*this);
    }

    HRESULT Invoke(T* object, DISPID id, REFIID iid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) const {
        return DispatchTableBase::Invoke(object, id, iid, flags, params, result, exception,
                                         argError);
    }
};

} // namespace tvane
