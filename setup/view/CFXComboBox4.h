#pragma once
#include "platform/gridview/GridComboControl.h"
#include "platform/ui/MessageBus.h"

// The units label: a drop-down list with an edit field whose typing follows
// the label rules (CFXComboEdit).
class CFXComboBox4 final : public tvane::GridComboControl {
public:
    CFXComboBox4(tvane::GridView& view, tvane::MessageTarget& target);

protected:
    void RightButtonDown(const QPoint&) override;

private:
    tvane::MessageTarget& m_target;
};
