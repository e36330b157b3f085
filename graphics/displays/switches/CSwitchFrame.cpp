#include "graphics/displays/switches/CSwitchFrame.h"

#include "graphics/DisplayFamily.h"

IMPLEMENT_SERIAL(CSwitchFrame, CGraphFrame, 0)

namespace {
const displays::FrameRegistration<CSwitchFrame> kFrame{32851};
} // namespace

// The appearance page offers items 1 to 10: the switch plate and the levers too.
CSwitchFrame::CSwitchFrame()
    : ToggleBankFrame({kSourceModule, 11008, kSwitchBank, 10, {10, 10, 160, 100}}) {}
