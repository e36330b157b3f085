#include "app/frame/SetupViewPage.h"

#include <optional>
#include <span>
#include <utility>

#include <QAction>
#include <QCursor>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "app/CLoggerDoc.h"
#include "app/SetupGridOperations.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/FrameCommands.h"
#include "platform/grid/GridCellControl.h"
#include "platform/gridview/GridQt.h"
#include "setup/SetupGridController.h"
#include "setup/view/CSetupView.h"
#include "shared/DocumentHints.h"

namespace {

using Commands = SetupViewCommands;

// Every command of the view that the main window routes to it.
constexpr unsigned kViewCommands[] = {
    Commands::kUndo,
    Commands::kCut,
    Commands::kCopy,
    Commands::kPaste,
    Commands::kDelete,
    Commands::kShowAll,
    Commands::kShowActive,
    Commands::kShowMeasurement,
    Commands::kHideSelected,
    Commands::kAddComputed,
    Commands::kRestoreAll,
    Commands::kRestoreSelected,
    Commands::kShowHideColumns,
    Commands::kOptions,
    Commands::kProperties,
};

// The Edit menu's commands that another page has too.
bool IsSharedEditCommand(unsigned id) {
    return id == Commands::kCut || id == Commands::kCopy || id == Commands::kPaste ||
           id == Commands::kDelete;
}

bool IsShowCommand(unsigned id) {
    return id == Commands::kShowAll || id == Commands::kShowActive ||
           id == Commands::kShowMeasurement;
}

QAction* MenuOf(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions())
        if (action->text() == title)
            return action;
    return nullptr;
}

} // namespace

SetupViewPage::SetupViewPage(CLoggerDoc& doc, CMainFrame& frame)
    : m_doc(doc), m_frame(frame), m_view(new CSetupView(doc.GetSetupGridOperations(), m_options)) {
    m_frame.SetSetupView(m_view);
    QObject::connect(m_view, &CSetupView::statusTextChanged, m_view,
                     [this](const QString& text) { m_frame.SetStatusText(text.toStdString(), 0); });
    QObject::connect(m_view, &CSetupView::tabNameChanged, m_view, [this](const QString& name) {
        const int page = m_frame.Pages()->indexOf(m_view);
        if (page >= 0)
            m_frame.Pages()->setTabText(page, name);
    });
    // Silver is every tab's own colour: such a tab is drawn as the others.
    QObject::connect(m_view, &CSetupView::tabColourChanged, m_view, [this](tvane::ColorRef colour) {
        m_frame.SetPageTabColour(m_view, colour == SetupGridController::kDefaultTabColour
                                             ? QColor()
                                             : tvane::ToQColor(colour));
    });
    QObject::connect(m_view, &CSetupView::popupMenuRequested, m_view, [this](int menuId) {
        std::unique_ptr<QMenu> menu(BuildPopupMenu(menuId));
        menu->exec(QCursor::pos());
    });
    // Leaving the page tells the other views of the rows edited on it.
    QObject::connect(m_frame.Pages(), &QTabWidget::currentChanged, m_view,
                     [this, shown = true](int) mutable {
                         const bool now = m_frame.Pages()->currentWidget() == m_view;
                         if (now != shown)
                             m_view->ActivateView(now);
                         shown = now;
                     });
    m_doc.AddView(this);
    CreateMenus();
    m_view->InitialUpdate(false);
}

SetupViewPage::~SetupViewPage() {
    m_doc.RemoveView(this);
    for (unsigned id : kViewCommands) {
        m_frame.SetCommandHandler(id, {});
        m_frame.SetCommandEnabler(id, {});
    }
    for (QMenu* menu : m_menus)
        delete menu;
    if (m_view)
        m_frame.SetSetupView(nullptr);
}

