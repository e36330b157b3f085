#pragma once
#include "platform/gridview/GridComboControl.h"
#include "platform/ui/MessageBus.h"

// The drop-down list of the Function, Range, Resolution and Test cells. A
// chosen item that differs from the cell's text (case ignored) makes an edit
// and, for the cells whose change reshapes the row, is posted to the view
// (FUNCCHANGED, RESCHANGED, SETTINGCHANGED) with the text itself. The list is
// filled by the view when the cell becomes current.
class CFXComboBox final : public tvane::GridComboControl {
public:
    CFXComboBox(tvane::GridView& view, tvane::MessageTarget& target)
        : GridComboControl(view, false), m_target(target) {}

protected:
    void SelectionEnded() override;
    void RightButtonDown(const QPoint&) override;

private:
    tvane::MessageTarget& m_target;
};
