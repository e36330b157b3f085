#pragma once
#include <cstdarg>
#include <string>
#include <string_view>

namespace tvane {

// printf-style formatting into a string of any length (glibc conversions).
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, std::va_list args);

// Replaces the first occurrence of pattern in text only; whether there was one.
bool ReplaceFirst(std::string& text, std::string_view pattern, std::string_view replacement);

} // namespace tvane
