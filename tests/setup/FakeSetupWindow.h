#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/grid/GridCellControl.h"
#include "platform/grid/GridCore.h"
#include "platform/ui/MessageBus.h"
#include "setup/ISetupGridWindow.h"

// The window side of the setup grid over a bare grid core; messages sent to
// the view go to a handler the test sets (the controller's).
class FakeSetupWindow : public ISetupGridWindow, public tvane::MessageTarget {
public:
    explicit FakeSetupWindow(tvane::GridCore& grid) : m_grid(grid) {}

    long OnMessage(const tvane::Message& message) override {
        return handler ? handler(message) : 0;
    }
    tvane::MessageTarget& Target() override { return *this; }
    void SyncRowCount() override { ++rowCountSyncs; }
    void RedrawRange(const tvane::GridRange& range) override { redrawn.push_back(range); }
    bool LockUpdate(bool lock) override { return std::exchange(locked, lock); }
    bool MoveCurrentCell(int row, int col) override {
        const bool moved = m_grid.MoveCurrentCell(row, col);
        if (!moved)
            warnings.push_back(m_grid.GetWarningText());
        return moved;
    }
    void SetCurrentCell(int row, int col) override { m_grid.SetCurrentCell(row, col); }
    void ScrollToCell(int row, int col) override { scrolledTo = {row, col}; }
    void SelectRange(const tvane::GridRange& range) override { m_grid.SetSelection({range}); }
    void ClearSelection() override { m_grid.ClearSelection(); }
    void ActivateCurrentCell(bool active) override {
        if (auto* control = m_grid.GetCurrentCellControl())
            control->SetActive(active);
    }
    void SetStatusText(const std::string& text) override { status = text; }
    void FillDropDown(const std::vector<std::string>& items, const std::string& chosen) override {
        dropDown = items;
        dropDownChoice = chosen;
    }
    void ShowPopupMenu(int menuId) override { menus.push_back(menuId); }
    bool CopyTextToClipboard(const std::string& text) override {
        clipboard = text;
        return true;
    }
    std::string GetTabName() const override { return tab; }
    void SetTabName(const std::string& name) override { tab = name; }
    void SetTabColour(tvane::ColorRef colour) override { tabColour = colour; }

    std::function<long(const tvane::Message&)> handler;
    int rowCountSyncs = 0;
    std::vector<tvane::GridRange> redrawn;
    bool locked = false;
    std::pair<int, int> scrolledTo{0, 0};
    std::string status;
    std::vector<std::string> dropDown;
    std::string dropDownChoice;
    std::vector<int> menus;
    std::vector<std::string> warnings;
    std::string clipboard;
    std::string tab;
    tvane::ColorRef tabColour = 0;

private:
    tvane::GridCore& m_grid;
};
