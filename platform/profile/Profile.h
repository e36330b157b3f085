#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tvane {

// Private profile (ini) files with the semantics the program relies on: sections
// and keys compare case-insensitively, missing values give the caller's default,
// values are trimmed of blanks and of one pair of surrounding quotes, and every
// write replaces the file atomically. A bare file name ("Tvane.ini") resolves in
// the configuration folder.

// The value of key in section, or def when either is missing. bufferSize imitates
// the caller's buffer: the result holds at most bufferSize - 1 characters
// (0 means no limit).
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& def, const std::string& file,
                                    std::size_t bufferSize = 0);

// The value read as a decimal integer (leading blanks and a sign allowed, reading
// stops at the first non-digit, no digits gives 0); def when the key is missing.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int def,
                         const std::string& file);

// Writes key = value, creating the section and the file as needed. A null value
// deletes the key. A line break in the section, key or value is written as a
// blank, so a write never adds lines. False when the file cannot be written.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::optional<std::string>& value, const std::string& file);

// Deletes a whole section.
bool DeletePrivateProfileSection(const std::string& section, const std::string& file);

// Names as written in the file, in file order.
std::vector<std::string> GetPrivateProfileSectionNames(const std::string& file);
std::vector<std::string> GetPrivateProfileKeys(const std::string& section, const std::string& file);

// One section of a file read whole: its entries in file order, each value as
// GetPrivateProfileString gives it (trimmed, unquoted, not cut).
struct ProfileSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
};
// The whole file parsed once, for readers that look up many values of one file.
std::vector<ProfileSection> ReadPrivateProfile(const std::string& file);

} // namespace tvane
