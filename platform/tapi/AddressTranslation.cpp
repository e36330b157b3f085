#include "platform/tapi/AddressTranslation.h"

#include <cctype>
#include <cstring>

#include "platform/tapi/TapiConstants.h"

namespace tvane::tapi {
namespace {

// Characters a modem dials or waits on; the formatting characters are left out of the
// dialable string.
constexpr const char* kDialCharacters = "0123456789*#,WwPpTt@$!?;ABCDabcd";
constexpr const char* kFormatting = " -.()";

bool IsDigits(const std::string& s) {
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// The dialable characters of a subscriber number; false when it holds anything else.
bool Dialable(const std::string& text, std::string& out) {
    out.clear();
    for (char c : text) {
        if (std::strchr(kFormatting, c))
            continue;
        if (!std::strchr(kDialCharacters, c))
            return false;
        out += c;
    }
    return !out.empty();
}

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

const std::vector<LineCountryEntry>& CountryTable() {
    static const std::vector<LineCountryEntry> table{
        {54, 54, "Argentina", "0", "00"},
        {61, 61, "Australia", "0", "0011"},
        {43, 43, "Austria", "0", "00"},
        {32, 32, "Belgium", "0", "00"},
        {55, 55, "Brazil", "0", "00"},
        {107, 1, "Canada", "1", "011"},
        {56, 56, "Chile", "", "00"},
        {86, 86, "China", "0", "00"},
        {420, 420, "Czech Republic", "", "00"},
        {45, 45, "Denmark", "", "00"},
        {20, 20, "Egypt", "0", "00"},
        {358, 358, "Finland", "0", "00"},
        {33, 33, "France", "0", "00"},
        {49, 49, "Germany", "0", "00"},
        {30, 30, "Greece", "", "00"},
        {852, 852, "Hong Kong", "", "001"},
        {36, 36, "Hungary", "06", "00"},
        {91, 91, "India", "0", "00"},
        {353, 353, "Ireland", "0", "00"},
        {972, 972, "Israel", "0", "00"},
        {39, 39, "Italy", "", "00"},
        {81, 81, "Japan", "0", "010"},
        {60, 60, "Malaysia", "0", "00"},
        {52, 52, "Mexico", "01", "00"},
        {31, 31, "Netherlands", "0", "00"},
        {64, 64, "New Zealand", "0", "00"},
        {47, 47, "Norway", "", "00"},
        {48, 48, "Poland", "", "00"},
        {351, 351, "Portugal", "", "00"},
        {7, 7, "Russia", "8", "810"},
        {65, 65, "Singapore", "", "001"},
        {27, 27, "South Africa", "0", "00"},
        {82, 82, "South Korea", "0", "001"},
        {34, 34, "Spain", "", "00"},
        {46, 46, "Sweden", "0", "00"},
        {41, 41, "Switzerland", "0", "00"},
        {886, 886, "Taiwan", "0", "002"},
        {90, 90, "Turkey", "0", "00"},
        {44, 44, "United Kingdom", "0", "00"},
        {1, 1, "United States", "1", "011"},
    };
    return table;
}

const LineCountryEntry* FindCountryCode(std::uint32_t code) {
    const LineCountryEntry* found = nullptr;
    for (const LineCountryEntry& c : CountryTable())
        if (c.countryCode == code && (!found || c.countryId == code))
            found = &c;
    return found;
}

std::int32_t TranslateAddress(const std::string& address, const LineLocationEntry& location,
                              std::uint32_t options, LineTranslateOutput& out) {
    out = {};
    const std::string in = Trim(address);
    if (in.empty())
        return LINEERR_INVALADDRESS;
    out.currentCountry = location.countryCode;

    std::string digits;
    bool local = true;
    if (in.front() != '+') {
        // Not canonical: dialled as written, from wherever the user is.
        if (!Dialable(in, digits))
            return LINEERR_INVALADDRESS;
        out.destCountry = location.countryCode;
        out.translateResults = LINETRANSLATERESULT_LOCAL;
    } else {
        // "+<country> [(<area>)] <subscriber>"
        std::size_t pos = 1;
        while (pos < in.size() && std::isdigit(static_cast<unsigned char>(in[pos])))
            ++pos;
        const std::string country = in.substr(1, pos - 1);
        if (country.empty() || country.size() > 4)
            return LINEERR_INVALADDRESS;
        std::string rest = Trim(in.substr(pos));
        std::string area;
        if (!rest.empty() && rest.front() == '(') {
            const std::size_t close = rest.find(')');
            if (close == std::string::npos)
                return LINEERR_INVALADDRESS;
            area = Trim(rest.substr(1, close - 1));
            rest = Trim(rest.substr(close + 1));
        }
        std::string subscriber;
        if (!IsDigits(area) || !Dialable(rest, subscriber))
            return LINEERR_INVALADDRESS;
        const std::uint32_t code = static_cast<std::uint32_t>(std::stoul(country));
        out.destCountry = code;
        const LineCountryEntry* home = FindCountryCode(location.countryCode);
        const std::string national = home ? home->nationalPrefix : std::string();
        const std::string international = home ? home->internationalPrefix : std::string("00");
        if (code == location.countryCode && (area.empty() || area == location.cityCode)) {
            digits = subscriber;
            out.translateResults = LINETRANSLATERESULT_CANONICAL | LINETRANSLATERESULT_LOCAL;
        } else if (code == location.countryCode) {
            digits = national + area + subscriber;
            local = false;
            out.translateResults = LINETRANSLATERESULT_CANONICAL | LINETRANSLATERESULT_LONGDISTANCE;
        } else {
            digits = international + country + area + subscriber;
            local = false;
            out.translateResults =
                LINETRANSLATERESULT_CANONICAL | LINETRANSLATERESULT_INTERNATIONAL;
        }
    }
    const std::string access = local || location.longDistanceAccessCode.empty()
                                   ? location.localAccessCode
                                   : location.longDistanceAccessCode;
    const std::string waiting =
        (options & LINETRANSLATEOPTION_CANCELCALLWAITING) ? location.cancelCallWaiting : "";
    out.displayableString = waiting + access + digits;
    out.dialableString = (location.pulseDialing ? "P" : "T") + out.displayableString;
    return 0;
}

} // namespace tvane::tapi
