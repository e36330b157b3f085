#pragma once
#include <string>
#include <string_view>

namespace tvane {

// ASCII case-insensitive comparison, as the ini files and the registry compare names.
bool EqualsNoCase(std::string_view a, std::string_view b);
struct LessNoCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};
std::string ToUpperAscii(std::string_view s);

} // namespace tvane
