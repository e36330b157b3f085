#pragma once
#include "graphics/displays/pushbutton/CPushButtonWnd.h"
#include "graphics/displays/switches/ToggleBankFrame.h"

// The push button display: a button for each relay channel or digital output
// bit (bit display) or eight for the bits of a digital output port (byte
// display), a block per channel, up to ten channels. A press writes the
// channel; only the document's answers set the buttons, never readings.
class CPushButtonFrame : public ToggleBankFrame<CPushButtonWnd> {
    DECLARE_SERIAL(CPushButtonFrame)
public:
    static constexpr const char* kSourceModule = "PBtnFrm";

    CPushButtonFrame();

    CPushButtonWnd* GetButtonWnd() const { return GetBankWnd(); }
};
