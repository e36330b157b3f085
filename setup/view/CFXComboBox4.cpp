#include "setup/view/CFXComboBox4.h"

#include <QComboBox>
#include <QLineEdit>

#include "setup/SetupMessages.h"
#include "setup/view/CFXComboEdit.h"

CFXComboBox4::CFXComboBox4(tvane::GridView& view, tvane::MessageTarget& target)
    : GridComboControl(view, true), m_target(target) {
    new CFXComboEdit(*ComboBox()->lineEdit());
}

void CFXComboBox4::RightButtonDown(const QPoint&) {
    tvane::MessageBus::Send(m_target, {setupmsg::DispPopup(), setupmsg::kChannelMenu, 0, {}});
}
