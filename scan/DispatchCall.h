#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <type_traits>

#include "platform/com/DispatchDriver.h"
#include "platform/com/Variant.h"

// Typed calls of dispatch members from their declared VT_ codes, so that the
// wrapper classes are generated from one member table each: the C++ type of every
// parameter and of the result follows from its code.

namespace tvane::dispatch {

// Short names for the codes the member tables use.
inline constexpr VARTYPE I2 = VT_I2;
inline constexpr VARTYPE I4 = VT_I4;
inline constexpr VARTYPE R8 = VT_R8;
inline constexpr VARTYPE BOOL_ = VT_BOOL;
inline constexpr VARTYPE BSTR_ = VT_BSTR;
inline constexpr VARTYPE VARIANT_ = VT_VARIANT;
inline constexpr VARTYPE EMPTY = VT_EMPTY;
inline constexpr VARTYPE PI2 = VT_BYREF | VT_I2;
inline constexpr VARTYPE PI4 = VT_BYREF | VT_I4;
inline constexpr VARTYPE PR8 = VT_BYREF | VT_R8;
inline constexpr VARTYPE PBOOL = VT_BYREF | VT_BOOL;
inline constexpr VARTYPE PVARIANT = VT_BYREF | VT_VARIANT;

// Result type (TypeOf) and parameter type (ParamOf) of a code.
template <VARTYPE V> struct Types;
template <> struct Types<VT_EMPTY> { using result = void; };
template <> struct Types<VT_I2> {
    using result = SHORT;
    using param = SHORT;
};
template <> struct Types<VT_I4> {
    using result = LONG;
    using param = LONG;
};
template <> struct Types<VT_R8> {
    using result = DOUBLE;
    using param = DOUBLE;
};
template <> struct Types<VT_BOOL> {
    using result = BOOL;
    using param = BOOL;
};
template <> struct Types<VT_BSTR> {
    using result = std::string;
    using param = const std::string&;
};
template <> struct Types<VT_VARIANT> {
    using result = Variant;
    using param = const VARIANT&;
};
template <> struct Types<VT_BYREF | VT_I2> { using param = SHORT*; };
template <> struct Types<VT_BYREF | VT_I4> { using param = LONG*; };
template <> struct Types<VT_BYREF | VT_R8> { using param = DOUBLE*; };
template <> struct Types<VT_BYREF | VT_BOOL> { using param = BOOL*; };
template <> struct Types<VT_BYREF | VT_VARIANT> { using param = VARIANT*; };

template <VARTYPE V> using TypeOf = typename Types<V>::result;
template <VARTYPE V> using ParamOf = typename Types<V>::param;

template <VARTYPE V> DispArg ArgOf(ParamOf<V> value) {
    if constexpr ((V & VT_BYREF) != 0)
        return DispArg::Of(V, value); // the address the callee writes
    else
        return DispArg::Of(V, &value);
}

// One call of member id with result code R and parameter codes P.
template <VARTYPE R, VARTYPE... P>
TypeOf<R> Call(DispatchDriver& driver, DISPID id, WORD flags, ParamOf<P>... args) {
    if constexpr (std::is_void_v<TypeOf<R>>) {
        driver.InvokeHelper(id, flags, VT_EMPTY, nullptr, {ArgOf<P>(args)...});
    } else {
        TypeOf<R> result{};
        driver.InvokeHelper(id, flags, R, &result, {ArgOf<P>(args)...});
        return result;
    }
}

// One row of a member table, for listing and checking the members.
struct MemberInfo {
    DISPID id;
    const char* name;
    WORD flags;
    VARTYPE result;
    std::array<VARTYPE, 8> params;
    std::size_t count;
};

template <VARTYPE... P>
constexpr MemberInfo Member(DISPID id, const char* name, WORD flags, VARTYPE result) {
    return {id, name, flags, result, {P...}, sizeof...(P)};
}

} // namespace tvane::dispatch

