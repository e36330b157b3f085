#pragma once
#include "platform/gridview/GridCheckBoxControl.h"
#include "platform/ui/MessageBus.h"

// The Scan and Scale check boxes: a click is posted to the view
// (SETTINGCHANGED with an empty text), which stores it and restyles the row.
class CFXCheckBox final : public tvane::GridCheckBoxControl {
public:
    CFXCheckBox(tvane::GridView& view, tvane::MessageTarget& target)
        : GridCheckBoxControl(view), m_target(target) {}

protected:
    void Toggled() override;

private:
    tvane::MessageTarget& m_target;
};
