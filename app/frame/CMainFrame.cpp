#include "app/frame/CMainFrame.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

#include "app/eventlog/CEventFrame.h"
#include "app/frame/CPrintSetupDialog.h"
#include "app/frame/CTextButton.h"
#include "app/frame/FrameCommands.h"
#include "database/DataSource.h"
#include "platform/core/Exception.h"
#include "platform/core/LocaleFormats.h"
#include "platform/print/PrintSetupModel.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "shared/ExceptionReport.h"

namespace {

CMainFrame* s_frame = nullptr;

constexpr const char* kSettings = "Settings";
constexpr int kPaneWidths[CMainFrame::kPaneCount] = {0, 72, 107, 72, 72};
const char* const kPaneTexts[CMainFrame::kPaneCount] = {"Ready", "SLOT1", "SLOT2", "SLOT3",
                                                        "SIMULATED"};

int ProfileInt(const char* key, int def) {
    return tvane::GetPrivateProfileInt(kSettings, key, def, kProfileFile);
}

void WriteProfileInt(const char* key, int value) {
    tvane::WritePrivateProfileString(kSettings, key, std::to_string(value), kProfileFile);
}

QString GraphicsSetupTitle(int number) {
    return QString("Graphics Setup %1").arg(number);
}

// The page tabs, each drawn in the colour its page chose (none: the style's).
class PageTabBar final : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    void initStyleOption(QStyleOptionTab* option, int index) const override {
        QTabBar::initStyleOption(option, index);
        const QColor colour = tabData(index).value<QColor>();
        if (colour.isValid()) {
            option->palette.setColor(QPalette::Window, colour);
            option->palette.setColor(QPalette::Button, colour);
        }
    }
};

class PageTabs final : public QTabWidget {
public:
    explicit PageTabs(QWidget* parent) : QTabWidget(parent) { setTabBar(new PageTabBar(this)); }
};

} // namespace

int CMainFrame::s_pageNumber = 1;

CMainFrame::CMainFrame(ViewFactory setupView, ViewFactory graphView, QWidget* parent)
    : QMainWindow(parent), m_setupViewFactory(std::move(setupView)),
      m_graphViewFactory(std::move(graphView)) {
    s_frame = this;
    setObjectName("TallyvaneClass");
    setWindowTitle("Untitled - Tallyvane");
    setAcceptDrops(false);
    m_timers.SetSink(this);

    resize(ProfileInt("Width", 600), ProfileInt("Height", 400));
    move(ProfileInt("Left", 0), ProfileInt("Top", 0));
    m_windowState = ProfileInt("WindowState", 3);

    CreateBars();
    CreatePages();
    CreateMenus();
    m_formats = BuildRegionalFormats(tvane::Locale().Formats());
    UpdateToolbars();
}

CMainFrame::~CMainFrame() {
    if (m_power)
        m_power->SetSink(nullptr);
    delete m_eventLog;
    if (s_frame == this)
        s_frame = nullptr;
    if (tvane::MainWindow() == this)
        tvane::SetMainWindow(nullptr);
}

CMainFrame* CMainFrame::GetMainFrame() {
    return s_frame;
}

void CMainFrame::SetPowerMonitor(IPowerMonitor* monitor) {
    if (m_power)
        m_power->SetSink(nullptr);
    m_power = monitor;
    if (m_power)
        m_power->SetSink(this);
}

QAction* CMainFrame::AddCommand(unsigned id, const QString& text, QToolBar* bar) {
    QAction*& action = m_actions[id];
    if (!action) {
        action = new QAction(text, this);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id); });
    }
    if (bar)
        bar->addAction(action);
    return action;
}

