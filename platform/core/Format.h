#pragma once
#include <clocale>
#include <cstdarg>
#include <string>
#include <string_view>

namespace tvane {

// printf-style formatting into a string of any length (glibc conversions), in
// the C locale whatever the process's locale is.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, std::va_list args);

// Qt's application object sets the C library's locale from the environment;
// the numbers the C library reads and writes (the instrument's replies, the
// files) keep the C conventions. Programs call it once their application
// object exists.
inline void KeepCNumberFormat() {
    std::setlocale(LC_NUMERIC, "C");
}

// Replaces the first occurrence of pattern in text only; whether there was one.
bool ReplaceFirst(std::string& text, std::string_view pattern, std::string_view replacement);

} // namespace tvane
