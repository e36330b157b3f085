#include "platform/com/DispatchTable.h"

#include <new>

#include "platform/com/ComException.h"
#include "platform/core/CaseInsensitive.h"

namespace tvane {
namespace {

// Frees the converted copies of one call's by-value arguments.
struct ConvertedArgs {
    std::vector<VARIANT> values;
    ~ConvertedArgs() {
        for (VARIANT& v : values)
            VariantClear(&v);
    }
};

// Checks one argument against its declared type; by-value arguments are
// converted into converted, references are used in place.
HRESULT CheckArgument(VARIANT& arg, VARTYPE declared, VARIANT& converted, VARIANT** use) {
    if (declared & VT_BYREF) {
        if (arg.vt == declared) {
            // The member writes through the reference: it must point somewhere.
            if (!arg.byref)
                return E_POINTER;
            *use = &arg;
            return S_OK;
        }
        // A reference to a VARIANT that holds a value of the declared type: the
        // member writes into that value.
        if (arg.vt == (VT_BYREF | VT_VARIANT) && arg.pvarVal &&
            declared != (VT_BYREF | VT_VARIANT) && arg.pvarVal->vt == (declared & ~VT_BYREF)) {
            converted.vt = declared;
            converted.byref = &arg.pvarVal->llVal;
            *use = &converted;
            return S_OK;
        }
        return DISP_E_TYPEMISMATCH;
    }
    if (declared == VT_VARIANT) {
        const HRESULT hr = VariantCopyInd(&converted, &arg);
        *use = &converted;
        return hr;
    }
    VARIANT view = arg;
    if (arg.vt == (VT_BYREF | VT_VARIANT) && arg.pvarVal)
        view = *arg.pvarVal;
    if (view.vt == VT_ERROR && view.scode == DISP_E_PARAMNOTFOUND)
        return DISP_E_PARAMNOTOPTIONAL;
    const HRESULT hr = VariantChangeType(&converted, &view, 0, declared);
    *use = &converted;
    return FAILED(hr) && hr != DISP_E_OVERFLOW && hr != E_OUTOFMEMORY ? DISP_E_TYPEMISMATCH : hr;
}

} // namespace

void DispatchTableBase::Add(Member member) {
    // Two members under one DISPID would make the second unreachable.
    if (Find(member.id))
        throw Exception("DISPID " + std::to_string(member.id) + " is in the table twice");
    m_members.push_back(std::move(member));
}

const DispatchTableBase::Member* DispatchTableBase::Find(DISPID id) const {
    for (const Member& m : m_members)
        if (m.id == id)
            return &m;
    return nullptr;
}

HRESULT DispatchTableBase::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
    if (!names || !ids)
        return E_POINTER;
    if (count == 0)
        return S_OK;
    HRESULT hr = S_OK;
    ids[0] = DISPID_UNKNOWN;
    const std::string name = names[0] ? Utf16ToUtf8(names[0]) : std::string();
    for (const Member& m : m_members) {
        if (EqualsNoCase(m.name, name)) {
            ids[0] = m.id;
            break;
        }
    }
    if (ids[0] == DISPID_UNKNOWN)
        hr = DISP_E_UNKNOWNNAME;
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT DispatchTableBase::Invoke(void* object, DISPID id, REFIID iid, WORD flags,
                                  DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                  UINT* argError) const {
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    const Member* member = Find(id);
    if (!member)
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none;
    if (!params)
        params = &none;
    if (params->cArgs > 0 && !params->rgvarg)
        return E_INVALIDARG;

    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (put) {
        if (!member->put)
            return DISP_E_MEMBERNOTFOUND;
        if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
            params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return params->cNamedArgs == 0 ? DISP_E_PARAMNOTOPTIONAL : DISP_E_NONAMEDARGS;
        if (params->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
    } else {
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        // A method may be called as a property get too (as automation clients
        // do), a property only with a get.
        if (member->flags != DISPATCH_METHOD && !(flags & DISPATCH_PROPERTYGET))
            return DISP_E_MEMBERNOTFOUND;
        if (params->cNamedArgs != 0)
            return DISP_E_NONAMEDARGS;
        if (params->cArgs != member->params.size())
            return DISP_E_BADPARAMCOUNT;
    }

    try {
        if (put) {
            VARIANT converted;
            VARIANT* use = nullptr;
            const HRESULT hr =
                CheckArgument(params->rgvarg[0], member->resultType, converted, &use);
            Variant value;
            value.Attach(converted);
            if (FAILED(hr)) {
                if (argError)
                    *argError = 0;
                return hr;
            }
            member->put(object, value);
            return S_OK;
        }

        const std::size_t n = member->params.size();
        ConvertedArgs converted;
        converted.values.resize(n);
        DispatchArgs args;
        args.m_args.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            // rgvarg holds the arguments last first.
            const UINT position = static_cast<UINT>(n - 1 - i);
            const HRESULT hr = CheckArgument(params->rgvarg[position], member->params[i],
                                             converted.values[i], &args.m_args[i]);
            if (FAILED(hr)) {
                if (argError)
                    *argError = position;
                return hr;
            }
        }
        Variant value;
        member->invoke(object, args, value);
        if (result) {
            if (member->resultType == VT_EMPTY) {
                *result = VARIANT{};
            } else if (member->resultType == VT_VARIANT || value.vt == member->resultType) {
                *result = value.Detach();
            } else {
                VARIANT out;
                const HRESULT hr = VariantChangeType(&out, &value, 0, member->resultType);
                if (FAILED(hr))
                    return hr;
                *result = out;
            }
        }
        return S_OK;
    } catch (const DispatchException& e) {
        e.Fill(exception);
        return DISP_E_EXCEPTION;
    } catch (const ComException& e) {
        return e.Code();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        DispatchException(e.what()).Fill(exception);
        return DISP_E_EXCEPTION;
    }
}

} // namespace tvane
