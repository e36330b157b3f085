#pragma once
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/Types.h"

// A 128-bit class, interface or category identifier. Texts have the registry
// form "{6F604DC9-C58F-4D4B-A54F-C0A1134213E2}".
struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::uint8_t Data4[8] = {};

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
    friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;
using CATID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline constexpr GUID GUID_NULL{};
inline constexpr IID IID_NULL{};

constexpr bool IsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}

namespace tvane {

namespace detail {
constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
constexpr bool HexRun(std::string_view s, std::size_t at, std::size_t n, std::uint64_t& out) {
    out = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int d = HexDigit(s[at + i]);
        if (d < 0)
            return false;
        out = out * 16 + static_cast<std::uint64_t>(d);
    }
    return true;
}
} // namespace detail

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits of either case); the
// braces may be left out. Anything else gives no value.
constexpr std::optional<GUID> ParseGuid(std::string_view s) {
    if (s.size() == 38) {
        if (s.front() != '{' || s.back() != '}')
            return std::nullopt;
        s = s.substr(1, 36);
    }
    if (s.size() != 36 || s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-')
        return std::nullopt;
    GUID g;
    std::uint64_t v = 0;
    if (!detail::HexRun(s, 0, 8, v))
        return std::nullopt;
    g.Data1 = static_cast<std::uint32_t>(v);
    if (!detail::HexRun(s, 9, 4, v))
        return std::nullopt;
    g.Data2 = static_cast<std::uint16_t>(v);
    if (!detail::HexRun(s, 14, 4, v))
        return std::nullopt;
    g.Data3 = static_cast<std::uint16_t>(v);
    const std::size_t starts[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!detail::HexRun(s, starts[i], 2, v))
            return std::nullopt;
        g.Data4[i] = static_cast<std::uint8_t>(v);
    }
    return g;
}

// A GUID from a literal text, checked at compile time (a malformed text does not
// compile): inline constexpr IID IID_IFoo = MakeGuid("{...}"). Texts known only
// at run time go through ParseGuid.
consteval GUID MakeGuid(std::string_view s) {
    const auto g = ParseGuid(s);
    if (!g)
        throw "malformed GUID text";
    return *g;
}

// The registry form with braces and upper-case hex digits.
std::string GuidToString(const GUID& g);

// "{...}" with braces (the registry's key names) into a CLSID; CO_E_CLASSSTRING
// (and GUID_NULL) when the text is not one.
HRESULT CLSIDFromString(std::string_view text, CLSID* clsid);

} // namespace tvane
