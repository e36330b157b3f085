#pragma once
#include <cstdint>
#include <string>

// The setup document file as the workspace sees it from outside the document:
// a compound file whose stream "Contents" holds the document's archive, which
// begins with its 32-bit file version.
namespace setup_file {

inline constexpr const char* kContentsStream = "Contents";
// The newest file version the document writes; it reads all from 1 up.
inline constexpr std::uint32_t kLatestVersion = 3;

// True when path opens through the storage layer as such a file with a
// version from 1 to kLatestVersion. Never throws.
bool HasDocumentHeader(const std::string& path);

} // namespace setup_file
