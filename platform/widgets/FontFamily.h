#pragma once
#include <string_view>

#include <QString>

namespace tvane {

// The installed family a stored face name draws with: Windows faces are matched
// to the metric-compatible faces installed here ("Arial" draws as Liberation Sans).
QString ResolveFontFamily(std::string_view face);

} // namespace tvane
