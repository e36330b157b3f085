#pragma once
#include <memory>

#include "platform/gridview/GridView.h"
#include "platform/ui/MessageBus.h"
#include "setup/ISetupGridWindow.h"

class CFXComboBox;
class ISetupGridOperations;
class ISetupOptionsSheet;
class SetupGridController;
class SetupViewCommands;

// The setup grid: one row per channel of the scan setup under two header rows,
// the ID, Scan and Name columns frozen, edited through the setup's own cell
// controls. The logic is SetupGridController's; this is its window: it takes
// the registered messages of the cell controls, the keys and right clicks, and
// shows the status prompts and menus through its signals. Its commands (Edit,
// Channel and View) are SetupViewCommands'.
class CSetupView final : public tvane::GridView,
                         public tvane::MessageTarget,
                         public ISetupGridWindow {
    Q_OBJECT
public:
    CSetupView(ISetupGridOperations& operations, ISetupOptionsSheet& options,
               QWidget* parent = nullptr);
    ~CSetupView() override;

    SetupGridController& Controller() { return *m_controller; }
    SetupViewCommands& Commands() { return *m_commands; }
    // A new (or, with opened, a loaded) setup is shown.
    void InitialUpdate(bool opened);
    // The view became (in)active in its frame.
    void ActivateView(bool active);
    // Prints the setup in pages of columns, without repeating the frozen ones
    // (they are unfrozen while printing); the number of pages.
    int PrintSetupTo(QPagedPaintDevice& device);
    // Print puts the setup's pages out the same way.
    int PrintPages(QPagedPaintDevice& device) override { return PrintSetupTo(device); }

    long OnMessage(const tvane::Message& message) override;

    tvane::MessageTarget& Target() override { return *this; }
    void SyncRowCount() override;
    void RedrawRange(const tvane::GridRange& range) override { GridView::RedrawRange(range); }
    bool LockUpdate(bool lock) override { return GridView::LockUpdate(lock); }
    bool MoveCurrentCell(int row, int col) override { return GridView::MoveCurrentCell(row, col); }
    void SetCurrentCell(int row, int col) override { GridView::SetCurrentCell(row, col); }
    void ScrollToCell(int row, int col) override { GridView::ScrollToCell(row, col); }
    void SelectRange(const tvane::GridRange& range) override { GridView::SelectRange(range); }
    void ClearSelection() override { ClearGridSelection(); }
    void ActivateCurrentCell(bool active) override;
    void SetStatusText(const std::string& text) override;
    void FillDropDown(const std::vector<std::string>& items, const std::string& chosen) override;
    void ShowPopupMenu(int menuId) override;
    bool CopyTextToClipboard(const std::string& text) override;
    std::string GetTabName() const override { return m_tabName; }
    void SetTabName(const std::string& name) override;
    void SetTabColour(tvane::ColorRef colour) override;
    tvane::ColorRef GetTabColour() const { return m_tabColour; }

signals:
    // The prompt of the current cell's column, for the status bar.
    void statusTextChanged(const QString& text);
    // A context menu: 200 "Channel" or 151 "SetupView".
    void popupMenuRequested(int menuId);
    // The name the view's page tab shows.
    void tabNameChanged(const QString& name);
    // The colour the view's page tab is drawn in.
    void tabColourChanged(tvane::ColorRef colour);

protected:
    // Delete stays the grid's key (its own rule for rows and cells) even
    // where the main window's Delete command has it as its accelerator.
    bool event(QEvent* event) override;
    bool ProcessKey(QKeyEvent* event) override;
    bool AcceptsPress(QMouseEvent* event) override;
    void RightButtonPressed(int row, int col, const QPoint& globalPos) override;

private:
    void DoubleClicked(int row, int col);

    std::unique_ptr<SetupGridController> m_controller;
    std::unique_ptr<SetupViewCommands> m_commands;
    CFXComboBox* m_dropDown;
    std::string m_tabName;
    tvane::ColorRef m_tabColour = 0;
};
