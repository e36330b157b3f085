#pragma once
#include "graphics/displays/switches/CSwitchWnd.h"
#include "graphics/displays/switches/ToggleBankFrame.h"

// The switch bank display: toggle switches for relay channels and digital
// output bits (bit display) or for the eight bits of a digital output port
// (byte display), a block per channel, up to ten channels. A flip writes the
// channel; only the document's answers set the switches, never readings.
class CSwitchFrame : public ToggleBankFrame<CSwitchWnd> {
    DECLARE_SERIAL(CSwitchFrame)
public:
    static constexpr const char* kSourceModule = "Switfrm";

    CSwitchFrame();

    CSwitchWnd* GetSwitchWnd() const { return GetBankWnd(); }
};
