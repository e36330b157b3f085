#pragma once
#include "platform/gridview/GridEditControl.h"
#include "platform/ui/MessageBus.h"
#include "setup/NumericCellRules.h"

// The numeric cells: gain, offset and the alarm limits. The cell's style says
// the mode (number, bit pattern or count, set by the view per row); typing
// follows the mode's syntax, bit patterns are typed over, and leaving the
// cell checks the text (setupgrid::ValidateNumericCell).
class CNumericEditControl final : public tvane::GridEditControl {
public:
    CNumericEditControl(tvane::GridView& view, tvane::MessageTarget& target)
        : GridEditControl(view), m_target(target) {}

    setupgrid::NumericMode Mode() const { return m_mode; }
    bool OnValidate() override;
    void SetActive(bool active) override;

protected:
    bool AcceptsText(const QString& text) const override;
    bool EditorKey(QKeyEvent* event) override;
    void ApplyStyle(const tvane::GridStyle& style) override;
    void RightButtonDown(const QPoint&) override;

private:
    tvane::MessageTarget& m_target;
    setupgrid::NumericMode m_mode = setupgrid::NumericMode::Number;
    int m_maxLength = 20;
};
