#include "comm/DialSettingsModel.h"

#include <cctype>

#include "platform/core/Format.h"
#include "platform/tapi/Line.h"
#include "platform/tapi/TapiDiagnostics.h"
#include "platform/ui/Prompter.h"

namespace tvane::comm {

using namespace tapi;

namespace {

constexpr std::uint32_t kNoDevice = 0xFFFFFFFFu;

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

ModemTelephony& Telephony() {
    return ModemTelephony::Instance();
}

void Box(const char* text, const char* caption, MsgIcon icon) {
    MessageRequest box;
    box.text = text;
    box.caption = caption;
    box.icon = icon;
    Prompter().Ask(box);
}

} // namespace

CDialSettingsModel::CDialSettingsModel(const RememberedNumber& number, bool connectPath)
    : m_remembered(number), m_connectPath(connectPath) {}

std::string CDialSettingsModel::CanonicalNumber(bool useCountry, const std::string& countryEntry,
                                                const std::string& areaCode,
                                                const std::string& number) {
    if (!useCountry)
        return number;
    std::string code;
    const std::size_t open = countryEntry.rfind('(');
    if (open != std::string::npos) {
        const std::size_t close = countryEntry.find(')', open);
        for (char c : countryEntry.substr(open + 1, close == std::string::npos ? std::string::npos
                                                                               : close - open - 1))
            if (std::isdigit(static_cast<unsigned char>(c)))
                code += c;
    }
    std::string canonical = "+" + code;
    if (!areaCode.empty())
        canonical += Format(" (%s)", areaCode.c_str());
    return canonical + " " + number;
}

void CDialSettingsModel::Open(WindowHandle owner) {
    m_owner = owner;
    m_previousOwner = Telephony().Owner();
    Telephony().SetOwner(owner);
    m_number = Trim(m_remembered.phoneNumber).substr(0, kNumberChars);
    m_areaCode = m_remembered.areaCode.substr(0, kAreaChars);
    m_useCountry = m_remembered.useCountry != 0;
    FillDevices();
    FillLocations();
    FillCountries();
    CheckNumber();
}

std::uint32_t CDialSettingsModel::DeviceId() const {
    return m_device >= 0 ? m_devices[static_cast<std::size_t>(m_device)].id : kNoDevice;
}

void CDialSettingsModel::FillDevices() {
    m_devices = Telephony().UsableDevices();
    m_device = m_devices.empty() ? -1 : 0;
    for (std::size_t i = 0; i < m_devices.size(); ++i)
        if (static_cast<std::int32_t>(m_devices[i].id) == m_remembered.device)
            m_device = static_cast<int>(i);
}

void CDialSettingsModel::FillLocations() {
    LineTranslateCaps caps;
    m_locationIds.clear();
    m_locationNames.clear();
    m_location = -1;
    m_card.clear();
    if (lineGetTranslateCaps(Telephony().App(), kApiVersion14, &caps) != 0)
        return;
    for (const LineLocationEntry& l : caps.locations) {
        if (l.permanentLocationId == caps.currentLocationId) {
            m_location = static_cast<int>(m_locationNames.size());
            for (const LineCardEntry& card : caps.cards)
                if (card.permanentCardId == l.preferredCardId)
                    m_card = card.name;
        }
        m_locationIds.push_back(l.permanentLocationId);
        m_locationNames.push_back(l.name);
    }
    if (m_location < 0) {
        OutputDebugPrintf("lpszCurrentLocation not found\n");
        m_card = kInvalidLocation;
    }
}

void CDialSettingsModel::FillCountries() {
    std::vector<LineCountryEntry> countries;
    m_countries.clear();
    m_country = -1;
    if (lineGetCountry(0, kApiVersion14, &countries) != 0)
        return;
    std::uint32_t home = 0;
    LineTranslateCaps caps;
    if (lineGetTranslateCaps(Telephony().App(), kApiVersion14, &caps) == 0)
        for (const LineLocationEntry& l : caps.locations)
            if (l.permanentLocationId == caps.currentLocationId)
                home = l.countryCode;
    int homeIndex = -1;
    for (const LineCountryEntry& c : countries) {
        const std::string entry =
            Format("%s (%lu)", c.name.c_str(), static_cast<unsigned long>(c.countryCode));
        if (entry == m_remembered.country)
            m_country = static_cast<int>(m_countries.size());
        if (c.countryCode == home && (homeIndex < 0 || c.countryId == home))
            homeIndex = static_cast<int>(m_countries.size());
        m_countries.push_back(entry);
    }
    if (m_country < 0)
        m_country = homeIndex;
}

void CDialSettingsModel::CheckNumber() {
    m_ok = false;
    if (m_number.empty()) {
        m_canonical.clear();
        m_displayable.clear();
        m_dialable = kNoPhoneNumber;
        return;
    }
    const std::string entry =
        m_country >= 0 ? m_countries[static_cast<std::size_t>(m_country)] : std::string();
    m_canonical = CanonicalNumber(m_useCountry, entry, m_areaCode, m_number);
    LineTranslateOutput out;
    const std::int32_t r =
        lineTranslateAddress(Telephony().App(), DeviceId(), kApiVersion14, m_canonical.c_str(), 0,
                             LINETRANSLATEOPTION_CANCELCALLWAITING, &out);
    if (r == LINEERR_INVALADDRESS)
        Box("Unable to translate phone number", "Warning", MsgIcon::Warning);
    if (r != 0) {
        m_displayable.clear();
        m_dialable = kInvalidNumber;
        return;
    }
    m_displayable = out.displayableString;
    m_dialable = out.dialableString;
    m_ok = m_device >= 0;
}

void CDialSettingsModel::SelectDevice(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_devices.size())
        return;
    if (index != m_device)
        m_config.clear();
    m_device = index;
    CheckNumber();
}

