#include "setup/view/CFXCheckBox.h"

#include "setup/SetupMessages.h"

void CFXCheckBox::Toggled() {
    tvane::MessageBus::Post(m_target, {setupmsg::SettingChanged(), Row(), 0, {}});
}
