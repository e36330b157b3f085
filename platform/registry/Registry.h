#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tvane {

// The registry the system's components share: three file-backed hives in the
// configuration folder (registry/<HIVE>.reg). Key paths use '\' separators and
// compare case-insensitively; value name "" is the key's default value. Every
// change rewrites its hive atomically, so another process never sees half a write.
enum class RegHive { ClassesRoot, CurrentUser, LocalMachine };

bool RegCreateKeyPath(RegHive hive, const std::string& path);
bool RegKeyExists(RegHive hive, const std::string& path);

// Setting a value creates its key as needed.
bool RegSetString(RegHive hive, const std::string& path, const std::string& name,
                  const std::string& value);
bool RegSetDword(RegHive hive, const std::string& path, const std::string& name,
                 std::uint32_t value);

// Empty when the key or value is missing or has the other type.
std::optional<std::string> RegGetString(RegHive hive, const std::string& path,
                                        const std::string& name);
std::optional<std::uint32_t> RegGetDword(RegHive hive, const std::string& path,
                                         const std::string& name);

// False when the value or key did not exist.
bool RegDeleteValue(RegHive hive, const std::string& path, const std::string& name);
bool RegDeleteTree(RegHive hive, const std::string& path);

// Direct subkeys and value names of a key, in case-insensitive name order.
std::vector<std::string> RegSubKeys(RegHive hive, const std::string& path);
std::vector<std::string> RegValueNames(RegHive hive, const std::string& path);

} // namespace tvane
