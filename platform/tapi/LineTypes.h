#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tvane::tapi {

// What a line device (a modem) can do: lineGetDevCaps.
struct LineDevCaps {
    std::optional<std::string> lineName; // none when the device reports no name
    std::string providerInfo;            // the port the modem is on
    std::uint32_t bearerModes = 0;
    std::uint32_t mediaModes = 0;
    std::uint32_t lineFeatures = 0;
    std::uint32_t devCapFlags = 0; // LINEDEVCAPFLAGS_DIAL…: what the modem waits for itself
    std::uint32_t numAddresses = 1;
};

// lineGetAddressCaps.
struct LineAddressCaps {
    std::uint32_t addrCapFlags = 0; // LINEADDRCAPFLAGS_PARTIALDIAL when ";" may end a dial
};

// lineGetAddressStatus.
struct LineAddressStatus {
    std::uint32_t numActiveCalls = 0;
    std::uint32_t addressFeatures = 0; // LINEADDRFEATURE_MAKECALL while the line is free
};

// lineGetCallStatus.
struct LineCallStatus {
    std::uint32_t callState = 0;
    std::uint32_t callStateMode = 0;
    std::uint32_t callPrivilege = 0;
    // The device-specific part: why the modem failed the call's last request, in
    // words for the user; empty when it did not.
    std::string devSpecific;
};

// lineMakeCall's parameters.
struct LineCallParams {
    std::uint32_t bearerMode = 0;
    std::uint32_t mediaMode = 0;
    std::uint32_t callParamFlags = 0;
    std::uint32_t addressMode = 0;
    std::uint32_t addressId = 0;
    std::string displayableAddress;
};

// lineGetID for "comm/datamodem": a descriptor of the modem's port that the caller
// owns and closes, and the port's device name.
struct LineDeviceId {
    int handle = -1;
    std::string deviceName;
};

// One country of lineGetCountry.
struct LineCountryEntry {
    std::uint32_t countryId = 0;
    std::uint32_t countryCode = 0;
    std::string name;
    std::string nationalPrefix;      // dialled before an area code from inside the country
    std::string internationalPrefix; // dialled before a country code
};

// A dialing location: where the user dials from.
struct LineLocationEntry {
    std::uint32_t permanentLocationId = 0;
    std::string name;
    std::uint32_t countryCode = 1;
    std::string cityCode;        // the area code
    std::string localAccessCode; // for an outside line ("9")
    std::string longDistanceAccessCode;
    std::string cancelCallWaiting; // dialled first to turn call waiting off ("*70,")
    bool pulseDialing = false;
    std::uint32_t preferredCardId = 0;
};

// A calling card of lineGetTranslateCaps.
struct LineCardEntry {
    std::uint32_t permanentCardId = 0;
    std::string name;
};

// lineGetTranslateCaps.
struct LineTranslateCaps {
    std::uint32_t currentLocationId = 0;
    std::vector<LineLocationEntry> locations;
    std::vector<LineCardEntry> cards;
};

// lineTranslateAddress.
struct LineTranslateOutput {
    std::string dialableString;
    std::string displayableString;
    std::uint32_t currentCountry = 0;
    std::uint32_t destCountry = 0;
    std::uint32_t translateResults = 0;
};

// The configuration of a modem (lineGetDevConfig / lineSetDevConfig /
// lineConfigDialogEdit): the port's speed and flow control, the command that prepares
// the modem before each call, and how long a call may take to connect.
struct ModemSettings {
    int speed = 57600;
    bool hardwareFlow = true;
    std::string init = "ATE0V1";
    int waitForCarrier = 60; // seconds

    // The opaque configuration block handed to the caller, and back.
    std::string Serialize() const;
    static std::optional<ModemSettings> Parse(const std::string& block);
    bool operator==(const ModemSettings&) const = default;
};

} // namespace tvane::tapi
