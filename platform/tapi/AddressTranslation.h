#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/tapi/LineTypes.h"

namespace tvane::tapi {

// The countries a number can be dialled in, with the prefixes dialled before an area
// code and before a country code.
const std::vector<LineCountryEntry>& CountryTable();
const LineCountryEntry* FindCountryCode(std::uint32_t code);

// Turns an address into what the modem dials from a location: a canonical address
// ("+44 (20) 5550100") becomes a local, long-distance or international number with
// the location's access codes; any other address is dialled as written. The dialable
// string starts with the modem's dial mode ("T" tone, "P" pulse). 0, or
// LINEERR_INVALADDRESS for an address that cannot be dialled.
std::int32_t TranslateAddress(const std::string& address, const LineLocationEntry& location,
                              std::uint32_t options, LineTranslateOutput& out);

} // namespace tvane::tapi
