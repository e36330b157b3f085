#include "platform/com/Bstr.h"

#include <cstdlib>
#include <cstring>

namespace tvane {
namespace {

// The byte count sits in the 32 bits before the characters.
constexpr std::size_t kPrefix = sizeof(std::uint32_t);

BSTR Allocate(std::size_t bytes) {
    if (bytes > 0xFFFFFFF0u)
        return nullptr;
    auto* block = static_cast<char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    const auto count = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &count, kPrefix);
    std::memset(block + kPrefix + bytes, 0, sizeof(OLECHAR));
    return reinterpret_cast<BSTR>(block + kPrefix);
}

char* Block(BSTR s) {
    return reinterpret_cast<char*>(s) - kPrefix;
}

std::size_t Length(const OLECHAR* text) {
    std::size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    const std::size_t bytes = static_cast<std::size_t>(length) * sizeof(OLECHAR);
    BSTR s = Allocate(bytes);
    if (s) {
        if (text)
            std::memcpy(s, text, bytes);
        else
            std::memset(s, 0, bytes);
    }
    return s;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (!text)
        return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(Length(text)));
}

BSTR SysAllocStringByteLen(const char* bytes, UINT byteLength) {
    BSTR s = Allocate(byteLength);
    if (s) {
        if (bytes)
            std::memcpy(s, bytes, byteLength);
        else
            std::memset(s, 0, byteLength);
        // A single zero byte ends an odd-length byte string too.
        reinterpret_cast<char*>(s)[byteLength] = 0;
    }
    return s;
}

void SysFreeString(BSTR text) {
    if (text)
        std::free(Block(text));
}

BOOL SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length) {
    if (!target)
        return FALSE;
    BSTR s = SysAllocStringLen(text, length);
    if (!s)
        return FALSE;
    SysFreeString(*target);
    *target = s;
    return TRUE;
}

BOOL SysReAllocString(BSTR* target, const OLECHAR* text) {
    return SysReAllocStringLen(target, text, text ? static_cast<UINT>(Length(text)) : 0);
}

UINT SysStringByteLen(BSTR text) {
    if (!text)
        return 0;
    std::uint32_t count = 0;
    std::memcpy(&count, Block(text), kPrefix);
    return count;
}

UINT SysStringLen(BSTR text) {
    return SysStringByteLen(text) / sizeof(OLECHAR);
}

std::u16string Utf8ToUtf16(std::string_view in) {
    std::u16string out;
    out.reserve(in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        const auto b0 = static_cast<unsigned char>(in[i]);
        char32_t c = b0;
        std::size_t n = 1;
        if (b0 >= 0x80) {
            std::size_t need = 0;
            char32_t min = 0;
            if ((b0 & 0xE0) == 0xC0) {
                need = 1, c = b0 & 0x1F, min = 0x80;
            } else if ((b0 & 0xF0) == 0xE0) {
                need = 2, c = b0 & 0x0F, min = 0x800;
            } else if ((b0 & 0xF8) == 0xF0) {
                need = 3, c = b0 & 0x07, min = 0x10000;
            }
            bool ok = need > 0 && i + need < in.size();
            for (std::size_t k = 1; ok && k <= need; ++k) {
                const auto b = static_cast<unsigned char>(in[i + k]);
                if ((b & 0xC0) != 0x80)
                    ok = false;
                else
                    c = (c << 6) | (b & 0x3F);
            }
            if (ok && (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
                ok = false;
            if (ok)
                n = need + 1;
            else
                c = b0; // not UTF-8: the byte as Latin-1
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += n;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view in) {
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
            in[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD; // a lone surrogate
        }
        Append(out, c);
    }
    return out;
}

BSTR BstrFromUtf8(std::string_view utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string Utf8FromBstr(BSTR text) {
    if (!text)
        return {};
    return Utf16ToUtf8(std::u16string_view(text, SysStringLen(text)));
}

BSTR Bstr::Copy() const {
    return m_s ? SysAllocStringLen(m_s, Length()) : nullptr;
}

} // namespace tvane
