#include "comm/RememberedNumber.h"

#include "comm/CommStrings.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"

namespace tvane::comm {
namespace {
constexpr const char* kSection = "MRU";
constexpr std::size_t kNumberBuffer = 1024;
constexpr std::size_t kAreaBuffer = 256;
constexpr std::size_t kCountryBuffer = 512;
} // namespace

RememberedNumber RememberedNumber::Read() {
    const std::string ini = LinkwellIni();
    auto text = [&](const char* key, const char* def, std::size_t size) {
        return GetPrivateProfileString(kSection, key, def, ini, size);
    };
    RememberedNumber n;
    n.phoneNumber = text("PhoneNumber1", kNotSet, kNumberBuffer);
    n.dialable = text("Dialable1", "", kNumberBuffer);
    n.canonical = text("CanonicalNumber1", kNotSet, kNumberBuffer);
    n.areaCode = text("AreaCode1", "", kAreaBuffer);
    n.country = text("Country1", "", kCountryBuffer);
    n.device = GetPrivateProfileInt(kSection, "Device1", -1, ini);
    n.useCountry = GetPrivateProfileInt(kSection, "UseCountry1", 1, ini);
    return n;
}

void RememberedNumber::Write() const {
    const std::string ini = LinkwellIni();
    WritePrivateProfileString(kSection, "PhoneNumber1", phoneNumber, ini);
    WritePrivateProfileString(kSection, "Dialable1", dialable, ini);
    WritePrivateProfileString(kSection, "CanonicalNumber1", canonical, ini);
    WritePrivateProfileString(kSection, "AreaCode1", areaCode, ini);
    WritePrivateProfileString(kSection, "Country1", country, ini);
    WritePrivateProfileString(kSection, "Device1", Format("%ld", static_cast<long>(device)), ini);
    WritePrivateProfileString(kSection, "UseCountry1", Format("%d", useCountry), ini);
}

} // namespace tvane::comm
