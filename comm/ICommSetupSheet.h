#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "comm/CCommInterface.h"

namespace tvane::comm {

class CCommCtrl;

// The control's user interface: the modal "Communication Setup" sheet with its
// "Select Instrument" page, and the property frame. The program installs the real
// one; without it the control's search and properties report that they are not
// available.
class ICommSetupSheet {
public:
    struct Request {
        int32_t type = -1;       // interface to start on; -1 none
        std::string pattern;     // filters the instruments found
        int32_t flag = 0;        // not 0: offer the simulated interface
        CCommInterface* current; // the control's transport, not owned; may be null
        std::string status;      // the identity line, or the "Click 'Search'" text
    };
    struct Result {
        bool selected = false; // OK with an instrument selected
        // The transport the page created, which the control adopts; null when the
        // selection used the control's own transport.
        std::unique_ptr<CCommInterface> transport;
        int32_t type = -1;
        std::string line;  // the selected result line
        std::string model; // its fields: model, address text
        std::string address;
    };

    virtual ~ICommSetupSheet() = default;
    virtual Result Run(const Request& request) = 0;
    // The property frame with the control's property page; false when it cannot show.
    virtual bool ShowProperties(CCommCtrl& control) = 0;
};

// Null until the program installs one.
ICommSetupSheet* CommSetupSheet();
void SetCommSetupSheet(ICommSetupSheet* sheet);

} // namespace tvane::comm
