#include "setup/view/CFXComboBox.h"

#include "platform/core/CaseInsensitive.h"
#include "platform/grid/GridCore.h"
#include "setup/CellControlRules.h"
#include "setup/SetupMessages.h"

void CFXComboBox::SelectionEnded() {
    const std::string chosen = GetControlText();
    const std::string stored = Grid().GetCellText(Row(), Col());
    const auto message = setupgrid::ComboChangeMessage(Col(), stored, chosen);
    if (tvane::EqualsNoCase(stored, chosen)) {
        // The same entry again changes nothing.
        SetControlText(stored);
        SetModify(false);
        return;
    }
    if (message)
        tvane::MessageBus::Post(m_target, {*message, Row(), 0, chosen});
}

void CFXComboBox::RightButtonDown(const QPoint&) {
    tvane::MessageBus::Send(m_target, {setupmsg::DispPopup(), setupmsg::kChannelMenu, 0, {}});
}