void CMainFrame::CreateBars() {
    QStyle* s = style();
    auto makeBar = [this](const char* title, Qt::ToolBarArea area) {
        auto* bar = new QToolBar(title, this);
        bar->setObjectName(title);
        addToolBar(area, bar);
        return bar;
    };
    m_toolBars[0] = makeBar("Standard", Qt::TopToolBarArea);
    m_toolBars[1] = makeBar("Graphics", Qt::TopToolBarArea);
    m_toolBars[2] = makeBar("Scan Control", Qt::LeftToolBarArea);
    m_toolBars[3] = makeBar("Monitor Channel", Qt::BottomToolBarArea);
    m_toolBars[3]->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);

    QAction* fileNew = AddCommand(cmd::kFileNew, "&New", m_toolBars[0]);
    fileNew->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    fileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    fileNew->setToolTip("New Setup");
    QAction* fileOpen = AddCommand(cmd::kFileOpen, "&Open...", m_toolBars[0]);
    fileOpen->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    fileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    fileOpen->setToolTip("Open Setup");
    QAction* save = AddCommand(cmd::kFileSave, "&Save", m_toolBars[0]);
    save->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    save->setToolTip("Save");
    AddCommand(cmd::kEventLog, "&Event Log...", m_toolBars[0])
        ->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    AddCommand(cmd::kAbout, "&About Tallyvane...", m_toolBars[0])
        ->setIcon(s->standardIcon(QStyle::SP_MessageBoxInformation));

    AddCommand(cmd::kNewGraphicsPage, "&New Graphics Page", m_toolBars[1])
        ->setIcon(s->standardIcon(QStyle::SP_FileDialogNewFolder));
    AddCommand(cmd::kDeletePage, "Delete P&age", m_toolBars[1])
        ->setIcon(s->standardIcon(QStyle::SP_TrashIcon));
    AddCommand(cmd::kPreviousPage, "Previous Page", m_toolBars[1])
        ->setIcon(s->standardIcon(QStyle::SP_ArrowLeft));
    AddCommand(cmd::kNextPage, "Next Page", m_toolBars[1])
        ->setIcon(s->standardIcon(QStyle::SP_ArrowRight));

    AddCommand(cmd::kCommunicationsSetup, "&Communications Setup...", m_toolBars[2])
        ->setIcon(s->standardIcon(QStyle::SP_DriveNetIcon));
    QAction* download = AddCommand(cmd::kDownloadSetup, "&Download Setup", m_toolBars[2]);
    download->setIcon(s->standardIcon(QStyle::SP_ArrowDown));
    download->setStatusTip("Configure instrument with current scan setup information");
    download->setToolTip("Download Scan Setup");
    AddCommand(cmd::kUploadSetup, "&Upload Setup...", m_toolBars[2])
        ->setIcon(s->standardIcon(QStyle::SP_ArrowUp));
    AddCommand(cmd::kInstrumentSettings, "&Instrument Settings...", m_toolBars[2])
        ->setIcon(s->standardIcon(QStyle::SP_ComputerIcon));
    QAction* start = AddCommand(cmd::kStartScan, "&Start Scan", m_toolBars[2]);
    start->setIcon(s->standardIcon(QStyle::SP_MediaPlay));
    start->setShortcut(QKeySequence(Qt::Key_F5));
    QAction* stop = AddCommand(cmd::kStopScan, "S&top Scan", m_toolBars[2]);
    stop->setIcon(s->standardIcon(QStyle::SP_MediaStop));
    stop->setShortcut(QKeySequence(Qt::Key_F9));

    m_monitorLabel = new QLabel("<None>", m_toolBars[3]);
    m_monitorLabel->setTextFormat(Qt::PlainText);
    m_monitorLabel->setMinimumWidth(80);
    m_toolBars[3]->addWidget(m_monitorLabel);
    m_monitorDisplay = new CTextButton(m_toolBars[3]);
    m_monitorDisplay->setObjectName("Monitor Chan Display");
    m_monitorDisplay->setFixedSize(180, 22);
    m_monitorDisplay->SetText("No Reading");
    m_toolBars[3]->addWidget(m_monitorDisplay);

    for (int i = 0; i < kPaneCount; ++i) {
        m_panes[i] = new QLabel(kPaneTexts[i], this);
        m_panes[i]->setTextFormat(Qt::PlainText);
        m_panes[i]->setFrameShape(QFrame::Panel);
        m_panes[i]->setFrameShadow(QFrame::Sunken);
        if (i == 0) {
            statusBar()->addWidget(m_panes[i], 1);
        } else {
            m_panes[i]->setFixedWidth(kPaneWidths[i]);
            m_panes[i]->setAlignment(Qt::AlignCenter);
            statusBar()->addPermanentWidget(m_panes[i]);
        }
    }
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction(AddCommand(cmd::kFileNew, {}));
    file->addAction(AddCommand(cmd::kFileOpen, {}));
    file->addAction(AddCommand(cmd::kFileClose, "&Close"));
    file->addAction(AddCommand(cmd::kFileSave, {}));
    file->addAction(AddCommand(cmd::kFileSaveAs, "Save Setup &As..."));
    file->addAction(AddCommand(cmd::kModifyDelete, "&Modify/Delete..."));
    file->addSeparator();
    file->addAction(AddCommand(cmd::kImportSetups, "&Import Setups..."));
    file->addAction(AddCommand(cmd::kExportSetups, "&Export Setups..."));
    file->addAction(AddCommand(cmd::kExportData, "Export &Data..."));
    file->addSeparator();
    file->addAction(AddCommand(cmd::kFilePrint, "&Print..."));
    file->addAction(AddCommand(cmd::kFilePrintPreview, "Print Pre&view"));
    file->addAction(AddCommand(cmd::kPrintSetup, "Print Set&up..."));
    file->addSeparator();
    // The recent setups: one entry per listed name, a disabled one when none.
    for (unsigned id = cmd::kRecentFirst; id <= cmd::kRecentLast; ++id)
        file->addAction(AddCommand(id, "Recent File"));
    file->addSeparator();
    file->addAction(AddCommand(cmd::kExit, "E&xit"));
    connect(file, &QMenu::aboutToShow, this, [this] { UpdateRecentSetups(); });

    QMenu* view = menuBar()->addMenu("&View");
    view->addAction(AddCommand(cmd::kToolbars, "&Toolbars..."));
    view->addAction(AddCommand(cmd::kEventLog, {}));
    QAction* addEvent = AddCommand(cmd::kAddEvent, "&Add Event...");
    addEvent->setStatusTip("Add a user-defined event");
    addEvent->setToolTip("Add Event");
    view->addAction(addEvent);
    view->addAction(AddCommand(cmd::kMonitorChannel, "Set &Monitor Channel..."));
    view->addAction(AddCommand(cmd::kDataBrowser, "&Data Browser"));
    view->addSeparator();
    QAction* setupPage = AddCommand(cmd::kScanSetupPage, "&1 Scan Setup Page");
    setupPage->setCheckable(true);
    view->addAction(setupPage);
    for (unsigned id = cmd::kGraphicsPageFirst; id <= cmd::kGraphicsPageLast; ++id) {
        QAction* a = AddCommand(id, QString("&%1 Graphics %2")
                                        .arg(id - cmd::kGraphicsPageFirst + 2)
                                        .arg(id - cmd::kGraphicsPageFirst + 1));
        a->setCheckable(true);
        view->addAction(a);
    }
    // The menu lists one entry per existing page, ticked while it is shown.
    connect(view, &QMenu::aboutToShow, this, [this] {
        const int current = m_pages->currentIndex();
        m_actions[cmd::kScanSetupPage]->setChecked(current == 0);
        for (unsigned id = cmd::kGraphicsPageFirst; id <= cmd::kGraphicsPageLast; ++id) {
            const int page = int(id - cmd::kGraphicsPageFirst) + 1;
            m_actions[id]->setVisible(page < m_pages->count());
            if (page < m_pages->count())
                m_actions[id]->setText(QString("&%1 %2").arg(page + 1).arg(m_pages->tabText(page)));
            m_actions[id]->setChecked(page == current);
        }
        m_actions[cmd::kEventLog]->setCheckable(true);
        m_actions[cmd::kEventLog]->setChecked(m_eventLog && m_eventLog->isVisible());
        UpdateToolbars();
    });

    QMenu* page = menuBar()->addMenu("&Page");
    page->addAction(AddCommand(cmd::kNewGraphicsPage, {}));
    page->addAction(AddCommand(cmd::kDeletePage, {}));

    QMenu* settings = menuBar()->addMenu("&Settings");
    settings->addAction(AddCommand(cmd::kStartScan, {}));
    settings->addAction(AddCommand(cmd::kStopScan, {}));
    settings->addAction(AddCommand(cmd::kScanSettings, "Scan Se&ttings..."));
    settings->addSeparator();
    settings->addAction(AddCommand(cmd::kCommunicationsSetup, {}));
    settings->addAction(AddCommand(cmd::kInstrumentSettings, {}));
    settings->addAction(AddCommand(cmd::kDownloadSetup, {}));
    settings->addAction(AddCommand(cmd::kUploadSetup, {}));
    settings->addAction(AddCommand(cmd::kPreferences, "&Preferences..."));

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(AddCommand(cmd::kHelpSearch, "&Search..."));
    help->addAction(AddCommand(cmd::kTipOfTheDay, "&Tip of the Day..."));
    help->addAction(AddCommand(cmd::kAbout, {}));
    for (QMenu* m : {file, page, settings, help})
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateToolbars);

    SetCommandHandler(cmd::kExit, [this] { close(); });
    SetCommandHandler(cmd::kPrintSetup, [this] { RunPrintSetup(this); });
    SetCommandEnabler(cmd::kPrintSetup, [this] {
        return tvane::PrintSetupModel::IsPrintEnabled(m_pages->currentIndex() == 0,
                                                      m_document && m_document->IsScanning());
    });
    SetCommandHandler(cmd::kEventLog, [this] { ToggleEventLog(); });
    SetCommandHandler(cmd::kHelpSearch, [] { tvane::Help().ShowContents(); });
    SetCommandHandler(cmd::kNewGraphicsPage, [this] { NewGraphicsPage(); });
    SetCommandHandler(cmd::kDeletePage, [this] { DeletePage(); });
    SetCommandHandler(cmd::kScanSetupPage, [this] {
        if (m_pages->currentIndex() != 0)
            SelectPage(0);
    });
    for (unsigned id = cmd::kGraphicsPageFirst; id <= cmd::kGraphicsPageLast; ++id)
        SetCommandHandler(id, [this, id] { SelectPage(int(id - cmd::kGraphicsPageFirst) + 1); });
    SetCommandHandler(cmd::kPreviousPage, [this] {
        if (m_pages->currentIndex() > 0)
            SelectPage(m_pages->currentIndex() - 1);
    });
    SetCommandHandler(cmd::kNextPage, [this] { SelectPage(m_pages->currentIndex() + 1); });
}

