#pragma once
#include <filesystem>
#include <functional>
#include <string>

namespace tvane {

// Fills the new file at the path it is given, in full; it may throw.
using WholeFileWriter = std::function<void(const std::filesystem::path& newFile)>;

// What a save does with a symbolic link at its path: writes the file it points at
// (the user's own links), or puts the file in the link's place (a file in a
// folder others write to, where a link is not to be trusted).
enum class AtLink { Follow, Replace };

// The one way the program replaces a file it writes whole, so that a crash or a
// failure leaves either the old file or the new one: write fills a new file beside
// path, which is synced, given the old file's permissions, renamed over path, and
// the folder synced. On any failure the new file is removed and the old one stays
// as it was; what write throws is rethrown, a failure of the save itself is a
// std::filesystem::filesystem_error. A symbolic link is followed and its target
// replaced, unless atLink says to replace the link; a folder, device, FIFO or
// socket at the path is refused.
void SaveWholeFile(const std::filesystem::path& path, const WholeFileWriter& write,
                   AtLink atLink = AtLink::Follow);

// Replaces a file's contents through SaveWholeFile, making its folder first; false
// when it could not.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes,
                         AtLink atLink = AtLink::Follow);

// Reads a whole regular file; false, with bytes untouched, for anything else
// (missing, a folder, a device) and for any read error.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

} // namespace tvane
