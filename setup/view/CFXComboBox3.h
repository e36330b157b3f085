#pragma once
#include "platform/gridview/GridComboControl.h"
#include "platform/ui/MessageBus.h"

// The drop-down list of the hardware alarm output, from its column's list.
class CFXComboBox3 final : public tvane::GridComboControl {
public:
    CFXComboBox3(tvane::GridView& view, tvane::MessageTarget& target)
        : GridComboControl(view, false), m_target(target) {}

protected:
    void RightButtonDown(const QPoint&) override;

private:
    tvane::MessageTarget& m_target;
};