void SetupViewPage::CreateMenus() {
    QMenuBar* bar = m_frame.menuBar();
    auto* edit = new QMenu("&Edit", &m_frame);
    bar->insertMenu(MenuOf(bar, "&View"), edit);
    m_frame.AddMenuCommand(edit, Commands::kUndo, "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    edit->addSeparator();
    m_frame.AddMenuCommand(edit, Commands::kCut, "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X));
    m_frame.AddMenuCommand(edit, Commands::kCopy, "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    m_frame.AddMenuCommand(edit, Commands::kPaste, "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    m_frame.AddMenuCommand(edit, Commands::kDelete, "&Delete", QKeySequence(Qt::Key_Delete));

    auto* channel = new QMenu("&Channel", &m_frame);
    bar->insertMenu(MenuOf(bar, "&Page"), channel);
    QMenu* show = channel->addMenu("&Show Channels");
    for (auto [id, text] :
         {std::pair{Commands::kShowAll, "&All"}, std::pair{Commands::kShowActive, "A&ctive Only"},
          std::pair{Commands::kShowMeasurement, "&Measurement Only"}})
        m_frame.AddMenuCommand(show, id, text)->setCheckable(true);
    m_frame.AddMenuCommand(channel, Commands::kHideSelected, "&Hide Selected Channels",
                           QKeySequence(Qt::CTRL | Qt::Key_H));
    channel->addSeparator();
    m_frame.AddMenuCommand(channel, Commands::kAddComputed, "&Computed Channel");
    QMenu* restore = channel->addMenu("&Restore Defaults");
    m_frame.AddMenuCommand(restore, Commands::kRestoreAll, "&All");
    m_frame.AddMenuCommand(restore, Commands::kRestoreSelected, "&Selected");
    channel->addSeparator();
    m_frame.AddMenuCommand(channel, Commands::kProperties, "&Properties...",
                           QKeySequence(Qt::ALT | Qt::Key_Return));

    if (QAction* viewMenu = MenuOf(bar, "&View"); viewMenu && viewMenu->menu()) {
        QMenu* view = viewMenu->menu();
        // Before the page entries, which the View menu rebuilds as it opens.
        QAction* before = m_frame.Action(cmd::kScanSetupPage);
        auto* columns =
            m_frame.AddMenuCommand(nullptr, Commands::kShowHideColumns, "Show/Hide &Columns...");
        auto* options = m_frame.AddMenuCommand(nullptr, Commands::kOptions, "&Options...");
        view->insertAction(before, columns);
        view->insertAction(before, options);
        view->insertSeparator(before);
    }
    m_menus = {edit, channel};
    for (QMenu* menu : {edit, channel, show, restore})
        QObject::connect(menu, &QMenu::aboutToShow, &m_frame, &CMainFrame::UpdateToolbars);

    for (unsigned id : kViewCommands) {
        m_frame.SetCommandHandler(id, [this, id] {
            if (m_view && m_frame.Pages()->currentWidget() == m_view)
                m_view->Commands().Execute(id);
            else if (IsSharedEditCommand(id) && m_otherPageEdit.run)
                m_otherPageEdit.run(id);
        });
        m_frame.SetCommandEnabler(id, [this, id] { return IsEnabled(id); });
    }
}

bool SetupViewPage::IsEnabled(unsigned id) {
    if (!m_view)
        return false;
    if (const std::optional<Commands::Update> update = m_view->Commands().GetUpdate(id))
        m_updates[id] = *update;
    const Commands::Update& state = m_updates[id];
    if (IsShowCommand(id))
        if (QAction* action = m_frame.Action(id))
            action->setChecked(state.checked);
    // The view's commands reach it while its page is shown; the Edit menu's
    // shared ones serve the page shown instead.
    if (m_frame.Pages()->currentWidget() != m_view)
        return IsSharedEditCommand(id) && m_otherPageEdit.enabled && m_otherPageEdit.enabled(id);
    switch (id) {
    case Commands::kOptions:
    case Commands::kShowHideColumns:
        return state.enabled && m_options.sheet != nullptr;
    case Commands::kProperties:
    case Commands::kAddComputed:
        return state.enabled && m_doc.GetSetupGridOperations().HasChannelDetailsSheet();
    default:
        return state.enabled;
    }
}

QMenu* SetupViewPage::BuildPopupMenu(int menuId) const {
    struct Entry {
        unsigned id;
        const char* text;
    };
    static const Entry kSetupViewMenu[] = {
        {Commands::kRestoreAll, "&Restore Defaults"},
        {Commands::kShowAll, "Show Channels - &All"},
        {Commands::kShowActive, "Show Channels - A&ctive Only"},
        {Commands::kShowMeasurement, "Show Channels - &Measurement Only"},
        {Commands::kShowHideColumns, "&Show/Hide Columns..."},
        {Commands::kOptions, "Pr&operties..."},
    };
    static const Entry kChannelMenu[] = {
        {Commands::kUndo, "&Undo"},
        {Commands::kCopy, "&Copy"},
        {Commands::kPaste, "&Paste"},
        {Commands::kDelete, "&Delete"},
        {Commands::kRestoreSelected, "&Restore Defaults"},
        {Commands::kSetMonitor, "Set &Monitor Channel..."},
        {Commands::kAddComputed, "&Add Computed Channel..."},
        {Commands::kProperties, "Pr&operties..."},
    };
    auto* menu = new QMenu(menuId == 200 ? "Channel" : "SetupView", &m_frame);
    const bool channel = menuId == 200;
    for (const Entry& entry :
         channel ? std::span<const Entry>(kChannelMenu) : std::span<const Entry>(kSetupViewMenu)) {
        QAction* action = menu->addAction(entry.text);
        action->setEnabled(m_frame.IsCommandEnabled(entry.id));
        if (IsShowCommand(entry.id)) {
            action->setCheckable(true);
            auto it = m_updates.find(entry.id);
            action->setChecked(it != m_updates.end() && it->second.checked);
        }
        CMainFrame* frame = &m_frame;
        const unsigned id = entry.id;
        QObject::connect(action, &QAction::triggered, menu, [frame, id] { frame->OnCmdMsg(id); });
    }
    return menu;
}

void SetupViewPage::OnUpdate(IView*, long hint, const HintObject&) {
    if (!m_view)
        return;
    // A new setup, or a document opened with its setup: the view starts over
    // (an opened one with the layout its file brought).
    if (hint == HINT_NEW_SETUP)
        m_view->InitialUpdate(false);
    else if (hint == HINT_NEW_DOCUMENT)
        m_view->InitialUpdate(m_doc.IsSetupLoaded() != 0);
    else
        return;
    m_frame.UpdateToolbars();
}

void SetupViewPage::Refresh() {
    if (m_view)
        m_view->viewport()->update();
}

void SetupViewPage::SerializeState(tvane::CArchive& ar) {
    if (m_view)
        m_view->Controller().Serialize(ar);
}

bool SetupViewPage::EditScanSettings(CFXScan& scan) {
    return m_sheets != nullptr && m_sheets->EditScanSettings(scan);
}

bool SetupViewPage::ValidateCurrentCell() {
    if (!m_view)
        return true;
    if (!m_view->Controller().OnValidateExternal())
        return false;
    // What is being typed belongs to the setup that is saved or downloaded.
    if (tvane::GridCellControl* control = m_view->Core().GetCurrentCellControl())
        control->Store();
    return true;
}

void SetupViewPage::ShowMonitorChannel(std::int32_t channel, bool highlight) {
    if (m_view)
        m_view->Controller().ShowMonitorChannel(channel, highlight);
}

bool SetupViewPage::AskNewSetupName(std::string& name) {
    return m_sheets != nullptr && m_sheets->AskNewSetupName(name);
}
