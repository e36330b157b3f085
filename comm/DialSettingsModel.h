#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "comm/CCommInterface.h"
#include "comm/DialogOwner.h"
#include "comm/ModemTelephony.h"
#include "comm/RememberedNumber.h"

namespace tvane::comm {

// The rules of the "Dial-up Modem Settings" dialog: the modems, dialing locations and
// countries it lists, and the number checked after every change, which gives the
// canonical, displayable and dialable forms through the telephony layer. OK is
// enabled only for a number that translates, with a modem selected. The window shows
// this model and passes the user's changes to it.
class CDialSettingsModel {
public:
    static constexpr std::size_t kNumberChars = 1024;
    static constexpr std::size_t kAreaChars = 256;
    static constexpr const char* kNoPhoneNumber = "No Phone Number";
    static constexpr const char* kInvalidNumber = "Invalid Phone Number or Area Code";
    static constexpr const char* kInvalidLocation = "Invalid Location Selected";

    CDialSettingsModel(const RememberedNumber& number, bool connectPath);

    // Fills the lists and checks the number; owner is the dialog, the telephony's
    // owner until the dialog closes.
    void Open(WindowHandle owner);

    const std::vector<ModemTelephony::LineDevice>& Devices() const { return m_devices; }
    int SelectedDevice() const { return m_device; }
    void SelectDevice(int index);
    const std::vector<std::string>& Countries() const { return m_countries; }
    int SelectedCountry() const { return m_country; }
    void SelectCountry(int index);
    const std::vector<std::string>& Locations() const { return m_locationNames; }
    int SelectedLocation() const { return m_location; }
    void SelectLocation(int index);
    const std::string& CallingCard() const { return m_card; }

    const std::string& PhoneNumber() const { return m_number; }
    void SetPhoneNumber(const std::string& number);
    const std::string& AreaCode() const { return m_areaCode; }
    void SetAreaCode(const std::string& areaCode);
    bool UseCountry() const { return m_useCountry; }
    void SetUseCountry(bool use);

    const std::string& Canonical() const { return m_canonical; }
    const std::string& Displayable() const { return m_displayable; }
    // The dialable string, or why there is none.
    const std::string& Dialable() const { return m_dialable; }

    bool OkEnabled() const { return m_ok; }
    bool ConfigureEnabled() const { return !m_devices.empty(); }
    const char* OkText() const { return m_connectPath ? "&Dial..." : "OK"; }

    // "Dialing Properties...": edits the location, then checks the number again.
    void DialingProperties();
    // "Configure Line...": edits the modem's settings for the next call; without a
    // modem it offers to add one and lists the modems again on the next Activate.
    void ConfigureLine();
    void Activate();

    // OK: the number to remember and dial. False while OK is disabled.
    bool Accept(RememberedNumber& number);
    // Cancel: the telephony's owner goes back.
    void Reject();

    static std::string CanonicalNumber(bool useCountry, const std::string& countryEntry,
                                       const std::string& areaCode, const std::string& number);

private:
    void FillDevices();
    void FillLocations();
    void FillCountries();
    void CheckNumber();
    std::uint32_t DeviceId() const;

    RememberedNumber m_remembered;
    bool m_connectPath;
    WindowHandle m_owner = nullptr;
    WindowHandle m_previousOwner = nullptr;
    std::vector<ModemTelephony::LineDevice> m_devices;
    int m_device = -1;
    std::vector<std::string> m_countries;
    int m_country = -1;
    std::vector<std::uint32_t> m_locationIds;
    std::vector<std::string> m_locationNames;
    int m_location = -1;
    std::string m_card;
    std::string m_number;
    std::string m_areaCode;
    bool m_useCountry = true;
    std::string m_canonical;
    std::string m_displayable;
    std::string m_dialable;
    bool m_ok = false;
    bool m_refillDevices = false;
    std::string m_config; // the modem settings read once for Configure Line
};

} // namespace tvane::comm
