#include "setup/view/CFXComboBox3.h"

#include "setup/SetupMessages.h"

void CFXComboBox3::RightButtonDown(const QPoint&) {
    tvane::MessageBus::Send(m_target, {setupmsg::DispPopup(), setupmsg::kChannelMenu, 0, {}});
}
