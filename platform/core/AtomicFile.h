#pragma once
#include <filesystem>
#include <string>

namespace tvane {

// Replaces a file's contents so that a crash leaves either the old or the new file:
// the bytes go to a temporary file beside it, are synced, then renamed over it.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// Reads a whole file; false when it cannot be opened.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

} // namespace tvane
