#include "setup/view/CFXEditControl.h"

#include "setup/SetupMessages.h"

void CFXEditControl::RightButtonDown(const QPoint&) {
    tvane::MessageBus::Send(m_target, {setupmsg::DispPopup(), setupmsg::kChannelMenu, 0, {}});
}