void CMainFrame::CreatePages() {
    m_pages = new PageTabs(this);
    m_pages->setTabPosition(QTabWidget::South);
    m_pages->setDocumentMode(true);
    setCentralWidget(m_pages);
    QWidget* setup = m_setupViewFactory ? m_setupViewFactory() : new QWidget;
    m_pages->addTab(setup, "Scan Setup");
    AddGraphicsPage(GraphicsSetupTitle(s_pageNumber));
    connect(m_pages, &QTabWidget::currentChanged, this, &CMainFrame::UpdateToolbars);
}

void CMainFrame::SetSetupView(QWidget* view) {
    QWidget* old = m_pages->widget(0);
    const int current = m_pages->currentIndex();
    const QSignalBlocker blocker(m_pages);
    m_pages->insertTab(0, view ? view : new QWidget, old ? m_pages->tabText(0) : "Scan Setup");
    if (old) {
        m_pages->removeTab(1);
        delete old;
    }
    m_pages->setCurrentIndex(current < 0 ? 0 : current);
}

void CMainFrame::SetPageTabColour(QWidget* page, const QColor& colour) {
    const int index = m_pages->indexOf(page);
    if (index < 0)
        return;
    m_pages->tabBar()->setTabData(index, colour.isValid() ? QVariant(colour) : QVariant());
    m_pages->tabBar()->update();
}

