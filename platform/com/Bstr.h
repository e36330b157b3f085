#pragma once
#include <string>
#include <string_view>
#include <utility>

#include "platform/com/Types.h"

// BSTR: a length-prefixed, zero-terminated char16_t string. A null BSTR is the
// empty string. Whoever returns a BSTR allocates it; whoever receives it frees it
// with SysFreeString. All BSTRs of the process come from this one allocator.

namespace tvane {

BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length); // text may be null: zero-filled
BSTR SysAllocStringByteLen(const char* bytes, UINT byteLength);
void SysFreeString(BSTR text);
// Replaces *target by a copy of text (freeing the old one); FALSE when out of memory.
BOOL SysReAllocString(BSTR* target, const OLECHAR* text);
BOOL SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length);
UINT SysStringLen(BSTR text);     // in characters
UINT SysStringByteLen(BSTR text); // in bytes

// UTF-8 (the program's std::string text) to and from UTF-16. Bytes that are not
// valid UTF-8 are taken as Latin-1 characters, so no input is lost.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// A new BSTR holding the text; nullptr only when out of memory.
BSTR BstrFromUtf8(std::string_view utf8);
// The text of a BSTR (null gives "").
std::string Utf8FromBstr(BSTR text);

// Owns one BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::string_view utf8) : m_s(BstrFromUtf8(utf8)) {}
    explicit Bstr(const char* utf8) : Bstr(std::string_view(utf8 ? utf8 : "")) {}
    explicit Bstr(const std::string& utf8) : Bstr(std::string_view(utf8)) {}
    explicit Bstr(std::u16string_view utf16)
        : m_s(SysAllocStringLen(utf16.data(), static_cast<UINT>(utf16.size()))) {}
    Bstr(const Bstr& other) : m_s(other.Copy()) {}
    Bstr(Bstr&& other) noexcept : m_s(std::exchange(other.m_s, nullptr)) {}
    ~Bstr() { SysFreeString(m_s); }
    Bstr& operator=(Bstr other) noexcept {
        std::swap(m_s, other.m_s);
        return *this;
    }

    // Takes over a BSTR the caller owns.
    static Bstr Attach(BSTR s) {
        Bstr b;
        b.m_s = s;
        return b;
    }
    BSTR Detach() { return std::exchange(m_s, nullptr); }
    BSTR Copy() const;
    // Frees the string held and returns the address for an out parameter.
    BSTR* Out() {
        SysFreeString(std::exchange(m_s, nullptr));
        return &m_s;
    }

    BSTR Get() const { return m_s; }
    UINT Length() const { return SysStringLen(m_s); }
    bool Empty() const { return Length() == 0; }
    std::string Utf8() const { return Utf8FromBstr(m_s); }
    std::u16string_view View() const { return {m_s ? m_s : u"", Length()}; }

private:
    BSTR m_s = nullptr;
};

} // namespace tvane
