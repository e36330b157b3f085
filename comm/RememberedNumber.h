#pragma once
#include <cstdint>
#include <string>

namespace tvane::comm {

// The number the modem transport dials, remembered in section [MRU] of
// "linkwell.ini" between runs.
struct RememberedNumber {
    static constexpr const char* kNotSet = "Not set";

    std::string phoneNumber = kNotSet; // PhoneNumber1: as typed
    std::string dialable;              // Dialable1: what the modem dials
    std::string canonical = kNotSet;   // CanonicalNumber1: "+44 (20) 5550100"
    std::string areaCode;              // AreaCode1
    std::string country;               // Country1: the country list's entry text
    std::int32_t device = -1;          // Device1: the line device, -1 none
    std::int32_t useCountry = 1;       // UseCountry1
    std::string displayable;           // shown while dialling; not remembered

    static RememberedNumber Read();
    void Write() const;
};

} // namespace tvane::comm
