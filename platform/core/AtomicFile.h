#pragma once
#include <filesystem>
#include <string>

namespace tvane {

// Replaces a file's contents so that a crash leaves either the old or the new file:
// the bytes go to a temporary file beside it, are synced, then renamed over it.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// Reads a whole regular file; false, with bytes untouched, for anything else
// (missing, a folder, a device) and for any read error.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

} // namespace tvane