// Parameter declarations (a0, a1, ...) and the argument list of a member from its
// codes; members have at most seven parameters.
#define TVANE_DISP_CAT(a, b) TVANE_DISP_CAT_(a, b)
#define TVANE_DISP_CAT_(a, b) a##b
#define TVANE_DISP_NARG(...) TVANE_DISP_NARG_(__VA_ARGS__, 7, 6, 5, 4, 3, 2, 1, 0)
#define TVANE_DISP_NARG_(_1, _2, _3, _4, _5, _6, _7, N, ...) N
#define TVANE_DISP_P(v, n) ::tvane::dispatch::ParamOf<::tvane::dispatch::v> a##n
#define TVANE_DISP_DECL(...)                                                                       \
    __VA_OPT__(TVANE_DISP_CAT(TVANE_DISP_DECL_, TVANE_DISP_NARG(__VA_ARGS__))(__VA_ARGS__))
#define TVANE_DISP_DECL_1(a) TVANE_DISP_P(a, 0)
#define TVANE_DISP_DECL_2(a, b) TVANE_DISP_DECL_1(a), TVANE_DISP_P(b, 1)
#define TVANE_DISP_DECL_3(a, b, c) TVANE_DISP_DECL_2(a, b), TVANE_DISP_P(c, 2)
#define TVANE_DISP_DECL_4(a, b, c, d) TVANE_DISP_DECL_3(a, b, c), TVANE_DISP_P(d, 3)
#define TVANE_DISP_DECL_5(a, b, c, d, e) TVANE_DISP_DECL_4(a, b, c, d), TVANE_DISP_P(e, 4)
#define TVANE_DISP_DECL_6(a, b, c, d, e, f) TVANE_DISP_DECL_5(a, b, c, d, e), TVANE_DISP_P(f, 5)
#define TVANE_DISP_DECL_7(a, b, c, d, e, f, g)                                                     \
    TVANE_DISP_DECL_6(a, b, c, d, e, f), TVANE_DISP_P(g, 6)
#define TVANE_DISP_ARGS(...)                                                                       \
    __VA_OPT__(TVANE_DISP_CAT(TVANE_DISP_ARGS_, TVANE_DISP_NARG(__VA_ARGS__)))
#define TVANE_DISP_ARGS_1 a0
#define TVANE_DISP_ARGS_2 a0, a1
#define TVANE_DISP_ARGS_3 a0, a1, a2
#define TVANE_DISP_ARGS_4 a0, a1, a2, a3
#define TVANE_DISP_ARGS_5 a0, a1, a2, a3, a4
#define TVANE_DISP_ARGS_6 a0, a1, a2, a3, a4, a5
#define TVANE_DISP_ARGS_7 a0, a1, a2, a3, a4, a5, a6
// The codes qualified, for template argument lists.
#define TVANE_DISP_CODES(...)                                                                      \
    __VA_OPT__(TVANE_DISP_CAT(TVANE_DISP_CODES_, TVANE_DISP_NARG(__VA_ARGS__))(__VA_ARGS__))
#define TVANE_DISP_C(v) ::tvane::dispatch::v
#define TVANE_DISP_CODES_1(a) TVANE_DISP_C(a)
#define TVANE_DISP_CODES_2(a, b) TVANE_DISP_CODES_1(a), TVANE_DISP_C(b)
#define TVANE_DISP_CODES_3(a, b, c) TVANE_DISP_CODES_2(a, b), TVANE_DISP_C(c)
#define TVANE_DISP_CODES_4(a, b, c, d) TVANE_DISP_CODES_3(a, b, c), TVANE_DISP_C(d)
#define TVANE_DISP_CODES_5(a, b, c, d, e) TVANE_DISP_CODES_4(a, b, c, d), TVANE_DISP_C(e)
#define TVANE_DISP_CODES_6(a, b, c, d, e, f) TVANE_DISP_CODES_5(a, b, c, d, e), TVANE_DISP_C(f)
#define TVANE_DISP_CODES_7(a, b, c, d, e, f, g)                                                    \
    TVANE_DISP_CODES_6(a, b, c, d, e, f), TVANE_DISP_C(g)
