#pragma once
#include "platform/gridview/GridWidgetControl.h"

class QLineEdit;

namespace tvane {

// The grid's text edit: a line edit limited to the cell's maximum length. A
// subclass filters what may be typed (AcceptsText) and may take keys first
// (EditorKey).
class GridEditControl : public GridWidgetControl {
public:
    explicit GridEditControl(GridView& view);

    bool IsTextEdit() const override { return true; }
    QLineEdit* LineEdit() const { return m_edit; }

protected:
    // Whether a text the user is about to make may stand; all pass unless
    // overridden. The text before the change stays when it is refused.
    virtual bool AcceptsText(const QString&) const { return true; }
    void ApplyStyle(const GridStyle& style) override;
    void ShowText(const QString& text) override;

private:
    class Validator;
    QLineEdit* m_edit;
};

} // namespace tvane
