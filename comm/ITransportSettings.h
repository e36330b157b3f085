#pragma once

namespace tvane::comm {

// A transport whose settings the user edits in a dialog of its own (serial port,
// gateway controllers, GPIB boards, the number to dial). The setup page's Change
// Settings runs it; a transport without one is told "not applicable".
class ITransportSettings {
public:
    // Shows the dialog over DialogOwner(); true when the page should search again.
    virtual bool EditSettings() = 0;

protected:
    ~ITransportSettings() = default;
};

} // namespace tvane::comm
