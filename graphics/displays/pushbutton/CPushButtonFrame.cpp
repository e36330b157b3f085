#include "graphics/displays/pushbutton/CPushButtonFrame.h"

#include "graphics/DisplayFamily.h"

IMPLEMENT_SERIAL(CPushButtonFrame, CGraphFrame, 0)

namespace {
const displays::FrameRegistration<CPushButtonFrame> kFrame{32883};
} // namespace

// The appearance page offers items 1 to 9: the two button states too.
CPushButtonFrame::CPushButtonFrame()
    : ToggleBankFrame({kSourceModule, 11009, kPushButton, 9, {10, 10, 160, 80}}) {}
