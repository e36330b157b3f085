#pragma once
#include <string>
#include <vector>

#include "platform/grid/GridRange.h"
#include "platform/grid/GridStyle.h"

namespace tvane {
class MessageTarget;
}

// The window side of the setup grid that its logic needs beyond the grid
// core: the window's own selection, current cell and drawing, the drop-down
// list, the status bar, menus and the clipboard.
class ISetupGridWindow {
public:
    virtual ~ISetupGridWindow() = default;

    // Where the view's messages go (the view itself).
    virtual tvane::MessageTarget& Target() = 0;
    // The grid's row count changed.
    virtual void SyncRowCount() = 0;
    virtual void RedrawRange(const tvane::GridRange& range) = 0;
    // Suspends drawing; returns the previous state. Unsuspending repaints.
    virtual bool LockUpdate(bool lock) = 0;
    // Moves the current cell with the edit protocol; false when the cell left
    // refused (the user has been told).
    virtual bool MoveCurrentCell(int row, int col) = 0;
    virtual void SetCurrentCell(int row, int col) = 0;
    virtual void ScrollToCell(int row, int col) = 0;
    virtual void SelectRange(const tvane::GridRange& range) = 0;
    virtual void ClearSelection() = 0;
    // Activates or deactivates the current cell's control.
    virtual void ActivateCurrentCell(bool active) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    // The drop-down list's items and the one chosen (none for an empty text).
    virtual void FillDropDown(const std::vector<std::string>& items, const std::string& chosen) = 0;
    virtual void ShowPopupMenu(int menuId) = 0;
    // False when the clipboard cannot take the text.
    virtual bool CopyTextToClipboard(const std::string& text) = 0;
    virtual std::string GetTabName() const = 0;
    virtual void SetTabName(const std::string& name) = 0;
    // The colour of the view's page tab.
    virtual void SetTabColour(tvane::ColorRef colour) = 0;
};