void CDialSettingsModel::SelectCountry(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_countries.size())
        return;
    m_country = index;
    CheckNumber();
}

void CDialSettingsModel::SelectLocation(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_locationIds.size())
        return;
    lineSetCurrentLocation(Telephony().App(), m_locationIds[static_cast<std::size_t>(index)]);
    FillLocations();
    CheckNumber();
}

void CDialSettingsModel::SetPhoneNumber(const std::string& number) {
    m_number = number.substr(0, kNumberChars);
    CheckNumber();
}

void CDialSettingsModel::SetAreaCode(const std::string& areaCode) {
    m_areaCode = areaCode.substr(0, kAreaChars);
    CheckNumber();
}

void CDialSettingsModel::SetUseCountry(bool use) {
    m_useCountry = use;
    CheckNumber();
}

void CDialSettingsModel::DialingProperties() {
    const std::int32_t r = lineTranslateDialog(Telephony().App(), DeviceId(), kApiVersion14,
                                               m_owner, m_canonical.c_str());
    if (r != 0)
        OutputDebugLineError(r, "lineTranslateDialog: ");
    FillLocations();
    CheckNumber();
}

void CDialSettingsModel::ConfigureLine() {
    if (m_devices.empty()) {
        Telephony().OfferControlPanel();
        m_refillDevices = true;
        return;
    }
    if (m_config.empty() && lineGetDevConfig(DeviceId(), kDataModemClass, &m_config) != 0)
        m_config.clear();
    std::string edited;
    if (lineConfigDialogEdit(DeviceId(), m_owner, kDataModemClass, m_config, &edited) != 0) {
        Box("Internal Error: Unable to set line configuration.\nPlease try again.", "Error",
            MsgIcon::Error);
        return;
    }
    m_config = edited;
    Telephony().SetDeviceConfig(edited);
}

void CDialSettingsModel::Activate() {
    if (!m_refillDevices)
        return;
    m_refillDevices = false;
    FillDevices();
    CheckNumber();
}

bool CDialSettingsModel::Accept(RememberedNumber& number) {
    if (!m_ok)
        return false;
    number.phoneNumber = m_number;
    number.areaCode = m_areaCode;
    number.country =
        m_country >= 0 ? m_countries[static_cast<std::size_t>(m_country)] : std::string();
    number.useCountry = m_useCountry ? 1 : 0;
    number.canonical = m_canonical;
    number.dialable = m_dialable;
    number.displayable = m_displayable;
    number.device = static_cast<std::int32_t>(DeviceId());
    Telephony().SetOwner(m_previousOwner);
    return true;
}

void CDialSettingsModel::Reject() {
    Telephony().SetOwner(m_previousOwner);
}

} // namespace tvane::comm
