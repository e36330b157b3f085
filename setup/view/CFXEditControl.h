#pragma once
#include "platform/gridview/GridEditControl.h"
#include "platform/ui/MessageBus.h"

// The comment cell's edit; a right click opens the "Channel" menu.
class CFXEditControl final : public tvane::GridEditControl {
public:
    CFXEditControl(tvane::GridView& view, tvane::MessageTarget& target)
        : GridEditControl(view), m_target(target) {}

protected:
    void RightButtonDown(const QPoint&) override;

private:
    tvane::MessageTarget& m_target;
};
