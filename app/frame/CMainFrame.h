#pragma once
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QMainWindow>

#include "app/frame/IFrameDocument.h"
#include "app/frame/IPowerMonitor.h"
#include "app/frame/QtServices.h"
#include "app/startup/RegionalFormats.h"
#include "platform/ui/TimerService.h"
#include "shared/MainWindow.h"

class QAction;
class QColor;
class QKeySequence;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;
class CTextButton;
class CEventFrame;

// The program's single top-level window: the bars, the status panes, the page
// tabs holding the document's views, the event log window, and the receiver of
// the document's window timers and of the system's power notices.
class CMainFrame final : public QMainWindow,
                         public tvane::ITimerSink,
                         public tvane::IMainWindow,
                         public IPowerSink {
    Q_OBJECT
public:
    using ViewFactory = std::function<QWidget*()>;
    static constexpr int kPaneCount = 5;
    static constexpr int kMaxPages = 6;
    static constexpr unsigned kScanTimer = 3211;
    static constexpr unsigned kStartTimer = 3212;
    static constexpr unsigned kMonitorTimer = 3314;

    // Placement and state come from the profile; views are made by the
    // factories (an empty page when none is given).
    explicit CMainFrame(ViewFactory setupView = {}, ViewFactory graphView = {},
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    static CMainFrame* GetMainFrame();

    // The document must be set before its first timer runs.
    void SetDocument(IFrameDocument* document) { m_document = document; }
    IFrameDocument* GetActiveDocument() const { return m_document; }
    void SetInstrument(IFrameInstrument* instrument) { m_instrument = instrument; }
    void SetPowerMonitor(IPowerMonitor* monitor);
    // The window whose timers the document's timer records use.
    QtTimerService& Timers() { return m_timers; }

    // Commands: a command is enabled when it has a handler and the routing gate
    // lets it through; SendCommand runs it the same way.
    void SetCommandHandler(unsigned id, std::function<void()> handler);
    // A command with an enabler is enabled only while it answers true.
    void SetCommandEnabler(unsigned id, std::function<bool()> enabler);
    // A command with a checker shows a check mark while it answers true.
    void SetCommandChecker(unsigned id, std::function<bool()> checker);
    bool OnCmdMsg(unsigned id);
    bool IsCommandEnabled(unsigned id) const;
    QAction* Action(unsigned id) const;
    void UpdateToolbars();
    // The File menu's recent setups, most recent first, asked for whenever the
    // menu opens.
    void SetRecentSetups(std::function<std::vector<std::string>()> names);
    void UpdateRecentSetups();
    // The monitor, graphics and standard tool bars, the status bar and the
    // scan control bar, in the order of the Toolbars window.
    std::array<QWidget*, 5> Bars();

    void SetStatusText(const std::string& text, int pane);
    QString StatusText(int pane) const;
    QLabel* StatusPane(int pane) const { return m_panes[pane]; }
    // "<None>" without a channel, "No Reading" before the first reading.
    void SetMonitorDisplay(bool hasChannel, bool hasReading, double value = 0.0,
                           const std::string& units = {});
    CTextButton* MonitorDisplay() const { return m_monitorDisplay; }
    QToolBar* ToolBar(int index) const { return m_toolBars[index]; }

    // Pages.
    QTabWidget* Pages() const { return m_pages; }
    // The first page's view, in place of the one there (which is deleted);
    // null puts an empty page back.
    void SetSetupView(QWidget* view);
    // The colour a page's tab is drawn in; an invalid colour leaves the tab
    // in the style's own.
    void SetPageTabColour(QWidget* page, const QColor& colour);
    QColor PageTabColour(QWidget* page) const;
    // A command's entry in a menu, with its accelerator; the command's own
    // action, so its handler and enabler are those of SetCommandHandler and
    // SetCommandEnabler.
    QAction* AddMenuCommand(QMenu* menu, unsigned id, const QString& text,
                            const QKeySequence& key = {});
    void SelectPage(int index);
    void ResetPages();
    void ShowGraphView();
    int GraphicsPageCount() const;
    static int PageNumber() { return s_pageNumber; }
    // Graphics pages made from now on come from factory.
    void SetGraphViewFactory(ViewFactory factory) { m_graphViewFactory = std::move(factory); }
    // Told when the user adds or deletes a graphics page.
    void SetPageListChanged(std::function<void()> changed) {
        m_pageListChanged = std::move(changed);
    }
    // The graphics page of a tab index, or null for another page.
    QWidget* GraphicsPage(int index) const;
    // A display of a Graphics-menu command on the active graphics page (the
    // shown one, else the first), made by whoever builds the pages' displays.
    using GraphCreator = std::function<bool(unsigned commandId)>;
    void SetGraphCreator(GraphCreator creator) { m_graphCreator = std::move(creator); }
    bool CreateGraph(unsigned commandId) { return m_graphCreator && m_graphCreator(commandId); }
    // Replaces every graphics page by these (the frame takes them) with their tab titles.
    void SetGraphicsPages(const std::vector<QWidget*>& views, const std::vector<QString>& titles);

    // The event log window: created on the first call, later only shown or hidden.
    // Without content it is the event log frame.
    bool CreateEventLog(bool show, ViewFactory content = {});
    QWidget* EventLog() const { return m_eventLog; }
    // The event log frame, when the window is one.
    CEventFrame* EventFrame() const;
    void ToggleEventLog();

    // 1 normal, 2 minimised, 3 maximised.
    int WindowState() const { return m_windowState; }
    const RegionalFormats& Formats() const { return m_formats; }

    // The close steps; false when the user stopped the close.
    bool CloseLogic();

    void OnTimer(unsigned id) override;
    // What headless code asks of the main window.
    void SendCommand(unsigned commandId) override { OnCmdMsg(commandId); }
    void PostClose() override;
    void OnPowerEvent(PowerEvent event) override;

protected:
    // A key about to be tried as a shortcut first brings the commands' enabled
    // states up to date, so an accelerator runs whenever its command may.
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* AddCommand(unsigned id, const QString& text, QToolBar* bar = nullptr);
    void CreateBars();
    void CreateMenus();
    void CreatePages();
    void AddGraphicsPage(const QString& title);
    void NewGraphicsPage();
    void DeletePage();
    void WritePlacement();
    void ReopenAfterResume();
    // Runs a command handler or a timer step; what it throws is reported.
    static void Guarded(const std::function<void()>& step);

    QtTimerService m_timers;
    ViewFactory m_setupViewFactory;
    ViewFactory m_graphViewFactory;
    std::function<void()> m_pageListChanged;
    GraphCreator m_graphCreator;
    IFrameDocument* m_document = nullptr;
    IFrameInstrument* m_instrument = nullptr;
    IPowerMonitor* m_power = nullptr;
    std::map<unsigned, QAction*> m_actions;
    std::map<unsigned, std::function<void()>> m_handlers;
    std::map<unsigned, std::function<bool()>> m_enablers;
    std::map<unsigned, std::function<bool()>> m_checkers;
    std::function<std::vector<std::string>()> m_recentNames;
    QLabel* m_panes[kPaneCount] = {};
    QToolBar* m_toolBars[4] = {};
    QLabel* m_monitorLabel = nullptr;
    CTextButton* m_monitorDisplay = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_eventLog = nullptr;
    int m_windowState = 3;
    bool m_suspendedWhileScanning = false;
    bool m_closing = false;
    RegionalFormats m_formats;
    static int s_pageNumber;
};
