#pragma once
#include <cstdarg>
#include <string>

namespace tvane {

// printf-style formatting into a string of any length (glibc conversions).
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, std::va_list args);

} // namespace tvane