QColor CMainFrame::PageTabColour(QWidget* page) const {
    const int index = m_pages->indexOf(page);
    return index < 0 ? QColor() : m_pages->tabBar()->tabData(index).value<QColor>();
}

QAction* CMainFrame::AddMenuCommand(QMenu* menu, unsigned id, const QString& text,
                                    const QKeySequence& key) {
    QAction* action = AddCommand(id, text);
    if (!key.isEmpty())
        action->setShortcut(key);
    if (menu)
        menu->addAction(action);
    action->setEnabled(IsCommandEnabled(id));
    return action;
}

void CMainFrame::AddGraphicsPage(const QString& title) {
    QWidget* view = m_graphViewFactory ? m_graphViewFactory() : new QWidget;
    view->setProperty("tvaneGraphView", true);
    m_pages->addTab(view, title);
}

QWidget* CMainFrame::GraphicsPage(int index) const {
    QWidget* view = m_pages->widget(index);
    return view && view->property("tvaneGraphView").toBool() ? view : nullptr;
}

void CMainFrame::SetGraphicsPages(const std::vector<QWidget*>& views,
                                  const std::vector<QString>& titles) {
    for (int i = m_pages->count() - 1; i >= 0; --i)
        if (QWidget* view = GraphicsPage(i)) {
            m_pages->removeTab(i);
            delete view;
        }
    for (std::size_t i = 0; i < views.size(); ++i) {
        views[i]->setProperty("tvaneGraphView", true);
        m_pages->addTab(views[i], i < titles.size() ? titles[i] : GraphicsSetupTitle(int(i) + 1));
    }
    s_pageNumber = std::max(1, int(views.size()));
    m_pages->tabBar()->update();
}

