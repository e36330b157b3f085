#pragma once
#include <cstdint>

namespace tvane::comm {

// HKEY_CURRENT_USER key of the control's own settings and its value that remembers
// the interface type of the last successful search.
inline constexpr const char* kCompanyKey = "SOFTWARE\\Orvanta Technologies";
inline constexpr const char* kLinkwellKey = "SOFTWARE\\Orvanta Technologies\\Linkwell";
inline constexpr const char* kLastInterfaceValue = "LastInterface";

// 0 when the key is missing, -1 when only the value is, else the value.
int32_t ReadLastInterface();
// Writes the value only into an existing key; true when the key is missing.
bool WriteLastInterface(int32_t type);

// The control's private registry entries: registering creates the key with
// LastInterface 0, keeping a key (and its value) that already exists; unregistering
// deletes the key.
bool UpdatePrivateRegistry(bool registering);

} // namespace tvane::comm
