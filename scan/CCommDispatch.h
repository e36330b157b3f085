#pragma once
#include "scan/DispatchCall.h"

// The communications control's dispatch properties: DISPID, name, type, and
// whether it may be written (GetSet) or only read (Get).
#define TVANE_COMM_PROPERTIES(X)                                                                   \
    X(1, InstID, BSTR_, Get)                                                                       \
    X(2, InterfaceType, I4, GetSet)                                                                \
    X(3, ControllerName, BSTR_, GetSet)                                                            \
    X(4, Address, I4, GetSet)                                                                      \
    X(5, Exclusive, BOOL_, GetSet)                                                                 \
    X(6, InterfaceName, BSTR_, Get)                                                                \
    X(7, Version, BSTR_, Get)                                                                      \
    X(8, CommTimeout, I4, GetSet)                                                                  \
    X(9, LanTimeout, I4, GetSet)                                                                   \
    X(10, PollTimeout, I4, GetSet)                                                                 \
    X(11, Files, BSTR_, Get)                                                                       \
    X(15, RecvMsg, VARIANT_, Get)

// Its methods: DISPID, name, dispatch flag, result code, parameter codes.
#define TVANE_COMM_METHODS(X)                                                                      \
    X(12, Properties, DISPATCH_METHOD, EMPTY)                                                      \
    X(13, Close, DISPATCH_METHOD, I2)                                                              \
    X(14, SendMsg, DISPATCH_METHOD, EMPTY, BSTR_)                                                  \
    X(16, IsMsgAvailable, DISPATCH_METHOD, I2)                                                     \
    X(17, Search, DISPATCH_METHOD, VARIANT_)                                                       \
    X(18, ClearInstrument, DISPATCH_METHOD, I2)                                                    \
    X(19, Open, DISPATCH_METHOD, I2, VARIANT_, VARIANT_, VARIANT_)                                 \
    X(20, SendQuery, DISPATCH_METHOD, VARIANT_, BSTR_)                                             \
    X(21, IsValidInterface, DISPATCH_METHOD, I2)

// The control's dispatch interface: Get<Name>/Set<Name> per property and one
// method per member. A failed Invoke throws (DispatchDriver).
class CCommDispatch : public tvane::DispatchDriver {
public:
    using DispatchDriver::DispatchDriver;

#define TVANE_COMM_GET(id, name, type)                                                             \
    ::tvane::dispatch::TypeOf<::tvane::dispatch::type> Get##name() {                               \
        return ::tvane::dispatch::Call<::tvane::dispatch::type>(*this, id, DISPATCH_PROPERTYGET);  \
    }
#define TVANE_COMM_PROPERTY_Get(id, name, type) TVANE_COMM_GET(id, name, type)
#define TVANE_COMM_PROPERTY_GetSet(id, name, type)                                                 \
    TVANE_COMM_GET(id, name, type)                                                                 \
    void Set##name(::tvane::dispatch::ParamOf<::tvane::dispatch::type> value) {                    \
        ::tvane::dispatch::Call<::tvane::dispatch::EMPTY, ::tvane::dispatch::type>(                \
            *this, id, DISPATCH_PROPERTYPUT, value);                                               \
    }
#define TVANE_COMM_PROPERTY(id, name, type, access) TVANE_COMM_PROPERTY_##access(id, name, type)
    TVANE_COMM_PROPERTIES(TVANE_COMM_PROPERTY)
#undef TVANE_COMM_PROPERTY
#undef TVANE_COMM_PROPERTY_GetSet
#undef TVANE_COMM_PROPERTY_Get
#undef TVANE_COMM_GET

#define TVANE_COMM_METHOD(id, name, flags, result, ...)                                            \
    ::tvane::dispatch::TypeOf<::tvane::dispatch::result> name(TVANE_DISP_DECL(__VA_ARGS__)) {      \
        return ::tvane::dispatch::Call<::tvane::dispatch::result __VA_OPT__(, ) TVANE_DISP_CODES(  \
            __VA_ARGS__)>(*this, id, flags __VA_OPT__(, ) TVANE_DISP_ARGS(__VA_ARGS__));           \
    }
    TVANE_COMM_METHODS(TVANE_COMM_METHOD)
#undef TVANE_COMM_METHOD

    // The table's rows: the properties (flags GET, or GET | PUT) and the methods.
    static const tvane::dispatch::MemberInfo* Members(std::size_t& count);
};