int CMainFrame::GraphicsPageCount() const {
    return m_pages->count() - 1;
}

void CMainFrame::NewGraphicsPage() {
    if (m_pages->count() >= kMaxPages)
        return;
    ++s_pageNumber;
    AddGraphicsPage(GraphicsSetupTitle(s_pageNumber));
    m_pages->setCurrentIndex(m_pages->count() - 1);
    if (m_pageListChanged)
        m_pageListChanged();
}

void CMainFrame::DeletePage() {
    const int current = m_pages->currentIndex();
    if (current < 1 || GraphicsPageCount() < 2)
        return;
    if (tvane::ShowMessage("Are you sure you want to permanently delete this page?",
                           tvane::MsgButtons::YesNo,
                           tvane::MsgIcon::Question) != tvane::MsgAnswer::Yes)
        return;
    QWidget* view = m_pages->widget(current);
    m_pages->removeTab(current);
    delete view;
    if (m_pageListChanged)
        m_pageListChanged();
}

void CMainFrame::SelectPage(int index) {
    if (index >= 0 && index < m_pages->count()) {
        m_pages->setCurrentIndex(index);
        m_pages->tabBar()->update();
    }
}

void CMainFrame::ResetPages() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (int i = m_pages->count() - 1; i >= 0; --i) {
        QWidget* view = m_pages->widget(i);
        if (view->property("tvaneGraphView").toBool()) {
            m_pages->removeTab(i);
            delete view;
        }
    }
    s_pageNumber = 1;
    AddGraphicsPage(GraphicsSetupTitle(1));
    m_pages->tabBar()->update();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::ShowGraphView() {
    if (m_pages->currentIndex() < 1)
        SelectPage(1);
}

void CMainFrame::SetCommandHandler(unsigned id, std::function<void()> handler) {
    // An empty handler takes the command away, so it is never called empty.
    if (handler)
        m_handlers[id] = std::move(handler);
    else
        m_handlers.erase(id);
    if (QAction* a = Action(id))
        a->setEnabled(IsCommandEnabled(id));
}

