#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QPointer>

#include "scan/ISetupEditor.h"
#include "setup/ISetupOptionsSheet.h"
#include "setup/SetupViewCommands.h"
#include "setup/view/CSetupView.h"
#include "shared/IView.h"

class CLoggerDoc;
class CMainFrame;
class QMenu;

// The setup grid as the main window's first page: the document's setup view
// (shown anew for hint 3344 and for a new or opened document, its layout kept
// in the document file), the Edit and Channel menus and the view's entries of
// the View menu with their accelerators and the view's enable rules, the
// context menus, the status prompts, and the document's setup editor for the
// current cell's check and the monitor highlight.
class SetupViewPage final : public IView, public ISetupEditor {
public:
    SetupViewPage(CLoggerDoc& doc, CMainFrame& frame);
    ~SetupViewPage() override;
    SetupViewPage(const SetupViewPage&) = delete;
    SetupViewPage& operator=(const SetupViewPage&) = delete;

    CSetupView& View() { return *m_view; }
    // The setup options sheet; without one, Options and Show/Hide Columns stay
    // disabled.
    void SetOptionsSheet(ISetupOptionsSheet* sheet) { m_options.sheet = sheet; }
    // What the setup editor does besides the grid (the scan settings sheet, the
    // name of a new setup); without it those answer Cancel.
    void SetSheets(ISetupEditor* sheets) { m_sheets = sheets; }
    // The Edit menu serves the page that is shown: on another page its Cut,
    // Copy, Paste and Delete run there, enabled by that page's rules, and Undo
    // (the grid's alone) is disabled.
    void SetOtherPageEdit(std::function<bool(unsigned)> enabled,
                          std::function<void(unsigned)> run) {
        m_otherPageEdit = {std::move(enabled), std::move(run)};
    }
    // A context menu of the view: 151 "SetupView" or 200 "Channel", made of the
    // main window's command entries. The caller owns it.
    QMenu* BuildPopupMenu(int menuId) const;

    // IView
    void OnUpdate(IView* sender, long hint, const HintObject& object) override;
    Kind GetKind() const override { return kSetupView; }
    void Refresh() override;
    void SerializeState(tvane::CArchive& ar) override;

    // ISetupEditor
    bool EditScanSettings(CFXScan& scan) override;
    bool ValidateCurrentCell() override;
    void ShowMonitorChannel(std::int32_t channel, bool highlight) override;
    bool AskNewSetupName(std::string& name) override;

private:
    struct OptionsSheet final : ISetupOptionsSheet {
        ISetupOptionsSheet* sheet = nullptr;
        bool Run(int startPage, Options& options) override {
            return sheet != nullptr && sheet->Run(startPage, options);
        }
    };

    void CreateMenus();
    bool IsEnabled(unsigned id);

    CLoggerDoc& m_doc;
    CMainFrame& m_frame;
    OptionsSheet m_options;
    ISetupEditor* m_sheets = nullptr;
    QPointer<CSetupView> m_view;
    // The last state of each command, for the rules that keep it.
    std::map<unsigned, SetupViewCommands::Update> m_updates;
    std::vector<QMenu*> m_menus;
    struct {
        std::function<bool(unsigned)> enabled;
        std::function<void(unsigned)> run;
    } m_otherPageEdit;
};
