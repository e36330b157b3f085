#pragma once
#include <string>

namespace tvane::storage_detail {

// Element names are UTF-16 in the file and UTF-8 at the interface.
// Throws StorageException(STG_E_INVALIDNAME) for text that is not valid UTF-8.
std::u16string NameFromUtf8(const std::string& name);
std::string NameToUtf8(const std::u16string& name);
// Throws STG_E_INVALIDNAME unless the name can be stored: 1 to 31 code units and
// none of the characters the format reserves.
void CheckElementName(const std::u16string& name, const std::string& shown);
// The format's order of sibling names: shorter first, then code unit by code unit
// after upper-casing. Equal (0) means the same element name.
int CompareNames(const std::u16string& a, const std::u16string& b);

} // namespace tvane::storage_detail
