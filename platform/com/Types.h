#pragma once
#include <cstdint>
#include <string>

// The component model's basic types and status codes, with the names and values
// that component code is written against. Sizes follow the 32-bit originals: LONG
// and ULONG are 32 bits wide on every platform.

using BYTE = std::uint8_t;
using CHAR = char;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using WORD = std::uint16_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using FLOAT = float;
using DOUBLE = double;
#ifndef BOOL // the ODBC headers define it as a macro for the same type
using BOOL = int;
#endif
using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using LCID = std::uint32_t;
using DISPID = std::int32_t;
using MEMBERID = DISPID;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using DATE = double;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}
constexpr HRESULT MAKE_HRESULT(unsigned severity, unsigned facility, unsigned code) {
    return static_cast<HRESULT>((static_cast<std::uint32_t>(severity) << 31) |
                                (static_cast<std::uint32_t>(facility) << 16) |
                                static_cast<std::uint32_t>(code));
}

namespace tvane::detail {
constexpr HRESULT Hr(std::uint32_t value) {
    return static_cast<HRESULT>(value);
}
} // namespace tvane::detail

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = tvane::detail::Hr(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = tvane::detail::Hr(0x80004002);
inline constexpr HRESULT E_POINTER = tvane::detail::Hr(0x80004003);
inline constexpr HRESULT E_ABORT = tvane::detail::Hr(0x80004004);
inline constexpr HRESULT E_FAIL = tvane::detail::Hr(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = tvane::detail::Hr(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = tvane::detail::Hr(0x80070005);
inline constexpr HRESULT E_HANDLE = tvane::detail::Hr(0x80070006);
inline constexpr HRESULT E_OUTOFMEMORY = tvane::detail::Hr(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = tvane::detail::Hr(0x80070057);

inline constexpr HRESULT CLASS_E_NOAGGREGATION = tvane::detail::Hr(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = tvane::detail::Hr(0x80040111);
inline constexpr HRESULT REGDB_E_READREGDB = tvane::detail::Hr(0x80040150);
inline constexpr HRESULT REGDB_E_WRITEREGDB = tvane::detail::Hr(0x80040151);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = tvane::detail::Hr(0x80040154);
inline constexpr HRESULT SELFREG_E_TYPELIB = tvane::detail::Hr(0x80040200);
inline constexpr HRESULT SELFREG_E_CLASS = tvane::detail::Hr(0x80040201);
inline constexpr HRESULT CO_E_CLASSSTRING = tvane::detail::Hr(0x800401F3);
inline constexpr HRESULT CO_E_DLLNOTFOUND = tvane::detail::Hr(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = tvane::detail::Hr(0x800401F9);

inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = tvane::detail::Hr(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = tvane::detail::Hr(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = tvane::detail::Hr(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = tvane::detail::Hr(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = tvane::detail::Hr(0x80020006);
inline constexpr HRESULT DISP_E_NONAMEDARGS = tvane::detail::Hr(0x80020007);
inline constexpr HRESULT DISP_E_BADVARTYPE = tvane::detail::Hr(0x80020008);
inline constexpr HRESULT DISP_E_EXCEPTION = tvane::detail::Hr(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = tvane::detail::Hr(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = tvane::detail::Hr(0x8002000B);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = tvane::detail::Hr(0x8002000D);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = tvane::detail::Hr(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = tvane::detail::Hr(0x8002000F);

inline constexpr HRESULT TYPE_E_REGISTRYACCESS = tvane::detail::Hr(0x8002801C);
inline constexpr HRESULT TYPE_E_LIBNOTREGISTERED = tvane::detail::Hr(0x8002801D);
inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = tvane::detail::Hr(0x8002802B);

// Activation contexts; only in-process servers exist here.
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_ALL = 0x17;

namespace tvane {

// A short English text for a status code ("No such interface supported."), or
// "Unknown error 0x80041234." for codes not in the table.
std::string HResultText(HRESULT hr);

} // namespace tvane
