#include "platform/core/CaseInsensitive.h"

namespace tvane {
namespace {
inline char Up(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
} // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Up(a[i]) != Up(b[i]))
            return false;
    return true;
}

bool LessNoCase::operator()(std::string_view a, std::string_view b) const {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        char x = Up(a[i]), y = Up(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

std::string ToUpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = Up(c);
    return out;
}

} // namespace tvane