QAction* CMainFrame::Action(unsigned id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CMainFrame::IsCommandEnabled(unsigned id) const {
    if (!m_handlers.count(id) ||
        !IsCommandRouted(id, m_document != nullptr, m_document && m_document->IsSetupLoaded()))
        return false;
    switch (id) {
    case cmd::kNewGraphicsPage:
        return m_pages->count() < kMaxPages;
    case cmd::kDeletePage:
        return m_pages->currentIndex() >= 1 && GraphicsPageCount() > 1;
    case cmd::kPreviousPage:
        return m_pages->currentIndex() > 0;
    case cmd::kNextPage:
        return m_pages->currentIndex() + 1 < m_pages->count();
    default:
        break;
    }
    if (id >= cmd::kGraphicsPageFirst && id <= cmd::kGraphicsPageLast)
        return int(id - cmd::kGraphicsPageFirst) + 1 < m_pages->count();
    if (const auto enabler = m_enablers.find(id); enabler != m_enablers.end())
        return enabler->second();
    return true;
}

void CMainFrame::SetRecentSetups(std::function<std::vector<std::string>()> names) {
    m_recentNames = std::move(names);
    UpdateRecentSetups();
}

void CMainFrame::UpdateRecentSetups() {
    const std::vector<std::string> names =
        m_recentNames ? m_recentNames() : std::vector<std::string>{};
    for (unsigned id = cmd::kRecentFirst; id <= cmd::kRecentLast; ++id) {
        const std::size_t index = id - cmd::kRecentFirst;
        QAction* action = m_actions[id];
        if (index < names.size()) {
            action->setText(
                QString("&%1 %2").arg(index + 1).arg(QString::fromStdString(names[index])));
            action->setVisible(true);
        } else {
            action->setText("Recent File");
            action->setVisible(index == 0);
        }
    }
    UpdateToolbars();
}

std::array<QWidget*, 5> CMainFrame::Bars() {
    return {m_toolBars[3], m_toolBars[1], m_toolBars[0], statusBar(), m_toolBars[2]};
}

void CMainFrame::SetCommandEnabler(unsigned id, std::function<bool()> enabler) {
    if (enabler)
        m_enablers[id] = std::move(enabler);
    else
        m_enablers.erase(id);
}

void CMainFrame::SetCommandChecker(unsigned id, std::function<bool()> checker) {
    if (checker)
        m_checkers[id] = std::move(checker);
    else
        m_checkers.erase(id);
}

bool CMainFrame::OnCmdMsg(unsigned id) {
    if (!IsCommandEnabled(id))
        return false;
    // The handler may take itself away while it runs: it is called from a copy.
    const std::function<void()> handler = m_handlers[id];
    Guarded(handler);
    UpdateToolbars();
    return true;
}

void CMainFrame::Guarded(const std::function<void()>& step) {
    // Nothing thrown by a command or a timer may end the program from the
    // event loop: it is shown and the program goes on.
    try {
        step();
    } catch (const tvane::UserException&) {
        // Already reported where it was raised.
    } catch (const std::exception& e) {
        ShowMfxErrorMessage(e, {}, -1);
    }
}

void CMainFrame::UpdateToolbars() {
    for (auto& [id, action] : m_actions)
        action->setEnabled(IsCommandEnabled(id));
    for (auto& [id, checker] : m_checkers)
        if (QAction* action = Action(id)) {
            action->setCheckable(true);
            action->setChecked(checker());
        }
}

void CMainFrame::SetStatusText(const std::string& text, int pane) {
    if (pane >= 0 && pane < kPaneCount)
        m_panes[pane]->setText(QString::fromStdString(text));
}

QString CMainFrame::StatusText(int pane) const {
    return m_panes[pane]->text();
}

void CMainFrame::SetMonitorDisplay(bool hasChannel, bool hasReading, double value,
                                   const std::string& units) {
    if (!hasChannel)
        m_monitorDisplay->SetText("<None>");
    else if (!hasReading)
        m_monitorDisplay->SetText("No Reading");
    else
        m_monitorDisplay->SetValue(value, units);
}

bool CMainFrame::CreateEventLog(bool show, ViewFactory content) {
    if (!m_eventLog) {
        m_eventLog = content ? content() : new CEventFrame(this);
        m_eventLog->setParent(nullptr);
        m_eventLog->setWindowFlags(Qt::Window);
        m_eventLog->setWindowTitle("Event Log");
        m_eventLog->resize(494, 218);
        const QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
        m_eventLog->move(area.center() - QPoint(494 / 2, 218 / 2));
    }
    m_eventLog->setVisible(show);
    return true;
}

CEventFrame* CMainFrame::EventFrame() const {
    return qobject_cast<CEventFrame*>(m_eventLog);
}

void CMainFrame::ToggleEventLog() {
    if (!m_eventLog) {
        CreateEventLog(true);
    } else if (m_eventLog->isVisible()) {
        raise();
        m_eventLog->hide();
    } else {
        m_eventLog->show();
    }
}

void CMainFrame::OnTimer(unsigned id) {
    switch (id) {
    case kScanTimer:
        Guarded([this] { m_document->OnScanTimer(); });
        break;
    case kStartTimer:
        Guarded([this] { m_document->OnStartTimer(); });
        break;
    case kMonitorTimer:
        Guarded([this] { m_document->OnMonitorTimer(); });
        break;
    default:
        break;
    }
}

void CMainFrame::PostClose() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void CMainFrame::changeEvent(QEvent* event) {
    // Changes made while the frame is still hidden are its own placement from
    // the profile, not the user's.
    if (event->type() == QEvent::WindowStateChange && isVisible()) {
        const Qt::WindowStates s = windowState();
        m_windowState = s & Qt::WindowMinimized   ? 2
                        : s & Qt::WindowMaximized ? 3
                        : s == Qt::WindowNoState  ? 1
                                                  : 3;
    }
    QMainWindow::changeEvent(event);
}

void CMainFrame::WritePlacement() {
    WriteProfileInt("WindowState", m_windowState);
    if (m_windowState == 1) {
        WriteProfileInt("Width", width());
        WriteProfileInt("Height", height());
        WriteProfileInt("Left", x());
        WriteProfileInt("Top", y());
    }
}

bool CMainFrame::CloseLogic() {
    if (m_document && m_document->IsScanning()) {
        if (tvane::ShowMessage("Scan in progress, are you sure you want to exit?",
                               tvane::MsgButtons::YesNo,
                               tvane::MsgIcon::Question) != tvane::MsgAnswer::Yes)
            return false;
        m_document->EndRun();
    }
    WritePlacement();
    if (m_document) {
        if (!m_document->SaveModified())
            return false;
        m_document->SetModifiedFlag(false);
    }
    if (m_eventLog)
        m_eventLog->hide();
    return true;
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride)
        UpdateToolbars();
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!CloseLogic()) {
        event->ignore();
        return;
    }
    if (m_document)
        m_document->StopTimers();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    event->ignore();
    tvane::ShowMessage("The Drag/Drop files feature is not supported in this application");
}

