#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

// Debugger output of the telephony code: the names of line errors, callback messages
// and their flags, and errno texts. The output goes to a sink; by default it is
// written to standard error only when TVANE_TAPI_DEBUG is set in the environment.
// The sink may be called from the modem's port threads, so it is called under a lock.
namespace tvane::tapi {

using DebugSink = std::function<void(const std::string& text)>;
// Installs a sink (an empty one restores the default) and returns the one before.
DebugSink SetDebugSink(DebugSink sink);
void OutputDebugString(const std::string& text);

// Formats like printf and writes the text, followed by "\r\n" unless it already ends
// in a line feed.
void OutputDebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The LINEERR_ name of a line error; codes whose low 31 bits are 87 or more give
// "Unknown TAPI line error code: 0x…".
std::string FormatLineError(std::int32_t code);
// The same into a caller's buffer of size bytes: cut to size - 1 characters and a
// zero. Returns the length written.
std::size_t FormatLineError(std::int32_t code, char* buffer, std::size_t size);
// "<prefix>Tapi Line Error: "<name>" in File "<file>", Line <n>\r\n", without the
// file part when file is null.
void OutputDebugLineError(std::int32_t code, const char* prefix, const char* file = nullptr,
                          int line = 0);

// The system's text of an errno value (what GetLastError reported on Windows).
std::string FormatLastError(int code);
void OutputDebugLastError(int code, const char* prefix, const char* file = nullptr, int line = 0);

// One line describing a line callback, as OutputDebugLineCallback writes it.
std::string FormatLineCallback(std::uint32_t message, std::uint32_t device, std::uintptr_t instance,
                               std::uintptr_t param1, std::uintptr_t param2, std::uintptr_t param3);
void OutputDebugLineCallback(std::uint32_t message, std::uint32_t device, std::uintptr_t instance,
                             std::uintptr_t param1, std::uintptr_t param2, std::uintptr_t param3);

// Names of the set bits of flags: names[0] names the value 0, names[i + 1] bit i; an
// empty name leaves its bit unnamed. Bits without a name end the text as
// "Unknown flags '0x…'".
std::string FormatFlags(std::uint32_t flags, std::span<const char* const> names);

} // namespace tvane::tapi
