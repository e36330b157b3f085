#pragma once
#include <string>
#include <vector>

#include "platform/gridview/GridWidgetControl.h"

class QComboBox;

namespace tvane {

// A drop-down list cell, with an edit field when asked (editable). The list
// comes from the cell's choice list unless the owner fills it (SetItems);
// an item is chosen by the text that a stored value begins with, ignoring
// case, and an empty or unmatched text chooses none. Drawn with a list
// button while the cell is current.
class GridComboControl : public GridWidgetControl {
public:
    GridComboControl(GridView& view, bool editable);

    QComboBox* ComboBox() const { return m_combo; }
    // The items of the list, in order.
    void SetItems(const std::vector<std::string>& items);
    std::vector<std::string> Items() const;
    // Selects the first item that begins with the text (case ignored); none
    // for an empty or unmatched text. Returns the index or -1.
    int SelectText(const std::string& text);
    int CurrentIndex() const;
    // Opens the list (the control is then active).
    void ShowDropDown();

    void Clicked(const QPoint& pos, const QRect& cell) override;
    void PaintOver(QPainter& painter, const QRect& rect, int row, int col, const GridStyle& style,
                   const QString& value, bool current) const override;

protected:
    // The user chose an item or closed the list; the text is the control's.
    virtual void SelectionEnded() {}
    void ApplyStyle(const GridStyle& style) override;
    void ShowText(const QString& text) override;
    bool EditorKey(QKeyEvent* event) override;

private:
    QComboBox* m_combo;
    bool m_editable;
    bool m_filling = false;
};

} // namespace tvane
