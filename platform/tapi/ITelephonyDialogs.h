#pragma once
#include <string>
#include <vector>

#include "platform/tapi/LineTypes.h"

namespace tvane::tapi {

// The dialogs the telephony layer shows for lineTranslateDialog and
// lineConfigDialogEdit. A program with windows installs them; without them those
// calls give LINEERR_OPERATIONUNAVAIL.
class ITelephonyDialogs {
public:
    virtual ~ITelephonyDialogs() = default;
    // Dialing properties: edits where the user dials from. True on OK.
    virtual bool EditLocation(LineLocationEntry& location,
                              const std::vector<LineCountryEntry>& countries, void* owner) = 0;
    // The modem's settings. True on OK.
    virtual bool EditModemSettings(const std::string& lineName, ModemSettings& settings,
                                   void* owner) = 0;
};

ITelephonyDialogs* TelephonyDialogs();
void SetTelephonyDialogs(ITelephonyDialogs* dialogs);

} // namespace tvane::tapi