void CMainFrame::ReopenAfterResume() {
    bool opened = m_instrument && m_instrument->OpenInterface();
    while (!opened && m_instrument &&
           tvane::ShowMessage("Failed to re-establish communications.\nWould you like to try "
                              "again?",
                              tvane::MsgButtons::YesNo,
                              tvane::MsgIcon::Question) == tvane::MsgAnswer::Yes)
        opened = m_instrument->OpenInterface();
    const bool loaded = m_document && m_document->IsSetupLoaded();
    if (!opened) {
        tvane::ShowMessage("Unable to establish communications with instrument.\nSetting "
                           "interface to Simulated.",
                           tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        if (m_instrument)
            m_instrument->UseSimulatedInterface();
        if (m_suspendedWhileScanning && loaded)
            m_document->EndRun();
        m_suspendedWhileScanning = false;
    }
    if (loaded) {
        if (m_suspendedWhileScanning && opened)
            m_document->RestartTimers();
        m_document->LogEvent("Power broadcast message received - application resumed");
    }
    m_suspendedWhileScanning = false;
    update();
}

void CMainFrame::OnPowerEvent(PowerEvent event) {
    const bool loaded = m_document && m_document->IsSetupLoaded();
    const bool scanning = m_document && m_document->IsScanning();
    switch (event) {
    case PowerEvent::Suspend:
        if (loaded)
            m_document->LogEvent("Power broadcast message received - application suspended");
        if (scanning) {
            m_document->StopTimers();
            m_suspendedWhileScanning = true;
        }
        if (m_instrument)
            m_instrument->CloseInterface();
        break;
    case PowerEvent::Resume:
        ReopenAfterResume();
        break;
    case PowerEvent::CriticalResume:
        if (loaded)
            m_document->LogEvent("Power broadcast critical resume message received - resetting "
                                 "comm and stopping scan");
        if (scanning)
            m_document->StopTimers();
        if (m_instrument) {
            m_instrument->CloseInterface();
            if (!m_instrument->OpenInterface())
                m_instrument->UseSimulatedInterface();
        }
        if (loaded && scanning)
            m_document->RestartTimers();
        break;
    case PowerEvent::LowBattery:
        if (loaded)
            m_document->LogEvent("Power broadcast low battery message received - closing "
                                 "application");
        if (tvane::ShowMessage("Low battery message received - do you want to exit the "
                               "application ?",
                               tvane::MsgButtons::YesNo,
                               tvane::MsgIcon::Question) == tvane::MsgAnswer::Yes)
            close();
        break;
    case PowerEvent::Other:
        break;
    }
}
