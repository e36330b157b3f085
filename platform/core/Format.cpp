#include "platform/core/Format.h"

#include <cstdio>

#include <locale.h>

namespace tvane {

namespace {

// The conversions run in the C locale for the calling thread, whatever locale
// the process took from its environment: numbers go to the instrument, to
// files and to the screen with '.' as the decimal point.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t CLocale() {
        // Made once and kept for the life of the process.
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
        return c;
    }
    locale_t m_previous;
};

} // namespace

std::string FormatV(const char* fmt, std::va_list args) {
    const CLocaleScope cLocale;
    std::va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    std::vsnprintf(out.data(), out.size() + 1, fmt, args);
    return out;
}

std::string Format(const char* fmt, ...) {
    std::va_list args;
    va_start(args, fmt);
    std::string s = FormatV(fmt, args);
    va_end(args);
    return s;
}

bool ReplaceFirst(std::string& text, std::string_view pattern, std::string_view replacement) {
    const std::size_t at = text.find(pattern);
    if (at == std::string::npos)
        return false;
    text.replace(at, pattern.size(), replacement);
    return true;
}

} // namespace tvane
